// The scan-and-recognise run against the in-process fake of the engine
// library: the fields of each kind of document on both data pages, the
// marking, the photo, the repeat offer, and every failure with what the
// operator sees and what is left behind.
#include "CognitiveFixture.h"

#include "common/FieldOutcome.h"
#include "common/PackageFiles.h"
#include "common/TProfileFile.h"
#include "base/engCommon9rMessages.h"
#include "scanify/CognitiveForms.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPainter>
#include <QPushButton>

using namespace r9test;
using Field = r9test::FakeScanify::Field;

namespace {

class CognitiveScan : public CognitiveFixture
{
protected:
    void Passport1()
    {
        Document("Passport1", {{"PP_SurName", {"ИВАНОВ", 4}},
                               {"PP_Name", {"ИВАН", 0}},
                               {"PP_SecName", {"ИВАНОВИЧ", 0}},
                               {"PP_Sex", {"МУЖ.", 0}},
                               {"PP_BirthDate", {"02.03.1980", 0}},
                               {"PP_BirthPlace", {"ГОР. МОСКВА", 0}},
                               {"PP_Ser2", {"45 00", 0}},
                               {"PP_Num2", {"123456", 8}},
                               {"PP_Kem", {"ОВД ЦЕНТРАЛЬНОГО РАЙОНА", 0}},
                               {"PP_Date", {"04.05.2001", 0}},
                               {"PP_Podr", {"770-001", 0}}});
        Photo("photo", QStringLiteral("photo1.jpg"));
    }
    void Mrz(bool surnameRead)
    {
        Document("InoPas_MRZ", {{"IN_SurName", {surnameRead ? "IVANOV" : "", surnameRead ? 0 : 8}},
                                {"IN_Name", {"", 8}},
                                {"IN_SerNum", {"751234567", 0}},
                                {"IN_BirthDate", {"02.03.1980", 0}},
                                {"IN_Sex", {"M", 0}},
                                {"IN_Expiry", {"01.01.2030", 0}},
                                {"IN_CNT", {"RUSSIA", 0}},
                                {"IN_KOD", {"RUS", 0}}});
    }
    void Recognize() { form->bRecognize->click(); }
    QStringList Calls() const
    {
        QStringList list;
        for (const std::string &c : fake.calls)
            list << QString::fromStdString(c);
        return list;
    }
    bool Called(const char *name) const { return fake.CallCount(name) > 0; }
    void ExpectOneBox(const QString &text, const ResString *caption, QMessageBox::Icon icon)
    {
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, text);
        EXPECT_EQ(boxes.calls[0].caption, LoadResString(caption));
        EXPECT_EQ(boxes.calls[0].icon, icon);
        EXPECT_EQ(boxes.calls[0].owner, form);
        EXPECT_EQ(boxes.calls[0].languageId, 0x19);
    }
    /// After every run: the form enabled, the scanner closed, no hourglass.
    void ExpectCleanedUp()
    {
        EXPECT_TRUE(form->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        const int opened = fake.openResult != 0 ? fake.CallCount("ScScannerOpen") : 0;
        EXPECT_EQ(opened, fake.CallCount("ScScannerClose"));
    }
    const QString cr2 = QStringLiteral("\r\r");
};

TEST_F(CognitiveScan, InternalPassportOnTheAddPage)
{
    Passport1();
    gl_TwainDialogNeed = true;
    Create();
    Show();
    form->ledNationality->SetText(QStringLiteral("из прошлого"));
    Recognize();
    EXPECT_TRUE(boxes.calls.empty());
    ExpectCleanedUp();
    EXPECT_EQ(fake.lastContextFile, DataFile("ScApi_270.Ini").toStdString()) << "the file as written, whatever its case";
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral(" ИВАНОВ"));
    EXPECT_EQ(form->ledMiddleName->Text(), QStringLiteral(" ИВАНОВИЧ"));
    EXPECT_EQ(form->ledPassportNumber->Text(), QStringLiteral(" 45 00 123456")) << "series and number after a blank";
    EXPECT_EQ(form->dteDateOfBirth->Date(), QDate(1980, 3, 2));
    EXPECT_EQ(form->dteDateOfIssue->Date(), QDate(2001, 5, 4));
    EXPECT_TRUE(form->dteDateOfExpiry->IsNull());
    EXPECT_EQ(form->ledDepartmentCode->Text(), QStringLiteral(" 770-001"));
    EXPECT_TRUE(form->ledNationality->Text().isEmpty()) << "cleared before the run; not read for this document";
    EXPECT_EQ(form->ledLastName->BackgroundColor(), scanify::DoubtfulFieldColor());
    EXPECT_EQ(form->ledLastName->Hint(), LoadResString(&_S_DOUNT_IN_RECOGNITION));
    EXPECT_EQ(form->ledPassportNumber->BackgroundColor(), scanify::ErroneousFieldColor())
        << "the number's error flag marks the edit after its series";
    EXPECT_EQ(form->ledFirstName->BackgroundColor(), scanify::NormalFieldColor());
    EXPECT_EQ(form->FDocumentName, LoadResString(&_S_PASSPORT));
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
    EXPECT_EQ(form->imgWorkRecognize->Picture().size(), QSize(60, 40));
    EXPECT_EQ(form->imgPhoto->Picture().size(), QSize(20, 30));
    EXPECT_TRUE(form->bSave->isDefault());
    EXPECT_FALSE(form->bRecognize->isDefault());
    EXPECT_TRUE(form->pnlRepeatRecognize->isHidden());
    EXPECT_EQ(fake.lastExportFile, (packageFolder + QStringLiteral("/PassportRF.jpg")).toStdString());
    EXPECT_EQ(fake.lastExportOptions.nJpegQuality, 35);
    EXPECT_EQ(fake.lastExportOptions.nSaveFormat, SC_IMGSAVE_JPG);
    // The TWAIN-dialog wish went into both configuration files.
    for (const char *name : {"ScApi_90.Ini", "ScApi_270.Ini"})
        EXPECT_EQ(TProfileFile(DataFile(name)).ReadInteger(QStringLiteral("ScanAllDocuments"), QStringLiteral("ShowTWAIN"), -1), 1)
            << name;
    // The engine calls in their order; only the first document is read.
    const QStringList names = [&] {
        QStringList l;
        for (const std::string &n : fake.CallNames())
            l << QString::fromStdString(n);
        return l;
    }();
    QStringList order;
    for (const char *n : {"ScSetupContext", "ScPackageCreate", "ScScannerOpen", "ScScannerSetConfiguration",
                          "ScPackageScan", "ScImageExport", "ScScannerClose", "ScPackageRecog", "ScPackageGetFirstDoc",
                          "ScPackageGetDocInformation", "ScPackageGetFormInformation"})
        order << QLatin1String(n);
    QStringList seen;
    for (const QString &n : names)
        if (order.contains(n) && !seen.contains(n))
            seen << n;
    EXPECT_EQ(seen, order);
    EXPECT_EQ(fake.CallCount("ScPackageGetNextDoc"), 0);
    EXPECT_TRUE(Calls().contains(QStringLiteral("ScScannerSetConfiguration(49, ScanAllDocuments)")));
    EXPECT_EQ(fake.CallCount("ScPackageGetFieldInformation"), int(fake.formFields.size()));
}

