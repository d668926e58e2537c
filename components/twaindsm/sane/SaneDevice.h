#pragma once
// One open SANE device and its options, reached by the options' names. Every
// call checks SANE's answer; numbers are read and written whether the
// backend keeps them as integers or as fixed-point values. Every member
// calls SANE (with the net backend, each option value is a round trip), so
// the application's thread reaches the device through RunOffThread only.

#include "SaneDevices.h"
#include "SaneStatus.h"

#include <QByteArray>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <sane/sane.h>
#include <vector>

namespace twainsane {

class SaneDevice
{
public:
    /// Opens the device (off the calling thread, see RunOffThread); null with
    /// the failure filled in when SANE refuses.
    static std::unique_ptr<SaneDevice> Open(const QByteArray &deviceName, Failure &failure);
    /// Cancels what runs, closes the device and, with its last user, stops
    /// SANE: call it off the application's thread.
    ~SaneDevice();
    SaneDevice(const SaneDevice &) = delete;
    SaneDevice &operator=(const SaneDevice &) = delete;

    SANE_Handle handle() const { return m_handle; }

    /// Whether the option exists and is active.
    bool has(const char *name) const;
    /// The choices of a string option with a list constraint.
    QStringList choices(const char *name) const;
    std::optional<QString> text(const char *name) const;
    bool setText(const char *name, const QString &value);

    struct Range
    {
        double min = 0;
        double max = 0;
        double quant = 0;
    };
    /// The value of a number option (integer or fixed, first element).
    std::optional<double> number(const char *name) const;
    /// Sets a number option; the backend may round it (read it back). A value
    /// beyond what a SANE word holds is taken as the largest (smallest) one.
    bool setNumber(const char *name, double value);
    /// The values of a word-list constraint; empty for other constraints.
    std::vector<double> numberList(const char *name) const;
    std::optional<Range> numberRange(const char *name) const;

    /// Sets options from "name=value" texts (numbers, booleans yes/no, or
    /// strings); names it does not know are skipped. False when one failed.
    bool apply(const QStringList &settings);

private:
    SaneDevice(SANE_Handle handle);
    /// The option's index and descriptor when it exists and is active.
    std::optional<std::pair<SANE_Int, const SANE_Option_Descriptor *>> option(const char *name) const;
    bool setValue(SANE_Int index, void *value);
    /// Reads the option descriptors: once after opening, and again when a
    /// value set changed which options there are.
    void readOptions();

    SaneUse m_use;
    SANE_Handle m_handle = nullptr;
    std::vector<const SANE_Option_Descriptor *> m_descriptors; // by index; 0 is the count
    std::map<QByteArray, SANE_Int> m_indexes;                   // by name
};

} // namespace twainsane
