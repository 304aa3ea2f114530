#include "PWndPlaylist.h"

#include <stdio.h>

#include "PLibraryPrompt.h"
#include "PPlaylistFile.h"
#include "PWndApp.h"
#include "SControl.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SLocale.h"
#include "SMessages.h"
#include "SPath.h"
#include "SWndDialog.h"

namespace
{
struct ButtonPlace
{
    int id;
    int left, top, right, bottom; // top and bottom from the pane's bottom edge
    int image;
};
const ButtonPlace kButtons[7] = {
    {PWndPlaylist::ID_PLAY, 2, 48, 28, 22, 240},    {PWndPlaylist::ID_SHUFFLE, 30, 48, 56, 22, 246},
    {PWndPlaylist::ID_NEW, 2, 20, 20, 2, 243},      {PWndPlaylist::ID_RENAME, 22, 20, 40, 2, 242},
    {PWndPlaylist::ID_DELETE, 42, 20, 60, 2, 241},  {PWndPlaylist::ID_UP, 140, 40, 158, 22, 244},
    {PWndPlaylist::ID_DOWN, 140, 20, 158, 2, 245},
};
} // namespace

PWndPlaylist::PWndPlaylist() : m_owner(nullptr), m_font(nullptr) {}

PWndPlaylist::~PWndPlaylist()
{
    Destroy();
    if (m_font)
        DeleteObject(m_font);
}

PWndPlaylist* PWndPlaylist::SetApp(PWndApp* owner)
{
    m_owner = owner;
    return this;
}

