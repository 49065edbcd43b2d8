// The resource holders, one table of kinds: each frees what it holds exactly once,
// empties an out-parameter slot before the callee fills it, and hands the resource
// over on move and detach without freeing it or taking another reference. The shared
// BSTR text: a double as its "%f" text (an unusual CAPE-OPEN version is shown so),
// one narrow copy for all copies, and no text kept apart from an empty one.
#include <gtest/gtest.h>

#include "support/CQnBSTR.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"
#include "support/UniqueHandle.h"
#include "support/VariantHolder.h"
#include "testkit/TaskMemory.h"

namespace {

// An object with IUnknown alone; it notes how many references it had when asked, and
// refuses IPersist leaving itself (without a reference) in the out parameter.
struct Plain : testkit::ComDouble<IUnknown> {
    ULONG referencesWhenAsked = 0;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        referencesWhenAsked = references();
        if (iid == IID_IPersist && out)
            return *out = unknown(), E_NOINTERFACE;
        return ComDouble::QueryInterface(iid, out);
    }
};

// Per kind: fresh() makes a resource the caller owns, live() counts the kind's
// resources alive, hold() gives one to a holder, free() frees one handed over.
template <class H>
struct Kind;
template <>
struct Kind<ComPtr<IUnknown>> {
    static IUnknown* fresh() { return new Plain; }
    static long live() { return testkit::liveDoubles(); }
    static auto hold(IUnknown* raw) { return ComPtr<IUnknown>::attach(raw); }
    static void free(IUnknown* raw) { raw->Release(); }
};
template <>
struct Kind<UniqueBstr> {
    static BSTR fresh() { return SysAllocString(L"held"); }
    static long live() { return testkit::TaskMemory::instance().live(); }
    static auto hold(BSTR raw) { return UniqueBstr::attach(raw); }
    static void free(BSTR raw) { SysFreeString(raw); }
};
template <>
struct Kind<VariantHolder> : Kind<ComPtr<IUnknown>> {  // holding an object's IUnknown
    static VARIANT fresh()
    {
        VARIANT v{};
        V_VT(&v) = VT_UNKNOWN;
        V_UNKNOWN(&v) = new Plain;
        return v;
    }
    static VariantHolder hold(const VARIANT& raw)
    {
        VariantHolder h;
        *h.put() = raw;
        return h;
    }
    static void free(VARIANT raw) { VariantClear(&raw); }
};
// The holders' own words for "what is held", "let go" and "hand over".
const void* id(const auto& h) { return h.get(); }
const void* id(const VariantHolder& h) { return V_VT(&h) == VT_UNKNOWN ? V_UNKNOWN(&h) : nullptr; }
void empty(auto& h) { h.reset(); }
void empty(ComPtr<IUnknown>& h) { h = nullptr; }
void empty(VariantHolder& h) { h.clear(); }
auto handOver(auto& h) { return h.detach(); }

template <class H>
struct Holders : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE((!std::is_same_v<H, UniqueBstr> || testkit::TaskMemory::instance().countsBstrs()))
            << "BSTRs are counted: the test runs with OANOCACHE=1, as its CTest entry sets";
    }
};
using Kinds = ::testing::Types<ComPtr<IUnknown>, UniqueBstr, VariantHolder>;
TYPED_TEST_SUITE(Holders, Kinds);

TYPED_TEST(Holders, FreeOnDestructionEmptyingAndPut)
{
    using K = Kind<TypeParam>;
    const long before = K::live();
    {
        auto held = K::hold(K::fresh());
        EXPECT_EQ(K::live(), before + 1) << "holding frees nothing";
    }
    EXPECT_EQ(K::live(), before) << "destruction frees";
    auto held = K::hold(K::fresh());
    empty(held);
    EXPECT_EQ(K::live(), before) << "emptying frees";
    if constexpr (requires { held.put(); }) {
        held = K::hold(K::fresh());
        auto* slot = held.put();
        EXPECT_EQ(K::live(), before) << "put frees what was held";
        EXPECT_EQ(id(held), nullptr) << "and hands out an empty slot";
        *slot = K::fresh();
        EXPECT_NE(id(held), nullptr) << "what the callee stores belongs to the holder";
    }
}

TYPED_TEST(Holders, MoveAndDetachFreeNothingTwice)
{
    using K = Kind<TypeParam>;
    const long before = K::live();
    auto first = K::hold(K::fresh());
    const void* resource = id(first);
    auto second = std::move(first);
    EXPECT_EQ(id(first), nullptr) << "a moved-from holder is empty";
    auto target = K::hold(K::fresh());
    target = std::move(second);
    EXPECT_EQ(id(target), resource) << "the resource itself moved";
    EXPECT_EQ(K::live(), before + 1) << "move assignment freed the target's old resource, nothing else";
    auto raw = handOver(target);
    EXPECT_EQ(id(target), nullptr) << "handing over empties the holder";
    EXPECT_EQ(K::live(), before + 1) << "what was handed over is alive";
    K::free(raw);
    empty(target);
    EXPECT_EQ(K::live(), before) << "freed once, by its last owner; the emptied holder frees nothing";
}

}  // namespace

TEST(ComPtr, CopiesAndQueriesHoldReferencesOfTheirOwn)
{
    Plain* object = new Plain;
    auto held = ComPtr<IUnknown>::attach(object);
    ComPtr<IUnknown> copy = held;
    EXPECT_EQ(object->references(), 2u) << "a copy takes a reference of its own";
    EXPECT_EQ(held.queryInterface(IID_IUnknown, held), S_OK);
    EXPECT_EQ(object->referencesWhenAsked, 2u) << "a holder asked into itself lets go only after the answer";
    EXPECT_EQ(object->references(), 2u) << "one reference per holder";
    EXPECT_EQ(held.queryInterface(IID_IDispatch, copy), E_NOINTERFACE);
    EXPECT_FALSE(copy) << "a refused question leaves the target empty";
    EXPECT_EQ(object->references(), 1u) << "and releases what the target held";
    ComPtr<IPersist> persist;
    EXPECT_EQ(held.queryInterface(IID_IPersist, persist), E_NOINTERFACE);
    EXPECT_TRUE(!persist && object->references() == 1u) << "what a refusal left behind is neither taken nor released";
    object->answerWithoutObject(IID_IStream);
    ComPtr<IStream> stream;
    EXPECT_EQ(held.queryInterface(IID_IStream, stream), E_NOINTERFACE) << "\"yes\" without an object is no answer";
    EXPECT_FALSE(UniqueFile(INVALID_HANDLE_VALUE)) << "INVALID_HANDLE_VALUE is no file";
}

TEST(CQnBSTR, DoublesHaveSixDecimalsAndNoTextStaysNull)
{
    EXPECT_STREQ(CQnBSTR(0.93).narrow(), "0.930000");
    EXPECT_STREQ(CQnBSTR(-0.0000004).narrow(), "-0.000000") << "rounded like %f, sign kept";
    EXPECT_STREQ(CQnBSTR(1e20).narrow(), "100000000000000000000.000000") << "no exponent form";
    const CQnBSTR original(L"shared");
    EXPECT_EQ(CQnBSTR(original).narrow(), original.narrow()) << "copies share one buffer and its narrow text";
    EXPECT_EQ(CQnBSTR().narrow(), nullptr) << "no text: null";
    EXPECT_STREQ(CQnBSTR("").narrow(), "") << "an empty text is not a null one";
}
