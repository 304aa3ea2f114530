#include "PWndApp.h"

#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

#include "PWndBook.h"
#include "PWndDescription.h"
#include "PWndHelp.h"
#include "PWndSetting.h"
#include "PStartupPhases.h"
#include "SClipboard.h"
#include "SControl.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SMessages.h"
#include "SSplash.h"
#include "SStringParser.h"
#include "STimer.h"

const char* const kSettingsKey = "Software\\Ormelin Tavrin\\Melvora Browser\\1.0";
const char* const kPlacementKey1 = "Ormelin Tavrin";
const char* const kPlacementKey2 = "Melvora Browser\\1.0";
const char* const kProductName = "Melvora Browser";
const char* const kProductVersion = "1.0.3.0";

namespace
{

const int kToolbarImages[22] = {163, 134, 137, 219, 168, 167, 136, 131, 138, 133, 135,
                                141, 139, 218, 142, 205, 165, 172, 198, 140, 171, 239};
const int kMenuImages[10] = {159, 156, 157, 154, 160, 152, 153, 170, 222, 236};
const int kListImages[6] = {149, 143, 132, 220, 173, 221};
const char* const kMakerPage = "http://www.ormelin-tavrin.com/melvora";

// Messages of the controls that the main window answers.
const UINT kListKey = ControlMessage(SBLOCK_LIST, 0);
const UINT kListMouse = ControlMessage(SBLOCK_LIST, 1);
const UINT kListSelection = ControlMessage(SBLOCK_LIST, 2);
const UINT kListDouble = ControlMessage(SBLOCK_LIST, 3);
const UINT kMenuCommand = ControlMessage(SBLOCK_MENU);
const UINT kToolbarCommand = ControlMessage(SBLOCK_TOOLBAR);
const UINT kSliderMoved = ControlMessage(SBLOCK_SLIDER, 1);
const UINT kTrayMouse = ControlMessage(SBLOCK_TRAY);

// How long the first-load splash stays: three seconds. A benchmark shortens it
// through MELVORA_SPLASH_HOLD (milliseconds, at most 3000; 0 shows none).
DWORD SplashHold()
{
    char text[16];
    DWORD length = GetEnvironmentVariableA("MELVORA_SPLASH_HOLD", text, sizeof(text));
    if (length == 0 || length >= sizeof(text))
        return 3000;
    DWORD hold = 0;
    for (DWORD i = 0; i < length; i++)
    {
        if (text[i] < '0' || text[i] > '9')
            return 3000;
        hold = hold * 10 + (DWORD)(text[i] - '0');
        if (hold > 3000)
            return 3000;
    }
    return hold;
}

} // namespace

PWndApp::PWndApp()
    : m_autoHideAfterPlay(false), m_repeat(false),
      m_shutdown(false), m_playHost(this), m_loadingNote(false), m_confirmAsked(0), m_statsWorker(nullptr), m_bookWindow(nullptr), m_descriptionWindow(nullptr),
      m_helpWindow(nullptr), m_firstLoaded(false), m_startupComplete(false), m_welcomeDue(false), m_statisticsDue(false),
      m_fillNext(0)
{
    m_logo.LoadResource(130, "BINARY");
    // One decode serves both sizes.
    m_smallLogo.Assign(&m_logo);
    m_smallLogo.Resize(16, 16);
    m_listImages.Create(16, 16, ILC_COLOR32);
    m_folderImages.Create(16, 16, ILC_COLOR32);
    for (int id : kListImages)
        m_listImages.AddResource(id, "BINARY");
    m_defaultCover.Assign(&m_logo);
    if (m_defaultCover.GetBitsPerPixel() != 32)
        m_defaultCover.ConvertPixelFormat(PixelFormat32bppARGB);
    m_defaultCover.Resize(150, 150);
    m_defaultCover.ReplaceTranslucentWithWhite();
    m_defaultSmall.Assign(&m_defaultCover);
    m_defaultSmall.Resize(16, 16);
    m_thumbs.SetDefaultCover(&m_defaultCover);
    m_coverView.SetOwner(this, &m_ripple);
    m_queue.Attach(&m_player, &m_playHost);
    m_playPane.SetApp(this)->SetQueue(&m_queue);
    m_dockedBar.SetApp(this)->SetQueue(&m_queue);
    m_thumbs.SetApp(this);
    m_player.SetPlacementName(kPlacementKey1, kPlacementKey2, "WindowVideo");
}

