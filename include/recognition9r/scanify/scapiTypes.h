#pragma once
// The binary interface of the Scanify engine library (libscproxy.so): handle
// types, constants, records, callback types and one function-pointer type per
// entry point. Both sides include this header: the package to bind the entry
// points, an engine implementation to define them. It declares types only; the
// package's variables that hold the bound entry points live in scapi.h.
//
// Records are laid out as the engine's 32-bit interface fixes them: every field
// at its offset, 4-byte packing. Records without pointers keep that layout on
// every platform; records that hold pointers grow only by the width of the
// pointer on 64-bit systems (the fields after a pointer move by 4 bytes).
// Texts are NUL-terminated 8-bit texts in the locale's encoding.

#include <cstddef>
#include <cstdint>
#include <type_traits>

// ---------------------------------------------------------------- scalars

using ScInstanceHandle = std::uint32_t;   // engine instance; 0 = none or failure
using ScPackageHandle = std::uint32_t;    // package (folder of images and results); 0 = none
using ScScanDeviceHandle = std::uint32_t; // opened scanning device; 0 = none or failure
using ScImageHandle = std::uint32_t;      // image inside a package; 0 = none
using ScDocumentHandle = std::uint32_t;   // recognised document inside a package; 0 = none
using ScProgressHandle = std::uint32_t;   // progress object (unused by the package)
using ScPackageHandlePtr = ScPackageHandle *;
using ScImageHandlePtr = ScImageHandle *;

/// Boolean result: only the low 8 bits count; non-zero there means true.
using ScBool = std::uint32_t;
/// 32-bit Boolean record field (bUse..., bShow...): 0 = false, else true.
using ScBool32 = std::int32_t;
/// Owner window passed to the engine's dialogs (a WId of the toolkit).
using ScWindowHandle = std::uintptr_t;

struct TRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};
using PTRect = TRect *;

// -------------------------------------------------------------- constants

// Subsystems, bits of nEnabledSubsystems.
constexpr std::int32_t SC_SUBSYSTEM_SCAN = 1;
constexpr std::int32_t SC_SUBSYSTEM_PREPROC = 2;
constexpr std::int32_t SC_SUBSYSTEM_RECOG = 4;

// nSaveFormat of TScExportImageOptions.
constexpr std::int32_t SC_IMGSAVE_JPG = 16;

// Field control type, data type and style bits.
constexpr std::int32_t SCF_CT_EDIT = 0;
constexpr std::int32_t SCF_DT_STRING = 0;
constexpr std::int32_t SCF_DT_INT = 1;
constexpr std::int32_t SCF_DT_DATE = 2;
constexpr std::int32_t SCF_DT_DOUBLE = 3;
constexpr std::int32_t SCF_CS_READONLY = 2;
constexpr std::int32_t SCF_CS_DISABLED = 4;
constexpr std::int32_t SCF_CS_INVISIBLE = 8;

// nFlags bits of TScFieldValueAttr: recognised with doubt / with an error.
constexpr std::int32_t SCF_VRS_WARNING = 4;
constexpr std::int32_t SCF_VRS_ERROR = 8;

// Shoot mode (nShootMode).
constexpr std::int32_t SC_SM_WHITE = 0;
constexpr std::int32_t SC_SM_RED = 1;
constexpr std::int32_t SC_SM_UV = 2;
constexpr std::int32_t SC_SM_WHITE_RED = 3;
constexpr std::int32_t SC_SM_WHITE_UV = 4;
constexpr std::int32_t SC_SM_RED_UV = 5;
constexpr std::int32_t SC_SM_ALL = 6;

// Scan save format (nSaveFormat of TScScanOptions).
constexpr std::int32_t SC_IMG_FORMAT_DEF = 0;
constexpr std::int32_t SC_IMG_FORMAT_TIF = 1;
constexpr std::int32_t SC_IMG_FORMAT_JPG = 2;

