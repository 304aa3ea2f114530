#include "STabDocCtrl.h"

#include <gdiplus.h>
#include <math.h>

#include "SDraw.h"
#include "SEditorFactory.h"
#include "SLibrary.h"
#include "SSplitterCtrl.h"

namespace
{
const int kArrowCursor = 0;
const int kNoCursor = 6;
const int kDropCursor = 14;
const DWORD kDragWait = 15;

SSplitterDragInput g_realInput;
SSplitterDragInput* g_dragInput = &g_realInput;

RECT EmptyRect()
{
    RECT rect = {0, 0, 0, 0};
    return rect;
}

Gdiplus::Color GdiColor(COLORREF color)
{
    return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}

// Both 16-bit halves of a selection or move request; none (-1) reads 0xFFFF.
LPARAM PackIndices(int next, int previous)
{
    return (LPARAM)(((DWORD)(next & 0xFFFF) << 16) | (DWORD)(previous & 0xFFFF));
}

bool Contains(const RECT& rect, POINT point)
{
    return PtInRect(&rect, point) != FALSE;
}

// A UTF-16 copy of a text for GDI+, freed with the holder.
class WideText
{
public:
    explicit WideText(const SString& text) : m_text(text.ToWide()) {}
    ~WideText() { delete[] m_text; }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;
    operator const wchar_t*() const { return m_text ? m_text : L""; }

private:
    wchar_t* m_text;
};

// The square shrunk by 4 pixels on each side, where the glyphs are drawn.
RECT GlyphRect(const RECT& square)
{
    RECT rect = square;
    InflateRect(&rect, -4, -4);
    return rect;
}
}

STabDocCtrl::_SWnd::_SWnd() : owner(nullptr), tab(nullptr)
{
}

STabDocCtrl::_SWnd::~_SWnd()
{
    EditorFactory::DetachChildWindows(GetHandle());
}

LRESULT STabDocCtrl::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_CHANGED && owner)
        owner->NotifyParentChanged(owner->GetCurSel(), (::SWnd*)wParam);
    LRESULT result = 0;
    if (owner && !owner->OnChildMessage(tab, msg, wParam, lParam, &result))
        return result;
    return ::SWnd::OnMessage(msg, wParam, lParam);
}

STabDocCtrl::_SItem::_SItem() : value(-1), modified(false)
{
    host.tab = this;
}

SString STabDocCtrl::_SItem::GetDisplayText() const
{
    SString text = caption;
    if (modified)
        text += "*";
    return text;
}

STabDocCtrl::STabDocCtrl()
    : m_stripBack(0), m_selectedBack(0), m_text(0), m_selectedText(0), m_windowBack(0xFFFFFF), m_font(nullptr),
      m_boldFont(nullptr), m_closeButton(true), m_moveEnabled(true), m_closeRect(EmptyRect()),
      m_rightRect(EmptyRect()), m_leftRect(EmptyRect()), m_selected(-1), m_stripHeight(0), m_margin(2),
      m_separator(1), m_bottomLine(2), m_buttonSize(22), m_firstShown(0), m_shownCount(0), m_hover(-1)
{
    SetKind(SKIND_TABDOC);
}

STabDocCtrl::~STabDocCtrl()
{
    for (int i = 0; i < m_tabs.GetCount(); i++)
        DeleteTab(m_tabs.GetAt(i));
    m_tabs.RemoveAll();
    DeleteFonts();
}

SSplitterDragInput* STabDocCtrl::SetDragInput(SSplitterDragInput* input)
{
    SSplitterDragInput* previous = g_dragInput == &g_realInput ? nullptr : g_dragInput;
    g_dragInput = input ? input : &g_realInput;
    return previous;
}

void STabDocCtrl::DeleteTab(_SItem* tab)
{
    // The host's destructor detaches the document windows before its window goes.
    delete tab;
}

