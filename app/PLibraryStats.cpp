#include "PLibraryStats.h"

#include <string.h>

#include <algorithm>
#include <vector>

namespace
{

struct Extension
{
    const char* text;
    PLibraryStats::Kind kind;
};

const Extension kExtensions[] = {
    {"mp3", PLibraryStats::KindSong},  {"wma", PLibraryStats::KindSong},   {"mpg", PLibraryStats::KindVideo},
    {"mpeg", PLibraryStats::KindVideo}, {"avi", PLibraryStats::KindVideo}, {"wmv", PLibraryStats::KindVideo},
    {"wax", PLibraryStats::KindRadio}, {"wvx", PLibraryStats::KindRadio}};

bool HasExtension(const char* name, const char* extension)
{
    const char* dot = strrchr(name, '.');
    return dot && _stricmp(dot + 1, extension) == 0;
}

struct FolderCounts
{
    SString path;
    int counts[3];
};

// One walk of a tree: every folder once, each file classified by its extension.
// A folder's counts are its own files plus those of its counted sub-folders.
class Walker
{
public:
    Walker(SStringArray* emptyIni, PLibraryStats::StopTest stop, void* stopContext)
        : m_emptyIni(emptyIni), m_stop(stop), m_stopContext(stopContext), m_stopped(false), m_seen(0)
    {
        m_path[0] = 0;
    }

    bool Start(const char* root)
    {
        size_t length = strlen(root);
        if (length == 0 || length + 2 >= sizeof(m_path))
            return false;
        memcpy(m_path, root, length + 1);
        if (m_path[length - 1] != '\\')
        {
            m_path[length++] = '\\';
            m_path[length] = 0;
        }
        int counts[3] = {0, 0, 0};
        Walk((int)length, true, counts);
        return !m_stopped;
    }

    std::vector<FolderCounts> folders;

private:
    void Walk(int length, bool counted, int* counts)
    {
        size_t own = folders.size();
        if (counted)
            folders.push_back({SString(m_path, length), {0, 0, 0}});
        m_path[length] = '*';
        m_path[length + 1] = 0;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(m_path, &data);
        m_path[length] = 0;
        if (find == INVALID_HANDLE_VALUE)
            return;
        int local[3] = {0, 0, 0};
        do
        {
            if (m_stop && (++m_seen & 255) == 0 && m_stop(m_stopContext))
                m_stopped = true;
            if (m_stopped)
                break;
            const char* name = data.cFileName;
            const bool hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                    continue;
                const bool countChild = counted && !hidden;
                // Hidden branches are walked only for their empty ".ini" files.
                if (!countChild && !m_emptyIni)
                    continue;
                size_t nameLength = strlen(name);
                if (length + nameLength + 3 >= sizeof(m_path))
                    continue;
                memcpy(m_path + length, name, nameLength);
                m_path[length + nameLength] = '\\';
                m_path[length + nameLength + 1] = 0;
                int child[3] = {0, 0, 0};
                Walk(length + (int)nameLength + 1, countChild, child);
                m_path[length] = 0;
                if (countChild)
                    for (int k = 0; k < 3; k++)
                        local[k] += child[k];
                continue;
            }
            if (counted && !hidden)
            {
                PLibraryStats::Kind kind = PLibraryStats::KindOf(name);
                if (kind != PLibraryStats::KindNone)
                    local[kind]++;
            }
            if (m_emptyIni && data.nFileSizeLow == 0 && data.nFileSizeHigh == 0 && HasExtension(name, "ini"))
                m_emptyIni->Add(SString(m_path, length) + name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        for (int k = 0; k < 3; k++)
            counts[k] += local[k];
        if (counted)
            for (int k = 0; k < 3; k++)
                folders[own].counts[k] = local[k];
    }

    char m_path[1040];
    SStringArray* m_emptyIni;
    PLibraryStats::StopTest m_stop;
    void* m_stopContext;
    bool m_stopped;
    unsigned m_seen;
};

} // namespace

PLibraryStats::PLibraryStats() : m_totalSongs(0), m_totalVideos(0), m_totalRadios(0), m_generation(0) {}

PLibraryStats::Kind PLibraryStats::KindOf(const char* name)
{
    if (!name)
        return KindNone;
    const char* dot = strrchr(name, '.');
    if (!dot)
        return KindNone;
    for (const Extension& extension : kExtensions)
        if (_stricmp(dot + 1, extension.text) == 0)
            return extension.kind;
    return KindNone;
}

void PLibraryStats::Clear()
{
    m_folders.RemoveAll();
    m_songs.RemoveAll();
    m_videos.RemoveAll();
    m_radios.RemoveAll();
    m_totalSongs = m_totalVideos = m_totalRadios = 0;
}

bool PLibraryStats::Count(const char* root, SStringArray* emptyIni, StopTest stop, void* stopContext)
{
    Clear();
    if (!root)
        return false;
    DWORD attributes = GetFileAttributesA(root);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    Walker walker(emptyIni, stop, stopContext);
    if (!walker.Start(root) || walker.folders.empty())
        return false;

    const FolderCounts& top = walker.folders[0];
    m_totalSongs = top.counts[KindSong];
    m_totalVideos = top.counts[KindVideo];
    m_totalRadios = top.counts[KindRadio];
    // The folder list is kept in the string list's own (case-sensitive) order, so
    // that a lookup can search it by halves.
    std::vector<int> order(walker.folders.size());
    for (size_t i = 0; i < order.size(); i++)
        order[i] = (int)i;
    std::sort(order.begin(), order.end(), [&walker](int a, int b) {
        return strcmp(walker.folders[a].path, walker.folders[b].path) < 0;
    });
    const int count = (int)order.size();
    if (!m_songs.SetSize(count, false) || !m_videos.SetSize(count, false) || !m_radios.SetSize(count, false))
    {
        Clear();
        return false;
    }
    for (int i = 0; i < count; i++)
    {
        const FolderCounts& folder = walker.folders[order[i]];
        m_folders.Add(folder.path);
        m_songs.SetAt(i, (unsigned short)folder.counts[KindSong]);
        m_videos.SetAt(i, (unsigned short)folder.counts[KindVideo]);
        m_radios.SetAt(i, (unsigned short)folder.counts[KindRadio]);
    }
    return true;
}

int PLibraryStats::Find(const char* folderPath) const
{
    if (!folderPath)
        return -1;
    return m_folders.FindSorted(folderPath);
}

unsigned short PLibraryStats::GetSongs(int index) const
{
    return index >= 0 && index < m_songs.GetCount() ? m_songs.GetAt(index) : 0;
}

unsigned short PLibraryStats::GetVideos(int index) const
{
    return index >= 0 && index < m_videos.GetCount() ? m_videos.GetAt(index) : 0;
}

unsigned short PLibraryStats::GetRadios(int index) const
{
    return index >= 0 && index < m_radios.GetCount() ? m_radios.GetAt(index) : 0;
}

PStatsKeeper::PStatsKeeper() : m_current(new PLibraryStats), m_generation(0) {}

PStatsKeeper::~PStatsKeeper()
{
    delete m_current;
}

int PStatsKeeper::BeginPass()
{
    return ++m_generation;
}

bool PStatsKeeper::Accept(PLibraryStats* result)
{
    if (!result)
        return false;
    if (result->GetGeneration() != m_generation)
    {
        delete result;
        return false;
    }
    delete m_current;
    m_current = result;
    return true;
}
