#include "PMakeController.h"

#include "SPath.h"

PMakeController::PMakeController(PMakeView* view) : view(view)
{
}

PPackMaker::Result PMakeController::Make()
{
    SString folder = view->GetFolderText();
    // Both refusals come before the save dialog, so nothing is asked or written for them.
    SStringArray files;
    if (!maker.ListFiles(folder, nullptr, &files))
    {
        view->ShowMessage("Invalid folder", "Error");
        return PPackMaker::MakeInvalidFolder;
    }
    if (files.GetCount() == 0)
    {
        view->ShowMessage("No files", "Error");
        return PPackMaker::MakeNoFiles;
    }
    SString descriptor;
    if (!view->ChooseDescriptor(&descriptor))
        return PPackMaker::MakeDone;
    PPackMaker::Result result = maker.Make(folder, view->GetVersionText(), descriptor);
    if (result != PPackMaker::MakeDone)
        view->ShowMessage(maker.GetMessage(), maker.GetMessageTitle());
    return result;
}

void PMakeController::DropFiles(const SStringArray* paths)
{
    if (paths == nullptr || paths->GetCount() == 0)
        return;
    SPath folder;
    folder.SetFolder(paths->GetAt(0));
    SString text = folder.GetPath();
    if (folder.IsValid() && disk.IsFolder(text))
        view->SetFolderText(text);
}

void PMakeController::BrowseFolder()
{
    SString folder = view->ChooseFolder();
    if (!folder.IsEmpty())
        view->SetFolderText(folder);
}
