#include <gtest/gtest.h>
#include <windows.h>

#include <math.h>

#include <functional>

#include "../window/InputTestSupport.h"
#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "SMediaPlayerCtrl.h"
#include "SMediaPlayerTestSupport.h"

namespace
{
// A library window that logs the application messages it receives and its paints.
class SMessageLog : public SWnd
{
public:
    std::vector<WPARAM> received;
    int paints = 0;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_APP + 7)
            received.push_back(wParam);
        if (msg == WM_PAINT)
            paints++;
        return SWnd::OnMessage(msg, wParam, lParam);
    }
};

// A window of a class of its own, outside the library's window table.
int g_foreignMessages = 0;
LRESULT CALLBACK ForeignProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_APP + 7)
        g_foreignMessages++;
    return DefWindowProcA(window, msg, wParam, lParam);
}

HWND CreateForeignWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ForeignProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MelvoraForeignTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "MelvoraForeignTestWindow", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

class SMediaPlayerCtrlTest : public ::testing::Test
{
protected:
    // One visible parent for the whole suite: hiding a top-level window costs Wine seconds.
    static void SetUpTestSuite()
    {
        s_parent = new SRecordingParent();
        s_parent->CreateParent(1100, 400);
        s_parent->SetMouseMessages({WM_S_PLAYER_MOUSE});
    }
    static void TearDownTestSuite()
    {
        delete s_parent;
        s_parent = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_parent->GetHandle());
        s_parent->ClearReceived();
        ASSERT_TRUE(control.SetPlayerObject(&player));
    }
    // Creates the control over the scripted player.
    void CreateControl(int width = 320, int height = 240)
    {
        RECT rect = {0, 0, width, height};
        ASSERT_TRUE(control.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
        ASSERT_TRUE(control.HasPlayer());
    }
    // Creates the control over Wine's own Windows Media Player object.
    void CreateWineControl()
    {
        ASSERT_TRUE(control.SetPlayerObject(nullptr));
        CreateControl();
    }
    // Opens the file playing and pumps until the control reports its end.
    void PlayToTheEnd(const std::string& path)
    {
        parent.ClearReceived();
        control.ended = 0;
        ASSERT_TRUE(control.Open(path.c_str(), true)) << path;
        EXPECT_TRUE(control.HasMedia());
        EXPECT_TRUE(control.IsPlaying());
        SPath opened;
        control.GetPath(&opened);
        EXPECT_STREQ(path.c_str(), opened.GetPath());
        ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_S_PLAYER_ENDED).empty(); }, 15000)) << path;
        EXPECT_EQ(1, control.ended);
        EXPECT_TRUE(control.IsStopped());
        EXPECT_TRUE(control.HasMedia());
    }
    // Opens a medium that plays at once.
    void OpenPlaying()
    {
        CreateControl();
        ASSERT_TRUE(control.Open("C:\\media\\song.mp3", true));
        ASSERT_TRUE(control.IsPlaying());
    }

    static SRecordingParent* s_parent;
    SRecordingParent& parent = *s_parent;
    SScriptedPlayer player;
    SCountingPlayerCtrl control;
};
SRecordingParent* SMediaPlayerCtrlTest::s_parent = nullptr;
} // namespace

