#pragma once
// What the creation tests share: the registered library's automation object, as a
// host creates it; the choice made the host's way (setup, setProgIds); every box
// recorded and answered; and, after each test, the check that no object of the
// sample and test DLLs is left alive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QnShowCOCATIDs11.h"
#include "support/ComPtr.h"
#include "support/ErrorTestGuards.h"
#include "testkit/MessageBoxDriver.h"

namespace creationtest {

// GetLiveObjectCount of a DLL loaded in this process (0 when it is not loaded).
long liveObjects(const wchar_t* dll);

// The name a registered interface has under HKEY_CLASSES_ROOT\Interface for the
// length of a test (an existing registration is left as it is).
class RegisteredInterfaceName {
public:
    RegisteredInterfaceName(REFIID iid, const char* name);
    ~RegisteredInterfaceName();
    RegisteredInterfaceName(const RegisteredInterfaceName&) = delete;
    RegisteredInterfaceName& operator=(const RegisteredInterfaceName&) = delete;

private:
    std::string key_;
    bool created_ = false;
};

struct Created {
    HRESULT hr = E_UNEXPECTED;
    ComPtr<IDispatch> component;
    ComPtr<IDispatch> parent;
};

class Creation : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // setup (no window, no container, the filter), then setProgIds.
    void choose(const std::wstring& progId, const std::wstring& parentProgId, long filter);
    Created create();
    long version();
    // The texts of the boxes shown so far, and whether one contains piece.
    std::vector<std::string> texts() const;
    bool shown(const std::string& piece) const;

    // The library traces into the product folder: it exists, as after installation.
    errortest::DirectoryGuard vendorFolder{errortest::corvatekFolder()};
    errortest::DirectoryGuard productFolder{errortest::productFolder()};
    MessageBoxDriver boxes;
    ComPtr<ICCAPEGUI> gui;
};

}  // namespace creationtest
