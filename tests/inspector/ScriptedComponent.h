#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RegisteredClass.h"
#include "ServedClass.h"

// What a scripted component answers. QueryInterface gives a reference for IUnknown
// and every answered identifier, fails with the scripted code (and no pointer) for
// a scripted failure, and with E_NOINTERFACE otherwise. The class factory answers
// creation: a failure without an object.
struct ComponentScript {
    std::vector<IID> answered;
    std::vector<std::pair<IID, HRESULT>> failures;
    HRESULT creation = S_OK;
};

// A component served by this process under a fresh class identifier and ProgID
// (QnTest.Probed.<8 hex digits>), registered with the given categories for the
// lifetime of the object. It counts the references held on its objects.
class ScriptedComponent {
public:
    explicit ScriptedComponent(ComponentScript script, const std::vector<std::string>& catids = {});

    const RegisteredClass& registration() const { return registration_; }
    const std::string& progId() const { return registration_.progId(); }
    bool served() const { return served_.result() == S_OK; }
    int creations() const { return served_.creations(); }
    // References held now on all objects of the class.
    long liveReferences() const;
    // Every identifier asked by QueryInterface after creation, in order.
    const std::vector<IID>& asked() const;

    struct State;

private:
    RegisteredClass registration_;
    std::shared_ptr<State> state_;
    ServedClass served_;
};
