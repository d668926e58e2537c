#include "ScannerPick.h"

#include <QComboBox>
#include <QJsonArray>
#include <QListWidget>

bool ScannerPick::PickIn(QListWidget *list)
{
    listShown = true;
    const QList<QListWidgetItem *> found =
        list ? list->findItems(wanted, Qt::MatchContains) : QList<QListWidgetItem *>();
    offered.clear();
    chosen.clear();
    if (found.isEmpty()) {
        for (int i = 0; list && i < list->count(); ++i)
            offered << list->item(i)->text();
        return false;
    }
    list->setCurrentItem(found.first());
    chosen = found.first()->text();
    return true;
}

bool ScannerPick::PickIn(QComboBox *box)
{
    listShown = true;
    offered.clear();
    chosen.clear();
    const int index = box->findText(wanted, Qt::MatchContains);
    if (index < 0) {
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
        return false;
    }
    box->setCurrentIndex(index); // the window takes the scanner as when a person picks it
    chosen = box->itemText(index);
    return true;
}

QString ScannerPick::Failure() const
{
    if (!chosen.isEmpty())
        return {};
    if (!listShown)
        return QStringLiteral("no scanner source matches \"%1\": no list of sources was shown").arg(wanted);
    return QStringLiteral("no scanner source matches \"%1\"; the sources are: %2")
        .arg(wanted, offered.isEmpty() ? QStringLiteral("none") : offered.join(QStringLiteral(", ")));
}

QJsonObject ScannerPick::ToJson() const
{
    if (!chosen.isEmpty())
        return {{"scanner", chosen}};
    return {{"error", Failure()}, {"sources", QJsonArray::fromStringList(offered)}};
}
