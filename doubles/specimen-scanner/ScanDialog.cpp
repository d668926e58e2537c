#include "ScanDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace specimen {

ScanDialog::ScanDialog(int pages, std::function<void(bool scan)> answer)
    : QDialog(nullptr), m_answer(std::move(answer))
{
    setObjectName(QStringLiteral("SpecimenScanDialog"));
    setWindowTitle(QStringLiteral("Specimen Scanner"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Страниц за одно сканирование: %1").arg(pages), this));
    auto *row = new QHBoxLayout;
    auto *scan = new QPushButton(QStringLiteral("Сканировать"), this);
    scan->setObjectName(QStringLiteral("bScan"));
    scan->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("bCancel"));
    row->addWidget(scan);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(scan, &QPushButton::clicked, this, [this] { m_answer(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

void ScanDialog::reject()
{
    m_answer(false);
}

} // namespace specimen
