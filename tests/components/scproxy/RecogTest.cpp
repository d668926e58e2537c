// Recognition of the generated Scanify specimens: form identifiers, field
// lists, values with their flags, photos written into the package, the turn
// of the configuration, and the recognition faults.

#include "ScProxyFixture.h"

#include "PageGenerator.h"
#include "PrintedPages.h"
#include "support/ScannerSources.h"
#include "common/engCommon9r.h"
#include "scanify/engUtilsScanify9r.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <map>

using namespace scproxytest;

namespace {

class ScProxyRecog : public ScProxyTest
{
protected:
    /// Scans the generated specimen named stem with the configuration of turn
    /// and recognises it; the first document, 0 when none.
    ScDocumentHandle Recognise(const char *stem, int turn, const QString &specimens = GeneratedSpecimens())
    {
        return Recognise(stem, [&] { SetUpContext(turn); }, specimens);
    }
    /// The same with a configuration file written elsewhere.
    ScDocumentHandle Recognise(const char *stem, const QString &configurationFile)
    {
        return Recognise(stem, [&] {
            EXPECT_TRUE(api.ScSetupContext(instance, configurationFile.toLocal8Bit().constData())) << ErrorText().toStdString();
        });
    }
    ScDocumentHandle Recognise(const char *stem, const std::function<void()> &setUpContext,
                               const QString &specimens = GeneratedSpecimens())
    {
        EnvSwitch folder("SCPROXY_SPECIMENS", specimens.toLocal8Bit());
        EnvSwitch feed("SCPROXY_FEED", stem);
        setUpContext();
        package = NewPackage(QStringLiteral("dss%1").arg(++packages, 4, 16, QLatin1Char('0')).toUpper());
        const ScImageHandle image = ScanOne(package);
        EXPECT_NE(image, 0u) << ErrorText().toStdString();
        EXPECT_TRUE(api.ScPackageRecog(package, nullptr)) << ErrorText().toStdString();
        return api.ScPackageGetFirstDoc(package);
    }

    QByteArray FormId(ScDocumentHandle doc, TScFormInformation *form = nullptr)
    {
        TScDocInformation info{};
        EXPECT_TRUE(api.ScPackageGetDocInformation(doc, &info));
        TScFormInformation local{};
        TScFormInformation &f = form ? *form : local;
        EXPECT_TRUE(api.ScPackageGetFormInformation(package, info.nForm, &f));
        return QByteArray(f.szId);
    }

    struct Value
    {
        QString text;
        int flags;
    };
    Value Field(ScDocumentHandle doc, const char *id)
    {
        TScFieldValueAttr attr;
        std::memset(&attr, 0x55, sizeof attr);
        const char *text = api.ScPackageGetFieldValue(doc, id, &attr);
        EXPECT_NE(text, nullptr) << id;
        return {QString::fromLocal8Bit(text ? text : ""), attr.nFlags};
    }

    QString PackageFolder()
    {
        TScPackageInformation info{};
        EXPECT_TRUE(api.ScPackageGetInformation(package, &info));
        return QString::fromLocal8Bit(info.szName);
    }

    ScPackageHandle package = 0;
    int packages = 0;
};

} // namespace

TEST_F(ScProxyRecog, InternalPassportWithSeriesNumberDoubtAndPhoto)
{
    const ScDocumentHandle doc = Recognise("01-Passport1", 270);
    ASSERT_NE(doc, 0u);
    TScFormInformation form{};
    EXPECT_EQ(FormId(doc, &form), "Passport1");
    ASSERT_EQ(form.nFieldsCount, 12);
    QStringList ids;
    for (int n = 1; n <= form.nFieldsCount; ++n) {
        TScFieldInformation field{};
        ASSERT_TRUE(api.ScPackageGetFieldInformation(package, 1, n, &field));
        ids << QString::fromLocal8Bit(field.szId);
        EXPECT_EQ(field.nNextFldNo, n < form.nFieldsCount ? n + 1 : 0);
    }
    EXPECT_EQ(ids, QStringList({"PP_SurName", "PP_Name", "PP_SecName", "PP_Sex", "PP_BirthDate", "PP_BirthPlace",
                                "PP_Ser2", "PP_Num2", "PP_Kem", "PP_Date", "PP_Podr", "photo"}));
    TScFieldInformation field{};
    EXPECT_FALSE(api.ScPackageGetFieldInformation(package, 1, 13, &field));
    EXPECT_FALSE(api.ScPackageGetFieldInformation(package, 1, 0, &field));
    EXPECT_FALSE(api.ScPackageGetFormInformation(package, 2, &form));
    ASSERT_TRUE(api.ScPackageGetFieldInformation(package, 1, 5, &field));
    EXPECT_EQ(field.nDataType, SCF_DT_DATE);

    EXPECT_EQ(Field(doc, "PP_SurName").text, QStringLiteral("ПЕТРОВСКАЯ"));
    EXPECT_EQ(Field(doc, "PP_SurName").flags, SCF_VRS_WARNING);
    EXPECT_EQ(Field(doc, "PP_Name").flags, 0);
    EXPECT_EQ(Field(doc, "PP_Ser2").text, QStringLiteral("99 12"));
    EXPECT_EQ(Field(doc, "PP_Num2").text, QStringLiteral("345678"));
    EXPECT_EQ(Field(doc, "PP_BirthDate").text, QStringLiteral("03.09.1991"));
    EXPECT_STREQ(api.ScPackageGetFieldValue(doc, "NoSuchField", nullptr), "");
    EXPECT_EQ(Field(doc, "NoSuchField").flags, 0);

    const QString photo = QString::fromLocal8Bit(api.ScPackageGetFieldValue(doc, "photo", nullptr));
    ASSERT_FALSE(photo.isEmpty());
    EXPECT_FALSE(photo.contains(QLatin1Char('/')));
    EXPECT_EQ(QImage(QDir(PackageFolder()).filePath(photo)).size(), QSize(220, 290));

    TScPackageInformation info{};
    ASSERT_TRUE(api.ScPackageGetInformation(package, &info));
    EXPECT_EQ(info.nDocsCount, 1);
    EXPECT_EQ(info.nFormsCount, 1);
    EXPECT_EQ(api.ScPackageGetNextDoc(doc), 0u);
    EXPECT_EQ(api.ScDocumentGetFirstImage(doc), api.ScPackageGetFirstImage(package));
}

