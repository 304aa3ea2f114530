#include "PWndPlay.h"

#include "PPlayQueue.h"
#include "PWndApp.h"
#include "SControl.h"
#include "SLibrary.h"
#include "SMediaPlayerCtrl.h"
#include "SMessages.h"

namespace
{
const unsigned kRed = 0x0000FF;
const unsigned kWindowText = 0xFE000000 + COLOR_WINDOWTEXT;
const unsigned kGrayText = 0xFE000000 + COLOR_GRAYTEXT;
} // namespace

void PMediaNames::FromPath(const SPath& path)
{
    SStringArray components;
    const int count = path.GetComponents(&components);
    artist = "";
    if (count >= 3)
    {
        artist = components.GetAt(count - 3);
        if (!artist.IsEmpty())
            artist = artist.Left(artist.GetLength() - 1);
    }
    album = path.GetLastFolder(true);
    title = path.GetTitle();
}

SString FormatPlayTime(STimer& timer, unsigned seconds)
{
    timer.SetSpan(0, (int)(seconds % 60), (int)(seconds / 60 % 60), (int)(seconds / 3600), 0);
    return timer.FormatSpan("#h:#+m:#+s");
}

void FollowDuration(PProgressCtrl& bar, SMediaPlayerCtrl* player)
{
    // A stream may learn its duration after it opened, or change it.
    const int high = (int)(player->GetDuration() / 1000u);
    if (high != bar.GetMax())
        bar.SetRange(0, high);
}

void SetChangedText(SMediaCtrl& label, const char* text)
{
    if (label.GetText() != text)
        label.SetWindowText(text);
}

void SetScrollingText(SMediaCtrl& label, const char* text)
{
    label.SetAutoScroll(0, 0);
    label.SetWindowText(text);
    label.SetAutoScroll(-30, 0);
}

bool FillQueueMenu(SMenu& menu, const PPlayQueue* queue)
{
    if (!queue || queue->GetCount() == 0)
        return false;
    SStringArray titles;
    queue->GetTitles(&titles);
    menu.RemoveAll();
    for (int i = 0; i < titles.GetCount(); i++)
        menu.InsertItem(1000 + i, titles.GetAt(i));
    if (queue->GetIndex() >= 0)
        menu.CheckItem(1000 + queue->GetIndex(), true);
    return true;
}

PWndPlay::PWndPlay() : m_owner(nullptr), m_queue(nullptr), m_elapsedColor(0) {}

PWndPlay::~PWndPlay()
{
    Destroy();
}

PWndPlay* PWndPlay::SetApp(PWndApp* owner)
{
    m_owner = owner;
    return this;
}

void PWndPlay::CreateLabel(SMediaCtrl& label, int id, int left, int top, int width, int bottom, int anchor,
                           bool edge, bool hover)
{
    RECT rect = {left, top, left + width, bottom};
    label.CreateChild("", WS_VISIBLE, edge ? WS_EX_STATICEDGE : 0, &rect, GetHandle(), (UINT_PTR)id);
    label.SetAnchor(anchor);
    label.SetAlignment(17);
    label.SetMargins(0, 0, 0, 0);
    if (hover)
        label.EnableHotTracking(true);
}

void PWndPlay::OnCreated()
{
    const int w = GetClientWidth();
    m_placeholder.LoadResource(145, "BINARY");
    m_busy.LoadResource(230, "BINARY");
    m_queueImage.LoadResource(169, "BINARY");
    m_menu.CreatePopup(GetHandle());

    RECT rect = {0, 0, 64, 64};
    m_cover.CreateChild("", WS_VISIBLE, 0, &rect, GetHandle(), IdCover);
    m_cover.SetBackgroundDrawMode(11);
    m_cover.SetBackColor(0xFE000000 + COLOR_BTNFACE);

    const int half = (w - 220) / 2;
    int x = 66;
    CreateLabel(m_artist, IdArtist, x, 2, half, 24, 12, true, true);
    x += half;
    CreateLabel(m_album, IdAlbum, x, 2, half, 24, 14, true, true);
    x += half;
    CreateLabel(m_trackNumber, 0, x, 2, 64, 24, 2, true, false);
    x += 64;
    CreateLabel(m_queueCount, 0, x, 2, 64, 24, 2, true, false);
    x += 64;
    rect = {x, 2, x + 24, 24};
    m_queueButton.CreateChild("", 0, 0, &rect, GetHandle(), IdQueue);
    m_queueButton.SetAnchor(2);
    m_queueButton.SetBackgroundDrawMode(8);
    m_queueButton.SetCursor(GetCursorHandle(3));

    x = 66;
    CreateLabel(m_title, IdTitle, x, 24, w - 252, 46, 68, true, true);
    x += w - 252;
    CreateLabel(m_elapsed, 0, x, 24, 80, 46, 2, true, false);
    x += 80;
    CreateLabel(m_total, 0, x, 24, 80, 46, 2, true, false);

    rect = {66, 50, 66 + (w - 92), 59};
    m_seekBar.SetOwner(m_queue);
    m_seekBar.Create(WS_VISIBLE, 0, &rect, GetHandle());
    m_seekBar.SetAnchor(68);
    m_seekBar.SetBackgroundResource(MAKEINTRESOURCEA(231), "BINARY", SCOLOR_NONE);
    m_seekBar.SetCursor(GetCursorHandle(3));

    RECT client;
    GetClientRect(&client);
    client.top = client.bottom - 1;
    m_bottomLine.CreateChild("", WS_VISIBLE, 0, &client, GetHandle());
    m_bottomLine.SetBackColor(0xFE000000 + COLOR_APPWORKSPACE);
    m_bottomLine.SetAnchor(68);

    SetMedia(nullptr, 0, 0);
}

