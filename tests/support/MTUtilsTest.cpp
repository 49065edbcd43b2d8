#include <gtest/gtest.h>
#include <array>
#include <vector>
#include "support/ErrorReport.h"
#include "support/MTUtils.h"
#include "support/UniqueHandle.h"
#include "testkit/MessageBoxDriver.h"
#include "ErrorTestGuards.h"
#include "ModuleStateGuards.h"

using errortest::EnvironmentSetting;
using errortest::InstalledTrace;
using errortest::ModuleNameSetting;

TEST(MTUtils, BaseNameStopsAtTheFirstDot)
{
    ModuleNameSetting guard("QnCOGUI11.dll");
    EXPECT_EQ(MTUtils::moduleName(), "QnCOGUI11.dll");
    EXPECT_EQ(MTUtils::moduleBaseName(), "QnCOGUI11") << "the extension is not part of the base name";
    MTUtils::setModuleName("QnCOGUI11");
    EXPECT_EQ(MTUtils::moduleBaseName(), "QnCOGUI11") << "a name without a dot is its own base name";
    MTUtils::setModuleName("a.b.c");
    EXPECT_EQ(MTUtils::moduleBaseName(), "a") << "the base name ends at the first dot, not the last";
    MTUtils::setModuleName(std::string(300, 'n').c_str());
    EXPECT_EQ(MTUtils::moduleName(), std::string(259, 'n')) << "at most 259 characters are kept";
}

TEST(MTUtils, EnvironmentValueOf259CharactersIsReturnedAndOf260Refused)
{
    MessageBoxDriver boxes;
    {
        EnvironmentSetting unset("QN_MTUTILS_TEST_VALUE", nullptr);
        EXPECT_EQ(MTUtils::getEnvironmentValue("QN_MTUTILS_TEST_VALUE"), "");
    }
    std::string fits(259, 'v');
    {
        EnvironmentSetting variable("QN_MTUTILS_TEST_VALUE", fits.c_str());
        EXPECT_EQ(MTUtils::getEnvironmentValue("QN_MTUTILS_TEST_VALUE"), fits);
    }
    EXPECT_EQ(boxes.count(), 0u) << "an unset variable and a value that fits show no box";

    EnvironmentSetting variable("QN_MTUTILS_TEST_VALUE", std::string(260, 'v').c_str());
    EXPECT_EQ(MTUtils::getEnvironmentValue("QN_MTUTILS_TEST_VALUE"), "") << "a value too long reads as empty";
    ASSERT_EQ(boxes.count(), 1u) << "the user is told the value is too long";
    EXPECT_EQ(boxes.last().text, "Value of Environment Variable is too long");
    EXPECT_EQ(boxes.last().caption, "QN_MTUTILS_TEST_VALUE") << "the caption names the variable";
}

TEST(MTUtils, ModulePathNeedsARegisteredName)
{
    ModuleNameSetting guard("");
    MessageBoxDriver boxes;
    EXPECT_FALSE(MTUtils::getModulePath(nullptr)) << "no name, no path";
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "MTUtils must be initialized with setModuleName(<dllName>)");
    EXPECT_EQ(boxes.last().caption, "");
}

TEST(MTUtils, ModulePathOfAModuleNotLoadedIsExplained)
{
    ModuleNameSetting guard("QnCOGUI11.dll");
    MessageBoxDriver boxes;
    EXPECT_FALSE(MTUtils::getModulePath("QnNotLoadedAnywhere.dll"));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text.rfind("Error getting the dll path for QnNotLoadedAnywhere.dll: ", 0), 0u)
        << "the box names the module, then the system's reason: " << boxes.last().text;
    EXPECT_GT(boxes.last().text.size(), sizeof "Error getting the dll path for QnNotLoadedAnywhere.dll: ")
        << "the system's reason follows";
    EXPECT_EQ(boxes.last().caption, "QnCOGUI11.dll") << "the caption is the registered module name";
}

