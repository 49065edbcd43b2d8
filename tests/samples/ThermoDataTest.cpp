// The compounds, phases and property lists of the sample property packages: the
// shapes CAPE-OPEN 1.1 prescribes, and compound data that is self-consistent
// (molecular weight from the formula, CAS check digits).
#include <gtest/gtest.h>

#include <cmath>
#include <cwctype>
#include <map>

#include "CapeOpen.h"
#include "SampleObjects.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

using namespace samplestest;

namespace {

struct CompoundList {
    std::vector<std::wstring> ids, formulae, names, casNumbers;
    std::vector<double> boilingPoints, molecularWeights;
};

CompoundList compoundListOf(const ComPtr<IUnknown>& package)
{
    CompoundList list;
    auto compounds = as<ICapeThermoCompounds>(package, IID_ICapeThermoCompounds);
    VariantHolder ids, formulae, names, boiling, weights, cas;
    // The arguments are [in, out]: one of them arrives holding a value, which the
    // package must replace.
    ids.vt = VT_BSTR;
    ids.bstrVal = SysAllocString(L"left over");
    if (compounds && SUCCEEDED(compounds->GetCompoundList(&ids, &formulae, &names, &boiling, &weights, &cas))) {
        list = {stringsOf(ids),    stringsOf(formulae), stringsOf(names),
                stringsOf(cas),    doublesOf(boiling),  doublesOf(weights)};
    }
    return list;
}

// Relative molar mass from a formula such as C7H16, with the IUPAC conventional
// atomic weights the samples use.
double molarMassOf(const std::wstring& formula)
{
    const std::map<std::wstring, double> weights = {
        {L"C", 12.011}, {L"H", 1.008}, {L"N", 14.007}, {L"O", 15.999}, {L"Ar", 39.948}};
    double total = 0;
    for (size_t i = 0; i < formula.size();) {
        std::wstring element(1, formula[i++]);
        while (i < formula.size() && std::iswlower(formula[i]))
            element += formula[i++];
        int count = 0;
        while (i < formula.size() && std::iswdigit(formula[i]))
            count = count * 10 + (formula[i++] - L'0');
        auto weight = weights.find(element);
        if (weight == weights.end())
            return -1;
        total += weight->second * (count ? count : 1);
    }
    return total;
}

// The CAS registry number's last digit checks the others.
bool casCheckDigitHolds(const std::wstring& cas)
{
    std::wstring digits;
    for (wchar_t c : cas)
        if (std::iswdigit(c))
            digits += c;
    if (digits.size() < 5 || cas.size() < 2 || cas[cas.size() - 2] != L'-')
        return false;
    int sum = 0;
    for (size_t k = 1; k < digits.size(); ++k)
        sum += static_cast<int>(k) * (digits[digits.size() - 1 - k] - L'0');
    return sum % 10 == digits.back() - L'0';
}

VariantHolder textList(std::initializer_list<const wchar_t*> texts)
{
    VariantHolder list;
    list.vt = VT_ARRAY | VT_BSTR;
    list.parray = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    LONG i = 0;
    for (const wchar_t* text : texts) {
        UniqueBstr element(text);
        SafeArrayPutElement(list.parray, &i, element.get());
        ++i;
    }
    return list;
}

}  // namespace

TEST(SampleThermo, CompoundListsAreAlignedAndSelfConsistent)
{
    const std::pair<ComPtr<IUnknown>, size_t> packages[] = {
        {createByProgId(L"Lindqvarn.PropertyPackage"), 12}, {managerPackage(L"Natural Gas"), 5},
        {managerPackage(L"Aromatics"), 4},                  {managerPackage(L"Air and Water"), 4}};
    for (const auto& [package, expected] : packages) {
        const CompoundList list = compoundListOf(package);
        ASSERT_EQ(expected, list.ids.size());
        EXPECT_EQ(expected, list.formulae.size());
        EXPECT_EQ(expected, list.names.size());
        EXPECT_EQ(expected, list.casNumbers.size());
        EXPECT_EQ(expected, list.boilingPoints.size()) << "boiling points are doubles";
        EXPECT_EQ(expected, list.molecularWeights.size()) << "molecular weights are doubles";
        long count = 0;
        as<ICapeThermoCompounds>(package, IID_ICapeThermoCompounds)->GetNumCompounds(&count);
        EXPECT_EQ(static_cast<long>(expected), count);
        for (size_t i = 0; i < list.ids.size() && i < list.molecularWeights.size() && i < list.casNumbers.size(); ++i) {
            SCOPED_TRACE(testing::PrintToString(list.ids[i]));
            EXPECT_NEAR(molarMassOf(list.formulae[i]), list.molecularWeights[i], 0.0015)
                << "the molecular weight should follow from the formula";
            EXPECT_TRUE(casCheckDigitHolds(list.casNumbers[i])) << testing::PrintToString(list.casNumbers[i]);
            EXPECT_GT(list.boilingPoints[i], 20.0);
            EXPECT_LT(list.boilingPoints[i], 400.0);
        }
    }
    const CompoundList all = compoundListOf(createByProgId(L"Lindqvarn.PropertyPackage"));
    ASSERT_FALSE(all.ids.empty());
    EXPECT_EQ(L"water", all.ids[0]);
    EXPECT_EQ(L"H2O", all.formulae[0]);
    EXPECT_EQ(L"7732-18-5", all.casNumbers[0]);
}

