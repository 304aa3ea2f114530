// The main window's playback: filling the play queue from the library, the commands
// that move through it, and what the queue shows in the panes, the docked bar, the
// toolbar and the status bar.
#include "PWndApp.h"

#include <stdio.h>

namespace
{
// Test runs name a file through MELVORA_SHUTDOWN_LOG: the end of the Windows session
// is written there instead of happening.
char g_shutdownLog[MAX_PATH];

BOOL LogShutdown(UINT flags, DWORD reason)
{
    FILE* file = fopen(g_shutdownLog, "ab");
    if (!file)
        return FALSE;
    fprintf(file, "Shutdown %u %lu\r\n", flags, (unsigned long)reason);
    fclose(file);
    return TRUE;
}
} // namespace

// ---------------------------------------------------------------- filling the queue

int PWndApp::CollectFiles(SStringArray* out, const char* folder, bool recursive, bool songs, bool videos,
                          bool pictures, bool sideFiles, bool excludeRadios)
{
    return PPlayQueue::CollectFiles(out, folder, recursive, songs, videos, pictures, sideFiles, excludeRadios);
}

bool PWndApp::PlayFolder(int startIndex, const char* folderName)
{
    SString name = folderName ? SString(folderName) : m_folderList.GetSelectedText();
    if (name.IsEmpty())
        return false;
    SStringArray files;
    if (CollectFiles(&files, m_currentFolder.GetPath() + name + "\\", false, true, true, true, false, true) == 0)
        return false;
    Stop();
    m_queue.Replace(files);
    return PlayFrom(startIndex < 0 ? 0 : startIndex, false);
}

bool PWndApp::PlayAll(bool recursive, bool shuffle)
{
    Stop();
    SStringArray files;
    SString name = m_folderList.GetSelectedText();
    if (!name.IsEmpty())
        CollectFiles(&files, m_currentFolder.GetPath() + name + "\\", recursive, true, !recursive, !recursive, false,
                     true);
    else if (recursive)
        CollectFiles(&files, m_currentFolder.GetPath(), true, true, true, true, false, true);
    if (files.GetCount() == 0)
        return false;
    if (shuffle)
        files.Shuffle();
    else
    {
        files.AddFlags(0x10000);
        files.Sort();
    }
    m_queue.Replace(files);
    return PlayFrom(0, false);
}

bool PWndApp::PlaySelected()
{
    SStringArray files;
    if (GetSelectedFiles(&files) == 0)
        return false;
    m_queue.Replace(files);
    return PlayFrom(0, false);
}

bool PWndApp::PlayList(const SStringArray* paths)
{
    if (!paths)
        return false;
    m_queue.Replace(*paths);
    return PlayFrom(0, false);
}

bool PWndApp::CollectForQueue(bool fromFolderList, SStringArray* out)
{
    if (fromFolderList)
    {
        SString name = m_folderList.GetSelectedText();
        if (name.IsEmpty())
            return false;
        SString folder = m_currentFolder.GetPath() + name + "\\";
        if (CollectFiles(out, folder, false, true, true, true, false, true) == 0)
            CollectFiles(out, folder, true, true, false, false, false, true);
        return out->GetCount() > 0;
    }
    return GetSelectedFiles(out) > 0;
}

bool PWndApp::AddToQueue(bool fromFolderList)
{
    SStringArray files;
    if (!CollectForQueue(fromFolderList, &files))
        return false;
    const bool wasEmpty = m_queue.GetCount() == 0;
    m_queue.Append(files);
    if (wasEmpty)
        return PlayFrom(0, true);
    m_playHost.ShowCount(m_queue.GetCount());
    return true;
}

int PWndApp::GetQueueTitles(SStringArray* out) const
{
    return m_queue.GetTitles(out);
}

// ---------------------------------------------------------------- moving through the queue

bool PWndApp::PlayFrom(int index, bool pauseAfterOpen)
{
    return m_queue.PlayFrom(index, pauseAfterOpen);
}

bool PWndApp::PlayEntry(int index, bool pauseAfterOpen)
{
    return m_queue.PlayEntry(index, pauseAfterOpen);
}

bool PWndApp::Previous()
{
    return m_queue.Previous();
}

bool PWndApp::Next()
{
    return m_queue.Next();
}

bool PWndApp::Pause()
{
    return m_queue.Pause();
}

bool PWndApp::Stop()
{
    return m_queue.Stop();
}

bool PWndApp::Seek(int seconds)
{
    return m_queue.Seek(seconds);
}

