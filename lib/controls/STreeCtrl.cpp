#include "STreeCtrl.h"

#include <string.h>

#include <utility>
#include <vector>

#include "SControl.h"
#include "SFile.h"
#include "STreeText.h"

namespace
{

const int kTextBuffer = 1024;

UINT TreeMessage(int offset)
{
    return ControlMessage(SBLOCK_TREE, offset);
}

}

STreeCtrl::STreeCtrl()
    : m_checksPropagate(1), m_dragDrop(0), m_folderMode(0), m_showFiles(1), m_pattern("*.*"), m_rootFolder("")
{
    SetKind(SKIND_TREE);
}

STreeCtrl::~STreeCtrl()
{
    m_icons.Destroy();
}

bool STreeCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id, LPARAM param)
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
    return CreateSubclassed(WC_TREEVIEWA, "", SControlStyle(style, TVS_DISABLEDRAGDROP), exStyle, rect, parent, id,
                            param);
}

void STreeCtrl::SetBackColor(unsigned color)
{
    SWnd::SetBackColor(color);
    if (GetHandle())
        SendMessage(TVM_SETBKCOLOR, 0, color == SCOLOR_NONE ? (LPARAM)-1 : (LPARAM)SControlColorRef(color));
}

unsigned STreeCtrl::GetBackColor()
{
    if (!GetHandle())
        return SWnd::GetBackColor();
    COLORREF color = (COLORREF)SendMessage(TVM_GETBKCOLOR);
    return color == (COLORREF)-1 ? SCOLOR_NONE : (unsigned)color;
}

// --- thin wrappers ---

HTREEITEM STreeCtrl::GetSelectedItem()
{
    return GetHandle() ? (HTREEITEM)SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0) : nullptr;
}

bool STreeCtrl::SelectItem(HTREEITEM item)
{
    return GetHandle() && SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item) != 0;
}

HTREEITEM STreeCtrl::GetRootItem()
{
    return GetHandle() ? (HTREEITEM)SendMessage(TVM_GETNEXTITEM, TVGN_ROOT, 0) : nullptr;
}

HTREEITEM STreeCtrl::GetParentItem(HTREEITEM item)
{
    return GetHandle() && item ? (HTREEITEM)SendMessage(TVM_GETNEXTITEM, TVGN_PARENT, (LPARAM)item) : nullptr;
}

HTREEITEM STreeCtrl::GetChildItem(HTREEITEM item)
{
    if (!GetHandle())
        return nullptr;
    if (!item || item == TVI_ROOT)
        return GetRootItem();
    return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item);
}

HTREEITEM STreeCtrl::GetNextSibling(HTREEITEM item)
{
    return GetHandle() && item ? (HTREEITEM)SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item) : nullptr;
}

HTREEITEM STreeCtrl::GetPrevSibling(HTREEITEM item)
{
    return GetHandle() && item ? (HTREEITEM)SendMessage(TVM_GETNEXTITEM, TVGN_PREVIOUS, (LPARAM)item) : nullptr;
}

bool STreeCtrl::GetItemRect(HTREEITEM item, RECT* rect, bool textOnly)
{
    if (!GetHandle() || !item || !rect)
        return false;
    memset(rect, 0, sizeof(*rect));
    memcpy(rect, &item, sizeof(item));
    return SendMessage(TVM_GETITEMRECT, textOnly ? TRUE : FALSE, (LPARAM)rect) != 0;
}

HTREEITEM STreeCtrl::HitTest(POINT point, UINT* flags)
{
    TVHITTESTINFO hit;
    memset(&hit, 0, sizeof(hit));
    hit.pt = point;
    HTREEITEM item = GetHandle() ? (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&hit) : nullptr;
    if (flags)
        *flags = hit.flags;
    return item;
}

LPARAM STreeCtrl::GetItemData(HTREEITEM item)
{
    TVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = TVIF_PARAM | TVIF_HANDLE;
    record.hItem = item;
    if (!GetHandle() || !item || !SendMessage(TVM_GETITEMA, 0, (LPARAM)&record))
        return 0;
    return record.lParam;
}

SString STreeCtrl::GetItemText(HTREEITEM item)
{
    char text[kTextBuffer] = "";
    TVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = text;
    record.cchTextMax = kTextBuffer;
    if (!GetHandle() || !item || !SendMessage(TVM_GETITEMA, 0, (LPARAM)&record))
        return SString("");
    text[kTextBuffer - 1] = 0;
    return SString(text);
}

