// Every outcome of createComp as the host sees it, one row each: the code returned,
// the boxes shown (text and owner), what the out parameters hold, and
// that whatever the component, its manager or its package made is released again;
// and where the class comes from when the registry does not name it.
#include <gtest/gtest.h>

#include <optional>
#include <variant>

#include "automation/BstrText.h"
#include "testkit/CapeDoubles.h"
#include "testkit/FileGuards.h"
#include "testkit/HostWindow.h"
#include "testkit/Library.h"
#include "testkit/MessageBoxDriver.h"
#include "testkit/Samples.h"
#include "testkit/ServerNameSpy.h"
#include "testkit/TestAccess.h"
#include "testkit/Texts.h"

using namespace testkit;

namespace {

const auto* const samples = ::testing::AddGlobalTestEnvironment(new SamplesRegistered);

bool answers(IUnknown* object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return object && SUCCEEDED(object->QueryInterface(iid, answer.putVoid())) && answer;
}

// The registered library's object, set up with the host's window; every box recorded
// and answered, reports traced to a file of the test's own; afterwards no object of
// the samples or the doubles.
class Creation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gui) << "the registered library creates its object"; }
    void TearDown() override
    {
        EXPECT_TRUE(gui && gui->releaseComponents() == S_OK) << "everything the object holds is released";
        gui = nullptr;
        EXPECT_EQ(0, liveDoubles()) << "every double has been released";
        EXPECT_EQ(0, liveSampleObjects()) << "every object of the samples has been released";
    }
    // setup with the host window, then setProgIds; version (when not 0) replaces the
    // CAPE-OPEN version the catalogue found.
    void choose(const std::string& item, const std::string& parent, long filter, long version)
    {
        ASSERT_EQ(S_OK, gui->setup(host.handle(), nullptr, filter));
        ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(toWide(item).c_str()).get(), UniqueBstr(toWide(parent).c_str()).get()));
        ASSERT_EQ(S_OK, version ? gui->put_compCOversion(version) : S_OK);
    }

    TraceFileGuard trace;
    MessageBoxDriver boxes;
    HostWindow host;
    ComPtr<ICCAPEGUI> gui = registeredObject();
};

// A class served for a row.
struct Served { ClassRegistration registration; Creator create; };
Served unit(Creator create) { return {{"QnTest.Unit", {kUnitCatid}, {{"CapeVersion", "1.0"}}}, std::move(create)}; }
Served unitThat(std::function<void(UnitDouble&)> prepare) { return unit(creatorOf<UnitDouble>(prepare)); }
Served manager(Creator create)
{
    return {{"QnTest.Manager", {kManagerCatid}, {{"CapeVersion", "1.1"}}}, std::move(create)};
}
Served managerThat(std::function<void(ManagerDouble&)> prepare) { return manager(creatorOf<ManagerDouble>(prepare)); }
Served managerOfPackageThat(std::function<void(PackageDouble&)> prepare)
{
    return managerThat([=](ManagerDouble& made) { made.preparePackage = prepare; });
}
Served packageThat(std::function<void(PackageDouble&)> prepare)
{
    return {{"QnTest.Package", {kPropertyPackageCatid}, {{"CapeVersion", "1.1"}}}, creatorOf<PackageDouble>(prepare)};
}

enum class Parent { Untouched, None, Manager };

struct Outcome {
    const char* name;
    std::variant<Served, const char*> subject;  // served for the row, or a ProgID of the machine
    const char* package;  // chosen under the subject as its manager; null: the subject is the item
    long filter;
    long version;  // 0: as the catalogue found it
    HRESULT code;
    std::vector<std::string> boxes;  // in order; "@" stands for the subject's ProgID
    IID handedOver = IID_NULL;       // on success: an interface the component handed over has
    Parent parent = Parent::Untouched;
    LONG persistType = 0;
    const wchar_t* server = nullptr;  // serverName, when the host sets one
};

void PrintTo(const Outcome& row, std::ostream* out) { *out << row.name; }

struct Sentinel final : ComDouble<IDispatch> {};

class Outcomes : public Creation, public ::testing::WithParamInterface<Outcome> {};

}  // namespace

