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
