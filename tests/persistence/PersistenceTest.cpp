// Persistence through the registered library, as a host drives it: the kit's
// recording host container over a compound document in memory, and a unit double
// with the persistence interfaces each test chooses. For every kind of component and
// every answer of the container: the result, the request, the calls, what the host is
// handed, the boxes and the bytes that reach the document; what becomes of the
// component's own failures; where a failure to work out the persistence goes.
#include <gtest/gtest.h>

#include "support/UniqueBstr.h"
#include "testkit/CapeDoubles.h"
#include "testkit/FileGuards.h"
#include "testkit/Library.h"
#include "testkit/MessageBoxDriver.h"

using namespace testkit;
using enum StorageAnswer;

namespace {

enum Kinds : unsigned { kNone = 0, kStorage = 1, kStream = 2, kStreamInit = 4 };
using Texts = std::vector<std::string>;

// What a test makes the object do with the component. Before a recall, the storage
// holds "saved before" in "Own" and (unless streamless) in "CAPEOPEN".
enum class Step { Save, InitNew, Recall, RecallHeldStream, RecallStreamless, RecallStreamlessQuietly };

void fill(IStorage* storage, const wchar_t* name)
{
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, storage->CreateStream(name, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.put()));
    ASSERT_EQ(S_OK, stream->Write("saved before", 12, nullptr)) << "the saved element is in place";
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gui) << "the registered library creates its object"; }
    void TearDown() override
    {
        gui = nullptr;
        EXPECT_EQ(1u, container->references()) << "the object gave the container (and its chain) back";
        for (const auto& each : components)
            EXPECT_EQ(1u, each->references()) << "the object gave the component back";
        container = nullptr;
        components.clear();
        EXPECT_EQ(0, liveDoubles()) << "every double is released";
    }

    // A component of the test's with the persistence interfaces of kinds, which answer
    // queryFailure instead when it is one; it outlives the object.
    UnitDouble& component(unsigned kinds, HRESULT queryFailure = S_OK)
    {
        UnitDouble& unit = *components.emplace_back(makeDouble<UnitDouble>()).get();
        for (auto [kind, iid] : {std::pair{kStorage, &IID_IPersistStorage}, {kStream, &IID_IPersistStream},
                                 {kStreamInit, &IID_IPersistStreamInit}})
            if (!(kinds & kind) || FAILED(queryFailure))
                unit.refuse(*iid, kinds & kind ? queryFailure : E_NOINTERFACE);
        return unit;
    }
    // setup (with the container, or none), then setComponent.
    HRESULT host(UnitDouble& unit, bool withContainer = true)
    {
        EXPECT_EQ(S_OK, gui->setup(0, withContainer ? container->asDispatch() : nullptr, 65536)) << "the host's setup";
        return gui->setComponent(ComPtr<IDispatch>(unit.dispatch()).detach());
    }
    // Before a save the storage holds what an earlier save left in "CAPEOPEN".
    HRESULT perform(Step step, UnitDouble& unit)
    {
        IStorage* storage = container->componentStorage();
        const bool recall = step != Step::Save && step != Step::InitNew;
        if (recall)
            fill(storage, L"Own");
        if (step == Step::Recall || step == Step::RecallHeldStream || step == Step::Save)
            fill(storage, L"CAPEOPEN");
        ComPtr<IStream> held;
        if (step == Step::RecallHeldStream)
            storage->OpenStream(L"CAPEOPEN", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, held.put());
        EXPECT_EQ(S_OK, host(unit)) << "the component is taken";
        if (step == Step::RecallStreamlessQuietly) {
            EXPECT_EQ(S_OK, gui->put_enableWarnings(1)) << "only VARIANT_TRUE (-1) enables: 1 disables warnings";
        }
        return step == Step::Save ? gui->saveStorage() : gui->loadStorage(recall ? VARIANT_TRUE : VARIANT_FALSE);
    }
    // The bytes of a stream of the component's storage as the library left it.
    std::string streamNow(const wchar_t* name)
    {
        ComPtr<IStream> stream;
        container->componentStorage()->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
        return contentOf(stream.get());
    }
    LONG persistType() const
    {
        LONG type = -1;
        EXPECT_EQ(S_OK, gui->getPersistType(&type)) << "the kept type is answered";
        return type;
    }

    TraceFileGuard trace;
    MessageBoxDriver boxes;
    ComPtr<HostContainer> container = makeDouble<HostContainer>();
    std::vector<ComPtr<UnitDouble>> components;
    ComPtr<ICCAPEGUI> gui = registeredObject();
};