TEST_F(SMediaPlayerCtrlTest, OpensPlayingOrStoppedAtTheStart)
{
    CreateControl();
    EXPECT_EQ(SKIND_MEDIAPLAYER, control.GetKind());
    player.volume = 70;
    player.openStates = {9, 9, SWMP_OPEN_MEDIA_OPEN};
    ASSERT_TRUE(control.Open("C:\\media\\song.mp3", true));
    EXPECT_TRUE(control.HasMedia());
    EXPECT_TRUE(control.IsPlaying());
    EXPECT_FALSE(control.IsStopped());
    EXPECT_EQ(3, player.polls);
    SPath path;
    control.GetPath(&path);
    EXPECT_STREQ("C:\\media\\song.mp3", path.GetPath());
    // Automatic start is off before the URL is given; the open plays through the controls.
    std::vector<std::string> expected = {"create", "close", "autostart 0", "url C:\\media\\song.mp3", "play", "media"};
    EXPECT_EQ(expected, player.calls);
    EXPECT_TRUE(KillTimer(control.GetHandle(), SMediaPlayerCtrl::TickTimer));

    player.calls.clear();
    player.polls = 0;
    ASSERT_TRUE(control.Open("C:\\media\\other.wav", false));
    EXPECT_TRUE(control.IsStopped());
    EXPECT_FALSE(control.IsPlaying());
    EXPECT_FALSE(control.IsPaused());
    EXPECT_EQ(70, control.GetVolume());
    EXPECT_EQ(0u, control.GetPosition());
    // Opened silently: played and paused at once, then stopped at 0 with the volume back.
    expected = {"stop", "close", "autostart 0", "url C:\\media\\other.wav", "volume 0", "play", "pause",
                "stop", "position 0.000000", "volume 70", "media"};
    EXPECT_EQ(expected, player.calls);
    EXPECT_FALSE(KillTimer(control.GetHandle(), SMediaPlayerCtrl::TickTimer));
}

TEST_F(SMediaPlayerCtrlTest, FailedOpensLeaveTheControlClosed)
{
    struct Case
    {
        const char* name;
        std::vector<long> states;
        HRESULT stateResult, urlResult, playResult, mediaResult;
        std::vector<long> events;
    } cases[] = {
        {"no media in the playlist", {9, SWMP_OPEN_PLAYLIST_NO_MEDIA}, S_OK, S_OK, S_OK, S_OK, {}},
        {"unreadable open state", {9, 9}, E_FAIL, S_OK, S_OK, S_OK, {}},
        {"refused URL", {SWMP_OPEN_MEDIA_OPEN}, S_OK, E_INVALIDARG, S_OK, S_OK, {}},
        {"refused play", {SWMP_OPEN_MEDIA_OPEN}, S_OK, S_OK, E_FAIL, S_OK, {}},
        {"no current medium", {SWMP_OPEN_MEDIA_OPEN}, S_OK, S_OK, S_OK, E_FAIL, {}},
        {"no media reported by events", {0}, E_NOTIMPL, S_OK, S_OK, S_OK, {9, SWMP_OPEN_PLAYLIST_NO_MEDIA}},
    };
    CreateControl();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (bool play : {true, false})
        {
            player.openStates = c.states;
            player.openStateResult = c.stateResult;
            player.urlResult = c.urlResult;
            player.playResult = c.playResult;
            player.takeMediaResult = c.mediaResult;
            player.openEventsOnPlay = c.events;
            player.polls = 0;
            player.volume = 40;
            EXPECT_FALSE(control.Open("C:\\media\\broken.mp3", play));
            EXPECT_FALSE(control.HasMedia());
            EXPECT_TRUE(control.IsStopped());
            SPath path;
            control.GetPath(&path);
            EXPECT_STREQ("", path.GetPath());
            EXPECT_EQ(40, control.GetVolume());
            EXPECT_TRUE(control.HasPlayer());
        }
    }
}

TEST_F(SMediaPlayerCtrlTest, FollowsTheOpenStateEventsWhenThePlayerCannotBeAsked)
{
    CreateControl();
    player.openStateResult = E_NOTIMPL;
    // Events while the URL is taken describe the playlist change, not the medium.
    player.openEventsOnURL = {SWMP_OPEN_PLAYLIST_NO_MEDIA};
    player.openEventsOnPlay = {9};
    int polls = 0;
    player.onPoll = [&](int poll) {
        polls = poll;
        if (poll == 3)
            player.FireLong(SWMP_EVENT_OPEN_STATE, SWMP_OPEN_MEDIA_OPEN);
    };
    EXPECT_TRUE(control.Open("C:\\media\\song.mp3", true));
    EXPECT_EQ(3, polls);
    EXPECT_TRUE(control.HasMedia());
}

