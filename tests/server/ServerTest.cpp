// The COM server as hosts and scripts meet it: the class object and unloading, what
// registering and unregistering leave in a classes root of the test's own, the binary
// layout hosts were built against, the automation object's hold on the host container
// and the components, and the boxes of its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "registration/ModuleRegistration.h"
#include "testkit/MessageBoxDriver.h"
#include "testkit/CapeDoubles.h"
#include "testkit/FileGuards.h"
#include "testkit/HostWindow.h"
#include "testkit/Library.h"
#include "testkit/RegistrySnapshot.h"
#include "testkit/TestAccess.h"

namespace {

using Snapshot = testkit::RegistrySnapshot;
const std::string kModule = testkit::programFolder() + "\\QnCOGUI11.dll";  // built beside the test

// The built module beside the test with its exports; while the test runs,
// HKEY_CLASSES_ROOT of this process is an empty key of the test's own.
class Server : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module && canUnloadNow && getClassObject && registerServer) << "the module and its exports";
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, root.path().c_str(), 0, KEY_ALL_ACCESS, key.put()), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, key.get()), ERROR_SUCCESS) << "a root of our own";
    }
    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        FreeLibrary(module);
    }
    template <class F>
    F* exported(const char* name, HMODULE from = nullptr)
    {
        return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(from ? from : module, name)));
    }
    // What the module's own script wrote: the type library's keys are the platform's.
    Snapshot snapshot() const { return testkit::snapshot(key.get(), {"TypeLib", "Interface"}); }
    std::string text(const std::string& path) const
    {
        return testkit::readText(root.path() + "\\" + path, nullptr, HKEY_CURRENT_USER);
    }

    HMODULE module = LoadLibraryA(kModule.c_str());
    HRESULT (*canUnloadNow)() = exported<HRESULT()>("DllCanUnloadNow");
    HRESULT (*getClassObject)(REFCLSID, REFIID, void**) =
        exported<HRESULT(REFCLSID, REFIID, void**)>("DllGetClassObject");
    HRESULT (*registerServer)() = exported<HRESULT()>("DllRegisterServer");
    HRESULT (*unregisterServer)() = exported<HRESULT()>("DllUnregisterServer");
    testkit::RegistryTree root{"Software\\QnCOGUI11ServerTests-" + std::to_string(GetCurrentProcessId()),
                               HKEY_CURRENT_USER};
    RegKey key;
};

using testkit::kCheckClsid, testkit::kCheckProgId, testkit::kLibraryClsid, testkit::kTypeLibraryId;
const std::string kClass = "CLSID\\" + kLibraryClsid;
const std::string& kProgId = testkit::kLibraryProgId;

// ICCAPEGUI in vtable order after IDispatch's seven methods: hosts call by slot,
// scripts by DISPID, so neither may move.
constexpr INVOKEKIND F = INVOKE_FUNC, GET = INVOKE_PROPERTYGET, PUT = INVOKE_PROPERTYPUT;
const struct { const char* name; MEMBERID id; INVOKEKIND kind; } kLayout[] = {
    {"ShowGUI", 1, F}, {"GetItemCLSID", 2, F}, {"GetItemProgID", 3, F}, {"GetItemAlias", 4, F},
    {"GetParentCLSID", 5, F}, {"GetParentProgID", 6, F}, {"GetParentAlias", 7, F}, {"GetCATID", 8, F},
    {"setComponent", 10, F}, {"getPersistType", 11, F}, {"saveStorage", 12, F}, {"loadStorage", 13, F},
    {"createComp", 14, F}, {"getLastError", 15, F}, {"setup", 16, F}, {"setProgIds", 17, F},
    {"releaseComponents", 18, F}, {"enableWarnings", 19, PUT}, {"setAlias", 20, F}, {"serverName", 21, GET},
    {"serverName", 21, PUT}, {"compCOversion", 22, GET}, {"compCOversion", 22, PUT}, {"ShowThermoGUI", 23, F},
    {"getThis", 24, F}, {"getCompOptions", 25, F}, {"setPPInfo", 26, F}, {"simulateThermoGUI", 27, F},
    {"getFullCOPPClassName", 28, F}, {"setCompOptions", 29, F}, {"traceReport", 30, F}, {"showStaticInfo", 31, F},
    {"setRecovErrorsOptions", 32, F}, {"getRecovErrorsOptions", 33, F}, {"socketVersion", 34, GET},
    {"socketVersion", 34, PUT}, {"supportedPhaseTypes", 35, GET}, {"supportedPhaseTypes", 35, PUT},
    {"requestLiquid2", 36, GET}, {"requestLiquid2", 36, PUT}, {"doOrderPhases", 37, GET}, {"doOrderPhases", 37, PUT},
    {"getCritErrorsOptions", 38, F}, {"setCritErrorsOptions", 39, F}, {"GetItemInfo", 40, F},
};

