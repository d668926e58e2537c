// Engine answers reaching the recognition window: fields of any name, value
// (UTF-8 or UTF-16, line breaks, symbols, any length), claimed length,
// confidence and picture, through the in-process engine. The window never
// crashes or hangs, the pictures it fetches through the data folder never
// stay behind, and the names reach their edits whole or marked.
//
// Input: one byte of window options, then fields, each
//   name byte, flag byte, [int32 length], [untrusted indexes], value length byte, value bytes;
// flags: 1 found, 2 picture, 4 picture save fails / symbols past the value,
// 8 value in UTF-16, 16 a claimed length follows, bits 5-7 untrusted count.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzWindows.h"

#include "abbyy/engABBYY9r_FM.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "base/ResString.h"
#include "support/FakeEngine.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

const char *const kNames[] = {
    "Series", "Number", "PersonalCode", "Sex", "Sex_EX", "DateOfBirth", "DateOfIssue", "DateOfExpiry",
    "PlaceOfBirth", "PlaceOfBirth_EX", "IssuedBy", "DepartmentCode", "Nationality", "Nationality_EX",
    "LastName", "LastName_EX", "FirstName", "FirstName_EX", "MiddleName", "MiddleName_EX", "Photo", "FullImage",
};

class Reader
{
public:
    Reader(const uint8_t *data, size_t size) : m_p(data), m_end(data + size) {}
    bool AtEnd() const { return m_p >= m_end; }
    uint8_t Byte() { return AtEnd() ? 0 : *m_p++; }
    std::int32_t Int32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(Byte()) << (8 * i);
        return std::int32_t(v);
    }
    QByteArray Bytes(size_t n)
    {
        n = std::min<size_t>(n, size_t(m_end - m_p));
        QByteArray out(reinterpret_cast<const char *>(m_p), qsizetype(n));
        m_p += n;
        return out;
    }

private:
    const uint8_t *m_p;
    const uint8_t *m_end;
};

QString Value(const QByteArray &bytes, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(bytes);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(ushort(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8))));
    return text;
}

fake::Field ReadField(Reader &in)
{
    const uint8_t nameByte = in.Byte();
    const uint8_t flags = in.Byte();
    std::optional<std::int32_t> length;
    if (flags & 0x10)
        length = in.Int32();
    QList<int> untrusted;
    for (int i = 0, n = (flags >> 5) & 7; i < n; ++i)
        untrusted << in.Byte();
    const bool utf16 = flags & 0x08;
    const QString value = Value(in.Bytes(in.Byte()), utf16);
    // Names past the table are names the window does not know.
    const QString name = nameByte < std::size(kNames) ? QString::fromLatin1(kNames[nameByte])
                                                        : QStringLiteral("Unknown%1").arg(nameByte);
    QImage picture;
    if (flags & 0x02) {
        picture = QImage(16 + nameByte % 7, 12 + nameByte % 5, QImage::Format_RGB32);
        picture.fill(QColor(nameByte, 90, 160));
    }
    // Bit 2: a picture field's save fails; a text field's symbols go on past its value.
    fake::Field f(name, value, flags & 0x01, untrusted, picture, picture.isNull() ? false : bool(flags & 0x04));
    f.length = length;
    f.symbolsPastValue = picture.isNull() && (flags & 0x04);
    return f;
}

/// The engine's first field of that name: what the window reads for it.
const QString *FirstValue(const std::vector<std::pair<QString, QString>> &fields, const QString &name)
{
    for (const auto &[n, v] : fields)
        if (n == name)
            return &v;
    return nullptr;
}

/// On the add page, without Latin names, each name the engine gives reaches
/// its edit whole (never cut to an edit's length), or the edit is marked as
/// not recognised when the field came without a readable value.
void CheckNamesReachedTheirEdits(const TABBYYRecognitionFM &form, const std::vector<std::pair<QString, QString>> &fields)
{
    const std::pair<const char *, ui::TCaptionedEdit *> edits[] = {
        {"LastName", form.ledLastName}, {"FirstName", form.ledFirstName}, {"MiddleName", form.ledMiddleName}};
    for (const auto &[name, edit] : edits) {
        const QString *value = FirstValue(fields, QString::fromLatin1(name));
        if (!value) {
            FUZZ_CHECK(edit->Text().isEmpty());
        } else if (value->trimmed().isEmpty()) {
            FUZZ_CHECK(edit->Text() == LoadResString(&_S_NOT_RECOGNIZED));
        } else {
            FUZZ_CHECK(edit->Text() == *value);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartWindows(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    const uint8_t options = in.Byte();
    ComPtr<fake::Engine> engine = fake::make<fake::Engine>();
    engine->scanners = {QStringLiteral("Fake scanner")};
    engine->settings = {fake::Strings({{QStringLiteral("brightness"), QStringLiteral("50")}})};
    while (!in.AtEnd() && engine->fields.size() < 64)
        engine->fields.push_back(ReadField(in));
    engine->nullCollection = options & 0x20;
    if (options & 0x40) {
        engine->failing.Add(QStringLiteral("Recognize"), QStringLiteral("Сбой распознавания"));
        engine->failing.Add(QStringLiteral("ScanAndRecognize"), QStringLiteral("Сбой распознавания"));
    }
    if (options & 0x80)
        engine->pagePath = std::nullopt;

    std::vector<std::pair<QString, QString>> names; // the name fields as the engine gives them
    for (const fake::Field &f : engine->fields)
        names.emplace_back(f.name, f.value);
    gl_RecognitionEngine = IRecognitionEnginePtr(engine.get());
    engine = nullptr;
    gl_ScanSettings = nullptr;
    {
        TABBYYRecognitionFM form; // owns the document types it lists
        form.AddPassportType(QStringLiteral("РФ: паспорт"),
                             new TDocumentInfo("Passport_RU", "РФ: паспорт", "паспорт", "РОССИЯ", tdPassport, true));
        form.AddPassportType(QStringLiteral("РФ: загранпаспорт"),
                             new TDocumentInfo("ForeignPassport_RU", "РФ: загранпаспорт", "загранпаспорт", "",
                                               tdForeignPassport, true));
        form.cbPassportTypes->setCurrentIndex(options & 0x01);
        form.pgcScanRecognize->setCurrentWidget(form.tsScanAndRecognize);
        form.pgcRecognize->setCurrentWidget(options & 0x02 ? form.tsEdit : form.tsAdd);
        form.cxFIOInLatin->setChecked(options & 0x04);
        form.cxPhotoToAccoutData->setChecked(options & 0x08);
        form.cxDocPictureToAccoutData->setChecked(options & 0x10);
        form.cbScanListForTest->addItem(QStringLiteral("Fake scanner"));
        form.cbScanListForTest->setCurrentIndex(0);
        form.acRecognize->trigger();
        FUZZ_CHECK(QDir(GetUserDataFolder()).entryList({QStringLiteral("*.jpg")}, QDir::Files).isEmpty());
        if (!(options & (0x02 | 0x04 | 0x20 | 0x40)))
            CheckNamesReachedTheirEdits(form, names);
    }
    gl_RecognitionEngine = nullptr;
    gl_ScanSettings = nullptr;
    return 0;
}
