#pragma once
// Shared set-up of the engine contract tests: the stand-in server found as the
// package finds it (next to the executable), its configuration switched
// through the stand-in's environment variables and restored after each test.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace abbyytest {

/// The generated specimens next to the test executable.
QString GeneratedSpecimens();
/// A folder holding copies of the named generated specimens (stems such as "01-Passport_RU").
QString SpecimenSubset(QTemporaryDir &dir, const QStringList &stems);
/// Decodes a JPEG file with the JPEG library; null image when it does not decode.
QImage DecodeJpeg(const QString &path);
QString ExceptionText(const std::function<void()> &call);

class EngineTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    void SetFaults(const char *faults);
    void SetSpecimens(const QString &folder);
    /// A created and initialised engine.
    IRecognitionEnginePtr StartedEngine();

private:
    QByteArray m_oldFaults;
    QByteArray m_oldSpecimens;
};

} // namespace abbyytest