TEST_F(CognitiveScan, EditPageGetsTheRecognisedColumnAndTheIssuerAsHint)
{
    Passport1();
    Create(true);
    Show();
    form->ledLastNameCurr->SetText(QStringLiteral("ПЕТРОВ"));
    Recognize();
    EXPECT_EQ(form->ledLastNameRec->Text().trimmed(), QStringLiteral("ИВАНОВ"));
    EXPECT_EQ(form->ledLastNameCurr->Text(), QStringLiteral("ПЕТРОВ"));
    EXPECT_TRUE(form->ledLastName->Text().isEmpty());
    EXPECT_EQ(form->ledIssuedByRec->Hint(), form->ledIssuedByRec->Text());
    EXPECT_EQ(form->dteDateOfBirthRec->Date(), QDate(1980, 3, 2));
}

TEST_F(CognitiveScan, EachKindOfDocumentFillsItsFieldsAndNamesItself)
{
    struct Kind
    {
        const char *formId;
        const ResString *name;
        const char *photoField;
    };
    for (const Kind &k : {Kind{"biopasp_mdl", &_S_FOREIGN_PASSPORT_RF, "IN_PHOTO2"},
                          Kind{"InoPas1", &_S_FOREIGN_PASSPORT_RF, "IN_PHOTO2"},
                          Kind{"DRVL", &_S_DRIVER_LICENSE, "photo"},
                          Kind{"InoPas_MRZ", &_S_FOREIGN_PASSPORT, "IN_FOTO"}}) {
        SCOPED_TRACE(k.formId);
        const scanify::TCognitiveForm *kind = scanify::FindCognitiveForm(QLatin1String(k.formId));
        ASSERT_NE(kind, nullptr);
        std::map<std::string, Field> fields;
        int n = 0;
        for (const scanify::TFieldMapping &m : kind->Fields())
            fields[m.engineField] = Field{QStringLiteral("V%1").arg(++n).toStdString(), 0};
        Document(k.formId, fields);
        Photo(k.photoField, QStringLiteral("p.jpg"));
        fake.calls.clear();
        Create();
        Show();
        Recognize();
        EXPECT_TRUE(boxes.calls.empty());
        EXPECT_EQ(form->FDocumentName, LoadResString(k.name));
        EXPECT_TRUE(form->imgPhoto->HasGraphic());
        // Every mapped field was asked for, in the order of its table, and landed in its control.
        QStringList asked;
        for (const std::string &c : fake.calls)
            if (c.rfind("ScPackageGetFieldValue", 0) == 0)
                asked << QString::fromStdString(c.substr(c.find(", ") + 2, c.size() - c.find(", ") - 3));
        QStringList expected;
        for (const scanify::TFieldMapping &m : kind->Fields())
            expected << QLatin1String(m.engineField);
        expected << QLatin1String(k.photoField);
        EXPECT_EQ(asked, expected);
        for (const scanify::TFieldMapping &m : kind->Fields()) {
            auto *edit = form->Fields().Text(m.target, recognition::TColumn::Add);
            if (edit) {
                EXPECT_TRUE(edit->Text().contains(QString::fromStdString(fields[m.engineField].value.value_or(""))))
                    << m.engineField;
            }
        }
        delete form;
        form = nullptr;
    }
    // The machine-readable zone joins country and code in the nationality.
    EXPECT_TRUE(scanify::FindCognitiveForm(QStringLiteral("inopas_mrz")) == nullptr) << "identifiers compare exactly";
}

