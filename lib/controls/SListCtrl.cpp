#include "SListCtrl.h"

#include "SControl.h"
#include "SDraw.h"

namespace
{

const DWORD kDroppedStyles = LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_SORT;

int Larger(int a, int b) { return a > b ? a : b; }

}

SListCtrl::SListCtrl()
    : m_backBrush(nullptr),
      m_textColor(GetSysColor(COLOR_WINDOWTEXT)),
      m_selectionBackColor(GetSysColor(COLOR_HIGHLIGHT)),
      m_selectionTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_margin(1),
      m_leftImages(nullptr),
      m_rightImages(nullptr),
      m_leftWidth(0), m_leftHeight(0),
      m_rightWidth(0), m_rightHeight(0),
      m_textHeight(-1),
      m_uniformHeight(false)
{
    SetKind(SKIND_LIST);
}

SListCtrl::~SListCtrl()
{
    RemoveAll();
    if (m_backBrush)
        DeleteObject(m_backBrush);
}

bool SListCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                       LPARAM creationParam)
{
    // A fixed-height list box would shrink itself to whole items: it keeps the height given.
    DWORD computed = (SControlStyle(style) & ~kDroppedStyles) |
                     (m_uniformHeight ? LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT : LBS_OWNERDRAWVARIABLE);
    m_textHeight = -1;
    if (!CreateSubclassed("LISTBOX", "", computed, exStyle, rect, parent, id, creationParam))
        return false;
    ApplyUniformHeight();
    // The list box drops its scroll-bar styles at creation: put back the ones asked for.
    DWORD restored = GetStyle();
    if (computed & WS_HSCROLL)
        restored |= WS_HSCROLL;
    if (style & WS_VSCROLL)
        restored |= WS_VSCROLL;
    if (restored != GetStyle())
        SetStyle(restored);
    return true;
}

// --- items ---

SListCtrl::_SItem* SListCtrl::GetItem(int index)
{
    if (!GetHandle() || index < 0 || index >= GetCount())
        return nullptr;
    // Straight to the list box: painting and long fills ask for records often.
    LRESULT data = CallDefault(LB_GETITEMDATA, (WPARAM)index, 0);
    return data == LB_ERR ? nullptr : (_SItem*)data;
}

void SListCtrl::ApplyUniformHeight()
{
    if (!m_uniformHeight || !GetHandle())
        return;
    int height = GetItemHeight();
    if (height > 0)
        CallDefault(LB_SETITEMHEIGHT, 0, (LPARAM)height);
}

int SListCtrl::InsertItem(const char* text, int index, int leftImage, int rightImage, int data)
{
    if (!GetHandle())
        return -1;
    _SItem* item = new _SItem;
    item->owner = this;
    item->text = text ? text : "";
    item->leftImage = leftImage;
    item->rightImage = rightImage;
    item->data = data;
    LRESULT at = index < 0 ? SendMessage(LB_ADDSTRING, 0, (LPARAM)item)
                           : SendMessage(LB_INSERTSTRING, (WPARAM)index, (LPARAM)item);
    if (at == LB_ERR || at == LB_ERRSPACE || at < 0)
    {
        delete item;
        return -1;
    }
    return (int)at;
}

bool SListCtrl::ReserveItems(int count)
{
    if (!GetHandle() || count <= 0)
        return false;
    // Items hold no strings of the list box's own: only their records are kept.
    LRESULT result = SendMessage(LB_INITSTORAGE, (WPARAM)count, 0);
    return result != LB_ERRSPACE && result != LB_ERR;
}

int SListCtrl::InsertItems(const SStringArray* texts, int index)
{
    if (!GetHandle() || texts == nullptr)
        return 0;
    if (index < -1 || index > GetCount())
        index = -1;
    int inserted = 0;
    ReserveItems(texts->GetCount());
    for (int i = 0; i < texts->GetCount(); i++)
    {
        if (InsertItem(texts->GetAt(i), index < 0 ? -1 : index + inserted) >= 0)
            inserted++;
    }
    return inserted;
}

bool SListCtrl::DeleteItem(int index)
{
    _SItem* item = GetItem(index);
    if (!item)
        return false;
    // The list box lets go of the record before it is freed, so nothing can paint a freed item.
    if (SendMessage(LB_DELETESTRING, (WPARAM)index, 0) == LB_ERR)
        return false;
    delete item;
    return true;
}

int SListCtrl::DeleteSelected()
{
    int deleted = 0;
    while (GetSelCount() != 0)
    {
        if (!DeleteItem(GetCurSel()))
            break;
        deleted++;
    }
    return deleted;
}