// The result, storageRequest's argument (0: the host is not asked), the calls on the
// component, the message handed to the host and the box shown (null: none).
struct Outcome {
    HRESULT hr;
    long request;
    Texts calls;
    const wchar_t* toHost;
    const char* box;
};

const char kDenied[] = " ERROR: Unexpected error (0x80030005)";
const Outcome kSavedInStorage{S_OK, 18, {"Save", "SaveCompleted"}, nullptr, nullptr};
const Outcome kSavedInStream{S_OK, 18, {"Save"}, nullptr, nullptr};
const Outcome kNothingToSave{S_OK, 18, {}, nullptr, nullptr};
const Outcome kNoStorageToSave{E_FAIL, 18, {}, L"Error saving component through COM persistence", nullptr};
const Outcome kSaveDenied{STG_E_ACCESSDENIED, 18, {}, nullptr, kDenied};
const Outcome kInitialised{S_OK, 16, {"InitNew"}, nullptr, nullptr};
const Outcome kRecalled{S_OK, 16, {"Load"}, nullptr, nullptr};
const Outcome kNothingCalled{S_OK, 16, {}, nullptr, nullptr};
const Outcome kNotAsked{S_OK, 0, {}, nullptr, nullptr};
const Outcome kNoStorageToLoad{E_FAIL, 16, {}, L"Error loading component through COM persistence: ", nullptr};
const Outcome kLoadDenied{STG_E_ACCESSDENIED, 16, {}, nullptr, kDenied};

// A kind of component: getPersistType's answer (1 storage, 2 stream, 3 stream-init,
// 0 none); the outcomes of each step when the container answers with the storage,
// with anything that is not a storage, and with a failure; the committed "CAPEOPEN"
// stream after a save into the storage.
struct KindRow {
    unsigned kinds;
    LONG persistType;
    Outcome save[3], initNew[3], recall[3];
    const char* saved;
};

const KindRow kKinds[] = {
    {kStorage | kStream | kStreamInit, 1, {kSavedInStorage, kNoStorageToSave, kSaveDenied},
     {kInitialised, kNoStorageToLoad, kLoadDenied}, {kRecalled, kNoStorageToLoad, kLoadDenied}, ""},
    {kStreamInit | kStream, 3, {kSavedInStream, kNoStorageToSave, kSaveDenied},
     {kInitialised, kInitialised, kLoadDenied}, {kRecalled, kNoStorageToLoad, kLoadDenied}, "component data"},
    {kStream, 2, {kSavedInStream, kNoStorageToSave, kSaveDenied}, {kNothingCalled, kNothingCalled, kLoadDenied},
     {kRecalled, kNoStorageToLoad, kLoadDenied}, "component data"},
    {kNone, 0, {kNothingToSave, kNothingToSave, kSaveDenied}, {kNotAsked, kNotAsked, kNotAsked},
     {kNotAsked, kNotAsked, kNotAsked}, ""},
};

class StorageAnswers : public Persistence,
                       public ::testing::WithParamInterface<std::tuple<KindRow, StorageAnswer, Step>> {};

}  // namespace

TEST_P(StorageAnswers, GiveTheResultCallsMessagesAndBytesOfTheRow)
{
    const auto& [row, answer, step] = GetParam();
    const int column = answer == Storage ? 0 : answer == Failure ? 2 : 1;
    const Outcome& expected = (step == Step::Save ? row.save : step == Step::InitNew ? row.initNew : row.recall)[column];
    container->answer = answer;
    UnitDouble& unit = component(row.kinds);
    EXPECT_EQ(expected.hr, perform(step, unit)) << "the method's result";
    EXPECT_EQ(row.persistType, persistType()) << "the interface the component is kept with";
    EXPECT_EQ(expected.request ? std::vector<long>{expected.request} : std::vector<long>{}, container->requests)
        << "the storage asked of the host";
    EXPECT_EQ(expected.calls, unit.calls) << "the calls on the component";
    EXPECT_EQ(expected.calls == Texts{"Load"} ? "saved before" : "", unit.loaded)
        << "a recalled component reads the bytes of its storage";
    EXPECT_EQ(expected.toHost ? std::vector<std::wstring>{expected.toHost} : std::vector<std::wstring>{},
              container->messages)
        << "the failure handed to the host";
    if (expected.toHost) {
        EXPECT_NE(std::string::npos,
                  trace.added().find("(The host's container gave no storage for the component.: QnCOGUI11)"))
            << "the trace tells why: " << trace.added();
    }
    EXPECT_EQ(expected.box ? Texts{expected.box} : Texts{}, boxes.texts()) << "the boxes shown";
    if (step == Step::Save) {
        EXPECT_EQ(column == 0 && *row.saved ? row.saved : "saved before", streamNow(L"CAPEOPEN"))
            << "exactly the component's bytes, in place of the earlier ones";
        EXPECT_EQ("", streamNow(L"CAPEOPEN.new")) << "nothing beside them";
    }
}

