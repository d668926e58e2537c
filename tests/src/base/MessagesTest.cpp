#include "base/engCommon9rMessages.h"

#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(Messages, SixtyFourNamedMessagesInTableOrder)
{
    int count = 0;
    const ResStringEntry *table = ResStringTable(&count);
    ASSERT_EQ(count, 64);
    EXPECT_STREQ(table[0].name, "_S_ERROR_INIT_ENGINE");
    EXPECT_STREQ(table[63].name, "_S_ScProxy_INI_NOT_FOUND");
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(table[i].name);
        EXPECT_EQ(FindResString(table[i].name), table[i].message);
        EXPECT_FALSE(LoadResString(table[i].message).isEmpty());
        // Lone carriage returns only, never CR LF or LF.
        EXPECT_FALSE(LoadResString(table[i].message).contains('\n'));
    }
    EXPECT_EQ(FindResString("_S_NO_SUCH"), nullptr);
}

TEST(Messages, TextsKeepTheirExactForm)
{
    EXPECT_EQ(LoadResString(&_S_ERROR), QString("Ошибка"));
    EXPECT_EQ(LoadResString(&_S_DRIVING_PERMIT_RU), QString("РФ: водительское удостоверение "));
    EXPECT_EQ(LoadResString(&_S_SCANNER_NOT_SELECTED_2),
              QString("Не выбран сканнер для распознавания в окне диалога.\r\r"
                      "Нажмите кнопку \"Распознать\" с отображением окна диалога."));
    EXPECT_EQ(LoadResString(&_S_REPEAT_RECOGNIZE),
              QString("Данные загранпаспорта не распознаны. \r\rДля распознавания с поворотом на 180 "
                      "градусов нажмите кнопку \"Распознать повторно\"."));
    EXPECT_EQ(LoadResString(&_S_SCANNED_0_PICTURES).count('\r'), 3);
    const QString init2 = LoadResString(&_S_ERROR_INIT_ENGINE_2);
    const QStringList lines = init2.split('\r');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].contains("ABBYY PassportReader SDK"));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_TRUE(lines[2].startsWith(" - "));
    EXPECT_TRUE(lines[3].startsWith(" - "));
}

namespace {

// A translator as a host would install it, replacing one message.
class OneMessageTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, ResStringContext) == 0 && qstrcmp(source, _S_ERROR.source) == 0)
            return QStringLiteral("Error");
        return QString();
    }
};

} // namespace

TEST(Messages, InstalledTranslatorReplacesTheTextAtTheMomentOfUse)
{
    OneMessageTranslator translator;
    ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
    EXPECT_EQ(LoadResString(&_S_ERROR), QString("Error"));
    EXPECT_EQ(LoadResString(&_S_MESSAGE), QString("Сообщение"));
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(LoadResString(&_S_ERROR), QString("Ошибка"));
}
