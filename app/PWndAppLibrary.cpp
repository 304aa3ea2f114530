// The main window's library commands: the book, playlists, the description
// window, covers and lyrics, and the library links of the web views.
#include "PWndApp.h"

#include <string.h>

#include "PBookWriter.h"
#include "PLibraryLink.h"
#include "PLibraryPrompt.h"
#include "PWebSearch.h"
#include "PWndBook.h"
#include "PWndDescription.h"
#include "PWndGoogle.h"
#include "PWndPlaylist.h"
#include "PWndProgress.h"
#include "SFileAtomic.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SKeyboard.h"
#include "SLibrary.h"

namespace
{
// The book writer of the main window, its progress shown in the progress window.
class BookWriter : public PBookWriter
{
public:
    explicit BookWriter(PWndProgress* progress) : m_progress(progress) {}

protected:
    void OnProgress(int permille) override
    {
        m_progress->SetPos(permille);
    }

private:
    PWndProgress* m_progress;
};

// Test runs choose the picture of "Make Cover" through MELVORA_LIBRARY_PICK
// instead of the open-file dialog.
class PickedFile : public SSelectorDialogs
{
public:
    explicit PickedFile(const char* path) : m_path(path) {}
    bool GetOpenFileName(OPENFILENAMEA* info) override
    {
        if (!info || !info->lpstrFile || info->nMaxFile < 2 || (DWORD)m_path.GetLength() + 2 > info->nMaxFile)
            return false;
        memcpy(info->lpstrFile, m_path.GetBuffer(), m_path.GetLength());
        info->lpstrFile[m_path.GetLength()] = 0;
        info->lpstrFile[m_path.GetLength() + 1] = 0;
        return true;
    }

private:
    SString m_path;
};

SString PickSetting()
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("MELVORA_LIBRARY_PICK", path, sizeof(path));
    return length > 0 && length < sizeof(path) ? SString(path) : SString();
}

bool LoadPicture(SImage* image, const char* path)
{
    SFilePath file;
    return file.Open(path, false, false, true, true) && image->Load(&file);
}
} // namespace

// ---------------------------------------------------------------- book

bool PWndApp::MakeBook(const char* bookPath, bool withImages)
{
    PWndProgress progress;
    progress.Create(GetHandle());
    BookWriter writer(&progress);
    SFileMem sheet;
    if (sheet.LoadResource("BINARY", 166) && sheet.GetSize() > 0)
        writer.SetStyleSheet(SString((const char*)sheet.GetBuffer(), sheet.GetSize()));
    writer.SetImageNames(&m_images);
    writer.SetDefaultCover(&m_logo);
    return writer.Write(m_rootFolder.GetPath(), bookPath, withImages);
}

void PWndApp::OpenBook(const char* url)
{
    SString target = url ? SString(url) : m_bookPage;
    if (m_bookWindow && ::IsWindow(m_bookWindow->GetHandle()))
    {
        m_bookWindow->BringToFront(true);
        m_bookWindow->Navigate(target);
        return;
    }
    delete m_bookWindow;
    m_bookWindow = new PWndBook();
    m_bookWindow->Create(this, target);
}

bool PWndApp::OnBookLink(const char* url)
{
    SString path = PLibraryLink::UrlToPath(url);
    SString relative;
    if (path.IsEmpty() || !PLibraryLink::RelativeToRoot(m_rootFolder, path, &relative))
        return false;
    const SString target = m_rootFolder.GetPath() + relative;
    SPath targetPath(target);
    const SString extension = targetPath.GetExtension(false, true);
    if (extension.IsEqual("link"))
    {
        GoToFolder(targetPath.GetFolderPath(), targetPath.GetTitle());
        return true;
    }
    static const char* const media[] = {"mp3", "wma", "wax", "avi", "mpg", "mpeg", "wmv", "wvx"};
    for (const char* kind : media)
    {
        if (!extension.IsEqual(kind))
            continue;
        SStringArray one;
        one.Add(target);
        if (!SKeyboard::IsControlDown())
            PlayList(&one);
        else if (m_queue.Append(one) > 0 && m_queue.GetCount() == 1)
            PlayFrom(0, false);
        else
            m_playHost.ShowCount(m_queue.GetCount());
        return true;
    }
    if (extension.IsEqual("album"))
    {
        SString folder = target.Left(target.GetLength() - 6) + "\\";
        SStringArray files;
        if (CollectFiles(&files, folder, false, true, true, true, false, true) > 0)
            PlayList(&files);
        return true;
    }
    return false;
}

bool PWndApp::OnWebNavigate(const char* url)
{
    // A "link" address names an item of the library: go there instead of browsing.
    SString path = PLibraryLink::UrlToPath(url);
    SString relative;
    if (path.IsEmpty() || SPath(path).GetExtension(false, true).IsNotEqual("link") ||
        !PLibraryLink::RelativeToRoot(m_rootFolder, path, &relative))
        return false;
    SPath target(m_rootFolder.GetPath() + relative);
    GoToFolder(target.GetFolderPath(), target.GetTitle());
    return true;
}

