#pragma once
// The panes of the main window that the browsing, playback, playlist, book and
// description features fill. Each stands in its place with its own window class
// so that the layout, the focus rules and the settings work before those features
// exist.
#include <windows.h>

#include "SMediaCtrl.h"
#include "SString.h"
#include "SWnd.h"

class PWndApp;

// The 65-pixel now-playing strip at the top of the client area.
class PWndPlay : public SWnd
{
public:
    PWndPlay();
    bool Create(PWndApp* owner, const RECT* rect);
    // The play count text shown in the strip.
    void SetCountText(const char* text);
    const SString& GetCountText() const { return m_countText; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    PWndApp* m_owner;
    SString m_countText;
};

// The docked now-playing bar: a tool window that can sit on the bottom screen edge.
class PWndTask : public SWnd
{
public:
    PWndTask();
    bool Create(PWndApp* owner);
    void SetShown(bool shown) { m_shown = shown; }
    bool IsShown() const { return m_shown; }
    void SetTextColor(unsigned color);
    unsigned GetTextColor() const { return m_textColor; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_shown;
    unsigned m_textColor;
};

// The thumbnail grid that shares the right pane with the web view.
class PWndThumbs : public SWnd
{
public:
    PWndThumbs();
    bool Create(PWndApp* owner, const RECT* rect, HWND parent, int id);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    PWndApp* m_owner;
};

// The video window of the media player: a hidden topmost tool popup.
class PMedia : public SWnd
{
public:
    PMedia();
    bool Create(PWndApp* owner);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
