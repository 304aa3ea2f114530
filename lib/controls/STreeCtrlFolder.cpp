// Folder mode of the tree control: the file system under the root folder, each
// folder filled the first time it is expanded.
#include "STreeCtrl.h"

#include <shellapi.h>

#include "SLibrary.h"
#include "SPath.h"

void STreeCtrl::SetFolderMode(bool on, const char* rootFolder, const char* pattern, bool showFiles)
{
    m_folderMode = on ? 1 : 0;
    m_rootFolder = rootFolder ? rootFolder : "";
    if (!m_rootFolder.IsEmpty() && m_rootFolder[m_rootFolder.GetLength() - 1] != '\\')
        m_rootFolder += "\\";
    m_pattern = pattern && *pattern ? pattern : "*.*";
    m_showFiles = showFiles ? 1 : 0;
}

bool STreeCtrl::HasChildren(const char* folder)
{
    SString base(folder);
    if (base.IsEmpty())
        return false;
    if (base[base.GetLength() - 1] != '\\')
        base += "\\";
    if (m_disk.Search(nullptr, base + "*.*", SDisk::SearchFolders) > 0)
        return true;
    return m_showFiles && m_disk.Search(nullptr, base + m_pattern, SDisk::SearchFiles) > 0;
}

HTREEITEM STreeCtrl::InsertFileItem(HTREEITEM parent, const char* path)
{
    SPath file;
    file.Set(path);
    if (!GetHandle() || !file.IsValid())
        return nullptr;
    SHFILEINFOA info;
    memset(&info, 0, sizeof(info));
    if (!SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) || !info.hIcon)
        return nullptr;
    if (!m_icons.GetHandle() && m_icons.Create(16, 16, ILC_COLOR32 | ILC_MASK))
        SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)m_icons.GetHandle());
    bool folder = file.GetName().IsEmpty();
    SString key = folder ? SString("") : file.GetExtension(true, true);
    int image = -1;
    int known = m_iconKeys.FindSorted(key);
    if (known >= 0)
        image = (int)m_iconKeys.GetString(known)->GetExtra1();
    else
    {
        image = m_icons.AddIcon(info.hIcon) ? m_icons.GetCount() - 1 : -1;
        int at = m_iconKeys.InsertSorted(key);
        if (SString* stored = m_iconKeys.GetString(at))
            stored->SetExtra1(image);
    }
    DestroyIcon(info.hIcon);
    SString label = folder ? file.GetLastFolder(true) : file.GetName();
    if (label.IsEmpty())
        label = file.GetRoot();
    return InsertItem(label, image, image, parent, TVI_LAST, 0);
}

void STreeCtrl::FillFolder(HTREEITEM parent, const char* folder)
{
    SString base(folder);
    if (!GetHandle() || base.IsEmpty())
        return;
    if (base[base.GetLength() - 1] != '\\')
        base += "\\";
    SStringArray folders, files;
    m_disk.Search(&folders, base + "*.*", SDisk::SearchFolders);
    if (m_showFiles)
        m_disk.Search(&files, base + m_pattern, SDisk::SearchFiles);
    folders.Sort();
    files.Sort();
    bool redraw = SetRedraw(false);
    SetCursor(GetCursorHandle(13));
    for (int i = 0; i < folders.GetCount(); i++)
    {
        SString path = folders.GetAt(i);
        HTREEITEM item = InsertFileItem(parent, path);
        // A placeholder gives the folder its expand button until it is filled.
        if (item && HasChildren(path))
            InsertItem("*", 0, 0, item, TVI_LAST, 0);
    }
    for (int i = 0; i < files.GetCount(); i++)
        InsertFileItem(parent, files.GetAt(i));
    SetCursor(nullptr);
    SetRedraw(redraw);
}

void STreeCtrl::OnItemExpanded(HTREEITEM item, bool expanded)
{
    if (!m_folderMode || !expanded || !item)
        return;
    HTREEITEM placeholder = GetChildItem(item);
    if (!placeholder || GetItemText(placeholder) != "*")
        return;
    DeleteItem(placeholder, true);
    FillFolder(item, GetItemPath(item));
    if (m_checksPropagate && (GetStyle() & TVS_CHECKBOXES) && IsItemChecked(item))
        SetCheckSubtree(item, true);
}
