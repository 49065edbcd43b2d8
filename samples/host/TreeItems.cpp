#include "TreeItems.h"

std::string itemText(HWND tree, HTREEITEM item)
{
    char buffer[1024] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
}

bool names(const std::string& label, const std::string& wanted)
{
    const std::string bracketed = " [" + wanted + "]";
    return label == wanted || (label.size() > bracketed.size() &&
                               label.compare(label.size() - bracketed.size(), bracketed.size(), bracketed) == 0);
}

HTREEITEM findPath(HWND tree, const std::vector<std::string>& path)
{
    HTREEITEM item = TreeView_GetRoot(tree);
    for (size_t depth = 0; depth < path.size(); ++depth) {
        while (item && !names(itemText(tree, item), path[depth]))
            item = TreeView_GetNextSibling(tree, item);
        if (!item || depth + 1 == path.size())
            return item;
        item = TreeView_GetChild(tree, item);
    }
    return nullptr;
}