bool PWndPlaylist::Create(PWndApp* owner, const RECT* rect, HWND parent)
{
    SetApp(owner);
    if (!CreateChild("", WS_VISIBLE, 0, rect, parent))
        return false;
    RECT client;
    GetClientRect(&client);
    const int right = client.right, bottom = client.bottom;

    RECT place = {right - bottom, 0, right, bottom};
    m_cover.CreateChild("", WS_VISIBLE, 0, &place, GetHandle(), ID_COVER);
    m_cover.SetAnchor(34);
    m_cover.SetBackgroundDrawMode(11);
    m_cover.SetBackColor(0xFE000000 + COLOR_BTNFACE);

    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    // A pane made again replaces the font of its first window.
    if (m_font)
        DeleteObject(m_font);
    m_font = CreateFontA(-MulDiv(75, dpi, 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "verdana");
    place = {160, 0, right - bottom, bottom};
    m_tracks.Create(WS_VISIBLE | WS_VSCROLL, 0, &place, GetHandle(), ID_TRACKS);
    m_tracks.SetAnchor(36);
    if (m_font)
        m_tracks.SetFont(m_font);

    place = {2, 2, 158, 160};
    m_names.Create("", 0x10200103 | WS_VISIBLE, 0, &place, GetHandle(), ID_NAMES);
    m_names.SetAnchor(32);

    place = {2, 27, 158, 51};
    m_count.Create("", WS_VISIBLE, 0, &place, GetHandle());
    m_count.SetAlignment(18);

    for (int i = 0; i < 7; i++)
    {
        const ButtonPlace& button = kButtons[i];
        place = {button.left, bottom - button.top, button.right, bottom - button.bottom};
        m_buttons[i].CreateChild("", WS_VISIBLE, 0, &place, GetHandle(), (UINT_PTR)button.id);
        m_buttons[i].EnableHotTracking(true);
        m_buttons[i].SetBackgroundResource(MAKEINTRESOURCEA(button.image), "BINARY", SCOLOR_NONE, 8, nullptr, false);
        m_buttons[i].SetAnchor(32);
    }
    return true;
}

SString PWndPlaylist::GetSelectedName()
{
    return m_names.GetHandle() ? m_names.GetSelectedText() : SString();
}

SString PWndPlaylist::PathOf(const char* name) const
{
    return m_folder + name + ".lst";
}

SString PWndPlaylist::FullPathOf(int index)
{
    return m_owner ? m_owner->GetRootFolder().GetPath() + m_tracks.GetItemText(index) : SString();
}

void PWndPlaylist::FillPlaylists()
{
    if (!m_owner)
        return;
    m_folder = m_owner->GetRootFolder().GetPath() + "Playlists\\";
    SStringArray files;
    m_disk.FindFiles(&files, m_folder + "*.lst", false, false, true, false, true);
    // Files whose names could not be written back stay out of the list.
    SStringArray names;
    for (int i = 0; i < files.GetCount(); i++)
    {
        SString title = SPath(files.GetAt(i)).GetTitle();
        if (PPlaylistFile::IsValidName(title))
            names.Add(title);
    }
    if (names.GetCount() == 0)
    {
        NewPlaylist();
        return;
    }
    SString remembered = GetSelectedName();
    m_names.ResetContent();
    for (int i = 0; i < names.GetCount(); i++)
        m_names.AddString(names.GetAt(i));
    int index = remembered.IsEmpty() ? 0 : m_names.FindStringExact(remembered);
    m_names.SetCurSel(index < 0 ? 0 : index);
    LoadPlaylist(GetSelectedName());
}

bool PWndPlaylist::SelectPlaylist(const char* name)
{
    int index = name && *name ? m_names.FindStringExact(name) : -1;
    if (index < 0)
        return false;
    m_names.SetCurSel(index);
    LoadPlaylist(GetSelectedName());
    return true;
}

void PWndPlaylist::LoadPlaylist(const char* name)
{
    SString wanted = name && *name ? SString(name) : GetSelectedName();
    m_tracks.RemoveAll();
    ShowCover(-1);
    if (wanted.IsEmpty() || m_names.FindStringExact(wanted) < 0)
        return;
    SStringArray entries;
    if (!PPlaylistFile::Read(PathOf(wanted), &entries))
        return;
    m_tracks.InsertItems(&entries);
    UpdateCount();
}

void PWndPlaylist::SavePlaylist(const char* name)
{
    SString wanted = name && *name ? SString(name) : GetSelectedName();
    if (wanted.IsEmpty() || m_names.FindStringExact(wanted) < 0 || !PPlaylistFile::IsValidName(wanted))
        return;
    SStringArray entries;
    const int count = m_tracks.GetCount();
    for (int i = 0; i < count; i++)
        entries.Add(m_tracks.GetItemText(i));
    PPlaylistFile::Write(PathOf(wanted), entries);
}

void PWndPlaylist::AddPaths(const SStringArray& paths)
{
    if (!m_owner)
        return;
    for (int i = 0; i < paths.GetCount(); i++)
        m_tracks.InsertItem(PPlaylistFile::EntryOf(m_owner->GetRootFolder(), paths.GetAt(i)));
}

void PWndPlaylist::UpdateCount()
{
    const int count = m_tracks.GetCount();
    m_count.SetWindowText(IntToGroupedString(count) + (count > 1 ? " files" : " file"));
}

void PWndPlaylist::ShowCover(int index)
{
    if (index < 0 || !m_owner)
    {
        m_cover.SetBackgroundImage(nullptr, SCOLOR_NONE, -1, nullptr, true);
        m_cover.SetCursor(nullptr);
        return;
    }
    SPath track(FullPathOf(index));
    m_coverImage.Dispose();
    m_owner->LoadCover(&m_coverImage, track.GetFolderPath());
    m_cover.SetBackgroundImage(&m_coverImage, SCOLOR_NONE, 11, nullptr, true);
    m_cover.SetCursor(GetCursorHandle(3));
}

void PWndPlaylist::NewPlaylist()
{
    if (!m_owner)
        return;
    m_folder = m_owner->GetRootFolder().GetPath() + "Playlists\\";
    SString path = m_disk.GetUniqueFileName(m_folder, "Playlist", "lst");
    if (path.IsEmpty() || !m_disk.CreateFile(path, false, false))
        return;
    const SString title = SPath(path).GetTitle();
    m_names.ResetContent();
    FillPlaylists();
    SelectPlaylist(title);
}

void PWndPlaylist::RenamePlaylist()
{
    SString old = GetSelectedName();
    if (old.IsEmpty())
        return;
    SFileMem description;
    SWndDialog dialog;
    if (!description.LoadResource("BINARY", 247) ||
        !dialog.CreateFromResource(&description, m_owner ? m_owner->GetHandle() : GetHandle(), nullptr, true, nullptr,
                                   nullptr, nullptr, nullptr, true))
        return;
    dialog.SetWindowText("Playlist");
    if (SWnd* label = dialog.GetControlByName("TXT_NAME"))
        label->SetWindowText("New playlist name:");
    if (SWnd* cancel = dialog.GetControlByName("CANCEL"))
        cancel->SetWindowText("Cancel");
    SWnd* edit = dialog.GetControlByName("EDIT_NAME");
    if (edit)
    {
        edit->SetWindowText(old);
        edit->SendMessage(EM_SETSEL, 0, -1);
        edit->SetFocus();
    }
    // A modal run ends with 0 for OK.
    if (dialog.DoModal() != 0 || !edit)
        return;
    RenamePlaylistTo(edit->GetText());
}

bool PWndPlaylist::RenamePlaylistTo(const char* name)
{
    SString old = GetSelectedName();
    SString wanted(name);
    if (old.IsEmpty() || !PPlaylistFile::IsValidName(wanted) || !m_disk.IsFile(PathOf(old)) ||
        m_disk.Exists(PathOf(wanted)))
        return false;
    if (!m_disk.RenameFile(PathOf(old), PathOf(wanted)))
        return false;
    m_names.ResetContent();
    FillPlaylists();
    SelectPlaylist(wanted);
    return true;
}

void PWndPlaylist::DeletePlaylist()
{
    SString name = GetSelectedName();
    if (name.IsEmpty())
        return;
    if (PLibraryPrompt(m_owner ? m_owner->GetHandle() : GetHandle(), "Are you sure to want to delete this playlist?",
                       name, 0x23) != IDYES)
        return;
    m_names.DeleteString(m_names.GetCurSel());
    m_disk.DeleteFile(PathOf(name));
    if (m_names.GetCount() > 0)
    {
        m_names.SetCurSel(0);
        LoadPlaylist(GetSelectedName());
    }
    else
        NewPlaylist();
}

void PWndPlaylist::MoveTrack(int step)
{
    const int index = m_tracks.GetCurSel();
    const int target = index + step;
    if (index < 0 || target < 0 || target >= m_tracks.GetCount())
        return;
    m_tracks.MoveItem(index, target);
    m_tracks.SetCurSel(target);
    SavePlaylist("");
}

void PWndPlaylist::RemoveTrack()
{
    const int index = m_tracks.GetCurSel();
    if (index < 0)
        return;
    m_tracks.DeleteItem(index);
    SavePlaylist("");
    UpdateCount();
    if (index < m_tracks.GetCount())
        m_tracks.SetCurSel(index);
    else
        m_tracks.SetCurSel(-1);
    ShowCover(m_tracks.GetCurSel());
}

void PWndPlaylist::PlaySelectedTrack()
{
    const int index = m_tracks.GetCurSel();
    if (index < 0 || !m_owner)
        return;
    SStringArray paths;
    paths.Add(FullPathOf(index));
    m_owner->PlayList(&paths);
}

void PWndPlaylist::PlayAll(bool shuffled)
{
    if (!m_owner)
        return;
    SStringArray paths;
    const int count = m_tracks.GetCount();
    for (int i = 0; i < count; i++)
        paths.Add(FullPathOf(i));
    if (paths.GetCount() == 0)
        return;
    if (shuffled)
        paths.Shuffle();
    m_owner->PlayList(&paths);
}

void PWndPlaylist::OnButton(int id)
{
    switch (id)
    {
    case ID_PLAY: PlayAll(false); break;
    case ID_SHUFFLE: PlayAll(true); break;
    case ID_NEW: NewPlaylist(); break;
    case ID_RENAME: RenamePlaylist(); break;
    case ID_DELETE: DeletePlaylist(); break;
    case ID_UP: MoveTrack(-1); break;
    case ID_DOWN: MoveTrack(1); break;
    default: break;
    }
}

LRESULT PWndPlaylist::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWnd* source = (SWnd*)wParam;
    switch (msg)
    {
    case ControlMessage(SBLOCK_COMBO, 1):
        if (source == &m_names)
            LoadPlaylist(GetSelectedName());
        return 0;
    case ControlMessage(SBLOCK_LIST, 0):
        if (source == &m_tracks && lParam == VK_DELETE)
            RemoveTrack();
        else if (source == &m_tracks && lParam == VK_RETURN)
            PlaySelectedTrack();
        return 0;
    case ControlMessage(SBLOCK_LIST, 2):
        if (source == &m_tracks)
            ShowCover(m_tracks.GetCurSel());
        return 0;
    case ControlMessage(SBLOCK_LIST, 3):
        if (source == &m_tracks)
            PlaySelectedTrack();
        return 0;
    case ControlMessage(SBLOCK_MEDIA, 0):
    {
        const SMouseRecord* record = (const SMouseRecord*)lParam;
        if (!record || record->code != (SMOUSE_LEFT | SMOUSE_CLICK))
            return 0;
        if (source == &m_cover)
        {
            const int index = m_tracks.GetCurSel();
            if (index >= 0 && m_owner)
            {
                // The album folder is selected inside the folder that holds it.
                SPath track(FullPathOf(index));
                SPath album;
                album.SetFolder(track.GetFolderPath());
                m_owner->GoToFolder(album.GetParent(), album.GetLastFolder(true));
            }
            return 0;
        }
        for (int i = 0; i < 7; i++)
            if (source == &m_buttons[i])
                OnButton(kButtons[i].id);
        return 0;
    }
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
