#include "SSelector.h"

#include <vector>

#include "SComboCtrl.h"
#include "SControl.h"
#include "SDraw.h"
#include "SIdentifiants.h"
#include "SLibrary.h"
#include "SPath.h"
#include "SUniString.h"
#include "SWnd.h"

#if !defined(_WIN64)
static_assert(sizeof(CHOOSECOLORA) == 36, "CHOOSECOLORA of the colour dialog");
static_assert(sizeof(CHOOSEFONTA) == 60, "CHOOSEFONTA of the font dialog");
static_assert(sizeof(OPENFILENAMEA) == 88, "OPENFILENAMEA of the open-file dialog");
#endif

namespace
{
const int kFileBufferSize = 0x8000;
const int kSaveBufferSize = 40000;
const UINT kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;

// Each filter "Description|pattern" becomes two NUL-ended strings; a final NUL ends the block.
std::vector<char> FilterBlock(const SStringArray* filters)
{
    std::vector<char> block;
    if (filters)
    {
        for (int i = 0; i < filters->GetCount(); i++)
        {
            SString entry = filters->GetAt(i);
            const char* text = entry;
            bool barSeen = false;
            for (int c = 0; c < entry.GetLength(); c++)
            {
                char ch = text[c];
                if (ch == '|' && !barSeen)
                {
                    ch = 0;
                    barSeen = true;
                }
                block.push_back(ch);
            }
            block.push_back(0);
        }
        block.push_back(0);
    }
    return block;
}
const UINT kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
const UINT kFolderFlags = BIF_NEWDIALOGSTYLE | BIF_RETURNFSANCESTORS;

SSelectorDialogs g_realDialogs;
SSelectorDialogs* g_dialogs = &g_realDialogs;

// Selects the initial folder once the folder dialog is up.
int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM, LPARAM data)
{
    const SUniString* folder = (const SUniString*)data;
    if (msg == BFFM_INITIALIZED && folder && folder->GetLength() > 0)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, (LPARAM)(const wchar_t*)*folder);
    return 0;
}

bool EndsWithSeparator(const SString& text)
{
    int length = text.GetLength();
    return length > 0 && (text[length - 1] == '\\' || text[length - 1] == '/');
}
}

SSelectorDialogs::~SSelectorDialogs() {}

bool SSelectorDialogs::ChooseColor(CHOOSECOLORA* info)
{
    return ChooseColorA(info) != FALSE;
}

bool SSelectorDialogs::ChooseFont(CHOOSEFONTA* info)
{
    return ChooseFontA(info) != FALSE;
}

bool SSelectorDialogs::GetOpenFileName(OPENFILENAMEA* info)
{
    return GetOpenFileNameA(info) != FALSE;
}

bool SSelectorDialogs::GetSaveFileName(OPENFILENAMEA* info)
{
    return GetSaveFileNameA(info) != FALSE;
}

bool SSelectorDialogs::BrowseForFolder(BROWSEINFOA* info, char* path)
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return false;
    bool chosen = false;
    LPITEMIDLIST items = SHBrowseForFolderA(info);
    if (items)
    {
        chosen = SHGetPathFromIDListA(items, path) != FALSE;
        allocator->Free(items);
    }
    allocator->Release();
    return chosen;
}

// The system colour pop-up: a preview, a list of the system colour names and
// OK and Cancel; its modal result is the chosen colour's index, or -1.
class SSelector::_SWndColor : public SWnd
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg)
        {
        case WM_S_CREATED:
            BuildChildren();
            break;
        case WM_S_CONTROL_FIRST + 10 * SBLOCK_COMBO + 1:
            ShowSelectedColor();
            return 0;
        case WM_S_CONTROL_FIRST + 10 * SBLOCK_BUTTON + 1:
            EndModal((SWnd*)wParam == &m_ok ? SelectedIndex() : -1);
            return 0;
        case WM_S_OK:
            EndModal(SelectedIndex());
            return 0;
        case WM_S_CANCEL:
            EndModal(-1);
            return 0;
        default:
            break;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }

