#include "catalogue/CatalogueOutline.h"

void CatalogueOutline::clear()
{
    items_.clear();
    findItems_.clear();
    lastChild_.clear();
    lastTopLevel_ = kNone;
    indexOf_.clear();
    lastSelected_ = kNone;
}

void CatalogueOutline::add(HTREEITEM parent, HTREEITEM added, const std::string& label, const CAPETreeItemTag* record)
{
    size_t parentIndex = kNone;
    if (parent) {
        const auto found = indexOf_.find(parent);
        if (found == indexOf_.end())
            return;
        parentIndex = found->second;
    }
    const size_t index = items_.size();
    const size_t previousSibling = parentIndex == kNone ? lastTopLevel_ : lastChild_[parentIndex];
    items_.push_back({label, record, previousSibling, added});
    findItems_.push_back({parentIndex, findKeyOf(label, record)});
    lastChild_.push_back(kNone);
    (parentIndex == kNone ? lastTopLevel_ : lastChild_[parentIndex]) = index;
    indexOf_[added] = index;
}

HTREEITEM CatalogueOutline::shownBefore(size_t i) const
{
    for (size_t sibling = items_[i].previousSibling; sibling != kNone; sibling = items_[sibling].previousSibling)
        if (items_[sibling].shown)
            return items_[sibling].shown;
    return nullptr;
}

void CatalogueOutline::hide(TreeControl& tree, const std::vector<bool>& kept)
{
    for (size_t i = 0; i < items_.size(); ++i) {
        Item& item = items_[i];
        if (!item.shown || kept[i])
            continue;
        // Whatever is below an item that goes is not kept either, and goes with it.
        const size_t parent = findItems_[i].parent;
        if (parent == kNone || items_[parent].shown)
            tree.remove(item.shown);
        indexOf_.erase(item.shown);
        item.shown = nullptr;
    }
}

void CatalogueOutline::unhide(TreeControl& tree, const std::vector<bool>& kept)
{
    // Items with children come expanded, as in the full tree; leaves come as they are
    // there, not expanded.
    std::vector<bool> parentOfKept(items_.size(), false);
    for (size_t i = 0; i < items_.size(); ++i)
        if (kept[i] && findItems_[i].parent != kNone)
            parentOfKept[findItems_[i].parent] = true;
    // Parents come first: each item finds its parent shown already.
    for (size_t i = 0; i < items_.size(); ++i) {
        Item& item = items_[i];
        if (item.shown || !kept[i])
            continue;
        const size_t parent = findItems_[i].parent;
        HTREEITEM above = parent == kNone ? nullptr : items_[parent].shown;
        if (parent != kNone && !above)
            continue;  // its parent could not be inserted
        item.shown =
            tree.insertAfter(above, shownBefore(i), item.label, reinterpret_cast<LPARAM>(item.record), parentOfKept[i]);
        if (item.shown)
            indexOf_[item.shown] = i;
    }
}

std::vector<HTREEITEM> CatalogueOutline::collapseChangingParents(TreeControl& tree, const std::vector<bool>& kept)
{
    std::vector<bool> changing(items_.size(), false);
    for (size_t i = 0; i < items_.size(); ++i) {
        const size_t parent = findItems_[i].parent;
        if (parent == kNone || !items_[parent].shown || !kept[parent] || bool(items_[i].shown) == kept[i])
            continue;
        changing[parent] = true;
    }
    std::vector<HTREEITEM> collapsed;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!changing[i])
            continue;
        tree.setExpandedState(items_[i].shown, false);
        collapsed.push_back(items_[i].shown);
    }
    return collapsed;
}

HTREEITEM CatalogueOutline::show(TreeControl& tree, std::string_view typed, HTREEITEM selected)
{
    if (const auto found = selected ? indexOf_.find(selected) : indexOf_.end(); found != indexOf_.end())
        lastSelected_ = found->second;
    const std::vector<bool> kept = itemsKeptByFind(findItems_, typed);
    bool changes = false;
    for (size_t i = 0; i < items_.size() && !changes; ++i)
        changes = bool(items_[i].shown) != kept[i];
    if (changes) {
        // Drawing is off while the tree changes: a tree-view control lays out again
        // after each insertion or deletion while it draws.
        TreeBuild build(tree);
        // Deleting or hiding the selected item would hand the selection on to another.
        tree.select(nullptr);
        // Even with drawing off, the control lays out what follows an item inserted
        // into or deleted from an expanded parent: the parents whose children change
        // are closed meanwhile and opened again when all is done, and the items
        // inserted come expanded.
        const std::vector<HTREEITEM> collapsed = collapseChangingParents(tree, kept);
        hide(tree, kept);
        unhide(tree, kept);
        for (HTREEITEM parent : collapsed)
            tree.setExpandedState(parent, true);
    }
    const bool selectionKept = lastSelected_ != kNone && kept[lastSelected_];
    return selectionKept ? items_[lastSelected_].shown : nullptr;
}
