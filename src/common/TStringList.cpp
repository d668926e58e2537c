#include "common/TStringList.h"
#include "common/engCommon9r.h"

int TStringList::AddObject(const QString &s, TDocumentInfo *object)
{
    m_items.push_back({s, object});
    return Count() - 1;
}

QString TStringList::Names(int index) const
{
    const QString &t = m_items.at(size_t(index)).text;
    const qsizetype p = t.indexOf(NameValueSeparator);
    return p < 0 ? t : t.left(p);
}

QString TStringList::ValueFromIndex(int index) const
{
    const QString &t = m_items.at(size_t(index)).text;
    const qsizetype p = t.indexOf(NameValueSeparator);
    return p < 0 ? QString() : t.mid(p + 1);
}

QString TStringList::Values(const QString &name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? QString() : ValueFromIndex(i);
}

int TStringList::IndexOf(const QString &s) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[size_t(i)].text.compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString &t = m_items[size_t(i)].text;
        const qsizetype p = t.indexOf(NameValueSeparator);
        if (p >= 0 && QStringView(t).left(p).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TStringList::Clear()
{
    if (m_ownsObjects)
        for (Item &item : m_items)
            delete std::exchange(item.object, nullptr);
    m_items.clear();
}

QStringList TStringList::ToStringList() const
{
    QStringList out;
    for (const Item &item : m_items)
        out << item.text;
    return out;
}