void SListCtrl::RemoveAll()
{
    int count = GetCount();
    if (count <= 0)
        return;
    SArray<_SItem*> items;
    items.SetSize(count, false);
    for (int i = 0; i < count; i++)
    {
        LRESULT data = CallDefault(LB_GETITEMDATA, (WPARAM)i, 0);
        items.SetAt(i, data == LB_ERR ? nullptr : (_SItem*)data);
    }
    SendMessage(LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items.GetCount(); i++)
        delete items.GetAt(i);
}

int SListCtrl::MoveItem(int from, int to)
{
    if (from == to)
        return -1;
    _SItem* item = GetItem(from);
    if (!item)
        return -1;
    // A target before the start or past the end puts the item last; an item already
    // there does not move, as for a target equal to the source.
    int last = GetCount() - 1;
    int at = to < 0 || to > last ? last : to;
    if (at == from)
        return -1;
    bool selected = IsSelected(from);
    // The record itself changes place: the list box lets go of it without freeing it,
    // and takes it back where it was when the new place is refused.
    if (SendMessage(LB_DELETESTRING, (WPARAM)from, 0) == LB_ERR)
        return -1;
    LRESULT placed = SendMessage(LB_INSERTSTRING, (WPARAM)at, (LPARAM)item);
    if (placed == LB_ERR || placed == LB_ERRSPACE || placed < 0)
    {
        placed = SendMessage(LB_INSERTSTRING, (WPARAM)from, (LPARAM)item);
        if (placed == LB_ERR || placed == LB_ERRSPACE || placed < 0)
            delete item;
        else if (selected)
            SetSel((int)placed, true);
        return -1;
    }
    if (selected)
        SetSel((int)placed, true);
    return (int)placed;
}

int SListCtrl::GetCount()
{
    if (!GetHandle())
        return 0;
    LRESULT count = CallDefault(LB_GETCOUNT, 0, 0);
    return count > 0 ? (int)count : 0;
}

SString SListCtrl::GetItemText(int index)
{
    _SItem* item = GetItem(index);
    return item ? item->text : SString();
}

SString SListCtrl::GetSelectedText()
{
    return GetItemText(GetCurSel());
}

int SListCtrl::GetItemData(int index)
{
    _SItem* item = GetItem(index);
    return item ? item->data : 0;
}

int SListCtrl::GetItemLeftImage(int index)
{
    _SItem* item = GetItem(index);
    return item ? item->leftImage : -1;
}

int SListCtrl::GetItemRightImage(int index)
{
    _SItem* item = GetItem(index);
    return item ? item->rightImage : -1;
}

bool SListCtrl::SetItemRightImage(int index, int image)
{
    _SItem* item = GetItem(index);
    if (!item)
        return false;
    item->rightImage = image;
    return true;
}

int SListCtrl::FindItem(const char* text, int start)
{
    int count = GetCount();
    for (int i = start < 0 ? 0 : start; i < count; i++)
    {
        _SItem* item = GetItem(i);
        if (item && item->text.CompareNoCase(text) == 0)
            return i;
    }
    return -1;
}

int SListCtrl::SelectString(const char* text, bool exact)
{
    int count = GetCount();
    if (count == 0)
        return -1;
    int hit = -1;
    if (exact)
        hit = FindItem(text, 0);
    else
    {
        // The list box holds no strings, so the prefix is matched against the item texts here.
        int length = text ? (int)strlen(text) : 0;
        for (int i = 0; i < count && hit < 0; i++)
        {
            _SItem* item = GetItem(i);
            if (item && _strnicmp(item->text, text ? text : "", (size_t)length) == 0)
                hit = i;
        }
    }
    if (hit >= 0)
        SetCurSel(hit);
    return hit;
}

// --- selection ---

bool SListCtrl::IsSingleSel() { return !(GetStyle() & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)); }
bool SListCtrl::IsExtendedSel() { return (GetStyle() & LBS_EXTENDEDSEL) != 0; }
bool SListCtrl::IsMultipleSel() { return (GetStyle() & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) == LBS_MULTIPLESEL; }

int SListCtrl::GetCurSel()
{
    if (!GetHandle())
        return -1;
    if (IsSingleSel())
    {
        LRESULT current = SendMessage(LB_GETCURSEL, 0, 0);
        return current < 0 ? -1 : (int)current;
    }
    int first = -1;
    if (SendMessage(LB_GETSELITEMS, 1, (LPARAM)&first) <= 0)
        return -1;
    return first;
}

