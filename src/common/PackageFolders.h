#pragma once
// The package folders the Scanify engine fills, one per scan, in the per-user
// data folder: "dss" and four upper-case hexadecimal digits. The engine never
// deletes them, so the package does, once they are older than the days the
// settings keep (gl_PackageKeepDays).

#include <QDateTime>
#include <QString>

/// Whether name is the name of a package folder ("dss" + four hex digits).
bool IsPackageFolderName(const QString &name);

/// Removes the folder name directly under dataFolder with everything in it,
/// following no link, not even one put in its place after it was listed (a
/// link or file of that name is left alone). Returns whether it was removed;
/// error is the error number why it could not be, 0 when it was left alone.
bool RemovePackageFolder(const QString &dataFolder, const QString &name, int &error);

/// Removes the package folders directly under dataFolder that were last
/// changed more than keepDays days before now, with everything in them.
/// keepDays 0 or below keeps everything. Links and files of such a name are
/// never followed or removed. Writes one line to the host's log saying how
/// many folders went (none when none did), and one with the cause for each
/// folder that could not be removed; a host that installs its log only later
/// gets the lines then. Returns the number removed.
int RemoveOldPackageFolders(const QString &dataFolder, int keepDays, const QDateTime &now);