TEST_F(ScProxyRecog, EveryGeneratedFormWithItsMarkedFields)
{
    struct Case
    {
        const char *stem;
        QByteArray formId;
        std::map<const char *, std::pair<QString, int>> fields;
        const char *photo;
    };
    const std::vector<Case> cases{
        {"02-InoPas1", "InoPas1", {{"IN_SurName", {"СОКОЛОВ", 0}}, {"IN_SerNum2", {"75 1234567", 0}}}, "IN_PHOTO2"},
        {"03-DRVL", "DRVL", {{"DR_Date", {"29.02.2019", 0}}, {"DR_Num", {"456789", SCF_VRS_ERROR}}}, "photo"},
        {"04-InoPas_MRZ", "InoPas_MRZ", {{"IN_SurName", {"HALVORSEN", 0}}, {"IN_Name", {"MIRA ELISE", 0}}, {"IN_KOD", {"UTO", 0}}}, "IN_FOTO"},
        {"05-PaspBLR1", "PaspBLR1", {{"BY_SurName", {"КАРПОВИЧ", 0}}}, "photo"},
        {"07-biopasp_mdl", "biopasp_mdl",
         {{"IN_Kem", {"МВД 99025", SCF_VRS_WARNING | SCF_VRS_ERROR}}, {"IN_Date", {"12.10.2021", SCF_VRS_WARNING}}}, "IN_PHOTO2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stem);
        const ScDocumentHandle doc = Recognise(c.stem, 270);
        ASSERT_NE(doc, 0u);
        EXPECT_EQ(FormId(doc), c.formId);
        for (const auto &[id, expected] : c.fields) {
            const Value v = Field(doc, id);
            EXPECT_EQ(v.text, expected.first) << id;
            EXPECT_EQ(v.flags, expected.second) << id;
        }
        const QString photo = QString::fromLocal8Bit(api.ScPackageGetFieldValue(doc, c.photo, nullptr));
        EXPECT_TRUE(QFileInfo(QDir(PackageFolder()).filePath(photo)).isFile()) << photo.toStdString();
    }
}

TEST_F(ScProxyRecog, DocumentOfAZoneNoConfigurationHasIsNotFound)
{
    EXPECT_EQ(Recognise("06-IdCardKAZ", 270), 0u);
    TScPackageInformation info{};
    ASSERT_TRUE(api.ScPackageGetInformation(package, &info));
    EXPECT_EQ(info.nImagesCount, 1);
    EXPECT_EQ(info.nDocsCount, 0);
}

TEST_F(ScProxyRecog, UpsideDownPassportReadsItsNamesOnlyWithTheTurnThatBringsItUpright)
{
    const char *feed = "04-InoPas_MRZ,08-InoPas_MRZ-upside-down";
    const ScDocumentHandle usual = Recognise(feed, 270);
    ASSERT_NE(usual, 0u);
    EXPECT_EQ(Field(usual, "IN_SurName").text, QStringLiteral("HALVORSEN")) << "a passport on its side reads with 270";

    const ScDocumentHandle turned = Recognise(feed, 270);
    ASSERT_NE(turned, 0u);
    EXPECT_EQ(FormId(turned), "InoPas_MRZ");
    EXPECT_EQ(Field(turned, "IN_SurName").text, QString());
    EXPECT_EQ(Field(turned, "IN_Name").text, QString());
    EXPECT_EQ(Field(turned, "IN_SurName").flags, SCF_VRS_ERROR);
    EXPECT_EQ(Field(turned, "IN_SerNum").text, QString()) << "the number is the zone's too";
    EXPECT_EQ(Field(turned, "IN_SerNum").flags, SCF_VRS_ERROR);
    const QString turnedPhoto = QDir(PackageFolder()).filePath(QString::fromLocal8Bit(api.ScPackageGetFieldValue(turned, "IN_FOTO", nullptr)));

    // The repeat run: the page stayed in the feeder, the other turn reads it.
    const ScDocumentHandle upright = Recognise(feed, 90);
    ASSERT_NE(upright, 0u);
    EXPECT_EQ(FormId(upright), "InoPas_MRZ");
    EXPECT_EQ(Field(upright, "IN_SurName").text, QStringLiteral("LINDQVIST"));
    EXPECT_EQ(Field(upright, "IN_Name").text, QStringLiteral("OSKAR"));
    EXPECT_EQ(Field(upright, "IN_SurName").flags, 0);
    const QString uprightPhoto = QDir(PackageFolder()).filePath(QString::fromLocal8Bit(api.ScPackageGetFieldValue(upright, "IN_FOTO", nullptr)));

    // Read turned, the portrait comes out upside down: its dark head lies low.
    auto headRowMean = [](const QString &path, bool top) {
        const QImage img = QImage(path).convertToFormat(QImage::Format_Grayscale8);
        const int y = top ? img.height() / 3 : img.height() * 2 / 3;
        int sum = 0;
        for (int x = 0; x < img.width(); ++x)
            sum += img.constScanLine(y)[x];
        return sum / std::max(1, img.width());
    };
    EXPECT_LT(headRowMean(uprightPhoto, true), headRowMean(turnedPhoto, true));

    // Read upright, the page left the feeder; the next one is the passport on its side, which 90 turns over.
    const ScDocumentHandle next = Recognise(feed, 90);
    ASSERT_NE(next, 0u);
    EXPECT_EQ(Field(next, "IN_SerNum").text, QString());
    EXPECT_EQ(Field(next, "IN_SurName").text, QString());
    EXPECT_EQ(Field(next, "IN_SurName").flags, SCF_VRS_ERROR);
}

TEST_F(ScProxyRecog, ThePackagesOwnConfigurationFilesTurnTheUpsideDownPassport)
{
    // The files exactly as the package writes them on load, not a copy.
    CreateScApiIniFile();
    const QString file270 = GetUserDataFolder() + QStringLiteral("ScApi_270.Ini");
    const QString file90 = GetUserDataFolder() + QStringLiteral("ScApi_90.Ini");
    ASSERT_TRUE(QFileInfo::exists(file270));
    ASSERT_TRUE(QFileInfo::exists(file90));
    const char *feed = "08-InoPas_MRZ-upside-down";

    const ScDocumentHandle turned = Recognise(feed, file270);
    ASSERT_NE(turned, 0u);
    EXPECT_EQ(FormId(turned), "InoPas_MRZ");
    EXPECT_EQ(Field(turned, "IN_SurName").text, QString());
    EXPECT_EQ(Field(turned, "IN_Name").text, QString());
    EXPECT_EQ(Field(turned, "IN_SurName").flags, SCF_VRS_ERROR);

    const ScDocumentHandle upright = Recognise(feed, file90);
    ASSERT_NE(upright, 0u);
    EXPECT_EQ(FormId(upright), "InoPas_MRZ");
    EXPECT_EQ(Field(upright, "IN_SurName").text, QStringLiteral("LINDQVIST"));
    EXPECT_EQ(Field(upright, "IN_Name").text, QStringLiteral("OSKAR"));
    EXPECT_EQ(Field(upright, "IN_SurName").flags, 0);
}

TEST_F(ScProxyRecog, RecognitionFaults)
{
    {
        EnvSwitch fault("SCPROXY_FAULTS", "nodocument");
        EXPECT_EQ(Recognise("01-Passport1", 270), 0u);
    }
    EnvSwitch fault("SCPROXY_FAULTS", "recog");
    EnvSwitch folder("SCPROXY_SPECIMENS", GeneratedSpecimens().toLocal8Bit());
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    ASSERT_NE(ScanOne(p), 0u);
    EXPECT_FALSE(api.ScPackageRecog(p, nullptr));
    EXPECT_NE(api.ScGetErrorCode(instance), 0);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("simulated fault \"recog\"")));
    EXPECT_EQ(api.ScPackageGetFirstDoc(p), 0u);
    EXPECT_FALSE(api.ScPackageRecog(0, nullptr));
}

