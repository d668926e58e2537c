#pragma once
// Reference counting and error description shared by every object of the
// server. A failing call stores its message on the object that failed, where
// the caller's wrapper fetches it with raw_GetErrorDescription.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"

#include <atomic>
#include <exception>
#include <mutex>

namespace passportreader {

template <class Interface>
class ComObject : public Interface
{
public:
    HRESULT QueryInterface(const IID &iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!(iid == IID_IUnknown) && !Supports(iid))
            return E_NOINTERFACE;
        this->AddRef();
        *object = static_cast<Interface *>(this);
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT raw_GetErrorDescription(QString *description) override
    {
        if (!description)
            return E_POINTER;
        std::lock_guard lock(m_errorLock);
        *description = m_lastError;
        return S_OK;
    }

    /// The object as an out parameter: one new reference for the caller.
    Interface *Hand()
    {
        this->AddRef();
        return this;
    }

protected:
    virtual ~ComObject() = default;
    virtual bool Supports(const IID &) const { return false; }

    HRESULT Fail(HRESULT hr, const QString &message)
    {
        std::lock_guard lock(m_errorLock);
        m_lastError = message;
        return hr;
    }

    /// Runs body; an exception becomes a failed HRESULT with its message, so
    /// nothing is thrown across the server boundary.
    template <class Body>
    HRESULT Guard(Body body)
    {
        try {
            return body();
        } catch (const std::exception &e) {
            return Fail(E_FAIL, QString::fromUtf8(e.what()));
        } catch (...) {
            return Fail(E_FAIL, QStringLiteral("Unexpected internal error of the recognition engine"));
        }
    }

private:
    std::atomic<std::uint32_t> m_refs{0};
    std::mutex m_errorLock;
    QString m_lastError;
};

} // namespace passportreader
