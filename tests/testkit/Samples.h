#pragma once
// The sample components' DLLs beside the test program, registered for the run by a
// test program that adds SamplesRegistered as a global test environment: a DLL the
// machine has registered already stays so; the others are unregistered at the end and
// must leave no key behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testkit {

class SamplesRegistered : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    std::vector<const wchar_t*> ours_;
};

// Objects of the three sample DLLs alive now (-1 when a DLL does not count them).
long liveSampleObjects();

}  // namespace testkit
