#include "ScannerDialogs.h"

#include "ServerConfig.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace scproxy {

namespace {

bool CanShowWindows()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

/// Runs dialog modally, centred over the owner's window when there is one.
/// The owner is not made the parent: the caller disables its window while
/// the engine works, and a child window would be disabled with it.
int RunOver(QDialog &dialog, std::uintptr_t owner)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.adjustSize();
    if (QWidget *w = owner ? QWidget::find(WId(owner)) : nullptr)
        dialog.move(w->window()->frameGeometry().center() - dialog.rect().center());
    // The caller shows the busy cursor while the engine works; the operator
    // answers the engine's window with the ordinary one.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = dialog.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return result;
}

QString ColourName(int bitsPerPixel)
{
    if (bitsPerPixel <= 1)
        return QStringLiteral("Black and white");
    if (bitsPerPixel <= 8)
        return QStringLiteral("Grey");
    return QStringLiteral("Colour (%1 bits)").arg(bitsPerPixel);
}

} // namespace

bool ConfirmScan(const QString &source, const ScanConfiguration &config, std::uintptr_t owner)
{
    const QString preset = TwainDialogAnswer();
    if (preset == QLatin1String("accept"))
        return true;
    if (preset == QLatin1String("cancel"))
        return false;
    if (!CanShowWindows())
        return true;

    QDialog dialog;
    dialog.setObjectName(QLatin1String(TwainDialogName));
    dialog.setWindowTitle(QStringLiteral("%1 - scan").arg(source));
    auto *layout = new QVBoxLayout(&dialog);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Configuration:"), new QLabel(QString::fromLocal8Bit(config.name)));
    form->addRow(QStringLiteral("Resolution:"),
                 new QLabel(QStringLiteral("%1 x %2 dpi").arg(config.resolutionX).arg(config.resolutionY)));
    form->addRow(QStringLiteral("Mode:"), new QLabel(ColourName(config.bitsPerPixel)));
    form->addRow(QStringLiteral("Page:"), new QLabel(QString::fromLocal8Bit(config.pageDimensions)));
    form->addRow(QStringLiteral("Feeder:"), new QLabel(config.useAdf ? QStringLiteral("automatic") : QStringLiteral("flatbed")));
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Scan"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return RunOver(dialog, owner) == QDialog::Accepted;
}

int ChooseSource(const QStringList &sources, int current, std::uintptr_t owner)
{
    const QString preset = SelectSourceAnswer();
    if (preset.compare(QLatin1String("cancel"), Qt::CaseInsensitive) == 0)
        return -1;
    if (!preset.isEmpty()) {
        bool isIndex = false;
        const int index = preset.toInt(&isIndex);
        if (isIndex)
            return index >= 0 && index < sources.size() ? index : -1;
        return int(sources.indexOf(preset));
    }
    if (!CanShowWindows())
        return current >= 0 ? current : 0;

    QDialog dialog;
    dialog.setObjectName(QLatin1String(SourceDialogName));
    dialog.setWindowTitle(QStringLiteral("Select Source"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Sources:")));
    auto *list = new QListWidget;
    list->setObjectName(QStringLiteral("lbSources"));
    list->addItems(sources);
    list->setCurrentRow(current >= 0 ? current : 0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Select"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    if (RunOver(dialog, owner) != QDialog::Accepted || !list->currentItem())
        return -1;
    return list->currentRow();
}

} // namespace scproxy