private:
    void BuildChildren()
    {
        HWND self = GetHandle();
        RECT preview = {5, 5, 295, 30};
        m_preview.Create("", WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE, &preview, self);
        RECT combo = {5, 35, 295, 200};
        m_combo.Create("", WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, &combo, self, 1100);
        const SStringArray& names = GetIdentifiants()->GetColorNames();
        for (int i = 0; i < names.GetCount(); i++)
            m_combo.AddString(names.GetAt(i).ToUpper());
        m_combo.SetCurSel(0);
        RECT ok = {110, 65, 200, 90};
        m_ok.SetKind(SKIND_BUTTON);
        m_ok.CreateSubclassed("BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, &ok, self, 1000, 0, GetInstance());
        RECT cancel = {205, 65, 295, 90};
        m_cancel.SetKind(SKIND_BUTTON);
        m_cancel.CreateSubclassed("BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, &cancel, self, 1001, 0,
                                  GetInstance());
        ShowSelectedColor();
    }

    // The system colour index of the selected name; -1 when nothing is selected.
    int SelectedIndex()
    {
        int selected = m_combo.GetCurSel();
        const SArray<int>& indexes = GetIdentifiants()->GetColorIndexes();
        if (selected < 0 || selected >= indexes.GetCount())
            return -1;
        return indexes.GetAt(selected);
    }

    void ShowSelectedColor()
    {
        int index = SelectedIndex();
        if (index < 0 || !m_preview.GetHandle())
            return;
        m_preview.SetBackColor(GetSysColor(index));
        m_preview.Redraw();
    }

    SComboCtrl m_combo; // drop-down list of the colour names
    SWnd m_preview; // shows the selected colour
    SWnd m_ok;
    SWnd m_cancel;
};

SSelector::SSelector(HWND owner)
    : m_owner(owner), m_folderSlash(true), m_fontSize(0), m_fontStyle(0), m_color(0), m_color2(SCOLOR_NONE)
{
}

SSelector::~SSelector()
{
}

SSelectorDialogs* SSelector::SetDialogs(SSelectorDialogs* dialogs)
{
    SSelectorDialogs* previous = g_dialogs == &g_realDialogs ? nullptr : g_dialogs;
    g_dialogs = dialogs ? dialogs : &g_realDialogs;
    return previous;
}

bool SSelector::ChooseColor(COLORREF initial, bool fullOpen, bool preventFullOpen, bool anyColor)
{
    COLORREF custom[16];
    memset(custom, 0, sizeof(custom));
    CHOOSECOLORA info;
    memset(&info, 0, sizeof(info));
    info.lStructSize = sizeof(info);
    info.hwndOwner = m_owner;
    info.rgbResult = initial;
    info.lpCustColors = custom;
    info.Flags = (initial < 0x1000000 ? CC_RGBINIT : 0) | (fullOpen ? CC_FULLOPEN : 0) |
                 (preventFullOpen ? CC_PREVENTFULLOPEN : 0) | (anyColor ? CC_ANYCOLOR : CC_SOLIDCOLOR);
    if (!g_dialogs->ChooseColor(&info))
        return false;
    m_color = info.rgbResult;
    return true;
}

bool SSelector::ChooseFont(LOGFONTA* font, int* pointSize)
{
    LOGFONTA local;
    if (!font)
    {
        memset(&local, 0, sizeof(local));
        font = &local;
    }
    CHOOSEFONTA info;
    memset(&info, 0, sizeof(info));
    info.lStructSize = sizeof(info);
    info.hwndOwner = m_owner;
    info.lpLogFont = font;
    info.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!g_dialogs->ChooseFont(&info))
        return false;
    char face[LF_FACESIZE + 1];
    memcpy(face, font->lfFaceName, LF_FACESIZE);
    face[LF_FACESIZE] = 0;
    m_fontFace = face;
    m_fontSize = info.iPointSize / 10;
    m_fontStyle = ::GetFontStyle(font);
    if (pointSize)
        *pointSize = m_fontSize;
    return true;
}

