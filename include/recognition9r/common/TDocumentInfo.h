#pragma once
#include "base/r9Export.h"
#include <QString>
#include <cstdint>

/// Kind of an identity document; stored in one byte.
enum TTypeDocument : std::uint8_t {
    tdPassport = 0,
    tdForeignPassport = 1,
    tdDriverLicense = 2,
    tdIdentificationCard = 3,
    tdMRZDocument = 4,
};

/// One recognisable document type of the catalogue.
class R9_EXPORT TDocumentInfo
{
public:
    TDocumentInfo(const QString &AIdentifier, const QString &ADocName, const QString &AShortDocName,
                  const QString &ACountryNation, TTypeDocument ATypeDocument, bool AIsEnabled)
        : FIdentifier(AIdentifier), FDocName(ADocName), FShortDocName(AShortDocName),
          FCountryNation(ACountryNation), FTypeDocument(ATypeDocument), FIsEnabled(AIsEnabled) {}

    QString FIdentifier;
    QString FDocName;
    QString FShortDocName;
    QString FCountryNation;
    TTypeDocument FTypeDocument;
    bool FIsEnabled;
};

