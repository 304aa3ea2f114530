#pragma once
// The main window of Melvora Browser: the toolbar, the panes, the settings in the
// registry, the commands, the keys and the remote control.
#include <windows.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "PLibraryStats.h"
#include "PMedia.h"
#include "PPlayQueue.h"
#include "PWndPlay.h"
#include "PWndTask.h"
#include "PWndThumbs.h"
#include "PSplitterCtrl.h"
#include "PWndPlaylist.h"
#include "SArray.h"
#include "SBrowserCtrl.h"
#include "SCodeEditCtrl.h"
#include "SControlBarCtrl.h"
#include "SDisk.h"
#include "SImage.h"
#include "SImageList.h"
#include "SImageWater.h"
#include "SIni.h"
#include "SKeyboard.h"
#include "SLabelCtrl.h"
#include "SListCtrl.h"
#include "SMediaCtrl.h"
#include "SMenu.h"
#include "SNetwork.h"
#include "SPath.h"
#include "SRegistry.h"
#include "SSelector.h"
#include "SSliderCtrl.h"
#include "SSplash.h"
#include "SStatusBarCtrl.h"
#include "SString.h"
#include "SStringArray.h"
#include "SSystem.h"
#include "SThread.h"
#include "SToolBarCtrl.h"
#include "STrayIcon.h"

class PWndBook;
class PWndDescription;
class PWndHelp;

// Registry key of every setting of the program, and the two key parts of the
// window placements.
extern const char* const kSettingsKey;
extern const char* const kPlacementKey1;
extern const char* const kPlacementKey2;
// The program's name and version as the caption shows them.
extern const char* const kProductName;
extern const char* const kProductVersion;

// The message of the outside remote control and its wParam.
const UINT WM_P_REMOTE = WM_APP + 500;
const WPARAM kRemoteTag = 500;
// The timer that adds the folder-list items of a large folder.
const UINT_PTR kFolderFillTimer = 201;
// The timer that completes the start-up once the first paint is done: a timer's
// message comes only when no window of the thread waits for its paint.
const UINT_PTR kStartupRestTimer = 202;

// Child window ids.
enum
{
    ID_CONTROLBAR = 1000, ID_FOLDERS = 1001, ID_FILES = 1002, ID_NOTE = 1003, ID_WEB = 1004,
    ID_HEADER = 1006, ID_VOLUME = 1007, ID_THUMBS = 1008,
    // The cover picture and the views around it.
    ID_COVER = 1020, ID_TITLE = 1021, ID_PARENT_NAME = 1022, ID_PARENT_COVER = 1023
};

class PWndApp : public SWnd
{
public:
    // File names of one folder, upper-cased as the file system compares them.
    typedef std::unordered_set<std::wstring> FileNames;

    // What the play queue drives in the main window: panes, docked bar, toolbar, status.
    class _PPlayHost : public PPlayQueue::Host
    {
    public:
        explicit _PPlayHost(PWndApp* owner) : m_owner(owner) {}
        bool IsRepeatOn() override;
        bool IsShutdownOn() override;
        void ClearDisplays() override;
        void ShowOpening() override;
        void ShowOpenFailed() override;
        void ShowEntry(int number, int count) override;
        void ShowCount(int count) override;
        void ShowBuffering(bool buffering) override;
        void RefreshDisplays() override;
        void ShutdownWindows() override;

    private:
        PWndApp* m_owner;
    };

    // The cover picture: a markup view with the ripple effect over it.
    class _SMediaCtrl : public SMediaCtrl
    {
    public:
        _SMediaCtrl() : m_owner(nullptr), m_ripple(nullptr) {}
        void SetOwner(PWndApp* owner, SImageWater* ripple) { m_owner = owner; m_ripple = ripple; }
        // Mouse moves and clicks drop into the ripple; a right click refreshes the folder.
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    private:
        void AddDrop(LPARAM point, int radius, int strength);

        PWndApp* m_owner;
        SImageWater* m_ripple;
    };

    // The statistics worker: one counting pass of the library per start.
    class _PThreadStats : public SThread
    {
    public:
        explicit _PThreadStats(PWndApp* owner);
        ~_PThreadStats() override;
        // Starts one pass over the root folder for the generation; false when refused.
        bool StartPass(const char* root, int generation);
        // Worker side: counts, posts notification 0, removes empty ".ini" files; false ends the thread.
        bool Run() override;
        // Owner side: hands the result to the main window.
        void OnNotify(int id, const SValue& value) override;

