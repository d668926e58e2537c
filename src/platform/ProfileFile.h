#pragma once
// Read-only view of an 8-bit INI file, read the way the engine servers read
// their configuration and settings files: section and key names compare
// without regard to case, values are trimmed and lose one pair of enclosing
// quotes, lines starting with ';' are remarks, and the first of two equal
// keys counts. Here at the bottom so that the Scanify engine and the doubles
// that read its settings file share one reading of it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace r9base {

class ProfileFile
{
public:
    /// Reads path; false with *error ("cannot be opened: ...") when it cannot be read.
    bool Load(const QString &path, QString *error = nullptr);
    /// Parses text as the content of a file.
    void Parse(const QByteArray &text);

    bool HasSection(const QByteArray &section) const;
    /// The value of key in section; empty when either is missing.
    QByteArray Value(const QByteArray &section, const QByteArray &key) const;
    /// The value as a decimal integer, fallback when missing or not a number.
    int IntValue(const QByteArray &section, const QByteArray &key, int fallback) const;
    int SectionCount() const { return int(m_sections.size()); }

private:
    struct Section
    {
        QByteArray name;
        QList<std::pair<QByteArray, QByteArray>> entries;
    };
    const Section *Find(const QByteArray &section) const;

    QList<Section> m_sections;
};

} // namespace r9base
