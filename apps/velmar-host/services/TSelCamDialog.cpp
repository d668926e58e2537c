#include "TSelCamDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace hostkit {

TSelCamDialog::TSelCamDialog(QWidget *owner, host::TSegregateObjectList cameras)
    : QDialog(owner)
    , m_cameras(std::move(cameras))
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("fmSelCam"));
    setWindowTitle(QStringLiteral("Выбор камеры"));
    m_list->setObjectName(QStringLiteral("lbCameras"));
    for (const auto &camera : m_cameras) {
        auto *item = new QListWidgetItem(camera->Get_DisplayName(), m_list);
        item->setToolTip(camera->Get_InnerPath());
    }
    if (!m_cameras.empty())
        m_list->setCurrentRow(0);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Выбрать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(360, 300);
}

host::ISegregateObjectPtr TSelCamDialog::Selected() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_cameras.size()))
        return nullptr;
    return m_cameras[static_cast<std::size_t>(row)];
}

} // namespace hostkit
