#include "SMediaPlayerCtrl.h"

#include "SArray.h"
#include "SControl.h"
#include "SDraw.h"
#include "SKeyboard.h"
#include "SRound.h"
#include "SUniString.h"

namespace
{
// Painting is never held back by the open wait: an unpainted window would come back
// from every PeekMessage and fill the held list.
bool IsPaintMessage(UINT msg)
{
    return msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_SYNCPAINT || msg == WM_ERASEBKGND;
}

// Seconds of the player as whole milliseconds (negative or unreadable values give 0).
unsigned ToMilliseconds(double seconds)
{
    double ms = SRound::Whole(seconds * 1000.0);
    if (!(ms > 0.0))
        return 0;
    if (ms >= 4294967295.0)
        return 0xFFFFFFFFu;
    return (unsigned)ms;
}
} // namespace

bool SMediaPlayerCtrl::_SEvents::AcceptInterface(REFIID riid, void** out)
{
    if (!IsEqualIID(riid, SWMP_IID_OCX_EVENTS))
        return false;
    *out = static_cast<IDispatch*>(this);
    return true;
}

HRESULT SMediaPlayerCtrl::_SEvents::OnEvent(DISPID dispid, DISPPARAMS* params)
{
    if (!owner || params->cArgs < 1 || !params->rgvarg)
        return S_OK;
    LONG value = SEventArgumentLong(&params->rgvarg[params->cArgs - 1]);
    switch (dispid)
    {
    case SWMP_EVENT_OPEN_STATE:
        owner->m_reportedOpenState = value;
        break;
    case SWMP_EVENT_PLAY_STATE:
        if (owner->GetHandle() && owner->HasMedia())
            owner->PostMessage(WM_S_PLAYER_STATE, (WPARAM)(ULONG)value, (LPARAM)owner->m_run);
        break;
    case SWMP_EVENT_BUFFERING:
        // The argument is true while buffering starts, false when it has finished.
        if (owner->GetHandle() && owner->m_playing)
            owner->PostMessage(WM_S_PLAYER_BUFFERING_EVENT, value ? 0 : 1, 0);
        break;
    default: break;
    }
    return S_OK;
}

SMediaPlayerCtrl::SMediaPlayerCtrl()
    : m_object(&m_wmp), m_sink(nullptr), m_hasPlayer(false), m_loop(false), m_hasVideo(false), m_playing(false),
      m_paused(false), m_reportedOpenState(SWMP_OPEN_UNDEFINED), m_run(0)
{
    SetKind(SKIND_MEDIAPLAYER);
}

SMediaPlayerCtrl::~SMediaPlayerCtrl()
{
    Destroy();
    DestroyPlayer();
}

bool SMediaPlayerCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                              LPARAM creationParam)
{
    return CreateChildNoCaption(style, exStyle, rect, parent, id, creationParam);
}

bool SMediaPlayerCtrl::SetPlayerObject(SMediaPlayerObject* object)
{
    if (m_hasPlayer || m_sink)
        return false;
    m_object = object ? object : &m_wmp;
    return true;
}

bool SMediaPlayerCtrl::CreatePlayer()
{
    DestroyPlayer();
    if (!GetHandle())
        return false;
    m_sink = new _SEvents();
    m_sink->owner = this;
    m_sink->AddRef();
    if (!m_object->Create(GetHandle(), m_sink))
    {
        DestroyPlayer();
        return false;
    }
    m_hasPlayer = true;
    return true;
}

void SMediaPlayerCtrl::DestroyPlayer()
{
    Close();
    m_loop = false;
    m_object->Destroy();
    m_hasPlayer = false;
    if (m_sink)
    {
        m_sink->owner = nullptr;
        m_sink->Release();
        delete m_sink;
        m_sink = nullptr;
    }
}

