#include <gtest/gtest.h>

#include "CountingObject.h"
#include "support/ComPtr.h"

TEST(ComPtr, HoldsOneReferenceForItsLifetime)
{
    CountingObject object;
    {
        ComPtr<IUnknown> held(&object);
        EXPECT_EQ(object.refs, 1u) << "taking a pointer adds a reference";
        ComPtr<IUnknown> copy = held;
        EXPECT_EQ(object.refs, 2u) << "a copy holds its own";
        copy = nullptr;
        EXPECT_EQ(object.refs, 1u) << "assigning null releases";
    }
    EXPECT_EQ(object.refs, 0u) << "destruction releases";

    object.AddRef();
    { auto adopted = ComPtr<IUnknown>::attach(&object); }
    EXPECT_EQ(object.refs, 0u) << "attach adopts the caller's reference without adding one";
}

TEST(ComPtr, DetachAndMoveHandTheReferenceOver)
{
    CountingObject object;
    ComPtr<IUnknown> held(&object);
    ComPtr<IUnknown> moved = std::move(held);
    EXPECT_FALSE(held) << "the source of a move is empty";
    EXPECT_EQ(object.refs, 1u) << "a move adds no reference";
    held = std::move(moved);
    EXPECT_EQ(object.refs, 1u);

    IUnknown* raw = held.detach();
    EXPECT_EQ(raw, &object);
    EXPECT_FALSE(held) << "detach empties the holder";
    EXPECT_EQ(object.refs, 1u) << "the caller now owns the reference";
    raw->Release();
}

TEST(ComPtr, PutReleasesTheOldReferenceBeforeTheCallFillsTheSlot)
{
    CountingObject first, second;
    ComPtr<IUnknown> held(&first);
    IUnknown** slot = held.put();
    EXPECT_EQ(first.refs, 0u) << "put releases what was held";
    EXPECT_EQ(*slot, nullptr) << "and hands out an empty slot";
    second.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(slot));
    EXPECT_EQ(held.get(), &second) << "the holder owns what the call stored";
    held = nullptr;
    EXPECT_EQ(second.refs, 0u);
}

TEST(ComPtr, QueryInterfaceFillsTheTargetOnlyWithTheAnswer)
{
    CountingObject object;
    ComPtr<IUnknown> held(&object);
    ComPtr<IUnknown> other;
    EXPECT_EQ(held.queryInterface(IID_IUnknown, other), S_OK);
    EXPECT_EQ(object.refs, 2u) << "the answer is a reference of its own";
    EXPECT_EQ(held.queryInterface(IID_IDispatch, other), E_NOINTERFACE);
    EXPECT_FALSE(other) << "a refused query leaves the target empty";
    EXPECT_EQ(object.refs, 1u) << "and releases what the target held";

    // Asking a holder to put the answer into itself must not release the object
    // before asking it.
    EXPECT_EQ(held.queryInterface(IID_IUnknown, held), S_OK);
    EXPECT_EQ(object.callsWhileReleased, 0) << "the object was asked while still referenced";
    EXPECT_EQ(object.refs, 1u) << "one reference for the one holder";

    ComPtr<IUnknown> none;
    EXPECT_EQ(none.queryInterface(IID_IUnknown, other), E_POINTER) << "an empty holder answers E_POINTER";
}
