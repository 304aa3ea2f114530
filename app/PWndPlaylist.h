#pragma once
// The playlists pane of the main window: a drop-down of the ".lst" files of the
// root's "Playlists\" folder, the tracks of the selected one, the cover of the
// selected track and the play, new, rename, delete and move buttons. Every edit
// is written to the playlist's file at once.
#include <windows.h>

#include "SComboCtrl.h"
#include "SDisk.h"
#include "SImage.h"
#include "SLabelCtrl.h"
#include "SListCtrl.h"
#include "SMediaCtrl.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

class PWndApp;

class PWndPlaylist : public SWnd
{
public:
    // Control ids.
    enum
    {
        ID_NAMES = 1000, ID_TRACKS = 1001, ID_PLAY = 1002, ID_SHUFFLE = 1003, ID_NEW = 1004, ID_DELETE = 1005,
        ID_RENAME = 1006, ID_UP = 1007, ID_DOWN = 1008, ID_COVER = 1009
    };

    PWndPlaylist();
    ~PWndPlaylist() override;

    // Stores the owner; returns the pane.
    PWndPlaylist* SetApp(PWndApp* owner);
    // Creates the pane and its controls inside parent.
    bool Create(PWndApp* owner, const RECT* rect, HWND parent);
    // The selected playlist's name, "" when none.
    SString GetSelectedName();
    // Fills the drop-down from the playlist folder and loads the selected playlist.
    void FillPlaylists();
    // Selects a playlist by name (ignoring case) and loads it; false when there is none.
    bool SelectPlaylist(const char* name);
    // Loads the playlist of that name ("" = the selected one) into the track list.
    void LoadPlaylist(const char* name);
    // Writes the track list into the playlist of that name ("" = the selected one).
    void SavePlaylist(const char* name);
    // Appends full paths, made relative to the root, to the track list.
    void AddPaths(const SStringArray& paths);
    // Sets the count label.
    void UpdateCount();
    // Shows the album cover of the track at index, nothing for -1.
    void ShowCover(int index);
    // The new, rename and delete commands.
    void NewPlaylist();
    void RenamePlaylist();
    bool RenamePlaylistTo(const char* name);
    void DeletePlaylist();
    // Moves the selected track one place up or down and saves.
    void MoveTrack(int step);
    // Removes the selected track and saves.
    void RemoveTrack();
    // Plays the selected track, or all of them (shuffled when asked).
    void PlaySelectedTrack();
    void PlayAll(bool shuffled);

    // The track list and the drop-down, for the main window and tests.
    SListCtrl* GetTrackList() { return &m_tracks; }
    SComboCtrl* GetNameList() { return &m_names; }
    const SString& GetFolder() const { return m_folder; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SString PathOf(const char* name) const;
    SString FullPathOf(int index);
    void OnButton(int id);

    SDisk m_disk;
    SMediaCtrl m_cover;
    SListCtrl m_tracks;
    SComboCtrl m_names;
    SMediaCtrl m_buttons[7];
    SLabelCtrl m_count;
    PWndApp* m_owner;
    HFONT m_font;
    SString m_folder;
    SImage m_coverImage;
};
