#pragma once
#include <QString>
#include <QStringList>
#include <vector>

/// The package's settings file held in memory: an INI text in UTF-16
/// little-endian. Sections and keys keep the order of the file; section and
/// key names compare without regard to case, as INI readers do.
///
/// Reading accepts a file with or without a byte-order mark. Whatever cannot
/// be read (a missing file, a file that is not UTF-16 text, a file too large to
/// be a settings file) gives an empty in-memory file, so every key takes its
/// default; the file on disk is left untouched until UpdateFile is called.
/// A file that was there but could not be read is never lost: before the
/// first write over it, UpdateFile keeps it aside as "<name>.bad" (or
/// "<name>.bad-<time>" when that name is taken) and logs so; when it cannot
/// be kept aside, nothing is written and UpdateFile throws.
///
/// A value is written as it is unless it would not read back so: one with a
/// line break or another control character, leading or trailing blanks, or a
/// leading double quote is written in double quotes with backslash escapes
/// (\\ \" \r \n \t \uXXXX). Such a file starts with the comment line
/// EscapedValuesMark; only in a file that has it are quoted values decoded,
/// so every file without it (all files written before) reads exactly as it
/// always did, and a file whose values need no quoting is written unchanged.
///
/// UpdateFile writes UTF-16 LE with a byte-order mark into a temporary file in
/// the same folder and renames it over the old one, so a crash or a full disk
/// never leaves a half-written settings file (a writer killed in the instant
/// between naming the temporary file and renaming it leaves a named copy:
/// the next write removes such copies once they are StaleTemporarySeconds
/// old). A failure throws
/// std::runtime_error and leaves the previous file as it was.
class TSettingsFile
{
public:
    /// Files larger than this are not settings files; they are not read.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    /// Temporary copies of a write older than this were left by a writer
    /// that was killed; a successful write removes them.
    static constexpr int StaleTemporarySeconds = 600;

    /// The first line of a file that holds quoted values.
    static constexpr const char *EscapedValuesMark = ";values in double quotes have backslash escapes";

    explicit TSettingsFile(const QString &fileName);

    QString FileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    /// Decimal integer; a missing key or a value that is not a number gives def.
    int ReadInteger(const QString &section, const QString &key, int def) const;
    /// Stored as an integer, nonzero is true; missing or not a number gives def.
    bool ReadBool(const QString &section, const QString &key, bool def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    QStringList Sections() const;
    QStringList Keys(const QString &section) const;

    /// The whole file as text, lines separated by CR LF.
    QString Text() const;
    /// Writes the file to disk atomically; throws std::runtime_error on failure.
    void UpdateFile() const;

private:
    struct Entry { QString key; QString value; };
    struct Section { QString name; std::vector<Entry> entries; };

    void parse(const QString &text);
    void keepUnreadableFileAside() const;
    void removeStaleTemporaryFiles() const;
    const Section *findSection(const QString &name) const;
    Section &sectionFor(const QString &name);
    const Entry *findEntry(const QString &section, const QString &key) const;

    QString m_fileName;
    std::vector<Section> m_sections;
    /// The file was there but nothing of it could be read.
    mutable bool m_unreadable = false;
};
