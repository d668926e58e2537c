// The SANE devices the source manager offers as they come and go while the
// host runs: a remembered scanner that is missing is not replaced by another,
// a scanner switched on later is found without a restart when the operator
// searches again, and the list is read afresh for the selection dialog but
// kept for the scans in between.
#include "support/SaneFixture.h"

#include "support/ManagerSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <string>
#include <utility>

using namespace sanetest;

namespace {

std::vector<std::string> g_offered;
bool g_searchFirst = false;
int32_t choose(const char *const *names, int32_t count, int32_t)
{
    if (std::exchange(g_searchFirst, false))
        return TWAINDSM_SELECT_SEARCH_AGAIN;
    g_offered.assign(names, names + count);
    return -1;
}

/// The SANE sources of the selection dialog (the operator searches again
/// first when `search` is set, and cancels).
std::vector<std::string> offeredForSelection(bool search = true)
{
    g_offered.clear();
    g_searchFirst = search;
    const TwainDsmSelectHook previous = twaintest::SetSelectHook(&choose);
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    twaintest::SetSelectHook(previous);
    std::vector<std::string> sane;
    for (const std::string &n : g_offered)
        if (n.rfind("SANE:", 0) == 0)
            sane.push_back(n);
    return sane;
}

/// Counts the SANE source's "Поиск сканеров ..." windows as they show, each
/// one a listing of the devices.
class SearchNotices : public QObject
{
public:
    SearchNotices() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("saneSearchNotice"))
            texts << static_cast<QLabel *>(watched)->text();
        return false;
    }
    QStringList texts;
};

bool searchNoticeLeft()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("saneSearchNotice"))
            return true;
    return false;
}

/// The SANE sources the manager lists in a session of its own.
std::vector<std::string> listedByTheManager()
{
    std::vector<std::string> sane;
    if (!TWAIN_LoadSourceManager() || !TWAIN_OpenSourceManager(0))
        return sane;
    TW_IDENTITY id{};
    for (int32_t msg = MSG_GETFIRST; TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, msg, &id); msg = MSG_GETNEXT)
        if (std::string(id.ProductName).rfind("SANE:", 0) == 0)
            sane.emplace_back(id.ProductName);
    TWAIN_CloseSourceManager(0);
    TWAIN_UnloadSourceManager();
    return sane;
}

void rememberSource(const char *name)
{
    r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                      QByteArray(name) + '\n');
}

} // namespace

