#pragma once
#include <windows.h>

#include <string>

#include "support/ModalDialog.h"

// The window of the registration report (template IDD_REGISTRATION_REPORT): the text
// in a read-only multi-line edit that fills the resizable window, a Copy button that
// puts the whole text on the clipboard, and Close. Like every dialog of the library
// it is owned by the innermost one running (the Component Manager).
class RegistrationReportWindow : public ModalDialog {
public:
    // report: lines ended by CR LF, as the edit shows them.
    explicit RegistrationReportWindow(std::string report);

protected:
    BOOL onInitDialog() override;
    void onCommand(int id, int notifyCode, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void onCopy();
    // Keeps the edit filling the client area and the buttons in its bottom right corner.
    void layOut();

    std::string report_;
    SIZE smallest_{};  // the template's size: the window is never made smaller
};
