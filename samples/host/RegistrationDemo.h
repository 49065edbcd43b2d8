#pragma once
#include <string>

#include "QnShowCOCATIDs11.h"

class WindowWatcher;

// The registration check over registrations that a careless installer could leave
// behind. The host makes three of them itself: a unit operation whose server file is
// gone (QnDemo.MovedHeater), one registered for 32-bit programs only (QnDemo.Mixer32),
// and a Property Package Manager whose server (the library's own DLL, libraryPath)
// does not serve its class (QnDemo.RetiredManager). It opens the Component Manager for
// unit operations and managers, presses "Check Registrations...", saves the report's
// window as <folder>\registration-report.bmp, closes both, prints the report of
// IRegistrationCheck (created by its ProgID) and removes the registrations again.
// Returns 0 when the report names all three.
int runRegistrationDemo(ICCAPEGUI* gui, const std::string& libraryPath, const std::string& folder,
                        WindowWatcher* watcher);