TEST(SampleThermo, CompoundConstantsComePropertyByPropertyForTheAskedCompounds)
{
    auto compounds =
        as<ICapeThermoCompounds>(createByProgId(L"Lindqvarn.PropertyPackage"), IID_ICapeThermoCompounds);
    ASSERT_TRUE(compounds);
    VariantHolder props = textList({L"molecularWeight", L"casRegistryNumber"});
    VariantHolder ids = textList({L"methane", L"water"});
    VariantHolder values;
    ASSERT_EQ(S_OK, compounds->GetCompoundConstant(props, ids, &values));
    ASSERT_EQ(VT_ARRAY | VT_VARIANT, values.vt);
    LONG upper = -1;
    SafeArrayGetUBound(values.parray, 1, &upper);
    ASSERT_EQ(3, upper) << "two properties times two compounds";
    VARIANT* elements = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(values.parray, reinterpret_cast<void**>(&elements)));
    EXPECT_EQ(VT_R8, elements[0].vt);
    EXPECT_DOUBLE_EQ(16.043, elements[0].dblVal) << "first the molecular weight of methane";
    EXPECT_DOUBLE_EQ(18.015, elements[1].dblVal) << "then that of water";
    ASSERT_EQ(VT_BSTR, elements[2].vt);
    EXPECT_STREQ(L"74-82-8", elements[2].bstrVal);
    EXPECT_STREQ(L"7732-18-5", elements[3].bstrVal);
    SafeArrayUnaccessData(values.parray);

    VariantHolder allCompounds;  // empty: every compound of the package
    VariantHolder weights;
    VariantHolder weightOnly = textList({L"normalBoilingPoint"});
    ASSERT_EQ(S_OK, compounds->GetCompoundConstant(weightOnly, allCompounds, &weights));
    SafeArrayGetUBound(weights.parray, 1, &upper);
    EXPECT_EQ(11, upper);

    VariantHolder unknownProperty = textList({L"colour"});
    VariantHolder untouched;
    EXPECT_EQ(static_cast<HRESULT>(0x80040506), compounds->GetCompoundConstant(unknownProperty, ids, &untouched));
    EXPECT_EQ(VT_EMPTY, untouched.vt);
    auto gas = as<ICapeThermoCompounds>(managerPackage(L"Natural Gas"), IID_ICapeThermoCompounds);
    EXPECT_EQ(static_cast<HRESULT>(0x80040506), gas->GetCompoundConstant(props, ids, &untouched))
        << "water is not in the natural gas package";
    EXPECT_NE(std::wstring::npos, errorDescription().find(L"water"));
}

