#include "PWndTask.h"

#include <shellapi.h>

#include "PPlayQueue.h"
#include "PWndApp.h"
#include "PWndPlay.h"
#include "SControl.h"
#include "SLibrary.h"
#include "SMediaPlayerCtrl.h"
#include "SMessages.h"
#include "SSystem.h"

#if !defined(_WIN64)
static_assert(sizeof(APPBARDATA) == 36, "APPBARDATA of 32-bit Windows");
#endif

namespace
{
const unsigned kRed = 0x0000FF;
const int kBackground = 231;
// Image resources of the four playing buttons, in the order previous, next, pause, stop.
const int kButtonImages[4] = {159, 156, 157, 154};
} // namespace

PWndTask::PWndTask()
    : m_owner(nullptr), m_queue(nullptr), m_shown(false), m_width(0), m_height(20), m_textColor(0),
      m_buffering(false), m_kindShown(0), m_elapsedColor(0)
{
}

PWndTask::~PWndTask()
{
    // A registered bar left behind would keep its strip of the screen reserved.
    Undock();
    Destroy();
}

PWndTask* PWndTask::SetApp(PWndApp* owner)
{
    m_owner = owner;
    return this;
}

bool PWndTask::Create()
{
    RECT rect = {0, 0, 400, 20};
    return SWnd::Create("", WS_POPUP, WS_EX_TOOLWINDOW, &rect, nullptr);
}

SMediaCtrl& PWndTask::GetControl(int id)
{
    switch (id)
    {
    case IdArtist: return m_artist;
    case IdAlbum: return m_album;
    case IdTitle: return m_title;
    case IdPosition: return m_position;
    case IdPrevious: return m_previous;
    case IdNext: return m_next;
    case IdPause: return m_pause;
    case IdStop: return m_stop;
    case IdShowHide: return m_showHide;
    default: return m_totals;
    }
}

void PWndTask::CreatePart(SMediaCtrl& control, int id, int left, int right, DWORD style, DWORD exStyle, bool hover)
{
    RECT rect = {left, 0, right, m_height};
    control.CreateChild("", style, exStyle, &rect, GetHandle(), (UINT_PTR)id);
    control.SetBackgroundResource(MAKEINTRESOURCEA(kBackground), "BINARY", SCOLOR_NONE, 10);
    control.SetAlignment(17);
    control.SetMargins(0, 0, 0, 0);
    if (hover)
        control.EnableHotTracking(true);
}

void PWndTask::OnCreated()
{
    SetBackgroundResource(MAKEINTRESOURCEA(kBackground), "BINARY", SCOLOR_NONE, 10);
    m_width = SSystem::GetWorkAreaWidth();
    if (m_width <= 0)
        m_width = GetSystemMetrics(SM_CXSCREEN);
    m_height = 20;
    HDC dc = GetDC();
    if (dc)
    {
        HFONT font = (HFONT)SendMessage(WM_GETFONT);
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        TEXTMETRICA metrics;
        if (GetTextMetricsA(dc, &metrics) && metrics.tmHeight + 2 > m_height)
            m_height = metrics.tmHeight + 2;
        if (old)
            SelectObject(dc, old);
        ReleaseDC(dc);
    }
    SetWindowSize(m_width, m_height);

    m_menu.CreatePopup(GetHandle());
    SImage* kinds[4] = {&m_songImage, &m_videoImage, &m_radioImage, &m_showHideImage};
    const int kindIds[4] = {132, 143, 220, 160};
    for (int i = 0; i < 4; i++)
        if (kinds[i]->LoadResource(kindIds[i], "BINARY"))
            kinds[i]->SetDrawMode(8);
    for (int i = 0; i < 4; i++)
        for (int look = 0; look < 2; look++)
        {
            SImage& image = m_buttonImages[2 * i + look];
            if (!image.LoadResource(kButtonImages[i], "BINARY"))
                continue;
            image.SetDrawMode(8);
            // The disabled look: half transparent.
            if (look == 1)
                image.SetAlpha(128, true);
        }

    const int w = m_width, h = m_height;
    CreatePart(m_showHide, IdShowHide, w - 22, w - 2, WS_VISIBLE, 0, true);
    m_showHide.SetImage(&m_showHideImage);
    CreatePart(m_stop, IdStop, w - 52, w - 32, WS_VISIBLE | WS_DISABLED, 0, true);
    CreatePart(m_pause, IdPause, w - 72, w - 52, WS_VISIBLE | WS_DISABLED, 0, true);
    CreatePart(m_next, IdNext, w - 92, w - 72, WS_VISIBLE | WS_DISABLED, 0, true);
    CreatePart(m_previous, IdPrevious, w - 112, w - 92, WS_VISIBLE | WS_DISABLED, 0, true);
    SMediaCtrl* buttons[4] = {&m_previous, &m_next, &m_pause, &m_stop};
    for (int i = 0; i < 4; i++)
        buttons[i]->SetImage(&m_buttonImages[2 * i + 1]);

    const int x0 = w - 122, m = h / 2;
    RECT rect = {x0 - 96, m - 4, x0 - 4, m + 5};
    m_seekBar.SetOwner(m_queue);
    m_seekBar.Create(WS_VISIBLE, 0, &rect, GetHandle());
    m_seekBar.SetBackgroundResource(MAKEINTRESOURCEA(kBackground), "BINARY", SCOLOR_NONE, 10);
    m_seekBar.SetCursor(GetCursorHandle(3));

    CreatePart(m_position, IdPosition, w - 302, w - 222, WS_VISIBLE | WS_DISABLED, WS_EX_STATICEDGE, true);
    CreatePart(m_total, 0, w - 382, w - 302, WS_VISIBLE, WS_EX_STATICEDGE, false);
    CreatePart(m_elapsed, 0, w - 462, w - 382, WS_VISIBLE, WS_EX_STATICEDGE, false);
    const int q = w - 462, t = (q - 272) / 3;
    CreatePart(m_title, IdTitle, q - t, q, WS_VISIBLE | WS_DISABLED, WS_EX_STATICEDGE, true);
    CreatePart(m_kind, 0, q - t - 20, q - t, WS_VISIBLE, 0, false);
    CreatePart(m_album, IdAlbum, q - 2 * t - 20, q - t - 20, WS_VISIBLE | WS_DISABLED, WS_EX_STATICEDGE, true);
    CreatePart(m_artist, IdArtist, q - 3 * t - 20, q - 2 * t - 20, WS_VISIBLE | WS_DISABLED, WS_EX_STATICEDGE,
               true);
    CreatePart(m_totals, 0, 0, q - 3 * t - 20, WS_VISIBLE, WS_EX_STATICEDGE, false);
    if (!m_totalsText.IsEmpty())
        SetScrollingText(m_totals, m_totalsText);

    SetMedia(nullptr, 0, 0);
}

