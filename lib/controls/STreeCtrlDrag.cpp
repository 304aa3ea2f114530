// The tree control's drag loop: it runs inside the left button press, polls the
// mouse and keyboard through an STreeDragInput and dispatches nothing until the
// button is released.
#include "STreeCtrl.h"

#include "SControl.h"
#include "SLibrary.h"

namespace
{

STreeDragInput g_realInput;
STreeDragInput* g_dragInput = &g_realInput;

// The dotted outline drawn and erased (XOR-like) on the screen.
void DrawOutline(HDC dc, const RECT& rect)
{
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, brush);
}

}

STreeDragInput::~STreeDragInput() = default;

bool STreeDragInput::Poll(STreeDragState* state)
{
    Sleep(10);
    state->buttonDown = GetAsyncKeyState(VK_LBUTTON) < 0;
    state->escapeDown = GetAsyncKeyState(VK_ESCAPE) < 0;
    return ::GetCursorPos(&state->cursor) != FALSE;
}

HWND STreeDragInput::WindowFromPoint(POINT point)
{
    return ::WindowFromPoint(point);
}

void STreeDragInput::ShowCursor(int number)
{
    ::SetCursor(GetCursorHandle(number));
}

STreeDragInput* STreeCtrl::SetDragInput(STreeDragInput* input)
{
    STreeDragInput* previous = g_dragInput == &g_realInput ? nullptr : g_dragInput;
    g_dragInput = input ? input : &g_realInput;
    return previous;
}

void STreeCtrl::DragItem(HTREEITEM item)
{
    if (!GetHandle() || !item)
        return;
    HWND self = GetHandle();
    SelectItem(item);
    STreeDragInput* input = g_dragInput;
    bool dragging = false, valid = false;
    HWND targetWindow = nullptr;
    HTREEITEM target = nullptr;
    HDC dc = nullptr;
    HPEN pen = nullptr;
    HGDIOBJ oldPen = nullptr;
    int oldMode = 0;
    RECT outline = {0, 0, 0, 0};
    bool outlined = false;
    STreeDragState state;
    while (input->Poll(&state) && state.buttonDown && IsWindow(self))
    {
        if (state.escapeDown)
        {
            valid = false;
            break;
        }
        HWND under = input->WindowFromPoint(state.cursor);
        HWND tree = under == self ? self : IsDropTarget(under) ? under : nullptr;
        HTREEITEM hit = nullptr;
        if (tree)
        {
            TVHITTESTINFO info;
            memset(&info, 0, sizeof(info));
            info.pt = state.cursor;
            ::ScreenToClient(tree, &info.pt);
            hit = (HTREEITEM)::SendMessageA(tree, TVM_HITTEST, 0, (LPARAM)&info);
            if (!(info.flags & TVHT_ONITEM))
                hit = nullptr;
        }
        if (!dragging)
        {
            if (!tree || (tree == self && hit == item))
                continue;
            if (SendMessageToParent(ControlMessage(SBLOCK_TREE, 9), (WPARAM)this, (LPARAM)item))
                return;
            dc = ::GetDC(nullptr);
            pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
            if (dc && pen)
                oldPen = SelectObject(dc, pen);
            if (dc)
                oldMode = SetROP2(dc, R2_NOTXORPEN);
            dragging = true;
        }
        valid = false;
        RECT rect = {0, 0, 0, 0};
        bool haveRect = false;
        if (tree)
        {
            if (!hit)
                valid = true;
            else if (tree != self)
                valid = true;
            else
                valid = hit != item && !IsChildOf(hit, item, true);
            if (valid && hit)
            {
                memcpy(&rect, &hit, sizeof(hit));
                if (::SendMessageA(tree, TVM_GETITEMRECT, TRUE, (LPARAM)&rect))
                {
                    MapWindowPoints(tree, nullptr, (POINT*)&rect, 2);
                    haveRect = true;
                }
            }
        }
        targetWindow = tree;
        target = hit;
        input->ShowCursor(valid ? 14 : 6);
        if (haveRect != outlined || (haveRect && !EqualRect(&rect, &outline)))
        {
            if (outlined && dc)
                DrawOutline(dc, outline);
            if (haveRect && dc)
                DrawOutline(dc, rect);
            outlined = haveRect;
            outline = rect;
        }
    }
    if (outlined && dc)
        DrawOutline(dc, outline);
    if (!dragging)
        return;
    if (dc)
    {
        if (oldPen)
            SelectObject(dc, oldPen);
        SetROP2(dc, oldMode);
        ::ReleaseDC(nullptr, dc);
    }
    if (pen)
        DeleteObject(pen);
    if (!IsWindow(self))
        return;
    if (!valid)
    {
        SendMessageToParent(ControlMessage(SBLOCK_TREE, 11), (WPARAM)this, (LPARAM)item);
        return;
    }
    STreeCtrl* targetTree = nullptr;
    if (targetWindow != self)
    {
        targetTree = dynamic_cast<STreeCtrl*>(FindWndByHandle(targetWindow));
        if (!targetTree)
        {
            SendMessageToParent(ControlMessage(SBLOCK_TREE, 11), (WPARAM)this, (LPARAM)item);
            return;
        }
    }
    STreeDropRecord record = {item, target, targetTree, 0x01010001u};
    if (SendMessageToParent(ControlMessage(SBLOCK_TREE, 10), (WPARAM)this, (LPARAM)&record) || !IsWindow(self))
        return;
    STreeCtrl* tree = targetTree ? targetTree : this;
    bool asChild = (record.options & 0xFF0000) != 0;
    bool last = record.options > 0xFFFFFF;
    bool redraw = tree->SetRedraw(false);
    HTREEITEM created = (record.options & 0xFF) == 1
                            ? MoveItemTo(item, record.target, asChild, last, targetTree)
                            : CopyItemTo(item, record.target, asChild, last, targetTree, false);
    if (created)
        tree->SelectItem(created);
    tree->SetRedraw(redraw);
}