TEST_F(SMediaPlayerCtrlTest, SlowOpenHoldsLibraryMessagesAndReplaysTheFirstFifty)
{
    CreateControl();
    SMessageLog other;
    RECT rect = {330, 10, 380, 60};
    ASSERT_TRUE(other.Create("other", WS_CHILD | WS_VISIBLE, 0, &rect, parent.GetHandle()));
    PumpPending();
    HWND foreign = CreateForeignWindow();
    ASSERT_NE(nullptr, foreign);
    g_foreignMessages = 0;
    size_t heldDuringWait = 99;
    int foreignDuringWait = 0, paintsDuringWait = 0;
    // Each poll takes at most one message: the wait outlasts everything queued here.
    player.openStates.assign(100, 9);
    player.openStates.push_back(SWMP_OPEN_MEDIA_OPEN);
    player.onPoll = [&](int poll) {
        if (poll == 1)
        {
            for (int i = 0; i < 60; i++)
                PostMessageA(other.GetHandle(), WM_APP + 7, i, 0);
            PostMessageA(foreign, WM_APP + 7, 0, 0);
            SetTimer(other.GetHandle(), 77, 1, nullptr);
            other.paints = 0;
            InvalidateRect(other.GetHandle(), nullptr, TRUE);
        }
        if (poll == 100)
        {
            heldDuringWait = other.received.size();
            foreignDuringWait = g_foreignMessages;
            paintsDuringWait = other.paints;
        }
    };
    ASSERT_TRUE(control.Open("C:\\media\\song.mp3", true));
    KillTimer(other.GetHandle(), 77);
    EXPECT_EQ(0u, heldDuringWait);
    EXPECT_EQ(1, foreignDuringWait);
    EXPECT_GT(paintsDuringWait, 0);
    ASSERT_EQ(50u, other.received.size());
    for (int i = 0; i < 50; i++)
        EXPECT_EQ((WPARAM)i, other.received[i]);
    PumpPending();
    EXPECT_EQ(50u, other.received.size());
    DestroyWindow(foreign);
}

TEST_F(SMediaPlayerCtrlTest, TheOpenWaitSleepsUntilSomethingHappens)
{
    CreateControl();
    PumpPending();
    DWORD start = GetTickCount();
    player.openStates = {9};
    player.onPoll = [&](int) {
        if (GetTickCount() - start >= 150)
            player.openStates = {SWMP_OPEN_MEDIA_OPEN};
    };
    EXPECT_TRUE(control.Open("C:\\media\\song.mp3", true));
    // With nothing in the queue, the state is read again only every few milliseconds.
    EXPECT_LT(player.polls, 50);
    EXPECT_GE(GetTickCount() - start, 150u);
}

TEST_F(SMediaPlayerCtrlTest, EscapeDuringTheOpenMakesItFail)
{
    CreateControl();
    KeysReleasedAtEnd release({VK_ESCAPE});
    player.openStates = {9};
    // Should the key never register, the scripted open fails by itself within seconds.
    player.pollLimit = 200;
    player.onPoll = [&](int poll) {
        if (poll == 2)
            SetKeyDown(VK_ESCAPE, true);
    };
    EXPECT_FALSE(control.Open("C:\\media\\song.mp3", true));
    // The key is seen after the pass in which it went down.
    EXPECT_LE(player.polls, 3);
    EXPECT_FALSE(control.HasMedia());
}

TEST_F(SMediaPlayerCtrlTest, QuitDuringTheOpenEndsTheWaitAndIsPostedAgain)
{
    CreateControl();
    player.openStates = {9};
    player.onPoll = [&](int poll) {
        if (poll == 2)
            PostQuitMessage(7);
    };
    EXPECT_FALSE(control.Open("C:\\media\\song.mp3", false));
    EXPECT_EQ(2, player.polls);
    MSG message;
    bool quit = false;
    for (int i = 0; i < 500 && !quit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); i++)
    {
        if (message.message == WM_QUIT)
        {
            quit = true;
            EXPECT_EQ((WPARAM)7, message.wParam);
        }
        else
            DispatchMessageA(&message);
    }
    EXPECT_TRUE(quit);
}

