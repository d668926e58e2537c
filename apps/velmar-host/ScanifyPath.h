#pragma once
// The host's Scanify path: load and start the engine library, run the
// recognition window (by script for every page of the stand-in's feeder, or
// once for a person at the display), end and unload the engine.

#include <QJsonObject>
#include <QString>

class PackageLoader;

struct ScanifyPathOptions
{
    bool scripted = false;
    QString person; ///< a stored person's record for the edit page; empty: a new person
    QString output; ///< the persons' records go into output/scanify-person-NN
    int soak = 0;   ///< a long run of this many recognitions instead (nothing stored)
    QString formPages; ///< scripted: screenshots of every page of the first window; empty: none
    QString scanner;   ///< scripted: one page from the source whose name holds this; empty: the feeder's pages
};

QJsonObject RunScanifyPath(const PackageLoader &package, const ScanifyPathOptions &options);
