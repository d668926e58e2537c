#include "AbbyyRequest.h"

#include "abbyy/engABBYY9r_FM.h"
#include "common/engCommon9r.h"
#include "host/IDataSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>

namespace {

/// Offers every document type the engine supports; the form owns the copies.
void FillDocumentTypes(const PackageLoader &package, TABBYYRecognitionFM *form, const QString &selected)
{
    TOrderedStrings *catalogue = *package.Variable<TOrderedStrings *>("gl_ListAllowedDocuments");
    for (int i = 0; catalogue && i < catalogue->Count(); ++i) {
        const TDocumentInfo *info = catalogue->Objects(i);
        if (!info || !info->FIsEnabled)
            continue;
        // The form keeps each item's TDocumentInfo as the item's data.
        form->cbPassportTypes->addItem(info->FDocName,
                                       QVariant::fromValue(reinterpret_cast<quintptr>(new TDocumentInfo(*info))));
        if (info->FIdentifier == selected)
            form->cbPassportTypes->setCurrentIndex(form->cbPassportTypes->count() - 1);
    }
    if (form->cbPassportTypes->currentIndex() < 0 && form->cbPassportTypes->count() > 0)
        form->cbPassportTypes->setCurrentIndex(0);
}

} // namespace

PersonRecord ReadFormRecord(const TABBYYRecognitionFM *f)
{
    PersonRecord r = ReadResultFields(f, f->pgcRecognize->currentWidget() == f->tsEdit);
    if (const int i = f->cbPassportTypes->currentIndex(); i >= 0)
        if (const auto *info = reinterpret_cast<const TDocumentInfo *>(f->cbPassportTypes->itemData(i).value<quintptr>()))
            r.documentType = info->FIdentifier;
    return r;
}

AbbyyResult RunAbbyyRequest(const PackageLoader &package, const AbbyyRequest &request)
{
    RecognitionWindowCalls<TABBYYRecognitionFM> calls;
    calls.createFunction = "TABBYYRecognitionFM_Create";
    calls.formVariable = "ABBYYRecognitionFM";
    calls.prepare = [&](TABBYYRecognitionFM *form) {
        FillDocumentTypes(package, form, request.documentType);
        form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
        // The window connects its nationalities source to gl_cdsNationalities
        // when it is created; the host installed its data set before that.
        host::IDataSet *nationalities = *package.Variable<host::IDataSet *>("gl_cdsNationalities");
        if (form->dsNationalities->DataSet() != nationalities)
            std::fprintf(stderr, "velmar-host: the recognition window is not connected to the nationalities\n");
    };
    calls.read = ReadFormRecord;
    AbbyyResult result;
    static_cast<RecognitionResult &>(result) = RunRecognitionWindow(package, calls, request.current, request.operate);
    result.fioOnLatin = *package.Variable<bool>("gl_FIOOnLatin");
    return result;
}

QJsonObject AbbyyResultEntry(const AbbyyResult &r, const QString &folder)
{
    QJsonObject o = ResultEntry(r, folder);
    o["gl_FIOOnLatin"] = r.fioOnLatin;
    return o;
}
