#pragma once
// Whether a recognition window shows every field of a data page without
// scrolling, as the operator sees it at the window's initial size.

#include "common/RecognitionFields.h"
#include "common/TRecognitionWindow.h"

#include <QApplication>
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

} // namespace r9test
