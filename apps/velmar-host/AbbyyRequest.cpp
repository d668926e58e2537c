#include "AbbyyRequest.h"

#include "PackageLoader.h"
#include "ResultFieldsReader.h"
#include "abbyy/engABBYY9r_FM.h"
#include "common/engCommon9r.h"
#include "host/IDataSet.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <vector>

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

PersonRecord ReadFormRecord(TABBYYRecognitionFM *f)
{
    const bool edit = f->pgcRecognize->currentWidget() == f->tsEdit;
    // The passport-reader window marks a doubtful value red.
    PersonRecord r = ReadResultFields(f, edit, [](const QWidget *control) {
        if (const auto *text = qobject_cast<const ui::TCaptionedEdit *>(control))
            return text->IsFontRed() ? FieldMark::Doubtful : FieldMark::None;
        const auto *date = qobject_cast<const ui::TNullableDateEdit *>(control);
        return date && date->IsFontRed() ? FieldMark::Doubtful : FieldMark::None;
    });
    if (const int i = f->cbPassportTypes->currentIndex(); i >= 0)
        if (const auto *info = reinterpret_cast<const TDocumentInfo *>(f->cbPassportTypes->itemData(i).value<quintptr>()))
            r.documentType = info->FIdentifier;
    return r;
}

QStringList WriteFormPageScreenshots(TABBYYRecognitionFM *f, const QString &folder, const QString &prefix)
{
    QStringList written;
    if (!QDir().mkpath(folder))
        return written;
    QWidget *page = f->pgcScanRecognize->currentWidget();
    QWidget *subPage = f->pgcRecognize->currentWidget();
    const auto shoot = [&](QWidget *main, QWidget *sub, const QString &name) {
        f->pgcScanRecognize->setCurrentWidget(main);
        if (sub)
            f->pgcRecognize->setCurrentWidget(sub);
        const QString path = QDir(folder).filePath(prefix + name + QStringLiteral(".png"));
        QCoreApplication::sendPostedEvents(); // the layouts of the page just selected
        if (f->grab().save(path, "PNG"))
            written << path;
    };
    // As opened, at the smallest size the window allows, and maximised on a
    // full HD screen.
    const QSize opened = f->size();
    const std::pair<QSize, QString> sizes[] = {
        {opened, QString()}, {f->minimumSize(), QStringLiteral("-min")}, {QSize(1920, 1040), QStringLiteral("-max")}};
    for (const auto &[size, suffix] : sizes) {
        f->resize(size);
        shoot(f->tsScanAndRecognize, f->tsAdd, QStringLiteral("tsScanAndRecognize-tsAdd") + suffix);
        shoot(f->tsScanAndRecognize, f->tsEdit, QStringLiteral("tsScanAndRecognize-tsEdit") + suffix);
        shoot(f->tsCommonOptions, nullptr, QStringLiteral("tsCommonOptions") + suffix);
    }
    f->resize(opened);
    f->pgcScanRecognize->setCurrentWidget(page);
    f->pgcRecognize->setCurrentWidget(subPage);
    return written;
}

AbbyyResult RunAbbyyRequest(const PackageLoader &package, const AbbyyRequest &request)
{
    auto create = package.Function<TABBYYRecognitionFM *(*)(QWidget *)>("TABBYYRecognitionFM_Create");
    auto **formVariable = package.Variable<TABBYYRecognitionFM *>("ABBYYRecognitionFM");
    std::unique_ptr<TABBYYRecognitionFM> form(create(nullptr));
    struct Forget
    {
        TABBYYRecognitionFM **variable;
        ~Forget() { *variable = nullptr; }
    } forget{formVariable};

    FillDocumentTypes(package, form.get(), request.documentType);
    form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
    if (request.current) {
        form->pgcRecognize->setCurrentWidget(form->tsEdit);
        FillCurrentFields(form.get(), *request.current);
    } else {
        form->pgcRecognize->setCurrentWidget(form->tsAdd);
    }
    // The window connects its nationalities source to gl_cdsNationalities
    // when it is created; the host installed its data set before that.
    host::IDataSet *nationalities = *package.Variable<host::IDataSet *>("gl_cdsNationalities");
    if (form->dsNationalities->DataSet() != nationalities)
        std::fprintf(stderr, "velmar-host: the recognition window is not connected to the nationalities\n");

    if (request.operate) {
        TABBYYRecognitionFM *f = form.get();
        QTimer::singleShot(0, f, [f, operate = request.operate] { operate(f); });
    }
    AbbyyResult result;
    result.modalResult = form->exec();
    result.photoToAccountData = *package.Variable<bool>("gl_PhotoToAccountData");
    result.documentToAccountData = *package.Variable<bool>("gl_DocumentToAccountData");
    result.fioOnLatin = *package.Variable<bool>("gl_FIOOnLatin");
    if (result.modalResult == 1) {
        PersonRecord record = ReadFormRecord(form.get());
        if (result.photoToAccountData)
            record.photo = form->imgPhoto->Picture();
        if (result.documentToAccountData)
            record.documentPicture = form->imgWorkRecognize->Picture();
        result.record = std::move(record);
    }
    return result;
}
