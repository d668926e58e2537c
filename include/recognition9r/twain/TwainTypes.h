/*
 * TWAIN records, triplets and constants as the published TWAIN protocol lays
 * them out: the protocol's names and values, records packed on 2-byte
 * boundaries. Shared by the package's TWAIN layer, the source manager and the
 * data sources; usable from C11 (anonymous unions) and C++.
 *
 * Handles and memory references are pointer-sized, so records holding them
 * grow on 64-bit systems; their 32-bit sizes are asserted where pointers are
 * 4 bytes wide, and the 64-bit sizes where they are 8.
 *
 * Entry points:
 *   source manager  TW_UINT16 DSM_Entry(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest,
 *                                       TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
 *                                       TW_MEMREF pData);
 *   data source     TW_UINT16 DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG,
 *                                      TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);
 * A data source is a shared library exporting DS_Entry with C linkage.
 */
#ifndef R9_TWAIN_TYPES_H
#define R9_TWAIN_TYPES_H

#include <stddef.h>
#include <stdint.h>

/* C hosts need C11 (the records' anonymous unions). Before it the layout
   checks become a declaration that only a false condition makes invalid. */
#ifdef __cplusplus
#define TW_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define TW_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#else
#define TW_STATIC_ASSERT(cond, msg) extern int tw_layout_check[(cond) ? 1 : -1]
#endif

/* ---- basic types ------------------------------------------------------- */

typedef char TW_STR32[34];
typedef char TW_STR64[66];
typedef char TW_STR128[130];
typedef char TW_STR255[256];

typedef int8_t TW_INT8;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint8_t TW_UINT8;
typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef uint16_t TW_BOOL;
typedef void *TW_HANDLE;   /* a memory block: GlobalMemory.h inside, TWAIN_LockHandle and the rest for a host */
typedef void *TW_MEMREF;
typedef uintptr_t TW_UINTPTR;

#pragma pack(push, 2)

/* ---- records ----------------------------------------------------------- */

typedef struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
} TW_FIX32, *pTW_FIX32;

typedef struct TW_FRAME {
    TW_FIX32 Left;
    TW_FIX32 Top;
    TW_FIX32 Right;
    TW_FIX32 Bottom;
} TW_FRAME, *pTW_FRAME;

typedef struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
} TW_VERSION, *pTW_VERSION;

typedef struct TW_IDENTITY {
    TW_UINTPTR Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
} TW_IDENTITY, *pTW_IDENTITY;

typedef struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
} TW_USERINTERFACE, *pTW_USERINTERFACE;

typedef struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
} TW_EVENT, *pTW_EVENT;

typedef struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
} TW_CAPABILITY, *pTW_CAPABILITY;

typedef struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
} TW_ONEVALUE, *pTW_ONEVALUE;

typedef struct TW_ENUMERATION {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT32 CurrentIndex;
    TW_UINT32 DefaultIndex;
    TW_UINT8 ItemList[1];
} TW_ENUMERATION, *pTW_ENUMERATION;

typedef struct TW_ARRAY {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT8 ItemList[1];
} TW_ARRAY, *pTW_ARRAY;

typedef struct TW_RANGE {
    TW_UINT16 ItemType;
    TW_UINT32 MinValue;
    TW_UINT32 MaxValue;
    TW_UINT32 StepSize;
    TW_UINT32 DefaultValue;
    TW_UINT32 CurrentValue;
} TW_RANGE, *pTW_RANGE;

typedef struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    union {
        TW_UINT32 EOJ;
        TW_UINT32 Reserved;
    };
} TW_PENDINGXFERS, *pTW_PENDINGXFERS;

typedef struct TW_STATUS {
    TW_UINT16 ConditionCode;
    union {
        TW_UINT16 Data;
        TW_UINT16 Reserved;
    };
} TW_STATUS, *pTW_STATUS;

/*
 * The words for a status (DG_CONTROL / DAT_STATUSUTF8 / MSG_GET): the caller
 * passes the TW_STATUS it was given; the source or the manager answers a
 * block of Size bytes of UTF-8 text, its terminating zero included, which
 * the caller frees.
 */
typedef struct TW_STATUSUTF8 {
    TW_STATUS Status;
    TW_UINT32 Size;
    TW_HANDLE UTF8string;
} TW_STATUSUTF8, *pTW_STATUSUTF8;