TEST_F(ScProxyRecog, PassportByItsZoneIsReadFromTheZoneWhenTheTurnBringsItUpright)
{
    // A generated passport page whose description says something else than its
    // zone: what comes back shows where it was read.
    QTemporaryDir dir;
    mrzpages::PageRecipe recipe;
    recipe.dpi = 200;
    recipe.a4 = false;
    mrzpages::Random rng(31);
    specimens::MrzData data = mrzpages::RandomData(recipe.format, rng);
    data.surname = QStringLiteral("OKAFOR");
    data.givenNames = QStringLiteral("ADA");
    data.birthDate = QStringLiteral("921107");
    const mrzpages::Page page = mrzpages::MakePage(recipe, data, rng);
    ASSERT_TRUE(page.image.save(dir.filePath(QStringLiteral("page.png"))));
    QJsonArray fields;
    for (const char *id : {"IN_SurName", "IN_Name", "IN_SerNum", "IN_BirthDate", "IN_CNT"})
        fields.append(QJsonObject{{QStringLiteral("id"), QLatin1String(id)}, {QStringLiteral("value"), QStringLiteral("DESCRIBED")}});
    const QJsonObject description{{QStringLiteral("formId"), QStringLiteral("InoPas_MRZ")},
                                  {QStringLiteral("zone"), QStringLiteral("ZoneOfMRZ")},
                                  {QStringLiteral("feedAngle"), 90},
                                  {QStringLiteral("picture"), QStringLiteral("page.png")},
                                  {QStringLiteral("fields"), fields}};
    QFile f(dir.filePath(QStringLiteral("09-zone.json")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QJsonDocument(description).toJson());
    f.close();

    // On its side in the feeder: the 270 turn brings it upright and the zone is read.
    const ScDocumentHandle doc = Recognise("09-zone", 270, dir.path());
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(Field(doc, "IN_SurName").text, QStringLiteral("OKAFOR"));
    EXPECT_EQ(Field(doc, "IN_SurName").flags, 0);
    EXPECT_EQ(Field(doc, "IN_Name").text, QStringLiteral("ADA"));
    EXPECT_EQ(Field(doc, "IN_SerNum").text, data.documentNumber);
    EXPECT_EQ(Field(doc, "IN_BirthDate").text, QStringLiteral("07.11.1992"));
    EXPECT_EQ(Field(doc, "IN_CNT").text, QStringLiteral("DESCRIBED")) << "the zone has no country name";

    // The 90 turn leaves it upside down: the zone is not read, and its fields
    // say so instead of passing off the description's values as read.
    const ScDocumentHandle turned = Recognise("09-zone", 90, dir.path());
    ASSERT_NE(turned, 0u);
    for (const char *id : {"IN_SurName", "IN_Name", "IN_SerNum", "IN_BirthDate"}) {
        EXPECT_EQ(Field(turned, id).text, QString()) << id;
        EXPECT_EQ(Field(turned, id).flags, SCF_VRS_ERROR) << id;
    }
    EXPECT_EQ(Field(turned, "IN_CNT").text, QStringLiteral("DESCRIBED")) << "not a field of the zone";
}

TEST_F(ScProxyRecog, APictureWithoutADescriptionIsAPassportWhenItsZoneReads)
{
    // Pictures dropped into the folder: a passport lying on its side, which
    // the 270 turn brings upright, and an identity card.
    QTemporaryDir dir;
    mrzpages::Random rng(41);
    mrzpages::PageRecipe passport;
    passport.dpi = 200;
    passport.a4 = false;
    passport.turn = 90;
    specimens::MrzData data = mrzpages::RandomData(passport.format, rng);
    data.surname = QStringLiteral("MBEKI");
    data.givenNames = QStringLiteral("THABO");
    data.birthDate = QStringLiteral("85<<<<"); // day and month unknown
    ASSERT_TRUE(mrzpages::MakePage(passport, data, rng).image.save(dir.filePath(QStringLiteral("passport.png"))));
    mrzpages::PageRecipe card = passport;
    card.format = QStringLiteral("TD1");
    card.turn = 90;
    ASSERT_TRUE(mrzpages::MakePage(card, mrzpages::RandomData(card.format, rng), rng)
                    .image.save(dir.filePath(QStringLiteral("card.png"))));

    const ScDocumentHandle doc = Recognise("passport", 270, dir.path());
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(FormId(doc), "InoPas_MRZ");
    EXPECT_EQ(Field(doc, "IN_SurName").text, QStringLiteral("MBEKI"));
    EXPECT_EQ(Field(doc, "IN_Name").text, QStringLiteral("THABO"));
    EXPECT_EQ(Field(doc, "IN_SerNum").text, data.documentNumber);
    EXPECT_EQ(Field(doc, "IN_SurName").flags, 0);
    // No description names the country, and the zone names none.
    EXPECT_EQ(Field(doc, "IN_CNT").text, QString());
    EXPECT_EQ(Field(doc, "IN_KOD").text, data.nationality);
    EXPECT_EQ(Field(doc, "IN_BirthDate").text, QString()) << "no date to take as read";
    EXPECT_EQ(Field(doc, "IN_BirthDate").flags, SCF_VRS_WARNING);

    // The turn leaves it upside down: a passport read turned, its names
    // empty and in error, for which the window offers the repeat run.
    const ScDocumentHandle turned = Recognise("passport", 90, dir.path());
    ASSERT_NE(turned, 0u);
    EXPECT_EQ(FormId(turned), "InoPas_MRZ");
    EXPECT_EQ(Field(turned, "IN_SurName").text, QString());
    EXPECT_EQ(Field(turned, "IN_SurName").flags, SCF_VRS_ERROR);
    EXPECT_EQ(Recognise("card", 270, dir.path()), 0u) << "not a passport";
}

TEST_F(ScProxyRecog, APictureWithoutADescriptionIsAnInternalPassportWhenItsZoneIsOne)
{
    // An internal passport's page lying on its side, and a passport for travel
    // abroad of the same country, which stays a foreign passport.
    QTemporaryDir dir;
    mrzpages::Random rng(43);
    mrzpages::PageRecipe internal;
    internal.format = QStringLiteral("RUSPN");
    internal.dpi = 200;
    internal.a4 = false;
    internal.turn = 90;
    specimens::MrzData data = mrzpages::RandomData(internal.format, rng);
    data.surname = QStringLiteral("ЩЕРБАКОВА-ЁЛКИНА");
    data.givenNames = QStringLiteral("ЮЛИЯ");
    data.patronymic = QStringLiteral("ЭДУАРДОВНА");
    data.documentNumber = QStringLiteral("4503123456");
    data.birthDate = QStringLiteral("850412");
    data.sex = QStringLiteral("F");
    data.issueDate = QStringLiteral("050917");
    data.divisionCode = QStringLiteral("770001");
    ASSERT_TRUE(mrzpages::MakePage(internal, data, rng).image.save(dir.filePath(QStringLiteral("internal.png"))));
    mrzpages::PageRecipe abroad = internal;
    abroad.format = QStringLiteral("TD3");
    specimens::MrzData travel = mrzpages::RandomData(abroad.format, rng);
    travel.documentCode = QStringLiteral("P");
    travel.issuingState = QStringLiteral("RUS");
    ASSERT_TRUE(mrzpages::MakePage(abroad, travel, rng).image.save(dir.filePath(QStringLiteral("abroad.png"))));

    const ScDocumentHandle doc = Recognise("internal", 270, dir.path());
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(FormId(doc), "Passport1");
    const std::pair<const char *, QString> expected[] = {
        {"PP_SurName", QStringLiteral("ЩЕРБАКОВА-ЁЛКИНА")},
        {"PP_Name", QStringLiteral("ЮЛИЯ")},
        {"PP_SecName", QStringLiteral("ЭДУАРДОВНА")},
        {"PP_Sex", QStringLiteral("ЖЕН.")},
        {"PP_BirthDate", QStringLiteral("12.04.1985")},
        {"PP_Ser2", QStringLiteral("45 03")},
        {"PP_Num2", QStringLiteral("123456")},
        {"PP_Date", QStringLiteral("17.09.2005")},
        {"PP_Podr", QStringLiteral("770-001")},
    };
    for (const auto &[id, value] : expected) {
        EXPECT_EQ(Field(doc, id).text, value) << id;
        EXPECT_EQ(Field(doc, id).flags, 0) << id;
    }
    EXPECT_EQ(Field(doc, "IN_SurName").text, QString()) << "not the foreign passport's form";

    const ScDocumentHandle other = Recognise("abroad", 270, dir.path());
    ASSERT_NE(other, 0u);
    EXPECT_EQ(FormId(other), "InoPas_MRZ");
    EXPECT_EQ(Field(other, "IN_SurName").text, travel.surname);
    EXPECT_EQ(Recognise("internal", 90, dir.path()), 0u) << "the turn leaves it upside down";
}

namespace {

/// A generated page of one kind lying at a quarter turn in the feeder as a
/// picture without description, as a real scanner's page is read.
struct PixelCase
{
    const char *stem;
    const char *format; ///< the generator's format
    const char *code;   ///< document code printed in the zone
    int lie;            ///< clockwise degrees the page lies turned
    bool hasZone;
    int configTurn;     ///< turn of the passport zones of the configuration
    const char *form;   ///< the document's form; empty: no document
    bool read;          ///< false: read turned, the zone's fields empty and in error
};

/// Draws the case's page into folder; the fields its truth says the form gets.
std::map<QByteArray, QString> WritePixelPage(const PixelCase &c, const QString &folder,
                                            const std::function<void(QStringList &)> &misprint = {})
{
    mrzpages::PageRecipe recipe;
    recipe.format = QString::fromLatin1(c.format);
    recipe.dpi = 200;
    recipe.turn = c.lie;
    recipe.skew = 1.5;
    recipe.hasZone = c.hasZone;
    mrzpages::Random rng(51);
    specimens::MrzData d = mrzpages::RandomData(recipe.format, rng);
    d.documentCode = QString::fromLatin1(c.code);
    d.birthDate = QStringLiteral("790228");
    d.sex = QStringLiteral("F");
    std::map<QByteArray, QString> truth;
    if (recipe.format == QLatin1String("RUSPN")) {
        d.surname = QStringLiteral("ЩЕРБАКОВА");
        d.givenNames = QStringLiteral("ЮЛИЯ");
        d.patronymic = QStringLiteral("ЭДУАРДОВНА");
        d.documentNumber = QStringLiteral("4503123456");
        d.issueDate = QStringLiteral("050917");
        d.divisionCode = QStringLiteral("770001");
        truth = {{"PP_SurName", d.surname},        {"PP_Name", d.givenNames},   {"PP_SecName", d.patronymic},
                 {"PP_Sex", "ЖЕН."},                {"PP_BirthDate", "28.02.1979"}, {"PP_Ser2", "45 03"},
                 {"PP_Num2", "123456"},             {"PP_Date", "17.09.2005"},   {"PP_Podr", "770-001"}};
    } else {
        d.issuingState = QStringLiteral("UTO");
        d.nationality = QStringLiteral("NOR");
        d.surname = QStringLiteral("OKAFOR");
        d.givenNames = QStringLiteral("ADA NGOZI");
        d.expiryDate = QStringLiteral("310930");
        truth = {{"IN_SurName", d.surname}, {"IN_Name", d.givenNames},      {"IN_SerNum", d.documentNumber},
                 {"IN_BirthDate", "28.02.1979"}, {"IN_Sex", d.sex},          {"IN_Expiry", "30.09.2031"},
                 {"IN_KOD", d.nationality}};
    }
    if (misprint) {
        recipe.printedRows = mrzpages::ZoneLines(recipe.format, d);
        misprint(recipe.printedRows);
    }
    EXPECT_TRUE(mrzpages::MakePage(recipe, d, rng).image.save(QDir(folder).filePath(QLatin1String(c.stem) + QStringLiteral(".png"))));
    return truth;
}

} // namespace

TEST_F(ScProxyRecog, APageReadFromItsPixelsIsTheFormItsZoneMakesItAsTheConfigurationTurnsIt)
{
    const PixelCase cases[] = {
        {"internal-upright", "RUSPN", "PN", 0, true, 270, "Passport1", true},
        {"internal-on-its-side", "RUSPN", "PN", 90, true, 270, "Passport1", true},
        {"internal-upside-down", "RUSPN", "PN", 180, true, 270, "", false},
        {"passport-on-its-side", "TD3", "P", 90, true, 270, "InoPas_MRZ", true},
        {"passport-other-side", "TD3", "P", 270, true, 90, "InoPas_MRZ", true},
        {"passport-turned-over", "TD3", "P", 270, true, 270, "InoPas_MRZ", false},
        {"identity-card", "TD1", "ID", 90, true, 270, "", false},
        {"visa", "MRVA", "V", 90, true, 270, "", false},
        {"no-zone", "TD3", "P", 90, false, 270, "", false},
    };
    QTemporaryDir folder;
    std::map<QString, std::map<QByteArray, QString>> truths;
    for (const PixelCase &c : cases)
        truths[QLatin1String(c.stem)] = WritePixelPage(c, folder.path());
    for (const PixelCase &c : cases) {
        SCOPED_TRACE(c.stem);
        const ScDocumentHandle doc = Recognise(c.stem, c.configTurn, folder.path());
        if (!*c.form) {
            EXPECT_EQ(doc, 0u);
            continue;
        }
        ASSERT_NE(doc, 0u);
        TScFormInformation form{};
        EXPECT_EQ(FormId(doc, &form), c.form);
        EXPECT_EQ(form.nFieldsCount, 0) << "no description's fields, no photo";
        for (const auto &[id, value] : truths[QLatin1String(c.stem)]) {
            EXPECT_EQ(Field(doc, id.constData()).text, c.read ? value : QString()) << id.constData();
            EXPECT_EQ(Field(doc, id.constData()).flags, c.read ? 0 : SCF_VRS_ERROR) << id.constData();
        }
    }
}

TEST_F(ScProxyRecog, AReadPagesFlagsFollowTheReadersTrust)
{
    // The number printed under a check digit that does not hold.
    QTemporaryDir folder;
    const PixelCase c{"misprinted", "TD3", "P", 90, true, 270, "InoPas_MRZ", true};
    WritePixelPage(c, folder.path(), [](QStringList &rows) {
        QChar &check = rows[1][9];
        check = QChar(u'0' + (check.digitValue() + 1) % 10);
    });
    const ScDocumentHandle doc = Recognise(c.stem, c.configTurn, folder.path());
    ASSERT_NE(doc, 0u);
    EXPECT_TRUE(Field(doc, "IN_SerNum").flags & SCF_VRS_ERROR);
    EXPECT_EQ(Field(doc, "IN_SurName").flags, 0);
    EXPECT_EQ(Field(doc, "IN_BirthDate").flags, 0) << "its own check digit holds";
}

TEST_F(ScProxyRecog, ARealPageTurnedOverIsReadByTheRepeatRunAndThenLeavesTheFeeder)
{
    // The configuration files as the package writes them: the first run with
    // 270 finds the page turned over, the window offers the repeat run, the
    // page stays and the run with 90 reads it; the next run has the next page.
    QTemporaryDir folder;
    const PixelCase over{"a-turned-over", "TD3", "P", 270, true, 270, "InoPas_MRZ", false};
    const PixelCase next{"b-next", "RUSPN", "PN", 90, true, 270, "Passport1", true};
    const auto truth = WritePixelPage(over, folder.path());
    WritePixelPage(next, folder.path());
    CreateScApiIniFile();
    const char *feed = "a-*,b-*";
    auto run = [&](const char *file) {
        return Recognise(feed, [&] {
            EXPECT_TRUE(api.ScSetupContext(instance, (GetUserDataFolder() + QLatin1String(file)).toLocal8Bit().constData()));
        }, folder.path());
    };
    const ScDocumentHandle first = run("ScApi_270.Ini");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(Field(first, "IN_SurName").text, QString());
    EXPECT_EQ(Field(first, "IN_Name").text, QString());
    const ScDocumentHandle repeat = run("ScApi_90.Ini");
    ASSERT_NE(repeat, 0u);
    EXPECT_EQ(FormId(repeat), "InoPas_MRZ");
    EXPECT_EQ(Field(repeat, "IN_SurName").text, truth.at("IN_SurName"));
    EXPECT_EQ(Field(repeat, "IN_Name").text, truth.at("IN_Name"));
    const ScDocumentHandle following = run("ScApi_270.Ini");
    ASSERT_NE(following, 0u);
    EXPECT_EQ(FormId(following), "Passport1");
}

TEST_F(ScProxyRecog, ADescribedPageReadFromItsPixelsIsNotItsDescriptionAndTheLogSaysSo)
{
    const QString log = Folder(QStringLiteral("engine.log"));
    EnvSwitch logFile("SCPROXY_LOG", log.toLocal8Bit());
    const ScDocumentHandle described = Recognise("04-InoPas_MRZ", 270);
    ASSERT_NE(described, 0u);
    TScFormInformation form{};
    FormId(described, &form);
    EXPECT_GT(form.nFieldsCount, 0);
    {
        EnvSwitch pixels("SCPROXY_READ", "pixels");
        const ScDocumentHandle read = Recognise("04-InoPas_MRZ", 270);
        ASSERT_NE(read, 0u);
        EXPECT_EQ(FormId(read, &form), "InoPas_MRZ");
        EXPECT_EQ(form.nFieldsCount, 0) << "none of the description's fields, no photo";
        EXPECT_EQ(Field(read, "IN_SurName").text, Field(described, "IN_SurName").text);
    }
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({"described 04-InoPas_MRZ.json", "read TD3"}));
}

