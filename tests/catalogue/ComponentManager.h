#pragma once
// What the tests of the Component Manager share (catalogue, probe, web links): the dialog
// run as its owner runs it, CATIDs as installers write them, a 1.1 manager double.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/CapeOpenDlg.h"
#include "support/MTUtils.h"
#include "testkit/DialogDriver.h"
#include "testkit/FileGuards.h"
#include "testkit/CapeDoubles.h"
#include "testkit/TreeView.h"

using testkit::ManagerDouble, testkit::kUnitCatid, testkit::kManagerCatid, testkit::kPropertyPackageCatid;
using Lines = std::vector<std::string>;

inline const std::string kUnitsCategory = "Unit Operations";
inline const std::string kManagersCategory = "CAPE-OPEN 1.1 Property Package Manager";
inline const std::string kPackagesCategory = "CAPE-OPEN 1.1 Property Package";
inline const std::string kAbortQuestion = "Do you want to abort the creation of a CAPE-OPEN component?";

// The dialog reads its settings beside the module registered as the library's and
// captions its boxes with its base name: the test program stands in for the library.
struct StandInForTheLibrary : ::testing::Environment {
    void SetUp() override
    {
        const std::string program = testkit::programPath();
        MTUtils::setModuleName(program.substr(program.find_last_of('\\') + 1).c_str());
    }
};
inline const auto* const standIn = ::testing::AddGlobalTestEnvironment(new StandInForTheLibrary);

// The Component Manager of filter, for an owner whose filter decides what may be chosen:
// steps get it once initialised, then it is cancelled (Yes to the question).
class ComponentManagerRun final : private ComponentManagerOwner {
public:
    explicit ComponentManagerRun(unsigned long filter, unsigned long ownerFilter = 0)
        : ownerFilter_(ownerFilter ? ownerFilter : filter), dialog_(nullptr, this)
    {
        dialog_.filterMask = filter;
    }
    INT_PTR operator()(const std::function<void(HWND)>& steps)
    {
        return driver.run([&] { return dialog_.DoModal(); }, [&](HWND dialog) {
            steps(dialog);
            driver.answerNextBox(IDYES);
        });
    }
    const ComponentSelection& chosen() const { return dialog_.selection(); }
    MessageBoxDriver& boxes() { return driver.boxes(); }

    testkit::DialogDriver driver;

private:
    unsigned long categoryFilterForChoice() const override { return ownerFilter_; }
    unsigned long ownerFilter_;
    CCapeOpenDlg dialog_;
};

