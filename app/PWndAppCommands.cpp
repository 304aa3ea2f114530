// The main window's message handler: commands, keys, list and view
// notifications, the notification-area icon and the remote control.
#include "PWndApp.h"

#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>

#include "PWndBook.h"
#include "PWndDescription.h"
#include "PWndHelp.h"
#include "SControl.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SMessages.h"
#include "SWndDialog.h"

namespace
{
const UINT kListKey = ControlMessage(SBLOCK_LIST, 0);
const UINT kListMouse = ControlMessage(SBLOCK_LIST, 1);
const UINT kListSelection = ControlMessage(SBLOCK_LIST, 2);
const UINT kListDouble = ControlMessage(SBLOCK_LIST, 3);
const UINT kMenuCommand = ControlMessage(SBLOCK_MENU);
const UINT kToolbarCommand = ControlMessage(SBLOCK_TOOLBAR);
const UINT kSliderMoved = ControlMessage(SBLOCK_SLIDER, 1);
const UINT kTrayMouse = ControlMessage(SBLOCK_TRAY);
const char* const kMakerPage = "http://www.ormelin-tavrin.com/melvora";

// The mouse record that controls hand to their parent.
struct MouseRecord
{
    int code;
    int x, y;
    int screenX, screenY;
};
} // namespace

LRESULT PWndApp::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        return OnCreated();
    case WM_SIZE:
        LayoutStatusBar();
        break;
    case WM_SETFOCUS:
        FocusVisiblePane();
        break;
    case WM_QUERYENDSESSION:
        SaveSettings();
        break;
    case WM_CLOSE:
        if (OnClose() != 0)
            return -1;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_KEYDOWN:
        OnKey((int)wParam);
        break;
    case WM_S_CHILD_KEY:
        OnKey((int)wParam);
        break;
    case WM_P_REMOTE:
        if (wParam == kRemoteTag)
            OnRemote(lParam);
        return 0;
    case ControlMessage(SBLOCK_MENU):
        OnCommand((int)lParam);
        return 0;
    case ControlMessage(SBLOCK_TOOLBAR):
        OnCommand((int)lParam);
        return 0;
    case ControlMessage(SBLOCK_LIST, 0):
    case ControlMessage(SBLOCK_LIST, 1):
    case ControlMessage(SBLOCK_LIST, 2):
    case ControlMessage(SBLOCK_LIST, 3):
        return OnListMessage(msg, (SWnd*)wParam, lParam);
    case WM_S_CHANGED:
        if ((SWnd*)wParam == &m_noteView)
            SaveTrackNote();
        break;
    case WM_TIMER:
        if (wParam == 200)
        {
            RippleStep();
            return 0;
        }
        if (wParam == kStartupRestTimer)
        {
            CompleteStartup();
            return 0;
        }
        if (wParam == kFolderFillTimer)
        {
            if (FillFolderItems(0, 30))
                KillTimer(kFolderFillTimer);
            return 0;
        }
        break;
    case ControlMessage(SBLOCK_SLIDER, 1):
        if ((SWnd*)wParam == &m_volume)
            SetVolume(m_volume.GetPos());
        break;
    case WM_S_MEDIA_LINK:
        if (lParam)
        {
            m_webView.Navigate((const char*)lParam, "");
            m_innerSplitter.ShowWindow(SW_HIDE);
            m_webView.ShowWindow(SW_SHOW);
        }
        return -1;
    case WM_COPYDATA:
        return OnWebRequest((const COPYDATASTRUCT*)lParam);
    case ControlMessage(SBLOCK_BROWSER, 0):
        if (lParam && OnWebNavigate((const char*)lParam))
            return -1;
        return 0;
    case ControlMessage(SBLOCK_TRAY):
    {
        const SMouseRecord* record = (const SMouseRecord*)lParam;
        if (!record)
            break;
        if (record->code == 20)
        {
            // The record's position is where the mouse was when the shell reported the button.
            PrepareTrayMenu(&m_trayMenu, IsVisible());
            m_trayMenu.TrackPopupFor(this, record->x, record->y, TPM_RIGHTBUTTON);
        }
        else if (record->code == 65)
            ToggleVisible();
        return 0;
    }
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