class Automation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, gui.putVoid()), S_OK); }
    ComPtr<ICCAPEGUI> gui;
    MessageBoxDriver boxes;
};

}  // namespace

TEST_F(Server, ClassObjectIsServedOnlyForTheLibrarysClassAndCountsTowardsUnloading)
{
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(none, nullptr) << "the out pointer is cleared first";
    EXPECT_EQ(getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, nullptr), E_POINTER) << "no out pointer";
    EXPECT_EQ(getClassObject(CLSID_CCAPEGUI, IID_IDispatch, &none), E_NOINTERFACE) << "a factory has no IDispatch";
    ASSERT_EQ(canUnloadNow(), S_OK) << "nothing of the module lives at the start";
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a client holds the class factory";
    factory->LockServer(TRUE);
    ComPtr<ICCAPEGUI> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ICCAPEGUI, object.putVoid()), S_OK);
    factory = nullptr;
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "an object and a server lock live";
    object = nullptr;
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the server lock is held";
    ASSERT_EQ(getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()), S_OK);
    factory->LockServer(FALSE);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr) << "an interface the object lacks: nothing handed out";
    factory = nullptr;
    EXPECT_EQ(canUnloadNow(), S_OK) << "no object, no factory, no lock";
}

// Aggregatable: created for an outer unknown, the object hands it its own IUnknown and
// answers on every other interface with the outer's identity and reference count.
TEST_F(Server, TheLibrarysClassesAreAggregatedThroughTheirFactories)
{
    for (const CLSID* clsid : {&CLSID_CCAPEGUI, &CLSID_RegistrationCheck}) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(*clsid, IID_IClassFactory, factory.putVoid()), S_OK);
        auto outer = testkit::makeDouble<testkit::ComDouble<IUnknown>>();
        ComPtr<IUnknown> inner, identity;
        EXPECT_EQ(factory->CreateInstance(outer->unknown(), IID_IDispatch, inner.putVoid()), CLASS_E_NOAGGREGATION)
            << "an outer unknown asks for IUnknown only";
        ASSERT_EQ(factory->CreateInstance(outer->unknown(), IID_IUnknown, inner.putVoid()), S_OK);
        ComPtr<IDispatch> dispatch;
        ASSERT_EQ(inner->QueryInterface(IID_IDispatch, dispatch.putVoid()), S_OK) << "the inner unknown answers";
        EXPECT_EQ(outer->references(), 2u) << "an interface of the object counts on the outer";
        dispatch->QueryInterface(IID_IUnknown, identity.putVoid());
        EXPECT_EQ(identity.get(), outer->unknown()) << "and answers with the outer's identity";
    }
}

