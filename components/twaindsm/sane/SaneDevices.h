#pragma once
// The SANE devices as TWAIN sources: one source per device, named
// "SANE: <vendor> <model>" within the 33 characters a product name holds;
// devices of one make and model get " #2", " #3"... in the order SANE lists
// them. SANE is started while anything of this library uses it and stopped
// after the last use, so its configuration is read afresh for every session.

#include <QByteArray>
#include <QString>
#include <vector>

namespace twainsane {

struct DeviceDescription
{
    QByteArray name;   // SANE's device name, as sane_open takes it
    QByteArray vendor;
    QByteArray model;
};

struct DeviceSource
{
    QByteArray deviceName;
    QByteArray productName; // the TWAIN product name, at most 33 bytes
};

/// Product names for the devices, in their order.
std::vector<DeviceSource> NameSources(const std::vector<DeviceDescription> &devices);

/// The object name and the text of the window shown while SANE lists.
inline constexpr const char *SearchNoticeName = "saneSearchNotice";
inline constexpr const char *SearchingText = "Поиск сканеров ...";

/// How far a kept device list answers an asking.
enum class Asking {
    Kept,        ///< the list as kept, listed only if it never was
    UnlessFresh, ///< the program looks for a device missing from the list
    Afresh,      ///< the operator searches again: always listed
};

/// The sources of the devices SANE lists, off the calling thread (see
/// RunOffThread), with "Поиск сканеров ..." on the screen meanwhile. Asking
/// can take seconds while backends probe their buses, so the list is kept
/// for the session, empty or not, and listed again when the operator
/// searches (Asking::Afresh); the program's own look for a missing device
/// (Asking::UnlessFresh) lists again only when the list is older than
/// TWAINSANE_LIST_FRESH_MS (default 5000).
const std::vector<DeviceSource> &Sources(Asking asking = Asking::Kept);
/// The list as last asked, empty or not (asked only if it never was).
const std::vector<DeviceSource> &KeptSources();

/// Counted start and stop of SANE: the first Start calls sane_init, the
/// Stop matching the last Start calls sane_exit.
class SaneUse
{
public:
    SaneUse();
    ~SaneUse();
    SaneUse(const SaneUse &) = delete;
    SaneUse &operator=(const SaneUse &) = delete;
    bool started() const { return m_started; }

private:
    bool m_started = false;
};

} // namespace twainsane
