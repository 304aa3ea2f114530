#pragma once
// The rich text view: a library child window that shows its text plainly (one
// GDI+ string with alignment, wrapping and trimming) or, with tags on, in the
// small tag language of SMediaText (bold, italic, underline, colours, links,
// inline images, line alignment). It can show a background picture, act as a
// flat button and scroll its content like a ticker (timer 82).
#include <windows.h>

#include "SArray.h"
#include "SDisk.h"
#include "SMediaLayout.h"
#include "SMediaPainter.h"
#include "SMediaText.h"
#include "SNetwork.h"
#include "SString.h"
#include "SStringArray.h"
#include "SUniString.h"
#include "SWnd.h"

class SImage;
class SResource;

namespace Gdiplus { class Graphics; }

// Notifications to the parent (wParam the control).
enum : UINT
{
    // lParam the mouse record of a button message or client click.
    WM_S_MEDIA_MOUSE = WM_APP + 3150,
    // A left click while the view acts as a button and is enabled; sent before the mouse record.
    WM_S_MEDIA_CLICK = WM_APP + 3151,
    // lParam the link's target text; a non-zero answer means handled, 0 lets the view open it.
    WM_S_MEDIA_LINK = WM_APP + 3152
};

class SMediaCtrl : public SWnd, private SMediaImageSource
{
public:
    using _STag = SMediaTag;
    using _SText = SMediaRun;
    using _SLine = SMediaLine;

    // The timer of automatic scrolling and its period.
    static const UINT_PTR kScrollTimer = 82;
    static const UINT kScrollPeriod = 20;

    SMediaCtrl();
    ~SMediaCtrl() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // --- colours and options (each re-lays out and redraws where the layout changes) ---
    // Text colour from a COLORREF or library colour, kept as ARGB 0xFERRGGBB; re-parses with tags on.
    void SetTextColor(unsigned color);
    unsigned GetTextColor() const { return m_textColor; }
    // Link colour (library colour); links take it at the next layout.
    void SetLinkColor(unsigned color);
    unsigned GetLinkColor() const { return m_linkColor; }
    void SetTags(bool on);
    bool GetTags() const { return m_tags; }
    void SetWrapping(bool on);
    bool GetWrapping() const { return m_wrapping; }
    void SetTrimming(bool on);
    bool GetTrimming() const { return m_trimming; }
    // Horizontal 0, 1, 2 (3 when both low bits, laid out as left); vertical 0, 0x10, 0x20.
    void SetAlignment(unsigned flags);
    unsigned GetAlignment() const { return m_alignment; }
    // Inner margins in pixels; negatives become 0.
    void SetMargins(int left, int top, int right, int bottom);
    void GetMargins(int* left, int* top, int* right, int* bottom) const;
    // Picture drawn under the text (not owned; null none); no redraw.
    void SetImage(SImage* image) { m_image = image; }
    // Where inline images are loaded from (not owned; null none).
    void SetResource(SResource* resources) { m_resources = resources; }
    void SetResourceSource(SResource* resources) { SetResource(resources); }
    // Button state images from a resource pack, by entry name (null or "" none).
    bool SetButtonImages(SResource* resources, const char* disabled, const char* checked, const char* pushed,
                         const char* over);
    // Checked state of the button (hot tracking on), with a redraw; read with IsCheckedState.
    void SetChecked(bool checked);

    // --- layout ---
    // Tag parse and layout into lines and runs; nothing without a window.
    void Parse();
    // Plain layout: no lines, no links, content size = MeasureText of the window text.
    void Remeasure();
    // Size of the text (null: the window text) in the window font; (0, 0) without a window.
    SIZE MeasureText(const char* text = nullptr);
    int GetContentWidth() const { return m_contentWidth; }
    int GetContentHeight() const { return m_contentHeight; }
    // The laid-out lines and runs (tags on).
    const SMediaLayout& GetLayout() const { return m_layout; }
    // Client rectangle less the margins; false for a null out or without a window.
    bool GetTextRect(RECT* out) const;

