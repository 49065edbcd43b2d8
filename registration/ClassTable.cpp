#include "registration/ClassTable.h"

#include <mutex>
#include <new>
#include <utility>

#include "QnShowCOCATIDs11.h"

#include "automation/CCCAPEGUI.h"
#include "registration/ClassFactory.h"

namespace {

std::mutex factoryLock;  // the only lock of the module: one-time creation of the factory
bool initialised = false;
ClassFactory* cachedFactory = nullptr;  // the table's own reference

}  // namespace

namespace ClassTable {

void initialise() { initialised = true; }

void tearDown()
{
    std::lock_guard guard(factoryLock);
    initialised = false;
    if (ClassFactory* factory = std::exchange(cachedFactory, nullptr))
        factory->Release();
}

HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    std::lock_guard guard(factoryLock);
    if (!initialised)
        return E_UNEXPECTED;
    if (!IsEqualCLSID(clsid, CLSID_CCAPEGUI))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (!cachedFactory) {
        cachedFactory = new (std::nothrow) ClassFactory(&CCCAPEGUI::createInstance);
        if (!cachedFactory)
            return E_OUTOFMEMORY;
    }
    return cachedFactory->QueryInterface(iid, out);
}

}  // namespace ClassTable
