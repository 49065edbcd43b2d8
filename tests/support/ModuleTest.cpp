// The module's surroundings (its name, path, environment and version resources) and
// the compound list beside it.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

#include "ModuleName.h"
#include "support/ErrorReport.h"
#include "support/QnUtils.h"
#include "testkit/FileGuards.h"
#include "testkit/MessageBoxDriver.h"

using testkit::TemporaryFile;

namespace {

const std::string kPath = [] {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path);
}();
// Where the build puts the test, the library and the compound list.
const std::string kDirectory = kPath.substr(0, kPath.rfind('\\'));
const std::string kExecutable = kPath.substr(kDirectory.size() + 1);  // no version resource

}  // namespace

TEST(CompoundList, FillsTheTwoIdentifierRangesAndWarnsWhenShort)
{
    std::string full;  // identifiers 1..999, then 3000..3768
    for (int i = 0; i < 1768; ++i)
        full += std::to_string(i < 999 ? i + 1 : 2001 + i) + ", C" + std::to_string(i) + " 0-00-0\n";
    TemporaryFile all("qn_compounds_full.txt", full);
    TemporaryFile some("qn_compounds.txt", "1, WATER, 7732-18-5\n3768, ABCDEFGHIJKLMN, 123456-89-0\n"
                                           "1500, NOWHERE 0-00-0\n2, NOCAS NULL\nEND\n4, AFTER 1-1-1\n");
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(all.path());
    EXPECT_EQ(boxes.count(), 0u) << "more than the 102 shipped compounds: no warning";
    EXPECT_EQ(QnUtils::compoundName(3764), "C1763") << "line 1764 holds identifier 3764";
    QnUtils::readCompoundList(some.path());
    EXPECT_FALSE(QnUtils::compoundName(3764)) << "a new read starts from empty tables";
    EXPECT_EQ(QnUtils::compoundName(1), "WATER") << "a comma ending the name is dropped";
    EXPECT_EQ(QnUtils::compoundName(3768), "ABCDEFGHIJKLMN") << "3768 is the last identifier with a slot";
    EXPECT_EQ(QnUtils::compoundCasNumber(3768), "123456-89-0") << "a CAS number of 11 characters fits";
    EXPECT_FALSE(QnUtils::compoundCasNumber(2)) << "NULL means no CAS number";
    EXPECT_FALSE(QnUtils::compoundName(4)) << "a line without a number ends the list";
    EXPECT_EQ(QnUtils::compoundCasCount(), 2);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption + boxes.last().text,
              "WARNING: only 3 compounds (102 were expected) were read from file QnpCASnos.txt. ")
        << "no caption; 1500 has no slot and is not counted";
}

// Each line stands alone, whatever an editor or a damaged copy did to the file.
TEST(CompoundList, ReadsLineByLine)
{
    const std::string overlong = "9, " + std::string(300, 'X') + " 1-1-1\n";
    TemporaryFile list("qn_lines.txt", "\xEF\xBB\xBF" "1, WATER 7732-18-5\r\n\r\n   \n2, METH" + std::string(1, '\0') +
                                           "ANE 74-82-8\r\n" + overlong + "3, ETHANE 74-84-0\n1, WATER 7732-18-5\n"
                                           "5, LAST 1-1-1");
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(list.path());
    EXPECT_EQ(QnUtils::compoundName(1), "WATER") << "the byte-order mark is not part of the first line";
    EXPECT_EQ(QnUtils::compoundCasNumber(1), "7732-18-5") << "CR LF ends a line";
    EXPECT_EQ(QnUtils::compoundName(2), "METHANE") << "a NUL byte is dropped, not the end of the line";
    EXPECT_EQ(QnUtils::compoundName(3), "ETHANE") << "blank lines and an overlong line are skipped";
    EXPECT_FALSE(QnUtils::compoundName(9)) << "the overlong line is not read";
    EXPECT_EQ(QnUtils::compoundName(5), "LAST") << "the last line needs no line feed";
    ASSERT_EQ(boxes.count(), 2u) << "the overlong line is reported, then the count";
    EXPECT_EQ(boxes.boxes()[0].text, " ERROR: line too long in QnpCASnos.txt; it has been skipped");
    EXPECT_EQ(boxes.last().text, "WARNING: only 4 compounds (102 were expected) were read from file QnpCASnos.txt. ")
        << "a repeated identifier counts once";
}