typedef struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
} TW_IMAGEINFO, *pTW_IMAGEINFO;

typedef struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber;
    TW_UINT32 PageNumber;
    TW_UINT32 FrameNumber;
} TW_IMAGELAYOUT, *pTW_IMAGELAYOUT;

/*
 * The platform event passed with DG_CONTROL / DAT_EVENT / MSG_PROCESSEVENT
 * (TW_EVENT.pEvent). On this platform there is no window message queue the
 * source could read: the application's event loop runs in short slices and
 * hands the source one record after each slice (Message TWEV_LOOPSLICE), or,
 * when the application runs its own loop, one record per event it takes
 * (Message TWEV_APPEVENT with the Qt event type in WParam). Window is the
 * window the event was addressed to (a WId), 0 for none.
 */
typedef struct TW_PLATFORMEVENT {
    TW_UINTPTR Window;
    TW_UINT32 Message;
    TW_UINTPTR WParam;
    TW_UINTPTR LParam;
} TW_PLATFORMEVENT, *pTW_PLATFORMEVENT;

#pragma pack(pop)

#define TWEV_LOOPSLICE 0x0000u
#define TWEV_APPEVENT 0x0001u

/*
 * A source with news for the application between slices (a transfer ready,
 * a request to be closed) may post an event of this Qt event type to the
 * application object: the layer's modal loop then ends its slice at once
 * and hands the source its record, instead of at the slice's end. As a
 * Windows source posts a message to wake the application's loop.
 */
#define TWEV_WAKEEVENTTYPE 0x7A1Cu

TW_STATIC_ASSERT(sizeof(TW_FIX32) == 4, "TW_FIX32 layout");
TW_STATIC_ASSERT(sizeof(TW_FRAME) == 16, "TW_FRAME layout");
TW_STATIC_ASSERT(sizeof(TW_VERSION) == 42, "TW_VERSION layout");
TW_STATIC_ASSERT(sizeof(TW_ONEVALUE) == 6, "TW_ONEVALUE layout");
TW_STATIC_ASSERT(offsetof(TW_ENUMERATION, ItemList) == 14, "TW_ENUMERATION layout");
TW_STATIC_ASSERT(offsetof(TW_ARRAY, ItemList) == 6, "TW_ARRAY layout");
TW_STATIC_ASSERT(sizeof(TW_RANGE) == 22, "TW_RANGE layout");
TW_STATIC_ASSERT(sizeof(TW_PENDINGXFERS) == 6, "TW_PENDINGXFERS layout");
TW_STATIC_ASSERT(sizeof(TW_STATUS) == 4, "TW_STATUS layout");
TW_STATIC_ASSERT(sizeof(TW_IMAGEINFO) == 42, "TW_IMAGEINFO layout");
TW_STATIC_ASSERT(sizeof(TW_IMAGELAYOUT) == 28, "TW_IMAGELAYOUT layout");
TW_STATIC_ASSERT(offsetof(TW_IDENTITY, Version) == sizeof(TW_UINTPTR), "TW_IDENTITY layout");
TW_STATIC_ASSERT(offsetof(TW_USERINTERFACE, hParent) == 4, "TW_USERINTERFACE layout");
TW_STATIC_ASSERT(offsetof(TW_CAPABILITY, hContainer) == 4, "TW_CAPABILITY layout");
#if UINTPTR_MAX == 0xFFFFFFFFu
TW_STATIC_ASSERT(sizeof(TW_IDENTITY) == 156, "TW_IDENTITY 32-bit layout");
TW_STATIC_ASSERT(sizeof(TW_USERINTERFACE) == 8, "TW_USERINTERFACE 32-bit layout");
TW_STATIC_ASSERT(sizeof(TW_EVENT) == 6, "TW_EVENT 32-bit layout");
TW_STATIC_ASSERT(sizeof(TW_CAPABILITY) == 8, "TW_CAPABILITY 32-bit layout");
#else
TW_STATIC_ASSERT(sizeof(TW_IDENTITY) == 160, "TW_IDENTITY 64-bit layout");
TW_STATIC_ASSERT(sizeof(TW_USERINTERFACE) == 12, "TW_USERINTERFACE 64-bit layout");
TW_STATIC_ASSERT(sizeof(TW_EVENT) == 10, "TW_EVENT 64-bit layout");
TW_STATIC_ASSERT(sizeof(TW_CAPABILITY) == 12, "TW_CAPABILITY 64-bit layout");
#endif

