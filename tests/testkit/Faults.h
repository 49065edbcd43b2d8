#pragma once
// CAPE-OPEN components that each misbehave in one way, served by the test process
// itself under a class of their own (testkit::ServedClass), for the tests of the
// catalogue, the creation roads and the probe.
//
// Every fault carries the CAPE-OPEN component category and the category of its role
// (unit operation, 1.1 Property Package Manager or 1.1 property package) and a
// CapeDescription (Name "Test fault <number>", CapeVersion "1.0" for units, "1.1"
// otherwise), unless the kind says otherwise. Managers offer packages named "Faulty
// Package" (and "Second Package" where a list has two entries), each also described
// under the manager's PropertyPackages key. Units, managers and packages calculate
// nothing; every object is a testkit::ComDouble (ICapeUtilities, ICapeIdentification
// and the interfaces of its role), counted by liveFaultObjects() as well.
#include <memory>
#include <string>

#include "testkit/ServedClass.h"

namespace testkit {

enum class Fault : long {
    // Unit operations
    NoProgId = 1,                       // a good unit operation registered without ProgID
    NoCapeDescription = 2,              // a good unit operation without the CapeDescription key
    UnitWithoutCapeUnit = 3,            // ICapeUtilities and ICapeIdentification, no ICapeUnit
    UnitWithOtherVersionInterface = 4,  // registered as a 1.0 unit, no ICapeUnit; answers only
                                        // ICapeThermoPropertyPackageManager (an empty list)
    CreatesNothing = 5,                 // its class object answers S_OK and hands out no object

    // 1.1 Property Package Managers
    ManagerCreationFails = 10,            // its class object fails: ECapeLicenceErrorHR (0x80040503), error object
                                          // "The test manager has no licence on this machine." (source "TestDouble")
    ManagerEmptyList = 11,                // GetPropertyPackageList: a SAFEARRAY of BSTR with no element
    ManagerListNotArray = 12,             // GetPropertyPackageList: a single BSTR "Faulty Package"
    ManagerListOfVariants = 13,           // a SAFEARRAY of VARIANTs: "Faulty Package", "Second Package" (good)
    ManagerWithoutManagerInterface = 14,  // ICapeUtilities and ICapeIdentification only
    ManagerReturnsNoPackage = 15,         // GetPropertyPackage answers S_OK and no package
    ManagerOfEquilibriumOnlyPackage = 16,         // its package: PackageEquilibriumOnly
    ManagerOfPackageWithoutMaterialContext = 17,  // its package: PackageWithoutMaterialContext
    ManagerOfPackageWithoutUtilities = 18,        // its package: PackageWithoutUtilities
    ManagerOfPackageWhoseInitializeFails = 19,    // its package: PackageInitializeFails
    ManagerCreatesNothing = 25,           // a manager whose class object answers S_OK and no object

    // 1.1 property packages: ICapeThermoPropertyRoutine, ICapeThermoEquilibriumRoutine,
    // ICapeThermoMaterialContext, ICapeUtilities and ICapeIdentification, unless hidden
    PackageEquilibriumOnly = 20,         // ICapeThermoEquilibriumRoutine only, no property routine/material context
    PackageWithoutMaterialContext = 21,  // ICapeThermoPropertyRoutine without ICapeThermoMaterialContext
    PackageWithoutUtilities = 22,        // no ICapeUtilities
    PackageInitializeFails = 23,         // Initialize fails with ECapeFailedInitialisationHR (0x8004050F) and
                                         // the description "The test package refuses to initialise."
                                         // (source "Test package")
};

// One fault, registered and served for the holder's lifetime, with the ProgID
// "QnTest.Fault<number>.<first 8 hex digits of its CLSID>" and the class title
// "Test fault <number>".
class ServedFault {
public:
    explicit ServedFault(Fault kind);
    const CLSID& clsid() const { return served_->clsid(); }
    const std::string& clsidText() const { return served_->clsidText(); }
    const std::string& progId() const { return served_->progId(); }  // empty for Fault::NoProgId
    std::wstring progIdW() const { return served_->progIdW(); }
    const ServedClass& served() const { return *served_; }

private:
    std::unique_ptr<ServedClass> served_;
};

// Objects of the faults (units, managers and the packages they hand out) alive now.
int liveFaultObjects();

}  // namespace testkit
