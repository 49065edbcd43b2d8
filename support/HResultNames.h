#pragma once
#include <windows.h>
#include <cstdint>
#include <span>
#include <string>

// Readable names of HRESULTs, as describeHResult (ErrorReport.h) shows them.

struct HResultName {
    uint32_t code;
    const char* name;
};

// A block of codes reserved for one OLE area, named "AREA_E_FIRST...AREA_E_LAST".
struct HResultRange {
    HRESULT first;
    HRESULT last;
    const char* text;
};

// The 243 named codes, each code once.
std::span<const HResultName> hresultNames();
// The 32 reserved ranges, in the order they are searched.
std::span<const HResultRange> hresultRanges();

// "FACILITY_NULL" ... "FACILITY_WINDOWS" for facilities 0 to 8, else "<Unknown Facility>".
const char* facilityName(HRESULT code);
// "SEVERITY_ERROR" when bit 31 is set, else "SEVERITY_SUCCESS".
const char* severityName(HRESULT code);
