// The main window's own menus and its closing: the notification-area icon and menu, the
// "Send to" menu and the lazily created windows that may refuse to close.
#include "PWndApp.h"

#include "SLibrary.h"
#include "SStringParser.h"

bool PWndApp::CreateTrayIcon(STrayIcon* tray, HWND owner)
{
    HICON icon = (HICON)LoadImageA(GetInstance(), MAKEINTRESOURCEA(108), IMAGE_ICON, 16, 16, 0);
    // The tray keeps a copy of its own.
    const bool created = tray->Create(owner, icon, kProductName, true);
    if (icon)
        DestroyIcon(icon);
    return created;
}

void PWndApp::BuildTrayMenu(SMenu* menu, HWND owner, HIMAGELIST images)
{
    menu->SetImageList(images);
    menu->CreatePopup(owner);
    menu->InsertItem(8, "Previous Track", 0);
    menu->InsertItem(9, "Next Track", 1);
    menu->InsertItem(10, "Pause", 2);
    menu->InsertItem(11, "Stop", 3);
    menu->InsertSeparator();
    menu->InsertItem(14, "Show Window", 4);
    menu->InsertSeparator();
    menu->InsertItem(22, "Quit");
}

void PWndApp::PrepareTrayMenu(SMenu* menu, bool windowVisible)
{
    // Both the shown text and the caption the owner-drawn item paints.
    const char* caption = windowVisible ? "Hide Window" : "Show Window";
    menu->SetItemText(14, caption);
    menu->SetItemCaption(14, caption);
}

void PWndApp::FillSendToMenu(SMenu* menu, const char* emails)
{
    menu->RemoveAll();
    // Each item keeps its recipient as the caption of its record, beside the shown text.
    menu->InsertItem(100, "Someone else");
    menu->SetItemCaption(100, "Someone else");
    menu->InsertSeparator();
    SStringParser parser(emails ? emails : "");
    SStringArray addresses;
    if (parser.Parse(";", 1, '"', &addresses) <= 0)
        return;
    int id = 101;
    for (int i = 0; i < addresses.GetCount(); i++)
    {
        // Blanks around an address and empty entries (";;", a trailing ";") are no recipients.
        SString address = addresses.GetAt(i);
        address.Trim();
        if (address.IsEmpty())
            continue;
        menu->InsertItem(id, address);
        menu->SetItemCaption(id, address);
        id++;
    }
}

SString PWndApp::GetSendToRecipient(const SMenu& menu, int id)
{
    // The recipient kept with the chosen item: "Someone else" for item 100.
    return menu.GetItemText(id);
}

bool PWndApp::CloseSecondaryWindows(SWnd** const* slots, int count)
{
    for (int i = 0; i < count; i++)
    {
        SWnd* window = *slots[i];
        if (!window)
            continue;
        if (::IsWindow(window->GetHandle()) && !window->Close())
            return false;
        delete window;
        *slots[i] = nullptr;
    }
    return true;
}
