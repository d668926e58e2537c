#include "ScanWindowOperator.h"

#include "MultiTWAIN.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace {
int pagesBeforeTheAnswer = -1;
}

extern "C" void OperatorScansWhenTheWindowShows(void)
{
    pagesBeforeTheAnswer = -1;
    // Without an application object no window can have shown.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    auto *look = new QTimer(QCoreApplication::instance());
    look->setInterval(5);
    QObject::connect(look, &QTimer::timeout, look, [look] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *scan = w->findChild<QPushButton *>(QStringLiteral("bScan"));
            if (w->objectName() == QLatin1String("SpecimenScanDialog") && w->isVisible() && scan) {
                pagesBeforeTheAnswer = TWAIN_GetNumDibs();
                look->deleteLater();
                look->stop();
                scan->click();
                return;
            }
        }
    });
    look->start();
}

extern "C" int OperatorPagesBeforeTheAnswer(void) { return pagesBeforeTheAnswer; }
