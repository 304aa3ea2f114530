#pragma once
// The play queue's test fixtures: a scripted player that refuses media by name, a host
// that records what the queue asks of it, and a player window over the scripted player.
#include <windows.h>

#include <string>
#include <vector>

#include "../controls/SMediaPlayerTestSupport.h"
#include "../window/PumpSupport.h"
#include "PMedia.h"
#include "PPlayQueue.h"

// Refuses every URL that contains "bad", like a player given bytes it cannot decode.
class PPickyPlayer : public SScriptedPlayer
{
public:
    HRESULT SetURL(const wchar_t* url) override
    {
        HRESULT result = SScriptedPlayer::SetURL(url);
        return std::wstring(url).find(L"bad") != std::wstring::npos ? E_FAIL : result;
    }
};

// Records every call of the queue as one short line ("entry 2/3", "clear", ...).
class PRecordingHost : public PPlayQueue::Host
{
public:
    bool repeat = false;
    bool shutdown = false;
    std::vector<std::string> calls;
    int shutdowns = 0;

    bool IsRepeatOn() override { return repeat; }
    bool IsShutdownOn() override { return shutdown; }
    void ClearDisplays() override { calls.push_back("clear"); }
    void ShowOpening() override { calls.push_back("opening"); }
    void ShowOpenFailed() override { calls.push_back("failed"); }
    void ShowEntry(int number, int count) override
    {
        calls.push_back("entry " + std::to_string(number) + "/" + std::to_string(count));
    }
    void ShowCount(int count) override { calls.push_back("count " + std::to_string(count)); }
    void ShowBuffering(bool buffering) override { calls.push_back(buffering ? "buffering" : "buffered"); }
    void RefreshDisplays() override { calls.push_back("refresh"); }
    void ShutdownWindows() override { shutdowns++; }

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const auto& c : calls)
            n += c == call;
        return n;
    }
    bool Has(const std::string& call) const { return Count(call) > 0; }
};

// A queue over a scripted player in a real (hidden) video window.
struct PPlayRig
{
    PPickyPlayer player;
    PMedia media;
    PRecordingHost host;
    PPlayQueue queue;

    bool Create()
    {
        if (!media.SetPlayerObject(&player) || !media.Create(nullptr))
            return false;
        queue.Attach(&media, &host);
        return true;
    }
    // Fills the queue with paths named by letters ("a", "bad", ...).
    void Fill(std::initializer_list<const char*> names)
    {
        SStringArray paths;
        for (const char* name : names)
            paths.Add(SString("C:\\Music\\Artist\\Album\\") + name + ".mp3");
        queue.Replace(paths);
    }
    // The title of the medium the player holds.
    SString OpenTitle() const
    {
        SPath path;
        media.GetPath(&path);
        return path.GetTitle();
    }
};