// ---------------------------------------------------------------- docking

void PWndTask::ApplyDocking(bool wanted, COLORREF color)
{
    if (!GetHandle())
        return;
    APPBARDATA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = sizeof(data);
    data.hWnd = GetHandle();
    data.uCallbackMessage = 0;
    data.uEdge = ABE_BOTTOM;
    if (wanted && !m_shown)
    {
        RECT work;
        if (!SSystem::GetWorkArea(&work))
            SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        data.rc = {work.left, work.bottom - m_height, work.right, work.bottom};
        if (SHAppBarMessage(ABM_NEW, &data))
        {
            SHAppBarMessage(ABM_QUERYPOS, &data);
            SHAppBarMessage(ABM_SETPOS, &data);
            MoveWindowToRect(&data.rc);
            ShowWindow(SW_SHOWNA);
            SetShown(true);
        }
    }
    if (wanted)
        SetTextColor(color);
    if (!wanted && m_shown && SHAppBarMessage(ABM_REMOVE, &data))
    {
        ShowWindow(SW_HIDE);
        SetShown(false);
    }
}

void PWndTask::Undock()
{
    if (!m_shown || !GetHandle())
        return;
    APPBARDATA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = sizeof(data);
    data.hWnd = GetHandle();
    ShowWindow(SW_HIDE);
    SHAppBarMessage(ABM_REMOVE, &data);
    SetShown(false);
}

// ---------------------------------------------------------------- state

void PWndTask::SetShown(bool shown)
{
    m_shown = shown;
    EnableTrackButtons(false);
    EnablePlayButtons(false);
}

void PWndTask::SetTextColor(COLORREF color)
{
    m_textColor = color;
    if (!GetHandle())
        return;
    SMediaCtrl* labels[7] = {&m_totals, &m_artist, &m_album, &m_title, &m_elapsed, &m_total, &m_position};
    for (SMediaCtrl* label : labels)
        label->SetTextColor(color);
    m_elapsedColor = color;
}

void PWndTask::SetButton(SMediaCtrl& button, int pair, bool enable)
{
    button.SetImage(&m_buttonImages[2 * pair + (enable ? 0 : 1)]);
    button.Enable(enable);
    button.InvalidateRect();
}

void PWndTask::EnableTrackButtons(bool enable)
{
    if (!m_shown || !GetHandle())
        return;
    SetButton(m_previous, 0, enable);
    SetButton(m_next, 1, enable);
}

void PWndTask::EnablePlayButtons(bool enable)
{
    if (!m_shown || !GetHandle())
        return;
    SetButton(m_pause, 2, enable);
    SetButton(m_stop, 3, enable);
}

void PWndTask::SetTotalsText(const char* text)
{
    m_totalsText = text ? text : "";
    if (!GetHandle())
        return;
    SetScrollingText(m_totals, m_totalsText);
}

