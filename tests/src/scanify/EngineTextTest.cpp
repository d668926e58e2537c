// Texts from the engine are taken only as far as they are bounded and valid.
#include "scanify/ScanifyText.h"

#include <gtest/gtest.h>
#include <cstring>
#include <memory>

namespace {

TEST(ScanifyEngineText, NullEmptyAndLocaleTextRoundTrip)
{
    EXPECT_EQ(scanify::FromEngineText(nullptr), QString());
    EXPECT_EQ(scanify::FromEngineText(""), QString());
    const QByteArray bytes = scanify::ToEngineText(QStringLiteral("ИВАНОВ Иван"));
    EXPECT_EQ(scanify::FromEngineText(bytes.constData()), QStringLiteral("ИВАНОВ Иван"));
}

TEST(ScanifyEngineText, TakenOnlyAsFarAsItIsValidText)
{
    EXPECT_EQ(scanify::FromEngineText("\xD0\x98\xD0\xB2\xFF\xD0\xB0\xD0\xBD"), QStringLiteral("Ив"));
    EXPECT_EQ(scanify::FromEngineText("ab\xC0\x80" "cd"), QStringLiteral("ab")); // overlong NUL
    EXPECT_EQ(scanify::FromEngineText("ab\xD0"), QStringLiteral("ab"));          // cut sequence at the end
}

TEST(ScanifyEngineText, NeverReadsPastItsLimitWhenTheTerminatorIsMissing)
{
    // Exactly the limit, no terminator: the sanitizer build catches a read beyond.
    const std::size_t limit = scanify::MaxEngineText;
    std::unique_ptr<char[]> unterminated(new char[limit]);
    std::memset(unterminated.get(), 'a', limit);
    EXPECT_EQ(scanify::FromEngineText(unterminated.get()).size(), qsizetype(limit));

    // A two-byte letter across the limit is dropped whole.
    std::memcpy(unterminated.get() + limit - 1, "\xD0", 1);
    const QString cut = scanify::FromEngineText(unterminated.get());
    EXPECT_EQ(cut.size(), qsizetype(limit - 1));
    EXPECT_EQ(cut, QString(qsizetype(limit - 1), QLatin1Char('a')));

    struct Record { char szId[16]; int after; } record;
    std::memset(record.szId, 'Z', sizeof record.szId);
    record.after = 0x31313131; // "1111" would follow if the field were overrun
    EXPECT_EQ(scanify::FromEngineField(record.szId), QString(16, QLatin1Char('Z')));
}

} // namespace
