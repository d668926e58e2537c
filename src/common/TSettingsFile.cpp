#include "common/TSettingsFile.h"

#include "base/PackageTexts.h"
#include "host/Sdlogfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <stdexcept>

namespace {

QString decodeUtf16Le(const QByteArray &bytes)
{
    qsizetype start = 0;
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE)
        start = 2;
    // An odd trailing byte is the remnant of a truncated file: drop it.
    const qsizetype units = (bytes.size() - start) / 2;
    QString text(units, Qt::Uninitialized);
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData()) + start;
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(ushort(p[2 * i] | (p[2 * i + 1] << 8)));
    return text;
}

/// A value that would not read back from a plain "key=value" line.
bool needsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace() || value.front() == u'"')
        return true;
    for (QChar c : value)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return true;
    return false;
}

QString quoted(const QString &value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += u'"';
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

/// Decodes a quoted value; false when the text is not one (then it is read as written).
bool unquote(QStringView text, QString &value)
{
    if (text.size() < 2 || text.front() != u'"' || text.back() != u'"')
        return false;
    QString out;
    const QStringView body = text.mid(1, text.size() - 2);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'"')
            return false; // a quote inside must be escaped
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= body.size())
            return false;
        switch (body[i].unicode()) {
        case '\\': out += u'\\'; break;
        case '"': out += u'"'; break;
        case 'r': out += u'\r'; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'u': {
            bool ok = false;
            const ushort code = i + 4 < body.size() ? body.mid(i + 1, 4).toUShort(&ok, 16) : 0;
            if (!ok)
                return false;
            out += QChar(code);
            i += 4;
            break;
        }
        default: return false;
        }
    }
    value = out;
    return true;
}

/// Text with something in it besides blanks and comments.
bool hasContent(const QString &text)
{
    const auto lines = QStringView(text).split(QChar('\n'));
    for (QStringView line : lines) {
        line = line.trimmed();
        if (!line.isEmpty() && !line.startsWith(u';'))
            return true;
    }
    return false;
}

} // namespace

TSettingsFile::TSettingsFile(const QString &fileName)
    : m_fileName(fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || file.size() == 0)
        return; // nothing there (a folder in its place fails at the write)
    if (file.size() > MaxFileSize || !file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        return;
    }
    const QString text = decodeUtf16Le(file.readAll());
    parse(text);
    // Not UTF-16 text, or nothing like a settings file: whatever it holds,
    // it is somebody's, and a write must not destroy it.
    m_unreadable = m_sections.empty() && hasContent(text);
}

void TSettingsFile::removeStaleTemporaryFiles() const
{
    // Our own temporary copies ("<name>.XXXXXX") that a killed writer named
    // but never renamed. Any writer finishes in far less than the bound, so
    // nothing another process is writing right now is touched.
    const QFileInfo target(m_fileName);
    const QRegularExpression own(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$")
                                     .arg(QRegularExpression::escape(target.fileName())));
    const QDateTime bound = QDateTime::currentDateTimeUtc().addSecs(-StaleTemporarySeconds);
    const QFileInfoList candidates = target.dir().entryInfoList({target.fileName() + QStringLiteral(".*")},
                                                                QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &file : candidates)
        if (own.match(file.fileName()).hasMatch() && file.lastModified().toUTC() < bound)
            QFile::remove(file.absoluteFilePath());
}

