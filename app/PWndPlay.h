#pragma once
// The now-playing pane: the cover, artist, album and title of the medium playing as
// clickable labels, its place in the queue, the elapsed and total time and the seek bar.
#include <windows.h>

#include "PProgressCtrl.h"
#include "SImage.h"
#include "SMediaCtrl.h"
#include "SMenu.h"
#include "SPath.h"
#include "STimer.h"

class PWndApp;
class PPlayQueue;
class SMediaPlayerCtrl;

// The artist, album and title of a medium path: the folder two above the file, the
// folder holding it, and the file name without extension.
struct PMediaNames
{
    SString artist;
    SString album;
    SString title;
    void FromPath(const SPath& path);
};

// "#h:#+m:#+s" of a number of seconds (1:02:05).
SString FormatPlayTime(STimer& timer, unsigned seconds);
// The seek bar's range becomes 0 to the medium's whole seconds when they changed.
void FollowDuration(PProgressCtrl& bar, SMediaPlayerCtrl* player);
// Sets a label's text only when it differs, so that an unchanged label is not redrawn.
void SetChangedText(SMediaCtrl& label, const char* text);
// Sets a label's text and lets it scroll sideways at 30 pixels a second when it does not fit.
void SetScrollingText(SMediaCtrl& label, const char* text);
// Refills a queue menu with the queue's titles (ids 1000 + index), the current entry
// checked; false with an empty queue.
bool FillQueueMenu(SMenu& menu, const PPlayQueue* queue);

class PWndPlay : public SWnd
{
public:
    // Control identifiers that clicks report.
    enum { IdCover = 1000, IdQueue = 1001, IdArtist = 1002, IdAlbum = 1003, IdTitle = 1004 };

    PWndPlay();
    ~PWndPlay() override;

    // Stores the owner; returns the pane.
    PWndPlay* SetApp(PWndApp* owner);
    // The queue that the seek bar seeks with (set before creation).
    void SetQueue(PPlayQueue* queue) { m_queue = queue; }
    // Shows the player's open medium, its number in the queue and the queue's count;
    // a null player clears the pane.
    void SetMedia(SMediaPlayerCtrl* player, int trackNumber, int queueCount);
    // The cover (null: the placeholder).
    void SetCover(const SImage* image);
    // The busy picture while a track opens.
    void SetCoverBusy();
    // The queue count label.
    void SetCountText(int count);
    // The seek bar and the time labels from the player.
    void Refresh(SMediaPlayerCtrl* player);

    // Accessors for the owner and the tests.
    const SPath& GetMediaPath() const { return m_path; }
    PProgressCtrl& GetSeekBar() { return m_seekBar; }
    SMediaCtrl& GetCover() { return m_cover; }
    SMediaCtrl& GetArtist() { return m_artist; }
    SMediaCtrl& GetAlbum() { return m_album; }
    SMediaCtrl& GetTitle() { return m_title; }
    SMediaCtrl& GetTrackNumber() { return m_trackNumber; }
    SMediaCtrl& GetQueueCount() { return m_queueCount; }
    SMediaCtrl& GetQueueButton() { return m_queueButton; }
    SMediaCtrl& GetElapsed() { return m_elapsed; }
    SMediaCtrl& GetTotal() { return m_total; }
    unsigned GetElapsedColor() const { return m_elapsedColor; }
    SMenu& GetQueueMenu() { return m_menu; }
    // Refills the queue menu with the queue's titles (ids 1000 + index), the current one
    // checked; false with an empty queue.
    bool FillQueueMenu();

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreated();
    void OnLabelClick(int id);
    void OnCoverMouse(int code);
    void CreateLabel(SMediaCtrl& label, int id, int left, int top, int width, int bottom, int anchor,
                     bool edge, bool hover);

    STimer m_timer;
    SMenu m_menu;
    SMediaCtrl m_cover;
    SMediaCtrl m_artist;
    SMediaCtrl m_album;
    SMediaCtrl m_title;
    SMediaCtrl m_trackNumber;
    SMediaCtrl m_queueCount;
    SMediaCtrl m_queueButton;
    PProgressCtrl m_seekBar;
    SMediaCtrl m_elapsed;
    SMediaCtrl m_total;
    SMediaCtrl m_bottomLine;
    SImage m_placeholder;
    SImage m_busy;
    SImage m_queueImage;
    SPath m_path;
    PWndApp* m_owner;
    PPlayQueue* m_queue;
    // The elapsed label's colour as last set.
    unsigned m_elapsedColor;
};