std::string answerName(const ::testing::TestParamInfo<std::tuple<KindRow, StorageAnswer, Step>>& info)
{
    const char* kinds[] = {"NoPersistence", "Storage", "Stream", "StreamInit"};
    const char* answers[] = {"Storage", "Empty", "NullObject", "NotAStorage", "Integer", "Failure"};
    const char* steps[] = {"Save", "InitNew", "Recall"};
    return std::string(kinds[std::get<0>(info.param).persistType]) + "Component_" +
           answers[int(std::get<1>(info.param))] + "_" + steps[int(std::get<2>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Persistence, StorageAnswers,
                         ::testing::Combine(::testing::ValuesIn(kKinds),
                                            ::testing::Values(Storage, Empty, NullObject, NotAStorage, Integer, Failure),
                                            ::testing::Values(Step::Save, Step::InitNew, Step::Recall)),
                         answerName);

namespace {

constexpr HRESULT kLoadedAnyway = static_cast<HRESULT>(0x800A02E1);
const char kUpgraded[] = "CAPE-OPEN component of type 'Mixer' had been persisted using old CAPE-OPEN mechanism. It has "
                         "been succesfully upgraded to be saved through new COM Persistence.";

// What the component answers, the method's result, the calls on the component, the boxes.
struct ResultRow {
    const char* name;
    unsigned kinds;
    Step step;
    HRESULT componentResult, hr;
    Texts calls, boxes;
};

const ResultRow kResults[] = {
    {"StreamInitNewLoadedAnyway", kStreamInit, Step::InitNew, kLoadedAnyway, S_OK, {"InitNew"}, {}},
    {"StorageNewFails", kStorage, Step::InitNew, E_OUTOFMEMORY, E_OUTOFMEMORY, {"InitNew"},
     {" ERROR: Unexpected error initializing COM persistence (IPersistStorage)\nOut of memory.\r\n(0x8007000E)"}},
    {"StreamInitNewFails", kStreamInit, Step::InitNew, E_OUTOFMEMORY, E_OUTOFMEMORY, {"InitNew"},
     {" ERROR: Unexpected error initializing COM persistence (IPersistStreamInit)\nOut of memory.\r\n(0x8007000E)"}},
    {"StreamLoadedAnyway", kStream, Step::Recall, kLoadedAnyway, S_OK, {"Load"}, {}},
    {"StorageLoadedAnywayFails", kStorage, Step::Recall, kLoadedAnyway, kLoadedAnyway, {"Load"},
     {" ERROR: Unexpected error loading COM persistence (IPersistStorage)(0x800A02E1)"}},
    {"StreamDamaged", kStream, Step::Recall, STG_E_DOCFILECORRUPT, STG_E_DOCFILECORRUPT, {"Load"},
     {" ERROR: Unexpected error loading COM persistence (IPersistStream)(0x80030109)"}},
    {"StreamInitDamaged", kStreamInit, Step::Recall, STG_E_DOCFILECORRUPT, STG_E_DOCFILECORRUPT, {"Load"},
     {" ERROR: Unexpected error loading COM persistence (IPersistStreamInit)(0x80030109)"}},
    {"StreamHeldOpen", kStreamInit, Step::RecallHeldStream, S_OK, STG_E_ACCESSDENIED, {},
     {" ERROR: Unexpected error (0x80030005)"}},
    {"StreamSaveFails", kStream, Step::Save, STG_E_MEDIUMFULL, STG_E_MEDIUMFULL, {"Save"},
     {" ERROR: Unexpected error (0x80030070)"}},
    {"StorageSaveFails", kStorage, Step::Save, STG_E_MEDIUMFULL, STG_E_MEDIUMFULL, {"Save", "SaveCompleted"},
     {" ERROR: Unexpected error (0x80030070)"}},
    {"StreamlessUpgraded", kStreamInit, Step::RecallStreamless, S_OK, S_OK, {"InitNew"}, {kUpgraded}},
    {"StreamlessStreamUpgraded", kStream, Step::RecallStreamless, S_OK, S_OK, {}, {kUpgraded}},
    {"StreamlessUpgradedQuietly", kStreamInit, Step::RecallStreamlessQuietly, S_OK, S_OK, {"InitNew"}, {}},
    {"StreamlessUpgradeFails", kStreamInit, Step::RecallStreamless, E_OUTOFMEMORY, E_OUTOFMEMORY, {"InitNew"},
     {" ERROR: Unexpected error initializing COM persistence (IPersistStreamInit)\nOut of memory.\r\n(0x8007000E)",
      " ERROR: Unexpected error. Contact support\nOut of memory.\r\n(0x8007000E)"}},
};

class ComponentResults : public Persistence, public ::testing::WithParamInterface<ResultRow> {};

// A failure to work out the component's persistence goes to the host's container
// (after the chain of calls 11, 33, 21; the message, with the display name, cut at 511
// characters) and the trace, or to boxes when the host cannot be reached or has given
// no container. touchResult: what position 21 answers; hr: setComponent's result.
struct Route {
    const char* name;
    bool withContainer;
    HRESULT touchResult, hr;
    std::vector<int> calls;
    std::vector<long> zeros;
    std::vector<std::wstring> toHost;
    Texts boxes;
    const char* traced;
};

const std::wstring kLongAlias(500, L'a'), kHandedOver = L"Error saving component through COM persistence: ";
const Route kRoutes[] = {
    {"HandedToTheHost", true, S_OK, E_FAIL, {11, 33, 21, 12}, {0, 0},
     {(kHandedOver + kLongAlias).substr(0, 511)},
     {" ERROR: Unexpected error "}, " ERROR: Error saving component through COM persistence"},
    {"HostUnreachable", true, RPC_E_DISCONNECTED, RPC_E_DISCONNECTED, {11, 33, 21}, {0}, {},
     {" ERROR: Unexpected error (0x80010108)", " ERROR: Unexpected error (0x80010108)"}, "(0x80010108)"},
    {"NoContainer", false, S_OK, E_FAIL, {}, {}, {},
     {" ERROR: Error saving component through COM persistence", " ERROR: Unexpected error "},
     " ERROR: Error saving component through COM persistence"},
};

class FailureRoutes : public Persistence, public ::testing::WithParamInterface<Route> {};

}  // namespace

TEST_P(ComponentResults, AreReportedAsTheRowSays)
{
    const ResultRow& row = GetParam();
    UnitDouble& unit = component(row.kinds);
    unit.result = row.componentResult;
    ASSERT_EQ(S_OK, gui->setAlias(UniqueBstr(L"Mixer").get(), nullptr)) << "the component's display name";
    EXPECT_EQ(row.hr, perform(row.step, unit)) << "the method's result";
    EXPECT_EQ(row.calls, unit.calls) << "the calls on the component";
    EXPECT_EQ(row.boxes, boxes.texts()) << "the boxes shown";
    EXPECT_TRUE(container->messages.empty()) << "the component's own failures are not the host's";
    if (row.step == Step::Save) {
        EXPECT_EQ("saved before", streamNow(L"CAPEOPEN")) << "a failed save leaves the saved bytes as they were";
        EXPECT_EQ("", streamNow(L"CAPEOPEN.new")) << "and nothing beside them";
        EXPECT_EQ("", container->committedStream(L"CAPEOPEN")) << "a failed save reaches no document";
    }
}

INSTANTIATE_TEST_SUITE_P(Persistence, ComponentResults, ::testing::ValuesIn(kResults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(FailureRoutes, ReachTheHostOrTheUser)
{
    const Route& route = GetParam();
    UnitDouble& refusing = component(kStorage, E_UNEXPECTED);
    container->touchResult = route.touchResult;
    ASSERT_EQ(S_OK, gui->setAlias(UniqueBstr(kLongAlias.c_str()).get(), nullptr)) << "the component's display name";
    EXPECT_EQ(route.hr, host(refusing, route.withContainer)) << "setComponent's result";
    EXPECT_EQ(route.calls, container->calls) << "the host's positions called, in order";
    EXPECT_EQ(route.zeros, container->zeros) << "positions 21 and 12 are given 0";
    EXPECT_EQ(route.toHost, container->messages) << "the message handed over, cut at 511 characters";
    EXPECT_EQ(route.boxes, boxes.texts()) << "the boxes shown";
    EXPECT_NE(std::string::npos, trace.added().find(route.traced)) << "traced: " << trace.added();
}

INSTANTIATE_TEST_SUITE_P(Persistence, FailureRoutes, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Persistence, KeptTypeIgnoresLaterChangesAndAReplacedComponentIsGivenBack)
{
    UnitDouble& first = component(kStreamInit);
    ASSERT_EQ(S_OK, host(first)) << "a stream-init component is taken";
    first.refuse(IID_IPersistStreamInit);
    EXPECT_EQ(3, persistType()) << "worked out once, by setComponent";
    UnitDouble& second = component(kStream);
    ASSERT_EQ(S_OK, gui->setComponent(ComPtr<IDispatch>(second.dispatch()).detach())) << "a stream component";
    EXPECT_EQ(1u, first.references()) << "the reference to the replaced component is released";
    EXPECT_EQ(2, persistType()) << "the new component's own type";
    EXPECT_EQ(2u, second.references()) << "the handed-over reference is kept, no other";
}

TEST_F(Persistence, WithoutAContainerOnlyASaveComplains)
{
    UnitDouble& unit = component(kStreamInit);
    ASSERT_EQ(S_OK, host(unit, false)) << "a component is taken without a container";
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_FALSE)) << "nothing to initialise from is no failure";
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_TRUE)) << "nothing to recall from is no failure";
    EXPECT_EQ(Texts{}, unit.calls) << "nothing to load from: the component is left alone";
    EXPECT_EQ(OLE_E_NOSTORAGE, gui->saveStorage()) << "nowhere to save into";
    EXPECT_EQ(Texts{" ERROR: Error saving component through COM persistence: the host has given no container (setup) "
                    "to ask for the storage.(0x80040012)"},
              boxes.texts())
        << "the box says why";
}

