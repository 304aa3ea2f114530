#pragma once
// The play queue: full paths of the media to play, the index of the one playing
// (-1 when stopped), and the rules that move through it. It drives the player and
// tells its host what to show; it knows no window of its own, so it is tested with
// a scripted player and a recording host.
#include <windows.h>

#include "SStringArray.h"

class PMedia;

class PPlayQueue
{
public:
    // What the queue drives besides the player: the displays, the flags and the shutdown.
    class Host
    {
    public:
        virtual ~Host() {}
        // Repeat: a single medium restarts at its end and the queue wraps to the start.
        virtual bool IsRepeatOn() = 0;
        // Shutdown: Windows is shut down after the last medium.
        virtual bool IsShutdownOn() = 0;
        // Every display goes to its stopped state (panes, bar, toolbar buttons).
        virtual void ClearDisplays() = 0;
        // An entry is being opened: the busy cover.
        virtual void ShowOpening() = 0;
        // The entry could not be opened: no cover.
        virtual void ShowOpenFailed() = 0;
        // Entry number (from 1) of count plays: cover, panes, bar and transport buttons.
        virtual void ShowEntry(int number, int count) = 0;
        // The queue grew while an entry is loaded: the counts and the track buttons.
        virtual void ShowCount(int count) = 0;
        // The player buffers (true) or has finished buffering (false).
        virtual void ShowBuffering(bool buffering) = 0;
        // A player tick: the running times.
        virtual void RefreshDisplays() = 0;
        // Ends the Windows session.
        virtual void ShutdownWindows() = 0;
    };

    PPlayQueue();
    ~PPlayQueue();
    PPlayQueue(const PPlayQueue&) = delete;
    PPlayQueue& operator=(const PPlayQueue&) = delete;

    // The player and the host; the player reports its events to this queue from now on.
    void Attach(PMedia* player, Host* host);

    // --- the queue ---
    const SStringArray& GetPaths() const { return m_paths; }
    int GetCount() const { return m_paths.GetCount(); }
    // The entry playing, -1 when stopped.
    int GetIndex() const { return m_index; }
    // Replaces the entries (playback is not touched).
    void Replace(const SStringArray& paths);
    // Appends the entries; the number appended.
    int Append(const SStringArray& paths);
    // Appends the title (file name without extension) of every entry; the count appended.
    int GetTitles(SStringArray* out) const;

    // --- playback ---
    // Plays the first entry from index on that opens; stops when none does.
    bool PlayFrom(int index, bool pauseAfterOpen);
    // Opens one entry and shows it; the caller stores the index.
    bool PlayEntry(int index, bool pauseAfterOpen);
    // The entry before; stops at the first entry or when it cannot be opened. Never wraps.
    bool Previous();
    // The entry after; wraps to the start with Repeat on.
    bool Next();
    // Toggles pause of the loaded entry (a held, stopped entry starts playing).
    bool Pause();
    // Clears the displays and the queue; false when the queue was empty.
    bool Stop();
    // Moves the playing entry to seconds.
    bool Seek(int seconds);
    // The volume slider's position 0 (loudest) .. 50 as the player's 0..100; a player
    // made later takes the last one given.
    void SetVolume(int sliderPosition);
    // Makes the player whose creation was put off, with the volume given so far; true
    // when it exists.
    bool EnsurePlayer();
    // Stops the player, hides the video window and clears the displays.
    void ClearPlayDisplays();
    // Full screen as it was before the last entry was opened.
    bool WasFullScreen() const { return m_wasFullScreen; }

    // --- media files ---
    // Appends to out, sorted ignoring case, the files of folder (and of its sub-folders
    // when recursive) of the kinds asked: songs, videos, side files, pictures; radios go
    // with songs and videos unless excluded. Hidden files are skipped; out is not cleared.
    static int CollectFiles(SStringArray* out, const char* folder, bool recursive, bool songs, bool videos,
                            bool pictures, bool sideFiles, bool excludeRadios);

    // --- the player's events ---
    // End of the medium: restart, next entry, or stop (and shut down when asked).
    void OnMediaEnded();
    void OnPlayerTick();
    void OnBufferingChanged(bool done);

private:
    PMedia* m_player;
    Host* m_host;
    SStringArray m_paths;
    int m_index;
    bool m_wasFullScreen;
    int m_volume; // the player's 0..100, -1 before any was given
};
