#include "inspector/ProbeTable.h"

namespace {

// {678C0xxx-<group>-11D2-A67D-00105A42887F}: the shape of every CAPE-OPEN identifier.
constexpr IID capeOpenIID(unsigned long first, unsigned short group)
{
    return {first, group, 0x11D2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}};
}

// The second group of the identifiers: pre-1.0 drafts (and interfaces that kept
// them when published), published parameter/port/collection/report interfaces, and
// published unit and utility interfaces.
constexpr unsigned short kDraft = 0x7D66;
constexpr unsigned short kPublished0093 = 0x0093;
constexpr unsigned short kPublished0100 = 0x0100;

constexpr IID kUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

// Entries 3, 9 and 15 were published under their listed identifiers. ICapeUnitEdit
// was never published. "ICapeOptionSpec" was published as ICapeOptionParameterSpec
// and "ICapeUnitCollection" as ICapeCollection.
const std::array<ProbedInterface, 15> kProbedInterfaces = {{
    {"IUnknown", kUnknown, std::nullopt},
    {"IDispatch", kDispatch, std::nullopt},
    {"ICapeIdentification", capeOpenIID(0x678C0990, kDraft), std::nullopt},
    {"ICapeParameterSpec", capeOpenIID(0x678C099C, kDraft), capeOpenIID(0x678C099C, kPublished0093)},
    {"ICapeRealParameterSpec", capeOpenIID(0x678C099D, kDraft), capeOpenIID(0x678C099D, kPublished0093)},
    {"ICapeIntegerParameterSpec", capeOpenIID(0x678C099E, kDraft), capeOpenIID(0x678C099E, kPublished0093)},
    {"ICapeOptionSpec", capeOpenIID(0x678C099F, kDraft), capeOpenIID(0x678C099F, kPublished0093)},
    {"ICapeParameter", capeOpenIID(0x678C09A0, kDraft), capeOpenIID(0x678C09A0, kPublished0093)},
    {"ICapeThermoReliability", capeOpenIID(0x678C0992, kDraft), std::nullopt},
    {"ICapeUnit", capeOpenIID(0x678C0998, kDraft), capeOpenIID(0x678C0998, kPublished0100)},
    {"ICapeUnitEdit", capeOpenIID(0x678C0A9A, kDraft), std::nullopt},
    {"ICapeUnitPort", capeOpenIID(0x678C0999, kDraft), capeOpenIID(0x678C0999, kPublished0093)},
    {"ICapeUnitCollection", capeOpenIID(0x678C099A, kDraft), capeOpenIID(0x678C099A, kPublished0093)},
    {"ICapeUnitReport", capeOpenIID(0x678C099B, kDraft), capeOpenIID(0x678C099B, kPublished0093)},
    {"ICapeThermoPropertyPackageManager", capeOpenIID(0x678C0AA2, kDraft), std::nullopt},
}};
