// Every outcome of createComp as the host sees it, one row each: the code returned,
// the boxes shown (text and owner) and traced, what the out parameters hold, and
// that whatever the component, its manager or its package made is released again.
#include <optional>
#include <variant>

#include "CapeOpen.h"
#include "CreationTest.h"
#include "testkit/ComDouble.h"
#include "testkit/Faults.h"
#include "testkit/PackageDouble.h"
#include "testkit/RegistryTree.h"

using namespace creationtest;
using testkit::Fault;

namespace {

// Misbehaviours the faults do not have, served by doubles of this file.
enum class Odd { ManagerInitializeFails, ManagerLosesDispatch, ManagerOfAUnit, PackageLosesDispatch, PersistenceRefused,
                 NotServed };

// The kit's package: without either routine, refusing to tell whether it has
// IPersistStorage, or answering IDispatch only once (to its creation).
class Package final : public testkit::PackageDouble {
public:
    explicit Package(Odd odd) : odd_(odd)
    {
        if (odd == Odd::ManagerOfAUnit)
            refuse(IID_ICapeThermoPropertyRoutine);
        if (odd == Odd::PersistenceRefused)
            refuse(IID_IPersistStorage, E_FAIL);
    }

protected:
    HRESULT refusal(REFIID iid) override
    {
        const bool lost = odd_ == Odd::PackageLosesDispatch && iid == IID_IDispatch && dispatchAsked_++ > 0;
        return lost ? E_NOINTERFACE : PackageDouble::refusal(iid);
    }

private:
    Odd odd_;
    int dispatchAsked_ = 0;
};

// A 1.1 Property Package Manager handing out a Package.
class Manager final : public testkit::ComDouble<ICapeThermoPropertyPackageManager, ICapeUtilities> {
public:
    explicit Manager(Odd odd) : odd_(odd) {}
    STDMETHODIMP GetPropertyPackageList(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropertyPackage(BSTR, IDispatch** package) override
    {
        return testkit::creatorOf<Package>(odd_)(IID_IDispatch, reinterpret_cast<void**>(package));
    }
    STDMETHODIMP get_parameters(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP put_simulationContext(IDispatch*) override { return S_OK; }
    STDMETHODIMP Initialize() override
    {
        if (odd_ != Odd::ManagerInitializeFails)
            return S_OK;
        testkit::leaveErrorObject(L"The manager cannot start.");
        return static_cast<HRESULT>(0x8004050F);
    }
    STDMETHODIMP Terminate() override { return S_OK; }
    STDMETHODIMP Edit() override { return E_NOTIMPL; }

protected:
    HRESULT refusal(REFIID iid) override
    {
        return odd_ == Odd::ManagerLosesDispatch && iid == IID_IDispatch && dispatchAsked_++ > 0 ? E_NOINTERFACE : S_OK;
    }

private:
    Odd odd_;
    int dispatchAsked_ = 0;
};

std::unique_ptr<testkit::ServedClass> serve(Odd odd)
{
    if (odd == Odd::NotServed)  // a ProgID of 249 characters: twice in a message of more than 511
        return std::make_unique<testkit::ServedClass>(testkit::ClassRegistration{std::string(240, 'L'), {}, {}});
    if (odd == Odd::PersistenceRefused)
        return std::make_unique<testkit::ServedClass>(testkit::ClassRegistration{"QnTest.OddComponent", {}, {}},
                                                      testkit::creatorOf<Package>(odd));
    const bool manager = odd != Odd::PackageLosesDispatch;
    return std::make_unique<testkit::ServedClass>(
        testkit::ClassRegistration{manager ? "QnTest.OddManager" : "QnTest.OddPackage",
                                   {manager ? "{CF51E383-0110-4ED8-ACB7-B50CFDE6908E}"
                                            : "{CF51E384-0110-4ED8-ACB7-B50CFDE6908E}"},
                                   {{"CapeVersion", "1.1"}}},
        manager ? testkit::creatorOf<Manager>(odd) : testkit::creatorOf<Package>(odd));
}

enum class Parent { Untouched, None, Manager };

struct Outcome {
    const char* name;
    std::variant<Fault, Odd, const char*> subject;  // served for the row, or a ProgID of the machine
    const char* package;  // chosen under the subject as its manager; null: the subject is the item
    long filter;
    long version;  // 0: as the catalogue found it
    HRESULT code;
    std::vector<std::string> boxes;  // in order; "@" stands for the subject's ProgID
    IID handedOver = IID_NULL;       // on success: an interface the component handed over has
    Parent parent = Parent::Untouched;
    LONG persistType = 0;
    bool unitNamed = false;  // ICapeUnit's name is registered for the row
};

// "@" in a text is the subject's ProgID; carriage returns are left out (the trace
// files are written in text mode).
std::string plain(std::string text, const std::string& progId = "")
{
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + progId.size()))
        text.replace(at, 1, progId);
    std::erase(text, '\r');
    return text;
}

void PrintTo(const Outcome& row, std::ostream* out) { *out << row.name; }

struct Sentinel final : testkit::ComDouble<IDispatch> {};

class Outcomes : public CreationTest, public ::testing::WithParamInterface<Outcome> {};

}  // namespace

