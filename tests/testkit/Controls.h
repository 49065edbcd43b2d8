#pragma once
// What a dialog's controls show, and what a user's click or key does, through the
// controls' own messages.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace testkit {

std::string windowText(HWND window);
inline std::string controlText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }
// The texts of a list box.
std::vector<std::string> listTexts(HWND dialog, int id);

// The control's own visibility (the dialog itself may not be on screen yet).
inline bool isShown(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
inline bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
inline bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

inline void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
// A key pressed in the dialog or in its control id, handed over as its modal loop does.
inline void pressKey(HWND dialog, WPARAM key, int id = 0)
{
    MSG message{id ? GetDlgItem(dialog, id) : dialog, WM_KEYDOWN, key, 0x00010001, 0, {}};
    IsDialogMessageA(dialog, &message);
}
// A click on a tab: the selection changes and the dialog is told.
void selectTab(HWND dialog, int tabControlId, int index);

}  // namespace testkit
