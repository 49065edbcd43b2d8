#include "testkit/TreeView.h"

#include <gtest/gtest.h>

namespace testkit {

namespace {

HTREEITEM next(HWND tree, HTREEITEM item, UINT how)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

std::string itemText(HWND tree, HTREEITEM item)
{
    char buffer[4200] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
}

void readChildren(HWND tree, HTREEITEM first, TreeNode& into)
{
    for (HTREEITEM item = first; item; item = next(tree, item, TVGN_NEXT)) {
        TVITEMA state{};
        state.mask = TVIF_PARAM | TVIF_STATE | TVIF_HANDLE;
        state.stateMask = TVIS_EXPANDED;
        state.hItem = item;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&state));
        TreeNode node{itemText(tree, item), state.lParam != 0, (state.state & TVIS_EXPANDED) != 0, {}};
        readChildren(tree, next(tree, item, TVGN_CHILD), node);
        into.children.push_back(std::move(node));
    }
}

}  // namespace

const TreeNode* TreeNode::find(const LabelPath& path) const
{
    const TreeNode* node = this;
    for (const std::string& label : path) {
        const TreeNode* found = nullptr;
        for (const TreeNode& child : node->children)
            if (child.label == label) {
                found = &child;
                break;
            }
        if (!found)
            return nullptr;
        node = found;
    }
    return node;
}

std::vector<std::string> TreeNode::childLabels() const
{
    std::vector<std::string> labels;
    for (const TreeNode& child : children)
        labels.push_back(child.label);
    return labels;
}

std::vector<std::string> TreeNode::labelsAt(const LabelPath& path) const
{
    const TreeNode* node = find(path);
    return node ? node->childLabels() : std::vector<std::string>{"(no item " + joined(path) + ")"};
}

std::string joined(const LabelPath& path)
{
    std::string text;
    for (const std::string& label : path)
        text += (text.empty() ? "" : " / ") + label;
    return text;
}

TreeView::TreeView(HWND dialog, int treeId) : dialog_(dialog), tree_(GetDlgItem(dialog, treeId)), treeId_(treeId) {}

TreeNode TreeView::read() const
{
    TreeNode root;
    readChildren(tree_, next(tree_, nullptr, TVGN_ROOT), root);
    return root;
}

TreeNode TreeView::node(const LabelPath& path) const
{
    const TreeNode whole = read();
    if (const TreeNode* found = whole.find(path))
        return *found;
    ADD_FAILURE() << "the tree has no item " << joined(path);
    return {};
}

HTREEITEM TreeView::find(const LabelPath& path) const
{
    HTREEITEM item = next(tree_, nullptr, TVGN_ROOT);
    for (size_t depth = 0; depth < path.size(); ++depth) {
        while (item && itemText(tree_, item) != path[depth])
            item = next(tree_, item, TVGN_NEXT);
        if (!item || depth + 1 == path.size())
            return item;
        item = next(tree_, item, TVGN_CHILD);
    }
    return nullptr;
}

bool TreeView::select(const LabelPath& path) const
{
    HTREEITEM item = find(path);
    if (!item) {
        ADD_FAILURE() << "the tree has no item " << joined(path);
        return false;
    }
    select(item);
    return true;
}

void TreeView::select(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void TreeView::notify(UINT code) const
{
    NMHDR header{tree_, static_cast<UINT_PTR>(treeId_), code};
    SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(treeId_), reinterpret_cast<LPARAM>(&header));
}

void TreeView::clickWith(const LabelPath& path, UINT code) const
{
    if (select(path))
        notify(code);
}

}  // namespace testkit
