#include <gtest/gtest.h>

#include <vector>

#include "SetGetTestSupport.h"
#include "support/SetGet.h"

namespace {
constexpr const char* kOutOfBounds = "Index out of array bounds";
constexpr const char* kMismatch = "array element type does not match the requested type";

// A vector VARIANT of the given platform type, filled through SafeArrayPutElement.
template <class T>
void makeVector(VARIANT& var, VARTYPE vt, const std::vector<T>& values, long lowerBound = 0)
{
    V_VT(&var) = VT_ARRAY | vt;
    V_ARRAY(&var) = SafeArrayCreateVector(vt, lowerBound, static_cast<ULONG>(values.size()));
    long index = lowerBound;
    for (T value : values) {
        SafeArrayPutElement(V_ARRAY(&var), &index, &value);
        ++index;
    }
}

// Walks var the way callers do and collects what each step read.
template <class T>
std::vector<T> walk(VARTYPE vt, const VARIANT& var)
{
    std::vector<T> seen;
    T out{};
    for (long k = V_ARRAY(&var)->rgsabound[0].lLbound; SetGet::noCopyNext(vt, var, k, &out); ++k)
        seen.push_back(out);
    return seen;
}
}  // namespace

TEST(SetGetWalk, VisitsEveryElementOfNumberArraysFromTheirLowerBound)
{
    VariantHolder doubles;
    makeVector<double>(doubles, VT_R8, {1.5, -2.25, 1e300}, -2);
    EXPECT_EQ(walk<double>(VT_ARRAY | VT_R8, doubles), (std::vector<double>{1.5, -2.25, 1e300}))
        << "VT_ARRAY in the requested type is ignored";

    VariantHolder longs;
    makeVector<LONG>(longs, VT_I4, {7, -8}, 1);
    EXPECT_EQ(walk<LONG>(VT_I4, longs), (std::vector<LONG>{7, -8}));

    VariantHolder flags;
    makeVector<VARIANT_BOOL>(flags, VT_BOOL, {VARIANT_TRUE, VARIANT_FALSE});
    EXPECT_EQ(walk<VARIANT_BOOL>(VT_BOOL, flags), (std::vector<VARIANT_BOOL>{VARIANT_TRUE, VARIANT_FALSE}));
}

TEST(SetGetWalk, ReadsBstrAndVariantElementsWithoutCopying)
{
    VariantHolder texts;
    makeBstrArray(texts, {L"p", L"q"});
    EXPECT_EQ(walk<BSTR>(VT_BSTR, texts), (std::vector<BSTR>{storedBstr(texts, 0), storedBstr(texts, 1)}))
        << "the BSTRs the array holds, not copies";

    VariantHolder mixed;
    V_VT(&mixed) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&mixed) = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    VARIANT* stored = static_cast<VARIANT*>(V_ARRAY(&mixed)->pvData);
    V_VT(&stored[0]) = VT_R8;
    V_R8(&stored[0]) = 3.25;
    V_VT(&stored[1]) = VT_BSTR;
    V_BSTR(&stored[1]) = SysAllocString(L"text");
    std::vector<VARIANT> seen = walk<VARIANT>(VT_VARIANT, mixed);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(V_VT(&seen[0]), VT_R8);
    EXPECT_EQ(V_R8(&seen[0]), 3.25);
    EXPECT_EQ(V_VT(&seen[1]), VT_BSTR);
    EXPECT_EQ(V_BSTR(&seen[1]), V_BSTR(&stored[1])) << "a shallow copy: the array still owns the text";
}

TEST(SetGetWalk, EndsAtOnceOnAnEmptyVariantAndReportsOtherNonArrays)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    VariantHolder empty;
    double out = 4.0;
    EXPECT_FALSE(SetGet::noCopyNext(VT_R8, empty, 0, &out)) << "an empty VARIANT is a list of nothing";
    EXPECT_EQ(boxes.count(), 0u) << "and nothing to report";

    VariantHolder number;
    V_VT(&number) = VT_R8;
    V_R8(&number) = 1.0;
    EXPECT_FALSE(SetGet::noCopyNext(VT_R8, number, 0, &out));
    expectOneReport(boxes, "The VARIANT holds no array", "noCopyNext");
    EXPECT_EQ(out, 4.0);
}

