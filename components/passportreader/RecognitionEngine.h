#pragma once
// The engine: two scanners that feed the specimen pages and one per source
// of the TWAIN source manager, their settings, and recognition of a page.

#include "ComObject.h"
#include "SpecimenCatalogue.h"
#include "StringsArray.h"
#include "TwainClient.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace passportreader {

class InitParams final : public ComObject<IInitParams>
{
protected:
    bool Supports(const IID &iid) const override { return iid == IID_IInitParams; }
};

class RecognitionEngine final : public ComObject<IRecognitionEngine>
{
public:
    RecognitionEngine();

    HRESULT raw_Init(IInitParams *params, bool *result) override;
    HRESULT raw_Close() override;
    HRESULT raw_IsInitialized(bool *result) override;
    HRESULT raw_ScannersCount(std::int32_t *result) override;
    HRESULT raw_ScannerName(std::int32_t index, QString *result) override;
    HRESULT raw_CurrentScanSource(std::int32_t index) override;
    HRESULT raw_GetScanSettings(IStringsArray **result) override;
    HRESULT raw_SetScanSettings(IStringsArray *settings) override;
    HRESULT raw_Scan(QString *filePath) override;
    HRESULT raw_AllowedDocuments(IStringsArray **result) override;
    HRESULT raw_Recognize(const QString &path, const QString &documentType, IFieldsCollection **result) override;
    HRESULT raw_ScanAndRecognize(const QString &documentType, IFieldsCollection **result) override;
    HRESULT raw_LogMode(std::int32_t mode) override;
    HRESULT raw_EnablePreprocessedImageCoordinatesMode() override;

    /// Document types the engine reads: a fixed set plus those of the
    /// specimens found in the specimen folder.
    static QStringList AllowedTypes();

protected:
    bool Supports(const IID &iid) const override { return iid == IID_IRecognitionEngine; }

private:
    struct Scanner
    {
        QString name;
        StringsArray::Entries settings; ///< the settings it supports, with their current values
        size_t nextPage = 0;
        QString source; ///< the source manager's product name; empty for a specimen feeder
        bool offersAsked = false; ///< the source was asked which settings it has
    };

    bool CheckReady(const char *operation);
    int ScannerCount() const;
    /// Scans the next page of the current scanner; empty on failure (error
    /// set). *sourceEnd, when given, tells how a source's scan ended.
    /// scanned, when given, sees a source's page before its file is written.
    QString ScanPage(std::optional<twainclient::Outcome> *sourceEnd = nullptr,
                     const std::function<void(const QImage &)> &scanned = {});
    /// The page file of a scan: a BMP picture under a temporary name; empty
    /// on failure (error set). *bytes gets the file's bytes.
    QString WritePage(const QImage &page, QByteArray *bytes);
    /// pageIsOurs: the file is a page this server scanned; it is deleted with
    /// the collection that names it, or at once when recognition fails.
    HRESULT RecognizeFile(const QString &path, const QString &documentType, IFieldsCollection **result,
                          bool pageIsOurs = false);
    /// The collection of what was found on the page whose file is path.
    HRESULT Collect(std::shared_ptr<const Specimen> specimen, const QImage &page, const QString &path, bool pageIsOurs,
                    IFieldsCollection **result);

    /// The scanner the operator's list shows at index.
    Scanner &Offered(int index);

    /// The specimen feeders lead the list; the source manager's sources follow.
    static constexpr int kFeeders = 2;
    std::vector<Scanner> m_scanners;
    int m_hiddenFeeders = 0; ///< kFeeders when the specimens are not installed
    int m_current = 0;
    bool m_initialized = false;
    int m_logMode = 0;
    bool m_preprocessedCoordinates = false;
};

} // namespace passportreader