/* ---- data groups ------------------------------------------------------- */
#define DG_CONTROL 0x0001UL
#define DG_IMAGE 0x0002UL
#define DG_AUDIO 0x0004UL

/* ---- data argument types ----------------------------------------------- */
#define DAT_NULL 0x0000
#define DAT_CAPABILITY 0x0001
#define DAT_EVENT 0x0002
#define DAT_IDENTITY 0x0003
#define DAT_PARENT 0x0004
#define DAT_PENDINGXFERS 0x0005
#define DAT_SETUPMEMXFER 0x0006
#define DAT_SETUPFILEXFER 0x0007
#define DAT_STATUS 0x0008
#define DAT_USERINTERFACE 0x0009
#define DAT_XFERGROUP 0x000a
#define DAT_STATUSUTF8 0x0026
#define DAT_IMAGEINFO 0x0101
#define DAT_IMAGELAYOUT 0x0102
#define DAT_IMAGEMEMXFER 0x0103
#define DAT_IMAGENATIVEXFER 0x0104
#define DAT_IMAGEFILEXFER 0x0105

/* ---- messages ---------------------------------------------------------- */
#define MSG_NULL 0x0000
#define MSG_GET 0x0001
#define MSG_GETCURRENT 0x0002
#define MSG_GETDEFAULT 0x0003
#define MSG_GETFIRST 0x0004
#define MSG_GETNEXT 0x0005
#define MSG_SET 0x0006
#define MSG_RESET 0x0007
#define MSG_QUERYSUPPORT 0x0008
#define MSG_XFERREADY 0x0101
#define MSG_CLOSEDSREQ 0x0102
#define MSG_CLOSEDSOK 0x0103
#define MSG_DEVICEEVENT 0x0104
#define MSG_OPENDSM 0x0301
#define MSG_CLOSEDSM 0x0302
#define MSG_OPENDS 0x0401
#define MSG_CLOSEDS 0x0402
#define MSG_USERSELECT 0x0403
#define MSG_DISABLEDS 0x0501
#define MSG_ENABLEDS 0x0502
#define MSG_ENABLEDSUIONLY 0x0503
#define MSG_PROCESSEVENT 0x0601
#define MSG_ENDXFER 0x0701
#define MSG_STOPFEEDER 0x0702

/* ---- return codes ------------------------------------------------------ */
#define TWRC_SUCCESS 0
#define TWRC_FAILURE 1
#define TWRC_CHECKSTATUS 2
#define TWRC_CANCEL 3
#define TWRC_DSEVENT 4
#define TWRC_NOTDSEVENT 5
#define TWRC_XFERDONE 6
#define TWRC_ENDOFLIST 7
#define TWRC_INFONOTSUPPORTED 8
#define TWRC_DATANOTAVAILABLE 9

/* ---- condition codes --------------------------------------------------- */
#define TWCC_SUCCESS 0
#define TWCC_BUMMER 1
#define TWCC_LOWMEMORY 2
#define TWCC_NODS 3
#define TWCC_MAXCONNECTIONS 4
#define TWCC_OPERATIONERROR 5
#define TWCC_BADCAP 6
#define TWCC_BADPROTOCOL 9
#define TWCC_BADVALUE 10
#define TWCC_SEQERROR 11
#define TWCC_BADDEST 12
#define TWCC_CAPUNSUPPORTED 13
#define TWCC_CAPBADOPERATION 14
#define TWCC_CAPSEQERROR 15
/* of the protocol's later versions: the faults a scanner reports */
#define TWCC_DENIED 16
#define TWCC_PAPERJAM 20
#define TWCC_CHECKDEVICEONLINE 23
#define TWCC_INTERLOCK 24
#define TWCC_NOMEDIA 29

/* ---- containers -------------------------------------------------------- */
#define TWON_ARRAY 3
#define TWON_ENUMERATION 4
#define TWON_ONEVALUE 5
#define TWON_RANGE 6
#define TWON_DONTCARE16 0xffff
#define TWON_DONTCARE32 0xffffffffUL

