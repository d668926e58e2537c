// The server's one exported entry point.

#include "RecognitionEngine.h"
#include "ServerConfig.h"

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(const CLSID &clsid, const IID &iid, void **object)
{
    using namespace passportreader;
    if (!object)
        return E_POINTER;
    *object = nullptr;
    try {
        if (clsid == CLASS_RecognitionEngine) {
            if (FaultActive(fault::NoClass))
                return CLASS_E_CLASSNOTAVAILABLE;
            auto *engine = new RecognitionEngine;
            engine->AddRef();
            const HRESULT hr = engine->QueryInterface(iid, object);
            engine->Release();
            return hr;
        }
        if (clsid == CLASS_InitParams) {
            auto *params = new InitParams;
            params->AddRef();
            const HRESULT hr = params->QueryInterface(iid, object);
            params->Release();
            return hr;
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    } catch (...) {
        return E_FAIL;
    }
}