bool SSelector::OpenFile(const SStringArray* filters, DWORD extraFlags, const char* initialFolder, const char* title,
                         int filterIndex)
{
    std::vector<char> buffer(kFileBufferSize, 0);
    std::vector<char> block = FilterBlock(filters);
    OPENFILENAMEA info;
    memset(&info, 0, sizeof(info));
    info.lStructSize = sizeof(info);
    info.hwndOwner = m_owner;
    info.lpstrFilter = filters ? block.data() : nullptr;
    info.nFilterIndex = filters && filterIndex >= 0 && filterIndex < filters->GetCount() ? filterIndex + 1 : 1;
    info.lpstrFile = buffer.data();
    info.nMaxFile = kFileBufferSize;
    info.lpstrInitialDir = initialFolder;
    info.lpstrTitle = title;
    info.Flags = extraFlags | kOpenFlags;
    info.lpstrDefExt = "";
    m_files.RemoveAll();
    if (!g_dialogs->GetOpenFileName(&info))
        return false;
    // The dialog may fill the buffer to its very end: keep the last byte a terminator.
    buffer[kFileBufferSize - 1] = 0;
    buffer.push_back(0);
    if (extraFlags & OFN_ALLOWMULTISELECT)
    {
        std::vector<SString> parts;
        for (size_t at = 0; at < buffer.size() && buffer[at] != 0;)
        {
            SString part(buffer.data() + at);
            at += (size_t)part.GetLength() + 1;
            parts.push_back(part);
        }
        if (parts.size() == 1)
            m_files.Add(parts[0]);
        else if (parts.size() > 1)
        {
            SString folder = parts[0];
            if (!EndsWithSeparator(folder))
                folder.AppendChar('\\');
            for (size_t i = 1; i < parts.size(); i++)
            {
                SPath path(folder + parts[i]);
                m_files.Add(path.GetPath());
            }
        }
    }
    else if (buffer[0] != 0)
        m_files.Add(buffer.data());
    return m_files.GetCount() > 0;
}

SString SSelector::GetFile(int index) const
{
    return m_files.GetAt(index);
}

bool SSelector::SaveFile(HWND owner, const SStringArray* filters, const char* defaultExtension)
{
    std::vector<char> buffer(kSaveBufferSize, 0);
    std::vector<char> block = FilterBlock(filters);
    OPENFILENAMEA info;
    memset(&info, 0, sizeof(info));
    info.lStructSize = sizeof(info);
    info.hwndOwner = owner;
    info.lpstrFilter = filters ? block.data() : nullptr;
    info.nFilterIndex = 1;
    info.lpstrFile = buffer.data();
    info.nMaxFile = kSaveBufferSize;
    info.Flags = kSaveFlags;
    info.lpstrDefExt = defaultExtension != nullptr ? defaultExtension : "";
    m_path = "";
    if (!g_dialogs->GetSaveFileName(&info))
        return false;
    buffer[kSaveBufferSize - 1] = 0;
    m_path = buffer.data();
    return !m_path.IsEmpty();
}

SString SSelector::BrowseFolder(const char* title, const char* initialFolder, bool includeFiles)
{
    SUniString initial;
    if (initialFolder && *initialFolder)
    {
        SPath folder;
        folder.SetFolder(initialFolder);
        initial = SUniString((const char*)folder.GetPath());
    }
    char display[MAX_PATH + 1];
    memset(display, 0, sizeof(display));
    BROWSEINFOA info;
    memset(&info, 0, sizeof(info));
    info.hwndOwner = m_owner;
    info.pszDisplayName = display;
    info.lpszTitle = title;
    info.ulFlags = kFolderFlags | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
    info.lpfn = BrowseCallback;
    info.lParam = (LPARAM)&initial;
    m_folder = "";
    char path[MAX_PATH + 1];
    memset(path, 0, sizeof(path));
    if (g_dialogs->BrowseForFolder(&info, path))
    {
        path[MAX_PATH] = 0;
        m_folder = path;
        if (m_folderSlash && !m_folder.IsEmpty() && m_folder[m_folder.GetLength() - 1] != '\\')
            m_folder.AppendChar('\\');
    }
    return m_folder;
}

bool SSelector::ChooseSystemColor(const char* caption)
{
    if (!m_owner)
        return false;
    _SWndColor window;
    if (!window.CreatePopupWindow(caption ? caption : "", nullptr, m_owner))
        return false;
    window.SetClientSize(300, 95);
    window.CenterWindow(false);
    int result = window.DoModal();
    window.Destroy();
    if (result == -1)
        return false;
    m_color = (unsigned)result - 0x2000000u;
    return true;
}
