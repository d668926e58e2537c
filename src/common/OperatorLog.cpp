#include "common/OperatorLog.h"

#include "common/FieldOutcome.h"
#include "base/engCommon9rMessages.h"
#include "host/Sdlogfile.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"

#include <QRegularExpression>
#include <QStringList>

namespace recognition {

namespace {

/// A shown text on one line of the log: its line breaks become blanks.
QString oneLine(const QString &text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n]+"));
    return QString(text.trimmed()).replace(lineBreaks, QStringLiteral(" "));
}

QString listOrNone(const QStringList &captions)
{
    return captions.isEmpty() ? QStringLiteral("нет") : captions.join(QStringLiteral(", "));
}

/// Every box the package shows goes to the log from the moment the package
/// is loaded; a host without a log loses nothing but the line.
const bool g_boxesLogged = [] {
    ui::SetMessageBoxListener([](const ui::MessageBoxCall &call) { WriteLogFileMessage(MessageBoxLogLine(call)); });
    return true;
}();

} // namespace

QString MessageBoxLogLine(const ui::MessageBoxCall &call)
{
    return QStringLiteral("Сообщение оператору \"%1\": %2")
        .arg(call.caption, oneLine(call.logText.isEmpty() ? call.text : call.logText));
}

void LogFailure(const QString &what, const QString &shown)
{
    WriteLogFileMessage(what + QStringLiteral(": ") + oneLine(shown));
}

void LogRecognitionOutcome(const QString &engine, const QString &document, const QString &form,
                           const TResultFieldSet &fields, TColumn column)
{
    // A field the engine could not read shows a placeholder, not a value.
    const QString notRecognized = LoadResString(&_S_NOT_RECOGNIZED);
    QStringList filled, unreadable, doubtful, erroneous;
    for (const TFieldDescription &f : ResultFields()) {
        const QString caption = QString::fromUtf8(f.caption);
        const ui::TCaptionedEdit *text = fields.Text(f.field, column);
        if (text && text->Text().trimmed() == notRecognized)
            unreadable << caption;
        else if (fields.HasValue(f.field, column))
            filled << caption;
        switch (MarkOf(fields.Control(f.field, column))) {
        case TFieldMark::Doubtful: doubtful << caption; break;
        case TFieldMark::Erroneous: erroneous << caption; break;
        case TFieldMark::None: break;
        }
    }
    QString line = QStringLiteral("Распознавание (%1): ").arg(engine);
    line += document.isEmpty() ? QStringLiteral("документ не определён") : QStringLiteral("документ \"%1\"").arg(document);
    if (!form.isEmpty())
        line += QStringLiteral(" (форма %1)").arg(form);
    line += QStringLiteral("; заполнено полей: %1 из %2 (%3)").arg(filled.size()).arg(ResultFields().size()).arg(listOrNone(filled));
    if (!unreadable.isEmpty())
        line += QStringLiteral("; не распознано: %1").arg(unreadable.join(QStringLiteral(", ")));
    line += QStringLiteral("; с сомнением: %1; с ошибкой: %2").arg(listOrNone(doubtful), listOrNone(erroneous));
    WriteLogFileMessage(line);
}

} // namespace recognition