bool STreeCtrl::SetItemText(HTREEITEM item, const char* text)
{
    TVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = (LPSTR)(text ? text : "");
    return GetHandle() && item && SendMessage(TVM_SETITEMA, 0, (LPARAM)&record) != 0;
}

bool STreeCtrl::GetItemImages(HTREEITEM item, int* image, int* selectedImage)
{
    TVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    record.hItem = item;
    if (!GetHandle() || !item || !SendMessage(TVM_GETITEMA, 0, (LPARAM)&record))
        return false;
    if (image)
        *image = record.iImage;
    if (selectedImage)
        *selectedImage = record.iSelectedImage;
    return true;
}

bool STreeCtrl::Expand(HTREEITEM item, bool expand)
{
    return GetHandle() && item && SendMessage(TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE, (LPARAM)item) != 0;
}

HWND STreeCtrl::EditLabel(HTREEITEM item)
{
    if (!GetHandle() || !item)
        return nullptr;
    return (HWND)SendMessage(TVM_EDITLABELA, 0, (LPARAM)item);
}

bool STreeCtrl::DeleteAllItems()
{
    return GetHandle() && SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT) != 0;
}

bool STreeCtrl::IsItemChecked(HTREEITEM item)
{
    if (!GetHandle() || !item)
        return false;
    UINT state = (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)item, TVIS_STATEIMAGEMASK);
    return state >= 0x2000 && state <= 0x2FFF;
}

bool STreeCtrl::SetItemCheck(HTREEITEM item, bool checked)
{
    TVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = TVIF_STATE | TVIF_HANDLE;
    record.hItem = item;
    record.stateMask = TVIS_STATEIMAGEMASK;
    record.state = checked ? 0x2000 : 0x1000;
    return GetHandle() && item && SendMessage(TVM_SETITEMA, 0, (LPARAM)&record) != 0;
}

int STreeCtrl::GetCount()
{
    return GetHandle() ? (int)SendMessage(TVM_GETCOUNT) : 0;
}

// --- item operations ---

HTREEITEM STreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter, LPARAM data)
{
    if (!GetHandle())
        return nullptr;
    TVINSERTSTRUCTA insert;
    memset(&insert, 0, sizeof(insert));
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = insertAfter ? insertAfter : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = (LPSTR)(text ? text : "");
    insert.item.lParam = data;
    if (image != -1)
    {
        insert.item.mask |= TVIF_IMAGE;
        insert.item.iImage = image;
    }
    if (selectedImage != -1)
    {
        insert.item.mask |= TVIF_SELECTEDIMAGE;
        insert.item.iSelectedImage = selectedImage;
    }
    return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)&insert);
}

HTREEITEM STreeCtrl::GetFirstSibling(HTREEITEM item)
{
    if (!item)
        return nullptr;
    HTREEITEM parent = GetParentItem(item);
    return parent ? GetChildItem(parent) : GetRootItem();
}

int STreeCtrl::GetDepth(HTREEITEM item)
{
    int depth = 0;
    for (HTREEITEM parent = GetParentItem(item); parent; parent = GetParentItem(parent))
        depth++;
    return depth;
}

bool STreeCtrl::IsChildOf(HTREEITEM item, HTREEITEM ancestor, bool deep)
{
    if (!item)
        return false;
    for (HTREEITEM parent = GetParentItem(item); parent; parent = GetParentItem(parent))
    {
        if (parent == ancestor)
            return true;
        if (!deep)
            break;
    }
    return false;
}

HTREEITEM STreeCtrl::GetNextItemInOrder(HTREEITEM item, int* depth)
{
    if (!item)
        return nullptr;
    int level = depth ? *depth : 0;
    HTREEITEM next = GetChildItem(item);
    if (next)
        level++;
    else
    {
        while (item && !(next = GetNextSibling(item)))
        {
            item = GetParentItem(item);
            level--;
        }
    }
    if (depth)
        *depth = level;
    return next;
}

int STreeCtrl::CollectSubtree(SArray<HTREEITEM>* out, HTREEITEM item)
{
    if (!item)
        return 0;
    int count = 0, depth = 0;
    for (HTREEITEM next = GetNextItemInOrder(item, &depth); next && depth > 0; next = GetNextItemInOrder(next, &depth))
    {
        if (out)
            out->Add(next);
        count++;
    }
    return count;
}

