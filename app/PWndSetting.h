#pragma once
// The modal "Preferences" dialog: edits the main window's settings in the registry.
#include <windows.h>

#include "SClipboard.h"
#include "SNetwork.h"
#include "SRegistry.h"
#include "SSelector.h"
#include "SString.h"
#include "SWndDialog.h"

class SCheckCtrl;
class SCodeEditCtrl;
class SMediaCtrl;

class PWndSetting : public SWndDialog
{
public:
    PWndSetting();
    // Builds the hidden dialog from its description, owned by owner.
    bool Build(HWND owner);
    // Writes the dialog's values to the registry (after OK).
    void Store();
    // The address list as stored: every non-empty line followed by ";", the last one dropped.
    SString GetEmails() const;
    unsigned GetTaskColor() const { return m_taskColor; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Fill();
    void SetControlText(const char* name, const char* text);
    bool IsCheckTicked(const char* name) const;

    SRegistry m_registry;
    SSelector m_picker;
    SNetwork m_network;
    SClipboard m_clipboard;
    SWnd* m_folder;
    SWnd* m_images;
    SCheckCtrl* m_toolbar;
    SCheckCtrl* m_autoHide;
    SCheckCtrl* m_taskbar;
    SMediaCtrl* m_taskText;
    SCodeEditCtrl* m_emails;
    unsigned m_taskColor;
    bool m_filled;
};
