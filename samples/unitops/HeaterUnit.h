#pragma once
#include "UnitOperation.h"

namespace tarnwick {

// Tarnwick.Heater: a unit operation that persists through IPersistStorage. Its
// storage holds the stream "HeaterState" with the record of UnitOperation.h, and
// the class identifier (WriteClassStg). While initialised it keeps one reference
// to its storage, as the contract allows, until HandsOffStorage or its release.
class HeaterUnit : public UnitOperation, public IPersistStorage {
public:
    HeaterUnit();
    ~HeaterUnit() override;
    void* findInterface(REFIID iid)
    {
        if (iid == IID_IPersistStorage || iid == IID_IPersist)
            return static_cast<IPersistStorage*>(this);
        return UnitOperation::findInterface(iid);
    }

    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage* storage) override;
    STDMETHODIMP HandsOffStorage() override;

private:
    void holdStorage(IStorage* storage);

    sample::ComRef<IStorage> storage_;
    bool initialised_ = false;
};

}  // namespace tarnwick
