#include "scanify/scapi.h"

#include "common/engCommon9r.h"

#include <QString>
#include <type_traits>

namespace {

/// Size of one argument on the engine's 32-bit interface: every argument is
/// 32 bits wide there (pointers and window handles included).
template <class T>
constexpr int argumentBytes32()
{
    if constexpr (std::is_pointer_v<T> || std::is_same_v<T, ScWindowHandle>)
        return 4;
    else if constexpr (std::is_integral_v<T> && sizeof(T) == 4)
        return 4;
    else
        return -1000; // an argument the 32-bit interface cannot carry
}

template <class Fn>
struct Signature;

template <class R, class... A>
struct Signature<R (*)(A...)>
{
    static constexpr int count = int(sizeof...(A));
    static constexpr int bytes32 = (0 + ... + argumentBytes32<A>());
};

} // namespace

// The entry points in binding order with their argument bytes on the
// engine's interface.
#define SC_ENTRY_POINTS(X)                 \
    X(ScGetScanifyAPIVersion, 0)           \
    X(ScGetErrorCode, 4)                   \
    X(ScGetErrorMessage, 8)                \
    X(ScInitialize, 4)                     \
    X(ScTerminate, 8)                      \
    X(ScSetOption, 12)                     \
    X(ScGetOption, 8)                      \
    X(ScSetupContext, 8)                   \
    X(ScGetContext, 4)                     \
    X(ScPackageCreate, 8)                  \
    X(ScPackageOpen, 12)                   \
    X(ScPackageGetInformation, 8)          \
    X(ScPackageMove, 8)                    \
    X(ScPackageClose, 4)                   \
    X(ScPackageDestroy, 4)                 \
    X(ScScannerSelectTWAINSource, 8)       \
    X(ScScannerSelectCLRSource, 8)         \
    X(ScScannerGetTWAINSourceCount, 4)     \
    X(ScScannerGetTWAINSourceName, 8)      \
    X(ScScannerOpen, 12)                   \
    X(ScScannerSetConfiguration, 8)        \
    X(ScScannerClose, 4)                   \
    X(ScGetScanOptions, 8)                 \
    X(ScPackageScan, 12)                   \
    X(ScPackageRecog, 8)                   \
    X(ScPackageGetFirstImage, 4)           \
    X(ScPackageGetNextImage, 4)            \
    X(ScPackageGetImageInformation, 8)     \
    X(ScPackageGetFirstDoc, 4)             \
    X(ScPackageGetNextDoc, 4)              \
    X(ScPackageGetDocInformation, 8)       \
    X(ScDocumentGetFirstImage, 4)          \
    X(ScDocumentGetNextImage, 4)           \
    X(ScPackageGetFormInformation, 12)     \
    X(ScPackageGetFieldInformation, 16)    \
    X(ScPackageGetFieldValue, 12)          \
    X(ScPackageSetFieldValue, 12)          \
    X(ScPackageConvert, 12)                \
    X(ScImageExport, 12)                   \
    X(ScImageResample, 12)                 \
    X(ScImageDraw, 16)                     \
    X(ScImageDelete, 4)                    \
    X(ScPackageSetFieldAppInfo, 12)        \
    X(ScPackageGetFieldAppInfo, 8)

#define SC_DEFINE_SLOT(name, bytes) T##name name = nullptr;
SC_ENTRY_POINTS(SC_DEFINE_SLOT)
#undef SC_DEFINE_SLOT

namespace scapi {

namespace {

#define SC_TABLE_ROW(name, bytes)                                                   \
    {#name, bytes, Signature<T##name>::count, Signature<T##name>::bytes32,          \
     [](void *symbol) { name = reinterpret_cast<T##name>(symbol); },                \
     [] { return name != nullptr; }},
const TEntryPoint g_entryPoints[] = {SC_ENTRY_POINTS(SC_TABLE_ROW)};
#undef SC_TABLE_ROW

} // namespace

const TEntryPoint *EntryPoints(std::size_t *count)
{
    if (count)
        *count = std::size(g_entryPoints);
    return g_entryPoints;
}

bool LibraryLoaded()
{
    return CognitiveLibInstance != nullptr;
}

EEntryPointMissing::EEntryPointMissing(const char *name)
    : std::runtime_error(QStringLiteral("Функция %1 библиотеки распознавания Cognitive Scanify API недоступна.")
                             .arg(QLatin1String(name))
                             .toStdString())
{
}

} // namespace scapi
