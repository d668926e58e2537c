// The small controls every form shares.
#include "base/ResString.h"
#include "base/engCommon9rMessages.h"
#include "ui/TActionUpdater.h"
#include "ui/TFormDialog.h"
#include "ui/TBusyGuard.h"
#include "ui/TMessageBox.h"
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
#include <array>
#include <functional>
#include <new>
#include <stdexcept>
#include <tuple>
#include <gtest/gtest.h>

TEST(LabeledEdit, CaptionLimitHintAndColour)
{
    ui::TCaptionedEdit edit(QStringLiteral("Номер"));
    EXPECT_EQ(edit.EditLabel()->text(), QStringLiteral("Номер"));
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

TEST(LabeledEdit, LimitHoldsTheOperatorNeverTheProgram)
{
    ui::TCaptionedEdit edit(QStringLiteral("Пол"));
    edit.SetMaxLength(6);
    const QString notRecognized = QStringLiteral("Не распознано");
    edit.SetText(notRecognized);
    EXPECT_EQ(edit.Text(), notRecognized) << "the program's text is never cut";
    const QString authority(300, QChar(u'О'));
    edit.SetMaxLength(255);
    edit.SetText(authority);
    EXPECT_EQ(edit.Text(), authority);
    edit.Edit()->setText(authority + QStringLiteral("!"));
    EXPECT_EQ(edit.Text().size(), 301) << "also when set through the inner edit";

    // The operator may correct a long value but not make it longer.
    edit.SetMaxLength(6);
    edit.SetText(notRecognized);
    edit.Edit()->setFocus();
    QTest::keyClick(edit.Edit(), Qt::Key_End);
    QTest::keyClicks(edit.Edit(), QStringLiteral("xyz"));
    EXPECT_EQ(edit.Text(), notRecognized);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClicks(edit.Edit(), QStringLiteral("OX"));
    EXPECT_EQ(edit.Text(), QStringLiteral("Не распознанO"));
    QTest::keyClick(edit.Edit(), Qt::Key_Home);
    QTest::keyClick(edit.Edit(), Qt::Key_Delete);
    QTest::keyClicks(edit.Edit(), QStringLiteral("N"));
    EXPECT_EQ(edit.Text(), QStringLiteral("Nе распознанO"));

    // Typing and pasting stop at the limit; a paste keeps what fits.
    edit.Clear();
    QTest::keyClicks(edit.Edit(), QStringLiteral("12345678"));
    EXPECT_EQ(edit.Text(), QStringLiteral("123456"));
    edit.Clear();
    QTest::keyClicks(edit.Edit(), QStringLiteral("ab"));
    QTest::keyClick(edit.Edit(), Qt::Key_Home);
    edit.Edit()->insert(QStringLiteral("123456789"));
    EXPECT_EQ(edit.Text(), QStringLiteral("1234ab"));
    EXPECT_EQ(edit.Edit()->cursorPosition(), 4);
}

TEST(DateEdit, NullStateProgramTextAndColours)
{
    ui::TNullableDateEdit edit;
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.Text(), QString());
    EXPECT_FALSE(edit.HasUnreadableText());

    edit.SetDate(QDate(1999, 12, 31));
    EXPECT_EQ(edit.Text(), QStringLiteral("31.12.1999"));
    EXPECT_EQ(edit.Date(), QDate(1999, 12, 31));
    edit.SetNull();
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.Text(), QString());
    EXPECT_TRUE(edit.SetText(QStringLiteral(" 5.3.1980 ")));
    EXPECT_EQ(edit.Text(), QStringLiteral("05.03.1980")) << "a date read is shown in the display format";

    edit.SetFontColor(Qt::red);
    EXPECT_TRUE(edit.IsFontRed());
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Text), QColor(Qt::red));
    edit.SetNull();
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::PlaceholderText), QColor(Qt::red))
        << "an empty edit marked red shows it in its placeholder";
    edit.SetBackgroundColor(QColor(255, 200, 200));
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Base), QColor(255, 200, 200));
}

