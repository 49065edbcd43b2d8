// Which persistence interface a component is kept with, and where a failure to work
// it out goes: to the host's container (call chain 11, 33, 21, then 12) and the
// trace, or, without a container, to a box.
#include "PersistenceFixture.h"

using namespace persisttest;

namespace {

LONG kept(ICCAPEGUI* gui)
{
    LONG type = -1;
    EXPECT_EQ(S_OK, gui->getPersistType(&type));
    return type;
}

}  // namespace

TEST_F(Persistence, StorageComesBeforeStreamInitAndStreamInitBeforeStream)
{
    const std::pair<unsigned, LONG> cases[] = {{kStorage | kStreamInit, 1}, {kStreamInit, 3}, {kStream, 2}, {0, 0}};
    for (const auto& [kinds, type] : cases) {
        EXPECT_EQ(S_OK, host(component(kinds)));
        EXPECT_EQ(type, kept(gui.get())) << "interfaces " << kinds;
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(Persistence, KeptTypeIgnoresLaterChangesAndAReplacedComponentIsGivenBack)
{
    PersistentDouble& first = component(kStreamInit);
    ASSERT_EQ(S_OK, host(first));
    first.kinds = kStorage;
    EXPECT_EQ(3, kept(gui.get())) << "worked out once, by setComponent";

    PersistentDouble& second = component(kStream);
    ASSERT_EQ(S_OK, gui->setComponent(second.handedOver()));
    EXPECT_EQ(1u, first.references) << "the reference to the replaced component is released";
    EXPECT_EQ(2, kept(gui.get()));
    EXPECT_EQ(2u, second.references) << "the handed-over reference is kept, no other";
}

TEST_F(Persistence, UnanswerableQuestionGoesToTheHostAndTheTrace)
{
    PersistentDouble& refusing = component(kStorage);
    refusing.queryFailure = E_UNEXPECTED;
    EXPECT_EQ(E_FAIL, host(refusing));
    EXPECT_EQ((std::vector<int>{11, 33, 21, 12}), container.calls) << "chain first, then the hand-over";
    EXPECT_EQ((std::vector<long>{0, 0}), container.arguments) << "positions 21 and 12 get 0";
    ASSERT_EQ(1u, container.messages.size());
    EXPECT_EQ(L"Error saving component through COM persistence: ", container.messages[0])
        << "with the display name, empty here";
    EXPECT_NE(std::string::npos, trace().find("Error saving component through COM persistence"));
    ASSERT_EQ(1u, boxes.count()) << "only setComponent's own report is a box";
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: Unexpected error ")) << boxes.last().text;
}

TEST_F(Persistence, FailureToReachTheHostIsABoxWithItsCode)
{
    PersistentDouble& refusing = component(kStorage);
    refusing.queryFailure = E_UNEXPECTED;
    container.touchResult = RPC_E_DISCONNECTED;
    EXPECT_EQ(RPC_E_DISCONNECTED, host(refusing));
    EXPECT_EQ((std::vector<int>{11, 33, 21}), container.calls);
    EXPECT_TRUE(container.messages.empty()) << "the chain failed: no hand-over";
    ASSERT_FALSE(boxes.boxes().empty());
    EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("Unexpected error ")) << boxes.boxes()[0].text;
    EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("(0x80010108)")) << boxes.boxes()[0].text;
}

TEST_F(Persistence, WithoutAContainerTheFailureIsABox)
{
    PersistentDouble& refusing = component(kStreamInit);
    refusing.queryFailure = E_UNEXPECTED;
    EXPECT_EQ(E_FAIL, host(refusing, false));
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ(" ERROR: Error saving component through COM persistence", boxes.boxes()[0].text)
        << "the text alone: the name goes only to a host";
    EXPECT_NE(std::string::npos, trace().find("Error saving component through COM persistence"));
}
