#include <gtest/gtest.h>
#include <fstream>
#include "support/ErrorReport.h"
#include "support/QnUtils.h"
#include "testkit/MessageBoxDriver.h"
#include "ErrorTestGuards.h"
#include "ModuleStateGuards.h"

using errortest::InstalledTrace;
using errortest::ModuleNameSetting;

namespace {

// A compound list with identifiers 1..999 and then 3000 onwards, count lines in all.
std::string syntheticCompoundList(int count)
{
    std::string list;
    for (int i = 0; i < count; ++i) {
        int identifier = i < 999 ? i + 1 : 3000 + (i - 999);
        list += std::to_string(identifier) + ", C" + std::to_string(identifier) + " 0-00-" + std::to_string(i % 10) +
                "\n";
    }
    return list;
}

std::string warningFor(int read)
{
    return "WARNING: only " + std::to_string(read) +
           " compounds (1764 were expected) were read from file QnpCASnos.txt. ";
}

}  // namespace

TEST(CompoundLine, ReadsIdentifierNameAndCasNumberAsTheLineFormatDoes)
{
    CompoundLine line = parseCompoundLine("3001, ACETONE 67-64-1");
    EXPECT_EQ(line.status, CompoundLine::Status::Complete);
    EXPECT_EQ(line.identifier, 3001);
    EXPECT_EQ(line.name, "ACETONE");
    EXPECT_EQ(line.casNumber, "67-64-1");

    CompoundLine withComma = parseCompoundLine("  12,water,  7732-18-5 trailing words");
    EXPECT_EQ(withComma.status, CompoundLine::Status::Complete);
    EXPECT_EQ(withComma.name, "water") << "a comma ending the name word is dropped";
    EXPECT_EQ(withComma.casNumber, "7732-18-5");

    EXPECT_EQ(parseCompoundLine("").status, CompoundLine::Status::NoField);
    EXPECT_EQ(parseCompoundLine("# comment 1, x y").status, CompoundLine::Status::NoField);
    EXPECT_EQ(parseCompoundLine("5, NAMEONLY").status, CompoundLine::Status::TooFewFields);
    EXPECT_EQ(parseCompoundLine("5 NAME 1-1-1").status, CompoundLine::Status::TooFewFields)
        << "the comma must follow the number directly";
    EXPECT_EQ(parseCompoundLine("99999999999999999999, BIG 1-1-1").identifier, INT_MAX)
        << "a number beyond int saturates instead of overflowing";
}

TEST(CompoundLine, EnforcesTheNameAndCasLengths)
{
    EXPECT_EQ(parseCompoundLine("1, ABCDEFGHIJKLMN, 1-1-1").name, "ABCDEFGHIJKLMN")
        << "15 characters with the trailing comma fit";
    EXPECT_EQ(parseCompoundLine("1, ABCDEFGHIJKLMNO, 1-1-1").status, CompoundLine::Status::NameTooLong)
        << "the trailing comma counts towards the 15";
    EXPECT_EQ(parseCompoundLine("1, ABCDEFGHIJKLMNO 1-1-1").status, CompoundLine::Status::Complete);
    EXPECT_EQ(parseCompoundLine("1, N 1234567-89-0").status, CompoundLine::Status::CasTooLong);
    EXPECT_EQ(parseCompoundLine("1, N 123456-89-0").casNumber, "123456-89-0") << "11 characters fit";
}

TEST(QnUtils, CompoundSlotsCoverTwoIdentifierRanges)
{
    EXPECT_EQ(QnUtils::compoundSlot(1), 1);
    EXPECT_EQ(QnUtils::compoundSlot(999), 999);
    EXPECT_EQ(QnUtils::compoundSlot(3000), 1000);
    EXPECT_EQ(QnUtils::compoundSlot(3001), 1001);
    EXPECT_EQ(QnUtils::compoundSlot(3768), 1768);
    for (int noSlot : {0, -1, 1000, 1500, 2999, 3769, INT_MAX, INT_MIN})
        EXPECT_FALSE(QnUtils::compoundSlot(noSlot)) << noSlot << " has no slot";
}

TEST(QnUtils, CompoundListFillsTheTablesAndWarnsWhenShort)
{
    TempFile list("qn_compounds.txt", "1, WATER 7732-18-5\n"
                                      "3001, METHANE, 74-82-8\n"
                                      "1500, NOWHERE 0-00-0\n"
                                      "2, NOCAS NULL\n");
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(list.path());

    EXPECT_EQ(QnUtils::compoundName(1), "WATER");
    EXPECT_EQ(QnUtils::compoundCasNumber(1), "7732-18-5");
    EXPECT_EQ(QnUtils::compoundName(3001), "METHANE") << "identifier 3001 lives in slot 1001";
    EXPECT_EQ(QnUtils::compoundCasNumber(3001), "74-82-8");
    EXPECT_EQ(QnUtils::compoundName(2), "NOCAS");
    EXPECT_FALSE(QnUtils::compoundCasNumber(2)) << "NULL means no CAS number";
    EXPECT_FALSE(QnUtils::compoundName(1500)) << "an identifier without a slot is skipped";
    EXPECT_EQ(QnUtils::compoundCasCount(), 2);

    ASSERT_EQ(boxes.count(), 1u) << "only the short-list warning";
    EXPECT_EQ(boxes.last().text, warningFor(3)) << "the skipped line is not counted as read";
    EXPECT_EQ(boxes.last().caption, "");
}

