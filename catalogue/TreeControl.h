#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_set>
#include <vector>

// The operations the catalogue needs of a tree-view control. Item data is an LPARAM
// (a record pointer, or 0 for an item without one).
class TreeControl {
public:
    void attach(HWND tree) { tree_ = tree; }
    HWND hwnd() const { return tree_; }

    // Appends an item as the last child of parent (top level for null); null on failure.
    HTREEITEM append(HTREEITEM parent, const std::string& text, LPARAM data) const;
    // Inserts an item as the child of parent right after the child after (first for
    // null), expanded (its children shown as they come) when asked; null on failure.
    HTREEITEM insertAfter(HTREEITEM parent, HTREEITEM after, const std::string& text, LPARAM data,
                          bool expanded = false) const;
    // Deletes the item with everything below it.
    void remove(HTREEITEM item) const;
    // Shows or hides the item's children.
    void expand(HTREEITEM item) const;
    void collapse(HTREEITEM item) const;
    // The same, as a change of the item's state alone: no notification, no scrolling.
    void setExpandedState(HTREEITEM item, bool expanded) const;
    // Scrolls the item into view, expanding its ancestors. Inside a build (see
    // TreeBuild) this is done once for the whole build when it ends.
    void makeVisible(HTREEITEM item);
    // First child of parent; the first top-level item for null.
    HTREEITEM firstChild(HTREEITEM parent) const;
    HTREEITEM nextSibling(HTREEITEM item) const;
    HTREEITEM parent(HTREEITEM item) const;
    HTREEITEM selected() const;
    // Makes item the selected one (the dialog is told, as after a click).
    void select(HTREEITEM item) const;
    LPARAM data(HTREEITEM item) const;
    void setData(HTREEITEM item, LPARAM data) const;
    std::string text(HTREEITEM item) const;
    void deleteAll();
    void enable(bool enabled) const { EnableWindow(tree_, enabled); }
    bool enabled() const { return IsWindowEnabled(tree_) != FALSE; }

private:
    friend class TreeBuild;
    void expandWithAncestors(HTREEITEM item) const;
    void finishBuild();

    HWND tree_ = nullptr;
    // An open build: the parents to expand, in the order they got their first
    // child, and the item to scroll into view at the end.
    bool building_ = false;
    std::vector<HTREEITEM> parentsToExpand_;
    std::unordered_set<HTREEITEM> parentsNoted_;
    HTREEITEM lastMadeVisible_ = nullptr;
};

// A rebuild of the whole tree: drawing is suspended while it lives and the items
// made visible are expanded and scrolled to once, when it ends. The tree ends up as
// if each item had been made visible when it was inserted; a tree-view control lays
// out its expanded part again for every insertion below an expanded item, which
// would make building a large catalogue quadratic.
class TreeBuild {
public:
    explicit TreeBuild(TreeControl& tree);
    ~TreeBuild();
    TreeBuild(const TreeBuild&) = delete;
    TreeBuild& operator=(const TreeBuild&) = delete;

private:
    TreeControl& tree_;
};
