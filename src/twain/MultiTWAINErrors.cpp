// The layer's error record, its description tables and its warning boxes.
#include "MultiTWAIN_p.h"

#include "LockedBlock.h"
#include "base/ResString.h"
#include "base/engCommon9rMessages.h"
#include "host/Sdlogfile.h"
#include "ui/TMessageBox.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

namespace twain {

namespace {

constexpr const char *ErrorTexts[] = {
    "[no details available]",
    "",
    "DAT_CAPABILITY/MSG_GET failed",
    "DAT_CAPABILITY/MSG_SET failed",
    "Source Manager operation failed",
    "DataSource operation failed",
    "",
    "TWAIN session not in State 4 (Source Open)",
    "MSG_GET returned a NULL container handle",
    "MSG_GET returned an invalid container handle",
    "Returned container is not valid type",
    "Returned container has invalid ItemType",
    "Returned container is empty",
    "App and source found NO values in common",
};

constexpr const char *ResultTexts[] = {
    "TWRC_SUCCESS",   "TWRC_FAILURE",    "TWRC_CHECKSTATUS ('tried hard')", "TWRC_CANCEL",
    "TWRC_DSEVENT",   "TWRC_NOTDSEVENT", "TWRC_XFERDONE",                   "TWRC_ENDOFLIST",
};

constexpr const char *ConditionTexts[] = {
    "TWCC_SUCCESS",
    "TWCC_BUMMER (Failure due to unknown causes)",
    "TWCC_LOWMEMORY",
    "TWCC_NODS (No Data Source)",
    "TWCC_MAXCONNECTIONS (DS is connected to max possible apps)",
    "TWCC_OPERATIONERROR (DS or DSM reported error, app shouldn't)",
    "TWCC_BADCAP (Unknown capability)",
    "7 (undefined)",
    "8 (undefined)",
    "TWCC_BADPROTOCOL (Unrecognized triplet)",
    "TWCC_BADVALUE (Data parameter out of range)",
    "TWCC_SEQERROR (Triplet out of sequence)",
    "TWCC_BADDEST (Unknown dest. App/Src in DSM_Entry)",
};

/// The conditions of the device itself, which the layer's own table (made
/// for its error report) does not reach.
constexpr const char *DeviceConditionTexts[] = {
    "TWCC_CAPUNSUPPORTED", "TWCC_CAPBADOPERATION", "TWCC_CAPSEQERROR", "TWCC_DENIED",
    "TWCC_FILEEXISTS",     "TWCC_FILENOTFOUND",    "TWCC_NOTEMPTY",    "TWCC_PAPERJAM",
    "TWCC_PAPERDOUBLEFEED", "TWCC_FILEWRITEERROR", "TWCC_CHECKDEVICEONLINE", "TWCC_INTERLOCK",
    "TWCC_DAMAGEDCORNER",  "TWCC_FOCUSERROR",      "TWCC_DOCTOOLIGHT", "TWCC_DOCTOODARK",
    "TWCC_NOMEDIA",
};
constexpr int32_t FirstDeviceCondition = 13;

template <std::size_t N>
QString lookup(const char *const (&table)[N], int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return QString();
    return QString::fromLatin1(table[index]);
}

} // namespace

void RecordError(int32_t code)
{
    Session &s = session();
    if (s.errorCode != 0)
        return;
    s.errorCode = code;
    if (code >= 2 && code <= 5) {
        s.errorResult = s.resultCode;
        s.errorCondition = TWAIN_GetConditionCode();
    } else {
        s.errorResult = 0;
        s.errorCondition = 0;
    }
}

void ClearError()
{
    Session &s = session();
    s.errorCode = 0;
    s.errorResult = 0;
    s.errorCondition = 0;
}

namespace {

/// A code with its name, as support reads it: "NAME (code)", or the bare code.
QString named(const QString &name, int32_t code)
{
    return name.isEmpty() ? QString::number(code) : QStringLiteral("%1 (%2)").arg(name).arg(code);
}

QString conditionName(int32_t condition)
{
    QString name = ConditionCodeDescription(condition);
    if (name.isEmpty())
        name = lookup(DeviceConditionTexts, condition - FirstDeviceCondition);
    return named(name, condition);
}

} // namespace

void LogScannerFault(const QString &what, int32_t condition)
{
    WriteLogFileMessage(QStringLiteral("Сбой сканера: %1, условие %2").arg(what, conditionName(condition)));
}

QString LastErrorCause()
{
    const Session &s = session();
    QString cause = QStringLiteral("ошибка %1 (%2)").arg(s.errorCode).arg(ErrorDescription(s.errorCode));
    if (s.errorCode >= 2 && s.errorCode <= 5)
        cause += QStringLiteral(", результат %1, условие %2")
                     .arg(named(ResultCodeDescription(s.errorResult), s.errorResult), conditionName(s.errorCondition));
    return cause;
}

QString ErrorDescription(int32_t code) { return lookup(ErrorTexts, code); }
QString ResultCodeDescription(int32_t rc) { return lookup(ResultTexts, rc); }
QString ConditionCodeDescription(int32_t cc) { return lookup(ConditionTexts, cc); }

namespace {

/// Without a display the layer's boxes cannot be shown: what they would
/// have said still reaches support.
void logUnshown(const QString &caption, const QString &text, const QString &cause = QString())
{
    QString line = QStringLiteral("Сообщение не показано (нет экрана) \"%1\": %2").arg(caption, text);
    if (!cause.isEmpty())
        line += QStringLiteral("; причина: ") + cause;
    WriteLogFileMessage(line);
}

} // namespace

void Warning(const QString &text, const QString &cause)
{
    if (!EnsureApplication()) {
        logUnshown(QStringLiteral("TWAIN Error"), text, cause);
        return;
    }
    // The layer's own texts are English and its boxes carry no language of
    // their own (0: neutral).
    ui::MessageBoxCall call;
    call.text = text;
    call.caption = QStringLiteral("TWAIN Error");
    call.icon = QMessageBox::Warning;
    call.languageId = 0;
    if (!cause.isEmpty())
        call.logText = QStringLiteral("%1; причина: %2").arg(text, cause);
    ui::ShowMessageBox(call);
}

void AssertionFailed()
{
    if (!EnsureApplication()) {
        logUnshown(QStringLiteral("MultiTWAIN"), QStringLiteral("Assertion failed"));
        return;
    }
    ui::ShowMessageBox(nullptr, QStringLiteral("Assertion failed"), QStringLiteral("MultiTWAIN"),
                       QMessageBox::Warning, QMessageBox::Ok, 0);
}

QString FailureWords()
{
    Session &s = session();
    if (s.errorCode == 0 || s.state < TWAIN_SM_OPEN)
        return QString();
    TW_STATUSUTF8 request{};
    request.Status.ConditionCode = TW_UINT16(s.errorCondition);
    // The source's words for a fault of the open source, else the manager's.
    const bool asked = s.state >= TWAIN_SOURCE_OPEN ? TWAIN_DS(DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &request)
                                                    : TWAIN_Mgr(DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &request);
    if (!asked || !request.UTF8string)
        return QString();
    QString words;
    {
        const LockedBlock block(request.UTF8string);
        if (block) {
            // Size counts the terminating zero; a block never is read past its end.
            const std::size_t size = std::min<std::size_t>(request.Size, block.size());
            const auto *text = reinterpret_cast<const char *>(block.data());
            words = QString::fromUtf8(text, qsizetype(strnlen(text, size)));
        }
    }
    GlobalFree(request.UTF8string);
    return words.trimmed();
}

void ReportStartFailure(TWAIN_HWND callerWindow)
{
    const QString words = FailureWords();
    if (words.isEmpty() || !EnsureApplication()) {
        TWAIN_ReportLastError();
        return;
    }
    // One box, in the words of whoever met the fault, owned by the caller's
    // window and modal: the operator reads it before anything else of the
    // window takes a key.
    ui::MessageBoxCall call;
    call.owner = WindowOf(callerWindow);
    call.text = words;
    call.caption = LoadResString(&_S_ERROR);
    call.icon = QMessageBox::Warning;
    call.logText = QStringLiteral("%1; причина: %2").arg(words, LastErrorCause());
    ui::ShowMessageBox(call);
}

QString LoadFailedText()
{
    return QStringLiteral("Unable to load Source Manager (%1)").arg(QLatin1String(SourceManagerLibrary));
}

QString OpenFailedText()
{
    return QStringLiteral("Unable to open Source Manager (%1)").arg(QLatin1String(SourceManagerLibrary));
}

} // namespace twain

extern "C" void TWAIN_ReportLastError(void)
{
    twain::Warning(QStringLiteral("TWAIN_ReportLastError: an error occurred"), twain::LastErrorCause());
}
