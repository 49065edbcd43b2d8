#include "UnitOperation.h"

#include "CapeErrors.h"

namespace tarnwick {
namespace {

constexpr uint32_t recordMagic = 0x4F555754;  // "TWUO"
constexpr uint32_t recordFormat = 1;

std::wstring textOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

HRESULT copyOut(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

UnitOperation::UnitOperation(std::wstring name, std::wstring description, std::vector<ParameterSpec> specs)
    : defaultName_(std::move(name)), defaultDescription_(std::move(description)), specs_(std::move(specs))
{
    resetState();
}

UnitOperation::~UnitOperation() = default;

void UnitOperation::resetState()
{
    name_ = defaultName_;
    description_ = defaultDescription_;
    values_.clear();
    for (const ParameterSpec& spec : specs_)
        values_.push_back(spec.defaultValue);
    status_ = CAPE_NOT_VALIDATED;
    dirty_ = false;
}

void UnitOperation::changed()
{
    dirty_ = true;
    status_ = CAPE_NOT_VALIDATED;
}

int UnitOperation::parameterIndex(BSTR name) const
{
    const std::wstring wanted = textOf(name);
    for (size_t i = 0; i < specs_.size(); ++i)
        if (wanted == specs_[i].name)
            return static_cast<int>(i);
    return -1;
}

STDMETHODIMP UnitOperation::get_ports(IDispatch** ports)
{
    if (!ports)
        return E_POINTER;
    *ports = nullptr;
    return sample::raiseError(sample::ECapeNoImplHR, L"This sample unit operation has no ports.", L"ICapeUnit::ports",
                              IID_ICapeUnit);
}

STDMETHODIMP UnitOperation::get_ValStatus(CapeValidationStatus* status)
{
    if (!status)
        return E_POINTER;
    *status = status_;
    return S_OK;
}

STDMETHODIMP UnitOperation::Calculate()
{
    return sample::raiseError(sample::ECapeNoImplHR,
                              L"This sample unit operation has no ports and therefore nothing to calculate.",
                              L"ICapeUnit::Calculate", IID_ICapeUnit);
}

STDMETHODIMP UnitOperation::Validate(BSTR* message, VARIANT_BOOL* isValid)
{
    if (!message || !isValid)
        return E_POINTER;
    // Parameters are checked against their bounds when they are set, so a sample
    // unit is always valid; the message says so.
    return sample::guarded(L"ICapeUnit::Validate", IID_ICapeUnit, [&] {
        BSTR text = SysAllocString(L"");
        if (!text)
            return E_OUTOFMEMORY;
        SysFreeString(*message);  // [in, out]: the caller's text is ours to replace
        *message = text;
        *isValid = VARIANT_TRUE;
        status_ = CAPE_VALID;
        return S_OK;
    });
}

STDMETHODIMP UnitOperation::get_parameters(IDispatch** parameters)
{
    if (!parameters)
        return E_POINTER;
    *parameters = nullptr;
    return sample::raiseError(sample::ECapeNoImplHR,
                              L"This sample exposes its parameters through ISampleParameters only.",
                              L"ICapeUtilities::parameters", IID_ICapeUtilities);
}

STDMETHODIMP UnitOperation::put_simulationContext(IDispatch* context)
{
    simulationContext_.assign(context);
    return S_OK;
}

STDMETHODIMP UnitOperation::Initialize() { return S_OK; }

STDMETHODIMP UnitOperation::Terminate()
{
    // The context may hold the host, which holds us: let go of it here.
    return put_simulationContext(nullptr);
}

STDMETHODIMP UnitOperation::Edit()
{
    return sample::raiseError(sample::ECapeNoImplHR, L"This sample unit operation has no editor.",
                              L"ICapeUtilities::Edit", IID_ICapeUtilities);
}

STDMETHODIMP UnitOperation::get_ComponentName(BSTR* name)
{
    return sample::guarded(L"ICapeIdentification::ComponentName", IID_ICapeIdentification,
                           [&] { return copyOut(name_, name); });
}

STDMETHODIMP UnitOperation::put_ComponentName(BSTR name)
{
    return sample::guarded(L"ICapeIdentification::ComponentName", IID_ICapeIdentification, [&] {
        name_ = textOf(name);
        changed();
        return S_OK;
    });
}

STDMETHODIMP UnitOperation::get_ComponentDescription(BSTR* description)
{
    return sample::guarded(L"ICapeIdentification::ComponentDescription", IID_ICapeIdentification,
                           [&] { return copyOut(description_, description); });
}

STDMETHODIMP UnitOperation::put_ComponentDescription(BSTR description)
{
    return sample::guarded(L"ICapeIdentification::ComponentDescription", IID_ICapeIdentification, [&] {
        description_ = textOf(description);
        changed();
        return S_OK;
    });
}

STDMETHODIMP UnitOperation::InterfaceSupportsErrorInfo(REFIID iid)
{
    // Every interface the whole object has (the derived classes add persistence).
    sample::ComRef<IUnknown> answer;
    return SUCCEEDED(static_cast<ICapeUnit*>(this)->QueryInterface(iid, answer.putVoid())) ? S_OK : S_FALSE;
}

STDMETHODIMP UnitOperation::GetParameter(BSTR name, double* value)
{
    if (!value)
        return E_POINTER;
    return sample::guarded(L"ISampleParameters::GetParameter", IID_ISampleParameters, [&] {
        int index = parameterIndex(name);
        if (index < 0)
            return sample::raiseError(sample::ECapeInvalidArgumentHR, L"Unknown parameter '" + textOf(name) + L"'.",
                                      L"ISampleParameters::GetParameter", IID_ISampleParameters);
        *value = values_[index];
        return S_OK;
    });
}

STDMETHODIMP UnitOperation::SetParameter(BSTR name, double value)
{
    return sample::guarded(L"ISampleParameters::SetParameter", IID_ISampleParameters, [&] {
        int index = parameterIndex(name);
        if (index < 0)
            return sample::raiseError(sample::ECapeInvalidArgumentHR, L"Unknown parameter '" + textOf(name) + L"'.",
                                      L"ISampleParameters::SetParameter", IID_ISampleParameters);
        const ParameterSpec& spec = specs_[index];
        if (!(value >= spec.lower && value <= spec.upper))  // also refuses NaN
            return sample::raiseError(sample::ECapeOutOfBoundsHR,
                                      std::wstring(L"Value out of bounds for parameter '") + spec.name + L"'.",
                                      L"ISampleParameters::SetParameter", IID_ISampleParameters);
        values_[index] = value;
        changed();
        return S_OK;
    });
}

sample::RecordWriter UnitOperation::stateRecord() const
{
    sample::RecordWriter record;
    record.u32(recordMagic);
    record.u32(recordFormat);
    record.text(name_);
    record.text(description_);
    record.u32(static_cast<uint32_t>(specs_.size()));
    for (size_t i = 0; i < specs_.size(); ++i) {
        record.text(specs_[i].name);
        record.f64(values_[i]);
    }
    return record;
}

HRESULT UnitOperation::loadState(IStream* stream)
{
    sample::RecordReader reader(stream);
    uint32_t magic = 0, format = 0, count = 0;
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
    if (SUCCEEDED(hr))
        hr = reader.u32(count);
    std::vector<double> values;
    for (const ParameterSpec& spec : specs_)
        values.push_back(spec.defaultValue);
    for (uint32_t i = 0; SUCCEEDED(hr) && i < count; ++i) {
        std::wstring parameter;
        double value = 0;
        hr = reader.text(parameter);
        if (SUCCEEDED(hr))
            hr = reader.f64(value);
        for (size_t k = 0; SUCCEEDED(hr) && k < specs_.size(); ++k) {
            if (parameter != specs_[k].name)
                continue;
            if (!(value >= specs_[k].lower && value <= specs_[k].upper))
                hr = STG_E_READFAULT;
            values[k] = value;
        }
    }
    if (FAILED(hr))
        return sample::raiseError(hr, L"The saved state of the unit operation is not valid; nothing was loaded.",
                                  L"UnitOperation::Load", IID_IPersist);
    name_ = std::move(name);
    description_ = std::move(description);
    values_ = std::move(values);
    status_ = CAPE_NOT_VALIDATED;
    dirty_ = false;
    return S_OK;
}

}  // namespace tarnwick