void PWndPlay::SetMedia(SMediaPlayerCtrl* player, int trackNumber, int queueCount)
{
    if (!GetHandle())
        return;
    SMediaCtrl* names[3] = {&m_artist, &m_album, &m_title};
    if (!player)
    {
        m_path = SPath();
        SetCover(nullptr);
        for (SMediaCtrl* label : names)
        {
            label->SetAutoScroll(0, 0);
            label->SetWindowText("");
            label->Enable(false);
        }
        m_trackNumber.SetWindowText("");
        m_queueCount.SetWindowText("");
        m_queueButton.ShowWindow(SW_HIDE);
        m_seekBar.SetRange(0, 0);
        m_seekBar.SetPos(0);
        m_elapsedColor = kGrayText;
        for (SMediaCtrl* label : {&m_elapsed, &m_total})
        {
            label->SetTextColor(kGrayText);
            label->SetWindowText("0:00:00");
        }
        return;
    }
    player->GetPath(&m_path);
    PMediaNames text;
    text.FromPath(m_path);
    const SString values[3] = {text.artist, text.album, text.title};
    for (int i = 0; i < 3; i++)
    {
        names[i]->Enable(true);
        SetScrollingText(*names[i], values[i]);
    }
    m_trackNumber.SetWindowText(SString().FromInteger(trackNumber));
    m_queueCount.SetWindowText(SString().FromInteger(queueCount));
    m_queueButton.SetBackgroundImage(&m_queueImage, SCOLOR_NONE, 8);
    m_queueButton.ShowWindow(SW_SHOW);
    m_seekBar.SetRange(0, (int)(player->GetDuration() / 1000u));
    m_seekBar.SetPos(0);
    m_elapsedColor = kWindowText;
    for (SMediaCtrl* label : {&m_elapsed, &m_total})
    {
        label->SetTextColor(kWindowText);
        label->SetWindowText("0:00:00");
    }
}

void PWndPlay::SetCover(const SImage* image)
{
    if (!GetHandle())
        return;
    m_cover.SetBackgroundImage(image ? image : &m_placeholder, SCOLOR_NONE, 11);
    m_cover.SetCursor(image ? GetCursorHandle(3) : nullptr);
}

void PWndPlay::SetCoverBusy()
{
    if (!GetHandle())
        return;
    m_cover.SetBackgroundImage(&m_busy, SCOLOR_NONE, 11);
    m_cover.SetCursor(nullptr);
    m_cover.UpdateWindow();
}

void PWndPlay::SetCountText(int count)
{
    if (GetHandle())
        m_queueCount.SetWindowText(SString().FromInteger(count));
}

void PWndPlay::Refresh(SMediaPlayerCtrl* player)
{
    if (!GetHandle() || !player)
        return;
    const unsigned elapsed = player->GetPosition() / 1000u;
    const unsigned total = player->IsStopped() ? 0u : player->GetDuration() / 1000u;
    if (!m_path.GetPath().IsEmpty())
        FollowDuration(m_seekBar, player);
    m_seekBar.SetPos((int)elapsed);
    const int track = m_seekBar.GetTrackPos();
    const unsigned shown = track != -1 ? (unsigned)track : elapsed;
    const bool overBar = track != -1 && m_seekBar.GetMax() > 0;
    unsigned color = overBar ? kRed : !m_path.GetPath().IsEmpty() ? kWindowText : kGrayText;
    if (m_elapsedColor != color)
    {
        m_elapsedColor = color;
        m_elapsed.SetTextColor(color);
    }
    SetChangedText(m_elapsed, FormatPlayTime(m_timer, shown));
    SetChangedText(m_total, FormatPlayTime(m_timer, total));
}

bool PWndPlay::FillQueueMenu()
{
    return ::FillQueueMenu(m_menu, m_queue);
}

void PWndPlay::OnLabelClick(int id)
{
    if (!m_owner || m_path.GetPath().IsEmpty())
        return;
    if (id == IdArtist)
        m_owner->ShowMediaFolder(m_path, 2, nullptr, false);
    else if (id == IdAlbum)
        m_owner->ShowMediaFolder(m_path, 1, nullptr, false);
    else if (id == IdTitle)
        m_owner->ShowMediaFolder(m_path, 1, m_path.GetTitle(), false);
    else
        return;
    m_owner->ShowMainWindow();
}

void PWndPlay::OnCoverMouse(int code)
{
    if (!m_owner || m_path.GetPath().IsEmpty())
        return;
    if (code == (SMOUSE_LEFT | SMOUSE_CLICK))
        m_owner->ShowMediaFolder(m_path, 1, nullptr, false);
    else if (code == (SMOUSE_RIGHT | SMOUSE_CLICK))
        m_owner->ShowMediaFolder(m_path, 1, nullptr, true);
}

LRESULT PWndPlay::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        OnCreated();
        break;
    case WM_S_MEDIA_CLICK:
        if (wParam)
            OnLabelClick(((SWnd*)wParam)->GetId());
        break;
    case WM_S_MEDIA_MOUSE:
    {
        const SMouseRecord* record = (const SMouseRecord*)lParam;
        SWnd* source = (SWnd*)wParam;
        if (!record || !source)
            break;
        if (source == &m_cover)
            OnCoverMouse(record->code);
        else if (source == &m_queueButton && (record->code & 0x21) == 0x21 && FillQueueMenu())
            m_menu.TrackPopupFor(this, record->screenX, record->screenY, TPM_RIGHTBUTTON);
        break;
    }
    case ControlMessage(SBLOCK_MENU):
        if ((int)lParam > 999 && m_queue)
            m_queue->PlayFrom((int)lParam - 1000, false);
        return 0;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
