#include "packagedialog/ArrayElements.h"

#include "packagedialog/DisplayText.h"
#include "support/SetGet.h"

namespace {

// The array a VARIANT holds (by value or by reference), when it has one dimension.
SAFEARRAY* vectorOf(const VARIANT& var)
{
    if (!(V_VT(&var) & VT_ARRAY))
        return nullptr;
    SAFEARRAY* array = (V_VT(&var) & VT_BYREF) ? (V_ARRAYREF(&var) ? *V_ARRAYREF(&var) : nullptr) : V_ARRAY(&var);
    return array && array->cDims == 1 ? array : nullptr;
}

// The type the array's elements really have: its descriptor's when it records one,
// else the VARIANT's, provided the element size agrees. VT_EMPTY when neither can
// be trusted (the elements are then not read at all).
VARTYPE trustedElementType(SAFEARRAY* array, const VARIANT& var)
{
    VARTYPE vt = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &vt)))
        vt = V_VT(&var) & VT_TYPEMASK;
    size_t size = 0;
    switch (vt) {
    case VT_BSTR:
        size = sizeof(BSTR);
        break;
    case VT_R8:
        size = sizeof(double);
        break;
    case VT_VARIANT:
        size = sizeof(VARIANT);
        break;
    default:
        return VT_EMPTY;
    }
    return array->cbElements == size && array->pvData ? vt : VARTYPE(VT_EMPTY);
}

ArrayElement elementOfVariant(const VARIANT& value)
{
    ArrayElement element;
    if (V_VT(&value) == VT_BSTR) {
        element.kind = ArrayElement::Kind::Text;
        element.text = V_BSTR(&value);
    } else if (V_VT(&value) == VT_R8) {
        element.kind = ArrayElement::Kind::Number;
        element.number = V_R8(&value);
    }
    return element;
}

}  // namespace

size_t arrayElementCount(const VARIANT& array)
{
    SAFEARRAY* vector = vectorOf(array);
    return vector ? vector->rgsabound[0].cElements : 0;
}

void forEachArrayElement(const VARIANT& array, const std::function<bool(const ArrayElement&)>& visit)
{
    SAFEARRAY* vector = vectorOf(array);
    if (!vector)
        return;
    const long lower = vector->rgsabound[0].lLbound;
    const VARTYPE vt = trustedElementType(vector, array);
    ArrayElement element;
    switch (vt) {
    case VT_BSTR:
        element.kind = ArrayElement::Kind::Text;
        for (long k = lower; SetGet::noCopyNext(VT_BSTR, array, k, &element.text); ++k)
            if (!visit(element))
                return;
        return;
    case VT_R8:
        element.kind = ArrayElement::Kind::Number;
        for (long k = lower; SetGet::noCopyNext(VT_R8, array, k, &element.number); ++k)
            if (!visit(element))
                return;
        return;
    case VT_VARIANT: {
        VARIANT raw;  // a shallow copy: what it points to still belongs to the array
        for (long k = lower; SetGet::noCopyNext(VT_VARIANT, array, k, &raw); ++k)
            if (!visit(elementOfVariant(raw)))
                return;
        return;
    }
    default:
        // Elements of other types are counted, never read.
        for (ULONG k = 0; k < vector->rgsabound[0].cElements; ++k)
            if (!visit(element))
                return;
        return;
    }
}

void elementDisplayText(const ArrayElement& element, std::string& out)
{
    switch (element.kind) {
    case ArrayElement::Kind::Text:
        assignAnsi(out, element.text, SysStringLen(element.text));
        break;
    case ArrayElement::Kind::Number:
        out = gcvtText(element.number);
        break;
    case ArrayElement::Kind::Other:
        out.clear();
        break;
    }
}
