#include "common/TProfileFile.h"

#include "base/PackageTexts.h"

#include <QFile>
#include <QSaveFile>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &text)
{
    throw std::runtime_error(text.toStdString());
}

/// The section name of a "[name]" line, or a null array for any other line.
QByteArray sectionOf(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return QByteArray();
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return QByteArray();
    const QByteArray name = t.mid(1, close - 1).trimmed();
    return name.isNull() ? QByteArray("") : name;
}

/// The key of a "key=value" line, or a null array for any other line.
QByteArray keyOf(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return QByteArray();
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return QByteArray();
    const QByteArray key = t.left(eq).trimmed();
    return key.isNull() ? QByteArray("") : key;
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

/// Index of the section's header line, or -1.
qsizetype findSection(const std::vector<QByteArray> &lines, const QByteArray &section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const QByteArray name = sectionOf(lines[i]);
        if (!name.isNull() && sameName(name, section))
            return qsizetype(i);
    }
    return -1;
}

/// One past the last line belonging to the section that starts at header.
size_t sectionEnd(const std::vector<QByteArray> &lines, size_t header)
{
    size_t i = header + 1;
    while (i < lines.size() && sectionOf(lines[i]).isNull())
        ++i;
    return i;
}

QByteArray encode(const QString &text)
{
    return text.toLocal8Bit();
}

/// what: the kind of name in the genitive ("секции", "ключа").
void checkName(const QByteArray &name, const QString &what, const char *forbidden, char leading = '\0')
{
    bool valid = !name.trimmed().isEmpty() && name.trimmed() == name && (!leading || !name.startsWith(leading));
    for (const char *c = forbidden; valid && *c; ++c)
        valid = !name.contains(*c);
    if (!valid)
        fail(QString(texts::SettingsNameNotAllowed).arg(what, QString::fromLocal8Bit(name)));
}

} // namespace

TProfileFile::TProfileFile(const QString &fileName) : m_fileName(fileName) {}

std::vector<QByteArray> TProfileFile::readLines() const
{
    if (m_pending)
        return *m_pending;
    std::vector<QByteArray> lines;
    QFile file(m_fileName);
    if (!file.exists())
        return lines;
    if (!file.open(QIODevice::ReadOnly))
        fail(QString(texts::SettingsFileNotRead).arg(m_fileName, file.errorString()));
    if (file.size() > MaxFileSize)
        fail(QString(texts::SettingsFileTooLarge).arg(m_fileName));
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        fail(QString(texts::SettingsFileTooLarge).arg(m_fileName));
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines.push_back(line);
    }
    // A file that ends with a line break leaves one empty piece behind it.
    if (!lines.empty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}

void TProfileFile::writeLines(const std::vector<QByteArray> &lines)
{
    if (m_pending)
        *m_pending = lines;
    else
        saveLines(lines);
}

void TProfileFile::BeginUpdate()
{
    if (!m_pending)
        m_pending = readLines();
}

void TProfileFile::EndUpdate()
{
    if (!m_pending)
        return;
    const std::vector<QByteArray> lines = std::move(*m_pending);
    m_pending.reset();
    saveLines(lines);
}

void TProfileFile::saveLines(const std::vector<QByteArray> &lines) const
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    QSaveFile file(m_fileName);
    // The engine's configuration sits with the scanned documents: for the
    // user alone, also where an earlier file was readable by others.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(QString(texts::SettingsFileNotWritten).arg(m_fileName, reason));
    }
}

QString TProfileFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    std::vector<QByteArray> lines;
    try {
        lines = readLines();
    } catch (const std::runtime_error &) {
        return def;
    }
    const qsizetype header = findSection(lines, encode(section));
    if (header < 0)
        return def;
    const QByteArray wanted = encode(key);
    for (size_t i = size_t(header) + 1, end = sectionEnd(lines, size_t(header)); i < end; ++i) {
        const QByteArray k = keyOf(lines[i]);
        if (k.isNull() || !sameName(k, wanted))
            continue;
        QByteArray value = lines[i].mid(lines[i].indexOf('=') + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return QString::fromLocal8Bit(value);
    }
    return def;
}

int TProfileFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok);
    return ok ? value : def;
}

void TProfileFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QByteArray s = encode(section);
    const QByteArray k = encode(key);
    const QByteArray v = encode(value);
    checkName(s, QString(texts::SettingsSectionWord), "[]\r\n");
    // A key line that starts with ';' reads back as a comment.
    checkName(k, QString(texts::SettingsKeyWord), "=[\r\n", ';');
    if (v.contains('\r') || v.contains('\n') || v.contains('\0'))
        fail(QString(texts::SettingsValueWithLineBreak).arg(value));
    std::vector<QByteArray> lines = readLines();
    const qsizetype header = findSection(lines, s);
    if (header < 0) {
        lines.push_back('[' + s + ']');
        lines.push_back(k + '=' + v);
        writeLines(lines);
        return;
    }
    const size_t end = sectionEnd(lines, size_t(header));
    size_t insertAt = size_t(header) + 1;
    for (size_t i = size_t(header) + 1; i < end; ++i) {
        const QByteArray existing = keyOf(lines[i]);
        if (!existing.isNull() && sameName(existing, k)) {
            lines[i] = existing + '=' + v; // the key keeps its spelling in the file
            writeLines(lines);
            return;
        }
        if (!lines[i].trimmed().isEmpty())
            insertAt = i + 1;
    }
    lines.insert(lines.begin() + qsizetype(insertAt), k + '=' + v);
    writeLines(lines);
}

void TProfileFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}
