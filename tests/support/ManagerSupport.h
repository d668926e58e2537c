#pragma once
// What tests see of the stand-in source manager and its sources beyond the
// protocol: its selection hook, and the notices to the operator.

#include "components/twaindsm/source/OperatorNotice.h"
#include "components/twaindsm/TwainDsmHooks.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStringList>
#include <dlfcn.h>

namespace twaintest {

/// Installs the selection hook (null restores the dialog); returns the
/// previous one. The manager stays loaded for the whole test program (it is
/// never unmapped), so the hook can be set once the library is there.
inline TwainDsmSelectHook SetSelectHook(TwainDsmSelectHook hook)
{
    const QByteArray path = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/libtwaindsm.so"));
    void *manager = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!manager)
        return nullptr;
    auto set = reinterpret_cast<TwainDsmSelectHook (*)(TwainDsmSelectHook)>(dlsym(manager, TWAINDSM_SET_SELECT_HOOK_NAME));
    TwainDsmSelectHook previous = set ? set(hook) : nullptr;
    dlclose(manager);
    return previous;
}

/// The texts of the notices to the operator on the screen, which are closed.
inline QStringList ScannerNotices()
{
    QStringList texts;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w);
            box && box->objectName() == QLatin1String(twaindsm::NoticeName) && box->isVisible()) {
            texts << box->text();
            delete box;
        }
    return texts;
}

} // namespace twaintest
