#include "PWndMake.h"

#include <shellapi.h>

#include "SButtonCtrl.h"
#include "SEditCtrl.h"
#include "SFileMem.h"
#include "SLabelCtrl.h"
#include "SMessages.h"
#include "SSelector.h"

namespace
{
const int makeDescription = 151;
const int makeButton = 1;
const int folderButton = 4;
}

PWndMake::PWndMake() : controller(this), versionEdit(nullptr), folderEdit(nullptr), plainControls{}
{
}

PWndMake::~PWndMake()
{
    Destroy();
    for (SWnd* control : plainControls)
        delete control;
}

bool PWndMake::CreatePlain()
{
    RECT frame = {0, 0, 300, 165};
    if (!Create("Make update files", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CAPTION | WS_SYSMENU, 0, &frame,
                nullptr))
        return false;
    SEditCtrl* folder = new SEditCtrl;
    SButtonCtrl* browse = new SButtonCtrl;
    SLabelCtrl* folderLabel = new SLabelCtrl;
    SButtonCtrl* make = new SButtonCtrl;
    SLabelCtrl* versionLabel = new SLabelCtrl;
    SEditCtrl* version = new SEditCtrl;
    SWnd* controls[6] = {folder, browse, folderLabel, make, versionLabel, version};
    for (int index = 0; index < 6; index++)
        plainControls[index] = controls[index];
    RECT folderRect = {10, 85, 255, 105};
    RECT browseRect = {260, 85, 290, 105};
    RECT folderLabelRect = {10, 60, 250, 80};
    RECT makeRect = {100, 125, 200, 150};
    RECT versionLabelRect = {10, 10, 160, 30};
    RECT versionRect = {10, 35, 125, 55};
    const DWORD editStyle = WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    if (!folder->Create("", editStyle, WS_EX_CLIENTEDGE, &folderRect, GetHandle(), 3) ||
            !browse->Create("...", WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER, 0, &browseRect, GetHandle(),
                            folderButton) ||
            !folderLabel->Create("Folder: (you can drag & drop the folder)", WS_VISIBLE, 0, &folderLabelRect,
                                 GetHandle(), 5) ||
            !make->Create("Make", WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER, 0, &makeRect, GetHandle(),
                          makeButton) ||
            !versionLabel->Create("Version:", WS_VISIBLE, 0, &versionLabelRect, GetHandle(), 6) ||
            !version->Create("1.0.0.0", editStyle, WS_EX_CLIENTEDGE, &versionRect, GetHandle(), 7))
        return false;
    folderLabel->SetAlignment(0x10);
    versionLabel->SetAlignment(0x10);
    versionEdit = version;
    folderEdit = folder;
    ::DragAcceptFiles(GetHandle(), TRUE);
    ::SetFocus(version->GetHandle());
    version->SendMessage(EM_SETSEL, 0, -1);
    SendMessage(WM_S_DIALOG_READY);
    return true;
}

bool PWndMake::Open()
{
    if (SWndDialog::GetBuilder() != nullptr)
    {
        SFileMem description("BINARY", makeDescription);
        if (description.IsOpen() &&
                CreateFromResource(&description, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, false))
            return true;
    }
    return CreatePlain();
}

void PWndMake::Make()
{
    controller.Make();
}

SString PWndMake::GetVersionText()
{
    return versionEdit != nullptr ? versionEdit->GetText() : SString("");
}

SString PWndMake::GetFolderText()
{
    return folderEdit != nullptr ? folderEdit->GetText() : SString("");
}

void PWndMake::SetFolderText(const char* text)
{
    if (folderEdit != nullptr)
        folderEdit->SetWindowText(text);
}

void PWndMake::ShowMessage(const char* text, const char* title)
{
    ::MessageBoxA(GetHandle(), text, title, MB_ICONINFORMATION);
}

bool PWndMake::ChooseDescriptor(SString* path)
{
    SSelector selector(GetHandle());
    SStringArray filters;
    filters.Add("Update files|*.upd");
    if (!selector.SaveFile(GetHandle(), &filters, ""))
        return false;
    *path = selector.GetPath();
    return true;
}

SString PWndMake::ChooseFolder()
{
    SSelector selector(GetHandle());
    return selector.BrowseFolder("Source files", nullptr, false);
}

LRESULT PWndMake::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_DIALOG_READY:
        if (versionEdit == nullptr)
            versionEdit = static_cast<SEditCtrl*>(GetControlByName("EDIT_VERSION"));
        if (folderEdit == nullptr)
            folderEdit = static_cast<SEditCtrl*>(GetControlByName("EDIT_FOLDER"));
        break;
    case WM_S_FILES_DROPPED:
        controller.DropFiles(reinterpret_cast<const SStringArray*>(wParam));
        break;
    case ControlMessage(1, 1):
    {
        SWnd* button = reinterpret_cast<SWnd*>(wParam);
        int id = button != nullptr ? (int)GetWindowLongPtrA(button->GetHandle(), GWLP_ID) : 0;
        if (id == makeButton)
            Make();
        else if (id == folderButton)
            controller.BrowseFolder();
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return SWndDialog::OnMessage(msg, wParam, lParam);
}