TEST(CompoundList, ProblemsAreReportedAndKeepTheLinesBefore)
{
    ModuleName module("QnModuleTest.dll");
    testkit::TraceFileGuard trace("QnModuleTest");
    for (auto [bad, report] : {std::pair{"2 NAME 1-1-1\n", "could not read 3 fields of one line"},  // no comma
                               {"2, ABCDEFGHIJKLMNO, 1-1-1\n", "component name too long"},  // the comma counts
                               {"2, NAME 1234567-89-0\n", "casno name too long"}}) {
        TemporaryFile list("qn_bad.txt", std::string("1, WATER 7732-18-5\n") + bad + "3, ETHANE 74-84-0\n");
        MessageBoxDriver boxes;
        QnUtils::readCompoundList(list.path());
        ASSERT_EQ(boxes.count(), 1u) << "one report and no warning for: " << bad;
        EXPECT_EQ(boxes.last().text, std::string(" ERROR: ") + report);
        EXPECT_EQ(QnUtils::compoundName(1), "WATER") << "the line before stays";
        EXPECT_FALSE(QnUtils::compoundName(3)) << "reading stops at the bad line";
    }
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(kDirectory + "\\missing.txt");
    EXPECT_FALSE(QnUtils::compoundName(1)) << "a missing list empties the tables";
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, " ERROR: Cannot open QnpCASnos.txt");
}

TEST(CompoundList, HostCheckReadsTheShippedListOnce)
{
    std::ifstream shipped(kDirectory + "\\QnpCASnos.txt");
    int lines = 0;
    for (std::string line; std::getline(shipped, line);)
        lines += line.empty() ? 0 : 1;
    ModuleName module(kExecutable.c_str());  // the module directory is where the list lies
    QnUtils::resetHostInfoForTests();
    MessageBoxDriver boxes;
    EXPECT_FALSE(QnUtils::isMainHostProcess()) << "the main simulator is not loaded in the test";
    EXPECT_FALSE(QnUtils::isMainHostProcess());
    EXPECT_EQ(lines, 102) << "the shipped list";
    EXPECT_EQ(boxes.count(), 0u) << "an intact installation reads every compound it ships, without a warning";
    EXPECT_EQ(QnUtils::compoundCasNumber(1), "7732-18-5") << "water, the first line of the shipped list";
    QnUtils::resetHostInfoForTests();
}

TEST(MTUtils, NameEnvironmentAndPathOfTheModule)
{
    ModuleName module("a.b.c");
    EXPECT_EQ(MTUtils::moduleBaseName(), "a") << "the base name ends at the first dot";
    MTUtils::setModuleName(std::string(300, 'n').c_str());
    EXPECT_EQ(MTUtils::moduleName(), std::string(259, 'n')) << "at most 259 characters are kept";
    MTUtils::setModuleName("");
    MessageBoxDriver boxes;
    EXPECT_EQ(MTUtils::getModuleDirectory(), "") << "no registered name, no directory";
    MTUtils::setModuleName(kExecutable.c_str());
    EXPECT_FALSE(MTUtils::getModulePath("QnNotLoadedAnywhere.dll"));
    testkit::EnvironmentVariable tooLong("QN_TEST_VALUE", std::string(260, 'v').c_str());
    EXPECT_EQ(MTUtils::getEnvironmentValue("QN_TEST_VALUE"), "") << "a value of 260 characters reads as empty";
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.boxes()[0].text, "MTUtils must be initialized with setModuleName(<dllName>)");
    EXPECT_EQ(boxes.boxes()[1].text.rfind("Error getting the dll path for QnNotLoadedAnywhere.dll: ", 0), 0u)
        << "and the system's reason: " << boxes.boxes()[1].text;
    EXPECT_EQ(boxes.boxes()[1].caption, kExecutable) << "the caption is the registered module name";
    EXPECT_EQ(boxes.boxes()[2].text + " | " + boxes.boxes()[2].caption,
              "Value of Environment Variable is too long | QN_TEST_VALUE")
        << "the caption names the variable";
}

TEST(MTUtils, VersionOfALoadedModule)
{
    using Numbers = std::array<unsigned long, 4>;
    EXPECT_EQ(splitFileVersion("37, 0, 0, 2"), (Numbers{37, 0, 0, 2})) << "commas when there is no dot";
    EXPECT_EQ(splitFileVersion("2.5, beta.3.4.5"), (Numbers{2, 5, 3, 4})) << "a dot wins; atol per piece; four";
    HMODULE library = LoadLibraryA((kDirectory + "\\QnCOGUI11.dll").c_str());
    ModuleName module("QnModuleTest.dll");
    testkit::TraceFileGuard trace("QnModuleTest");
    MessageBoxDriver boxes;
    unsigned long versions[4] = {9, 9, 9, 9};
    ASSERT_TRUE(MTUtils::getDLLversions(versions, "QnCOGUI11.dll")) << "the library's version resource is read";
    EXPECT_EQ(std::to_array(versions), (Numbers{1, 1, 0, 0})) << "its FileVersion";
    EXPECT_FALSE(MTUtils::getDLLversions(versions, kExecutable.c_str())) << "a module without a version resource";
    EXPECT_EQ(versions[0], 1u) << "the numbers are left as they were";
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text.rfind("getDLLversions:  ERROR: error getting DLL version for " + kExecutable +
                                          "FInfoErr returned error ",  // and the platform's code
                                      0),
              0u)
        << boxes.last().text;
    FreeLibrary(library);
}
