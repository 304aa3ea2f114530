#pragma once
// Bars docked along the four edges of the control around one central view, in
// the manner of tool windows around a document. Each bar is a framed window
// with a caption strip, an optional close box and draggable edges; every
// message of a bar or of the view is offered to the control first.
#include <windows.h>

#include "SArray.h"
#include "SControl.h"
#include "SWnd.h"

class SSplitterDragInput;

// Asks the parent before a bar closes: wParam the control, lParam the bar's window; non-zero keeps it.
const UINT SGUI_CLOSING = ControlMessage(SBLOCK_GUI, 0);

class SGuiCtrl : public SWnd
{
public:
    // Bar flags (bits 0 to 7 are read; higher bits are the caller's).
    enum : unsigned
    {
        BAR_COLUMN = 0x1, BAR_FAR = 0x2, BAR_ROWSTART = 0x4, BAR_HIDDEN = 0x8, BAR_NOCLOSE = 0x10,
        BAR_SMALLCAPTION = 0x20, BAR_FIXEDHEIGHT = 0x40, BAR_FIXEDWIDTH = 0x80
    };
    // Frame hit codes.
    enum { HIT_NONE, HIT_CLOSE, HIT_CAPTION, HIT_TOP, HIT_BOTTOM, HIT_LEFT, HIT_RIGHT };

    class _SBar;

    // The framed window of one bar.
    class _SWndBar : public ::SWnd
    {
    public:
        _SWndBar();
        // The held windows are hidden and detached first, so they survive the bar.
        ~_SWndBar() override;
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
        void OnHotAreaEnter(RECT* area, int x, int y, int index) override;
        void OnHotAreaMove(RECT* area, int x, int y, int index) override;
        void OnHotAreaLeave(RECT* area, int x, int y, int index) override;
        // The frame part under a point in window coordinates (HIT_*).
        int HitTest(int x, int y) const;
        // Draws the frame into a DC in window coordinates.
        void PaintFrame(HDC dc) const;

        SGuiCtrl* owner;
        _SBar* bar;

    private:
        void DragEdge(int code, POINT press);
    };

    // The central view.
    class _SWndView : public ::SWnd
    {
    public:
        _SWndView();
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

        SGuiCtrl* owner;
    };

    // One bar record.
    class _SBar
    {
    public:
        _SBar();
        _SBar(const _SBar&) = delete;
        _SBar& operator=(const _SBar&) = delete;

        // Sizes at least 16; unless alone, the bars of the same row or column share the thickness.
        void SetSize(int newWidth, int newHeight, bool alone);
        void SetHidden(bool hidden);
        bool IsColumn() const { return (flags & BAR_COLUMN) != 0; }
        bool IsFarSide() const { return (flags & BAR_FAR) != 0; }
        bool IsRowStart() const { return (flags & BAR_ROWSTART) != 0; }
        bool IsHidden() const { return (flags & BAR_HIDDEN) != 0; }
        bool IsSmallCaption() const { return (flags & BAR_SMALLCAPTION) != 0; }
        bool HasCloseBox() const { return (flags & (BAR_NOCLOSE | BAR_SMALLCAPTION)) == 0; }
        bool IsHeightFixed() const { return (flags & BAR_FIXEDHEIGHT) != 0; }
        bool IsWidthFixed() const { return (flags & BAR_FIXEDWIDTH) != 0; }
        // Both on the same edge.
        bool SameSide(const _SBar* other) const { return ((flags ^ other->flags) & (BAR_COLUMN | BAR_FAR)) == 0; }
        // The caption depth g: 4 with a small caption, else 8.
        int CaptionSize() const { return IsSmallCaption() ? 4 : 8; }

        SGuiCtrl* owner;
        HWND window;
        unsigned flags;
        int width, height;
        _SWndBar wnd;
    };

    SGuiCtrl();
    ~SGuiCtrl() override;

    // Installs the drag input of the edge drags (null: the real mouse); the previous one.
    static SSplitterDragInput* SetDragInput(SSplitterDragInput* input);

    // Adds a bar holding a window; false when a bar already holds it.
    bool AddBar(HWND window, int width, int height, unsigned flags);
    // Deletes every bar.
    void RemoveAllBars();
    // Places the bars and the view.
    void Layout();
    // The bars' rectangles (empty for hidden and skipped bars) and the view's, in client coordinates.
    void ComputeLayout(int skip, SArray<RECT>* bars, RECT* view) const;
    _SBar* FindBar(HWND window) const;
    _SBar* GetBar(int index) const { return m_bars.GetAt(index); }
    int GetBarCount() const { return m_bars.GetCount(); }
    int IndexOfBar(const _SBar* bar) const;
    _SWndView* GetView() { return &m_view; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Offered every message of a bar (or of the view, bar null); false ends it with *result.
    virtual bool OnChildMessage(_SBar* bar, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    // The nearest earlier visible bar on the same side; -1 when none.
    int PreviousOnSide(int index) const;

    _SWndView m_view;
    SArray<_SBar*> m_bars;
};