// nFlags of TScImageInformation.
constexpr std::int32_t SC_IF_DELETED = 0;

// Device class, second argument of ScScannerOpen.
using TScDeviceClass = std::int32_t;
constexpr TScDeviceClass SC_DEV_SCANNER = 1;
constexpr TScDeviceClass SC_DEV_FILE = 2;
constexpr TScDeviceClass SC_DEV_CLR = 4;
constexpr TScDeviceClass SC_DEV_EMRP = 5;

// ---------------------------------------------------------- callback types

using TOnSetProgressEvent = void(std::int64_t nProgress);
using TOnFieldRecogEvent = ScBool(PTRect pRect);
using TOnImageRecogEvent = ScBool(const char *pszLogicId, std::int32_t nImgNum, const char *pszFileName);
using TOnDocRecogEvent = ScBool(const char *pszLogicId);
using PF_OnSetProgressEvent = TOnSetProgressEvent *;
using PF_OnFieldRecogEvent = TOnFieldRecogEvent *;
using PF_OnImageRecogEvent = TOnImageRecogEvent *;
using PF_OnDocRecogEvent = TOnDocRecogEvent *;

// ----------------------------------------------------------------- records

#pragma pack(push, 4)

struct TScInitializeOption {
    const char *pszScApiRoot;        // engine root folder
    std::int32_t nEnabledSubsystems; // SC_SUBSYSTEM_* bits
    std::uint8_t pass[32];
    std::uint8_t reserved[216];
};

/// Empty on the engine's side; always passed as a null pointer.
struct TScTerminateOption {};

struct TScProgressIndicator {
    PF_OnSetProgressEvent OnSetProgressEvent;
    PF_OnFieldRecogEvent OnFieldRecogEvent;
    PF_OnImageRecogEvent OnImageRecogEvent;
    PF_OnDocRecogEvent OnDocRecogEvent;
};

struct TScPackageInformation {
    char szName[256]; // full path of the package folder
    std::int32_t nDocsCount;
    std::int32_t nFormsCount;
    std::int32_t nImagesCount;
    std::uint8_t reserved[756];
};

struct TScScanOptions {
    std::int32_t nXResolution;
    std::int32_t nYResolution;
    std::int32_t nBitsPerPixel;
    std::int32_t pageLeft;
    std::int32_t pageTop;
    std::int32_t pageWidth;
    std::int32_t pageHeight;
    std::int32_t nQuality;
    ScBool32 bUseADF;
    ScBool32 bUseDuplex;
    std::uint32_t hwndApp; // window handle, 32 bits in the interface
    ScBool32 bShowTWAINSettings;
    ScBool32 bUseImprinter;
    char pszImprinterFormat[64]; // an inline buffer, not a pointer
    std::int32_t nImprinterStartingCounter;
    ScBool32 bUseIndicator;
    std::int32_t nShootMode;  // SC_SM_*
    std::int32_t nUvBrightness;
    std::int32_t nSaveFormat; // SC_IMG_FORMAT_*
};

struct TScScanRequest {
    TScScanOptions scanOptions;
    std::int32_t nPagesRequested;
    std::int32_t nPagesAcquired;
    std::int32_t nZonesImported;
    TScProgressIndicator *pIndicator;
    char szNote[64];
    std::uint8_t reserved[256];
};

struct TScImageInformation {
    char szFileName[256];
    std::int32_t nFilePage;
    ScDocumentHandle hDoc;
    std::int32_t cxDPI;
    std::int32_t cyDPI;
    std::int32_t cxWidth;
    std::int32_t cyHeight;
    char szZoneType[256];
    std::int32_t nRotated;
    char szImprintedString[64];
    std::int32_t nPageNumber;
    std::int32_t nFlags;
    std::uint8_t reserved[412];
};

struct TScDocInformation {
    std::int32_t nForm; // number of the recognition form that matched
    std::uint8_t reserved[256];
};

