#include "PWndThumbs.h"

#include <windowsx.h>

#include "PWndApp.h"
#include "SLibrary.h"
#include "SMessages.h"

namespace
{
const COLORREF kBackground = 0xB6D5ED;
const COLORREF kBand = 0x9C7742;
const COLORREF kBandHot = 0x42429C;
const COLORREF kCaption = 0;
// Cell pictures: first column, other, first column while the band is hot, hot first
// column, hot other.
const int kCellImages[5] = {202, 204, 206, 200, 203};

HBITMAP LoadBitmapResource(int id)
{
    SImage image;
    if (!image.LoadResource(id, "BINARY"))
        return nullptr;
    return image.GetHBitmap32(true);
}
} // namespace

PWndThumbs::PWndThumbs()
    : m_owner(nullptr), m_font(nullptr), m_cells{}, m_defaultCover(nullptr), m_hot(-1), m_drawingReady(false)
{
}

PWndThumbs::~PWndThumbs()
{
    Destroy();
    Clear();
    ReleaseDrawingObjects();
    if (m_defaultCover)
        DeleteObject(m_defaultCover);
}

void PWndThumbs::ReleaseDrawingObjects()
{
    for (HBITMAP& cell : m_cells)
        if (cell)
        {
            DeleteObject(cell);
            cell = nullptr;
        }
    if (m_font)
        DeleteObject(m_font);
    m_font = nullptr;
    m_play.Dispose();
    m_drawingReady = false;
}

void PWndThumbs::PrepareDrawingObjects()
{
    if (m_drawingReady)
        return;
    m_drawingReady = true;
    m_font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "verdana");
    if (m_play.LoadResource(207, "BINARY"))
        m_play.SetAlpha(224, true);
    for (int i = 0; i < 5; i++)
        m_cells[i] = LoadBitmapResource(kCellImages[i]);
}

bool PWndThumbs::Create(const RECT* rect, HWND parent, int id)
{
    return CreateChild("", 0, 0, rect, parent, (UINT_PTR)id);
}

// ---------------------------------------------------------------- cells

void PWndThumbs::Clear()
{
    for (int i = 0; i < m_covers.GetCount(); i++)
        if (m_covers.GetAt(i))
            DeleteObject(m_covers.GetAt(i));
    m_covers.RemoveAll();
    m_captions.RemoveAll();
    m_holdsMedia.RemoveAll();
    m_hot = -1;
    if (GetHandle())
        SetScrollInfo(true, 0, 0, GetClientHeight());
}

void PWndThumbs::AddCell(const SImage* image, const char* caption, bool holdsMedia)
{
    m_covers.Add(image && image->IsLoaded() ? image->GetHBitmap32(true) : nullptr);
    m_captions.Add(caption ? caption : "");
    m_holdsMedia.Add(holdsMedia);
    UpdateScrollRange();
}

void PWndThumbs::SetDefaultCover(const SImage* image)
{
    if (m_defaultCover)
        DeleteObject(m_defaultCover);
    m_defaultCover = image && image->IsLoaded() ? image->GetHBitmap32(true) : nullptr;
}

// ---------------------------------------------------------------- geometry

int PWndThumbs::GetColumns() const
{
    const int width = GetHandle() ? GetClientWidth() : 0;
    const int columns = (width - GridLeft) / CellWidth;
    return columns > 0 ? columns : 0;
}

int PWndThumbs::GetRows() const
{
    const int columns = GetColumns();
    if (columns == 0)
        return 0;
    return (GetCellCount() + columns - 1) / columns;
}

int PWndThumbs::GetShownCellCount() const
{
    const int height = GetHandle() ? GetClientHeight() : 0;
    return height > 0 ? GetColumns() * (height / CellHeight + 1) : 0;
}

void PWndThumbs::UpdateScrollRange()
{
    if (!GetHandle())
        return;
    SetScrollInfo(true, 0, GetRows() * CellHeight + GridTop, GetClientHeight());
    RedrawGrid();
}

int PWndThumbs::HitTest(int x, int y) const
{
    const int columns = GetColumns();
    const int scroll = GetHandle() ? GetScrollPos(true) : 0;
    const int count = GetCellCount();
    for (int i = 0, index = 0; columns > 0 && index < count; i++)
        for (int j = 0; j < columns && index < count; j++, index++)
        {
            const int left = GridLeft + CoverOffset + CellWidth * j;
            const int top = GridTop + CoverOffset + CellHeight * i - scroll;
            if (x >= left && x < left + CoverSize && y >= top && y < top + CoverSize)
                return index;
        }
    if (x >= 0 && x < BandWidth)
        return HotBand;
    return -1;
}

void PWndThumbs::SetHot(int index)
{
    if (index < 0 && index != HotBand)
    {
        m_hot = -1;
        SetCursor(nullptr);
        return;
    }
    m_hot = index;
    SetCursor(GetCursorHandle(3));
}

// ---------------------------------------------------------------- painting