int STabDocCtrl::AddTab(const char* caption, int index, int value)
{
    if (!GetHandle())
        return -1;
    _SItem* tab = new _SItem();
    tab->value = value;
    tab->caption = caption ? caption : "";
    tab->host.owner = this;
    RECT rect = {0, m_stripHeight, GetClientWidth(), GetClientHeight()};
    if (!tab->host.CreateChildNoCaption(WS_CHILD | WS_CLIPCHILDREN, 0, &rect, GetHandle()))
    {
        delete tab;
        return m_selected;
    }
    tab->host.SetBackColor(m_windowBack);
    if (index < 0 || index > m_tabs.GetCount())
        index = m_tabs.GetCount();
    m_tabs.Add(tab, index);
    SelectTab(index);
    Layout();
    ShowSelected();
    return m_selected;
}

void STabDocCtrl::ShowSelected()
{
    bool visible = IsVisible();
    if (visible)
        SetRedraw(false, false);
    for (int i = 0; i < m_tabs.GetCount(); i++)
        if (i != m_selected)
            m_tabs.GetAt(i)->host.ShowWindow(SW_HIDE);
    if (_SItem* tab = m_tabs.GetAt(m_selected))
        tab->host.ShowWindow(SW_SHOW);
    if (visible)
    {
        SetRedraw(true, false);
        RedrawNow();
    }
}

void STabDocCtrl::SelectTab(int index)
{
    m_selected = index >= 0 && index < m_tabs.GetCount() ? index : -1;
    LayoutTabs();
    ShowSelected();
}

STabDocCtrl::_SItem* STabDocCtrl::DetachTab(int index)
{
    _SItem* tab = m_tabs.GetAt(index);
    if (!tab)
        return nullptr;
    m_tabs.RemoveAt(index);
    int count = m_tabs.GetCount();
    if (count == 0)
        m_selected = -1;
    else if (index < count)
        m_selected = index;
    else
        m_selected = count - 1;
    if (m_firstShown >= count)
        m_firstShown = count > 0 ? count - 1 : 0;
    return tab;
}

void STabDocCtrl::RemoveTab(int index)
{
    _SItem* tab = DetachTab(index);
    if (!tab)
        return;
    DeleteTab(tab);
    Layout();
    ShowSelected();
}

void STabDocCtrl::RemoveAllTabs()
{
    for (int i = 0; i < m_tabs.GetCount(); i++)
        DeleteTab(m_tabs.GetAt(i));
    m_tabs.RemoveAll();
    m_selected = -1;
    m_firstShown = 0;
    Layout();
    ShowSelected();
}

void STabDocCtrl::MoveTab(int from, int to)
{
    int count = m_tabs.GetCount();
    if (from < 0 || from >= count)
        return;
    if (to < 0 || to >= count)
        to = count - 1;
    if (to == from)
        return;
    _SItem* selected = m_tabs.GetAt(m_selected);
    _SItem* tab = m_tabs.GetAt(from);
    m_tabs.RemoveAt(from);
    m_tabs.Add(tab, to);
    m_selected = selected ? m_tabs.Find(selected) : -1;
    Layout();
    ShowSelected();
}

bool STabDocCtrl::AttachTab(_SItem* tab)
{
    if (!tab || !GetHandle())
        return false;
    tab->host.owner = this;
    tab->host.SetParent(GetHandle());
    m_tabs.Add(tab);
    m_selected = m_tabs.GetCount() - 1;
    Layout();
    ShowSelected();
    return true;
}

bool STabDocCtrl::TransferTab(int index, STabDocCtrl* target)
{
    if (!target || target == this || index < 0 || index >= m_tabs.GetCount())
        return false;
    _SItem* tab = DetachTab(index);
    Layout();
    ShowSelected();
    if (target->AttachTab(tab))
        return true;
    // A target without a window cannot take the tab: it comes back rather than being lost.
    AttachTab(tab);
    return false;
}

