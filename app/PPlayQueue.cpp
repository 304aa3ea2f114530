#include "PPlayQueue.h"

#include "PFileLister.h"
#include "PMedia.h"
#include "SDisk.h"
#include "SPath.h"

#include <string.h>

#include <iterator>
#include <vector>

namespace
{
const char* const kSongExtensions[] = {".mp3", ".wma"};
const char* const kVideoExtensions[] = {".mpg", ".mpeg", ".avi", ".wmv"};
const char* const kPictureExtensions[] = {".jpg", ".jpeg"};
const char* const kSongRadio = ".wax";
const char* const kVideoRadio = ".wvx";

// The side files of folder F (its path without the separator) that exist: the cover
// (".png", else ".jpg"), the text, and the page (".mht", else ".htm").
void AddSideFiles(SDisk& disk, SStringArray* list, const char* folderPath)
{
    const SString folder = PFileLister::WithoutSeparator(folderPath);
    static const char* const groups[3][2] = {{".png", ".jpg"}, {".txt", nullptr}, {".mht", ".htm"}};
    for (const auto& group : groups)
        for (const char* extension : group)
            if (extension && disk.IsFile(folder + extension))
            {
                list->Add(folder + extension);
                break;
            }
}
} // namespace

PPlayQueue::PPlayQueue() : m_player(nullptr), m_host(nullptr), m_index(-1), m_wasFullScreen(false), m_volume(-1) {}

PPlayQueue::~PPlayQueue()
{
    if (m_player && m_player->GetOwner() == this)
        m_player->SetOwner(nullptr);
}

void PPlayQueue::Attach(PMedia* player, Host* host)
{
    if (m_player && m_player->GetOwner() == this)
        m_player->SetOwner(nullptr);
    m_player = player;
    m_host = host;
    if (m_player)
        m_player->SetOwner(this);
}

void PPlayQueue::Replace(const SStringArray& paths)
{
    m_paths.AssignFrom(paths);
    if (m_index >= m_paths.GetCount())
        m_index = -1;
}

int PPlayQueue::Append(const SStringArray& paths)
{
    for (int i = 0; i < paths.GetCount(); i++)
        m_paths.Add(paths.GetAt(i));
    return paths.GetCount();
}

int PPlayQueue::GetTitles(SStringArray* out) const
{
    if (!out)
        return 0;
    for (int i = 0; i < m_paths.GetCount(); i++)
        out->Add(SPath(m_paths.GetAt(i)).GetTitle());
    return m_paths.GetCount();
}

int PPlayQueue::CollectFiles(SStringArray* out, const char* folder, bool recursive, bool songs, bool videos,
                             bool pictures, bool sideFiles, bool excludeRadios)
{
    if (!out || !folder || !*folder)
        return 0;
    SDisk disk;
    SString base = folder;
    if (base.Right(1) != "\\" && base.Right(1) != "/")
        base += "\\";
    // One listing of the folder (a search per extension would read it once per kind).
    std::vector<const char*> extensions;
    if (songs)
    {
        extensions.insert(extensions.end(), std::begin(kSongExtensions), std::end(kSongExtensions));
        if (!excludeRadios)
            extensions.push_back(kSongRadio);
    }
    if (videos)
    {
        extensions.insert(extensions.end(), std::begin(kVideoExtensions), std::end(kVideoExtensions));
        if (!excludeRadios)
            extensions.push_back(kVideoRadio);
    }
    if (pictures)
        extensions.insert(extensions.end(), std::begin(kPictureExtensions), std::end(kPictureExtensions));
    // Every path the search finds starts with base: without side files, the list holds
    // and sorts only what follows it, which orders the paths alike at less cost.
    const int common = sideFiles ? 0 : base.GetLength();
    SStringArray list;
    list.AddFlags(0x10000);
    if (!extensions.empty())
    {
        SStringArray all;
        disk.Search(&all, base + "*",
                    SDisk::SearchFiles | SDisk::SearchSkipHidden | (recursive ? SDisk::SearchRecurse : 0));
        for (int i = 0; i < all.GetCount(); i++)
        {
            const SString* path = all.GetString(i);
            // Each extension is a dot and letters: a path ends with one when its last dot starts it.
            const char* dot = strrchr(*path, '.');
            if (!dot)
                continue;
            for (const char* extension : extensions)
                if (_stricmp(dot, extension) == 0)
                {
                    list.Add((const char*)*path + common);
                    break;
                }
        }
    }
    if (sideFiles)
    {
        AddSideFiles(disk, &list, base);
        SStringArray folders;
        disk.Search(&folders, base + "*",
                    SDisk::SearchFolders | SDisk::SearchSkipHidden | (recursive ? SDisk::SearchRecurse : 0));
        for (int i = 0; i < folders.GetCount(); i++)
            AddSideFiles(disk, &list, folders.GetAt(i));
    }
    list.Sort();
    SString path(base, common);
    for (int i = 0; i < list.GetCount(); i++)
    {
        path.SetLength(common);
        path += *list.GetString(i);
        out->Add(path);
    }
    return list.GetCount();
}

