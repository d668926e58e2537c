/* A host written in C that drives the session itself, step by step, and has
 * no application object of its own: it loads and opens the source manager,
 * opens the specimen scanner, enables it without its dialog and runs the
 * layer's modal loop until the pages are in, then walks the session down.
 * It reads a capability container and the pages through their memory
 * handles and frees them. Prints "N passed, M failed". */
#define _POSIX_C_SOURCE 200809L
#include "MultiTWAIN.h"

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
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

int main(void)
{
    char home[] = "/tmp/twain-c-host-XXXXXX";
    char path[512];
    if (!mkdtemp(home))
        return 1;
    snprintf(path, sizeof path, "%s/twaindsm", home);
    mkdir(path, 0700);
    setenv("XDG_CONFIG_HOME", home, 1);
    setenv("TWAINSPECIMEN_PAGES", "3", 1);
    setenv("TWAINSPECIMEN_CONTAINER", "enumeration", 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    snprintf(path, sizeof path, "%s/twaindsm/default-source", home);
    FILE *f = fopen(path, "w");
    if (f) {
        fputs("Specimen Scanner\n", f);
        fclose(f);
    }

    CHECK(TWAIN_LoadSourceManager());
    CHECK(TWAIN_OpenSourceManager(0));
    CHECK(TWAIN_OpenDefaultSource());
    CHECK(TWAIN_State() == TWAIN_SOURCE_OPEN);

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
    CHECK(TWAIN_GetNumDibs() == 3);
    CHECK(TWAIN_State() == TWAIN_SOURCE_ENABLED);

    CHECK(TWAIN_DisableSource());
    CHECK(TWAIN_CloseSource());
    CHECK(TWAIN_CloseSourceManager(0));
    CHECK(TWAIN_UnloadSourceManager());
    CHECK(TWAIN_State() == TWAIN_PRESESSION);

    /* Each page is a packed DIB filling its block: header, colours, rows. */
    for (int32_t i = 0; i < TWAIN_GetNumDibs(); ++i) {
        TWAIN_HDIB dib = TWAIN_GetDib(i);
        const TWAIN_BITMAPINFOHEADER *info = (const TWAIN_BITMAPINFOHEADER *)TWAIN_LockHandle(dib);
        CHECK(info != NULL);
        if (info) {
            const size_t rowBytes = ((size_t)info->biWidth * info->biBitCount + 31) / 32 * 4;
            const size_t rows = (size_t)(info->biHeight < 0 ? -info->biHeight : info->biHeight);
            CHECK(info->biWidth == TWAIN_DibWidth(dib) && info->biBitCount == TWAIN_DibDepth(dib));
            CHECK(TWAIN_HandleSize(dib) == info->biSize + 4 * (size_t)TWAIN_DibNumColors(dib) + rowBytes * rows);
            TWAIN_UnlockHandle(dib);
        }
        CHECK(TWAIN_FreeHandle(dib));
    }
    TWAIN_ClearDibList();

    unlink(path);
    snprintf(path, sizeof path, "%s/twaindsm", home);
    rmdir(path);
    rmdir(home);
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
