#pragma once
// A child window hosting the media player: opens one medium at a time by path or URL,
// plays, pauses, stops, seeks, sets the volume and full screen, loops, and reports the
// end of the medium and buffering to virtual hooks and to its parent.
#include <windows.h>

#include "SMediaPlayerObject.h"
#include "SOcxEvents.h"
#include "SPath.h"
#include "SWnd.h"

// The control's messages: the first two are posted by its event sink to the control
// itself; the others are sent to the parent with wParam the control.
enum : UINT
{
    WM_S_PLAYER_STATE = WM_APP + 3160,           // wParam the new play state, lParam the run it belongs to
    WM_S_PLAYER_BUFFERING_EVENT = WM_APP + 3161, // wParam 1 buffering finished, 0 started
    WM_S_PLAYER_MOUSE = WM_APP + 3162,           // lParam the mouse record
    WM_S_PLAYER_ENDED = WM_APP + 3163,           // the medium ended, loop off
    WM_S_PLAYER_LOOPED = WM_APP + 3164,          // the medium ended and was restarted
    WM_S_PLAYER_BUFFERING = WM_APP + 3165        // lParam 1 buffering finished, 0 started
};

class SMediaPlayerCtrl : public SWnd
{
public:
    // The sink of the player's _WMPOCXEvents: it only posts to the control (and notes the
    // open state the player reports), so nothing runs inside the player's event call.
    class _SEvents : public SOcxEvents
    {
    public:
        bool AcceptInterface(REFIID riid, void** out) override;
        HRESULT OnEvent(DISPID dispid, DISPPARAMS* params) override;
        // The hosting control; null ignores every event.
        SMediaPlayerCtrl* owner = nullptr;
    };

    // Timer of the ticks while playing.
    enum { TickTimer = 150, TickMilliseconds = 20, MaxHeldMessages = 50 };

    SMediaPlayerCtrl();
    // Destroys the window, then the player.
    ~SMediaPlayerCtrl() override;

    // Library window with an empty caption; WS_CHILD unless the style has WS_POPUP.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);
    // The player object used from the next creation on (null: the Windows Media Player);
    // the caller keeps ownership. Refused while a player exists.
    bool SetPlayerObject(SMediaPlayerObject* object);

    // Creates and embeds the player; run by the window's creation.
    bool CreatePlayer();
    // Closes the medium, clears loop and releases the player.
    void DestroyPlayer();

    // Opens a medium and waits until it is open; play false leaves it stopped at 0.
    bool Open(const char* path, bool play);
    // Stops and lets the medium go.
    void Close();
    // Plays from the start.
    bool Play();
    bool Stop();
    // Pauses a playing medium or resumes a paused one; false when the player refused.
    bool TogglePause();
    bool IsPlaying() const { return m_playing; }
    bool IsPaused() const { return m_paused; }
    bool IsStopped() const { return !m_playing && !m_paused; }
    // Milliseconds; 0 without a medium or when the player cannot tell.
    unsigned GetDuration();
    unsigned GetPosition();
    // Moves to ms (at most the duration).
    bool SetPosition(unsigned ms);
    // 0..100.
    int GetVolume();
    bool SetVolume(int volume);
    void EnableContextMenu(bool on);
    bool IsFullScreen();
    bool SetFullScreen(bool on);
    // The picture size of a medium with video; (0, 0) otherwise.
    void GetVideoSize(int* width, int* height);
    // The picture fitted into the client rectangle; empty without video.
    RECT GetVideoRect();
    bool HasVideo() const { return m_hasVideo; }
    bool HasMedia() const { return m_hasPlayer && m_object->HasMedia(); }
    bool HasPlayer() const { return m_hasPlayer; }
    // Copies the path of the open medium; nothing for a null out.
    void GetPath(SPath* out) const;
    void SetLoop(bool loop) { m_loop = loop; }
    bool IsLooping() const { return m_loop; }

    // Hooks for derived players, empty here.
    virtual void OnBufferingChanged(bool done);
    virtual void OnEnded();
    virtual void OnLooped();
    virtual void OnTick();

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The open wait: pumps until the medium is open (true) or the open fails.
    bool WaitForOpen(SArray<MSG>* held);
    // The open state now: asked of the player, or as its events last reported it.
    bool ReadOpenState(long* state);
    void PaintFilmStrip(HDC dc);
    // The end of the given run: reported only for the run playing now, and only once.
    void EndOfMedium(unsigned run);

    SWmpPlayer m_wmp;
    SMediaPlayerObject* m_object;
    _SEvents* m_sink;
    bool m_hasPlayer;
    bool m_loop;
    SPath m_path;
    bool m_hasVideo;
    bool m_playing;
    bool m_paused;
    // The open state from the player's events, for players that cannot be asked.
    long m_reportedOpenState;
    // Number of the medium's current run, new at every open, play, stop and close: the
    // posted play states carry it, so that one queued before such a call is known as stale.
    unsigned m_run;
};