TEST_F(SMediaPlayerCtrlTest, EndOfMediumStopsOrLoops)
{
    OpenPlaying();
    player.calls.clear();
    ASSERT_EQ(S_OK, player.FireLong(SWMP_EVENT_PLAY_STATE, SWMP_PLAY_MEDIA_ENDED));
    // Nothing runs inside the player's event call.
    EXPECT_TRUE(control.IsPlaying());
    ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_S_PLAYER_ENDED).empty(); }));
    EXPECT_EQ(1, control.ended);
    EXPECT_TRUE(control.IsStopped());
    EXPECT_TRUE(parent.Received(WM_S_PLAYER_LOOPED).empty());
    EXPECT_EQ((WPARAM)&control, parent.Received(WM_S_PLAYER_ENDED)[0].wParam);
    EXPECT_EQ(std::vector<std::string>{"stop"}, player.calls);

    parent.ClearReceived();
    ASSERT_TRUE(control.Play());
    control.SetLoop(true);
    player.calls.clear();
    player.position = 1.5;
    player.FireLong(SWMP_EVENT_PLAY_STATE, SWMP_PLAY_MEDIA_ENDED);
    ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_S_PLAYER_LOOPED).empty(); }));
    EXPECT_TRUE(parent.Received(WM_S_PLAYER_ENDED).empty());
    EXPECT_EQ(1, control.looped);
    EXPECT_EQ(1, control.ended);
    EXPECT_TRUE(control.IsPlaying());
    std::vector<std::string> expected = {"stop", "position 0.000000", "play"};
    EXPECT_EQ(expected, player.calls);

    // Other play states change nothing.
    parent.ClearReceived();
    player.FireLong(SWMP_EVENT_PLAY_STATE, SWMP_PLAY_STOPPED);
    PumpPending();
    EXPECT_TRUE(control.IsPlaying());
    EXPECT_TRUE(parent.Received(WM_S_PLAYER_ENDED).empty());
}

TEST_F(SMediaPlayerCtrlTest, AnEndCountsOnlyForTheRunPlayingNowAndOnlyOnce)
{
    const char* const first = "C:\\media\\a.mp3";
    const char* const second = "C:\\media\\b.mp3";
    auto end = [&] { player.FireLong(SWMP_EVENT_PLAY_STATE, SWMP_PLAY_MEDIA_ENDED); };
    struct Case
    {
        const char* name;
        bool loop;
        // Runs with the first medium open and playing, nothing reported yet.
        std::function<void()> script;
        int ended, looped;
        bool playing;
        const char* path;
    } cases[] = {
        {"end of the first held while the second opens", false,
         [&] {
             end();
             player.openStates = {9, 9, 9, SWMP_OPEN_MEDIA_OPEN};
             player.polls = 0;
             ASSERT_TRUE(control.Open(second, true));
         },
         0, 0, true, second},
        {"end of the first queued while the second opens at once", true,
         [&] { end(); ASSERT_TRUE(control.Open(second, true)); }, 0, 0, true, second},
        {"end queued before Stop", false, [&] { end(); control.Stop(); }, 0, 0, false, first},
        {"end queued before Stop, loop on", true, [&] { end(); control.Stop(); }, 0, 0, false, first},
        {"end queued before Stop and Play", true, [&] { end(); control.Stop(); control.Play(); }, 0, 0, true, first},
        {"end queued before Close", false, [&] { end(); control.Close(); }, 0, 0, false, ""},
        {"the same end twice", false, [&] { end(); end(); }, 1, 0, false, first},
        {"the same end twice, loop on", true, [&] { end(); end(); }, 0, 1, true, first},
        {"genuine end of the second", false, [&] { ASSERT_TRUE(control.Open(second, true)); end(); }, 1, 0, false,
         second},
        {"genuine end of the second, loop on", true, [&] { ASSERT_TRUE(control.Open(second, true)); end(); }, 0, 1,
         true, second},
        {"end while paused", false, [&] { ASSERT_TRUE(control.TogglePause()); end(); }, 1, 0, false, first},
    };
    CreateControl();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        control.SetLoop(c.loop);
        player.openStates = {SWMP_OPEN_MEDIA_OPEN};
        player.polls = 0;
        ASSERT_TRUE(control.Open(first, true));
        PumpPending();
        control.ended = control.looped = 0;
        parent.ClearReceived();
        c.script();
        PumpPending();
        EXPECT_EQ(c.ended, control.ended);
        EXPECT_EQ(c.looped, control.looped);
        EXPECT_EQ((size_t)c.ended, parent.Received(WM_S_PLAYER_ENDED).size());
        EXPECT_EQ((size_t)c.looped, parent.Received(WM_S_PLAYER_LOOPED).size());
        EXPECT_EQ(c.playing, control.IsPlaying());
        SPath path;
        control.GetPath(&path);
        EXPECT_STREQ(c.path, path.GetPath());
    }
}

