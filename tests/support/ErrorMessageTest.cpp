#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include "ErrorTestGuards.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/HResultNames.h"
#include "testkit/MessageBoxDriver.h"

using namespace errortest;

namespace {

constexpr const char* kTooLong = "A generated message is too long. Contact support.";

// The system's own text for a code, as the user's language gives it.
std::string systemText(DWORD code, DWORD language)
{
    char buffer[2400] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  language, buffer, sizeof buffer, nullptr);
    return std::string(buffer, length);
}

// Makes the thread's error object, as a failing component would leave it.
void setThreadErrorObject(const wchar_t* description, const wchar_t* source)
{
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.put()), S_OK);
    create->SetDescription(const_cast<wchar_t*>(description));
    create->SetSource(const_cast<wchar_t*>(source));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(create.queryInterface(IID_IErrorInfo, info), S_OK);
    ASSERT_EQ(SetErrorInfo(0, info.get()), S_OK);
}

HWND createOwnerWindow()
{
    return CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                           nullptr);
}

}  // namespace

TEST(ErrorCode, InternalCodesFromTwoTo999ReportAsEFail)
{
    EXPECT_EQ(normaliseErrorCode(0), 0);
    EXPECT_EQ(normaliseErrorCode(1), 1) << "S_FALSE stays a success";
    EXPECT_EQ(normaliseErrorCode(2), E_FAIL);
    EXPECT_EQ(normaliseErrorCode(100), E_FAIL) << "100 is the internal 'no HRESULT' code";
    EXPECT_EQ(normaliseErrorCode(999), E_FAIL);
    EXPECT_EQ(normaliseErrorCode(1000), 1000);
    EXPECT_EQ(normaliseErrorCode(-5), -5) << "negative codes pass unchanged";
    EXPECT_EQ(normaliseErrorCode(REGDB_E_CLASSNOTREG), REGDB_E_CLASSNOTREG);
}

TEST(ErrorMessage, JoinsContextMarkerAndText)
{
    EXPECT_EQ(composeErrorMessage(E_FAIL, "Bad VT", nullptr), " ERROR: Bad VT")
        << "no context, and E_FAIL gets neither system text nor code";
    EXPECT_EQ(composeErrorMessage(S_FALSE, "y", "x"), "x: y") << "no marker for a success code";
    EXPECT_EQ(composeErrorMessage(E_FAIL, nullptr, "ctx"), "ctx:  ERROR: ??") << "a missing text reads ??";
    EXPECT_EQ(composeErrorMessage(S_OK, "%s and %d", "%s"), "%s: %s and %d") << "texts are never formats";
}

TEST(ErrorMessage, AppendsSystemTextAndCodeForOtherFailures)
{
    ASSERT_TRUE(systemText(0x80040154, 0x0400).empty()) << "this test assumes no system text for 0x80040154";
    EXPECT_EQ(composeErrorMessage(REGDB_E_CLASSNOTREG, "Cannot create component", "createComp"),
              "createComp:  ERROR: Cannot create component(0x80040154)")
        << "without a system text the code follows the text directly";

    std::string invalidArg = systemText(0x80070057, 0x0400);
    ASSERT_FALSE(invalidArg.empty()) << "the system has a text for E_INVALIDARG";
    EXPECT_EQ(composeErrorMessage(E_INVALIDARG, "Bad value", "setup"),
              "setup:  ERROR: Bad value\n" + invalidArg + "(0x80070057)");
}

TEST(ErrorMessage, AddsAndConsumesTheThreadErrorObject)
{
    setThreadErrorObject(L"Temperature out of range", L"Sample.Unit");
    EXPECT_EQ(composeErrorMessage(E_FAIL, "Calculate failed", "calc"),
              "calc:  ERROR: Calculate failed\n(Temperature out of range: Sample.Unit)");
    EXPECT_EQ(composeErrorMessage(E_FAIL, "Calculate failed", "calc"), "calc:  ERROR: Calculate failed")
        << "the first composition consumed the error object";

    setThreadErrorObject(L"", L"Sample.Unit");
    EXPECT_EQ(composeErrorMessage(E_FAIL, "t", nullptr), " ERROR: t") << "an empty description adds nothing";
    ComPtr<IErrorInfo> left;
    EXPECT_EQ(GetErrorInfo(0, left.put()), S_FALSE) << "the empty error object was consumed too";
}