void STabDocCtrl::SetColors(unsigned stripBack, unsigned selectedBack, unsigned windowBack)
{
    if (stripBack != SCOLOR_NONE)
        m_stripBack = SControlColorRef(stripBack);
    if (selectedBack != SCOLOR_NONE)
        m_selectedBack = SControlColorRef(selectedBack);
    if (windowBack != SCOLOR_NONE)
        m_windowBack = SControlColorRef(windowBack);
    if (GetHandle())
        InvalidateRect();
}

void STabDocCtrl::SetTextColors(unsigned text, unsigned selectedText)
{
    if (text != SCOLOR_NONE)
        m_text = SControlColorRef(text);
    if (selectedText != SCOLOR_NONE)
        m_selectedText = SControlColorRef(selectedText);
    if (GetHandle())
        InvalidateRect();
}

void STabDocCtrl::SetCloseButton(bool on)
{
    m_closeButton = on;
    Layout();
    if (GetHandle())
        InvalidateRect();
}

bool STabDocCtrl::SetModified(int index, bool modified)
{
    _SItem* tab = m_tabs.GetAt(index);
    if (!tab)
        return false;
    tab->modified = modified;
    LayoutTabs();
    if (GetHandle())
        InvalidateRect();
    return true;
}

bool STabDocCtrl::AddLinkedWindow(HWND window)
{
    if (!window || m_linked.Find(window) >= 0)
        return false;
    m_linked.Add(window);
    return true;
}

STabDocCtrl* STabDocCtrl::GetLinkedWindow(int index) const
{
    HWND handle = m_linked.GetAt(index);
    if (!handle || !IsWindow(handle))
        return nullptr;
    return dynamic_cast<STabDocCtrl*>(FindWndByHandle(handle));
}

RECT STabDocCtrl::GetTabRect(int index) const
{
    return index >= 0 && index < m_rects.GetCount() ? m_rects.GetAt(index) : EmptyRect();
}

void STabDocCtrl::Layout()
{
    if (!GetHandle())
        return;
    int width = GetClientWidth();
    int height = GetClientHeight();
    int hostHeight = height - m_stripHeight;
    if (hostHeight < 0)
        hostHeight = 0;
    for (int i = 0; i < m_tabs.GetCount(); i++)
        m_tabs.GetAt(i)->host.MoveWindow(0, m_stripHeight, width, hostHeight, true);
    int size = m_buttonSize, margin = m_margin;
    int right = width - margin;
    if (m_closeButton)
    {
        SetRect(&m_closeRect, right - size, margin, right, margin + size);
        right -= size;
    }
    else
        m_closeRect = EmptyRect();
    SetRect(&m_rightRect, right - size, margin, right, margin + size);
    SetRect(&m_leftRect, right - 2 * size, margin, right - size, margin + size);
    LayoutTabs();
}

void STabDocCtrl::LayoutTabs()
{
    int count = m_tabs.GetCount();
    m_rects.SetSize(count, false);
    for (int i = 0; i < count; i++)
        m_rects.SetAt(i, EmptyRect());
    m_shownCount = 0;
    if (!GetHandle() || !m_font || !m_boldFont)
        return;
    HDC dc = ::GetDC(GetHandle());
    if (!dc)
        return;
    {
        Gdiplus::Graphics graphics(dc);
        Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
        format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                              Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
        int spaceEnd = m_leftRect.left;
        int x = 0;
        for (int i = m_firstShown; i < count; i++)
        {
            SString text = m_tabs.GetAt(i)->GetDisplayText();
            WideText wide(text);
            Gdiplus::RectF bounds;
            graphics.MeasureString(wide, -1, i == m_selected ? m_boldFont : m_font, Gdiplus::PointF(0, 0),
                                   &format, &bounds);
            int right = x + (int)ceilf(bounds.Width) + 2 * m_margin;
            if (right >= spaceEnd - m_separator)
                break;
            RECT rect = {x, 0, right, m_stripHeight - m_bottomLine};
            m_rects.SetAt(i, rect);
            m_shownCount++;
            x = right + m_separator;
            if (x >= spaceEnd)
                break;
        }
    }
    ::ReleaseDC(GetHandle(), dc);
}

