#pragma once
#include <windows.h>
#include <string>

// Self-registration of the module: its classes, ProgIDs and type library, for the
// whole machine (DllRegisterServer, DllUnregisterServer) or for the current user only
// (DllInstall with the command line "user").

// Resource ids of the registration script and the type library.
#include "resources/ServerResources.h"

// The module's full path for the registration script: the system's answer in a
// buffer of MAX_PATH (260) characters; a path that fills it fails with
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER).
HRESULT modulePathForRegistration(HMODULE module, std::wstring& path);

// The REGISTRY resource of the module (8-bit text in the active code page).
HRESULT loadRegistryScript(HMODULE module, WORD resourceId, std::wstring& script);

// Where a registration goes.
enum class RegistrationScope {
    Machine,  // HKEY_CLASSES_ROOT as the system maps it
    User,     // the current user's classes root, HKEY_CURRENT_USER\Software\Classes
};

// Loads the type library from the file itself (its TYPELIB 1 resource when it is a
// module), else from the same path with the extension ".tlb", and registers it
// with the path it was loaded from and, when the library names a help file, that
// file's directory as help directory; for the user with RegisterTypeLibForUser.
HRESULT registerTypeLibrary(const std::wstring& modulePath, RegistrationScope scope = RegistrationScope::Machine);

// DllRegisterServer: the script in register mode (nothing written when the module
// path is too long), the class's component categories (none), the type library.
// The first failure is returned; what earlier steps wrote stays.
HRESULT registerServer(HMODULE module);

// DllUnregisterServer: the script in unregister mode. The type library stays
// registered.
HRESULT unregisterServer(HMODULE module);

// DllInstall(install, commandLine): with the command line "user" (letter case
// ignored) the registration of DllRegisterServer, or the unregistration of
// DllUnregisterServer, for the current user only: every key goes to or comes from
// HKEY_CURRENT_USER\Software\Classes, nothing is written under HKEY_LOCAL_MACHINE,
// and no administrator rights are needed. The per-user unregistration removes the
// user's registration of the type library too: what a user installed for himself
// leaves nothing in his profile once removed. Any other command line: E_INVALIDARG,
// nothing done.
HRESULT installServer(HMODULE module, bool install, const wchar_t* commandLine);