// ---------------------------------------------------------------- playback

bool PPlayQueue::PlayEntry(int index, bool pauseAfterOpen)
{
    if (!m_player || !m_host)
        return false;
    EnsurePlayer();
    m_wasFullScreen = m_player->IsFullScreen();
    if (m_wasFullScreen)
        m_player->SetFullScreen(false);
    if (index < 0 || index >= m_paths.GetCount())
    {
        ClearPlayDisplays();
        return false;
    }
    m_host->ShowOpening();
    if (!m_player->Open(m_paths.GetAt(index), true))
    {
        m_host->ShowOpenFailed();
        return false;
    }
    // A player that cannot pause holds the medium stopped at its start instead.
    if (pauseAfterOpen && !m_player->TogglePause())
        m_player->Stop();
    m_host->ShowEntry(index + 1, m_paths.GetCount());
    if (m_player->HasVideo())
        m_player->ShowVideoWindow(m_wasFullScreen);
    else
        m_player->HideVideoWindow();
    return true;
}

bool PPlayQueue::PlayFrom(int index, bool pauseAfterOpen)
{
    if (index >= 0)
        for (int i = index; i < m_paths.GetCount(); i++)
            if (PlayEntry(i, pauseAfterOpen))
            {
                m_index = i;
                return true;
            }
    Stop();
    return false;
}

bool PPlayQueue::Previous()
{
    if (m_index == -1)
        return false;
    if (PlayEntry(m_index - 1, false))
    {
        m_index--;
        return true;
    }
    Stop();
    return false;
}

bool PPlayQueue::Next()
{
    if (m_index == -1 || !m_host)
        return false;
    int next = m_index + 1;
    if (m_host->IsRepeatOn() && next == m_paths.GetCount())
        next = 0;
    return PlayFrom(next, false);
}

bool PPlayQueue::Pause()
{
    if (m_index == -1 || !m_player)
        return false;
    if (m_player->TogglePause())
        return true;
    // Held at the start by a player that cannot pause: it plays.
    return m_player->IsStopped() && m_player->Play();
}

bool PPlayQueue::Stop()
{
    if (m_paths.GetCount() == 0)
        return false;
    ClearPlayDisplays();
    m_paths.RemoveAll();
    m_index = -1;
    if (m_host)
        m_host->ShowBuffering(false);
    return true;
}

bool PPlayQueue::Seek(int seconds)
{
    if (m_index == -1 || !m_player || seconds < 0)
        return false;
    return m_player->SetPosition((unsigned)seconds * 1000u);
}

void PPlayQueue::SetVolume(int sliderPosition)
{
    m_volume = (50 - sliderPosition) * 100 / 50;
    if (m_player)
        m_player->SetVolume(m_volume);
}

bool PPlayQueue::EnsurePlayer()
{
    if (!m_player)
        return false;
    if (m_player->GetHandle())
        return true;
    if (!m_player->EnsureCreated())
        return false;
    if (m_volume >= 0)
        m_player->SetVolume(m_volume);
    return true;
}

void PPlayQueue::ClearPlayDisplays()
{
    if (m_player)
    {
        m_player->HideVideoWindow();
        m_player->Stop();
    }
    if (m_host)
        m_host->ClearDisplays();
}

// ---------------------------------------------------------------- player events

void PPlayQueue::OnMediaEnded()
{
    // An end that arrives after playback stopped belongs to nothing in the queue; above
    // all it must not count as the end of the last entry.
    if (m_index == -1 || !m_player || !m_host)
        return;
    if (m_paths.GetCount() == 1)
    {
        if (m_host->IsRepeatOn())
        {
            m_player->Play();
            return;
        }
        if (!Stop())
            return;
    }
    else if (Next())
        return;
    if (m_host->IsShutdownOn())
        m_host->ShutdownWindows();
}

void PPlayQueue::OnPlayerTick()
{
    if (m_host)
        m_host->RefreshDisplays();
}

void PPlayQueue::OnBufferingChanged(bool done)
{
    if (m_host)
        m_host->ShowBuffering(!done);
}