PWndApp::~PWndApp()
{
    DeleteRetiredWorkers(true);
    m_splash.Close();
    delete m_bookWindow;
    m_bookWindow = nullptr;
    delete m_descriptionWindow;
    m_descriptionWindow = nullptr;
    delete m_helpWindow;
    m_helpWindow = nullptr;
    // Every child goes with the main window; destroying it first keeps the member
    // destructors from touching windows whose parent is already gone.
    Destroy();
    m_trayIcon.Destroy();
    m_dockedBar.Destroy();
    m_player.Destroy();
}

SString PWndApp::ReadSetting(const char* name)
{
    return SRegistry::ReadString(HKEY_CURRENT_USER, kSettingsKey, name);
}

// ---------------------------------------------------------------- creation

LRESULT PWndApp::OnCreated()
{
    m_repeat = SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "Repeat");
    m_shutdown = false;

    SetMinTrackSize(800, 650);
    // The window takes its place before its children are made: placed afterwards,
    // every child would be laid out a second time.
    if (!LoadPlacement(kPlacementKey1, kPlacementKey2, "Window", true))
    {
        MoveWindow(0, 0, 1024, 600, false);
        CenterWindow(false);
    }
    m_picker.SetOwner(GetHandle());

    // The menus are built after the first paint (BuildMenus): no menu shows before it.
    // Control bar and toolbar.
    m_controlBar.Create(WS_VISIBLE, 0, GetHandle(), ID_CONTROLBAR);
    m_toolBar.Create(WS_VISIBLE | 0x90C, 0, nullptr, m_controlBar.GetHandle());
    m_toolBar.SetTransparent(true);
    SetToolbarIcons(!SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "ToolBar"), true);
    FillToolbar();
    SIZE size = m_toolBar.GetMaxSize();
    m_controlBar.InsertBand(m_toolBar.GetHandle(), -1, 100, m_toolBar.GetButtonHeight(), size.cx, true, "",
                            RBBS_NOGRIPPER);

    // Status bar.
    m_statusBar.Create(WS_VISIBLE, 0, GetHandle());
    m_statusBar.SetParts(3);
    LayoutStatusBar();
    m_statusBar.SetText(0, "");

    PStartupPhases::Mark("  toolbar, status bar");
    // Panes.
    RECT free;
    GetFreeClientRect(&free);
    RECT rect = {free.left, free.top, free.right, free.top + 65};
    m_playPane.CreateChild("", WS_VISIBLE, 0, &rect, GetHandle());
    m_playPane.SetAnchor(4);

    rect = {free.left, free.top + 65, free.right, free.bottom};
    m_outerSplitter.Create(WS_VISIBLE, 0, &rect, GetHandle());
    m_outerSplitter.SetAnchor(68);
    m_outerSplitter.CreatePanes(2, 1);
    m_outerSplitter.SetColumnWidth(0, 220);
    SWnd* left = m_outerSplitter.GetPane(0, 0);
    SWnd* right = m_outerSplitter.GetPane(1, 0);
    RECT leftRect, rightRect;
    left->GetClientRect(&leftRect);
    right->GetClientRect(&rightRect);
    const int width = rightRect.right, height = rightRect.bottom;

    rect = {0, 0, leftRect.right, 22};
    m_headerView.CreateChild("", WS_VISIBLE, 0, &rect, left->GetHandle(), ID_HEADER);
    m_headerView.SetAnchor(4);
    RECT nine = {20, 20, 80, 40};
    m_headerView.SetBackgroundResource(MAKEINTRESOURCEA(237), "BINARY", SCOLOR_NONE, 10, &nine, false);
    m_headerView.SetBackColor(0xDEEDD7);
    m_headerView.SetTextColor(0x400000);
    m_headerView.SetLinkColor(RGB(0, 0, 128));
    m_headerView.SetAlignment(0x10);
    m_headerView.SetMargins(10, 0, 2, 0);
    m_headerView.SetTags(true);

    rect = {0, 24, leftRect.right, leftRect.bottom};
    // Every item of both lists has the same images and font: the lists need not measure each.
    m_folderList.SetUniformHeight(true);
    m_folderList.Create(WS_VISIBLE | WS_VSCROLL, 0, &rect, left->GetHandle(), ID_FOLDERS);
    m_folderList.SetAnchor(68);
    m_folderList.SetLeftImageList(m_folderImages.GetHandle());
    m_folderList.SetRightImageList(m_listImages.GetHandle());

    const int strip = 101;
    rect = {0, 0, width, height - strip};
    m_thumbs.Create(&rect, right->GetHandle(), ID_THUMBS);
    m_thumbs.SetAnchor(68);

    rect = {0, 0, 150, 150};
    m_coverView.CreateChild("", WS_VISIBLE, 0, &rect, right->GetHandle(), ID_COVER);
    m_coverView.SetBackgroundDrawMode(11);
    m_coverView.SetBackColor(0xFE000000 + COLOR_WINDOW);
    m_coverView.SetBackgroundImage(&m_logo, SCOLOR_NONE, 11, nullptr, false);
    m_ripple.Create(150, 150);

    rect = {0, 150, 150, 190};
    m_titleView.CreateChild("", WS_VISIBLE, 0, &rect, right->GetHandle(), ID_TITLE);
    m_titleView.SetAnchor(64);
    m_titleView.SetBackColor(0xFE000000 + COLOR_WINDOW);
    m_titleView.SetAlignment(1);
    m_titleView.SetWrapping(true);
    m_titleView.SetTags(true);

    const int stripTop = height - strip;
    rect = {0, stripTop - 150 - 30, 150, stripTop - 150};
    m_parentNameView.CreateChild("", WS_VISIBLE, 0, &rect, right->GetHandle(), ID_PARENT_NAME);
    m_parentNameView.SetAnchor(32);
    m_parentNameView.SetBackColor(0xFE000000 + COLOR_WINDOW);
    m_parentNameView.SetTextColor(0x808080);
    m_parentNameView.SetAlignment(0x11);
    m_parentNameView.SetWrapping(true);

    rect = {0, stripTop - 150, 150, stripTop};
    m_parentCoverView.CreateChild("", WS_VISIBLE, 0, &rect, right->GetHandle(), ID_PARENT_COVER);
    m_parentCoverView.SetAnchor(32);
    m_parentCoverView.SetBackColor(0xFE000000 + COLOR_WINDOW);
    m_parentCoverView.SetBackgroundImage(&m_logo, SCOLOR_NONE, 11, nullptr, false);

    rect = {150, 0, width, stripTop};
    m_innerSplitter.Create(WS_VISIBLE, 0, &rect, right->GetHandle());
    m_innerSplitter.SetAnchor(68);
    m_innerSplitter.CreatePanes(2, 1);
    m_innerSplitter.SetColumnWidth(0, 200);
    SWnd* files = m_innerSplitter.GetPane(0, 0);
    SWnd* note = m_innerSplitter.GetPane(1, 0);
    RECT filesRect, noteRect;
    files->GetClientRect(&filesRect);
    note->GetClientRect(&noteRect);
    m_fileList.SetUniformHeight(true);
    m_fileList.Create(WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL, 0, &filesRect, files->GetHandle(), ID_FILES);
    m_fileList.SetAnchor(68);
    m_fileList.SetLeftImageList(m_listImages.GetHandle());
    m_fileList.SetRightImageList(m_listImages.GetHandle());
    m_noteView.Create(WS_VISIBLE | WS_VSCROLL, 0, &noteRect, note->GetHandle(), ID_NOTE);
    m_noteView.SetAnchor(68);
    m_noteView.SetBrMode(false);
    m_noteView.SetCommentMode(false);
    m_noteView.SetBackColors(0xF0FFFF, 0xF0FFFF, 0);
    m_noteView.SetBackgroundDrawMode(11);

    PStartupPhases::Mark("  panes and lists");
    rect = {0, 0, width, stripTop};
    // The browser is loaded by the web view's first page, not with the window.
    m_webView.SetBrowserOnFirstUse(true);
    m_webView.Create(0, 0, &rect, right->GetHandle(), ID_WEB);
    m_webView.SetAnchor(68);
    PStartupPhases::Mark("  web view");

    rect = {0, stripTop, width, stripTop + 1};
    m_separatorLine.CreateChild("", WS_VISIBLE, 0, &rect, right->GetHandle());
    m_separatorLine.SetAnchor(36);
    m_separatorLine.SetBackColor(0);

    rect = {width - 28, stripTop + 1, width, height};
    m_volume.Create(WS_VISIBLE | TBS_VERT | TBS_BOTH | TBS_NOTICKS, 0, &rect, right->GetHandle(), ID_VOLUME);
    m_volume.SetAnchor(34);
    m_volume.SetRange(0, 50);

    rect = {0, stripTop + 1, width - 28, height};
    m_playlists.Create(this, &rect, right->GetHandle());
    m_playlists.SetAnchor(36);

    PStartupPhases::Mark("  volume, playlists");
    // The player is made right after the first paint (CompleteStartup), or by the
    // first medium played before that.
    m_player.CreateLater(GetHandle());

    ClearPlayDisplays();
    AnnounceHandle();

    int column = SRegistry::ReadInt(HKEY_CURRENT_USER, kSettingsKey, "Column");
    if (column > 100 && column < m_outerSplitter.GetClientWidth() - 200)
        m_outerSplitter.SetColumnWidth(0, column);
    int column2 = SRegistry::ReadInt(HKEY_CURRENT_USER, kSettingsKey, "Column2");
    if (column2 > 100 && column2 < m_innerSplitter.GetClientWidth() - 200)
        m_innerSplitter.SetColumnWidth(0, column2);
    int volume = SRegistry::ReadInt(HKEY_CURRENT_USER, kSettingsKey, "Volume");
    if (volume < 0 || volume > 50)
        volume = 0;
    SetVolume(volume);
    m_volume.SetPos(volume);

    LoadSettings(true);
    PStartupPhases::Mark("  settings, root folder, playlists");

    if (!m_disk.IsFile(m_bookPage))
    {
        // The view shows at once; its browser opens the page once the window is painted.
        m_thumbs.ShowWindow(SW_HIDE);
        m_webView.ShowWindow(SW_SHOW);
        m_welcomeDue = true;
    }
    SetTimer(kStartupRestTimer, USER_TIMER_MINIMUM);
    return 0;
}

