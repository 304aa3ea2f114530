// Painting of the designer window: workspace, dialog with grid and image,
// control previews, selection frames and handles, rulers and their indicators.
#include "SDialogEditor.h"

#include <gdiplus.h>

#include "SDraw.h"
#include "SExternCtrl.h"
#include "SFileMem.h"
#include "SMediaCtrl.h"
#include "SResource.h"

namespace
{

const uint32_t kNoColor = 0xFF000000u;
// Ruler tick lengths for positions divisible by 100, 10 and 5.
const int kLongTick = 20;
const int kMiddleTick = 8;
const int kShortTick = 4;
// Grid dots are drawn only for steps above this.
const int kMinDotStep = 4;

// Geometry handed to GDI bitmaps stays within 16 bits.
void ClampRect(RECT* rect)
{
    rect->left = SDialogEditor::ClampCoordinate(rect->left);
    rect->top = SDialogEditor::ClampCoordinate(rect->top);
    rect->right = SDialogEditor::ClampCoordinate(rect->right);
    rect->bottom = SDialogEditor::ClampCoordinate(rect->bottom);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    if (brush)
    {
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
}

// Per channel: white on a dark fill, black on a light one.
COLORREF DotColor(COLORREF fill)
{
    int red = GetRValue(fill) < 128 ? 255 : 0;
    int green = GetGValue(fill) < 128 ? 255 : 0;
    int blue = GetBValue(fill) < 128 ? 255 : 0;
    return RGB(red, green, blue);
}

// Fills the rectangle with tiles of one dot each; false when the tile cannot be made.
bool FillGrid(HDC dc, const RECT& rect, COLORREF fill, int width, int height, POINT origin)
{
    HDC tileDC = CreateCompatibleDC(dc);
    HBITMAP tile = tileDC ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (!tile)
    {
        if (tileDC)
            DeleteDC(tileDC);
        return false;
    }
    HGDIOBJ old = SelectObject(tileDC, tile);
    RECT all = {0, 0, width, height};
    FillSolid(tileDC, all, fill);
    SetPixelV(tileDC, width - 1, height - 1, DotColor(fill));
    SelectObject(tileDC, old);
    DeleteDC(tileDC);
    HBRUSH brush = CreatePatternBrush(tile);
    bool done = false;
    if (brush)
    {
        // The tiles start at the design origin, so the dots follow the scroll position.
        int x = ((origin.x % width) + width) % width, y = ((origin.y % height) + height) % height;
        POINT oldOrigin;
        SetBrushOrgEx(dc, x, y, &oldOrigin);
        FillRect(dc, &rect, brush);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        DeleteObject(brush);
        done = true;
    }
    DeleteObject(tile);
    return done;
}

} // namespace

// --- colours ---

void SDialogEditor::SetBrushColor(HBRUSH* brush, COLORREF* stored, uint32_t color)
{
    if (color != kNoColor)
        *stored = (COLORREF)color;
    if (*brush)
        DeleteObject(*brush);
    *brush = CreateSolidBrush(*stored);
}

void SDialogEditor::SetDefaultColors()
{
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    SetWorkspaceColors(GetSysColor(COLOR_APPWORKSPACE), GetSysColor(COLOR_BTNFACE));
    SetRulerTextColor(GetSysColor(COLOR_BTNTEXT));
    SetSelectionColors(highlight, ToGray(highlight) & 0xFFFFFF);
}

void SDialogEditor::SetWorkspaceColors(uint32_t workspace, uint32_t rulerBack)
{
    SetBrushColor(&m_workspaceBrush, &m_workspaceColor, workspace);
    SetBrushColor(&m_rulerBackBrush, &m_rulerBackColor, rulerBack);
}

void SDialogEditor::SetRulerTextColor(uint32_t color)
{
    if (color != kNoColor)
        m_rulerTextColor = (COLORREF)color;
}

void SDialogEditor::SetSelectionColors(uint32_t focused, uint32_t unfocused)
{
    SetBrushColor(&m_selectBrush, &m_selectColor, focused);
    SetBrushColor(&m_selectGrayBrush, &m_selectGrayColor, unfocused);
}

void SDialogEditor::SetExternPaintCallback(ExternPaintCallback callback, void* user)
{
    m_externPaint = callback;
    m_externPaintUser = user;
}

// --- painting ---

void SDialogEditor::PaintDesign(HDC dc)
{
    m_paintCount++;
    SArray<_SCtrl*> hidden;
    GetHiddenControls(&hidden);
    if (!m_workspaceBrush)
        SetDefaultColors();
    FillRect(dc, &m_designArea, m_workspaceBrush);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, m_designArea.left, m_designArea.top, m_designArea.right, m_designArea.bottom);
    if (m_dialog)
        PaintRecord(dc, m_dialog);
    for (int i = 0; i < m_controls.GetCount(); i++)
    {
        _SCtrl* record = m_controls.GetAt(i);
        bool isHidden = false;
        for (int h = 0; h < hidden.GetCount() && !isHidden; h++)
            isHidden = hidden.GetAt(h) == record;
        if (!isHidden)
            PaintRecord(dc, record);
    }
    PaintSelection(dc);
    RestoreDC(dc, saved);
}

