#include "common/engSelectRecognizer9r_FM.h"
#include "common/Recognition9r.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

TSelectRecognizerFM::TSelectRecognizerFM(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("SelectRecognizerFM"));
    setWindowTitle(QStringLiteral("Выбор алгоритма распознавания"));
    setModal(true);

    cbSelect = new QComboBox(this);
    cbSelect->setObjectName(QStringLiteral("cbSelect"));
    cbSelect->setEditable(false);
    cbSelect->addItem(QStringLiteral("ABBYY PassportReader SDK"));
    cbSelect->addItem(QStringLiteral("Cognitive Scanify API"));
    cbSelect->setCurrentIndex(0);

    cxNotShow = new QCheckBox(QStringLiteral("Больше не показывать окно выбора"), this);
    cxNotShow->setObjectName(QStringLiteral("cxNotShow"));
    cxNotShow->setChecked(false);

    bOK = new QPushButton(QStringLiteral("OK"), this);
    bOK->setObjectName(QStringLiteral("bOK"));
    bOK->setDefault(true);
    bOK->setAutoDefault(true);
    connect(bOK, &QPushButton::clicked, this, [this] { done(1); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(cbSelect);
    layout->addWidget(cxNotShow);
    layout->addWidget(bOK, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));

    cbSelect->setFocus();
    setFocusProxy(cbSelect);
}

TSelectRecognizerFM::~TSelectRecognizerFM()
{
    // The host reads the form variable; it must never name a freed dialog.
    if (SelectRecognizerFM == this)
        SelectRecognizerFM = nullptr;
}

TSelectRecognizerFM *TSelectRecognizerFM_Create(QWidget *owner)
{
    SelectRecognizerFM = new TSelectRecognizerFM(owner);
    return SelectRecognizerFM;
}
