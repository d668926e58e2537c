#include "SaneDevice.h"

#include "SaneCall.h"

#include <cstring>
#include <vector>

namespace twainsane {

namespace {

double toDouble(const SANE_Option_Descriptor *d, SANE_Word w)
{
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w);
}

SANE_Word toWord(const SANE_Option_Descriptor *d, double v)
{
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(v) : SANE_Word(v < 0 ? v - 0.5 : v + 0.5);
}

bool isNumber(const SANE_Option_Descriptor *d)
{
    return d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED;
}

} // namespace

std::unique_ptr<SaneDevice> SaneDevice::Open(const QByteArray &deviceName, Failure &failure)
{
    // Starting SANE and opening a device can each take seconds.
    std::unique_ptr<SaneUse> probe; // keeps SANE started until the device holds its own use
    SANE_Handle handle = nullptr;
    const SANE_Status status = OffThread([&] {
        probe = std::make_unique<SaneUse>();
        if (!probe->started())
            return SANE_STATUS_IO_ERROR;
        return sane_open(deviceName.constData(), &handle);
    });
    if (status != SANE_STATUS_GOOD || !handle) {
        failure = Failure::From(status != SANE_STATUS_GOOD ? status : SANE_STATUS_IO_ERROR);
        return nullptr;
    }
    failure = Failure{};
    return std::unique_ptr<SaneDevice>(new SaneDevice(handle));
}

SaneDevice::SaneDevice(SANE_Handle handle) : m_handle(handle) {}

SaneDevice::~SaneDevice()
{
    if (m_handle) {
        sane_cancel(m_handle);
        sane_close(m_handle);
    }
}

std::optional<std::pair<SANE_Int, const SANE_Option_Descriptor *>> SaneDevice::option(const char *name) const
{
    SANE_Int count = 0;
    const SANE_Option_Descriptor *first = sane_get_option_descriptor(m_handle, 0);
    if (!first || sane_control_option(m_handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor *d = sane_get_option_descriptor(m_handle, i);
        if (d && d->name && std::strcmp(d->name, name) == 0) {
            if (!SANE_OPTION_IS_ACTIVE(d->cap))
                return std::nullopt;
            return std::make_pair(i, d);
        }
    }
    return std::nullopt;
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
    return sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, value, &info) == SANE_STATUS_GOOD;
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
    if (!o || !isNumber(o->second) || !SANE_OPTION_IS_SETTABLE(o->second->cap)
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