struct TScFormInformation {
    char szId[64]; // form identifier
    char szShortName[64];
    char szLongName[256];
    std::int32_t nFieldsCount;
    std::int32_t nWidth;
    std::int32_t nHeight;
    std::int32_t cxDPI;
    std::int32_t cyDPI;
    char szCaption[256];
    std::uint8_t reserved[492];
};

struct TScExportImageOptions {
    std::int32_t nSaveFormat; // SC_IMGSAVE_JPG
    std::int32_t nJpegQuality;
    std::uint8_t reserved[256];
};

struct TScFieldInformation {
    char szId[16]; // field identifier
    char szTitle[64];
    std::int32_t nCntrlType;  // SCF_CT_*
    std::int32_t nDataType;   // SCF_DT_*
    std::int32_t nCntrlStyle; // SCF_CS_* bits
    std::int32_t nTabOrder;
    std::int32_t nCellStep;
    std::int32_t nNextFldNo;
    std::uint8_t reserved[408];
};

struct TScFieldValueAttr {
    std::int32_t nFlags; // SCF_VRS_WARNING, SCF_VRS_ERROR
    ScImageHandle hImage;
    TRect rcValue;
    ScImageHandle hImage2;
    TRect rcValue2;
    std::uint8_t reserved[212];
};

#pragma pack(pop)

using PScInitializeOption = TScInitializeOption *;
using PScTerminateOption = TScTerminateOption *;
using PScProgressIndicator = TScProgressIndicator *;
using PScPackageInformation = TScPackageInformation *;
using PScScanOptions = TScScanOptions *;
using PScScanRequest = TScScanRequest *;
using PScImageInformation = TScImageInformation *;
using PScDocInformation = TScDocInformation *;
using PScFormInformation = TScFormInformation *;
using PScExportImageOptions = TScExportImageOptions *;
using PScFieldInformation = TScFieldInformation *;
using PScFieldValueAttr = TScFieldValueAttr *;

// ------------------------------------------------------- layout of records

namespace scapi_layout {
/// Bytes a record holding pointers grows by on this platform.
constexpr std::size_t kPointerGrowth = sizeof(void *) - 4;
static_assert(sizeof(void *) == 4 || sizeof(void *) == 8);
} // namespace scapi_layout

static_assert(sizeof(TRect) == 16);
static_assert(std::is_empty_v<TScTerminateOption>);

static_assert(offsetof(TScInitializeOption, pszScApiRoot) == 0);
static_assert(offsetof(TScInitializeOption, nEnabledSubsystems) == 4 + scapi_layout::kPointerGrowth);
static_assert(offsetof(TScInitializeOption, pass) == 8 + scapi_layout::kPointerGrowth);
static_assert(offsetof(TScInitializeOption, reserved) == 40 + scapi_layout::kPointerGrowth);
static_assert(sizeof(TScInitializeOption) == 256 + scapi_layout::kPointerGrowth);

static_assert(offsetof(TScProgressIndicator, OnSetProgressEvent) == 0);
static_assert(offsetof(TScProgressIndicator, OnFieldRecogEvent) == 4 + 1 * scapi_layout::kPointerGrowth);
static_assert(offsetof(TScProgressIndicator, OnImageRecogEvent) == 8 + 2 * scapi_layout::kPointerGrowth);
static_assert(offsetof(TScProgressIndicator, OnDocRecogEvent) == 12 + 3 * scapi_layout::kPointerGrowth);
static_assert(sizeof(TScProgressIndicator) == 16 + 4 * scapi_layout::kPointerGrowth);

static_assert(offsetof(TScPackageInformation, szName) == 0);
static_assert(offsetof(TScPackageInformation, nDocsCount) == 256);
static_assert(offsetof(TScPackageInformation, nFormsCount) == 260);
static_assert(offsetof(TScPackageInformation, nImagesCount) == 264);
static_assert(offsetof(TScPackageInformation, reserved) == 268);
static_assert(sizeof(TScPackageInformation) == 1024);

