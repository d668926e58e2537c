#pragma once
// Reference counting, interface query and error description shared by the
// in-process fakes of the engine interfaces. The object frees itself when its
// last reference goes; a failing call leaves its message in errorText, where
// the package's wrapper reads it.

#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"

#include <cstdint>

namespace r9test {

template <class Interface>
class FakeUnknown : public Interface
{
public:
    HRESULT QueryInterface(const IID &, void **object) override
    {
        if (object)
            *object = nullptr;
        return E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return ++refs; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --refs;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT raw_GetErrorDescription(QString *description) override
    {
        *description = errorText;
        return S_OK;
    }

    std::uint32_t refs = 0;
    QString errorText = QStringLiteral("fake engine failure");

protected:
    virtual ~FakeUnknown() = default;
};

} // namespace r9test
