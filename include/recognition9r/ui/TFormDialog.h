#pragma once
// What every window of the package does alike: a modal, resizable dialog
// with the title bar's menu, maximise and close buttons; FormShow runs when
// the program shows it, and closing it by any way (OK, Cancel, the close
// button, Escape) asks FormCloseQuery first and then runs FormClose. A
// window overrides only the steps it has.

#include "base/r9Export.h"

#include <QDialog>
#include <functional>

class QShowEvent;

namespace ui {

class R9_EXPORT TFormDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TFormDialog(QWidget *owner = nullptr);

public Q_SLOTS:
    /// Runs the close check and FormClose; a refused check keeps the window open.
    void done(int result) override;
    /// The window's close button and Escape: Cancel (2), through done.
    void reject() override;

protected:
    /// Runs when the program shows the window (not when the window system
    /// shows it again after minimising).
    virtual void FormShow() {}
    /// Asked before the window closes while it is visible; clearing CanClose
    /// keeps it open.
    virtual void FormCloseQuery(bool &CanClose) { (void)CanClose; }
    /// Runs when the window closes while it is visible, after the check.
    virtual void FormClose() {}

    void showEvent(QShowEvent *event) override;

    /// Runs work; an exception it raises is shown in an error box owned by
    /// the window.
    void runGuarded(const std::function<void()> &work);
    /// The same for work on a picture (loading, turning): running out of
    /// memory is the package's message for a picture too large for it.
    void runPictureGuarded(const std::function<void()> &work);
    /// That message, owned by the window.
    void ShowNotEnoughResource();
};

} // namespace ui
