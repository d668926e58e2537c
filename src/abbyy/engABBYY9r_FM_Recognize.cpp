// Scanning and recognition on the recognition window. These bodies are the
// minimum the window needs to run; the working operations replace them.
#include "abbyy/engABBYY9r_FM.h"

#include "abbyy/engUtilsABBYY9r.h"

void TABBYYRecognitionFM::acScanExecute()
{
}

void TABBYYRecognitionFM::acRecognizeExecute()
{
}

void TABBYYRecognitionFM::sbCopyCurrentDataClick()
{
}

void TABBYYRecognitionFM::acSaveExecute()
{
    // Nothing to do: bSave closes the window with OK after the date check.
}

IFieldsCollectionPtr TABBYYRecognitionFM::ScanAndRecognizePassport(const QString &DocumentType)
{
    return gl_RecognitionEngine ? gl_RecognitionEngine->ScanAndRecognize(DocumentType) : IFieldsCollectionPtr();
}

void TABBYYRecognitionFM::sbTurnLeftWorkClick()
{
}

void TABBYYRecognitionFM::sbTurnRightWorkClick()
{
}