TEST_F(CognitiveScan, UnsupportedIdentifierFillsNothingAndSaysSoAsForNoDocument)
{
    Document("PaspBLR1", {{"PP_SurName", {"ИВАНОВ", 0}}, {"photo", {"photo1.jpg", 0}}});
    Create();
    Show();
    Recognize();
    ExpectOneBox(LoadResString(&_S_DOCUMENT_NOT_SUPPORTED), &_S_MESSAGE, QMessageBox::Information);
    EXPECT_TRUE(form->ledLastName->Text().isEmpty());
    EXPECT_FALSE(form->imgPhoto->HasGraphic());
    EXPECT_EQ(fake.CallCount("ScPackageGetFieldValue"), 0);
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic()) << "the scanned page is shown";
    EXPECT_FALSE(form->bSave->isDefault());
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, TheKindOfDocumentOfAnEarlierRunIsClearedByEveryRun)
{
    Create();
    Show();
    // Later runs on a form the window does not take, on no document, on nothing scanned.
    for (int later = 0; later < 3; ++later) {
        fake.firstDocResult = 0x51;
        fake.scanResult = 0x41;
        Passport1();
        Recognize();
        ASSERT_EQ(form->FDocumentName, LoadResString(&_S_PASSPORT));
        if (later == 0)
            fake.formId = "PaspBLR1";
        if (later == 1)
            fake.firstDocResult = 0;
        if (later == 2)
            fake.scanResult = 0;
        Recognize();
        EXPECT_TRUE(form->FDocumentName.isEmpty()) << later;
    }
}

