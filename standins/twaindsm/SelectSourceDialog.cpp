#include "SelectSourceDialog.h"

#include "TwainDsmHooks.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace twaindsm {

namespace {

TwainDsmSelectHook g_hook = nullptr;

} // namespace

int ChooseSource(const QStringList &names, int defaultIndex, quintptr parentWindow)
{
    if (g_hook) {
        std::vector<QByteArray> bytes;
        std::vector<const char *> pointers;
        for (const QString &n : names)
            bytes.push_back(n.toLocal8Bit());
        for (const QByteArray &b : bytes)
            pointers.push_back(b.constData());
        const int chosen = g_hook(pointers.data(), int32_t(pointers.size()), defaultIndex);
        return chosen >= 0 && chosen < names.size() ? chosen : -1;
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return -1;

    QDialog dialog(QWidget::find(static_cast<WId>(parentWindow)));
    dialog.setObjectName(QStringLiteral("SelectSourceDialog"));
    dialog.setWindowTitle(QStringLiteral("Выбор источника"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Источники:"), &dialog));
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lbSources"));
    list->addItems(names);
    list->setCurrentRow(defaultIndex >= 0 ? defaultIndex : 0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Выбрать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return -1;
    return list->currentRow();
}

} // namespace twaindsm

extern "C" TwainDsmSelectHook TWAINDSM_SetSelectHook(TwainDsmSelectHook hook)
{
    TwainDsmSelectHook previous = twaindsm::g_hook;
    twaindsm::g_hook = hook;
    return previous;
}
