#include "scanify/scapi.h"

#include "base/PackageTexts.h"
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
    : std::runtime_error(QString(texts::EngineEntryPointMissing)
                             .arg(QLatin1String(name))
                             .toStdString())
{
}

} // namespace scapi
