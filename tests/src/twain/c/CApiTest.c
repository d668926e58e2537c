/* A host written in C uses the layer through its public header alone:
 * version and state, sessions it drives step by step (with the layer's modal
 * loop: once with the scanner's window, answered by the operator, once
 * without it, reading and freeing the memory handles of capability
 * containers and of the pages), a picture acquired from the specimen scanner
 * through the stand-in source manager, its geometry and palette, a BMP file
 * written and read back, and the list of pages. Prints "N passed, M failed".
 * With the argument "headless" (no display) only the session without the
 * scanner's window runs. */
/* The layer makes its own application object: this host has none. */
#define _POSIX_C_SOURCE 200809L
#include "MultiTWAIN.h"
#include "ScanWindowOperator.h"

#include <fcntl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int passed, failed;

#define CHECK(cond)                                                          \
    do {                                                                     \
        if (cond) {                                                          \
            ++passed;                                                        \
        } else {                                                             \
            ++failed;                                                        \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
        }                                                                    \
    } while (0)

static int callbacks;
static void onPicture(TWAIN_HDIB dib, int32_t index)
{
    (void)dib;
    if (index == callbacks)
        ++callbacks;
}

static void openSource(void)
{
    CHECK(TWAIN_LoadSourceManager());
    CHECK(TWAIN_OpenSourceManager(0));
    CHECK(TWAIN_OpenDefaultSource());
    CHECK(TWAIN_State() == TWAIN_SOURCE_OPEN);
}

static void closeSource(void)
{
    CHECK(TWAIN_DisableSource());
    CHECK(TWAIN_CloseSource());
    CHECK(TWAIN_CloseSourceManager(0));
    CHECK(TWAIN_UnloadSourceManager());
    CHECK(TWAIN_State() == TWAIN_PRESESSION);
}

/* The first thing this host does: enabled with its window, the scanner shows
   it and scans only when the operator says so. */
static void sessionWithTheScannersWindow(void)
{
    openSource();
    TWAIN_SetHideUI(0);
    CHECK(TWAIN_EnableSource(0));
    OperatorScansWhenTheWindowShows();
    TWAIN_ModalEventLoop();
    CHECK(OperatorPagesBeforeTheAnswer() == 0);
    CHECK(TWAIN_GetNumDibs() == 2);
    closeSource();
    for (int32_t i = 0; i < TWAIN_GetNumDibs(); ++i)
        CHECK(TWAIN_FreeHandle(TWAIN_GetDib(i)));
    TWAIN_ClearDibList();
}

/* Loads and opens the manager, opens the specimen scanner, sets its pixel
   type in a container of its own, enables it without its dialog and runs the
   layer's loop until the pages are in, then walks the session down. */
static void handDrivenSession(void)
{
    openSource();

    /* A container the host makes for MSG_SET, and frees after. */
    TW_CAPABILITY gray = {ICAP_PIXELTYPE, TWON_ONEVALUE, TWAIN_AllocHandle(sizeof(TW_ONEVALUE))};
    TW_ONEVALUE *one = (TW_ONEVALUE *)TWAIN_LockHandle(gray.hContainer);
    CHECK(one != NULL && TWAIN_HandleSize(gray.hContainer) >= sizeof(TW_ONEVALUE));
    if (one) {
        CHECK(one->ItemType == 0 && one->Item == 0);
        one->ItemType = TWTY_UINT16;
        one->Item = TWPT_GRAY;
        TWAIN_UnlockHandle(gray.hContainer);
    }
    CHECK(TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &gray));
    CHECK(TWAIN_FreeHandle(gray.hContainer));

    /* The container the source answers with is the host's to read and free. */
    TW_CAPABILITY cap = {ICAP_PIXELTYPE, TWON_DONTCARE16, NULL};
    CHECK(TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap));
    CHECK(cap.ConType == TWON_ENUMERATION);
    const TW_ENUMERATION *types = (const TW_ENUMERATION *)TWAIN_LockHandle(cap.hContainer);
    CHECK(types != NULL);
    if (types) {
        CHECK(types->ItemType == TWTY_UINT16 && types->NumItems == 4);
        CHECK(TWAIN_HandleSize(cap.hContainer) >= offsetof(TW_ENUMERATION, ItemList) + 2 * types->NumItems);
        CHECK(TWAIN_LockHandle(cap.hContainer) == types);
        CHECK(TWAIN_UnlockHandle(cap.hContainer) != 0); /* one lock remains */
        CHECK(TWAIN_UnlockHandle(cap.hContainer) == 0);
    }
    CHECK(TWAIN_FreeHandle(cap.hContainer));
    CHECK(TWAIN_HandleSize(cap.hContainer) == 0);
    CHECK(TWAIN_LockHandle(cap.hContainer) == NULL);
    CHECK(!TWAIN_FreeHandle(cap.hContainer));
    CHECK(!TWAIN_FreeHandle(NULL));

    TWAIN_SetHideUI(1);
    CHECK(TWAIN_EnableSource(0));
    TWAIN_ModalEventLoop();
    CHECK(TWAIN_GetNumDibs() == 2); /* TWAINSPECIMEN_PAGES=2 */
    CHECK(TWAIN_State() == TWAIN_SOURCE_ENABLED);
    closeSource();

    /* Each page is a packed DIB filling its block: header, colours, rows. */
    for (int32_t i = 0; i < TWAIN_GetNumDibs(); ++i) {
        TWAIN_HDIB dib = TWAIN_GetDib(i);
        const TWAIN_BITMAPINFOHEADER *info = (const TWAIN_BITMAPINFOHEADER *)TWAIN_LockHandle(dib);
        CHECK(info != NULL);
        if (info) {
            const size_t rowBytes = ((size_t)info->biWidth * info->biBitCount + 31) / 32 * 4;
            const size_t rows = (size_t)(info->biHeight < 0 ? -info->biHeight : info->biHeight);
            CHECK(info->biWidth == TWAIN_DibWidth(dib) && info->biBitCount == TWAIN_DibDepth(dib));
            CHECK(info->biBitCount == 8); /* grey, as set */
            CHECK(TWAIN_HandleSize(dib) == info->biSize + 4 * (size_t)TWAIN_DibNumColors(dib) + rowBytes * rows);
            TWAIN_UnlockHandle(dib);
        }
        CHECK(TWAIN_FreeHandle(dib));
    }
    TWAIN_ClearDibList();
}

