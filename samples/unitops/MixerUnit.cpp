#include "MixerUnit.h"

#include "CapeErrors.h"
#include "UnitClassIds.h"

namespace tarnwick {

MixerUnit::MixerUnit()
    : UnitOperation(L"Tarnwick Mixer", L"Mixes its feeds into one outlet (sample; no ports, no calculation).",
                    {{L"pressureDrop", 0.0, 0.0, 1e7}, {L"heatLoss", 0.0, -1e9, 1e9}})
{
}

STDMETHODIMP MixerUnit::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_TarnwickMixer;
    return S_OK;
}

STDMETHODIMP MixerUnit::IsDirty() { return isDirty() ? S_OK : S_FALSE; }

STDMETHODIMP MixerUnit::Load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    return sample::guarded(L"IPersistStreamInit::Load", IID_IPersistStreamInit, [&] {
        HRESULT hr = loadState(stream);
        if (SUCCEEDED(hr))
            initialised_ = true;
        return hr;
    });
}

STDMETHODIMP MixerUnit::Save(IStream* stream, BOOL clearDirtyFlag)
{
    if (!stream)
        return E_POINTER;
    return sample::guarded(L"IPersistStreamInit::Save", IID_IPersistStreamInit, [&] {
        HRESULT hr = stateRecord().writeTo(stream);
        if (SUCCEEDED(hr) && clearDirtyFlag)
            clearDirty();
        return hr;
    });
}

STDMETHODIMP MixerUnit::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    return sample::guarded(L"IPersistStreamInit::GetSizeMax", IID_IPersistStreamInit, [&] {
        size->QuadPart = stateRecord().bytes().size();
        return S_OK;
    });
}

STDMETHODIMP MixerUnit::InitNew()
{
    // The contract: a second initialisation is refused.
    if (initialised_)
        return E_UNEXPECTED;
    resetState();
    initialised_ = true;
    return S_OK;
}

}  // namespace tarnwick
