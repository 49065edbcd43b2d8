// What the gathering asks a 1.1 property package, what it keeps, how failures end it;
// how the package dialog's lists write numbers and the elements of a package's arrays.
#include <algorithm>
#include <limits>

#include "PackageDialogTest.h"
#include "packagedialog/DisplayText.h"
#include "support/AnsiText.h"

namespace {

// The method named fails with hr, or the question for the interface is answered hr.
struct FailureRow {
    const char* name;
    const IID* question;
    HRESULT hr, result;
    size_t callsMade;  // the failing one included
    // Entries of phase labels, descriptions, compounds, constants, 1- and 2-phase properties (1: old data)
    std::vector<size_t> sizes;
    ULONG references;  // the test's own and the held 1.0 interface
};

class GatheringFailure : public testing::TestWithParam<FailureRow> {};
constexpr HRESULT kRefused = HRESULT(0x80040508);  // ECapeImplementationHR
const std::vector<size_t> kNone = {1, 1, 1, 1, 1, 1};

VariantHolder answerFor(const std::wstring& label)
{
    if (label == L"L1")
        return textArray({L"first", L"second"});
    if (label == L"L2")
        return doubleArray({2.5});
    return label == L"S" ? longValue(3) : label == L"Vapor" ? textValue(L"Vapor phase") : VariantHolder();
}

}  // namespace

TEST(Gathering, AsksInTheFixedOrderAndHoldsOnlyThe10Interface)
{
    auto first = makeDouble<PackageDouble>(), second = makeDouble<PackageDouble>();
    first->compoundListResult = S_FALSE;
    second->refuse(IID_ICapeThermoPropertyPackage10);
    {
        PackageData data;
        EXPECT_EQ(gatherPackageData(data, first->unknown(), 110), S_FALSE) << "GetCompoundList's own success code";
        EXPECT_EQ(first->calls, (std::vector<std::string>{
                                    "GetNumPhases", "GetPhaseList", "GetPhaseInfo Vapor UserDescription",
                                    "GetPhaseInfo Liquid UserDescription", "GetCompoundList", "GetConstPropList",
                                    "GetSinglePhasePropList", "GetTwoPhasePropList"}))
            << "the calls in order";
        ASSERT_EQ(gatherPackageData(data, second->unknown(), 110), S_OK);
        EXPECT_EQ(first->references(), 1u) << "a package without it releases the one held";
        ASSERT_EQ(gatherPackageData(data, first->unknown(), 110), S_FALSE);
    }
    EXPECT_EQ(first->references(), 1u) << "the data's end releases the held interface";
    EXPECT_EQ(second->references(), 1u) << "nothing of the second package is kept";
}

TEST_P(GatheringFailure, EndsWithTheCodeAndPassesTheErrorObjectOn)
{
    const FailureRow& row = GetParam();
    auto package = makeDouble<PackageDouble>();
    if (row.question)
        package->refuse(*row.question, row.hr);
    else
        package->failCall(row.name, row.hr, L"Refused");
    PackageData data;
    const std::initializer_list<VariantHolder*> lists = {&data.phaseLabels,   &data.phaseDescriptions,
                                                         &data.compoundIds,   &data.constantProps,
                                                         &data.singlePhaseProps, &data.twoPhaseProps};
    for (VariantHolder* list : lists)
        *list = textArray({L"old"});  // what an earlier gathering left
    SetErrorInfo(0, nullptr);

    EXPECT_EQ(gatherPackageData(data, package->unknown(), 110), row.result) << "the gathering's result";
    ComPtr<IErrorInfo> info;
    UniqueBstr description;
    if (GetErrorInfo(0, info.put()) == S_OK)
        info->GetDescription(description.put());
    EXPECT_EQ(toAnsi(description.text()), row.question ? "" : "Refused") << "a failing call's error object passed on";
    EXPECT_EQ(package->calls.size(), row.callsMade) << "calls made, the failing one included";
    std::vector<size_t> sizes;
    for (VariantHolder* list : lists)
        sizes.push_back(arrayElementCount(*list));
    EXPECT_EQ(sizes, row.sizes) << "the steps before the failure renew their lists, the others keep theirs";
    EXPECT_EQ(package->references(), row.references) << "the package's references afterwards";
}

INSTANTIATE_TEST_SUITE_P(
    Table, GatheringFailure,
    testing::Values(
        FailureRow{"GetNumPhases", nullptr, kRefused, kRefused, 1, kNone, 2},
        FailureRow{"GetPhaseInfo", nullptr, kRefused, kRefused, 3, {2, 1, 1, 1, 1, 1}, 2},
        FailureRow{"GetTwoPhasePropList", nullptr, kRefused, kRefused, 8, {2, 2, 3, 2, 3, 1}, 2},
        FailureRow{"NoCompounds", &IID_ICapeThermoCompounds, E_NOINTERFACE, E_POINTER, 4, {2, 2, 1, 1, 1, 1}, 2},
        FailureRow{"Denied", &IID_ICapeThermoCompounds, E_ACCESSDENIED, E_ACCESSDENIED, 4, {2, 2, 1, 1, 1, 1}, 2},
        FailureRow{"Package10Fails", &IID_ICapeThermoPropertyPackage10, E_UNEXPECTED, E_UNEXPECTED, 0, kNone, 1}),
    [](const testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });

