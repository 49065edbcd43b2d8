#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "TestArrays.h"
#include "TestPackage.h"
#include "packagedialog/ArrayElements.h"
#include "packagedialog/PackageData.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "testkit/MessageBoxDriver.h"

using namespace packagetest;

namespace {

const std::vector<std::string> kAllCalls = {
    "GetNumPhases",          "GetPhaseList",     "GetPhaseInfo Vapor UserDescription",
    "GetPhaseInfo Liquid UserDescription",       "GetCompoundList",
    "GetConstPropList",      "GetSinglePhasePropList", "GetTwoPhasePropList"};

std::vector<std::string> texts(const VARIANT& array)
{
    std::vector<std::string> result;
    std::string text;
    forEachArrayElement(array, [&](const ArrayElement& element) {
        elementDisplayText(element, text);
        result.push_back(text);
        return true;
    });
    return result;
}

// The description of the thread's error object (consumed), or "<none>".
std::string threadErrorDescription()
{
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK)
        return "<none>";
    BSTR description = nullptr;
    info->GetDescription(&description);
    std::string text = toAnsi(description);
    SysFreeString(description);
    return text;
}

// Data that an earlier gathering left: every array holds the one text "old".
void fillWithOldData(PackageData& data)
{
    for (VariantHolder* array :
         {&data.compoundIds, &data.formulae, &data.compoundNames, &data.boilingPoints, &data.molecularWeights,
          &data.casNumbers, &data.constantProps, &data.singlePhaseProps, &data.twoPhaseProps, &data.phaseLabels,
          &data.statesOfAggregation, &data.keyCompoundIds, &data.phaseDescriptions})
        *array = textArray({L"old"});
}

}  // namespace

TEST(Gathering, AsksThePackageInTheFixedOrderAndReturnsTheCompoundListResult)
{
    TestPackage package;
    package.compoundListResult = S_FALSE;
    PackageData data;
    EXPECT_EQ(gatherPackageData(data, package.unknown(), 110), S_FALSE);
    EXPECT_EQ(package.calls, kAllCalls);

    EXPECT_EQ(data.numPhases, 2);
    EXPECT_EQ(texts(data.phaseLabels), (std::vector<std::string>{"Vapor", "Liquid"}));
    EXPECT_EQ(texts(data.keyCompoundIds), (std::vector<std::string>{"", "water"}));
    EXPECT_EQ(texts(data.phaseDescriptions), (std::vector<std::string>{"Vapor phase", "Liquid phase"}));
    EXPECT_EQ(texts(data.compoundIds), (std::vector<std::string>{"water", "methane", "ethane"}));
    EXPECT_EQ(texts(data.boilingPoints), (std::vector<std::string>{"373.15", "111.66", "184.55"}));
    EXPECT_EQ(texts(data.casNumbers), (std::vector<std::string>{"7732-18-5", "74-82-8", "74-84-0"}));
    EXPECT_EQ(texts(data.constantProps).size(), 2u);
    EXPECT_EQ(texts(data.singlePhaseProps).size(), 3u);
    EXPECT_EQ(texts(data.twoPhaseProps).size(), 2u);
    EXPECT_EQ(data.heldPackageInterface.get(), package.unknown()) << "the 1.0 interface is kept";
    EXPECT_EQ(package.references, 2u) << "only the held interface keeps a reference";
}

TEST(Gathering, OtherVersionsAskNothingAndKeepTheData)
{
    TestPackage package;
    PackageData data;
    fillWithOldData(data);
    for (long version : {0L, 100L, 1000L})
        EXPECT_EQ(gatherPackageData(data, package.unknown(), version), S_OK) << version;
    EXPECT_TRUE(package.calls.empty());
    EXPECT_EQ(texts(data.compoundIds), std::vector<std::string>{"old"});
    EXPECT_EQ(package.references, 1u);
}

TEST(Gathering, HeldPackageInterfaceIsReleasedWhenReplacedOrWithoutPackage)
{
    TestPackage first;
    TestPackage second;
    second.hasPackage10 = false;
    {
        PackageData data;
        ASSERT_EQ(gatherPackageData(data, first.unknown(), 110), S_OK);
        EXPECT_EQ(first.references, 2u);
        ASSERT_EQ(gatherPackageData(data, second.unknown(), 110), S_OK);
        EXPECT_EQ(first.references, 1u) << "replaced by none: the first package's interface is released";
        EXPECT_FALSE(data.heldPackageInterface);

        ASSERT_EQ(gatherPackageData(data, first.unknown(), 110), S_OK);
        EXPECT_EQ(gatherPackageData(data, nullptr, 110), E_POINTER);
        EXPECT_EQ(first.references, 1u) << "no package: the held interface is released";

        ASSERT_EQ(gatherPackageData(data, first.unknown(), 110), S_OK);
        EXPECT_EQ(first.references, 2u);
    }
    EXPECT_EQ(first.references, 1u) << "the data's end releases the held interface";
    EXPECT_EQ(second.references, 1u);
}

