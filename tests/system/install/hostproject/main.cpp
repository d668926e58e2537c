// Starts the package, fills the edit page of the recognition window through
// the controls' public setters and reads it back, then works every public
// header's free functions (PublicFunctions.cpp). The optional argument is the
// installed reference host's folder, whose Scanify engine stand-in is started
// too. Prints what differs and exits with 1 then; 0 when everything came back.
#include "PublicFunctions.h"

#include <abbyy/engABBYY9r_FM.h>
#include <common/Recognition9r.h>
#include <common/engCommon9r.h>
#include <ui/TCaptionedEdit.h>
#include <ui/TNullableDateEdit.h>

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Initialize();
    int faults = 0;
    const auto expect = [&faults](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "tinyhost: %s\n", what);
            ++faults;
        }
    };
    {
        std::unique_ptr<TABBYYRecognitionFM> form(TABBYYRecognitionFM_Create(nullptr));
        expect(ABBYYRecognitionFM == form.get(), "the form variable is not set");
        form->ledFirstNameCurr->SetText(QStringLiteral("АННА"));
        form->dteDateOfIssueCurr->SetDate(QDate(2015, 4, 1));
        expect(form->ledFirstNameCurr->Text() == QStringLiteral("АННА"), "the first name did not come back");
        expect(form->dteDateOfIssueCurr->Date() == QDate(2015, 4, 1), "the issue date did not come back");
        expect(gl_ListAllowedDocuments && gl_ListAllowedDocuments->Count() > 0, "the catalogue is empty");
    }
    expect(ABBYYRecognitionFM == nullptr, "the form variable outlived the form");
    faults += CheckPublicFunctions(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    Finalize();
    std::printf("tinyhost: %s\n", faults ? "FAILED" : "ok");
    return faults ? 1 : 0;
}
