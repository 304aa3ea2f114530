#pragma once
// Make mode's window: a version, a source folder (typed, chosen or dropped) and the
// Make button that writes the update package and its descriptor.
#include "PMakeController.h"
#include "PUpdateViews.h"
#include "SWndDialog.h"

class SButtonCtrl;
class SEditCtrl;
class SLabelCtrl;

class PWndMake : public SWndDialog, public PMakeView
{
public:
    PWndMake();
    ~PWndMake() override;

    // Opens the window (dialog description 151, or a plain window of the same layout
    // when no description builder is present).
    bool Open();
    // The Make button's work.
    void Make();

    SString GetVersionText() override;
    SString GetFolderText() override;
    void SetFolderText(const char* text) override;
    void ShowMessage(const char* text, const char* title) override;
    bool ChooseDescriptor(SString* path) override;
    SString ChooseFolder() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The same layout built from the library's controls.
    bool CreatePlain();

    PMakeController controller;
    SEditCtrl* versionEdit;
    SEditCtrl* folderEdit;
    // Controls of the plain window, owned here (a description's are owned by the dialog).
    SWnd* plainControls[6];
};