LRESULT PWndApp::OnWebRequest(const COPYDATASTRUCT* data)
{
    // An outside program (the remote control, the tests) asks the web view for a page.
    SString url = PLibraryLink::CopyDataText(data);
    if (url.IsEmpty())
        return 0;
    m_innerSplitter.ShowWindow(SW_HIDE);
    m_webView.ShowWindow(SW_SHOW);
    m_webView.Navigate(url, "");
    return 1;
}

// ---------------------------------------------------------------- playlists and descriptions

bool PWndApp::AddToPlaylist(bool fromFolderList)
{
    SStringArray paths;
    if (!CollectForQueue(fromFolderList, &paths) || paths.GetCount() == 0)
        return false;
    m_playlists.AddPaths(paths);
    m_playlists.SavePlaylist("");
    m_playlists.UpdateCount();
    return true;
}

void PWndApp::ShowDescriptionWindow()
{
    if (m_descriptionWindow && ::IsWindow(m_descriptionWindow->GetHandle()))
    {
        m_descriptionWindow->BringToFront(true);
        return;
    }
    delete m_descriptionWindow;
    m_descriptionWindow = new PWndDescription();
    if (!m_descriptionWindow->Create(this))
        return;
    ::UpdateWindow(m_descriptionWindow->GetHandle());
    m_descriptionWindow->Reload();
}

// ---------------------------------------------------------------- covers and lyrics

void PWndApp::AfterCoverChange()
{
    SString selected = m_folderList.GetSelectedText();
    const int top = m_folderList.GetTopIndex();
    GoToFolder(m_currentFolder.GetPath(), selected.IsEmpty() ? nullptr : (const char*)selected);
    m_folderList.SetTopIndex(top);
    ShowFolder();
    m_folderList.SetFocus();
}

bool PWndApp::MakeCover(const char* folderPath)
{
    if (!m_disk.IsFolder(folderPath))
        return false;
    SPath folder;
    folder.SetFolder(folderPath);
    SString cover = folder.GetPath();
    cover = (cover.Left(cover.GetLength() - 1) + ".png").ToLower();
    if (m_disk.IsFile(cover) &&
        PLibraryPrompt(GetHandle(), "Do you wish to delete the existing file?", "Confirmation", 36) != IDYES)
        return false;
    SStringArray filters;
    filters.Add("Images|*.png;*.jpg;*.jpeg;*.gif;*.bmp");
    SString picked = PickSetting();
    PickedFile pickedDialogs(picked);
    SSelectorDialogs* previous = picked.IsEmpty() ? nullptr : SSelector::SetDialogs(&pickedDialogs);
    const bool chosen = m_picker.OpenFile(&filters);
    if (!picked.IsEmpty())
        SSelector::SetDialogs(previous);
    if (!chosen || m_picker.GetFileCount() == 0)
        return false;
    SImage image;
    if (!LoadPicture(&image, m_picker.GetFile(0)))
        return false;
    const int width = image.GetWidth(), height = image.GetHeight();
    const int side = width < height ? width : height;
    SImage square;
    if (side <= 0 || !square.CopyRegion(&image, (width - side) / 2, (height - side) / 2, side, side))
        return false;
    if (side != 150 && !square.Resize(150, 150))
        return false;
    if (!SaveCover(&square, cover))
        return false;
    AfterCoverChange();
    return true;
}

bool PWndApp::DownloadCover(const char* terms, const char* coverPath)
{
    SString cover = SString(coverPath).ToLower();
    if (m_disk.IsFile(cover) &&
        PLibraryPrompt(GetHandle(), "Do you wish to delete the existing file?", "Confirmation", 36) != IDYES)
        return false;
    PWndGoogle search;
    if (!search.Create(GetHandle()))
        return false;
    search.SetTerms(terms);
    if (search.DoModal() != 0 || !search.GetCover()->IsLoaded())
        return false;
    if (!SaveCover(search.GetCover(), cover))
        return false;
    AfterCoverChange();
    return true;
}

bool PWndApp::SaveCover(const SImage* picture, const char* coverPath)
{
    SFileAtomic out;
    return picture && out.Open(coverPath) && picture->Save(out.GetFile(), IMAGE_FORMAT_PNG) && out.Commit();
}

bool PWndApp::FindLyrics(const char* title)
{
    if (!title || !*title)
        return false;
    return m_network.OpenUrl(PWebSearch::LyricsUrl(PWebSearch::GetWebServer(), title));
}

void PWndApp::OnLibraryCommand(int id)
{
    const SString selected = m_folderList.GetSelectedText();
    switch (id)
    {
    case 16:
        MakeBook(m_bookPage, true);
        OpenBook(nullptr);
        break;
    case 24:
        AddToPlaylist(true);
        break;
    case 31:
        AddToPlaylist(false);
        break;
    case 26:
        if (!selected.IsEmpty())
            MakeCover(m_currentFolder.GetPath() + selected + "\\");
        break;
    case 27:
    case 28:
        if (!selected.IsEmpty())
        {
            SString terms = id == 27 ? m_currentFolder.GetLastFolder(true) + " " + selected : selected;
            DownloadCover(terms, m_currentFolder.GetPath() + selected + ".png");
        }
        break;
    case 32:
        if (m_fileList.GetCurSel() >= 0)
            FindLyrics(m_fileList.GetItemText(m_fileList.GetCurSel()));
        break;
    default:
        break;
    }
}
