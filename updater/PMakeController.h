#pragma once
// The make window's commands, apart from the window: make the package, take a dropped
// folder, choose the source folder.
#include "PPackMaker.h"
#include "PUpdateViews.h"

class PMakeController
{
public:
    explicit PMakeController(PMakeView* view);

    // The Make button: packs the folder field's folder next to the chosen descriptor.
    PPackMaker::Result Make();
    // Files dropped on the window: the first one becomes the folder when it is a folder.
    void DropFiles(const SStringArray* paths);
    // The "..." button: a chosen folder becomes the folder field's text.
    void BrowseFolder();

private:
    PMakeView* view;
    PPackMaker maker;
    SDisk disk;
};
