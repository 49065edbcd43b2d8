#pragma once
#include <windows.h>
#include <objbase.h>

#include <functional>

// Serves a class from this process for the lifetime of the holder: its class object
// is registered for clsid (CoRegisterClassObject), so that COM creates the class like
// any registered component, with every context the library asks for. create makes
// one object for the interface asked and returns what the class factory answers.
class ServedClass {
public:
    using Creator = std::function<HRESULT(REFIID iid, void** out)>;

    ServedClass(const CLSID& clsid, Creator create);
    ~ServedClass();
    ServedClass(const ServedClass&) = delete;
    ServedClass& operator=(const ServedClass&) = delete;

    // S_OK when the class object is registered.
    HRESULT result() const { return result_; }
    // Objects the factory was asked for.
    int creations() const;

private:
    IClassFactory* factory_ = nullptr;
    DWORD cookie_ = 0;
    HRESULT result_ = E_FAIL;
};
