#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

// The module (DLL or executable) whose code is running: dialogs and other resources
// are loaded from it.
HINSTANCE currentModule();

// The innermost of the library's dialogs running now (null when none runs). While
// one runs, everything the library shows is owned by it: nested dialogs and every
// message box, so that the host and every dialog below stay disabled until it ends.
HWND innermostRunningDialog();

// A modal dialog from a template in currentModule(). Derived dialogs override the
// handlers they need; run() returns the code passed to endDialog (or -1 when the
// dialog could not be created: that is reported, with the system's reason). Each
// behaviour of a dialog lives in a method named after what the user does; the
// handlers only dispatch. No exception leaves a handler: one guard around every
// message reports it.
class ModalDialog {
public:
    explicit ModalDialog(int templateId) : templateId_(templateId) {}
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // parent is the owner unless one of the library's dialogs runs: then that one is.
    INT_PTR run(HWND parent);
    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    // WM_INITDIALOG; return FALSE when the focus was set by the handler.
    virtual BOOL onInitDialog() { return TRUE; }
    // WM_COMMAND; the default closes on IDOK/IDCANCEL with that code.
    virtual void onCommand(int id, int notifyCode, HWND control);
    // WM_NOTIFY; the result is stored as the dialog's message result.
    virtual LRESULT onNotify(NMHDR&) { return 0; }
    // Any other message; return true when handled (result in `result`).
    virtual bool onMessage(UINT, WPARAM, LPARAM, INT_PTR& result)
    {
        result = 0;
        return false;
    }
    // WM_DESTROY: the window is going away.
    virtual void onDestroy() {}

    void endDialog(INT_PTR code) { EndDialog(hwnd_, code); }

    // Data exchange: save == true copies the control into the value, false the reverse.
    // A check box shows checked for any non-zero value and saves as 0 or 1.
    void exchangeCheck(int id, int& value, bool save) const;
    void exchangeText(int id, std::string& value, bool save) const;
    std::string itemText(int id) const;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
};
