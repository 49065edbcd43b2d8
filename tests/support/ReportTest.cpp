// Error reports: the exact message with its code and the error object taken into it,
// the box's owner and modality; the trace: one time-stamped entry per text in the
// product folder (made below an existing vendor folder), the TEMP fallback's notice.
#include <gtest/gtest.h>

#include <string>

#include "ModuleName.h"
#include "support/ErrorReport.h"
#include "support/Trace.h"
#include "testkit/FileGuards.h"
#include "testkit/MessageBoxDriver.h"
#include "testkit/ServedClass.h"

using namespace testkit;

namespace {

// The platform's own text for a code, which messages include.
std::string systemText(DWORD code, DWORD language = 0x0400)
{
    char buffer[2400] = {};
    return std::string(buffer, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                              code, language, buffer, sizeof buffer, nullptr));
}

struct Composition {
    HRESULT code;
    const char* text;
    const char* context;
    const wchar_t* errorObject;  // the description a component left on the thread (source "Sample.Unit")
    const char* message;
};
const Composition kCompositions[] = {
    {E_FAIL, "Bad VT", nullptr, L"", " ERROR: Bad VT"},  // E_FAIL: neither system text nor code
    {S_FALSE, "y", "x", L"", "x: y"},                    // no marker for a success
    {E_FAIL, nullptr, "ctx", L"", "ctx:  ERROR: ??"},
    {S_OK, "%s and %d", "%s", L"", "%s: %s and %d"},  // texts are never formats
    {E_FAIL, "Calculate failed", "calc", L"Temperature out of range",
     "calc:  ERROR: Calculate failed\n(Temperature out of range: Sample.Unit)"},
};
class ComposedMessages : public ::testing::TestWithParam<Composition> {};

// "MM/DD/YY HH:MM:SS: QnReportTest: " starts every entry.
const std::string kEntry = R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d: QnReportTest: )";
bool matches(const std::string& text, const std::string& pattern)
{
    return testing::internal::RE::FullMatch(text, pattern);
}

// A box the test does not expect fails it (the test main's driver).
class TraceFile : public ::testing::Test {
protected:
    ModuleName module{"QnReportTest.dll"};
};
class Reports : public TraceFile {
protected:
    TraceFileGuard trace{"QnReportTest"};
    MessageBoxDriver boxes;
};
// The installed trace file cannot be opened: a folder stands in its place.
class BlockedTraceFile : public Reports {
protected:
    FolderGuard blocked{(DeleteFileA(trace.path().c_str()), trace.path())};
    FolderGuard temp{"qn-trace-fallback"};
};

}  // namespace

TEST_P(ComposedMessages, JoinContextMarkerTextAndErrorObject)
{
    leaveErrorObject(GetParam().errorObject, L"Sample.Unit");
    EXPECT_EQ(composeErrorMessage(GetParam().code, GetParam().text, GetParam().context), GetParam().message);
    ComPtr<IErrorInfo> left;
    EXPECT_EQ(GetErrorInfo(0, left.put()), S_FALSE) << "the error object was taken, even with an empty description";
}
INSTANTIATE_TEST_SUITE_P(Table, ComposedMessages, ::testing::ValuesIn(kCompositions));

TEST(ErrorMessage, OtherFailuresEndWithTheSystemTextAndTheCode)
{
    EXPECT_EQ(composeErrorMessage(E_INVALIDARG, "Bad value", "setup"),
              "setup:  ERROR: Bad value\n" + systemText(0x80070057) + "(0x80070057)");
    for (auto [code, reported] : {std::pair{0, 0}, {1, 1}, {2, E_FAIL}, {999, E_FAIL}, {1000, 1000}, {-5, -5}})
        EXPECT_EQ(normaliseErrorCode(code), reported) << code << ": 2..999 are internal codes, reported as E_FAIL";
}

TEST_F(Reports, MessagesAreCutAt2399CharactersWithOneReport)
{
    const std::string fits(2399 - 8, 'a');  // " ERROR: " makes it 2,399
    EXPECT_EQ(composeErrorMessage(E_FAIL, fits.c_str(), nullptr).size(), 2399u);
    EXPECT_EQ(boxes.count(), 0u) << "2,399 characters pass without a report";
    EXPECT_EQ(composeErrorMessage(E_FAIL, (fits + "b").c_str(), nullptr), " ERROR: " + fits) << "cut to 2,399";
    ASSERT_EQ(boxes.count(), 1u) << "2,400 characters raise the too-long report";
    EXPECT_EQ(boxes.last().text, " ERROR: A generated message is too long. Contact support.");
    leaveErrorObject(std::wstring(3000, L'd'), L"src");
    EXPECT_EQ(composeErrorMessage(E_INVALIDARG, "s", nullptr),
              " ERROR: s\n(" + std::string(1997, 'd') + "\n" + systemText(0x80070057) + "(0x80070057)")
        << "the error object's piece holds at most 1,999 characters";
}