TEST_F(SaneSourceTest, ARememberedScannerThatIsMissingIsNotReplacedByAnother)
{
    rememberSource("SANE: Canon LiDE 110");
    const QStringList notice{QStringLiteral("Сканер «SANE: Canon LiDE 110» не найден. Проверьте, что он подключён "
                                            "и включён, или выберите другой сканер в списке источников.")};
    // Other SANE devices are there: none of them scans in its place.
    EXPECT_EQ(acquire(), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(twain::session().errorCondition, TWCC_NODS);
    EXPECT_EQ(Notices(), QStringList());
    EXPECT_EQ(boxTexts(), notice);
    // No SANE device at all: the specimen scanner beside them does not either.
    r9test::WriteFile(QString::fromLocal8Bit(qgetenv("SANE_CONFIG_DIR")) + QStringLiteral("/dll.conf"), "");
    boxes.calls.clear();
    EXPECT_EQ(acquire(), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(boxTexts(), notice);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(SaneSourceTest, AScannerSwitchedOnLaterIsFoundWithoutARestart)
{
    const QString dll = QString::fromLocal8Bit(qgetenv("SANE_CONFIG_DIR")) + QStringLiteral("/dll.conf");
    // All scanners off when the operator opens the source list and searches.
    r9test::WriteFile(dll, "");
    EXPECT_EQ(offeredForSelection(), std::vector<std::string>{});
    // They are switched on: the session keeps the list it found (listing
    // can take seconds) until the operator searches again, which finds
    // them; the next scan takes the remembered one.
    r9test::WriteFile(dll, "test\n");
    EXPECT_EQ(listedByTheManager(), std::vector<std::string>{});
    EXPECT_EQ(offeredForSelection(false), std::vector<std::string>{});
    EXPECT_EQ(offeredForSelection(), (std::vector<std::string>{FirstSource, SecondSource}));
    EXPECT_EQ(listedByTheManager(), (std::vector<std::string>{FirstSource, SecondSource}));
    ASSERT_NE(acquire(TWAIN_GRAY), nullptr) << boxTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Notices(), QStringList());

    // One of them is switched off: the scans keep the list they had, the
    // operator's search shows what is there now.
    configureBackend({QStringLiteral("number_of_devices 1")});
    EXPECT_EQ(listedByTheManager(), (std::vector<std::string>{FirstSource, SecondSource}));
    EXPECT_EQ(offeredForSelection(false), (std::vector<std::string>{FirstSource, SecondSource}));
    EXPECT_EQ(offeredForSelection(), std::vector<std::string>{FirstSource});
    EXPECT_EQ(listedByTheManager(), std::vector<std::string>{FirstSource});

    // The remembered scanner is missing from the kept list but switched on
    // again: each scan says it is missing, without listing (seconds each),
    // until the operator searches again; then the scan takes it, not another.
    rememberSource(SecondSource);
    configureBackend();
    SearchNotices searches;
    for (int i = 0; i < 2; ++i) {
        boxes.calls.clear();
        EXPECT_EQ(acquire(), nullptr);
        EXPECT_EQ(twain::session().errorCondition, TWCC_NODS);
        EXPECT_EQ(boxTexts().size(), 1);
    }
    EXPECT_EQ(searches.texts, QStringList());
    EXPECT_EQ(offeredForSelection(), (std::vector<std::string>{FirstSource, SecondSource}));
    int condition = runSession([] {
        EXPECT_STREQ(twain::session().sourceId.ProductName, SecondSource);
    });
    EXPECT_EQ(condition, TWCC_SUCCESS);
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_EQ(Notices(), QStringList());
}

TEST_F(SaneSourceTest, AFreshListIsNotAskedAgainUnlessTheOperatorSearches)
{
    // One acquisition opens the manager for the source list and again for
    // the scan: a list just asked stands for both.
    qputenv("TWAINSANE_LIST_FRESH_MS", "3600000");
    EXPECT_EQ(offeredForSelection(), (std::vector<std::string>{FirstSource, SecondSource}));
    configureBackend({QStringLiteral("number_of_devices 1")});
    EXPECT_EQ(offeredForSelection(false), (std::vector<std::string>{FirstSource, SecondSource}));
    EXPECT_EQ(listedByTheManager(), (std::vector<std::string>{FirstSource, SecondSource}));
    // "Искать снова" lists, however fresh the list.
    EXPECT_EQ(offeredForSelection(), std::vector<std::string>{FirstSource});
    configureBackend();
    EXPECT_EQ(offeredForSelection(), (std::vector<std::string>{FirstSource, SecondSource}));
}

TEST_F(SaneSourceTest, WithoutScannersTheSearchSaysSoAndItsEmptyListIsKept)
{
    SearchNotices notices;
    r9test::WriteFile(QString::fromLocal8Bit(qgetenv("SANE_CONFIG_DIR")) + QStringLiteral("/dll.conf"), "");
    EXPECT_EQ(offeredForSelection(), std::vector<std::string>{});
    EXPECT_EQ(notices.texts, QStringList{QStringLiteral("Поиск сканеров ...")});
    EXPECT_FALSE(searchNoticeLeft());
    // Every opening of the manager (two for each scan) takes the list found.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(listedByTheManager(), std::vector<std::string>{});
    EXPECT_EQ(offeredForSelection(false), std::vector<std::string>{});
    EXPECT_EQ(notices.texts.size(), 1);
}