// A box would fail the test (the test main's driver expects none): an entry point shows none.
TEST_F(Server, RegistrationRefusedByTheRegistryReturnsItsCodeWithoutABox)
{
    RegKey classes;
    ASSERT_EQ(RegCreateKeyExA(key.get(), "CLSID", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, classes.put(), nullptr), 0);
    ACL nobody{ACL_REVISION, 0, sizeof(ACL), 0, 0};  // an empty access list: the key opens for nobody
    SECURITY_DESCRIPTOR access{SECURITY_DESCRIPTOR_REVISION, 0, SE_DACL_PRESENT, nullptr, nullptr, nullptr, &nobody};
    ASSERT_EQ(RegSetKeySecurity(classes.get(), DACL_SECURITY_INFORMATION, &access), ERROR_SUCCESS);
    EXPECT_EQ(registerServer(), E_ACCESSDENIED) << "the registry's refusal, as its code";
    access.Control = 0;  // no access list: open to all again, to be removed
    RegSetKeySecurity(classes.get(), DACL_SECURITY_INFORMATION, &access);
}

TEST_F(Server, RegisteringWritesTheScriptsKeysAndUnregisteringRemovesExactlyThem)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    // The keys of one class: its class key and its ProgIDs, with and without version.
    const auto classKeys = [&](const std::string& clsid, const std::string& progId, const std::string& name) {
        const std::string key = "CLSID\\" + clsid;
        return Snapshot{{key, {{"", name}}},
                        {key + "\\InprocServer32", {{"", path}, {"ThreadingModel", "Apartment"}}},
                        {key + "\\ProgID", {{"", progId + ".1"}}},
                        {key + "\\Programmable", {}},
                        {key + "\\TypeLib", {{"", kTypeLibraryId}}},
                        {key + "\\VersionIndependentProgID", {{"", progId}}},
                        {progId, {{"", name}}},
                        {progId + "\\CLSID", {{"", clsid}}},
                        {progId + "\\CurVer", {{"", progId + ".1"}}},
                        {progId + ".1", {{"", name}}},
                        {progId + ".1\\CLSID", {{"", clsid}}}};
    };
    Snapshot expected = classKeys(kLibraryClsid, kProgId, "CCAPEGUI11 Class");
    expected.merge(classKeys(kCheckClsid, kCheckProgId, "RegistrationCheck Class"));
    expected[""], expected["CLSID"];
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(snapshot(), expected) << "the registration script's keys and values, exactly";
    const std::string typeLib = "TypeLib\\" + kTypeLibraryId + "\\1.1";
    EXPECT_EQ(text(typeLib), "QnShowCOCATIDs11 1.1 Type Library") << "the type library is registered";
    EXPECT_EQ(text(typeLib + "\\409\\win64"), path) << "from the module itself";

    root.createKey("CLSID\\{00000000-0000-0000-0000-0000000000AB}");
    root.createKey(kClass + "\\Implemented Categories");
    root.createKey(kProgId + "\\Foreign");
    ASSERT_EQ(registerServer(), S_OK);
    expected["CLSID\\{00000000-0000-0000-0000-0000000000AB}"], expected[kProgId + "\\Foreign"];
    EXPECT_EQ(snapshot(), expected) << "registering again replaces the class key (ForceRemove), keeps others' keys";
    ASSERT_EQ(unregisterServer(), S_OK);
    EXPECT_EQ(snapshot(), (Snapshot{{"", {}}, {"CLSID", {}}, {"CLSID\\{00000000-0000-0000-0000-0000000000AB}", {}},
                                    {kProgId, {{"", "CCAPEGUI11 Class"}}}, {kProgId + "\\Foreign", {}}}))
        << "only others' keys stay, and the ProgID key that holds one of them";
    EXPECT_EQ(text(typeLib), "QnShowCOCATIDs11 1.1 Type Library") << "the type library stays registered";
    EXPECT_EQ(unregisterServer(), S_OK) << "unregistering again finds nothing to remove";
}

