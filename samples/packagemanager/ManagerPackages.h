#pragma once
#include <string>
#include <vector>

#include "Registration.h"
#include "ThermoPackage.h"

// The three property packages the Oskvale manager offers: what each contains and
// how it is described in the registry under the manager's class key
// (PropertyPackages\<name>\CapeDescription). "Air and Water" deliberately carries
// only a Name, a CapeVersion and a ComponentVersion, so that a reader falls back on
// the manager's own description for the rest.
namespace oskvale {

struct OfferedPackage {
    sample::thermo::PackageDefinition definition;
    sample::CapeDescription registryDescription;
};

const std::vector<OfferedPackage>& offeredPackages();

}  // namespace oskvale
