// The registry layout the sample components write when regsvr32 registers them,
// and what the system's component categories manager makes of it.
#include <gtest/gtest.h>

#include "SampleMachine.h"

using namespace samplestest;

namespace {

std::wstring classKey(const SampleClass& sample) { return L"CLSID\\" + guidText(sample.clsid); }

const SampleClass& sampleNamed(const wchar_t* progId)
{
    for (const SampleClass& sample : sampleClasses())
        if (std::wstring(sample.progId) == progId)
            return sample;
    throw std::runtime_error("no such sample");
}

}  // namespace

TEST(SampleRegistration, WritesProgIdAndApartmentServerOfEveryClass)
{
    for (const SampleClass& sample : sampleClasses()) {
        SCOPED_TRACE(testing::PrintToString(sample.progId));
        EXPECT_EQ(sample.progId, readText(classKey(sample) + L"\\ProgID", nullptr)) << "CLSID\\{clsid}\\ProgID";
        EXPECT_EQ(guidText(sample.clsid), readText(std::wstring(sample.progId) + L"\\CLSID", nullptr))
            << "the ProgID key should lead back to the class";
        EXPECT_EQ(besideTestProgram(sample.dll), readText(classKey(sample) + L"\\InprocServer32", nullptr))
            << "InprocServer32 should name the DLL that registered itself";
        EXPECT_EQ(L"Apartment", readText(classKey(sample) + L"\\InprocServer32", L"ThreadingModel"));
        CLSID fromProgId{};
        EXPECT_EQ(S_OK, CLSIDFromProgID(sample.progId, &fromProgId));
        EXPECT_EQ(guidText(sample.clsid), guidText(fromProgId)) << "CLSIDFromProgID should find the class";
    }
}

TEST(SampleRegistration, DescribesEachComponentUnderCapeDescription)
{
    const std::wstring mixer = classKey(sampleNamed(L"Tarnwick.Mixer")) + L"\\CapeDescription";
    EXPECT_EQ(L"Tarnwick Mixer", readText(mixer, L"Name")) << "the mixer's Name differs from its ProgID";
    EXPECT_EQ(L"1.0", readText(mixer, L"CapeVersion"));
    EXPECT_EQ(L"1.0.0", readText(mixer, L"ComponentVersion"));
    EXPECT_EQ(L"http://www.tarnwick.example/", readText(mixer, L"VendorURL"));
    EXPECT_EQ(L"http://www.tarnwick.example/help/mixer.html", readText(mixer, L"HelpURL"));
    EXPECT_NE(std::wstring::npos, readText(mixer, L"About").find(L"\\n"))
        << "the mixer's About text carries the two characters backslash and n";
    EXPECT_FALSE(readText(mixer, L"Description").empty());

    const std::wstring heater = classKey(sampleNamed(L"Tarnwick.Heater")) + L"\\CapeDescription";
    EXPECT_EQ(L"Tarnwick.Heater", readText(heater, L"Name")) << "the heater's Name equals its ProgID";

    const std::wstring manager = classKey(sampleNamed(L"Oskvale.PackageManager")) + L"\\CapeDescription";
    EXPECT_EQ(L"1.1", readText(manager, L"CapeVersion"));
    const std::wstring package = classKey(sampleNamed(L"Lindqvarn.PropertyPackage")) + L"\\CapeDescription";
    EXPECT_EQ(L"1.1", readText(package, L"CapeVersion"));
    EXPECT_EQ(L"Lindqvarn Twelve Compounds", readText(package, L"Name"));

    for (const SampleClass& sample : sampleClasses())
        for (const wchar_t* value : {L"Name", L"Description", L"About", L"CapeVersion", L"ComponentVersion",
                                     L"VendorURL", L"HelpURL"})
            EXPECT_TRUE(valueExists(classKey(sample) + L"\\CapeDescription", value))
                << testing::PrintToString(sample.progId) << " should have the value " << testing::PrintToString(value);
}

TEST(SampleRegistration, DescribesThePackagesUnderTheirManager)
{
    const std::wstring packages = classKey(sampleNamed(L"Oskvale.PackageManager")) + L"\\PropertyPackages\\";
    EXPECT_EQ(L"Natural Gas", readText(packages + L"Natural Gas\\CapeDescription", L"Name"));
    EXPECT_EQ(L"Aromatics and Paraffins", readText(packages + L"Aromatics\\CapeDescription", L"Name"))
        << "a package Name that differs from the package name";
    EXPECT_FALSE(readText(packages + L"Aromatics\\CapeDescription", L"Description").empty());

    // One package describes itself only partly, so that readers fall back on the manager.
    const std::wstring partial = packages + L"Air and Water\\CapeDescription";
    EXPECT_EQ(L"Air and Water", readText(partial, L"Name"));
    EXPECT_EQ(L"1.1", readText(partial, L"CapeVersion"));
    for (const wchar_t* missing : {L"Description", L"About", L"VendorURL", L"HelpURL"})
        EXPECT_FALSE(valueExists(partial, missing)) << testing::PrintToString(missing) << " should be missing";
}

TEST(SampleRegistration, CategoriesManagerListsEachClassUnderItsCategories)
{
    const std::vector<CLSID> units = classesOfCategory(catidUnitOperation);
    const std::vector<CLSID> managers = classesOfCategory(catidPackageManager11);
    const std::vector<CLSID> packages = classesOfCategory(catidPropertyPackage11);
    const std::vector<CLSID> capeOpen = classesOfCategory(catidCapeOpenComponent);
    EXPECT_TRUE(listed(units, sampleNamed(L"Tarnwick.Mixer").clsid));
    EXPECT_TRUE(listed(units, sampleNamed(L"Tarnwick.Heater").clsid));
    EXPECT_TRUE(listed(managers, sampleNamed(L"Oskvale.PackageManager").clsid));
    EXPECT_TRUE(listed(packages, sampleNamed(L"Lindqvarn.PropertyPackage").clsid));
    EXPECT_FALSE(listed(units, sampleNamed(L"Oskvale.PackageManager").clsid)) << "a manager is no unit operation";
    EXPECT_FALSE(listed(managers, sampleNamed(L"Lindqvarn.PropertyPackage").clsid)) << "a package is no manager";
    EXPECT_FALSE(listed(packages, sampleNamed(L"Tarnwick.Mixer").clsid)) << "a unit is no property package";
    for (const SampleClass& sample : sampleClasses())
        EXPECT_TRUE(listed(capeOpen, sample.clsid)) << "every sample is a CAPE-OPEN component";
}

TEST(SampleRegistration, DefinesTheCapeOpenCategories)
{
    for (const GUID& catid : {catidCapeOpenComponent, catidUnitOperation, catidPackageManager11, catidPropertyPackage11})
        EXPECT_FALSE(readText(L"Component Categories\\" + guidText(catid), L"409").empty())
            << "the category should be defined with an English description";
}
