#include <gtest/gtest.h>

#include "QnShowCOCATIDs11.h"

#include "ServerTestKit.h"
#include "support/ComPtr.h"

using namespace servertest;

namespace {

const CLSID kOtherClass = {0x12345678, 0x1234, 0x1234, {0x12, 0x34, 0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc}};

// An outer object that aggregates the library's object: counts its own references
// and records what it is asked for.
class Outer : public IUnknown {
public:
    ULONG references = 1;
    std::vector<IID> asked;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        asked.push_back(iid);
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown))
            return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

class EntryPoints : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dll.loaded());
        ASSERT_EQ(S_OK, dll.canUnloadNow()) << "no object of the library lives at the start";
    }
    ServerDll dll;
};

}  // namespace

TEST_F(EntryPoints, ClassObjectOnlyForTheLibrarysClass)
{
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, dll.getClassObject(kOtherClass, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out) << "the out pointer is cleared first";

    ComPtr<IClassFactory> first, second;
    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, first.putVoid()));
    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IUnknown, second.putVoid()));
    EXPECT_EQ(static_cast<IUnknown*>(first.get()), static_cast<IUnknown*>(second.get()))
        << "the class factory is made once and reused";
}

TEST_F(EntryPoints, CanUnloadNowOnlyWhenNoObjectNoFactoryAndNoLockLives)
{
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()));
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "a client holds the class factory";

    ComPtr<ICCAPEGUI> object;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_ICCAPEGUI, object.putVoid()));
    factory = nullptr;
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "an object lives";
    object = nullptr;
    EXPECT_EQ(S_OK, dll.canUnloadNow()) << "the last object is gone";

    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()));
    factory->LockServer(TRUE);
    factory = nullptr;
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "a server lock is held";
    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()));
    factory->LockServer(FALSE);
    factory = nullptr;
    EXPECT_EQ(S_OK, dll.canUnloadNow());

    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()));
    void* none = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &none));
    EXPECT_EQ(nullptr, none);
    factory = nullptr;
    EXPECT_EQ(S_OK, dll.canUnloadNow()) << "an object that did not have the interface asked for is gone";
}

TEST_F(EntryPoints, FactoryCreatesAnAggregatedObject)
{
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, dll.getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.putVoid()));
    Outer outer;

    void* refused = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_ICCAPEGUI, &refused))
        << "an outer object may only ask for the inner IUnknown";
    EXPECT_EQ(nullptr, refused);

    ComPtr<IUnknown> inner;
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, inner.putVoid()));
    EXPECT_EQ(1u, outer.references) << "creation takes no reference of the outer object";

    ICCAPEGUI* gui = nullptr;
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_ICCAPEGUI, reinterpret_cast<void**>(&gui)));
    EXPECT_EQ(2u, outer.references) << "the interface counts on the outer object";
    ComPtr<IUnknown> identity;
    EXPECT_EQ(S_OK, gui->QueryInterface(IID_IUnknown, identity.putVoid()));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.get()) << "the aggregated object's identity is the outer's";
    identity = nullptr;
    gui->Release();
    EXPECT_EQ(1u, outer.references);

    factory = nullptr;
    EXPECT_EQ(S_FALSE, dll.canUnloadNow());
    inner = nullptr;
    EXPECT_EQ(S_OK, dll.canUnloadNow()) << "releasing the inner unknown destroys the aggregated object";
}
