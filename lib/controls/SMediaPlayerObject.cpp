#include "SMediaPlayerObject.h"

const CLSID SWMP_CLSID_PLAYER = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
const IID SWMP_IID_PLAYER4 = {0x6C497D62, 0x8919, 0x413C, {0x82, 0xDB, 0xE9, 0x35, 0xFB, 0x3E, 0xC5, 0x84}};
const IID SWMP_IID_OCX_EVENTS = {0x6BF52A51, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
const IID SWMP_IID_CONTROLS3 = {0xA1D1110E, 0xD545, 0x476A, {0x9A, 0x78, 0xAC, 0x3E, 0x4C, 0xB1, 0xE6, 0xBD}};

namespace
{
template <class T> void ReleaseInterface(T** pointer)
{
    if (*pointer)
        (*pointer)->Release();
    *pointer = nullptr;
}
} // namespace

SMediaPlayerObject::~SMediaPlayerObject()
{
}

SWmpPlayer::SWmpPlayer()
    : m_attach(nullptr), m_player(nullptr), m_controls(nullptr), m_controls3(nullptr), m_settings(nullptr),
      m_connectionPoint(nullptr), m_cookie(0), m_container(nullptr), m_media(nullptr)
{
}

SWmpPlayer::~SWmpPlayer()
{
    Destroy();
}

bool SWmpPlayer::Create(HWND window, IDispatch* sink)
{
    Destroy();
    m_attach = SLoadAtlAttach(&m_atl);
    if (!m_attach)
        return false;
    if (FAILED(CoCreateInstance(SWMP_CLSID_PLAYER, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                SWMP_IID_PLAYER4, (void**)&m_player)) ||
        !m_player)
    {
        m_player = nullptr;
        return false;
    }
    m_player->put_enableContextMenu(VARIANT_FALSE);
    m_player->put_stretchToFit(VARIANT_TRUE);
    if (BSTR mode = SysAllocString(L"none"))
    {
        m_player->put_uiMode(mode);
        SysFreeString(mode);
    }
    SAdviseSink(m_player, SWMP_IID_OCX_EVENTS, sink, &m_connectionPoint, &m_cookie);
    if (FAILED(m_player->get_controls(&m_controls)) || !m_controls)
    {
        m_controls = nullptr;
        return false;
    }
    if (FAILED(m_controls->QueryInterface(SWMP_IID_CONTROLS3, (void**)&m_controls3)))
        m_controls3 = nullptr;
    if (FAILED(m_player->get_settings(&m_settings)) || !m_settings)
    {
        m_settings = nullptr;
        return false;
    }
    // A null container out-pointer makes some hosts attach nothing at all.
    if (!window || m_attach(m_player, window, &m_container) != S_OK)
        return false;
    m_settings->put_volume(100);
    return true;
}

void SWmpPlayer::Destroy()
{
    ReleaseMedia();
    SUnadviseSink(&m_connectionPoint, &m_cookie);
    ReleaseInterface(&m_settings);
    ReleaseInterface(&m_controls3);
    ReleaseInterface(&m_controls);
    if (m_player)
        m_player->close();
    ReleaseInterface(&m_container);
    ReleaseInterface(&m_player);
    m_attach = nullptr;
    m_atl.Free();
}

HRESULT SWmpPlayer::SetAutoStart(bool on)
{
    return m_settings ? m_settings->put_autoStart(on ? VARIANT_TRUE : VARIANT_FALSE) : E_POINTER;
}

HRESULT SWmpPlayer::SetURL(const wchar_t* url)
{
    if (!m_player)
        return E_POINTER;
    BSTR text = SysAllocString(url);
    if (!text)
        return E_OUTOFMEMORY;
    HRESULT result = m_player->put_URL(text);
    SysFreeString(text);
    return result;
}

HRESULT SWmpPlayer::Play()
{
    return m_controls ? m_controls->play() : E_POINTER;
}

HRESULT SWmpPlayer::Pause()
{
    return m_controls ? m_controls->pause() : E_POINTER;
}

HRESULT SWmpPlayer::Stop()
{
    return m_controls ? m_controls->stop() : E_POINTER;
}

HRESULT SWmpPlayer::Close()
{
    return m_player ? m_player->close() : E_POINTER;
}

HRESULT SWmpPlayer::GetOpenState(long* state)
{
    if (!m_player)
        return E_POINTER;
    WMPOpenState value = wmposUndefined;
    HRESULT result = m_player->get_openState(&value);
    *state = (long)value;
    return result;
}

HRESULT SWmpPlayer::GetPosition(double* seconds)
{
    return m_controls ? m_controls->get_currentPosition(seconds) : E_POINTER;
}

HRESULT SWmpPlayer::SetPosition(double seconds)
{
    return m_controls ? m_controls->put_currentPosition(seconds) : E_POINTER;
}

HRESULT SWmpPlayer::GetVolume(long* volume)
{
    return m_settings ? m_settings->get_volume(volume) : E_POINTER;
}

HRESULT SWmpPlayer::SetVolume(long volume)
{
    return m_settings ? m_settings->put_volume(volume) : E_POINTER;
}

HRESULT SWmpPlayer::EnableContextMenu(bool on)
{
    return m_player ? m_player->put_enableContextMenu(on ? VARIANT_TRUE : VARIANT_FALSE) : E_POINTER;
}

HRESULT SWmpPlayer::GetFullScreen(bool* on)
{
    if (!m_player)
        return E_POINTER;
    VARIANT_BOOL value = VARIANT_FALSE;
    HRESULT result = m_player->get_fullScreen(&value);
    *on = SUCCEEDED(result) && value != VARIANT_FALSE;
    return result;
}

HRESULT SWmpPlayer::SetFullScreen(bool on)
{
    return m_player ? m_player->put_fullScreen(on ? VARIANT_TRUE : VARIANT_FALSE) : E_POINTER;
}

HRESULT SWmpPlayer::TakeMedia()
{
    ReleaseMedia();
    if (!m_player)
        return E_POINTER;
    HRESULT result = m_player->get_currentMedia(&m_media);
    if (FAILED(result) || !m_media)
    {
        m_media = nullptr;
        return FAILED(result) ? result : E_FAIL;
    }
    return result;
}

void SWmpPlayer::ReleaseMedia()
{
    ReleaseInterface(&m_media);
}

HRESULT SWmpPlayer::GetDuration(double* seconds)
{
    return m_media ? m_media->get_duration(seconds) : E_POINTER;
}

HRESULT SWmpPlayer::GetImageSize(long* width, long* height)
{
    if (!m_media)
        return E_POINTER;
    HRESULT result = m_media->get_imageSourceWidth(width);
    if (SUCCEEDED(result))
        result = m_media->get_imageSourceHeight(height);
    return result;
}
