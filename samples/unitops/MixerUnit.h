#pragma once
#include "UnitOperation.h"

namespace tarnwick {

// Tarnwick.Mixer: a unit operation that persists through IPersistStreamInit (its
// record is the whole stream content; see UnitOperation.h).
class MixerUnit : public UnitOperation, public IPersistStreamInit {
public:
    MixerUnit();
    void* findInterface(REFIID iid)
    {
        if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
            return static_cast<IPersistStreamInit*>(this);
        return UnitOperation::findInterface(iid);
    }

    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;

private:
    bool initialised_ = false;
};

}  // namespace tarnwick