TEST_P(Outcomes, AreExplainedReturnedAndHandedOverAsTheHostExpects)
{
    const Outcome& row = GetParam();
    std::optional<ServedClass> served;
    std::string progId;
    if (const Served* rowClass = std::get_if<Served>(&row.subject))
        progId = served.emplace(rowClass->registration, rowClass->create).progId();
    else
        progId = std::get<const char*>(row.subject);
    choose(row.package ? row.package : progId, row.package ? progId : "", row.filter, row.version);
    const ServerNameSpy spy(GetModuleHandleA("QnCOGUI11.dll"));
    ASSERT_EQ(S_OK, row.server ? gui->put_serverName(UniqueBstr(row.server).get()) : S_OK);

    auto sentinel = makeDouble<Sentinel>();
    IDispatch *component = sentinel.get(), *parent = sentinel.get();
    EXPECT_EQ(row.code, gui->createComp(&component, &parent)) << "createComp returns the failure's code (or S_OK)";
    ComPtr<IDispatch> handed = ComPtr<IDispatch>::attach(component != sentinel.get() ? component : nullptr);
    ComPtr<IDispatch> manager = ComPtr<IDispatch>::attach(parent != sentinel.get() ? parent : nullptr);
    EXPECT_EQ(spy.seen(), row.server ? row.server + std::wstring(L"\n") : L"") << "the component's server is named";
    ComPtr<IErrorInfo> stale;
    EXPECT_NE(S_OK, GetErrorInfo(0, stale.put())) << "no error object is left on the thread";
    UniqueBstr item;
    EXPECT_EQ(S_OK, gui->GetItemProgID(item.put()));
    EXPECT_EQ(toWide(row.package ? row.package : progId), item.text()) << "the host's choice stays, whatever came of it";

    for (const ShownBox& box : boxes.boxes())
        EXPECT_EQ(host.hwnd(), box.owner) << "every box is owned by the host window: " << box.text;
    EXPECT_EQ(replaced(row.boxes, {{"@", progId}}), boxes.texts()) << "the boxes explain what failed";
    EXPECT_NE(sentinel.get(), component) << "the component out parameter is always written";
    // On success the component has the row's interface; on failure there is none at all.
    const IID& handedOver = SUCCEEDED(row.code) ? row.handedOver : IID_IUnknown;
    EXPECT_EQ(SUCCEEDED(row.code), answers(handed.get(), handedOver)) << "the host gets the component on success";
    LONG type = -1;
    EXPECT_EQ(S_OK, gui->getPersistType(&type));
    EXPECT_EQ(row.persistType, type) << "the object keeps the component for persistence";
    if (row.parent == Parent::Manager)
        EXPECT_TRUE(answers(manager.get(), IID_ICapeThermoPropertyPackageManager)) << "the manager is the parent";
    else
        EXPECT_EQ(row.parent == Parent::None ? nullptr : sentinel.get(), parent)
            << "the parent is written on the package-manager road only";
}

// Units are registered as CAPE-OPEN 1.0, managers and packages as 1.1.
constexpr long units = 32, thermo = 512 | 1024, packages = 1024, anyComponent = 65536;
const char* const notValidated =
    "The component 'Tarnwick.Mixer' implements version '1.0' of the interface 'ICapeThermoPropertyPackageManager', "
    "which has not been validated with the current version of Corvane Veltrix CAPE-OPEN 1.1. This will probably "
    "cause unexpected behaviour of the application. Please consult support for an upgrade of Corvane Veltrix "
    "CAPE-OPEN 1.1.";
const char* const otherVersion =
    "The CAPE-OPEN component 'Tarnwick.Mixer' has been registered as being compliant to CAPE-OPEN version '1.0', but "
    "it implements instead version '1.1' of the interface 'ICapeThermoPropertyPackageManager'";
const char* const notMade = "Error creating interface 'IDispatch' for class '@' context 21\n<No system message "
                            "defined> severity: SEVERITY_ERROR, facility: FACILITY_ITF ($80040503)";
const char* const nothingMade = "Error creating interface 'IDispatch' for class '@' context 21: the class reported "
                                "success but handed out no object\n<No system message defined> E_NOINTERFACE ($80004002)";
const char* const notRegistered = " ERROR: The component with ProgID '@' is not correctly registered. It's CLSID "
                                  "does not appear in the registry.(0x800401F3)";
const char* const lacks = " ERROR: The CAPE-OPEN component '@' does not implement the interface ";
const char* const fromManager = " ERROR: creating property package 'Only Package' from property package manager '@'";
const char* const resolved = " ERROR: The component 'Only Package', resolved by the CAPE-OPEN Property Package "
                             "Manager '@' (ProgId '@') does not implement the interface";
const std::string notInitialised = "\n(The package refuses to initialise.: TestDouble)(0x8004050F)";
void refuseRoutines(PackageDouble& made) { made.refuse(IID_ICapeThermoPropertyRoutine); }
void refuseContext(PackageDouble& made) { made.refuse(IID_ICapeThermoMaterialContext); }
void failInitialize(PackageDouble& made) { made.failCall("Initialize", 0x8004050F, L"The package refuses to initialise."); }

