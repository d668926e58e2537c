#include "GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

// A block is one allocation: this header, then the caller's bytes. The header
// is 16-byte aligned in size so the caller's bytes keep malloc's alignment.
// The same layout is compiled into every module, so a block crosses module
// boundaries (a data source allocates, the package frees).
namespace {

constexpr uint64_t LiveMagic = 0x52394D454D424C4BULL; // "R9MEMBLK"
constexpr uint64_t DeadMagic = 0x52394D454D444541ULL;

struct alignas(16) BlockHeader
{
    uint64_t magic;
    uint64_t size;
    uint32_t flags;
    uint32_t locks;
};
static_assert(sizeof(BlockHeader) % 16 == 0);

BlockHeader *header(HGLOBAL h)
{
    auto *b = static_cast<BlockHeader *>(h);
    return (b && b->magic == LiveMagic) ? b : nullptr;
}

} // namespace

extern "C" {

HGLOBAL GlobalAlloc(uint32_t flags, size_t bytes)
{
    if (bytes > SIZE_MAX - sizeof(BlockHeader))
        return nullptr;
    void *raw = (flags & GMEM_ZEROINIT) ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                        : std::malloc(sizeof(BlockHeader) + bytes);
    if (!raw)
        return nullptr;
    auto *b = new (raw) BlockHeader{LiveMagic, bytes, flags, 0};
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
    BlockHeader *b = header(h);
    if (!b)
        return h;
    b->magic = DeadMagic;
    std::free(b);
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
    auto *b = const_cast<BlockHeader *>(static_cast<const BlockHeader *>(p) - 1);
    return header(b);
}

} // extern "C"