void STabDocCtrl::MakeFonts()
{
    DeleteFonts();
    HDC dc = ::GetDC(GetHandle());
    if (!dc)
        return;
    HFONT normal = GetFont();
    if (!normal)
        normal = GetDefaultFont();
    LOGFONTA logFont;
    if (GetObjectA(normal, sizeof(logFont), &logFont) == sizeof(logFont))
    {
        m_font = new Gdiplus::Font(dc, &logFont);
        logFont.lfWeight = FW_BOLD;
        m_boldFont = new Gdiplus::Font(dc, &logFont);
    }
    ::ReleaseDC(GetHandle(), dc);
    int height = GetFontCharSize(normal).cy;
    if (height > 0)
        m_buttonSize = height;
}

void STabDocCtrl::DeleteFonts()
{
    delete m_font;
    delete m_boldFont;
    m_font = nullptr;
    m_boldFont = nullptr;
}

void STabDocCtrl::OnCreated()
{
    m_menu.CreatePopup(GetHandle());
    SetBackColor(GetSysColor(COLOR_APPWORKSPACE));
    m_stripBack = GetSysColor(COLOR_INACTIVECAPTION);
    m_selectedBack = GetSysColor(COLOR_ACTIVECAPTION);
    m_windowBack = GetSysColor(COLOR_WINDOW);
    m_text = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    m_selectedText = GetSysColor(COLOR_CAPTIONTEXT);
    m_closeButton = true;
    m_moveEnabled = true;
    m_selected = -1;
    m_margin = 2;
    m_separator = 1;
    m_bottomLine = 2;
    m_buttonSize = 22;
    m_firstShown = 0;
    MakeFonts();
    m_stripHeight = m_buttonSize + 2 * m_margin + m_bottomLine;
    Layout();
}

int STabDocCtrl::DrawnButtonAt(POINT point) const
{
    if (m_closeButton && m_selected >= 0 && Contains(m_closeRect, point))
        return 0;
    if (HasHiddenTabsRight() && Contains(m_rightRect, point))
        return 1;
    if (m_firstShown > 0 && Contains(m_leftRect, point))
        return 2;
    return -1;
}

int STabDocCtrl::HoverButton() const
{
    POINT point;
    if (!GetCursorPos(&point))
        return -1;
    return DrawnButtonAt(point);
}

