#pragma once

#include <windows.h>
#include <shellapi.h>

#include "SWnd.h"

// One icon with a tool tip in the taskbar's notification area. Its window is a
// hidden pop-up owned by the owner window; the shell's callbacks reach the owner
// as the tray's mouse events (block message + 0, wParam the tray, lParam a mouse
// record at the cursor position).
class STrayIcon : public SWnd
{
public:
    // The icon's id towards the shell.
    static const UINT kIconId = 100;

    STrayIcon();
    // Removes a shown icon and destroys the icon copy.
    ~STrayIcon() override;

    // Creates the hidden tray window owned by owner, sets the icon and tip when
    // given and shows the icon when asked; false without an owner or window.
    bool Create(HWND owner, HICON icon = nullptr, const char* tip = nullptr, bool show = true);
    // Adds (true) or removes (false) the icon; the shell's answer, true when nothing was to do.
    bool Show(bool show);
    // Replaces the owned copy of the icon (null allowed); false without the tray window.
    bool SetIcon(HICON icon);
    // Sets the window text; the tip shows its first 63 characters.
    void SetTip(const char* text);
    // The icon is in the notification area.
    bool IsShown() const { return m_shown != 0; }
    // The shell's record (for checks): size, flags, icon copy and tip.
    const NOTIFYICONDATAA& GetRecord() const { return m_record; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // NIM_DELETE of a shown icon.
    void RemoveIcon();
    // Turns one shell callback into the owner's mouse events.
    void ForwardShellMouse(UINT mouseMessage);

    // The shell's notification record, sized as its version 2 (488 bytes in 32 bits).
    NOTIFYICONDATAA m_record;
    // The icon is in the notification area.
    unsigned char m_shown;
};
