// The catalogue's rules that need no window: labels, the About text, which items
// may be chosen, and how a manager's package list is read.
#include <gtest/gtest.h>

#include "catalogue/AboutText.h"
#include "catalogue/Acceptability.h"
#include "catalogue/CategoryTable.h"
#include "catalogue/ItemLabel.h"
#include "catalogue/PackageList.h"
#include "support/VariantHolder.h"

TEST(ItemLabel, ShowsTheIdentifierAloneWhenTheNameIsIt)
{
    EXPECT_EQ(itemLabel("Peng-Robinson", "Vendor.PR"), "Peng-Robinson [Vendor.PR]");
    EXPECT_EQ(itemLabel("Vendor.PR", "Vendor.PR"), "Vendor.PR");
    EXPECT_EQ(itemLabel("vendor.pr", "Vendor.PR"), "vendor.pr [Vendor.PR]") << "the comparison heeds letter case";
}

TEST(ItemLabel, SplitFindsTheIdentifierBetweenTheBrackets)
{
    EXPECT_EQ(SplitItemLabel("Peng-Robinson [Vendor.PR]"), "Vendor.PR");
    EXPECT_EQ(SplitItemLabel("Vendor.PR"), "Vendor.PR");
    EXPECT_EQ(SplitItemLabel("[Vendor.PR]"), "[Vendor.PR]") << "a '[' in first position is not looked at";
    EXPECT_EQ(SplitItemLabel("Name [Vendor.PR"), "") << "no closing bracket: no identifier";
    EXPECT_EQ(SplitItemLabel("Name []"), "") << "the ']' is looked for from the second character on";
    EXPECT_EQ(SplitItemLabel("A [B] [C]"), "B") << "the first bracket pair wins";
    EXPECT_EQ(SplitItemLabel(""), "");
}

TEST(AboutText, BackslashNBecomesALineFeedBeforeTheEscapesAreExpanded)
{
    EXPECT_EQ(aboutDisplayText("first\\nsecond"), "first\nsecond");
    EXPECT_EQ(aboutDisplayText("a%nb"), "a\r\nb");
    EXPECT_EQ(aboutDisplayText("100%% sure%."), "100% sure.");
    EXPECT_EQ(aboutDisplayText("tab%there%! %0 never shown"), "tab\there! ");
    EXPECT_EQ(aboutDisplayText("back\\slash\\"), "back\\slash\\") << "only backslash-n is replaced";
    EXPECT_EQ(aboutDisplayText(""), "");
}

TEST(AboutText, InsertsReadNoArgumentAndStayAsWritten)
{
    EXPECT_EQ(aboutDisplayText("value %1 and %2!d! and %99x"), "value %1 and %2!d! and %99x");
    EXPECT_EQ(aboutDisplayText("open %1!s format"), "open %1!s format") << "an unclosed format stays too";
    EXPECT_EQ(aboutDisplayText("ends with %"), "ends with %");
}

namespace {

CAPETreeItemTag recordOf(const std::string& catid)
{
    CAPETreeItemTag record;
    record.CATID = catid;
    return record;
}

}  // namespace

TEST(Acceptability, OnlyPackagesAndUnitOperationsUnderTheirOwnFilterMayBeChosen)
{
    CAPETreeItemTag unit = recordOf(kCategoryTable[0].catid);
    CAPETreeItemTag manager = recordOf(kCategoryTable[1].catid);
    CAPETreeItemTag standalone = recordOf(kCategoryTable[2].catid);
    CAPETreeItemTag package = recordOf(kPackageCatid);

    EXPECT_TRUE(itemAcceptable(&unit, nullptr, 32));
    EXPECT_FALSE(itemAcceptable(&unit, nullptr, 33)) << "unit operations only under catf_UnitOperation alone";
    EXPECT_FALSE(itemAcceptable(&manager, nullptr, 1536));
    EXPECT_TRUE(itemAcceptable(&package, &manager, 1536));
    EXPECT_TRUE(itemAcceptable(&standalone, nullptr, 1536));
    EXPECT_FALSE(itemAcceptable(nullptr, &manager, 32)) << "items without a record never";

    CAPETreeItemTag lowerCase = recordOf("{cf51e384-0110-4ed8-acb7-b50cfde6908e}");
    EXPECT_FALSE(itemAcceptable(&lowerCase, nullptr, 1536)) << "the CATID is compared case-sensitively";
}

