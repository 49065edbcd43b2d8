#pragma once
#include <string>
#include <vector>

// The pure-compound data of the sample property packages. Values are SI, as
// CAPE-OPEN wants them: temperatures in K, pressures in Pa, molecular weight in
// g/mol (computed from the IUPAC conventional atomic weights C 12.011, H 1.008,
// N 14.007, O 15.999, Ar 39.948). Normal boiling points are at 101325 Pa; critical
// constants are those of the reference equations of state. Where published values
// differ in the last digits, fewer digits are given.
namespace sample::thermo {

struct Compound {
    const wchar_t* id;  // the compound identifier the packages use
    const wchar_t* name;
    const wchar_t* formula;
    const wchar_t* casNumber;
    double molecularWeight;      // g/mol
    double normalBoilingPoint;   // K
    double criticalTemperature;  // K
    double criticalPressure;     // Pa
};

// All compounds the samples know, in a fixed order.
const std::vector<Compound>& compoundTable();
// The compound with this identifier, or null.
const Compound* findCompound(const std::wstring& id);

}  // namespace sample::thermo
