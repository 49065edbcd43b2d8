// The SAFEARRAY operations: what they read and store, each refusal with its exact
// report and the out value left alone, and no text leaked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ModuleName.h"
#include "support/SetGet.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"
#include "testkit/FileGuards.h"
#include "testkit/MessageBoxDriver.h"
#include "testkit/CapeDoubles.h"
#include "testkit/TaskMemory.h"

using testkit::textArray, testkit::zeroedArray;

namespace {

BSTR* texts(const VARIANT& v) { return static_cast<BSTR*>(V_ARRAY(&v)->pvData); }
LONG* numbers(const VARIANT& v) { return static_cast<LONG*>(V_ARRAY(&v)->pvData); }
VariantHolder tens(LONG lower, ULONG count)  // 10 x index, from index lower on
{
    VariantHolder v = zeroedArray(VT_I4, {{count, lower}});
    for (ULONG k = 0; k < count; ++k)
        numbers(v)[k] = 10 * (lower + LONG(k));
    return v;
}
std::wstring all(const VARIANT& v)
{
    std::wstring joined;
    for (ULONG k = 0; k < V_ARRAY(&v)->rgsabound[0].cElements; ++k)
        joined += texts(v)[k] ? std::wstring(texts(v)[k]) + L";" : L"<null>;";
    return joined;
}

// One refused operation: it answers false ("not done"), leaves out (-1) alone and
// shows exactly these reports.
struct Refusal { std::function<bool(LONG*)> act; std::vector<std::string> reports; };
constexpr const char* kPastFirst =
    "8200:  ERROR: Getting a safearray value at a position higher than array bounds of 1st dim";
constexpr const char* kOutside = "noCopyVariantGetV:  ERROR: Index out of array bounds";
const Refusal kRefusals[] = {
    {[](LONG*) { return !!SetGet::getItem(textArray({L"a", L"b", L"c"}), 3); }, {kPastFirst}},
    {[](LONG*) { return !!SetGet::getItem(zeroedArray(VT_BSTR, {{2, 1}, {3, 0}}), 1, 3); },
     {"8200:  ERROR: Getting a safearray value at a position higher than array bounds of 2nd dim"}},
    {[](LONG*) { return !!SetGet::getItem(zeroedArray(VT_R8, {{2, 0}}), 0); },
     {"8197:  ERROR: A one- or two-dimensional array of BSTRs was expected"}},
    {[](LONG*) { VariantHolder v; return SetGet::putItem(v, nullptr, 0); },
     {"0:  ERROR: A one- or two-dimensional array of BSTRs was expected"}},
    {[](LONG* out) { VariantHolder v; V_VT(&v) = VT_R8; return SetGet::noCopyNext(VT_I4, v, 0, out); },
     {"noCopyNext:  ERROR: The VARIANT holds no array"}},
    {[](LONG* out) { return SetGet::noCopyVariantGetV(VT_I4, tens(5, 3), 8, out); }, {kOutside}},
    {[](LONG* out) { return SetGet::noCopyVariantGetV(VT_BOOL, tens(0, 2), 0, out); },
     {"noCopyVariantGetV:  ERROR: array element type does not match the requested type"}},
    {[](LONG* out) { return SetGet::noCopyVariantGetV(VT_DATE, tens(0, 2), 0, out); },
     {" ERROR: bad VT in noCopyItemGet"}},
    {[](LONG* out) { return SetGet::noCopyItemGet(VT_I4, numbers(tens(10, 3)), 9, out, 10), *out != -1; },
     {"noCopyItemGet:  ERROR: Index out of array bounds"}},
    {[](LONG* out) { return SetGet::noCopyVariantGetV(VT_I4, zeroedArray(VT_I4, {{0, 0}, {3, 0}}), 0, out); },
     {"noCopyVariantGetV:  ERROR: Only 1 dimension arrays are supported", kOutside}},
    {[](LONG*) { VariantHolder v = textArray({L"old"}); return SetGet::Create(v, VT_R8, -1), V_VT(&v) != VT_EMPTY; },
     {"SetGet::Create:  ERROR: Cannot create an array of -1 elements of type 5"}},
};
// Reports are traced, to a trace file of the test's own that is put back afterwards.
struct Traced {
    ModuleName module{"QnSupportTest.dll"};
    testkit::TraceFileGuard trace{"QnSupportTest"};
    MessageBoxDriver boxes;
};
class SetGetRefusals : public ::testing::TestWithParam<Refusal>, protected Traced {};
class Arrays : public ::testing::Test, protected Traced {};

}  // namespace

