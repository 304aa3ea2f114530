#pragma once
// A scripted player object for the media player control, and a control that counts
// its hooks.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "SMediaPlayerCtrl.h"

// Plays nothing: answers the control's calls as the test scripts them and records them.
class SScriptedPlayer : public SMediaPlayerObject
{
public:
    // Open states returned by successive polls (the last one repeats).
    std::vector<long> openStates = {SWMP_OPEN_MEDIA_OPEN};
    // E_NOTIMPL makes the control follow the open-state events instead.
    HRESULT openStateResult = S_OK;
    // Open-state events fired from inside Play (for players that cannot be asked).
    std::vector<long> openEventsOnPlay;
    // Open-state events fired from inside SetURL.
    std::vector<long> openEventsOnURL;
    // Called at every poll of the open state with the poll's number (from 1).
    std::function<void(int)> onPoll;
    // Beyond this many polls the open state reads as failed, so a broken wait ends.
    int pollLimit = 2000;

    bool createResult = true;
    HRESULT urlResult = S_OK, playResult = S_OK, pauseResult = S_OK, takeMediaResult = S_OK;
    long volume = 100;
    double position = 0.0, duration = 2.5;
    long imageWidth = 0, imageHeight = 0;
    bool fullScreen = false;

    // Every call, in order ("play", "url C:\x.wav", "volume 0", ...).
    std::vector<std::string> calls;
    int polls = 0;
    int destroyCount = 0;
    IDispatch* sink = nullptr;
    bool media = false;

    bool Called(const std::string& call) const
    {
        for (const auto& c : calls)
            if (c == call)
                return true;
        return false;
    }
    // Fires one event with one argument through the control's sink.
    HRESULT Fire(DISPID dispid, VARIANT argument)
    {
        if (!sink)
            return E_POINTER;
        DISPPARAMS params = {&argument, nullptr, 1, 0};
        return sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    HRESULT FireLong(DISPID dispid, long value)
    {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_UI4;
        argument.ulVal = (ULONG)value;
        return Fire(dispid, argument);
    }
    HRESULT FireBool(DISPID dispid, bool value)
    {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BOOL;
        argument.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return Fire(dispid, argument);
    }

    bool Create(HWND window, IDispatch* events) override
    {
        calls.push_back("create");
        if (!window || !createResult)
            return false;
        sink = events;
        return true;
    }
    void Destroy() override
    {
        destroyCount++;
        sink = nullptr;
        media = false;
    }
    HRESULT SetAutoStart(bool on) override { return Log(std::string("autostart ") + (on ? "1" : "0"), S_OK); }
    HRESULT SetURL(const wchar_t* url) override
    {
        std::string text;
        for (const wchar_t* c = url; *c; c++)
            text += (char)*c;
        for (long state : openEventsOnURL)
            FireLong(SWMP_EVENT_OPEN_STATE, state);
        return Log("url " + text, urlResult);
    }
    HRESULT Play() override
    {
        for (long state : openEventsOnPlay)
            FireLong(SWMP_EVENT_OPEN_STATE, state);
        return Log("play", playResult);
    }
    HRESULT Pause() override { return Log("pause", pauseResult); }
    HRESULT Stop() override { return Log("stop", S_OK); }
    HRESULT Close() override { return Log("close", S_OK); }
    HRESULT GetOpenState(long* state) override
    {
        polls++;
        if (onPoll)
            onPoll(polls);
        if (polls > pollLimit)
        {
            *state = SWMP_OPEN_PLAYLIST_NO_MEDIA;
            return S_OK;
        }
        size_t index = (size_t)polls - 1;
        *state = openStates[index < openStates.size() ? index : openStates.size() - 1];
        return openStateResult;
    }
    HRESULT GetPosition(double* seconds) override
    {
        *seconds = position;
        return S_OK;
    }
    HRESULT SetPosition(double seconds) override
    {
        position = seconds;
        return Log("position " + std::to_string(seconds), S_OK);
    }
    HRESULT GetVolume(long* value) override
    {
        *value = volume;
        return S_OK;
    }
    HRESULT SetVolume(long value) override
    {
        volume = value;
        return Log("volume " + std::to_string(value), S_OK);
    }
    HRESULT EnableContextMenu(bool on) override { return Log(std::string("menu ") + (on ? "1" : "0"), S_OK); }
    HRESULT GetFullScreen(bool* on) override
    {
        *on = fullScreen;
        return S_OK;
    }
    HRESULT SetFullScreen(bool on) override
    {
        fullScreen = on;
        return Log(std::string("fullscreen ") + (on ? "1" : "0"), S_OK);
    }
    HRESULT TakeMedia() override
    {
        media = SUCCEEDED(takeMediaResult);
        return Log("media", takeMediaResult);
    }
    void ReleaseMedia() override { media = false; }
    bool HasMedia() const override { return media; }
    HRESULT GetDuration(double* seconds) override
    {
        *seconds = duration;
        return S_OK;
    }
    HRESULT GetImageSize(long* width, long* height) override
    {
        *width = imageWidth;
        *height = imageHeight;
        return S_OK;
    }

private:
    HRESULT Log(const std::string& call, HRESULT result)
    {
        calls.push_back(call);
        return result;
    }
};

// The control with its hooks counted.
class SCountingPlayerCtrl : public SMediaPlayerCtrl
{
public:
    int ended = 0, looped = 0, ticks = 0;
    std::vector<bool> buffering;
    void OnEnded() override { ended++; }
    void OnLooped() override { looped++; }
    void OnTick() override { ticks++; }
    void OnBufferingChanged(bool done) override { buffering.push_back(done); }
};
