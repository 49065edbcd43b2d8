#include <gtest/gtest.h>

#include <regex>

#include "ErrorTestGuards.h"
#include "support/Trace.h"
#include "testkit/MessageBoxDriver.h"

using namespace errortest;

namespace {

constexpr const char* kNoticeCaption = "Corvane Veltrix CAPE-OPEN 1.1 Information message";

// "MM/DD/YY HH:MM:SS: " as the start of an entry.
const std::string kStamp = R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d: )";

bool matches(const std::string& text, const std::string& pattern)
{
    return std::regex_match(text, std::regex(pattern));
}

// A scratch directory below the system's temporary directory, removed afterwards.
class ScratchDirectory : public DirectoryGuard {
public:
    explicit ScratchDirectory(const char* name) : DirectoryGuard(systemTempPath() + name) {}
};

// The installed trace file cannot be opened: a directory stands in its place.
class BlockedTraceFile {
public:
    explicit BlockedTraceFile(const InstalledTrace& trace) : path_(trace.traceFile())
    {
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~BlockedTraceFile() { RemoveDirectoryA(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST(TraceFile, EntryHasDateTimeModuleAndLiteralText)
{
    InstalledTrace trace("QnTraceTest.dll");
    MessageBoxDriver boxes;
    writeTrace("value %d of %s");
    writeTrace("second");
    std::string expected = kStamp + "QnTraceTest: value %d of %s\r\n" + kStamp + "QnTraceTest: second\r\n";
    EXPECT_TRUE(matches(trace.contents(), expected)) << trace.contents();
    EXPECT_EQ(boxes.count(), 0u);

    ModuleNameSetting unnamed("");
    std::string anonymous = productFolder() + "\\.trc";
    writeTrace("before a name");
    EXPECT_TRUE(matches(readFile(anonymous), kStamp + ": before a name\r\n")) << "no module name: file .trc";
    DeleteFileA(anonymous.c_str());
}

TEST(TraceFile, CreatesProductFolderBelowAnExistingCorvatekFolder)
{
    ModuleNameSetting module("QnTraceTest");
    DirectoryGuard corvatek(corvatekFolder());
    DirectoryHider product(productFolder());
    resetTraceStateForTests();
    MessageBoxDriver boxes;
    writeTrace("first");
    EXPECT_TRUE(matches(readFile(productFolder() + "\\QnTraceTest.trc"), kStamp + "QnTraceTest: first\r\n"));
    EXPECT_EQ(boxes.count(), 0u);
    resetTraceStateForTests();
}

TEST(TraceFile, WithoutCorvatekFolderEveryEntryFails)
{
    ModuleNameSetting module("QnTraceTest");
    DirectoryHider corvatek(corvatekFolder());
    resetTraceStateForTests();
    MessageBoxDriver boxes;
    writeTrace("lost");
    writeTrace("lost again");
    ASSERT_EQ(boxes.count(), 2u) << "each entry tries again and tells the user again";
    for (const ShownBox& box : boxes.boxes()) {
        EXPECT_EQ(box.text, "problem writing trace file");
        EXPECT_EQ(box.caption, "");
        EXPECT_TRUE(box.topmost()) << "no owner: system-modal";
    }
    EXPECT_FALSE(pathExists(corvatekFolder())) << "the Corvatek folder is not created";
    resetTraceStateForTests();
}

TEST(TraceFile, LongTextIsCutTo2399WithoutLineFeed)
{
    InstalledTrace trace("QnTraceTest");
    const size_t header = std::string("MM/DD/YY HH:MM:SS: QnTraceTest: ").size();
    writeTrace(std::string(2398 - header, 'a').c_str());  // 2,398: the line feed still fits
    writeTrace(std::string(3000, 'b').c_str());
    writeTrace("next");
    std::string contents = trace.contents();
    ASSERT_GT(contents.size(), 2400u + 2399u);
    EXPECT_EQ(contents.substr(2398, 2), "\r\n") << "an entry of 2,398 characters keeps its line feed";
    std::string cut = contents.substr(2400, 2399);
    EXPECT_TRUE(matches(cut, kStamp + "QnTraceTest: b+")) << "header and text fill the 2,399 characters";
    EXPECT_TRUE(matches(contents.substr(2400 + 2399), kStamp + "QnTraceTest: next\r\n"))
        << "the next entry continues on the same line";
}

TEST(TraceFile, FallsBackToTempWithOneNoticePerProcess)
{
    InstalledTrace trace("QnTraceTest");
    BlockedTraceFile blocked(trace);
    ScratchDirectory temp("qn-trace-fallback");
    MessageBoxDriver boxes;
    std::string fallback = temp.path() + "\\QnTraceTest.trc";
    std::string notice = "Since trace file at installation directory (" + blocked.path() +
                         ") could not be written, trace file will be written to '" + temp.path() + "'.";
    {
        EnvironmentSetting withBackslash("TEMP", (temp.path() + "\\").c_str());
        writeTrace("relocated");
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, notice) << "one trailing backslash is removed";
        EXPECT_EQ(boxes.last().caption, kNoticeCaption);
        EXPECT_TRUE(boxes.last().hasIcon) << "the information icon";
        EXPECT_TRUE(matches(readFile(fallback), kStamp + "QnTraceTest: relocated\r\n"));

        DeleteFileA(fallback.c_str());
        writeTrace("again");
        EXPECT_EQ(boxes.count(), 1u) << "the notice is shown at most once per process";
        EXPECT_TRUE(matches(readFile(fallback), kStamp + "QnTraceTest: again\r\n"));
    }

    resetTraceStateForTests();  // as in a new process
    EnvironmentSetting withoutBackslash("TEMP", temp.path().c_str());
    writeTrace("existing fallback");
    EXPECT_EQ(boxes.count(), 1u) << "no notice when the fallback file already exists";
    DeleteFileA(fallback.c_str());
    resetTraceStateForTests();
    writeTrace("new fallback");
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().text, notice) << "the same directory without a trailing backslash";
    EXPECT_TRUE(matches(readFile(fallback), kStamp + "QnTraceTest: new fallback\r\n"));
}

TEST(TraceFile, WithoutTempTheFallbackIsCTemp)
{
    InstalledTrace trace("QnTraceTest");
    BlockedTraceFile blocked(trace);
    DirectoryGuard cTemp("c:\\temp");
    EnvironmentSetting noTemp("TEMP", nullptr);
    MessageBoxDriver boxes;
    std::string fallback = "c:\\temp\\QnTraceTest.trc";
    DeleteFileA(fallback.c_str());
    writeTrace("in c:\\temp");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.ends_with("trace file will be written to 'c:\\temp'."));
    EXPECT_TRUE(matches(readFile(fallback), kStamp + R"(QnTraceTest: in c:\\temp\r\n)"));
    DeleteFileA(fallback.c_str());
}

TEST(TraceFile, NowhereToWriteShowsTwoBoxes)
{
    InstalledTrace trace("QnTraceTest");
    BlockedTraceFile blocked(trace);
    EnvironmentSetting missingTemp("TEMP", "C:\\qn-no-such-directory");
    MessageBoxDriver boxes;
    writeTrace("nowhere");
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.boxes()[0].caption, kNoticeCaption);
    EXPECT_EQ(boxes.boxes()[1].text, "Could not open trace file") << "from the fallback open";
    EXPECT_EQ(boxes.boxes()[2].text, "Could not open trace file") << "and again from the entry";
    EXPECT_FALSE(pathExists("C:\\qn-no-such-directory"));
}

TEST(QnshowFile, AppendsTextLinesInTheTempDirectory)
{
    ModuleNameSetting module("QnTraceTest.dll");
    ScratchDirectory temp("qn-qnshow");
    EnvironmentSetting tmp("TMP", temp.path().c_str());
    EnvironmentSetting tempVariable("TEMP", temp.path().c_str());
    MessageBoxDriver boxes;
    traceToTempFile("Error creating interface '%s' context %d");
    traceToTempFile("second");
    EXPECT_EQ(readFile(temp.path() + "\\qnshow.txt"), "Error creating interface '%s' context %d\r\nsecond\r\n");
    EXPECT_EQ(boxes.count(), 0u);

    EnvironmentSetting missingTmp("TMP", "C:\\qn-no-such-directory\\");
    traceToTempFile("lost");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text,
              "error tracing 'lost' (arg='2147483647') to file 'C:\\qn-no-such-directory\\qnshow.txt' in mode 'a'");
    EXPECT_EQ(boxes.last().caption, "QnTraceTest");
    EXPECT_TRUE(boxes.last().hasIcon);
}
