#include "GlobalMemory.h"
#include "platform/LargeBlocks.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

// A block is one allocation: this header, then the caller's bytes. The header
// is 16-byte aligned in size so the caller's bytes keep malloc's alignment.
// The same layout is compiled into every module, so a block crosses module
// boundaries (a data source allocates, the package frees).
namespace {

struct alignas(16) BlockHeader
{
    uint64_t size;
    uint32_t flags;
    uint32_t locks;
};
static_assert(sizeof(BlockHeader) % 16 == 0);

/// The block was mapped whole (a page's pixels) rather than taken from
/// malloc; kept in the header's flags, beyond the caller's GMEM_ bits.
constexpr uint32_t MappedBlock = 0x80000000u;

/// The live blocks of the whole process. A handle is looked up here before
/// anything behind it is read, so a freed block (whose memory may be back
/// with the system) or a pointer no module allocated is refused untouched.
struct Registry
{
    std::mutex mutex;
    std::unordered_set<const void *> live;
    // Process-wide, as blocks are: the source allocates the page the
    // package frees.
    r9mem::SpareBlock spare;
};

} // namespace

namespace r9gmem {
// One anchor for every module that compiles this file: an inline variable of
// default visibility is a unique symbol, which the dynamic loader binds to a
// single instance process-wide, even across libraries loaded privately. It
// is constant-initialised (no guard), so any module may fill it first.
inline __attribute__((visibility("default"))) std::atomic<void *> registryAnchor{nullptr};
} // namespace r9gmem

namespace {

Registry &registry()
{
    void *r = r9gmem::registryAnchor.load(std::memory_order_acquire);
    if (!r) {
        // Never destroyed: blocks may still be freed while the process ends.
        auto *fresh = new Registry;
        void *expected = nullptr;
        if (r9gmem::registryAnchor.compare_exchange_strong(expected, fresh, std::memory_order_acq_rel))
            r = fresh;
        else {
            delete fresh;
            r = expected;
        }
    }
    return *static_cast<Registry *>(r);
}

BlockHeader *header(HGLOBAL h)
{
    if (!h)
        return nullptr;
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.live.count(h) ? static_cast<BlockHeader *>(h) : nullptr;
}

void *mapBlock(std::size_t total, uint32_t flags)
{
    void *reused = registry().spare.take(total);
    if (!reused)
        return r9mem::MapLarge(total); // zero-filled by the system
    if (flags & GMEM_ZEROINIT)
        std::memset(reused, 0, total);
    return reused;
}

void releaseBlock(BlockHeader *b)
{
    if (b->flags & MappedBlock)
        registry().spare.keep(b, sizeof(BlockHeader) + b->size);
    else
        std::free(b);
}

} // namespace

extern "C" {

HGLOBAL GlobalAlloc(uint32_t flags, size_t bytes)
{
    if (bytes > SIZE_MAX - sizeof(BlockHeader))
        return nullptr;
    flags &= ~MappedBlock;
    const std::size_t total = sizeof(BlockHeader) + bytes;
    void *raw;
    if (r9mem::IsLarge(total)) {
        raw = mapBlock(total, flags);
        flags |= MappedBlock;
    } else {
        raw = (flags & GMEM_ZEROINIT) ? std::calloc(1, total) : std::malloc(total);
    }
    if (!raw)
        return nullptr;
    auto *b = new (raw) BlockHeader{bytes, flags, 0};
    Registry &r = registry();
    try {
        std::lock_guard<std::mutex> lock(r.mutex);
        r.live.insert(b);
    } catch (...) {
        releaseBlock(b);
        return nullptr;
    }
    return b;
}

void *GlobalLock(HGLOBAL h)
{
    BlockHeader *b = header(h);
    if (!b)
        return nullptr;
    ++b->locks;
    return b + 1;
}

int GlobalUnlock(HGLOBAL h)
{
    BlockHeader *b = header(h);
    if (!b || b->locks == 0)
        return 0;
    return --b->locks != 0;
}

HGLOBAL GlobalFree(HGLOBAL h)
{
    if (!h)
        return h;
    Registry &r = registry();
    {
        std::lock_guard<std::mutex> lock(r.mutex);
        if (r.live.erase(h) == 0)
            return h;
    }
    releaseBlock(static_cast<BlockHeader *>(h));
    return nullptr;
}

size_t GlobalSize(HGLOBAL h)
{
    BlockHeader *b = header(h);
    return b ? static_cast<size_t>(b->size) : 0;
}

HGLOBAL GlobalHandle(const void *p)
{
    if (!p)
        return nullptr;
    // Only an address: compared, never read, until the registry knows it.
    const auto candidate = reinterpret_cast<uintptr_t>(p) - sizeof(BlockHeader);
    return header(reinterpret_cast<HGLOBAL>(candidate));
}

} // extern "C"