static_assert(offsetof(TScScanOptions, nXResolution) == 0);
static_assert(offsetof(TScScanOptions, nYResolution) == 4);
static_assert(offsetof(TScScanOptions, nBitsPerPixel) == 8);
static_assert(offsetof(TScScanOptions, pageLeft) == 12);
static_assert(offsetof(TScScanOptions, pageTop) == 16);
static_assert(offsetof(TScScanOptions, pageWidth) == 20);
static_assert(offsetof(TScScanOptions, pageHeight) == 24);
static_assert(offsetof(TScScanOptions, nQuality) == 28);
static_assert(offsetof(TScScanOptions, bUseADF) == 32);
static_assert(offsetof(TScScanOptions, bUseDuplex) == 36);
static_assert(offsetof(TScScanOptions, hwndApp) == 40);
static_assert(offsetof(TScScanOptions, bShowTWAINSettings) == 44);
static_assert(offsetof(TScScanOptions, bUseImprinter) == 48);
static_assert(offsetof(TScScanOptions, pszImprinterFormat) == 52);
static_assert(offsetof(TScScanOptions, nImprinterStartingCounter) == 116);
static_assert(offsetof(TScScanOptions, bUseIndicator) == 120);
static_assert(offsetof(TScScanOptions, nShootMode) == 124);
static_assert(offsetof(TScScanOptions, nUvBrightness) == 128);
static_assert(offsetof(TScScanOptions, nSaveFormat) == 132);
static_assert(sizeof(TScScanOptions) == 136);

static_assert(offsetof(TScScanRequest, scanOptions) == 0);
static_assert(offsetof(TScScanRequest, nPagesRequested) == 136);
static_assert(offsetof(TScScanRequest, nPagesAcquired) == 140);
static_assert(offsetof(TScScanRequest, nZonesImported) == 144);
static_assert(offsetof(TScScanRequest, pIndicator) == 148);
static_assert(offsetof(TScScanRequest, szNote) == 152 + scapi_layout::kPointerGrowth);
static_assert(offsetof(TScScanRequest, reserved) == 216 + scapi_layout::kPointerGrowth);
static_assert(sizeof(TScScanRequest) == 472 + scapi_layout::kPointerGrowth);

static_assert(offsetof(TScImageInformation, szFileName) == 0);
static_assert(offsetof(TScImageInformation, nFilePage) == 256);
static_assert(offsetof(TScImageInformation, hDoc) == 260);
static_assert(offsetof(TScImageInformation, cxDPI) == 264);
static_assert(offsetof(TScImageInformation, cyDPI) == 268);
static_assert(offsetof(TScImageInformation, cxWidth) == 272);
static_assert(offsetof(TScImageInformation, cyHeight) == 276);
static_assert(offsetof(TScImageInformation, szZoneType) == 280);
static_assert(offsetof(TScImageInformation, nRotated) == 536);
static_assert(offsetof(TScImageInformation, szImprintedString) == 540);
static_assert(offsetof(TScImageInformation, nPageNumber) == 604);
static_assert(offsetof(TScImageInformation, nFlags) == 608);
static_assert(offsetof(TScImageInformation, reserved) == 612);
static_assert(sizeof(TScImageInformation) == 1024);

static_assert(offsetof(TScDocInformation, nForm) == 0);
static_assert(offsetof(TScDocInformation, reserved) == 4);
static_assert(sizeof(TScDocInformation) == 260);

static_assert(offsetof(TScFormInformation, szId) == 0);
static_assert(offsetof(TScFormInformation, szShortName) == 64);
static_assert(offsetof(TScFormInformation, szLongName) == 128);
static_assert(offsetof(TScFormInformation, nFieldsCount) == 384);
static_assert(offsetof(TScFormInformation, nWidth) == 388);
static_assert(offsetof(TScFormInformation, nHeight) == 392);
static_assert(offsetof(TScFormInformation, cxDPI) == 396);
static_assert(offsetof(TScFormInformation, cyDPI) == 400);
static_assert(offsetof(TScFormInformation, szCaption) == 404);
static_assert(offsetof(TScFormInformation, reserved) == 660);
static_assert(sizeof(TScFormInformation) == 1152);

