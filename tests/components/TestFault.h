#pragma once
// TestComponents.dll: CAPE-OPEN components that each misbehave in one way, for the
// tests of the library (catalogue, creation) and of the samples.
//
// How a test uses it. DllRegisterServer registers nothing. A test registers one
// fault at a time, under a class identifier and a ProgID of its own, with the export
//     HRESULT WINAPI RegisterFault(long kind, const wchar_t* clsid, const wchar_t* progId)
// (clsid in braced text form; progId is ignored for TestFault::NoProgId) and removes
// it again with
//     HRESULT WINAPI UnregisterFault(const wchar_t* clsid, const wchar_t* progId)
// tests/components/RegisteredFault.h does both with a fresh CLSID. The kind is kept
// under the class key (REG_DWORD "TestFaultKind"); DllGetClassObject reads it back
// for the class COM asks for, so one DLL serves any number of registered faults.
// GetLiveObjectCount() tells how many of the DLL's COM objects are alive.
//
// Every registered fault carries the CAPE-OPEN component category and the category
// of its role (unit operation, 1.1 Property Package Manager or 1.1 property package)
// and a CapeDescription (Name "Test fault <number>", CapeVersion "1.0" for units,
// "1.1" otherwise), unless the kind says otherwise. Managers offer packages named
// "Faulty Package" (and "Second Package" where a list has two entries), each also
// described under the manager's PropertyPackages key.

namespace testfault {

enum class TestFault : long {
    // Unit operations (category {678C09A5-...})
    NoProgId = 1,                  // a good unit operation registered without ProgID
    NoCapeDescription = 2,         // a good unit operation without the CapeDescription key
    UnitWithoutCapeUnit = 3,       // ICapeUtilities and ICapeIdentification, no ICapeUnit
    UnitWithOtherVersionInterface = 4,  // registered as CAPE-OPEN 1.0 unit, no ICapeUnit; it answers
                                        // only {678C0AA2-7D66-...} (ICapeThermoPropertyPackageManager,
                                        // with an empty list), the interface asked of unit
                                        // operations of versions other than 1.0 and 1.1

    // 1.1 Property Package Managers (category {CF51E383-...})
    ManagerCreationFails = 10,     // its class object refuses to create it: ECapeLicenceErrorHR
                                   // (0x80040503) with an error object
    ManagerEmptyList = 11,         // GetPropertyPackageList: a SAFEARRAY of BSTR with no element
    ManagerListNotArray = 12,      // GetPropertyPackageList: a single BSTR "Faulty Package"
    ManagerListOfVariants = 13,    // GetPropertyPackageList: a SAFEARRAY of VARIANTs holding the BSTRs
                                   // "Faulty Package" and "Second Package" (good packages)
    ManagerWithoutManagerInterface = 14,  // ICapeUtilities and ICapeIdentification only
    ManagerReturnsNoPackage = 15,  // GetPropertyPackage succeeds (S_OK) and returns no package
    ManagerOfEquilibriumOnlyPackage = 16,       // its package: see PackageEquilibriumOnly
    ManagerOfPackageWithoutMaterialContext = 17,  // its package: see PackageWithoutMaterialContext
    ManagerOfPackageWithoutUtilities = 18,      // its package: see PackageWithoutUtilities
    ManagerOfPackageWhoseInitializeFails = 19,  // its package: see PackageInitializeFails

    // 1.1 property packages (category {CF51E384-...}); all are otherwise the sample
    // package with the compounds nitrogen, oxygen and argon
    PackageEquilibriumOnly = 20,        // ICapeThermoEquilibriumRoutine, neither ICapeThermoPropertyRoutine
                                        // nor ICapeThermoMaterialContext
    PackageWithoutMaterialContext = 21, // ICapeThermoPropertyRoutine without ICapeThermoMaterialContext
    PackageWithoutUtilities = 22,       // no ICapeUtilities
    PackageInitializeFails = 23,        // ICapeUtilities::Initialize fails with ECapeFailedInitialisationHR
                                        // (0x8004050F) and an error object whose description is
                                        // "The test package refuses to initialise."
};

}  // namespace testfault
