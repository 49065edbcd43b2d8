#include "TreeReading.h"

#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"

namespace {

std::string itemText(HWND tree, HTREEITEM item)
{
    char buffer[4200] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return query.pszText ? query.pszText : "";
}

TVITEMA itemState(HWND tree, HTREEITEM item)
{
    TVITEMA query{};
    query.mask = TVIF_PARAM | TVIF_STATE | TVIF_HANDLE;
    query.stateMask = TVIS_EXPANDED;
    query.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return query;
}

HTREEITEM next(HWND tree, HTREEITEM item, UINT how)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

void readChildren(HWND tree, HTREEITEM first, TreeNode& into)
{
    for (HTREEITEM item = first; item; item = next(tree, item, TVGN_NEXT)) {
        TreeNode node;
        node.label = itemText(tree, item);
        const TVITEMA state = itemState(tree, item);
        node.hasRecord = state.lParam != 0;
        node.expanded = (state.state & TVIS_EXPANDED) != 0;
        readChildren(tree, next(tree, item, TVGN_CHILD), node);
        into.children.push_back(std::move(node));
    }
}

constexpr UINT_PTR kFailSafeTimer = 0x7157;

}  // namespace

const TreeNode* TreeNode::child(const std::string& childLabel) const
{
    for (const TreeNode& node : children)
        if (node.label == childLabel)
            return &node;
    return nullptr;
}

std::vector<std::string> TreeNode::childLabels() const
{
    std::vector<std::string> labels;
    for (const TreeNode& node : children)
        labels.push_back(node.label);
    return labels;
}

TreeNode readTree(HWND tree)
{
    TreeNode root;
    readChildren(tree, next(tree, nullptr, TVGN_ROOT), root);
    return root;
}

HTREEITEM findItem(HWND tree, const std::vector<std::string>& path)
{
    HTREEITEM item = next(tree, nullptr, TVGN_ROOT);
    for (size_t depth = 0; depth < path.size(); ++depth) {
        while (item && itemText(tree, item) != path[depth])
            item = next(tree, item, TVGN_NEXT);
        if (!item || depth + 1 == path.size())
            return item;
        item = next(tree, item, TVGN_CHILD);
    }
    return nullptr;
}

void selectItem(HWND dialog, HTREEITEM item)
{
    SendMessageA(GetDlgItem(dialog, IDC_COMPONENT_TREE), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void notifyTree(HWND dialog, UINT code)
{
    NMHDR header{};
    header.hwndFrom = GetDlgItem(dialog, IDC_COMPONENT_TREE);
    header.idFrom = IDC_COMPONENT_TREE;
    header.code = code;
    SendMessageA(dialog, WM_NOTIFY, IDC_COMPONENT_TREE, reinterpret_cast<LPARAM>(&header));
}

std::string controlText(HWND dialog, int id)
{
    char buffer[4200] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

INT_PTR runDialog(CCapeOpenDlg& dialog, MessageBoxDriver& boxes, const std::function<void(HWND)>& script)
{
    bool scripted = false;
    boxes.onDialog([&](HWND window) {
        if (scripted || GetDlgItem(window, IDC_COMPONENT_TREE) == nullptr)
            return;
        scripted = true;
        SetTimer(window, kFailSafeTimer, 30000, [](HWND w, UINT, UINT_PTR, DWORD) { EndDialog(w, -2); });
        script(window);
    });
    INT_PTR result = dialog.DoModal();
    boxes.onDialog(nullptr);
    return result;
}
