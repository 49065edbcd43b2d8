#include "support/ErrorReport.h"
#include "support/ModalDialog.h"

// The default owner of boxes shown without one. One UI thread touches it (the
// host's), so it is a plain process-wide value.
static HWND g_defaultOwner = nullptr;

void setDefaultOwnerWindow(HWND owner) { g_defaultOwner = owner; }

HWND defaultOwnerWindow() { return g_defaultOwner; }

HWND boxOwner(HWND requested)
{
    if (HWND dialog = innermostRunningDialog())
        return dialog;  // the host and every dialog of ours below stay disabled
    return requested ? requested : g_defaultOwner;
}

int showMessage(const char* text, const char* caption, UINT style, HWND owner)
{
    owner = boxOwner(owner);
    if (!owner)
        style |= MB_SYSTEMMODAL;
    else if (!IsWindow(owner)) {
        // The host gave a window that is gone: MessageBox would refuse it and the user
        // would see nothing, so the box stands on its own, modal to this thread.
        owner = nullptr;
        style |= MB_TASKMODAL;
    }
    return MessageBoxA(owner, text ? text : "", caption ? caption : "", style);
}
