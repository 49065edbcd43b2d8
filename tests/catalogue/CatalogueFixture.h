#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "FakeManager.h"
#include "RegisteredClass.h"
#include "TreeReading.h"
#include "catalogue/CategoryTable.h"

// A small installed catalogue for the dialog's tests, registered once for the suite:
// three unit operations (one named, one without a Name value, one whose Name is its
// ProgID), a manager with three packages served by this process, and a standalone
// CAPE-OPEN 1.1 property package.
class CatalogueFixture : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    struct Installed {
        RegisteredClass mixer{"QnTest.Mixer", {kCategoryTable[0].catid}};
        RegisteredClass splitter{"QnTest.Splitter", {kCategoryTable[0].catid}};
        RegisteredClass selfNamed{"QnTest.Heater", {kCategoryTable[0].catid}};
        RegisteredClass anonymous{"", {kCategoryTable[0].catid}};
        RegisteredClass manager{"QnTest.ThermoManager", {kCategoryTable[1].catid}};
        RegisteredClass standalone{"QnTest.Standalone", {kCategoryTable[2].catid}};
        ServedManager served{manager.clsid(), packageNames({L"SRK", L"PR", L"Ideal"})};
    };
    static Installed& installed() { return *installed_; }

    // Labels as the tree shows them.
    static std::string mixerLabel() { return "Mixer [" + installed().mixer.progId() + "]"; }
    static std::string managerLabel() { return "Thermo Manager [" + installed().manager.progId() + "]"; }
    static std::string standaloneLabel() { return "Standalone PP [" + installed().standalone.progId() + "]"; }

private:
    static std::unique_ptr<Installed> installed_;
};

inline constexpr const char* kUnitsCategory = "Unit Operations";
inline constexpr const char* kManagersCategory = "CAPE-OPEN 1.1 Property Package Manager";
inline constexpr const char* kPackagesCategory = "CAPE-OPEN 1.1 Property Package";