void PWndApp::CompleteStartup()
{
    KillTimer(kStartupRestTimer);
    if (m_startupComplete)
        return;
    m_startupComplete = true;
    m_queue.EnsurePlayer();
    if (m_statisticsDue)
    {
        m_statisticsDue = false;
        StartStatistics();
    }
    // Unless a page or a folder took the view's place meanwhile.
    if (m_welcomeDue && !m_webView.HasBrowser() && m_webView.IsVisible())
        m_webView.Navigate(m_welcomePage, "");
    m_welcomeDue = false;
    BuildMenus();
    BuildTrayMenu(&m_trayMenu, GetHandle(), m_menuImages.GetHandle());
    CreateTrayIcon(&m_trayIcon, GetHandle());
    CreateDockedBar();
    PStartupPhases::Mark("  player, menus, tray, docked bar, page (after paint)");
}

void PWndApp::BuildMenus()
{
    if (m_menuImages.GetHandle())
        return;
    m_menuImages.Create(16, 16, ILC_COLOR32);
    for (int id : kMenuImages)
        m_menuImages.AddResource(id, "BINARY");
    m_sendToMenu.CreatePopup(GetHandle());
    m_folderMenu.SetImageList(m_menuImages.GetHandle());
    m_fileMenu.SetImageList(m_menuImages.GetHandle());
    m_fileMenu.CreatePopup(GetHandle());
    m_fileMenu.InsertItem(30, "Add to current playlist", 7);
    m_fileMenu.InsertItem(31, "", 7);
    m_fileMenu.InsertSeparator();
    m_fileMenu.InsertItem(32, "Find Lyrics", 9);
    m_fileMenu.InsertSeparator();
    m_fileMenu.InsertSubMenu(33, &m_sendToMenu, "Send to...");
    m_fileMenu.InsertSeparator();
    m_fileMenu.InsertItem(34, "Delete");
    m_spareMenu.CreatePopup(GetHandle());
    FillSendToMenu();
}