TEST_F(CognitiveScan, ABoxFilledByTwoFieldsShowsTheWorstMarkOfItsParts)
{
    using recognition::TFieldMark;
    const QString hints[] = {QString(), LoadResString(&_S_DOUNT_IN_RECOGNITION), LoadResString(&_S_ERROR_IN_RECOGNITION)};
    struct Case { std::int32_t first, second; TFieldMark worst; };
    Create();
    Show();
    for (const Case &c : {Case{0, 0, TFieldMark::None}, Case{4, 0, TFieldMark::Doubtful}, Case{0, 4, TFieldMark::Doubtful},
                          Case{8, 4, TFieldMark::Erroneous}, Case{4, 8, TFieldMark::Erroneous}}) {
        SCOPED_TRACE(testing::Message() << c.first << " then " << c.second);
        // Series and number of a driving licence; country and code of a passport read by its zone.
        Document("DRVL", {{"DR_Ser", {"77 АВ", c.first}}, {"DR_Num", {"123456", c.second}}});
        Recognize();
        EXPECT_EQ(recognition::MarkOf(form->ledPassportNumber), c.worst);
        EXPECT_EQ(form->ledPassportNumber->Hint(), hints[int(c.worst)]);
        Document("InoPas_MRZ", {{"IN_SurName", {"IVANOV", 0}}, {"IN_CNT", {"RUSSIA", c.first}}, {"IN_KOD", {"RUS", c.second}}});
        Recognize();
        EXPECT_EQ(recognition::MarkOf(form->ledNationality), c.worst);
        EXPECT_EQ(form->ledNationality->Hint(), hints[int(c.worst)]);
    }
}

TEST_F(CognitiveScan, EmptyPhotoFieldLeavesThePhotoEmpty)
{
    Passport1();
    fake.fields["photo"] = Field{"", 0};
    Create();
    Show();
    Recognize();
    EXPECT_FALSE(form->imgPhoto->HasGraphic());
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(CognitiveScan, PhotoNameCannotLeadOutOfThePackageFolder)
{
    Passport1();
    WriteFile(TestHome() + QStringLiteral("/outside.jpg"), QByteArray::fromStdString(Jpeg(QSize(9, 9), Qt::blue)));
    fake.fields["photo"] = Field{"../outside.jpg", 0};
    Create();
    Show();
    Recognize();
    EXPECT_FALSE(form->imgPhoto->HasGraphic());
    ASSERT_EQ(boxes.calls.size(), 1u) << "the missing photo file is reported";
    EXPECT_EQ(scanify::InPackageFolder(QStringLiteral("/p/dss0001"), QStringLiteral("a\\b\\photo.jpg")),
              QStringLiteral("/p/dss0001/photo.jpg"));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, UnreadableDateIsLeftEmptyAndMarkedAsAnErrorAndTheWindowCloses)
{
    Document("DRVL", {{"DR_SurName", {"ПЕТРОВ", 0}},
                      {"DR_Name", {"ПЁТР", 0}},
                      {"DR_Date", {"29.02.2019", 0}},
                      {"DR_Num", {"123456", 8}}});
    Create();
    Show();
    Recognize();
    EXPECT_TRUE(form->dteDateOfIssue->IsNull());
    EXPECT_TRUE(form->dteDateOfIssue->Text().isEmpty()) << "the rejected text is not kept";
    EXPECT_FALSE(form->dteDateOfIssue->HasUnreadableText());
    EXPECT_EQ(form->dteDateOfIssue->BackgroundColor(), scanify::ErroneousFieldColor());
    EXPECT_EQ(form->dteDateOfIssue->Hint(), LoadResString(&_S_ERROR_IN_RECOGNITION));
    EXPECT_EQ(form->ledPassportNumber->BackgroundColor(), scanify::ErroneousFieldColor());

    // The operator can take the rest as it is.
    form->ActionListUpdate();
    ASSERT_TRUE(form->acSave->isEnabled());
    form->bSave->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 1);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(CognitiveScan, TypedUnreadableDateStillStopsTheWindow)
{
    Create();
    Show();
    form->ledLastName->SetText(QStringLiteral("ПЕТРОВ"));
    form->ledFirstName->SetText(QStringLiteral("ПЁТР"));
    form->ledPassportNumber->SetText(QStringLiteral("1"));
    form->dteDateOfIssue->SetText(QStringLiteral("29.02.2019"));
    form->ActionListUpdate();
    form->bSave->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(boxes.calls.size(), 1u);
}

TEST_F(CognitiveScan, TextCutAtBytesThatAreNoTextIsMarkedAsAnError)
{
    Document("Passport1", {{"PP_SurName", {"\xD0\x98\xD0\xB2\xFF\xD0\xB0", 0}},
                           {"PP_Name", {"ИВАН", 0}},
                           {"PP_BirthDate", {"02.03.1980\xFF", 0}}});
    Create();
    Show();
    Recognize();
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral(" Ив"));
    EXPECT_EQ(form->ledLastName->BackgroundColor(), scanify::ErroneousFieldColor());
    EXPECT_EQ(form->ledLastName->Hint(), LoadResString(&_S_ERROR_IN_RECOGNITION));
    EXPECT_EQ(form->ledFirstName->BackgroundColor(), scanify::NormalFieldColor());
    EXPECT_EQ(form->dteDateOfBirth->Date(), QDate(1980, 3, 2));
    EXPECT_EQ(form->dteDateOfBirth->BackgroundColor(), scanify::ErroneousFieldColor());
}

