#pragma once
// The file list of a library folder: one item per media file (title, kind
// image, note marker).
#include "SString.h"
#include "SStringArray.h"

class SListCtrl;

class PFileLister
{
public:
    // File-list images of the media kinds, and of a track with a note.
    enum { ImageVideo = 1, ImageSong = 2, ImageRadio = 3, ImagePicture = 4, ImageNote = 5 };

    // The file-list image of a file name by its extension; -1 for no media.
    static int MediaImage(const char* name);
    // Replaces the list's items and the parallel paths by one item per file of
    // folder (path ending with '\'): its title, its kind image and, for a track
    // with a note beside it (title + ".txt"), the note marker. The number of items.
    static int Fill(SListCtrl* list, SStringArray* paths, const SStringArray& files, const char* folder);
    // The same with the note titles given, sorted ignoring case (see CollectFolder);
    // paths may be &files, which then stay as they are.
    static int Fill(SListCtrl* list, SStringArray* paths, const SStringArray& files, const SStringArray& notes);
    // From one listing of folder: into files, its media files as PPlayQueue::CollectFiles
    // gathers songs, videos, radios and pictures (sorted ignoring case, hidden ones left
    // out); into notes, the titles of its ".txt" files, sorted ignoring case. Both are
    // cleared first; the number of files.
    static int CollectFolder(const char* folder, SStringArray* files, SStringArray* notes);
    // The file's name without its extension, as SPath reads it, without SPath's
    // path resolution for a plain local path.
    static SString TitleOf(const char* path);
    // The folder path without its trailing separators.
    static SString WithoutSeparator(const char* folderPath);
};
