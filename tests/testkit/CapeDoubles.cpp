#include "testkit/CapeDoubles.h"


#include "support/AnsiText.h"

namespace testkit {

namespace {

// A one-dimensional array of vt elements, each written into its slot by store.
template <class Values, class Store>
VariantHolder arrayOf(VARTYPE vt, Values& values, long lowerBound, Store store)
{
    VariantHolder result;
    SAFEARRAY* array = SafeArrayCreateVector(vt, lowerBound, static_cast<ULONG>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        store(array->pvData, i, values[i]);
    V_VT(&result) = VT_ARRAY | vt;
    V_ARRAY(&result) = array;
    return result;
}

template <class T>
VariantHolder plainArray(VARTYPE vt, const std::vector<T>& values)
{
    return arrayOf(vt, values, 0, [](void* slots, size_t i, T value) { static_cast<T*>(slots)[i] = value; });
}

template <class Set>
VariantHolder single(VARTYPE vt, Set set)
{
    VariantHolder result;
    V_VT(&result) = vt;
    set(result);
    return result;
}

// [in, out] and [out] VARIANTs: what came in is freed, a copy goes out.
void giveCopy(VARIANT* out, const VARIANT& value)
{
    VariantClear(out);
    VariantCopy(out, const_cast<VARIANT*>(&value));
}

}  // namespace

VariantHolder textArray(const std::vector<std::wstring>& texts, long lowerBound)
{
    return arrayOf(VT_BSTR, texts, lowerBound, [](void* slots, size_t i, const std::wstring& text) {
        static_cast<BSTR*>(slots)[i] = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    });
}

VariantHolder doubleArray(const std::vector<double>& values) { return plainArray(VT_R8, values); }
VariantHolder longArray(const std::vector<LONG>& values) { return plainArray(VT_I4, values); }

VariantHolder zeroedArray(VARTYPE vt, std::vector<SAFEARRAYBOUND> bounds)
{
    VariantHolder result;
    V_VT(&result) = VARTYPE(VT_ARRAY | vt);
    V_ARRAY(&result) = SafeArrayCreate(vt, static_cast<UINT>(bounds.size()), bounds.data());
    return result;
}

VariantHolder variantArray(std::vector<VariantHolder> values)
{
    return arrayOf(VT_VARIANT, values, 0,
                   [](void* slots, size_t i, VariantHolder& value) { static_cast<VARIANT*>(slots)[i] = value.detach(); });
}

VariantHolder textValue(const wchar_t* text)
{
    return single(VT_BSTR, [&](VARIANT& value) { V_BSTR(&value) = SysAllocString(text); });
}
VariantHolder doubleValue(double number) { return single(VT_R8, [&](VARIANT& value) { V_R8(&value) = number; }); }
VariantHolder longValue(LONG number) { return single(VT_I4, [&](VARIANT& value) { V_I4(&value) = number; }); }

ComPtr<IStream> UnitDouble::stream(IStorage* storage, DWORD mode)
{
    ComPtr<IStream> stream;
    if (mode & STGM_CREATE)
        storage->CreateStream(L"Own", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.put());
    else
        storage->OpenStream(L"Own", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    return stream;
}

HRESULT UnitDouble::save(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);  // a failing save may have written some
    if (keepsStream)
        keptStream = ComPtr<IStream>(stream);
    return enter("Save", result);
}

HRESULT PackageDouble::handOut(const std::string& call,
                               std::initializer_list<std::pair<VARIANT*, const VARIANT*>> answers, HRESULT success)
{
    std::vector<VARIANT*> outs;
    for (const auto& each : answers)
        outs.push_back(each.first);
    const HRESULT hr = enter(call, success, outs);
    if (SUCCEEDED(hr) && !misbehaved())
        for (const auto& [out, answer] : answers)
            giveCopy(out, *answer);
    return hr;
}

STDMETHODIMP PackageDouble::GetNumPhases(LONG* num)
{
    const HRESULT hr = enter("GetNumPhases");
    if (SUCCEEDED(hr))
        *num = numPhases >= 0 ? numPhases : static_cast<LONG>(V_ARRAY(&phaseLabels)->rgsabound[0].cElements);
    return hr;
}

STDMETHODIMP PackageDouble::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value)
{
    const std::wstring label = phaseLabel ? phaseLabel : L"";
    const VariantHolder answer = describePhase(label);
    return handOut("GetPhaseInfo " + toAnsi(label) + " " + toAnsi(phaseAttribute), {{value, &answer}});
}

ManagerDouble::ManagerDouble(std::vector<std::wstring> names, HRESULT managerQuery, HRESULT listResult)
    : list(textArray(names)), listResult(listResult), names_(std::move(names))
{
    if (FAILED(managerQuery))
        refuse(IID_ICapeThermoPropertyPackageManager, managerQuery);
}

STDMETHODIMP ManagerDouble::GetPropertyPackageList(VARIANT* names)
{
    VariantInit(names);
    const HRESULT hr = enter("GetPropertyPackageList", listResult, {names});
    if (!misbehaved())
        VariantCopy(names, &list);
    return hr;
}

STDMETHODIMP ManagerDouble::GetPropertyPackage(BSTR name, IDispatch** package)
{
    *package = nullptr;
    if (const HRESULT hr = enter("GetPropertyPackage", S_OK, {}, reinterpret_cast<void**>(package));
        FAILED(hr) || misbehaved())
        return hr;
    const std::wstring wanted = name ? name : L"";
    if (std::find(names_.begin(), names_.end(), wanted) == names_.end()) {
        leaveErrorObject(L"No package named '" + wanted + L"'.");
        return E_INVALIDARG;
    }
    if (handsOutNothing)
        return S_OK;
    auto made = makeDouble<PackageDouble>();
    if (preparePackage)
        preparePackage(*made.get());
    return made->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(package));
}

}  // namespace testkit