TEST_F(CognitiveScan, APressWhileTheRunLetsEventsThroughStartsNoSecondRun)
{
    Passport1();
    Create();
    Show();
    // Presses queued behind the first one (a double click, Enter, the repeat
    // button): the run lets pending events through while it clears the fields.
    QMetaObject::invokeMethod(form->bRecognize, "click", Qt::QueuedConnection);
    QMetaObject::invokeMethod(form->acRecognize, "trigger", Qt::QueuedConnection);
    QMetaObject::invokeMethod(form->bRepeatRecognize, "click", Qt::QueuedConnection);
    Recognize();
    QApplication::processEvents();
    EXPECT_EQ(fake.CallCount("ScSetupContext"), 1);
    EXPECT_EQ(fake.CallCount("ScPackageScan"), 1);
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral(" ИВАНОВ"));
    EXPECT_EQ(form->ledPassportNumber->Text(), QStringLiteral(" 45 00 123456"));
    ExpectCleanedUp();

    Recognize();
    EXPECT_EQ(fake.CallCount("ScPackageScan"), 2) << "a press after the run starts the next one";
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral(" ИВАНОВ"));
}

TEST_F(CognitiveScan, SmallPhotoIsEnlargedToTheBoxKeepingItsProportions)
{
    Passport1();
    Create();
    Show();
    Recognize();
    ASSERT_TRUE(form->imgPhoto->HasGraphic());
    const QRect shown = form->imgPhoto->DestRect();
    EXPECT_GT(shown.height(), 30);
    EXPECT_TRUE(shown.height() == form->imgPhoto->height() || shown.width() == form->imgPhoto->width());
    EXPECT_NEAR(double(shown.width()) / shown.height(), 20.0 / 30.0, 0.05);
}