TEST(ErrorMessage, LimitIs2399CharactersWithAReportWhenExceeded)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    std::string fits(2399 - 8, 'a');  // " ERROR: " makes it 2,399
    EXPECT_EQ(composeErrorMessage(E_FAIL, fits.c_str(), nullptr).size(), 2399u);
    EXPECT_EQ(boxes.count(), 0u) << "2,399 characters pass without a report";

    std::string tooLong = fits + "b";
    std::string message = composeErrorMessage(E_FAIL, tooLong.c_str(), nullptr);
    EXPECT_EQ(message, " ERROR: " + fits) << "the message keeps its first 2,399 characters";
    ASSERT_EQ(boxes.count(), 1u) << "2,400 characters raise the too-long report";
    EXPECT_EQ(boxes.last().text, std::string(" ERROR: ") + kTooLong);
    EXPECT_EQ(boxes.last().caption, kReportCaption);
    EXPECT_NE(trace.contents().find(kTooLong), std::string::npos) << "the too-long report is traced";

    setThreadErrorObject(std::wstring(3000, L'd').c_str(), L"src");
    std::string shortText(300, 's');
    EXPECT_EQ(composeErrorMessage(E_INVALIDARG, shortText.c_str(), nullptr),
              " ERROR: " + shortText + "\n(" + std::string(1997, 'd') + "\n" + systemText(0x80070057, 0x0400) +
                  "(0x80070057)")
        << "the error object's piece holds at most 1,999 characters";

    setThreadErrorObject(std::wstring(3000, L'd').c_str(), L"src");
    std::string half(1500, 'h');
    std::string withPieces = composeErrorMessage(E_INVALIDARG, half.c_str(), nullptr);
    EXPECT_EQ(withPieces.size(), 2399u) << "appended pieces stop at the limit";
    EXPECT_EQ(withPieces.find("(0x80070057)"), std::string::npos) << "what does not fit is cut off";
    EXPECT_EQ(boxes.count(), 1u) << "only the joined text raises the too-long report";
}

TEST(ErrorMessage, TooLongReportDoesNotNestWhileItIsShown)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    std::string tooLong(3000, 'x');
    std::string nested;
    // A second over-long message composed while the first report's box is up.
    OnNextBoxActivation duringBox([&] { nested = composeErrorMessage(E_FAIL, tooLong.c_str(), nullptr); });
    std::string outer = composeErrorMessage(E_FAIL, tooLong.c_str(), nullptr);
    EXPECT_EQ(outer.size(), 2399u);
    EXPECT_EQ(nested.size(), 2399u) << "the nested message is still cut";
    EXPECT_EQ(boxes.count(), 1u) << "one too-long box, not one per nesting level";
}

TEST(HResultNames, NamesRangesAndFacilities)
{
    EXPECT_EQ(describeHResult(S_OK), "S_OK ($00000000)");
    EXPECT_EQ(describeHResult(E_NOINTERFACE), "E_NOINTERFACE ($80004002)");
    EXPECT_EQ(describeHResult(REGDB_E_CLASSNOTREG), "REGDB_E_CLASSNOTREG ($80040154)");
    EXPECT_EQ(describeHResult(static_cast<HRESULT>(0x80040175)), "range: CACHE_E_FIRST...CACHE_E_LAST ($80040175)");
    EXPECT_EQ(describeHResult(static_cast<HRESULT>(0x00040005)), "range: OLE_S_FIRST...OLE_S_LAST ($00040005)");
    EXPECT_EQ(describeHResult(static_cast<HRESULT>(0x80041234)),
              "severity: SEVERITY_ERROR, facility: FACILITY_ITF ($80041234)");
    EXPECT_EQ(describeHResult(static_cast<HRESULT>(0x800A0001)),
              "severity: SEVERITY_ERROR, facility: <Unknown Facility> ($800A0001)");
    EXPECT_EQ(describeHResult(static_cast<HRESULT>(0x00080003)),
              "severity: SEVERITY_SUCCESS, facility: FACILITY_WINDOWS ($00080003)");
}

TEST(HResultNames, EveryNamedCodeDescribesAsItsName)
{
    ASSERT_EQ(hresultNames().size(), 243u);
    ASSERT_EQ(hresultRanges().size(), 32u);
    // A named code inside a reserved range is still shown by its name.
    for (const HResultName& row : hresultNames()) {
        char suffix[16];
        snprintf(suffix, sizeof suffix, " ($%08lX)", static_cast<unsigned long>(row.code));
        EXPECT_EQ(describeHResult(static_cast<HRESULT>(row.code)), row.name + std::string(suffix));
    }
}

