#pragma once
// Misbehaviours TestComponents.dll does not have, served by the test process itself:
// the class is registered under HKEY_CLASSES_ROOT (ProgID, categories) and its class
// object with CoRegisterClassObject, so that the library creates it like any other.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "RegisteredClass.h"

namespace creationtest {

using ObjectMaker = std::function<HRESULT(REFIID, void**)>;

// Objects of the doubles below alive now.
int liveDoubles();

class ServedClass {
public:
    ServedClass(const std::string& progIdStem, const std::vector<std::string>& catids, ObjectMaker make);
    ~ServedClass();
    ServedClass(const ServedClass&) = delete;
    ServedClass& operator=(const ServedClass&) = delete;

    std::wstring progId() const;
    const RegisteredClass& registration() const { return registration_; }

private:
    RegisteredClass registration_;
    DWORD cookie_ = 0;
};

struct ManagerDoubleBehaviour {
    // What ICapeUtilities::Initialize answers; a failure leaves an error object whose
    // description is "The double manager cannot start.".
    HRESULT initializeResult = S_OK;
    // How many times QueryInterface(IID_IDispatch) succeeds; -1: always.
    int dispatchAnswers = -1;
    // What it hands out as "Double Package": a new object of this ProgID.
    const wchar_t* packageProgId = L"Lindqvarn.PropertyPackage";
};

// A 1.1 Property Package Manager that lists "Double Package" and hands out a new
// object of the behaviour's ProgID under that name.
ObjectMaker managerDouble(ManagerDoubleBehaviour behaviour);

// A 1.1 property package (ICapeThermoPropertyRoutine, calculating nothing) that
// answers QueryInterface(IID_IDispatch) only dispatchAnswers times.
ObjectMaker packageDouble(int dispatchAnswers);

// A component (IDispatch, ICapeIdentification) whose answer to the question for
// IPersistStorage is E_FAIL: no persistence type can be worked out for it.
ObjectMaker persistenceRefusingComponent();

}  // namespace creationtest