TEST_F(Server, ModulePathsAreRegisteredAsTheyAreAndALibraryBesideAModuleIsFoundByItsTlbName)
{
    const testkit::FolderGuard folder("QnServer O'Neill " + std::to_string(GetCurrentProcessId()));
    const std::string copy = folder.path() + "\\QnCOGUI11.dll";
    ASSERT_TRUE(CopyFileA(kModule.c_str(), copy.c_str(), FALSE)) << "the module in a folder with an apostrophe";
    {
        const HMODULE copied = LoadLibraryA(copy.c_str());
        ASSERT_TRUE(copied);
        EXPECT_EQ(exported<HRESULT()>("DllRegisterServer", copied)(), S_OK);
        FreeLibrary(copied);
    }
    EXPECT_EQ(text(kClass + "\\InprocServer32"), copy) << "the apostrophe written once, as in the path";

    // A module without a type library of its own, and the library beside it.
    const std::string fake = folder.path() + "\\Fake.dll", besideIt = folder.path() + "\\Fake.tlb";
    testkit::TemporaryFile emptyModule(fake, "");
    ASSERT_TRUE(CopyFileA(QN_TYPELIB_FILE, besideIt.c_str(), FALSE)) << "the compiled type library beside it";
    EXPECT_EQ(registerTypeLibrary(std::wstring(fake.begin(), fake.end())), S_OK);
    EXPECT_EQ(text("TypeLib\\" + kTypeLibraryId + "\\1.1\\409\\win64"), besideIt)
        << "registered from the .tlb file beside the module";
}

TEST(BinaryLayout, MembersKeepTheirSlotsAndDispids)
{
    ComPtr<ITypeInfo> dispatchView, info;
    HREFTYPE vtableView = 0;
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(std::wstring(kModule.begin(), kModule.end()).c_str(), REGKIND_NONE, library.put()), S_OK)
        << "the module holds its type library";
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ICCAPEGUI, dispatchView.put()), S_OK);
    ASSERT_EQ(dispatchView->GetRefTypeOfImplType(-1, &vtableView), S_OK) << "a dual interface";
    ASSERT_EQ(dispatchView->GetRefTypeInfo(vtableView, info.put()), S_OK);
    for (UINT slot = 0; slot <= std::size(kLayout); ++slot) {
        FUNCDESC* function = nullptr;
        if (info->GetFuncDesc(slot, &function) != S_OK) {
            EXPECT_EQ(slot, std::size(kLayout)) << "members beyond the table's";
            break;
        }
        UniqueBstr name;
        info->GetDocumentation(function->memid, name.put(), nullptr, nullptr, nullptr);
        const auto& expected = kLayout[std::min<size_t>(slot, std::size(kLayout) - 1)];
        EXPECT_EQ(toAnsi(name.text()), expected.name) << "slot " << slot + 7;
        EXPECT_EQ(function->memid, expected.id) << expected.name;
        EXPECT_EQ(function->invkind, expected.kind) << expected.name;
        EXPECT_EQ(function->oVft, SHORT((7 + slot) * sizeof(void*))) << expected.name;
        info->ReleaseFuncDesc(function);
    }
}

TEST_F(Automation, SetupAsksTheContainerForTheHostInterfaceOfTheFilterAndHoldsOne)
{
    auto unitHost = testkit::makeDouble<testkit::HostContainer>();
    auto otherHost = testkit::makeDouble<testkit::HostContainer>();
    auto stranger = testkit::makeDouble<testkit::HostContainer>(false);
    EXPECT_EQ(gui->setup(0, unitHost->asDispatch(), catf_Component | catf_UnitOperation), S_OK);
    EXPECT_TRUE(unitHost->wasAskedFor(IID_ExtnUnitOperationContainer) && !unitHost->wasAskedFor(IID_ExtnContainer))
        << "a unit operation's host is asked for its unit operation container";
    EXPECT_EQ(unitHost->references(), 2u) << "the object holds the container";
    EXPECT_EQ(gui->setup(0, otherHost->asDispatch(), catf_All), S_OK);
    EXPECT_TRUE(otherHost->wasAskedFor(IID_ExtnContainer) && !otherHost->wasAskedFor(IID_ExtnUnitOperationContainer));
    EXPECT_EQ(unitHost->references(), 1u) << "an earlier container is given back";
    EXPECT_EQ(gui->setup(0, stranger->asDispatch(), catf_UnitOperation), E_NOINTERFACE);
    EXPECT_EQ(otherHost->references(), 1u) << "setup lets go of the held container first";
    EXPECT_EQ(stranger->references(), 1u) << "nothing of a container without the host interface is held";
    EXPECT_EQ(boxes.count(), 1u) << "the failure is reported";
}

