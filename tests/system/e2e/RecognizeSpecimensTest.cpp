// Every specimen document, fed by the engine stand-in's scanner, recognised
// through the recognition window: the fields must equal the document's ground
// truth, untrusted symbols must show red, and no temporary picture stays.
#include "support/TestSupport.h"

#include "abbyy/engABBYY9r_FM.h"
#include "abbyy/engABBYY9r_FM_RecognizeDate.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "host/HostServices.h"
#include "services/HostKit.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct TruthField
{
    QString value;
    bool untrusted = false;
};

struct Specimen
{
    QString file;
    QString type;
    QMap<QString, TruthField> fields;
};

std::vector<Specimen> ReadSpecimens()
{
    std::vector<Specimen> out;
    const QDir dir(QCoreApplication::applicationDirPath() + "/specimens");
    for (const QString &name : dir.entryList({"*.json"}, QDir::Files, QDir::Name)) {
        const QJsonObject root = QJsonDocument::fromJson(r9test::ReadFile(dir.filePath(name))).object();
        Specimen s{name, root.value("documentType").toString(), {}};
        for (const QJsonValue &v : root.value("fields").toArray()) {
            const QJsonObject f = v.toObject();
            s.fields.insert(f.value("name").toString(),
                            {f.value("value").toString(), !f.value("untrusted").toArray().isEmpty()});
        }
        out.push_back(std::move(s));
    }
    return out;
}

class Specimens : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Initialize();
        kit = hostkit::CreateServices(GetUserDataFolder());
        InstallHostServices(kit->Services());
        ASSERT_EQ(InitEngine(), "");
        ASSERT_EQ(SetDocumentsAvailability(gl_ListAllowedDocuments), "");
        specimens = ReadSpecimens();
        ASSERT_FALSE(specimens.empty()) << "the specimen documents are drawn at build time";
    }
    void TearDown() override
    {
        CloseEngine();
        InstallHostServices(nullptr);
        kit.reset();
        Finalize();
    }

    /// A window as the host opens it, with the engine's document types.
    std::unique_ptr<TABBYYRecognitionFM> OpenWindow(const QString &type, bool edit)
    {
        auto form = std::make_unique<TABBYYRecognitionFM>();
        for (int i = 0; i < gl_ListAllowedDocuments->Count(); ++i) {
            const TDocumentInfo *info = gl_ListAllowedDocuments->Objects(i);
            if (!info->FIsEnabled)
                continue;
            form->AddPassportType(info->FDocName, new TDocumentInfo(*info));
            if (info->FIdentifier == type)
                form->cbPassportTypes->setCurrentIndex(form->cbPassportTypes->count() - 1);
        }
        EXPECT_EQ(form->SelectedPassportType() ? form->SelectedPassportType()->FIdentifier : QString(), type);
        form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
        form->pgcRecognize->setCurrentWidget(edit ? form->tsEdit : form->tsAdd);
        form->show(); // the window lists the engine's scanners as it opens
        (edit ? form->cxPhotoToAccoutData_2 : form->cxPhotoToAccoutData)->setChecked(true);
        (edit ? form->cxDocPictureToAccoutData_2 : form->cxDocPictureToAccoutData)->setChecked(true);
        return form;
    }

    QStringList TemporaryPictures() const
    {
        return QDir(GetUserDataFolder()).entryList({"*.jpg", "*.jpeg"}, QDir::Files);
    }

    std::unique_ptr<hostkit::THostKit> kit;
    std::vector<Specimen> specimens;
    r9test::MessageBoxRecorder boxes;
};

QString Oneline(QString s)
{
    return s.replace('\r', ' ').replace('\n', ' ');
}

