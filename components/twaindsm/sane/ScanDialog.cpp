#include "ScanDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace twainsane {

namespace {

QString pixelTypeName(TW_UINT16 type)
{
    switch (type) {
    case TWPT_BW: return QStringLiteral("Чёрно-белый");
    case TWPT_GRAY: return QStringLiteral("Оттенки серого");
    default: return QStringLiteral("Цветной");
    }
}

} // namespace

ScanDialog::ScanDialog(const QString &title, const ScanChoices &choices,
                       std::function<void(Action, const ScanChoices &)> answer)
    : QDialog(nullptr), m_choices(choices), m_answer(std::move(answer))
{
    setObjectName(QStringLiteral("SaneScanDialog"));
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_pixelType = new QComboBox(this);
    m_pixelType->setObjectName(QStringLiteral("cbPixelType"));
    for (TW_UINT16 t : choices.pixelTypes) {
        m_pixelType->addItem(pixelTypeName(t), int(t));
        if (t == choices.pixelType)
            m_pixelType->setCurrentIndex(m_pixelType->count() - 1);
    }
    form->addRow(QStringLiteral("Режим:"), m_pixelType);
    m_resolution = new QComboBox(this);
    m_resolution->setObjectName(QStringLiteral("cbResolution"));
    for (double dpi : choices.resolutions) {
        m_resolution->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
        if (qFuzzyCompare(dpi, choices.resolution))
            m_resolution->setCurrentIndex(m_resolution->count() - 1);
    }
    form->addRow(QStringLiteral("Разрешение:"), m_resolution);
    if (choices.hasFeeder) {
        m_source = new QComboBox(this);
        m_source->setObjectName(QStringLiteral("cbSource"));
        // A feeder-only scanner offers its feeder alone.
        if (choices.hasFlatbed)
            m_source->addItem(QStringLiteral("Планшет"), false);
        m_source->addItem(QStringLiteral("Автоподатчик"), true);
        m_source->setCurrentIndex(m_source->findData(choices.feeder || !choices.hasFlatbed));
        form->addRow(QStringLiteral("Источник:"), m_source);
    }
    layout->addLayout(form);

    m_page = new QLabel(this);
    m_page->setObjectName(QStringLiteral("laPage"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbProgress"));
    m_progress->setRange(0, 100);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("laStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_page);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);

    auto *row = new QHBoxLayout;
    m_scan = new QPushButton(QStringLiteral("Сканировать"), this);
    m_scan->setObjectName(QStringLiteral("bScan"));
    m_scan->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("bCancel"));
    row->addStretch();
    row->addWidget(m_scan);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(m_scan, &QPushButton::clicked, this, [this] { m_answer(Action::Scan, chosen()); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    showIdle(QString());
}

ScanChoices ScanDialog::chosen() const
{
    ScanChoices c = m_choices;
    if (m_pixelType->currentIndex() >= 0)
        c.pixelType = TW_UINT16(m_pixelType->currentData().toInt());
    if (m_resolution->currentIndex() >= 0)
        c.resolution = m_resolution->currentData().toDouble();
    if (m_source)
        c.feeder = m_source->currentData().toBool();
    return c;
}

void ScanDialog::showScanning(int page, int percent)
{
    for (QWidget *w : {static_cast<QWidget *>(m_pixelType), static_cast<QWidget *>(m_resolution),
                       static_cast<QWidget *>(m_source), static_cast<QWidget *>(m_scan)})
        if (w)
            w->setEnabled(false);
    m_waiting = false; // the application's busy cursor while the scanner works
    updateArrow();
    m_page->setText(QStringLiteral("Страница %1").arg(page));
    m_page->show();
    m_progress->show();
    if (percent < 0) {
        m_progress->setRange(0, 0); // busy: the page's length is not known
    } else {
        m_progress->setRange(0, 100);
        m_progress->setValue(percent);
    }
    m_status->clear();
}

void ScanDialog::showCancelling(const QString &text)
{
    m_page->setText(text);
}

void ScanDialog::showIdle(const QString &message, bool fault)
{
    // A fault in red; the operator's own cancel is news, not a fault.
    m_status->setStyleSheet(fault ? QStringLiteral("color: #b00000") : QString());
    for (QWidget *w : {static_cast<QWidget *>(m_pixelType), static_cast<QWidget *>(m_resolution),
                       static_cast<QWidget *>(m_source), static_cast<QWidget *>(m_scan)})
        if (w)
            w->setEnabled(true);
    m_page->hide();
    m_progress->hide();
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status->setText(message);
    m_status->setVisible(!message.isEmpty());
    m_waiting = true;
    updateArrow();
}

ScanDialog::~ScanDialog()
{
    m_waiting = false;
    updateArrow();
}

void ScanDialog::updateArrow()
{
    const bool arrow = m_waiting && isVisible();
    if (arrow == m_arrowShown)
        return;
    m_arrowShown = arrow;
    if (arrow)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    else
        QApplication::restoreOverrideCursor();
}

void ScanDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    updateArrow();
}

void ScanDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    updateArrow();
}

void ScanDialog::reject()
{
    m_answer(Action::Cancel, chosen());
}

} // namespace twainsane
