#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <variant>
#include <vector>

// VARIANTs holding one-dimensional SAFEARRAYs (lower bound 0), the way CAPE-OPEN
// passes lists, and the ownership rules of out and in/out VARIANT parameters.
namespace sample {

// Owns one VARIANT (VariantClear on destruction).
class Variant {
public:
    Variant() { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }
    VARIANT& get() { return value_; }
    const VARIANT& get() const { return value_; }

    // Moves the content into an [out] parameter, which holds nothing the callee
    // may free.
    void moveToOut(VARIANT* out);
    // Moves the content into an [in, out] parameter, freeing what it held first.
    void moveToInOut(VARIANT* inOut);

private:
    VARIANT value_;
};

// One constant of a compound: unknown (an empty VARIANT), a number or a text.
using ConstantValue = std::variant<std::monostate, double, std::wstring>;

HRESULT makeStringArray(const std::vector<std::wstring>& values, Variant& result);
HRESULT makeDoubleArray(const std::vector<double>& values, Variant& result);
HRESULT makeVariantArray(const std::vector<ConstantValue>& values, Variant& result);

// Reads a list of texts: a single BSTR, an array of BSTR, or an array of VARIANTs
// that all hold BSTRs (also through VT_BYREF). Anything else gives E_INVALIDARG.
HRESULT readStrings(const VARIANT& value, std::vector<std::wstring>& result);

}  // namespace sample
