#include "RecognitionWindowRun.h"

QJsonObject ResultEntry(const RecognitionResult &r, const QString &folder)
{
    QJsonObject o{{"modalResult", r.modalResult},
                  {"gl_PhotoToAccountData", r.photoToAccountData},
                  {"gl_DocumentToAccountData", r.documentToAccountData}};
    if (r.record) {
        r.record->Store(folder);
        o["record"] = r.record->ToJson();
        o["recordFolder"] = folder;
    }
    return o;
}
