#include "catalogue/RegistrationReportWindow.h"

#include <utility>

#include "resources/ControlIds.h"
#include "support/ErrorReport.h"
#include "support/UniqueHandle.h"

namespace {

constexpr const char* kCaption = "CAPE-OPEN Registration Check";

inline void freeGlobal(HGLOBAL memory) { GlobalFree(memory); }
using UniqueGlobal = UniqueHandleOf<HGLOBAL, freeGlobal, 0>;

// The clipboard, open for one window while the holder lives.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// Replaces what the clipboard holds with text (CF_TEXT; the system offers it in the
// other text formats). False when the clipboard could not take it.
bool putOnClipboard(HWND owner, const std::string& text)
{
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory)
        return false;
    if (void* bytes = GlobalLock(memory.get())) {
        CopyMemory(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory.get());
    } else {
        return false;
    }
    OpenClipboardScope clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_TEXT, memory.get()))
        return false;
    // The clipboard owns the memory from now on.
    (void)memory.release();
    return true;
}

// The size of a control in pixels, from its window rectangle.
SIZE sizeOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

RegistrationReportWindow::RegistrationReportWindow(std::string report)
    : ModalDialog(IDD_REGISTRATION_REPORT), report_(std::move(report))
{
}

BOOL RegistrationReportWindow::onInitDialog()
{
    RECT window{};
    GetWindowRect(hwnd(), &window);
    smallest_ = {window.right - window.left, window.bottom - window.top};
    HWND edit = item(IDC_REGISTRATION_REPORT);
    // A report of many components passes the edit's default limit of 32K.
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    SetWindowTextA(edit, report_.c_str());
    // Focus on Close: in the edit the whole text would show selected.
    SetFocus(item(IDCANCEL));
    return FALSE;
}

void RegistrationReportWindow::onCommand(int id, int notifyCode, HWND control)
{
    if (id == IDC_COPY_REPORT)
        onCopy();
    else
        ModalDialog::onCommand(id, notifyCode, control);
}

bool RegistrationReportWindow::onMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result)
{
    result = 0;
    if (message == WM_SIZE) {
        layOut();
        return true;
    }
    if (message == WM_GETMINMAXINFO && smallest_.cx > 0) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {smallest_.cx, smallest_.cy};
        return true;
    }
    return false;
}

void RegistrationReportWindow::onCopy()
{
    if (!putOnClipboard(hwnd(), report_))
        showMessage(("The report could not be put on the clipboard: " + lastErrorText()).c_str(), kCaption,
                    MB_OK | MB_ICONEXCLAMATION, hwnd());
}

void RegistrationReportWindow::layOut()
{
    HWND edit = item(IDC_REGISTRATION_REPORT);
    HWND copy = item(IDC_COPY_REPORT);
    HWND close = item(IDCANCEL);
    if (!edit || !copy || !close)
        return;                // WM_SIZE before the controls exist
    RECT margins{7, 7, 4, 0};  // margin, margin, gap between the buttons
    MapDialogRect(hwnd(), &margins);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const SIZE button = sizeOf(close);
    const LONG buttonTop = client.bottom - margins.top - button.cy;
    const LONG closeLeft = client.right - margins.left - button.cx;
    const LONG copyLeft = closeLeft - margins.right - button.cx;
    SetWindowPos(close, nullptr, closeLeft, buttonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(copy, nullptr, copyLeft, buttonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(edit, nullptr, margins.left, margins.top, client.right - 2 * margins.left,
                 buttonTop - margins.top - margins.top, SWP_NOZORDER);
    // The buttons leave their old places behind: the whole window is painted again.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
