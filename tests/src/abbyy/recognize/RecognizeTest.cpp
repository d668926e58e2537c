// The scan and recognise operations of the recognition window, driven as an
// operator would, against the in-process engine.
#include "support/FakeEngine.h"
#include "support/TestSupport.h"

#include "abbyy/engABBYY9r_FM.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <utility>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

QImage Picture(int w, int h, QColor c = Qt::darkCyan)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

class Recognize : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = fake::make<fake::Engine>();
        engine->scanners = {"Fake scanner"};
        engine->settings = {fake::Strings({{"brightness", "50"}})};
        gl_RecognitionEngine = IRecognitionEnginePtr(engine.get());
        gl_ScanSettings = nullptr;
        gl_PhotoToAccountData = gl_DocumentToAccountData = gl_FIOOnLatin = false;
        form = std::make_unique<TABBYYRecognitionFM>();
        passport = new TDocumentInfo("Passport_RU", "РФ: паспорт", "паспорт", "РОССИЯ", tdPassport, true);
        foreign = new TDocumentInfo("ForeignPassport_RU", "РФ: загранпаспорт", "загранпаспорт", "", tdForeignPassport, true);
        form->AddPassportType(passport->FDocName, passport);
        form->AddPassportType(foreign->FDocName, foreign);
        form->cbPassportTypes->setCurrentIndex(0);
        form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
        form->pgcRecognize->setCurrentWidget(form->tsAdd);
        form->cbScanListForTest->addItem("Fake scanner");
        form->cbScanListForTest->setCurrentIndex(0);
    }
    void TearDown() override
    {
        form.reset();
        gl_RecognitionEngine = nullptr;
        gl_ScanSettings = nullptr;
        engine = nullptr;
    }
    void Edit()
    {
        form->pgcRecognize->setCurrentWidget(form->tsEdit);
    }
    /// The fields of the next result; a page field the engine did not find
    /// is added unless the test gives one, so no picture message interferes.
    void Fields(std::vector<fake::Field> fields, bool withPage = true)
    {
        const bool hasPage = std::any_of(fields.cbegin(), fields.cend(), [](const fake::Field &f) { return f.name == "FullImage"; });
        if (withPage && !hasPage)
            fields.emplace_back("FullImage", "", false);
        engine->fields = std::move(fields);
    }
    QString NotRecognized() const { return LoadResString(&_S_NOT_RECOGNIZED); }
    QStringList Texts() const
    {
        QStringList out;
        for (const auto &c : boxes.calls)
            out << c.text;
        return out;
    }
    QStringList DataFolderPictures() const
    {
        return QDir(GetUserDataFolder()).entryList({"*.jpg"}, QDir::Files);
    }

    ComPtr<fake::Engine> engine;
    std::unique_ptr<TABBYYRecognitionFM> form;
    TDocumentInfo *passport = nullptr;
    TDocumentInfo *foreign = nullptr;
    r9test::MessageBoxRecorder boxes;
};

