#include "PWndDescription.h"

#include <stdio.h>

#include "PWndApp.h"
#include "SControl.h"
#include "SFileAtomic.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SMessages.h"
#include "SPath.h"

namespace
{
struct ToolButton
{
    int image;
    const char* text;
    bool separatorAfter;
};
const ToolButton kToolButtons[9] = {
    {191, "Generate HTML page", false}, {192, "Generate all HTML pages", true}, {194, "Set [group] tag", true},
    {193, "Set [genre] tag", false},    {196, "Set [name] tag", false},         {189, "Set [title] tag", false},
    {197, "Set [quote] tag", false},    {195, "Set [image] tag", true},         {190, "Set [bold] tag", false},
};

SString LoadStyleSheet(int id)
{
    SFileMem sheet;
    if (!sheet.LoadResource("BINARY", id) || sheet.GetSize() <= 0)
        return SString();
    return SString((const char*)sheet.GetBuffer(), sheet.GetSize());
}
} // namespace

PWndDescription::PWndDescription() : m_owner(nullptr), m_count(0)
{
    m_names.AddFlags(0x10000);
}

PWndDescription::~PWndDescription()
{
    Destroy();
}

PWndDescription* PWndDescription::SetApp(PWndApp* owner)
{
    m_owner = owner;
    return this;
}

bool PWndDescription::Create(PWndApp* owner)
{
    SetApp(owner);
    RECT rect = {0, 0, 800, 600};
    return SWnd::Create("Description - Melvora Browser", 0x90CF0000, 0, &rect, owner ? owner->GetHandle() : nullptr);
}

SString PWndDescription::RootPath() const
{
    return m_owner ? m_owner->GetRootFolder().GetPath() : SString();
}

void PWndDescription::SetStatus(const char* text)
{
    m_statusBar.SetText(0, text);
}

void PWndDescription::EnableControls(bool enable)
{
    ::EnableWindow(m_toolBar.GetHandle(), enable);
    ::EnableWindow(m_tree.GetHandle(), enable);
    ::EnableWindow(m_editor.GetHandle(), enable);
    if (enable)
        UpdateTagButtons();
    m_toolBar.InvalidateRect();
    m_tree.InvalidateRect();
    m_editor.InvalidateRect();
    ::UpdateWindow(GetHandle());
}

void PWndDescription::UpdateTagButtons()
{
    const bool open = m_editor.HasDocument();
    for (int command = CMD_CHAPTER; command <= CMD_BOLD; command++)
        m_toolBar.EnableButton(command, open);
}

void PWndDescription::Reload()
{
    m_count = 0;
    SetStatus("Loading... 0");
    m_names.RemoveAll();
    m_paths.RemoveAll();
    m_tree.DeleteAllItems();
    ::SetCursor(GetCursorHandle(13));
    FillTree(TVI_ROOT, RootPath());
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    SetStatus("Ready.");
    EnableControls(true);
}

void PWndDescription::FillTree(HTREEITEM parent, const SString& folder)
{
    SStringArray folders;
    m_disk.Search(&folders, folder + "*.*",
                  SDisk::SearchFolders | SDisk::SearchSkipHidden | SDisk::SearchWithSubfolders);
    if (folders.GetCount() == 0)
        return;
    SPath root;
    root.SetFolder(RootPath());
    const int rootCount = root.GetComponentCount();
    SStringArray local;
    local.AddFlags(0x10000);
    for (int i = 0; i < folders.GetCount(); i++)
    {
        SPath path;
        path.SetFolder(folders.GetAt(i));
        SString name = path.GetLastFolder(true);
        local.Add(name);
        m_names.Add(name);
        SString relative = path.JoinComponents(rootCount - 1, -1, true);
        if (relative.GetLength() > 0 && relative[relative.GetLength() - 1] == '\\')
            relative.Delete(relative.GetLength() - 1, 1);
        m_paths.Add(relative);
    }
    local.Sort();
    char status[48];
    for (int i = 0; i < local.GetCount(); i++)
    {
        m_count++;
        snprintf(status, sizeof(status), "Loading... %d", m_count);
        SetStatus(status);
        HTREEITEM item = m_tree.InsertItem(local.GetAt(i), -1, -1, parent);
        FillTree(item, folder + local.GetAt(i) + "\\");
    }
}