TEST_F(CognitiveScan, UnreadMachineReadableZoneOffersTheRepeatRunWhichScansAgainTurned)
{
    Mrz(false);
    Create();
    Show();
    Recognize();
    ExpectOneBox(LoadResString(&_S_REPEAT_RECOGNIZE), &_S_MESSAGE, QMessageBox::Information);
    EXPECT_FALSE(form->pnlRepeatRecognize->isHidden());
    EXPECT_FALSE(form->bSave->isDefault());
    EXPECT_EQ(form->ledNationality->Text(), QStringLiteral(" RUSSIA RUS"));
    ExpectCleanedUp();

    boxes.calls.clear();
    Mrz(true);
    const int scans = fake.CallCount("ScPackageScan");
    form->bRepeatRecognize->click();
    EXPECT_EQ(fake.lastContextFile, DataFile("ScApi_90.Ini").toStdString());
    EXPECT_EQ(fake.CallCount("ScPackageScan"), scans + 1) << "a complete new run";
    EXPECT_EQ(fake.CallCount("ScPackageCreate"), 2);
    EXPECT_TRUE(form->pnlRepeatRecognize->isHidden());
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral(" IVANOV"));
    EXPECT_TRUE(form->bSave->isDefault()) << "only the surname read: no offer";
}

TEST_F(CognitiveScan, ThePageOfAPassportReadByItsZoneIsKeptUprightAfterEitherTurn)
{
    QImage page(60, 40, QImage::Format_RGB32); // as scanned: red left half, blue right half
    page.fill(Qt::blue);
    QPainter(&page).fillRect(0, 0, 30, 40, Qt::red);
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    page.save(&jpeg, "JPG");
    fake.exportBytes = jpeg.data().toStdString();
    Create();
    Show();
    // Where the red half lies after each run: read with the first turn (270
    // clockwise), not read (a repeat offered), read by the repeat's turn (90),
    // read by a zone that does not turn the page.
    const auto redHalfAt = [&](QSize size, QPoint red, QPoint blue) {
        const QImage shown = form->imgWorkRecognize->Picture();
        EXPECT_EQ(shown.size(), size);
        EXPECT_TRUE(qRed(shown.pixel(red)) > 200 && qRed(shown.pixel(blue)) < 80);
    };
    Mrz(true);
    Recognize();
    redHalfAt(QSize(40, 60), QPoint(20, 55), QPoint(20, 5));
    Mrz(false);
    Recognize();
    redHalfAt(QSize(60, 40), QPoint(5, 20), QPoint(55, 20));
    Mrz(true);
    form->bRepeatRecognize->click();
    redHalfAt(QSize(40, 60), QPoint(20, 5), QPoint(20, 55));
    Passport1();
    Recognize();
    redHalfAt(QSize(60, 40), QPoint(5, 20), QPoint(55, 20));
}

TEST_F(CognitiveScan, AConfigurationFileDeletedWhileTheHostRunsAndAnIncompleteOneAreWrittenWhole)
{
    gl_TwainDialogNeed = true;
    const auto complete = [&](const char *name, int turn) {
        const TProfileFile ini(DataFile(name));
        return ini.ReadInteger(QStringLiteral("ZoneOfMRZ_rotate"), QStringLiteral("ZoneProcessingParam"), 0) == turn
            && ini.ReadInteger(QStringLiteral("ScanAllDocuments"), QStringLiteral("ShowTWAIN"), -1) == 1;
    };
    Passport1();
    Create();
    Show();
    for (const char *gone : {"ScApi_90.Ini", "ScApi_270.Ini"}) { // the other run's file, then this run's
        ASSERT_TRUE(QFile::remove(DataFile(gone)));
        Recognize();
        EXPECT_TRUE(complete("ScApi_90.Ini", 90) && complete("ScApi_270.Ini", 270)) << gone;
        EXPECT_EQ(form->FDocumentName, LoadResString(&_S_PASSPORT)) << gone;
    }
    // A stub left by an earlier version, or an empty file, is ours and
    // incomplete: written whole before the engine reads it.
    for (const QByteArray &left : {QByteArray("[ScanAllDocuments]\r\nShowTWAIN=0\r\n"), QByteArray()}) {
        for (const char *name : {"ScApi_90.Ini", "ScApi_270.Ini"}) {
            WriteFile(DataFile(name), left);
            Recognize();
            EXPECT_TRUE(complete("ScApi_90.Ini", 90) && complete("ScApi_270.Ini", 270)) << name << left.size();
            EXPECT_EQ(form->FDocumentName, LoadResString(&_S_PASSPORT)) << name << left.size();
            EXPECT_EQ(r9test::ReadFile(DataFile(name) + QStringLiteral(".bad")), left) << "kept aside, not lost";
        }
    }
}