int STreeCtrl::CountChildren(HTREEITEM item, bool recursive)
{
    int count = 0;
    for (HTREEITEM child = GetChildItem(item); child; child = GetNextSibling(child))
        count += 1 + (recursive ? CollectSubtree(nullptr, child) : 0);
    return count;
}

bool STreeCtrl::DeleteItem(HTREEITEM item, bool notify)
{
    if (!GetHandle() || !item)
        return false;
    if (!notify)
        return SendMessage(TVM_DELETEITEM, 0, (LPARAM)item) != 0;
    SArray<HTREEITEM> items;
    CollectSubtree(&items, item);
    items.Add(item, 0);
    // Reverse pre-order: every child goes before its parent.
    bool deleted = false;
    for (int i = items.GetCount() - 1; i >= 0; i--)
    {
        STreeDeleteRecord record = {items.GetAt(i), GetItemData(items.GetAt(i))};
        deleted = SendMessage(TVM_DELETEITEM, 0, (LPARAM)record.item) != 0;
        if (deleted)
            SendMessageToParent(TreeMessage(14), (WPARAM)this, (LPARAM)&record);
    }
    return deleted;
}

bool STreeCtrl::DeleteChildren(HTREEITEM item)
{
    while (HTREEITEM child = GetChildItem(item))
        if (!DeleteItem(child, true))
            return false;
    return true;
}

bool STreeCtrl::ReadItem(HTREEITEM item, TVITEMA* record, char* text)
{
    memset(record, 0, sizeof(*record));
    record->mask = 0x7F;
    record->hItem = item;
    record->stateMask = TVIS_STATEIMAGEMASK;
    record->pszText = text;
    record->cchTextMax = kTextBuffer;
    text[0] = 0;
    if (!GetHandle() || !item || !SendMessage(TVM_GETITEMA, 0, (LPARAM)record))
        return false;
    text[kTextBuffer - 1] = 0;
    // The tree may answer with its own text buffer.
    if (record->pszText && record->pszText != text)
    {
        strncpy(text, record->pszText, kTextBuffer - 1);
        text[kTextBuffer - 1] = 0;
    }
    return true;
}

HTREEITEM STreeCtrl::CopyItem(HTREEITEM item, HTREEITEM parent, HTREEITEM insertAfter, STreeCtrl* targetTree,
                              bool move)
{
    char text[kTextBuffer];
    TVITEMA record;
    if (!ReadItem(item, &record, text))
        return nullptr;
    STreeCtrl* tree = TargetOrSelf(targetTree);
    if (!tree->GetHandle())
        return nullptr;
    TVINSERTSTRUCTA insert;
    memset(&insert, 0, sizeof(insert));
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = insertAfter ? insertAfter : TVI_LAST;
    insert.item.mask = 0x27;
    insert.item.pszText = text;
    insert.item.iImage = record.iImage;
    insert.item.iSelectedImage = record.iSelectedImage;
    insert.item.lParam = record.lParam;
    HTREEITEM created = (HTREEITEM)tree->SendMessage(TVM_INSERTITEMA, 0, (LPARAM)&insert);
    if (!created)
        return nullptr;
    STreeCopyRecord copy = {item, created, targetTree};
    SendMessageToParent(TreeMessage(move ? 13 : 12), (WPARAM)this, (LPARAM)&copy);
    return created;
}

HTREEITEM STreeCtrl::CopySubtree(HTREEITEM item, HTREEITEM parent, HTREEITEM insertAfter, STreeCtrl* targetTree,
                                 bool move)
{
    STreeCtrl* tree = TargetOrSelf(targetTree);
    // The source is listed (with depths) before anything is inserted, so a copy placed
    // inside its own subtree is never copied again, and no recursion is needed.
    std::vector<std::pair<HTREEITEM, int>> sources;
    int depth = 0;
    for (HTREEITEM next = GetNextItemInOrder(item, &depth); next && depth > 0; next = GetNextItemInOrder(next, &depth))
        sources.push_back(std::make_pair(next, depth));
    bool redraw = tree->SetRedraw(false);
    HTREEITEM created = CopyItem(item, parent, insertAfter, targetTree, move);
    std::vector<HTREEITEM> open(1, created); // the last copy made at each depth
    for (size_t i = 0; created && i < sources.size(); i++)
    {
        int level = sources[i].second;
        open.resize((size_t)level);
        HTREEITEM copy = CopyItem(sources[i].first, open.back(), TVI_LAST, targetTree, move);
        if (!copy)
        {
            // All or nothing: a part copy is removed again.
            tree->DeleteItem(created, false);
            created = nullptr;
            break;
        }
        open.push_back(copy);
    }
    tree->SetRedraw(redraw);
    return created;
}

