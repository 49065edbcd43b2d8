// The find box above the Component Manager's tree: typing narrows the tree to the
// matching components (see FindFilter.h), from the records the dialog already holds;
// Escape in the box clears it and the whole tree comes back. The selection and the
// information panel follow the tree.
#include <windows.h>
#include <commctrl.h>

#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"
#include "support/ScopedFlag.h"

namespace {

constexpr const wchar_t* kFindCue = L"Find a component";
constexpr UINT_PTR kEscapeSubclass = 1;

bool hasText(HWND box) { return GetWindowTextLengthA(box) > 0; }

// Escape in a box with text clears the text (which narrows the tree to everything);
// in an empty box it keeps its meaning for the dialog (Cancel).
LRESULT CALLBACK findBoxKeys(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case WM_GETDLGCODE: {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(box, message, wParam, lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE && hasText(box))
            return code | DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && hasText(box)) {
            SetWindowTextA(box, "");
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == VK_ESCAPE)
            return 0;  // the key down did all there is to do
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, findBoxKeys, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void CCapeOpenDlg::setUpFindBox()
{
    HWND box = item(IDC_FIND_BOX);
    // Shown by the edit control of the common controls 6 (see CommonControlsContext),
    // also while the box has the focus, which it gets first when the dialog opens.
    SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(kFindCue));
    SetWindowSubclass(box, findBoxKeys, kEscapeSubclass, 0);
}

std::string CCapeOpenDlg::findText() const { return itemText(IDC_FIND_BOX); }

void CCapeOpenDlg::showFoundItems()
{
    // The outline points at the records: none is shown while a rebuild or a probe
    // works on them; a rebuild narrows its new tree itself when it ends.
    if (busy_)
        return;
    const HTREEITEM before = tree_.selected();
    HTREEITEM reselected = nullptr;
    {
        // The selection changes that refilling the tree causes show nothing; the panel
        // is told once, below.
        const ScopedFlag refilling(refillingTree_);
        reselected = outline_.show(tree_, findText(), before);
        if (reselected && reselected != tree_.selected())
            tree_.select(reselected);
    }
    // The panel shows the item already, or shows nothing as before.
    if (reselected == before)
        return;
    if (!reselected)
        shownRecord_ = nullptr;
    showSelectedItem();
}
