#pragma once
#include <windows.h>
#include <string>

// Process-wide facts of one sample DLL: its module handle, how many of its COM
// objects are alive and how many locks the clients hold. Each sample DLL links its
// own copy, so the counts are per DLL. Everything here is safe to call from any
// thread (the objects are apartment-threaded, but COM may release class objects
// from another thread at unload time).
namespace sample::module {

void setInstance(HINSTANCE instance);
HINSTANCE instance();
// Full path of this DLL, as it is written to InprocServer32.
std::wstring path();

void objectCreated();
void objectDestroyed();
long liveObjects();

void lock();
void unlock();
// True when no object is alive and no lock is held (DllCanUnloadNow).
bool canUnload();

}  // namespace sample::module
