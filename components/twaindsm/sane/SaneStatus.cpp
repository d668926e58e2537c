#include "SaneStatus.h"

#include "ScannerTexts.h"

namespace twainsane {

namespace {

struct StatusEntry
{
    SANE_Status status;
    TW_UINT16 condition;
    const char *message; // UTF-8
};

// One row per status a scanner may answer; the rest are the device's own
// failure in general terms.
constexpr StatusEntry Table[] = {
    {SANE_STATUS_GOOD, TWCC_SUCCESS, ""},
    {SANE_STATUS_CANCELLED, TWCC_SUCCESS, ""},
    {SANE_STATUS_DEVICE_BUSY, TWCC_MAXCONNECTIONS, "Сканер занят другой программой."},
    {SANE_STATUS_JAMMED, TWCC_PAPERJAM, twaindsm::texts::PaperJam},
    {SANE_STATUS_NO_DOCS, TWCC_NOMEDIA, twaindsm::texts::NoDocumentInFeeder},
    {SANE_STATUS_COVER_OPEN, TWCC_INTERLOCK, twaindsm::texts::CoverOpen},
    {SANE_STATUS_IO_ERROR, TWCC_CHECKDEVICEONLINE, twaindsm::texts::ScannerNotResponding},
    {SANE_STATUS_NO_MEM, TWCC_LOWMEMORY, "Не хватает памяти для сканирования."},
    {SANE_STATUS_ACCESS_DENIED, TWCC_DENIED, "Нет доступа к сканеру."},
    {SANE_STATUS_UNSUPPORTED, TWCC_BUMMER, "Сканер не поддерживает эту операцию."},
    {SANE_STATUS_INVAL, TWCC_BUMMER, "Сканер не принял настройки сканирования."},
    {SANE_STATUS_EOF, TWCC_BUMMER, "Сканер неожиданно прервал страницу."},
};

constexpr const char *PageWithoutEnd = "Страница слишком длинная: сканер не сообщил её конец.";
// A device that would not open at all: the operator has not scanned yet, so
// it is said to be unavailable, not to have stopped answering as one that
// fails while it reads a page.
constexpr const char *NotAvailable = "Сканер недоступен: проверьте, что он подключён и включён.";

const StatusEntry *find(SANE_Status status)
{
    for (const StatusEntry &e : Table)
        if (e.status == status)
            return &e;
    return nullptr;
}

} // namespace

TW_UINT16 ConditionFor(SANE_Status status)
{
    const StatusEntry *e = find(status);
    return e ? e->condition : TW_UINT16(TWCC_BUMMER);
}

QString MessageFor(SANE_Status status, DocumentPlace place)
{
    if (status == SANE_STATUS_NO_DOCS && place == DocumentPlace::Flatbed)
        return QString::fromUtf8(twaindsm::texts::NoDocumentOnGlass);
    const StatusEntry *e = find(status);
    return e ? QString::fromUtf8(e->message) : QStringLiteral("Сканер сообщил об ошибке (%1).").arg(int(status));
}

Failure Failure::OfOpen(SANE_Status status)
{
    switch (status) {
    case SANE_STATUS_DEVICE_BUSY:
    case SANE_STATUS_ACCESS_DENIED:
    case SANE_STATUS_NO_MEM:
        // The scanner is there; what keeps it closed is the operator's to know.
        return From(status, DocumentPlace::Flatbed);
    default:
        return {status, TW_UINT16(TWCC_CHECKDEVICEONLINE), QString::fromUtf8(NotAvailable)};
    }
}

Failure Failure::PageTooLong()
{
    return {SANE_STATUS_EOF, TW_UINT16(TWCC_OPERATIONERROR), QString::fromUtf8(PageWithoutEnd)};
}

Failure Failure::NotResponding()
{
    return From(SANE_STATUS_IO_ERROR, DocumentPlace::Flatbed);
}

} // namespace twainsane
