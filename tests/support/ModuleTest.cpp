// The module's surroundings (its name, path, environment and version resources) and
// the compound list beside it.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "ModuleName.h"
#include "support/ErrorReport.h"
#include "support/QnUtils.h"
#include "support/UniqueHandle.h"
#include "testkit/FileGuards.h"
#include "testkit/MessageBoxDriver.h"

namespace {

using Entries = std::vector<std::pair<int, std::optional<std::string>>>;
const std::string executable = testkit::programPath().substr(testkit::programFolder().size() + 1);  // no version resource

// A list as read: the names and CAS numbers of some identifiers, the boxes shown.
struct ListRow {
    const char* name;
    std::optional<std::string> contents;  // none: the file is missing
    Entries names, casNumbers;
    std::vector<std::string> boxes;
};

const std::string kGood = "1, WATER 7732-18-5\n", kAfter = "3, ETHANE 74-84-0\n";

// Identifiers 1..999, then 3000..3768: more than the shipped 102.
std::string fullList()
{
    std::string full;
    for (int i = 0; i < 1768; ++i)
        full += std::to_string(i < 999 ? i + 1 : 2001 + i) + ", C" + std::to_string(i) + " 0-00-0\n";
    return full;
}

const ListRow kLists[] = {
    {"BothRanges", fullList(), {{999, "C998"}, {3000, "C999"}, {3764, "C1763"}}, {}, {}},
    {"FieldsAndEnd",
     "1, WATER, 7732-18-5\n3768, ABCDEFGHIJKLMN, 123456-89-0\n1500, NOWHERE 0-00-0\n2, NOCAS NULL\nEND\n4, AFTER 1-1-1\n",
     {{1, "WATER"}, {3768, "ABCDEFGHIJKLMN"}, {4, std::nullopt}, {7, std::nullopt}},  // "WATER,": the comma dropped
     {{3768, "123456-89-0"}, {2, std::nullopt}},  // 3768: the last slot; NULL: no CAS number
     {"WARNING: only 3 compounds (102 were expected) were read from file QnpCASnos.txt. "}},                               // 1500 has no slot and is not counted
    {"LineByLine",
     "\xEF\xBB\xBF" "1, WATER 7732-18-5\r\n\r\n   \n2, METH" + std::string(1, '\0') + "ANE 74-82-8\r\n9, " +
         std::string(300, 'X') + " 1-1-1\n3, ETHANE 74-84-0\n1, WATER 7732-18-5\n5, LAST 1-1-1",
     {{1, "WATER"}, {2, "METHANE"}, {3, "ETHANE"}, {9, std::nullopt}, {5, "LAST"}},
     {{1, "7732-18-5"}},
     {" ERROR: line too long in QnpCASnos.txt; it has been skipped",
      "WARNING: only 4 compounds (102 were expected) were read from file QnpCASnos.txt. "}},  // 1 counts once
    {"NoComma", kGood + "2 NAME 1-1-1\n" + kAfter, {{1, "WATER"}, {3, std::nullopt}}, {},
     {" ERROR: could not read 3 fields of one line"}},
    {"NameTooLong", kGood + "2, ABCDEFGHIJKLMNO, 1-1-1\n" + kAfter, {{1, "WATER"}, {3, std::nullopt}}, {},
     {" ERROR: component name too long"}},
    {"CasNumberTooLong", kGood + "2, NAME 1234567-89-0\n" + kAfter, {{1, "WATER"}, {3, std::nullopt}}, {},
     {" ERROR: casno name too long"}},
    {"Missing", std::nullopt, {{1, std::nullopt}, {7, std::nullopt}}, {}, {" ERROR: Cannot open QnpCASnos.txt"}},
};

class CompoundList : public ::testing::TestWithParam<ListRow> {};

}  // namespace

