// The Scanify recognition window end to end: the package loads the engine
// stand-in as the host does, the stand-in scans its specimen pages and
// recognises them, and the window fills its fields. Each test feeds one
// specimen. Skipped when the stand-in is not part of the build.
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "scanify/CognitiveForms.h"
#include "scanify/engCognitive9r_FM.h"
#include "scanify/engUtilsScanify9r.h"
#include "support/TestSupport.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using recognition::TColumn;

QString binFolder() { return QCoreApplication::applicationDirPath(); }
QString specimens() { return binFolder() + QStringLiteral("/specimens/scanify"); }

class ScanifySpecimens : public testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(binFolder() + QStringLiteral("/libscproxy.so")))
            GTEST_SKIP() << "the stand-in engine library is not built";
        m_previous = scanify::HostExecutableFolder;
        scanify::HostExecutableFolder = &binFolder;
        gl_sRecognizeIniFileName = r9test::TestHome() + QStringLiteral("/Recognize.iniu");
        gl_SelectScanner = false;
        gl_TwainDialogNeed = false;
        gl_sScannerName = QStringLiteral("Scanify Specimen Feeder");
        gl_hScPackage = 0;
        qunsetenv("SCPROXY_FAULTS");
        // The window remembers no scanner in a fresh settings file: the engine
        // asks for the source, and the feeder is the answer.
        qputenv("SCPROXY_SELECT_SOURCE", "0");
        qputenv("SCPROXY_TWAIN_DIALOG", "accept");
        LoadCognitiveDll();
        ASSERT_EQ(InitScanify(), QString());
    }
    void TearDown() override
    {
        delete form;
        if (gl_hScInstance)
            CloseScanify();
        FreeCognitiveDll();
        if (m_previous)
            scanify::HostExecutableFolder = m_previous;
        qunsetenv("SCPROXY_FEED");
        qunsetenv("SCPROXY_SELECT_SOURCE");
        qunsetenv("SCPROXY_TWAIN_DIALOG");
    }
    /// The window on its add page (or edit page), with one specimen in the feeder.
    void Open(const QString &specimen, bool edit = false)
    {
        qputenv("SCPROXY_FEED", specimen.toLocal8Bit());
        description = QJsonDocument::fromJson(r9test::ReadFile(specimens() + QLatin1Char('/') + specimen + QStringLiteral(".json"))).object();
        ASSERT_FALSE(description.isEmpty());
        form = TCognitiveRecognitionFM_Create(nullptr);
        form->pgcRecognize->setCurrentWidget(edit ? form->tsEdit : form->tsAdd);
        form->show();
    }
    QJsonObject Field(const QString &id) const
    {
        for (const QJsonValue &v : description["fields"].toArray())
            if (v.toObject()["id"].toString() == id)
                return v.toObject();
        return {};
    }
    QColor Background(recognition::TResultField f, TColumn c = TColumn::Add) const
    {
        if (auto *d = form->Fields().Date(f, c))
            return d->BackgroundColor();
        return form->Fields().Text(f, c)->BackgroundColor();
    }

    TCognitiveRecognitionFM *form = nullptr;
    QJsonObject description;
    r9test::MessageBoxRecorder boxes;

private:
    scanify::HostFolderFunction m_previous = nullptr;
};

