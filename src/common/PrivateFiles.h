#pragma once
// Scanned documents, photos and the engines' packages are a person's data:
// the data folder and everything the package or an engine writes into it are
// for the user alone (folders 0700, files 0600), whatever the user's umask.

#include <QString>

/// Creates folder with the missing folders above it, each new one for the
/// user alone, and makes folder itself so (also when it existed). Returns
/// whether it exists as a folder for the user alone.
bool MakePrivateFolder(const QString &folder);

/// Takes path, and when it is a folder everything under it, to the user
/// alone: folders 0700, files 0600. Symbolic links are left as they are and
/// not followed. Returns false when something could not be closed (it goes
/// on with the rest).
bool MakePrivate(const QString &path);

/// While it lives, files and folders are created for the user alone (the
/// process's umask is 077): what an engine writes is private from its first
/// byte. Restores the umask when it ends.
class TPrivateCreation
{
public:
    TPrivateCreation();
    ~TPrivateCreation();
    TPrivateCreation(const TPrivateCreation &) = delete;
    TPrivateCreation &operator=(const TPrivateCreation &) = delete;

private:
    unsigned m_previous;
};
