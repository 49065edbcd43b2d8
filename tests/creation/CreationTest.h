#pragma once
// What the creation tests share: the registered library's automation object, set up
// the host's way (a host window, setup, setProgIds); every box recorded and answered;
// the trace watched; the sample components registered for the run; and, after each
// test, the check that no object of the samples, the faults or the doubles is alive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QnShowCOCATIDs11.h"
#include "support/ComPtr.h"
#include "testkit/FileGuards.h"
#include "testkit/MessageBoxDriver.h"

namespace creationtest {

class CreationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // setup with the host window, then setProgIds; version (when not 0) replaces the
    // CAPE-OPEN version the catalogue found.
    void choose(const std::string& item, const std::string& parent, long filter, long version = 0);
    std::vector<std::string> texts() const;

    testkit::TraceFileGuard trace;
    MessageBoxDriver boxes;
    HWND host = nullptr;
    ComPtr<ICCAPEGUI> gui;
};

// Whether object answers iid.
bool answers(IUnknown* object, REFIID iid);

}  // namespace creationtest
