// The component the object holds for the host: kept when a later creation fails,
// terminated when the library started it and lets it go, and the host's names kept.
#include "HostFixture.h"

#include "CapeOpen.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"
#include "testkit/ComDouble.h"
#include "testkit/DialogDriver.h"
#include "testkit/HostContainer.h"
#include "testkit/ServedClass.h"

using namespace testkit;

namespace {

constexpr long kManagersAndPackages = 1536;

// Counts Initialize and Terminate, as a CAPE-OPEN object started and stopped.
template <class... Is>
class Startable : public ComDouble<Is..., ICapeUtilities> {
public:
    int initialized = 0;
    int terminated = 0;
    STDMETHODIMP get_parameters(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP put_simulationContext(IDispatch*) override { return S_OK; }
    STDMETHODIMP Initialize() override { return ++initialized, S_OK; }
    STDMETHODIMP Terminate() override { return ++terminated, S_OK; }
    STDMETHODIMP Edit() override { return E_NOTIMPL; }
};

// A 1.1 property package with an equilibrium routine, or with no thermodynamics at all.
class Package : public Startable<ICapeThermoEquilibriumRoutine> {
public:
    explicit Package(bool thermo) : thermo_(thermo) {}
    STDMETHODIMP CalcEquilibrium(VARIANT, VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP CheckEquilibriumSpec(VARIANT, VARIANT, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }

protected:
    HRESULT refusal(REFIID iid) override
    {
        return !thermo_ && iid == IID_ICapeThermoEquilibriumRoutine ? E_NOINTERFACE : S_OK;
    }

private:
    bool thermo_;
};

// A 1.1 Property Package Manager listing "Only Package"; every package and manager
// it makes is kept, so that the test sees what was started and stopped.
class Manager : public Startable<ICapeThermoPropertyPackageManager> {
public:
    Manager(bool thermo, std::vector<ComPtr<Package>>& packages) : thermo_(thermo), packages_(packages) {}
    STDMETHODIMP GetPropertyPackageList(VARIANT* names) override
    {
        SAFEARRAY* list = SafeArrayCreateVector(VT_BSTR, 0, 1);
        LONG index = 0;
        SafeArrayPutElement(list, &index, UniqueBstr(L"Only Package").get());
        V_VT(names) = VT_ARRAY | VT_BSTR;
        V_ARRAY(names) = list;
        return S_OK;
    }
    STDMETHODIMP GetPropertyPackage(BSTR, IDispatch** package) override
    {
        packages_.push_back(makeDouble<Package>(thermo_));
        return packages_.back()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(package));
    }

private:
    bool thermo_;
    std::vector<ComPtr<Package>>& packages_;
};

class HeldComponent : public Host {
protected:
    // A manager served under the manager category, with "Only Package" described.
    std::unique_ptr<ServedClass> serveManager(bool thermo)
    {
        auto served = std::make_unique<ServedClass>(
            ClassRegistration{"QnTest.StartedManager", {kManagerCatid}, {{"Name", "Started"}, {"CapeVersion", "1.1"}}},
            [this, thermo](REFIID iid, void** out) {
                managers.push_back(makeDouble<Manager>(thermo, packages));
                return managers.back()->QueryInterface(iid, out);
            });
        served->describePackage("Only Package", {{"Name", "Only Package"}, {"CapeVersion", "1.1"}});
        return served;
    }
    HRESULT createPackage(ICCAPEGUI* gui, const ServedClass& manager)
    {
        EXPECT_EQ(S_OK, gui->setProgIds(UniqueBstr(L"Only Package").get(), UniqueBstr(manager.progIdW().c_str()).get()));
        ComPtr<IDispatch> component, parent;
        return gui->createComp(component.put(), parent.put());
    }