TEST(MTUtils, DirectoryOfTheRegisteredModuleIsCachedUntilTheNameChanges)
{
    ModuleNameSetting guard("");
    MessageBoxDriver boxes;
    EXPECT_EQ(MTUtils::getModuleDirectory(), "") << "no registered name, no directory";
    EXPECT_EQ(MTUtils::getModuleDirectory(), "");
    EXPECT_EQ(boxes.count(), 1u) << "the second call answers from the cache, without a second box";

    MTUtils::setModuleName(testExecutableName().c_str());
    EXPECT_EQ(MTUtils::getModuleDirectory(), testExecutableDirectory()) << "setModuleName forgets the cache";
    EXPECT_EQ(MTUtils::getModulePath(nullptr), testExecutablePath());
    EXPECT_EQ(boxes.count(), 1u);
}

TEST(MTUtils, IniValueLosesTrailingBlanksOnlyWhenItHasNoInnerBlank)
{
    // Quotes keep the blanks through GetPrivateProfileString, which trims unquoted values.
    TempFile ini("qn_mtutils_test.ini", "[general]\r\n"
                                        "padded=\"1   \"\r\n"
                                        "inner=\"a b   \"\r\n"
                                        "plain=value\r\n"
                                        "[other]\r\n"
                                        "plain=other value\r\n");
    EXPECT_EQ(MTUtils::readIniValue("padded", "general", ini.path().c_str()), "1");
    EXPECT_EQ(MTUtils::readIniValue("inner", "general", ini.path().c_str()), "a b   ")
        << "a value with a blank inside keeps its trailing blanks";
    EXPECT_EQ(MTUtils::readIniValue("plain", "", ini.path().c_str()), "value") << "no section means general";
    EXPECT_EQ(MTUtils::readIniValue("plain", "other", ini.path().c_str()), "other value");
    EXPECT_EQ(MTUtils::readIniValue("missing", "general", ini.path().c_str()), "");
    EXPECT_EQ(MTUtils::readIniValue("plain", "missing", ini.path().c_str()), "");
    EXPECT_EQ(MTUtils::readIniValue("plain", "general", (ini.path() + ".missing").c_str()), "");
}