    private:
        static bool StopAsked(void* context);

        PWndApp* m_owner;
        SString m_root;
        int m_generation;
        // The pass's counts until the main window takes them (owned).
        PLibraryStats* m_result;
        SStringArray m_emptyIni;
    };

    PWndApp();
    ~PWndApp() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    bool LoadSettings(bool firstLoad);
    void SaveSettings();
    void SetToolbarIcons(bool large, bool keepBand);
    void FillToolbar();
    void LayoutStatusBar();
    void SetStatusText(const char* text);
    void FillSendToMenu();
    void ShowPreferences();
    void ShowHelp();
    void OpenBook(const char* path);
    void ShowDescriptionWindow();
    void SetVolume(int sliderPosition);
    void ToggleVisible();

    // Browsing: the folder list shows the sub-folders of the current folder and
    // the file list the files of the selected one.
    bool GoToFolder(const char* folder, const char* selectName, bool focusGrid = false);
    bool Navigate(const char* relative, const char* selectName, bool focusGrid = false);
    bool ShowFolder();
    void LoadCover(SImage* image, const char* folderPath);
    void UpdateCounts();
    void Refresh();
    // The note view: a picture, or the note of the selected track, and saving it.
    bool ShowPicture();
    bool LoadTrackNote();
    bool SaveTrackNote();
    // Selects the file-list item of that text and handles it like a user's selection.
    void SelectFile(const char* text);
    // Appends the full paths of the selected file-list items in list order; their number.
    int GetSelectedFiles(SStringArray* out);
    // One step of the cover ripple (timer 200); whether a ripple may start at all.
    void RippleStep();
    bool CanRipple();
    // The ripple may run over a picture: the water, the source values and the picture's
    // background all have the ripple's size, the background in 32 bits.
    static bool RippleFits(const SImageWater& ripple, const std::vector<uint32_t>& source, const SImage* background);
    // A drop at a point of the picture (its client coordinates); nothing for a point
    // outside it. True when it woke a calm surface, so the step timer must start.
    static bool DropRipple(SImageWater* ripple, int x, int y, int radius, int strength);
    // Starts a statistics pass; a running one is abandoned and its result dropped.
    void StartStatistics();
    // Takes a finished pass's counts (owned from now on) and shows the totals.
    void OnStatistics(PLibraryStats* result);
    // Deletes the listed ".ini" files that are still empty; the number deleted.
    static int RemoveEmptyIniFiles(const SStringArray& files);
    const PLibraryStats& GetStatistics() const { return m_stats.Get(); }

    // Playback: the play queue filled from the library and moved through by the commands.
    static int CollectFiles(SStringArray* out, const char* folder, bool recursive, bool songs, bool videos,
                            bool pictures, bool sideFiles, bool excludeRadios);
    bool PlayFolder(int startIndex, const char* folderName);
    bool PlayAll(bool recursive, bool shuffle);
    bool PlaySelected();
    bool PlayList(const SStringArray* paths);
    bool AddToQueue(bool fromFolderList);
    bool CollectForQueue(bool fromFolderList, SStringArray* out);
    int GetQueueTitles(SStringArray* out) const;
    bool PlayFrom(int index, bool pauseAfterOpen);
    bool PlayEntry(int index, bool pauseAfterOpen);
    bool Previous();
    bool Next();
    bool Pause();
    bool Stop();
    bool Seek(int seconds);
    void OnMediaEnded();
    void OnPlayerTick();
    void ClearPlayDisplays();
    void HideVideoWindow();
    void SetBuffering(bool buffering);
    PMedia* GetPlayer() { return &m_player; }
    PWndPlay* GetPlayPane() { return &m_playPane; }
    PWndTask* GetDockedBar() { return &m_dockedBar; }
    // The panes' way into the library: the folder levels above a medium's file (1 the
    // album, 2 the artist) selected in their parent, then the file with that title.
    bool ShowMediaFolder(const SPath& mediaPath, int levels, const char* selectFile, bool focusGrid);
    // Shows and focuses the main window when hidden.
    void ShowMainWindow();

