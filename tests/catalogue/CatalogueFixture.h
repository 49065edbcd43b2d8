#pragma once
// The catalogue installed for each test suite: a described unit operation, one without
// description and one without ProgID, a manager served by this process with three
// packages (one described, a fourth unnamed), one that refuses its interface, a standalone package.
#include <gtest/gtest.h>

#include <memory>

#include "ComponentManager.h"
#include "testkit/Texts.h"

struct InstalledCatalogue {
    testkit::ServedClass mixer{{"QnTest.Mixer", {kUnitCatid},
                                {{"Name", "Mixer"}, {"Description", "Mixes streams"}, {"CapeVersion", "1.0 "},
                                 {"About", "Mixer\\nVersion 2%n(c) 100%% %1%tby us%.%0 not shown"},
                                 {"VendorURL", "http://mixer.example"}, {"ComponentVersion", "2.0"}}}};
    testkit::ServedClass undescribed{{"QnTest.Undescribed", {kUnitCatid}, {}}};
    testkit::ServedClass withoutProgId{{"", {kUnitCatid}, {{"Name", "No ProgID"}}}};
    testkit::ServedClass manager{
        {"QnTest.ThermoManager", {kManagerCatid},
         {{"Name", "Thermo Manager"}, {"Description", "Thermo server"}, {"CapeVersion", "1.1"},
          {"ComponentVersion", "3.1"}, {"About", "Thermo about"}, {"VendorURL", "http://thermo.example"},
          {"HelpURL", "http://thermo.example/help"}}},
        testkit::creatorOf<ManagerDouble>(std::vector<std::wstring>{L"SRK", L"PR", L"", L"Ideal"})};
    testkit::ServedClass refusing{{"QnTest.Refusing", {kManagerCatid}, {}},  // its interface: E_UNEXPECTED
                                  testkit::creatorOf<ManagerDouble>(std::vector<std::wstring>{L"X"}, E_UNEXPECTED)};
    testkit::ServedClass standalone{{"QnTest.Standalone", {kPropertyPackageCatid}, {{"Name", "Standalone PP"}}}};

    // <mixer>, <undescribed>, <manager>, <refusing> and <standalone> stand for the
    // installed ProgIDs, <mixer-clsid> etc. for the class identifiers.
    testkit::Tokens tokens;

    InstalledCatalogue()
    {
        manager.describePackage("PR", {{"Name", "Peng-Robinson"}, {"Description", "Cubic equation"},
                                       {"CapeVersion", "1.0"}, {"VendorURL", "http://pr.example"}});
        for (const auto& [name, served] : {std::pair<std::string, const testkit::ServedClass*>{"mixer", &mixer},
                                           {"undescribed", &undescribed}, {"manager", &manager},
                                           {"refusing", &refusing}, {"standalone", &standalone}})
            tokens.insert(tokens.end(),
                          {{"<" + name + ">", served->progId()}, {"<" + name + "-clsid>", served->clsidText()}});
    }
    std::string expand(const std::string& text) const { return testkit::replaced(text, tokens); }
    Lines expand(const Lines& texts) const { return testkit::replaced(texts, tokens); }
};

class CatalogueTest : public ::testing::Test {
public:
    static void SetUpTestSuite() { installed_ = std::make_unique<InstalledCatalogue>(); }
    static void TearDownTestSuite() { installed_.reset(); }
    static const InstalledCatalogue& installed() { return *installed_; }

private:
    static inline std::unique_ptr<InstalledCatalogue> installed_;
};

template <class Row>
class CatalogueTable : public CatalogueTest, public ::testing::WithParamInterface<Row> {};