TEST_F(SMediaPlayerCtrlTest, BufferingIsReportedWhilePlaying)
{
    OpenPlaying();
    player.FireBool(SWMP_EVENT_BUFFERING, true);
    player.FireBool(SWMP_EVENT_BUFFERING, false);
    ASSERT_TRUE(PumpUntil([&] { return parent.Received(WM_S_PLAYER_BUFFERING).size() == 2; }));
    auto received = parent.Received(WM_S_PLAYER_BUFFERING);
    EXPECT_EQ(0, received[0].lParam);
    EXPECT_EQ(1, received[1].lParam);
    EXPECT_EQ((std::vector<bool>{false, true}), control.buffering);

    control.Stop();
    parent.ClearReceived();
    player.FireBool(SWMP_EVENT_BUFFERING, true);
    PumpPending();
    EXPECT_TRUE(parent.Received(WM_S_PLAYER_BUFFERING).empty());
}

TEST_F(SMediaPlayerCtrlTest, TransportFollowsThePlayer)
{
    CreateControl();
    // Without a medium nothing is done.
    EXPECT_FALSE(control.Play());
    EXPECT_FALSE(control.Stop());
    EXPECT_FALSE(control.TogglePause());
    EXPECT_FALSE(control.SetPosition(10));
    EXPECT_EQ(0u, control.GetDuration());

    ASSERT_TRUE(control.Open("C:\\media\\song.mp3", false));
    EXPECT_FALSE(control.TogglePause());
    ASSERT_TRUE(control.Play());
    EXPECT_TRUE(control.TogglePause());
    EXPECT_TRUE(control.IsPaused());
    EXPECT_FALSE(control.IsPlaying());
    EXPECT_FALSE(control.IsStopped());
    EXPECT_TRUE(control.TogglePause());
    EXPECT_TRUE(control.IsPlaying());
    // A player that refuses to pause leaves the control playing.
    player.pauseResult = E_NOTIMPL;
    EXPECT_FALSE(control.TogglePause());
    EXPECT_TRUE(control.IsPlaying());
    EXPECT_FALSE(control.IsPaused());

    struct VolumeCase { int given, set; } volumes[] = {{150, 100}, {-5, 0}, {35, 35}};
    for (const auto& v : volumes)
    {
        EXPECT_TRUE(control.SetVolume(v.given));
        EXPECT_EQ(v.set, control.GetVolume());
    }
    EXPECT_EQ(2500u, control.GetDuration());
    EXPECT_TRUE(control.SetPosition(1200));
    EXPECT_DOUBLE_EQ(1.2, player.position);
    EXPECT_EQ(1200u, control.GetPosition());
    EXPECT_TRUE(control.SetPosition(99000));
    EXPECT_DOUBLE_EQ(2.5, player.position);

    control.EnableContextMenu(true);
    EXPECT_TRUE(player.Called("menu 1"));
    // An audio medium has no picture and no full screen.
    EXPECT_FALSE(control.HasVideo());
    EXPECT_FALSE(control.SetFullScreen(true));
    RECT video = control.GetVideoRect();
    EXPECT_TRUE(IsRectEmpty(&video));

    control.Close();
    EXPECT_FALSE(control.HasMedia());
    EXPECT_TRUE(control.IsStopped());
}

TEST_F(SMediaPlayerCtrlTest, PositionsComeBackAsTheMillisecondsSet)
{
    CreateControl();
    ASSERT_TRUE(control.Open("C:\\media\\song.mp3", false));
    // 1001 and 1003 ms come back from the player's seconds a hair below the whole number.
    struct Case { unsigned ms; } cases[] = {{1001}, {1003}, {1200}, {1999}, {2499}};
    for (const Case& c : cases)
    {
        EXPECT_TRUE(control.SetPosition(c.ms));
        EXPECT_EQ(c.ms, control.GetPosition()) << c.ms;
    }
}