TEST_F(Recognize, SeriesAndNumberJoinWithOneBlankAndKeepBlanksOfTheSeries)
{
    Fields({{"Series", "45 06"}, {"Number", "123456", true, {2}}, {"LastName", "ИВАНОВ"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPassportNumber->Text(), "45 06 123456");
    EXPECT_TRUE(form->ledPassportNumber->IsFontRed()) << "an untrusted symbol of the number";
    EXPECT_FALSE(form->ledLastName->IsFontRed());
    EXPECT_EQ(engine->scannedAndRecognized, QStringList{"Passport_RU"});
    EXPECT_TRUE(boxes.calls.empty()) << Texts().join('|').toStdString();
    EXPECT_TRUE(form->bSave->isDefault());
}

TEST_F(Recognize, NumberFallsBackToPersonalCodeAndMarksAMissingNumberOnlyWhereItShould)
{
    Fields({{"PersonalCode", "AB1234", true, {0}}, {"LastName", "ИВАНОВ"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPassportNumber->Text(), "AB1234");
    EXPECT_TRUE(form->ledPassportNumber->IsFontRed());

    // Nothing at all: the add page stays empty and black...
    Fields({{"LastName", "ИВАНОВ"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPassportNumber->Text(), "");
    EXPECT_FALSE(form->ledPassportNumber->IsFontRed());
    EXPECT_EQ(form->ledLastName->Text(), "ИВАНОВ") << "later fields still set the flag";
    EXPECT_TRUE(boxes.calls.empty());

    // ...a "Number" field that came back empty is marked on the add page...
    Fields({{"Number", ""}, {"LastName", "ИВАНОВ"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPassportNumber->Text(), NotRecognized());
    EXPECT_TRUE(form->ledPassportNumber->IsFontRed());

    // ...and the edit page always marks a missing number.
    Edit();
    Fields({{"LastName", "ИВАНОВ"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPassportNumberRec->Text(), NotRecognized());
    EXPECT_TRUE(form->ledPassportNumberRec->IsFontRed());
}

TEST_F(Recognize, LatinNamesOnlyForForeignPassportsWithTheBoxTicked)
{
    Fields({{"Number", "1"}, {"LastName", "ИВАНОВ"}, {"LastName_EX", "IVANOV"}, {"FirstName", "ИВАН"},
            {"FirstName_EX", "IVAN"}, {"Sex", "МУЖ"}, {"Sex_EX", "M"}, {"Nationality_EX", "RUS"}});
    form->cxFIOInLatin->setChecked(true);
    form->acRecognize->trigger(); // national passport: plain names
    EXPECT_EQ(form->ledLastName->Text(), "ИВАНОВ");
    EXPECT_TRUE(gl_FIOOnLatin);

    form->cbPassportTypes->setCurrentIndex(1);
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledLastName->Text(), "IVANOV");
    EXPECT_EQ(form->ledFirstName->Text(), "IVAN");
    EXPECT_EQ(form->ledSex->Text(), "M");
    EXPECT_EQ(form->ledNationality->Text(), "RUS");

    form->cxFIOInLatin->setChecked(false);
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledLastName->Text(), "ИВАНОВ");
    EXPECT_FALSE(gl_FIOOnLatin);
    EXPECT_EQ(form->ledNationality->Text(), "") << "the foreign passport type has no default nationality";
}

TEST_F(Recognize, DefaultNationalityAloneIsNotARecognition)
{
    Fields({{"Photo", "", false}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledNationality->Text(), "РОССИЯ");
    EXPECT_FALSE(form->ledNationality->IsFontRed());
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_DOC_NOT_RECOGNIZED));
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_MESSAGE));
    EXPECT_TRUE(form->bRecognize->isDefault());
    EXPECT_FALSE(form->bSave->isDefault());
}

TEST_F(Recognize, EditPageMarksValuesThatDifferBeyondCaseAndBlanks)
{
    Edit();
    form->ledLastNameCurr->SetText("  иванов ");
    form->ledFirstNameCurr->SetText("Пётр");
    form->ledMiddleNameCurr->SetText("");
    form->ledSexCurr->SetText("ЖЕН"); // sex is never compared
    form->dteDateOfBirthCurr->SetDate(QDate(1980, 1, 2));
    form->dteDateOfIssueCurr->SetDate(QDate(2000, 1, 2));
    form->dteDateOfExpiryCurr->SetDate(QDate(2030, 1, 2));
    Fields({{"Number", "1"}, {"LastName", "ИВАНОВ"}, {"FirstName", "ПАВЕЛ"}, {"MiddleName", "ИВАНОВИЧ"},
            {"Sex", "МУЖ"}, {"DateOfBirth", "02.01.1980"}, {"DateOfIssue", "03.01.2000"}});
    form->acRecognize->trigger();
    EXPECT_FALSE(form->ledLastNameRec->IsFontRed());
    EXPECT_TRUE(form->ledFirstNameRec->IsFontRed());
    EXPECT_FALSE(form->ledMiddleNameRec->IsFontRed()) << "no current value, nothing to differ from";
    EXPECT_FALSE(form->ledSexRec->IsFontRed());
    EXPECT_FALSE(form->dteDateOfBirthRec->IsFontRed());
    EXPECT_EQ(form->dteDateOfBirthRec->Date(), QDate(1980, 1, 2));
    EXPECT_TRUE(form->dteDateOfIssueRec->IsFontRed());
    EXPECT_TRUE(form->dteDateOfExpiryRec->IsNull()) << "a missing field stays empty";
    EXPECT_TRUE(form->dteDateOfExpiryRec->IsFontRed()) << "and an empty date differs from a current one";
}

TEST_F(Recognize, FieldClaimingMoreSymbolsThanAnyDocumentHoldsIsDoubtfulAtOnce)
{
    // Every symbol the engine is asked for is trusted: only the claimed count
    // is wrong. Asking for each of them would hold the window for minutes.
    fake::Field number("Number", "123456");
    number.length = std::numeric_limits<std::int32_t>::max();
    number.symbolsPastValue = true;
    fake::Field surname("LastName", "ИВАНОВ");
    surname.length = 4096;
    surname.symbolsPastValue = true;
    Fields({number, surname});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPassportNumber->Text(), "123456");
    EXPECT_TRUE(form->ledPassportNumber->IsFontRed());
    EXPECT_FALSE(form->ledLastName->IsFontRed()) << "a long field whose every symbol is trusted";
}

TEST_F(Recognize, DatesThatDoNotConvertAreEmptyOnAddAndTodayInRedOnEdit)
{
    Fields({{"Number", "1"}, {"DateOfBirth", "31.02.1980"}, {"DateOfIssue", "14.05.2012", true, {0}}});
    form->acRecognize->trigger();
    EXPECT_TRUE(form->dteDateOfBirth->IsNull());
    EXPECT_TRUE(form->dteDateOfBirth->IsFontRed()) << "empty, but marked: the document had a date there";
    EXPECT_FALSE(form->dteDateOfExpiry->IsFontRed()) << "absent from the result: nothing to mark";
    EXPECT_EQ(form->dteDateOfIssue->Date(), QDate(2012, 5, 14));
    EXPECT_TRUE(form->dteDateOfIssue->IsFontRed());

    Edit();
    form->acRecognize->trigger();
    EXPECT_EQ(form->dteDateOfBirthRec->Date(), QDate::currentDate());
    EXPECT_TRUE(form->dteDateOfBirthRec->IsFontRed());
    EXPECT_TRUE(form->dteDateOfExpiryRec->IsNull());
    EXPECT_FALSE(form->dteDateOfExpiryRec->IsFontRed()) << "missing, and no current value";
}

TEST_F(Recognize, TextRulesLinesHintAndEmptyFields)
{
    Edit();
    Fields({{"Number", "1"}, {"PlaceOfBirth", "ГОР. ЛУГОВСК\r\nОБЛ."}, {"IssuedBy", "ОВД\nГОР. Н"},
            {"MiddleName", "  "}});
    form->ledIssuedByRec->SetHint("old");
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledPlaceOfBirthRec->Text(), "ГОР. ЛУГОВСК  ОБЛ.");
    EXPECT_EQ(form->ledIssuedByRec->Text(), "ОВД ГОР. Н");
    EXPECT_EQ(form->ledIssuedByRec->Hint(), "ОВД\nГОР. Н");
    EXPECT_EQ(form->ledMiddleNameRec->Text(), NotRecognized());
    EXPECT_TRUE(form->ledMiddleNameRec->IsFontRed());
    EXPECT_EQ(form->ledFirstNameRec->Text(), "") << "absent fields are not marked";
    EXPECT_FALSE(form->ledFirstNameRec->IsFontRed());
}

TEST_F(Recognize, ValuesAreNeverCutToTheEditsLimit)
{
    const QString authority = QString(120, QChar(u'А')) + "\n" + QString(150, QChar(u'Б')) + " КОНЕЦ";
    const QString longSex = "ЖЕНСКИЙ / F";
    Fields({{"Number", "1"}, {"Sex", ""}, {"IssuedBy", authority}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledSex->Text(), NotRecognized()) << "found but empty";
    EXPECT_EQ(form->ledIssuedBy->Text(), QString(authority).replace('\n', ' '));
    EXPECT_GT(form->ledIssuedBy->Text().size(), 255);

    // On the edit page: the engine's value, and the current value copied over it.
    Edit();
    Fields({{"Number", "1"}, {"Sex", longSex}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledSexRec->Text(), longSex);
    form->ledIssuedByCurr->SetText(authority);
    EXPECT_EQ(form->ledIssuedByCurr->Text(), authority);
    form->ActionListUpdate();
    form->cxCopyIssueBy->setChecked(true);
    form->sbCopyCurrentDataClick();
    EXPECT_EQ(form->ledIssuedByRec->Text(), authority);
}

TEST_F(Recognize, EveryRunStartsFromCleanControls)
{
    Fields({{"Number", "1", true, {0}}, {"LastName", "ИВАНОВ", true, {0}}, {"DateOfBirth", "01.01.1990"}});
    form->acRecognize->trigger();
    ASSERT_TRUE(form->ledLastName->IsFontRed());
    Fields({{"Number", "2"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledLastName->Text(), "");
    EXPECT_FALSE(form->ledLastName->IsFontRed());
    EXPECT_FALSE(form->ledPassportNumber->IsFontRed());
    EXPECT_TRUE(form->dteDateOfBirth->IsNull());
    EXPECT_EQ(form->ListBox2->count(), 2);
    EXPECT_EQ(form->ListBox2->item(0)->text(), "1, Number, 2");
}

TEST_F(Recognize, APressWhileTheEngineWorksStartsNoSecondRun)
{
    Fields({{"Number", "1"}, {"LastName", "ИВАНОВ"}});
    // A scanner's own event loop lets the operator's second press through.
    bool pressed = false;
    engine->onCall = [this, &pressed](const QString &operation) {
        if (operation == QLatin1String("ScanAndRecognize") && !std::exchange(pressed, true))
            form->acRecognize->trigger();
    };
    form->acRecognize->trigger();
    EXPECT_EQ(engine->scannedAndRecognized.size(), 1);
    EXPECT_EQ(form->ledLastName->Text(), "ИВАНОВ");
    engine->onCall = nullptr;
    form->acRecognize->trigger();
    EXPECT_EQ(engine->scannedAndRecognized.size(), 2) << "a press after the run starts the next one";
}

TEST_F(Recognize, StoredScanIsRecognisedAgainWithoutScanning)
{
    const QString scanned = r9test::TestHome() + "/page-0001.tmp";
    ASSERT_TRUE(Picture(40, 20).save(scanned, "BMP"));
    engine->scanFile = scanned;
    form->rgRotation->SetItemIndex(2);
    form->acScan->trigger();
    const QString bmp = r9test::TestHome() + "/page-0001.bmp";
    EXPECT_EQ(form->FFileName, bmp);
    EXPECT_TRUE(QFile::exists(bmp));
    EXPECT_FALSE(QFile::exists(scanned));
    EXPECT_EQ(form->imgTempRecognize->Picture().size(), QSize(40, 20));
    EXPECT_EQ(form->imgWorkRecognize->Picture().size(), QSize(20, 40)) << "turned clockwise by rgRotation";
    EXPECT_EQ(form->imgTempRecognize->Tag(), 1);

    Fields({{"Number", "1"}});
    form->acRecognize->trigger();
    form->acRecognize->trigger();
    EXPECT_EQ(engine->scans, 1);
    EXPECT_EQ(engine->recognized, QStringList({bmp + "|Passport_RU", bmp + "|Passport_RU"}));
    EXPECT_TRUE(engine->scannedAndRecognized.isEmpty());

    // Once the file is gone, "Распознать" scans and recognises in one call.
    QFile::remove(bmp);
    form->acRecognize->trigger();
    EXPECT_EQ(engine->scannedAndRecognized, QStringList{"Passport_RU"});
}

TEST_F(Recognize, AScanTooTallToTurnIsReportedAndKeptAsScanned)
{
    // A run-length page 2^28 rows tall of one pixel: it loads, yet no picture
    // can be that wide, so its quarter turn cannot be made.
    QByteArray bmp(62, '\0');
    auto put = [&bmp](int at, quint32 v) { qToLittleEndian(v, bmp.data() + at); };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, 64), put(10, 62), put(14, 40), put(18, 1), put(22, 1u << 28);
    put(26, 1 | 8 << 16), put(30, 1), put(34, 2), put(46, 2);
    bmp.append("\0\1", 2); // end of the picture: every row left blank
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    for (int rotation : {1, 2}) {
        QFile file(r9test::TestHome() + "/tall.tmp");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bmp) == bmp.size());
        file.close();
        engine->scanFile = file.fileName();
        form->rgRotation->SetItemIndex(rotation);
        boxes.calls.clear();
        form->acScan->trigger();
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_NOT_ENOUGH_RESOURCE));
        EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_MESSAGE));
        EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Information);
        EXPECT_EQ(form->imgTempRecognize->Picture().height(), 1 << 28);
        EXPECT_EQ(form->imgWorkRecognize->Picture().cacheKey(), form->imgTempRecognize->Picture().cacheKey());
        EXPECT_EQ(form->imgTempRecognize->Tag(), 0);
        EXPECT_EQ(form->FFileName, r9test::TestHome() + "/tall.bmp");
        EXPECT_TRUE(form->isEnabled());
    }
    QImageReader::setAllocationLimit(limit);
}

