#pragma once
// Windows Media Player identifiers and the interfaces the SDK headers at hand may lack,
// declared from their published identifiers and layouts.
#include <windows.h>
#include <wmp.h>

// Open states (WMPOpenState) and play states (WMPPlayState) the player reports.
enum : long
{
    SWMP_OPEN_UNDEFINED = 0,
    SWMP_OPEN_PLAYLIST_NO_MEDIA = 6,
    SWMP_OPEN_MEDIA_OPEN = 13,
    SWMP_PLAY_STOPPED = 1,
    SWMP_PLAY_PAUSED = 2,
    SWMP_PLAY_PLAYING = 3,
    SWMP_PLAY_MEDIA_ENDED = 8
};

// Event numbers of _WMPOCXEvents the media player control listens to.
enum : DISPID
{
    SWMP_EVENT_OPEN_STATE = 5001,
    SWMP_EVENT_PLAY_STATE = 5101,
    SWMP_EVENT_BUFFERING = 5402
};

extern const CLSID SWMP_CLSID_PLAYER;      // {6BF52A52-394A-11D3-B153-00C04F79FAA6}
extern const IID SWMP_IID_PLAYER4;         // {6C497D62-8919-413C-82DB-E935FB3EC584}
extern const IID SWMP_IID_OCX_EVENTS;      // {6BF52A51-394A-11D3-B153-00C04F79FAA6}
extern const IID SWMP_IID_CONTROLS3;       // {A1D1110E-D545-476A-9A78-AC3E4CB1E6BD}

// IWMPControls3: audio languages and time codes on top of IWMPControls2.
struct IWMPControls3 : public IWMPControls2
{
    virtual HRESULT STDMETHODCALLTYPE get_audioLanguageCount(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE getAudioLanguageID(long index, long* languageId) = 0;
    virtual HRESULT STDMETHODCALLTYPE getAudioLanguageDescription(long index, BSTR* description) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentAudioLanguage(long* languageId) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentAudioLanguage(long languageId) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentAudioLanguageIndex(long* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentAudioLanguageIndex(long index) = 0;
    virtual HRESULT STDMETHODCALLTYPE getLanguageName(long languageId, BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPositionTimecode(BSTR* timecode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentPositionTimecode(BSTR timecode) = 0;
};
