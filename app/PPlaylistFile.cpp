#include "PPlaylistFile.h"

#include <string.h>

#include "SFileAtomic.h"
#include "SFilePath.h"

bool PPlaylistFile::IsValidName(const char* name)
{
    if (!name || !*name)
        return false;
    const size_t length = strlen(name);
    for (size_t i = 0; i < length; i++)
    {
        const unsigned char c = (unsigned char)name[i];
        if (c < 32 || strchr("\\/:*?\"<>|", c))
            return false;
    }
    // Windows drops trailing dots and blanks, so the file would get another name.
    if (name[length - 1] == '.' || name[length - 1] == ' ')
        return false;
    // Device names stay devices with any extension ("nul.txt").
    SString base(name);
    int dot = base.FindChar('.');
    if (dot >= 0)
        base = base.Left(dot);
    base.Trim(-1, -1, true);
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base.CompareNoCase(device) == 0)
            return false;
    if (base.GetLength() == 4 && base[3] >= '1' && base[3] <= '9' &&
        (base.Left(3).CompareNoCase("COM") == 0 || base.Left(3).CompareNoCase("LPT") == 0))
        return false;
    return true;
}

bool PPlaylistFile::Read(const char* path, SStringArray* entries)
{
    SFilePath file;
    if (!entries || !file.Open(path, false, false, true, true))
        return false;
    while (!file.IsEof())
    {
        SString line = file.ReadLine(true);
        int start = 0, end = line.GetLength();
        while (start < end && (line[start] == ' ' || line[start] == '\t'))
            start++;
        while (end > start && (line[end - 1] == ' ' || line[end - 1] == '\t'))
            end--;
        if (end > start)
            entries->Add(line.Mid(start, end - start));
    }
    return true;
}

bool PPlaylistFile::Write(const char* path, const SStringArray& entries)
{
    SString text;
    for (int i = 0; i < entries.GetCount(); i++)
    {
        text += entries.GetAt(i);
        text += "\r\n";
    }
    // An unwritable playlist keeps its old contents.
    SFileAtomic file;
    if (!file.Open(path))
        return false;
    if (!text.IsEmpty() && file.GetFile()->Write(text.GetBuffer(), text.GetLength()) != text.GetLength())
        return false;
    return file.Commit();
}

SString PPlaylistFile::EntryOf(const SPath& root, const char* fullPath)
{
    SPath path(fullPath);
    return path.JoinComponents(root.GetComponentCount() - 1, -1, false, '\\');
}
