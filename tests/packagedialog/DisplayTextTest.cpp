// How the package dialog's lists write numbers and the elements of a package's arrays.
#include <limits>

#include "PackageDialogTest.h"
#include "packagedialog/DisplayText.h"

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

VariantHolder matrixOfTexts()
{
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    VariantHolder matrix;
    V_VT(&matrix) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&matrix) = SafeArrayCreate(VT_BSTR, 2, bounds);
    return matrix;
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
    MessageBoxDriver boxes;
    EXPECT_EQ(shownTexts(GetParam().first()), GetParam().second) << "the list's entries";
    EXPECT_EQ(boxes.count(), 0u) << "a package's odd arrays are shown, never reported";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArrayDisplay,
    testing::Values(std::pair{+[] { return textArray({L"water", L"", L"CH4"}, 1); }, Texts{"water", "", "CH4"}},
                    std::pair{&mixedVariants, Texts{"Vapor", "2.5", "", ""}},
                    std::pair{+[] { return longArray({1, 2, 3}); }, Texts{"", "", ""}},
                    std::pair{+[] { return claiming(VT_ARRAY | VT_BSTR, doubleArray({1.5})); }, Texts{"1.5"}},
                    std::pair{&matrixOfTexts, Texts{}},
                    std::pair{+[] { return textValue(L"not an array"); }, Texts{}}));
