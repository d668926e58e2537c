#pragma once
#include "base/r9Export.h"
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class TDocumentInfo;

/// Header-only, so a host that loads the package at run time can walk the
/// exported lists without linking the package.
///
/// An ordered list of strings, each optionally carrying a TDocumentInfo. With
/// a name-value separator, an entry "name=value" is found by its name. When
/// OwnsObjects is set the list frees the objects it still holds when it is
/// cleared or destroyed.
class R9_EXPORT TOrderedStrings
{
public:
    explicit TOrderedStrings(bool ownsObjects = false) : m_ownsObjects(ownsObjects) {}
    ~TOrderedStrings() { Clear(); }
    TOrderedStrings(const TOrderedStrings &) = delete;
    TOrderedStrings &operator=(const TOrderedStrings &) = delete;

    QChar NameValueSeparator = QLatin1Char('=');

    int Count() const { return int(m_items.size()); }
    int Add(const QString &s) { return AddObject(s, nullptr); }
    int AddObject(const QString &s, TDocumentInfo *object);
    QString Strings(int index) const { return m_items.at(size_t(index)).text; }
    TDocumentInfo *Objects(int index) const { return m_items.at(size_t(index)).object; }
    void SetObject(int index, TDocumentInfo *object) { m_items.at(size_t(index)).object = object; }

    /// The part before the separator; the whole text when there is none.
    QString Names(int index) const;
    /// The part after the first separator; empty when there is none.
    QString ValueFromIndex(int index) const;
    /// The value of the first entry with that name (case-insensitive); empty if none.
    QString Values(const QString &name) const;
    int IndexOf(const QString &s) const;
    /// Index of the first entry with that name (case-insensitive), -1 if none.
    int IndexOfName(const QString &name) const;
    void Clear();
    QStringList ToStringList() const;

private:
    struct Item { QString text; TDocumentInfo *object; };
    std::vector<Item> m_items;
    bool m_ownsObjects;
};

// TDocumentInfo must be complete where an owning list frees its objects.
#include "common/TDocumentInfo.h"

inline int TOrderedStrings::AddObject(const QString &s, TDocumentInfo *object)
{
    m_items.push_back({s, object});
    return Count() - 1;
}

inline QString TOrderedStrings::Names(int index) const
{
    const QString &t = m_items.at(size_t(index)).text;
    const qsizetype p = t.indexOf(NameValueSeparator);
    return p < 0 ? t : t.left(p);
}

inline QString TOrderedStrings::ValueFromIndex(int index) const
{
    const QString &t = m_items.at(size_t(index)).text;
    const qsizetype p = t.indexOf(NameValueSeparator);
    return p < 0 ? QString() : t.mid(p + 1);
}

inline QString TOrderedStrings::Values(const QString &name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? QString() : ValueFromIndex(i);
}

inline int TOrderedStrings::IndexOf(const QString &s) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[size_t(i)].text.compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

inline int TOrderedStrings::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString &t = m_items[size_t(i)].text;
        const qsizetype p = t.indexOf(NameValueSeparator);
        if (p >= 0 && QStringView(t).left(p).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

inline void TOrderedStrings::Clear()
{
    if (m_ownsObjects)
        for (Item &item : m_items)
            delete std::exchange(item.object, nullptr);
    m_items.clear();
}

inline QStringList TOrderedStrings::ToStringList() const
{
    QStringList out;
    for (const Item &item : m_items)
        out << item.text;
    return out;
}
