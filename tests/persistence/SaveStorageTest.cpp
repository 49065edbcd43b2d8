// saveStorage: the component's data into the storage the container hands over,
// through the interface it was kept with; every failure explained, nothing written
// through a storage that is not there.
#include "PersistenceFixture.h"

using namespace persisttest;

TEST_F(Persistence, StreamComponentFillsExactlyTheCAPEOPENStreamAndCommitsIt)
{
    PersistentDouble& unit = component(kStreamInit);
    ASSERT_EQ(S_OK, host(unit));
    ASSERT_EQ(S_OK, gui->saveStorage());
    EXPECT_EQ((std::vector<long>{18}), container.requests) << "the storage to save into";
    EXPECT_EQ("component data", container.committedStream(L"CAPEOPEN")) << "committed, nothing of our own around it";

    unit.data = "short";
    ASSERT_EQ(S_OK, gui->saveStorage());
    EXPECT_EQ("short", container.committedStream(L"CAPEOPEN")) << "the stream is replaced, not appended to";
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(Persistence, StorageComponentWritesItsOwnElementsAndIsToldTheSaveIsComplete)
{
    PersistentDouble& unit = component(kStorage | kStream);
    ASSERT_EQ(S_OK, host(unit));
    ASSERT_EQ(S_OK, gui->saveStorage());
    EXPECT_EQ(1, unit.saveCompletedCalls);
    ComPtr<IStream> own;
    EXPECT_EQ(S_OK, container.componentStorage()->OpenStream(L"Own", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                                             own.put()));
    ComPtr<IStream> ours;
    EXPECT_EQ(STG_E_FILENOTFOUND, container.componentStorage()->OpenStream(L"CAPEOPEN", nullptr,
                                                                           STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                                                           ours.put()));
}

TEST_F(Persistence, NothingToPersistStillAsksForTheStorageAndWritesNothing)
{
    ASSERT_EQ(S_OK, host(component(0)));
    EXPECT_EQ(S_OK, gui->saveStorage());
    EXPECT_EQ((std::vector<int>{20}), container.calls);
    EXPECT_EQ("", container.committedStream(L"CAPEOPEN"));
}

TEST_F(Persistence, FailingSaveIsShownWithItsCodeAndNotCommitted)
{
    PersistentDouble& unit = component(kStream);
    unit.saveResult = STG_E_MEDIUMFULL;
    ASSERT_EQ(S_OK, host(unit));
    EXPECT_EQ(STG_E_MEDIUMFULL, gui->saveStorage());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: Unexpected error ")) << boxes.last().text;
    EXPECT_NE(std::string::npos, boxes.last().text.find("(0x80030070)"));
    EXPECT_TRUE(container.messages.empty()) << "a returned failure is not the host's";
    EXPECT_EQ("", container.committedStream(L"CAPEOPEN")) << "nothing reached the document";
}

TEST_F(Persistence, MissingStorageIsRaisedToTheHostAndNothingIsCalledWithIt)
{
    for (Answer answer : {Answer::Empty, Answer::NullObject, Answer::NotAStorage, Answer::Integer}) {
        container.answer = answer;
        container.messages.clear();
        boxes.clear();
        PersistentDouble& unit = component(kStorage);
        ASSERT_EQ(S_OK, host(unit));
        EXPECT_EQ(E_FAIL, gui->saveStorage()) << "answer " << static_cast<int>(answer);
        EXPECT_EQ(0, unit.saveCalls) << "a component is never handed a storage that is not there";
        ASSERT_EQ(1u, container.messages.size());
        EXPECT_EQ(L"Error saving component through COM persistence", container.messages[0]);
        EXPECT_EQ(0u, boxes.count()) << "the host shows it";
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_NE(std::string::npos, trace().find("The host's container gave no storage for the component."))
        << "the trace says why";
}

TEST_F(Persistence, HostThatCannotGiveAStorageOrHasNoContainerGetsAClearError)
{
    container.requestResult = STG_E_ACCESSDENIED;
    ASSERT_EQ(S_OK, host(component(kStream)));
    EXPECT_EQ(STG_E_ACCESSDENIED, gui->saveStorage());
    EXPECT_TRUE(shown("(0x80030005)"));

    boxes.clear();
    EXPECT_EQ(S_OK, gui->releaseComponents());
    ASSERT_EQ(S_OK, host(component(kStream), false));
    EXPECT_EQ(OLE_E_NOSTORAGE, gui->saveStorage());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.last().text.find("the host has given no container")) << boxes.last().text;
}
