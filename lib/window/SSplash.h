#pragma once

#include <windows.h>

#include "SImage.h"
#include "SWnd.h"

class SFile;

// Ways a splash window closes besides its owner's Close and the time-out.
enum : int
{
    SSPLASH_CLOSE_BY_OWNER = 0, // only the owner or the time-out
    SSPLASH_CLOSE_BY_CLICK = 1, // also a mouse button press in it or the loss of the focus
    SSPLASH_CLOSE_STATIC = 2    // a subclassed "STATIC" window, not focused; closed like 0
};

// One picture shown as a borderless per-pixel-alpha tool window centred on the
// screen, optionally growing from half size, closed on a click, on focus loss or
// after a time. The object outlives its window and may show it again.
class SSplash
{
public:
    // The splash's window: counts the time-out and runs the zoom on its timers.
    class _SWnd : public SWnd
    {
    public:
        _SWnd();
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
        // Starts the clocks and timers of a window that now shows its picture.
        void Start(int closeMode, int timeout, const RECT& target, bool zoom);
        // The zoom has reached the full size.
        bool IsZoomDone() const { return m_zoomDone != 0; }

    private:
        void ZoomStep();

        // ms clock at the start (timeGetTime).
        DWORD m_startTime;
        // Close mode (0, 1 or 2).
        int m_closeMode;
        // Time-out in ms; 0 = none.
        int m_timeout;
        // The full-size rectangle the zoom grows to.
        RECT m_target;
        // The picture grows from half size.
        unsigned char m_zoom;
        // The window has been shown.
        unsigned char m_shown;
        // The zoom has reached the target.
        unsigned char m_zoomDone;
    };

    SSplash();
    // Closes the window.
    virtual ~SSplash();
    SSplash(const SSplash&) = delete;
    SSplash& operator=(const SSplash&) = delete;

    // Copies the picture and centres its rectangle on the primary screen; false without a picture.
    bool SetImage(const SImage& image);
    // Decodes the picture from the stream's position to its end, then SetImage.
    bool Load(SFile* stream);
    // Shows the picture (see SSPLASH_CLOSE_*; timeout in ms, 0 = none); false while a
    // splash window is open, without a picture or when the window cannot be made.
    bool Show(SWnd* parent, const POINT* position, int closeMode, int timeout, bool zoom);
    // The window exists.
    bool IsOpen() const;
    // Deletes the window object, destroying the window.
    void Close();
    // The splash window; null when none was shown or after Close.
    _SWnd* GetWindow() const { return m_window; }
    // The picture's rectangle centred on the primary screen.
    const RECT& GetScreenRect() const { return m_screenRect; }

private:
    // The window (owned), null when none.
    _SWnd* m_window;
    // The picture.
    SImage m_image;
    // Shown per-pixel alpha; set when a picture is given.
    unsigned char m_layered;
    // Colour key of the picture (none).
    unsigned m_colorKey;
    // The picture's size centred on the primary screen.
    RECT m_screenRect;
};