TEST_F(Recognize, ScanReplacesAnOlderFileOfTheSameNameAndReportsFailures)
{
    const QString bmp = r9test::TestHome() + "/page.bmp";
    ASSERT_TRUE(Picture(8, 8, Qt::red).save(bmp, "BMP"));
    const QString scanned = r9test::TestHome() + "/page.tmp";
    ASSERT_TRUE(Picture(30, 10).save(scanned, "BMP"));
    engine->scanFile = scanned;
    form->acScan->trigger();
    EXPECT_EQ(form->imgWorkRecognize->Picture().size(), QSize(30, 10)) << "the new scan, not the old file";

    // The file vanished before it could be moved: the name is kept, no picture.
    engine->scanFile = r9test::TestHome() + "/gone.tmp";
    form->acScan->trigger();
    EXPECT_EQ(form->FFileName, r9test::TestHome() + "/gone.bmp");
    EXPECT_FALSE(form->imgWorkRecognize->HasGraphic());
    EXPECT_TRUE(boxes.calls.empty());

    engine->failing.Add("Scan", "Сканер не отвечает");
    form->imgTempRecognize->SetTag(3);
    form->acScan->trigger();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "Сканер не отвечает");
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
    EXPECT_FALSE(form->imgTempRecognize->HasGraphic());
    EXPECT_EQ(form->imgTempRecognize->Tag(), 0);
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(Recognize, BrightnessZeroIsMovedToFiftyBeforeScanAndRecognise)
{
    form->tbBrightness->SetPosition(0);
    Fields({{"Number", "1"}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->tbBrightness->Position(), 50);
}

TEST_F(Recognize, EngineFailureNoScannerAndNoDocumentType)
{
    engine->failing.Add("Recognize", "Ошибка ядра");
    engine->failing.Add("ScanAndRecognize", "Ошибка ядра");
    form->acRecognize->trigger();
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[0].text, "Ошибка ядра");
    EXPECT_EQ(boxes.calls[1].text, LoadResString(&_S_DOC_NOT_RECOGNIZED));
    boxes.calls.clear();

    engine->failing.clear();
    form->cbScanListForTest->setCurrentIndex(-1);
    form->acRecognize->trigger();
    EXPECT_EQ(Texts(), QStringList{LoadResString(&_S_DOC_NOT_RECOGNIZED)});
    EXPECT_TRUE(engine->scannedAndRecognized.size() == 1) << "no engine call without a scanner";
    boxes.calls.clear();

    form->cbScanListForTest->setCurrentIndex(0);
    form->cbPassportTypes->setCurrentIndex(-1);
    form->imgPhoto->SetPicture(Picture(4, 4));
    form->acRecognize->trigger();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
    EXPECT_EQ(engine->scannedAndRecognized.size(), 1);
    EXPECT_FALSE(form->imgPhoto->HasGraphic()) << "pictures are cleared first";
}