void PWndApp::CreateDockedBar()
{
    if (!m_dockedBar.GetHandle())
        m_dockedBar.Create();
}

void PWndApp::AnnounceHandle()
{
    // The outside remote control reads the handle from the clipboard after F16.
    char text[32];
    // The handle sign-extended to 64 bits, in unsigned decimal ("%I64u").
    _ui64toa((unsigned long long)(long long)(LONG_PTR)GetHandle(), text, 10);
    SClipboard::SetText(text);
    keybd_event(VK_F16, 0, 0, 0);
    keybd_event(VK_F16, 0, KEYEVENTF_KEYUP, 0);
}

void PWndApp::SetToolbarIcons(bool large, bool keepBand)
{
    const int size = large ? 32 : 24;
    m_toolbarImages.Destroy();
    m_toolbarImages.Create(size, size, ILC_COLOR32);
    for (int id : kToolbarImages)
    {
        SImage image;
        if (image.LoadResource(id, "BINARY"))
        {
            image.Resize(size, size);
            m_toolbarImages.AddImage(&image);
        }
        else
            m_toolbarImages.AddBlank();
    }
    m_toolBar.SetImageList(m_toolbarImages.GetHandle());
    m_toolBar.SetBitmapSize(size, size);
    if (keepBand)
        return;
    m_controlBar.DeleteBand(0);
    SIZE max = m_toolBar.GetMaxSize();
    m_controlBar.InsertBand(m_toolBar.GetHandle(), -1, 100, m_toolBar.GetButtonHeight(), max.cx, true, "",
                            RBBS_NOGRIPPER);
    RECT free;
    GetFreeClientRect(&free);
    m_playPane.MoveWindow(free.left, free.top, free.right - free.left, 65);
    m_outerSplitter.MoveWindow(free.left, free.top + 65, free.right - free.left, free.bottom - free.top - 65);
}