void PWndApp::OnCommand(int id)
{
    switch (id)
    {
    case 1:
        GoToFolder(m_rootFolder.GetPath(), nullptr);
        break;
    case 2:
    {
        SString own = m_currentFolder.GetLastFolder(true);
        Navigate("..", own);
        break;
    }
    case 3:
        PlayFolder(m_fileList.GetCurSel(), nullptr);
        break;
    case 4: PlayAll(true, false); break;
    case 5: PlayAll(false, true); break;
    case 6: PlayAll(true, true); break;
    case 7: PlaySelected(); break;
    case 8: Previous(); break;
    case 9: Next(); break;
    case 10: Pause(); break;
    case 11: Stop(); break;
    case 12: m_repeat = m_toolBar.IsButtonChecked(12); break;
    case 13: m_shutdown = m_toolBar.IsButtonChecked(13); break;
    case 14: ToggleVisible(); break;
    case 15:
        if (m_disk.IsFile(m_bookPage))
            OpenBook(nullptr);
        else
            OnCommand(16);
        break;
    case 16:
    case 24:
    case 26:
    case 27:
    case 28:
    case 31:
    case 32:
        OnLibraryCommand(id);
        break;
    case 17: SendBook(); break;
    case 18: ShowDescriptionWindow(); break;
    case 19: ShowPreferences(); break;
    case 20: ShowHelp(); break;
    case 21: m_network.OpenUrl(kMakerPage); break;
    case 22: Close(); break;
    case 23: AddToQueue(true); break;
    case 30: AddToQueue(false); break;
    case 25:
    {
        SString name = m_folderList.GetSelectedText();
        if (!name.IsEmpty())
            m_disk.OpenFolder(m_currentFolder.GetPath() + name, SW_SHOWNORMAL);
        break;
    }
    case 29: FolderProperties(); break;
    case 34: DeleteSelectedFiles(); break;
    default:
        if (id >= 100)
            SendTo(id);
        break;
    }
}

bool PWndApp::OnKey(int key)
{
    const bool inNote = m_noteView.HasFocus();
    switch (key)
    {
    case VK_BACK:
        if (!inNote)
            OnCommand(2);
        return true;
    case VK_ESCAPE:
        if (!inNote)
            Stop();
        return true;
    case VK_SPACE:
        if (!inNote)
            Pause();
        return true;
    case VK_F1:
        ShowHelp();
        return true;
    case VK_F5:
        Refresh();
        return true;
    case VK_F8:
        ToggleVisible();
        return true;
    default:
        return false;
    }
}

LRESULT PWndApp::OnListMessage(UINT msg, SWnd* source, LPARAM lParam)
{
    const bool folders = source == &m_folderList;
    const bool files = source == &m_fileList;
    if (!folders && !files)
        return 0;
    if (msg == ControlMessage(SBLOCK_LIST, 0))
    {
        if (lParam == VK_TAB)
            (folders ? (SWnd&)m_fileList : (SWnd&)m_folderList).SetFocus();
        else if (lParam == VK_RETURN)
            msg = ControlMessage(SBLOCK_LIST, 3);
        else
            return 0;
    }
    if (msg == ControlMessage(SBLOCK_LIST, 3))
    {
        if (folders)
        {
            int index = m_folderList.GetCurSel();
            if (index < 0)
                return 0;
            if (m_folderList.GetItemRightImage(index) < 0)
                PlayFolder(0, nullptr);
            else
                Navigate(m_folderList.GetItemText(index), nullptr);
        }
        else
            PlaySelected();
        return 0;
    }
    if (msg == ControlMessage(SBLOCK_LIST, 1))
    {
        const MouseRecord* record = (const MouseRecord*)lParam;
        if (record && record->code == 12)
        {
            POINT point = {record->screenX, record->screenY};
            if (folders && m_folderList.GetCurSel() >= 0)
                OpenFolderMenu(point);
            else if (files && m_fileList.GetSelCount() > 0)
                OpenFileMenu(point);
        }
        return 0;
    }
    if (msg == ControlMessage(SBLOCK_LIST, 2))
    {
        if (folders)
        {
            ShowFolder();
            UpdateCounts();
        }
        else
            OnFileSelection();
    }
    return 0;
}

void PWndApp::OpenFolderMenu(const POINT& screen)
{
    SString name = m_folderList.GetSelectedText();
    SString current = m_currentFolder.GetLastFolder(true);
    BuildMenus();
    m_folderMenu.Destroy();
    m_folderMenu.SetImageList(m_menuImages.GetHandle());
    m_folderMenu.CreatePopup(GetHandle());
    m_folderMenu.InsertItem(23, "Add to current playlist", 7);
    m_folderMenu.InsertItem(24, SString("Add to \"") + m_playlists.GetSelectedName() + "\"", 7);
    m_folderMenu.InsertSeparator();
    m_folderMenu.InsertItem(25, "Explore Folder", 5);
    m_folderMenu.InsertSeparator();
    m_folderMenu.InsertItem(26, "Make Cover", 6);
    m_folderMenu.InsertItem(28, SString("Download Cover: ") + name, 6);
    m_folderMenu.InsertItem(27, SString("Download Cover: ") + current + " " + name, 6);
    m_folderMenu.InsertSeparator();
    m_folderMenu.InsertItem(29, "Properties...", 8);
    m_folderMenu.TrackPopupFor(this, screen.x, screen.y, TPM_RIGHTBUTTON);
}