TEST(SetGetRawRead, ReportsIndexesOutsideEitherBoundAndLeavesOutAlone)
{
    InstalledTrace trace;
    VariantHolder longs;
    makeVector<LONG>(longs, VT_I4, {10, 20, 30}, 5);
    LONG out = -1;
    ASSERT_TRUE(SetGet::noCopyVariantGetV(VT_I4, longs, 7, &out));
    EXPECT_EQ(out, 30) << "the last element";
    for (long index : {4L, 8L}) {
        MessageBoxDriver boxes;
        out = -1;
        EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I4, longs, index, &out)) << "index " << index;
        expectOneReport(boxes, kOutOfBounds, "noCopyVariantGetV");
        EXPECT_EQ(out, -1) << "out is left as it was";
    }
}

TEST(SetGetRawRead, RefusesToReadElementsAsAnotherType)
{
    InstalledTrace trace;
    VariantHolder longs;
    makeVector<LONG>(longs, VT_I4, {1, 2});
    VariantHolder dates;
    makeVector<DATE>(dates, VT_DATE, {45000.5});
    struct Case {
        VARTYPE requested;
        VARIANT* array;
        const char* report;
    } cases[] = {
        {VT_R8, &longs, kMismatch},                    // would read past a 4-byte element
        {VT_BOOL, &longs, kMismatch},                  // same storage, other meaning
        {VT_R8, &dates, kMismatch},                    // same size, other type
        {VT_DATE, &dates, "bad VT in noCopyItemGet"},  // not a type of the raw access
    };
    for (const Case& c : cases) {
        MessageBoxDriver boxes;
        double out = -7.0;
        EXPECT_FALSE(SetGet::noCopyVariantGetV(c.requested, *c.array, 0, &out)) << "requested " << c.requested;
        expectOneReport(boxes, c.report);
        EXPECT_EQ(out, -7.0) << "out is left as it was";
    }
    MessageBoxDriver boxes;
    double out = 0;
    EXPECT_FALSE(SetGet::noCopyNext(VT_R8, longs, 0, &out)) << "a walk with the wrong type stops at once";
    EXPECT_EQ(boxes.count(), 1u);
}

TEST(SetGetRawRead, ReadsTheFirstStoredDimensionOfLargerArraysAfterAReport)
{
    InstalledTrace trace;
    // Platform indices (r, c), r in 0..1, c in 0..2; r varies fastest in storage and
    // the first stored dimension is c's.
    VariantHolder matrix;
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
    V_VT(&matrix) = VT_ARRAY | VT_I4;
    V_ARRAY(&matrix) = SafeArrayCreate(VT_I4, 2, bounds);
    for (LONG r = 0; r < 2; ++r)
        for (LONG c = 0; c < 3; ++c) {
            LONG indices[2] = {r, c}, value = r * 10 + c;
            SafeArrayPutElement(V_ARRAY(&matrix), indices, &value);
        }
    MessageBoxDriver boxes;
    LONG out = -1;
    EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_I4, matrix, 2, &out));
    expectOneReport(boxes, "Only 1 dimension arrays are supported", "noCopyVariantGetV");
    EXPECT_EQ(out, 1) << "storage element 2 is (r 0, c 1)";

    // A matrix with an empty dimension has no storage, whatever the other says.
    VariantHolder hollow;
    SAFEARRAYBOUND hollowBounds[2] = {{0, 0}, {3, 0}};
    V_VT(&hollow) = VT_ARRAY | VT_I4;
    V_ARRAY(&hollow) = SafeArrayCreate(VT_I4, 2, hollowBounds);
    boxes.clear();
    out = -1;
    EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I4, hollow, 0, &out));
    EXPECT_EQ(out, -1);
    ASSERT_EQ(boxes.count(), 2u) << "the dimensions and the index are reported";
    EXPECT_NE(boxes.last().text.find(kOutOfBounds), std::string::npos) << boxes.last().text;
}

TEST(SetGetRawRead, ItemGetCopiesTheElementAtIndexMinusLowerBound)
{
    InstalledTrace trace;
    const LONG storage[] = {4, 5, 6};
    LONG out = 0;
    SetGet::noCopyItemGet(VT_ARRAY | VT_I4, storage, 12, &out, 10);
    EXPECT_EQ(out, 6);

    MessageBoxDriver boxes;
    out = 0;
    SetGet::noCopyItemGet(VT_I4, storage, 9, &out, 10);
    expectOneReport(boxes, kOutOfBounds);
    EXPECT_EQ(out, 0) << "an index below the lower bound reads nothing";
}
