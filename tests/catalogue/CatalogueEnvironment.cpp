#include <gtest/gtest.h>

#include "support/MTUtils.h"

namespace {

// The dialog reads its settings file beside the module registered as the library's:
// here the test program stands in for the DLL.
class CatalogueEnvironment : public ::testing::Environment {
public:
    void SetUp() override { MTUtils::setModuleName("catalogue_tests.exe"); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new CatalogueEnvironment);

}  // namespace