void SListCtrl::SetCurSel(int index)
{
    if (!GetHandle())
        return;
    if (IsSingleSel())
    {
        SendMessage(LB_SETCURSEL, (WPARAM)index, 0);
        return;
    }
    SendMessage(LB_SETSEL, FALSE, -1);
    if (index != -1)
        SendMessage(LB_SETSEL, TRUE, index);
}

int SListCtrl::GetSelCount()
{
    if (!GetHandle())
        return 0;
    if (IsSingleSel())
        return GetCurSel() != -1 ? 1 : 0;
    LRESULT count = SendMessage(LB_GETSELCOUNT, 0, 0);
    return count > 0 ? (int)count : 0;
}

bool SListCtrl::IsSelected(int index)
{
    if (!GetHandle() || index < 0 || index >= GetCount())
        return false;
    if (IsSingleSel())
        return SendMessage(LB_GETCURSEL, 0, 0) == index;
    return SendMessage(LB_GETSEL, (WPARAM)index, 0) > 0;
}

int SListCtrl::GetSelection(SArray<int>* out)
{
    if (!GetHandle())
        return 0;
    if (IsSingleSel())
    {
        int current = GetCurSel();
        if (current == -1)
            return 0;
        if (out)
            out->Add(current);
        return 1;
    }
    int count = GetSelCount();
    if (count == 0 || !out)
        return count;
    SArray<int> indexes;
    if (!indexes.SetSize(count, false))
        return count;
    LRESULT got = SendMessage(LB_GETSELITEMS, (WPARAM)count, (LPARAM)indexes.GetPtr(0));
    for (int i = 0; i < got && i < count; i++)
        out->Add(indexes.GetAt(i));
    return count;
}

void SListCtrl::SetSel(int index, bool select)
{
    if (!GetHandle() || index < 0 || index >= GetCount())
        return;
    if (IsSingleSel())
        SendMessage(LB_SETCURSEL, select ? (WPARAM)index : (WPARAM)-1, 0);
    else
        SendMessage(LB_SETSEL, select ? TRUE : FALSE, index);
}

bool SListCtrl::ToggleSel(int index)
{
    bool select = !IsSelected(index);
    SetSel(index, select);
    return IsSelected(index);
}

void SListCtrl::SelectRange(int first, int last, bool select)
{
    if (!GetHandle())
        return;
    if (first >= 0 && last >= 0 && first <= 0xFFFF && last <= 0xFFFF)
    {
        SendMessage(LB_SELITEMRANGE, select ? TRUE : FALSE, MAKELPARAM(first, last));
        return;
    }
    // Past 16-bit indexes the range travels whole: first <= last selects, otherwise deselects.
    if (first > last)
    {
        int swap = first;
        first = last;
        last = swap;
    }
    if (select)
        SendMessage(LB_SELITEMRANGEEX, (WPARAM)first, last);
    else if (first == last)
        SendMessage(LB_SETSEL, FALSE, first);
    else
        SendMessage(LB_SELITEMRANGEEX, (WPARAM)last, first);
}

int SListCtrl::GetAnchorIndex()
{
    if (!GetHandle())
        return -1;
    LRESULT anchor = SendMessage(LB_GETANCHORINDEX, 0, 0);
    return anchor < 0 ? -1 : (int)anchor;
}

void SListCtrl::SetAnchorIndex(int index)
{
    SendMessage(LB_SETANCHORINDEX, (WPARAM)index, 0);
}

int SListCtrl::GetTopIndex()
{
    if (!GetHandle())
        return -1;
    LRESULT top = SendMessage(LB_GETTOPINDEX, 0, 0);
    return top < 0 ? -1 : (int)top;
}

bool SListCtrl::SetTopIndex(int index)
{
    if (!GetHandle())
        return false;
    return SendMessage(LB_SETTOPINDEX, (WPARAM)(index < 0 ? 0 : index), 0) != LB_ERR;
}

bool SListCtrl::GetItemRect(int index, RECT* rect)
{
    if (!GetHandle() || !rect)
        return false;
    return SendMessage(LB_GETITEMRECT, (WPARAM)index, (LPARAM)rect) != LB_ERR;
}

