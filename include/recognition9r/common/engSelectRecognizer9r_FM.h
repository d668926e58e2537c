#pragma once
// The recogniser choice dialog. It has no code of its own: the host shows it
// and reads cbSelect (0 ABBYY form, 1 Cognitive form) and cxNotShow.

#include "base/r9Export.h"
#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

class R9_EXPORT TSelectRecognizerFM : public QDialog
{
    Q_OBJECT
public:
    explicit TSelectRecognizerFM(QWidget *owner = nullptr);
    /// Clears SelectRecognizerFM when it names this dialog.
    ~TSelectRecognizerFM() override;

    QComboBox *cbSelect;
    QCheckBox *cxNotShow;
    QPushButton *bOK;

public Q_SLOTS:
    /// The dialog has no cancel: Escape does not close it.
    void reject() override {}
};

/// Creates the dialog and stores it in SelectRecognizerFM.
R9_API TSelectRecognizerFM *TSelectRecognizerFM_Create(QWidget *owner);
