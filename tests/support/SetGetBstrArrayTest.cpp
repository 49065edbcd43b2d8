#include <gtest/gtest.h>

#include "SetGetTestSupport.h"
#include "TaskMemoryCounter.h"
#include "support/SetGet.h"
#include "support/UniqueBstr.h"

namespace {
constexpr const char* kFirstDim = "Getting a safearray value at a position higher than array bounds of 1st dim";
constexpr const char* kSecondDim = "Getting a safearray value at a position higher than array bounds of 2nd dim";
constexpr const char* kNotBstrArray = "A one- or two-dimensional array of BSTRs was expected";
}  // namespace

TEST(SetGetCreate, MakesZeroedArrayWithTheGivenShape)
{
    VariantHolder var;
    SetGet::Create(var, VT_BSTR, 3, 1);
    ASSERT_EQ(V_VT(&var), VT_ARRAY | VT_BSTR);
    const SAFEARRAY* array = V_ARRAY(&var);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->cDims, 1);
    EXPECT_EQ(array->rgsabound[0].cElements, 3u);
    EXPECT_EQ(array->rgsabound[0].lLbound, 1);
    for (long i = 1; i <= 3; ++i)
        EXPECT_EQ(storedBstr(var, i), nullptr) << "element " << i << " starts null";
}

TEST(SetGetCreate, KeepsAnArrayOfTheSameShapeAndReplacesAnyOther)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    VariantHolder var;
    makeBstrArray(var, {L"a", L"b"});
    SAFEARRAY* original = V_ARRAY(&var);
    SetGet::Create(var, VT_BSTR, 2, 0);
    EXPECT_EQ(V_ARRAY(&var), original) << "same type, length and lower bound: the array stays";
    EXPECT_EQ(textOf(storedBstr(var, 1)), L"b") << "and keeps its texts";

    SetGet::Create(var, VT_BSTR, 2, 1);
    EXPECT_EQ(V_ARRAY(&var)->rgsabound[0].lLbound, 1) << "another lower bound: a new array";
    SetGet::Create(var, VT_BSTR, 4, 1);
    ASSERT_EQ(V_ARRAY(&var)->rgsabound[0].cElements, 4u) << "another length: a new array";
    EXPECT_EQ(storedBstr(var, 1), nullptr) << "the new array is zeroed";

    // A two-dimensional array whose first stored dimension fits is no vector.
    VariantHolder matrix;
    SAFEARRAYBOUND bounds[2] = {{3, 0}, {4, 1}};
    V_VT(&matrix) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&matrix) = SafeArrayCreate(VT_BSTR, 2, bounds);
    SetGet::Create(matrix, VT_BSTR, 4, 1);
    EXPECT_EQ(V_ARRAY(&matrix)->cDims, 1) << "Create always leaves a one-dimensional array";
    EXPECT_EQ(boxes.count(), 0u) << "nothing to report";
}

TEST(SetGetCreate, ReportsAnArrayItCannotMakeAndLeavesTheVariantEmpty)
{
    InstalledTrace trace;
    for (long len : {-1L, 0x20000001L}) {
        // 0x20000001 doubles need more than 4 GiB: a size the platform would wrap.
        MessageBoxDriver boxes;
        VariantHolder var;
        makeBstrArray(var, {L"old"});
        SetGet::Create(var, VT_R8, len, 0);
        expectOneReport(boxes, "Cannot create an array of " + std::to_string(len) + " elements", "SetGet::Create");
        EXPECT_EQ(V_VT(&var), VT_EMPTY) << "no half-made array is left in the VARIANT";
    }
}

TEST(SetGetGetItem, ReadsStoredElementsFromTheLowerBoundOn)
{
    VariantHolder var;
    makeBstrArray(var, {L"first", L"second"}, 1);
    EXPECT_EQ(SetGet::getItem(var, 1), storedBstr(var, 1)) << "the stored BSTR itself, not a copy";
    EXPECT_EQ(textOf(SetGet::getItem(var, 1)), L"first") << "index 1 is the first element at lower bound 1";
    EXPECT_EQ(textOf(SetGet::getItem(var, 2)), L"second");
}

TEST(SetGetGetItem, ReportsIndexesOutsideEitherBoundAndReturnsNull)
{
    InstalledTrace trace;
    VariantHolder var;
    makeBstrArray(var, {L"a", L"b", L"c"});
    for (long index : {3L, -1L}) {
        MessageBoxDriver boxes;
        EXPECT_EQ(SetGet::getItem(var, index), nullptr) << "index " << index;
        expectOneReport(boxes, kFirstDim, "8200");
    }
}

TEST(SetGetGetItem, ReadsACopyOfElementJIOfATwoDimensionalArray)
{
    InstalledTrace trace;
    // Platform indices (j, i): j in 1..2, i in 0..2.
    VariantHolder var;
    SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 0}};
    V_VT(&var) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&var) = SafeArrayCreate(VT_BSTR, 2, bounds);
    for (long j = 1; j <= 2; ++j)
        for (long i = 0; i <= 2; ++i) {
            LONG indices[2] = {j, i};
            UniqueBstr text(std::to_wstring(j * 10 + i).c_str());
            SafeArrayPutElement(V_ARRAY(&var), indices, text.get());
        }
    UniqueBstr copy = UniqueBstr::attach(SetGet::getItem(var, 2, 1));
    EXPECT_EQ(copy.text(), L"12") << "getItem (i, j) reads the platform's element (j, i)";

    for (long j : {3L, 0L}) {
        MessageBoxDriver boxes;
        EXPECT_EQ(SetGet::getItem(var, 1, j), nullptr) << "j " << j << " lies outside 1..2";
        expectOneReport(boxes, kSecondDim, "8200");
    }
}

