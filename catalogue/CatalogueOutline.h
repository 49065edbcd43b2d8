#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/CatalogueRecord.h"
#include "catalogue/FindFilter.h"
#include "catalogue/TreeControl.h"

// Everything the Component Manager's tree lists, kept beside the tree so that the find
// box can narrow the tree and widen it again without reading the registry: each item's
// label, the record it points at and its parent, in the order of insertion. The
// records stay owned by the dialog's record list; the outline and the tree only point
// at them, and both forget them before the list frees them (clear()).
class CatalogueOutline {
public:
    // Forgets every item (the tree is about to be emptied or its records freed).
    void clear();
    // Notes the item that the tree now shows as added, the last child of the shown
    // item parent (null: top level). An item below one the outline does not know is
    // not noted.
    void add(HTREEITEM parent, HTREEITEM added, const std::string& label, const CAPETreeItemTag* record);

    // Makes the tree show the items kept for typed (see itemsKeptByFind), in their
    // order. Only what changes is touched: the items no longer kept are deleted, those
    // kept again inserted where they belong; the others stay as they are (a tree-view
    // control measures every item it is given anew). When anything changes, nothing is
    // selected afterwards. Returns the tree item of the one that selected showed, or
    // else of the last one selected before, when it is kept; null otherwise.
    HTREEITEM show(TreeControl& tree, std::string_view typed, HTREEITEM selected);

private:
    static constexpr size_t kNone = kTopLevelItem;
    struct Item {
        std::string label;
        const CAPETreeItemTag* record = nullptr;
        size_t previousSibling = kNone;
        HTREEITEM shown = nullptr;  // null while hidden
    };
    // Collapses the shown items that stay and whose children change; returns them.
    std::vector<HTREEITEM> collapseChangingParents(TreeControl& tree, const std::vector<bool>& kept);
    void hide(TreeControl& tree, const std::vector<bool>& kept);
    void unhide(TreeControl& tree, const std::vector<bool>& kept);
    // The tree item after which item i goes: its nearest shown earlier sibling.
    HTREEITEM shownBefore(size_t i) const;

    std::vector<Item> items_;
    std::vector<FindItem> findItems_;  // the same items, as the find rule sees them
    std::vector<size_t> lastChild_;    // per item, its last child so far
    size_t lastTopLevel_ = kNone;
    std::unordered_map<HTREEITEM, size_t> indexOf_;  // of the shown items
    // The item selected when the tree was last narrowed: selected again when it comes
    // back, so that clearing the find box returns to the component the user had chosen.
    size_t lastSelected_ = kNone;
};
