#pragma once
// An INI file in the locale's 8-bit encoding, written key by key as the
// engine configuration files expect: every write goes to disk at once.
//
// Writing a key keeps everything else of the file as it stands (comments,
// unknown lines, the order of sections and keys). A key that exists is
// replaced in place; a new key is appended after the last entry of its
// section; a section that does not exist yet is appended at the end of the
// file together with its first key. Section and key names compare without
// regard to (ASCII) case. Lines are written with CR LF.
//
// Each write replaces the file atomically (temporary file in the same folder,
// then rename), so a failed write leaves the previous file whole. A file that
// cannot be written, an existing file that cannot be read, and a name or value
// that would break the file's structure raise std::runtime_error.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class TProfileFile
{
public:
    /// Existing files larger than this are not profile files; they are never
    /// read or rewritten.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    explicit TProfileFile(const QString &fileName);

    QString FileName() const { return m_fileName; }

    /// The value with blanks trimmed and one pair of enclosing double quotes
    /// removed; def when the section or key is missing or the file unreadable.
    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    /// Decimal integer; def when missing or not a number.
    int ReadInteger(const QString &section, const QString &key, int def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    /// Written in decimal.
    void WriteInteger(const QString &section, const QString &key, int value);

    /// Collects the writes that follow in memory (reads see them) until
    /// EndUpdate puts them on disk in one replacement of the file. Writing a
    /// whole file key by key then costs one write, and a failure on the way
    /// leaves no half-written file.
    void BeginUpdate();
    /// Writes what was collected since BeginUpdate; raises like a write.
    void EndUpdate();

private:
    std::vector<QByteArray> readLines() const;
    void writeLines(const std::vector<QByteArray> &lines);
    void saveLines(const std::vector<QByteArray> &lines) const;

    QString m_fileName;
    std::optional<std::vector<QByteArray>> m_pending;
};
