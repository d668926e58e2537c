/*
 * Global memory blocks: the handles in which TWAIN pictures and capability
 * containers travel between the application, the source manager and the data
 * sources. A handle is pointer-sized; the block carries its size and a lock
 * count, so any module that carries GlobalMemory.cpp can lock, size and free
 * a block another module allocated (all share the process's allocator).
 *
 * Every module links its own copy (the package, the source manager, each data
 * source, the TWAIN client: each links r9_platform); the functions are hidden,
 * so no copy binds another's. The copies share one process-wide registry of
 * live blocks (a unique symbol the loader binds once per process; an
 * executable that links this file itself must export r9gmem::registryAnchor
 * for the libraries it loads to find it). A handle
 * that no module allocated, or one already freed, is refused by GlobalLock,
 * GlobalSize and GlobalFree without reading through it: null, 0, the handle.
 */
#ifndef R9_GLOBAL_MEMORY_H
#define R9_GLOBAL_MEMORY_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define R9_GMEM_HIDDEN __attribute__((visibility("hidden")))

typedef void *HGLOBAL;

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

/* A new block of `bytes` bytes (zero-filled with GMEM_ZEROINIT); null when the
   memory cannot be had. */
R9_GMEM_HIDDEN HGLOBAL GlobalAlloc(uint32_t flags, size_t bytes);
/* The block's first byte, and one more lock; null for an invalid handle. */
R9_GMEM_HIDDEN void *GlobalLock(HGLOBAL h);
/* One lock less; nonzero while locks remain. */
R9_GMEM_HIDDEN int GlobalUnlock(HGLOBAL h);
/* Frees the block; answers null on success, the handle itself on failure. */
R9_GMEM_HIDDEN HGLOBAL GlobalFree(HGLOBAL h);
/* Size in bytes of the block; 0 for an invalid handle. */
R9_GMEM_HIDDEN size_t GlobalSize(HGLOBAL h);
/* The handle of a block given its first byte (as GlobalLock answered it);
   null when the pointer is not the start of a block. */
R9_GMEM_HIDDEN HGLOBAL GlobalHandle(const void *p);

#ifdef __cplusplus
}
#endif

#endif /* R9_GLOBAL_MEMORY_H */
