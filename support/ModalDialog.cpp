#include "support/ModalDialog.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "support/ErrorReport.h"

HINSTANCE currentModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&currentModule), &module);
    return module;
}

namespace {

// The library's dialogs running now, outermost first. Only the host's UI thread
// shows them, so a plain process-wide list is enough.
std::vector<HWND> g_runningDialogs;

void dialogEnded(HWND window)
{
    g_runningDialogs.erase(std::remove(g_runningDialogs.begin(), g_runningDialogs.end(), window),
                           g_runningDialogs.end());
}

}  // namespace

HWND innermostRunningDialog() { return g_runningDialogs.empty() ? nullptr : g_runningDialogs.back(); }

INT_PTR ModalDialog::run(HWND parent)
{
    HWND owner = innermostRunningDialog();
    SetLastError(ERROR_SUCCESS);
    const INT_PTR result = DialogBoxParamA(currentModule(), MAKEINTRESOURCEA(templateId_), owner ? owner : parent,
                                           dialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        const DWORD reason = GetLastError();
        const std::string text =
            "The dialog (template " + std::to_string(templateId_) + ") could not be opened: " + lastErrorText();
        reportError(HRESULT_FROM_WIN32(reason ? reason : ERROR_CANNOT_MAKE), text.c_str(), nullptr, nullptr, true);
    }
    return result;
}

INT_PTR CALLBACK ModalDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->hwnd_ = window;
        g_runningDialogs.push_back(window);
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    INT_PTR result = FALSE;
    try {
        result = dialog->handle(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        reportError(E_OUTOFMEMORY, kOutOfMemoryText, nullptr, nullptr, true);
    } catch (...) {
        reportUnexpected(E_UNEXPECTED);
    }
    if (message == WM_NCDESTROY) {
        dialogEnded(window);
        SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR ModalDialog::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog();
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, onNotify(*reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    case WM_DESTROY:
        onDestroy();
        return FALSE;
    default: {
        INT_PTR result = 0;
        return onMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}

void ModalDialog::onCommand(int id, int, HWND)
{
    if (id == IDOK || id == IDCANCEL)
        endDialog(id);
}

void ModalDialog::exchangeCheck(int id, int& value, bool save) const
{
    if (save)
        value = IsDlgButtonChecked(hwnd_, id) == BST_CHECKED ? 1 : 0;
    else
        CheckDlgButton(hwnd_, id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void ModalDialog::exchangeText(int id, std::string& value, bool save) const
{
    if (save)
        value = itemText(id);
    else
        SetDlgItemTextA(hwnd_, id, value.c_str());
}

std::string ModalDialog::itemText(int id) const
{
    HWND control = item(id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}
