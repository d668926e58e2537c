#pragma once
// A global memory block locked for the time of one call.

#include "platform/GlobalMemory.h"

#include <cstddef>
#include <cstdint>

namespace twain {

class LockedBlock
{
public:
    explicit LockedBlock(HGLOBAL h)
        : m_handle(h), m_data(static_cast<uint8_t *>(GlobalLock(h))), m_size(m_data ? GlobalSize(h) : 0)
    {
    }
    ~LockedBlock()
    {
        if (m_data)
            GlobalUnlock(m_handle);
    }
    LockedBlock(const LockedBlock &) = delete;
    LockedBlock &operator=(const LockedBlock &) = delete;

    explicit operator bool() const { return m_data != nullptr; }
    uint8_t *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    HGLOBAL m_handle;
    uint8_t *m_data;
    std::size_t m_size;
};

} // namespace twain
