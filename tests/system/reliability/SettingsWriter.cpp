// Helper of the kill test: rewrites the settings file given on the command
// line for ever, the way the package does (read it, change every value,
// write it back), switching between two known contents. After each finished
// write it prints the content's name ("A" or "B") on stdout.
#include "SettingsContent.h"
#include "common/TSettingsFile.h"

#include <cstdio>

int main(int argc, char **argv)
{
    // No application object: the writer starts as fast as a process can, so
    // the test's kills fall into its writing, not into its start.
    if (argc != 2) {
        std::fprintf(stderr, "usage: r9-settings-writer <settings file>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (;;) {
        TSettingsFile ini(path);
        const char next = ini.ReadString(reliability::kGenerationSection, reliability::kGenerationKey, "B") == "A" ? 'B' : 'A';
        reliability::FillSettings(ini, next);
        ini.UpdateFile();
        std::printf("%c\n", next);
        std::fflush(stdout);
    }
}