void TSettingsFile::keepUnreadableFileAside() const
{
    if (!m_unreadable)
        return;
    // Another writer may have replaced the file with a good one meanwhile.
    if (!TSettingsFile(m_fileName).m_unreadable) {
        m_unreadable = false;
        return;
    }
    // An earlier copy is never replaced: each unreadable file keeps its own.
    QString backup = m_fileName + QStringLiteral(".bad");
    if (QFileInfo::exists(backup)) {
        const QString stamped = backup + QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-hhmmss-zzz"));
        backup = stamped;
        for (int n = 2; QFileInfo::exists(backup) && n < 1000; ++n)
            backup = stamped + QLatin1Char('-') + QString::number(n);
    }
    if (!QFile::copy(m_fileName, backup))
        throw std::runtime_error(QString(texts::SettingsFileNotReadNorKept).arg(m_fileName, backup).toStdString());
    // A copy keeps the modes of a file that may have been readable by others.
    QFile::setPermissions(backup, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    WriteLogFileMessage(QStringLiteral("Файл настроек \"%1\" не удалось прочитать; он сохранён как \"%2\", "
                                       "настройки записаны заново")
                            .arg(m_fileName, backup));
    m_unreadable = false;
}

void TSettingsFile::parse(const QString &text)
{
    Section *current = nullptr;
    bool escaped = false;
    const auto lines = QStringView(text).split(QChar('\n'));
    for (QStringView raw : lines) {
        QStringView line = raw.trimmed();
        if (!current && line == QLatin1String(EscapedValuesMark))
            escaped = true;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &sectionFor(line.mid(1, line.size() - 2).toString());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue; // garbage outside a section or without a key is not a setting
        const QString key = line.left(eq).trimmed().toString();
        QString value;
        if (!escaped || !unquote(line.mid(eq + 1), value))
            value = line.mid(eq + 1).toString();
        bool replaced = false;
        for (Entry &e : current->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
                e.value = value;
                replaced = true;
                break;
            }
        if (!replaced)
            current->entries.push_back({key, value});
    }
}

const TSettingsFile::Section *TSettingsFile::findSection(const QString &name) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

TSettingsFile::Section &TSettingsFile::sectionFor(const QString &name)
{
    for (Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return s;
    m_sections.push_back({name, {}});
    return m_sections.back();
}

const TSettingsFile::Entry *TSettingsFile::findEntry(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Entry &e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

QString TSettingsFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const Entry *e = findEntry(section, key);
    return e ? e->value : def;
}

int TSettingsFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    const Entry *e = findEntry(section, key);
    if (!e)
        return def;
    bool ok = false;
    const int v = e->value.trimmed().toInt(&ok, 10);
    return ok ? v : def;
}

bool TSettingsFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TSettingsFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    Section &s = sectionFor(section);
    for (Entry &e : s.entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    s.entries.push_back({key, value});
}

void TSettingsFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TSettingsFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TSettingsFile::SectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool TSettingsFile::ValueExists(const QString &section, const QString &key) const
{
    return findEntry(section, key) != nullptr;
}

QStringList TSettingsFile::Sections() const
{
    QStringList names;
    for (const Section &s : m_sections)
        names << s.name;
    return names;
}

QStringList TSettingsFile::Keys(const QString &section) const
{
    QStringList keys;
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            keys << e.key;
    return keys;
}

QString TSettingsFile::Text() const
{
    bool escaped = false;
    for (const Section &s : m_sections)
        for (const Entry &e : s.entries)
            escaped = escaped || needsQuotes(e.value);
    QString text;
    if (escaped)
        text += QLatin1String(EscapedValuesMark) + QLatin1String("\r\n");
    for (const Section &s : m_sections) {
        text += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const Entry &e : s.entries)
            text += e.key + QLatin1Char('=') + (escaped && needsQuotes(e.value) ? quoted(e.value) : e.value)
                + QLatin1String("\r\n");
        text += QLatin1String("\r\n");
    }
    return text;
}

void TSettingsFile::UpdateFile() const
{
    const QString text = Text();
    QByteArray bytes;
    bytes.reserve(2 + text.size() * 2);
    bytes.append(char(0xFF)).append(char(0xFE));
    for (QChar c : text) {
        const ushort u = c.unicode();
        bytes.append(char(u & 0xFF)).append(char(u >> 8));
    }
    keepUnreadableFileAside();
    QSaveFile file(m_fileName);
    // The settings sit with the scanned documents: for the user alone, also
    // where an earlier file was readable by others.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw std::runtime_error(QString(texts::SettingsFileNotWritten)
                                     .arg(m_fileName, reason).toStdString());
    }
    removeStaleTemporaryFiles();
}
