#pragma once
// The media counts of a library: for every folder of the tree, how many songs,
// videos and radios lie in it and below it. Built by one walk of the tree on the
// statistics worker, then handed whole to the main window.
#include <windows.h>

#include "SArray.h"
#include "SString.h"
#include "SStringArray.h"

class PLibraryStats
{
public:
    // Media kinds of the counts, by file extension.
    enum Kind { KindNone = -1, KindSong = 0, KindVideo = 1, KindRadio = 2 };
    // Asked now and then during a walk; true abandons it.
    typedef bool (*StopTest)(void* context);

    PLibraryStats();
    PLibraryStats(const PLibraryStats&) = delete;
    PLibraryStats& operator=(const PLibraryStats&) = delete;

    // The kind a file name counts as (its last extension, ignoring case).
    static Kind KindOf(const char* name);

    // Replaces the counts by those of the tree under root (a folder path), in one
    // walk: hidden folders and hidden files are left out. The paths of empty ".ini"
    // files anywhere under root, hidden ones included, are appended to emptyIni
    // when given. False, with the counts emptied, when root is no folder or the
    // stop test ended the walk.
    bool Count(const char* root, SStringArray* emptyIni = nullptr, StopTest stop = nullptr,
               void* stopContext = nullptr);
    // Forgets every count.
    void Clear();

    // The folders counted, full paths ending with '\', in case-sensitive text order.
    const SStringArray& GetFolders() const { return m_folders; }
    int GetFolderCount() const { return m_folders.GetCount(); }
    // Index of a folder path (ending with '\'), -1 when it was not counted.
    int Find(const char* folderPath) const;
    // Counts of the folder at index, kept modulo 65536; 0 outside the list.
    unsigned short GetSongs(int index) const;
    unsigned short GetVideos(int index) const;
    unsigned short GetRadios(int index) const;
    // Counts of the whole library (the root folder), not limited to 16 bits.
    int GetTotalSongs() const { return m_totalSongs; }
    int GetTotalVideos() const { return m_totalVideos; }
    int GetTotalRadios() const { return m_totalRadios; }

    // The pass these counts belong to; a result whose number is not the latest is dropped.
    int GetGeneration() const { return m_generation; }
    void SetGeneration(int generation) { m_generation = generation; }

private:
    SStringArray m_folders;
    SArray<unsigned short> m_songs;
    SArray<unsigned short> m_videos;
    SArray<unsigned short> m_radios;
    int m_totalSongs;
    int m_totalVideos;
    int m_totalRadios;
    int m_generation;
};

// The statistics the main window shows, and the number of the latest pass. Each
// pass gets a new number; only the result of the latest pass replaces the
// statistics, so a pass that was overtaken can never show old counts.
class PStatsKeeper
{
public:
    PStatsKeeper();
    ~PStatsKeeper();
    PStatsKeeper(const PStatsKeeper&) = delete;
    PStatsKeeper& operator=(const PStatsKeeper&) = delete;

    // Numbers a new pass; results of earlier passes are stale from now on.
    int BeginPass();
    // The number of the latest pass (0 before the first).
    int GetGeneration() const { return m_generation; }
    // Takes a result (owned from now on): it replaces the statistics when it carries
    // the latest pass's number, else it is deleted. True when taken.
    bool Accept(PLibraryStats* result);
    // The statistics shown now (empty before the first accepted pass).
    const PLibraryStats& Get() const { return *m_current; }

private:
    PLibraryStats* m_current;
    int m_generation;
};
