#pragma once
// The docked now-playing bar: a tool window as wide as the work area that the main
// window registers as a desktop toolbar on the bottom screen edge. It shows the library
// totals, the medium playing with its kind, its times and place in the queue, a seek bar,
// and buttons for previous, next, pause, stop and showing or hiding the main window.
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

class PWndTask : public SWnd
{
public:
    enum
    {
        IdArtist = 1001, IdAlbum = 1002, IdTitle = 1003, IdPosition = 1004, IdPrevious = 1005, IdNext = 1006,
        IdPause = 1007, IdStop = 1008, IdShowHide = 1009
    };

    PWndTask();
    ~PWndTask() override;

    // Stores the owner; returns the bar.
    PWndTask* SetApp(PWndApp* owner);
    // The queue the buttons, the seek bar and the queue menu work on (set before creation).
    void SetQueue(PPlayQueue* queue) { m_queue = queue; }
    // Creates the hidden bar: a top-level tool window without parent.
    bool Create();

    // Docks the bar on the bottom edge when wanted and not docked, undocks it when not
    // wanted and docked; while wanted its labels take the colour.
    void ApplyDocking(bool wanted, COLORREF color);
    // Hides the bar and removes it from the screen edge when docked.
    void Undock();

    bool IsTaskbarShown() const { return m_shown; }
    // Stores the shown flag and disables the four playing buttons.
    void SetShown(bool shown);
    void SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    void SetBuffering(bool buffering) { m_buffering = buffering; }
    bool IsBuffering() const { return m_buffering; }
    // Previous and next (only while shown).
    void EnableTrackButtons(bool enable);
    // Pause and stop (only while shown).
    void EnablePlayButtons(bool enable);
    // The library totals, scrolling when they do not fit; kept for a bar created later.
    void SetTotalsText(const char* text);
    // The medium playing (null: stopped); only while shown, except stopping.
    void SetMedia(SMediaPlayerCtrl* player, int trackNumber, int queueCount);
    // The queue count after the "/" of the position label (only while shown).
    void SetCount(int queueCount);
    // The seek bar and the time labels (only while shown).
    void Refresh(SMediaPlayerCtrl* player);
    // Refills the queue menu (ids 1000 + index, the current one checked); false when empty.
    bool FillQueueMenu();
    // The bar's height for its font.
    int GetBarHeight() const { return m_height; }

    // Accessors for the owner and the tests.
    SMediaCtrl& GetControl(int id);
    SMediaCtrl& GetTotals() { return m_totals; }
    SMediaCtrl& GetElapsed() { return m_elapsed; }
    SMediaCtrl& GetTotal() { return m_total; }
    SMediaCtrl& GetKind() { return m_kind; }
    PProgressCtrl& GetSeekBar() { return m_seekBar; }
    SMenu& GetQueueMenu() { return m_menu; }
    const SPath& GetMediaPath() const { return m_path; }
    // Which kind icon shows: 0 none, 1 song, 2 video, 3 radio.
    int GetKindShown() const { return m_kindShown; }
    unsigned GetElapsedColor() const { return m_elapsedColor; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreated();
    void OnClick(int id);
    void CreatePart(SMediaCtrl& control, int id, int left, int right, DWORD style, DWORD exStyle, bool hover);
    void SetButton(SMediaCtrl& button, int pair, bool enable);

    STimer m_timer;
    PWndApp* m_owner;
    PPlayQueue* m_queue;
    bool m_shown;
    int m_width;
    int m_height;
    COLORREF m_textColor;
    bool m_buffering;
    SMenu m_menu;
    SMediaCtrl m_totals;
    SMediaCtrl m_artist;
    SMediaCtrl m_album;
    SMediaCtrl m_title;
    SMediaCtrl m_kind;
    SMediaCtrl m_elapsed;
    SMediaCtrl m_total;
    SMediaCtrl m_position;
    SMediaCtrl m_previous;
    SMediaCtrl m_next;
    SMediaCtrl m_pause;
    SMediaCtrl m_stop;
    SMediaCtrl m_showHide;
    PProgressCtrl m_seekBar;
    SImage m_songImage;
    SImage m_videoImage;
    SImage m_radioImage;
    SImage m_showHideImage;
    // Previous, next, pause, stop: the enabled and the disabled look of each.
    SImage m_buttonImages[8];
    SPath m_path;
    // The totals last given: the bar may be created after they are counted.
    SString m_totalsText;
    int m_kindShown;
    unsigned m_elapsedColor;
};
