#pragma once
#include <windows.h>
#include <objbase.h>
#include <atomic>

// The class object of a creatable class. The module's class table keeps one
// reference for as long as the module is loaded; every further reference (a client
// holding the factory) and every LockServer(TRUE) keeps the module loaded.
class ClassFactory : public IClassFactory {
public:
    using Creator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

    // Starts with the one reference of its creator (the class table).
    explicit ClassFactory(Creator create) : create_(create) {}
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // With an outer unknown the object is created aggregated (outer may only ask for
    // IUnknown); without one a plain object.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    virtual ~ClassFactory() = default;

    Creator create_;
    std::atomic<ULONG> references_{1};
};
