#include "support/SetGet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "support/ErrorReport.h"
#include "support/MemoryHolders.h"
#include "support/UniqueBstr.h"

namespace {

constexpr const char* kFirstDimensionText =
    "Getting a safearray value at a position higher than array bounds of 1st dim";
constexpr const char* kSecondDimensionText =
    "Getting a safearray value at a position higher than array bounds of 2nd dim";
constexpr const char* kBstrArrayExpectedText = "A one- or two-dimensional array of BSTRs was expected";
constexpr const char* kBadVtText = "bad VT in noCopyItemGet";
constexpr const char* kOneDimensionText = "Only 1 dimension arrays are supported";
constexpr const char* kNoArrayText = "The VARIANT holds no array";
constexpr const char* kOutOfBoundsText = "Index out of array bounds";
constexpr const char* kTypeMismatchText = "array element type does not match the requested type";

// The platform computes an array's storage size in 32 bits (Wine wraps it silently
// and hands out an array far smaller than its bounds), so larger arrays are refused.
constexpr uint64_t kMaxArrayBytes = 0x7FFFFFFF;

void report(HRESULT code, const char* text, const char* context) { reportError(code, text, context, nullptr, true); }

// The reports on a BSTR array name its VARIANT type in decimal (8200 for VT_ARRAY|VT_BSTR).
std::string typeContext(const VARIANT& var) { return std::to_string(V_VT(&var)); }

// The array a VARIANT holds, by value or by reference; null when it holds none.
SAFEARRAY* arrayOf(const VARIANT& var)
{
    if (!(V_VT(&var) & VT_ARRAY))
        return nullptr;
    if (V_VT(&var) & VT_BYREF)
        return V_ARRAYREF(&var) ? *V_ARRAYREF(&var) : nullptr;
    return V_ARRAY(&var);
}

// The array's own element type when its descriptor records one, else the type the
// VARIANT declares for it.
VARTYPE elementTypeOf(SAFEARRAY* array, const VARIANT& var)
{
    VARTYPE vt = VT_EMPTY;
    if (SUCCEEDED(SafeArrayGetVartype(array, &vt)))
        return vt;
    return V_VT(&var) & VT_TYPEMASK;
}

// Bytes of one element of the types the raw access supports; 0 for any other.
size_t rawElementSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I4:
        return sizeof(LONG);
    case VT_R8:
        return sizeof(double);
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_BOOL:
        return sizeof(VARIANT_BOOL);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

// Elements the storage holds: the product of all dimensions (saturating, far above
// any storage that can exist).
uint64_t cellCount(const SAFEARRAY* array)
{
    constexpr uint64_t ceiling = uint64_t(1) << 48;
    uint64_t cells = 1;
    for (USHORT d = 0; d < array->cDims; ++d) {
        const uint64_t count = array->rgsabound[d].cElements;
        cells = (count != 0 && cells > ceiling / count) ? ceiling : cells * count;
    }
    return cells;
}

bool withinBounds(const SAFEARRAYBOUND& bound, long index)
{
    const int64_t offset = int64_t(index) - bound.lLbound;
    return offset >= 0 && offset < int64_t(bound.cElements);
}

// Whether index of the first stored dimension lies inside the bounds and inside the
// storage that actually exists.
bool insideStorage(const SAFEARRAY* array, long index)
{
    return array->pvData && withinBounds(array->rgsabound[0], index) &&
           uint64_t(int64_t(index) - array->rgsabound[0].lLbound) < cellCount(array);
}

bool copyRawElement(VARTYPE vt, const void* storage, long index, void* out, long lowerBound)
{
    const size_t size = rawElementSize(VARTYPE(vt & ~VT_ARRAY));
    if (size == 0) {
        report(kInternalFailure, kBadVtText, nullptr);
        return false;
    }
    const int64_t offset = int64_t(index) - lowerBound;
    if (offset < 0 || !storage || !out) {
        report(kInternalFailure, kOutOfBoundsText, "noCopyItemGet");
        return false;
    }
    std::memcpy(out, static_cast<const char*>(storage) + size_t(offset) * size, size);
    return true;
}

// The slot of element i (element (j, i) of a two-dimensional array) of var's BSTR
// array; null after the failure was reported.
BSTR* bstrSlot(const VARIANT& var, long i, long j)
{
    const std::string context = typeContext(var);
    SAFEARRAY* array = arrayOf(var);
    if (!array || array->cDims < 1 || array->cDims > 2 || array->cbElements != sizeof(BSTR) ||
        elementTypeOf(array, var) != VT_BSTR) {
        report(E_FAIL, kBstrArrayExpectedText, context.c_str());
        return nullptr;
    }
    if (!insideStorage(array, i)) {
        report(E_FAIL, kFirstDimensionText, context.c_str());
        return nullptr;
    }
    if (array->cDims == 1)
        return static_cast<BSTR*>(array->pvData) + (int64_t(i) - array->rgsabound[0].lLbound);

    if (!withinBounds(array->rgsabound[1], j)) {
        report(E_FAIL, kSecondDimensionText, context.c_str());
        return nullptr;
    }
    // The platform's index order is the reverse of the stored dimensions.
    LONG indices[2] = {j, i};
    void* slot = nullptr;
    HRESULT hr = SafeArrayPtrOfIndex(array, indices, &slot);
    if (FAILED(hr)) {
        report(hr, kUnexpectedErrorText, nullptr);
        return nullptr;
    }
    return static_cast<BSTR*>(slot);
}

bool holdsArrayOfShape(const VARIANT& var, VARTYPE vt, long len, long lowerBound)
{
    SAFEARRAY* array = V_VT(&var) == (vt | VT_ARRAY) ? V_ARRAY(&var) : nullptr;
    return array && array->cDims == 1 && len >= 0 && array->rgsabound[0].cElements == ULONG(len) &&
           array->rgsabound[0].lLbound == lowerBound && elementTypeOf(array, var) == vt;
}

// Bytes of one element of type vt as the platform stores it; 0 for a type it cannot
// put into an array.
ULONG platformElementSize(VARTYPE vt)
{
    SAFEARRAY* made = nullptr;
    const HRESULT hr = SafeArrayAllocDescriptorEx(vt, 1, &made);
    const UniqueSafeArrayDescriptor descriptor(made);
    return SUCCEEDED(hr) && descriptor ? descriptor->cbElements : 0;
}

// A zeroed one-dimensional array, or null when the platform cannot make it. The
// array itself comes from SafeArrayCreateEx: a descriptor from
// SafeArrayAllocDescriptorEx lacks FADF_BSTR in Wine, and its BSTRs would never be freed.
UniqueSafeArray newVector(VARTYPE vt, long len, long lowerBound)
{
    if (len < 0)
        return nullptr;
    const ULONG elementSize = platformElementSize(vt);
    if (elementSize == 0 || uint64_t(len) * elementSize > kMaxArrayBytes)
        return nullptr;
    SAFEARRAYBOUND bound{ULONG(len), lowerBound};
    return UniqueSafeArray(SafeArrayCreateEx(vt, 1, &bound, nullptr));
}

}  // namespace

