#pragma once
// Drives the real property package dialog with its controls' own messages.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "testkit/MessageBoxDriver.h"

namespace packagetest {

inline std::string controlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::vector<std::string> listTexts(HWND dialog, int id)
{
    HWND list = GetDlgItem(dialog, id);
    std::vector<std::string> texts;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        texts.push_back(text);
    }
    return texts;
}

// Whether the dialog shows the control (its own visibility: the dialog itself may not
// be on the screen yet when a test looks).
inline bool isShown(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
inline bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
inline bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// What a user's click on a tab does: the selection changes and the dialog is told.
inline void selectTab(HWND dialog, int index)
{
    HWND tabs = GetDlgItem(dialog, 7000);
    SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR change{tabs, 7000, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, 7000, reinterpret_cast<LPARAM>(&change));
}

inline void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline void pressEscape(HWND dialog)
{
    PostMessageA(GetDlgItem(dialog, 247), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(GetDlgItem(dialog, 247), WM_KEYUP, VK_ESCAPE, 0);
}

inline void pressCloseBox(HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Runs `show` (which shows the dialog modally) and hands the dialog to `drive` once it
// is initialised. Whatever drive does, the dialog is then cancelled, so a failing
// check never leaves the test waiting. Dialogs the driven one opens are cancelled as
// they come, their captions collected in `nested` when given. Message boxes on the
// way are answered OK, or as `boxes` (when given) is told.
template <class Show>
auto runDriven(Show&& show, const std::function<void(HWND)>& drive, MessageBoxDriver* boxes = nullptr,
               std::vector<std::string>* nested = nullptr)
{
    std::optional<MessageBoxDriver> ownBoxes;
    if (!boxes)
        ownBoxes.emplace();
    MessageBoxDriver& driver = boxes ? *boxes : *ownBoxes;
    bool driven = false;
    driver.onDialog([&](HWND dialog) {
        { char c[256]={}; GetWindowTextA(dialog,c,256); fprintf(stderr,"DIALOG %p [%s] driven=%d\n",(void*)dialog,c,driven); }
        if (driven) {
            if (nested) {
                char caption[256] = {};
                GetWindowTextA(dialog, caption, sizeof caption);
                nested->push_back(caption);
            }
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        driven = true;
        drive(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    return show();
}

}  // namespace packagetest