TEST_F(ScProxyRecog, APageOfTheSourceManagersScannerIsReadAsItLiesWithTheRepeatRunForOneTurnedOver)
{
    // The manager's specimen scanner is a real scanner to the engine: its
    // page is read from its pixels, with the package's configuration files.
    scannertest::ScannerSources sources;
    QTemporaryDir glass, drawn;
    const PixelCase over{"turned-over", "TD3", "P", 270, true, 270, "InoPas_MRZ", false};
    const PixelCase upright{"internal", "RUSPN", "PN", 0, true, 270, "Passport1", true};
    const auto overTruth = WritePixelPage(over, drawn.path());
    const auto uprightTruth = WritePixelPage(upright, drawn.path());
    CreateScApiIniFile();
    auto scan = [&](const char *stem, const char *file) {
        QFile::remove(glass.filePath(QStringLiteral("page.png")));
        EXPECT_TRUE(QFile::copy(QDir(drawn.path()).filePath(QLatin1String(stem) + QStringLiteral(".png")),
                                glass.filePath(QStringLiteral("page.png"))));
        EnvSwitch pictures("TWAINSPECIMEN_PICTURES", glass.path().toLocal8Bit());
        EXPECT_TRUE(api.ScSetupContext(instance, (GetUserDataFolder() + QLatin1String(file)).toLocal8Bit().constData()));
        package = NewPackage(QStringLiteral("DSS%1").arg(++packages, 4, 16, QLatin1Char('0')));
        const ScScanDeviceHandle device = api.ScScannerOpen(instance, SC_DEV_SCANNER, scannertest::SpecimenSource);
        EXPECT_NE(device, 0u) << ErrorText().toStdString();
        devices.push_back(device);
        EXPECT_TRUE(api.ScScannerSetConfiguration(device, "ScanAllDocuments"));
        EXPECT_NE(api.ScPackageScan(package, device, nullptr), 0u) << ErrorText().toStdString();
        EXPECT_TRUE(api.ScPackageRecog(package, nullptr));
        return api.ScPackageGetFirstDoc(package);
    };
    struct Run
    {
        const char *stem;
        const char *file;
        const char *form;
        const std::map<QByteArray, QString> *truth; ///< null: read turned, the zone's fields empty and in error
    };
    const Run runs[] = {
        {"turned-over", "ScApi_270.Ini", "InoPas_MRZ", nullptr},
        {"turned-over", "ScApi_90.Ini", "InoPas_MRZ", &overTruth},
        {"internal", "ScApi_270.Ini", "Passport1", &uprightTruth},
    };
    for (const Run &r : runs) {
        SCOPED_TRACE(testing::Message() << r.stem << " with " << r.file);
        const ScDocumentHandle doc = scan(r.stem, r.file);
        ASSERT_NE(doc, 0u);
        EXPECT_EQ(FormId(doc), r.form);
        for (const auto &[id, value] : r.truth ? *r.truth : overTruth) {
            EXPECT_EQ(Field(doc, id.constData()).text, r.truth ? value : QString()) << id.constData();
            EXPECT_EQ(Field(doc, id.constData()).flags, r.truth ? 0 : SCF_VRS_ERROR) << id.constData();
        }
    }
}

