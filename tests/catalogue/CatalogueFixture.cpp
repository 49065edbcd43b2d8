#include "CatalogueFixture.h"

std::unique_ptr<CatalogueFixture::Installed> CatalogueFixture::installed_;

void CatalogueFixture::SetUpTestSuite()
{
    installed_ = std::make_unique<Installed>();
    Installed& it = *installed_;
    it.mixer.describe({{"Name", "Mixer"}, {"Description", "Mixes streams"}, {"CapeVersion", "1.0 "},
                       {"About", "Mixer\\nVersion 2%n(c) 100%%"}, {"VendorURL", "http://mixer.example"},
                       {"ComponentVersion", "2.0"}, {"HelpURL", "http://mixer.example/help"}});
    it.selfNamed.describe({{"Name", it.selfNamed.progId()}});
    it.anonymous.describe({{"Name", "No ProgID"}});
    it.manager.describe({{"Name", "Thermo Manager"}, {"Description", "Thermo server"}, {"CapeVersion", "1.1"},
                         {"VendorURL", "http://thermo.example"}});
    it.manager.describePackage("PR", {{"Name", "Peng-Robinson"}, {"Description", "Cubic equation"}});
    it.standalone.describe({{"Name", "Standalone PP"}, {"Description", "On its own"}, {"CapeVersion", "1.1"}});
}

void CatalogueFixture::TearDownTestSuite()
{
    installed_.reset();
}
