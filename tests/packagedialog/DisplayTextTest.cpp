#include <gtest/gtest.h>

#include <limits>

#include "TestArrays.h"
#include "packagedialog/ArrayElements.h"
#include "packagedialog/DisplayText.h"
#include "packagedialog/OwnPropertySystem.h"
#include "testkit/MessageBoxDriver.h"

using namespace packagetest;

namespace {

std::vector<std::string> displayTexts(const VARIANT& array)
{
    std::vector<std::string> texts;
    std::string text;
    forEachArrayElement(array, [&](const ArrayElement& element) {
        elementDisplayText(element, text);
        texts.push_back(text);
        return true;
    });
    return texts;
}

}  // namespace

TEST(NumberDisplay, KeepsTenSignificantDigitsInTheRuntimeForm)
{
    EXPECT_EQ(gcvtText(373.15), "373.15");
    EXPECT_EQ(gcvtText(100), "100.") << "an integral value keeps its decimal point";
    EXPECT_EQ(gcvtText(0), "0.");
    EXPECT_EQ(gcvtText(-12.5), "-12.5");
    EXPECT_EQ(gcvtText(0.5), "0.5") << "an exponent of -1 is still written in fixed notation";
    EXPECT_EQ(gcvtText(18.01528), "18.01528");
    EXPECT_EQ(gcvtText(1.0 / 3.0), "0.3333333333") << "ten significant digits, not ten decimals";
    EXPECT_EQ(gcvtText(1234567890.0), "1234567890.");
}

TEST(NumberDisplay, SwitchesToThreeDigitExponentsOutsideTheFixedRange)
{
    EXPECT_EQ(gcvtText(0.0123456789), "1.23456789e-002");
    EXPECT_EQ(gcvtText(12345678901.0), "1.23456789e+010");
    EXPECT_EQ(gcvtText(1e20), "1.e+020");
    EXPECT_EQ(gcvtText(-2.5e-300), "-2.5e-300");
    EXPECT_EQ(gcvtText(std::numeric_limits<double>::infinity()), "1.#INF");
    EXPECT_EQ(gcvtText(std::numeric_limits<double>::quiet_NaN()), "1.#QNAN");
}

TEST(ReportDisplay, LineFeedsGetTheCarriageReturnTheEditNeeds)
{
    EXPECT_EQ(withCarriageReturns("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(withCarriageReturns(""), "");
}

TEST(OwnPropertySystem, RecognisesEitherWordInAnyCase)
{
    EXPECT_TRUE(namesOwnPropertySystem("cvcoproperties.PPManager.1"));
    EXPECT_TRUE(namesOwnPropertySystem("Vendor.CORVANE.Manager"));
    EXPECT_FALSE(namesOwnPropertySystem("Other.PPManager.1"));
    EXPECT_FALSE(namesOwnPropertySystem("CVCOProp"));
    EXPECT_FALSE(namesOwnPropertySystem(""));
}

TEST(ArrayDisplay, TextsAndNumbersAsTheyAreFromTheLowerBoundOn)
{
    EXPECT_EQ(displayTexts(textArray({L"water", L"", L"CH4"}, 1)), (std::vector<std::string>{"water", "", "CH4"}));
    EXPECT_EQ(displayTexts(doubleArray({373.15, 100})), (std::vector<std::string>{"373.15", "100."}));
}

TEST(ArrayDisplay, ElementsOfOtherTypesShowEmptyWithoutAnyReport)
{
    MessageBoxDriver boxes;
    std::vector<VariantHolder> mixed;
    mixed.push_back(textValue(L"Vapor"));
    mixed.push_back(doubleValue(2.5));
    mixed.push_back(longValue(7));
    mixed.push_back(VariantHolder());
    EXPECT_EQ(displayTexts(variantArray(std::move(mixed))), (std::vector<std::string>{"Vapor", "2.5", "", ""}));
    EXPECT_EQ(displayTexts(longArray({1, 2, 3})), (std::vector<std::string>{"", "", ""}))
        << "an array of integers shows one empty entry per element";
    EXPECT_TRUE(displayTexts(textValue(L"not an array")).empty());
    EXPECT_TRUE(displayTexts(VariantHolder()).empty());
    EXPECT_EQ(boxes.count(), 0u) << "a package's odd arrays are shown, not reported";
}

TEST(ArrayDisplay, TheArrayDescriptorDecidesHowElementsAreRead)
{
    MessageBoxDriver boxes;
    // A VARIANT that claims texts but holds doubles: read as the doubles they are.
    VariantHolder lying = doubleArray({1.5});
    V_VT(&lying) = VT_ARRAY | VT_BSTR;
    EXPECT_EQ(displayTexts(lying), (std::vector<std::string>{"1.5"}));

    // Two dimensions: not a list.
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    VariantHolder matrix;
    V_VT(&matrix) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&matrix) = SafeArrayCreate(VT_BSTR, 2, bounds);
    EXPECT_TRUE(displayTexts(matrix).empty());
    EXPECT_EQ(arrayElementCount(matrix), 0u);

    // By reference: the referenced array is shown.
    VariantHolder target = textArray({L"a", L"b"});
    SAFEARRAY* array = V_ARRAY(&target);
    VARIANT byReference;
    V_VT(&byReference) = VT_ARRAY | VT_BSTR | VT_BYREF;
    V_ARRAYREF(&byReference) = &array;
    EXPECT_EQ(displayTexts(byReference), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(boxes.count(), 0u);
}
