// The window's controls as the host and the operator meet them: names,
// captions, what is hidden at start, the frame's layout, the buttons' results
// and the exported form variable.
#include "CameraFormFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include "ui/TCaptionedEdit.h"

using namespace r9test;

using CameraLayout = CameraFormTest;

TEST_F(CameraLayout, ControlsCarryTheirNamesCaptionsAndStartHidden)
{
    Create();
    EXPECT_EQ(PhotoFromCameraFM, form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Сохранение кадра камеры"));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowSystemMenuHint);
    const char *names[] = {"pnlButtons", "ledCamera", "bSelectCamera", "cxShowFrame", "bSnapShot", "bSave", "bCancel",
                           "ScrollBox1", "pnlCamera", "imgPhoto", "spFrame", "spFrameTop", "spFrameBottom",
                           "spFrameLeft", "spFrameRight", "imgFramePicture"};
    for (const char *name : names)
        EXPECT_NE(form->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_NE(form->findChild<QAction *>(QStringLiteral("acSnapShot")), nullptr);
    EXPECT_NE(form->findChild<QAction *>(QStringLiteral("acSave")), nullptr);

    EXPECT_EQ(form->ledCamera->EditLabel()->text(), QStringLiteral("Камера"));
    EXPECT_TRUE(form->ledCamera->ReadOnly());
    EXPECT_EQ(form->bSelectCamera->text(), QStringLiteral("..."));
    EXPECT_TRUE(form->bSelectCamera->font().bold());
    EXPECT_EQ(form->cxShowFrame->text(), QStringLiteral("Выделить фрагмент"));
    EXPECT_EQ(form->bSnapShot->text(), QStringLiteral("СТОП-кадр"));
    EXPECT_EQ(form->bSave->text(), QStringLiteral("Сохранить"));
    EXPECT_EQ(form->bCancel->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(form->ScrollBox1->widget(), form->pnlCamera);
    EXPECT_TRUE(form->ScrollBox1->widgetResizable());

    for (QWidget *w : {static_cast<QWidget *>(form->imgPhoto), static_cast<QWidget *>(form->spFrame),
                       static_cast<QWidget *>(form->spFrameTop), static_cast<QWidget *>(form->spFrameBottom),
                       static_cast<QWidget *>(form->spFrameLeft), static_cast<QWidget *>(form->spFrameRight),
                       static_cast<QWidget *>(form->imgFramePicture)})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();

    // The frame and its grips as laid out; the grips' cursors say which way they resize.
    EXPECT_EQ(form->spFrame->size(), QSize(225, 271));
    EXPECT_EQ(form->spFrame->PenWidth(), 4);
    EXPECT_EQ(form->spFrame->PenMode(), camera::TShape::pmNotXor);
    EXPECT_EQ(form->spFrameTop->size(), QSize(217, 4));
    EXPECT_EQ(form->spFrameBottom->size(), QSize(217, 4));
    EXPECT_EQ(form->spFrameLeft->size(), QSize(4, 263));
    EXPECT_EQ(form->spFrameRight->size(), QSize(4, 263));
    for (camera::TShape *g : {form->spFrameTop, form->spFrameBottom, form->spFrameLeft, form->spFrameRight})
        EXPECT_FALSE(g->PenVisible());
    EXPECT_EQ(form->spFrameTop->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(form->spFrameBottom->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(form->spFrameLeft->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(form->spFrameRight->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(form->spFrameTop->pos(), form->spFrame->pos() + QPoint(4, 0));
    EXPECT_EQ(form->spFrameRight->pos(), form->spFrame->pos() + QPoint(221, 4));
}

TEST_F(CameraLayout, CancelAndTheCloseBoxGiveCancelAndTheVariableIsClearedWithTheWindow)
{
    Create();
    Show();
    form->bCancel->click();
    EXPECT_EQ(form->result(), 2);
    Show();
    form->close();
    EXPECT_EQ(form->result(), 2);
    delete form;
    form = nullptr;
    EXPECT_EQ(PhotoFromCameraFM, nullptr);
}

TEST_F(CameraLayout, SaveIsOnlyAvailableOnAFrozenFrame)
{
    Create();
    Show();
    Choose(entrance);
    form->ActionListUpdate();
    EXPECT_FALSE(form->bSave->isEnabled());
    form->bSave->click(); // a disabled button does nothing
    EXPECT_TRUE(form->isVisible());
    PressSnapShot();
    form->ActionListUpdate();
    form->bSave->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 1);
}