void STabDocCtrl::Paint(HDC dc)
{
    if (!m_font || !m_boldFont)
        return;
    Gdiplus::Graphics graphics(dc);
    int width = GetClientWidth();
    int lineTop = m_stripHeight - m_bottomLine;
    Gdiplus::SolidBrush stripBrush(GdiColor(m_stripBack));
    Gdiplus::SolidBrush textBrush(GdiColor(m_text));
    Gdiplus::SolidBrush selectedBrush(GdiColor(m_selectedBack));
    Gdiplus::SolidBrush selectedTextBrush(GdiColor(m_selectedText));
    graphics.FillRectangle(&stripBrush, 0, 0, width, lineTop);
    graphics.FillRectangle(&textBrush, 0, lineTop, width, m_bottomLine);

    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    for (int i = m_firstShown; i < m_firstShown + m_shownCount; i++)
    {
        RECT rect = m_rects.GetAt(i);
        bool selected = i == m_selected;
        if (selected)
            graphics.FillRectangle(&selectedBrush, (INT)rect.left, (INT)rect.top, (INT)(rect.right - rect.left),
                                   (INT)(rect.bottom - rect.top));
        WideText wide(m_tabs.GetAt(i)->GetDisplayText());
        Gdiplus::RectF layout((Gdiplus::REAL)rect.left, (Gdiplus::REAL)rect.top,
                              (Gdiplus::REAL)(rect.right - rect.left), (Gdiplus::REAL)(rect.bottom - rect.top));
        graphics.DrawString(wide, -1, selected ? m_boldFont : m_font, layout, &format,
                            selected ? &selectedTextBrush : &textBrush);
        graphics.FillRectangle(&textBrush, (INT)rect.right, (INT)(rect.top + m_margin), m_separator,
                               (INT)(rect.bottom - rect.top - 2 * m_margin));
    }

    Gdiplus::Pen pen(GdiColor(m_text), 1.0f);
    bool closeDrawn = m_closeButton && m_selected >= 0;
    bool rightDrawn = HasHiddenTabsRight();
    bool leftDrawn = m_firstShown > 0;
    if (closeDrawn)
    {
        RECT r = GlyphRect(m_closeRect);
        graphics.DrawLine(&pen, (INT)r.left, (INT)r.top, (INT)r.right, (INT)r.bottom);
        graphics.DrawLine(&pen, (INT)r.left, (INT)r.bottom, (INT)r.right, (INT)r.top);
    }
    if (rightDrawn)
    {
        RECT r = GlyphRect(m_rightRect);
        Gdiplus::Point points[3] = {Gdiplus::Point(r.left, r.top), Gdiplus::Point(r.right, (r.top + r.bottom) / 2),
                                    Gdiplus::Point(r.left, r.bottom)};
        graphics.DrawPolygon(&pen, points, 3);
    }
    if (leftDrawn)
    {
        RECT r = GlyphRect(m_leftRect);
        Gdiplus::Point points[3] = {Gdiplus::Point(r.right, r.top), Gdiplus::Point(r.left, (r.top + r.bottom) / 2),
                                    Gdiplus::Point(r.right, r.bottom)};
        graphics.DrawPolygon(&pen, points, 3);
    }
    int hover = HoverButton();
    const RECT* hovered = hover == 0 ? &m_closeRect : hover == 1 ? &m_rightRect : hover == 2 ? &m_leftRect : nullptr;
    if (hovered)
        graphics.DrawRectangle(&pen, (INT)hovered->left, (INT)hovered->top, (INT)(hovered->right - hovered->left - 1),
                               (INT)(hovered->bottom - hovered->top - 1));
}

int STabDocCtrl::HitTestTab(int x, int y) const
{
    POINT point = {x, y};
    for (int i = m_firstShown; i < m_firstShown + m_shownCount; i++)
        if (Contains(m_rects.GetAt(i), point))
            return i;
    return -1;
}

bool STabDocCtrl::AskSelect(int index)
{
    if (SendMessageToParent(STABDOC_SELECTING, (WPARAM)this, PackIndices(index, m_selected)) != 0)
        return false;
    SelectTab(index);
    return true;
}

void STabDocCtrl::AskClose()
{
    if (m_selected < 0)
        return;
    if (SendMessageToParent(STABDOC_CLOSING, (WPARAM)this, (LPARAM)m_selected) == 0)
        RemoveTab(m_selected);
}

void STabDocCtrl::OnButtonDown(int x, int y, bool left)
{
    int tab = HitTestTab(x, y);
    if (tab < 0)
        return;
    if (tab != m_selected && !AskSelect(tab))
        return;
    if (!left)
    {
        if (m_menu.GetHandle() && GetMenuItemCount(m_menu.GetHandle()) > 0)
        {
            POINT point = {x, y};
            ClientToScreen(&point);
            TrackPopupMenu(m_menu.GetHandle(), TPM_RIGHTBUTTON, point.x, point.y, 0, GetHandle(), nullptr);
        }
        return;
    }
    if (m_moveEnabled)
        DragTab(tab);
}

