#include "SaneStatus.h"

namespace twainsane {

namespace {

struct StatusEntry
{
    SANE_Status status;
    TW_UINT16 condition;
    const char *message;
};

// One row per status a scanner may answer; the rest are the device's own
// failure in general terms.
constexpr StatusEntry Table[] = {
    {SANE_STATUS_GOOD, TWCC_SUCCESS, ""},
    {SANE_STATUS_CANCELLED, TWCC_SUCCESS, ""},
    {SANE_STATUS_DEVICE_BUSY, TWCC_MAXCONNECTIONS, "The scanner is busy: another program is using it."},
    {SANE_STATUS_JAMMED, TWCC_PAPERJAM, "The paper is jammed in the document feeder."},
    {SANE_STATUS_NO_DOCS, TWCC_NOMEDIA, "There are no documents in the document feeder."},
    {SANE_STATUS_COVER_OPEN, TWCC_INTERLOCK, "The scanner's cover is open."},
    {SANE_STATUS_IO_ERROR, TWCC_CHECKDEVICEONLINE,
     "The scanner does not answer: check that it is connected and switched on."},
    {SANE_STATUS_NO_MEM, TWCC_LOWMEMORY, "There is not enough memory for the scan."},
    {SANE_STATUS_ACCESS_DENIED, TWCC_DENIED, "Access to the scanner was denied."},
    {SANE_STATUS_UNSUPPORTED, TWCC_BUMMER, "The scanner does not support this operation."},
    {SANE_STATUS_INVAL, TWCC_BUMMER, "The scanner refused the scan settings."},
    {SANE_STATUS_EOF, TWCC_BUMMER, "The scanner ended the page unexpectedly."},
};

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

QString MessageFor(SANE_Status status)
{
    const StatusEntry *e = find(status);
    return e ? QString::fromLatin1(e->message)
             : QStringLiteral("The scanner reported an error (%1).").arg(int(status));
}

} // namespace twainsane
