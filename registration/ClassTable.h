#pragma once
#include <windows.h>

// The module's table of creatable classes: CCAPEGUI11
// ({3F6A1D20-7C41-4B8E-9D2A-51C0E7B4A913}) and the registration check
// ({07CCC4CE-59F8-4771-A62B-FCBCB3278FB0}), neither with component categories. Each
// class factory is made on first demand and kept until the module unloads.
namespace ClassTable {

// At module load, before any DllGetClassObject is answered.
void initialise();
// At module unload: gives back the cached class factories.
void tearDown();

// DllGetClassObject: *out is null first; CLASS_E_CLASSNOTAVAILABLE for any other
// class, E_UNEXPECTED before initialise.
HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out);

}  // namespace ClassTable
