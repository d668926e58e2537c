#pragma once
// What a request of the host to either recognition window does the same way:
// the window is created through its exported function, put on its add page
// or (for an existing person) its edit page with the current values, shown
// modally, read back after OK and freed; the forms' variable is forgotten.

#include "PackageLoader.h"
#include "PersonRecord.h"
#include "ResultFieldsReader.h"
#include "ui/TPictureBox.h"

#include <QDialog>
#include <QJsonObject>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

struct RecognitionResult
{
    int modalResult = 0;
    std::optional<PersonRecord> record; ///< set after OK
    bool photoToAccountData = false;
    bool documentToAccountData = false;
};

/// A result as the report lists it; the record is stored in folder, and a
/// failure to store it is the entry's "storeError".
QJsonObject ResultEntry(const RecognitionResult &r, const QString &folder);

/// Runs operate once the window's own modal loop runs and no box of the
/// window is up (a window may tell the operator something as it opens; the
/// operator answers that first). Whatever ends the window before its loop
/// started (an answer given inside such a box's loop) is repeated from the
/// loop, so exec always returns. Returns the watch (the window's child) to
/// delete once exec returned.
QTimer *StartOperatorInWindowLoop(QDialog *window, std::function<void()> operate);

class TRecognitionWindow;

/// Writes a PNG of every page of the window (the scan page with each of its
/// two sub-pages, and the options page) as opened, at its smallest and
/// maximised, into folder; returns the files written.
QStringList WriteFormPageScreenshots(TRecognitionWindow *form, const QString &folder, const QString &prefix);

/// The window's own part of a request.
template <class Form>
struct RecognitionWindowCalls
{
    const char *createFunction; ///< exported: Form *(*)(QWidget *owner)
    const char *formVariable;   ///< exported: Form *
    /// Before the data page is chosen: what only this window needs.
    std::function<void(Form *)> prepare;
    /// After OK: the record of the active data page.
    std::function<PersonRecord(const Form *)> read;
};

template <class Form>
RecognitionResult RunRecognitionWindow(const PackageLoader &package, const RecognitionWindowCalls<Form> &calls,
                                       const std::optional<PersonRecord> &current,
                                       const std::function<void(Form *)> &operate)
{
    auto create = package.Function<Form *(*)(QWidget *)>(calls.createFunction);
    auto **formVariable = package.Variable<Form *>(calls.formVariable);
    std::unique_ptr<Form> form(create(nullptr));
    struct Forget
    {
        Form **variable;
        ~Forget() { *variable = nullptr; }
    } forget{formVariable};

    if (calls.prepare)
        calls.prepare(form.get());
    if (current) {
        form->pgcRecognize->setCurrentWidget(form->tsEdit);
        FillCurrentFields(form.get(), *current);
    } else {
        form->pgcRecognize->setCurrentWidget(form->tsAdd);
    }
    QTimer *watch = nullptr;
    if (operate)
        watch = StartOperatorInWindowLoop(form.get(), [f = form.get(), operate] { operate(f); });
    RecognitionResult result;
    result.modalResult = form->exec();
    delete watch;
    result.photoToAccountData = *package.Variable<bool>("gl_PhotoToAccountData");
    result.documentToAccountData = *package.Variable<bool>("gl_DocumentToAccountData");
    if (result.modalResult == 1) {
        PersonRecord record = calls.read(form.get());
        if (result.photoToAccountData)
            record.photo = form->imgPhoto->Picture();
        if (result.documentToAccountData)
            record.documentPicture = form->imgWorkRecognize->Picture();
        result.record = std::move(record);
    }
    return result;
}
