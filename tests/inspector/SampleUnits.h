#pragma once
#include <windows.h>

// The sample unit operations (SampleUnitOperations.dll beside the test program),
// registered for the lifetime of this object: registered by its own DllRegisterServer
// unless Tarnwick.Mixer is registered already, and then left as found.
class SampleUnits {
public:
    SampleUnits();
    ~SampleUnits();
    SampleUnits(const SampleUnits&) = delete;
    SampleUnits& operator=(const SampleUnits&) = delete;

    bool registered() const { return registered_; }
    // The DLL's COM objects alive now; -1 when it cannot tell.
    long liveObjects() const;

private:
    HMODULE module_ = nullptr;
    bool registered_ = false;
    bool registeredHere_ = false;
};
