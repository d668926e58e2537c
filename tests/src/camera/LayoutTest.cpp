// The window's controls as the host and the operator meet them: names,
// captions, what is hidden at start, the frame's layout, the buttons' results
// and the exported form variable.
#include "CameraFormFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
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

TEST_F(CameraLayout, AtItsSmallestTheWindowKeepsEveryCaptionAndACamerasNameReadable)
{
    // A tiny size left in the settings by an earlier window is not taken.
    TSettingsFile ini(gl_sRecognizeIniFileName);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormWidth"), 300);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormHeight"), 200);
    ini.UpdateFile();
    SaveCamera(parking);
    Create();
    Show();
    EXPECT_EQ(form->size(), form->minimumSize());
    form->resize(1, 1);
    EXPECT_EQ(form->size(), form->minimumSize());
    form->layout()->activate();
    form->pnlButtons->layout()->activate();

    auto fits = [](QWidget *w, int wanted) {
        EXPECT_GE(w->width(), wanted) << w->objectName().toStdString();
        EXPECT_LE(w->geometry().right(), w->parentWidget()->contentsRect().right()) << w->objectName().toStdString();
    };
    QLineEdit *name = form->ledCamera->Edit();
    fits(form->ledCamera, 0);
    // "Автостоянка" and a good deal more.
    EXPECT_GE(name->width() - 8, name->fontMetrics().horizontalAdvance(QStringLiteral("Камера у ворот, вход 2")));
    fits(form->ledCamera->EditLabel(), form->ledCamera->EditLabel()->sizeHint().width());
    fits(form->cxShowFrame, form->cxShowFrame->sizeHint().width());
    fits(form->bSave, form->bSave->sizeHint().width());
    fits(form->bCancel, form->bCancel->sizeHint().width());
    fits(form->bSelectCamera, form->bSelectCamera->fontMetrics().horizontalAdvance(QStringLiteral("...")));
    // The stop button holds both of its captions.
    for (const char *caption : {"СТОП-кадр", "Продолжить"}) {
        QPushButton probe(QString::fromUtf8(caption));
        probe.setFont(form->bSnapShot->font());
        fits(form->bSnapShot, probe.sizeHint().width());
    }
    EXPECT_LT(form->ledCamera->geometry().right(), form->bSelectCamera->geometry().left());
    EXPECT_LT(form->bSnapShot->geometry().right(), form->bSave->geometry().left());
}