TEST(QnUtils, FullCompoundListShowsNoWarning)
{
    TempFile full("qn_compounds_full.txt", syntheticCompoundList(1764));
    TempFile short_("qn_compounds_short.txt", syntheticCompoundList(1763));
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(full.path());
    EXPECT_EQ(boxes.count(), 0u) << "1764 compounds are what is expected";
    EXPECT_EQ(QnUtils::compoundName(3764), "C3764") << "the last line lands in slot 1764";
    EXPECT_EQ(QnUtils::compoundCasCount(), 1764);

    QnUtils::readCompoundList(short_.path());
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, warningFor(1763));
    EXPECT_FALSE(QnUtils::compoundName(3764)) << "a new read starts from empty tables";
}

TEST(QnUtils, BadCompoundLineIsReportedAndKeepsTheLinesBefore)
{
    struct Case {
        const char* badLine;
        const char* report;
    };
    for (const Case& c : {Case{"2, ONLYNAME\n", "could not read 3 fields of one line"},
                          Case{"2, NAMEFARTOOLONGTOBE 1-1-1\n", "component name too long"},
                          Case{"2, NAME 123456789-12-3\n", "casno name too long"}}) {
        TempFile list("qn_compounds_bad.txt", std::string("1, WATER 7732-18-5\n") + c.badLine + "3, ETHANE 74-84-0\n");
        InstalledTrace trace;
        MessageBoxDriver boxes;
        QnUtils::readCompoundList(list.path());
        ASSERT_EQ(boxes.count(), 1u) << "one report and no warning for: " << c.badLine;
        EXPECT_EQ(boxes.last().caption, kReportCaption);
        EXPECT_NE(boxes.last().text.find(c.report), std::string::npos) << boxes.last().text;
        EXPECT_NE(trace.contents().find(c.report), std::string::npos) << "the report is traced";
        EXPECT_EQ(QnUtils::compoundName(1), "WATER") << "the line before stays";
        EXPECT_FALSE(QnUtils::compoundName(3)) << "reading stops at the bad line";
    }
}

TEST(QnUtils, MissingCompoundListIsReportedAndEmptiesTheTables)
{
    TempFile list("qn_compounds.txt", syntheticCompoundList(1764));
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(list.path());
    ASSERT_TRUE(QnUtils::compoundName(1));

    InstalledTrace trace;
    QnUtils::readCompoundList(list.path() + ".missing");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_NE(boxes.last().text.find("Cannot open QnpCASnos.txt"), std::string::npos) << boxes.last().text;
    EXPECT_FALSE(QnUtils::compoundName(1));
    EXPECT_EQ(QnUtils::compoundCasCount(), 0);
}

TEST(QnUtils, HostCheckReadsTheShippedCompoundListOnce)
{
    std::ifstream shipped(testExecutableDirectory() + "\\QnpCASnos.txt");
    ASSERT_TRUE(shipped) << "the build puts the list beside the library";
    int lines = 0;
    for (std::string line; std::getline(shipped, line);)
        lines += line.empty() ? 0 : 1;

    // Registered as the test executable, the module directory is where the list lies.
    ModuleNameSetting module(testExecutableName().c_str());
    QnUtils::resetHostInfoForTests();
    MessageBoxDriver boxes;
    EXPECT_FALSE(QnUtils::isMainHostProcess()) << "the main simulator is not loaded in the test";
    ASSERT_EQ(boxes.count(), 1u) << "no line of the shipped list is rejected; it is shorter than 1764";
    EXPECT_EQ(boxes.last().text, warningFor(lines)) << "every shipped line is read";
    EXPECT_EQ(QnUtils::compoundCasNumber(1), "7732-18-5");
    EXPECT_FALSE(QnUtils::isMainHostProcess());
    EXPECT_EQ(boxes.count(), 1u) << "later questions read nothing";
    QnUtils::resetHostInfoForTests();
}

TEST(QnUtils, HostVersionComesFromTheMainSimulatorsFileVersion)
{
    // A module loaded under the main simulator's file name stands in for it.
    std::string standIn = temporaryDirectory() + kMainSimulatorExecutable;
    ASSERT_TRUE(CopyFileA((testExecutableDirectory() + "\\VersionSample.dll").c_str(), standIn.c_str(), FALSE));
    {
        LoadedModule simulator(standIn);
        ASSERT_NE(simulator.module, nullptr);
        ModuleNameSetting module(testExecutableName().c_str());
        QnUtils::resetHostInfoForTests();
        MessageBoxDriver boxes;
        EXPECT_TRUE(QnUtils::isMainHostProcess());
        EXPECT_EQ(QnUtils::mainHostVersion(), 3700) << "100 x 37 + 10 x 0 from FileVersion 37, 0, 0, 2";
        QnUtils::resetHostInfoForTests();
    }
    DeleteFileA(standIn.c_str());
}
