#pragma once
#include <windows.h>
#include <string>

// Self-registration of the module: its class, ProgIDs and type library.

// Resource ids of the registration script and the type library.
#include "resources/ServerResources.h"

// The module's full path for the registration script: the system's answer in a
// buffer of MAX_PATH (260) characters; a path that fills it fails with
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER).
HRESULT modulePathForRegistration(HMODULE module, std::wstring& path);

// The REGISTRY resource of the module (8-bit text in the active code page).
HRESULT loadRegistryScript(HMODULE module, WORD resourceId, std::wstring& script);

// Loads the type library from the file itself (its TYPELIB 1 resource when it is a
// module), else from the same path with the extension ".tlb", and registers it
// with the path it was loaded from and, when the library names a help file, that
// file's directory as help directory.
HRESULT registerTypeLibrary(const std::wstring& modulePath);

// DllRegisterServer: the script in register mode (nothing written when the module
// path is too long), the class's component categories (none), the type library.
// The first failure is returned; what earlier steps wrote stays.
HRESULT registerServer(HMODULE module);

// DllUnregisterServer: the script in unregister mode. The type library stays
// registered.
HRESULT unregisterServer(HMODULE module);