namespace {

SAFEARRAY* bstrVector(std::initializer_list<const wchar_t*> names)
{
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
    LONG index = 0;
    for (const wchar_t* name : names) {
        BSTR copy = name ? SysAllocString(name) : nullptr;
        SafeArrayPutElement(array, &index, copy);
        SysFreeString(copy);
        ++index;
    }
    return array;
}

std::vector<std::string> namesOf(const VARIANT& list, bool& noPackages)
{
    return packageNamesOf(list, noPackages);
}

}  // namespace

TEST(PackageList, ReadsAnArrayOfNamesInOrder)
{
    VariantHolder list;
    V_VT(&list) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&list) = bstrVector({L"SRK", L"Peng-Robinson", L"", nullptr, L"NRTL"});
    bool noPackages = true;
    EXPECT_EQ(namesOf(list, noPackages), (std::vector<std::string>{"SRK", "Peng-Robinson", "NRTL"}))
        << "names are kept in order; a package without a name is skipped";
    EXPECT_FALSE(noPackages);
}

TEST(PackageList, AnEmptyArrayMeansNoPackagesAndANonArrayNothing)
{
    VariantHolder empty;
    V_VT(&empty) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&empty) = SafeArrayCreateVector(VT_BSTR, 0, 0);
    bool noPackages = false;
    EXPECT_TRUE(namesOf(empty, noPackages).empty());
    EXPECT_TRUE(noPackages);

    VariantHolder text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(L"SRK");
    EXPECT_TRUE(namesOf(text, noPackages).empty());
    EXPECT_FALSE(noPackages) << "a list that is not an array shows nothing at all";
}

TEST(PackageList, ElementsAreNeverReadAsATypeTheyDoNotHave)
{
    bool noPackages = false;

    VariantHolder variants;
    V_VT(&variants) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&variants) = SafeArrayCreateVector(VT_VARIANT, 1, 3);
    VariantHolder name, number;
    V_VT(&name) = VT_BSTR;
    V_BSTR(&name) = SysAllocString(L"Ideal");
    V_VT(&number) = VT_I4;
    V_I4(&number) = 7;
    LONG index = 1;
    SafeArrayPutElement(V_ARRAY(&variants), &index, &number);
    index = 2;
    SafeArrayPutElement(V_ARRAY(&variants), &index, &name);
    EXPECT_EQ(namesOf(variants, noPackages), std::vector<std::string>{"Ideal"})
        << "an array of VARIANTs gives its string elements, from its own lower bound";

    VariantHolder numbers;
    V_VT(&numbers) = VT_ARRAY | VT_I4;
    V_ARRAY(&numbers) = SafeArrayCreateVector(VT_I4, 0, 2);
    EXPECT_TRUE(namesOf(numbers, noPackages).empty());

    VariantHolder mislabelled;  // says BSTR, holds integers
    V_VT(&mislabelled) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&mislabelled) = SafeArrayCreateVector(VT_I4, 0, 2);
    EXPECT_TRUE(namesOf(mislabelled, noPackages).empty());

    VariantHolder square;
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    V_VT(&square) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&square) = SafeArrayCreate(VT_BSTR, 2, bounds);
    EXPECT_TRUE(namesOf(square, noPackages).empty()) << "only one-dimensional lists are read";

    VARIANT nullArray;
    V_VT(&nullArray) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&nullArray) = nullptr;
    EXPECT_TRUE(namesOf(nullArray, noPackages).empty());
    EXPECT_FALSE(noPackages) << "unreadable bounds count as one element, which cannot be read";
}