TEST_F(Reports, BoxOwnerIsTheGivenOrDefaultWindowElseTheBoxIsSystemModalOrTaskModalWhenTheOwnerIsGone)
{
    auto window = [] { return CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 9, 9, 0, 0, 0, 0); };
    HWND host = window(), other = window();
    EXPECT_EQ(reportError(100, "Bad VT", "SetGet", nullptr, true), E_FAIL) << "100 reports as E_FAIL";
    setDefaultOwnerWindow(host);
    EXPECT_EQ(reportError(0, "warning", nullptr, nullptr, false), S_OK);
    reportError(E_FAIL, "explicit", nullptr, other, true);
    setDefaultOwnerWindow(nullptr);
    EXPECT_EQ(traceError(5, "saving %d", "saveStorage"), E_FAIL);
    ASSERT_EQ(boxes.count(), 3u) << "traceError shows no box";
    EXPECT_EQ(boxes.boxes()[0].caption + " | " + boxes.boxes()[0].text,
              "Pellamy's CAPE-OPEN tool | SetGet:  ERROR: Bad VT");
    EXPECT_EQ(boxes.boxes()[0].buttons, std::vector<int>{IDOK}) << "OK only";
    EXPECT_TRUE(boxes.boxes()[0].owner == nullptr && boxes.boxes()[0].topmost()) << "no owner: system-modal";
    EXPECT_TRUE(boxes.boxes()[1].owner == host && !boxes.boxes()[1].topmost()) << "the default owner owns the box";
    EXPECT_EQ(boxes.boxes()[2].owner, other) << "an explicit owner wins over the default";
    EXPECT_TRUE(matches(trace.added(), kEntry + "SetGet:  ERROR: Bad VT\r\n\r\n" + kEntry + " ERROR: explicit\r\n\r\n" +
                                           kEntry + "saveStorage:  ERROR: saving %d\r\n\r\n"))
        << "each traced report is an entry and an empty line; the warning is not traced: " << trace.added();
    DestroyWindow(host);
    DestroyWindow(other);
    reportError(E_FAIL, "late", nullptr, other, false);
    ASSERT_EQ(boxes.count(), 4u) << "a box whose owner is gone still shows";
    EXPECT_TRUE(boxes.last().owner == nullptr && !boxes.last().topmost()) << "on its own, task-modal";
}

TEST_F(TraceFile, EntriesGoToTheProductFolderMadeBelowTheVendorFolder)
{
    {
        FolderHider vendor(vendorFolder());
        TraceFileGuard trace("QnReportTest", false);
        writeTrace("kept");
        EXPECT_TRUE(matches(readFile(productFolder() + "\\QnReportTest.trc"), kEntry + "kept\r\n"))
            << "without a vendor folder, the vendor and product folders are made and the entry written there";
    }
    FolderGuard vendor(vendorFolder());
    FolderHider product(productFolder());
    TraceFileGuard trace("QnReportTest", false);
    writeTrace("value %d of %s");
    writeTrace(std::string(3000, 'b').c_str());
    writeTrace("next");
    EXPECT_EQ(trace.path(), vendorFolder() + "\\Corvane Quillon CAPE-OPEN\\QnReportTest.trc");
    const std::string cut = kEntry + std::string(2399 - 33, 'b');  // 33: the entry's header
    EXPECT_TRUE(matches(trace.added(), kEntry + "value %d of %s\r\n" + cut + kEntry + "next\r\n"))
        << "a long entry is cut to 2,399 characters, without its line feed: " << trace.added();
}

TEST_F(BlockedTraceFile, FallsBackToTempWithOneNoticePerProcess)
{
    EnvironmentVariable withBackslash("TEMP", (temp.path() + "\\").c_str());
    writeTrace("relocated");
    writeTrace("again");
    ASSERT_EQ(boxes.count(), 1u) << "the notice is shown once per process";
    EXPECT_EQ(boxes.last().text, "Since trace file at installation directory (" + trace.path() +
                                     ") could not be written, trace file will be written to '" + temp.path() + "'.")
        << "one trailing backslash is removed";
    EXPECT_EQ(boxes.last().caption, "Corvane Veltrix CAPE-OPEN 1.1 Information message");
    EXPECT_TRUE(boxes.last().hasIcon) << "the information icon";
    const std::string fallback = readFile(temp.path() + "\\QnReportTest.trc");
    EXPECT_TRUE(matches(fallback, kEntry + "relocated\r\n" + kEntry + "again\r\n")) << fallback;
}
