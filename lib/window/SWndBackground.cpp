#include "SWndBackground.h"

#include "SDll.h"
#include "SDraw.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SResource.h"
#include "SWnd.h"

using namespace Gdiplus;

namespace
{

typedef BOOL(WINAPI* UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);

// "UpdateLayeredWindow", looked up once in "user32.dll"; null where the system lacks it.
UpdateLayeredWindowProc FindUpdateLayeredWindow()
{
    static SDll user;
    static bool searched = false;
    static UpdateLayeredWindowProc found = nullptr;
    if (!searched)
    {
        if (user.Load("user32.dll"))
            found = (UpdateLayeredWindowProc)(void*)user.GetProc("UpdateLayeredWindow");
        searched = true;
    }
    return found;
}

// Draws a source rectangle of the bitmap into a destination rectangle. The piece
// is scaled here by nearest pixel, then drawn unscaled, so that no neighbouring
// pixel bleeds into it and its borders stay sharp.
void DrawPiece(Graphics& graphics, Bitmap* bitmap, const Rect& to, int sourceX, int sourceY, int sourceWidth,
               int sourceHeight, unsigned key)
{
    if (to.Width <= 0 || to.Height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    Bitmap piece(to.Width, to.Height, PixelFormat32bppARGB);
    if (piece.GetLastStatus() != Ok)
        return;
    Rect from(sourceX, sourceY, sourceWidth, sourceHeight), all(0, 0, to.Width, to.Height);
    BitmapData source, target;
    if (bitmap->LockBits(&from, ImageLockModeRead, PixelFormat32bppARGB, &source) != Ok)
        return;
    if (piece.LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &target) != Ok)
    {
        bitmap->UnlockBits(&source);
        return;
    }
    for (int y = 0; y < to.Height; y++)
    {
        ptrdiff_t sourceY = (ptrdiff_t)((int64_t)y * sourceHeight / to.Height);
        const uint32_t* sourceRow = (const uint32_t*)((const BYTE*)source.Scan0 + sourceY * source.Stride);
        uint32_t* targetRow = (uint32_t*)((BYTE*)target.Scan0 + (ptrdiff_t)y * target.Stride);
        for (int x = 0; x < to.Width; x++)
            targetRow[x] = sourceRow[(int64_t)x * sourceWidth / to.Width];
    }
    piece.UnlockBits(&target);
    bitmap->UnlockBits(&source);
    ImageAttributes attributes;
    if (key != SCOLOR_NONE)
    {
        COLORREF rgb = ResolveColor(key);
        Color color(255, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
        attributes.SetColorKey(color, color);
    }
    graphics.DrawImage(&piece, to, 0, 0, to.Width, to.Height, UnitPixel, &attributes);
}

// The background image into a graphics surface of the given size: the corners
// unscaled, the edges stretched along one axis, the centre by the draw mode.
void PaintBackground(Graphics& graphics, const SImage* image, const SImage* centre, const RECT& margins,
                     unsigned key, int width, int height)
{
    int imageWidth = image->GetWidth(), imageHeight = image->GetHeight();
    RECT destination = {0, 0, width, height};
    RECT source = {0, 0, imageWidth, imageHeight};
    int left = margins.left, top = margins.top, right = margins.right, bottom = margins.bottom;
    bool sliced = !IsRectEmpty(&margins) && left >= 0 && top >= 0 && left <= right && top <= bottom &&
                  right <= imageWidth && bottom <= imageHeight;
    if (sliced)
    {
        Bitmap* bitmap = image->GetBitmap();
        int rightWidth = imageWidth - right, bottomHeight = imageHeight - bottom;
        int rightX = width - rightWidth, bottomY = height - bottomHeight;
        DrawPiece(graphics, bitmap, Rect(0, 0, left, top), 0, 0, left, top, key);
        DrawPiece(graphics, bitmap, Rect(rightX, 0, rightWidth, top), right, 0, rightWidth, top, key);
        DrawPiece(graphics, bitmap, Rect(0, bottomY, left, bottomHeight), 0, bottom, left, bottomHeight, key);
        DrawPiece(graphics, bitmap, Rect(rightX, bottomY, rightWidth, bottomHeight), right, bottom, rightWidth,
                  bottomHeight, key);
        DrawPiece(graphics, bitmap, Rect(left, 0, rightX - left, top), left, 0, right - left, top, key);
        DrawPiece(graphics, bitmap, Rect(left, bottomY, rightX - left, bottomHeight), left, bottom, right - left,
                  bottomHeight, key);
        DrawPiece(graphics, bitmap, Rect(0, top, left, bottomY - top), 0, top, left, bottom - top, key);
        DrawPiece(graphics, bitmap, Rect(rightX, top, rightWidth, bottomY - top), right, top, rightWidth,
                  bottom - top, key);
        SetRect(&destination, left, top, rightX, bottomY);
        SetRect(&source, left, top, right, bottom);
        if (destination.right <= destination.left || destination.bottom <= destination.top)
            return;
    }
    centre->Draw(&graphics, &destination, &source);
}

// A 32-bit top-down DIB section selected into a new memory DC; its pixels in *bits.
HDC CreateDibDC(int width, int height, void** bits)
{
    BITMAPINFO info = TopDownDibHeader(width, height);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (!bitmap || !*bits)
    {
        if (bitmap)
            DeleteObject(bitmap);
        DeleteDC(dc);
        return nullptr;
    }
    SelectObject(dc, bitmap);
    return dc;
}

// Deletes a DC made by CreateDibDC together with its bitmap.
void DeleteDibDC(HDC dc)
{
    if (!dc)
        return;
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    DeleteDC(dc);
    if (bitmap)
        DeleteObject(bitmap);
}

}

SWndBackground::~SWndBackground()
{
    FreeStates();
    delete image;
}

void SWndBackground::FreeStates()
{
    delete[] states;
    states = nullptr;
}

void SWnd::SetBackgroundImage(const SImage* image, unsigned colorKey, int drawMode, const RECT* margins,
                              bool redraw)
{
    if (image && image->IsLoaded())
    {
        if (!m_background.image)
            m_background.image = new SImage;
        if (!m_background.image->Assign(image))
            m_background.image->Dispose();
        m_background.image->SetDrawMode(drawMode >= 0 ? drawMode : image->GetDrawMode());
    }
    else if (m_background.image)
        m_background.image->Dispose();
    if (margins)
        m_sliceMargins = *margins;
    else
        SetRectEmpty(&m_sliceMargins);
    m_colorKey = colorKey;
    if (m_background.image)
    {
        m_background.image->SetTransparentColor(colorKey);
        m_background.image->SetBackColor(m_backColor);
    }
    UpdateWindowRegion(nullptr);
    if (redraw && m_handle)
        RedrawWindow(m_handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool SWnd::SetBackgroundResource(const char* name, const char* type, unsigned colorKey, int drawMode,
                                 const RECT* margins, bool redraw)
{
    SImage image;
    if (!name || !type || !image.LoadResource(name, type, GetInstance()))
        return false;
    SetBackgroundImage(&image, colorKey, drawMode, margins, redraw);
    return true;
}

SImage* SWnd::GetBackgroundImage() const
{
    return m_background.image && m_background.image->IsLoaded() ? m_background.image : nullptr;
}

void SWnd::SetBackgroundDrawMode(int mode)
{
    if (m_background.image)
        m_background.image->SetDrawMode(mode);
}

void SWnd::SetStateImages(const SImage* hover, const SImage* pressed, const SImage* checked,
                          const SImage* disabled)
{
    m_background.FreeStates();
    const SImage* given[4] = {hover, pressed, checked, disabled};
    bool any = false;
    for (int i = 0; i < 4; i++)
        any = any || (given[i] && given[i]->IsLoaded());
    if (!any)
        return;
    m_background.states = new SImage[4];
    for (int i = 0; i < 4; i++)
    {
        if (!given[i] || !given[i]->IsLoaded())
            continue;
        m_background.states[i].Assign(given[i]);
        m_background.states[i].SetDrawMode(given[i]->GetDrawMode());
        m_background.states[i].SetTransparentColor(given[i]->GetTransparentColor());
    }
}

bool SWnd::LoadStateImages(SResource* pack, const char* hoverName, const char* pressedName,
                           const char* checkedName, const char* disabledName)
{
    const char* names[4] = {hoverName, pressedName, checkedName, disabledName};
    bool any = false;
    for (int i = 0; i < 4; i++)
        any = any || (names[i] && *names[i]);
    if (!pack || !any)
        return false;
    SImage images[4];
    for (int i = 0; i < 4; i++)
    {
        if (!names[i] || !*names[i])
            continue;
        SFileMem entry;
        if (pack->Extract(&entry, names[i], true))
            images[i].Load(&entry, -1);
    }
    SetStateImages(&images[0], &images[1], &images[2], &images[3]);
    return true;
}

void SWnd::DrawBackgroundImage(HDC dc, int width, int height)
{
    const SImage* image = GetBackgroundImage();
    if (!dc || !image || width <= 0 || height <= 0)
        return;
    Graphics graphics(dc);
    if (graphics.GetLastStatus() != Ok)
        return;
    const SImage* centre = image;
    if (m_hotTracking && m_background.states)
    {
        int index = -1;
        if (m_handle && !IsWindowEnabled(m_handle))
            index = 3;
        else if (m_checked)
            index = 2;
        else if (m_hover && m_pressed)
            index = 1;
        else if (m_hover)
            index = 0;
        if (index >= 0 && m_background.states[index].IsLoaded())
        {
            centre = &m_background.states[index];
            if (m_colorKey != SCOLOR_NONE)
                m_background.states[index].SetTransparentColor(m_colorKey);
        }
    }
    PaintBackground(graphics, image, centre, m_sliceMargins, m_colorKey, width, height);
}

void SWnd::UpdateWindowRegion(HRGN start)
{
    if (!m_handle)
    {
        if (start)
            DeleteObject(start);
        return;
    }
    const SImage* image = GetBackgroundImage();
    RECT client;
    if (!image || m_colorKey == SCOLOR_NONE || m_colorKey == SCOLOR_TRANSPARENT ||
        !::GetClientRect(m_handle, &client) || client.right <= 0 || client.bottom <= 0)
    {
        // A hidden window without a region keeps having none: setting none again would
        // only make the system work its frame out anew.
        RECT box;
        if (!start && !::IsWindowVisible(m_handle) && ::GetWindowRgnBox(m_handle, &box) == ERROR)
            return;
        if (!::SetWindowRgn(m_handle, start, TRUE) && start)
            DeleteObject(start);
        return;
    }
    COLORREF rgb = ResolveColor(m_colorKey);
    SImage canvas(client.right, client.bottom, PixelFormat32bppARGB);
    HRGN kept = nullptr;
    if (canvas.IsLoaded() && canvas.Fill(0xFF000000u | ((uint32_t)GetRValue(rgb) << 16) |
                                         ((uint32_t)GetGValue(rgb) << 8) | GetBValue(rgb)))
    {
        Graphics graphics(canvas.GetBitmap());
        if (graphics.GetLastStatus() == Ok)
            PaintBackground(graphics, image, image, m_sliceMargins, m_colorKey, client.right, client.bottom);
        kept = canvas.CreateRegion(m_colorKey);
    }
    RECT inWindow, window;
    if (!kept || !GetClientRectInWindow(&inWindow) || !GetWindowRect(&window))
    {
        if (kept)
            DeleteObject(kept);
        if (!::SetWindowRgn(m_handle, start, TRUE) && start)
            DeleteObject(start);
        return;
    }
    // The key pixels, in window coordinates, are what the region loses.
    OffsetRgn(kept, inWindow.left, inWindow.top);
    HRGN removed = CreateRectRgnIndirect(&inWindow);
    HRGN result = start ? start : CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top);
    if (removed && result)
    {
        CombineRgn(removed, removed, kept, RGN_DIFF);
        CombineRgn(result, result, removed, RGN_DIFF);
    }
    if (removed)
        DeleteObject(removed);
    DeleteObject(kept);
    if (result && !::SetWindowRgn(m_handle, result, TRUE))
        DeleteObject(result);
}

HDC SWnd::RenderLayeredImage()
{
    RECT window;
    if (!m_handle || !GetWindowRect(&window))
        return nullptr;
    int width = window.right - window.left, height = window.bottom - window.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    void* bits = nullptr;
    HDC dc = CreateDibDC(width, height, &bits);
    if (!dc)
        return nullptr;
    {
        Bitmap surface(width, height, width * 4, PixelFormat32bppPARGB, (BYTE*)bits);
        Graphics graphics(&surface);
        const SImage* image = GetBackgroundImage();
        if (image && surface.GetLastStatus() == Ok && graphics.GetLastStatus() == Ok)
            PaintBackground(graphics, image, image, m_sliceMargins, m_colorKey, width, height);
    }
    // Rich text views draw their own translucent content over the background.
    SArray<SWnd*> children;
    CollectChildren(&children, nullptr, false, SKIND_MEDIA);
    for (int i = 0; i < children.GetCount(); i++)
    {
        SWnd* child = children.GetAt(i);
        RECT place;
        if (!child->IsVisible() || !child->GetWindowRect(&place))
            continue;
        int childWidth = place.right - place.left, childHeight = place.bottom - place.top;
        void* childBits = nullptr;
        HDC childDC = childWidth > 0 && childHeight > 0 ? CreateDibDC(childWidth, childHeight, &childBits) : nullptr;
        if (!childDC)
            continue;
        child->DrawBackgroundImage(childDC, childWidth, childHeight);
        child->Print(childDC, PRF_CLIENT);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, place.left - window.left, place.top - window.top, childWidth, childHeight, childDC, 0, 0,
                   childWidth, childHeight, blend);
        DeleteDibDC(childDC);
    }
    return dc;
}

void SWnd::UpdateLayered(HDC dc, int alpha)
{
    UpdateLayeredWindowProc update = FindUpdateLayeredWindow();
    RECT window;
    if (update && dc && m_handle && GetWindowRect(&window))
    {
        POINT position = {window.left, window.top};
        SIZE size = {window.right - window.left, window.bottom - window.top};
        POINT origin = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, (BYTE)(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha)), AC_SRC_ALPHA};
        update(m_handle, nullptr, &position, &size, dc, &origin, 0, &blend, ULW_ALPHA);
    }
    DeleteDibDC(dc);
}

void SWnd::UpdateLayeredImage(int alpha)
{
    HDC dc = RenderLayeredImage();
    if (dc)
        UpdateLayered(dc, alpha);
}
