// The package-manager road: a CAPE-OPEN 1.1 property package asked by name of its
// manager (sub-road A) or created by its own ProgID (sub-road B), initialised and
// checked for the thermodynamic interfaces of 1.1.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "CreationFixture.h"
#include "RegisteredFault.h"
#include "ServedDoubles.h"
#include "support/AnsiText.h"
#include "support/UniqueBstr.h"

using namespace creationtest;
using testfault::RegisteredFault;
using testfault::TestFault;

namespace {

constexpr long thermo11 = 512 | 1024;
const char* const managerCategory = "{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}";

std::string contextOf(const std::string& package, const std::wstring& manager)
{
    return "creating property package '" + package + "' from property package manager '" + toAnsi(manager) + "'";
}

bool answers(const ComPtr<IDispatch>& object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return object && SUCCEEDED(object.queryInterface(iid, answer));
}

}  // namespace

class ManagerRoad : public Creation {
protected:
    // A manager fault of TestComponents.dll, its package chosen.
    void chooseFaultyPackage(const RegisteredFault& manager)
    {
        ASSERT_EQ(S_OK, manager.result());
        choose(L"Faulty Package", manager.progId(), thermo11);
        ASSERT_EQ(110, version());
    }
};

TEST_F(ManagerRoad, PackageOfTheSampleManagerIsInitialisedAndHandedOverWithItsManager)
{
    choose(L"Natural Gas", L"Oskvale.PackageManager", thermo11);
    Created created = create();
    ASSERT_EQ(S_OK, created.hr) << testing::PrintToString(texts());
    EXPECT_EQ(0u, boxes.count());
    ASSERT_TRUE(created.component);
    ASSERT_TRUE(created.parent) << "the manager is the parent";
    EXPECT_TRUE(answers(created.parent, IID_ICapeThermoPropertyPackageManager));
    EXPECT_TRUE(answers(created.component, IID_ICapeThermoMaterialContext));
    LONG type = -1;
    EXPECT_EQ(S_OK, gui->getPersistType(&type));
    EXPECT_EQ(2, type) << "the package persists through IPersistStream";
}

TEST_F(ManagerRoad, ManagerThatReturnsNoPackageFailsWithTheInvalidObjectMessage)
{
    RegisteredFault manager(TestFault::ManagerReturnsNoPackage);
    chooseFaultyPackage(manager);
    Created created = create();
    EXPECT_EQ(E_FAIL, created.hr);
    EXPECT_FALSE(created.component);
    EXPECT_FALSE(created.parent);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(" ERROR: When the CAPE-OPEN 1.1 Property Package Manager '" + toAnsi(manager.progId()) +
                  "' was requested to create the package named 'Faulty Package', it returned an invalid object.",
              boxes.last().text)
        << "E_FAIL has no system text and no code";
}

