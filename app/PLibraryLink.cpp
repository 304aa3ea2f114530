#include "PLibraryLink.h"

#include <ctype.h>
#include <string.h>

SString PLibraryLink::UrlToPath(const char* url)
{
    SString text(url);
    if (text.Left(5).CompareNoCase("file:") == 0)
    {
        text = text.Mid(5);
        int slashes = 0;
        while (slashes < text.GetLength() && (text[slashes] == '/' || text[slashes] == '\\'))
            slashes++;
        // "file:///C:/x" is a drive path; "file://server/share/x" a UNC path.
        if (slashes >= 3 || (text.GetLength() > slashes + 1 && text[slashes + 1] == ':'))
            text = text.Mid(slashes);
        else if (slashes == 2)
            text = SString("\\\\") + text.Mid(2);
        else
            text = text.Mid(slashes);
    }
    text.UrlDecode(false);
    text.ReplaceChar('/', '\\');
    // A drive path or a UNC path; web addresses and other schemes are no files.
    const bool drive = text.GetLength() >= 3 && isalpha((unsigned char)text[0]) && text[1] == ':' && text[2] == '\\';
    const bool unc = text.Left(2).IsEqual("\\\\");
    if ((!drive && !unc) || !SPath::IsValidText(text))
        return SString();
    return text;
}

bool PLibraryLink::RelativeToRoot(const SPath& root, const char* path, SString* relative)
{
    SPath target(path);
    if (!target.IsValid() || !root.IsValid())
        return false;
    const int rootCount = root.GetComponentCount();
    if (target.GetComponentCount() < rootCount)
        return false;
    // The folder components of the root (all but its empty name) must match.
    SPath prefix;
    prefix.SetFolder(target.JoinComponents(0, rootCount - 1));
    if (!prefix.IsSame(root))
        return false;
    if (relative)
        *relative = target.JoinComponents(rootCount - 1);
    return !target.JoinComponents(rootCount - 1).IsEmpty();
}

SString PLibraryLink::CopyDataText(const COPYDATASTRUCT* data)
{
    if (!data || data->dwData != 1 || !data->lpData || data->cbData < 2 || data->cbData > 4096)
        return SString();
    const char* text = (const char*)data->lpData;
    if (text[data->cbData - 1] != 0)
        return SString();
    return SString(text);
}