void SDialogEditor::PaintSelection(HDC dc)
{
    HBRUSH brush = HasFocus() ? m_selectBrush : m_selectGrayBrush;
    if (!brush)
        return;
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        _SCtrl* record = m_selection.GetAt(i);
        RECT rect;
        GetRecordRect(record, &rect);
        DesignToClient(&rect);
        ClampRect(&rect);
        InflateRect(&rect, 1, 1);
        FrameRect(dc, &rect, brush);
        InflateRect(&rect, 1, 1);
        FrameRect(dc, &rect, brush);
        if (i != 0)
            continue;
        for (int handle = 0; handle < 8; handle++)
        {
            RECT square;
            GetClientHandleRect(record, handle, &square);
            ClampRect(&square);
            FillRect(dc, &square, brush);
        }
    }
}

void SDialogEditor::PaintRecord(HDC dc, _SCtrl* record)
{
    if (!dc || !record)
        return;
    if (record->GetType() == TYPE_DIALOG && record->IsDialog())
        PaintDialogRecord(dc, record);
    else
        PaintControlRecord(dc, record);
}

void SDialogEditor::PaintControlRecord(HDC dc, _SCtrl* record)
{
    SWnd* preview = record->GetWnd();
    if (!preview || !preview->GetHandle() || record->GetWidth() <= 0 || record->GetHeight() <= 0)
        return;
    RECT rect;
    GetRecordRect(record, &rect);
    DesignToClient(&rect);
    ClampRect(&rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (!bitmap)
    {
        if (memory)
            DeleteDC(memory);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    // What lies below shows through transparent controls.
    BitBlt(memory, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
    if (!IsLayeredDialog())
    {
        preview->Print(memory, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        SExternCtrl* external = record->GetType() == TYPE_EXTERN ? dynamic_cast<SExternCtrl*>(preview) : nullptr;
        if (external && m_externPaint)
        {
            char* parameters = external->BuildEntryBlock();
            m_externPaint(memory, record, m_externPaintUser, parameters ? parameters : "\0");
            delete[] parameters;
        }
    }
    else if (record->GetType() == TYPE_MEDIA)
    {
        preview->DrawBackgroundImage(memory, width, height);
        SMediaCtrl* media = dynamic_cast<SMediaCtrl*>(preview);
        if (media)
            media->Paint(memory);
    }
    else
    {
        RECT area = {0, 0, width, height};
        if (!m_hatchBrush)
            m_hatchBrush = CreateHatchBrush(HS_DIAGCROSS, RGB(0x80, 0x80, 0x80));
        if (m_hatchBrush)
            FillRect(memory, &area, m_hatchBrush);
        InflateRect(&area, -1, -1);
        SString text = GetInvisibleText();
        HGDIOBJ oldFont = SelectObject(memory, GetEditorFont());
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(memory, text, -1, &area, DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(memory, oldFont);
    }
    BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void SDialogEditor::LoadDesignImage()
{
    if (!m_resources || !m_dialog)
        return;
    SString name = m_dialog->GetProperty("DIALOG_IMAGE");
    if (name == (const char*)m_designImageName && (m_designImage.IsLoaded() || name.IsEmpty()))
        return;
    m_designImage.Dispose();
    m_designImageName.Empty();
    if (name.IsEmpty())
        return;
    SFileMem stream;
    // A name the loader cannot deliver stays unremembered, so the next paint asks again.
    if (m_resources->Extract(&stream, name, true) && m_designImage.Load(&stream))
        m_designImageName = name;
    else
        m_designImage.Dispose();
}

void SDialogEditor::PaintDialogRecord(HDC dc, _SCtrl* record)
{
    RECT rect;
    GetRecordRect(record, &rect);
    DesignToClient(&rect);
    ClampRect(&rect);
    uint32_t back = record->GetBackColor();
    COLORREF fill;
    if (record->GetTransparent())
        fill = m_workspaceColor;
    else if (back == kNoColor)
        fill = GetSysColor(COLOR_BTNFACE);
    else if (back > 0xFDFFFFFFu)
        fill = GetSysColor((int)(back & 0xFF));
    else
        fill = (COLORREF)back;
    if (rect.right > rect.left && rect.bottom > rect.top)
    {
        POINT origin = {0, 0};
        DesignToClient(&origin);
        bool gridDone = m_gridVisible && m_gridWidth > kMinDotStep && m_gridHeight > kMinDotStep &&
                        FillGrid(dc, rect, fill, SDialogEditor::ClampCoordinate(m_gridWidth), SDialogEditor::ClampCoordinate(m_gridHeight), origin);
        if (!gridDone)
            FillSolid(dc, rect, fill);
        LoadDesignImage();
        if (m_designImage.IsLoaded())
        {
            int mode = record->GetPropertyDrawMode("DIALOG_IMAGEDRAWMODE");
            if (m_designImage.GetDrawMode() != mode)
                m_designImage.SetDrawMode(mode);
            if (m_designImage.GetBackColor() != fill)
                m_designImage.SetBackColor(fill);
            Gdiplus::Graphics graphics(dc);
            m_designImage.Draw(&graphics, &rect);
        }
    }
    HPEN pen = CreatePen(PS_SOLID, 0, m_rulerTextColor);
    if (pen)
    {
        DrawLine(dc, rect.right, rect.top, rect.right, rect.bottom + 1, pen);
        DrawLine(dc, rect.left, rect.bottom, rect.right + 1, rect.bottom, pen);
        DeleteObject(pen);
    }
}

void SDialogEditor::PaintRulers(HDC dc)
{
    if (!m_rulers)
        return;
    if (!m_rulerFont)
        m_rulerFont = CreatePointFont(dc, "arial", 7, 0);
    if (!m_rulerBackBrush)
        SetDefaultColors();
    RECT corner = {m_clientRect.left, m_clientRect.top, m_clientRect.left + m_designArea.left - m_clientRect.left,
                   m_clientRect.top + m_designArea.top - m_clientRect.top};
    FillRect(dc, &corner, m_rulerBackBrush);
    FillRect(dc, &m_horzRuler, m_rulerBackBrush);
    FillRect(dc, &m_vertRuler, m_rulerBackBrush);
    HPEN pen = CreatePen(PS_SOLID, 0, m_rulerTextColor);
    if (!pen)
        return;
    HGDIOBJ oldFont = SelectObject(dc, m_rulerFont ? (HGDIOBJ)m_rulerFont : GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, m_rulerTextColor);
    int horizontal = GetHScrollPos(), vertical = GetVScrollPos();
    // Ticks stand every 5 units from the scroll position; only positions divisible by 5 get one.
    for (int position = horizontal, x = m_designArea.left; x < m_horzRuler.right; position += 5, x += 5)
    {
        int length = position % 100 == 0 ? kLongTick : position % 10 == 0 ? kMiddleTick
                                                     : position % 5 == 0    ? kShortTick
                                                                            : 0;
        if (length == 0)
            continue;
        DrawLine(dc, x, m_horzRuler.bottom - length, x, m_horzRuler.bottom, pen);
        if (length == kLongTick)
        {
            SString text = IntToString(position);
            TextOutA(dc, x + 2, m_horzRuler.top, text, text.GetLength());
        }
    }
    DrawLine(dc, m_horzRuler.left, m_horzRuler.bottom - 1, m_horzRuler.right, m_horzRuler.bottom - 1, pen);
    for (int position = vertical, y = m_designArea.top; y < m_vertRuler.bottom; position += 5, y += 5)
    {
        int length = position % 100 == 0 ? kLongTick : position % 10 == 0 ? kMiddleTick
                                                     : position % 5 == 0    ? kShortTick
                                                                            : 0;
        if (length == 0)
            continue;
        DrawLine(dc, m_vertRuler.right - length, y, m_vertRuler.right, y, pen);
        if (length == kLongTick)
        {
            SString text = IntToString(position);
            TextOutA(dc, m_vertRuler.left, y + 2, text, text.GetLength());
        }
    }
    DrawLine(dc, m_vertRuler.right - 1, m_vertRuler.top, m_vertRuler.right - 1, m_vertRuler.bottom, pen);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(pen);
    m_rulerMarkX = -1;
    m_rulerMarkY = -1;
}

void SDialogEditor::DrawRulerIndicators(HDC dc, const POINT* point, HPEN pen)
{
    if (!dc)
        return;
    POINT pointer;
    if (point)
        pointer = *point;
    else
        GetCursorPos(&pointer);
    HPEN own = pen ? nullptr : CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    HPEN used = pen ? pen : own;
    if (!used)
        return;
    int oldMode = SetROP2(dc, R2_NOTXORPEN);
    // Drawing a line twice in this mode erases it.
    if (m_rulerMarkX != -1)
        DrawLine(dc, m_rulerMarkX, m_horzRuler.top, m_rulerMarkX, m_horzRuler.bottom, used);
    if (m_rulerMarkY != -1)
        DrawLine(dc, m_vertRuler.left, m_rulerMarkY, m_vertRuler.right, m_rulerMarkY, used);
    m_rulerMarkX = -1;
    m_rulerMarkY = -1;
    if (pointer.x >= m_designArea.left && pointer.x < m_designArea.right)
    {
        DrawLine(dc, pointer.x, m_horzRuler.top, pointer.x, m_horzRuler.bottom, used);
        m_rulerMarkX = pointer.x;
    }
    if (pointer.y >= m_designArea.top && pointer.y < m_designArea.bottom)
    {
        DrawLine(dc, m_vertRuler.left, pointer.y, m_vertRuler.right, pointer.y, used);
        m_rulerMarkY = pointer.y;
    }
    SetROP2(dc, oldMode);
    if (own)
        DeleteObject(own);
}
