#include "base/PackageTexts.h"
#include "base/engCommon9rMessages.h"

#include <QSet>
#include <QString>
#include <gtest/gtest.h>

namespace {

struct Text { const char *name; QString text; };

#define R9_TEXT_ENTRY(name, text) {#name, QString::fromUtf8(text)},
const Text ownTexts[] = {R9_PACKAGE_TEXT_LIST(R9_TEXT_ENTRY)};
#undef R9_TEXT_ENTRY

} // namespace

TEST(PackageTexts, EachWordingSaysOneThingOnce)
{
    // A wording that stood twice would be one meaning under two names, and a
    // named message's wording belongs to the message: the host may translate it.
    QSet<QString> seen;
    int count = 0;
    const ResStringEntry *messages = ResStringTable(&count);
    for (int i = 0; i < count; ++i)
        seen.insert(QString::fromUtf8(messages[i].message->source));
    for (const Text &t : ownTexts) {
        SCOPED_TRACE(t.name);
        EXPECT_FALSE(t.text.isEmpty());
        EXPECT_FALSE(seen.contains(t.text));
        seen.insert(t.text);
    }
}

TEST(PackageTexts, LineBreaksAndPlaceholdersAreThoseOfTheMessages)
{
    for (const Text &t : ownTexts) {
        SCOPED_TRACE(t.name);
        EXPECT_FALSE(t.text.contains('\n'));
        // arg() fills the lowest number first: a %2 without a %1 would take the first value.
        if (t.text.contains(QLatin1String("%2"))) {
            EXPECT_TRUE(t.text.contains(QLatin1String("%1")));
        }
    }
}

TEST(PackageTexts, TheEngineNotStartedIsSaidInTheWordsOfTheInitMessage)
{
    // The named messages call the engine "ядро распознавания"; the operator
    // meets the same word when it has not started.
    EXPECT_EQ(QString::fromUtf8(texts::EngineNotStarted), QString("Ядро распознавания не запущено."));
    EXPECT_TRUE(LoadResString(&_S_ERROR_INIT_ENGINE).contains(QString("ядро распознавания")));
}

TEST(PackageTexts, TheDateMessageNamesThePatternTheEditShows)
{
    const QString text = QString(texts::DateNotRecognized).arg(QString("31.02.%2"), texts::DatePattern);
    EXPECT_EQ(text, QString("Дата \"31.02.%2\" не распознана.\r\rВведите дату в виде дд.мм.гггг или очистите поле."));
}