// Each call of the package failing with a code of its own: the gathering stops there
// with that code and the package's error object; what came before is new, what
// follows keeps the earlier data.
TEST(Gathering, AFailingCallEndsItWithTheCallsCodeAndErrorObject)
{
    const struct {
        const char* method;
        size_t callsMade;  // including the failing one
    } steps[] = {{"GetNumPhases", 1},     {"GetPhaseList", 2},           {"GetPhaseInfo", 3},
                 {"GetCompoundList", 5},  {"GetConstPropList", 6},       {"GetSinglePhasePropList", 7},
                 {"GetTwoPhasePropList", 8}};
    HRESULT code = 0x80040501;  // ECapeUnknown, then the next CAPE-OPEN codes
    for (const auto& step : steps) {
        SCOPED_TRACE(step.method);
        TestPackage package;
        package.failingCalls[step.method] = code;
        package.errorDescription = L"refused by " + std::wstring(step.method, step.method + strlen(step.method));
        PackageData data;
        fillWithOldData(data);

        EXPECT_EQ(gatherPackageData(data, package.unknown(), 110), code);
        EXPECT_EQ(threadErrorDescription(), "refused by " + std::string(step.method))
            << "the package's error object is the thread's for the caller's report";
        ASSERT_EQ(package.calls.size(), step.callsMade);
        EXPECT_EQ(package.references, 2u) << "only the held 1.0 interface stays referenced";

        const bool phasesRead = step.callsMade > 2;
        EXPECT_EQ(texts(data.phaseLabels).size(), phasesRead ? 2u : 1u);
        EXPECT_EQ(texts(data.phaseDescriptions).size(), step.callsMade > 4 ? 2u : 1u);
        EXPECT_EQ(texts(data.compoundIds).size(), step.callsMade > 5 ? 3u : 1u);
        EXPECT_EQ(texts(data.constantProps).size(), step.callsMade > 6 ? 2u : 1u);
        EXPECT_EQ(texts(data.singlePhaseProps).size(), step.callsMade > 7 ? 3u : 1u);
        EXPECT_EQ(texts(data.twoPhaseProps), std::vector<std::string>{"old"});
        ++code;
    }
}

TEST(Gathering, AnErrorObjectThePackageDoesNotVouchForIsNotPassedOn)
{
    TestPackage package;
    package.supportsErrorInfo = false;
    package.failingCalls["GetCompoundList"] = E_OUTOFMEMORY;
    PackageData data;
    EXPECT_EQ(gatherPackageData(data, package.unknown(), 110), E_OUTOFMEMORY);
    EXPECT_EQ(threadErrorDescription(), "<none>");
}

TEST(Gathering, MissingInterfacesGiveEPointerAndUnexpectedQueryFailuresTheirCode)
{
    const struct {
        const char* itf;
        size_t callsMade;
    } steps[] = {{"ICapeThermoPhases", 0}, {"ICapeThermoCompounds", 4}, {"ICapeThermoPropertyRoutine", 6}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.itf);
        {
            TestPackage package;
            package.failingQueries[step.itf] = E_NOINTERFACE;
            PackageData data;
            EXPECT_EQ(gatherPackageData(data, package.unknown(), 110), E_POINTER);
            EXPECT_EQ(package.calls.size(), step.callsMade);
            EXPECT_EQ(threadErrorDescription(), "<none>");
        }
        {
            TestPackage package;
            package.failingQueries[step.itf] = E_ACCESSDENIED;
            PackageData data;
            EXPECT_EQ(gatherPackageData(data, package.unknown(), 110), E_ACCESSDENIED);
            EXPECT_EQ(package.calls.size(), step.callsMade);
        }
    }
    TestPackage package;
    package.failingQueries["ICapeThermoPropertyPackage"] = E_UNEXPECTED;
    PackageData data;
    EXPECT_EQ(gatherPackageData(data, package.unknown(), 110), E_UNEXPECTED) << "only E_NOINTERFACE is accepted there";
    EXPECT_TRUE(package.calls.empty());
}

TEST(Gathering, ZeroPhasesAskNoPhaseInfo)
{
    TestPackage package;
    package.phaseLabels = textArray({});
    package.statesOfAggregation = textArray({});
    package.keyCompoundIds = textArray({});
    PackageData data;
    data.phaseDescriptions = textArray({L"old"});
    ASSERT_EQ(gatherPackageData(data, package.unknown(), 110), S_OK);
    for (const std::string& call : package.calls)
        EXPECT_NE(call.rfind("GetPhaseInfo", 0), 0u) << call;
    EXPECT_EQ(V_VT(&data.phaseDescriptions), VT_ARRAY | VT_BSTR);
    EXPECT_TRUE(texts(data.phaseDescriptions).empty());
}

TEST(Gathering, EveryPhaseGetsOneDescriptionWhateverThePackageAnswers)
{
    TestPackage package;
    package.phaseLabels = textArray({L"V", L"L1", L"L2", L"S", L"X"});
    package.describePhase = [](const std::wstring& label) -> VariantHolder {
        if (label == L"V")
            return VariantHolder();  // empty
        if (label == L"L1")
            return textArray({L"first", L"second"});
        if (label == L"L2")
            return textArray({});
        if (label == L"S")
            return longValue(3);
        return textValue(L"");
    };
    PackageData data;
    ASSERT_EQ(gatherPackageData(data, package.unknown(), 110), S_OK);
    EXPECT_EQ(texts(data.phaseDescriptions), (std::vector<std::string>{"", "first", "", "", ""}))
        << "one entry per phase keeps the phase lists aligned";
}

TEST(Gathering, NoLabelIsReadBeyondThePhaseList)
{
    MessageBoxDriver boxes;
    TestPackage package;
    package.numPhases = 5;  // claims more phases than it lists
    std::vector<VariantHolder> labels;
    labels.push_back(textValue(L"Vapor"));
    labels.push_back(longValue(2));  // not a text: that phase cannot be asked about
    package.phaseLabels = variantArray(std::move(labels));
    PackageData data;
    ASSERT_EQ(gatherPackageData(data, package.unknown(), 110), S_OK);
    EXPECT_EQ(std::count(package.calls.begin(), package.calls.end(), "GetPhaseInfo Vapor UserDescription"), 1);
    EXPECT_EQ(texts(data.phaseDescriptions), (std::vector<std::string>{"Vapor phase", ""}));
    EXPECT_EQ(boxes.count(), 0u);
}
