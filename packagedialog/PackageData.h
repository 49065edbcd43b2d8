#pragma once
#include <windows.h>
#include <oleauto.h>

#include "support/ComPtr.h"
#include "support/VariantHolder.h"

// What the property package dialog shows of a CAPE-OPEN 1.1 property package: its
// compounds with their constants, the properties it computes and its phases, as the
// package returned them (one-dimensional array VARIANTs, empty until the first
// gathering). The holders free the arrays and release the interface when the data
// goes away.
struct PackageData {
    // ICapeThermoCompounds::GetCompoundList, in argument order.
    VariantHolder compoundIds;       // texts: list "Component ID"
    VariantHolder formulae;          // texts: "Formula"
    VariantHolder compoundNames;     // texts: "Name"
    VariantHolder boilingPoints;     // doubles: "Normal Boiling Point"
    VariantHolder molecularWeights;  // doubles: "Mol. Wt."
    VariantHolder casNumbers;        // texts: "CAS Number"
    // ICapeThermoCompounds::GetConstPropList, ICapeThermoPropertyRoutine's two lists.
    VariantHolder constantProps;
    VariantHolder singlePhaseProps;
    VariantHolder twoPhaseProps;
    // ICapeThermoPhases::GetPhaseList, in argument order, and the phases' descriptions
    // (GetPhaseInfo "UserDescription"), one per phase in phase order.
    VariantHolder phaseLabels;
    VariantHolder statesOfAggregation;
    VariantHolder keyCompoundIds;
    VariantHolder phaseDescriptions;

    long numPhases = 0;
    // The package's CAPE-OPEN 1.0 property package interface, when it has one: one
    // reference, replaced by each gathering.
    ComPtr<IUnknown> heldPackageInterface;
};

// The IID of heldPackageInterface (ICapeThermoPropertyPackage of CAPE-OPEN 1.0).
extern const IID IID_ICapeThermoPropertyPackage10;

// Reads the package's data into `data` when version is 110 (CAPE-OPEN 1.1); any other
// version leaves everything as it is and gives S_OK. The package is asked, in this
// order: GetNumPhases, GetPhaseList, GetPhaseInfo(label, "UserDescription") per phase,
// GetCompoundList, GetConstPropList, GetSinglePhasePropList, GetTwoPhasePropList.
//
// Failures: no package, or a package without ICapeThermoPhases, ICapeThermoCompounds
// or ICapeThermoPropertyRoutine gives E_POINTER; a failing call ends the gathering
// with the call's code, and the package's error object for that interface (when the
// package supports error information there) is left as the thread's error object for
// the caller's report. Arrays of the steps before the failure hold their new
// contents, the others keep their old ones. On success the result is
// GetCompoundList's. Never throws.
HRESULT gatherPackageData(PackageData& data, IUnknown* package, long version) noexcept;
