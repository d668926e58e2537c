#include "ui/TFormDialog.h"

#include "base/ResString.h"
#include "base/engCommon9rMessages.h"
#include "ui/TMessageBox.h"

#include <QShowEvent>
#include <exception>
#include <new>

namespace ui {

TFormDialog::TFormDialog(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                         | Qt::WindowCloseButtonHint)
{
    setModal(true);
    setSizeGripEnabled(true);
}

void TFormDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TFormDialog::done(int result)
{
    if (isVisible()) {
        bool canClose = true;
        FormCloseQuery(canClose);
        if (!canClose)
            return;
        FormClose();
    }
    QDialog::done(result);
}

void TFormDialog::reject()
{
    done(2);
}

void TFormDialog::runGuarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TFormDialog::runPictureGuarded(const std::function<void()> &work)
{
    runGuarded([&] {
        try {
            work();
        } catch (const std::bad_alloc &) {
            ShowNotEnoughResource();
        }
    });
}

void TFormDialog::ShowNotEnoughResource()
{
    // The system's own words for it mean nothing to the operator.
    ShowMessageBox(this, LoadResString(&_S_NOT_ENOUGH_RESOURCE), LoadResString(&_S_MESSAGE), QMessageBox::Information);
}

} // namespace ui
