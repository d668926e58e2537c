#pragma once
// The data sources the manager knows: shared libraries exporting DS_Entry,
// found in the folder twain/ beside the manager and in the folders that the
// environment variable TWAINDSM_SOURCES lists (separated by colons).

#include "TwainTypes.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace twaindsm {

struct SourceLibrary
{
    QString path;
    TW_IDENTITY identity{};   // as the source describes itself; Id set while open
    void *handle = nullptr;   // loaded while the source is open
    DSENTRYPROC entry = nullptr;

    bool isOpen() const { return handle != nullptr; }
    QString productName() const { return QString::fromLocal8Bit(identity.ProductName); }
};

/// The folders searched for data sources, in order.
QStringList SourceFolders();

/// A library lists at most this many sources.
inline constexpr std::size_t MaxSourcesPerLibrary = 64;

/// The sources one library offers: the identities it lists for
/// DAT_IDENTITY / MSG_GETFIRST and MSG_GETNEXT (one per device it drives),
/// else the one it answers for MSG_GET; empty when it names none.
std::vector<TW_IDENTITY> AskIdentities(DSENTRYPROC entry, pTW_IDENTITY app);

enum class Listing { Kept, Afresh };

/// Every data source found, each asked for its identity; libraries that
/// cannot be loaded, lack DS_Entry or refuse to name themselves are skipped, a library
/// listing several sources gives one entry per source (sharing its path),
/// and of two sources with one product name the first found is kept.
/// Afresh, each library is first told to read its devices again
/// (TWAINDSM_MSG_RELIST); else it may answer from the list it keeps.
std::vector<SourceLibrary> DiscoverSources(pTW_IDENTITY app, Listing listing = Listing::Kept);

/// Loads the source's library; false when it cannot be loaded.
bool LoadSource(SourceLibrary &source);
void UnloadSource(SourceLibrary &source);

} // namespace twaindsm
