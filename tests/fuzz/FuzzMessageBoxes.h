#pragma once
// Targets that drive windows answer every message box at once: a box would
// wait for an operator the fuzzer does not have.

#include "ui/TMessageBox.h"

namespace fuzz {

/// Installs, once per process, a hook that answers every box with OK.
inline void AnswerEveryMessageBox()
{
    static const bool installed = [] {
        ui::SetMessageBoxHook([](const ui::MessageBoxCall &) { return QMessageBox::Ok; });
        return true;
    }();
    (void)installed;
}

} // namespace fuzz
