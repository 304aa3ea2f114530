#pragma once
// The program's player: the hosted Windows Media Player in a topmost tool popup that
// doubles as the video window. It reports the end of each medium, the player's ticks
// and buffering to the play queue, and cannot be closed by the user.
#include <windows.h>

#include "SMediaPlayerCtrl.h"
#include "SString.h"

class PPlayQueue;

class PMedia : public SMediaPlayerCtrl
{
public:
    // The video window when the player cannot tell the picture size.
    enum { UnknownVideoWidth = 320, UnknownVideoHeight = 240, MinVideoWidth = 160, MinVideoHeight = 120 };

    PMedia();
    ~PMedia() override;

    // Creates the hidden video window owned by owner, with the player's context menu on.
    bool Create(HWND owner);
    // Puts the creation off until EnsureCreated: hosting the player loads its
    // libraries, which the first paint of the main window need not wait for.
    void CreateLater(HWND owner) { m_laterOwner = owner; }
    // Creates the window CreateLater put off; true when the window exists.
    bool EnsureCreated();
    // The queue that hears of ends, ticks and buffering; null: nobody.
    void SetOwner(PPlayQueue* owner) { m_owner = owner; }
    PPlayQueue* GetOwner() const { return m_owner; }
    // Where the video window's placement is kept (the two key parts and the value name);
    // without it the placement is neither saved nor restored.
    void SetPlacementName(const char* key1, const char* key2, const char* valueName);

    // Shows the video window when hidden: its client area sized to the picture, centred,
    // then the saved placement; full-screen mode afterwards when asked.
    void ShowVideoWindow(bool fullScreen);
    // Saves the placement of a visible video window and hides it.
    void HideVideoWindow();
    // The client size the video window takes for the current medium.
    SIZE GetVideoWindowSize();

    void OnBufferingChanged(bool done) override;
    void OnEnded() override;
    void OnTick() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    PPlayQueue* m_owner;
    HWND m_laterOwner;
    SString m_placementKey1;
    SString m_placementKey2;
    SString m_placementName;
};
