#pragma once
// The player object behind SMediaPlayerCtrl. SWmpPlayer, the Windows Media Player
// control, is the one used by default; a test may put a scripted player in its place.
#include <windows.h>
#include <ocidl.h>

#include "SDll.h"
#include "SOcxEvents.h"
#include "SWmpInterfaces.h"

class SMediaPlayerObject
{
public:
    virtual ~SMediaPlayerObject();
    // Creates the player, advises the sink on its event interface and embeds it in the
    // window; false when a required step fails (Destroy releases what was obtained).
    virtual bool Create(HWND window, IDispatch* sink) = 0;
    // Unadvises the sink and releases everything; safe to call at any time.
    virtual void Destroy() = 0;

    // Transport and settings: the player's own calls and results.
    virtual HRESULT SetAutoStart(bool on) = 0;
    virtual HRESULT SetURL(const wchar_t* url) = 0;
    virtual HRESULT Play() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    // The player's close: the medium is let go.
    virtual HRESULT Close() = 0;
    virtual HRESULT GetOpenState(long* state) = 0;
    virtual HRESULT GetPosition(double* seconds) = 0;
    virtual HRESULT SetPosition(double seconds) = 0;
    virtual HRESULT GetVolume(long* volume) = 0;
    virtual HRESULT SetVolume(long volume) = 0;
    virtual HRESULT EnableContextMenu(bool on) = 0;
    virtual HRESULT GetFullScreen(bool* on) = 0;
    virtual HRESULT SetFullScreen(bool on) = 0;

    // Takes hold of the current medium; the medium queries below need it.
    virtual HRESULT TakeMedia() = 0;
    // Lets go of the medium taken by TakeMedia.
    virtual void ReleaseMedia() = 0;
    virtual bool HasMedia() const = 0;
    virtual HRESULT GetDuration(double* seconds) = 0;
    virtual HRESULT GetImageSize(long* width, long* height) = 0;
};

// The Windows Media Player ActiveX control, embedded with AtlAxAttachControl of "atl.dll".
class SWmpPlayer : public SMediaPlayerObject
{
public:
    SWmpPlayer();
    ~SWmpPlayer() override;
    SWmpPlayer(const SWmpPlayer&) = delete;
    SWmpPlayer& operator=(const SWmpPlayer&) = delete;

    bool Create(HWND window, IDispatch* sink) override;
    void Destroy() override;
    HRESULT SetAutoStart(bool on) override;
    HRESULT SetURL(const wchar_t* url) override;
    HRESULT Play() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT Close() override;
    HRESULT GetOpenState(long* state) override;
    HRESULT GetPosition(double* seconds) override;
    HRESULT SetPosition(double seconds) override;
    HRESULT GetVolume(long* volume) override;
    HRESULT SetVolume(long volume) override;
    HRESULT EnableContextMenu(bool on) override;
    HRESULT GetFullScreen(bool* on) override;
    HRESULT SetFullScreen(bool on) override;
    HRESULT TakeMedia() override;
    void ReleaseMedia() override;
    bool HasMedia() const override { return m_media != nullptr; }
    HRESULT GetDuration(double* seconds) override;
    HRESULT GetImageSize(long* width, long* height) override;

    // Whether the player offers IWMPControls3 (Wine's does not).
    bool HasControls3() const { return m_controls3 != nullptr; }

private:
    SAtlAxAttachControlProc m_attach;
    IWMPPlayer4* m_player;
    IWMPControls* m_controls;
    // Optional: the transport works through IWMPControls without it.
    IWMPControls3* m_controls3;
    IWMPSettings* m_settings;
    IConnectionPoint* m_connectionPoint;
    DWORD m_cookie;
    SDll m_atl;
    // The container AtlAxAttachControl hands back; releasing it detaches the player.
    IUnknown* m_container;
    IWMPMedia* m_media;
};