/// Every mapped field shows the specimen's value with the marking of its
/// flags; the window names the document and shows the photo.
TEST_P(ScanifySpecimens, EveryFieldOfTheKindArrivesMarkedByItsFlags)
{
    Open(QLatin1String(GetParam()));
    form->bRecognize->click();
    EXPECT_TRUE(boxes.calls.empty()) << (boxes.calls.empty() ? "" : boxes.calls[0].text.toStdString());
    const scanify::TCognitiveForm *kind = scanify::FindCognitiveForm(description["formId"].toString());
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(form->FDocumentName, LoadResString(kind->documentName));
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
    EXPECT_TRUE(form->imgPhoto->HasGraphic());
    EXPECT_TRUE(form->isEnabled());
    for (const scanify::TFieldMapping &m : kind->Fields()) {
        SCOPED_TRACE(m.engineField);
        const QJsonObject f = Field(QLatin1String(m.engineField));
        const QString value = f["value"].toString();
        const int flags = f["flags"].toInt();
        if (auto *date = form->Fields().Date(m.target, TColumn::Add)) {
            const QDate expected = QDate::fromString(value, QStringLiteral("dd.MM.yyyy"));
            EXPECT_EQ(date->Date(), expected);
            const bool wrong = (flags & 8) || !expected.isValid();
            EXPECT_EQ(date->BackgroundColor(), wrong ? scanify::ErroneousFieldColor()
                                              : (flags & 4) ? scanify::DoubtfulFieldColor()
                                                            : scanify::NormalFieldColor());
        } else {
            EXPECT_TRUE(form->Fields().Text(m.target, TColumn::Add)->Text().contains(value));
        }
    }
    EXPECT_TRUE(form->bSave->isDefault());
    EXPECT_TRUE(form->pnlRepeatRecognize->isHidden());
}

INSTANTIATE_TEST_SUITE_P(FormIdentifiers, ScanifySpecimens,
                         testing::Values("01-Passport1", "02-InoPas1", "03-DRVL", "04-InoPas_MRZ", "07-biopasp_mdl"));

using ScanifySpecimen = ScanifySpecimens;

TEST_F(ScanifySpecimen, InternalPassportJoinsSeriesAndNumberAndMarksTheDoubtfulSurname)
{
    Open(QStringLiteral("01-Passport1"));
    form->bRecognize->click();
    EXPECT_EQ(form->ledPassportNumber->Text(), QStringLiteral(" 99 12 345678"));
    EXPECT_EQ(form->ledLastName->BackgroundColor(), scanify::DoubtfulFieldColor());
    EXPECT_EQ(form->ledLastName->Hint(), LoadResString(&_S_DOUNT_IN_RECOGNITION));
    EXPECT_EQ(form->ledFirstName->BackgroundColor(), scanify::NormalFieldColor());
}

TEST_F(ScanifySpecimen, DrivingLicenceWithAnImpossibleDateAndANumberInError)
{
    Open(QStringLiteral("03-DRVL"));
    form->bRecognize->click();
    EXPECT_TRUE(form->dteDateOfIssue->IsNull()) << "29.02.2019 is no day";
    EXPECT_EQ(form->dteDateOfIssue->BackgroundColor(), scanify::ErroneousFieldColor());
    EXPECT_EQ(form->ledPassportNumber->BackgroundColor(), scanify::ErroneousFieldColor());
    EXPECT_EQ(form->ledPassportNumber->Hint(), LoadResString(&_S_ERROR_IN_RECOGNITION));
    EXPECT_EQ(form->ledMiddleName->Text().trimmed(), QStringLiteral("СЕРГЕЕВНА"));
}

TEST_F(ScanifySpecimen, BiometricPassportOnTheEditPage)
{
    Open(QStringLiteral("07-biopasp_mdl"), true);
    form->ledLastNameCurr->SetText(QStringLiteral("ОРЛОВА"));
    form->bRecognize_2->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(form->ledLastName->Text().isEmpty());
    EXPECT_EQ(form->ledLastNameRec->Text().trimmed(), QStringLiteral("ОРЛОВА"));
    EXPECT_EQ(form->ledIssuedByRec->BackgroundColor(), scanify::ErroneousFieldColor()) << "both flags: error wins";
    EXPECT_EQ(form->ledIssuedByRec->Hint(), form->ledIssuedByRec->Text()) << "the issuer's text is its own hint";
    EXPECT_EQ(form->dteDateOfIssueRec->BackgroundColor(), scanify::DoubtfulFieldColor());
    EXPECT_EQ(form->dteDateOfIssueRec->Date(), QDate(2021, 10, 12));
}

