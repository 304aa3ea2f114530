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

bool LessNoCase(const SString& a, const SString& b)
{
    return _stricmp(a, b) < 0;
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
    list->ReserveItems(files.GetCount());
    for (int i = 0; i < files.GetCount(); i++)
    {
        const SString* file = files.GetString(i);
        const int image = MediaImage(*file);
        const SString title = TitleOf(*file);
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
