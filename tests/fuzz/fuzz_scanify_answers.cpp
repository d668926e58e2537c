// Engine answers reaching the Scanify window: field values of any bytes and
// length (odd lengths, invalid or cut 8-bit text, CR/LF, symbols, texts past
// the 4 KiB bound, no terminator at all), doubt and error flags, dates,
// unknown forms and failing calls, through the in-process fake of the engine
// library into the recognition run and FillDocumentCtrl; and the 8-bit text
// reader on its own. Beyond "no crash": a value is shown whole up to the
// reading bound and its first invalid sequence (never cut by an edit's
// typing limit), the marking follows the flags, the window ends every run
// enabled with the scanner closed and no busy cursor, and no text is read
// past its buffer.
//
// Input: one byte of options (bits 0-2 the form, 3 the edit page, 4 every
// text comes unterminated from one 4 KiB buffer, 5 recognition fails, 6 no
// document, 7 the engine leaves the attribute record alone), then fields,
// each name byte, flag byte (0 doubt, 1 error, 2 no text, 3 foreign flag
// bits, 4 the value repeated 40 times), value length byte, value bytes.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzWindows.h"

#include "common/engCommon9r.h"
#include "scanify/CognitiveForms.h"
#include "scanify/ScanifyText.h"
#include "scanify/engCognitive9r_FM.h"
#include "scanify/engUtilsScanify9r.h"
#include "support/FakeScanify.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <algorithm>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

using r9test::FakeScanify;

const char *const kForms[] = {"Passport1", "biopasp_mdl", "InoPas1", "DRVL", "InoPas_MRZ", "Passport2", "", "passport1"};

// Every field the window reads, its photo fields, and a few it does not know.
const char *const kNames[] = {
    "PP_SurName", "PP_Name", "PP_SecName", "PP_Sex", "PP_BirthDate", "PP_BirthPlace", "PP_Ser2", "PP_Num2",
    "PP_Kem", "PP_Date", "PP_Podr", "IN_SurName", "IN_Name", "IN_Sex", "IN_BirthDate", "IN_BirthPlace",
    "IN_SerNum2", "IN_Kem", "IN_Date", "IN_ExpiryDate", "DR_SurName", "DR_Name", "DR_SecName", "DR_BirthDate",
    "DR_Date", "DR_Ser", "DR_Num", "IN_SerNum", "IN_Expiry", "IN_CNT", "IN_KOD", "photo", "IN_PHOTO2", "IN_FOTO",
};

class Reader
{
public:
    Reader(const uint8_t *data, size_t size) : m_p(data), m_end(data + size) {}
    bool AtEnd() const { return m_p >= m_end; }
    uint8_t Byte() { return AtEnd() ? 0 : *m_p++; }
    std::string Bytes(size_t n)
    {
        n = std::min<size_t>(n, size_t(m_end - m_p));
        std::string out(reinterpret_cast<const char *>(m_p), n);
        m_p += n;
        return out;
    }

private:
    const uint8_t *m_p;
    const uint8_t *m_end;
};

