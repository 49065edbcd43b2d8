#pragma once
// Array VARIANTs as CAPE-OPEN packages and hosts hand them over, for the tests.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "support/VariantHolder.h"

namespace packagetest {

// A one-dimensional array of `vt` elements with the given lower bound.
inline SAFEARRAY* newVector(VARTYPE vt, size_t count, long lowerBound = 0)
{
    return SafeArrayCreateVector(vt, lowerBound, static_cast<ULONG>(count));
}

inline VariantHolder textArray(const std::vector<std::wstring>& texts, long lowerBound = 0)
{
    VariantHolder result;
    SAFEARRAY* array = newVector(VT_BSTR, texts.size(), lowerBound);
    auto* slots = static_cast<BSTR*>(array->pvData);
    for (size_t i = 0; i < texts.size(); ++i)
        slots[i] = SysAllocStringLen(texts[i].data(), static_cast<UINT>(texts[i].size()));
    V_VT(&result) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&result) = array;
    return result;
}

inline VariantHolder doubleArray(const std::vector<double>& values)
{
    VariantHolder result;
    SAFEARRAY* array = newVector(VT_R8, values.size());
    auto* slots = static_cast<double*>(array->pvData);
    for (size_t i = 0; i < values.size(); ++i)
        slots[i] = values[i];
    V_VT(&result) = VT_ARRAY | VT_R8;
    V_ARRAY(&result) = array;
    return result;
}

inline VariantHolder longArray(const std::vector<LONG>& values)
{
    VariantHolder result;
    SAFEARRAY* array = newVector(VT_I4, values.size());
    auto* slots = static_cast<LONG*>(array->pvData);
    for (size_t i = 0; i < values.size(); ++i)
        slots[i] = values[i];
    V_VT(&result) = VT_ARRAY | VT_I4;
    V_ARRAY(&result) = array;
    return result;
}

// An array of VARIANTs; each element takes over the VARIANT given for it.
inline VariantHolder variantArray(std::vector<VariantHolder> values)
{
    VariantHolder result;
    SAFEARRAY* array = newVector(VT_VARIANT, values.size());
    auto* slots = static_cast<VARIANT*>(array->pvData);
    for (size_t i = 0; i < values.size(); ++i)
        slots[i] = values[i].detach();
    V_VT(&result) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&result) = array;
    return result;
}

inline VariantHolder textValue(const wchar_t* text)
{
    VariantHolder result;
    V_VT(&result) = VT_BSTR;
    V_BSTR(&result) = SysAllocString(text);
    return result;
}

inline VariantHolder doubleValue(double value)
{
    VariantHolder result;
    V_VT(&result) = VT_R8;
    V_R8(&result) = value;
    return result;
}

inline VariantHolder longValue(LONG value)
{
    VariantHolder result;
    V_VT(&result) = VT_I4;
    V_I4(&result) = value;
    return result;
}

inline VariantHolder copyOf(const VARIANT& value)
{
    VariantHolder result;
    VariantCopy(&result, const_cast<VARIANT*>(&value));
    return result;
}

}  // namespace packagetest
