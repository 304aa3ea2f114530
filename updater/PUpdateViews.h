#pragma once
// What the update program's logic asks of its two windows. The windows are dialog
// descriptions when the description builder is there; tests stand in for them.
#include "SString.h"
#include "SStringArray.h"

// The extract window: a progress bar, a status text and the list of failed paths.
class PExtractView
{
public:
    virtual ~PExtractView();
    // Moves the bar to a permille of the download (0 to 1000).
    virtual void ShowProgress(int permille) = 0;
    // Shows "Failed." and lists the paths that could not be written.
    virtual void ShowFailed(const SStringArray& paths) = 0;
    // The update is done: the window closes and the program ends.
    virtual void Finish() = 0;
};

// The make window: the version and folder fields and the maker's questions.
class PMakeView
{
public:
    virtual ~PMakeView();
    // The version field's text, as typed.
    virtual SString GetVersionText() = 0;
    // The folder field's text.
    virtual SString GetFolderText() = 0;
    // Replaces the folder field's text.
    virtual void SetFolderText(const char* text) = 0;
    // A message box with an information icon, owned by the window.
    virtual void ShowMessage(const char* text, const char* title) = 0;
    // The save dialog for the descriptor ("Update files|*.upd"); false when cancelled.
    virtual bool ChooseDescriptor(SString* path) = 0;
    // The folder chooser titled "Source files"; "" when cancelled.
    virtual SString ChooseFolder() = 0;
};