bool SMediaPlayerCtrl::Open(const char* path, bool play)
{
    if (!m_hasPlayer || !path)
        return false;
    Close();
    m_run++;
    // Automatic start stays off: the open is driven by play below, and a failed open
    // followed by an automatic play crashes some players.
    m_object->SetAutoStart(false);
    if (FAILED(m_object->SetURL(SUniString(path))))
    {
        Close();
        return false;
    }
    // What the player reported while taking the URL concerns the playlist, not this medium.
    m_reportedOpenState = SWMP_OPEN_UNDEFINED;
    int volume = 0;
    HRESULT started;
    if (play)
        started = m_object->Play();
    else
    {
        // Opened silently: played and paused at once, stopped when open.
        volume = GetVolume();
        SetVolume(0);
        started = m_object->Play();
        m_object->Pause();
    }
    // A refused play reports nothing more: waiting for the open would never end.
    SArray<MSG> held;
    bool opened = SUCCEEDED(started) && WaitForOpen(&held);
    if (!play && m_hasPlayer)
    {
        m_object->Stop();
        m_object->SetPosition(0.0);
        SetVolume(volume);
    }
    if (opened && (!m_hasPlayer || FAILED(m_object->TakeMedia())))
        opened = false;
    if (!opened)
        Close();
    else
    {
        long width = 0, height = 0;
        m_hasVideo = SUCCEEDED(m_object->GetImageSize(&width, &height)) && (width || height);
        m_path.Set(path);
        if (play)
        {
            m_playing = true;
            m_paused = false;
            SetTimer(TickTimer, TickMilliseconds);
        }
    }
    // The held messages go last: one of them may close or delete this control.
    for (int i = 0; i < held.GetCount(); i++)
    {
        MSG message = held.GetAt(i);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return opened;
}

bool SMediaPlayerCtrl::ReadOpenState(long* state)
{
    HRESULT result = m_object->GetOpenState(state);
    if (result == E_NOTIMPL)
    {
        *state = m_reportedOpenState;
        return true;
    }
    return SUCCEEDED(result);
}

bool SMediaPlayerCtrl::WaitForOpen(SArray<MSG>* held)
{
    HWND window = GetHandle();
    while (window && IsWindow(window) && m_hasPlayer)
    {
        long state = SWMP_OPEN_UNDEFINED;
        if (!ReadOpenState(&state) || state == SWMP_OPEN_PLAYLIST_NO_MEDIA)
            return false;
        if (state == SWMP_OPEN_MEDIA_OPEN)
            return true;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
            {
                // Posted again so that the main loop still ends.
                PostQuitMessage((int)message.wParam);
                return false;
            }
            // Other library windows of the thread wait until the medium is open; the
            // player's own windows and all painting go on.
            bool library = message.hwnd && FindWndByHandle(message.hwnd);
            if (!library || IsPaintMessage(message.message))
            {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            else if (message.message != WM_TIMER && held->GetCount() < MaxHeldMessages)
                held->Add(message);
        }
        else
            MsgWaitForMultipleObjectsEx(0, nullptr, TickMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (SKeyboard::IsEscapeDown())
            return false;
    }
    return false;
}

void SMediaPlayerCtrl::Close()
{
    Stop();
    if (GetHandle())
        KillTimer(TickTimer);
    if (m_hasPlayer)
        m_object->Close();
    m_object->ReleaseMedia();
    m_path = SPath();
    m_hasVideo = false;
}

bool SMediaPlayerCtrl::Play()
{
    if (!HasMedia())
        return false;
    m_object->SetPosition(0.0);
    m_run++;
    if (FAILED(m_object->Play()))
        return false;
    m_playing = true;
    m_paused = false;
    SetTimer(TickTimer, TickMilliseconds);
    return true;
}

bool SMediaPlayerCtrl::Stop()
{
    if (!HasMedia())
        return false;
    m_run++;
    m_object->Stop();
    if (GetHandle())
        KillTimer(TickTimer);
    m_playing = false;
    m_paused = false;
    return true;
}

bool SMediaPlayerCtrl::TogglePause()
{
    if (!HasMedia())
        return false;
    // The flags follow the player only when it accepted the change.
    if (m_paused)
    {
        if (FAILED(m_object->Play()))
            return false;
        m_playing = true;
        m_paused = false;
        return true;
    }
    if (m_playing)
    {
        if (FAILED(m_object->Pause()))
            return false;
        m_playing = false;
        m_paused = true;
        return true;
    }
    return false;
}

unsigned SMediaPlayerCtrl::GetDuration()
{
    double seconds = 0.0;
    if (!HasMedia() || FAILED(m_object->GetDuration(&seconds)))
        return 0;
    return ToMilliseconds(seconds);
}

unsigned SMediaPlayerCtrl::GetPosition()
{
    double seconds = 0.0;
    if (!HasMedia() || FAILED(m_object->GetPosition(&seconds)))
        return 0;
    return ToMilliseconds(seconds);
}

bool SMediaPlayerCtrl::SetPosition(unsigned ms)
{
    if (!HasMedia())
        return false;
    unsigned duration = GetDuration();
    if (ms > duration)
        ms = duration;
    return SUCCEEDED(m_object->SetPosition(ms / 1000.0));
}

int SMediaPlayerCtrl::GetVolume()
{
    long volume = 0;
    if (!m_hasPlayer || FAILED(m_object->GetVolume(&volume)))
        return 0;
    return (int)volume;
}

bool SMediaPlayerCtrl::SetVolume(int volume)
{
    if (!m_hasPlayer)
        return false;
    volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    return SUCCEEDED(m_object->SetVolume(volume));
}

void SMediaPlayerCtrl::EnableContextMenu(bool on)
{
    if (m_hasPlayer)
        m_object->EnableContextMenu(on);
}

bool SMediaPlayerCtrl::IsFullScreen()
{
    bool on = false;
    if (!HasMedia() || !m_hasVideo || FAILED(m_object->GetFullScreen(&on)))
        return false;
    return on;
}

bool SMediaPlayerCtrl::SetFullScreen(bool on)
{
    if (!HasMedia() || !m_hasVideo || on == IsFullScreen())
        return false;
    return SUCCEEDED(m_object->SetFullScreen(on));
}

void SMediaPlayerCtrl::GetVideoSize(int* width, int* height)
{
    long w = 0, h = 0;
    if (!HasMedia() || !m_hasVideo || FAILED(m_object->GetImageSize(&w, &h)))
        w = h = 0;
    if (width)
        *width = (int)w;
    if (height)
        *height = (int)h;
}

RECT SMediaPlayerCtrl::GetVideoRect()
{
    RECT empty = {0, 0, 0, 0};
    int width = 0, height = 0;
    GetVideoSize(&width, &height);
    RECT client;
    if ((!width && !height) || !GetClientRect(&client))
        return empty;
    return FitRect(client.left, client.top, client.right, client.bottom, width, height, true);
}

void SMediaPlayerCtrl::GetPath(SPath* out) const
{
    if (out)
        *out = m_path;
}

void SMediaPlayerCtrl::OnBufferingChanged(bool)
{
}

void SMediaPlayerCtrl::OnEnded()
{
}

void SMediaPlayerCtrl::OnLooped()
{
}

void SMediaPlayerCtrl::OnTick()
{
}

void SMediaPlayerCtrl::EndOfMedium(unsigned run)
{
    // An end posted for an earlier run (before the caller's open, play, stop or close, or
    // an end already handled, whose Stop began a new run) has nothing left to end.
    if (!HasMedia() || run != m_run || IsStopped())
        return;
    Stop();
    if (m_loop)
    {
        Play();
        OnLooped();
        SendMessageToParent(WM_S_PLAYER_LOOPED, (WPARAM)this, 0);
    }
    else
    {
        OnEnded();
        SendMessageToParent(WM_S_PLAYER_ENDED, (WPARAM)this, 0);
    }
}

void SMediaPlayerCtrl::PaintFilmStrip(HDC dc)
{
    RECT client;
    if (!dc || !GetClientRect(&client))
        return;
    FillRect(dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
    int q = SRound::Truncate(0.1 * (client.bottom - client.top));
    if (q < 1)
        return;
    HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
    if (!grey)
        return;
    for (int x = client.left; x < client.right; x += 2 * q)
    {
        RECT top = {x, client.top + q / 2, x + q, client.top + q / 2 + q / 2};
        RECT bottom = {x, client.bottom - q / 2 - q / 2, x + q, client.bottom - q / 2};
        FillRect(dc, &top, grey);
        FillRect(dc, &bottom, grey);
    }
    DeleteObject(grey);
}

LRESULT SMediaPlayerCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        if (!CreatePlayer())
            return -1;
        break;
    case WM_S_PLAYER_STATE:
        if (wParam == SWMP_PLAY_MEDIA_ENDED)
            EndOfMedium((unsigned)lParam);
        break;
    case WM_S_PLAYER_BUFFERING_EVENT:
        OnBufferingChanged(wParam != 0);
        SendMessageToParent(WM_S_PLAYER_BUFFERING, (WPARAM)this, (LPARAM)wParam);
        break;
    case WM_TIMER:
        if (wParam == TickTimer && m_playing)
            OnTick();
        break;
    case WM_KEYDOWN:
        if (!IsFullScreen())
            SetFullScreen(true);
        break;
    case WM_PRINTCLIENT:
        PaintFilmStrip((HDC)wParam);
        break;
    default:
        if (SControlMouseCode(msg))
        {
            SetFocus();
            SControlForwardMouse(this, msg, lParam, SBLOCK_MEDIAPLAYER, 2);
        }
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