TEST(SetGetGetItem, ReportsVariantsThatHoldNoBstrArray)
{
    InstalledTrace trace;
    VariantHolder doubles;
    V_VT(&doubles) = VT_ARRAY | VT_R8;
    V_ARRAY(&doubles) = SafeArrayCreateVector(VT_R8, 0, 2);
    VariantHolder empty;
    VariantHolder nullArray;  // claims an array, holds none
    V_VT(&nullArray) = VT_ARRAY | VT_BSTR;
    for (VARIANT* var : {static_cast<VARIANT*>(&doubles), static_cast<VARIANT*>(&empty),
                         static_cast<VARIANT*>(&nullArray)}) {
        MessageBoxDriver boxes;
        EXPECT_EQ(SetGet::getItem(*var, 0), nullptr);
        EXPECT_FALSE(SetGet::putItem(*var, nullptr, 0)) << "nothing is stored";
        ASSERT_EQ(boxes.count(), 2u) << "the get and the put are reported, VARTYPE " << V_VT(var);
        EXPECT_NE(boxes.boxes()[0].text.find(kNotBstrArray), std::string::npos) << boxes.boxes()[0].text;
    }
}

TEST(SetGetPutItem, StoresWithoutCopyAndFreesTheReplacedElement)
{
    InstalledTrace trace;
    TaskMemoryCounter memory;
    if (!memory.bstrsAreCounted())
        GTEST_SKIP() << "the BSTR cache hides frees (run with OANOCACHE=1)";
    VariantHolder var;
    makeBstrArray(var, {L"old", L"kept"});
    const long before = memory.live();

    BSTR fresh = SysAllocString(L"new");
    ASSERT_TRUE(SetGet::putItem(var, fresh, 0));
    EXPECT_EQ(storedBstr(var, 0), fresh) << "the array holds the given BSTR itself";
    EXPECT_EQ(memory.live(), before) << "the replaced element was freed, the new one is owned by the array";
    ASSERT_TRUE(SetGet::putItem(var, fresh, 0)) << "putting the element that is already there";
    EXPECT_EQ(textOf(storedBstr(var, 0)), L"new") << "keeps it alive";

    MessageBoxDriver boxes;
    UniqueBstr refused(L"refused");
    EXPECT_FALSE(SetGet::putItem(var, refused.get(), 2)) << "one past the upper bound";
    expectOneReport(boxes, kFirstDim, "8200");
    EXPECT_EQ(textOf(storedBstr(var, 1)), L"kept") << "no other element was touched";
}

TEST(SetGetBstrList, FillsInListOrderOrInTheGivenOrder)
{
    std::vector<_bstr_t> texts = {L"a", L"b", L"c"};
    VariantHolder var;
    SetGet::bstrListToVariant(var, texts);
    EXPECT_EQ(textOf(storedBstr(var, 0)), L"a");
    EXPECT_EQ(textOf(storedBstr(var, 2)), L"c");

    std::vector<long> order = {2, 0, 1};
    SetGet::bstrListToVariant(var, texts, &order);
    EXPECT_EQ(textOf(storedBstr(var, 0)) + textOf(storedBstr(var, 1)) + textOf(storedBstr(var, 2)), L"cab");
    EXPECT_NE(storedBstr(var, 0), static_cast<const wchar_t*>(texts[2])) << "the array holds its own copies";

    SetGet::bstrListToVariant(var, {});
    EXPECT_EQ(V_ARRAY(&var)->rgsabound[0].cElements, 0u) << "an empty list gives an empty array";
}

TEST(SetGetBstrList, LeavesElementsOfBadOrderPositionsNullWithOneReport)
{
    InstalledTrace trace;
    std::vector<_bstr_t> texts = {L"a", L"b", L"c"};
    VariantHolder var;
    SetGet::bstrListToVariant(var, texts);  // old texts that must not survive
    std::vector<long> order = {1, 7};       // 7 is outside, the third position missing
    MessageBoxDriver boxes;
    SetGet::bstrListToVariant(var, texts, &order);
    expectOneReport(boxes, "Order entry 1 (7) lies outside the list of 3 texts", "bstrListToVariant");
    EXPECT_EQ(textOf(storedBstr(var, 0)), L"b");
    EXPECT_EQ(storedBstr(var, 1), nullptr);
    EXPECT_EQ(storedBstr(var, 2), nullptr);
}

TEST(SetGetBstrList, RefillingKeepsTheArrayAndLeaksNoText)
{
    TaskMemoryCounter memory;
    if (!memory.bstrsAreCounted())
        GTEST_SKIP() << "the BSTR cache hides frees (run with OANOCACHE=1)";
    std::vector<_bstr_t> texts = {L"a", L"b", L"c"};
    const long before = memory.live();
    {
        VariantHolder var;
        SetGet::bstrListToVariant(var, texts);
        SAFEARRAY* first = V_ARRAY(&var);
        const long filled = memory.live();
        SetGet::bstrListToVariant(var, {L"x", L"y", L"z"});
        EXPECT_EQ(V_ARRAY(&var), first) << "a list of the same length refills the same array";
        EXPECT_EQ(textOf(storedBstr(var, 2)), L"z");
        EXPECT_EQ(memory.live(), filled) << "the texts it replaced were freed";
    }
    EXPECT_EQ(memory.live(), before) << "clearing the VARIANT frees the array and its texts";
}
