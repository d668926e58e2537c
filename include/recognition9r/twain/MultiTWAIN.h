/*
 * MultiTWAIN: the package's flat layer over TWAIN image acquisition, and the
 * DIB utilities beside it. Every function here is exported from
 * librecognition9r.so under exactly this name with C linkage, so a host may
 * dlsym it or link the library and include this header (from C11 or later,
 * which the records' anonymous unions and layout checks need, or from C++).
 *
 * Handles:
 *   TWAIN_HWND      a window: the WId of a top-level QWidget (0 for none)
 *   TWAIN_HDIB      a global memory block holding a packed DIB: a
 *                   BITMAPINFOHEADER, the colour table and the pixel bits
 *   TWAIN_HPALETTE  a palette made by TWAIN_CreateDibPalette, owned by the
 *                   caller: read it as a TWAIN_LOGPALETTE, free it with
 *                   TWAIN_DeletePalette (it is no memory handle)
 *   TWAIN_HDC       a device context: a QPainter * that is active on its device
 *   TWAIN_HIMAGE    an image control: a ui::TPictureBox *
 *   file handles    POSIX file descriptors, left open for the caller
 *   TW_HANDLE       a memory block (a DIB or a capability container): make
 *                   one with TWAIN_AllocHandle, read it with
 *                   TWAIN_LockHandle, free it with TWAIN_FreeHandle
 *
 * One TWAIN session per process, on the thread that runs the Qt event loop.
 * Functions answering TWAIN_BOOL return nonzero for success. Warnings are
 * message boxes captioned "TWAIN Error" with no owner (none on a machine
 * without a display); nothing raises.
 *
 * A host without an application object of its own gets one from the layer
 * when it first needs one (enabling the source makes it, so the source can
 * show its window): without a display (no QT_QPA_PLATFORM, DISPLAY or
 * WAYLAND_DISPLAY) it is one without windows, and the source scans without
 * its window.
 */
#ifndef R9_MULTITWAIN_H
#define R9_MULTITWAIN_H

#include <stddef.h>
#include <stdint.h>

#include "TwainTypes.h"

#ifdef __cplusplus
#define MULTITWAIN_API extern "C" __attribute__((visibility("default")))
#else
#define MULTITWAIN_API extern __attribute__((visibility("default")))
#endif

typedef uint32_t UnsignedInt32;
typedef int32_t TWAIN_BOOL;
typedef uintptr_t TWAIN_HWND;
typedef void *TWAIN_HDIB;
typedef struct TWAIN_LOGPALETTE *TWAIN_HPALETTE;
typedef void *TWAIN_HDC;
typedef void *TWAIN_HIMAGE;

/* Called for every transferred DIB with its zero-based index in the picture list. */
typedef void (*hDibCallbackProc)(TWAIN_HDIB hDib, int32_t index);

/* ---- session states ---------------------------------------------------- */
#define TWAIN_PRESESSION 1     /* source manager not loaded */
#define TWAIN_SM_LOADED 2      /* library loaded and DSM_Entry found */
#define TWAIN_SM_OPEN 3        /* source manager opened with a parent window */
#define TWAIN_SOURCE_OPEN 4    /* a data source is open; capabilities may be set */
#define TWAIN_SOURCE_ENABLED 5 /* the source is enabled (its dialog may be up) */
#define TWAIN_TRANSFER_READY 6 /* the source announced a transfer */
#define TWAIN_TRANSFERRING 7   /* a transfer has ended and MSG_ENDXFER is due */

/* ---- pixel-type masks: bit n stands for TWAIN pixel type n ---------------- */
#define TWAIN_ANYTYPE 0x0000
#define TWAIN_BW 0x0001      /* 1 << TWPT_BW */
#define TWAIN_GRAY 0x0002    /* 1 << TWPT_GRAY */
#define TWAIN_RGB 0x0004     /* 1 << TWPT_RGB */
#define TWAIN_PALETTE 0x0008 /* 1 << TWPT_PALETTE */

/* ---- results of the file functions ------------------------------------- */
#define TWAIN_FILE_DONE 0
#define TWAIN_FILE_CANCELLED (-1)  /* dialog cancelled (AcquireToFilename: no picture) */
#define TWAIN_FILE_NOT_CREATED (-2)
#define TWAIN_FILE_NOT_LOCKED (-3)
#define TWAIN_FILE_WRITE_FAILED (-4)

