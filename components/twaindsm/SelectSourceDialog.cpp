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

int ChooseSource(SourceChoice sources, quintptr parentWindow, const std::function<SourceChoice()> &searchAgain)
{
    if (g_hook) {
        for (;;) {
            std::vector<QByteArray> bytes;
            std::vector<const char *> pointers;
            for (const QString &n : sources.names)
                bytes.push_back(n.toLocal8Bit());
            for (const QByteArray &b : bytes)
                pointers.push_back(b.constData());
            const int chosen = g_hook(pointers.data(), int32_t(pointers.size()), sources.defaultIndex);
            if (chosen != TWAINDSM_SELECT_SEARCH_AGAIN)
                return chosen >= 0 && chosen < sources.names.size() ? chosen : -1;
            sources = searchAgain();
        }
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
    auto fill = [list](const SourceChoice &found) {
        list->clear();
        list->addItems(found.names);
        list->setCurrentRow(found.defaultIndex >= 0 ? found.defaultIndex : 0);
    };
    fill(sources);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Выбрать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    // The list is the one the session found; a scanner switched on since is
    // found when the operator asks.
    QPushButton *search = buttons->addButton(QStringLiteral("Искать снова"), QDialogButtonBox::ActionRole);
    search->setObjectName(QStringLiteral("bSearchAgain"));
    layout->addWidget(buttons);
    QObject::connect(search, &QPushButton::clicked, &dialog, [&] {
        dialog.setEnabled(false);
        fill(searchAgain());
        dialog.setEnabled(true);
    });
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