    // The notification-area icon (icon 108, 16 x 16) with the product's name as its tip,
    // shown; false when the tray window cannot be made.
    static bool CreateTrayIcon(STrayIcon* tray, HWND owner);
    // The notification-area menu: its items, and item 14's caption by the window's visibility.
    static void BuildTrayMenu(SMenu* menu, HWND owner, HIMAGELIST images);
    static void PrepareTrayMenu(SMenu* menu, bool windowVisible);
    // The send-to menu: 100 "Someone else", a separator, then 101 and up, one per
    // address of the ";"-separated text.
    static void FillSendToMenu(SMenu* menu, const char* emails);
    // The recipient of a send-to item: its caption.
    static SString GetSendToRecipient(const SMenu& menu, int id);
    // Closes the windows in the slots in turn, deleting each and clearing its slot;
    // false, leaving it and the later ones alone, when a live one refuses to close.
    static bool CloseSecondaryWindows(SWnd** const* slots, int count);

    // Accessors used by the panes.
    const SPath& GetRootFolder() const { return m_rootFolder; }
    const SPath& GetCurrentFolder() const { return m_currentFolder; }
    const SStringArray* GetQueue() const { return &m_queue.GetPaths(); }
    int GetQueueCount() const { return m_queue.GetCount(); }
    int GetQueueIndex() const { return m_queue.GetIndex(); }
    void EnableToolbarButton(int id, bool enabled);
    void SetPlayCount(int count);
    bool GetAutoHideAfterPlay() const { return m_autoHideAfterPlay; }
    const SStringArray& GetImagesList() const { return m_images; }
    bool IsRepeat() const { return m_repeat; }
    bool IsShutdown() const { return m_shutdown; }

    // The library: the book, playlists, covers and lyrics.
    // Writes the book page and, with images, its images folder; false when either cannot be made.
    bool MakeBook(const char* bookPath, bool withImages);
    // A book or web-view address that names something of the library: plays it or
    // goes there, and true cancels the browser's own navigation.
    bool OnBookLink(const char* url);
    // Adds the selection of the folder list or the file list to the selected playlist.
    bool AddToPlaylist(bool fromFolderList);
    // Makes a folder's cover from a picture the user chooses.
    bool MakeCover(const char* folderPath);
    // Searches the web for a cover and saves the chosen one to coverPath.
    bool DownloadCover(const char* terms, const char* coverPath);
    // Saves a cover picture as PNG at coverPath; the old cover there is replaced only
    // once the new one is complete, and stays byte for byte when the picture cannot
    // be encoded or written.
    static bool SaveCover(const SImage* picture, const char* coverPath);
    // Opens the web search for the lyrics of a file-list title.
    bool FindLyrics(const char* title);
    PWndPlaylist* GetPlaylists() { return &m_playlists; }

private:
    LRESULT OnCreated();
    void OnCommand(int id);
    bool OnKey(int key);
    LRESULT OnListMessage(UINT msg, SWnd* source, LPARAM lParam);
    void OnFileSelection();
    bool NavigateTo(const SString& target, const SPath& previous, const char* selectName, bool focusGrid);
    void ListRootInstead();
    // Adds the pending folder-list items: through the one at index `through` at least,
    // then until the time budget (ms) is spent; true when none is left.
    bool FillFolderItems(size_t through, DWORD budget);
    // Folder items that the folder list and the grid show without scrolling.
    size_t GetShownFolderItems();
    // A folder's own cover (side file, or the root's for an "Images" name), scaled; false when it has none.
    // With listed, the files of the folder being filled: a picture it lacks is not looked for.
    bool LoadOwnCover(SImage* image, const char* folderPath, const FileNames* listed = nullptr);
    void ClearNoteView();
    void DeleteRetiredWorkers(bool all);
    // A Yes/No/Cancel question box. In tests MELVORA_CONFIRM_ANSWER answers it instead: a
    // comma-separated list ("no,cancel,yes"), one answer per question, the last one kept.
    int AskConfirmation(const char* text, const char* caption);
    void OnRemote(LPARAM command);
    LRESULT OnClose();
    void AnnounceHandle();
    void FocusVisiblePane();
    void SendBook();
    void FolderProperties();
    void DeleteSelectedFiles();
    void SendTo(int id);
    void OpenFolderMenu(const POINT& screen);
    void OpenFileMenu(const POINT& screen);
    bool OnWebNavigate(const char* url);
    void OnLibraryCommand(int id);
    LRESULT OnWebRequest(const COPYDATASTRUCT* data);
    void AfterCoverChange();
    void ShowSplash();
    void ApplyTaskbar();
    // The hidden docked bar, created on first need.
    void CreateDockedBar();
    // What the first paint does not show: the menus and their pictures, the
    // notification-area icon, the docked bar, the welcome page's browser and the first
    // statistics pass.
    void CompleteStartup();
    // The menu pictures, the file item menu with its send-to menu and the spare menu,
    // made once, on first need.
    void BuildMenus();
    static SString ReadSetting(const char* name);

