#pragma once
// The reference host recognising from SANE's pnm backend: the page laid on
// a private glass, the host started without a display in a home of its own
// (its settings, its temporary folder), the scripted operator picking the
// pnm source in the engine's scanner choice.

#include "PnmGlass.h"

#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace scannertest {

enum class Engine { Abbyy, Scanify };

const char *EngineName(Engine engine);

struct GlassRun
{
    int exitCode = -1;
    QString errors;       ///< the host's standard error
    QJsonObject report;   ///< the host's whole report
    QJsonObject entry;    ///< the engine's one record entry
    QJsonObject record;   ///< what the host kept of the person; empty when nothing
    /// What the run left in its temporary folder (nothing, when all went well or badly).
    QStringList leftBehind;
};

struct GlassRequest
{
    Engine engine = Engine::Abbyy;
    QImage page;                 ///< laid on the glass; null: the glass holds no file
    QString scanner = QStringLiteral("PNM");
    QString documentType;        ///< empty: the host's default
    QStringList saneOptions;     ///< more options of the pnm device ("status-jammed=yes")
};

GlassRun RunHostOnGlass(const GlassRequest &request);

/// The record's keys that hold a value (a text that is not empty, or a date).
QStringList FilledFields(const QJsonObject &record);

} // namespace scannertest