void STabDocCtrl::DragTab(int tab)
{
    // The rectangles as laid out at the press decide where the tab goes.
    SArray<RECT> rects = m_rects;
    int firstBottom = rects.GetAt(m_firstShown).bottom;
    STabDocCtrl* target = nullptr;
    while (g_dragInput->IsLeftButtonDown())
    {
        POINT screen = g_dragInput->GetCursorPos();
        POINT point = screen;
        ScreenToClient(&point);
        RECT client;
        GetClientRect(&client);
        target = nullptr;
        if (Contains(client, point))
        {
            ::SetCursor(GetCursorHandle(point.y < firstBottom ? kArrowCursor : kNoCursor));
            for (int i = 0; i < rects.GetCount(); i++)
            {
                if (i == tab || !Contains(rects.GetAt(i), point))
                    continue;
                if (SendMessageToParent(STABDOC_MOVING, (WPARAM)this, PackIndices(i, tab)) != 0)
                    return;
                MoveTab(tab, i);
                tab = i;
                break;
            }
        }
        else
        {
            for (int i = 0; i < m_linked.GetCount() && !target; i++)
            {
                STabDocCtrl* linked = GetLinkedWindow(i);
                RECT window;
                if (linked && linked != this && linked->GetWindowRect(&window) && Contains(window, screen))
                    target = linked;
            }
            ::SetCursor(GetCursorHandle(target ? kDropCursor : kNoCursor));
        }
        g_dragInput->WaitForInput(kDragWait);
    }
    if (target)
        TransferTab(tab, target);
}

void STabDocCtrl::OnButtonClick(int x, int y)
{
    POINT point = {x, y};
    if (m_closeButton && m_selected >= 0 && Contains(m_closeRect, point))
    {
        AskClose();
        InvalidateRect();
        return;
    }
    if (Contains(m_leftRect, point))
    {
        if (m_firstShown > 0)
            m_firstShown--;
    }
    else if (Contains(m_rightRect, point))
    {
        if (HasHiddenTabsRight())
            m_firstShown++;
    }
    else
        return;
    LayoutTabs();
    InvalidateRect();
}

bool STabDocCtrl::OnChildMessage(_SItem*, UINT, WPARAM, LPARAM, LRESULT*)
{
    return true;
}

LRESULT STabDocCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (msg)
    {
    case WM_S_CREATED:
        OnCreated();
        break;
    case WM_SIZE:
        Layout();
        break;
    case WM_DESTROY:
        RemoveAllTabs();
        DeleteFonts();
        break;
    case WM_ERASEBKGND:
        if (lParam)
            Paint((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case SMENU_COMMAND:
        if (m_selected >= 0)
            SendMessageToParent(STABDOC_COMMAND, (WPARAM)this, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_S_MOUSE_ENTER:
    case WM_S_MOUSE_LEAVE:
    {
        int hover = msg == WM_S_MOUSE_LEAVE ? -1 : HoverButton();
        if (hover != m_hover)
        {
            m_hover = hover;
            InvalidateRect();
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SControlForwardMouse(this, msg, lParam, SBLOCK_TABDOC);
        OnButtonDown(x, y, msg == WM_LBUTTONDOWN);
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_S_LCLICK:
    case WM_LBUTTONDBLCLK:
        OnButtonClick(x, y);
        break;
    case WM_MBUTTONDOWN:
    {
        int tab = HitTestTab(x, y);
        if (tab >= 0 && tab != m_selected)
            AskSelect(tab);
        else if (tab >= 0)
            InvalidateRect();
        break;
    }
    case WM_MBUTTONUP:
        if (m_selected >= 0 && HitTestTab(x, y) == m_selected)
        {
            AskClose();
            InvalidateRect();
        }
        break;
    default:
        break;
    }
    SControlForwardMouse(this, msg, lParam, SBLOCK_TABDOC);
    return SWnd::OnMessage(msg, wParam, lParam);
}
