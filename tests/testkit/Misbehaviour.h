#pragma once
// How a call into a double goes wrong, for the fault table: the ways careless
// components and hosts answer.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace testkit {

enum class Misbehaviour {
    LeavesObject,   // fails, leaving `leftover` (not AddRef'd) in its out slots
    FailsSilently,  // fails without an error object
    CallsBack,      // calls `callBack`, then answers as usual
    Throws,         // throws a C++ exception
    Crashes,        // raises an access violation
    WrongVariant,   // answers success with an integer in its VARIANT out slots
};

struct Misbehaving {
    Misbehaviour how;
    IUnknown* leftover = nullptr;
    std::function<void()> callBack = {};
    std::shared_ptr<int> calls = std::make_shared<int>(0);  // the calls that went wrong, in every copy
};

// Does what m says with the call's out slots: the call's answer, or nothing when the
// call goes on as usual (after a call back, or a wrong VARIANT with no VARIANT to give).
std::optional<HRESULT> misbehave(const Misbehaving& m, const std::vector<VARIANT*>& variants, void** object);

}  // namespace testkit
