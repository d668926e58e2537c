#pragma once
// Start of the targets that drive the package's windows: a widgets
// application on the offscreen platform, the home folder and the settings
// file in the scratch folder, every message box answered at once.

#include "FuzzFiles.h"
#include "FuzzMessageBoxes.h"

#include "common/engCommon9r.h"

#include <QApplication>

namespace fuzz {

/// For LLVMFuzzerInitialize; the application lives until the process ends.
inline void StartWindows(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", ScratchFolder().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (ScratchFolder() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", (ScratchFolder() + QStringLiteral("/.state")).toLocal8Bit());
    static QApplication app(*argc, *argv);
    AnswerEveryMessageBox();
    gl_sRecognizeIniFileName = ScratchFolder() + QStringLiteral("/Recognize.iniu");
}

} // namespace fuzz