void PWndThumbs::RedrawGrid()
{
    if (GetHandle())
        Redraw(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void PWndThumbs::Paint(HDC dc)
{
    PrepareDrawingObjects();
    RECT client;
    GetClientRect(&client);
    RECT band = {0, 0, BandWidth, client.bottom};
    HBRUSH brush = CreateSolidBrush(m_hot == HotBand ? kBandHot : kBand);
    if (brush)
    {
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    const int count = GetCellCount();
    const int columns = GetColumns();
    if (count == 0 || columns == 0)
        return;
    HGDIOBJ oldFont = m_font ? SelectObject(dc, m_font) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, kCaption);
    HDC source = CreateCompatibleDC(dc);
    const int scroll = GetScrollPos(true);
    for (int i = 0; source && i * columns < count; i++)
    {
        const int top = GridTop + CellHeight * i - scroll;
        if (top + CellHeight <= 0)
            continue;
        if (top >= client.bottom)
            break;
        for (int j = 0; j < columns && i * columns + j < count; j++)
        {
            const int index = i * columns + j;
            const int left = GridLeft + CellWidth * j;
            int cell = j == 0 ? (m_hot == HotBand ? 2 : 0) : 1;
            if (index == m_hot)
                cell = j == 0 ? 3 : 4;
            if (m_cells[cell] && SelectObject(source, m_cells[cell]))
                BitBlt(dc, left, top, CellWidth, CellHeight, source, 0, 0, SRCCOPY);
            HBITMAP cover = m_covers.GetAt(index) ? m_covers.GetAt(index) : m_defaultCover;
            if (cover && SelectObject(source, cover))
                BitBlt(dc, left + CoverOffset, top + CoverOffset, CoverSize, CoverSize, source, 0, 0, SRCCOPY);
            // The caption, centred in its box; a taller one starts at the box's top and is clipped.
            RECT box = {left + 12, top + 160, left + 146, top + 185};
            SString caption = m_captions.GetAt(index);
            RECT measure = box;
            DrawTextA(dc, caption, -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
            const int textHeight = measure.bottom - measure.top;
            const int boxHeight = box.bottom - box.top;
            if (textHeight < boxHeight)
            {
                box.top += (boxHeight - textHeight) / 2;
                box.bottom -= (boxHeight - textHeight) / 2;
            }
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, left + 12, top + 160, left + 146, top + 185);
            DrawTextA(dc, caption, -1, &box, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
            RestoreDC(dc, saved);
        }
    }
    if (source)
        DeleteDC(source);
    if (m_hot >= 0 && HoldsMedia(m_hot) && m_play.IsLoaded())
    {
        const int row = m_hot / columns, column = m_hot % columns;
        const int left = GridLeft + CellWidth * column + PlayOffset;
        const int top = GridTop + CellHeight * row - scroll + PlayOffset;
        HBITMAP play = m_play.GetHBitmap32(false);
        HDC symbol = play ? CreateCompatibleDC(dc) : nullptr;
        if (symbol)
        {
            HGDIOBJ old = SelectObject(symbol, play);
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(dc, left, top, PlaySize, PlaySize, symbol, 0, 0, PlaySize, PlaySize, blend);
            SelectObject(symbol, old);
            DeleteDC(symbol);
        }
        if (play)
            DeleteObject(play);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (oldFont)
        SelectObject(dc, oldFont);
}

// ---------------------------------------------------------------- mouse

void PWndThumbs::OnLeftButton()
{
    SetFocus();
    if (!m_owner)
        return;
    if (m_hot >= 0)
    {
        const SString caption = m_captions.GetAt(m_hot);
        if (HoldsMedia(m_hot))
        {
            if (m_owner->PlayFolder(-1, caption))
            {
                const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
                if (m_owner->GetAutoHideAfterPlay() != shift)
                    m_owner->ShowWindow(SW_HIDE);
            }
            return;
        }
        const int hot = m_hot;
        m_hot = -1;
        if (!m_owner->Navigate(caption, nullptr, true))
            m_hot = hot;
    }
    else if (m_hot == HotBand)
        m_owner->Navigate("..", nullptr, true);
}

void PWndThumbs::OnRightButton()
{
    SetFocus();
    if (!m_owner)
        return;
    if (m_hot >= 0)
    {
        const SString caption = m_captions.GetAt(m_hot);
        const int hot = m_hot;
        m_hot = -1;
        if (!m_owner->Navigate(".", caption))
            m_hot = hot;
    }
    else if (m_hot == HotBand)
        m_owner->GoToFolder(m_owner->GetRootFolder().GetPath(), nullptr, true);
}

LRESULT PWndThumbs::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        // A grid made again replaces what its first window drew with.
        ReleaseDrawingObjects();
        SetBackColor(kBackground);
        SetScrollSteps(true, 40, CellHeight, 0);
        ShowScrollBar(true, true);
        break;
    case WM_SIZE:
        UpdateScrollRange();
        m_hot = -1;
        break;
    case WM_ERASEBKGND:
        // The framework hands the prepared surface in lParam and copies it out afterwards.
        Paint(lParam ? (HDC)lParam : (HDC)wParam);
        break;
    case WM_MOUSEMOVE:
    case WM_S_MOUSE_ENTER:
        SetHot(HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        RedrawGrid();
        break;
    case WM_S_MOUSE_LEAVE:
        SetHot(-1);
        RedrawGrid();
        break;
    case WM_S_VSCROLLED:
        RedrawGrid();
        break;
    case WM_MOUSEWHEEL:
    {
        ScrollLine(true, (short)HIWORD(wParam) < 0);
        POINT point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        SetHot(HitTest(point.x, point.y));
        RedrawGrid();
        return 0;
    }
    case WM_LBUTTONDOWN:
        OnLeftButton();
        break;
    case WM_RBUTTONDOWN:
        OnRightButton();
        break;
    case WM_MBUTTONDOWN:
        SetFocus();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
