#pragma once
// Memory for whole pages. A scanned page is tens of megabytes, and each one
// arrives in fresh memory: a DIB, then the picture it is drawn into. Taken
// in the system's small pages, every 4 KiB of it costs a fault, and the
// faults cost more than producing the pixels. These blocks are mapped whole
// on huge-page boundaries and offered to the kernel for huge pages, so a
// page of a document costs a few dozen faults. Where the kernel has none to
// give, the block simply stays in small pages.
//
// Header-only and hidden: every module that carries pictures (the package,
// each data source) compiles its own copy, and a block one module mapped is
// unmapped by another through the length it was mapped with.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define R9_LARGE_BLOCKS_MAPPED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define R9_LARGE_BLOCKS_MAPPED 0
#endif
#endif
#ifndef R9_LARGE_BLOCKS_MAPPED
// The address checker only watches memory from the allocator: under it,
// pages stay in malloc's blocks so overruns are still caught.
#define R9_LARGE_BLOCKS_MAPPED 1
#endif

namespace r9mem {

constexpr std::size_t HugePageBytes = std::size_t(2) << 20;
/// Below this, malloc's own blocks serve better (reused, no system call).
constexpr std::size_t LargeBlockBytes = std::size_t(4) << 20;

/// Whether MapLarge takes `bytes` (else the caller allocates as usual).
__attribute__((visibility("hidden"))) inline bool IsLarge(std::size_t bytes)
{
    return R9_LARGE_BLOCKS_MAPPED && bytes >= LargeBlockBytes && bytes <= SIZE_MAX / 2;
}

__attribute__((visibility("hidden"))) inline std::size_t MappedLength(std::size_t bytes)
{
    return (bytes + HugePageBytes - 1) & ~(HugePageBytes - 1);
}

/// `bytes` of zeroed memory starting on a huge-page boundary; null when the
/// system has no room. Only for sizes IsLarge accepts; free with UnmapLarge
/// and the same size.
__attribute__((visibility("hidden"))) inline void *MapLarge(std::size_t bytes)
{
    const std::size_t length = MappedLength(bytes);
    // One huge page more than needed, so an aligned start lies inside; the
    // ends outside it go straight back.
    const std::size_t reserve = length + HugePageBytes;
    void *raw = mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + HugePageBytes - 1) & ~std::uintptr_t(HugePageBytes - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    const std::uintptr_t end = start + reserve, used = aligned + length;
    if (end > used)
        munmap(reinterpret_cast<void *>(used), end - used);
    void *block = reinterpret_cast<void *>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(block, length, MADV_HUGEPAGE);
#endif
    return block;
}

__attribute__((visibility("hidden"))) inline void UnmapLarge(void *block, std::size_t bytes)
{
    if (block)
        munmap(block, MappedLength(bytes));
}

/// The last pages' blocks, freed, kept for the next pages: pages come one
/// after another in one size, and fresh memory costs its faults and the
/// system's zeroing every time. Two blocks at most (a page and the copy
/// made of it: its grey, or the page turned upright), and the system may
/// take their memory back whenever it runs short (their contents are then
/// zero).
class __attribute__((visibility("hidden"))) SpareBlock
{
public:
    /// A kept block mapped for `bytes`, else null (and the blocks kept).
    void *take(std::size_t bytes)
    {
        const std::size_t length = MappedLength(bytes);
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Kept &k : m_kept)
            if (k.block && k.length == length) {
                k.length = 0;
                return std::exchange(k.block, nullptr);
            }
        return nullptr;
    }
    /// Keeps `block` (mapped for `bytes`) for the next pages; the block kept
    /// longest, when both places are taken or the two would exceed the
    /// limit, or this one when it alone exceeds it, is unmapped.
    void keep(void *block, std::size_t bytes)
    {
        Kept out{block, MappedLength(bytes)};
        Kept older;
        if (out.length <= Limit) {
#ifdef MADV_FREE
            madvise(block, out.length, MADV_FREE);
#endif
            std::lock_guard<std::mutex> lock(m_mutex);
            // The newest is kept first: the older moves on, the oldest goes.
            std::swap(out, m_kept[0]);
            if (out.block && out.length + m_kept[0].length <= Limit)
                std::swap(out, m_kept[1]);
            else if (m_kept[1].block && m_kept[0].length + m_kept[1].length > Limit)
                older = std::exchange(m_kept[1], Kept{});
        }
        if (out.block)
            munmap(out.block, out.length); // outside the lock
        if (older.block)
            munmap(older.block, older.length);
    }

private:
    struct Kept
    {
        void *block = nullptr;
        std::size_t length = 0;
    };
    /// Beyond this, in all, freed pages go back to the system at once.
    static constexpr std::size_t Limit = std::size_t(128) << 20;
    std::mutex m_mutex;
    Kept m_kept[2];
};

} // namespace r9mem
