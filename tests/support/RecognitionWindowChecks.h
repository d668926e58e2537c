#pragma once
// What both recognition windows must show alike: every field of a data page
// in sight at the window's initial size, and no tooltip over a recognised
// value that has no hint of its own.

#include "common/RecognitionFields.h"
#include "common/TRecognitionWindow.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace r9test {

/// Selects the data page (tsEdit when edit) of the shown window at size and
/// checks that its page needs no scroll bar and every field control of that
/// page lies inside the visible part.
inline void ExpectEveryFieldInSight(TRecognitionWindow *form, bool edit, const QSize &size)
{
    SCOPED_TRACE(edit ? "tsEdit" : "tsAdd");
    form->pgcRecognize->setCurrentWidget(edit ? form->tsEdit : form->tsAdd);
    form->resize(size);
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
    QWidget *page = edit ? form->tsEdit : form->tsAdd;
    auto *scroll = page->findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    const QRect sight = scroll->viewport()->rect();
    const recognition::TColumn column = edit ? recognition::TColumn::Recognized : recognition::TColumn::Add;
    for (const recognition::TFieldDescription &f : recognition::ResultFields()) {
        QWidget *control = form->Fields().Control(f.field, column);
        const QRect at(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(sight.contains(at)) << f.stem << " at " << at.x() << "," << at.y() << " " << at.width() << "x"
                                        << at.height() << " in " << sight.width() << "x" << sight.height();
    }
}

/// Over the recognised values of the shown window (its edit page) no
/// tooltip shows unless the value has a hint of its own.
inline void ExpectNoTooltipWithoutAHint(TRecognitionWindow *form)
{
    QWidget *marked = nullptr;
    for (const recognition::TFieldDescription &f : recognition::ResultFields()) {
        QWidget *control = form->Fields().Control(f.field, recognition::TColumn::Recognized);
        QLineEdit *edit = control->findChild<QLineEdit *>();
        ASSERT_NE(edit, nullptr) << f.stem;
        EXPECT_EQ(ToolTipShownFor(edit), QString()) << f.stem;
        marked = edit;
    }
    // A hint of its own still shows.
    marked->setToolTip(QStringLiteral("Поле распозналось с ошибкой"));
    EXPECT_EQ(ToolTipShownFor(marked), QStringLiteral("Поле распозналось с ошибкой"));
}

} // namespace r9test
