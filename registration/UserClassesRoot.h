#pragma once
#include <windows.h>

#include "support/RegKey.h"

// While alive, HKEY_CLASSES_ROOT stands for the current user's classes root,
// HKEY_CURRENT_USER\Software\Classes (created when missing), in the whole process:
// whatever then writes to or deletes from HKEY_CLASSES_ROOT (the registration script,
// the type library's registration) does it for the current user only, and nothing
// reaches HKEY_LOCAL_MACHINE. The ordinary mapping comes back on destruction.
//
// For the per-user registration, which regsvr32 runs in a process of its own: another
// thread of the process that reads HKEY_CLASSES_ROOT meanwhile sees the user's keys only.
class UserClassesRoot {
public:
    UserClassesRoot();
    ~UserClassesRoot();
    UserClassesRoot(const UserClassesRoot&) = delete;
    UserClassesRoot& operator=(const UserClassesRoot&) = delete;

    // S_OK while HKEY_CLASSES_ROOT is the user's; else why it is not (nothing changed).
    HRESULT status() const { return status_; }

private:
    RegKey userClasses_;
    HRESULT status_ = S_OK;
};