TEST_F(ScanifySpecimen, MachineReadableZoneJoinsCountryAndCode)
{
    Open(QStringLiteral("04-InoPas_MRZ"));
    form->bRecognize->click();
    EXPECT_EQ(form->ledNationality->Text(), QStringLiteral(" UTOPIA UTO"));
    EXPECT_EQ(form->ledLastName->Text().trimmed(), QStringLiteral("HALVORSEN"));
}

TEST_F(ScanifySpecimen, UpsideDownPassportIsOfferedTheRepeatRunWhichReadsIt)
{
    Open(QStringLiteral("08-InoPas_MRZ-upside-down"));
    form->bRecognize->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_REPEAT_RECOGNIZE));
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_MESSAGE));
    EXPECT_FALSE(form->pnlRepeatRecognize->isHidden());
    EXPECT_TRUE(form->ledLastName->Text().trimmed().isEmpty());
    EXPECT_EQ(form->ledLastName->BackgroundColor(), scanify::ErroneousFieldColor());

    boxes.calls.clear();
    form->bRepeatRecognize->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(form->pnlRepeatRecognize->isHidden());
    EXPECT_EQ(form->ledLastName->Text().trimmed(), QStringLiteral("LINDQVIST"));
    EXPECT_EQ(form->ledFirstName->Text().trimmed(), QStringLiteral("OSKAR"));
    EXPECT_EQ(form->ledLastName->BackgroundColor(), scanify::NormalFieldColor());
    EXPECT_TRUE(form->bSave->isDefault());
    EXPECT_TRUE(form->imgPhoto->HasGraphic());
}

TEST_F(ScanifySpecimen, UnsupportedIdentifierFillsNothingAndSaysSo)
{
    Open(QStringLiteral("05-PaspBLR1"));
    form->bRecognize->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_DOCUMENT_NOT_SUPPORTED));
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
    EXPECT_FALSE(form->imgPhoto->HasGraphic());
    EXPECT_TRUE(form->ledLastName->Text().isEmpty());
    EXPECT_TRUE(form->FDocumentName.isEmpty());
}

TEST_F(ScanifySpecimen, NoDocumentFound)
{
    Open(QStringLiteral("06-IdCardKAZ"));
    form->bRecognize->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_DOCUMENT_NOT_SUPPORTED));
    EXPECT_TRUE(form->imgWorkRecognize->HasGraphic());
}

TEST_F(ScanifySpecimen, EngineFaultsReachTheOperator)
{
    Open(QStringLiteral("01-Passport1"));
    struct Fault
    {
        const char *name;
        QString text;
    };
    for (const Fault &f : {Fault{"setconfig", QStringLiteral("ScScannerSetConfiguration ")},
                           Fault{"recog", LoadResString(&_S_RECOGNITION_ERROR)},
                           Fault{"package", LoadResString(&_S_ERROR_CREATE_PACKAGE)},
                           Fault{"nodocument", LoadResString(&_S_DOCUMENT_NOT_SUPPORTED)}}) {
        SCOPED_TRACE(f.name);
        qputenv("SCPROXY_FAULTS", f.name);
        boxes.calls.clear();
        form->bRecognize->click();
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_TRUE(boxes.calls[0].text.startsWith(f.text)) << boxes.calls[0].text.toStdString();
        EXPECT_TRUE(form->isEnabled());
    }
    qunsetenv("SCPROXY_FAULTS");
    // The offline scanner never opens; the operator is told so.
    gl_sScannerName = QStringLiteral("Scanify Offline Scanner");
    boxes.calls.clear();
    form->bRecognize->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_TRUE(boxes.calls[0].text.startsWith(LoadResString(&_S_TWAIN_OPEN_ERROR)));
}

} // namespace