TEST_F(CognitiveScan, RejectedConfigurationShowsOnlyItsBoxAndKeepsTheFields)
{
    fake.setupContextResult = false;
    fake.errorMessages[0x11] = "no such file";
    Create();
    Show();
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    Recognize();
    ExpectOneBox(QStringLiteral("Error ScSetupContext ") + cr2 + QStringLiteral("no such file"), &_S_INFORMATION,
                 QMessageBox::Critical);
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral("Иванов"));
    EXPECT_FALSE(Called("ScPackageCreate"));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, PackageNotCreated)
{
    fake.packageResult = 0;
    fake.errorMessages[0x11] = "disk full";
    Create();
    Show();
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    Recognize();
    ExpectOneBox(LoadResString(&_S_ERROR_CREATE_PACKAGE) + cr2 + QStringLiteral("disk full"), &_S_ERROR,
                 QMessageBox::Critical);
    EXPECT_TRUE(form->ledLastName->Text().isEmpty()) << "fields of the active page cleared";
    EXPECT_EQ(gl_hScPackage, 0u);
    EXPECT_FALSE(Called("ScScannerOpen"));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, NoSourceChosenOrSourceNotOpened)
{
    gl_SelectScanner = true;
    fake.selectSourceResult = false;
    Create();
    Show();
    Recognize();
    ExpectOneBox(LoadResString(&_S_TWAIN_SOURCE_PROBLEM), &_S_ERROR, QMessageBox::Critical);
    EXPECT_TRUE(gl_sScannerName.isEmpty()) << "every run asks when the operator wants to choose";
    EXPECT_EQ(fake.lastOwner, ScWindowHandle(form->winId()));
    ExpectCleanedUp();

    boxes.calls.clear();
    fake.selectSourceResult = true;
    fake.openResult = 0;
    fake.errorMessages[0x11] = "does not respond";
    Recognize();
    ExpectOneBox(LoadResString(&_S_TWAIN_OPEN_ERROR) + cr2 + QStringLiteral("does not respond"), &_S_ERROR,
                 QMessageBox::Critical);
    EXPECT_FALSE(Called("ScPackageScan"));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, ChosenSourceIsRememberedAndARememberedOneOpensWithoutAsking)
{
    Passport1();
    gl_SelectScanner = true;
    Create();
    Show();
    Recognize();
    EXPECT_EQ(gl_sScannerName, QStringLiteral("Fake Feeder"));
    EXPECT_EQ(fake.CallCount("ScScannerSelectTWAINSource"), 1);
    gl_SelectScanner = false;
    Recognize();
    EXPECT_EQ(fake.CallCount("ScScannerSelectTWAINSource"), 1);
    EXPECT_EQ(fake.lastOpenedSource, std::optional<std::string>("Fake Feeder"));
}