const Outcome outcomes[] = {
    // Created and handed over; a version the component does not implement is a warning.
    {"SampleUnit", "Tarnwick.Mixer", nullptr, units, 0, S_OK, {}, IID_ICapeUnit, Parent::Untouched, 3},
    {"Unit11OnANamedServer", "Tarnwick.Mixer", nullptr, units, 110, S_OK, {}, IID_ICapeUnit, Parent::Untouched, 3,
     L"localhost"},
    {"UnitOfNotSupportedVersion", "Tarnwick.Mixer", nullptr, units, 1000, S_OK, {notValidated, otherVersion},
     IID_ICapeUnit, Parent::Untouched, 3},
    {"AnyComponentNeedsOnlyIDispatch", unitThat([](UnitDouble& made) { made.refuse(IID_ICapeUnit); }), nullptr,
     anyComponent, 100, S_OK, {}, IID_ICapeUtilities, Parent::Untouched, 1},
    {"SamplePackageOfItsManager", "Oskvale.PackageManager", "Natural Gas", thermo, 0, S_OK, {},
     IID_ICapeThermoMaterialContext, Parent::Manager, 2},
    {"EquilibriumOnlyPackage", managerOfPackageThat(refuseRoutines), "Only Package", thermo, 0, S_OK, {}, IID_ICapeThermoEquilibriumRoutine, Parent::Manager},
    {"SampleStandalonePackage", "Lindqvarn.PropertyPackage", nullptr, packages, 0, S_OK, {},
     IID_ICapeThermoMaterialContext, Parent::None, 2},

    // Refused on the direct road.
    {"NoSelection", "", nullptr, units, 0, CO_E_CLASSSTRING, {notRegistered}},
    {"ProgIdNoLongerRegistered", "QnTest.Uninstalled", nullptr, units, 0, CO_E_CLASSSTRING, {notRegistered}},
    {"UnitAnsweringOnlyAnotherInterface", unit(creatorOf<ManagerDouble>()), nullptr, units, 0, E_NOINTERFACE,
     {std::string(lacks) + "'ICapeUnit'(0x80004002)"}},
    {"UnitAnsweringWithoutAnObject", unitThat([](UnitDouble& made) { made.answerWithoutObject(IID_ICapeUnit); }),
     nullptr, units, 0, E_NOINTERFACE, {std::string(lacks) + "'ICapeUnit'(0x80004002)"}},
    {"UnitThatIsNotMade", unit(nullObjectCreator()), nullptr, units, 0, E_NOINTERFACE,
     {nothingMade, " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'ICapeUnit')(0x80004002)"}},
    {"Unit11UnderACombinedFilter", "Tarnwick.Mixer", nullptr, units | 1, 110, E_NOINTERFACE,
     {" ERROR: The CAPE-OPEN component 'Tarnwick.Mixer' does not implement the interface "
      "'ICapeThermoPropertyRoutine'(0x80004002)"}},
    {"ClassWithoutServer", Served{{std::string(240, 'L'), {}, {}}, {}}, nullptr, anyComponent, 100,
     REGDB_E_CLASSNOTREG,
     {"Error creating interface 'IDispatch' for class '@' context 21\n<No system message defined> "
      "REGDB_E_CLASSNOTREG ($80040154)",
      " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'IDispatch')(0x80040154)"}},

    // Refused as a package made by its own ProgID.
    {"StandalonePackageWithoutUtilities", packageThat([](PackageDouble& made) { made.refuse(IID_ICapeUtilities); }),
     nullptr, packages, 0, E_NOINTERFACE, {std::string(lacks) + "'ICapeUtilities'(0x80004002)"}},
    {"StandalonePackageNotInitialised", packageThat(failInitialize), nullptr, packages, 0, HRESULT(0x8004050F),
     {" ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'ICapeThermoPropertyRoutine')" +
      notInitialised}},
    {"StandalonePackageLosingIDispatch",
     packageThat([](PackageDouble& made) { made.refuse(IID_IDispatch, E_NOINTERFACE, 1); }), nullptr, packages, 0,
     E_NOINTERFACE, {" ERROR: The component '@' failed at its second QueryInterface(IID_IDispatch)(0x80004002)"}},

    // Refused on the package-manager road.
    {"ManagerNotMade", manager(failingCreator(0x80040503, L"The manager has no licence on this machine.")),
     "Only Package", thermo, 0, HRESULT(0x80040503),
     {notMade, " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'ICapeThermoPropertyPackageManager')"
               "\n(The manager has no licence on this machine.: TestDouble)(0x80040503)"}},
    {"ManagerWithoutManagerInterface",
     managerThat([](ManagerDouble& made) { made.refuse(IID_ICapeThermoPropertyPackageManager); }), "Only Package",
     thermo, 0, E_NOINTERFACE, {std::string(lacks) + "'ICapeThermoPropertyPackageManager'(0x80004002)"}},
    {"ManagerNotInitialised",
     managerThat([](ManagerDouble& made) { made.failCall("Initialize", 0x8004050F, L"The manager cannot start."); }),
     "Only Package", thermo, 0, E_FAIL, {std::string(fromManager) + "\n(The manager cannot start.: TestDouble)"}},
    {"PackageUnknownToItsManager", manager(creatorOf<ManagerDouble>()), "Missing Package", thermo, 0, E_INVALIDARG,
     {" ERROR: creating property package 'Missing Package' from property package manager '@'\n(No package named "
      "'Missing Package'.: TestDouble)\nInvalid parameter.\r\n(0x80070057)"}},
    {"ManagerReturningNoPackage", managerThat([](ManagerDouble& made) { made.handsOutNothing = true; }),
     "Only Package", thermo, 0, E_FAIL,
     {" ERROR: When the CAPE-OPEN 1.1 Property Package Manager '@' was requested to create the package named "
      "'Only Package', it returned an invalid object."}},
    {"PackageWithoutUtilities",
     managerOfPackageThat([](PackageDouble& made) { made.refuse(IID_ICapeUtilities); }), "Only Package", thermo, 0,
     E_NOINTERFACE, {std::string(fromManager) + "(0x80004002)"}},
    {"PackageNotInitialised", managerOfPackageThat(failInitialize), "Only Package", thermo, 0, HRESULT(0x8004050F),
     {fromManager + notInitialised}},
    {"ManagerLosingIDispatch", managerThat([](ManagerDouble& made) { made.refuse(IID_IDispatch, E_NOINTERFACE, 1); }),
     "Only Package", thermo, 0, E_NOINTERFACE, {" ERROR: Unexpected error (0x80004002)"}},
    {"PackageWithoutMaterialContext", managerOfPackageThat(refuseContext), "Only Package", thermo, 0, E_NOINTERFACE,
     {std::string(resolved) + " ICapeThermoMaterialContext(0x80004002)"}},
    {"PackageWithNeitherRoutine", managerOfPackageThat([](PackageDouble& made) {
         refuseRoutines(made), made.refuse(IID_ICapeThermoEquilibriumRoutine);
     }),
     "Only Package", thermo, 0, E_NOINTERFACE,
     {std::string(resolved) + "s ICapeThermoPropertyRoutine or ICapeThermoEquilibriumRoutine(0x80004002)"}},
};

