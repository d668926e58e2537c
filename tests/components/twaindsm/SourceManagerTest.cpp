// The source manager as the package's TWAIN layer meets it, with the specimen
// scanner as its source: the remembered default and a remembered scanner
// that is missing, the selection dialog, libraries that are no data source,
// and the manager's windows under a caller's modal window.
#include "support/ManagerSupport.h"
#include "support/OperatorInput.h"
#include "support/SpecimenSourceFixture.h"
#include "support/TestSupport.h"
#include "twain/MultiTWAIN_p.h"
#include "ui/TMessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace twaintest;

namespace {

struct SelectLog
{
    static std::vector<std::string> names;
    static int32_t defaultIndex;
    static int32_t answer;
    static int32_t choose(const char *const *list, int32_t count, int32_t def)
    {
        names.assign(list, list + count);
        defaultIndex = def;
        if (answer == -2) {
            for (int32_t i = 0; i < count; ++i)
                if (names[std::size_t(i)] == SpecimenName)
                    return i;
            return -1;
        }
        return answer;
    }
};
std::vector<std::string> SelectLog::names;
int32_t SelectLog::defaultIndex = -1;
int32_t SelectLog::answer = -1;

TEST_F(SpecimenSourceTest, TheChosenSourceBecomesTheRememberedDefault)
{
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source");
    QFile::remove(file);
    const TwainDsmSelectHook previous = SetSelectHook(&SelectLog::choose);
    SelectLog::answer = -1;
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_NE(std::find(SelectLog::names.begin(), SelectLog::names.end(), SpecimenName), SelectLog::names.end());

    SelectLog::answer = -2; // choose the specimen scanner
    EXPECT_TRUE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(r9test::ReadFile(file).trimmed(), QByteArray(SpecimenName));
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);

    EXPECT_TRUE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(SelectLog::names[std::size_t(SelectLog::defaultIndex)], SpecimenName);
    SetSelectHook(previous);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(SpecimenSourceTest, ASourceThatRefusedTheFreshListingKeepsNoConditionFromIt)
{
    // Listing asks every source library for its list of devices, and opening
    // the source list asks it to list afresh; the specimen source knows
    // neither request and refuses both. Its condition code must not stand
    // for the next operation, which succeeds.
    const TwainDsmSelectHook previous = SetSelectHook(&SelectLog::choose);
    SelectLog::answer = -2; // choose the specimen scanner
    ASSERT_TRUE(TWAIN_SelectImageSource(0));
    SetSelectHook(previous);
    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
    TW_STATUS status{};
    status.ConditionCode = 0xFFFF;
    ASSERT_TRUE(TWAIN_DS(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
    EXPECT_EQ(status.ConditionCode, TWCC_SUCCESS);
    EXPECT_TRUE(TWAIN_CloseSourceManager(0));
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
}

TEST_F(SpecimenSourceTest, ARememberedSourceThatIsMissingIsNotReplacedByAnother)
{
    // The operator's scanner is switched off: no other source, least of all
    // the specimen scanner, delivers the document in its place.
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source");
    r9test::WriteFile(file, "SANE: Canon LiDE 110\n");
    EXPECT_EQ(acquire(), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(twain::session().errorCode, 4);
    EXPECT_EQ(twain::session().errorCondition, TWCC_NODS);
    // One box, the layer's, in the words the manager has for it: they name the scanner.
    EXPECT_EQ(boxTexts(),
              QStringList{QStringLiteral("Сканер «SANE: Canon LiDE 110» не найден. Проверьте, что он подключён "
                                         "и включён, или выберите другой сканер в списке источников.")});
    EXPECT_EQ(ScannerNotices(), QStringList());

    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    TW_IDENTITY id{};
    EXPECT_FALSE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &id));
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_NODS);
    // Without a remembered source the first one found is the default.
    QFile::remove(file);
    EXPECT_TRUE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &id));
    TW_IDENTITY first{};
    EXPECT_TRUE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &first));
    EXPECT_STREQ(id.ProductName, first.ProductName);
    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_STREQ(twain::session().sourceId.ProductName, first.ProductName);
    EXPECT_TRUE(TWAIN_CloseSourceManager(0));
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
    EXPECT_EQ(ScannerNotices(), QStringList());
}