void PWndDescription::SaveText()
{
    if (!m_editor.HasDocument())
        return;
    const SString name = m_editor.GetDocumentName();
    if (name.GetLength() < 4 || name.Right(4).CompareNoCase(".txt") != 0)
        return;
    const SString path = RootPath() + name;
    if (m_editor.GetLineCount() <= 1 && m_editor.GetLineLength(0, true) == 0)
    {
        if (m_disk.IsFile(path))
            m_disk.DeleteFile(path);
        return;
    }
    SFileAtomic file;
    if (file.Open(path) && m_editor.Save(file.GetFile(), name))
        file.Commit();
}

void PWndDescription::OpenItem(HTREEITEM item)
{
    if (!item)
    {
        UpdateTagButtons();
        return;
    }
    const SString name = m_tree.GetItemPath(item) + ".txt";
    SFilePath file;
    if (!file.Open(RootPath() + name, false, false, true, true) || !m_editor.Load(&file, name))
        m_editor.New(name);
    UpdateTagButtons();
}

bool PWndDescription::GeneratePage(HTREEITEM item)
{
    if (!item)
        return false;
    PDescriptionPage page;
    page.SetStyleSheet(LoadStyleSheet(187));
    page.SetFolders(&m_names, &m_paths);
    return page.Generate(RootPath(), m_tree.GetItemPath(item));
}

bool PWndDescription::GenerateAll()
{
    const bool editorFocused = m_editor.HasFocus();
    EnableControls(false);
    SFileMem icon;
    if (icon.LoadResource("BINARY", 188) && icon.GetSize() > 0)
    {
        const SString images = RootPath() + "Images\\";
        if (!m_disk.CreateFolder(images, true) && !m_disk.IsFolder(images))
        {
            EnableControls(true);
            return false;
        }
        if (!m_disk.IsHidden(images))
            m_disk.SetAttributes(images, SDisk::AttrHidden);
        icon.SaveToFile(images + "icon.gif");
    }
    ::SetCursor(GetCursorHandle(13));
    PDescriptionPage page;
    page.SetStyleSheet(LoadStyleSheet(187));
    page.SetFolders(&m_names, &m_paths);
    const int total = m_names.GetCount();
    int depth = 0;
    int k = 0;
    char status[48];
    for (HTREEITEM item = m_tree.GetRootItem(); item; item = m_tree.GetNextItemInOrder(item, &depth), k++)
    {
        snprintf(status, sizeof(status), "Building... %d%%", total > 0 ? k * 100 / total : 0);
        SetStatus(status);
        page.Generate(RootPath(), m_tree.GetItemPath(item));
    }
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    SetStatus("Ready.");
    EnableControls(true);
    if (editorFocused)
        m_editor.SetFocus();
    return true;
}

void PWndDescription::InsertChapter()
{
    int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    if (!m_editor.GetSelection(&startLine, &startColumn, &endLine, &endColumn))
        m_editor.GetCaret(&startLine, &startColumn);
    const SString selected = m_editor.HasSelection() ? m_editor.GetSelectedText() : SString();
    m_editor.ReplaceSelection(SString("{") + selected + "}\r\n");
    if (selected.IsEmpty())
        m_editor.SetSelection(startLine, startColumn + 1, startLine, startColumn + 1, 0);
}

void PWndDescription::InsertTag(const char* tag)
{
    if (!m_editor.HasSelection())
    {
        if (!tag)
            return;
        int line = 0, column = 0;
        m_editor.GetCaret(&line, &column);
        m_editor.ReplaceSelection(SString("#") + tag + " #");
        m_editor.GetCaret(&line, &column);
        if (column > 0)
            m_editor.SetSelection(line, column - 1, line, column - 1, 0);
        return;
    }
    int firstLine = 0, firstColumn = 0, lastLine = 0, lastColumn = 0;
    if (!m_editor.GetSelection(&firstLine, &firstColumn, &lastLine, &lastColumn))
        return;
    SString joined;
    for (int line = firstLine; line <= lastLine; line++)
    {
        SString* text = m_editor.GetLineText(line);
        SString whole = text ? *text : SString();
        const int from = line == firstLine ? firstColumn : 0;
        const int to = line == lastLine ? lastColumn : whole.GetLength();
        SString part = whole.Mid(from, to > from ? to - from : 0);
        if (line > firstLine)
            joined += "\r\n";
        joined += tag ? SString("#") + tag + " " + part + "#" : SString("<b>") + part + "</b>";
    }
    m_editor.ReplaceSelection(joined);
}

