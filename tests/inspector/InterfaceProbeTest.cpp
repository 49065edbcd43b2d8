// The interface probe on its own: lines, messages and references, with components
// served by this process and the registered sample unit operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "ScriptedComponent.h"
#include "inspector/InterfaceProbe.h"
#include "inspector/ProbeTable.h"
#include "testkit/MessageBoxDriver.h"

namespace {

// The probe's output as the tests read it. throwOn: a line whose appending throws.
struct RecordedOutput final : ProbeOutput {
    std::vector<std::string> lines;
    std::vector<std::string> messages;
    std::string throwOn;

    void appendLine(const std::string& line) override
    {
        if (line == throwOn)
            throw std::runtime_error("the tree refuses the line");
        lines.push_back(line);
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

const std::vector<std::string> kNames = {"IUnknown",
                                         "IDispatch",
                                         "ICapeIdentification",
                                         "ICapeParameterSpec",
                                         "ICapeRealParameterSpec",
                                         "ICapeIntegerParameterSpec",
                                         "ICapeOptionSpec",
                                         "ICapeParameter",
                                         "ICapeThermoReliability",
                                         "ICapeUnit",
                                         "ICapeUnitEdit",
                                         "ICapeUnitPort",
                                         "ICapeUnitCollection",
                                         "ICapeUnitReport",
                                         "ICapeThermoPropertyPackageManager"};

// The fifteen lines, with the (1-based) table entries that succeed.
std::vector<std::string> expectedLines(const std::vector<int>& succeeding)
{
    std::vector<std::string> lines;
    for (int entry = 1; entry <= 15; ++entry) {
        const bool answered = std::find(succeeding.begin(), succeeding.end(), entry) != succeeding.end();
        lines.push_back("QI( " + kNames[entry - 1] + (answered ? " ) succeeded" : " ) failed"));
    }
    return lines;
}

IID iidOf(const wchar_t* text)
{
    IID iid{};
    CLSIDFromString(text, &iid);
    return iid;
}

std::string guidText(const IID& iid)
{
    wchar_t text[40] = {};
    StringFromGUID2(iid, text, 40);
    return std::string(text, text + wcslen(text));
}

}  // namespace

TEST(ProbeTable, ListsTheFifteenInterfacesWithTheirDraftAndPublishedIdentifiers)
{
    // Listed identifier, and the published one where it differs.
    const std::vector<std::pair<std::string, std::string>> identifiers = {
        {"{00000000-0000-0000-C000-000000000046}", ""},
        {"{00020400-0000-0000-C000-000000000046}", ""},
        {"{678C0990-7D66-11D2-A67D-00105A42887F}", ""},
        {"{678C099C-7D66-11D2-A67D-00105A42887F}", "{678C099C-0093-11D2-A67D-00105A42887F}"},
        {"{678C099D-7D66-11D2-A67D-00105A42887F}", "{678C099D-0093-11D2-A67D-00105A42887F}"},
        {"{678C099E-7D66-11D2-A67D-00105A42887F}", "{678C099E-0093-11D2-A67D-00105A42887F}"},
        {"{678C099F-7D66-11D2-A67D-00105A42887F}", "{678C099F-0093-11D2-A67D-00105A42887F}"},
        {"{678C09A0-7D66-11D2-A67D-00105A42887F}", "{678C09A0-0093-11D2-A67D-00105A42887F}"},
        {"{678C0992-7D66-11D2-A67D-00105A42887F}", ""},
        {"{678C0998-7D66-11D2-A67D-00105A42887F}", "{678C0998-0100-11D2-A67D-00105A42887F}"},
        {"{678C0A9A-7D66-11D2-A67D-00105A42887F}", ""},
        {"{678C0999-7D66-11D2-A67D-00105A42887F}", "{678C0999-0093-11D2-A67D-00105A42887F}"},
        {"{678C099A-7D66-11D2-A67D-00105A42887F}", "{678C099A-0093-11D2-A67D-00105A42887F}"},
        {"{678C099B-7D66-11D2-A67D-00105A42887F}", "{678C099B-0093-11D2-A67D-00105A42887F}"},
        {"{678C0AA2-7D66-11D2-A67D-00105A42887F}", ""},
    };
    ASSERT_EQ(kProbedInterfaces.size(), identifiers.size());
    for (size_t i = 0; i < identifiers.size(); ++i) {
        const ProbedInterface& entry = kProbedInterfaces[i];
        EXPECT_EQ(entry.name, kNames[i]) << "entry " << i + 1;
        EXPECT_EQ(guidText(entry.listed), identifiers[i].first) << entry.name;
        EXPECT_EQ(entry.published ? guidText(*entry.published) : "", identifiers[i].second) << entry.name;
    }
}

TEST(InterfaceProbe, ComponentAnsweringOnlyIUnknownAndIDispatchGetsTwoSucceededAndThirteenFailedLines)
{
    MessageBoxDriver boxes;
    ScriptedComponent component({{IID_IDispatch}, {}, S_OK});
    ASSERT_TRUE(component.served());
    RecordedOutput output;
    probeComponentInterfaces(component.progId(), nullptr, output);

    EXPECT_EQ(output.lines, expectedLines({1, 2}));
    EXPECT_TRUE(output.messages.empty()) << "a created component shows no message";
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(component.creations(), 1);
    EXPECT_EQ(component.liveReferences(), 0) << "the component and every interface it gave are released";
}

TEST(InterfaceProbe, PublishedIdentifiersCountForTheirInterfacesAndUnitEditHasNone)
{
    // A component of the published standard: it knows none of the draft identifiers.
    ScriptedComponent component({{iidOf(L"{678C099C-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C099D-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C099E-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C099F-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C09A0-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C0998-0100-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C0A9A-0093-11D2-A67D-00105A42887F}"),  // never published
                                  iidOf(L"{678C0999-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C099A-0093-11D2-A67D-00105A42887F}"),
                                  iidOf(L"{678C099B-0093-11D2-A67D-00105A42887F}")},
                                 {},
                                 S_OK});
    RecordedOutput output;
    probeComponentInterfaces(component.progId(), nullptr, output);
    EXPECT_EQ(output.lines, expectedLines({1, 4, 5, 6, 7, 8, 10, 12, 13, 14}));
    EXPECT_EQ(component.liveReferences(), 0);

    // Each published identifier is asked after the listed one was refused.
    const auto& asked = component.asked();
    for (const ProbedInterface& entry : kProbedInterfaces) {
        if (!entry.published)
            continue;
        auto listed = std::find(asked.begin(), asked.end(), entry.listed);
        auto published = std::find(asked.begin(), asked.end(), *entry.published);
        ASSERT_NE(published, asked.end()) << entry.name << ": its published identifier is asked";
        EXPECT_LT(listed, published) << entry.name << ": the listed identifier first";
    }
}

TEST(InterfaceProbe, ListedIdentifiersStillCountAndNeedNoSecondQuestion)
{
    ComponentScript script;
    for (const ProbedInterface& entry : kProbedInterfaces)
        script.answered.push_back(entry.listed);
    ScriptedComponent component(script);
    RecordedOutput output;
    probeComponentInterfaces(component.progId(), nullptr, output);
    EXPECT_EQ(output.lines, expectedLines({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    for (const ProbedInterface& entry : kProbedInterfaces) {
        if (!entry.published)
            continue;
        EXPECT_EQ(std::count(component.asked().begin(), component.asked().end(), *entry.published), 0)
            << entry.name << ": answered under its listed identifier";
    }
    EXPECT_EQ(component.liveReferences(), 0);
}

TEST(InterfaceProbe, AQueryFailingWithAnythingButNoInterfaceReadsAsSucceeded)
{
    ScriptedComponent component({{},
                                 {{IID_IDispatch, E_FAIL},
                                  {iidOf(L"{678C0990-7D66-11D2-A67D-00105A42887F}"), E_NOINTERFACE},
                                  {iidOf(L"{678C0998-0100-11D2-A67D-00105A42887F}"), E_ACCESSDENIED}},
                                 S_OK});
    RecordedOutput output;
    probeComponentInterfaces(component.progId(), nullptr, output);
    EXPECT_EQ(output.lines, expectedLines({1, 2, 10}));
    EXPECT_EQ(component.liveReferences(), 0);
}

TEST(InterfaceProbe, AnExceptionWhileListingASucceededLineShowsErrorAndTheProbeGoesOn)
{
    ScriptedComponent component({{IID_IDispatch}, {}, S_OK});
    RecordedOutput output;
    output.throwOn = "QI( IUnknown ) succeeded";
    probeComponentInterfaces(component.progId(), nullptr, output);

    std::vector<std::string> rest = expectedLines({1, 2});
    rest.erase(rest.begin());
    EXPECT_EQ(output.lines, rest) << "the other fourteen lines follow";
    EXPECT_EQ(output.messages, std::vector<std::string>{"Error"});
    EXPECT_EQ(component.liveReferences(), 0) << "the pointer of the interrupted entry is released too";
}

TEST(InterfaceProbe, AnUnregisteredProgIDIsReportedAsNotRegisteredWithoutLines)
{
    MessageBoxDriver boxes;
    RecordedOutput output;
    probeComponentInterfaces("QnTest.NoSuchComponent.Probe", nullptr, output);

    EXPECT_TRUE(output.lines.empty());
    EXPECT_EQ(output.messages, std::vector<std::string>{
                                   "The object QnTest.NoSuchComponent.Probe is not registered in the registration "
                                   "database."});
    ASSERT_EQ(boxes.count(), 1u) << "the creation explains its failure first";
    EXPECT_EQ(boxes.last().text.rfind("Error creating interface 'IUnknown' for class '", 0), 0u) << boxes.last().text;
    EXPECT_NE(boxes.last().text.find("' context 23"), std::string::npos) << boxes.last().text;
}

TEST(InterfaceProbe, ACreationFailingOtherwiseIsAnUnexpectedErrorWithoutLines)
{
    MessageBoxDriver boxes;
    ScriptedComponent component({{IID_IDispatch}, {}, static_cast<HRESULT>(0x80040503)});
    RecordedOutput output;
    probeComponentInterfaces(component.progId(), nullptr, output);

    EXPECT_TRUE(output.lines.empty());
    EXPECT_EQ(output.messages, std::vector<std::string>{"Unexpected error while instantiating " + component.progId()});
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_NE(boxes.last().text.find(component.progId()), std::string::npos) << boxes.last().text;
    EXPECT_EQ(component.liveReferences(), 0);
}
