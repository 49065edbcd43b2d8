#pragma once
#include <windows.h>
#include <objbase.h>

// A COM object that counts its references and notices calls made after its last
// reference went away. It lives on the test's stack: a count of 0 is "released".
// It answers IUnknown only.
class CountingObject : public IUnknown {
public:
    ULONG refs = 0;
    int callsWhileReleased = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (refs == 0)
            ++callsWhileReleased;
        if (iid != IID_IUnknown) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};
