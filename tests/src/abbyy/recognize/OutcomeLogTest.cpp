// Each recognition of the passport-reader window leaves its outcome in the
// host's log (engine, document, fields filled and marked), never a value.
#include "support/FakeEngine.h"
#include "support/LogRecorder.h"
#include "support/TestSupport.h"

#include "abbyy/engABBYY9r_FM.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/engCommon9r.h"
#include "ui/TCaptionedEdit.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

TEST(RecognitionOutcomeLog, NamesTheDocumentAndTheFieldsButNoValue)
{
    ComPtr<fake::Engine> engine = fake::make<fake::Engine>();
    gl_RecognitionEngine = IRecognitionEnginePtr(engine.get());
    r9test::MessageBoxRecorder boxes;
    r9test::LogRecorder log;
    {
        TABBYYRecognitionFM form;
        auto *passport = new TDocumentInfo("Passport_RU", "РФ: паспорт", "паспорт", "РОССИЯ", tdPassport, true);
        form.AddPassportType(passport->FDocName, passport);
        form.cbPassportTypes->setCurrentIndex(0);
        form.cbScanListForTest->addItem("Fake scanner");
        form.cbScanListForTest->setCurrentIndex(0);
        const std::vector<fake::Field> fields = {{"Series", "45 06"}, {"Number", "123456", true, {2}},
                                                 {"LastName", "ИВАНОВ"}, {"FirstName", "ПАВЕЛ"},
                                                 {"DateOfBirth", "02.01.1980"}, {"FullImage", "", false}};
        // A name the engine found empty shows "Не распознано": it is named
        // unreadable, not counted as filled.
        std::vector<fake::Field> unreadName = fields;
        unreadName[2].value.clear();
        struct Case
        {
            bool edit;
            QString marks;
            const std::vector<fake::Field> &fields;
            QString filled;
        };
        const QString allFilled = "заполнено полей: 5 из 12 (Фамилия, Имя, Номер, Дата рождения, Гражданство)";
        for (const Case &c : {Case{false, "с сомнением: Номер; с ошибкой: нет", fields, allFilled},
                              Case{true, "с сомнением: Фамилия, Имя, Номер;", fields, allFilled},
                              Case{false, "не распознано: Фамилия; с сомнением: Фамилия, Номер; с ошибкой: нет", unreadName,
                                   "заполнено полей: 4 из 12 (Имя, Номер, Дата рождения, Гражданство)"}}) {
            SCOPED_TRACE(c.edit ? "edit page: values differing from the current ones" : "add page");
            form.pgcRecognize->setCurrentWidget(c.edit ? form.tsEdit : form.tsAdd);
            form.ledLastNameCurr->SetText("ПЕТРОВ");
            form.ledFirstNameCurr->SetText("ПЁТР");
            engine->fields = c.fields;
            log.lines.clear();
            form.acRecognize->trigger();
            ASSERT_EQ(log.lines.size(), 1) << log.lines.join('\n').toStdString();
            const QString line = log.lines[0];
            for (const QString &part : {QStringLiteral("Распознавание (ABBYY): документ \"РФ: паспорт\" (форма Passport_RU)"),
                                        c.filled, c.marks})
                EXPECT_TRUE(line.contains(part)) << line.toStdString() << "\n  lacks " << part.toStdString();
            for (const char *value : {"ИВАНОВ", "ПАВЕЛ", "ПЕТРОВ", "45 06", "123456", "1980"})
                EXPECT_FALSE(line.contains(QString::fromUtf8(value))) << line.toStdString();
        }
    }
    gl_RecognitionEngine = nullptr;
}