// What the package may make of engine bytes, worked out independently of
// its reader: the bytes up to the terminator or the bound, as far as they
// are well-formed UTF-8 (the locale's encoding here), a leading byte order
// mark dropped.
QString Expected(const char *text, size_t bound, bool *cut = nullptr)
{
    if (cut)
        *cut = false;
    if (!text)
        return QString();
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    const size_t n = strnlen(text, bound);
    size_t i = 0;
    QString out;
    while (i < n) {
        const unsigned char c = p[i];
        int extra = 0;
        char32_t cp = c;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            extra = 2, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3, cp = c & 0x07;
        else
            break;
        if (i + size_t(extra) >= n) // cut short by the terminator or the bound
            break;
        bool ok = true;
        for (int k = 1; ok && k <= extra; ++k) {
            if ((p[i + size_t(k)] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i + size_t(k)] & 0x3F);
        }
        // Overlong forms, surrogates and code points past the last plane are no text.
        if (!ok || (extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            break;
        const bool byteOrderMark = i == 0 && cp == 0xFEFF;
        if (QChar::requiresSurrogates(cp))
            out.append(QChar(QChar::highSurrogate(cp))).append(QChar(QChar::lowSurrogate(cp)));
        else if (!byteOrderMark)
            out.append(QChar(char16_t(cp)));
        i += size_t(extra) + 1;
        // A leading byte order mark is not shown, so the value is not what the engine read.
        if (byteOrderMark && cut)
            *cut = true;
    }
    if (i < n && cut)
        *cut = true;
    return out;
}

// The reader alone: unterminated buffers of exactly the given size (the
// sanitizer catches a read beyond), and the fixed text fields of records.
void CheckTextReader(const uint8_t *data, size_t size)
{
    std::unique_ptr<char[]> exact(new char[size ? size : 1]);
    if (size)
        std::memcpy(exact.get(), data, size);
    const QString text = scanify::FromEngineText(size ? exact.get() : nullptr, size);
    FUZZ_CHECK(text == (size ? Expected(exact.get(), size) : QString()));
    struct Record
    {
        char szId[16];
        char szName[64];
    } record;
    // Both fields filled to their last byte, no terminator needed.
    for (size_t i = 0; i < sizeof record.szId; ++i)
        record.szId[i] = size ? char(data[i % size]) : 'x';
    for (size_t i = 0; i < sizeof record.szName; ++i)
        record.szName[i] = size ? char(data[(i + sizeof record.szId) % size]) : 'x';
    FUZZ_CHECK(scanify::FromEngineField(record.szId) == Expected(record.szId, sizeof record.szId));
    FUZZ_CHECK(scanify::FromEngineField(record.szName) == Expected(record.szName, sizeof record.szName));
}

std::string Jpeg()
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes.toStdString();
}

struct Given
{
    const char *text; // what the engine hands out for the field
    std::int32_t flags;
};

void CheckWindow(const TCognitiveRecognitionFM &form, const FakeScanify &fake, const scanify::TCognitiveForm *kind,
                 const std::map<std::string, Given> &given, recognition::TColumn column)
{
    FUZZ_CHECK(form.isEnabled());
    FUZZ_CHECK(QApplication::overrideCursor() == nullptr);
    FUZZ_CHECK(fake.CallCount("ScScannerOpen") == fake.CallCount("ScScannerClose"));
    if (!kind || fake.CallCount("ScPackageGetFirstDoc") == 0 || !fake.recogResult || fake.firstDocResult == 0)
        return;
    // Per result field: the joined values of the fields read into it, the
    // flags of the last one, and the worst mark of them all, which the box
    // shows (error over doubt over clean).
    std::map<int, QString> joined;
    std::map<int, int> worst;
    std::map<int, std::int32_t> lastFlags;
    std::map<int, bool> lastGaveText;
    std::map<int, bool> lastCut;
    for (const scanify::TFieldMapping &m : kind->Fields()) {
        const auto it = given.find(m.engineField);
        // A field the engine was not given reads "" (or the one raw text), flags 0.
        const Given g = it != given.end() ? it->second : Given{fake.rawText ? fake.rawText : "", 0};
        bool cut = false;
        joined[m.target] += QLatin1Char(' ') + Expected(g.text, scanify::MaxEngineText, &cut);
        lastCut[m.target] = cut;
        lastFlags[m.target] = fake.fillAttributes ? g.flags : 0;
        lastGaveText[m.target] = g.text && *g.text;
        const int mark = ((lastFlags[m.target] & SCF_VRS_ERROR) || cut) ? 2
                         : (lastFlags[m.target] & SCF_VRS_WARNING)     ? 1
                                                                        : 0;
        worst[m.target] = std::max(worst[m.target], mark);
    }
    for (const auto &[target, text] : joined) {
        const auto field = recognition::TResultField(target);
        const std::int32_t flags = lastFlags[target];
        // A value cut short at bytes that are no text is marked as an error.
        const QColor marked = worst[target] == 2   ? scanify::ErroneousFieldColor()
                              : worst[target] == 1 ? scanify::DoubtfulFieldColor()
                                                   : scanify::NormalFieldColor();
        if (ui::TCaptionedEdit *edit = form.Fields().Text(field, column)) {
            // Shown whole, however long the edit's typing limit.
            FUZZ_CHECK(edit->Text() == text);
            FUZZ_CHECK(edit->BackgroundColor() == marked);
        } else if (ui::TNullableDateEdit *date = form.Fields().Date(field, column)) {
            const QString value = text.mid(1);
            const QDate plain = QDate::fromString(value, QStringLiteral("dd.MM.yyyy"));
            if (plain.isValid() && plain.year() >= 1900 && plain.year() <= 2100)
                FUZZ_CHECK(date->Date() == plain);
            if ((flags & SCF_VRS_ERROR) || lastCut[target])
                FUZZ_CHECK(date->BackgroundColor() == scanify::ErroneousFieldColor());
            if (!date->IsNull())
                FUZZ_CHECK(date->Date().isValid());
            else if (!value.trimmed().isEmpty() || (lastGaveText[target] && value.isEmpty()))
                FUZZ_CHECK(date->BackgroundColor() == scanify::ErroneousFieldColor());
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
    CheckTextReader(data, size);

    Reader in(data, size);
    const uint8_t options = in.Byte();
    static const std::string jpeg = Jpeg();
    const QString packageFolder = fuzz::ScratchFolder() + QStringLiteral("/package");
    QDir(packageFolder).removeRecursively();
    QDir().mkpath(packageFolder);

    FakeScanify fake;
    fake.packageName = packageFolder.toStdString();
    fake.exportBytes = jpeg;
    fake.formId = kForms[options & 7];
    fake.recogResult = !(options & 0x20);
    fake.firstDocResult = (options & 0x40) ? 0 : 0x51;
    fake.fillAttributes = !(options & 0x80);

    // Every text of the engine from one buffer of exactly 4 KiB without a terminator.
    std::unique_ptr<char[]> raw;
    std::map<std::string, Given> given;
    std::vector<std::unique_ptr<std::string>> keep;
    while (!in.AtEnd() && fake.fields.size() < 48) {
        const uint8_t nameByte = in.Byte();
        const uint8_t flags = in.Byte();
        std::string value = in.Bytes(in.Byte());
        if (flags & 0x10) {
            std::string longer;
            for (int i = 0; i < 40; ++i)
                longer += value;
            value = longer;
        }
        const std::string name = nameByte < std::size(kNames) ? std::string(kNames[nameByte])
                                                              : QByteArray("F").append(QByteArray::number(nameByte)).toStdString();
        FakeScanify::Field f;
        f.flags = ((flags & 1) ? SCF_VRS_WARNING : 0) | ((flags & 2) ? SCF_VRS_ERROR : 0)
                  | ((flags & 8) ? std::int32_t(0xFFFFFFF0u | 3u) : 0);
        if (!(flags & 4))
            f.value = value;
        fake.fields[name] = f;
    }
    for (const auto &[name, f] : fake.fields) {
        keep.push_back(std::make_unique<std::string>(f.value.value_or(std::string())));
        given[name] = Given{f.value ? keep.back()->c_str() : nullptr, f.flags};
    }
    if (options & 0x10) {
        raw.reset(new char[scanify::MaxEngineText]);
        for (size_t i = 0; i < scanify::MaxEngineText; ++i)
            raw[i] = char(size ? (data[i % size] ? data[i % size] : 'a') : 'a');
        fake.rawText = raw.get();
        for (auto &[name, g] : given)
            g.text = raw.get();
    }
    for (const auto &[name, f] : fake.fields)
        fake.formFields.push_back(name);

    gl_hScInstance = 0x11;
    gl_hScPackage = 0;
    gl_sScannerName = QStringLiteral("Fake Feeder");
    gl_TwainDialogNeed = false;
    gl_SelectScanner = false;
    gl_Protocol = false;
    CreateScApiIniFile();
    {
        std::unique_ptr<TCognitiveRecognitionFM> form(TCognitiveRecognitionFM_Create(nullptr));
        const bool editPage = options & 0x08;
        form->pgcRecognize->setCurrentWidget(editPage ? form->tsEdit : form->tsAdd);
        form->bRecognize->click();
        CheckWindow(*form, fake, scanify::FindCognitiveForm(QString::fromLatin1(fake.formId.c_str())), given,
                    editPage ? recognition::TColumn::Recognized : recognition::TColumn::Add);
    }
    gl_hScInstance = 0;
    gl_hScPackage = 0;
    return 0;
}