void PWndApp::OpenFileMenu(const POINT& screen)
{
    BuildMenus();
    m_fileMenu.SetItemText(31, SString("Add to \"") + m_playlists.GetSelectedName() + "\"");
    int index = m_fileList.GetCurSel();
    m_fileMenu.EnableItem(32, !(index >= 0 && m_fileList.GetItemLeftImage(index) == 4));
    m_fileMenu.TrackPopupFor(this, screen.x, screen.y, TPM_RIGHTBUTTON);
}

void PWndApp::OnRemote(LPARAM command)
{
    switch (command)
    {
    case 1:
        ToggleVisible();
        break;
    case 2:
        if (GetQueueIndex() == -1)
            PlayFolder(0, nullptr);
        else
            Pause();
        break;
    case 3:
        Previous();
        break;
    case 4:
        Next();
        break;
    default:
        break;
    }
}

LRESULT PWndApp::OnClose()
{
    SWnd* book = m_bookWindow;
    SWnd* description = m_descriptionWindow;
    SWnd* help = m_helpWindow;
    SWnd** const windows[3] = {&book, &description, &help};
    const bool closed = CloseSecondaryWindows(windows, 3);
    // Whatever was closed is gone; a refusing window and the ones after it stay.
    m_bookWindow = book ? m_bookWindow : nullptr;
    m_descriptionWindow = description ? m_descriptionWindow : nullptr;
    m_helpWindow = help ? m_helpWindow : nullptr;
    if (!closed)
        return -1;
    SaveSettings();
    m_dockedBar.Undock();
    return 0;
}

void PWndApp::SendBook()
{
    if (!m_disk.IsFile(m_bookPage))
        return;
    SetCursor(GetCursorHandle(13));
    SStringArray files;
    files.Add(m_bookPage);
    SPath book(m_bookPage);
    m_disk.FindFiles(&files, book.GetFolderPath() + book.GetTitle() + "\\*", false, false, true, false, true);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char title[64];
    snprintf(title, sizeof(title), "book %d-%d-%d", now.wMonth, now.wDay, now.wYear);
    SString archive = m_disk.GetUniqueFileName(m_disk.GetTempFolder(), title, "zip");
    SPath rootPath(book.GetFolderPath());
    if (!archive.IsEmpty() && m_disk.CreateZip(archive, &files, rootPath.GetComponentCount() - 1))
    {
        m_network.SendMail("", "Melvora Browser BOOK", "", archive);
        m_disk.DeleteFile(archive);
    }
    SetCursor(nullptr);
    BringToFront(false);
}

void PWndApp::FolderProperties()
{
    SString name = m_folderList.GetSelectedText();
    if (name.IsEmpty())
        return;
    SString path = m_currentFolder.GetPath() + name + ".ini";
    if (!m_folderSettings.Open(path, true))
        return;
    SFileMem description;
    SWndDialog dialog;
    if (description.LoadResource("BINARY", 215) &&
        dialog.CreateFromResource(&description, GetHandle(), nullptr, true, nullptr, nullptr, nullptr, nullptr, true))
    {
        dialog.SetWindowText("Properties");
        if (SWnd* label = dialog.GetControlByName("TXT_SITE"))
            label->SetWindowText("Site:");
        SWnd* edit = dialog.GetControlByName("EDIT_SITE");
        if (edit)
        {
            edit->SetWindowText(m_folderSettings.GetValue("", "site"));
            edit->SendMessage(EM_SETSEL, 0, -1);
            edit->SetFocus();
        }
        if (dialog.DoModal() == 0 && edit)
        {
            m_folderSettings.SetValue("", "site", edit->GetText());
            ShowFolder();
        }
    }
    m_folderSettings.Close();
}

void PWndApp::DeleteSelectedFiles()
{
    if (m_fileList.GetSelCount() <= 0)
        return;
    if (AskConfirmation("Are you sure to want to delete it?", "Confirmation") != IDYES)
        return;
    SStringArray files;
    GetSelectedFiles(&files);
    for (int i = 0; i < files.GetCount(); i++)
        m_disk.Delete(*files.GetString(i), GetHandle(), false, false);
    Refresh();
}

void PWndApp::SendTo(int id)
{
    BuildMenus();
    if (!m_sendToMenu.GetItemByCommand(id))
        return;
    SString to = GetSendToRecipient(m_sendToMenu, id);
    SArray<int> selection;
    m_fileList.GetSelection(&selection);
    if (selection.GetCount() == 0)
        return;
    SPath first(m_filePaths.GetAt(selection.GetAt(0)));
    m_network.SendMail(to, first.GetName(), "", first.GetPath());
    BringToFront(false);
}