TEST_F(CognitiveScan, ConfigurationFaultShowsAPlainDialogAndClosesTheScanner)
{
    fake.setConfigurationThrows = true;
    Create();
    Show();
    Recognize();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("ScScannerSetConfiguration ") + cr2 + QStringLiteral("configuration fault"));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(fake.CallCount("ScScannerClose"), 1);
    EXPECT_FALSE(Called("ScPackageScan"));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, NothingScanned)
{
    fake.scanResult = 0;
    Create();
    Show();
    Recognize();
    ExpectOneBox(LoadResString(&_S_SCANNED_0_PICTURES), &_S_ERROR, QMessageBox::Critical);
    ExpectCleanedUp();

    boxes.calls.clear();
    fake.errorCode = 5;
    fake.errorMessages[0x11] = "paper jam";
    Recognize();
    ExpectOneBox(QStringLiteral("paper jam"), &_S_ERROR, QMessageBox::Critical);
    EXPECT_FALSE(Called("ScPackageRecog"));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, ExportedPageThatCannotBeLoadedEndsTheRunWithItsError)
{
    fake.exportBytes.clear();
    Create();
    Show();
    Recognize();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_TRUE(boxes.calls[0].text.contains(QStringLiteral("PassportRF.jpg")));
    EXPECT_FALSE(Called("ScPackageRecog"));
    EXPECT_EQ(fake.CallCount("ScScannerClose"), 1);
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, RecognitionFailedKeepsTheScannedPage)
{
    fake.recogResult = false;
    fake.errorMessages[0x11] = "no forms";
    gl_Protocol = true;
    Create();
    Show();
    Recognize();
    ExpectOneBox(LoadResString(&_S_RECOGNITION_ERROR) + cr2 + QStringLiteral("no forms"), &_S_ERROR,
                 QMessageBox::Critical);
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
    EXPECT_TRUE(log.lines.contains(QStringLiteral("no forms")));
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, NoDocumentRecognised)
{
    fake.firstDocResult = 0;
    Create();
    Show();
    Recognize();
    ExpectOneBox(LoadResString(&_S_DOCUMENT_NOT_SUPPORTED), &_S_MESSAGE, QMessageBox::Information);
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
    EXPECT_TRUE(form->ledLastName->Text().isEmpty());
    ExpectCleanedUp();
}

TEST_F(CognitiveScan, ProtocolLinesOnlyWhileAsked)
{
    Passport1();
    Create();
    Show();
    Recognize();
    // Without a protocol the run's outcome alone.
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith(QStringLiteral("Распознавание (Scanify)"))) << log.lines[0].toStdString();

    form->cxProtocol->click();
    Recognize();
    const QStringList &l = log.lines;
    EXPECT_TRUE(log.defaultLog);
    EXPECT_TRUE(l.contains(QStringLiteral("Сканирование по конфигурации \"ScanAllDocuments\" hScScanDev = 49")));
    EXPECT_TRUE(l.contains(QStringLiteral("Отсканированное изображение паспорта сжато и сохранёно в ") + packageFolder
                           + QStringLiteral("/PassportRF.jpg.")));
    EXPECT_TRUE(l.contains(QStringLiteral("Устройство сканирования закрыто")));
    const qsizetype start = l.indexOf(QStringLiteral("Начало распознавания..."));
    ASSERT_GE(start, 0);
    EXPECT_EQ(l.value(start + 1), QStringLiteral("  завершено."));
    EXPECT_TRUE(l.value(start + 2).startsWith(QStringLiteral("  ")) && l.value(start + 2).endsWith(QStringLiteral(" мсек")));
    EXPECT_EQ(l.value(start + 3), QStringLiteral("Passport1"));
    EXPECT_EQ(l.value(start + 4), QString::fromStdString(fake.formFields.front()));
    EXPECT_EQ(l.count(QStringLiteral("Устройство сканирования закрыто")), 1) << "closed once, not again at the end";
}

TEST_F(CognitiveScan, AbsurdFieldCountIsListedOnlyUpToALimit)
{
    Passport1();
    fake.formFieldCount = 1 << 30;
    Create();
    Show();
    Recognize();
    EXPECT_EQ(fake.CallCount("ScPackageGetFieldInformation"), scanify::MaxFormFields);
    EXPECT_EQ(form->FDocumentName, LoadResString(&_S_PASSPORT));
}

TEST_F(CognitiveScan, EngineValuesAreNeverCutByTheTypingLimit)
{
    const std::string longPlace(400, 'X');
    Document("Passport1", {{"PP_SurName", {"ИВАНОВ", 0}}, {"PP_BirthPlace", {longPlace, 0}}, {"PP_Sex", {"МУЖСКОЙ ПОЛ", 0}}});
    Create();
    Show();
    Recognize();
    EXPECT_EQ(form->ledPlaceOfBirth->Text().trimmed().size(), 400);
    EXPECT_EQ(form->ledSex->Text(), QStringLiteral(" МУЖСКОЙ ПОЛ"));
}

} // namespace
