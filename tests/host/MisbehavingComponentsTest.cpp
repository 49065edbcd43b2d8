// Components that answer "success" with nothing, and machines without the CAPE-OPEN
// type library's interface names: explained, never a crash.
#include "HostFixture.h"

#include <algorithm>

#include "CapeOpen.h"
#include "resources/ControlIds.h"
#include "support/UniqueBstr.h"
#include "testkit/ComDouble.h"
#include "testkit/DialogDriver.h"
#include "testkit/ServedClass.h"
#include "testkit/TreeView.h"

using namespace testkit;

namespace {

const std::string kNoObject = "' context 23: the class reported success but handed out no object";

class MisbehavingComponents : public Host {};

TEST_F(MisbehavingComponents, AManagerThatCreatesNothingIsExplainedWhenTheManagerOpens)
{
    ServedClass manager({"QnTest.EmptyManager", {kManagerCatid}, {{"Name", "Empty Manager"}}}, nullObjectCreator());
    ComPtr<ICCAPEGUI> gui = libraryObject(kManagersFilter);
    DialogDriver driver;
    BSTR component = nullptr, catids = nullptr;
    std::vector<std::string> managers;
    const HRESULT shown = driver.run([&] { return gui->ShowGUI(&component, &catids); },
                                     [&](HWND dialog) {
                                         managers = TreeView(dialog).labels({"CAPE-OPEN 1.1 Property Package Manager"});
                                         driver.answerNextBox(IDYES);
                                     });
    SysFreeString(component);
    SysFreeString(catids);

    EXPECT_EQ(shown, S_OK) << "the Component Manager opened and closed";
    ASSERT_GE(driver.boxes().count(), 1u) << "the manager's failure is explained";
    EXPECT_EQ(0u, driver.boxes().boxes().front().text.find("Error creating interface 'IUnknown' for class '" +
                                                          manager.progId() + kNoObject))
        << driver.boxes().boxes().front().text;
    EXPECT_NE(std::find(managers.begin(), managers.end(), "Empty Manager [" + manager.progId() + "]"), managers.end())
        << "the manager is still listed";
}

TEST_F(MisbehavingComponents, AProbeOfAComponentThatCreatesNothingIsExplained)
{
    ServedClass unit({"QnTest.EmptyUnit", {kUnitCatid}, {{"Name", "Empty Unit"}}}, nullObjectCreator());
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    DialogDriver driver;
    BSTR component = nullptr, catids = nullptr;
    driver.run([&] { return gui->ShowGUI(&component, &catids); },
               [&](HWND dialog) {
                   TreeView(dialog).rightClick({"Unit Operations", "Empty Unit [" + unit.progId() + "]"});
                   driver.answerNextBox(IDYES);
               });
    SysFreeString(component);
    SysFreeString(catids);

    ASSERT_GE(driver.boxes().count(), 1u) << "the probe explains the creation";
    EXPECT_EQ(0u, driver.boxes().boxes().front().text.find("Error creating interface 'IUnknown' for class '" +
                                                          unit.progId() + kNoObject))
        << driver.boxes().boxes().front().text;
}

TEST_F(MisbehavingComponents, CreatingAComponentThatCreatesNothingFailsAndNamesIt)
{
    ServedClass unit({"QnTest.EmptyUnit", {kUnitCatid}, {{"Name", "Empty Unit"}, {"CapeVersion", "1.0"}}},
                     nullObjectCreator());
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    MessageBoxDriver boxes;
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(unit.progIdW().c_str()).get(), nullptr));
    IDispatch* component = reinterpret_cast<IDispatch*>(0x1);
    IDispatch* parent = nullptr;

    EXPECT_EQ(gui->createComp(&component, &parent), E_NOINTERFACE) << "no object is a failure of the creation";
    EXPECT_EQ(component, nullptr) << "the host gets nothing";
    ASSERT_EQ(boxes.count(), 2u) << "the failed creation, then which component it was";
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: Error creating CAPE-OPEN component '" + unit.progId() +
                                         "' (ProgId '" + unit.progId() + "', type 'ICapeUnit')"))
        << boxes.last().text;
}

TEST_F(MisbehavingComponents, AMissingInterfaceIsNamedWithoutTheTypeLibrarysNames)
{
    struct DispatchOnly : ComDouble<IDispatch> {};
    ServedClass unit({"QnTest.NotAUnit", {kUnitCatid}, {{"Name", "Not A Unit"}, {"CapeVersion", "1.0"}}},
                     creatorOf<DispatchOnly>());
    ASSERT_FALSE(keyExists("Interface\\{678C0998-0100-11D2-A67D-00105A42887F}"))
        << "this machine has no name for ICapeUnit";
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    MessageBoxDriver boxes;
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(unit.progIdW().c_str()).get(), nullptr));
    ComPtr<IDispatch> component;
    ComPtr<IDispatch> parent;

    EXPECT_EQ(gui->createComp(component.put(), parent.put()), E_NOINTERFACE);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: The CAPE-OPEN component '" + unit.progId() +
                                         "' does not implement the interface 'ICapeUnit'"))
        << boxes.last().text;
    gui = nullptr;
    EXPECT_EQ(liveDoubles(), 0) << "the refused object has been released";
}

// Answers "no" for ICapeUnit but leaves another object in the out parameter.
class LeavesAnObjectBehind : public ComDouble<IDispatch> {
public:
    explicit LeavesAnObjectBehind(IUnknown* leftover) : leftover_(leftover) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_ICapeUnit)
            return ComDouble::QueryInterface(iid, out);
        *out = leftover_;
        return E_NOINTERFACE;
    }

private:
    IUnknown* leftover_;
};

TEST_F(MisbehavingComponents, WhatAFailedQuestionLeavesBehindIsNotReleased)
{
    struct Bystander : ComDouble<IDispatch> {};
    ComPtr<Bystander> bystander = makeDouble<Bystander>();
    ServedClass unit({"QnTest.Untidy", {kUnitCatid}, {{"Name", "Untidy"}, {"CapeVersion", "1.0"}}},
                     creatorOf<LeavesAnObjectBehind>(static_cast<IUnknown*>(static_cast<IDispatch*>(bystander.get()))));
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    MessageBoxDriver boxes;
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(unit.progIdW().c_str()).get(), nullptr));
    ComPtr<IDispatch> component, parent;

    EXPECT_EQ(gui->createComp(component.put(), parent.put()), E_NOINTERFACE);
    EXPECT_EQ(bystander->references(), 1u) << "only a successful answer hands out a reference to release";
}

}  // namespace
