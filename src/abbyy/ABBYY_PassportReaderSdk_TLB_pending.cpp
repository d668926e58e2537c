// Placeholder factories for builds without the engine server binding: every
// creation fails the way a missing server does.
#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"

namespace {
[[noreturn]] void serverMissing()
{
    throw EOleException(QStringLiteral("engine server not available"), CLASS_E_CLASSNOTAVAILABLE);
}
} // namespace

IRecognitionEnginePtr CoRecognitionEngine::Create() { serverMissing(); }
IRecognitionEnginePtr CoRecognitionEngine::CreateRemote(const QString &) { serverMissing(); }
IInitParamsPtr CoInitParams::Create() { serverMissing(); }
IInitParamsPtr CoInitParams::CreateRemote(const QString &) { serverMissing(); }
