#pragma once
// One open SANE device and its options, reached by the options' names. Every
// call checks SANE's answer; numbers are read and written whether the
// backend keeps them as integers or as fixed-point values.

#include "SaneDevices.h"
#include "SaneStatus.h"

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <optional>
#include <sane/sane.h>
#include <vector>

namespace twainsane {

class SaneDevice
{
public:
    /// Opens the device; null with the failure filled in when SANE refuses.
    static std::unique_ptr<SaneDevice> Open(const QByteArray &deviceName, Failure &failure);
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
    /// Sets a number option; the backend may round it (read it back).
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

    SaneUse m_use;
    SANE_Handle m_handle = nullptr;
};

} // namespace twainsane
