#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "testkit/MessageBoxDriver.h"

class CCapeOpenDlg;

// One item of the component tree as the user sees it.
struct TreeNode {
    std::string label;
    bool hasRecord = false;
    bool expanded = false;
    std::vector<TreeNode> children;

    // The child with this label (null when there is none).
    const TreeNode* child(const std::string& childLabel) const;
    std::vector<std::string> childLabels() const;
};

// The whole tree: the returned node's children are the top-level items.
TreeNode readTree(HWND tree);

// The item reached by following labels from the top level; null when missing.
HTREEITEM findItem(HWND tree, const std::vector<std::string>& path);

// Selects the item as a click would (TVN_SELCHANGED reaches the dialog).
void selectItem(HWND dialog, HTREEITEM item);
// Sends the tree's notification (NM_CLICK, NM_DBLCLK, NM_RCLICK) to the dialog.
void notifyTree(HWND dialog, UINT code);
// What the dialog's control shows.
std::string controlText(HWND dialog, int id);

// Runs the dialog modally; script gets the dialog's window once it is initialised
// and drives it with messages. A dialog the script leaves open is ended with -2
// after a generous bound, so that a faulty test fails instead of hanging.
INT_PTR runDialog(CCapeOpenDlg& dialog, MessageBoxDriver& boxes, const std::function<void(HWND)>& script);