INSTANTIATE_TEST_SUITE_P(Creation, Outcomes, ::testing::ValuesIn(outcomes),
                         [](const auto& info) { return std::string(info.param.name); });

// The Component Manager lists a class by the ProgID its class key names, even when
// that ProgID has no key of its own; the dialog's choice then carries the class's
// CLSID text, which setProgIds cannot give (it looks ProgIDs up in the registry).
TEST_F(Creation, ProgIdUnknownToTheRegistryIsCreatedByTheCataloguesClsid)
{
    const ServedClass unit({"", {kUnitCatid}, {}}, creatorOf<UnitDouble>());
    const std::string orphan = "QnTest.Orphan." + unit.clsidText().substr(1, 8);
    ComPtr<ICCAPEGUI> linked;
    ASSERT_EQ(S_OK, CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, linked.putVoid()));
    ASSERT_EQ(S_OK, linked->setup(host.handle(), nullptr, 32));
    CCCAPEGUITestAccess::chooseItem(linked.get(), orphan, unit.clsidText());
    ComPtr<IDispatch> component;
    EXPECT_EQ(S_OK, linked->createComp(component.put(), nullptr));
    EXPECT_TRUE(answers(component.get(), IID_ICapeUnit)) << "the unit of the catalogue's CLSID is handed over";
    EXPECT_EQ(0u, boxes.count()) << "created without a message";
    component = nullptr;
    EXPECT_EQ(S_OK, linked->releaseComponents());

    CCCAPEGUITestAccess::chooseItem(linked.get(), orphan, "");
    EXPECT_EQ(CO_E_CLASSSTRING, linked->createComp(component.put(), nullptr)) << "without a CLSID text it fails";
}