    std::vector<ComPtr<Manager>> managers;
    std::vector<ComPtr<Package>> packages;
};

TEST_F(HeldComponent, WhatAFailedPackageRoadStartedIsTerminated)
{
    auto manager = serveManager(false);
    ComPtr<ICCAPEGUI> gui = libraryObject(kManagersAndPackages);
    MessageBoxDriver boxes;

    EXPECT_EQ(createPackage(gui.get(), *manager), E_NOINTERFACE) << "a package without thermodynamics is refused";
    ASSERT_EQ(managers.size(), 1u);
    ASSERT_EQ(packages.size(), 1u);
    EXPECT_EQ(managers[0]->initialized, 1) << "the manager was started";
    EXPECT_EQ(managers[0]->terminated, 1) << "and stopped when the road failed";
    EXPECT_EQ(packages[0]->initialized, 1) << "the package was started";
    EXPECT_EQ(packages[0]->terminated, 1) << "and stopped when the road failed";
    EXPECT_EQ(managers[0]->references(), 1u) << "nothing of the manager is held";
    EXPECT_EQ(packages[0]->references(), 1u) << "nothing of the package is held";
}

TEST_F(HeldComponent, APackageReplacedByANewCreationIsTerminatedOnce)
{
    auto manager = serveManager(true);
    ComPtr<ICCAPEGUI> gui = libraryObject(kManagersAndPackages);
    MessageBoxDriver boxes;

    ASSERT_EQ(createPackage(gui.get(), *manager), S_OK);
    ASSERT_EQ(createPackage(gui.get(), *manager), S_OK);
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[0]->terminated, 1) << "the first package is stopped when the second replaces it";
    EXPECT_EQ(managers[0]->terminated, 1) << "and its manager with it";
    EXPECT_EQ(packages[1]->terminated, 0) << "the package the host has now keeps running";
    EXPECT_EQ(gui->releaseComponents(), S_OK);
    EXPECT_EQ(packages[1]->terminated, 1) << "released components are stopped";
    EXPECT_EQ(packages[0]->terminated, 1) << "the first one is not stopped twice";
    EXPECT_EQ(boxes.count(), 0u) << "nothing to tell";
}

// A unit operation saved through IPersistStreamInit as the bytes it was made with.
class Saved : public ComDouble<ICapeUnit, IPersistStreamInit> {
public:
    explicit Saved(std::string bytes, HRESULT persistQuestion = S_OK) : bytes_(std::move(bytes)), question_(persistQuestion) {}
    STDMETHODIMP get_ports(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_ValStatus(CapeValidationStatus*) override { return E_NOTIMPL; }
    STDMETHODIMP Calculate() override { return E_NOTIMPL; }
    STDMETHODIMP Validate(BSTR*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_OK; }
    STDMETHODIMP Load(IStream*) override { return S_OK; }
    STDMETHODIMP Save(IStream* stream, BOOL) override
    {
        return stream->Write(bytes_.data(), static_cast<ULONG>(bytes_.size()), nullptr);
    }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override { return S_OK; }

protected:
    HRESULT refusal(REFIID iid) override { return iid == IID_IPersistStorage ? question_ : S_OK; }

private:
    std::string bytes_;
    HRESULT question_;
};

TEST_F(HeldComponent, AFailedCreationKeepsTheComponentTheDocumentHas)
{
    ServedClass kept({"QnTest.Kept", {kUnitCatid}, {{"Name", "Kept"}, {"CapeVersion", "1.0"}}},
                     creatorOf<Saved>(std::string("kept bytes")));
    ServedClass refusing({"QnTest.Refusing", {kUnitCatid}, {{"Name", "Refusing"}, {"CapeVersion", "1.0"}}},
                         creatorOf<Saved>(std::string("never"), E_FAIL));
    auto container = makeDouble<HostContainer>();
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    ASSERT_EQ(S_OK, gui->setup(window.handle(), container->asDispatch(), kUnitsFilter));
    MessageBoxDriver boxes;
    ComPtr<IDispatch> component, parent;
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(kept.progIdW().c_str()).get(), nullptr));
    ASSERT_EQ(S_OK, gui->createComp(component.put(), parent.put()));
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(refusing.progIdW().c_str()).get(), nullptr));
    ComPtr<IDispatch> second;

    EXPECT_TRUE(FAILED(gui->createComp(second.put(), parent.put()))) << "a component whose persistence cannot be asked";
    EXPECT_FALSE(second) << "the host gets nothing";
    EXPECT_EQ(gui->saveStorage(), S_OK);
    EXPECT_EQ(container->committedStream(L"CAPEOPEN"), "kept bytes") << "the document still saves the kept component";
    LONG type = 0;
    EXPECT_EQ(gui->getPersistType(&type), S_OK);
    EXPECT_EQ(type, 3) << "the kept component's IPersistStreamInit";
}

TEST_F(HeldComponent, AProgIdNoLongerRegisteredIsKeptAndNamed)
{
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    MessageBoxDriver boxes;
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(L"QnTest.Uninstalled").get(), nullptr));
    UniqueBstr progId;
    ASSERT_EQ(S_OK, gui->GetItemProgID(progId.put()));
    EXPECT_STREQ(progId.get(), L"QnTest.Uninstalled") << "the host's ProgID stays";
    ComPtr<IDispatch> component, parent;

    EXPECT_TRUE(FAILED(gui->createComp(component.put(), parent.put())));
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ(0u, boxes.boxes().front().text.find(" ERROR: The component with ProgID 'QnTest.Uninstalled' is not "
                                                  "correctly registered."))
        << boxes.boxes().front().text;
}

TEST_F(HeldComponent, ShowGuiLeavesTheCallersStringsAlone)
{
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    UniqueBstr ownedComponent(L"the host's own text"), ownedCatids(L"the host's other text");
    BSTR component = ownedComponent.get(), catids = ownedCatids.get();
    DialogDriver driver;

    ASSERT_EQ(driver.run([&] { return gui->ShowGUI(&component, &catids); }, [&](HWND) { driver.answerNextBox(IDYES); }),
              S_OK);
    EXPECT_NE(component, ownedComponent.get()) << "the choice is a new string";
    EXPECT_STREQ(ownedComponent.get(), L"the host's own text") << "what the host passed in is untouched";
    EXPECT_STREQ(ownedCatids.get(), L"the host's other text");
    if (component != ownedComponent.get())
        SysFreeString(component);
    if (catids != ownedCatids.get())
        SysFreeString(catids);
}

}  // namespace