void PWndApp::OnMediaEnded()
{
    m_queue.OnMediaEnded();
}

void PWndApp::OnPlayerTick()
{
    m_queue.OnPlayerTick();
}

void PWndApp::ClearPlayDisplays()
{
    m_queue.ClearPlayDisplays();
}

void PWndApp::HideVideoWindow()
{
    m_player.HideVideoWindow();
}

void PWndApp::SetBuffering(bool buffering)
{
    m_playHost.ShowBuffering(buffering);
}

// ---------------------------------------------------------------- the panes' navigation

bool PWndApp::ShowMediaFolder(const SPath& mediaPath, int levels, const char* selectFile, bool focusGrid)
{
    SPath folder;
    folder.SetFolder(mediaPath.GetFolderPath());
    for (int i = 1; i < levels; i++)
        folder.SetFolder(folder.GetParent());
    SString name = folder.GetLastFolder(true);
    if (name.IsEmpty() || !folder.IsValid())
        return false;
    if (!GoToFolder(folder.GetParent(), name, focusGrid))
        return false;
    if (selectFile && *selectFile)
        SelectFile(selectFile);
    return true;
}

void PWndApp::ShowMainWindow()
{
    if (IsVisible())
        return;
    BringToFront(true);
    FocusVisiblePane();
}

// ---------------------------------------------------------------- what the queue shows

bool PWndApp::_PPlayHost::IsRepeatOn()
{
    return m_owner->m_repeat;
}

bool PWndApp::_PPlayHost::IsShutdownOn()
{
    return m_owner->m_shutdown;
}

void PWndApp::_PPlayHost::ClearDisplays()
{
    PWndApp& app = *m_owner;
    app.m_playPane.SetMedia(nullptr, 0, 0);
    app.m_playPane.SetCover(nullptr);
    app.m_dockedBar.SetMedia(nullptr, 0, 0);
    for (int id = 8; id <= 11; id++)
        app.m_toolBar.EnableButton(id, false);
    app.m_dockedBar.EnableTrackButtons(false);
    app.m_dockedBar.EnablePlayButtons(false);
}

void PWndApp::_PPlayHost::ShowOpening()
{
    m_owner->m_playPane.SetCoverBusy();
}

void PWndApp::_PPlayHost::ShowOpenFailed()
{
    m_owner->m_playPane.SetCover(nullptr);
}

void PWndApp::_PPlayHost::ShowEntry(int number, int count)
{
    PWndApp& app = *m_owner;
    SPath path;
    app.m_player.GetPath(&path);
    SImage cover;
    app.LoadCover(&cover, path.GetFolderPath());
    app.m_playPane.SetMedia(&app.m_player, number, count);
    app.m_playPane.SetCover(&cover);
    app.m_dockedBar.SetMedia(&app.m_player, number, count);
    app.m_toolBar.EnableButton(8, count > 1);
    app.m_toolBar.EnableButton(9, count > 1);
    app.m_toolBar.EnableButton(10, true);
    app.m_toolBar.EnableButton(11, true);
    app.m_dockedBar.EnableTrackButtons(count > 1);
    app.m_dockedBar.EnablePlayButtons(true);
}

void PWndApp::_PPlayHost::ShowCount(int count)
{
    PWndApp& app = *m_owner;
    app.m_playPane.SetCountText(count);
    app.m_dockedBar.SetCount(count);
    app.m_toolBar.EnableButton(8, true);
    app.m_toolBar.EnableButton(9, true);
    app.m_dockedBar.EnableTrackButtons(true);
}

void PWndApp::_PPlayHost::ShowBuffering(bool buffering)
{
    PWndApp& app = *m_owner;
    if (app.m_statusBar.GetHandle())
        app.m_statusBar.SetText(2, buffering ? "buffering..." : "");
    app.m_dockedBar.SetBuffering(buffering);
}

void PWndApp::_PPlayHost::RefreshDisplays()
{
    PWndApp& app = *m_owner;
    app.m_playPane.Refresh(&app.m_player);
    app.m_dockedBar.Refresh(&app.m_player);
}

void PWndApp::_PPlayHost::ShutdownWindows()
{
    DWORD length = GetEnvironmentVariableA("MELVORA_SHUTDOWN_LOG", g_shutdownLog, sizeof(g_shutdownLog));
    if (length > 0 && length < sizeof(g_shutdownLog))
        SSystem::SetExitWindowsCall(LogShutdown);
    SSystem::ShutdownWindows();
}
