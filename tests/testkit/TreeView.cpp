#include "testkit/TreeView.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testkit {

namespace {

HTREEITEM next(HWND tree, HTREEITEM item, UINT how)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

void readChildren(HWND tree, HTREEITEM first, TreeNode& into)
{
    for (HTREEITEM item = first; item; item = next(tree, item, TVGN_NEXT)) {
        char text[4200] = {};
        TVITEMA query{};
        query.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
        query.stateMask = TVIS_EXPANDED;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        TreeNode node{text, (query.state & TVIS_EXPANDED) != 0, {}, item};
        readChildren(tree, next(tree, item, TVGN_CHILD), node);
        into.children.push_back(std::move(node));
    }
}

// "a / b / c", for failure messages.
std::string joined(const LabelPath& path)
{
    std::string text;
    for (const std::string& label : path)
        text += (text.empty() ? "" : " / ") + label;
    return text;
}

}  // namespace

const TreeNode* TreeNode::find(const LabelPath& path) const
{
    const TreeNode* node = this;
    for (const std::string& label : path) {
        auto child = std::find_if(node->children.begin(), node->children.end(),
                                  [&](const TreeNode& each) { return each.label == label; });
        if (child == node->children.end())
            return nullptr;
        node = &*child;
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
    const TreeNode whole = read();
    const TreeNode* found = path.empty() ? nullptr : whole.find(path);
    return found ? found->item : nullptr;
}

bool TreeView::select(const LabelPath& path) const
{
    HTREEITEM item = find(path);
    if (!item)
        ADD_FAILURE() << "the tree has no item " << joined(path);
    else
        select(item);
    return item != nullptr;
}

void TreeView::notify(UINT code) const
{
    NMHDR header{tree_, static_cast<UINT_PTR>(IDC_COMPONENT_TREE), code};
    SendMessageA(dialog_, WM_NOTIFY, IDC_COMPONENT_TREE, reinterpret_cast<LPARAM>(&header));
}

}  // namespace testkit
