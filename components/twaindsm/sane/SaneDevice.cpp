#include "SaneDevice.h"

#include "SaneCall.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace twainsane {

namespace {

// A backend's option count beyond this is garbage, not options.
constexpr SANE_Int MostOptions = 4096;

double toDouble(const SANE_Option_Descriptor *d, SANE_Word w)
{
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w);
}

/// The word for a finite value; SANE_FIX and the conversion are undefined
/// beyond a word's range, so the value is held to it first.
SANE_Word toWord(const SANE_Option_Descriptor *d, double v)
{
    const double scaled =
        d->type == SANE_TYPE_FIXED ? v * (1 << SANE_FIXED_SCALE_SHIFT) : (v < 0 ? v - 0.5 : v + 0.5);
    return SANE_Word(std::clamp(scaled, double(std::numeric_limits<SANE_Word>::min()),
                                double(std::numeric_limits<SANE_Word>::max())));
}

bool isNumber(const SANE_Option_Descriptor *d)
{
    return d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED;
}

} // namespace

std::unique_ptr<SaneDevice> SaneDevice::Open(const QByteArray &deviceName, Failure &failure)
{
    // Starting SANE, opening a device and reading its options can each take
    // seconds; stopping SANE again after a refusal as well.
    std::unique_ptr<SaneDevice> device;
    const SANE_Status status = OffThread([&] {
        SaneUse probe; // keeps SANE started until the device holds its own use
        if (!probe.started())
            return SANE_STATUS_IO_ERROR;
        SANE_Handle handle = nullptr;
        const SANE_Status opened = sane_open(deviceName.constData(), &handle);
        if (opened != SANE_STATUS_GOOD || !handle)
            return opened != SANE_STATUS_GOOD ? opened : SANE_STATUS_IO_ERROR;
        device.reset(new SaneDevice(handle));
        return SANE_STATUS_GOOD;
    });
    failure = status == SANE_STATUS_GOOD ? Failure{} : Failure::OfOpen(status);
    return device;
}

SaneDevice::SaneDevice(SANE_Handle handle) : m_handle(handle)
{
    readOptions();
}

SaneDevice::~SaneDevice()
{
    if (m_handle) {
        sane_cancel(m_handle);
        sane_close(m_handle);
    }
}

void SaneDevice::readOptions()
{
    m_descriptors.clear();
    m_indexes.clear();
    SANE_Int count = 0;
    const SANE_Option_Descriptor *first = sane_get_option_descriptor(m_handle, 0);
    if (!first || sane_control_option(m_handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return;
    count = std::clamp(count, SANE_Int(1), MostOptions);
    m_descriptors.push_back(first);
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor *d = sane_get_option_descriptor(m_handle, i);
        m_descriptors.push_back(d);
        if (d && d->name && d->name[0])
            m_indexes.emplace(QByteArray(d->name), i); // of two options of one name the first
    }
}

std::optional<std::pair<SANE_Int, const SANE_Option_Descriptor *>> SaneDevice::option(const char *name) const
{
    const auto found = m_indexes.find(QByteArray::fromRawData(name, qsizetype(std::strlen(name))));
    if (found == m_indexes.end())
        return std::nullopt;
    // The backend keeps the descriptor's flags up to date (its activity
    // changes with other options' values).
    const SANE_Option_Descriptor *d = m_descriptors[std::size_t(found->second)];
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap))
        return std::nullopt;
    return std::make_pair(found->second, d);
}

bool SaneDevice::has(const char *name) const
{
    return option(name).has_value();
}

QStringList SaneDevice::choices(const char *name) const
{
    QStringList list;
    const auto o = option(name);
    if (o && o->second->type == SANE_TYPE_STRING && o->second->constraint_type == SANE_CONSTRAINT_STRING_LIST)
        for (const SANE_String_Const *s = o->second->constraint.string_list; s && *s; ++s)
            list << QString::fromLocal8Bit(*s);
    return list;
}

