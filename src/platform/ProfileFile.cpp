#include "platform/ProfileFile.h"

#include <QFile>

namespace r9base {

bool ProfileFile::Load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    Parse(file.readAll());
    return true;
}

void ProfileFile::Parse(const QByteArray &text)
{
    m_sections.clear();
    Section *current = nullptr;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            const QByteArray name = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
            current = const_cast<Section *>(Find(name));
            if (!current) {
                m_sections.append(Section{name, {}});
                current = &m_sections.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!current || eq <= 0)
            continue;
        QByteArray value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        current->entries.append({line.left(eq).trimmed(), value});
    }
}

const ProfileFile::Section *ProfileFile::Find(const QByteArray &section) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool ProfileFile::HasSection(const QByteArray &section) const
{
    return Find(section) != nullptr;
}

QByteArray ProfileFile::Value(const QByteArray &section, const QByteArray &key) const
{
    if (const Section *s = Find(section))
        for (const auto &[k, v] : s->entries)
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return v;
    return {};
}

int ProfileFile::IntValue(const QByteArray &section, const QByteArray &key, int fallback) const
{
    bool ok = false;
    const int v = Value(section, key).toInt(&ok);
    return ok ? v : fallback;
}

} // namespace r9base
