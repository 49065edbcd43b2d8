#include "ManagerPackages.h"

#include "ManagerClassId.h"

namespace oskvale {

const std::vector<OfferedPackage>& offeredPackages()
{
    static const std::vector<OfferedPackage> packages = {
        {{L"Natural Gas",
          L"Light hydrocarbons with nitrogen.",
          {L"methane", L"ethane", L"propane", L"n-butane", L"nitrogen"},
          CLSID_OskvalePackageManager},
         {L"Natural Gas", L"Methane to n-butane with nitrogen, for natural gas processing.",
          L"Natural Gas 2.0.1, Oskvale Thermodynamics (fictional vendor).", L"1.1", L"2.0.1",
          L"http://www.oskvale.example/", L"http://www.oskvale.example/help/natural-gas.html"}},
        {{L"Aromatics",
          L"Benzene and toluene with paraffins.",
          {L"benzene", L"toluene", L"n-hexane", L"n-heptane"},
          CLSID_OskvalePackageManager},
         {L"Aromatics and Paraffins", L"Benzene, toluene, n-hexane and n-heptane.",
          L"Aromatics and Paraffins 2.0.1, Oskvale Thermodynamics (fictional vendor).", L"1.1", L"2.0.1",
          L"http://www.oskvale.example/", L"http://www.oskvale.example/help/aromatics.html"}},
        {{L"Air and Water",
          L"Air components with water.",
          {L"nitrogen", L"oxygen", L"argon", L"water"},
          CLSID_OskvalePackageManager},
         {L"Air and Water", L"", L"", L"1.1", L"2.0.0", L"", L""}},
    };
    return packages;
}

}  // namespace oskvale
