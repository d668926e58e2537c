#pragma once
// A long run of the scripted host: many recognitions in one process, cycling
// through the documents, with the process measured at the start, after the
// first 100 recognitions and at the end. Nothing is stored.

#include <QJsonObject>
#include <QString>
#include <functional>

/// What one recognition window ended with.
struct SoakWindow
{
    int modalResult = 0;
    bool delivered = false; ///< a person came back
};

/// Runs `recognitions` windows through recognize(n) (n from 1; the engine
/// must be started), answering every message box, and returns
/// {"recognitions", "delivered", "messages", "messageTexts": {text: count},
///  "unexpected", "points": [figures...]}. The documents come round every
/// `cycle` windows; a window that ends otherwise than the first window on
/// the same document did (another result, other messages) is unexpected.
QJsonObject RunSoak(const QString &dataFolder, int recognitions, int cycle,
                    const std::function<SoakWindow(int n)> &recognize);