TEST(Gathering, DescribesEveryPhaseOnceWhateverThePackageAnswers)
{
    auto package = makeDouble<PackageDouble>();
    std::vector<VariantHolder> labels;
    for (const wchar_t* label : {L"X", L"L1", L"L2", L"S", L"Vapor"})
        labels.push_back(textValue(label));
    labels.push_back(longValue(2));  // not a text: that phase cannot be asked about
    package->phaseLabels = variantArray(std::move(labels));
    package->numPhases = 9;  // more than it lists: no label is read beyond the list
    package->describePhase = answerFor;
    PackageData data;
    ASSERT_EQ(gatherPackageData(data, package->unknown(), 110), S_OK);
    EXPECT_EQ(shownTexts(data.phaseDescriptions), (std::vector<std::string>{"", "first", "2.5", "", "Vapor phase", ""}))
        << "one description per listed phase: a text, an array's first element, else nothing";
    const auto isPhaseInfo = [](const std::string& call) { return call.starts_with("GetPhaseInfo"); };
    auto asked = [&] { return std::ranges::count_if(package->calls, isPhaseInfo); };
    EXPECT_EQ(asked(), 5) << "every phase with a text label is asked once";

    package->phaseLabels = textArray({});
    package->numPhases = -1;
    package->calls.clear();
    ASSERT_EQ(gatherPackageData(data, package->unknown(), 110), S_OK);
    EXPECT_TRUE(V_VT(&data.phaseDescriptions) == (VT_ARRAY | VT_BSTR) && shownTexts(data.phaseDescriptions).empty())
        << "no phases: an empty array of texts";
    EXPECT_EQ(asked(), 0) << "no phase is asked about";
}

namespace {

using Texts = std::vector<std::string>;
class NumberDisplay : public testing::TestWithParam<std::pair<double, const char*>> {};
class ArrayDisplay : public testing::TestWithParam<std::pair<VariantHolder (*)(), Texts>> {};
constexpr double kInfinity = std::numeric_limits<double>::infinity();

VariantHolder mixedVariants()
{
    std::vector<VariantHolder> values(4);  // the last one empty
    values[0] = textValue(L"Vapor"), values[1] = doubleValue(2.5), values[2] = longValue(7);
    return variantArray(std::move(values));
}

// The value with a VARIANT type that tells another story than its array's descriptor.
VariantHolder claiming(VARTYPE vt, VariantHolder value)
{
    V_VT(&value) = vt;
    return value;
}

}  // namespace

TEST_P(NumberDisplay, TenSignificantDigitsInTheRuntimesForm)
{
    EXPECT_EQ(gcvtText(GetParam().first), GetParam().second) << "the list text of " << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberDisplay,
    testing::ValuesIn(std::vector<std::pair<double, const char*>>{
        {373.15, "373.15"}, {100, "100."}, {0, "0."}, {-12.5, "-12.5"}, {0.5, "0.5"}, {18.01528, "18.01528"},
        {1.0 / 3.0, "0.3333333333"}, {1234567890.0, "1234567890."}, {0.0123456789, "1.23456789e-002"},
        {12345678901.0, "1.23456789e+010"}, {1e20, "1.e+020"}, {-2.5e-300, "-2.5e-300"}, {kInfinity, "1.#INF"},
        {-kInfinity, "-1.#INF"}, {std::numeric_limits<double>::quiet_NaN(), "1.#QNAN"}}));

TEST_P(ArrayDisplay, ShowsTextsAndNumbersAndNothingForOtherElements)
{
    // A package's odd arrays are shown, never reported: a box would fail the test.
    EXPECT_EQ(shownTexts(GetParam().first()), GetParam().second) << "the list's entries";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArrayDisplay,
    testing::Values(std::pair{+[] { return textArray({L"water", L"", L"CH4"}, 1); }, Texts{"water", "", "CH4"}},
                    std::pair{&mixedVariants, Texts{"Vapor", "2.5", "", ""}},
                    std::pair{+[] { return longArray({1, 2, 3}); }, Texts{"", "", ""}},
                    std::pair{+[] { return claiming(VT_ARRAY | VT_BSTR, doubleArray({1.5})); }, Texts{"1.5"}},
                    std::pair{+[] { return zeroedArray(VT_BSTR, {{2, 0}, {2, 0}}); }, Texts{}},
                    std::pair{+[] { return textValue(L"not an array"); }, Texts{}}));