static void acquisitionAndFiles(const char *home);

int main(int argc, char **argv)
{
    const int headless = argc > 1 && strcmp(argv[1], "headless") == 0;
    char home[] = "/tmp/twain-c-XXXXXX";
    char path[512];
    if (!mkdtemp(home))
        return 1;
    /* A private configuration folder naming the specimen scanner as default. */
    snprintf(path, sizeof path, "%s/twaindsm", home);
    mkdir(path, 0700);
    setenv("XDG_CONFIG_HOME", home, 1);
    setenv("TWAINSPECIMEN_PAGES", "2", 1);
    if (!headless && !getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    snprintf(path, sizeof path, "%s/twaindsm/default-source", home);
    FILE *f = fopen(path, "w");
    if (f) {
        fputs("Specimen Scanner\n", f);
        fclose(f);
    }

    CHECK(TWAIN_LayerVersion() == 106);
    CHECK(TWAIN_State() == TWAIN_PRESESSION);
    CHECK(TWAIN_IsAvailable());

    TWAIN_RegisterApp(1, 2, TWLG_USA, TWCY_USA, "1.2", "Velmar", "Access", "C host");
    if (!headless)
        sessionWithTheScannersWindow();
    handDrivenSession();
    if (!headless)
        acquisitionAndFiles(home);

    snprintf(path, sizeof path, "%s/twaindsm/default-source", home);
    unlink(path);
    snprintf(path, sizeof path, "%s/twaindsm", home);
    rmdir(path);
    rmdir(home);
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

/* A whole acquisition, its picture's geometry and palette, a BMP file
   written and read back. */
static void acquisitionAndFiles(const char *home)
{
    char path[512];
    TWAIN_RegisterCallback(onPicture);
    TWAIN_SetHideUI(1);
    CHECK(TWAIN_GetHideUI() == 1);
    TWAIN_HDIB dib = TWAIN_AcquireNative(0, TWAIN_GRAY);
    CHECK(dib != NULL);
    CHECK(TWAIN_State() == TWAIN_PRESESSION);
    CHECK(TWAIN_GetNumDibs() == 2); /* TWAINSPECIMEN_PAGES=2 */
    CHECK(callbacks == 2);
    CHECK(TWAIN_GetDib(1) == dib);
    CHECK(TWAIN_DibDepth(dib) == 8);
    CHECK(TWAIN_DibWidth(dib) > 0 && TWAIN_DibHeight(dib) > 0);
    CHECK(TWAIN_DibNumColors(dib) == 256);

    TWAIN_HPALETTE pal = TWAIN_CreateDibPalette(dib);
    CHECK(pal != NULL && pal->palNumEntries == 256 && pal->palVersion == 0x300);
    CHECK(pal != NULL && pal->palPalEntry[255].peRed == 255);
    TWAIN_DeletePalette(pal);

    snprintf(path, sizeof path, "%s/page.bmp", home);
    CHECK(TWAIN_WriteNativeToFilename(dib, path) == TWAIN_FILE_DONE);
    TWAIN_HDIB back = TWAIN_LoadNativeFromFilename(path);
    CHECK(back != NULL);
    CHECK(TWAIN_DibWidth(back) == TWAIN_DibWidth(dib));
    CHECK(TWAIN_DibHeight(back) == TWAIN_DibHeight(dib));
    int fd = open(path, O_RDONLY);
    TWAIN_HDIB again = TWAIN_LoadNativeFromFile(fd);
    close(fd);
    CHECK(again != NULL && TWAIN_DibDepth(again) == 8);

    TWAIN_FreeNative(again);
    TWAIN_FreeNative(back);
    if (TWAIN_GetDib(0) != dib)
        TWAIN_FreeNative(TWAIN_GetDib(0));
    TWAIN_FreeNative(dib);
    TWAIN_ClearDibList();
    TWAIN_UnRegisterCallback();
    CHECK(TWAIN_GetNumDibs() == 0);

    unlink(path);
}
