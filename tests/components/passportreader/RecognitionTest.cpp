// Recognition as the package's form drives it: a scanned file renamed to
// .bmp and recognised, or scan and recognise in one call.

#include "EngineFixture.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace abbyytest;

namespace {

class RecognitionTest : public EngineTest
{
protected:
    /// Scans the next page and gives it the name the form gives it.
    static QString ScanAsForm(IRecognitionEngine *engine)
    {
        const QString scanned = engine->Scan();
        const QFileInfo fi(scanned);
        const QString bmp = fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral(".bmp");
        EXPECT_TRUE(QFile::rename(scanned, bmp)) << scanned.toStdString();
        return bmp;
    }

    static QList<bool> TrustFlags(IRecognizedField *field)
    {
        QList<bool> flags;
        for (int i = 0; i < field->Length(); ++i)
            flags << field->Symbol(i)->Trusted();
        return flags;
    }
};

TEST_F(RecognitionTest, RecognisesTheRenamedScanOfAnInternalPassport)
{
    QTemporaryDir dir;
    SetSpecimens(SpecimenSubset(dir, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    const QString page = ScanAsForm(engine.get());
    IFieldsCollectionPtr fields = engine->Recognize(page, QStringLiteral("Passport_RU"));
    ASSERT_TRUE(fields);

    EXPECT_EQ(fields->FieldValue(QStringLiteral("Series"), QStringLiteral("FieldValue")), QStringLiteral("99 12"));
    EXPECT_EQ(fields->FieldValue(QStringLiteral("Number"), QStringLiteral("FieldValue")), QStringLiteral("345678"));
    EXPECT_EQ(fields->FieldValue(QStringLiteral("DepartmentCode"), QString()), QStringLiteral("999-017"));
    EXPECT_EQ(QDate::fromString(fields->FieldValue(QStringLiteral("DateOfBirth"), QString()), QStringLiteral("dd.MM.yyyy")),
              QDate(1991, 9, 3));
    // Two printed lines arrive with CR LF between them.
    EXPECT_EQ(fields->FieldValue(QStringLiteral("PlaceOfBirth"), QString()),
              QStringLiteral("ГОР. ЛУГОВСК-9\r\nЗАРЕЧНОЙ ОБЛ."));
    // Missing fields: the caller's default, and no field object.
    EXPECT_EQ(fields->FieldValue(QStringLiteral("Nationality"), QStringLiteral("FieldValue")), QStringLiteral("FieldValue"));
    EXPECT_FALSE(fields->Field(QStringLiteral("Nationality")));
    EXPECT_FALSE(fields->Field(QStringLiteral("LastName_EX")));

    IRecognizedFieldPtr last = fields->Field(QStringLiteral("LastName"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Name(), QStringLiteral("LastName"));
    EXPECT_EQ(last->Value(), QStringLiteral("ПЕТРОВСКАЯ"));
    EXPECT_TRUE(last->IsFound());
    EXPECT_FALSE(last->IsImage());
    ASSERT_EQ(last->Length(), 10);
    const QList<bool> expected = {true, true, true, false, true, true, true, true, true, true};
    EXPECT_EQ(TrustFlags(last.get()), expected);
    EXPECT_FALSE(ExceptionText([&] { last->Symbol(10); }).isEmpty());
    EXPECT_FALSE(ExceptionText([&] { last->SaveTo(QDir::temp().filePath(QStringLiteral("x.jpg")), 0); }).isEmpty());

    // Every field is reachable by position too, the pictures last.
    const int count = fields->Count();
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << fields->Item(i)->Name();
    EXPECT_EQ(names.mid(count - 2), (QStringList{QStringLiteral("Photo"), QStringLiteral("FullImage")}));
    EXPECT_TRUE(names.contains(QStringLiteral("MiddleName")));
    EXPECT_FALSE(ExceptionText([&] { fields->Item(count); }).isEmpty());
    EXPECT_FALSE(fields->Item(0)->id().isEmpty());

    // The page the engine read is the collection's full picture.
    EXPECT_EQ(fields->GetArray(1, 0)->Value(QStringLiteral("FullImage")), page);
    EXPECT_FALSE(ExceptionText([&] { fields->GetArray(2, 0); }).isEmpty());
    QFile::remove(page);
}

TEST_F(RecognitionTest, PictureFieldsSaveJpegFilesThatDecode)
{
    QTemporaryDir dir;
    SetSpecimens(SpecimenSubset(dir, {QStringLiteral("05-Passport_BY")}));
    IRecognitionEnginePtr engine = StartedEngine();
    IFieldsCollectionPtr fields = engine->ScanAndRecognize(QStringLiteral("Passport_BY"));
    ASSERT_TRUE(fields);
    QTemporaryDir data;

    IRecognizedFieldPtr photo = fields->Field(QStringLiteral("Photo"));
    ASSERT_TRUE(photo);
    EXPECT_TRUE(photo->IsFound());
    EXPECT_TRUE(photo->IsImage());
    EXPECT_EQ(photo->Length(), 0);
    EXPECT_NE(fields->FieldValue(QStringLiteral("Photo"), QStringLiteral("FieldValue")), QStringLiteral("FieldValue"));
    photo->SaveTo(data.filePath(QStringLiteral("Photo.jpg")), 0);
    const QImage portrait = DecodeJpeg(data.filePath(QStringLiteral("Photo.jpg")));
    EXPECT_EQ(portrait.size(), QSize(220, 290)); // the description's photo zone

    IRecognizedFieldPtr full = fields->Field(QStringLiteral("FullImage"));
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->IsImage());
    full->SaveTo(data.filePath(QStringLiteral("FullImage.jpg")), 0);
    EXPECT_EQ(DecodeJpeg(data.filePath(QStringLiteral("FullImage.jpg"))).size(), QSize(1000, 700));

    EXPECT_FALSE(ExceptionText([&] { full->SaveTo(data.filePath(QStringLiteral("x.png")), 1); }).isEmpty());
    const QString noFolder = ExceptionText([&] { full->SaveTo(data.filePath(QStringLiteral("no/such/FullImage.jpg")), 0); });
    EXPECT_TRUE(noFolder.contains(QLatin1String("FullImage"))) << noFolder.toStdString();

    // Without a file, the scanned page is kept as a picture the form can load.
    const QString pagePath = fields->GetArray(1, 0)->Value(QStringLiteral("FullImage"));
    EXPECT_TRUE(pagePath.endsWith(QLatin1String(".bmp"))) << pagePath.toStdString();
    QImage page;
    EXPECT_TRUE(page.load(pagePath));
    EXPECT_EQ(page.size(), QSize(1000, 700));
    // ...for as long as the result lives: a day of scans must not fill the disk.
    photo = nullptr;
    full = nullptr;
    fields = nullptr;
    EXPECT_FALSE(QFile::exists(pagePath));
}

TEST_F(RecognitionTest, ADocumentTypeThatDoesNotMatchThePageGivesAnEmptyCollection)
{
    QTemporaryDir dir;
    SetSpecimens(SpecimenSubset(dir, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    const QString page = ScanAsForm(engine.get());
    IFieldsCollectionPtr fields = engine->Recognize(page, QStringLiteral("ID_KZ"));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->Count(), 0);
    EXPECT_FALSE(fields->Field(QStringLiteral("LastName")));
    EXPECT_EQ(fields->FieldValue(QStringLiteral("LastName"), QStringLiteral("FieldValue")), QStringLiteral("FieldValue"));
    EXPECT_EQ(fields->FieldValue(QStringLiteral("FullImage"), QStringLiteral("FieldValue")), QStringLiteral("FieldValue"));
    EXPECT_EQ(fields->GetArray(1, 0)->Value(QStringLiteral("FullImage")), page);

    // A type the engine does not know at all is an error, not an empty result.
    const QString text = ExceptionText([&] { engine->Recognize(page, QStringLiteral("Passport_XX")); });
    EXPECT_TRUE(text.contains(QLatin1String("Passport_XX"))) << text.toStdString();
    QFile::remove(page);
}

TEST_F(RecognitionTest, PagesAreRecognisedByTheirLookToo)
{
    // The specimen picture itself, never delivered by a scan, and a darkened
    // grey copy of it: both are the same document.
    IRecognitionEnginePtr engine = StartedEngine();
    const QString original = GeneratedSpecimens() + QStringLiteral("/03-DriverLicense_RU.png");
    IFieldsCollectionPtr direct = engine->Recognize(original, QStringLiteral("DriverLicense_RU"));
    EXPECT_EQ(direct->FieldValue(QStringLiteral("LastName_EX"), QString()), QStringLiteral("KUZNETSOVA"));

    QTemporaryDir dir;
    QImage grey = QImage(original).convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (uchar *p = grey.scanLine(y), *e = p + grey.width(); p != e; ++p)
            *p = uchar(*p * 3 / 4);
    const QString copy = dir.filePath(QStringLiteral("copy.bmp"));
    ASSERT_TRUE(grey.save(copy, "BMP"));
    IFieldsCollectionPtr fromCopy = engine->Recognize(copy, QStringLiteral("DriverLicense_RU"));
    EXPECT_EQ(fromCopy->FieldValue(QStringLiteral("Number"), QString()), QStringLiteral("456789"));

    // Something else entirely is no document of that type.
    QImage blank(856, 540, QImage::Format_RGB888);
    blank.fill(Qt::white);
    const QString blankPath = dir.filePath(QStringLiteral("blank.bmp"));
    ASSERT_TRUE(blank.save(blankPath, "BMP"));
    EXPECT_EQ(engine->Recognize(blankPath, QStringLiteral("DriverLicense_RU"))->Count(), 0);
}

TEST_F(RecognitionTest, UnreadableFilesAreErrorsWithTheFileName)
{
    IRecognitionEnginePtr engine = StartedEngine();
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.bmp"));
    EXPECT_TRUE(ExceptionText([&] { engine->Recognize(missing, QStringLiteral("Passport_RU")); }).contains(missing));
    const QString junk = dir.filePath(QStringLiteral("junk.bmp"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM but not really a picture");
    f.close();
    EXPECT_TRUE(ExceptionText([&] { engine->Recognize(junk, QStringLiteral("Passport_RU")); }).contains(junk));
}

TEST_F(RecognitionTest, AllowedDocumentsAreASubsetOfTheCataloguePlusAnUnknownType)
{
    IRecognitionEnginePtr engine = StartedEngine();
    IStringsArrayPtr docs = engine->AllowedDocuments();
    QStringList names;
    for (int i = 0; i < docs->Count(); ++i)
        names << docs->Name(i);
    for (const char *type : {"Passport_RU", "ForeignPassport_RU", "DriverLicense_RU", "ForeignPassport_MRZ", "Passport_BY", "ID_KZ"})
        EXPECT_TRUE(names.contains(QLatin1String(type))) << type;
    EXPECT_TRUE(names.contains(QLatin1String("BirthCertificate_RU")));
    EXPECT_FALSE(names.contains(QLatin1String("ForeignPassport_UA")));
    EXPECT_GT(names.size(), 2);
    EXPECT_LT(names.size(), 19);
    EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size()) << "no identifier twice";
}

TEST_F(RecognitionTest, AUserDocumentIsServedFromItsDescription)
{
    QTemporaryDir dir;
    QFile::copy(GeneratedSpecimens() + QStringLiteral("/06-ID_KZ.png"), dir.filePath(QStringLiteral("kg.png")));
    QFile desc(dir.filePath(QStringLiteral("kg.json")));
    ASSERT_TRUE(desc.open(QIODevice::WriteOnly));
    desc.write(R"({"documentType": "ID_KG", "picture": "kg.png",
                  "photoZone": {"x": 30, "y": 80, "width": 200, "height": 260},
                  "fields": [{"name": "LastName", "value": "ТЕСТОВ", "untrusted": [0]},
                             {"name": "MiddleName", "value": ""}]})");
    desc.close();
    SetSpecimens(dir.path());
    IRecognitionEnginePtr engine = StartedEngine();
    IStringsArrayPtr docs = engine->AllowedDocuments();
    EXPECT_TRUE(docs->Contains(QStringLiteral("ID_KG")));
    IFieldsCollectionPtr fields = engine->ScanAndRecognize(QStringLiteral("ID_KG"));
    EXPECT_EQ(fields->Count(), 4);
    EXPECT_FALSE(fields->Field(QStringLiteral("LastName"))->Symbol(0)->Trusted());
    IRecognizedFieldPtr middle = fields->Field(QStringLiteral("MiddleName"));
    ASSERT_TRUE(middle);
    EXPECT_FALSE(middle->IsFound()) << "an empty value is not found unless the description says so";
    EXPECT_EQ(middle->Length(), 0);
    QFile::remove(fields->GetArray(1, 0)->Value(QStringLiteral("FullImage")));
}

} // namespace