HTREEITEM STreeCtrl::CopyItemTo(HTREEITEM item, HTREEITEM target, bool asChild, bool last, STreeCtrl* targetTree,
                                bool move)
{
    if (!item)
        return nullptr;
    STreeCtrl* tree = TargetOrSelf(targetTree);
    HTREEITEM edge = last ? TVI_LAST : TVI_FIRST;
    if (!target)
        return CopySubtree(item, TVI_ROOT, edge, targetTree, move);
    if (asChild)
    {
        if (tree == this && (target == item || IsChildOf(target, item, true)))
            return nullptr;
        return CopySubtree(item, target, edge, targetTree, move);
    }
    HTREEITEM parent = tree->GetParentItem(target);
    HTREEITEM after = target;
    if (!last)
    {
        HTREEITEM previous = tree->GetPrevSibling(target);
        after = previous ? previous : TVI_FIRST;
    }
    return CopySubtree(item, parent ? parent : TVI_ROOT, after, targetTree, move);
}

HTREEITEM STreeCtrl::MoveItemTo(HTREEITEM item, HTREEITEM target, bool asChild, bool last, STreeCtrl* targetTree)
{
    STreeCtrl* tree = TargetOrSelf(targetTree);
    if (!item)
        return nullptr;
    // Deleting the source would take a copy placed inside its own subtree with it.
    if (tree == this && target && (target == item || IsChildOf(target, item, true)))
        return nullptr;
    bool redraw = tree->SetRedraw(false);
    HTREEITEM created = CopyItemTo(item, target, asChild, last, targetTree, true);
    if (created)
        DeleteItem(item, false);
    tree->SetRedraw(redraw);
    return created;
}

SString STreeCtrl::GetItemPath(HTREEITEM item)
{
    if (!item)
        return SString("");
    SStringArray parts;
    for (HTREEITEM step = item; step; step = GetParentItem(step))
        parts.Add(GetItemText(step), 0);
    SString path = parts.Join("\\");
    if (m_folderMode)
    {
        path = m_rootFolder + path;
        if (m_disk.IsFolder(path))
            path += "\\";
    }
    return path;
}

// --- tree text ---

bool STreeCtrl::LoadTree(SFile* stream, bool withData)
{
    STreeText text;
    if (!GetHandle() || !text.Read(stream, withData))
        return false;
    // Level by level: every parent then lies early in the tree view's item list, which
    // some tree views search whenever an item handle is passed in.
    int count = text.GetCount();
    std::vector<int> first((size_t)STreeText::kMaxDepth + 2, 0), order((size_t)count, 0);
    for (int i = 0; i < count; i++)
        first[(size_t)text.GetNode(i)->depth + 1]++;
    for (size_t depth = 1; depth < first.size(); depth++)
        first[depth] += first[depth - 1];
    for (int i = 0; i < count; i++)
        order[(size_t)first[(size_t)text.GetNode(i)->depth]++] = i;
    bool redraw = SetRedraw(false);
    std::vector<HTREEITEM> items((size_t)count, nullptr);
    bool ok = true;
    for (int i : order)
    {
        const STreeText::_SNode* node = text.GetNode(i);
        HTREEITEM parent = node->parent < 0 ? TVI_ROOT : items[(size_t)node->parent];
        items[(size_t)i] = InsertItem(node->label, node->image, node->selectedImage, parent, TVI_LAST,
                                      (LPARAM)node->data);
        if (!items[(size_t)i])
        {
            ok = false;
            break;
        }
    }
    if (!ok)
    {
        // The items added so far hang under the root-level ones: deleting those removes all.
        for (int i = 0; i < text.GetCount(); i++)
            if (items[(size_t)i] && text.GetNode(i)->parent < 0)
                DeleteItem(items[(size_t)i], false);
    }
    SetRedraw(redraw);
    return ok;
}