TEST_F(Automation, ReleaseTerminatesParentAndComponentAndReportsAFailureWithItsErrorObject)
{
    const testkit::HostWindow host;
    auto component = testkit::makeDouble<testkit::PackageDouble>();
    auto parent = testkit::makeDouble<testkit::PackageDouble>();
    parent->failCall("Terminate", HRESULT(0x80040508), L"The unit refuses to stop");  // ECapeImplementationHR
    auto container = testkit::makeDouble<testkit::HostContainer>();
    ASSERT_EQ(gui->setup(host.handle(), container->asDispatch(), catf_All), S_OK);
    CCCAPEGUITestAccess::holdComponents(gui.get(), component->dispatch(), parent->dispatch());
    CCCAPEGUITestAccess::setParentProgId(gui.get(), "Mgr.1");
    EXPECT_EQ(gui->releaseComponents(), HRESULT(0x80040508)) << "the reported failure is returned";
    EXPECT_EQ(std::ranges::count(parent->calls, "Terminate") + std::ranges::count(component->calls, "Terminate"), 2)
        << "both terminated, the parent's failure aside";
    EXPECT_EQ(parent->references() + component->references() + container->references(), 3u) << "all given back";
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "releaseComponents:  ERROR: Terminating 'Mgr.1' failed; it has been released anyway.\n"
                                 "(The unit refuses to stop: TestDouble)(0x80040508)")
        << "the component's own error object is passed on, with the code";
    EXPECT_EQ(boxes.last().owner, host.hwnd()) << "the host window owns the box";
    EXPECT_EQ(gui->releaseComponents(), S_OK) << "a second call finds nothing";
    CCCAPEGUITestAccess::holdComponents(gui.get(), component->dispatch());
    gui = nullptr;
    EXPECT_EQ(std::ranges::count(component->calls, "Terminate"), 2) << "the last release terminates the component";
    EXPECT_EQ(component->references(), 1u);
    EXPECT_EQ(defaultOwnerWindow(), nullptr) << "a released object leaves no owner window behind";
}

TEST_F(Automation, ItemNamesTypeInformationAndAFailedClsidLookupThatLeavesItsOutParameter)
{
    UINT typeInfos = 0;
    EXPECT_TRUE(gui->GetTypeInfoCount(&typeInfos) == S_OK && typeInfos == 1) << "a late-bound host finds type information";
    UniqueBstr item(L"MyPackage"), none, name;
    EXPECT_EQ(gui->setAlias(item.get(), none.get()), S_OK);
    CCCAPEGUITestAccess::setParentProgId(gui.get(), "Mgr.1");
    EXPECT_EQ(gui->getFullCOPPClassName(name.put()), S_OK);
    EXPECT_EQ(name.text(), L"MyPackage(from 'Mgr.1')") << "the parent named by its ProgID";

    BSTR untouched = reinterpret_cast<BSTR>(0x1), slot = untouched;
    EXPECT_TRUE(FAILED(gui->GetItemCLSID(&slot))) << "there is no item ProgID";
    EXPECT_EQ(gui->GetItemInfo(&slot, &slot, nullptr, &slot, &slot), E_POINTER) << "a null out pointer";
    EXPECT_EQ(slot, untouched) << "the out parameters are not written on failure";
    EXPECT_EQ(boxes.count(), 1u) << "the failure is reported";
    CCCAPEGUITestAccess::setParentProgId(gui.get(), kProgId);
    EXPECT_EQ(gui->GetParentCLSID(name.put()), S_OK);
    EXPECT_EQ(toAnsi(name.text()), kLibraryClsid) << "the parent's class, not the item's";
}
