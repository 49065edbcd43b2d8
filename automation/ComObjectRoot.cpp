#include "automation/ComObjectRoot.h"

#include "automation/ComModule.h"

#include <climits>

ComObjectRoot::ComObjectRoot(IUnknown* outer) : inner_(*this), controlling_(outer ? outer : &inner_)
{
    ComModule::lock();
}

ComObjectRoot::~ComObjectRoot() { ComModule::unlock(); }

HRESULT STDMETHODCALLTYPE ComObjectRoot::InnerUnknown::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    IUnknown* found = IsEqualIID(iid, IID_IUnknown) ? this : owner_.findInterface(iid);
    if (!found)
        return E_NOINTERFACE;
    // Through the found interface, so that an aggregated object counts on its outer.
    found->AddRef();
    *out = found;
    return S_OK;
}

ULONG STDMETHODCALLTYPE ComObjectRoot::InnerUnknown::AddRef() { return ++owner_.references_; }

ULONG STDMETHODCALLTYPE ComObjectRoot::InnerUnknown::Release()
{
    ULONG left = --owner_.references_;
    if (left != 0)
        return left;
    // A count far from zero while finalRelease runs: its own AddRef/Release pairs
    // must not bring the object down again.
    owner_.references_ = ULONG_MAX / 2;
    owner_.finalRelease();
    delete &owner_;
    return 0;
}
