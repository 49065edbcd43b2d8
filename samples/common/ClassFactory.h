#pragma once
#include <functional>

#include "ComObject.h"

namespace sample {

// Makes one new instance and hands out its iid interface (one reference).
using InstanceCreator = std::function<HRESULT(REFIID iid, void** out)>;

// The class object of one sample class: creates instances (no aggregation) and
// keeps the DLL loaded while a client holds a lock.
class ClassFactory : public ObjectBase, public IClassFactory {
public:
    explicit ClassFactory(InstanceCreator create) : create_(std::move(create)) {}
    void* findInterface(REFIID iid) { return lookupInterface<IClassFactory>(this, iid); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    InstanceCreator create_;
};

// DllGetClassObject's work for one class: a new class object, asked for iid.
HRESULT getClassObject(InstanceCreator create, REFIID iid, void** out);

}  // namespace sample