TEST(SampleThermo, PhasesAreVaporLiquidAndLiquid2WithDescriptions)
{
    for (const auto& [package, key] : {std::pair{createByProgId(L"Lindqvarn.PropertyPackage"), L"water"},
                                       std::pair{managerPackage(L"Air and Water"), L"water"},
                                       std::pair{managerPackage(L"Natural Gas"), L""}}) {
        auto phases = as<ICapeThermoPhases>(package, IID_ICapeThermoPhases);
        ASSERT_TRUE(phases);
        long count = 0;
        ASSERT_EQ(S_OK, phases->GetNumPhases(&count));
        EXPECT_EQ(3, count);
        VariantHolder labels, states, keys;
        ASSERT_EQ(S_OK, phases->GetPhaseList(&labels, &states, &keys));
        EXPECT_EQ((std::vector<std::wstring>{L"Vapor", L"Liquid", L"Liquid2"}), stringsOf(labels));
        EXPECT_EQ((std::vector<std::wstring>{L"Vapor", L"Liquid", L"Liquid"}), stringsOf(states));
        EXPECT_EQ((std::vector<std::wstring>{L"", L"", key}), stringsOf(keys));
        for (const wchar_t* label : {L"Vapor", L"Liquid", L"Liquid2"}) {
            UniqueBstr phase(label), attribute(L"UserDescription");
            VariantHolder value;
            ASSERT_EQ(S_OK, phases->GetPhaseInfo(phase.get(), attribute.get(), &value));
            ASSERT_EQ(VT_BSTR, value.vt);
            EXPECT_GT(SysStringLen(value.bstrVal), 0u);
        }
        UniqueBstr unknown(L"Solid"), attribute(L"StateOfAggregation");
        VariantHolder value;
        EXPECT_EQ(static_cast<HRESULT>(0x80040506), phases->GetPhaseInfo(unknown.get(), attribute.get(), &value));
    }
}

TEST(SampleThermo, PropertyListsUseTheStandardNames)
{
    ComPtr<IUnknown> package = createByProgId(L"Lindqvarn.PropertyPackage");
    auto compounds = as<ICapeThermoCompounds>(package, IID_ICapeThermoCompounds);
    auto routine = as<ICapeThermoPropertyRoutine>(package, IID_ICapeThermoPropertyRoutine);
    VariantHolder constants, single, two, temperatureDependent;
    ASSERT_EQ(S_OK, compounds->GetConstPropList(&constants));
    ASSERT_EQ(S_OK, routine->GetSinglePhasePropList(&single));
    ASSERT_EQ(S_OK, routine->GetTwoPhasePropList(&two));
    ASSERT_EQ(S_OK, compounds->GetTDependentPropList(&temperatureDependent));
    auto has = [](const VARIANT& list, const wchar_t* name) {
        for (const std::wstring& item : stringsOf(list))
            if (item == name)
                return true;
        return false;
    };
    for (const wchar_t* name : {L"molecularWeight", L"normalBoilingPoint", L"criticalTemperature"})
        EXPECT_TRUE(has(constants, name)) << testing::PrintToString(name);
    for (const wchar_t* name : {L"enthalpy", L"fugacityCoefficient"})
        EXPECT_TRUE(has(single, name)) << testing::PrintToString(name);
    for (const wchar_t* name : {L"kvalue", L"surfaceTension"})
        EXPECT_TRUE(has(two, name)) << testing::PrintToString(name);
    EXPECT_EQ(VT_ARRAY | VT_BSTR, temperatureDependent.vt) << "an empty list is still a list";
    EXPECT_TRUE(stringsOf(temperatureDependent).empty());
}

TEST(SampleThermo, CalculationsNeedAMaterialAndAreThenRefusedHonestly)
{
    ComPtr<IUnknown> package = createByProgId(L"Lindqvarn.PropertyPackage");
    auto routine = as<ICapeThermoPropertyRoutine>(package, IID_ICapeThermoPropertyRoutine);
    auto context = as<ICapeThermoMaterialContext>(package, IID_ICapeThermoMaterialContext);
    VariantHolder props = textList({L"enthalpy"});
    UniqueBstr vapor(L"Vapor");
    EXPECT_EQ(static_cast<HRESULT>(0x80040511), routine->CalcSinglePhaseProp(props, vapor.get()))
        << "ECapeBadInvOrderHR before SetMaterial";
    EXPECT_EQ(static_cast<HRESULT>(0x80040506), context->SetMaterial(nullptr));
    ComPtr<IUnknown> material = createByProgId(L"Tarnwick.Mixer");  // any IDispatch stands in for one
    auto materialDispatch = as<IDispatch>(material, IID_IDispatch);
    ASSERT_EQ(S_OK, context->SetMaterial(materialDispatch.get()));
    EXPECT_EQ(static_cast<HRESULT>(0x80040509), routine->CalcSinglePhaseProp(props, vapor.get()))
        << "ECapeNoImplHR: the sample does not calculate";
    VARIANT_BOOL valid = VARIANT_TRUE;
    UniqueBstr enthalpy(L"enthalpy");
    ASSERT_EQ(S_OK, routine->CheckSinglePhasePropSpec(enthalpy.get(), vapor.get(), &valid));
    EXPECT_EQ(VARIANT_FALSE, valid) << "so it does not claim it can";
    EXPECT_EQ(S_OK, context->UnsetMaterial());
}