void PWndTask::SetMedia(SMediaPlayerCtrl* player, int trackNumber, int queueCount)
{
    if (!GetHandle())
        return;
    SMediaCtrl* names[3] = {&m_artist, &m_album, &m_title};
    if (!player)
    {
        m_path = SPath();
        m_kind.SetImage(nullptr);
        m_kindShown = 0;
        m_kind.InvalidateRect();
        for (SMediaCtrl* label : names)
        {
            label->SetAutoScroll(0, 0);
            label->SetWindowText("");
            label->Enable(false);
        }
        m_seekBar.SetRange(0, 0);
        m_seekBar.SetPos(0);
        m_elapsed.SetWindowText("");
        m_total.SetWindowText("");
        m_position.SetWindowText("");
        m_position.Enable(false);
        return;
    }
    if (!m_shown)
        return;
    player->GetPath(&m_path);
    PMediaNames text;
    text.FromPath(m_path);
    const SString extension = m_path.GetExtension(false, true);
    if (extension == "mp3" || extension == "wma")
    {
        m_kind.SetImage(&m_songImage);
        m_kindShown = 1;
    }
    else if (extension == "wax" || extension == "wvx")
    {
        m_kind.SetImage(&m_radioImage);
        m_kindShown = 3;
    }
    else
    {
        m_kind.SetImage(&m_videoImage);
        m_kindShown = 2;
    }
    m_kind.InvalidateRect();
    const SString values[3] = {text.artist, text.album, text.title};
    for (int i = 0; i < 3; i++)
    {
        SetScrollingText(*names[i], values[i]);
        names[i]->Enable(true);
    }
    m_seekBar.SetRange(0, (int)(player->GetDuration() / 1000u));
    m_seekBar.SetPos(0);
    m_elapsed.SetWindowText("0:00:00");
    m_total.SetWindowText("0:00:00");
    m_position.SetWindowText(SString().FromInteger(trackNumber) + "/" + SString().FromInteger(queueCount));
    m_position.Enable(true);
}

void PWndTask::SetCount(int queueCount)
{
    if (!m_shown || !GetHandle())
        return;
    SString text = m_position.GetText();
    const int slash = text.Find("/");
    if (slash < 0)
        return;
    m_position.SetWindowText(text.Left(slash + 1) + SString().FromInteger(queueCount));
}

void PWndTask::Refresh(SMediaPlayerCtrl* player)
{
    if (!m_shown || !GetHandle() || !player)
        return;
    const unsigned elapsed = player->GetPosition() / 1000u;
    const unsigned total = player->IsStopped() ? 0u : player->GetDuration() / 1000u;
    if (!m_path.GetPath().IsEmpty())
        FollowDuration(m_seekBar, player);
    m_seekBar.SetPos((int)elapsed);
    const int track = m_seekBar.GetTrackPos();
    const bool emptyRange = m_seekBar.GetMax() <= 0;
    const unsigned shown = track != -1 ? (unsigned)track : elapsed;
    const unsigned color = track != -1 && !emptyRange ? kRed : m_textColor;
    if (m_elapsedColor != color)
    {
        m_elapsedColor = color;
        m_elapsed.SetTextColor(color);
    }
    SetChangedText(m_elapsed, emptyRange && player->IsStopped() ? SString() : FormatPlayTime(m_timer, shown));
    if (m_buffering)
        SetChangedText(m_total, "buffering...");
    else
        SetChangedText(m_total, emptyRange ? SString() : FormatPlayTime(m_timer, total));
}

bool PWndTask::FillQueueMenu()
{
    return ::FillQueueMenu(m_menu, m_queue);
}

// ---------------------------------------------------------------- clicks

void PWndTask::OnClick(int id)
{
    switch (id)
    {
    case IdArtist:
    case IdAlbum:
    case IdTitle:
        if (!m_owner || m_path.GetPath().IsEmpty())
            return;
        m_owner->ShowMediaFolder(m_path, id == IdArtist ? 2 : 1, id == IdTitle ? (const char*)m_path.GetTitle() : nullptr,
                                 false);
        m_owner->ShowMainWindow();
        break;
    case IdPosition:
        if (FillQueueMenu())
        {
            POINT mouse;
            ::GetCursorPos(&mouse);
            RECT bar;
            GetWindowRect(&bar);
            m_menu.TrackPopupFor(this, mouse.x, bar.top, TPM_RIGHTBUTTON);
        }
        break;
    case IdPrevious:
        if (m_queue)
            m_queue->Previous();
        break;
    case IdNext:
        if (m_queue)
            m_queue->Next();
        break;
    case IdPause:
        if (m_queue)
            m_queue->Pause();
        break;
    case IdStop:
        if (m_queue)
            m_queue->Stop();
        break;
    case IdShowHide:
        if (m_owner)
            m_owner->ToggleVisible();
        break;
    default:
        break;
    }
}

LRESULT PWndTask::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        OnCreated();
        break;
    case WM_S_MEDIA_CLICK:
        if (wParam)
            OnClick(((SWnd*)wParam)->GetId());
        break;
    case ControlMessage(SBLOCK_MENU):
        if ((int)lParam > 999 && m_queue)
            m_queue->PlayFrom((int)lParam - 1000, false);
        return 0;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
