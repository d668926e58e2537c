#pragma once
#include "base/r9Export.h"

#include <QString>

/// A country code; exported for the host by both recognition windows' units,
/// nothing in the package creates one.
class R9_EXPORT TCountryInfo
{
public:
    explicit TCountryInfo(const QString &AKod) : FKod(AKod) {}
    static TCountryInfo *Create(const QString &AKod) { return new TCountryInfo(AKod); }
    QString FKod;
};
