// The small controls every form shares.
#include "ui/TActionUpdater.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(LabeledEdit, CaptionLimitHintAndColour)
{
    ui::TCaptionedEdit edit(QStringLiteral("Номер"));
    EXPECT_EQ(edit.EditLabel()->text(), QStringLiteral("Номер"));
    edit.SetMaxLength(6);
    QTest::keyClicks(edit.Edit(), QStringLiteral("12345678"));
    EXPECT_EQ(edit.Text(), QStringLiteral("123456")) << "typing stops at the limit";
    edit.SetMaxLength(0);
    edit.SetText(QString(300, QLatin1Char('x')));
    EXPECT_EQ(edit.Text().size(), 300) << "0 means no limit";
    edit.SetHint(QStringLiteral("подсказка"));
    EXPECT_EQ(edit.Edit()->toolTip(), QStringLiteral("подсказка"));
    EXPECT_FALSE(edit.IsFontRed());
    edit.SetFontColor(Qt::red);
    EXPECT_TRUE(edit.IsFontRed());
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Text), QColor(Qt::red));
    edit.SetBackgroundColor(QColor(255, 255, 200));
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Base), QColor(255, 255, 200));
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Text), QColor(Qt::red)) << "colours are independent";
}

TEST(DateEdit, NullParsingAndColours)
{
    ui::TNullableDateEdit edit;
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.Text(), QString());

    struct { const char *text; QDate expected; } cases[] = {
        {"05.03.1980", QDate(1980, 3, 5)}, {"5.3.1980", QDate(1980, 3, 5)},
        {"1980-03-05", QDate(1980, 3, 5)}, {"05/03/1980", QDate(1980, 3, 5)},
        {"19800305", QDate(1980, 3, 5)},   {" 29.02.2000 ", QDate(2000, 2, 29)},
        {"29.02.00", QDate(2000, 2, 29)},  {"01.01.75", QDate(1975, 1, 1)},
        {"31.02.1980", QDate()},           {"не дата", QDate()},
        {"", QDate()},                     {"12.13.1980", QDate()},
    };
    for (const auto &c : cases) {
        edit.SetDate(QDate(2001, 1, 1));
        EXPECT_EQ(edit.SetText(QString::fromUtf8(c.text)), c.expected.isValid()) << c.text;
        EXPECT_EQ(edit.Date(), c.expected) << c.text;
        EXPECT_EQ(edit.IsNull(), !c.expected.isValid()) << c.text;
    }
    edit.SetDate(QDate(1999, 12, 31));
    EXPECT_EQ(edit.Text(), QStringLiteral("31.12.1999"));
    edit.SetNull();
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.Text(), QString());

    // Typed text is taken when the operator leaves the edit.
    QSignalSpy changed(&edit, &ui::TNullableDateEdit::dateChanged);
    QTest::keyClicks(edit.Edit(), QStringLiteral("07.08.2015"));
    QTest::keyClick(edit.Edit(), Qt::Key_Return);
    EXPECT_EQ(edit.Date(), QDate(2015, 8, 7));
    EXPECT_EQ(changed.count(), 1);
    edit.Edit()->setText(QStringLiteral("abc"));
    QTest::keyClick(edit.Edit(), Qt::Key_Return);
    EXPECT_TRUE(edit.IsNull());

    edit.SetFontColor(Qt::red);
    EXPECT_TRUE(edit.IsFontRed());
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Text), QColor(Qt::red));
    edit.SetBackgroundColor(QColor(255, 200, 200));
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Base), QColor(255, 200, 200));
}

TEST(TrackBar, PositionStaysInRange)
{
    ui::TTrackSlider bar;
    bar.setRange(0, 100);
    EXPECT_EQ(bar.tickPosition(), QSlider::NoTicks);
    bar.SetPosition(150);
    EXPECT_EQ(bar.Position(), 100);
    bar.StepUp();
    EXPECT_EQ(bar.Position(), 100);
    bar.SetPosition(0);
    bar.StepDown();
    EXPECT_EQ(bar.Position(), 0);
    bar.StepUp();
    EXPECT_EQ(bar.Position(), 1);
}

TEST(RadioGroup, NoItemIsMinusOne)
{
    ui::TChoiceGroup group(QStringLiteral(" Ориентация "));
    group.SetItems({QStringLiteral("Портретная"), QStringLiteral("Альбомная")});
    EXPECT_EQ(group.ItemIndex(), -1);
    QSignalSpy changed(&group, &ui::TChoiceGroup::itemIndexChanged);
    group.SetItemIndex(1);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_TRUE(group.Button(1)->isChecked());
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_FALSE(group.Button(0)->isChecked());
    EXPECT_FALSE(group.Button(1)->isChecked()) << "the exclusive group lets go of its last button";
    group.SetItemIndex(5);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(changed.count(), 2);

    QSignalSpy clicked(&group, &ui::TChoiceGroup::clicked);
    group.Button(0)->click();
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(clicked.count(), 1);
    group.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_EQ(group.Count(), 3);
    EXPECT_EQ(group.ItemIndex(), -1);
}

TEST(ActionList, UpdatesWhileShownAndBindsButtons)
{
    QDialog form;
    int updates = 0;
    bool enable = false;
    QAction *action = nullptr;
    auto *list = new ui::TActionUpdater(&form, [&] {
        ++updates;
        action->setEnabled(enable);
    });
    action = list->AddAction(QStringLiteral("acGo"), QStringLiteral("Пуск"));
    EXPECT_EQ(action->parent(), list);
    auto *button = new QPushButton(&form);
    ui::TActionUpdater::BindButton(button, action);
    EXPECT_EQ(button->text(), QStringLiteral("Пуск"));

    EXPECT_FALSE(list->TimerActive());
    form.show();
    EXPECT_TRUE(list->TimerActive());
    QCoreApplication::processEvents(); // the update queued by the show
    EXPECT_GE(updates, 1);
    EXPECT_FALSE(button->isEnabled());

    int triggered = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    enable = true;
    list->Update();
    EXPECT_TRUE(button->isEnabled());
    button->click();
    EXPECT_EQ(triggered, 1);
    action->setText(QStringLiteral("Стоп"));
    EXPECT_EQ(button->text(), QStringLiteral("Стоп"));

    form.hide();
    EXPECT_FALSE(list->TimerActive());
}
