#include "PFileLister.h"

#include <windows.h>
#include <string.h>

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

SString PFileLister::TitleOf(const char* path)
{
    // A plain local path names its file after its last separator; anything else (a
    // relative path, a URL, a name ending in a dot or space) is left to SPath's reading.
    const char* text = path ? path : "";
    const size_t length = strlen(text);
    const bool plain = length > 3 && length < MAX_PATH && text[1] == ':' && text[2] == '\\' &&
                       text[length - 1] != '.' && text[length - 1] != ' ' && !strchr(text, '/') &&
                       SPath::IsValidText(text);
    if (!plain)
        return SPath(text).GetTitle();
    const char* name = strrchr(text, '\\') + 1;
    const char* dot = strrchr(name, '.');
    return SString(name, dot ? (int)(dot - name) : (int)strlen(name));
}

SString PFileLister::WithoutSeparator(const char* folderPath)
{
    SString folder(folderPath ? folderPath : "");
    int length = folder.GetLength();
    while (length > 0 && (folder[length - 1] == '\\' || folder[length - 1] == '/'))
        length--;
    return SString(folder, length);
}

int PFileLister::CollectFolder(const char* folder, SStringArray* files, SStringArray* notes)
{
    if (!files || !notes)
        return 0;
    files->RemoveAll();
    notes->RemoveAll();
    if (!folder || !*folder)
        return 0;
    SString base(folder);
    const char last = folder[strlen(folder) - 1];
    if (last != '\\' && last != '/')
        base += "\\";
    // One listing for both: the media files as the play queue collects them (hidden ones
    // left out) and the notes as a search for "*.txt" finds them (hidden ones too).
    SStringArray names;
    names.AddFlags(0x10000);
    notes->AddFlags(0x10000);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(base + "*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const char* name = data.cFileName;
        const size_t length = strlen(name);
        if (length > 4 && _stricmp(name + length - 4, ".txt") == 0)
            notes->Add(SString(name, (int)length - 4));
        else if (!(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && MediaImage(name) >= 0)
            names.Add(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    names.Sort();
    notes->Sort();
    SString path(base);
    for (int i = 0; i < names.GetCount(); i++)
    {
        path.SetLength(base.GetLength());
        path += *names.GetString(i);
        files->Add(path);
    }
    return files->GetCount();
}

int PFileLister::Fill(SListCtrl* list, SStringArray* paths, const SStringArray& files, const char* folder)
{
    if (!list || !paths)
        return 0;
    // The notes of the folder, found in one listing rather than one query per track.
    SStringArray notes;
    notes.AddFlags(0x10000);
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
                    notes.Add(SString(data.cFileName, (int)length - 4));
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    notes.Sort();
    return Fill(list, paths, files, notes);
}

int PFileLister::Fill(SListCtrl* list, SStringArray* paths, const SStringArray& files, const SStringArray& notes)
{
    if (!list || !paths)
        return 0;
    // The files may be the paths already: then they are kept, not copied.
    const bool copyPaths = paths != &files;
    list->SendMessage(WM_SETREDRAW, FALSE, 0);
    list->RemoveAll();
    if (copyPaths)
        paths->RemoveAll();
    list->ReserveItems(files.GetCount());
    for (int i = 0; i < files.GetCount(); i++)
    {
        const SString* file = files.GetString(i);
        const int image = MediaImage(*file);
        const SString title = TitleOf(*file);
        int right = -1;
        if (image != ImagePicture && notes.FindSorted(title) >= 0)
            right = ImageNote;
        list->InsertItem(title, -1, image, right);
        if (copyPaths)
            paths->Add(*file);
    }
    list->SendMessage(WM_SETREDRAW, TRUE, 0);
    list->InvalidateRect();
    return list->GetCount();
}