void SetGet::Create(VARIANT& var, VARTYPE vt, long len, long lowerBound)
{
    // A VARIANT refilled with a list of the same size keeps its array.
    if (holdsArrayOfShape(var, vt, len, lowerBound))
        return;
    if (FAILED(VariantClear(&var)))
        report(kInternalFailure, "void SetGet::Create(VARIANT &var, VARTYPE vt, long len)", nullptr);
    VariantInit(&var);

    UniqueSafeArray array = newVector(vt, len, lowerBound);
    if (!array) {
        const std::string text =
            "Cannot create an array of " + std::to_string(len) + " elements of type " + std::to_string(vt);
        report(kInternalFailure, text.c_str(), "SetGet::Create");
        return;
    }
    V_VT(&var) = VARTYPE(vt | VT_ARRAY);
    V_ARRAY(&var) = array.release();  // the VARIANT owns the array now
}

BSTR SetGet::getItem(const VARIANT& var, long i, long j)
{
    BSTR* slot = bstrSlot(var, i, j);
    if (!slot)
        return nullptr;
    SAFEARRAY* array = arrayOf(var);
    if (array->cDims == 1)
        return *slot;
    // Two dimensions: a copy the caller owns, as SafeArrayGetElement would give.
    if (!*slot)
        return nullptr;
    BSTR copy = SysAllocStringByteLen(reinterpret_cast<const char*>(*slot), SysStringByteLen(*slot));
    if (!copy)
        report(E_OUTOFMEMORY, kUnexpectedErrorText, nullptr);
    return copy;
}