TEST(MTUtils, IniFileDefaultsToTheModuleBaseNameBesideTheModule)
{
    ModuleNameSetting guard(testExecutableName().c_str());
    std::string base = testExecutableName().substr(0, testExecutableName().find('.'));
    TempFile ini(testExecutableDirectory() + "\\" + base + ".ini", "[general]\r\nCOGents=3\r\n");
    MessageBoxDriver boxes;
    EXPECT_EQ(MTUtils::readIniValue("COGents", "", ""), "3");
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(MTUtils, FileVersionSplitsAtDotsOrElseAtCommas)
{
    using Numbers = std::array<unsigned long, 4>;
    EXPECT_EQ(splitFileVersion("37.0.0.1"), (Numbers{37, 0, 0, 1}));
    EXPECT_EQ(splitFileVersion("37, 0, 0, 1"), (Numbers{37, 0, 0, 1})) << "blanks after commas are skipped";
    EXPECT_EQ(splitFileVersion("5"), (Numbers{5, 0, 0, 0})) << "missing pieces are 0";
    EXPECT_EQ(splitFileVersion("1.2"), (Numbers{1, 2, 0, 0}));
    EXPECT_EQ(splitFileVersion("1.2.3.4.5"), (Numbers{1, 2, 3, 4})) << "only the first four pieces count";
    EXPECT_EQ(splitFileVersion("2.5, beta"), (Numbers{2, 5, 0, 0}))
        << "a dot wins over commas, and each piece counts by its leading number";
}

// FILETIME of 2001-09-09 01:46:40 UTC, which is calendar time 1,000,000,000.
static FILETIME billionthSecond()
{
    unsigned long long ticks = (1'000'000'000ULL + 11'644'473'600ULL) * 10'000'000ULL;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

TEST(MTUtils, VersionInfoTakesTheLaterTranslationWhereItHasAValue)
{
    std::string copy = temporaryDirectory() + "qn_version_sample.dll";
    ASSERT_TRUE(CopyFileA((testExecutableDirectory() + "\\VersionSample.dll").c_str(), copy.c_str(), FALSE));
    {
        UniqueFile file(CreateFileA(copy.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        FILETIME written = billionthSecond();
        ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
    }
    MTUtils::VersionInfo info = MTUtils::readVersionInfo(copy.c_str());
    DeleteFileA(copy.c_str());

    EXPECT_EQ(info.lastWriteTime, 1'000'000'000) << "the file's last-write time as calendar time";
    EXPECT_EQ(info.CompanyName, "Second Company") << "the second translation overwrites the first";
    EXPECT_EQ(info.FileVersion, "37, 0, 0, 2");
    EXPECT_EQ(info.SpecialBuild, "only the second translation has this");
    EXPECT_EQ(info.Comments, "only the first translation has comments")
        << "a string the second translation lacks keeps the first's value";
    EXPECT_EQ(info.ProductName, "Sample of the first translation");
    EXPECT_EQ(info.LegalCopyright, "") << "a string no translation has is empty";
}

TEST(MTUtils, VersionInfoRaisesTheFailingStepsErrorCode)
{
    std::string missing = temporaryDirectory() + "qn_no_such_module.dll";
    try {
        MTUtils::readVersionInfo(missing.c_str());
        ADD_FAILURE() << "a missing file raises FInfoErr";
    } catch (const FInfoErr& error) {
        EXPECT_EQ(error.errorCode, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
    TempFile text("qn_not_a_module.dll", "plain text, no version resource");
    EXPECT_THROW(MTUtils::readVersionInfo(text.path().c_str()), FInfoErr) << "a file without a version resource";
}

TEST(MTUtils, DllVersionsOfALoadedModule)
{
    LoadedModule sample(testExecutableDirectory() + "\\VersionSample.dll");
    ASSERT_NE(sample.module, nullptr);
    LoadedModule library(testExecutableDirectory() + "\\QnCOGUI11.dll");
    ASSERT_NE(library.module, nullptr);
    MessageBoxDriver boxes;

    unsigned long versions[4] = {9, 9, 9, 9};
    ASSERT_TRUE(MTUtils::getDLLversions(versions, "VersionSample.dll"));
    EXPECT_EQ(std::vector<unsigned long>(versions, versions + 4), (std::vector<unsigned long>{37, 0, 0, 2}))
        << "the FileVersion string (of the last translation) with commas and blanks";
    ASSERT_TRUE(MTUtils::getDLLversions(versions, "QnCOGUI11.dll"));
    EXPECT_EQ(std::vector<unsigned long>(versions, versions + 4), (std::vector<unsigned long>{1, 1, 0, 0}));
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(MTUtils, DllVersionsReportsAnUnreadableResource)
{
    InstalledTrace trace;
    MessageBoxDriver boxes;
    unsigned long versions[4] = {9, 9, 9, 9};
    // The test executable is loaded but has no version resource.
    EXPECT_FALSE(MTUtils::getDLLversions(versions, testExecutableName().c_str()));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption, kReportCaption);
    EXPECT_NE(boxes.last().text.find("getDLLversions"), std::string::npos) << boxes.last().text;
    EXPECT_NE(boxes.last().text.find("error getting DLL version for " + testExecutableName() + "FInfoErr returned error "),
              std::string::npos)
        << boxes.last().text;
    EXPECT_EQ(versions[0], 9u) << "the numbers are left as they were";
    EXPECT_NE(trace.contents().find(testExecutableName() + "FInfoErr returned error "), std::string::npos)
        << "the report is traced";

    boxes.clear();
    EXPECT_FALSE(MTUtils::getDLLversions(versions, "QnNotLoadedAnywhere.dll"));
    ASSERT_EQ(boxes.count(), 1u) << "only the missing-module box: there is no resource to report on";
    EXPECT_EQ(boxes.last().text.rfind("Error getting the dll path for ", 0), 0u);
}