TEST_F(ManagerRoad, ThermodynamicInterfacesOfThePackageDecide)
{
    {
        RegisteredFault manager(TestFault::ManagerOfEquilibriumOnlyPackage);
        chooseFaultyPackage(manager);
        Created created = create();
        EXPECT_EQ(S_OK, created.hr) << "an equilibrium routine alone is enough: " << testing::PrintToString(texts());
        created = {};
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    RegisteredFault manager(TestFault::ManagerOfPackageWithoutMaterialContext);
    chooseFaultyPackage(manager);
    Created created = create();
    EXPECT_EQ(E_NOINTERFACE, created.hr);
    EXPECT_FALSE(created.component);
    const std::string progId = toAnsi(manager.progId());
    EXPECT_TRUE(shown("The component 'Faulty Package', resolved by the CAPE-OPEN Property Package Manager '" + progId +
                      "' (ProgId '" + progId + "') does not implement the interface ICapeThermoMaterialContext"))
        << testing::PrintToString(texts());
}

TEST_F(ManagerRoad, PackageWithNeitherRoutineIsRefusedAndReleased)
{
    {
        ManagerDoubleBehaviour handsOutAUnit;
        handsOutAUnit.packageProgId = L"Tarnwick.Mixer";
        ServedClass manager("QnTest.UnitManager", {managerCategory}, managerDouble(handsOutAUnit));
        choose(L"Double Package", manager.progId(), thermo11);
        Created created = create();
        EXPECT_EQ(E_NOINTERFACE, created.hr);
        EXPECT_FALSE(created.parent);
        const std::string progId = toAnsi(manager.progId());
        EXPECT_TRUE(shown("The component 'Double Package', resolved by the CAPE-OPEN Property Package Manager '" +
                          progId + "' (ProgId '" + progId +
                          "') does not implement the interfaces ICapeThermoPropertyRoutine or "
                          "ICapeThermoEquilibriumRoutine"))
            << testing::PrintToString(texts());
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_EQ(0, liveDoubles());
}

TEST_F(ManagerRoad, PackageFailuresAreReportedInTheManagersContext)
{
    {
        RegisteredFault manager(TestFault::ManagerOfPackageWithoutUtilities);
        chooseFaultyPackage(manager);
        EXPECT_EQ(E_NOINTERFACE, create().hr);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(0u, boxes.last().text.find(" ERROR: " + contextOf("Faulty Package", manager.progId())));
        EXPECT_NE(std::string::npos, boxes.last().text.find("(0x80004002)"));
    }
    boxes.clear();
    RegisteredFault manager(TestFault::ManagerOfPackageWhoseInitializeFails);
    chooseFaultyPackage(manager);
    EXPECT_EQ(static_cast<HRESULT>(0x8004050F), create().hr);
    ASSERT_EQ(1u, boxes.count());
    const std::string& text = boxes.last().text;
    EXPECT_EQ(0u, text.find(" ERROR: " + contextOf("Faulty Package", manager.progId()))) << text;
    EXPECT_NE(std::string::npos, text.find("The test package refuses to initialise.")) << "its own error: " << text;
    EXPECT_NE(std::string::npos, text.find("(0x8004050F)")) << text;
}

TEST_F(ManagerRoad, ManagerWithoutTheManagerInterfaceIsRefused)
{
    RegisteredFault manager(TestFault::ManagerWithoutManagerInterface);
    ASSERT_EQ(S_OK, manager.result());
    choose(L"Faulty Package", manager.progId(), thermo11);
    EXPECT_EQ(E_NOINTERFACE, create().hr);
    EXPECT_TRUE(shown("The CAPE-OPEN component '" + toAnsi(manager.progId()) + "' does not implement the interface"))
        << testing::PrintToString(texts());
}

TEST_F(ManagerRoad, FailingInitializeOfTheManagerIsAnUnexpectedErrorInItsContext)
{
    {
        ServedClass manager("QnTest.StartlessManager", {managerCategory},
                            managerDouble({static_cast<HRESULT>(0x8004050F), -1}));
        choose(L"Double Package", manager.progId(), thermo11);
        Created created = create();
        EXPECT_EQ(E_FAIL, created.hr) << "a raised error reports as E_FAIL";
        ASSERT_EQ(1u, boxes.count()) << testing::PrintToString(texts());
        const std::string& text = boxes.last().text;
        EXPECT_EQ(0u, text.find(" ERROR: " + contextOf("Double Package", manager.progId()))) << text;
        EXPECT_NE(std::string::npos, text.find("The double manager cannot start.")) << text;
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_EQ(0, liveDoubles()) << "the manager has been released";
}

TEST_F(ManagerRoad, ManagerThatLosesItsDispatchIsAnUnexpectedErrorAndEverythingIsReleased)
{
    {
        // IDispatch is answered once: to its creation, not to the second question.
        ServedClass manager("QnTest.DispatchlessManager", {managerCategory}, managerDouble({S_OK, 1}));
        choose(L"Double Package", manager.progId(), thermo11);
        Created created = create();
        EXPECT_EQ(E_NOINTERFACE, created.hr);
        EXPECT_FALSE(created.component);
        EXPECT_FALSE(created.parent);
        ASSERT_EQ(1u, boxes.count()) << testing::PrintToString(texts());
        EXPECT_EQ(0u, boxes.last().text.find(" ERROR: Unexpected error ")) << boxes.last().text;
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_EQ(0, liveDoubles()) << "the manager has been released";
    EXPECT_EQ(0, liveObjects(L"SamplePropertyPackage.dll")) << "and so has the package it made";
}

TEST_F(ManagerRoad, StandalonePackageHasNoParent)
{
    choose(L"Lindqvarn.PropertyPackage", L"", 1024);
    ASSERT_EQ(110, version());
    // The parent out parameter is written (with none) on this road.
    IDispatch* parent = reinterpret_cast<IDispatch*>(&boxes);
    ComPtr<IDispatch> component;
    ASSERT_EQ(S_OK, gui->createComp(component.put(), &parent)) << testing::PrintToString(texts());
    EXPECT_EQ(nullptr, parent);
    EXPECT_TRUE(component);
    UniqueBstr parentProgId;
    EXPECT_EQ(S_OK, gui->GetParentProgID(parentProgId.put()));
    EXPECT_EQ(nullptr, parentProgId.get());
}

TEST_F(ManagerRoad, StandalonePackageRefusalsAreExplained)
{
    {
        RegisteredFault package(TestFault::PackageWithoutUtilities);
        ASSERT_EQ(S_OK, package.result());
        choose(package.progId(), L"", 1024);
        EXPECT_EQ(E_NOINTERFACE, create().hr);
        EXPECT_TRUE(shown("The CAPE-OPEN component '" + toAnsi(package.progId()) +
                          "' does not implement the interface 'ICapeUtilities'"))
            << testing::PrintToString(texts());
    }
    boxes.clear();
    {
        RegisteredFault package(TestFault::PackageInitializeFails);
        choose(package.progId(), L"", 1024);
        EXPECT_EQ(static_cast<HRESULT>(0x8004050F), create().hr);
        EXPECT_TRUE(shown("Error creating CAPE-OPEN component '" + toAnsi(package.progId()) + "'"));
        EXPECT_TRUE(shown("The test package refuses to initialise.")) << testing::PrintToString(texts());
    }
    boxes.clear();
    RegisteredFault package(TestFault::PackageEquilibriumOnly);
    choose(package.progId(), L"", 1024);
    EXPECT_EQ(E_NOINTERFACE, create().hr) << "standing alone, a package needs its property routines";
    EXPECT_TRUE(shown("' does not implement the interface ''")) << testing::PrintToString(texts());
}

TEST_F(ManagerRoad, StandalonePackageThatLosesItsDispatchIsRefused)
{
    {
        // IDispatch is answered once: to its creation, not to the second question.
        ServedClass package("QnTest.DispatchlessPackage", {}, packageDouble(1));
        choose(package.progId(), L"", 1024);
        Created created = create();
        EXPECT_EQ(E_NOINTERFACE, created.hr);
        EXPECT_TRUE(shown("The component '" + toAnsi(package.progId()) +
                          "' failed at its second QueryInterface(IID_IDispatch)"))
            << testing::PrintToString(texts());
    }
    EXPECT_EQ(0, liveDoubles());
}

TEST_F(ManagerRoad, UnitOperationFilterKeepsA11UnitOnTheDirectRoad)
{
    // Version 1.1 under exactly the unit filter: direct; under 33 (with the
    // component bit): the package-manager road, where a unit is no package.
    choose(L"Tarnwick.Mixer", L"", 32);
    ASSERT_EQ(S_OK, gui->put_compCOversion(110));
    EXPECT_EQ(S_OK, create().hr) << testing::PrintToString(texts());
    EXPECT_EQ(S_OK, gui->releaseComponents());

    choose(L"Tarnwick.Mixer", L"", 33);
    ASSERT_EQ(S_OK, gui->put_compCOversion(110));
    EXPECT_EQ(E_NOINTERFACE, create().hr);
    EXPECT_TRUE(shown("The CAPE-OPEN component 'Tarnwick.Mixer' does not implement the interface"))
        << testing::PrintToString(texts());
}