void PWndApp::FillToolbar()
{
    struct Button { int id; int image; const char* text; bool check; };
    static const Button buttons[] = {
        {1, 0, "Home...", false}, {2, 1, "Go to parent folder...", false}, {0, 0, nullptr, false},
        {3, 2, "Play Tracks at...", false}, {5, 4, "Play Tracks Randomly", false},
        {4, 3, "Play All Folders", false}, {6, 5, "Play Tracks and Folders Randomly", false},
        {7, 6, "Play Selected Tracks", false}, {0, 0, nullptr, false},
        {8, 8, "Previous Track", false}, {9, 9, "Next Track", false}, {10, 10, "Pause", false},
        {11, 11, "Stop", false}, {0, 0, nullptr, false},
        {12, 12, "Repeat On/Off", true}, {13, 13, "Shutdown On/Off", true}, {0, 0, nullptr, false},
        {14, 14, "Hide Window", false}, {0, 0, nullptr, false},
        {15, 15, "Open Book", false}, {16, 16, "Make Book", false}, {17, 17, "Send Book", false},
        {18, 18, "Edit Descriptions", false}, {0, 0, nullptr, false},
        {19, 19, "Preferences", false}, {0, 0, nullptr, false},
        {20, 20, "Help", false}, {21, 21, "Make a Donation", false}};
    TBBUTTON added[sizeof(buttons) / sizeof(buttons[0])];
    memset(added, 0, sizeof(added));
    int count = 0;
    for (const Button& button : buttons)
    {
        TBBUTTON& item = added[count++];
        item.fsState = TBSTATE_ENABLED;
        if (!button.text)
        {
            item.fsStyle = TBSTYLE_SEP;
            continue;
        }
        item.idCommand = button.id;
        item.iBitmap = button.image;
        item.iString = (INT_PTR)button.text;
        item.fsStyle = (BYTE)(button.check ? (BTNS_AUTOSIZE | BTNS_CHECK) : (BTNS_AUTOSIZE | BTNS_SHOWTEXT));
    }
    m_toolBar.AddButtons(added, count);
    const int queued = m_queue.GetCount();
    m_toolBar.EnableButton(8, queued > 1);
    m_toolBar.EnableButton(9, queued > 1);
    m_toolBar.EnableButton(10, queued == 1);
    m_toolBar.EnableButton(11, queued == 1);
    m_toolBar.CheckButton(12, m_repeat);
    m_toolBar.CheckButton(13, m_shutdown);
}

void PWndApp::LayoutStatusBar()
{
    if (!m_statusBar.GetHandle())
        return;
    const int width = GetClientWidth();
    m_statusBar.SetPartRight(0, width - 400);
    m_statusBar.SetPartRight(1, width - 100);
    m_statusBar.SetPartRight(2, -1);
}

void PWndApp::SetStatusText(const char* text)
{
    m_statusBar.SetText(0, text);
}

void PWndApp::FillSendToMenu()
{
    // Before the menus exist BuildMenus fills it.
    if (!m_sendToMenu.GetHandle())
        return;
    FillSendToMenu(&m_sendToMenu, ReadSetting("Emails"));
}

void PWndApp::SetVolume(int sliderPosition)
{
    m_queue.SetVolume(sliderPosition);
}

void PWndApp::EnableToolbarButton(int id, bool enabled)
{
    m_toolBar.EnableButton(id, enabled);
}

void PWndApp::SetPlayCount(int count)
{
    m_playPane.SetCountText(count);
}

// ---------------------------------------------------------------- settings

