// Components that answer "success" with nothing, and machines without the CAPE-OPEN
// type library's interface names: explained, never a crash.
#include "HostFixture.h"

#include "CapeOpen.h"
#include "testkit/ComDouble.h"
#include "testkit/ServedClass.h"
#include "testkit/Texts.h"

using namespace testkit;

namespace {

// Answers the question for ICapeUnit with answer and leftover in the out parameter:
// "no" with another object, or "yes" with no object.
class AnswersBadly : public ComDouble<IDispatch> {
public:
    AnswersBadly(HRESULT answer, IUnknown* leftover) : answer_(answer), leftover_(leftover) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_ICapeUnit)
            return ComDouble::QueryInterface(iid, out);
        *out = leftover_;
        return answer_;
    }

private:
    HRESULT answer_;
    IUnknown* leftover_;
};

// A class registered as a unit operation whose object, asked for ICapeUnit (named without
// the type library's names), leaves another object behind in its failed answer or answers
// "yes" without an object. The box's text ("@": the ProgID).
struct NotAUnitRow {
    const char* name;
    int made;
    std::string box;
};
class NotAUnit : public Host, public ::testing::WithParamInterface<NotAUnitRow> {};

TEST_P(NotAUnit, IsRefusedNamedAndReleased)
{
    struct Bystander : ComDouble<IDispatch> {};
    ComPtr<Bystander> bystander = makeDouble<Bystander>();
    const Creator makes[] = {creatorOf<AnswersBadly>(E_NOINTERFACE, bystander->unknown()),
                             creatorOf<AnswersBadly>(S_OK, nullptr)};
    ServedClass unit({"QnTest.NotAUnit", {kUnitCatid}, {{"CapeVersion", "1.0"}}}, makes[GetParam().made]);
    ASSERT_FALSE(keyExists("Interface\\{678C0998-0100-11D2-A67D-00105A42887F}")) << "no name for ICapeUnit here";
    ComPtr<ICCAPEGUI> gui = libraryObject(kUnitsFilter);
    ASSERT_EQ(S_OK, gui->setProgIds(UniqueBstr(unit.progIdW().c_str()).get(), nullptr));
    IDispatch* component = reinterpret_cast<IDispatch*>(0x1);
    EXPECT_EQ(gui->createComp(&component, nullptr), E_NOINTERFACE) << "no unit is a failure of the creation";
    EXPECT_EQ(component, nullptr) << "the host gets nothing";
    ASSERT_EQ(driver.boxes().count(), 1u) << "the failure is explained once";
    const std::string& text = driver.boxes().last().text;
    EXPECT_EQ(0u, text.find(replaced(GetParam().box, {{"@", unit.progId()}})))
        << "the box says which interface is missing: " << text;
    gui = nullptr;
    EXPECT_EQ(bystander->references(), 1u) << "only a successful answer hands out a reference to release";
    bystander = nullptr;
    EXPECT_EQ(liveDoubles(), 0) << "the refused object has been released";
}

INSTANTIATE_TEST_SUITE_P(
    Host, NotAUnit,
    ::testing::Values(
        NotAUnitRow{"LeavesAnObjectBehind", 0,
                    " ERROR: The CAPE-OPEN component '@' does not implement the interface 'ICapeUnit'"},
        NotAUnitRow{"AnswersWithoutAnObject", 1, " ERROR: The CAPE-OPEN component '@' does not implement"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
