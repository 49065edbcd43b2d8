#include "CompoundData.h"

namespace sample::thermo {

const std::vector<Compound>& compoundTable()
{
    static const std::vector<Compound> table = {
        {L"water", L"Water", L"H2O", L"7732-18-5", 18.015, 373.124, 647.096, 22.064e6},
        {L"methane", L"Methane", L"CH4", L"74-82-8", 16.043, 111.667, 190.564, 4.5992e6},
        {L"ethane", L"Ethane", L"C2H6", L"74-84-0", 30.070, 184.569, 305.322, 4.8722e6},
        {L"propane", L"Propane", L"C3H8", L"74-98-6", 44.097, 231.036, 369.89, 4.2512e6},
        {L"n-butane", L"n-Butane", L"C4H10", L"106-97-8", 58.124, 272.660, 425.125, 3.796e6},
        {L"n-hexane", L"n-Hexane", L"C6H14", L"110-54-3", 86.178, 341.9, 507.82, 3.034e6},
        {L"n-heptane", L"n-Heptane", L"C7H16", L"142-82-5", 100.205, 371.5, 540.13, 2.736e6},
        {L"benzene", L"Benzene", L"C6H6", L"71-43-2", 78.114, 353.2, 562.0, 4.89e6},
        {L"toluene", L"Toluene", L"C7H8", L"108-88-3", 92.141, 383.8, 591.75, 4.126e6},
        {L"nitrogen", L"Nitrogen", L"N2", L"7727-37-9", 28.014, 77.355, 126.192, 3.3958e6},
        {L"oxygen", L"Oxygen", L"O2", L"7782-44-7", 31.998, 90.188, 154.581, 5.043e6},
        {L"argon", L"Argon", L"Ar", L"7440-37-1", 39.948, 87.302, 150.687, 4.863e6},
    };
    return table;
}

const Compound* findCompound(const std::wstring& id)
{
    for (const Compound& compound : compoundTable())
        if (id == compound.id)
            return &compound;
    return nullptr;
}

}  // namespace sample::thermo
