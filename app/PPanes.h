#pragma once
// The panes of the main window that the browsing, playback, playlist, book and
// description features fill. Each stands in its place with its own window class
// so that the layout, the focus rules and the settings work before those features
// exist.
#include <windows.h>

#include "SMediaCtrl.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

class PWndApp;
class SImage;

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
    // The library totals shown on the bar.
    void SetTotalsText(const char* text) { m_totalsText = text ? text : ""; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_shown;
    unsigned m_textColor;
    SString m_totalsText;
};

// The playlists strip at the bottom of the right pane.
class PWndPlaylist : public SWnd
{
public:
    PWndPlaylist();
    bool Create(PWndApp* owner, const RECT* rect, HWND parent);
    // Reads the names of the ".lst" files of the root's "Playlists\" folder.
    void LoadNames(const char* root);
    bool SelectName(const char* name);
    SString GetSelectedName() const { return m_selected; }
    int GetNameCount() const { return m_names.GetCount(); }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    PWndApp* m_owner;
    SStringArray m_names;
    SString m_selected;
};

// The thumbnail grid that shares the right pane with the web view.
class PWndThumbs : public SWnd
{
public:
    PWndThumbs();
    bool Create(PWndApp* owner, const RECT* rect, HWND parent, int id);
    // Empties the grid; then the main window adds one cell per sub-folder.
    void Clear() { m_captions.RemoveAll(); }
    void AddCell(const SImage* image, const char* caption, bool holdsMedia)
    {
        (void)image;
        (void)holdsMedia;
        m_captions.Add(caption);
    }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    PWndApp* m_owner;
    SStringArray m_captions;
};

// The video window of the media player: a hidden topmost tool popup.
class PMedia : public SWnd
{
public:
    PMedia();
    bool Create(PWndApp* owner);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The book window and the description window: top-level windows owned by the
// main window, created on first use.
class PWndBook : public SWnd
{
public:
    bool Create(HWND owner, const char* path);
    void Navigate(const char* path);
    const SString& GetPath() const { return m_path; }

private:
    SString m_path;
};

class PWndDescription : public SWnd
{
public:
    bool Create(HWND owner);
};
