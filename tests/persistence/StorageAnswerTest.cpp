// saveStorage and loadStorage for every kind of component against every answer the
// host's container may give to the storage request: the result, the request, the
// calls on the component, what the host is handed, the boxes, and the bytes that
// reach the host's document.
#include "PersistenceFixture.h"

using namespace persisttest;
using enum testkit::StorageAnswer;

namespace {

// The result, storageRequest's argument (0: the host is not asked), the calls on the
// component, the message handed to the host and the box shown (null: none).
struct Outcome {
    HRESULT hr; long request; const char* calls; const wchar_t* toHost; const char* box;
};

const char kDenied[] = " ERROR: Unexpected error (0x80030005)";
constexpr Outcome kSavedInStorage{S_OK, 18, "Save SaveCompleted", nullptr, nullptr};
constexpr Outcome kSavedInStream{S_OK, 18, "Save", nullptr, nullptr};
constexpr Outcome kNothingToSave{S_OK, 18, "", nullptr, nullptr};
constexpr Outcome kNoStorageToSave{E_FAIL, 18, "", L"Error saving component through COM persistence", nullptr};
constexpr Outcome kSaveDenied{STG_E_ACCESSDENIED, 18, "", nullptr, kDenied};
constexpr Outcome kInitialised{S_OK, 16, "InitNew", nullptr, nullptr};
constexpr Outcome kRecalled{S_OK, 16, "Load", nullptr, nullptr};
constexpr Outcome kNothingCalled{S_OK, 16, "", nullptr, nullptr};
constexpr Outcome kNotAsked{S_OK, 0, "", nullptr, nullptr};
constexpr Outcome kNoStorageToLoad{E_FAIL, 16, "", L"Error loading component through COM persistence: ", nullptr};
constexpr Outcome kLoadDenied{STG_E_ACCESSDENIED, 16, "", nullptr, kDenied};

// persistType: getPersistType's answer (1 storage, 2 stream, 3 stream-init, 0 none);
// saved: the committed "CAPEOPEN" stream after saveStorage.
struct Row {
    unsigned kinds; testkit::StorageAnswer answer; LONG persistType; Outcome save, initNew, recall; const char* saved;
};

constexpr unsigned kStorageFirst = kStorage | kStream | kStreamInit, kStreamInitFirst = kStreamInit | kStream;

const Row kRows[] = {
    {kStorageFirst, Storage, 1, kSavedInStorage, kInitialised, kRecalled, ""},
    {kStorageFirst, Empty, 1, kNoStorageToSave, kNoStorageToLoad, kNoStorageToLoad, ""},
    {kStorageFirst, NullObject, 1, kNoStorageToSave, kNoStorageToLoad, kNoStorageToLoad, ""},
    {kStorageFirst, NotAStorage, 1, kNoStorageToSave, kNoStorageToLoad, kNoStorageToLoad, ""},
    {kStorageFirst, Integer, 1, kNoStorageToSave, kNoStorageToLoad, kNoStorageToLoad, ""},
    {kStorageFirst, Failure, 1, kSaveDenied, kLoadDenied, kLoadDenied, ""},
    {kStreamInitFirst, Storage, 3, kSavedInStream, kInitialised, kRecalled, "component data"},
    {kStreamInitFirst, Empty, 3, kNoStorageToSave, kInitialised, kNoStorageToLoad, ""},
    {kStreamInitFirst, NullObject, 3, kNoStorageToSave, kInitialised, kNoStorageToLoad, ""},
    {kStreamInitFirst, NotAStorage, 3, kNoStorageToSave, kInitialised, kNoStorageToLoad, ""},
    {kStreamInitFirst, Integer, 3, kNoStorageToSave, kInitialised, kNoStorageToLoad, ""},
    {kStreamInitFirst, Failure, 3, kSaveDenied, kLoadDenied, kLoadDenied, ""},
    {kStream, Storage, 2, kSavedInStream, kNothingCalled, kRecalled, "component data"},
    {kStream, Empty, 2, kNoStorageToSave, kNothingCalled, kNoStorageToLoad, ""},
    {kStream, NullObject, 2, kNoStorageToSave, kNothingCalled, kNoStorageToLoad, ""},
    {kStream, NotAStorage, 2, kNoStorageToSave, kNothingCalled, kNoStorageToLoad, ""},
    {kStream, Integer, 2, kNoStorageToSave, kNothingCalled, kNoStorageToLoad, ""},
    {kStream, Failure, 2, kSaveDenied, kLoadDenied, kLoadDenied, ""},
    {kNone, Storage, 0, kNothingToSave, kNotAsked, kNotAsked, ""},
    {kNone, Empty, 0, kNothingToSave, kNotAsked, kNotAsked, ""},
    {kNone, NullObject, 0, kNothingToSave, kNotAsked, kNotAsked, ""},
    {kNone, NotAStorage, 0, kNothingToSave, kNotAsked, kNotAsked, ""},
    {kNone, Integer, 0, kNothingToSave, kNotAsked, kNotAsked, ""},
    {kNone, Failure, 0, kSaveDenied, kNotAsked, kNotAsked, ""},
};

class StorageAnswers : public Persistence, public ::testing::WithParamInterface<std::tuple<Row, Step>> {};

TEST_P(StorageAnswers, GiveTheResultCallsMessagesAndBytesOfTheRow)
{
    const auto& [row, step] = GetParam();
    const Outcome& expected = step == Step::Save ? row.save : step == Step::InitNew ? row.initNew : row.recall;
    container->answer = row.answer;
    PersistentComponent& unit = component(row.kinds);
    EXPECT_EQ(expected.hr, perform(step, unit)) << "the method's result";
    LONG type = -1;
    EXPECT_EQ(S_OK, gui->getPersistType(&type)) << "the kept type is answered";
    EXPECT_EQ(row.persistType, type) << "the interface the component is kept with";
    EXPECT_EQ(expected.request ? std::vector<long>{expected.request} : std::vector<long>{}, container->requests)
        << "the storage asked of the host";
    EXPECT_EQ(expected.calls, unit.calls) << "the calls on the component";
    EXPECT_EQ(std::string(expected.calls) == "Load" ? "saved before" : "", unit.loaded)
        << "a recalled component reads the bytes of its storage";
    EXPECT_EQ(expected.toHost ? std::vector<std::wstring>{expected.toHost} : std::vector<std::wstring>{},
              container->messages)
        << "the failure handed to the host";
    if (expected.toHost) {
        EXPECT_NE(std::string::npos,
                  trace.added().find("(The host's container gave no storage for the component.: QnCOGUI11)"))
            << "the trace tells why: " << trace.added();
    }
    EXPECT_EQ(expected.box ? std::vector<std::string>{expected.box} : std::vector<std::string>{}, boxTexts())
        << "the boxes shown";
    if (step == Step::Save) {
        EXPECT_EQ(row.saved, container->committedStream(L"CAPEOPEN")) << "exactly the component's bytes, committed";
    }
}

std::string rowName(const ::testing::TestParamInfo<std::tuple<Row, Step>>& info)
{
    const Row& row = std::get<0>(info.param);
    const char* kinds[] = {"NoPersistence", "Storage", "Stream", "StreamInit"};
    const char* answers[] = {"Storage", "Empty", "NullObject", "NotAStorage", "Integer", "Failure"};
    const char* steps[] = {"Save", "InitNew", "Recall"};
    return std::string(kinds[row.persistType]) + "Component_" + answers[static_cast<int>(row.answer)] + "_" +
           steps[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Persistence, StorageAnswers,
                         ::testing::Combine(::testing::ValuesIn(kRows),
                                            ::testing::Values(Step::Save, Step::InitNew, Step::Recall)),
                         rowName);

}  // namespace