TEST_F(SMediaPlayerCtrlTest, VideoIsFittedAndKeysGoFullScreen)
{
    CreateControl(1000, 300);
    player.imageWidth = 800;
    player.imageHeight = 400;
    ASSERT_TRUE(control.Open("C:\\media\\film.avi", false));
    EXPECT_TRUE(control.HasVideo());
    int width = 0, height = 0;
    control.GetVideoSize(&width, &height);
    EXPECT_EQ(800, width);
    EXPECT_EQ(400, height);
    RECT video = control.GetVideoRect();
    EXPECT_EQ(200, video.left);
    EXPECT_EQ(0, video.top);
    EXPECT_EQ(800, video.right);
    EXPECT_EQ(300, video.bottom);

    SendMessageA(control.GetHandle(), WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(control.IsFullScreen());
    EXPECT_FALSE(control.SetFullScreen(true));
    EXPECT_TRUE(control.SetFullScreen(false));
    EXPECT_FALSE(player.fullScreen);
}

TEST_F(SMediaPlayerCtrlTest, TicksWhilePlayingAndForwardsMouseButtons)
{
    OpenPlaying();
    ASSERT_TRUE(PumpUntil([&] { return control.ticks >= 2; }, 3000));
    control.Stop();
    PumpPending();
    int ticks = control.ticks;
    Sleep(60);
    PumpPending();
    EXPECT_EQ(ticks, control.ticks);

    SendMessageA(control.GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(12, 34));
    auto mouse = parent.Received(WM_S_PLAYER_MOUSE);
    ASSERT_EQ(1u, mouse.size());
    EXPECT_EQ(SMOUSE_RIGHT | SMOUSE_UP, mouse[0].mouse.code);
    EXPECT_EQ(12, mouse[0].mouse.x);
    EXPECT_EQ(34, mouse[0].mouse.y);
    EXPECT_EQ(control.GetHandle(), GetFocus());
    SendMessageA(control.GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(1u, parent.Received(WM_S_PLAYER_MOUSE).size());
}

TEST_F(SMediaPlayerCtrlTest, PrintsAFilmStrip)
{
    CreateControl(200, 100);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 200, 100};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SendMessageA(control.GetHandle(), WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    // q = 10: holes 10 wide and 5 high, 5 from the top and bottom edges, every 20 pixels.
    struct Pixel { int x, y; COLORREF color; } pixels[] = {
        {2, 7, RGB(192, 192, 192)}, {22, 7, RGB(192, 192, 192)}, {182, 92, RGB(192, 192, 192)},
        {12, 7, RGB(0, 0, 0)}, {2, 2, RGB(0, 0, 0)}, {2, 50, RGB(0, 0, 0)}, {2, 97, RGB(0, 0, 0)},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(p.color, GetPixel(dc, p.x, p.y)) << p.x << "," << p.y;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(SMediaPlayerCtrlTest, FailedCreationDestroysTheWindow)
{
    player.createResult = false;
    RECT rect = {0, 0, 100, 100};
    EXPECT_FALSE(control.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    EXPECT_EQ(nullptr, control.GetHandle());
    EXPECT_FALSE(control.HasPlayer());
    EXPECT_GE(player.destroyCount, 1);
    EXPECT_FALSE(control.Open("C:\\media\\song.mp3", true));

    // A second creation starts clean and works.
    player.createResult = true;
    CreateControl();
    // The player object cannot change under an existing player.
    EXPECT_FALSE(control.SetPlayerObject(nullptr));
    control.DestroyPlayer();
    EXPECT_FALSE(control.HasPlayer());
    EXPECT_EQ(nullptr, player.sink);
}

namespace
{
// Writes a mono 16-bit PCM WAV of a 440 Hz tone; the path, or "" on failure.
std::string WriteToneWav(const char* name, int milliseconds)
{
    char folder[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder))
        return "";
    std::string path = std::string(folder) + name;
    const int rate = 22050;
    int count = rate * milliseconds / 1000;
    std::vector<short> samples(count);
    for (int i = 0; i < count; i++)
        samples[i] = (short)(12000 * sin(2 * 3.14159265358979 * 440 * i / rate));
    DWORD dataBytes = (DWORD)(count * 2);
    struct Header
    {
        char riff[4]; DWORD riffSize; char wave[4];
        char fmt[4]; DWORD fmtSize; WORD format, channels; DWORD rate, byteRate; WORD align, bits;
        char data[4]; DWORD dataSize;
    } header = {{'R', 'I', 'F', 'F'}, 36 + dataBytes, {'W', 'A', 'V', 'E'}, {'f', 'm', 't', ' '}, 16, 1, 1,
                (DWORD)rate, (DWORD)rate * 2, 2, 16, {'d', 'a', 't', 'a'}, dataBytes};
    static_assert(sizeof(Header) == 44, "WAV header");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    DWORD written = 0, written2 = 0;
    bool ok = WriteFile(file, &header, sizeof(header), &written, nullptr) &&
              WriteFile(file, samples.data(), dataBytes, &written2, nullptr) && written2 == dataBytes;
    CloseHandle(file);
    if (!ok)
    {
        DeleteFileA(path.c_str());
        return "";
    }
    return path;
}

// The MP3 the build made from a tone, as a Windows path; "" when no encoder was installed.
std::string BuiltMp3()
{
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("MELVORA_TEST_MP3", value, MAX_PATH);
    if (!length || length >= MAX_PATH)
        return "";
    std::string path = value;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : path;
}

// Removes a scratch file however the test ends.
struct ScratchFile
{
    std::string path;
    ~ScratchFile()
    {
        if (!path.empty())
            DeleteFileA(path.c_str());
    }
};
} // namespace

TEST_F(SMediaPlayerCtrlTest, WinePlaysAWavToTheEndAndReportsIt)
{
    CreateWineControl();
    ScratchFile wav{WriteToneWav("melvora_player_tone.wav", 300)};
    ASSERT_FALSE(wav.path.empty());
    PlayToTheEnd(wav.path);
    // Looping restarts the medium at its end instead of ending it.
    control.SetLoop(true);
    ASSERT_TRUE(control.Play());
    ASSERT_TRUE(PumpUntil([&] { return control.looped == 2; }, 15000));
    EXPECT_EQ(1, control.ended);
    EXPECT_TRUE(control.IsPlaying());
    // A player that cannot pause says so, and the control keeps playing.
    if (control.TogglePause())
        EXPECT_TRUE(control.IsPaused());
    else
        EXPECT_TRUE(control.IsPlaying());
    control.Close();
    EXPECT_FALSE(control.HasMedia());
    EXPECT_TRUE(control.IsStopped());
}

TEST_F(SMediaPlayerCtrlTest, WinePlaysAnMp3ToTheEndAndReportsIt)
{
    CreateWineControl();
    std::string mp3 = BuiltMp3();
    if (mp3.empty())
        GTEST_SKIP() << "no MP3 encoder was installed at build time (lame), so no MP3 was made";
    PlayToTheEnd(mp3);
}

TEST_F(SMediaPlayerCtrlTest, WineOpensSilentlyAndRefusesWhatItCannotRender)
{
    CreateWineControl();
    ScratchFile wav{WriteToneWav("melvora_player_quiet.wav", 300)};
    ASSERT_FALSE(wav.path.empty());
    ASSERT_TRUE(control.SetVolume(60));
    ASSERT_TRUE(control.Open(wav.path.c_str(), false));
    EXPECT_TRUE(control.IsStopped());
    EXPECT_EQ(60, control.GetVolume());
    EXPECT_FALSE(control.HasVideo());
    EXPECT_FALSE(control.SetFullScreen(true));

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    ScratchFile junk{std::string(folder) + "melvora_player_junk.mp3"};
    HANDLE file = CreateFileA(junk.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, "not a sound at all, only text", 29, &written, nullptr);
    CloseHandle(file);
    for (const std::string& path : {junk.path, std::string(folder) + "melvora_player_missing.wav"})
    {
        EXPECT_FALSE(control.Open(path.c_str(), false)) << path;
        EXPECT_FALSE(control.HasMedia());
        EXPECT_EQ(60, control.GetVolume());
        SPath opened;
        control.GetPath(&opened);
        EXPECT_STREQ("", opened.GetPath());
    }
}
