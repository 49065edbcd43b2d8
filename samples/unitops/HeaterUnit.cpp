#include "HeaterUnit.h"

#include "CapeErrors.h"
#include "UnitClassIds.h"

namespace tarnwick {
namespace {

const wchar_t stateStreamName[] = L"HeaterState";

}  // namespace

HeaterUnit::HeaterUnit()
    : UnitOperation(L"Tarnwick.Heater", L"Heats or cools its feed to a set outlet temperature (sample; no ports).",
                    {{L"outletTemperature", 298.15, 1.0, 5000.0}, {L"pressureDrop", 0.0, 0.0, 1e7}})
{
}

HeaterUnit::~HeaterUnit() { holdStorage(nullptr); }

void HeaterUnit::holdStorage(IStorage* storage) { storage_.assign(storage); }

STDMETHODIMP HeaterUnit::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_TarnwickHeater;
    return S_OK;
}

STDMETHODIMP HeaterUnit::IsDirty() { return isDirty() ? S_OK : S_FALSE; }

STDMETHODIMP HeaterUnit::InitNew(IStorage* storage)
{
    if (!storage)
        return E_POINTER;
    if (initialised_)
        return CO_E_ALREADYINITIALIZED;
    resetState();
    holdStorage(storage);
    initialised_ = true;
    return S_OK;
}

STDMETHODIMP HeaterUnit::Load(IStorage* storage)
{
    if (!storage)
        return E_POINTER;
    if (initialised_)
        return CO_E_ALREADYINITIALIZED;
    return sample::guarded(L"IPersistStorage::Load", IID_IPersistStorage, [&] {
        sample::ComRef<IStream> stream;
        HRESULT hr = storage->OpenStream(stateStreamName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
        if (FAILED(hr))
            return sample::raiseError(hr, L"The storage holds no saved state of the heater.", L"IPersistStorage::Load",
                                      IID_IPersistStorage);
        hr = loadState(stream.get());
        if (FAILED(hr))
            return hr;
        holdStorage(storage);
        initialised_ = true;
        return S_OK;
    });
}

STDMETHODIMP HeaterUnit::Save(IStorage* storage, BOOL sameAsLoad)
{
    if (!storage)
        return E_POINTER;
    return sample::guarded(L"IPersistStorage::Save", IID_IPersistStorage, [&] {
        sample::ComRef<IStream> stream;
        HRESULT hr =
            storage->CreateStream(stateStreamName, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.put());
        if (SUCCEEDED(hr))
            hr = stateRecord().writeTo(stream.get());
        if (SUCCEEDED(hr))
            hr = WriteClassStg(storage, CLSID_TarnwickHeater);
        if (FAILED(hr))
            return sample::raiseError(hr, L"The heater could not write its state into the storage.",
                                      L"IPersistStorage::Save", IID_IPersistStorage);
        if (sameAsLoad)
            clearDirty();
        return S_OK;
    });
}

STDMETHODIMP HeaterUnit::SaveCompleted(IStorage* storage)
{
    // A new storage (after Save As, or after HandsOffStorage) replaces the old one.
    if (storage)
        holdStorage(storage);
    return S_OK;
}

STDMETHODIMP HeaterUnit::HandsOffStorage()
{
    holdStorage(nullptr);
    return S_OK;
}

}  // namespace tarnwick
