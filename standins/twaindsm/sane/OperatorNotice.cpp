#include "OperatorNotice.h"

#include <QApplication>
#include <QMessageBox>

namespace twainsane {

QMessageBox *TellOperator(const QString &text, const twainds::CallerWindow &caller)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || text.isEmpty())
        return nullptr;
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Scanner"), text, QMessageBox::Ok);
    box->setObjectName(QLatin1String(NoticeName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    caller.show(box);
    return box;
}

} // namespace twainsane
