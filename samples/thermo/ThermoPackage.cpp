#include "ThermoPackage.h"

#include "CapeErrors.h"
#include "StreamIO.h"
#include "VariantArrays.h"

namespace sample::thermo {
namespace {

constexpr uint32_t recordMagic = 0x4B505053;  // "SPPK"
constexpr uint32_t recordFormat = 1;

std::wstring textOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

HRESULT copyOut(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool contains(const std::vector<std::wstring>& list, const std::wstring& value)
{
    for (const std::wstring& item : list)
        if (item == value)
            return true;
    return false;
}

HRESULT putList(const std::vector<std::wstring>& list, VARIANT* out)
{
    if (!out)
        return E_POINTER;
    Variant result;
    HRESULT hr = makeStringArray(list, result);
    if (SUCCEEDED(hr))
        result.moveToOut(out);
    return hr;
}

}  // namespace

ThermoPackage::ThermoPackage(PackageDefinition definition)
    : definition_(std::move(definition)), name_(definition_.name), description_(definition_.description)
{
    const bool hasWater = contains(definition_.compoundIds, L"water");
    phases_ = {
        {L"Vapor", L"Vapor", L"", L"Gas phase"},
        {L"Liquid", L"Liquid", L"", L"Liquid phase, rich in the organic compounds"},
        {L"Liquid2", L"Liquid", hasWater ? L"water" : L"", L"Second liquid phase, aqueous when water is present"},
    };
}

ThermoPackage::~ThermoPackage()
{
    material_.reset();
    simulationContext_.reset();
}

const std::vector<std::wstring>& ThermoPackage::constantProperties()
{
    static const std::vector<std::wstring> list = {L"molecularWeight",  L"normalBoilingPoint", L"criticalTemperature",
                                                   L"criticalPressure", L"casRegistryNumber",  L"chemicalFormula"};
    return list;
}

const std::vector<std::wstring>& ThermoPackage::singlePhaseProperties()
{
    static const std::vector<std::wstring> list = {L"enthalpy", L"entropy", L"density", L"fugacityCoefficient"};
    return list;
}

const std::vector<std::wstring>& ThermoPackage::twoPhaseProperties()
{
    static const std::vector<std::wstring> list = {L"kvalue", L"surfaceTension"};
    return list;
}

const ThermoPackage::Phase* ThermoPackage::findPhase(const std::wstring& label) const
{
    for (const Phase& phase : phases_)
        if (phase.label == label)
            return &phase;
    return nullptr;
}

std::vector<const Compound*> ThermoPackage::compounds() const
{
    std::vector<const Compound*> result;
    for (const std::wstring& id : definition_.compoundIds)
        if (const Compound* compound = findCompound(id))
            result.push_back(compound);
    return result;
}

HRESULT ThermoPackage::notCalculated(const wchar_t* source, REFIID iid) const
{
    if (!material_)
        return raiseError(ECapeBadInvOrderHR, L"No material is set: call SetMaterial first.", source, iid);
    return raiseError(ECapeNoImplHR,
                      L"This sample property package describes its properties but does not calculate them.", source,
                      iid);
}

// ICapeIdentification

STDMETHODIMP ThermoPackage::get_ComponentName(BSTR* name)
{
    return guarded(L"ICapeIdentification::ComponentName", IID_ICapeIdentification,
                   [&] { return copyOut(name_, name); });
}

STDMETHODIMP ThermoPackage::put_ComponentName(BSTR name)
{
    return guarded(L"ICapeIdentification::ComponentName", IID_ICapeIdentification, [&] {
        name_ = textOf(name);
        dirty_ = true;
        return S_OK;
    });
}

STDMETHODIMP ThermoPackage::get_ComponentDescription(BSTR* description)
{
    return guarded(L"ICapeIdentification::ComponentDescription", IID_ICapeIdentification,
                   [&] { return copyOut(description_, description); });
}

STDMETHODIMP ThermoPackage::put_ComponentDescription(BSTR description)
{
    return guarded(L"ICapeIdentification::ComponentDescription", IID_ICapeIdentification, [&] {
        description_ = textOf(description);
        dirty_ = true;
        return S_OK;
    });
}

// ICapeUtilities

STDMETHODIMP ThermoPackage::get_parameters(IDispatch** parameters)
{
    if (!parameters)
        return E_POINTER;
    *parameters = nullptr;
    return raiseError(ECapeNoImplHR, L"This sample property package has no parameters.", L"ICapeUtilities::parameters",
                      IID_ICapeUtilities);
}

STDMETHODIMP ThermoPackage::put_simulationContext(IDispatch* context)
{
    simulationContext_.assign(context);
    return S_OK;
}

STDMETHODIMP ThermoPackage::Initialize() { return S_OK; }

STDMETHODIMP ThermoPackage::Terminate()
{
    // Material and context may lead back to the host, which holds us.
    material_.reset();
    simulationContext_.reset();
    return S_OK;
}

STDMETHODIMP ThermoPackage::Edit()
{
    return raiseError(ECapeNoImplHR, L"This sample property package has no editor.", L"ICapeUtilities::Edit",
                      IID_ICapeUtilities);
}

// ICapeThermoPropertyRoutine

STDMETHODIMP ThermoPackage::CalcAndGetLnPhi(BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    return notCalculated(L"ICapeThermoPropertyRoutine::CalcAndGetLnPhi", IID_ICapeThermoPropertyRoutine);
}

STDMETHODIMP ThermoPackage::CalcSinglePhaseProp(VARIANT, BSTR)
{
    return notCalculated(L"ICapeThermoPropertyRoutine::CalcSinglePhaseProp", IID_ICapeThermoPropertyRoutine);
}

STDMETHODIMP ThermoPackage::CalcTwoPhaseProp(VARIANT, VARIANT)
{
    return notCalculated(L"ICapeThermoPropertyRoutine::CalcTwoPhaseProp", IID_ICapeThermoPropertyRoutine);
}

STDMETHODIMP ThermoPackage::CheckSinglePhasePropSpec(BSTR, BSTR, VARIANT_BOOL* valid)
{
    if (!valid)
        return E_POINTER;
    *valid = VARIANT_FALSE;  // nothing is calculated (see the class comment)
    return S_OK;
}

STDMETHODIMP ThermoPackage::CheckTwoPhasePropSpec(BSTR, VARIANT, VARIANT_BOOL* valid)
{
    if (!valid)
        return E_POINTER;
    *valid = VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP ThermoPackage::GetSinglePhasePropList(VARIANT* props)
{
    return guarded(L"ICapeThermoPropertyRoutine::GetSinglePhasePropList", IID_ICapeThermoPropertyRoutine,
                   [&] { return putList(singlePhaseProperties(), props); });
}

STDMETHODIMP ThermoPackage::GetTwoPhasePropList(VARIANT* props)
{
    return guarded(L"ICapeThermoPropertyRoutine::GetTwoPhasePropList", IID_ICapeThermoPropertyRoutine,
                   [&] { return putList(twoPhaseProperties(), props); });
}

// ICapeThermoEquilibriumRoutine

STDMETHODIMP ThermoPackage::CalcEquilibrium(VARIANT, VARIANT, BSTR)
{
    return notCalculated(L"ICapeThermoEquilibriumRoutine::CalcEquilibrium", IID_ICapeThermoEquilibriumRoutine);
}

STDMETHODIMP ThermoPackage::CheckEquilibriumSpec(VARIANT, VARIANT, BSTR, VARIANT_BOOL* isSupported)
{
    if (!isSupported)
        return E_POINTER;
    *isSupported = VARIANT_FALSE;
    return S_OK;
}

// ICapeThermoMaterialContext

STDMETHODIMP ThermoPackage::SetMaterial(IDispatch* material)
{
    if (!material)
        return raiseError(ECapeInvalidArgumentHR, L"SetMaterial needs a material object.",
                          L"ICapeThermoMaterialContext::SetMaterial", IID_ICapeThermoMaterialContext);
    material_.assign(material);
    return S_OK;
}

STDMETHODIMP ThermoPackage::UnsetMaterial()
{
    material_.reset();
    return S_OK;
}

// ISupportErrorInfo

STDMETHODIMP ThermoPackage::InterfaceSupportsErrorInfo(REFIID iid)
{
    // Asked through QueryInterface, so that a derived class's choice of interfaces counts.
    sample::ComRef<IUnknown> answer;
    return SUCCEEDED(static_cast<ICapeIdentification*>(this)->QueryInterface(iid, answer.putVoid())) ? S_OK : S_FALSE;
}

// IPersistStream

STDMETHODIMP ThermoPackage::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = definition_.persistClass;
    return S_OK;
}

STDMETHODIMP ThermoPackage::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP ThermoPackage::Load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    return guarded(L"IPersistStream::Load", IID_IPersistStream, [&] {
        RecordReader reader(stream);
        uint32_t magic = 0, format = 0;
        std::wstring name, description;
        HRESULT hr = reader.u32(magic);
        if (SUCCEEDED(hr))
            hr = reader.u32(format);
        if (SUCCEEDED(hr) && (magic != recordMagic || format != recordFormat))
            hr = STG_E_INVALIDHEADER;
        if (SUCCEEDED(hr))
            hr = reader.text(name);
        if (SUCCEEDED(hr))
            hr = reader.text(description);
        if (FAILED(hr))
            return raiseError(hr, L"The saved state of the property package is not valid; nothing was loaded.",
                              L"IPersistStream::Load", IID_IPersistStream);
        name_ = std::move(name);
        description_ = std::move(description);
        dirty_ = false;
        return S_OK;
    });
}

STDMETHODIMP ThermoPackage::Save(IStream* stream, BOOL clearDirty)
{
    if (!stream)
        return E_POINTER;
    return guarded(L"IPersistStream::Save", IID_IPersistStream, [&] {
        RecordWriter record;
        record.u32(recordMagic);
        record.u32(recordFormat);
        record.text(name_);
        record.text(description_);
        HRESULT hr = record.writeTo(stream);
        if (SUCCEEDED(hr) && clearDirty)
            dirty_ = false;
        return hr;
    });
}

STDMETHODIMP ThermoPackage::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    // magic, format and two counted texts
    size->QuadPart = 4 * sizeof(uint32_t) + (name_.size() + description_.size()) * sizeof(wchar_t);
    return S_OK;
}

}  // namespace sample::thermo