TEST_P(Outcomes, AreExplainedReturnedAndHandedOverAsTheHostExpects)
{
    const Outcome& row = GetParam();
    std::optional<testkit::ServedFault> fault;
    std::unique_ptr<testkit::ServedClass> odd;
    std::string progId;
    if (const Fault* kind = std::get_if<Fault>(&row.subject))
        progId = fault.emplace(*kind).progId();
    else if (const Odd* oddKind = std::get_if<Odd>(&row.subject))
        progId = (odd = serve(*oddKind))->progId();
    else
        progId = std::get<const char*>(row.subject);
    const std::string unitKey = "Interface\\{678C0998-0100-11D2-A67D-00105A42887F}";
    std::optional<testkit::RegistryTree> unitName;
    if (row.unitNamed && !testkit::keyExists(unitKey))
        unitName.emplace(unitKey).setText("", nullptr, "ICapeUnit");
    choose(row.package ? row.package : progId, row.package ? progId : "", row.filter, row.version);
    ASSERT_EQ(0u, boxes.count()) << "choosing shows nothing: " << testing::PrintToString(texts());

    auto sentinel = testkit::makeDouble<Sentinel>();
    IDispatch *component = sentinel.get(), *parent = sentinel.get();
    EXPECT_EQ(row.code, gui->createComp(&component, &parent)) << "createComp returns the failure's code (or S_OK)";
    ComPtr<IDispatch> handed = ComPtr<IDispatch>::attach(component != sentinel.get() ? component : nullptr);
    ComPtr<IDispatch> manager = ComPtr<IDispatch>::attach(parent != sentinel.get() ? parent : nullptr);
    ComPtr<IErrorInfo> stale;
    EXPECT_NE(S_OK, GetErrorInfo(0, stale.put())) << "no error object is left on the thread";

    std::vector<std::string> expected;
    for (const std::string& text : row.boxes)
        expected.push_back(plain(text, progId));
    std::vector<std::string> shown;
    for (const ShownBox& box : boxes.boxes()) {
        shown.push_back(plain(box.text));
        EXPECT_EQ(host, box.owner) << "every box is owned by the host window: " << box.text;
        // A report is traced; the failed creation's own box is noted in qnshow.txt.
        const bool report = box.caption == "Pellamy's CAPE-OPEN tool";
        EXPECT_TRUE(report || box.caption == "QnCOGUI11") << box.caption;
        const std::string line =
            report ? ": QnCOGUI11: " + shown.back() + "\n\n" : shown.back().substr(0, shown.back().find('\n') + 1);
        EXPECT_NE(std::string::npos, plain(report ? trace.added() : trace.qnshowAdded()).find(line))
            << "the box's text is traced: " << box.text;
    }
    EXPECT_EQ(expected, shown) << "the boxes explain what failed";
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
    "The component 'Tarnwick.Mixer' implements version '1.0' of the interface 'ICapeThermoPropertyPackageManager', which has not been validated with "
    "the current version of Corvane Veltrix CAPE-OPEN 1.1. This will probably cause unexpected behaviour of the "
    "application. Please consult support for an upgrade of Corvane Veltrix CAPE-OPEN 1.1.";
const char* const otherVersion =
    "The CAPE-OPEN component 'Tarnwick.Mixer' has been registered as being compliant to CAPE-OPEN version '1.0', but "
    "it implements instead version '1.1' of the interface 'ICapeThermoPropertyPackageManager'";
const char* const notMade = "Error creating interface 'IDispatch' for class '@' context 21\n<No system message "
                            "defined> severity: SEVERITY_ERROR, facility: FACILITY_ITF ($80040503)";
const char* const lacksUnit = " ERROR: The CAPE-OPEN component '@' does not implement the interface 'ICapeUnit'(0x80004002)";
const char* const lacksRoutine =
    " ERROR: The CAPE-OPEN component '@' does not implement the interface 'ICapeThermoPropertyRoutine'(0x80004002)";
const char* const lacksManager = " ERROR: The CAPE-OPEN component '@' does not implement the interface "
                                 "'ICapeThermoPropertyPackageManager'(0x80004002)";
const char* const nothingMade = "Error creating interface 'IDispatch' for class '@' context 21: the class reported "
                                "success but handed out no object\n<No system message defined> E_NOINTERFACE ($80004002)";
const char* const fromManager = " ERROR: creating property package 'Faulty Package' from property package manager '@'";
const char* const resolved = " ERROR: The component 'Faulty Package', resolved by the CAPE-OPEN Property Package "
                             "Manager '@' (ProgId '@') does not implement the interface";

const Outcome outcomes[] = {
    // Created and handed over; a version the component does not implement is a warning.
    {"SampleUnit", "Tarnwick.Mixer", nullptr, units, 0, S_OK, {}, IID_ICapeUnit, Parent::Untouched, 3},
    {"Unit11UnderTheUnitFilter", "Tarnwick.Mixer", nullptr, units, 110, S_OK, {}, IID_ICapeUnit, Parent::Untouched,
     3},
    {"UnitRegisteredAs93", "Tarnwick.Mixer", nullptr, units, 93, S_OK, {otherVersion}, IID_ICapeUnit,
     Parent::Untouched, 3},
    {"UnitOfNotSupportedVersion", "Tarnwick.Mixer", nullptr, units, 1000, S_OK, {notValidated, otherVersion},
     IID_ICapeUnit, Parent::Untouched, 3},
    {"UndescribedUnit", Fault::NoCapeDescription, nullptr, units, 0, S_OK, {}, IID_ICapeUnit},
    {"AnyComponentNeedsOnlyIDispatch", Fault::UnitWithoutCapeUnit, nullptr, anyComponent, 100, S_OK, {},
     IID_ICapeUtilities},
    {"CombinedFilterNeedsOnlyIDispatch", Fault::UnitWithoutCapeUnit, nullptr, units | 1, 100, S_OK, {},
     IID_ICapeUtilities},
    {"SamplePackageOfItsManager", "Oskvale.PackageManager", "Natural Gas", thermo, 0, S_OK, {},
     IID_ICapeThermoMaterialContext, Parent::Manager, 2},
    {"EquilibriumOnlyPackage", Fault::ManagerOfEquilibriumOnlyPackage, "Faulty Package", thermo, 0, S_OK, {},
     IID_ICapeThermoEquilibriumRoutine, Parent::Manager},
    {"SampleStandalonePackage", "Lindqvarn.PropertyPackage", nullptr, packages, 0, S_OK, {},
     IID_ICapeThermoMaterialContext, Parent::None, 2},

    // Refused on the direct road.
    {"NoSelection", "", nullptr, units, 0, CO_E_CLASSSTRING,
     {" ERROR: The component with ProgID '' is not correctly registered. It's CLSID does not appear in the "
      "registry.(0x800401F3)"}},
    {"UnitWithoutCapeUnit", Fault::UnitWithoutCapeUnit, nullptr, units, 0, E_NOINTERFACE,
     {" ERROR: The CAPE-OPEN component '@' does not implement the interface 'ICapeUnit'(0x80004002)"}, IID_NULL,
     Parent::Untouched, 0, true},
    {"UnitAnsweringOnlyAnotherVersion", Fault::UnitWithOtherVersionInterface, nullptr, units, 0, E_NOINTERFACE,
     {lacksUnit}},
    {"UnitThatIsNotMade", Fault::CreatesNothing, nullptr, units, 0, E_NOINTERFACE,
     {nothingMade, " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'ICapeUnit')(0x80004002)"}},
    {"Unit11UnderACombinedFilter", "Tarnwick.Mixer", nullptr, units | 1, 110, E_NOINTERFACE,
     {" ERROR: The CAPE-OPEN component 'Tarnwick.Mixer' does not implement the interface "
      "'ICapeThermoPropertyRoutine'(0x80004002)"}},
    {"ClassWithoutServer", Odd::NotServed, nullptr, anyComponent, 100, REGDB_E_CLASSNOTREG,
     {"Error creating interface 'IDispatch' for class '@' context 21\n<No system message defined> "
      "REGDB_E_CLASSNOTREG ($80040154)",
      " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'IDispatch')(0x80040154)"}},
    {"ComponentWithoutPersistenceType", Odd::PersistenceRefused, nullptr, anyComponent, 100, E_FAIL,
     {" ERROR: Error saving component through COM persistence", " ERROR: Unexpected error "}},

    // Refused as a package made by its own ProgID.
    {"StandalonePackageWithoutUtilities", Fault::PackageWithoutUtilities, nullptr, packages, 0, E_NOINTERFACE,
     {" ERROR: The CAPE-OPEN component '@' does not implement the interface 'ICapeUtilities'(0x80004002)"}},
    {"StandalonePackageNotInitialised", Fault::PackageInitializeFails, nullptr, packages, 0,
     static_cast<HRESULT>(0x8004050F),
     {" ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'ICapeThermoPropertyRoutine')\n(The test "
      "package refuses to "
      "initialise.: Test package)(0x8004050F)"}},
    {"StandalonePackageWithEquilibriumOnly", Fault::PackageEquilibriumOnly, nullptr, packages, 0, E_NOINTERFACE,
     {lacksRoutine}},
    {"StandalonePackageLosingIDispatch", Odd::PackageLosesDispatch, nullptr, packages, 0, E_NOINTERFACE,
     {" ERROR: The component '@' failed at its second QueryInterface(IID_IDispatch)(0x80004002)"}},

    // Refused on the package-manager road.
    {"ManagerNotMade", Fault::ManagerCreationFails, "Faulty Package", thermo, 0, static_cast<HRESULT>(0x80040503),
     {notMade, " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type 'ICapeThermoPropertyPackageManager')"
               "\n(The test manager has no licence on this machine.: TestDouble)(0x80040503)"}},
    {"ManagerThatIsNotMade", Fault::ManagerCreatesNothing, "Faulty Package", thermo, 0, E_NOINTERFACE,
     {nothingMade, " ERROR: Error creating CAPE-OPEN component '@' (ProgId '@', type "
                   "'ICapeThermoPropertyPackageManager')(0x80004002)"}},
    {"ManagerWithoutManagerInterface", Fault::ManagerWithoutManagerInterface, "Faulty Package", thermo, 0,
     E_NOINTERFACE, {lacksManager}},
    {"ManagerNotInitialised", Odd::ManagerInitializeFails, "Faulty Package", thermo, 0, E_FAIL,
     {std::string(fromManager) + "\n(The manager cannot start.: TestDouble)"}},
    {"PackageUnknownToItsManager", Fault::ManagerEmptyList, "Missing Package", thermo, 110, E_INVALIDARG,
     {" ERROR: creating property package 'Missing Package' from property package manager '@'\n(No package named "
      "'Missing Package'.: Test manager)\nInvalid parameter.\r\n(0x80070057)"}},
    {"ManagerReturningNoPackage", Fault::ManagerReturnsNoPackage, "Faulty Package", thermo, 0, E_FAIL,
     {" ERROR: When the CAPE-OPEN 1.1 Property Package Manager '@' was requested to create the package named "
      "'Faulty Package', it returned an invalid object."}},
    {"PackageWithoutUtilities", Fault::ManagerOfPackageWithoutUtilities, "Faulty Package", thermo, 0, E_NOINTERFACE,
     {std::string(fromManager) + "(0x80004002)"}},
    {"PackageNotInitialised", Fault::ManagerOfPackageWhoseInitializeFails, "Faulty Package", thermo, 0,
     static_cast<HRESULT>(0x8004050F),
     {std::string(fromManager) + "\n(The test package refuses to initialise.: Test package)(0x8004050F)"}},
    {"ManagerLosingIDispatch", Odd::ManagerLosesDispatch, "Faulty Package", thermo, 0, E_NOINTERFACE,
     {" ERROR: Unexpected error (0x80004002)"}},
    {"PackageWithoutMaterialContext", Fault::ManagerOfPackageWithoutMaterialContext, "Faulty Package", thermo, 0,
     E_NOINTERFACE, {std::string(resolved) + " ICapeThermoMaterialContext(0x80004002)"}},
    {"PackageWithNeitherRoutine", Odd::ManagerOfAUnit, "Faulty Package", thermo, 0, E_NOINTERFACE,
     {std::string(resolved) + "s ICapeThermoPropertyRoutine or ICapeThermoEquilibriumRoutine(0x80004002)"}},
};

INSTANTIATE_TEST_SUITE_P(Creation, Outcomes, ::testing::ValuesIn(outcomes),
                         [](const auto& info) { return std::string(info.param.name); });