TEST_F(Persistence, AComponentWhoseRecallFailedIsNotSavedOverWhatItCouldNotRead)
{
    UnitDouble& unit = component(kStreamInit);
    unit.result = STG_E_DOCFILECORRUPT;
    EXPECT_EQ(STG_E_DOCFILECORRUPT, perform(Step::Recall, unit)) << "the recall fails";
    unit.result = S_OK;
    EXPECT_EQ(E_ABORT, gui->saveStorage()) << "the save is refused";
    EXPECT_EQ("saved before", streamNow(L"CAPEOPEN")) << "the document keeps what the component could not read";
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ(" ERROR: Error saving component through COM persistence: the component could not be loaded from the "
              "document, so what it would save is not what the document holds; the saved state is kept.(0x80004004)",
              boxes.last().text);
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_FALSE)) << "initialised as new";
    EXPECT_EQ(S_OK, gui->saveStorage()) << "it has a state of its own to save";
    EXPECT_EQ((Texts{"Load", "InitNew", "Save"}), unit.calls);
}

TEST_F(Persistence, AComponentThatKeepsItsStreamOpenLeavesTheEarlierSaveInPlace)
{
    UnitDouble& unit = component(kStreamInit);
    unit.keepsStream = true;
    EXPECT_EQ(STG_E_ACCESSDENIED, perform(Step::Save, unit)) << "its bytes cannot take the saved ones' name";
    EXPECT_EQ("saved before", streamNow(L"CAPEOPEN")) << "the earlier save is kept";
    EXPECT_EQ(Texts{" ERROR: Unexpected error (0x80030005)"}, boxes.texts());
}

TEST_F(Persistence, ASaveAsksAgainForAPersistenceThatCouldNotBeLearnt)
{
    UnitDouble& unit = component(kStreamInit);
    unit.refuse(IID_IPersistStreamInit, E_UNEXPECTED, 0, 1);
    EXPECT_EQ(E_FAIL, host(unit)) << "the question failed once";
    EXPECT_EQ(S_OK, gui->saveStorage());
    EXPECT_EQ(Texts{"Save"}, unit.calls) << "the component is saved, not skipped";
}

TEST_F(Persistence, AHostThatLetsGoOfItsComponentsDuringTheHandOverStillGetsTheMessage)
{
    UnitDouble& refusing = component(kStorage, E_UNEXPECTED);
    container->misbehaving[21] = {Misbehaviour::CallsBack, nullptr, [&] { EXPECT_EQ(S_OK, gui->releaseComponents()); }};
    EXPECT_EQ(E_FAIL, host(refusing)) << "reported, the host still running";
    EXPECT_EQ(std::vector<std::wstring>{kHandedOver}, container->messages) << "the container held through its calls";
}