TEST_F(ScProxyRecog, APictureWithoutADescriptionIsTheFormItsPrintMakesItWithThePrintsFields)
{
    using printed::DocumentKind;
    using P = printed::Field;
    struct Case
    {
        DocumentKind kind;
        const char *form;
        std::vector<std::pair<const char *, std::vector<P>>> fields;
    };
    const Case cases[] = {
        {DocumentKind::InternalPassport, "Passport1",
         {{"PP_SurName", {P::Surname}}, {"PP_Name", {P::GivenName}}, {"PP_SecName", {P::Patronymic}},
          {"PP_Sex", {P::Sex}}, {"PP_BirthDate", {P::BirthDate}}, {"PP_BirthPlace", {P::BirthPlace}},
          {"PP_Ser2", {P::Series}}, {"PP_Num2", {P::Number}}, {"PP_Kem", {P::IssuedBy}},
          {"PP_Date", {P::IssueDate}}, {"PP_Podr", {P::DivisionCode}}}},
        {DocumentKind::ForeignPassport, "InoPas1",
         {{"IN_SurName", {P::Surname}}, {"IN_Name", {P::GivenName}}, {"IN_Sex", {P::Sex}},
          {"IN_BirthDate", {P::BirthDate}}, {"IN_BirthPlace", {P::BirthPlace}},
          {"IN_SerNum2", {P::Series, P::Number}}, {"IN_Kem", {P::IssuedBy}}, {"IN_Date", {P::IssueDate}},
          {"IN_ExpiryDate", {P::ExpiryDate}}}},
        {DocumentKind::DrivingLicence, "DRVL",
         {{"DR_SurName", {P::Surname}}, {"DR_Name", {P::GivenName}}, {"DR_SecName", {P::Patronymic}},
          {"DR_BirthDate", {P::BirthDate}}, {"DR_Date", {P::IssueDate}}, {"DR_Ser", {P::Series}},
          {"DR_Num", {P::Number}}}},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.form);
        mrzpages::Random rng(47 + std::uint64_t(c.kind));
        printedpages::Recipe recipe;
        recipe.kind = c.kind;
        recipe.typeface = 2;
        recipe.labelAbove = false;
        const printedpages::Page page = printedpages::MakePage(recipe, printedpages::RandomIssued(c.kind, rng), rng);
        const QByteArray stem = printed::KindName(c.kind).toLatin1();
        ASSERT_TRUE(page.image.save(dir.filePath(QString::fromLatin1(stem) + QStringLiteral(".png"))));

        const ScDocumentHandle doc = Recognise(stem.constData(), 270, dir.path());
        ASSERT_NE(doc, 0u);
        EXPECT_EQ(FormId(doc), c.form);
        // A field the print gave wrong, or did not give, is marked (never
        // wrong text offered as read), and most are right.
        int right = 0;
        for (const auto &[id, parts] : c.fields) {
            QStringList want;
            for (P f : parts)
                want << page.truth.fields.at(f);
            const Value read = Field(doc, id);
            if (read.text == want.join(QLatin1Char(' ')))
                ++right;
            else
                EXPECT_NE(read.flags, 0) << id << " read as " << read.text.toStdString();
        }
        EXPECT_GE(right, int(c.fields.size()) - 2);
    }
}
