#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <memory>

// Holders for what C and COM calls hand over that is neither a handle nor a COM
// object nor a BSTR: each frees its kind of memory with Free when it goes, and
// release() hands it on.
template <auto Free>
struct FreedWith {
    template <class T>
    void operator()(T* memory) const
    {
        Free(memory);
    }
};

// A text the callee allocated with CoTaskMemAlloc (StringFromCLSID, ProgIDFromCLSID).
using CoTaskText = std::unique_ptr<wchar_t, FreedWith<CoTaskMemFree>>;
// A C stream from fopen. Where the result of closing matters (a written file), close
// it with fclose(file.release()).
using UniqueCFile = std::unique_ptr<FILE, FreedWith<fclose>>;
// A SAFEARRAY, elements and all; release() hands it to the VARIANT that will own it.
using UniqueSafeArray = std::unique_ptr<SAFEARRAY, FreedWith<SafeArrayDestroy>>;
// A bare array descriptor (SafeArrayAllocDescriptorEx, no data).
using UniqueSafeArrayDescriptor = std::unique_ptr<SAFEARRAY, FreedWith<SafeArrayDestroyDescriptor>>;