bool STreeCtrl::SaveTree(SFile* stream, bool withData)
{
    if (!GetHandle())
        return false;
    STreeText text;
    std::vector<int> parents; // node index of the open item at each depth
    int depth = 0;
    for (HTREEITEM item = GetRootItem(); item; item = GetNextItemInOrder(item, &depth))
    {
        char label[kTextBuffer];
        TVITEMA record;
        if (!ReadItem(item, &record, label))
            return false;
        parents.resize((size_t)depth + 1);
        int parent = depth > 0 ? parents[(size_t)depth - 1] : -1;
        parents[(size_t)depth] = text.Add(label, parent, (int)record.lParam,
                                          (record.mask & TVIF_IMAGE) ? record.iImage : -1,
                                          (record.mask & TVIF_SELECTEDIMAGE) ? record.iSelectedImage : -1);
    }
    return text.Write(stream, withData);
}

// --- checks ---

void STreeCtrl::SetCheckSubtree(HTREEITEM item, bool checked)
{
    SArray<HTREEITEM> items;
    CollectSubtree(&items, item);
    for (int i = 0; i < items.GetCount(); i++)
        SetItemCheck(items.GetAt(i), checked);
}

void STreeCtrl::UncheckEmptyParents(HTREEITEM item)
{
    while (item)
    {
        HTREEITEM parent = GetParentItem(item);
        if (!parent)
            return;
        for (HTREEITEM sibling = GetFirstSibling(item); sibling; sibling = GetNextSibling(sibling))
            if (sibling != item && IsItemChecked(sibling))
                return;
        SetItemCheck(parent, false);
        item = parent;
    }
}

void STreeCtrl::OnCheckChanged(HTREEITEM item, bool checked)
{
    if (!m_checksPropagate)
        return;
    SetCheckSubtree(item, checked);
    if (!checked)
        UncheckEmptyParents(item);
    else
        for (HTREEITEM parent = GetParentItem(item); parent; parent = GetParentItem(parent))
            if (!IsItemChecked(parent))
                SetItemCheck(parent, true);
}

// --- messages ---

LRESULT STreeCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        m_dropTargets.RemoveAll();
        break;
    case WM_S_ITEM_EXPANDED:
        OnItemExpanded((HTREEITEM)wParam, lParam != 0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F2)
            EditLabel(GetSelectedItem());
        SendMessageToParent(TreeMessage(0), (WPARAM)this, (LPARAM)wParam);
        break;
    case WM_LBUTTONDOWN:
        return OnLeftButtonDown(wParam, lParam);
    case WM_RBUTTONDOWN:
    {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        HTREEITEM item = HitTest(point);
        if (item && item != GetSelectedItem())
            SelectItem(item);
        SControlForwardMouse(this, msg, lParam, SBLOCK_TREE, 1);
        break;
    }
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_TREE, 1);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

LRESULT STreeCtrl::OnLeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    UINT flags = 0;
    HTREEITEM item = HitTest(point, &flags);
    if ((GetStyle() & TVS_CHECKBOXES) && (flags & TVHT_ONITEMSTATEICON) && item)
    {
        bool before = IsItemChecked(item);
        LRESULT result = SWnd::OnMessage(WM_LBUTTONDOWN, wParam, lParam);
        bool after = IsItemChecked(item);
        if (after != before && GetHandle())
        {
            OnCheckChanged(item, after);
            SendMessageToParent(TreeMessage(4), (WPARAM)this, (LPARAM)item);
        }
        return result;
    }
    SControlForwardMouse(this, WM_LBUTTONDOWN, lParam, SBLOCK_TREE, 1);
    LRESULT result = SWnd::OnMessage(WM_LBUTTONDOWN, wParam, lParam);
    if (m_dragDrop && item && (flags & TVHT_ONITEMLABEL) && GetHandle())
        DragItem(item);
    return result;
}

void STreeCtrl::AddDropTarget(HWND tree)
{
    if (tree && !IsDropTarget(tree))
        m_dropTargets.Add(tree);
}

void STreeCtrl::RemoveDropTarget(HWND tree)
{
    m_dropTargets.RemoveValue(tree);
}

bool STreeCtrl::IsDropTarget(HWND window) const
{
    return window && m_dropTargets.Find(window) >= 0;
}
