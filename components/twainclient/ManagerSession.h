#pragma once
// One session with the source manager: the library found as the package's
// layer finds it (the executable's folder, then the loader's path), opened
// on construction, the open source (if any) and the manager closed on
// destruction. Condition codes and the words for them are asked of the
// manager or of the open source.

#include "TwainTypes.h"

#include <QString>
#include <QStringList>

namespace twainclient {

class ManagerSession
{
public:
    ManagerSession();
    ~ManagerSession();
    ManagerSession(const ManagerSession &) = delete;
    ManagerSession &operator=(const ManagerSession &) = delete;

    /// The manager is open; otherwise failure() says why.
    bool isOpen() const { return m_open; }
    QString failure() const { return m_failure; }

    QStringList sources();
    /// Has every source read its devices again (a manager that does not know
    /// the request keeps its list).
    void relist();
    /// Opens the source of that product name; false: the manager's
    /// condition code and words are in *condition and *words.
    bool openSource(const QString &productName, TW_UINT16 *condition, QString *words);
    /// A triplet to the open source.
    TW_UINT16 toSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    /// The open source's condition code of its last failure and its words
    /// for it (empty when it has none).
    TW_UINT16 sourceCondition(QString *words);

private:
    TW_UINT16 toManager(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    /// The words of dest (null: the manager) for condition; empty without any.
    QString wordsFor(pTW_IDENTITY dest, TW_UINT16 condition);

    DSMENTRYPROC m_entry = nullptr;
    TW_IDENTITY m_app{};
    TW_IDENTITY m_source{};
    TW_UINTPTR m_parent = 0;
    bool m_open = false;
    bool m_sourceOpen = false;
    QString m_failure;
};

/// The window the source's windows belong to: the application's active
/// modal window, else its active window; 0 for none.
TW_UINTPTR CallerWindow();

} // namespace twainclient