    // --- drawing and links ---
    // Draws the control into a device context (also used by layered windows), colours
    // with their alpha as given.
    void Paint(HDC dc);
    // Index of the link drawn last that contains the point; -1 when none.
    int HitTestLink(int x, int y) const;
    // Hand cursor over a link at the point (null: the pointer), else the window's own.
    void UpdateCursor(const POINT* point = nullptr);
    // Empties the link texts and rectangles.
    void ClearLinks();
    int GetLinkCount() const { return m_linkTexts.GetCount(); }
    SString GetLinkText(int index) const { return m_linkTexts.GetAt(index); }
    bool GetLinkRect(int index, RECT* out) const;

    // --- automatic scrolling ---
    // Starts (non-zero speeds, pixels per second) or stops scrolling; start sets the offsets.
    void SetAutoScroll(double speedX, double speedY, bool noFitTest = false, const POINT* start = nullptr);
    // Whether scrolling wraps around; also the axis that loops (vertical when on).
    void SetAutoScrollLoop(bool on);
    bool IsScrollingX() const;
    bool IsScrollingY() const;
    bool IsScrolling() const { return m_scrolling; }
    int GetScrollX() const { return m_scrollX; }
    int GetScrollY() const { return m_scrollY; }

protected:
    // One scroll step at the given millisecond clock.
    void OnScrollTick(DWORD now);
    // The millisecond clock of the previous scroll step.
    DWORD GetLastTick() const { return m_lastTick; }
    // Opens a link the parent left to the view: mail targets to the mail client, others to the shell.
    virtual void OpenLink(const char* target);

private:
    SImage* LoadImage(const char* name) override;
    void FreeImages();
    void Relayout();
    void RelayoutAndRedraw();
    void StoreText(const char* text);
    void PaintTo(HDC dc, bool opaqueSurface);
    unsigned TextArgb(unsigned color) const;
    void PaintFrame(Gdiplus::Graphics& graphics, int width, int height);
    void PaintTagged(HDC dc, Gdiplus::Graphics& graphics, const RECT& area);
    void PaintPlain(HDC dc, Gdiplus::Graphics& graphics, const RECT& area);
    void OnLeftButtonDown(LPARAM lParam);
    void StopScrolling();

    SDisk m_disk;
    SNetwork m_network;
    SString m_text;
    SUniString m_wide;
    int m_wideLength;
    unsigned m_textColor;
    SImage* m_image;
    unsigned m_alignment;
    bool m_wrapping;
    bool m_trimming;
    int m_marginLeft, m_marginTop, m_marginRight, m_marginBottom;
    int m_contentWidth, m_contentHeight;
    // Whether GDI+ can use the font last asked about, so that an empty text is sized
    // without a device context and a GDI+ font each time.
    HFONT m_checkedFont;
    bool m_checkedFontUsable;
    int m_scrollX, m_scrollY;
    bool m_scrolling;
    bool m_loop;
    bool m_vertical;
    double m_positionX, m_positionY;
    double m_speedX, m_speedY;
    DWORD m_lastTick;
    bool m_tags;
    unsigned m_linkColor;
    SMediaTagList m_tagList;
    SMediaLayout m_layout;
    // Fonts, format and brush of the runs, kept from paint to paint until the next layout.
    SMediaPainter m_painter;
    SStringArray m_linkTexts;
    SArray<RECT> m_linkRects;
    SResource* m_resources;
    SArray<SImage*> m_images;
    // The paint in progress goes to the window's own opaque surface (see TextArgb).
    bool m_opaqueSurface;
    // While the window repaints its update region: the box of that region; lines outside it
    // are not drawn (the surface outside it never reaches the screen).
    bool m_limitToUpdate;
    RECT m_updateBox;
};
