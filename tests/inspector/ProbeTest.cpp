// The interface probe: its lines and messages for components served by this process, the
// references it lets go, and the probe as the user meets it: a right click in the tree.
#include <gtest/gtest.h>

#include <algorithm>

#include "ComponentManager.h"
#include "inspector/InterfaceProbe.h"
#include "testkit/ServedClass.h"

namespace {

struct RecordedOutput final : ProbeOutput {
    Lines lines, messages;
    void appendLine(const std::string& line) override { lines.push_back(line); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

// The probe's fifteen lines, in its order, when the interfaces named answer.
Lines probeLines(const Lines& answered)
{
    Lines lines;
    for (const std::string name :
         {"IUnknown", "IDispatch", "ICapeIdentification", "ICapeParameterSpec", "ICapeRealParameterSpec",
          "ICapeIntegerParameterSpec", "ICapeOptionSpec", "ICapeParameter", "ICapeThermoReliability", "ICapeUnit",
          "ICapeUnitEdit", "ICapeUnitPort", "ICapeUnitCollection", "ICapeUnitReport", "ICapeThermoPropertyPackageManager"})
        lines.push_back("QI( " + name + (std::ranges::count(answered, name) ? " ) succeeded" : " ) failed"));
    return lines;
}

// Interfaces as braced identifiers, with the answer to the question for each.
using IIDs = std::vector<std::pair<std::wstring, HRESULT>>;

// A component that answers IUnknown, IDispatch and, with its code (S_OK: with itself),
// each interface of answers.
class ProbedDouble final : public testkit::ComDouble<IDispatch> {
public:
    explicit ProbedDouble(IIDs answers) : answers_(std::move(answers)) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        wchar_t text[40] = {};
        StringFromGUID2(iid, text, 40);
        for (const auto& [answered, code] : answers_)
            if (answered == text && out) {
                *out = code == S_OK ? static_cast<IDispatch*>(this) : nullptr;
                return code == S_OK ? (AddRef(), S_OK) : code;
            }
        return ComDouble::QueryInterface(iid, out);
    }

private:
    IIDs answers_;
};

// Published identifiers, and drafts: of ICapeUnitEdit, which was never published, and
// of the interfaces that kept theirs.
const IIDs kPublished = {
    {L"{678C099C-0093-11D2-A67D-00105A42887F}", S_OK}, {L"{678C099D-0093-11D2-A67D-00105A42887F}", S_OK},
    {L"{678C099E-0093-11D2-A67D-00105A42887F}", S_OK}, {L"{678C099F-0093-11D2-A67D-00105A42887F}", S_OK},
    {L"{678C09A0-0093-11D2-A67D-00105A42887F}", S_OK}, {L"{678C0998-0100-11D2-A67D-00105A42887F}", S_OK},
    {L"{678C0A9A-0093-11D2-A67D-00105A42887F}", S_OK}, {L"{678C0999-0093-11D2-A67D-00105A42887F}", S_OK},
    {L"{678C099A-0093-11D2-A67D-00105A42887F}", S_OK}, {L"{678C099B-0093-11D2-A67D-00105A42887F}", S_OK}};
const IIDs kDrafts = {
    {L"{678C0990-7D66-11D2-A67D-00105A42887F}", S_OK}, {L"{678C0992-7D66-11D2-A67D-00105A42887F}", S_OK},
    {L"{678C0A9A-7D66-11D2-A67D-00105A42887F}", S_OK}, {L"{678C0AA2-7D66-11D2-A67D-00105A42887F}", S_OK}};
// Failures other than E_NOINTERFACE still say that the component knows the interface.
const IIDs kFailures = {{L"{00020400-0000-0000-C000-000000000046}", E_NOINTERFACE},
                        {L"{678C09A0-7D66-11D2-A67D-00105A42887F}", E_ACCESSDENIED},
                        {L"{678C0998-0100-11D2-A67D-00105A42887F}", E_FAIL}};

struct ProbeRow {
    const char* name;
    testkit::Creator create;  // of the class served for the row
    Lines succeeded;
    // For a component not created: the message before its ProgID, and the creation's box after
    // "Error creating interface 'IUnknown' for class '<its ProgID>".
    std::string message = {}, box = {};
};

}  // namespace

class InterfaceProbe : public ::testing::TestWithParam<ProbeRow> {};

TEST_P(InterfaceProbe, ListsFifteenLinesOfWhichTheAnsweredOnesSucceededOrOneMessage)
{
    const ProbeRow& row = GetParam();
    testkit::DialogDriver driver;
    const testkit::ServedClass served({"QnTest.Probed", {}, {}}, row.create);
    const std::string& progId = served.progId();
    RecordedOutput output;
    probeComponentInterfaces(progId, nullptr, output);
    EXPECT_EQ(output.lines, row.message.empty() ? probeLines(row.succeeded) : Lines{})
        << "fifteen lines for a created component, the answered interfaces succeeded; none otherwise";
    EXPECT_EQ(output.messages, row.message.empty() ? Lines{} : Lines{row.message + progId})
        << "one message for a component that is not created";
    EXPECT_EQ(driver.boxes().texts(),
              row.box.empty() ? Lines{} : Lines{"Error creating interface 'IUnknown' for class '" + progId + row.box})
        << "a failed creation explains itself first";
    EXPECT_EQ(testkit::liveDoubles(), 0) << "the component and every interface it gave are released";
}

INSTANTIATE_TEST_SUITE_P(
    Probe, InterfaceProbe,
    ::testing::Values(
        ProbeRow{"DraftIdentifiers", testkit::creatorOf<ProbedDouble>(kDrafts),
                 {"IUnknown", "IDispatch", "ICapeIdentification", "ICapeThermoReliability", "ICapeUnitEdit",
                  "ICapeThermoPropertyPackageManager"}},
        ProbeRow{"FailuresOtherThanNoInterface", testkit::creatorOf<ProbedDouble>(kFailures),
                 {"IUnknown", "ICapeParameter", "ICapeUnit"}},
        ProbeRow{"FailingCreation", testkit::failingCreator(0x80040503, L"No licence"), {},
                 "Unexpected error while instantiating ",
                 "' context 23\n<No system message defined> severity: SEVERITY_ERROR, facility: FACILITY_ITF "
                 "($80040503)"}),
    [](const auto& info) { return std::string(info.param.name); });

using testkit::TreeView;

TEST(ProbeInTheTree, RightClickAppendsTheLinesUnderTheComponentOnEveryClickAndNothingElsewhere)
{
    // A unit that answers the published identifiers only.
    const testkit::ServedClass unit({"QnTest.ProbedUnit", {kUnitCatid}, {}},
                                    testkit::creatorOf<ProbedDouble>(kPublished));
    const testkit::LabelPath path = {kUnitsCategory, unit.progId()};
    const Lines lines = probeLines({"IUnknown", "IDispatch", "ICapeParameterSpec", "ICapeRealParameterSpec",
                                    "ICapeIntegerParameterSpec", "ICapeOptionSpec", "ICapeParameter", "ICapeUnit",
                                    "ICapeUnitPort", "ICapeUnitCollection", "ICapeUnitReport"});
    ComponentManagerRun run(32);
    run([&](HWND dialog) {
        TreeView tree(dialog);
        tree.rightClick(path);
        const testkit::TreeNode probed = tree.node(path);
        EXPECT_EQ(probed.childLabels(), lines) << "the fifteen lines in table order";
        EXPECT_TRUE(probed.expanded) << "the new lines are scrolled into view";

        tree.rightClick(path);
        const Lines twice = tree.labels(path);
        EXPECT_EQ(Lines(twice.begin() + std::min<size_t>(twice.size(), 15), twice.end()), lines) << "and again";

        const size_t units = tree.labels({kUnitsCategory}).size();
        tree.rightClick({path[0], path[1], "QI( IDispatch ) succeeded"});
        tree.rightClick({kUnitsCategory});
        tree.select(nullptr);  // nothing selected: the probe looks at the caret item, not the mouse
        tree.notify(NM_RCLICK);
        EXPECT_EQ(tree.labels(path).size(), 30u) << "a line, a category or nothing selected: nothing probed";
        EXPECT_EQ(tree.labels({kUnitsCategory}).size(), units) << "no item added under the category";
    });
    EXPECT_EQ(unit.creations(), 2) << "created afresh for each probe";
    EXPECT_EQ(testkit::liveDoubles(), 0) << "every object released";
    EXPECT_EQ(run.boxes().count(), 1u) << "no box but the question on cancelling";
}

TEST(ProbeInTheTree, APackageIsNamedAsNotRegisteredInABoxOfTheDialog)
{
    const testkit::ServedClass manager({"QnTest.ProbeManager", {kManagerCatid}, {{"Name", "Probe Manager"}}},
                                       testkit::creatorOf<ManagerDouble>(std::vector<std::wstring>{L"Probe Gas"}));
    const testkit::LabelPath package = {kManagersCategory, "Probe Manager [" + manager.progId() + "]", "Probe Gas"};
    ComponentManagerRun run(512);
    run([&](HWND dialog) {
        TreeView(dialog).rightClick(package);
        ASSERT_EQ(run.boxes().count(), 2u) << "the creation's explanation, then the probe's message";
        const ShownBox& message = run.boxes().last();
        EXPECT_EQ(message.text, "The object Probe Gas is not registered in the registration database.");
        EXPECT_EQ(message.owner, dialog) << "owned by the dialog";
        EXPECT_EQ(message.caption, "inspector_tests") << "the application's title";
        EXPECT_EQ(message.buttons, std::vector<int>{IDOK}) << "an OK button only";
        EXPECT_EQ(TreeView(dialog).labels(package), Lines{}) << "no line is added";
    });
}