// Each read starts from empty tables (an earlier list named 7); each line stands alone, whatever an editor or
// a damaged copy did to the file; a bad line ends the list; a short list is reported.
TEST_P(CompoundList, IsReadLineByLineIntoTheTwoIdentifierRanges)
{
    const ListRow& row = GetParam();
    ModuleName module("QnModuleTest.dll");
    testkit::TraceFileGuard trace("QnModuleTest");
    testkit::TemporaryFile earlier("qn_earlier.txt", "7, EARLIER 1-1-1\n"), list("qn_list.txt", row.contents.value_or(""));
    MessageBoxDriver boxes;
    QnUtils::readCompoundList(earlier.path());
    boxes.clear();
    QnUtils::readCompoundList(row.contents ? list.path() : testkit::programFolder() + "\\missing.txt");
    for (const auto& [identifier, name] : row.names)
        EXPECT_EQ(QnUtils::compoundName(identifier), name) << "the name of " << identifier;
    for (const auto& [identifier, cas] : row.casNumbers)
        EXPECT_EQ(QnUtils::compoundCasNumber(identifier), cas) << "the CAS number of " << identifier;
    for (const ShownBox& box : boxes.boxes())
        EXPECT_EQ(box.caption, box.text.starts_with("WARNING") ? "" : "Pellamy's CAPE-OPEN tool") << box.text;
    EXPECT_EQ(boxes.texts(), row.boxes) << "the reports and the warning of a short list";
}

INSTANTIATE_TEST_SUITE_P(Table, CompoundList, ::testing::ValuesIn(kLists),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CompoundListShipped, HostCheckReadsItOnce)
{
    ModuleName module(executable.c_str());  // the list lies in the module's folder
    QnUtils::resetHostInfoForTests();
    EXPECT_FALSE(QnUtils::isMainHostProcess()) << "the main simulator is not loaded in the test";
    {
        // Opened by nobody else meanwhile: a second read would explain that it cannot open it.
        UniqueFile locked(CreateFileA((testkit::programFolder() + "\\QnpCASnos.txt").c_str(), GENERIC_READ, 0,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked) << "the shipped list";
        EXPECT_FALSE(QnUtils::isMainHostProcess());
    }
    // An intact installation is read once, every compound, without a warning (a box fails the test).
    EXPECT_EQ(QnUtils::compoundCasNumber(1), "7732-18-5") << "water, the first line of the shipped list";
    EXPECT_EQ(QnUtils::compoundCasCount(), 102);
    QnUtils::resetHostInfoForTests();
}

TEST(MTUtils, VersionOfALoadedModule)
{
    using Numbers = std::array<unsigned long, 4>;
    EXPECT_EQ(splitFileVersion("37, 0, 0, 2"), (Numbers{37, 0, 0, 2})) << "commas when there is no dot";
    EXPECT_EQ(splitFileVersion("2.5, beta.3.4.5"), (Numbers{2, 5, 3, 4})) << "a dot wins; atol per piece; four";
    HMODULE library = LoadLibraryA((testkit::programFolder() + "\\QnCOGUI11.dll").c_str());
    ModuleName module("QnModuleTest.dll");
    testkit::TraceFileGuard trace("QnModuleTest");
    MessageBoxDriver boxes;
    unsigned long versions[4] = {9, 9, 9, 9};
    ASSERT_TRUE(MTUtils::getDLLversions(versions, "QnCOGUI11.dll")) << "the library's version resource is read";
    EXPECT_EQ(std::to_array(versions), (Numbers{1, 1, 0, 0})) << "its FileVersion";
    EXPECT_FALSE(MTUtils::getDLLversions(versions, executable.c_str())) << "a module without a version resource";
    EXPECT_EQ(versions[0], 1u) << "the numbers are left as they were";
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.starts_with("getDLLversions:  ERROR: error getting DLL version for " + executable +
                                              "FInfoErr returned error "))  // and the platform's code
        << boxes.last().text;
    FreeLibrary(library);
}