TEST_P(SetGetRefusals, ReportEachFailureAndLeaveOutAlone)
{
    LONG out = -1;
    EXPECT_FALSE(GetParam().act(&out)) << "refused";
    EXPECT_EQ(out, -1) << "out is left as it was";
    EXPECT_EQ(boxes.texts(), GetParam().reports) << "the reports shown, in order";
}
INSTANTIATE_TEST_SUITE_P(Table, SetGetRefusals, ::testing::ValuesIn(kRefusals));

TEST_F(Arrays, ReadFromTheLowerBoundOn)
{
    VariantHolder abc = textArray({L"a", L"b", L"c"}), decades = tens(5, 3);
    EXPECT_EQ(SetGet::getItem(abc, 2), texts(abc)[2]) << "the stored BSTR itself; index 2 is the last";
    LONG out = -1;
    EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_ARRAY | VT_I4, decades, 7, &out)) << "VT_ARRAY in the type is ignored";
    EXPECT_EQ(out, 70) << "index 7 is the last of 5..7";
    std::vector<LONG> walked;
    for (long k = 5; SetGet::noCopyNext(VT_I4, decades, k, &out); ++k)
        walked.push_back(out);
    EXPECT_EQ(walked, (std::vector<LONG>{50, 60, 70})) << "a walk visits every element once";
    EXPECT_FALSE(SetGet::noCopyNext(VT_I4, VariantHolder(), 0, &out)) << "an empty VARIANT is a list of nothing";
    EXPECT_EQ(boxes.count(), 0u) << "nothing to report";
}

TEST_F(Arrays, StoredTextsBelongToTheArrayAndNoneLeaks)
{
    testkit::TaskMemory& memory = testkit::TaskMemory::instance();
    ASSERT_TRUE(memory.countsBstrs()) << "BSTRs are counted: the test runs with OANOCACHE=1, as its CTest entry sets";
    const long before = memory.live();
    {
        VariantHolder var;
        SetGet::bstrListToVariant(var, {L"a", L"b", L"c"});
        const long filled = memory.live();
        BSTR fresh = SysAllocString(L"new");
        ASSERT_TRUE(SetGet::putItem(var, fresh, 0));
        EXPECT_EQ(texts(var)[0], fresh) << "stored without a copy";
        EXPECT_EQ(memory.live(), filled) << "the replaced text was freed";
        ASSERT_TRUE(SetGet::putItem(var, fresh, 0)) << "putting the element that is already there";
        EXPECT_EQ(all(var), L"new;b;c;") << "keeps it alive";
        SAFEARRAY* array = V_ARRAY(&var);
        std::vector<long> order = {2, 0, 1};
        SetGet::bstrListToVariant(var, {L"x", L"y", L"z"}, &order);
        EXPECT_EQ(V_ARRAY(&var), array) << "a list of the same length refills the same array";
        EXPECT_EQ(all(var), L"z;x;y;") << "in the given order";
        EXPECT_EQ(memory.live(), filled) << "the texts it replaced were freed";
        EXPECT_EQ(boxes.count(), 0u);
        order = {1, 7};
        SetGet::bstrListToVariant(var, {L"x", L"y", L"z"}, &order);
        EXPECT_EQ(all(var), L"y;<null>;<null>;") << "bad and missing positions are left null";
        ASSERT_EQ(boxes.count(), 1u) << "one report per list";
        EXPECT_EQ(boxes.last().text, "bstrListToVariant:  ERROR: Order entry 1 (7) lies outside the list of 3 texts");
    }
    EXPECT_EQ(memory.live(), before) << "clearing the VARIANT frees the array and its texts";
}