static_assert(offsetof(TScExportImageOptions, nSaveFormat) == 0);
static_assert(offsetof(TScExportImageOptions, nJpegQuality) == 4);
static_assert(offsetof(TScExportImageOptions, reserved) == 8);
static_assert(sizeof(TScExportImageOptions) == 264);

static_assert(offsetof(TScFieldInformation, szId) == 0);
static_assert(offsetof(TScFieldInformation, szTitle) == 16);
static_assert(offsetof(TScFieldInformation, nCntrlType) == 80);
static_assert(offsetof(TScFieldInformation, nDataType) == 84);
static_assert(offsetof(TScFieldInformation, nCntrlStyle) == 88);
static_assert(offsetof(TScFieldInformation, nTabOrder) == 92);
static_assert(offsetof(TScFieldInformation, nCellStep) == 96);
static_assert(offsetof(TScFieldInformation, nNextFldNo) == 100);
static_assert(offsetof(TScFieldInformation, reserved) == 104);
static_assert(sizeof(TScFieldInformation) == 512);

static_assert(offsetof(TScFieldValueAttr, nFlags) == 0);
static_assert(offsetof(TScFieldValueAttr, hImage) == 4);
static_assert(offsetof(TScFieldValueAttr, rcValue) == 8);
static_assert(offsetof(TScFieldValueAttr, hImage2) == 24);
static_assert(offsetof(TScFieldValueAttr, rcValue2) == 28);
static_assert(offsetof(TScFieldValueAttr, reserved) == 44);
static_assert(sizeof(TScFieldValueAttr) == 256);

// ---------------------------------------------------- entry point types
// One function-pointer type per entry point, in the order the package binds
// them. Entry points the package never calls fix only their argument count;
// their argument meaning is the engine's.

