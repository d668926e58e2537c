#include "OperatorNotice.h"

#include <QApplication>
#include <QMessageBox>

namespace twaindsm {

QMessageBox *TellOperator(const QString &text, const twainds::CallerWindow &caller)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || text.isEmpty())
        return nullptr;
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Сканер"), text, QMessageBox::Ok);
    box->setObjectName(QLatin1String(NoticeName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    caller.show(box);
    return box;
}

} // namespace twaindsm
