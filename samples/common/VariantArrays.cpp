#include "VariantArrays.h"

namespace sample {
namespace {

// A SAFEARRAY under construction, destroyed unless handed to a VARIANT.
class ArrayUnderConstruction {
public:
    ArrayUnderConstruction(VARTYPE type, size_t count)
        : array_(SafeArrayCreateVector(type, 0, static_cast<ULONG>(count)))
    {
    }
    ArrayUnderConstruction(const ArrayUnderConstruction&) = delete;
    ArrayUnderConstruction& operator=(const ArrayUnderConstruction&) = delete;
    ~ArrayUnderConstruction()
    {
        if (array_)
            SafeArrayDestroy(array_);
    }
    SAFEARRAY* get() const { return array_; }
    void handTo(VARTYPE type, Variant& result)
    {
        VariantClear(&result.get());
        result.get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
        result.get().parray = array_;
        array_ = nullptr;
    }

private:
    SAFEARRAY* array_;
};

const VARIANT& dereference(const VARIANT& value)
{
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal)
        return *value.pvarVal;
    return value;
}

HRESULT stringAt(SAFEARRAY* array, VARTYPE type, LONG index, std::wstring& result)
{
    if (type == VT_BSTR) {
        BSTR text = nullptr;
        HRESULT hr = SafeArrayGetElement(array, &index, &text);
        if (FAILED(hr))
            return hr;
        result.assign(text ? text : L"", text ? SysStringLen(text) : 0);
        SysFreeString(text);
        return S_OK;
    }
    Variant element;
    HRESULT hr = SafeArrayGetElement(array, &index, &element.get());
    if (FAILED(hr))
        return hr;
    const VARIANT& inner = dereference(element.get());
    if (inner.vt != VT_BSTR)
        return E_INVALIDARG;
    result.assign(inner.bstrVal ? inner.bstrVal : L"", inner.bstrVal ? SysStringLen(inner.bstrVal) : 0);
    return S_OK;
}

}  // namespace

void Variant::moveToOut(VARIANT* out)
{
    *out = value_;
    VariantInit(&value_);
}

void Variant::moveToInOut(VARIANT* inOut)
{
    VariantClear(inOut);
    moveToOut(inOut);
}

HRESULT makeStringArray(const std::vector<std::wstring>& values, Variant& result)
{
    ArrayUnderConstruction array(VT_BSTR, values.size());
    if (!array.get())
        return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
        BSTR text = SysAllocStringLen(values[i].data(), static_cast<UINT>(values[i].size()));
        if (!text)
            return E_OUTOFMEMORY;
        HRESULT hr = SafeArrayPutElement(array.get(), &i, text);  // copies the string
        SysFreeString(text);
        if (FAILED(hr))
            return hr;
    }
    array.handTo(VT_BSTR, result);
    return S_OK;
}

HRESULT makeDoubleArray(const std::vector<double>& values, Variant& result)
{
    ArrayUnderConstruction array(VT_R8, values.size());
    if (!array.get())
        return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
        double value = values[i];
        HRESULT hr = SafeArrayPutElement(array.get(), &i, &value);
        if (FAILED(hr))
            return hr;
    }
    array.handTo(VT_R8, result);
    return S_OK;
}

HRESULT makeVariantArray(const std::vector<ConstantValue>& values, Variant& result)
{
    ArrayUnderConstruction array(VT_VARIANT, values.size());
    if (!array.get())
        return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
        Variant element;
        if (const double* number = std::get_if<double>(&values[i])) {
            element.get().vt = VT_R8;
            element.get().dblVal = *number;
        } else if (const std::wstring* text = std::get_if<std::wstring>(&values[i])) {
            element.get().bstrVal = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
            if (!element.get().bstrVal)
                return E_OUTOFMEMORY;
            element.get().vt = VT_BSTR;
        }
        HRESULT hr = SafeArrayPutElement(array.get(), &i, &element.get());  // copies the element
        if (FAILED(hr))
            return hr;
    }
    array.handTo(VT_VARIANT, result);
    return S_OK;
}

HRESULT readStrings(const VARIANT& given, std::vector<std::wstring>& result)
{
    result.clear();
    const VARIANT& value = dereference(given);
    if (value.vt == VT_BSTR) {
        result.emplace_back(value.bstrVal ? value.bstrVal : L"", value.bstrVal ? SysStringLen(value.bstrVal) : 0);
        return S_OK;
    }
    VARTYPE type = value.vt & ~(VT_ARRAY | VT_BYREF);
    if (!(value.vt & VT_ARRAY) || (type != VT_BSTR && type != VT_VARIANT))
        return E_INVALIDARG;
    SAFEARRAY* array = (value.vt & VT_BYREF) ? (value.pparray ? *value.pparray : nullptr) : value.parray;
    if (!array || SafeArrayGetDim(array) != 1)
        return E_INVALIDARG;
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        return E_INVALIDARG;
    for (LONG i = lower; i <= upper; ++i) {
        std::wstring text;
        HRESULT hr = stringAt(array, type, i, text);
        if (FAILED(hr))
            return hr;
        result.push_back(std::move(text));
    }
    return S_OK;
}

}  // namespace sample
