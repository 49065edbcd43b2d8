// loadStorage: a new component initialised, a saved one recalled from the storage
// the container hands over, one saved without a "CAPEOPEN" stream upgraded.
#include "PersistenceFixture.h"

#include "support/AnsiText.h"

using namespace persisttest;

namespace {

constexpr HRESULT kLoadedAnyway = static_cast<HRESULT>(0x800A02E1);
constexpr const char* kUpgraded = "had been persisted using old CAPE-OPEN mechanism. It has been succesfully upgraded";

void writeStream(IStorage* storage, const wchar_t* name, const std::string& bytes)
{
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, storage->CreateStream(name, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                          stream.put()));
    ASSERT_EQ(S_OK, stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr));
}

std::string streamIn(IStorage* storage, const wchar_t* name)
{
    ComPtr<IStream> stream;
    if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        return {};
    return contentOf(stream.get());
}

}  // namespace

TEST_F(Persistence, LoadingWithoutContainerOrPersistenceDoesNothing)
{
    PersistentDouble& unit = component(kStreamInit);
    ASSERT_EQ(S_OK, host(unit, false));
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_TRUE));
    EXPECT_EQ(S_OK, gui->releaseComponents());
    ASSERT_EQ(S_OK, host(component(0)));
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_TRUE));
    EXPECT_TRUE(container.calls.empty()) << "not even the storage is asked for";
    EXPECT_EQ(0, unit.initNewCalls + unit.loadCalls);
}

TEST_F(Persistence, NewComponentIsInitialisedThroughItsInterface)
{
    PersistentDouble& streamInit = component(kStreamInit);
    streamInit.initNewResult = kLoadedAnyway;
    ASSERT_EQ(S_OK, host(streamInit));
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_FALSE)) << "0x800A02E1 from InitNew counts as success";
    EXPECT_EQ(1, streamInit.initNewCalls);
    EXPECT_EQ((std::vector<long>{16}), container.requests) << "the storage to load from";

    EXPECT_EQ(S_OK, gui->releaseComponents());
    PersistentDouble& stream = component(kStream);
    ASSERT_EQ(S_OK, host(stream));
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_FALSE));
    EXPECT_EQ(0, stream.initNewCalls + stream.loadCalls) << "IPersistStream has no InitNew: nothing is called";

    EXPECT_EQ(S_OK, gui->releaseComponents());
    PersistentDouble& storage = component(kStorage);
    storage.initNewResult = E_OUTOFMEMORY;
    ASSERT_EQ(S_OK, host(storage));
    EXPECT_EQ(E_OUTOFMEMORY, gui->loadStorage(VARIANT_FALSE));
    EXPECT_EQ(1, storage.initNewCalls);
    EXPECT_TRUE(shown("Unexpected error initializing COM persistence (IPersistStorage)"));
}

TEST_F(Persistence, RecallHandsTheComponentItsOwnBytes)
{
    writeStream(container.componentStorage(), L"CAPEOPEN", "saved before");
    PersistentDouble& unit = component(kStreamInit);
    unit.loadResult = kLoadedAnyway;
    ASSERT_EQ(S_OK, host(unit));
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_TRUE)) << "0x800A02E1 from a stream Load counts as success";
    EXPECT_EQ("saved before", unit.loaded);
    EXPECT_EQ(0, unit.initNewCalls);
    EXPECT_EQ(0u, boxes.count());

    EXPECT_EQ(S_OK, gui->releaseComponents());
    writeStream(container.componentStorage(), L"Own", "own element");
    PersistentDouble& storage = component(kStorage);
    storage.loadResult = kLoadedAnyway;
    ASSERT_EQ(S_OK, host(storage));
    EXPECT_EQ(kLoadedAnyway, gui->loadStorage(VARIANT_TRUE)) << "from IPersistStorage::Load it is a failure";
    EXPECT_EQ("own element", storage.loaded);
    EXPECT_TRUE(shown("Unexpected error loading COM persistence (IPersistStorage)"));
}

TEST_F(Persistence, StreamlessStorageIsUpgradedToANewComponent)
{
    for (VARIANT_BOOL warnings : {VARIANT_TRUE, VARIANT_FALSE}) {
        boxes.clear();
        PersistentDouble& unit = component(kStreamInit);
        ASSERT_EQ(S_OK, host(unit));
        ASSERT_EQ(S_OK, gui->put_enableWarnings(warnings));
        EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_TRUE));
        EXPECT_EQ(1, unit.initNewCalls);
        EXPECT_EQ(0, unit.loadCalls);
        if (warnings == VARIANT_TRUE) {
            ASSERT_EQ(1u, boxes.count());
            EXPECT_EQ("CAPE-OPEN component of type '' had been persisted using old CAPE-OPEN mechanism. It has been "
                      "succesfully upgraded to be saved through new COM Persistence.",
                      boxes.last().text);
            EXPECT_EQ("", boxes.last().caption);
            EXPECT_TRUE(boxes.last().hasIcon) << "an information box";
        } else {
            EXPECT_EQ(0u, boxes.count()) << "no box when warnings are disabled";
        }
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_EQ(std::string::npos, trace().find(kUpgraded)) << "the upgrade is not traced";
}

TEST_F(Persistence, DamagedOrUnreadableStreamStopsTheLoadAndTouchesNothingElse)
{
    IStorage* storage = container.componentStorage();
    writeStream(storage, L"CAPEOPEN", "garbage");
    writeStream(storage, L"Other", "the host's");
    PersistentDouble& unit = component(kStream);
    unit.loadResult = STG_E_DOCFILECORRUPT;
    ASSERT_EQ(S_OK, host(unit));
    EXPECT_EQ(STG_E_DOCFILECORRUPT, gui->loadStorage(VARIANT_TRUE));
    EXPECT_EQ(0, unit.initNewCalls) << "a damaged stream is no reason to start anew";
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: Unexpected error loading COM persistence (IPersistStream)"))
        << boxes.last().text;
    EXPECT_EQ("the host's", streamIn(storage, L"Other")) << "the rest of the storage is untouched";
    EXPECT_EQ("garbage", streamIn(storage, L"CAPEOPEN"));

    // A stream that cannot be opened (someone holds it open): the load stops there.
    boxes.clear();
    EXPECT_EQ(S_OK, gui->releaseComponents());
    ComPtr<IStream> held;
    ASSERT_EQ(S_OK, storage->OpenStream(L"CAPEOPEN", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, held.put()));
    PersistentDouble& other = component(kStreamInit);
    ASSERT_EQ(S_OK, host(other));
    EXPECT_EQ(STG_E_ACCESSDENIED, gui->loadStorage(VARIANT_TRUE));
    EXPECT_EQ(0, other.loadCalls + other.initNewCalls) << "the component is not asked to load";
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: Unexpected error ")) << boxes.last().text;
}