using TScGetScanifyAPIVersion = std::uint32_t (*)();
using TScGetErrorCode = std::int32_t (*)(ScInstanceHandle hInstance);
using TScGetErrorMessage = const char *(*)(ScInstanceHandle hInstance, std::int32_t nReserved);
using TScInitialize = ScInstanceHandle (*)(PScInitializeOption pOption);
using TScTerminate = ScBool (*)(ScInstanceHandle hInstance, PScTerminateOption pOption);
using TScSetOption = ScBool (*)(ScInstanceHandle hInstance, std::int32_t nOption, const char *pszValue);
using TScGetOption = const char *(*)(ScInstanceHandle hInstance, std::int32_t nOption);
using TScSetupContext = ScBool (*)(ScInstanceHandle hInstance, const char *pszConfigFile);
using TScGetContext = const char *(*)(ScInstanceHandle hInstance);
using TScPackageCreate = ScPackageHandle (*)(ScInstanceHandle hInstance, const char *pszFolder);
using TScPackageOpen = ScPackageHandle (*)(ScInstanceHandle hInstance, const char *pszFolder, std::int32_t nFlags);
using TScPackageGetInformation = ScBool (*)(ScPackageHandle hPackage, PScPackageInformation pInfo);
using TScPackageMove = ScBool (*)(ScPackageHandle hPackage, const char *pszNewFolder);
using TScPackageClose = ScBool (*)(ScPackageHandle hPackage);
using TScPackageDestroy = ScBool (*)(ScPackageHandle hPackage);
using TScScannerSelectTWAINSource = ScBool (*)(ScInstanceHandle hInstance, ScWindowHandle hwndOwner);
using TScScannerSelectCLRSource = ScBool (*)(ScInstanceHandle hInstance, ScWindowHandle hwndOwner);
using TScScannerGetTWAINSourceCount = std::int32_t (*)(ScInstanceHandle hInstance);
using TScScannerGetTWAINSourceName = const char *(*)(ScInstanceHandle hInstance, std::int32_t nIndex);
using TScScannerOpen = ScScanDeviceHandle (*)(ScInstanceHandle hInstance, TScDeviceClass nClass, const char *pszSource);
using TScScannerSetConfiguration = ScBool (*)(ScScanDeviceHandle hDevice, const char *pszConfiguration);
using TScScannerClose = ScBool (*)(ScScanDeviceHandle hDevice);
using TScGetScanOptions = ScBool (*)(ScScanDeviceHandle hDevice, PScScanOptions pOptions);
using TScPackageScan = ScImageHandle (*)(ScPackageHandle hPackage, ScScanDeviceHandle hDevice, PScScanRequest pRequest);
using TScPackageRecog = ScBool (*)(ScPackageHandle hPackage, PScProgressIndicator pIndicator);
using TScPackageGetFirstImage = ScImageHandle (*)(ScPackageHandle hPackage);
using TScPackageGetNextImage = ScImageHandle (*)(ScImageHandle hImage);
using TScPackageGetImageInformation = ScBool (*)(ScImageHandle hImage, PScImageInformation pInfo);
using TScPackageGetFirstDoc = ScDocumentHandle (*)(ScPackageHandle hPackage);
using TScPackageGetNextDoc = ScDocumentHandle (*)(ScDocumentHandle hDoc);
using TScPackageGetDocInformation = ScBool (*)(ScDocumentHandle hDoc, PScDocInformation pInfo);
using TScDocumentGetFirstImage = ScImageHandle (*)(ScDocumentHandle hDoc);
using TScDocumentGetNextImage = ScImageHandle (*)(ScImageHandle hImage);
using TScPackageGetFormInformation = ScBool (*)(ScPackageHandle hPackage, std::int32_t nForm, PScFormInformation pInfo);
/// pInfo points to a buffer of at least 512 bytes (a TScFieldInformation).
using TScPackageGetFieldInformation = ScBool (*)(ScPackageHandle hPackage, std::int32_t nForm, std::int32_t nField,
                                                 PScFieldInformation pInfo);
/// The value, or the name of a picture file inside the package folder for
/// picture fields; fills nFlags when pAttr is not null. The text is the engine's.
using TScPackageGetFieldValue = const char *(*)(ScDocumentHandle hDoc, const char *pszFieldId, PScFieldValueAttr pAttr);
using TScPackageSetFieldValue = ScBool (*)(ScDocumentHandle hDoc, const char *pszFieldId, const char *pszValue);
using TScPackageConvert = ScBool (*)(ScPackageHandle hPackage, const char *pszTarget, std::int32_t nFormat);
using TScImageExport = ScBool (*)(ScImageHandle hImage, const char *pszFileName, PScExportImageOptions pOptions);
using TScImageResample = ScBool (*)(ScImageHandle hImage, std::int32_t nXResolution, std::int32_t nYResolution);
using TScImageDraw = ScBool (*)(ScImageHandle hImage, ScWindowHandle hwndTarget, PTRect pRect, std::int32_t nFlags);
using TScImageDelete = ScBool (*)(ScImageHandle hImage);
using TScPackageSetFieldAppInfo = ScBool (*)(ScDocumentHandle hDoc, const char *pszFieldId, const char *pszInfo);
using TScPackageGetFieldAppInfo = const char *(*)(ScDocumentHandle hDoc, const char *pszFieldId);

// ------------------------------------------------------ the entry points
// Every entry point once, in binding order, with the size of its arguments on
// the engine's 32-bit interface: X(name, bytes). The package's variables and
// binding table, the engine's declarations and the tests' loaders all expand
// this list, so an entry point is added or renamed here and nowhere else.
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
