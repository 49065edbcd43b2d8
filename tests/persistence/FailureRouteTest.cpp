// Where a failure to work out the component's persistence goes: to the host's
// container (after the chain of calls 11, 33, 21) and the trace, or to boxes when
// the host cannot be reached or has given no container. The container the object
// asks for, and the references it keeps.
#include "PersistenceFixture.h"

using namespace persisttest;

namespace {

// touchResult: what the host's position 21 answers; hr: setComponent's result; calls: the
// host's positions called; zeros: the integers given; traced: a piece of the trace.
struct Route {
    const char* name; bool withContainer; HRESULT touchResult, hr; std::vector<int> calls; std::vector<long> zeros;
    std::vector<std::wstring> toHost; std::vector<std::string> boxes; const char* traced;
};

const Route kRoutes[] = {
    {"HandedToTheHost", true, S_OK, E_FAIL, {11, 33, 21, 12}, {0, 0},
     {L"Error saving component through COM persistence: "}, {" ERROR: Unexpected error "},
     " ERROR: Error saving component through COM persistence"},
    {"HostUnreachable", true, RPC_E_DISCONNECTED, RPC_E_DISCONNECTED, {11, 33, 21}, {0}, {},
     {" ERROR: Unexpected error (0x80010108)", " ERROR: Unexpected error (0x80010108)"}, "(0x80010108)"},
    {"NoContainer", false, S_OK, E_FAIL, {}, {}, {},
     {" ERROR: Error saving component through COM persistence", " ERROR: Unexpected error "},
     " ERROR: Error saving component through COM persistence"},
};

void PrintTo(const Route& route, std::ostream* out) { *out << route.name; }

class FailureRoutes : public Persistence, public ::testing::WithParamInterface<Route> {};

TEST_P(FailureRoutes, ReachTheHostOrTheUser)
{
    const Route& route = GetParam();
    PersistentComponent& refusing = component(kStorage);
    refusing.queryFailure = E_UNEXPECTED;
    container->touchResult = route.touchResult;
    EXPECT_EQ(route.hr, host(refusing, route.withContainer)) << "setComponent's result";
    EXPECT_EQ(route.calls, container->calls) << "the host's positions called, in order";
    EXPECT_EQ(route.zeros, container->zeros) << "positions 21 and 12 are given 0";
    EXPECT_EQ(route.toHost, container->messages) << "the message handed over, with the (empty) display name";
    EXPECT_EQ(route.boxes, boxTexts()) << "the boxes shown";
    EXPECT_NE(std::string::npos, trace.added().find(route.traced)) << "traced: " << trace.added();
}

INSTANTIATE_TEST_SUITE_P(Persistence, FailureRoutes, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Persistence, KeptTypeIgnoresLaterChangesAndAReplacedComponentIsGivenBack)
{
    PersistentComponent& first = component(kStreamInit);
    ASSERT_EQ(S_OK, host(first)) << "a stream-init component is taken";
    first.kinds = kStorage;
    LONG type = -1;
    EXPECT_EQ(S_OK, gui->getPersistType(&type)) << "the kept type is answered";
    EXPECT_EQ(3, type) << "worked out once, by setComponent";

    PersistentComponent& second = component(kStream);
    ASSERT_EQ(S_OK, gui->setComponent(second.handedOver())) << "a stream component is taken";
    EXPECT_EQ(1u, first.references()) << "the reference to the replaced component is released";
    EXPECT_EQ(S_OK, gui->getPersistType(&type)) << "the kept type is answered";
    EXPECT_EQ(2, type) << "the new component's own type";
    EXPECT_EQ(2u, second.references()) << "the handed-over reference is kept, no other";
}

TEST_F(Persistence, WithoutAContainerOnlyASaveComplains)
{
    PersistentComponent& unit = component(kStreamInit);
    ASSERT_EQ(S_OK, host(unit, false)) << "a component is taken without a container";
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_FALSE)) << "nothing to initialise from is no failure";
    EXPECT_EQ(S_OK, gui->loadStorage(VARIANT_TRUE)) << "nothing to recall from is no failure";
    EXPECT_EQ("", unit.calls) << "nothing to load from: the component is left alone";
    EXPECT_EQ(OLE_E_NOSTORAGE, gui->saveStorage()) << "nowhere to save into";
    EXPECT_EQ(std::vector<std::string>{" ERROR: Error saving component through COM persistence: the host has given "
                                       "no container (setup) to ask for the storage.(0x80040012)"},
              boxTexts())
        << "the box says why";
}

TEST_F(Persistence, ContainerIsAskedForTheHostInterfaceOfTheCategory)
{
    EXPECT_EQ(S_OK, gui->setup(0, container->asDispatch(), 32)) << "a container for unit operations";
    EXPECT_TRUE(container->wasAskedFor(IID_ExtnUnitOperationContainer)) << "unit operations: their own interface";
    EXPECT_FALSE(container->wasAskedFor(IID_ExtnContainer)) << "nor the other host interface";
    auto other = testkit::makeDouble<testkit::HostContainer>();
    EXPECT_EQ(S_OK, gui->setup(0, other->asDispatch(), 65536)) << "a container for other components";
    EXPECT_TRUE(other->wasAskedFor(IID_ExtnContainer)) << "any other category: ExtnContainer";
    EXPECT_FALSE(other->wasAskedFor(IID_ExtnUnitOperationContainer)) << "nor the unit operations' interface";
    EXPECT_EQ(1u, container->references()) << "the earlier container is given back";
}

}  // namespace