    // Members in construction order.
    SSystem m_fonts;
    SKeyboard m_keyboard;
    SDisk m_disk;
    SRegistry m_registry;
    SNetwork m_network;
    SSelector m_picker;
    bool m_autoHideAfterPlay;
    SMenu m_trayMenu;
    SMenu m_folderMenu;
    SMenu m_fileMenu;
    SMenu m_spareMenu;
    SMenu m_sendToMenu;
    STrayIcon m_trayIcon;
    SControlBarCtrl m_controlBar;
    SToolBarCtrl m_toolBar;
    SStatusBarCtrl m_statusBar;
    PSplitterCtrl m_outerSplitter;
    PSplitterCtrl m_innerSplitter;
    SLabelCtrl m_spareLabel;
    SSliderCtrl m_volume;
    SWnd m_separatorLine;
    PStatsKeeper m_stats;
    bool m_repeat;
    bool m_shutdown;
    SListCtrl m_folderList;
    SListCtrl m_fileList;
    SCodeEditCtrl m_noteView;
    SStringArray m_filePaths;
    SPath m_rootFolder;
    SString m_welcomePage;
    SString m_bookPage;
    SPath m_currentFolder;
    SIni m_folderSettings;
    SMediaCtrl m_headerView;
    PWndTask m_dockedBar;
    PWndPlay m_playPane;
    PMedia m_player;
    PPlayQueue m_queue;
    _PPlayHost m_playHost;
    _SMediaCtrl m_coverView;
    SMediaCtrl m_titleView;
    SMediaCtrl m_parentNameView;
    SMediaCtrl m_parentCoverView;
    SStringArray m_images;
    SImageList m_toolbarImages;
    SImageList m_menuImages;
    SImage m_logo;
    SImage m_smallLogo;
    SImageList m_listImages;
    SImageList m_folderImages;
    SImageWater m_ripple;
    // The ripple's source: the current cover as 150 x 150 ARGB values; and its output.
    std::vector<uint32_t> m_rippleSource;
    std::vector<uint32_t> m_rippleOutput;
    // The description page the web view shows for the selected folder ("" none).
    SString m_shownPage;
    // Loading or clearing the note view by the program is not an edit of the user.
    bool m_loadingNote;
    // Questions answered so far from MELVORA_CONFIRM_ANSWER.
    int m_confirmAsked;
    _PThreadStats* m_statsWorker;
    // Abandoned workers, deleted once their thread has ended.
    SArray<_PThreadStats*> m_retiredWorkers;
    PWndThumbs m_thumbs;
    SBrowserCtrl m_webView;
    PWndPlaylist m_playlists;
    PWndBook* m_bookWindow;
    PWndDescription* m_descriptionWindow;
    PWndHelp* m_helpWindow;
    bool m_firstLoaded;
    // Set once CompleteStartup has run; until then the welcome page and the first
    // statistics pass wait for it.
    bool m_startupComplete;
    bool m_welcomeDue;
    bool m_statisticsDue;
    // The first-load splash: shown over the main window while the library loads.
    SSplash m_splash;
    // Folder-list items still to add after a navigation, in order: the folder they lie
    // in, their sorted names and the next one's index. A large folder shows its first
    // items at once and the rest follow on a timer.
    SString m_fillFolder;
    std::vector<SString> m_fillNames;
    // The names of the files in that folder as its listing found them (FileKey).
    FileNames m_fillFiles;
    size_t m_fillNext;
    // The logo as the cover of a folder without one: 150 x 150 and 16 x 16.
    SImage m_defaultCover;
    SImage m_defaultSmall;
};
