#pragma once
#include <array>
#include <string_view>

// The CAPE-OPEN component categories the catalogue lists, in tree order. The CATID
// texts keep their mixed letter case: records copy them and the dialog compares
// them as text, case-sensitively.
struct CategoryEntry {
    unsigned long filterFlag;  // a categoryFilterTag bit
    const wchar_t* wideCatid;
    const char* catid;
    const char* displayName;
};

inline constexpr unsigned long kUnitOperationFilter = 32;
inline constexpr unsigned long kManagerFilter = 512;
inline constexpr unsigned long kPackageFilter = 1024;
inline constexpr unsigned long kAllFilter = 65536;

inline constexpr std::array<CategoryEntry, 3> kCategoryTable{{
    {kUnitOperationFilter, L"{678c09a5-7d66-11D2-a67d-00105a42887f}", "{678c09a5-7d66-11D2-a67d-00105a42887f}",
     "Unit Operations"},
    {kManagerFilter, L"{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}", "{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}",
     "CAPE-OPEN 1.1 Property Package Manager"},
    {kPackageFilter, L"{CF51E384-0110-4ed8-ACB7-B50CFDE6908E}", "{CF51E384-0110-4ed8-ACB7-B50CFDE6908E}",
     "CAPE-OPEN 1.1 Property Package"},
}};

// The CATID of every package listed under a manager, and of a preset component
// shown in the information-only mode.
inline constexpr const char* kPackageCatid = "{678c09a4-7d66-11D2-a67d-00105a42887f}";

// A category is shown when its flag and the filter share a bit.
constexpr bool categoryShown(const CategoryEntry& entry, unsigned long filterMask)
{
    return (entry.filterFlag & filterMask) != 0;
}