TEST(DateEdit, TypedDatesFollowTheOneRuleWithTwoDigitYearsAroundToday)
{
    const int year = QDate::currentDate().year();
    const auto yy = [](int y) { return QString::number(y % 100).rightJustified(2, QLatin1Char('0')); };
    const struct { QString text; QDate expected; } cases[] = {
        {"05.03.1980", QDate(1980, 3, 5)},
        {"5.3.1980", QDate(1980, 3, 5)},
        {"05/03/1980", QDate(1980, 3, 5)},
        {"05-03-1980", QDate(1980, 3, 5)},
        {"05 03 1980", QDate(1980, 3, 5)},
        {"1980-03-05", QDate(1980, 3, 5)},
        {" 29.02.2000 ", QDate(2000, 2, 29)},
        {"29.02.00", QDate(2000, 2, 29)},
        {"01.01.75", QDate(1975, 1, 1)},
        // The window: up to 19 years ahead, else back to 80 years ago.
        {"15.04." + yy(year + 5), QDate(year + 5, 4, 15)},
        {"15.04." + yy(year + 19), QDate(year + 19, 4, 15)},
        {"15.04." + yy(year + 20), QDate(year - 80, 4, 15)},
        {"15.04." + yy(year - 79), QDate(year - 79, 4, 15)},
        {"05.03/1980", QDate()},
        {"05.03.980", QDate()},
        {"19800305", QDate()},
        {"31.02.1980", QDate()},
        {"12.13.1980", QDate()},
        {"не дата", QDate()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::TNullableDateEdit::ParseDate(c.text), c.expected) << c.text.toStdString();

    // "15.04.31" typed into an expiry date in the 2020s is 2031, not 1931.
    if (year >= 2012 && year < 2051) {
        EXPECT_EQ(ui::TNullableDateEdit::ParseDate(QStringLiteral("15.04.31")), QDate(2031, 4, 15));
    }
}

TEST(DateEdit, UnreadableTypedTextStaysVisibleAndMarked)
{
    ui::TNullableDateEdit edit;
    edit.SetFontColor(QColor(0, 0, 255)); // a colour the form gave it
    QSignalSpy changed(&edit, &ui::TNullableDateEdit::dateChanged);
    edit.Edit()->setFocus();
    QTest::keyClicks(edit.Edit(), QStringLiteral("07.08.15"));
    QTest::keyClick(edit.Edit(), Qt::Key_Return);
    EXPECT_EQ(edit.Date(), QDate(2015, 8, 7));
    EXPECT_EQ(edit.Text(), QStringLiteral("07.08.2015"));
    EXPECT_EQ(changed.count(), 1);

    edit.Edit()->selectAll();
    QTest::keyClicks(edit.Edit(), QStringLiteral("31.02.2015"));
    QTest::keyClick(edit.Edit(), Qt::Key_Return);
    EXPECT_TRUE(edit.IsNull());
    EXPECT_TRUE(edit.HasUnreadableText());
    EXPECT_EQ(edit.Text(), QStringLiteral("31.02.2015")) << "what the operator typed is not erased";
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(edit.FontColor(), QColor(0, 0, 255)) << "the form's own colour is kept underneath";
    EXPECT_EQ(changed.count(), 2);

    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClick(edit.Edit(), Qt::Key_Backspace);
    QTest::keyClicks(edit.Edit(), QStringLiteral("1.2015"));
    QTest::keyClick(edit.Edit(), Qt::Key_Return);
    EXPECT_EQ(edit.Date(), QDate(2015, 1, 31)) << edit.Text().toStdString();
    EXPECT_FALSE(edit.HasUnreadableText());
    EXPECT_EQ(edit.Edit()->palette().color(QPalette::Text), QColor(0, 0, 255));

    // The program's text follows the same rule; clearing it clears the mark.
    EXPECT_FALSE(edit.SetText(QStringLiteral("abc")));
    EXPECT_TRUE(edit.HasUnreadableText());
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
    edit.SetNull();
    EXPECT_FALSE(edit.HasUnreadableText());
    EXPECT_EQ(edit.Text(), QString());
    EXPECT_FALSE(edit.SetText(QStringLiteral("  ")));
    EXPECT_FALSE(edit.HasUnreadableText()) << "blank is empty, not unreadable";
}

TEST(DateEdit, AStandInDateStaysMarkedWhileItsTextIsTheOneShown)
{
    const QDate today(2026, 12, 8);
    const QString shown = today.toString(QLatin1String(ui::TNullableDateEdit::DisplayFormat));
    using Edit = ui::TNullableDateEdit;
    const struct {
        const char *what;
        std::function<void(Edit &)> settle;
        bool marked;
    } cases[] = {
        {"left as shown", [](Edit &e) { QTest::keyClick(e.Edit(), Qt::Key_Return); }, true},
        {"a digit typed and undone",
         [](Edit &e) {
             QTest::keyClicks(e.Edit(), QStringLiteral("5"));
             QTest::keyClick(e.Edit(), Qt::Key_Z, Qt::ControlModifier);
             QTest::keyClick(e.Edit(), Qt::Key_Return);
         },
         true},
        {"a digit typed and deleted",
         [](Edit &e) {
             QTest::keyClicks(e.Edit(), QStringLiteral("5"));
             QTest::keyClick(e.Edit(), Qt::Key_Backspace);
             QTest::keyClick(e.Edit(), Qt::Key_Return);
         },
         true},
        {"a digit typed, not yet left", [](Edit &e) { QTest::keyClicks(e.Edit(), QStringLiteral("5")); }, false},
        {"another date typed",
         [](Edit &e) {
             e.Edit()->selectAll();
             QTest::keyClicks(e.Edit(), QStringLiteral("01.03.2019"));
             QTest::keyClick(e.Edit(), Qt::Key_Return);
         },
         false},
        {"cleared and the same date typed again",
         [&](Edit &e) {
             e.Edit()->selectAll();
             QTest::keyClick(e.Edit(), Qt::Key_Delete);
             QTest::keyClicks(e.Edit(), shown);
             QTest::keyClick(e.Edit(), Qt::Key_Return);
         },
         false},
        {"the same date set by the program", [&](Edit &e) { e.SetDate(today); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Edit edit;
        edit.SetDate(today);
        edit.MarkStandIn();
        edit.Edit()->setFocus();
        c.settle(edit);
        EXPECT_EQ(edit.IsStandIn(), c.marked) << edit.Text().toStdString();
    }
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

TEST(MessageBox, NormalCursorWhileTheBoxWaits)
{
    std::vector<int> shapes;
    const ui::MessageBoxHook previous = ui::SetMessageBoxHook([&](const ui::MessageBoxCall &) {
        shapes.push_back(QApplication::overrideCursor() ? int(QApplication::overrideCursor()->shape()) : -1);
        return QMessageBox::Ok;
    });
    ui::ShowMessageBox(nullptr, QStringLiteral("без ожидания"), QStringLiteral("Сообщение"), QMessageBox::Information);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "no cursor is left behind";
    {
        ui::TBusyGuard busy(nullptr);
        ui::ShowMessageBox(nullptr, QStringLiteral("ошибка"), QStringLiteral("Ошибка"), QMessageBox::Critical);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor) << "the hourglass is back after the box";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui::SetMessageBoxHook(previous);
    EXPECT_EQ(shapes, (std::vector<int>{-1, int(Qt::ArrowCursor)}));
}

namespace {
class GuardedWindow : public ui::TFormDialog
{
public:
    using ui::TFormDialog::runGuarded;
    using ui::TFormDialog::runPictureGuarded;
};
} // namespace

TEST(FormDialog, OnlyAPictureOperationTellsOfTooLittleMemoryForThePicture)
{
    GuardedWindow window;
    std::vector<ui::MessageBoxCall> calls;
    const ui::MessageBoxHook previous = ui::SetMessageBoxHook([&](const ui::MessageBoxCall &call) {
        calls.push_back(call);
        return QMessageBox::Ok;
    });
    const auto outOfMemory = [] { throw std::bad_alloc(); };
    window.runGuarded(outOfMemory);
    window.runPictureGuarded(outOfMemory);
    window.runPictureGuarded([] { throw std::runtime_error("сканер не ответил"); });
    ui::SetMessageBoxHook(previous);
    ASSERT_EQ(calls.size(), 3u);
    const std::array<std::tuple<QString, QString, QMessageBox::Icon>, 3> expected{{
        {QString::fromUtf8(std::bad_alloc().what()), LoadResString(&_S_ERROR), QMessageBox::Critical},
        {LoadResString(&_S_NOT_ENOUGH_RESOURCE), LoadResString(&_S_MESSAGE), QMessageBox::Information},
        {QStringLiteral("сканер не ответил"), LoadResString(&_S_ERROR), QMessageBox::Critical},
    }};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].text, std::get<0>(expected[i])) << i;
        EXPECT_EQ(calls[i].caption, std::get<1>(expected[i])) << i;
        EXPECT_EQ(calls[i].icon, std::get<2>(expected[i])) << i;
        EXPECT_EQ(calls[i].owner, &window) << i;
    }
}
