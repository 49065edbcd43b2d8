#pragma once
// The host's simulated user of one ShowGUI call: timers of the host that act on the
// library's windows through their own messages, as a user's clicks and keys would.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "QnShowCOCATIDs11.h"

// One window the user waits for: the first window activated that holds control gets
// the timer (start after delay ms) and is kept in *window.
struct UserStep {
    int control;
    UINT_PTR timer;
    UINT delay;
    TIMERPROC start;
    HWND* window;
};

// What ShowGUI handed back (no text: a null string).
struct ShowGuiResult {
    HRESULT hr = E_FAIL;
    std::optional<std::string> component, catids;
};

// ShowGUI, with the steps watching the windows it opens; the strings are freed.
ShowGuiResult showGuiAsUser(ICCAPEGUI* gui, const std::vector<UserStep>& steps);

// The text as UTF-8.
std::string narrow(const wchar_t* text, size_t length);
