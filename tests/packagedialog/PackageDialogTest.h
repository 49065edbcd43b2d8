#pragma once
// The automation object with the package dialog it owns, a package double for it to
// read, and a driver for the dialog, the boxes and the windows opened over it.
#include <gtest/gtest.h>

#include "packagedialog/ArrayElements.h"
#include "testkit/Controls.h"
#include "testkit/DialogDriver.h"
#include "testkit/FileGuards.h"
#include "testkit/CapeDoubles.h"
#include "testkit/TestAccess.h"

using namespace testkit;
using Access = CCCAPEGUITestAccess;
constexpr VARIANT_BOOL T = VARIANT_TRUE, F = VARIANT_FALSE;

// The texts a list shows for the array's elements.
inline std::vector<std::string> shownTexts(const VARIANT& array)
{
    std::vector<std::string> texts;
    forEachArrayElement(array, [&](const ArrayElement& element) {
        elementDisplayText(element, texts.emplace_back());
        return true;
    });
    return texts;
}

class PackageDialogTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, gui.putVoid()), S_OK); }
    void TearDown() override
    {
        gui = nullptr;
        EXPECT_EQ(package->references(), 1u) << "the object gives the package's interfaces back at its end";
    }
    // The package held by the object as a component of this CAPE-OPEN version.
    void holdPackage(long version = 110)
    {
        Access::holdComponents(gui.get(), package->dispatch());
        ASSERT_EQ(gui->put_compCOversion(version), S_OK);
    }
    // ShowThermoGUI, drive given the dialog; false when no dialog came.
    bool show(const std::function<void(HWND)>& drive, VARIANT_BOOL allowModifications = T)
    {
        bool shown = false;
        auto driveIt = [&](HWND window) { shown = true, drive(window); };
        EXPECT_EQ(driver.run([&] { return gui->ShowThermoGUI(allowModifications); }, driveIt), S_OK) << "shown";
        return shown;
    }

    // Destroyed in reverse order: the object first; its reports go to a trace of the test's own.
    TraceFileGuard trace;
    DialogDriver driver;
    ComPtr<PackageDouble> package = makeDouble<PackageDouble>();
    ComPtr<ICCAPEGUI> gui;
};
