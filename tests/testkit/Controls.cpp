#include "testkit/Controls.h"

namespace testkit {

std::string windowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::string> listTexts(HWND dialog, int id)
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

void selectTab(HWND dialog, int tabControlId, int index)
{
    HWND tabs = GetDlgItem(dialog, tabControlId);
    SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR change{tabs, static_cast<UINT_PTR>(tabControlId), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(tabControlId), reinterpret_cast<LPARAM>(&change));
}

}  // namespace testkit