bool SetGet::putItem(VARIANT& var, BSTR value, long i, long j)
{
    BSTR* slot = bstrSlot(var, i, j);
    if (!slot)
        return false;
    // The array owns its elements: the one replaced is freed (a refilled array would
    // otherwise leak every text it held).
    if (*slot == value)
        return true;
    const UniqueBstr replaced = UniqueBstr::attach(std::exchange(*slot, value));
    return true;
}

void SetGet::noCopyItemGet(VARTYPE vt, const void* storage, long index, void* out, long lowerBound)
{
    copyRawElement(vt, storage, index, out, lowerBound);
}

bool SetGet::noCopyVariantGetV(VARTYPE vt, const VARIANT& array, long index, void* out)
{
    constexpr const char* context = "noCopyVariantGetV";
    const VARTYPE wanted = VARTYPE(vt & ~VT_ARRAY);
    SAFEARRAY* raw = arrayOf(array);
    if (!raw || raw->cDims < 1) {
        report(kInternalFailure, kNoArrayText, context);
        return false;
    }
    const size_t size = rawElementSize(wanted);
    if (size == 0) {
        report(kInternalFailure, kBadVtText, nullptr);
        return false;
    }
    if (raw->cDims > 1)
        report(E_FAIL, kOneDimensionText, context);  // and read the first stored dimension
    if (raw->cbElements != size || elementTypeOf(raw, array) != wanted) {
        report(kInternalFailure, kTypeMismatchText, context);
        return false;
    }
    if (!insideStorage(raw, index)) {
        report(kInternalFailure, kOutOfBoundsText, context);
        return false;
    }
    return copyRawElement(wanted, raw->pvData, index, out, raw->rgsabound[0].lLbound);
}

bool SetGet::noCopyNext(VARTYPE vt, const VARIANT& array, long index, void* out)
{
    SAFEARRAY* raw = arrayOf(array);
    if (!raw) {
        // Empty, null and array-typed-but-null VARIANTs are lists of no elements.
        const VARTYPE type = V_VT(&array);
        if (type != VT_EMPTY && type != VT_NULL && !(type & VT_ARRAY))
            report(kInternalFailure, kNoArrayText, "noCopyNext");
        return false;
    }
    if (raw->cDims < 1)
        return false;
    const SAFEARRAYBOUND& bound = raw->rgsabound[0];
    if (int64_t(index) >= int64_t(bound.lLbound) + int64_t(bound.cElements))
        return false;
    return noCopyVariantGetV(vt, array, index, out);
}

long SetGet::bstrListToVariant(VARIANT& var, const std::vector<_bstr_t>& list, const std::vector<long>* order)
{
    constexpr const char* context = "bstrListToVariant";
    if (list.size() > size_t(LONG_MAX)) {
        report(kInternalFailure, "The list is too long for an array", context);
        return 0;
    }
    const long count = long(list.size());
    Create(var, VT_BSTR, count, 0);
    if (!arrayOf(var))
        return 0;  // Create has reported

    bool orderReported = false;
    for (long i = 0; i < count; ++i) {
        const _bstr_t* text = &list[size_t(i)];
        if (order) {
            const bool known = size_t(i) < order->size();
            const long position = known ? (*order)[size_t(i)] : -1;
            if (position < 0 || position >= count) {
                // One box per list, however many positions are wrong; each such
                // element is left null.
                if (!orderReported) {
                    const std::string message = "Order entry " + std::to_string(i) +
                                                (known ? " (" + std::to_string(position) + ")" : std::string()) +
                                                " lies outside the list of " + std::to_string(count) + " texts";
                    report(kInternalFailure, message.c_str(), context);
                    orderReported = true;
                }
                putItem(var, nullptr, i);
                continue;
            }
            text = &list[size_t(position)];
        }
        const wchar_t* wide = static_cast<const wchar_t*>(*text);
        UniqueBstr copy = UniqueBstr::attach(wide ? SysAllocStringLen(wide, text->length()) : nullptr);
        if (wide && !copy.get())
            report(E_OUTOFMEMORY, kUnexpectedErrorText, context);
        if (putItem(var, copy.get(), i))
            (void)copy.detach();  // the array's element now
    }
    return 0;
}