TEST(ReportError, BoxIsSystemModalWithoutOwnerAndTraced)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    EXPECT_EQ(reportError(100, "Bad VT", "SetGet", nullptr, true), E_FAIL) << "100 reports as E_FAIL";
    ASSERT_EQ(boxes.count(), 1u);
    const ShownBox& box = boxes.last();
    EXPECT_EQ(box.text, "SetGet:  ERROR: Bad VT");
    EXPECT_EQ(box.caption, "Pellamy's CAPE-OPEN tool");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(box.topmost()) << "without any owner the box is system-modal";
    EXPECT_TRUE(box.hasButton(IDOK) && box.buttons.size() == 1) << "OK only";
    EXPECT_NE(trace.contents().find(": QnTraceTest: SetGet:  ERROR: Bad VT\r\n\r\n"), std::string::npos)
        << "the entry holds the message and its own line feed";

    EXPECT_EQ(reportError("warning", nullptr, nullptr, false), E_FAIL) << "the short form reports E_FAIL";
    EXPECT_EQ(trace.contents().find("warning"), std::string::npos) << "traceIt false writes nothing";
}

TEST(ReportError, BoxBelongsToTheGivenOrDefaultOwner)
{
    InstalledTrace trace;
    HWND host = createOwnerWindow();
    HWND other = createOwnerWindow();
    ASSERT_TRUE(host && other);
    MessageBoxDriver boxes;
    setDefaultOwnerWindow(host);
    reportError(0, "warning", nullptr, nullptr, true);
    reportError(0, "explicit", nullptr, other, true);
    setDefaultOwnerWindow(nullptr);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "warning") << "code 0: a warning without the marker";
    EXPECT_EQ(boxes.boxes()[0].owner, host) << "the default owner window owns the box";
    EXPECT_FALSE(boxes.boxes()[0].topmost());
    EXPECT_EQ(boxes.boxes()[1].owner, other) << "an explicit owner wins over the default";
    DestroyWindow(host);
    DestroyWindow(other);
}

TEST(ReportError, TraceErrorWritesWithoutABox)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    EXPECT_EQ(traceError(5, "saving %d", "saveStorage"), E_FAIL);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_NE(trace.contents().find("saveStorage:  ERROR: saving %d\r\n\r\n"), std::string::npos);
}

TEST(ShowHResultMessage, AddsSystemTextAndCodeName)
{
    ModuleNameSetting module("QnBoxTest.dll");
    MessageBoxDriver boxes;
    std::string english = systemText(0x80070057, 0x0409);
    ASSERT_FALSE(english.empty());
    showHResultMessage("Creating", E_INVALIDARG);
    showHResultMessage("Creating %s", static_cast<HRESULT>(0x80041234));
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "Creating\n" + english + " E_INVALIDARG ($80070057)");
    EXPECT_EQ(boxes.boxes()[0].caption, "QnBoxTest") << "captioned with the module base name";
    EXPECT_TRUE(boxes.boxes()[0].hasIcon);
    EXPECT_TRUE(boxes.boxes()[0].topmost()) << "no owner: system-modal";
    EXPECT_EQ(boxes.boxes()[1].text,
              "Creating %s\n<No system message defined> severity: SEVERITY_ERROR, facility: FACILITY_ITF ($80041234)");
}

TEST(Win32Result, FailureShowsLastErrorCaptionedWithModuleName)
{
    ModuleNameSetting module("QnBoxTest.dll");
    MessageBoxDriver boxes;
    uintptr_t out = 99;
    EXPECT_EQ(checkWin32Result(out, 7, "never", true), S_OK);
    EXPECT_EQ(out, 7u);
    EXPECT_EQ(checkWin32Result(out, 0, "never", false), S_OK) << "zero expected and given";
    EXPECT_EQ(boxes.count(), 0u);

    std::string reason = systemText(ERROR_FILE_NOT_FOUND, 0);
    ASSERT_FALSE(reason.empty());
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(lastErrorText(), reason);
    EXPECT_EQ(checkWin32Result(out, 0, "Opening %s", true), E_FAIL);
    EXPECT_EQ(out, 0u) << "the value is stored even on failure";
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Opening %s: " + reason);
    EXPECT_EQ(boxes.last().caption, "QnBoxTest.dll") << "the full registered module name";

    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(checkWin32Result(out, 1, "Closing", false), E_FAIL) << "non-zero where zero was expected";
    SetLastError(0x2000ABCD);
    EXPECT_EQ(lastErrorText(), "") << "no system text for an unknown code";
}
