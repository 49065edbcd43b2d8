#pragma once
// A host with its window and the registered library's automation object.
#include <gtest/gtest.h>

#include "support/UniqueBstr.h"
#include "testkit/DialogDriver.h"
#include "testkit/HostWindow.h"
#include "testkit/Library.h"

inline constexpr long kUnitsFilter = 32;
inline constexpr long kManagersFilter = 512;

class Host : public ::testing::Test {
protected:
    // The object, set up with the host window and no container.
    ComPtr<ICCAPEGUI> libraryObject(long filter)
    {
        ComPtr<ICCAPEGUI> gui = testkit::registeredObject();
        EXPECT_TRUE(gui) << "the registered library creates its object";
        EXPECT_EQ(S_OK, gui ? gui->setup(window.handle(), nullptr, filter) : S_OK) << "setup with the host window";
        return gui;
    }
    // setProgIds, then createComp; what is handed over is released.
    static HRESULT create(ICCAPEGUI* gui, const std::wstring& item, const std::wstring& parent = L"")
    {
        EXPECT_EQ(S_OK, gui->setProgIds(UniqueBstr(item.c_str()).get(), UniqueBstr(parent.c_str()).get()));
        ComPtr<IDispatch> component, manager;
        return gui->createComp(component.put(), manager.put());
    }

    testkit::HostWindow window;
    // Every dialog and box the test meets.
    testkit::DialogDriver driver;
};
