#pragma once
#include <windows.h>

// The module's identity and life as a COM server: its instance handle, and the
// count of what keeps it loaded (live objects, server locks, class-factory
// references held by clients). DllCanUnloadNow answers S_OK only at zero.
namespace ComModule {

void setInstance(HINSTANCE instance);
// The module that holds the resources (the DLL, or the test program linking us).
HINSTANCE instance();

void lock();
void unlock();
long lockCount();

}  // namespace ComModule
