#include "SImageEditor.h"

#include "SFile.h"
#include "SLibrary.h"
#include "SWndApp.h"

using namespace Gdiplus;

namespace
{

const int kLineStep = 10;
const int kPageStep = 30;
// Library cursor numbers of the tools.
const int kCursorFill = 17;
const int kCursorCross = 2;
const int kCursorPicker = 16;
const int kCursorMove = 3;
const int kCursorZoom = 20;
// Colour codes of the cursor picture (read back by SCursor::CreateFromDC).
const COLORREF kCursorTransparent = RGB(255, 0, 255);
const COLORREF kCursorOutline = RGB(255, 0, 0);
const COLORREF kCursorHotSpot = 0xFC0000;

COLORREF ToColorRef(uint32_t argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

uint32_t ToOpaqueArgb(COLORREF color)
{
    return 0xFF000000u | ((uint32_t)GetRValue(color) << 16) | ((uint32_t)GetGValue(color) << 8) | GetBValue(color);
}

} // namespace

// --- the bound panel -------------------------------------------------------------------

void SImageEditor::_SPanel::Bind(SImageEditor* editor)
{
    if (m_editor && m_editor->GetPanel() == this)
        m_editor->SetPanel(nullptr);
    m_editor = editor;
    if (editor)
        editor->SetPanel(this);
}

void SImageEditor::_SPanel::OnButtonClick(int groupId, int buttonId, _SButton* button)
{
    if (m_editor && groupId == 0)
    {
        // Button -> tool, and the fill mode or shape the button stands for (-1: unchanged).
        static const struct
        {
            int tool, fillMode, shape;
        } tools[] = {{TOOL_NONE, -1, -1},  {TOOL_SELECT, -1, -1}, {TOOL_ZOOM, -1, -1}, {TOOL_PICKER, -1, -1},
                     {TOOL_BRUSH, 1, -1},  {TOOL_BRUSH, 0, -1},   {TOOL_FILL, -1, -1}, {TOOL_SHAPE, -1, 0},
                     {TOOL_SHAPE, -1, 1},  {TOOL_SHAPE, -1, 2}};
        if (buttonId >= 0 && buttonId < (int)(sizeof(tools) / sizeof(tools[0])))
        {
            if (tools[buttonId].fillMode >= 0)
                m_editor->SetFillMode(tools[buttonId].fillMode);
            if (tools[buttonId].shape >= 0)
                m_editor->SetShape(tools[buttonId].shape);
            m_editor->SetTool(tools[buttonId].tool);
        }
    }
    else if (m_editor && groupId == 1 && (buttonId == 0 || buttonId == 1))
        m_editor->ChooseColor(buttonId == 0);
    if (m_editor)
        m_editor->OnPanelButton(this, groupId, buttonId, button);
    SPanelCtrl::OnButtonClick(groupId, buttonId, button);
}

// --- the editor --------------------------------------------------------------------------

SImageEditor::SImageEditor()
    : m_hatch(nullptr), m_selecting(0), m_points(nullptr), m_pointCount(0), m_tool(TOOL_NONE), m_primary(0xFF000000u),
      m_secondary(0xFFFFFFFFu), m_fillMode(0), m_shape(0), m_state(0), m_brushSize(1), m_toolCursor(nullptr),
      m_cursorSide(0), m_scrollX(0), m_scrollY(0), m_zoom(1), m_lastX(-1), m_lastY(-1), m_panel(nullptr)
{
    SetKind(SKIND_IMAGEEDITOR);
}

SImageEditor::~SImageEditor()
{
    _SPanel* panel = dynamic_cast<_SPanel*>(m_panel);
    if (panel && panel->GetEditor() == this)
        panel->Bind(nullptr);
    delete[] m_points;
    delete m_hatch;
}

void SImageEditor::OnImageChanged(bool, uint32_t)
{
}

void SImageEditor::OnEditHook(int)
{
}

void SImageEditor::OnViewHook(int)
{
}

void SImageEditor::OnPanelButton(SPanelCtrl*, int, int, SPanelCtrl::_SButton*)
{
}

void SImageEditor::Changed()
{
    NotifyParentChanged(0);
}

bool SImageEditor::LoadFile(SFile* stream)
{
    ClearSelection();
    m_image.Dispose();
    bool loaded = stream && m_image.Load(stream);
    if (loaded)
    {
        // Palette pictures have no drawing surface; the brush needs one.
        if (m_image.GetPixelFormat() & PixelFormatIndexed)
            loaded = m_image.ConvertPixelFormat(PixelFormat32bppARGB);
        // Drawn stretched over the zoomed rectangle.
        m_image.SetDrawMode(9);
    }
    if (!loaded)
        m_image.Dispose();
    ResetView();
    return loaded;
}

void SImageEditor::SetTool(int tool)
{
    if (tool < TOOL_BRUSH || tool > TOOL_ZOOM)
        tool = TOOL_NONE;
    if (tool == m_tool)
        return;
    m_tool = tool;
    RefreshCursor();
}

void SImageEditor::SetZoom(int zoom)
{
    zoom = zoom < MinZoom ? MinZoom : zoom > MaxZoom ? MaxZoom : zoom;
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    UpdateScrollBars();
    InvalidateRect();
    if (m_tool == TOOL_BRUSH)
        RefreshCursor();
}

void SImageEditor::SetBrushSize(int size)
{
    m_brushSize = size < 1 ? 1 : size;
    if (m_tool == TOOL_BRUSH)
        RefreshCursor();
}

void SImageEditor::SetColor(uint32_t color, bool primary)
{
    (primary ? m_primary : m_secondary) = color;
    if (m_panel)
    {
        m_panel->SetButtonColor(1, primary ? 0 : 1, ToColorRef(color));
        m_panel->RedrawGroup(1);
    }
}

bool SImageEditor::ChooseColor(bool primary)
{
    if (!m_selector.ChooseColor(ToColorRef(GetColor(primary))))
        return false;
    SetColor(ToOpaqueArgb(m_selector.GetColor()), primary);
    return true;
}

// --- selection -------------------------------------------------------------------------

bool SImageEditor::SetSelection(int left, int top, int right, int bottom)
{
    ClearSelection();
    int width = m_image.GetWidth(), height = m_image.GetHeight();
    left = left < 0 ? 0 : left;
    top = top < 0 ? 0 : top;
    right = right > width ? width : right;
    bottom = bottom > height ? height : bottom;
    if (left >= right || top >= bottom)
        return false;
    // Corners clockwise from the top-left, so the first and third are opposite.
    m_points = new POINT[4]{{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    m_pointCount = 4;
    m_selecting = 1;
    InvalidateRect();
    return true;
}

void SImageEditor::ClearSelection()
{
    bool had = HasSelection();
    delete[] m_points;
    m_points = nullptr;
    m_pointCount = 0;
    m_selecting = 0;
    if (had)
        InvalidateRect();
}

bool SImageEditor::MoveSelection(int dx, int dy)
{
    if (!HasSelection())
        return false;
    for (int i = 0; i < m_pointCount; i++)
    {
        m_points[i].x += dx;
        m_points[i].y += dy;
    }
    InvalidateRect();
    return true;
}

bool SImageEditor::GetSelectionRect(RECT* rect) const
{
    if (!rect || !m_points || m_pointCount < 3)
        return false;
    SetRect(rect, m_points[0].x, m_points[0].y, m_points[2].x, m_points[2].y);
    return true;
}

bool SImageEditor::IsInSelection(int x, int y) const
{
    RECT rect;
    if (!HasSelection() || m_state != 0 || !GetSelectionRect(&rect))
        return false;
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// --- view ----------------------------------------------------------------------------

RECT SImageEditor::GetImageRect() const
{
    int width = m_image.GetWidth() * m_zoom, height = m_image.GetHeight() * m_zoom;
    int clientWidth = GetClientWidth(), clientHeight = GetClientHeight();
    int left = clientWidth < width ? -m_scrollX : (clientWidth - width) / 2 - m_scrollX;
    int top = clientHeight < height ? -m_scrollY : (clientHeight - height) / 2 - m_scrollY;
    RECT rect = {left, top, left + width, top + height};
    return rect;
}

bool SImageEditor::HitTest(int x, int y, int* pixelX, int* pixelY) const
{
    RECT rect = GetImageRect();
    bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
    if (pixelX)
        *pixelX = inside ? (x - rect.left) / m_zoom : -1;
    if (pixelY)
        *pixelY = inside ? (y - rect.top) / m_zoom : -1;
    return inside;
}

void SImageEditor::UpdateScrollBars()
{
    if (!GetHandle())
        return;
    UpdateScrollInfo(false, 0, m_image.GetWidth() * m_zoom, GetClientWidth());
    UpdateScrollInfo(true, 0, m_image.GetHeight() * m_zoom, GetClientHeight());
    // The bars clamp their positions to the new ranges.
    m_scrollX = GetHScrollPos();
    m_scrollY = GetVScrollPos();
}

void SImageEditor::ResetView()
{
    m_scrollX = m_scrollY = 0;
    m_zoom = 1;
    m_lastX = m_lastY = -1;
    m_selecting = 0;
    if (GetHandle())
    {
        SetHScrollPos(0, false);
        SetVScrollPos(0, false);
    }
    UpdateScrollBars();
    Redraw(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void SImageEditor::ResetEditState()
{
    ClearSelection();
    m_tool = TOOL_NONE;
    m_primary = 0xFF000000u;
    m_secondary = 0xFFFFFFFFu;
    m_fillMode = 0;
    m_shape = 0;
    m_state = 0;
    m_brushSize = 1;
}

int SImageEditor::GetBrushCursorSide(int squareSide)
{
    if (squareSide <= 30)
        return 32;
    if (squareSide <= 62)
        return 64;
    if (squareSide < 127)
        return 128;
    return 256;
}

void SImageEditor::BuildBrushCursor()
{
    int square = m_zoom * m_brushSize;
    if (square == m_cursorSide && m_cursor.GetHandle())
        return;
    m_cursor.Release();
    m_cursorSide = 0;
    int side = GetBrushCursorSide(square);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap)
    {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, side, side};
        HBRUSH transparent = CreateSolidBrush(kCursorTransparent);
        HBRUSH outline = CreateSolidBrush(kCursorOutline);
        if (transparent && outline)
        {
            FillRect(dc, &all, transparent);
            int start = side / 2 - square / 2;
            RECT frame = {start, start, start + square, start + square};
            FrameRect(dc, &frame, outline);
            SetPixel(dc, side / 2, side / 2, kCursorHotSpot);
            if (m_cursor.CreateFromDC(dc, side, side))
                m_cursorSide = square;
        }
        if (transparent)
            DeleteObject(transparent);
        if (outline)
            DeleteObject(outline);
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    if (dc)
        DeleteDC(dc);
}

void SImageEditor::RefreshCursor()
{
    HCURSOR cursor = nullptr;
    switch (m_tool)
    {
    case TOOL_BRUSH:
        BuildBrushCursor();
        cursor = m_cursor.GetHandle();
        break;
    case TOOL_FILL: cursor = GetCursorHandle(kCursorFill); break;
    case TOOL_SHAPE: cursor = GetCursorHandle(kCursorCross); break;
    case TOOL_PICKER: cursor = GetCursorHandle(kCursorPicker); break;
    case TOOL_ZOOM: cursor = GetCursorHandle(kCursorZoom); break;
    case TOOL_SELECT:
    {
        POINT point;
        int x = -1, y = -1;
        if (GetHandle() && GetCursorPos(&point))
            HitTest(point.x, point.y, &x, &y);
        if (IsInSelection(x, y))
            cursor = GetCursorHandle(kCursorMove);
        else if (m_state == 0 || m_state == 1)
            cursor = GetCursorHandle(kCursorCross);
        break;
    }
    default: break;
    }
    m_toolCursor = cursor;
    if (GetHandle())
        SetCursor(cursor);
}

// --- tools -------------------------------------------------------------------------------

void SImageEditor::PaintBrush(int x, int y, bool left)
{
    if (m_fillMode == 1 && m_image.GetBitmap())
    {
        Graphics graphics(m_image.GetBitmap());
        // The square takes the colour as it is, alpha included, instead of blending over the picture.
        graphics.SetCompositingMode(CompositingModeSourceCopy);
        SolidBrush brush(Color(left ? m_primary : m_secondary));
        graphics.FillRectangle(&brush, x - m_brushSize / 2, y - m_brushSize / 2, m_brushSize, m_brushSize);
    }
    InvalidateRect();
    Changed();
}

void SImageEditor::RunTool(int x, int y, bool left)
{
    m_lastX = x;
    m_lastY = y;
    int pixelX, pixelY;
    if (!HitTest(x, y, &pixelX, &pixelY))
        return;
    switch (m_tool)
    {
    case TOOL_BRUSH: PaintBrush(pixelX, pixelY, left); break;
    case TOOL_FILL:
    case TOOL_SHAPE:
        InvalidateRect();
        Changed();
        break;
    case TOOL_PICKER:
    {
        uint32_t color = m_image.GetPixelColor(pixelX, pixelY);
        SetColor(color, left);
        OnImageChanged(left, color);
        break;
    }
    case TOOL_ZOOM: SetZoom(m_zoom + (left ? 1 : -1)); break;
    default: break;
    }
    // Later moves with the button held come back through the library's drag tracking.
    if (m_tool == TOOL_BRUSH || m_tool == TOOL_SHAPE || m_tool == TOOL_SELECT)
        StartAppDrag(GetHandle(), true, true);
}

void SImageEditor::OnKeyDown(WPARAM key)
{
    if (m_tool != TOOL_SELECT || !m_selecting)
        return;
    switch (key)
    {
    case VK_LEFT: MoveSelection(-1, 0); break;
    case VK_UP: MoveSelection(0, -1); break;
    case VK_RIGHT: MoveSelection(1, 0); break;
    case VK_DOWN: MoveSelection(0, 1); break;
    case VK_DELETE:
        m_selecting = 0;
        InvalidateRect();
        break;
    default: break;
    }
}

// --- painting and messages ------------------------------------------------------------

void SImageEditor::Paint(HDC dc)
{
    if (!dc)
        return;
    Graphics graphics(dc);
    RECT client;
    GetClientRect(&client);
    if (m_hatch)
        graphics.FillRectangle(m_hatch, 0, 0, (INT)client.right, (INT)client.bottom);
    if (!m_image.IsLoaded())
        return;
    RECT image = GetImageRect();
    RECT visible;
    if (!IntersectRect(&visible, &image, &client))
        return;
    // Only the visible pixels are scaled, so a large zoom never makes a huge intermediate picture.
    RECT source = {(visible.left - image.left) / m_zoom, (visible.top - image.top) / m_zoom,
                   (visible.right - image.left + m_zoom - 1) / m_zoom, (visible.bottom - image.top + m_zoom - 1) / m_zoom};
    RECT target = {image.left + source.left * m_zoom, image.top + source.top * m_zoom,
                   image.left + source.right * m_zoom, image.top + source.bottom * m_zoom};
    graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
    m_image.Draw(&graphics, &target, &source);
    RECT selection;
    if (m_selecting && GetSelectionRect(&selection))
    {
        Pen pen(Color(255, 0, 0, 0));
        pen.SetDashStyle(DashStyleDash);
        graphics.DrawRectangle(&pen, (INT)(image.left + selection.left * m_zoom), (INT)(image.top + selection.top * m_zoom),
                               (INT)((selection.right - selection.left) * m_zoom - 1),
                               (INT)((selection.bottom - selection.top) * m_zoom - 1));
    }
}

LRESULT SImageEditor::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (msg)
    {
    case WM_S_CREATED:
        EnableShortcuts(0);
        SetBackColor(SCOLOR_NONE);
        SetScrollSteps(false, kLineStep, kPageStep, 1);
        SetScrollSteps(true, kLineStep, kPageStep, 1);
        m_selector.SetOwner(::GetAncestor(GetHandle(), GA_ROOT));
        if (!m_hatch)
            m_hatch = new HatchBrush(HatchStyleDiagonalCross, Color(255, 192, 192, 192), Color(255, 255, 255, 255));
        ResetEditState();
        ResetView();
        RefreshCursor();
        break;
    case WM_SIZE:
    case WM_S_HSCROLLED:
    case WM_S_VSCROLLED:
        UpdateScrollBars();
        InvalidateRect();
        break;
    case WM_ERASEBKGND:
        // The library hands its off-screen DC in lParam (0 when it could not make one).
        Paint(lParam ? (HDC)lParam : (HDC)wParam);
        break;
    case WM_PRINTCLIENT:
        Paint((HDC)wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetFocus();
        RunTool(x, y, msg == WM_LBUTTONDOWN);
        break;
    case WM_S_APP_DRAG_MOVE:
    {
        // The drag reports points of the library's hidden window.
        POINT point = {x, y};
        MapWindowPoints(GetAppWindow(), GetHandle(), &point, 1);
        if (point.x != m_lastX || point.y != m_lastY)
            RunTool(point.x, point.y, wParam == 1);
        return 0;
    }
    case WM_MOUSEMOVE:
        RefreshCursor();
        break;
    case WM_NCMOUSEMOVE:
        SetCursor(nullptr);
        break;
    case WM_MOUSEWHEEL:
        SetZoom(m_zoom + ((short)HIWORD(wParam) < 0 ? -1 : 1));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