/* ---- DIB and BMP headers ----------------------------------------------- */
#pragma pack(push, 2)
typedef struct TWAIN_BITMAPFILEHEADER {
    uint16_t bfType;
    uint32_t bfSize;
    uint16_t bfReserved1;
    uint16_t bfReserved2;
    uint32_t bfOffBits;
} TWAIN_BITMAPFILEHEADER;

typedef struct TWAIN_BITMAPCOREHEADER {
    uint32_t bcSize;
    uint16_t bcWidth;
    uint16_t bcHeight;
    uint16_t bcPlanes;
    uint16_t bcBitCount;
} TWAIN_BITMAPCOREHEADER;

typedef struct TWAIN_BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
} TWAIN_BITMAPINFOHEADER;

typedef struct TWAIN_RGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
} TWAIN_RGBQUAD;

typedef struct TWAIN_PALETTEENTRY {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
} TWAIN_PALETTEENTRY;

typedef struct TWAIN_LOGPALETTE {
    uint16_t palVersion; /* 0x300 */
    uint16_t palNumEntries;
    TWAIN_PALETTEENTRY palPalEntry[1];
} TWAIN_LOGPALETTE;
#pragma pack(pop)

#define TWAIN_BI_RGB 0u
#define TWAIN_BI_RLE8 1u
#define TWAIN_BI_RLE4 2u
#define TWAIN_BI_BITFIELDS 3u
#define TWAIN_PC_NOCOLLAPSE 0x04u

