#include "SMediaCtrl.h"

#include <windowsx.h>
#include <gdiplus.h>
#include <mmsystem.h>
#include <string.h>

#include "SControl.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SMediaGdi.h"
#include "SMediaMeasureCache.h"
#include "SResource.h"
#include "SRound.h"
#include "SWndThreadRecord.h"

using namespace Gdiplus;

namespace
{

const float kUnlimited = 2147483648.0f;
// Library cursor number of the hand shown over links.
const int kHandCursor = 3;
// Longest image name looked up in the resource pack.
const int kLongestImageName = MAX_PATH;
// Most distinct image names one text may look up; further names show as text.
const int kMostImages = 256;

// The window's font, or the stock GUI font when it has none.
HFONT WindowFont(SWnd* window)
{
    HFONT font = window->GetFont();
    return font ? font : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

// A device context to measure the window's text on: the thread's measuring DC with
// its state restored afterwards, or the window's own DC, released with the holder.
class MeasureDC
{
public:
    explicit MeasureDC(SWnd* window) : m_window(window), m_dc(nullptr), m_saved(0)
    {
        SWndThreadRecord* record = FindThreadRecord(0);
        HDC shared = record ? record->GetMeasureDC() : nullptr;
        m_saved = shared ? SaveDC(shared) : 0;
        if (m_saved)
            m_dc = shared;
        else
            m_dc = window->GetDC();
    }
    ~MeasureDC()
    {
        if (m_dc && m_saved)
            RestoreDC(m_dc, m_saved);
        else if (m_dc)
            m_window->ReleaseDC(m_dc);
    }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    SWnd* m_window;
    HDC m_dc;
    int m_saved;
};

}

SMediaCtrl::SMediaCtrl()
    : m_wideLength(0), m_textColor(SMediaArgb(SCOLOR_SYSTEM + COLOR_WINDOWTEXT)), m_image(nullptr),
      m_alignment(0x10), m_wrapping(false), m_trimming(true), m_marginLeft(1), m_marginTop(1),
      m_marginRight(1), m_marginBottom(1), m_contentWidth(0), m_contentHeight(0), m_checkedFont(nullptr),
      m_checkedFontUsable(false), m_scrollX(0), m_scrollY(0),
      m_scrolling(false), m_loop(true), m_vertical(true), m_positionX(0), m_positionY(0), m_speedX(0),
      m_speedY(0), m_lastTick(0), m_tags(false), m_linkColor(SMediaArgb(SCOLOR_SYSTEM + COLOR_HIGHLIGHT)),
      m_resources(nullptr), m_opaqueSurface(false), m_limitToUpdate(false), m_updateBox()
{
    SetKind(SKIND_MEDIA);
}

SMediaCtrl::~SMediaCtrl()
{
    ClearLinks();
    m_layout.Clear();
    FreeImages();
}

// --- colours and options ---

void SMediaCtrl::SetTextColor(unsigned color)
{
    m_textColor = SMediaArgb(color);
    if (m_tags)
        Parse();
}

void SMediaCtrl::SetLinkColor(unsigned color)
{
    m_linkColor = SMediaArgb(color);
    if (GetHandle())
        Redraw();
}

void SMediaCtrl::SetTags(bool on)
{
    if (m_tags == on)
        return;
    m_tags = on;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetWrapping(bool on)
{
    if (m_wrapping == on)
        return;
    m_wrapping = on;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetTrimming(bool on)
{
    if (m_trimming == on)
        return;
    m_trimming = on;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetAlignment(unsigned flags)
{
    if (flags == m_alignment)
        return;
    unsigned horizontal = (flags & 3) == 3 ? 3 : (flags & 2) ? 2 : (flags & 1) ? 1 : 0;
    unsigned vertical = (flags & 0x20) ? 0x20 : (flags & 0x10) ? 0x10 : 0;
    m_alignment = horizontal | vertical;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetMargins(int left, int top, int right, int bottom)
{
    m_marginLeft = left < 0 ? 0 : left;
    m_marginTop = top < 0 ? 0 : top;
    m_marginRight = right < 0 ? 0 : right;
    m_marginBottom = bottom < 0 ? 0 : bottom;
    RelayoutAndRedraw();
}

void SMediaCtrl::GetMargins(int* left, int* top, int* right, int* bottom) const
{
    if (left)
        *left = m_marginLeft;
    if (top)
        *top = m_marginTop;
    if (right)
        *right = m_marginRight;
    if (bottom)
        *bottom = m_marginBottom;
}

bool SMediaCtrl::SetButtonImages(SResource* resources, const char* disabled, const char* checked,
                                 const char* pushed, const char* over)
{
    bool loaded = LoadStateImages(resources, over, pushed, checked, disabled);
    if (GetHandle())
        Redraw();
    return loaded;
}

void SMediaCtrl::SetChecked(bool checked)
{
    SetCheckedState(checked);
}

// --- text and layout ---

void SMediaCtrl::StoreText(const char* text)
{
    m_text = text ? text : "";
    SMediaWiden(m_text, m_text.GetLength(), &m_wide);
    m_wideLength = m_wide.GetLength();
}

void SMediaCtrl::FreeImages()
{
    for (int i = 0; i < m_images.GetCount(); i++)
        delete m_images.GetAt(i);
    m_images.RemoveAll();
}

SImage* SMediaCtrl::LoadImage(const char* name)
{
    if (!m_resources || !name || !name[0] || strlen(name) > (size_t)kLongestImageName)
        return nullptr;
    for (int i = 0; i < m_images.GetCount(); i++)
    {
        SImage* cached = m_images.GetAt(i);
        if (cached->GetName().CompareNoCase(name) == 0)
            return cached->IsLoaded() ? cached : nullptr;
    }
    if (m_images.GetCount() >= kMostImages)
        return nullptr;
    SString entry("image\\");
    entry += name;
    SFileMem memory;
    SImage* image = new SImage();
    if (!m_resources->Extract(&memory, entry, true) || !image->Load(&memory))
        image->Dispose();
    // A name that gives no picture is remembered too, so each name is looked up once per text.
    image->SetName(name);
    m_images.Add(image);
    return image->IsLoaded() ? image : nullptr;
}

bool SMediaCtrl::GetTextRect(RECT* out) const
{
    RECT client;
    if (!out || !GetHandle() || !GetClientRect(&client))
        return false;
    out->left = client.left + m_marginLeft;
    if (out->left > client.right)
        out->left = client.right;
    out->right = client.right - m_marginRight;
    if (out->right < out->left)
        out->right = out->left;
    out->top = client.top + m_marginTop;
    if (out->top > client.bottom)
        out->top = client.bottom;
    out->bottom = client.bottom - m_marginBottom;
    if (out->bottom < out->top)
        out->bottom = out->top;
    return true;
}

void SMediaCtrl::Parse()
{
    if (!GetHandle())
        return;
    RECT client;
    GetClientRect(&client);
    int width = client.right - m_marginLeft - m_marginRight;
    // The cached images serve one text only; the runs pointing at them go with them
    // (the measures of the text runs stay for the layout to reuse).
    m_layout.ClearLines();
    m_painter.Reset();
    FreeImages();
    m_tagList.Parse(m_text, m_text.GetLength());

    MeasureDC dc(this);
    if (!dc.Get())
        return;
    HFONT windowFont = WindowFont(this);
    SMediaLayoutInput input;
    memset(&input, 0, sizeof(input));
    GetObjectA(windowFont, sizeof(input.font), &input.font);
    {
        Graphics graphics(dc.Get());
        Font font(dc.Get(), windowFont);
        float height = font.GetLastStatus() == Ok ? font.GetHeight(&graphics) : 0.0f;
        input.fontHeight = height > 0 ? SRound::Truncate(height) : 0;
    }
    input.text = m_text;
    input.wide = m_wide;
    input.length = m_wideLength < m_text.GetLength() ? m_wideLength : m_text.GetLength();
    input.width = width > 0 ? width : 0;
    input.wrapping = m_wrapping;
    input.alignment = m_alignment;
    input.textColor = m_textColor;
    input.linkColor = m_linkColor;
    SMediaGdiMeasurer measurer(dc.Get(), m_wrapping);
    SMediaMeasureCache measures(&measurer);
    m_layout.Layout(m_tagList, input, &measures, this);
    m_contentWidth = m_layout.GetContentWidth();
    m_contentHeight = m_layout.GetContentHeight();
}

void SMediaCtrl::Remeasure()
{
    if (!GetHandle())
        return;
    m_layout.Clear();
    FreeImages();
    ClearLinks();
    SIZE size = MeasureText(nullptr);
    m_contentWidth = size.cx;
    m_contentHeight = size.cy;
}

SIZE SMediaCtrl::MeasureText(const char* text)
{
    SIZE size = {0, 0};
    if (!GetHandle())
        return size;
    RECT area = {0, 0, 0, 0};
    GetTextRect(&area);
    SUniString converted;
    if (text)
        SMediaWiden(text, (int)strlen(text), &converted);
    const wchar_t* wide = text ? (const wchar_t*)converted : (const wchar_t*)m_wide;
    int length = text ? converted.GetLength() : m_wideLength;

    const HFONT windowFont = WindowFont(this);
    if (length <= 0 && windowFont == m_checkedFont)
    {
        // A control gets its empty text, margins and alignment one by one while it is
        // made: each would measure nothing through a new GDI+ font otherwise.
        size.cx = size.cy = m_checkedFontUsable ? 1 : 0;
        return size;
    }
    MeasureDC dc(this);
    if (!dc.Get())
        return size;
    Graphics graphics(dc.Get());
    Font font(dc.Get(), windowFont);
    StringFormat* format = SMediaCreateFormat(m_wrapping, m_alignment);
    m_checkedFont = windowFont;
    m_checkedFontUsable = format && font.GetLastStatus() == Ok;
    if (format && font.GetLastStatus() == Ok && length > 0)
    {
        RectF layout(0, 0, m_wrapping ? (float)(area.right - area.left) : kUnlimited, kUnlimited);
        RectF bounds;
        if (graphics.MeasureString(wide, length, &font, layout, format, &bounds) == Ok)
        {
            size.cx = SRound::Truncate(bounds.Width) + 1;
            size.cy = SRound::Truncate(bounds.Height) + 1;
        }
    }
    else if (format && font.GetLastStatus() == Ok)
        size.cx = size.cy = 1;
    delete format;
    return size;
}

void SMediaCtrl::Relayout()
{
    if (m_tags)
        Parse();
    else
        Remeasure();
}

void SMediaCtrl::RelayoutAndRedraw()
{
    Relayout();
    if (GetHandle())
        Redraw();
}

// --- drawing ---

void SMediaCtrl::Paint(HDC dc)
{
    PaintTo(dc, false);
}

unsigned SMediaCtrl::TextArgb(unsigned color) const
{
    // On the window's own surface alpha 254 and 255 give the same pixels, but GDI+ draws
    // opaque text several times faster; surfaces that keep alpha (layered windows) get it as is.
    return m_opaqueSurface && color >= 0xFE000000u ? color | 0xFF000000u : color;
}

void SMediaCtrl::PaintTo(HDC dc, bool opaqueSurface)
{
    m_opaqueSurface = opaqueSurface;
    RECT client;
    if (!dc || !GetHandle() || !GetClientRect(&client))
        return;
    int width = client.right, height = client.bottom;
    RECT area = {m_marginLeft, m_marginTop, m_marginLeft + width - m_marginLeft - m_marginRight,
                 m_marginTop + height - m_marginTop - m_marginBottom};
    if (area.right < area.left)
        area.right = area.left;
    if (area.bottom < area.top)
        area.bottom = area.top;

    Graphics graphics(dc);
    if (graphics.GetLastStatus() != Ok)
        return;
    if (m_image && area.right > area.left && area.bottom > area.top)
        m_image->Draw(&graphics, &area);
    if (IsHotTracking() && !HasStateImages())
        PaintFrame(graphics, width, height);
    if (m_tags)
        PaintTagged(dc, graphics, area);
    else
        PaintPlain(dc, graphics, area);
}

void SMediaCtrl::PaintFrame(Graphics& graphics, int width, int height)
{
    int state = -1;
    if (!IsEnabled())
        state = 3;
    else if (IsCheckedState())
        state = 2;
    else if (IsHovered() && IsPressed())
        state = 1;
    else if (IsHovered())
        state = 0;
    if (state < 0 || state == 3)
        return;
    Pen white(Color(254, 255, 255, 255), 1);
    Pen grey(Color(254, 160, 160, 160), 1);
    Pen& light = state == 0 ? white : grey;
    Pen& dark = state == 0 ? grey : white;
    graphics.DrawLine(&light, 0, 0, width - 1, 0);
    graphics.DrawLine(&light, 0, 0, 0, height - 1);
    graphics.DrawLine(&dark, width - 1, 0, width - 1, height);
    graphics.DrawLine(&dark, 0, height - 1, width, height - 1);
}

void SMediaCtrl::PaintTagged(HDC dc, Graphics& graphics, const RECT& area)
{
    ClearLinks();
    graphics.SetClip(Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));
    int originX = area.left + m_scrollX;
    int originY = area.top + m_scrollY;
    if (!IsScrollingY())
    {
        unsigned vertical = m_alignment & 0xF0;
        if (vertical == 0x10)
            originY = SRound::Truncate((area.top + area.bottom) / 2.0 - m_contentHeight / 2);
        else if (vertical == 0x20)
            originY = area.bottom - m_contentHeight;
    }
    // GDI+ and GDI clip apart: the runs that go straight to GDI are clipped to the area here.
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    // Lines above the area are found, not walked: painting stays proportional to what shows.
    for (int l = m_layout.FindLine(-originY); l < m_layout.GetLineCount(); l++)
    {
        const SMediaLine* line = m_layout.GetLine(l);
        int top = originY + line->top;
        if (top >= area.bottom)
            break;
        for (int r = 0; r < line->runCount; r++)
        {
            const SMediaRun* run = m_layout.GetRun(line, r);
            float x = originX + run->x, y = top + run->y;
            // Runs outside the update region still give their links; only their drawing is left out.
            bool draw = !m_limitToUpdate || (y < m_updateBox.bottom && y + run->height + 1 > m_updateBox.top);
            if (draw && run->image)
                run->image->DrawAt(&graphics, SRound::Truncate(x), SRound::Truncate(y));
            else if (draw && run->start + run->length <= m_wideLength && m_layout.GetFont(run->font))
                m_painter.DrawRun(dc, graphics, (const wchar_t*)m_wide + run->start, *run,
                                  *m_layout.GetFont(run->font), x, y, TextArgb(run->color), m_wrapping,
                                  m_opaqueSurface);
            if (run->link)
            {
                m_linkTexts.Add(m_text.Mid(run->start, run->length));
                RECT rect = {SRound::Truncate(x), SRound::Truncate(y), SRound::Truncate(x + run->width),
                             SRound::Truncate(y + run->height)};
                m_linkRects.Add(rect);
            }
        }
    }
    RestoreDC(dc, saved);
}

void SMediaCtrl::PaintPlain(HDC dc, Graphics& graphics, const RECT& area)
{
    if (m_wideLength <= 0)
        return;
    Font font(dc, WindowFont(this));
    StringFormat* format = SMediaCreateFormat(m_wrapping, m_alignment);
    if (!format || font.GetLastStatus() != Ok)
    {
        delete format;
        return;
    }
    bool scrollingX = IsScrollingX(), scrollingY = IsScrollingY();
    format->SetTrimming(m_trimming && !scrollingX ? StringTrimmingEllipsisCharacter : StringTrimmingNone);
    if (scrollingX)
        format->SetAlignment(StringAlignmentNear);
    if (scrollingY)
        format->SetLineAlignment(StringAlignmentNear);
    int width = area.right - area.left, height = area.bottom - area.top;
    graphics.SetClip(Rect(area.left, area.top, width, height));
    RectF box((float)(area.left + m_scrollX), (float)(area.top + m_scrollY), (float)width,
              scrollingY ? kUnlimited : (float)height);
    SolidBrush brush{Color(TextArgb(m_textColor))};
    graphics.DrawString((const wchar_t*)m_wide, m_wideLength, &font, box, format, &brush);
    delete format;
}

// --- links ---

void SMediaCtrl::ClearLinks()
{
    m_linkTexts.RemoveAll();
    m_linkRects.RemoveAll();
}

bool SMediaCtrl::GetLinkRect(int index, RECT* out) const
{
    const RECT* rect = m_linkRects.GetPtr(index);
    if (!rect || !out)
        return false;
    *out = *rect;
    return true;
}

int SMediaCtrl::HitTestLink(int x, int y) const
{
    POINT point = {x, y};
    for (int i = 0; i < m_linkRects.GetCount(); i++)
        if (PtInRect(m_linkRects.GetPtr(i), point))
            return i;
    return -1;
}

void SMediaCtrl::UpdateCursor(const POINT* point)
{
    POINT where;
    if (point)
        where = *point;
    else if (!GetCursorPos(&where))
        return;
    bool overLink = m_tags && HitTestLink(where.x, where.y) >= 0;
    SetCursor(overLink ? GetCursorHandle(kHandCursor) : nullptr);
}

void SMediaCtrl::OpenLink(const char* target)
{
    if (strchr(target, '@'))
        m_network.OpenMailto(target, nullptr, nullptr);
    else
        m_disk.Run(target, "", false, false, SW_SHOWNORMAL);
}

void SMediaCtrl::OnLeftButtonDown(LPARAM lParam)
{
    if (!m_tags)
        return;
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    UpdateCursor(&point);
    int link = HitTestLink(point.x, point.y);
    if (link < 0)
        return;
    // The parent sees a copy: painting during its answer may rebuild the link list.
    SString target = m_linkTexts.GetAt(link);
    if (!SendMessageToParent(WM_S_MEDIA_LINK, (WPARAM)this, (LPARAM)(const char*)target))
        OpenLink(target);
}

// --- automatic scrolling ---

bool SMediaCtrl::IsScrollingX() const
{
    return m_scrollX != 0 || (m_scrolling && m_speedX != 0);
}

bool SMediaCtrl::IsScrollingY() const
{
    return m_scrollY != 0 || (m_scrolling && m_speedY != 0);
}

void SMediaCtrl::SetAutoScrollLoop(bool on)
{
    m_loop = on;
    m_vertical = on;
}

void SMediaCtrl::StopScrolling()
{
    KillTimer(kScrollTimer);
    m_scrolling = false;
}

void SMediaCtrl::SetAutoScroll(double speedX, double speedY, bool noFitTest, const POINT* start)
{
    RECT area = {0, 0, 0, 0};
    GetTextRect(&area);
    bool moveX = noFitTest || area.right - area.left < m_contentWidth;
    bool moveY = noFitTest || area.bottom - area.top < m_contentHeight;
    m_speedX = moveX ? speedX / 1000.0 : 0;
    m_speedY = moveY ? speedY / 1000.0 : 0;
    if (m_speedX == 0 && m_speedY == 0)
    {
        StopScrolling();
        m_scrollX = m_scrollY = 0;
        if (GetHandle())
            Redraw();
        return;
    }
    SIZE client = GetClientSize();
    if (start)
    {
        m_scrollX = start->x;
        m_scrollY = start->y;
    }
    else if (m_loop)
    {
        m_vertical = m_speedY != 0;
        if (m_vertical)
            m_scrollY = client.cy - m_marginBottom - m_marginTop;
        else
            m_scrollX = client.cx - m_marginRight - m_marginLeft;
    }
    KillTimer(kScrollTimer);
    SetTimer(kScrollTimer, kScrollPeriod);
    m_scrolling = true;
    m_positionX = m_scrollX;
    m_positionY = m_scrollY;
    m_lastTick = timeGetTime();
    if (GetHandle())
        Redraw();
}

void SMediaCtrl::OnScrollTick(DWORD now)
{
    if (!m_scrolling)
        return;
    DWORD elapsed = now - m_lastTick;
    m_lastTick = now;
    m_positionX += elapsed * m_speedX;
    m_positionY += elapsed * m_speedY;
    int x = SRound::Truncate(m_positionX), y = SRound::Truncate(m_positionY);
    if (x == m_scrollX && y == m_scrollY)
        return;
    m_scrollX = x;
    m_scrollY = y;
    if (m_loop)
    {
        SIZE client = GetClientSize();
        // Content that has left the area at the top or left comes back in at the bottom or right,
        // where scrolling started.
        if (m_vertical && m_contentHeight + m_scrollY < 0)
        {
            m_scrollY = client.cy - m_marginBottom - m_marginTop;
            m_positionY = m_scrollY;
        }
        else if (!m_vertical && m_contentWidth + m_scrollX < 0)
        {
            m_scrollX = client.cx - m_marginRight - m_marginLeft;
            m_positionX = m_scrollX;
        }
    }
    if (GetHandle())
    {
        Redraw();
        UpdateCursor(nullptr);
    }
}

// --- messages ---

LRESULT SMediaCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SetBackColor(GetSysColor(COLOR_BTNFACE));
        // Through the window, so the text, its wide copy and the layout exist.
        SString text = GetText();
        SetWindowText(text);
        break;
    }
    case WM_SETTEXT:
    {
        m_scrollX = m_scrollY = 0;
        if (m_scrolling)
            StopScrolling();
        StoreText((const char*)lParam);
        Relayout();
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        Redraw();
        return result;
    }
    case WM_SIZE:
    case WM_SETFONT:
        Relayout();
        break;
    case WM_ENABLE:
        Redraw();
        break;
    case WM_ERASEBKGND:
        // The framework's painting protocol: lParam is the window's prepared surface.
        if (lParam)
        {
            m_limitToUpdate = wParam && GetClipBox((HDC)wParam, &m_updateBox) != ERROR;
            PaintTo((HDC)lParam, true);
            m_limitToUpdate = false;
        }
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case WM_MOUSEMOVE:
        if (m_tags)
        {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            UpdateCursor(&point);
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(lParam);
        SControlForwardMouse(this, msg, lParam, SBLOCK_MEDIA);
        break;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_S_MCLICK:
    case WM_S_RCLICK:
        SControlForwardMouse(this, msg, lParam, SBLOCK_MEDIA);
        break;
    case WM_S_LCLICK:
        if (IsHotTracking() && IsEnabled())
            SendMessageToParent(WM_S_MEDIA_CLICK, (WPARAM)this, 0);
        SControlForwardMouse(this, msg, lParam, SBLOCK_MEDIA);
        break;
    case WM_TIMER:
        if (wParam == kScrollTimer && m_scrolling)
            OnScrollTick(timeGetTime());
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
