#include "registration/ClassTable.h"

#include <array>
#include <mutex>
#include <new>

#include "QnShowCOCATIDs11.h"

#include "automation/CCCAPEGUI.h"
#include "automation/RegistrationCheck.h"
#include "registration/ClassFactory.h"
#include "support/ComPtr.h"

namespace {

struct ClassEntry {
    const CLSID* clsid;
    ClassFactory::Creator create;
    ComPtr<ClassFactory> cachedFactory;  // the table's own reference, once made
};

std::mutex factoryLock;  // the only lock of the module: one-time creation of the factories
bool initialised = false;
std::array<ClassEntry, 2> classes{{
    {&CLSID_CCAPEGUI, &CCCAPEGUI::createInstance, {}},
    {&CLSID_RegistrationCheck, &CRegistrationCheck::createInstance, {}},
}};

}  // namespace

namespace ClassTable {

void initialise() { initialised = true; }

void tearDown()
{
    std::lock_guard guard(factoryLock);
    initialised = false;
    for (ClassEntry& entry : classes)
        entry.cachedFactory = nullptr;
}

HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    std::lock_guard guard(factoryLock);
    if (!initialised)
        return E_UNEXPECTED;
    for (ClassEntry& entry : classes) {
        if (!IsEqualCLSID(clsid, *entry.clsid))
            continue;
        if (!entry.cachedFactory) {
            // The factory is born with one reference: the table takes it over.
            entry.cachedFactory = ComPtr<ClassFactory>::attach(new (std::nothrow) ClassFactory(entry.create));
            if (!entry.cachedFactory)
                return E_OUTOFMEMORY;
        }
        return entry.cachedFactory->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace ClassTable