TEST_F(Recognize, PhotoAndFullPictureGoThroughTheDataFolderAndLeaveNoFile)
{
    form->cxPhotoToAccoutData->setChecked(true);
    form->cxDocPictureToAccoutData->setChecked(true);
    Fields({{"Number", "1"}, {"Photo", "photo", true, {}, Picture(12, 16)}, {"FullImage", "page", true, {}, Picture(60, 40)}});
    form->acRecognize->trigger();
    EXPECT_EQ(form->imgPhoto->Picture().size(), QSize(12, 16));
    EXPECT_EQ(form->imgWorkRecognize->Picture().size(), QSize(60, 40));
    EXPECT_EQ(engine->savedTo, QStringList({GetUserDataFolder() + "Photo.jpg", GetUserDataFolder() + "FullImage.jpg"}));
    EXPECT_TRUE(DataFolderPictures().isEmpty());

    // Not wanted: the engine is not asked to save anything.
    engine->savedTo.clear();
    form->cxPhotoToAccoutData->setChecked(false);
    form->cxDocPictureToAccoutData->setChecked(false);
    form->acRecognize->trigger();
    EXPECT_FALSE(form->imgPhoto->HasGraphic());
    EXPECT_FALSE(form->imgWorkRecognize->HasGraphic());
    EXPECT_TRUE(engine->savedTo.isEmpty());
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(Recognize, FullPictureFallsBackToThePageFileAndSaysWhenThereIsNone)
{
    const QString page = r9test::TestHome() + "/page.bmp";
    ASSERT_TRUE(Picture(50, 30).save(page, "BMP"));
    form->cxPhotoToAccoutData->setChecked(true);
    form->cxDocPictureToAccoutData->setChecked(true);
    engine->pagePath = page;
    Fields({{"Number", "1"}, {"Photo", "photo", true, {}, Picture(12, 16), true},
            {"FullImage", "page", true, {}, Picture(60, 40), true}});
    form->acRecognize->trigger();
    EXPECT_FALSE(form->imgPhoto->HasGraphic());
    EXPECT_EQ(form->imgWorkRecognize->Picture().size(), QSize(50, 30));
    EXPECT_TRUE(DataFolderPictures().isEmpty()) << "failed saves leave no file behind";
    EXPECT_TRUE(boxes.calls.empty());

    Fields({{"Number", "1"}}, false);
    engine->pagePath = QString();
    form->acRecognize->trigger();
    EXPECT_EQ(Texts(), QStringList{LoadResString(&_S_DOC_PICTURE_NOT_RETURNED)});
}

TEST_F(Recognize, CopyTakesTickedCurrentValuesTrimmedAndDatesAsTheyAre)
{
    Edit();
    form->ledLastNameCurr->SetText("  Иванов ");
    form->ledFirstNameCurr->SetText("Иван");
    form->ledFirstNameRec->SetText("ИВАН");
    form->dteDateOfBirthRec->SetDate(QDate(1999, 9, 9));
    form->ledLastNameRec->SetFontColor(QColor(255, 0, 0));
    form->cxCopyLastName->setChecked(true);
    form->cxCopyBirthDate->setChecked(true); // the current date is Null
    form->sbCopyCurrentDataClick();
    EXPECT_EQ(form->ledLastNameRec->Text(), "Иванов");
    EXPECT_TRUE(form->ledLastNameRec->IsFontRed()) << "copying keeps colours";
    EXPECT_EQ(form->ledFirstNameRec->Text(), "ИВАН");
    EXPECT_TRUE(form->dteDateOfBirthRec->IsNull());
}

} // namespace
