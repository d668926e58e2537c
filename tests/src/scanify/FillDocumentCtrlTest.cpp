// Recognised fields copied into the forms' edit controls and marked by the
// engine's confidence.
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "scanify/engUtilsScanify9r.h"
#include "scanify/scapi.h"
#include "support/FakeScanify.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

using r9test::FakeScanify;

class FillDocumentControl : public testing::Test
{
protected:
    void field(const std::string &id, std::optional<std::string> value, std::int32_t flags = 0)
    {
        fake.fields[id] = FakeScanify::Field{std::move(value), flags};
    }
    template <class Edit>
    void expectMarking(const Edit &edit, const QColor &color, const QString &hint)
    {
        EXPECT_EQ(edit.BackgroundColor(), color);
        EXPECT_EQ(edit.Hint(), hint);
    }

    FakeScanify fake;
    ui::TCaptionedEdit edit;
    ui::TNullableDateEdit date;
    const QString doubt = LoadResString(&_S_DOUNT_IN_RECOGNITION);
    const QString wrong = LoadResString(&_S_ERROR_IN_RECOGNITION);
};

TEST_F(FillDocumentControl, SeriesAndNumberEndUpSideBySideAfterALeadingBlank)
{
    field("Series", "45 09");
    field("Number", "123456");
    EXPECT_FALSE(FillDocumentCtrl(0x51, &edit, QStringLiteral("Series")));
    EXPECT_FALSE(FillDocumentCtrl(0x51, &edit, QStringLiteral("Number")));
    EXPECT_EQ(edit.Text(), QStringLiteral(" 45 09 123456"));
    EXPECT_EQ(fake.calls.front(), "ScPackageGetFieldValue(81, Series)");
    EXPECT_TRUE(fake.lastFieldAttrGiven);
}

TEST_F(FillDocumentControl, TwoEmptyValuesLeaveTheEditCountingAsEmpty)
{
    field("Series", "");
    field("Number", std::nullopt); // the engine may return no text at all
    EXPECT_TRUE(FillDocumentCtrl(0x51, &edit, QStringLiteral("Series")));
    EXPECT_TRUE(FillDocumentCtrl(0x51, &edit, QStringLiteral("Number")));
    EXPECT_EQ(edit.Text(), QStringLiteral("  "));
}

TEST_F(FillDocumentControl, CaptionedEditMarkingByFlagsWithErrorWinningOverDoubt)
{
    field("Clean", "ИВАНОВ", 0);
    field("Doubt", "ИВАНОВ", SCF_VRS_WARNING);
    field("Error", "ИВАНОВ", SCF_VRS_ERROR);
    field("Both", "ИВАНОВ", SCF_VRS_WARNING | SCF_VRS_ERROR);

    FillDocumentCtrl(0x51, &edit, QStringLiteral("Doubt"));
    expectMarking(edit, QColor(255, 255, 128), doubt);
    FillDocumentCtrl(0x51, &edit, QStringLiteral("Clean"));
    expectMarking(edit, QColor(255, 255, 255), QString());
    FillDocumentCtrl(0x51, &edit, QStringLiteral("Error"));
    expectMarking(edit, QColor(255, 128, 128), wrong);
    FillDocumentCtrl(0x51, &edit, QStringLiteral("Both"));
    expectMarking(edit, QColor(255, 128, 128), wrong);
    EXPECT_EQ(edit.Edit()->toolTip(), wrong);
}

TEST_F(FillDocumentControl, TheAttributeRecordStartsZeroed)
{
    fake.fillAttributes = false; // an engine that leaves the record as given
    field("Name", "ИВАН", SCF_VRS_ERROR);
    field("IssueDate", "01.01.1990", SCF_VRS_ERROR);
    FillDocumentCtrl(0x51, &edit, QStringLiteral("Name"));
    expectMarking(edit, QColor(255, 255, 255), QString());
    EXPECT_TRUE(FillDocumentCtrl(0x51, &date, QStringLiteral("IssueDate")));
    expectMarking(date, QColor(255, 255, 255), QString());
}

TEST_F(FillDocumentControl, DateEditTakesTheDateAndMarksIt)
{
    field("BirthDate", "12.05.1980", SCF_VRS_WARNING);
    EXPECT_TRUE(FillDocumentCtrl(0x51, &date, QStringLiteral("BirthDate")));
    EXPECT_EQ(date.Date(), QDate(1980, 5, 12));
    expectMarking(date, QColor(255, 255, 128), doubt);

    field("BirthDate", "", 0);
    EXPECT_FALSE(FillDocumentCtrl(0x51, &date, QStringLiteral("BirthDate")));
    EXPECT_TRUE(date.IsNull());
    expectMarking(date, QColor(255, 255, 255), QString());
}

TEST_F(FillDocumentControl, ADateTheEditRejectsMarksAnErrorWithoutRaising)
{
    for (const char *value : {"31.02.1980", "12 мая", "\xD0"}) {
        SCOPED_TRACE(value);
        field("BirthDate", value, 0);
        bool result = true;
        EXPECT_NO_THROW(result = FillDocumentCtrl(0x51, &date, QStringLiteral("BirthDate")));
        EXPECT_FALSE(result);
        EXPECT_TRUE(date.IsNull());
        expectMarking(date, QColor(255, 128, 128), wrong);
    }
}

TEST_F(FillDocumentControl, AFailingEngineCallMarksTheDateEditAsAnError)
{
    ScPackageGetFieldValue = nullptr;
    EXPECT_FALSE(FillDocumentCtrl(0x51, &date, QStringLiteral("BirthDate")));
    expectMarking(date, QColor(255, 128, 128), wrong);
    // The captioned edit lets the failure reach the caller.
    EXPECT_THROW(FillDocumentCtrl(0x51, &edit, QStringLiteral("Name")), scapi::EEntryPointMissing);
}

TEST_F(FillDocumentControl, AnyOtherControlIsLeftAlone)
{
    QLineEdit plain;
    field("Name", "ИВАН", SCF_VRS_ERROR);
    EXPECT_FALSE(FillDocumentCtrl(0x51, &plain, QStringLiteral("Name")));
    EXPECT_FALSE(FillDocumentCtrl(0x51, nullptr, QStringLiteral("Name")));
    EXPECT_TRUE(plain.text().isEmpty());
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(FillDocumentControl, AValueThatIsNotValidTextIsTakenAsFarAsItIsValid)
{
    field("Surname", "\xD0\x98\xD0\x92\xFF\xD0\x90");
    EXPECT_FALSE(FillDocumentCtrl(0x51, &edit, QStringLiteral("Surname")));
    EXPECT_EQ(edit.Text(), QStringLiteral(" ИВ"));
}

} // namespace
