#include "testkit/Faults.h"

#include <oleauto.h>

#include <atomic>
#include <initializer_list>

#include "CapeOpen.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"
#include "testkit/ComDouble.h"

namespace testkit {
namespace {

constexpr HRESULT ECapeLicenceErrorHR = static_cast<HRESULT>(0x80040503);
constexpr HRESULT ECapeFailedInitialisationHR = static_cast<HRESULT>(0x8004050F);

const char* const capeOpenComponent = "{678C09A1-7D66-11D2-A67D-00105A42887F}";
const char* const unitOperation = "{678C09A5-7D66-11D2-A67D-00105A42887F}";
const char* const packageManager11 = "{CF51E383-0110-4ED8-ACB7-B50CFDE6908E}";
const char* const propertyPackage11 = "{CF51E384-0110-4ED8-ACB7-B50CFDE6908E}";

std::atomic<int> g_liveFaultObjects{0};

enum class Role { Unit, Manager, Package };

Role roleOf(Fault kind)
{
    const long value = static_cast<long>(kind);
    return value < 10 ? Role::Unit : value < 20 || value == 25 ? Role::Manager : Role::Package;
}

bool is(Fault kind, std::initializer_list<Fault> kinds)
{
    for (Fault each : kinds)
        if (each == kind)
            return true;
    return false;
}

HRESULT copyOut(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// Counts the objects of the faults apart from the other doubles of a test.
struct FaultObjectCount {
    FaultObjectCount() { ++g_liveFaultObjects; }
    ~FaultObjectCount() { --g_liveFaultObjects; }
    FaultObjectCount(const FaultObjectCount&) = delete;
    FaultObjectCount& operator=(const FaultObjectCount&) = delete;
};

// ICapeUtilities and ICapeIdentification, which every fault object has (unless it
// refuses them); the role's own interfaces come first, so that they give the
// object's identity and its IDispatch.
template <class... Interfaces>
class Component : public ComDouble<Interfaces..., ICapeUtilities, ICapeIdentification> {
public:
    explicit Component(Fault kind, std::wstring name) : kind(kind), name(std::move(name)) {}

    STDMETHODIMP get_parameters(IDispatch** parameters) override
    {
        if (!parameters)
            return E_POINTER;
        *parameters = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP put_simulationContext(IDispatch*) override { return S_OK; }
    STDMETHODIMP Initialize() override { return S_OK; }
    STDMETHODIMP Terminate() override { return S_OK; }
    STDMETHODIMP Edit() override { return E_NOTIMPL; }
    STDMETHODIMP get_ComponentName(BSTR* out) override { return copyOut(name, out); }
    STDMETHODIMP put_ComponentName(BSTR text) override { return keep(text, name); }
    STDMETHODIMP get_ComponentDescription(BSTR* out) override { return copyOut(description, out); }
    STDMETHODIMP put_ComponentDescription(BSTR text) override { return keep(text, description); }

protected:
    static HRESULT keep(BSTR text, std::wstring& into)
    {
        into = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
        return S_OK;
    }

    const Fault kind;
    std::wstring name;
    std::wstring description;

private:
    FaultObjectCount counted_;
};

// A unit operation that calculates nothing, with or without ICapeUnit.
class Unit final : public Component<ICapeUnit> {
public:
    explicit Unit(Fault kind) : Component(kind, L"Test unit") {}

    STDMETHODIMP get_ports(IDispatch** ports) override { return get_parameters(ports); }
    STDMETHODIMP get_ValStatus(CapeValidationStatus* status) override
    {
        if (!status)
            return E_POINTER;
        *status = CAPE_VALID;
        return S_OK;
    }
    STDMETHODIMP Calculate() override { return E_NOTIMPL; }
    STDMETHODIMP Validate(BSTR* message, VARIANT_BOOL* valid) override
    {
        if (!message || !valid)
            return E_POINTER;
        *message = nullptr;
        *valid = VARIANT_TRUE;
        return S_OK;
    }

protected:
    HRESULT refusal(REFIID iid) override
    {
        return kind == Fault::UnitWithoutCapeUnit && iid == IID_ICapeUnit ? E_NOINTERFACE : S_OK;
    }
};

// A 1.1 property package that calculates nothing; its fault hides an interface or
// makes Initialize fail (kinds other than the package faults give a good package).
class Package final
    : public Component<ICapeThermoPropertyRoutine, ICapeThermoEquilibriumRoutine, ICapeThermoMaterialContext> {
public:
    Package(Fault kind, std::wstring name) : Component(kind, std::move(name)) {}

    STDMETHODIMP Initialize() override
    {
        if (kind != Fault::PackageInitializeFails)
            return S_OK;
        leaveErrorObject(L"The test package refuses to initialise.", L"Test package");
        return ECapeFailedInitialisationHR;
    }
    STDMETHODIMP CalcAndGetLnPhi(BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP CalcSinglePhaseProp(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP CalcTwoPhaseProp(VARIANT, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP CheckSinglePhasePropSpec(BSTR, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP CheckTwoPhasePropSpec(BSTR, VARIANT, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSinglePhasePropList(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTwoPhasePropList(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP CalcEquilibrium(VARIANT, VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP CheckEquilibriumSpec(VARIANT, VARIANT, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP SetMaterial(IDispatch*) override { return S_OK; }
    STDMETHODIMP UnsetMaterial() override { return S_OK; }

protected:
    HRESULT refusal(REFIID iid) override
    {
        const bool hidden =
            (kind == Fault::PackageEquilibriumOnly &&
             (iid == IID_ICapeThermoPropertyRoutine || iid == IID_ICapeThermoMaterialContext)) ||
            (kind == Fault::PackageWithoutMaterialContext && iid == IID_ICapeThermoMaterialContext) ||
            (kind == Fault::PackageWithoutUtilities && iid == IID_ICapeUtilities);
        return hidden ? E_NOINTERFACE : S_OK;
    }
};

// A list of names as a SAFEARRAY of type (VT_BSTR or VT_VARIANT).
void putNameList(VARTYPE type, std::initializer_list<const wchar_t*> names, VARIANT* out)
{
    SAFEARRAY* list = SafeArrayCreateVector(type, 0, static_cast<ULONG>(names.size()));
    LONG index = 0;
    for (const wchar_t* name : names) {
        VariantHolder element;
        V_VT(&element) = VT_BSTR;
        V_BSTR(&element) = SysAllocString(name);
        SafeArrayPutElement(list, &index, type == VT_BSTR ? static_cast<void*>(V_BSTR(&element)) : &element);
        ++index;
    }
    V_VT(out) = static_cast<VARTYPE>(VT_ARRAY | type);
    V_ARRAY(out) = list;
}

// A 1.1 Property Package Manager offering "Faulty Package" (and "Second Package"
// where its list has two entries); UnitWithOtherVersionInterface is one with an
// empty list.
class Manager final : public Component<ICapeThermoPropertyPackageManager> {
public:
    explicit Manager(Fault kind) : Component(kind, L"Test manager") {}

    STDMETHODIMP GetPropertyPackageList(VARIANT* names) override
    {
        if (!names)
            return E_POINTER;
        VariantInit(names);
        if (kind == Fault::ManagerListNotArray) {
            V_VT(names) = VT_BSTR;
            V_BSTR(names) = SysAllocString(L"Faulty Package");
        } else if (kind == Fault::ManagerListOfVariants) {
            putNameList(VT_VARIANT, {L"Faulty Package", L"Second Package"}, names);
        } else if (is(kind, {Fault::ManagerEmptyList, Fault::UnitWithOtherVersionInterface})) {
            putNameList(VT_BSTR, {}, names);
        } else {
            putNameList(VT_BSTR, {L"Faulty Package"}, names);
        }
        return S_OK;
    }
    STDMETHODIMP GetPropertyPackage(BSTR packageName, IDispatch** package) override
    {
        if (!package)
            return E_POINTER;
        *package = nullptr;
        if (kind == Fault::ManagerReturnsNoPackage)
            return S_OK;  // the fault: success without a package
        const std::wstring name = packageName ? std::wstring(packageName, SysStringLen(packageName)) : L"";
        if (name != L"Faulty Package" && name != L"Second Package") {
            leaveErrorObject(L"No package named '" + name + L"'.", L"Test manager");
            return E_INVALIDARG;
        }
        // ManagerOf<X> hands out the package fault <X>, four numbers further on.
        const long value = static_cast<long>(kind);
        const Fault packageFault = value >= 16 && value <= 19 ? static_cast<Fault>(value + 4) : kind;
        return creatorOf<Package>(packageFault, name)(IID_IDispatch, reinterpret_cast<void**>(package));
    }

protected:
    HRESULT refusal(REFIID iid) override
    {
        return kind == Fault::ManagerWithoutManagerInterface && iid == IID_ICapeThermoPropertyPackageManager
                   ? E_NOINTERFACE
                   : S_OK;
    }
};

Creator creatorFor(Fault kind)
{
    if (is(kind, {Fault::CreatesNothing, Fault::ManagerCreatesNothing}))
        return nullObjectCreator();
    if (kind == Fault::ManagerCreationFails)
        return failingCreator(ECapeLicenceErrorHR, L"The test manager has no licence on this machine.");
    if (kind == Fault::UnitWithOtherVersionInterface || roleOf(kind) == Role::Manager)
        return creatorOf<Manager>(kind);
    if (roleOf(kind) == Role::Unit)
        return creatorOf<Unit>(kind);
    return creatorOf<Package>(kind, std::wstring(L"Faulty Package"));
}

ClassRegistration registrationOf(Fault kind)
{
    const std::string number = std::to_string(static_cast<long>(kind));
    const Role role = roleOf(kind);
    ClassRegistration registration{kind == Fault::NoProgId ? "" : "QnTest.Fault" + number, {capeOpenComponent}, {}};
    registration.catids.push_back(role == Role::Unit      ? unitOperation
                                  : role == Role::Manager ? packageManager11
                                                          : propertyPackage11);
    if (kind != Fault::NoCapeDescription)
        registration.description = {{"Name", "Test fault " + number},
                                    {"Description", "A component with fault " + number + "."},
                                    {"CapeVersion", role == Role::Unit ? "1.0" : "1.1"},
                                    {"ComponentVersion", "0.0.1"}};
    return registration;
}

}  // namespace

ServedFault::ServedFault(Fault kind) : served_(std::make_unique<ServedClass>(registrationOf(kind), creatorFor(kind)))
{
    served_->setText("", nullptr, "Test fault " + std::to_string(static_cast<long>(kind)));
    if (roleOf(kind) == Role::Manager)
        for (const char* package : {"Faulty Package", "Second Package"})
            served_->describePackage(package, {{"Name", package}, {"CapeVersion", "1.1"}});
}

int liveFaultObjects() { return g_liveFaultObjects; }

}  // namespace testkit
