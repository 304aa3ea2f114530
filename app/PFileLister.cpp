#include "PFileLister.h"

#include <windows.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "SListCtrl.h"
#include "SPath.h"

namespace
{

struct MediaExtension
{
    const char* text;
    int image;
};

const MediaExtension kMediaExtensions[] = {
    {"mp3", PFileLister::ImageSong},     {"wma", PFileLister::ImageSong},   {"mpg", PFileLister::ImageVideo},
    {"mpeg", PFileLister::ImageVideo},   {"avi", PFileLister::ImageVideo},  {"wmv", PFileLister::ImageVideo},
    {"wax", PFileLister::ImageRadio},    {"wvx", PFileLister::ImageRadio},  {"jpg", PFileLister::ImagePicture},
    {"jpeg", PFileLister::ImagePicture}};

bool IsDots(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

bool LessNoCase(const SString& a, const SString& b)
{
    return _stricmp(a, b) < 0;
}

bool IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

int PFileLister::MediaImage(const char* name)
{
    const char* dot = name ? strrchr(name, '.') : nullptr;
    if (!dot)
        return -1;
    for (const MediaExtension& extension : kMediaExtensions)
        if (_stricmp(dot + 1, extension.text) == 0)
            return extension.image;
    return -1;
}

SString PFileLister::WithoutSeparator(const char* folderPath)
{
    SString folder(folderPath ? folderPath : "");
    int length = folder.GetLength();
    while (length > 0 && (folder[length - 1] == '\\' || folder[length - 1] == '/'))
        length--;
    return SString(folder, length);
}

void PFileLister::Collect(SStringArray* out, const char* folder, bool recursive, bool songs, bool videos,
                          bool pictures, bool sideFiles, bool excludeRadios)
{
    if (!out || !folder || !*folder)
        return;
    // One listing per folder; each file is taken by its extension, as the kinds'
    // patterns would take it.
    std::vector<SString> found;
    std::vector<SString> pending;
    pending.push_back(WithoutSeparator(folder) + "\\");
    while (!pending.empty())
    {
        const SString current = pending.back();
        pending.pop_back();
        if (sideFiles)
        {
            const SString base = WithoutSeparator(current);
            static const char* const choices[][2] = {{".png", ".jpg"}, {".txt", nullptr}, {".mht", ".htm"}};
            for (const auto& choice : choices)
                for (const char* extension : choice)
                    if (extension && IsFile(base + extension))
                    {
                        found.push_back(base + extension);
                        break;
                    }
        }
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(current + "*", &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        std::vector<SString> subfolders;
        do
        {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                if (recursive && !IsDots(data.cFileName))
                    subfolders.push_back(current + data.cFileName + "\\");
                continue;
            }
            bool wanted = false;
            switch (MediaImage(data.cFileName))
            {
            case ImageSong: wanted = songs; break;
            case ImageVideo: wanted = videos; break;
            case ImagePicture: wanted = pictures; break;
            case ImageRadio:
            {
                const char* dot = strrchr(data.cFileName, '.');
                const bool wax = dot && _stricmp(dot, ".wax") == 0;
                wanted = !excludeRadios && (wax ? songs : videos);
                break;
            }
            default: break;
            }
            if (wanted)
                found.push_back(current + data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        // Deeper folders in name order, so side files come out as a walk would give them.
        std::sort(subfolders.begin(), subfolders.end(), LessNoCase);
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(*it);
    }
    std::stable_sort(found.begin(), found.end(), LessNoCase);
    for (const SString& path : found)
        out->Add(path);
}

int PFileLister::Fill(SListCtrl* list, SStringArray* paths, const SStringArray& files, const char* folder)
{
    if (!list || !paths)
        return 0;
    // The notes of the folder, found in one listing rather than one query per track.
    std::vector<SString> notes;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(SString(folder ? folder : "") + "*.txt", &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            {
                const size_t length = strlen(data.cFileName);
                if (length > 4)
                    notes.push_back(SString(data.cFileName, (int)length - 4));
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    std::sort(notes.begin(), notes.end(), LessNoCase);

    list->SendMessage(WM_SETREDRAW, FALSE, 0);
    list->RemoveAll();
    paths->RemoveAll();
    for (int i = 0; i < files.GetCount(); i++)
    {
        const SString* file = files.GetString(i);
        const int image = MediaImage(*file);
        const SString title = SPath(*file).GetTitle();
        int right = -1;
        if (image != ImagePicture && std::binary_search(notes.begin(), notes.end(), title, LessNoCase))
            right = ImageNote;
        list->InsertItem(title, -1, image, right);
        paths->Add(*file);
    }
    list->SendMessage(WM_SETREDRAW, TRUE, 0);
    list->InvalidateRect();
    return list->GetCount();
}