TEST_F(Specimens, EveryRecordEqualsItsGroundTruth)
{
    for (const Specimen &s : specimens) {
        SCOPED_TRACE(s.file.toStdString());
        auto form = OpenWindow(s.type, false);
        form->acRecognize->trigger();
        EXPECT_TRUE(boxes.calls.empty()) << boxes.calls.front().text.toStdString();
        boxes.calls.clear();

        const auto truth = [&](const char *name) { return s.fields.value(name).value; };
        const auto red = [&](const char *name) { return s.fields.value(name).untrusted; };
        const QString notRecognized = LoadResString(&_S_NOT_RECOGNIZED);
        const struct { const char *field; ui::TCaptionedEdit *edit; } texts[] = {
            {"LastName", form->ledLastName}, {"FirstName", form->ledFirstName},
            {"MiddleName", form->ledMiddleName}, {"Sex", form->ledSex},
            {"PlaceOfBirth", form->ledPlaceOfBirth}, {"IssuedBy", form->ledIssuedBy},
            {"DepartmentCode", form->ledDepartmentCode}};
        for (const auto &t : texts) {
            SCOPED_TRACE(t.field);
            if (!s.fields.contains(t.field)) {
                EXPECT_EQ(t.edit->Text(), "");
                continue;
            }
            const bool empty = truth(t.field).trimmed().isEmpty();
            EXPECT_EQ(t.edit->Text(), empty ? notRecognized : Oneline(truth(t.field)));
            EXPECT_EQ(t.edit->IsFontRed(), empty || red(t.field));
        }
        const QString nationality = truth("Nationality");
        EXPECT_EQ(form->ledNationality->Text(), nationality.isEmpty() ? form->SelectedPassportType()->FCountryNation : nationality);
        EXPECT_EQ(form->ledNationality->IsFontRed(), red("Nationality"));

        QString number = truth("Series").isEmpty() ? truth("Number") : truth("Series") + " " + truth("Number");
        if (number.isEmpty())
            number = truth("PersonalCode");
        EXPECT_EQ(form->ledPassportNumber->Text(), number);
        // Coloured by the fields it was made of, and only by those.
        const bool numberRed = !truth("Series").isEmpty() ? red("Series") || red("Number")
                             : !truth("Number").isEmpty() ? red("Number")
                                                          : red("Number") || red("PersonalCode");
        EXPECT_EQ(form->ledPassportNumber->IsFontRed(), numberRed);

        const struct { const char *field; ui::TNullableDateEdit *edit; } dates[] = {
            {"DateOfBirth", form->dteDateOfBirth}, {"DateOfIssue", form->dteDateOfIssue},
            {"DateOfExpiry", form->dteDateOfExpiry}};
        for (const auto &d : dates) {
            SCOPED_TRACE(d.field);
            const QDate expected = abbyy::DateFromEngineText(truth(d.field));
            EXPECT_EQ(d.edit->Date(), expected);
            // A date the document has but that does not convert stays empty, marked.
            const bool unreadable = s.fields.contains(d.field) && !expected.isValid();
            EXPECT_EQ(d.edit->IsFontRed(), unreadable || (expected.isValid() && red(d.field)));
        }
        EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
        EXPECT_TRUE(form->bSave->isDefault());
        EXPECT_TRUE(TemporaryPictures().isEmpty()) << TemporaryPictures().join(", ").toStdString();
    }
}

TEST_F(Specimens, EditPageMarksTheFieldsThatDifferFromTheStoredPerson)
{
    const Specimen &s = specimens.front();
    auto form = OpenWindow(s.type, true);
    // The stored person: same first name in other letter case, another surname.
    form->ledFirstNameCurr->SetText(" " + s.fields.value("FirstName").value.toLower() + " ");
    form->ledLastNameCurr->SetText("ДРУГОВА");
    form->dteDateOfBirthCurr->SetDate(abbyy::DateFromEngineText(s.fields.value("DateOfBirth").value).addDays(1));
    form->acRecognize->trigger();
    EXPECT_EQ(form->ledFirstNameRec->Text(), s.fields.value("FirstName").value);
    EXPECT_FALSE(form->ledFirstNameRec->IsFontRed());
    EXPECT_TRUE(form->ledLastNameRec->IsFontRed());
    EXPECT_TRUE(form->dteDateOfBirthRec->IsFontRed());
    EXPECT_FALSE(form->ledMiddleNameRec->IsFontRed()) << "no stored middle name to differ from";
    EXPECT_TRUE(TemporaryPictures().isEmpty());

    // Copying the stored surname over keeps the red mark.
    form->cxCopyLastName->setChecked(true);
    form->sbCopyCurrentDataClick();
    EXPECT_EQ(form->ledLastNameRec->Text(), "ДРУГОВА");
    EXPECT_TRUE(form->ledLastNameRec->IsFontRed());
}

} // namespace