void PWndDescription::OnToolbarCommand(int command)
{
    switch (command)
    {
    case CMD_GENERATE:
        SaveText();
        GeneratePage(m_tree.GetSelectedItem());
        break;
    case CMD_GENERATE_ALL:
        SaveText();
        GenerateAll();
        break;
    case CMD_CHAPTER:
        if (m_editor.HasDocument())
            InsertChapter();
        break;
    case CMD_GENRE: case CMD_NAME: case CMD_TITLE: case CMD_QUOTE: case CMD_IMAGE: case CMD_BOLD:
    {
        static const char* const tags[] = {"genre", "name", "title", "quote", "image", nullptr};
        if (m_editor.HasDocument())
            InsertTag(tags[command - CMD_GENRE]);
        break;
    }
    default:
        break;
    }
}

LRESULT PWndDescription::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        HICON big = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(107), IMAGE_ICON, 32, 32, LR_SHARED);
        HICON small = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(108), IMAGE_ICON, 16, 16, LR_SHARED);
        SetClassIcons(big, small);
        SetIcons(big, small);
        SetWindowText("Description - Melvora Browser");
        MoveWindow(0, 0, 800, 600, false);
        SetMinTrackSize(640, 480);
        CenterWindow(false);

        m_images.Create(48, 48, ILC_COLOR32);
        for (const ToolButton& button : kToolButtons)
        {
            SImage image;
            if (image.LoadResource(button.image, "BINARY"))
            {
                image.Resize(48, 48);
                m_images.AddImage(&image);
            }
            else
                m_images.AddBlank();
        }
        m_controlBar.Create(WS_VISIBLE, 0, GetHandle());
        m_toolBar.Create(WS_VISIBLE | 0x90C, 0, nullptr, m_controlBar.GetHandle());
        m_toolBar.SetTransparent(true);
        m_toolBar.SetImageList(m_images.GetHandle());
        m_toolBar.SetBitmapSize(48, 48);
        for (int i = 0; i < 9; i++)
        {
            m_toolBar.AddButton(i + 1, i, kToolButtons[i].text, BTNS_AUTOSIZE, TBSTATE_ENABLED, 0);
            if (kToolButtons[i].separatorAfter)
                m_toolBar.AddSeparator();
        }
        SIZE size = m_toolBar.GetMaxSize();
        m_controlBar.InsertBand(m_toolBar.GetHandle(), -1, 100, m_toolBar.GetButtonHeight(), size.cx, true, "",
                                RBBS_NOGRIPPER);
        m_statusBar.Create(WS_VISIBLE, 0, GetHandle());
        m_statusBar.SetParts(1);

        RECT free;
        GetFreeClientRect(&free);
        RECT left = {free.left, free.top, free.left + 250, free.bottom};
        m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                          TVS_DISABLEDRAGDROP,
                      0, &left, GetHandle());
        m_tree.SetAnchor(64);
        RECT right = {free.left + 250, free.top, free.right, free.bottom};
        m_editor.Create(WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, &right, GetHandle());
        m_editor.SetAnchor(68);
        ::EnableWindow(m_toolBar.GetHandle(), FALSE);
        ::EnableWindow(m_tree.GetHandle(), FALSE);
        ::EnableWindow(m_editor.GetHandle(), FALSE);
        LoadPlacement(kPlacementKey1, kPlacementKey2, "WindowDescription", true);
        return 0;
    }
    case WM_SETFOCUS:
        if (m_editor.GetHandle())
            m_editor.SetFocus();
        return 0;
    case ControlMessage(SBLOCK_TOOLBAR):
        OnToolbarCommand((int)lParam);
        return 0;
    case ControlMessage(SBLOCK_TREE, 2):
        if ((SWnd*)wParam == &m_tree)
        {
            SaveText();
            OpenItem((HTREEITEM)lParam);
        }
        return 0;
    case WM_CLOSE:
        SaveText();
        m_editor.Clear();
        SavePlacement(kPlacementKey1, kPlacementKey2, "WindowDescription");
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
