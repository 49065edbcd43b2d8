#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/RegKey.h"

// HKEY_CLASSES_ROOT as programs of one bitness see it: KEY_WOW64_64KEY for 64-bit
// programs (this library's own view), KEY_WOW64_32KEY for 32-bit ones. The readers
// hand back the registry's own status, so that a key that is there but cannot be
// read is told apart from one that is missing.
class ClassesRootView {
public:
    explicit ClassesRootView(REGSAM view) : view_(view) {}

    // Opens path (below HKEY_CLASSES_ROOT) for reading: ERROR_SUCCESS, or
    // ERROR_FILE_NOT_FOUND for a missing key, or the failure that kept it closed.
    LONG open(const std::string& path, RegKey& key) const;
    // "64-bit" or "32-bit", for the texts that name the view.
    const char* bitness() const;

private:
    REGSAM view_;
};

// Longest value readTextValue reads, in bytes.
constexpr DWORD kLongestTextValue = 1 << 20;

// One value read as text: status ERROR_SUCCESS and isText for a REG_SZ or
// REG_EXPAND_SZ value (whole, up to its first NUL, not expanded); ERROR_SUCCESS and
// the value's type for one of another type; ERROR_FILE_NOT_FOUND for a missing value;
// ERROR_MORE_DATA, unread, for one longer than kLongestTextValue; another status for
// one that cannot be read.
struct TextValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    bool isText = false;
    DWORD type = REG_NONE;
    std::string text;

    bool found() const { return status == ERROR_SUCCESS && isText; }
    bool isOtherType() const { return status == ERROR_SUCCESS && !isText; }
};
// name null or empty: the key's default value.
TextValue readTextValue(HKEY key, const char* name);

// The names of the key's subkeys, in the registry's order. Returns ERROR_SUCCESS when
// all were read, else the failure that stopped the enumeration (names holds those before).
LONG readSubkeyNames(HKEY key, std::vector<std::string>& names);

// The system's text for a Win32 status or an HRESULT, on one line, without its final
// full stop; empty when the system has none.
std::string systemTextLine(DWORD code);
