#pragma once
#include <QString>
#include <QStringList>
#include <vector>

class TDocumentInfo;

/// An ordered list of strings, each optionally carrying a TDocumentInfo. With
/// a name-value separator, an entry "name=value" is found by its name. When
/// OwnsObjects is set the list frees the objects it still holds when it is
/// cleared or destroyed.
class TStringList
{
public:
    explicit TStringList(bool ownsObjects = false) : m_ownsObjects(ownsObjects) {}
    ~TStringList() { Clear(); }
    TStringList(const TStringList &) = delete;
    TStringList &operator=(const TStringList &) = delete;

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
