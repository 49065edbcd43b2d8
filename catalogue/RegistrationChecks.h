#pragma once
#include <windows.h>

#include <string>

#include "catalogue/ClassesRootView.h"
#include "catalogue/RegistrationFindings.h"

// The checks of one registered class, read in one view of HKEY_CLASSES_ROOT. clsid
// is the braced class identifier (the name of its key under CLSID). Each check adds
// what it finds to findings; a key or value that cannot be read, or is too long to
// read, is a finding too, and a value of another type than text is told apart from a
// missing one.

// The class's ProgID value, or empty when it has none (a ProgID value that cannot be
// read is reported; a missing one is not: that is checkProgId's).
std::string readProgId(const ClassesRootView& view, const std::string& clsid, Findings& findings);

// A missing ProgID, and a ProgID whose CLSID does not lead back to the class
// (warnings). Returns the ProgID, empty when there is none.
std::string checkProgId(const ClassesRootView& view, const std::string& clsid, Findings& findings);

// InprocServer32 and LocalServer32: neither registered, a value naming no file, or a
// file that is not found (for a .NET component, the file its CodeBase names): errors;
// so is an in-process server file that is no program file or is built for another
// processor than x64. Returns true when every registered server's file is there and
// usable.
bool checkServers(const ClassesRootView& view, const std::string& clsid, Findings& findings);

// CapeDescription: no key, no Name, no CapeVersion or one that reads as neither 1.0
// nor 1.1 (warnings).
void checkDescription(const ClassesRootView& view, const std::string& clsid, Findings& findings);

// The type library named by the class's TypeLib key: not registered, or registered
// without a file that is there (warnings: late-bound callers may fail).
void checkTypeLibrary(const ClassesRootView& view, const std::string& clsid, Findings& findings);

// A 1.1 Property Package Manager, created (in-process or out of process, as the
// Component Manager creates it, with no box on failure) and asked for its package
// list: a failed creation, no manager interface or a failing list are errors, an
// empty list or one without names warnings. The thread must be in an apartment.
void checkManager(REFCLSID clsid, Findings& findings);

// Whether the text reads as a CAPE-OPEN version the library knows: the whole text,
// blanks around it aside, is the number 1.0 or 1.1.
bool isReadableCapeVersion(const std::string& text);
