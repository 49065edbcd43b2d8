// The component the object holds for the host: kept when a later creation fails,
// terminated when the library started it and lets it go; the host's strings kept.
#include "HostFixture.h"

#include "testkit/CapeDoubles.h"
#include "testkit/TaskMemory.h"

using namespace testkit;

namespace {

using Calls = std::vector<std::string>;

class HeldComponent : public Host {
protected:
    // A manager served with "Only Package" described; every manager and package it makes
    // is kept here. Without thermo its packages have neither thermodynamic routine.
    std::unique_ptr<ServedClass> serveManager(bool thermo)
    {
        auto served = std::make_unique<ServedClass>(
            ClassRegistration{"QnTest.StartedManager", {kManagerCatid}, {{"Name", "Started"}, {"CapeVersion", "1.1"}}},
            creatorOf<ManagerDouble>([this, thermo](ManagerDouble& made) {
                managers.emplace_back(&made);
                made.preparePackage = [this, thermo](PackageDouble& package) {
                    packages.emplace_back(&package);
                    if (!thermo)
                        package.refuse(IID_ICapeThermoPropertyRoutine), package.refuse(IID_ICapeThermoEquilibriumRoutine);
                };
            }));
        served->describePackage("Only Package", {{"Name", "Only Package"}, {"CapeVersion", "1.1"}});
        return served;
    }

    std::vector<ComPtr<ManagerDouble>> managers;
    std::vector<ComPtr<PackageDouble>> packages;
};

TEST_F(HeldComponent, WhatAFailedRoadOrANewCreationLetsGoOfIsTerminatedOnce)
{
    auto failing = serveManager(false), working = serveManager(true);
    ComPtr<ICCAPEGUI> gui = libraryObject(1536);
    EXPECT_EQ(create(gui.get(), L"Only Package", failing->progIdW()), E_NOINTERFACE) << "a package without routines";
    ASSERT_TRUE(managers.size() == 1 && packages.size() == 1);
    EXPECT_EQ(managers[0]->calls, (Calls{"Initialize", "GetPropertyPackage", "Terminate"}))
        << "the manager started, stopped on failure";
    EXPECT_EQ(packages[0]->calls, (Calls{"Initialize", "Terminate"})) << "the package too";
    EXPECT_EQ(managers[0]->references() + packages[0]->references(), 2u) << "nothing of either is held";

    ASSERT_EQ(create(gui.get(), L"Only Package", working->progIdW()), S_OK);
    ASSERT_EQ(create(gui.get(), L"Only Package", working->progIdW()), S_OK);
    ASSERT_EQ(packages.size(), 3u);
    EXPECT_EQ(packages[1]->calls, (Calls{"Initialize", "Terminate"})) << "the first package stopped when replaced";
    EXPECT_EQ(managers[1]->calls, (Calls{"Initialize", "GetPropertyPackage", "Terminate"})) << "and its manager with it";
    EXPECT_EQ(packages[2]->calls, Calls{"Initialize"}) << "the package the host has now keeps running";
    EXPECT_EQ(gui->releaseComponents(), S_OK);
    EXPECT_EQ(packages[1]->calls.size(), 2u) << "the first one is not stopped twice";
}

TEST_F(HeldComponent, AFailedCreationKeepsTheComponentTheDocumentHas)
{
    ServedClass kept({"QnTest.Kept", {kUnitCatid}, {{"CapeVersion", "1.0"}}}, creatorOf<UnitDouble>([](UnitDouble& made) {
                         made.bytes = "kept bytes", made.refuse(IID_IPersistStorage);
                     }));
    ServedClass refusing({"QnTest.Refusing", {kUnitCatid}, {{"CapeVersion", "1.0"}}},
                         creatorOf<UnitDouble>([](UnitDouble& made) { made.refuse(IID_IPersistStorage, E_FAIL); }));
    auto container = makeDouble<HostContainer>();
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    ASSERT_EQ(S_OK, gui->setup(window.handle(), container->asDispatch(), kUnitsFilter));
    ASSERT_EQ(S_OK, create(gui.get(), kept.progIdW()));
    EXPECT_TRUE(FAILED(create(gui.get(), refusing.progIdW()))) << "a component whose persistence cannot be asked";
    EXPECT_EQ(gui->saveStorage(), S_OK);
    EXPECT_EQ(container->committedStream(L"CAPEOPEN"), "kept bytes") << "the document still saves the kept component";
}

TEST_F(HeldComponent, ShowGuiLeavesTheCallersStringsAlone)
{
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    TaskMemory& memory = TaskMemory::instance();
    ASSERT_TRUE(memory.countsBstrs()) << "BSTRs are counted: the test runs with OANOCACHE=1, as its CTest entry sets";
    UniqueBstr ownedComponent(L"the host's own text"), ownedCatids(L"the host's other text");
    BSTR component = ownedComponent.get(), catids = ownedCatids.get();
    const long before = memory.live();
    ASSERT_EQ(driver.run([&] { return gui->ShowGUI(&component, &catids); }, [&](HWND) { driver.answerNextBox(IDYES); }),
              S_OK);
    EXPECT_EQ(memory.live(), before + 2) << "the choice in two new strings, and the host's own not freed";
    const UniqueBstr chosen[] = {UniqueBstr::attach(component != ownedComponent.get() ? component : nullptr),
                                 UniqueBstr::attach(catids != ownedCatids.get() ? catids : nullptr)};
}

}  // namespace