std::optional<QString> SaneDevice::text(const char *name) const
{
    const auto o = option(name);
    if (!o || o->second->type != SANE_TYPE_STRING || o->second->size <= 0)
        return std::nullopt;
    std::vector<char> value(std::size_t(o->second->size) + 1, '\0');
    if (sane_control_option(m_handle, o->first, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    return QString::fromLocal8Bit(value.data());
}

bool SaneDevice::setValue(SANE_Int index, void *value)
{
    SANE_Int info = 0;
    const bool set = sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, value, &info) == SANE_STATUS_GOOD;
    if (info & SANE_INFO_RELOAD_OPTIONS)
        readOptions();
    return set;
}

bool SaneDevice::setText(const char *name, const QString &value)
{
    const auto o = option(name);
    if (!o || o->second->type != SANE_TYPE_STRING || !SANE_OPTION_IS_SETTABLE(o->second->cap))
        return false;
    QByteArray bytes = value.toLocal8Bit();
    if (bytes.size() >= o->second->size)
        return false;
    bytes.resize(o->second->size, '\0');
    return setValue(o->first, bytes.data());
}

std::optional<double> SaneDevice::number(const char *name) const
{
    const auto o = option(name);
    if (!o || !isNumber(o->second) || o->second->size < SANE_Int(sizeof(SANE_Word)))
        return std::nullopt;
    std::vector<SANE_Word> value(std::size_t(o->second->size) / sizeof(SANE_Word));
    if (sane_control_option(m_handle, o->first, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    return toDouble(o->second, value.front());
}

bool SaneDevice::setNumber(const char *name, double v)
{
    const auto o = option(name);
    if (!std::isfinite(v) || !o || !isNumber(o->second) || !SANE_OPTION_IS_SETTABLE(o->second->cap)
        || o->second->size < SANE_Int(sizeof(SANE_Word)))
        return false;
    // An array option gets the value in every element.
    std::vector<SANE_Word> value(std::size_t(o->second->size) / sizeof(SANE_Word), toWord(o->second, v));
    return setValue(o->first, value.data());
}

std::vector<double> SaneDevice::numberList(const char *name) const
{
    std::vector<double> list;
    const auto o = option(name);
    if (o && isNumber(o->second) && o->second->constraint_type == SANE_CONSTRAINT_WORD_LIST
        && o->second->constraint.word_list)
        for (SANE_Int i = 1; i <= o->second->constraint.word_list[0]; ++i)
            list.push_back(toDouble(o->second, o->second->constraint.word_list[i]));
    return list;
}

std::optional<SaneDevice::Range> SaneDevice::numberRange(const char *name) const
{
    const auto o = option(name);
    if (!o || !isNumber(o->second) || o->second->constraint_type != SANE_CONSTRAINT_RANGE
        || !o->second->constraint.range)
        return std::nullopt;
    const SANE_Range *r = o->second->constraint.range;
    return Range{toDouble(o->second, r->min), toDouble(o->second, r->max), toDouble(o->second, r->quant)};
}

bool SaneDevice::apply(const QStringList &settings)
{
    bool ok = true;
    for (const QString &setting : settings) {
        const qsizetype eq = setting.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QByteArray name = setting.left(eq).trimmed().toLatin1();
        const QString value = setting.mid(eq + 1).trimmed();
        const auto o = option(name.constData());
        if (!o)
            continue;
        switch (o->second->type) {
        case SANE_TYPE_BOOL: {
            SANE_Word b = value == QLatin1String("yes") || value == QLatin1String("true") || value == QLatin1String("1");
            ok = setValue(o->first, &b) && ok;
            break;
        }
        case SANE_TYPE_INT:
        case SANE_TYPE_FIXED: {
            bool number = false;
            const double v = value.toDouble(&number);
            ok = number && setNumber(name.constData(), v) && ok;
            break;
        }
        case SANE_TYPE_STRING: ok = setText(name.constData(), value) && ok; break;
        default: break;
        }
    }
    return ok;
}

} // namespace twainsane