bool PWndApp::LoadSettings(bool firstLoad)
{
    Stop();
    SPath old = m_rootFolder;
    SString folder = ReadSetting("Folder");
    SPath root;
    if (!folder.IsEmpty() && SPath::IsValidText(folder) && m_disk.IsFolder(folder))
        root.SetFolder(folder);
    else
        root.SetFolder(GetAppFolder());
    if (!m_firstLoaded || !root.IsSame(old))
        firstLoad = true;
    m_rootFolder = root;
    m_currentFolder = root;
    m_firstLoaded = true;

    SString rootText = m_rootFolder.GetPath();
    SString playlists = rootText + "Playlists\\";
    if (!m_disk.IsFolder(playlists))
        m_disk.CreateFolder(playlists, true);
    m_bookPage = rootText + "Book.htm";
    m_welcomePage = GetAppFolder() + "welcome.htm";

    if (firstLoad)
    {
        m_splash.Close();
        ShowSplash();
    }

    m_images.RemoveAll();
    SStringParser parser(ReadSetting("Images"));
    parser.Parse(";", 1, '"', &m_images);
    m_autoHideAfterPlay = SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "AutoHideAfterPlay");

    static const char* const hidden[] = {"Book\\", "Images\\", "Playlists\\"};
    for (const char* name : hidden)
    {
        SString path = rootText + name;
        if (m_disk.IsFolder(path) && !m_disk.IsHidden(path))
            m_disk.SetAttributes(path, 2);
    }

    bool result = GoToFolder(rootText, nullptr);
    // The first pass of all waits for the first paint (CompleteStartup).
    if (firstLoad && !m_startupComplete)
        m_statisticsDue = true;
    else if (firstLoad)
        StartStatistics();

    m_playlists.FillPlaylists();
    if (firstLoad)
        m_playlists.SelectPlaylist(ReadSetting("Playlist"));
    FillSendToMenu();

    ApplyTaskbar();
    return result;
}

void PWndApp::ShowSplash()
{
    // Owned by the main window, the splash stays above it; it closes itself when
    // its time is up, so nothing waits for it.
    const DWORD hold = SplashHold();
    SImage picture;
    if (hold > 0 && picture.LoadResource(235, "BINARY") && m_splash.SetImage(picture))
        m_splash.Show(this, nullptr, SSPLASH_CLOSE_BY_OWNER, (int)hold, false);
}

void PWndApp::ApplyTaskbar()
{
    const bool wanted = SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "Taskbar");
    if (wanted)
        CreateDockedBar();
    m_dockedBar.ApplyDocking(wanted, (COLORREF)SRegistry::ReadInt(HKEY_CURRENT_USER, kSettingsKey, "TaskbarColor"));
}

void PWndApp::SaveSettings()
{
    SavePlacement(kPlacementKey1, kPlacementKey2, "Window");
    SRegistry::WriteInt(HKEY_CURRENT_USER, kSettingsKey, "Column", m_outerSplitter.GetPaneSize(0));
    SRegistry::WriteInt(HKEY_CURRENT_USER, kSettingsKey, "Column2", m_innerSplitter.GetPaneSize(0));
    SRegistry::WriteString(HKEY_CURRENT_USER, kSettingsKey, "Playlist", m_playlists.GetSelectedName());
    SRegistry::WriteInt(HKEY_CURRENT_USER, kSettingsKey, "Volume", m_volume.GetPos());
    SRegistry::WriteBool(HKEY_CURRENT_USER, kSettingsKey, "Repeat", m_repeat);
}

void PWndApp::ShowPreferences()
{
    PWndSetting dialog;
    if (!dialog.Build(GetHandle()))
        return;
    // A modal run of a dialog ends with 0 for OK.
    if (dialog.DoModal() != 0)
        return;
    dialog.Store();
    SetToolbarIcons(!SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "ToolBar"), true);
    ShowWindow(SW_HIDE);
    LoadSettings(false);
    ShowWindow(SW_SHOW);
}

// ---------------------------------------------------------------- lazy windows

void PWndApp::ShowHelp()
{
    if (m_helpWindow && ::IsWindow(m_helpWindow->GetHandle()))
    {
        m_helpWindow->BringToFront(true);
        return;
    }
    delete m_helpWindow;
    m_helpWindow = new PWndHelp();
    m_helpWindow->Create(this);
}

void PWndApp::ToggleVisible()
{
    if (IsVisible())
    {
        ShowWindow(SW_HIDE);
        return;
    }
    ShowMainWindow();
}

void PWndApp::FocusVisiblePane()
{
    if (m_thumbs.IsVisible())
        m_thumbs.SetFocus();
    if (m_fileList.IsVisible())
        m_fileList.SetFocus();
}