TEST_F(SpecimenSourceTest, TheSelectionDialogListsTheSourcesAndCanBeCancelled)
{
    const TwainDsmSelectHook previous = SetSelectHook(nullptr);
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        QStringList listed;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QDialog *>(w);
                if (!dialog || dialog->objectName() != QLatin1String("SelectSourceDialog") || !dialog->isVisible())
                    continue;
                timer.stop();
                auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbSources"));
                // The operator searches again: the list is filled afresh, not doubled.
                const int before = list ? list->count() : 0;
                if (auto *search = dialog->findChild<QPushButton *>(QStringLiteral("bSearchAgain")))
                    EXPECT_TRUE(r9test::MouseClick(search));
                else
                    ADD_FAILURE() << "no search";
                EXPECT_EQ(list ? list->count() : 0, before);
                for (int i = 0; list && i < list->count(); ++i)
                    listed << list->item(i)->text();
                if (accept)
                    dialog->accept();
                else
                    dialog->reject();
            }
        });
        timer.start(1);
        EXPECT_EQ(TWAIN_SelectImageSource(0) != 0, accept);
        EXPECT_TRUE(listed.contains(QLatin1String(SpecimenName)));
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    }
    SetSelectHook(previous);
}

TEST_F(SpecimenSourceTest, ALibraryThatIsNoDataSourceIsSkipped)
{
    // The folder the environment names holds something that is no library.
    const QString extra = r9test::TestHome() + QStringLiteral("/sources");
    QDir().mkpath(extra);
    r9test::WriteFile(extra + QStringLiteral("/libbroken.so"), "not a library");
    qputenv(TWAINDSM_SOURCES_ENV, extra.toLocal8Bit());
    const TwainDsmSelectHook previous = SetSelectHook(&SelectLog::choose);
    SelectLog::answer = -1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    const QStringList log = QString::fromStdString(testing::internal::GetCapturedStderr()).split(QLatin1Char('\n'));
    EXPECT_NE(std::find(SelectLog::names.begin(), SelectLog::names.end(), SpecimenName), SelectLog::names.end());
    SetSelectHook(previous);
    qunsetenv(TWAINDSM_SOURCES_ENV);
    // Why it was skipped is logged, naming the library and the loader's
    // reason, once for the two lists of sources made.
    const QStringList lines = log.filter(QStringLiteral("libbroken.so"));
    ASSERT_EQ(lines.size(), 1) << log.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("twaindsm: cannot load the source ") + extra + QStringLiteral("/libbroken.so: ")))
        << lines[0].toStdString();
    EXPECT_GT(lines[0].size(), lines[0].indexOf(QStringLiteral(".so: ")) + 5) << "the loader's reason follows";
}

TEST_F(SpecimenSourceTest, TheBoxOfAMissingScannerTakesTheOperatorsInputWhileTheCallersWindowIsModal)
{
    // The remembered scanner is missing: the one box that says so, owned by
    // the window the caller acquired with, is closed with the mouse.
    r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                      "SANE: Canon LiDE 110\n");
    const ui::MessageBoxHook recorder = ui::SetMessageBoxHook({});
    QDialog caller;
    QWidget *owner = nullptr;
    bool closedByTheOperator = false;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && !owner) {
            owner = box->parentWidget();
            closedByTheOperator = r9test::MouseClick(box->button(QMessageBox::Ok));
            if (!closedByTheOperator)
                box->reject();
        }
    });
    person.start(10);
    r9test::RunInModalWindow(caller, [&] { kept = TWAIN_AcquireNative(TWAIN_HWND(caller.winId()), TWAIN_ANYTYPE); });
    ui::SetMessageBoxHook(recorder);
    EXPECT_EQ(kept, nullptr);
    EXPECT_EQ(owner, &caller);
    EXPECT_TRUE(closedByTheOperator) << "the box was blocked by the caller's window";
    EXPECT_EQ(ScannerNotices(), QStringList());
}

TEST_F(SpecimenSourceTest, TheSelectionDialogTakesTheOperatorsInputWhileTheCallersWindowIsModal)
{
    const TwainDsmSelectHook previous = SetSelectHook(nullptr);
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"));
    bool tookInput = false;
    r9test::WindowOperator op("SelectSourceDialog", [&](QWidget *w) {
        auto *dialog = static_cast<QDialog *>(w);
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbSources"));
        const QList<QListWidgetItem *> found = list->findItems(QLatin1String(SpecimenName), Qt::MatchExactly);
        if (!found.isEmpty()) {
            list->scrollToItem(found.first());
            r9test::MouseClick(list->viewport(), list->visualItemRect(found.first()).center());
        }
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        tookInput = !found.isEmpty() && list->currentItem() == found.first()
                    && r9test::MouseClick(buttons->button(QDialogButtonBox::Ok));
        if (!tookInput)
            dialog->reject();
    });
    QDialog caller;
    TWAIN_BOOL chosen = 0;
    r9test::RunInModalWindow(caller, [&] { chosen = TWAIN_SelectImageSource(TWAIN_HWND(caller.winId())); });
    SetSelectHook(previous);
    EXPECT_EQ(op.seen(), 1);
    EXPECT_TRUE(tookInput) << "the selection dialog was blocked by the caller's window";
    EXPECT_TRUE(chosen);
    EXPECT_EQ(r9test::ReadFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source")).trimmed(),
              QByteArray(SpecimenName));
}

} // namespace
