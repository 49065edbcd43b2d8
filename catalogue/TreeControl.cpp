#include "catalogue/TreeControl.h"

HTREEITEM TreeControl::append(HTREEITEM parent, const std::string& text, LPARAM data) const
{
    return insertAfter(parent, TVI_LAST, text, data);
}

HTREEITEM TreeControl::insertAfter(HTREEITEM parent, HTREEITEM after, const std::string& text, LPARAM data,
                                   bool expanded) const
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after ? after : TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = data;
    if (expanded) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = insert.item.stateMask = TVIS_EXPANDED;
    }
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeControl::makeVisible(HTREEITEM item)
{
    if (!building_) {
        SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        return;
    }
    lastMadeVisible_ = item;
    HTREEITEM above = parent(item);
    if (above && parentsNoted_.insert(above).second)
        parentsToExpand_.push_back(above);
}

void TreeControl::expandWithAncestors(HTREEITEM item) const
{
    if (HTREEITEM above = parent(item))
        expandWithAncestors(above);
    expand(item);
}

void TreeControl::finishBuild()
{
    building_ = false;
    for (HTREEITEM item : parentsToExpand_)
        expandWithAncestors(item);
    if (lastMadeVisible_)
        SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(lastMadeVisible_));
    parentsToExpand_.clear();
    parentsNoted_.clear();
    lastMadeVisible_ = nullptr;
}

HTREEITEM TreeControl::firstChild(HTREEITEM parent) const
{
    if (!parent)
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
}

HTREEITEM TreeControl::nextSibling(HTREEITEM item) const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TreeControl::parent(HTREEITEM item) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TreeControl::selected() const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TreeControl::select(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

LPARAM TreeControl::data(HTREEITEM item) const
{
    if (!item)
        return 0;
    TVITEMA query{};
    query.mask = TVIF_PARAM | TVIF_HANDLE;
    query.hItem = item;
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
        return 0;
    return query.lParam;
}

void TreeControl::setData(HTREEITEM item, LPARAM data) const
{
    TVITEMA change{};
    change.mask = TVIF_PARAM | TVIF_HANDLE;
    change.hItem = item;
    change.lParam = data;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

std::string TreeControl::text(HTREEITEM item) const
{
    // Labels are names and ProgIDs; a registry value is at most 2,046 characters and a
    // label joins two of them.
    std::string buffer(4200, '\0');
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = buffer.data();
    query.cchTextMax = static_cast<int>(buffer.size());
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
        return {};
    // The control may answer with a pointer to its own copy instead of filling ours.
    if (query.pszText != buffer.data())
        return query.pszText ? std::string(query.pszText) : std::string();
    buffer.resize(buffer.find('\0'));
    return buffer;
}

void TreeControl::remove(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void TreeControl::expand(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void TreeControl::collapse(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}

void TreeControl::setExpandedState(HTREEITEM item, bool expanded) const
{
    TVITEMA change{};
    change.mask = TVIF_STATE | TVIF_HANDLE;
    change.hItem = item;
    change.state = expanded ? TVIS_EXPANDED : 0;
    change.stateMask = TVIS_EXPANDED;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

void TreeControl::deleteAll()
{
    SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    parentsToExpand_.clear();
    parentsNoted_.clear();
    lastMadeVisible_ = nullptr;
}

TreeBuild::TreeBuild(TreeControl& tree) : tree_(tree)
{
    SendMessageA(tree_.hwnd(), WM_SETREDRAW, FALSE, 0);
    tree_.building_ = true;
}

TreeBuild::~TreeBuild()
{
    tree_.finishBuild();
    SendMessageA(tree_.hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(tree_.hwnd(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