/* ---- item types -------------------------------------------------------- */
#define TWTY_INT8 0x0000
#define TWTY_INT16 0x0001
#define TWTY_INT32 0x0002
#define TWTY_UINT8 0x0003
#define TWTY_UINT16 0x0004
#define TWTY_UINT32 0x0005
#define TWTY_BOOL 0x0006
#define TWTY_FIX32 0x0007
#define TWTY_FRAME 0x0008
#define TWTY_STR32 0x0009
#define TWTY_STR64 0x000a
#define TWTY_STR128 0x000b
#define TWTY_STR255 0x000c

/* ---- pixel types ------------------------------------------------------- */
#define TWPT_BW 0
#define TWPT_GRAY 1
#define TWPT_RGB 2
#define TWPT_PALETTE 3
#define TWPT_CMY 4
#define TWPT_CMYK 5
#define TWPT_YUV 6
#define TWPT_YUVK 7
#define TWPT_CIEXYZ 8

/* ---- units ------------------------------------------------------------- */
#define TWUN_INCHES 0
#define TWUN_CENTIMETERS 1
#define TWUN_PICAS 2
#define TWUN_POINTS 3
#define TWUN_TWIPS 4
#define TWUN_PIXELS 5

/* ---- transfer mechanisms ----------------------------------------------- */
#define TWSX_NATIVE 0
#define TWSX_FILE 1
#define TWSX_MEMORY 2

/* ---- capabilities ------------------------------------------------------ */
#define CAP_XFERCOUNT 0x0001
#define ICAP_COMPRESSION 0x0100
#define ICAP_PIXELTYPE 0x0101
#define ICAP_UNITS 0x0102
#define ICAP_XFERMECH 0x0103
#define CAP_SUPPORTEDCAPS 0x1005
#define CAP_INDICATORS 0x100b
#define CAP_UICONTROLLABLE 0x100e
#define ICAP_PHYSICALWIDTH 0x1111
#define ICAP_PHYSICALHEIGHT 0x1112
#define ICAP_XRESOLUTION 0x1118
#define ICAP_YRESOLUTION 0x1119
#define ICAP_BITDEPTH 0x112b
#define ICAP_BRIGHTNESS 0x1101
#define ICAP_ORIENTATION 0x1110
#define ICAP_SUPPORTEDSIZES 0x1122

/* ---- orientations (ICAP_ORIENTATION) ----------------------------------- */
#define TWOR_ROT0 0
#define TWOR_ROT90 1
#define TWOR_ROT180 2
#define TWOR_ROT270 3
#define TWOR_PORTRAIT TWOR_ROT0
#define TWOR_LANDSCAPE TWOR_ROT270

/* ---- paper sizes (ICAP_SUPPORTEDSIZES) --------------------------------- */
#define TWSS_NONE 0
#define TWSS_A4 1
#define TWSS_JISB5 2
#define TWSS_USLETTER 3
#define TWSS_USLEGAL 4
#define TWSS_A5 5
#define TWSS_ISOB4 6
#define TWSS_ISOB6 7
#define TWSS_USLEDGER 9
#define TWSS_USEXECUTIVE 10
#define TWSS_A3 11
#define TWSS_ISOB3 12
#define TWSS_A6 13
#define TWSS_C4 14
#define TWSS_C5 15
#define TWSS_C6 16
#define TWSS_A0 19
#define TWSS_A1 20
#define TWSS_A2 21
#define TWSS_ISOB1 27
#define TWSS_ISOB2 28
#define TWSS_ISOB5 29
#define TWSS_JISB4 38
#define TWSS_JISB6 39
#define TWSS_C3 47
#define TWSS_USSTATEMENT 52
#define TWSS_BUSINESSCARD 53

/* ---- identity values --------------------------------------------------- */
#define TWLG_USA 13
#define TWCY_USA 1

/* ---- entry points ------------------------------------------------------ */
typedef TW_UINT16 (*DSMENTRYPROC)(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG, TW_UINT16 DAT,
                                  TW_UINT16 MSG, TW_MEMREF pData);
typedef TW_UINT16 (*DSENTRYPROC)(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                 TW_MEMREF pData);

#define TWAIN_DSM_ENTRY_NAME "DSM_Entry"
#define TWAIN_DS_ENTRY_NAME "DS_Entry"

#endif /* R9_TWAIN_TYPES_H */
