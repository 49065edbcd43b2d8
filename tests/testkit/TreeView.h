#pragma once
// The Component Manager's tree as the user sees it, and the user's clicks in it, made
// with the tree's own messages: reading the labels, finding an item by its label path,
// selecting it (TVM_SELECTITEM: the dialog gets TVN_SELCHANGED, as after a click) and
// the notifications the dialog handles (NM_DBLCLK, NM_RCLICK).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/ControlIds.h"

namespace testkit {

// Labels from a top-level item down to the item meant.
using LabelPath = std::vector<std::string>;

// One item of the tree and everything below it.
struct TreeNode {
    std::string label;
    bool expanded = false;
    std::vector<TreeNode> children;
    HTREEITEM item = nullptr;

    // The node at path below this one (this one for an empty path); null when missing.
    const TreeNode* find(const LabelPath& path) const;
    std::vector<std::string> childLabels() const;
    // The labels of the children of the node at path; for a missing node the one
    // label "(no item <path>)", so that a comparison fails and says why.
    std::vector<std::string> labelsAt(const LabelPath& path) const;
};

class TreeView {
public:
    // The tree control of a dialog: the Component Manager's.
    explicit TreeView(HWND dialog) : dialog_(dialog), tree_(GetDlgItem(dialog, IDC_COMPONENT_TREE)) {}

    // The whole tree: the returned node's children are the top-level items.
    TreeNode read() const;
    // The node at path ({}: the whole tree). A missing item fails the test and gives
    // an empty node.
    TreeNode node(const LabelPath& path) const;
    // The labels of the children of the item at path ({}: the top-level items).
    std::vector<std::string> labels(const LabelPath& path = {}) const { return node(path).childLabels(); }
    // The item at path; null when missing (no failure: for the tests of absence).
    HTREEITEM find(const LabelPath& path) const;

    // Selects the item at path as a click does; a missing item fails the test and
    // selects nothing (false then). select(nullptr): no item selected at all.
    bool select(const LabelPath& path) const;
    void select(HTREEITEM item) const { SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, LPARAM(item)); }
    // The tree's notification to the dialog (it concerns the selected item).
    void notify(UINT code) const;
    // Selection, then the click's notification.
    void doubleClick(const LabelPath& path) const { clickWith(path, NM_DBLCLK); }
    void rightClick(const LabelPath& path) const { clickWith(path, NM_RCLICK); }

private:
    void clickWith(const LabelPath& path, UINT code) const
    {
        if (select(path))
            notify(code);
    }

    HWND dialog_;
    HWND tree_;
};

}  // namespace testkit
