/* A host written in C that drives the session itself, step by step, and has
 * no application object of its own: it loads and opens the source manager,
 * opens the specimen scanner, enables it without its dialog and runs the
 * layer's modal loop until the pages are in, then walks the session down.
 * Prints "N passed, M failed". */
#define _POSIX_C_SOURCE 200809L
#include "MultiTWAIN.h"

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

    for (int32_t i = 0; i < TWAIN_GetNumDibs(); ++i)
        TWAIN_FreeNative(TWAIN_GetDib(i));
    TWAIN_ClearDibList();

    unlink(path);
    snprintf(path, sizeof path, "%s/twaindsm", home);
    rmdir(path);
    rmdir(home);
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
