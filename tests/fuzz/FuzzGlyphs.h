#pragma once
// Start of the targets that reach the zone reader's glyphs: they are drawn
// with Qt's fonts, which need a GUI application on the offscreen platform.

#include <QGuiApplication>

namespace fuzz {

/// For LLVMFuzzerInitialize. Never destroyed: at exit it would end after the
/// per-thread data its fonts need.
inline void StartGlyphs(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto *app = new QGuiApplication(*argc, *argv);
    (void)app;
}

} // namespace fuzz