TW_STATIC_ASSERT(sizeof(TWAIN_BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER layout");
TW_STATIC_ASSERT(sizeof(TWAIN_BITMAPCOREHEADER) == 12, "BITMAPCOREHEADER layout");
TW_STATIC_ASSERT(sizeof(TWAIN_BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER layout");
TW_STATIC_ASSERT(sizeof(TWAIN_RGBQUAD) == 4, "RGBQUAD layout");
TW_STATIC_ASSERT(sizeof(TWAIN_PALETTEENTRY) == 4, "PALETTEENTRY layout");

/* ======================================================================== */
/* Memory handles                                                           */
/* ======================================================================== */

/* Pictures and capability containers travel in memory blocks named by
 * handles (TWAIN_HDIB, TW_CAPABILITY.hContainer). A block may come from the
 * source, the source manager or this layer; these functions work on any of
 * them. Each block is freed exactly once. The caller owns, and frees once
 * read:
 *   - the pages of an acquisition or a transfer, in the picture list
 *     (TWAIN_GetDib; TWAIN_FreeNative or TWAIN_FreeHandle). The DIB
 *     TWAIN_AcquireNative returns is the list's last entry, the same handle:
 *     freed once for both. TWAIN_AcquireToClipboard and
 *     TWAIN_AcquireToFilename free the last page themselves; the earlier
 *     pages in the list remain the caller's;
 *   - every DIB TWAIN_LoadNativeFrom... gave;
 *   - the container a source answered DAT_CAPABILITY / MSG_GET, MSG_GETCURRENT,
 *     MSG_GETDEFAULT or MSG_RESET with through TWAIN_DS, and a container the
 *     caller made with TWAIN_AllocHandle for MSG_SET (the source only reads
 *     it).
 * A palette (TWAIN_HPALETTE) is not a memory handle: TWAIN_DeletePalette.
 * A handle must never be used once its block is freed. The functions below
 * refuse a handle that names no live block (null, 0 or failure as stated),
 * but that check is best effort only: a freed block's address may be given
 * to a new block, and the stale handle then names that one. */

/* A new block of `size` bytes, zero-filled, owned by the caller (free it
   with TWAIN_FreeHandle); null when the memory cannot be had. A host builds
   the container of a DAT_CAPABILITY / MSG_SET in it. */
MULTITWAIN_API TW_HANDLE TWAIN_AllocHandle(size_t size);
/* The block's first byte, and one lock more; null for a handle found
   invalid. The address stays valid until the block is freed. */
MULTITWAIN_API void *TWAIN_LockHandle(TW_HANDLE h);
/* One lock less; nonzero while other locks remain, 0 when none remains or
   the handle is found invalid. */
MULTITWAIN_API TWAIN_BOOL TWAIN_UnlockHandle(TW_HANDLE h);
/* The block's size in bytes (at least what was asked for when it was made);
   0 for a handle found invalid. */
MULTITWAIN_API size_t TWAIN_HandleSize(TW_HANDLE h);
/* Frees the block, locked or not; nonzero when it was freed, 0 for a null
   handle or one found invalid. The handle and every address locked from it
   are dead from then on. */
MULTITWAIN_API TWAIN_BOOL TWAIN_FreeHandle(TW_HANDLE h);

/* ======================================================================== */
/* TWAIN session                                                            */
/* ======================================================================== */

/* Fills the application identity (strings cut to 33 characters). */
MULTITWAIN_API void TWAIN_RegisterApp(uint16_t nMajorNum, uint16_t nMinorNum, uint16_t nLanguage,
                                      uint16_t nCountry, const char *lpszVersion, const char *lpszMfg,
                                      const char *lpszFamily, const char *lpszProduct);
/* The source manager's selection dialog; nonzero when a source was chosen. */
MULTITWAIN_API TWAIN_BOOL TWAIN_SelectImageSource(TWAIN_HWND hwnd);
/* One whole acquisition: the DIB of the last page (the picture list's last
   entry), or null. */
MULTITWAIN_API TWAIN_HDIB TWAIN_AcquireNative(TWAIN_HWND hwnd, int32_t nPixTypes);
MULTITWAIN_API void TWAIN_FreeNative(TWAIN_HDIB hdib);
MULTITWAIN_API void TWAIN_RegisterCallback(hDibCallbackProc proc);
MULTITWAIN_API void TWAIN_UnRegisterCallback(void);
MULTITWAIN_API void TWAIN_ClearDibList(void);
MULTITWAIN_API int32_t TWAIN_GetNumDibs(void);
/* The picture-list entry at index (0 to count - 1); null outside the list. */
MULTITWAIN_API TWAIN_HDIB TWAIN_GetDib(int32_t index);
MULTITWAIN_API TWAIN_BOOL TWAIN_IsAvailable(void);
MULTITWAIN_API int32_t TWAIN_LayerVersion(void);
MULTITWAIN_API int32_t TWAIN_State(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_GetHideUI(void);
MULTITWAIN_API void TWAIN_SetHideUI(int32_t fHide);

MULTITWAIN_API TWAIN_BOOL TWAIN_LoadSourceManager(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_OpenSourceManager(TWAIN_HWND hwnd);
MULTITWAIN_API TWAIN_BOOL TWAIN_OpenDefaultSource(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_EnableSource(TWAIN_HWND hwnd);
MULTITWAIN_API TWAIN_BOOL TWAIN_DisableSource(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_CloseSource(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_CloseSourceManager(TWAIN_HWND hwnd);
MULTITWAIN_API TWAIN_BOOL TWAIN_UnloadSourceManager(void);

/* Runs the event loop until the source is disabled or a picture arrived. */
MULTITWAIN_API void TWAIN_ModalEventLoop(void);
/* Passes one event to the enabled source; nonzero when it was the source's. */
MULTITWAIN_API TWAIN_BOOL TWAIN_MessageHook(TW_PLATFORMEVENT *lpmsg);
MULTITWAIN_API void TWAIN_NativeXferGetAll(TW_PLATFORMEVENT *lpmsg);
MULTITWAIN_API TWAIN_BOOL TWAIN_AbortAllPendingXfers(void);
/* Shows the fixed warning "TWAIN_ReportLastError: an error occurred". */
MULTITWAIN_API void TWAIN_ReportLastError(void);

MULTITWAIN_API int32_t TWAIN_NegotiatePixelTypes(int32_t nPixTypeMask);
MULTITWAIN_API TWAIN_BOOL TWAIN_NegotiateXferCount(int32_t nXfers);
MULTITWAIN_API TWAIN_BOOL TWAIN_SetCapOneValue(int32_t cap, int32_t itemType, UnsignedInt32 itemVal);
MULTITWAIN_API TWAIN_BOOL TWAIN_GetCapCurrent(int32_t cap, int32_t itemType, void *pVal);
MULTITWAIN_API int32_t TWAIN_GetCurrentUnits(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_SetCurrentUnits(int32_t nUnits);
MULTITWAIN_API int32_t TWAIN_GetBitDepth(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_SetBitDepth(int32_t nBits);
MULTITWAIN_API int32_t TWAIN_GetPixelType(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_SetCurrentPixelType(int32_t nPixType);
/* 0 when the query fails. */
MULTITWAIN_API double TWAIN_GetCurrentResolution(void);
MULTITWAIN_API TWAIN_BOOL TWAIN_SetCurrentResolution(double dRes);

MULTITWAIN_API TWAIN_BOOL TWAIN_DS(UnsignedInt32 DG, UnsignedInt32 DAT, UnsignedInt32 MSG, void *pData);
MULTITWAIN_API TWAIN_BOOL TWAIN_Mgr(UnsignedInt32 DG, UnsignedInt32 DAT, UnsignedInt32 MSG, void *pData);
MULTITWAIN_API int32_t TWAIN_GetResultCode(void);
MULTITWAIN_API int32_t TWAIN_GetConditionCode(void);

/* ======================================================================== */
/* DIB utilities                                                            */
/* ======================================================================== */

MULTITWAIN_API int32_t TWAIN_DibDepth(TWAIN_HDIB hdib);
MULTITWAIN_API int32_t TWAIN_DibWidth(TWAIN_HDIB hdib);
MULTITWAIN_API int32_t TWAIN_DibHeight(TWAIN_HDIB hdib);
MULTITWAIN_API int32_t TWAIN_DibNumColors(TWAIN_HDIB hdib);
MULTITWAIN_API TWAIN_HPALETTE TWAIN_CreateDibPalette(TWAIN_HDIB hdib);
/* Frees a palette made by TWAIN_CreateDibPalette (null is ignored). */
MULTITWAIN_API void TWAIN_DeletePalette(TWAIN_HPALETTE hpal);
MULTITWAIN_API void TWAIN_DrawDibToDC(TWAIN_HDC hDC, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                      TWAIN_HDIB hdib, int32_t sx, int32_t sy);
/* Writes the DIB that starts with the header as a BMP file; the caller vouches
   that the whole DIB (header, colours, biSizeImage bytes) lies behind it. */
MULTITWAIN_API TWAIN_BOOL TWAIN_WriteDibToFile(TWAIN_BITMAPINFOHEADER *lpDIB, int fd);
/* 0 done, -3 the block cannot be locked, -4 writing failed. */
MULTITWAIN_API int32_t TWAIN_WriteNativeToFile(TWAIN_HDIB hdib, int fd);
/* 0 done, -1 dialog cancelled, -2 file cannot be created, -3, -4 as above.
   A null or empty name asks with the save dialog. */
MULTITWAIN_API int32_t TWAIN_WriteNativeToFilename(TWAIN_HDIB hdib, const char *pszFile);
/* Reads a BMP file from the descriptor's position into a new DIB; the pixels
   are taken where the file header's bfOffBits says (unused bytes before them
   are left out). Null for a file that is not a whole BMP. */
MULTITWAIN_API TWAIN_HDIB TWAIN_LoadNativeFromFile(int fd);
/* As TWAIN_LoadNativeFromFile; a null or empty name asks with the open
   dialog. */
MULTITWAIN_API TWAIN_HDIB TWAIN_LoadNativeFromFilename(const char *pszFile);
/* Both acquire as TWAIN_AcquireNative and free the last page once it is on
   the clipboard or written; earlier pages of the picture list remain the
   caller's. */
MULTITWAIN_API TWAIN_BOOL TWAIN_AcquireToClipboard(TWAIN_HWND hwndApp, int32_t nPixTypes);
/* -1 no picture, else the result of TWAIN_WriteNativeToFilename. */
MULTITWAIN_API int32_t TWAIN_AcquireToFilename(TWAIN_HWND hwndApp, const char *pszFile);
/* Draws the DIB into the image control's picture, which takes the DIB's size. */
MULTITWAIN_API void CopyDIBIntoImage(TWAIN_HDIB hDIB, TWAIN_HIMAGE image);

#endif /* R9_MULTITWAIN_H */
