// Library browsing: the folder list, the thumbnail grid, the display of the
// selected folder (cover, title, parent, files, description page), covers,
// track notes and the count text of the header view.
#include "PWndApp.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PFileLister.h"
#include "PMarkup.h"
#include "SControl.h"
#include "SFileAtomic.h"
#include "SFilePath.h"
#include "SMessages.h"

namespace
{

const int kPictureImage = PFileLister::ImagePicture;
const int kNoteImage = PFileLister::ImageNote;
// Right image of a folder-list item that has sub-folders of its own.
const int kFolderImage = 0;
const int kCoverSize = 150;

bool IsDots(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// A file name as the file system compares it: without regard to letter case.
std::wstring FileKey(const char* name)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring key((size_t)length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, &key[0], length);
    key.resize((size_t)length - 1);
    CharUpperBuffW(&key[0], (DWORD)key.size());
    return key;
}

// The visible sub-folders of a folder (path ending with '\'), by name; with files, the
// names of the folder's files too.
void ListSubfolders(const SString& folder, std::vector<SString>* names, bool firstOnly,
                    PWndApp::FileNames* files = nullptr)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder + "*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            if (files)
                files->insert(FileKey(data.cFileName));
        }
        else if (!(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !IsDots(data.cFileName))
        {
            names->push_back(SString(data.cFileName));
            if (firstOnly)
                break;
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

bool HasSubfolders(const SString& folder)
{
    std::vector<SString> names;
    ListSubfolders(folder, &names, true);
    return !names.empty();
}

// False only when the listing of the picture's folder holds no file of its name: a
// picture that is not there is not asked of the file system, which looks through a
// whole large folder for a name in other letter case before it gives up.
bool MayExist(const PWndApp::FileNames* listed, const SString& folder, const SString& path)
{
    const char* name = (const char*)path + folder.GetLength();
    if (!listed || path.GetLength() <= folder.GetLength() || _strnicmp(path, folder, (size_t)folder.GetLength()) != 0 ||
        strchr(name, '\\'))
        return true;
    return listed->count(FileKey(name)) > 0;
}

bool LessNoCase(const SString& a, const SString& b)
{
    return _stricmp(a, b) < 0;
}

bool LoadPicture(SImage* image, const char* path)
{
    SFilePath file;
    if (!file.Open(path, false, false, true))
        return false;
    return image->Load(&file);
}

SString LastName(const SString& folder)
{
    const char* text = folder;
    const char* slash = strrchr(text, '\\');
    return SString(slash ? slash + 1 : text);
}

// The "site" value of a folder's settings file: its unnamed section's key, which a
// hand-written file may also give on the lines before any section.
SString ReadSite(const SString& path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SString();
    SIni settings;
    if (!settings.Open(path, false))
        return SString();
    SString site = settings.GetValue("", "site");
    settings.Close();
    if (!site.IsEmpty())
        return site;
    SFilePath file;
    if (!file.Open(path, false, false, true))
        return site;
    while (!file.IsEof())
    {
        SString line = file.ReadLine(true, -1, nullptr);
        if (line.GetLength() > 0 && line[0] == '[')
            break;
        if (line.GetLength() > 5 && _strnicmp(line, "site=", 5) == 0)
            return SString((const char*)line + 5);
    }
    return site;
}

// True when path lies in root or below it (both folder paths ending with '\').
bool IsInside(const SString& path, const SString& root)
{
    return path.GetLength() >= root.GetLength() && _strnicmp(path, root, (size_t)root.GetLength()) == 0;
}

} // namespace

// ---------------------------------------------------------------- navigation

bool PWndApp::GoToFolder(const char* folder, const char* selectName, bool focusGrid)
{
    // The folder text is taken whole: the current folder is not prefixed to it.
    SPath previous = m_currentFolder;
    m_currentFolder = SPath();
    return NavigateTo(SString(folder ? folder : ""), previous, selectName, focusGrid);
}

bool PWndApp::Navigate(const char* relative, const char* selectName, bool focusGrid)
{
    return NavigateTo(m_currentFolder.GetPath() + (relative ? relative : ""), m_currentFolder, selectName,
                      focusGrid);
}

void PWndApp::ListRootInstead()
{
    // The display never disagrees with the current folder: a vanished or foreign
    // target shows the root's listing again, not the stale one.
    const SString root = m_rootFolder.GetPath();
    m_currentFolder = m_rootFolder;
    if (m_disk.IsFolder(root))
        NavigateTo(root, m_rootFolder, nullptr, false);
    else
    {
        m_fillNames.clear();
        m_fillFiles.clear();
        KillTimer(kFolderFillTimer);
        m_thumbs.Clear();
        m_folderList.RemoveAll();
        m_folderImages.RemoveAll();
        m_folderImages.AddImage(&m_smallLogo);
        ShowFolder();
        UpdateCounts();
    }
    SetStatusText(root);
    m_webView.ShowWindow(SW_HIDE);
}

bool PWndApp::NavigateTo(const SString& target, const SPath& previous, const char* selectName, bool focusGrid)
{
    SPath folder;
    const SString rootText = m_rootFolder.GetPath();
    const bool isRoot = _stricmp(target, rootText) == 0;
    if (target.IsEmpty() || !m_disk.IsFolder(target) || !folder.SetFolder(target) || !folder.IsValid() ||
        folder.GetComponentCount() < m_rootFolder.GetComponentCount() || !IsInside(folder.GetPath(), rootText))
    {
        if (isRoot)
            m_currentFolder = m_rootFolder;
        else
            ListRootInstead();
        return false;
    }
    const SString path = folder.GetPath();

    std::vector<SString> names;
    FileNames files;
    ListSubfolders(path, &names, false, &files);
    // A folder without sub-folders is never entered (the caller plays it instead);
    // a folder already shown is listed again, even empty, so the lists stay true.
    if (names.empty() && previous.IsValid() && !previous.IsSame(folder))
    {
        m_currentFolder = previous;
        SetStatusText(m_currentFolder.GetPath());
        m_webView.ShowWindow(SW_HIDE);
        return false;
    }
    std::sort(names.begin(), names.end(), LessNoCase);
    m_currentFolder = folder;

    m_thumbs.Clear();
    m_folderList.SendMessage(WM_SETREDRAW, FALSE, 0);
    m_folderList.RemoveAll();
    m_folderImages.RemoveAll();
    m_folderImages.AddImage(&m_smallLogo);
    // Each item costs a look into its folder and a cover: a large folder shows at once
    // what the lists show without scrolling, the item to select at least, and the rest
    // follows on a timer.
    m_fillFolder = path;
    m_fillNames.swap(names);
    m_fillFiles.swap(files);
    m_fillNext = 0;
    m_folderList.ReserveItems((int)m_fillNames.size());
    const size_t shown = GetShownFolderItems();
    size_t through = shown > 0 ? shown - 1 : 0;
    if (!focusGrid && selectName && *selectName)
        for (size_t i = 0; i < m_fillNames.size(); i++)
            if (_stricmp(m_fillNames[i], selectName) == 0 && i > through)
                through = i;
    if (!FillFolderItems(through, 0))
        SetTimer(kFolderFillTimer, 1);
    else
        KillTimer(kFolderFillTimer);
    if (!focusGrid && selectName && *selectName)
    {
        int index = m_folderList.FindItem(selectName);
        if (index >= 0)
            m_folderList.SetCurSel(index);
    }
    m_folderList.SendMessage(WM_SETREDRAW, TRUE, 0);
    m_folderList.InvalidateRect();

    m_thumbs.InvalidateRect();
    if (focusGrid)
        m_thumbs.SetFocus();
    ShowFolder();
    SetStatusText(m_currentFolder.GetPath());
    if (!focusGrid && !m_folderList.HasFocus())
        m_folderList.SetFocus();
    UpdateCounts();
    return true;
}

bool PWndApp::FillFolderItems(size_t through, DWORD budget)
{
    const DWORD started = GetTickCount();
    const bool batch = m_fillNext < m_fillNames.size();
    if (batch)
        m_folderList.SendMessage(WM_SETREDRAW, FALSE, 0);
    while (m_fillNext < m_fillNames.size() && (m_fillNext <= through || GetTickCount() - started < budget))
    {
        const size_t i = m_fillNext++;
        const SString& name = m_fillNames[i];
        const SString subfolder = m_fillFolder + name + "\\";
        const bool leaf = !HasSubfolders(subfolder);
        SImage cover;
        if (LoadOwnCover(&cover, subfolder, &m_fillFiles))
        {
            m_thumbs.AddCell(&cover, name, leaf);
            SImage small;
            if (small.Assign(&cover) && small.Resize(16, 16))
                m_folderImages.AddImage(&small);
            else
                m_folderImages.AddImage(&m_smallLogo);
        }
        else
        {
            // The logo's cell shares one bitmap: a folder of thousands stays within the GDI's limits.
            m_thumbs.AddCell(nullptr, name, leaf);
            m_folderImages.AddImage(&m_defaultSmall);
        }
        m_folderList.InsertItem(name, -1, (int)i + 1, leaf ? -1 : kFolderImage);
    }
    if (batch)
    {
        m_folderList.SendMessage(WM_SETREDRAW, TRUE, 0);
        m_folderList.InvalidateRect();
        m_thumbs.InvalidateRect();
    }
    if (m_fillNext < m_fillNames.size())
        return false;
    m_fillNames.clear();
    m_fillFiles.clear();
    return true;
}

size_t PWndApp::GetShownFolderItems()
{
    const int itemHeight = m_folderList.GetItemHeight();
    const int rows = itemHeight > 0 ? m_folderList.GetClientHeight() / itemHeight + 1 : 0;
    const int cells = m_thumbs.GetShownCellCount();
    return (size_t)(rows > cells ? rows : cells);
}

void PWndApp::Refresh()
{
    SString selected = m_folderList.GetSelectedText();
    if (!selected.IsEmpty())
        Navigate(".", selected);
    else
        Navigate(".", nullptr, true);
}

// ---------------------------------------------------------------- folder display

bool PWndApp::ShowFolder()
{
    const int index = m_folderList.GetCurSel();
    SWnd* views[] = {&m_coverView, &m_titleView, &m_parentCoverView, &m_parentNameView,
                     &m_innerSplitter, &m_fileList, &m_noteView, &m_webView};
    if (index < 0)
    {
        m_toolBar.EnableButton(3, false);
        m_toolBar.EnableButton(5, false);
        m_toolBar.EnableButton(4, true);
        m_toolBar.EnableButton(6, true);
        m_toolBar.EnableButton(7, false);
        m_coverView.SetBackgroundImage(nullptr);
        m_rippleSource.clear();
        m_titleView.SetWindowText("");
        m_parentCoverView.SetBackgroundImage(nullptr);
        m_parentNameView.SetWindowText("");
        m_fileList.RemoveAll();
        m_filePaths.RemoveAll();
        ClearNoteView();
        if (!m_shownPage.IsEmpty())
        {
            m_webView.Navigate("", "");
            m_shownPage = "";
        }
        for (SWnd* view : views)
            view->ShowWindow(SW_HIDE);
        m_thumbs.ShowWindow(SW_SHOW);
        return false;
    }
    m_thumbs.ShowWindow(SW_HIDE);
    const SString name = m_folderList.GetItemText(index);
    const SString folder = m_currentFolder.GetPath() + name;

    // Cover, and the ripple's source made from it.
    SImage cover;
    LoadCover(&cover, folder + "\\");
    m_rippleSource.assign((size_t)kCoverSize * kCoverSize, 0);
    if (cover.GetWidth() != kCoverSize || cover.GetHeight() != kCoverSize || !cover.GetPixels(m_rippleSource.data()))
        m_rippleSource.clear();
    m_coverView.SetBackgroundImage(&cover, SCOLOR_NONE, 11, nullptr, true);

    // Title with the folder's web address.
    const SString site = ReadSite(folder + ".ini");
    m_titleView.SetWindowText(PMarkup::FolderTitle(name, site));
    m_coverView.ShowWindow(SW_SHOW);
    m_titleView.ShowWindow(SW_SHOW);

    // The folder above, grey and faded.
    if (m_currentFolder.IsSame(m_rootFolder))
    {
        m_parentCoverView.ShowWindow(SW_HIDE);
        m_parentNameView.ShowWindow(SW_HIDE);
    }
    else
    {
        SImage parent;
        LoadCover(&parent, m_currentFolder.GetPath());
        parent.MakeGrayscale();
        parent.SetAlpha(64, false);
        m_parentCoverView.SetBackgroundImage(&parent, SCOLOR_NONE, 11, nullptr, true);
        m_parentNameView.SetWindowText(m_currentFolder.GetLastFolder(true));
        m_parentCoverView.ShowWindow(SW_SHOW);
        m_parentNameView.ShowWindow(SW_SHOW);
    }

    // Files, with a marker on every track that has a note: one listing finds both.
    ClearNoteView();
    SStringArray notes;
    PFileLister::CollectFolder(folder + "\\", &m_filePaths, &notes);
    PFileLister::Fill(&m_fileList, &m_filePaths, m_filePaths, notes);

    // The description page takes the place of the file list and the note.
    SString page;
    if (m_disk.IsFile(folder + ".mht"))
        page = folder + ".mht";
    else if (m_disk.IsFile(folder + ".htm"))
        page = folder + ".htm";
    if (!page.IsEmpty())
    {
        m_innerSplitter.ShowWindow(SW_HIDE);
        m_fileList.ShowWindow(SW_HIDE);
        m_noteView.ShowWindow(SW_HIDE);
        m_webView.ShowWindow(SW_SHOW);
        if (page.IsNotEqual(m_shownPage))
        {
            m_webView.Navigate(page, "");
            m_shownPage = page;
        }
    }
    else
    {
        if (!m_shownPage.IsEmpty())
        {
            m_webView.Navigate("", "");
            m_shownPage = "";
        }
        m_webView.ShowWindow(SW_HIDE);
        m_innerSplitter.ShowWindow(SW_SHOW);
        m_fileList.ShowWindow(SW_SHOW);
        m_noteView.ShowWindow(SW_SHOW);
    }

    const bool hasFiles = m_filePaths.GetCount() > 0;
    m_toolBar.EnableButton(3, hasFiles);
    m_toolBar.EnableButton(5, hasFiles);
    m_toolBar.EnableButton(4, true);
    m_toolBar.EnableButton(6, true);
    m_toolBar.EnableButton(7, false);
    return true;
}

void PWndApp::LoadCover(SImage* image, const char* folderPath)
{
    if (image && !LoadOwnCover(image, folderPath))
        image->Assign(&m_defaultCover);
}

bool PWndApp::LoadOwnCover(SImage* image, const char* folderPath, const FileNames* listed)
{
    if (!image)
        return false;
    const SString folder = PFileLister::WithoutSeparator(folderPath);
    const SString name = LastName(folder);
    // The listing is of the folder being filled (m_fillFolder).
    auto load = [&](const SString& path) { return MayExist(listed, m_fillFolder, path) && LoadPicture(image, path); };
    bool loaded = load(folder + ".png") || load(folder + ".jpg");
    if (!loaded)
    {
        bool inImages = false;
        for (int i = 0; i < m_images.GetCount() && !inImages; i++)
            inImages = m_images.GetString(i)->CompareNoCase(name) == 0;
        if (inImages)
        {
            const SString root = m_rootFolder.GetPath();
            loaded = load(root + name + ".png") || load(root + name + ".jpg");
        }
    }
    if (!loaded)
        return false;
    if (image->GetBitsPerPixel() != 32)
        image->ConvertPixelFormat(PixelFormat32bppARGB);
    image->Resize(kCoverSize, kCoverSize);
    image->ReplaceTranslucentWithWhite();
    return true;
}

void PWndApp::UpdateCounts()
{
    const int index = m_folderList.GetCurSel();
    SString key = m_currentFolder.GetPath();
    if (index >= 0)
        key += m_folderList.GetItemText(index) + "\\";
    const PLibraryStats& stats = m_stats.Get();
    const int at = stats.Find(key);
    if (at < 0)
        m_headerView.SetWindowText("");
    else
        m_headerView.SetWindowText(PMarkup::CountsMarkup(stats.GetSongs(at), stats.GetVideos(at), stats.GetRadios(at)));
}

// ---------------------------------------------------------------- files

int PWndApp::GetSelectedFiles(SStringArray* out)
{
    if (!out)
        return 0;
    SArray<int> selection;
    m_fileList.GetSelection(&selection);
    int added = 0;
    for (int i = 0; i < selection.GetCount(); i++)
    {
        const int index = selection.GetAt(i);
        if (index >= 0 && index < m_filePaths.GetCount())
        {
            out->Add(m_filePaths.GetAt(index));
            added++;
        }
    }
    return added;
}

void PWndApp::SelectFile(const char* text)
{
    const int index = m_fileList.FindItem(text ? text : "");
    if (index < 0)
        return;
    m_fileList.SetCurSel(index);
    SendMessage(ControlMessage(SBLOCK_LIST, 2), (WPARAM)&m_fileList, 0);
}

void PWndApp::OnFileSelection()
{
    const int index = m_fileList.GetCurSel();
    if (index >= 0 && m_fileList.GetItemLeftImage(index) == kPictureImage)
    {
        m_toolBar.EnableButton(7, false);
        ShowPicture();
        return;
    }
    const bool selected = m_fileList.GetSelCount() > 0;
    m_toolBar.EnableButton(7, selected);
    // Alt held while selecting appends the selection to the queue.
    if (selected && GetKeyState(VK_MENU) < 0)
        OnCommand(30);
    LoadTrackNote();
}

int PWndApp::AskConfirmation(const char* text, const char* caption)
{
    char answers[128];
    DWORD length = GetEnvironmentVariableA("MELVORA_CONFIRM_ANSWER", answers, sizeof(answers));
    if (length == 0 || length >= sizeof(answers))
        return MessageBox(text, caption, MB_YESNOCANCEL | MB_ICONQUESTION);
    // The answer of this question: the next of the list, or its last one.
    const char* answer = answers;
    for (int skip = m_confirmAsked++; skip > 0; skip--)
    {
        const char* comma = strchr(answer, ',');
        if (!comma)
            break;
        answer = comma + 1;
    }
    const size_t size = strcspn(answer, ",");
    if (size == 3 && _strnicmp(answer, "yes", 3) == 0)
        return IDYES;
    return size == 2 && _strnicmp(answer, "no", 2) == 0 ? IDNO : IDCANCEL;
}

// ---------------------------------------------------------------- note view

void PWndApp::ClearNoteView()
{
    m_loadingNote = true;
    m_noteView.New();
    m_noteView.SetBackgroundImage(nullptr);
    m_loadingNote = false;
}

bool PWndApp::ShowPicture()
{
    ClearNoteView();
    if (m_folderList.GetCurSel() < 0 || m_fileList.GetSelCount() > 1)
        return true;
    const int index = m_fileList.GetCurSel();
    if (index < 0 || index >= m_filePaths.GetCount())
        return true;
    SImage picture;
    if (!LoadPicture(&picture, m_filePaths.GetAt(index)))
        return false;
    m_noteView.SetBackgroundImage(&picture, SCOLOR_NONE);
    return true;
}

bool PWndApp::LoadTrackNote()
{
    ClearNoteView();
    const int folder = m_folderList.GetCurSel();
    if (folder < 0 || m_fileList.GetSelCount() != 1)
        return false;
    const SString note = m_currentFolder.GetPath() + m_folderList.GetItemText(folder) + "\\" +
                         m_fileList.GetItemText(m_fileList.GetCurSel()) + ".txt";
    if (!m_disk.IsFile(note))
        return false;
    SFilePath file;
    if (!file.Open(note, false, false, true))
        return false;
    m_loadingNote = true;
    const bool loaded = m_noteView.Load(&file);
    m_loadingNote = false;
    if (!loaded)
        ClearNoteView();
    return loaded;
}

bool PWndApp::SaveTrackNote()
{
    // Only the user's own edits reach here: the program's loading and clearing do not count.
    if (m_loadingNote)
        return false;
    const int folder = m_folderList.GetCurSel();
    if (folder < 0 || m_fileList.GetSelCount() != 1)
        return false;
    const int index = m_fileList.GetCurSel();
    if (index < 0 || m_fileList.GetItemLeftImage(index) == kPictureImage)
        return false;
    const SString note = m_currentFolder.GetPath() + m_folderList.GetItemText(folder) + "\\" +
                         m_fileList.GetItemText(index) + ".txt";
    if (m_noteView.HasText())
    {
        SFileAtomic file;
        if (!file.Open(note) || !m_noteView.Save(file.GetFile()) || !file.Commit())
            return false;
        if (m_fileList.GetItemRightImage(index) < 0)
            m_fileList.SetItemRightImage(index, kNoteImage);
        return true;
    }
    if (m_disk.IsFile(note) && !m_disk.DeleteFile(note))
        return false;
    m_fileList.SetItemRightImage(index, -1);
    return true;
}