int SListCtrl::ItemFromPoint(int x, int y)
{
    if (!GetHandle())
        return -1;
    LRESULT answer = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(answer) == 1)
        return -1;
    int count = GetCount();
    // The answer carries 16 bits of index; the visible items lie within 65536 of the top one.
    int index = LOWORD(answer);
    int top = GetTopIndex();
    if (top > 0)
    {
        int full = top + ((index - top) & 0xFFFF);
        if (full < count)
            index = full;
    }
    if (index < 0 || index >= count)
        return -1;
    if (index + 1 == count)
    {
        RECT rect;
        POINT point = {x, y};
        if (!GetItemRect(index, &rect) || !PtInRect(&rect, point))
            return -1;
    }
    return index;
}

// --- look ---

void SListCtrl::StoreImageList(HIMAGELIST images, HIMAGELIST* list, int* width, int* height)
{
    *list = nullptr;
    *width = 0;
    *height = 0;
    int cx = 0, cy = 0;
    if (images && ImageList_GetIconSize(images, &cx, &cy))
    {
        *list = images;
        *width = cx;
        *height = cy;
    }
}

void SListCtrl::SetLeftImageList(HIMAGELIST images)
{
    StoreImageList(images, &m_leftImages, &m_leftWidth, &m_leftHeight);
    ApplyUniformHeight();
}

void SListCtrl::SetRightImageList(HIMAGELIST images)
{
    StoreImageList(images, &m_rightImages, &m_rightWidth, &m_rightHeight);
    ApplyUniformHeight();
}

void SListCtrl::SetSelectionColors(unsigned backColor, unsigned textColor)
{
    if (backColor != SCOLOR_NONE)
        m_selectionBackColor = SControlColorRef(backColor);
    if (textColor != SCOLOR_NONE)
        m_selectionTextColor = SControlColorRef(textColor);
}

void SListCtrl::SetMargin(int pixels)
{
    m_margin = pixels < 0 ? 0 : pixels;
    ApplyUniformHeight();
}

int SListCtrl::GetItemHeight()
{
    HWND handle = GetHandle();
    if (!handle)
        return 0;
    if (m_textHeight < 0)
    {
        // Measured with the font the items are drawn in, once per font.
        HDC dc = ::GetDC(handle);
        if (!dc)
            return 0;
        HFONT font = (HFONT)SendMessage(WM_GETFONT, 0, 0);
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        TEXTMETRICA metrics;
        if (GetTextMetricsA(dc, &metrics))
            m_textHeight = metrics.tmHeight;
        if (old)
            SelectObject(dc, old);
        ::ReleaseDC(handle, dc);
        if (m_textHeight < 0)
            return 0;
    }
    int iconHeight = Larger(m_leftHeight, m_rightHeight);
    return 2 * m_margin + Larger(iconHeight, m_textHeight);
}

bool SListCtrl::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (!GetHandle() || !draw || (int)draw->itemID < 0)
        return false;
    _SItem* item = GetItem((int)draw->itemID);
    if (!item)
        return false;
    if (draw->itemAction != ODA_DRAWENTIRE && draw->itemAction != ODA_SELECT)
        return true;
    HDC dc = draw->hDC;
    RECT whole = draw->rcItem;
    int textLeft = m_leftWidth > 0 ? whole.left + m_leftWidth + 4 * m_margin : whole.left;
    int textRight = m_rightWidth > 0 ? whole.right - (m_rightWidth + 4 * m_margin) : whole.right;
    bool selected = (draw->itemState & ODS_SELECTED) != 0;

    unsigned back = GetBackColor();
    if (back != SCOLOR_TRANSPARENT)
    {
        HBRUSH brush = CreateSolidBrush(back == SCOLOR_NONE ? GetSysColor(COLOR_WINDOW) : SControlColorRef(back));
        if (brush)
        {
            FillRect(dc, &whole, brush);
            DeleteObject(brush);
        }
    }
    if (selected)
    {
        RECT area = {textLeft, whole.top, textRight, whole.bottom};
        HBRUSH brush = CreateSolidBrush(m_selectionBackColor);
        if (brush)
        {
            FillRect(dc, &area, brush);
            DeleteObject(brush);
        }
    }
    int height = whole.bottom - whole.top;
    if (height < 0)
        height = -height;
    if (item->leftImage != -1 && m_leftWidth > 0)
        ImageList_Draw(m_leftImages, item->leftImage, dc, whole.left + 2 * m_margin,
                       whole.top + (height - m_leftHeight) / 2, ILD_NORMAL);
    if (item->rightImage != -1 && m_rightWidth > 0)
        ImageList_Draw(m_rightImages, item->rightImage, dc, textRight,
                       whole.top + (height - m_rightHeight) / 2, ILD_NORMAL);
    if (!item->text.IsEmpty())
    {
        RECT area = {textLeft + 2 * m_margin, whole.top, textRight - 2 * m_margin, whole.bottom};
        int oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF oldColor = ::SetTextColor(dc, selected ? m_selectionTextColor : m_textColor);
        DrawTextA(dc, item->text, item->text.GetLength(), &area, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
        ::SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }
    return true;
}

