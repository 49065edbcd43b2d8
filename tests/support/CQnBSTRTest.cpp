#include <gtest/gtest.h>

#include <comdef.h>
#include <cstring>
#include <string>

#include "support/CQnBSTR.h"

namespace {
std::wstring wide(const _bstr_t& text)
{
    const wchar_t* raw = text;
    return raw ? std::wstring(raw, text.length()) : std::wstring(L"<null>");
}

// What the platform makes of a wide text in the active code page.
std::string platformNarrow(const wchar_t* text)
{
    char buffer[64] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}
}  // namespace

TEST(CQnBSTR, WritesIntegersAsDecimalText)
{
    EXPECT_EQ(wide(CQnBSTR(7)), L"7");
    EXPECT_EQ(wide(CQnBSTR(int32_t(-2147483647 - 1))), L"-2147483648");
    EXPECT_EQ(wide(CQnBSTR(7L)), L"7") << "a long is a 32-bit integer";
    EXPECT_EQ(wide(CQnBSTR(int64_t(-9000000000123))), L"-9000000000123");
    CQnBSTR assigned(L"old");
    assigned = 42;
    EXPECT_EQ(wide(assigned), L"42") << "assigning an integer replaces the text";
    assigned = 2.5;
    EXPECT_EQ(wide(assigned), L"2.500000") << "a double assigns as a double, not a truncated integer";
    assigned = int64_t(1) << 40;
    EXPECT_EQ(wide(assigned), L"1099511627776");
}

TEST(CQnBSTR, WritesDoublesWithSixDecimals)
{
    EXPECT_EQ(wide(CQnBSTR(1.5)), L"1.500000");
    EXPECT_EQ(wide(CQnBSTR(0.93)), L"0.930000");
    EXPECT_EQ(wide(CQnBSTR(-0.0000004)), L"-0.000000") << "rounded like %f, sign kept";
    EXPECT_EQ(wide(CQnBSTR(1.00000095367431640625)), L"1.000001") << "rounded to nearest at the sixth decimal";
    EXPECT_EQ(wide(CQnBSTR(1e20)), L"100000000000000000000.000000") << "no exponent form";
    EXPECT_EQ(CQnBSTR(-1.7976931348623157e308).length(), 317u) << "the widest double fits";
}

TEST(CQnBSTR, CopiesShareOneBuffer)
{
    CQnBSTR original(L"shared");
    CQnBSTR copy = original;
    _bstr_t plain = copy;
    CQnBSTR fromPlain(plain);
    const wchar_t* buffer = original;
    EXPECT_EQ(static_cast<const wchar_t*>(copy), buffer) << "a copy shares the BSTR";
    EXPECT_EQ(static_cast<const wchar_t*>(fromPlain), buffer) << "so does one made from a _bstr_t";
    EXPECT_EQ(copy.narrow(), original.narrow()) << "and the narrow copy made for either";

    copy = 3;
    EXPECT_EQ(wide(original), L"shared") << "replacing a copy's text leaves the original alone";
}

TEST(CQnBSTR, NarrowTextIsCachedAndNullForNoText)
{
    EXPECT_EQ(CQnBSTR().narrow(), nullptr) << "no text: null";
    EXPECT_EQ(CQnBSTR(static_cast<const char*>(nullptr)).narrow(), nullptr);
    EXPECT_STREQ(CQnBSTR("").narrow(), "") << "an empty text is not a null one";

    const wchar_t* accented = L"Gr\u00fc\u00dfe \u00e9t\u00e9";
    CQnBSTR text(accented);
    const char* first = text.narrow();
    EXPECT_EQ(std::string(first), platformNarrow(accented)) << "converted in the active code page";
    EXPECT_EQ(text.narrow(), first) << "made once, then cached";

    CQnBSTR back(first);
    CQnBSTR again(platformNarrow(accented).c_str());
    EXPECT_EQ(wide(back), wide(again)) << "narrow text converts back the way the platform does";
    EXPECT_EQ(wide(CQnBSTR("plain")), L"plain");
}

TEST(ComSupport, FailuresOfTheComSupportClassesThrowComError)
{
    _variant_t text(L"not a number");
    try {
        double number = text;  // the conversion fails in the platform
        ADD_FAILURE() << "a text that is no number converted to " << number;
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), DISP_E_TYPEMISMATCH) << "the platform's code travels with the error";
    }
    EXPECT_EQ(V_VT(&vtMissing), VT_ERROR) << "the missing-argument VARIANT";
    EXPECT_EQ(V_ERROR(&vtMissing), DISP_E_PARAMNOTFOUND);
}
