#pragma once
#include <windows.h>
#include <oleauto.h>
#include <comutil.h>

#include <vector>

// Operations on VARIANTs that hold SAFEARRAYs: the lists that components and the
// host exchange (compound identifiers, phase labels, property values).
//
// Every failure is reported through reportError (traced, a message box, no owner)
// and the operation goes on with the value its comment states; nothing throws.
// Every element access checks the index against both bounds and the element type
// against the array's own, so no read or write leaves the array's storage.
class SetGet {
public:
    virtual ~SetGet() = default;

    // Makes var a one-dimensional array of len elements of type vt from lowerBound
    // on, zeroed (BSTRs null). An array of that type, length and lower bound that var
    // already holds is kept with its contents. When the array cannot be made the
    // failure is reported and var is left empty.
    static void Create(VARIANT& var, VARTYPE vt, long len, long lowerBound = 0);

    // Element i of a BSTR array (element (j, i) of a two-dimensional one). One
    // dimension: the stored BSTR itself, still owned by the array. Two dimensions: a
    // copy the caller owns. Null, after a report, when the index or the array is bad.
    static BSTR getItem(const VARIANT& var, long i, long j = -1);

    // Stores value as element i (element (j, i) of a two-dimensional array) of a BSTR
    // array without copying: on true the array owns value and has freed the element
    // it replaced. On false (reported) the caller still owns value.
    static bool putItem(VARIANT& var, BSTR value, long i, long j = -1);

    // Copies the raw element at index - lowerBound of storage into out: 4 bytes for
    // VT_I4, 8 for VT_R8 and VT_BSTR (the pointer), 2 for VT_BOOL, 24 for VT_VARIANT
    // (the VARIANT itself, not a deep copy). VT_ARRAY in vt is ignored. Another type,
    // or an index below lowerBound, is reported and out is left as it was.
    // The caller vouches for the upper bound and the element type; noCopyVariantGetV
    // is the checked way in.
    static void noCopyItemGet(VARTYPE vt, const void* storage, long index, void* out, long lowerBound);

    // Raw read of element index of the array that array holds, as noCopyItemGet
    // describes; what is read still belongs to the array. A VARIANT without an
    // array, an index outside the bounds or an element type other than vt is
    // reported and out is left as it was. Arrays of more dimensions are reported and
    // read through their first stored dimension. True when out was written.
    static bool noCopyVariantGetV(VARTYPE vt, const VARIANT& array, long index, void* out);

    // One step of a walk over an array: false past the last element (and at once
    // for an empty VARIANT); otherwise reads element index into out and returns
    // whether it could. It never advances index:
    //     for (long k = lowerBound; SetGet::noCopyNext(vt, array, k, &out); ++k) use(out);
    static bool noCopyNext(VARTYPE vt, const VARIANT& array, long index, void* out);

    // Makes var a BSTR array (lower bound 0) of new copies of the texts, element i
    // taken from list[(*order)[i]] when an order is given. A position that is
    // missing or outside the list is reported and its element left null. Returns 0.
    static long bstrListToVariant(VARIANT& var, const std::vector<_bstr_t>& list,
                                  const std::vector<long>* order = nullptr);
};