HBRUSH SListCtrl::OnCtlColorListBox(HDC)
{
    unsigned back = GetBackColor();
    return SControlBrush(&m_backBrush, back == SCOLOR_TRANSPARENT ? SCOLOR_NONE : back);
}

// --- messages ---

void SListCtrl::NotifySelection()
{
    SendMessageToParent(ControlMessage(SBLOCK_LIST, 2), (WPARAM)this, 0);
}

void SListCtrl::ButtonDownSelection(UINT msg, WPARAM keys, int hit)
{
    if (IsSingleSel())
    {
        if (hit != GetCurSel())
        {
            SetCurSel(hit);
            NotifySelection();
        }
        return;
    }
    if (IsExtendedSel())
    {
        bool shift = (keys & MK_SHIFT) != 0, control = (keys & MK_CONTROL) != 0;
        int current = GetCurSel();
        int anchor = GetAnchorIndex();
        int selectedCount = GetSelCount();
        if (shift)
        {
            // A Shift-click below the last item extends the range to the last item.
            int end = hit != -1 ? hit : GetCount() - 1;
            if (current == -1 || anchor == -1 || end < 0)
                SetCurSel(hit);
            else
            {
                if (!control)
                    SendMessage(LB_SETSEL, FALSE, -1);
                SelectRange(anchor < end ? anchor : end, anchor < end ? end : anchor, true);
                SetAnchorIndex(anchor);
            }
            NotifySelection();
        }
        else if (control)
        {
            if (hit != -1)
                SetAnchorIndex(ToggleSel(hit) ? hit : GetCurSel());
            NotifySelection();
        }
        else
        {
            if (msg == WM_RBUTTONDOWN && hit != -1 && IsSelected(hit))
                return;
            SetCurSel(hit);
            if (hit != current || selectedCount > 1)
                NotifySelection();
        }
        return;
    }
    if (msg == WM_RBUTTONDOWN)
        return;
    if (hit == -1)
        SendMessage(LB_SETSEL, FALSE, -1);
    else
        ToggleSel(hit);
    NotifySelection();
}

LRESULT SListCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetBackColor(GetSysColor(COLOR_WINDOW));
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_S_LIST_MEASURE:
    {
        MEASUREITEMSTRUCT* measure = (MEASUREITEMSTRUCT*)lParam;
        int height = GetItemHeight();
        if (!measure || height <= 0)
            return FALSE;
        measure->itemHeight = (UINT)height;
        return TRUE;
    }
    case WM_S_LIST_DRAW:
        return DrawItem((DRAWITEMSTRUCT*)lParam) ? TRUE : FALSE;
    case WM_SETFONT:
    {
        m_textHeight = -1;
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        ApplyUniformHeight();
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    {
        ButtonDownSelection(msg, wParam, ItemFromPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        if (!GetHandle())
            return 0;
        if (msg == WM_LBUTTONDOWN)
        {
            // The list box never sees the press: it neither selects nor starts its own drag selection.
            SetFocus();
            SControlForwardMouse(this, msg, lParam, SBLOCK_LIST, 1);
            return 0;
        }
        SControlForwardMouse(this, msg, lParam, SBLOCK_LIST, 1);
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    case WM_LBUTTONDBLCLK:
        if (GetCurSel() != -1)
        {
            SendMessageToParent(ControlMessage(SBLOCK_LIST, 3), (WPARAM)this, 0);
            LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
            if (GetHandle())
                SControlForwardMouse(this, msg, lParam, SBLOCK_LIST, 1);
            return result;
        }
        break;
    case WM_KEYDOWN:
    {
        int before = GetCurSel();
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        if (!GetHandle())
            return result;
        if (GetCurSel() != before)
            NotifySelection();
        SendMessageToParent(ControlMessage(SBLOCK_LIST, 0), (WPARAM)this, (LPARAM)wParam);
        return result;
    }
    case WM_DESTROY:
        RemoveAll();
        return SWnd::OnMessage(msg, wParam, lParam);
    default:
        break;
    }
    if (SControlMouseCode(msg))
    {
        if (msg == WM_S_MCLICK || msg == WM_S_RCLICK)
            SetFocus();
        SControlForwardMouse(this, msg, lParam, SBLOCK_LIST, 1);
        if (!GetHandle())
            return 0;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
