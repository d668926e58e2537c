#include "CognitiveRequest.h"

#include "ResultFieldsReader.h"
#include "scanify/engCognitive9r_FM.h"

#include <QTabWidget>

PersonRecord ReadCognitiveRecord(const TCognitiveRecognitionFM *f)
{
    PersonRecord r = ReadResultFields(f, f->pgcRecognize->currentWidget() == f->tsEdit);
    r.documentName = f->FDocumentName;
    return r;
}

CognitiveResult RunCognitiveRequest(const PackageLoader &package, const CognitiveRequest &request)
{
    RecognitionWindowCalls<TCognitiveRecognitionFM> calls;
    calls.createFunction = "TCognitiveRecognitionFM_Create";
    calls.formVariable = "CognitiveRecognitionFM";
    calls.read = ReadCognitiveRecord;
    return RunRecognitionWindow(package, calls, request.current, request.operate);
}
