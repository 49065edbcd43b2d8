#pragma once
// Arrays made with the platform's own calls, and the check of one reported failure,
// shared by the SetGet tests.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "ErrorTestGuards.h"
#include "support/ErrorReport.h"
#include "support/VariantHolder.h"
#include "testkit/MessageBoxDriver.h"

// Reports are traced: with the product's trace folder in place each report shows
// exactly its own box (and no box about the trace).
using errortest::InstalledTrace;

// A one-dimensional array VARIANT of copies of the texts.
inline void makeBstrArray(VARIANT& var, std::initializer_list<const wchar_t*> texts, long lowerBound = 0)
{
    SAFEARRAYBOUND bound{static_cast<ULONG>(texts.size()), lowerBound};
    V_VT(&var) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&var) = SafeArrayCreate(VT_BSTR, 1, &bound);
    long index = lowerBound;
    for (const wchar_t* text : texts) {
        BSTR copy = SysAllocString(text);
        SafeArrayPutElement(V_ARRAY(&var), &index, copy);
        SysFreeString(copy);
        ++index;
    }
}

// The element at index of a one-dimensional array, as stored.
inline BSTR storedBstr(const VARIANT& var, long index)
{
    const SAFEARRAY* array = V_ARRAY(&var);
    return static_cast<BSTR*>(array->pvData)[index - array->rgsabound[0].lLbound];
}

inline std::wstring textOf(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring(L"<null>");
}

// Exactly one reportError box was shown, holding text (after "context: " when given).
inline void expectOneReport(const MessageBoxDriver& boxes, const std::string& text, const std::string& context = {})
{
    ASSERT_EQ(boxes.count(), 1u) << "one report is shown for: " << text;
    const ShownBox& box = boxes.last();
    EXPECT_EQ(box.caption, kReportCaption) << "the report carries the library's caption";
    EXPECT_NE(box.text.find(text), std::string::npos) << "the box reads: " << box.text;
    if (!context.empty()) {
        EXPECT_EQ(box.text.rfind(context + ": ", 0), 0u) << "the box starts with its context: " << box.text;
    }
}
