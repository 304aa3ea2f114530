#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "../LeakCheck.h"
#include "PWndPlay.h"
#include "PWndPlaylist.h"
#include "PWndTask.h"
#include "PWndThumbs.h"
#include "PlayTestSupport.h"
#include "SControl.h"
#include "SMediaText.h"
#include "SMessages.h"
#include "SSystem.h"

namespace
{
const unsigned kRed = 0x0000FF;

// One visible parent for the panes of the whole suite.
class PPlayPanesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_parent = new SWnd();
        RECT rect = {0, 0, 900, 500};
        s_parent->Create("panes", WS_POPUP | WS_VISIBLE, 0, &rect, nullptr);
    }
    static void TearDownTestSuite()
    {
        delete s_parent;
        s_parent = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(rig.Create());
        pane.SetQueue(&rig.queue);
        RECT rect = {0, 0, 800, 65};
        ASSERT_TRUE(pane.CreateChild("", WS_VISIBLE, 0, &rect, s_parent->GetHandle()));
    }
    // Opens one medium of the given path in the player.
    void Open(const char* path)
    {
        SStringArray paths;
        paths.Add(path);
        rig.queue.Replace(paths);
        ASSERT_TRUE(rig.queue.PlayFrom(0, false));
    }

    static SWnd* s_parent;
    PPlayRig rig;
    PWndPlay pane;
};
SWnd* PPlayPanesTest::s_parent = nullptr;

TEST_F(PPlayPanesTest, TimesReadHoursMinutesAndSeconds)
{
    STimer timer;
    struct Case
    {
        unsigned seconds;
        const char* text;
    };
    for (const Case& c : {Case{0, "0:00:00"}, Case{65, "0:01:05"}, Case{3725, "1:02:05"}, Case{36000, "10:00:00"}})
        EXPECT_STREQ(c.text, FormatPlayTime(timer, c.seconds)) << c.seconds;
}

TEST_F(PPlayPanesTest, NowPlayingShowsTheMediumAndClearsAgain)
{
    EXPECT_STREQ("", pane.GetArtist().GetText());
    EXPECT_FALSE(pane.GetTitle().IsEnabled());
    EXPECT_FALSE(pane.GetQueueButton().IsVisible());
    EXPECT_STREQ("0:00:00", pane.GetElapsed().GetText());
    EXPECT_EQ(0, pane.GetSeekBar().GetMax());

    rig.player.duration = 3725.0;
    Open("C:\\Music\\Artist\\Album\\Song.mp3");
    pane.SetMedia(&rig.media, 1234, 5678);
    EXPECT_STREQ("Artist", pane.GetArtist().GetText());
    EXPECT_STREQ("Album", pane.GetAlbum().GetText());
    EXPECT_STREQ("Song", pane.GetTitle().GetText());
    EXPECT_TRUE(pane.GetTitle().IsEnabled());
    EXPECT_STREQ("1,234", pane.GetTrackNumber().GetText());
    EXPECT_STREQ("5,678", pane.GetQueueCount().GetText());
    EXPECT_TRUE(pane.GetQueueButton().IsVisible());
    EXPECT_EQ(3725, pane.GetSeekBar().GetMax());
    pane.SetCountText(7);
    EXPECT_STREQ("7", pane.GetQueueCount().GetText());

    // The range follows the duration when the player learns it later.
    rig.player.duration = 7200.0;
    pane.Refresh(&rig.media);
    EXPECT_EQ(7200, pane.GetSeekBar().GetMax());
    rig.player.duration = 3725.0;
    rig.player.position = 65.0;
    pane.Refresh(&rig.media);
    EXPECT_EQ(3725, pane.GetSeekBar().GetMax());
    EXPECT_STREQ("0:01:05", pane.GetElapsed().GetText());
    EXPECT_STREQ("1:02:05", pane.GetTotal().GetText());
    EXPECT_EQ(65, pane.GetSeekBar().GetPos());
    // A player that reports itself stopped (a radio) has no total.
    rig.media.Stop();
    pane.Refresh(&rig.media);
    EXPECT_STREQ("0:00:00", pane.GetTotal().GetText());

    // A file at the root of a drive has no artist.
    Open("C:\\Song.mp3");
    pane.SetMedia(&rig.media, 1, 1);
    EXPECT_STREQ("", pane.GetArtist().GetText());
    EXPECT_STREQ("Song", pane.GetTitle().GetText());

    pane.SetMedia(nullptr, 0, 0);
    EXPECT_STREQ("", pane.GetTitle().GetText());
    EXPECT_STREQ("", pane.GetTrackNumber().GetText());
    EXPECT_FALSE(pane.GetQueueButton().IsVisible());
    EXPECT_EQ(0, pane.GetSeekBar().GetMax());
    EXPECT_TRUE(pane.GetMediaPath().GetPath().IsEmpty());
}

TEST_F(PPlayPanesTest, TheSeekBarShowsTheTimeUnderTheMouseAndSeeksWhereClicked)
{
    PProgressCtrl& bar = pane.GetSeekBar();
    const int width = bar.GetClientWidth();
    ASSERT_GT(width, 0);
    // Nothing loaded: the range is empty and a click does not seek.
    rig.player.calls.clear();
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width / 2, 3));
    EXPECT_FALSE(rig.player.Called("position 0.000000"));

    rig.player.duration = 100.0;
    Open("C:\\Music\\Artist\\Album\\Song.mp3");
    pane.SetMedia(&rig.media, 1, 1);
    rig.player.position = 10.0;
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(width / 2, 3));
    EXPECT_EQ(100 * (width / 2) / width, bar.GetTrackPos());
    pane.Refresh(&rig.media);
    STimer timer;
    EXPECT_STREQ(FormatPlayTime(timer, (unsigned)bar.GetTrackPos()), pane.GetElapsed().GetText());
    EXPECT_EQ(kRed, pane.GetElapsedColor());
    bar.SendMessage(WM_S_MOUSE_LEAVE);
    EXPECT_EQ(-1, bar.GetTrackPos());
    pane.Refresh(&rig.media);
    EXPECT_STREQ("0:00:10", pane.GetElapsed().GetText());
    EXPECT_NE(kRed, pane.GetElapsedColor());

    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width / 4, 3));
    EXPECT_DOUBLE_EQ((double)(100 * (width / 4) / width), rig.player.position);
    EXPECT_EQ(0, PProgressCtrl::PositionAt(100, 5, 0));
    EXPECT_EQ(0, PProgressCtrl::FillWidth(5, 0, 100));
    EXPECT_EQ(50, PProgressCtrl::FillWidth(5, 10, 100));
    // Fills that are whole pixels stay whole: 29 / 100 of 100 is 28.999... in doubles.
    struct Fill { int value, width; } fills[] = {{29, 29}, {57, 57}, {58, 58}, {100, 100}};
    for (const Fill& f : fills)
        EXPECT_EQ(f.width, PProgressCtrl::FillWidth(f.value, 100, 100)) << f.value;
}

TEST_F(PPlayPanesTest, TheQueueMenuListsTheEntriesWithTheCurrentOneChecked)
{
    EXPECT_FALSE(pane.FillQueueMenu());
    SStringArray paths;
    for (const char* path : {"C:\\a\\One.mp3", "C:\\a\\Two.mp3", "C:\\a\\Three.mp3"})
        paths.Add(path);
    rig.queue.Replace(paths);
    ASSERT_TRUE(rig.queue.PlayFrom(1, false));
    ASSERT_TRUE(pane.FillQueueMenu());
    SMenu& menu = pane.GetQueueMenu();
    EXPECT_EQ(3, menu.GetItemCount());
    EXPECT_STREQ("Three", menu.GetMenuItemText(1002));
    EXPECT_TRUE(menu.IsItemChecked(1001));
    EXPECT_FALSE(menu.IsItemChecked(1000));
    // A menu command plays that entry.
    pane.SendMessage(ControlMessage(SBLOCK_MENU), 0, 1002);
    EXPECT_EQ(2, rig.queue.GetIndex());
}

// ---------------------------------------------------------------- docked bar

class PWndTaskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rig.Create());
        bar.SetQueue(&rig.queue);
        ASSERT_TRUE(bar.Create());
    }
    PPlayRig rig;
    PWndTask bar;
};

TEST_F(PWndTaskTest, LayoutFollowsTheWorkAreaAndTheFont)
{
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(bar.IsTaskbarShown());
    const int height = bar.GetBarHeight();
    EXPECT_GE(height, 20);
    const int width = bar.GetClientWidth();
    EXPECT_EQ(SSystem::GetWorkAreaWidth(), width);
    struct Case
    {
        int id, left, right;
    };
    for (const Case& c : {Case{PWndTask::IdShowHide, width - 22, width - 2}, Case{PWndTask::IdStop, width - 52, width - 32},
                          Case{PWndTask::IdPrevious, width - 112, width - 92},
                          Case{PWndTask::IdPosition, width - 302, width - 222}})
    {
        RECT rect;
        bar.GetControl(c.id).GetRectInParent(&rect);
        EXPECT_EQ(c.left, rect.left) << c.id;
        EXPECT_EQ(c.right, rect.right) << c.id;
        EXPECT_EQ(height, rect.bottom) << c.id;
    }
    EXPECT_FALSE(bar.GetControl(PWndTask::IdNext).IsEnabled());
    EXPECT_TRUE(bar.GetControl(PWndTask::IdShowHide).IsEnabled());
}

TEST_F(PWndTaskTest, ShowsTheMediumOnlyWhileDocked)
{
    SStringArray paths;
    paths.Add("C:\\Music\\Artist\\Album\\Song.mp3");
    paths.Add("C:\\Radios\\Loopback FM.wax");
    rig.queue.Replace(paths);
    ASSERT_TRUE(rig.queue.PlayFrom(0, false));
    bar.SetMedia(&rig.media, 3, 12);
    EXPECT_STREQ("", bar.GetControl(PWndTask::IdTitle).GetText());
    bar.SetCount(15);
    EXPECT_STREQ("", bar.GetControl(PWndTask::IdPosition).GetText());

    bar.SetShown(true);
    EXPECT_FALSE(bar.GetControl(PWndTask::IdPause).IsEnabled());
    bar.SetMedia(&rig.media, 3, 12);
    EXPECT_STREQ("Song", bar.GetControl(PWndTask::IdTitle).GetText());
    EXPECT_STREQ("Artist", bar.GetControl(PWndTask::IdArtist).GetText());
    EXPECT_EQ(1, bar.GetKindShown());
    EXPECT_STREQ("3/12", bar.GetControl(PWndTask::IdPosition).GetText());
    EXPECT_TRUE(bar.GetControl(PWndTask::IdPosition).IsEnabled());
    bar.SetCount(1500);
    EXPECT_STREQ("3/1,500", bar.GetControl(PWndTask::IdPosition).GetText());
    bar.EnableTrackButtons(true);
    bar.EnablePlayButtons(true);
    EXPECT_TRUE(bar.GetControl(PWndTask::IdNext).IsEnabled());
    EXPECT_TRUE(bar.GetControl(PWndTask::IdStop).IsEnabled());

    ASSERT_TRUE(rig.queue.PlayFrom(1, false));
    bar.SetMedia(&rig.media, 2, 2);
    EXPECT_EQ(3, bar.GetKindShown());

    bar.SetMedia(nullptr, 0, 0);
    EXPECT_EQ(0, bar.GetKindShown());
    EXPECT_STREQ("", bar.GetControl(PWndTask::IdPosition).GetText());
    bar.SetCount(7);
    EXPECT_STREQ("", bar.GetControl(PWndTask::IdPosition).GetText());
    bar.SetShown(false);
}

TEST_F(PWndTaskTest, BufferingReplacesTheTotalOnly)
{
    bar.SetShown(true);
    bar.SetTextColor(0x00AA00);
    rig.player.duration = 200.0;
    SStringArray paths;
    paths.Add("C:\\Music\\Artist\\Album\\Song.mp3");
    rig.queue.Replace(paths);
    ASSERT_TRUE(rig.queue.PlayFrom(0, false));
    bar.SetMedia(&rig.media, 1, 1);
    rig.player.position = 61.0;
    bar.SetBuffering(true);
    bar.Refresh(&rig.media);
    EXPECT_STREQ("0:01:01", bar.GetElapsed().GetText());
    EXPECT_STREQ("buffering...", bar.GetTotal().GetText());
    EXPECT_EQ(0x00AAu, bar.GetElapsedColor() >> 8);
    bar.SetBuffering(false);
    bar.Refresh(&rig.media);
    EXPECT_STREQ("0:03:20", bar.GetTotal().GetText());

    // Stopped with an empty range: both times empty.
    bar.SetMedia(nullptr, 0, 0);
    rig.media.Stop();
    bar.Refresh(&rig.media);
    EXPECT_STREQ("", bar.GetElapsed().GetText());
    EXPECT_STREQ("", bar.GetTotal().GetText());
    bar.SetShown(false);
}

TEST_F(PWndTaskTest, ButtonsSteerTheQueue)
{
    bar.SetShown(true);
    SStringArray paths;
    for (const char* path : {"C:\\a\\One.mp3", "C:\\a\\Two.mp3", "C:\\a\\Three.mp3"})
        paths.Add(path);
    rig.queue.Replace(paths);
    ASSERT_TRUE(rig.queue.PlayFrom(0, false));
    bar.EnableTrackButtons(true);
    bar.EnablePlayButtons(true);
    struct Case
    {
        int id, index;
    };
    for (const Case& c : {Case{PWndTask::IdNext, 1}, Case{PWndTask::IdNext, 2}, Case{PWndTask::IdPrevious, 1},
                          Case{PWndTask::IdStop, -1}})
    {
        SMediaCtrl& button = bar.GetControl(c.id);
        bar.SendMessage(WM_S_MEDIA_CLICK, (WPARAM)&button, 0);
        EXPECT_EQ(c.index, rig.queue.GetIndex()) << c.id;
    }
    EXPECT_FALSE(bar.FillQueueMenu());
    bar.SetShown(false);
}

// The main window creates the bar only after its first paint, so totals counted
// before then must still appear on the bar once it exists.
TEST(PWndTaskTotals, TotalsGivenBeforeCreationShowOnceCreated)
{
    struct Case
    {
        const char* before;
        const char* after; // null: nothing given after creation
        const char* shown;
    };
    const Case cases[] = {
        {"12 songs, 3 videos", nullptr, "12 songs, 3 videos"},
        {"12 songs", "13 songs", "13 songs"},
        {"", nullptr, ""},
        {nullptr, "1 radio", "1 radio"},
    };
    for (const Case& c : cases)
    {
        PWndTask bar;
        if (c.before)
            bar.SetTotalsText(c.before);
        ASSERT_TRUE(bar.Create());
        if (c.after)
            bar.SetTotalsText(c.after);
        EXPECT_STREQ(c.shown, (const char*)bar.GetTotals().GetText()) << (c.before ? c.before : "(none)");
    }
}

// Docked on the bottom edge of the work area, undocked again; a bar whose registration
// the shell refuses stays hidden and undocked but still takes the colour.
TEST_F(PWndTaskTest, DocksOnTheBottomEdgeAndUndocks)
{
    RECT work;
    ASSERT_TRUE(SSystem::GetWorkArea(&work));
    bar.ApplyDocking(true, 0x0000C0);
    ASSERT_TRUE(bar.IsTaskbarShown());
    EXPECT_TRUE(bar.IsVisible());
    RECT rect;
    bar.GetWindowRect(&rect);
    EXPECT_EQ(work.left, rect.left);
    EXPECT_EQ(work.right, rect.right);
    EXPECT_EQ(work.bottom, rect.bottom);
    EXPECT_EQ(bar.GetBarHeight(), rect.bottom - rect.top);
    EXPECT_EQ(SMediaArgb(0x0000C0), bar.GetControl(PWndTask::IdTitle).GetTextColor());
    EXPECT_FALSE(bar.GetControl(PWndTask::IdNext).IsEnabled());
    // Docking again changes the colour only.
    bar.ApplyDocking(true, 0x00AA00);
    EXPECT_TRUE(bar.IsTaskbarShown());
    EXPECT_EQ(SMediaArgb(0x00AA00), bar.GetControl(PWndTask::IdPosition).GetTextColor());
    bar.ApplyDocking(false, 0);
    EXPECT_FALSE(bar.IsTaskbarShown());
    EXPECT_FALSE(bar.IsVisible());

    APPBARDATA taken;
    memset(&taken, 0, sizeof(taken));
    taken.cbSize = sizeof(taken);
    taken.hWnd = bar.GetHandle();
    ASSERT_TRUE(SHAppBarMessage(ABM_NEW, &taken));
    bar.ApplyDocking(true, 0x123456);
    EXPECT_FALSE(bar.IsTaskbarShown());
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_EQ(SMediaArgb(0x123456), bar.GetControl(PWndTask::IdArtist).GetTextColor());
    SHAppBarMessage(ABM_REMOVE, &taken);
}

// ---------------------------------------------------------------- thumbnail grid

// A white memory bitmap to paint the grid into, released with it.
struct PCanvas
{
    PCanvas(int width, int height)
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    ~PCanvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    unsigned At(int x, int y) const { return (unsigned)GetPixel(dc, x, y); }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

class PWndThumbsTest : public PPlayPanesTest
{
protected:
    void CreateGrid(int width, int height = 450)
    {
        RECT rect = {0, 0, width, height};
        ASSERT_TRUE(grid.Create(&rect, s_parent->GetHandle(), 1008));
        grid.ShowWindow(SW_SHOW);
    }
    void AddCells(int count)
    {
        SImage cover(150, 150);
        for (int i = 0; i < count; i++)
            grid.AddCell(&cover, ("Folder " + std::to_string(i)).c_str(), i % 2 == 0);
    }
    PWndThumbs grid;
};

TEST_F(PWndThumbsTest, HitTestFindsCoversAndTheBand)
{
    CreateGrid(32 + 3 * 170 + 40);
    // The vertical scroll bar takes its share of the width: read what is left.
    const int columns = (grid.GetClientWidth() - 32) / 170;
    EXPECT_EQ(columns, grid.GetColumns());
    ASSERT_GE(columns, 2);
    EXPECT_EQ(-2, grid.HitTest(50, 100));
    EXPECT_EQ(-1, grid.HitTest(150, 100));
    AddCells(7);
    EXPECT_EQ((7 + columns - 1) / columns, grid.GetRows());
    struct Case
    {
        int x, y, index;
    };
    const Case cases[] = {{36, 12, 0}, {185, 161, 0}, {186, 12, -1}, {36, 162, -2}, {206, 12, 1},
                          {36, 212, columns}, {10, 400, -2}};
    for (const Case& c : cases)
        EXPECT_EQ(c.index, grid.HitTest(c.x, c.y)) << c.x << "," << c.y;
    EXPECT_EQ(grid.GetRows() * 200 + 8, grid.GetScrollMax(true));
    EXPECT_STREQ("Folder 6", grid.GetCaption(6));
    EXPECT_TRUE(grid.HoldsMedia(0));
    EXPECT_FALSE(grid.HoldsMedia(1));
    EXPECT_FALSE(grid.HoldsMedia(99));

    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 20));
    EXPECT_EQ(0, grid.GetHot());
    grid.SendMessage(WM_S_MOUSE_LEAVE);
    EXPECT_EQ(-1, grid.GetHot());
    grid.SetHot(-7);
    EXPECT_EQ(-1, grid.GetHot());
    grid.SetHot(PWndThumbs::HotBand);
    EXPECT_EQ(PWndThumbs::HotBand, grid.GetHot());
    grid.RedrawNow();

    grid.Clear();
    EXPECT_EQ(0, grid.GetCellCount());
    EXPECT_EQ(-1, grid.GetHot());
    EXPECT_EQ(-1, grid.HitTest(150, 12));
}

TEST_F(PWndThumbsTest, PaintsTheBandAndTheCoversOnShow)
{
    CreateGrid(32 + 3 * 170 + 40, 300);
    SImage cover(150, 150);
    cover.Fill(0xFF123456);
    grid.AddCell(&cover, "Red", true);
    grid.AddCell(&cover, "Green", false);
    // A cell without a cover of its own shows the default one.
    SImage fallback(150, 150);
    fallback.Fill(0xFF00FF00);
    grid.SetDefaultCover(&fallback);
    grid.AddCell(nullptr, "Blue", false);
    grid.AddCell(&cover, "Below", false);
    PCanvas canvas(700, 450);
    grid.Paint(canvas.dc);
    EXPECT_EQ(0x9C7742u, canvas.At(10, 280));
    EXPECT_EQ(0x563412u, canvas.At(100, 100)) << "the first cover";
    EXPECT_EQ(0x563412u, canvas.At(32 + 170 + 100, 100)) << "the second cover";
    EXPECT_EQ(0x00FF00u, canvas.At(32 + 2 * 170 + 100, 100)) << "the default cover";
    grid.SetHot(PWndThumbs::HotBand);
    grid.Paint(canvas.dc);
    EXPECT_EQ(0x42429Cu, canvas.At(10, 280));
}

TEST_F(PWndThumbsTest, ANarrowGridHasNoColumnAndOnlyTheBandAnswers)
{
    CreateGrid(150);
    EXPECT_EQ(0, grid.GetColumns());
    AddCells(3);
    EXPECT_EQ(0, grid.GetRows());
    EXPECT_EQ(-1, grid.HitTest(120, 20));
    EXPECT_EQ(-2, grid.HitTest(40, 20));
    grid.RedrawNow();
    // Clicks without an owner do nothing harmful.
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 20));
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 20));
    grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 20));
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), 0);
    EXPECT_EQ(3, grid.GetCellCount());
}
TEST_F(PWndThumbsTest, AnEmptyFolderShowsOnlyTheBand)
{
    CreateGrid(32 + 3 * 170 + 40, 300);
    AddCells(2);
    grid.Clear();
    EXPECT_EQ(0, grid.GetCellCount());
    EXPECT_EQ(0, grid.GetRows());
    EXPECT_EQ(-2, grid.HitTest(40, 20));
    EXPECT_EQ(-1, grid.HitTest(120, 20));
    PCanvas canvas(700, 300);
    grid.Paint(canvas.dc);
    EXPECT_EQ(0x9C7742u, canvas.At(10, 150));
    EXPECT_EQ(0xFFFFFFu, canvas.At(110, 80)) << "no cell where the first would be";
    // Pointing and clicking where a cover would be, and wheeling, change nothing.
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(120, 20));
    EXPECT_EQ(-1, grid.GetHot());
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 20));
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(0, grid.GetScrollPos(true));
    EXPECT_EQ(0, grid.GetCellCount());
}
} // namespace

// The grid and the playlists pane made again after a destroy keep no GDI or USER
// object of their first life.
TEST_F(PPlayPanesTest, PanesMadeAgainAfterADestroyKeepNoObject)
{
    struct Case
    {
        const char* name;
        std::function<bool(RECT*)> make;
        std::function<void()> destroy;
    };
    PWndThumbs grid;
    PWndPlaylist playlists;
    const Case cases[] = {
        {"thumbnail grid", [&](RECT* rect) { return grid.Create(rect, s_parent->GetHandle(), 1008); },
         [&] { grid.Destroy(); }},
        {"playlists pane", [&](RECT* rect) { return playlists.Create(nullptr, rect, s_parent->GetHandle()); },
         [&] { playlists.Destroy(); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RECT rect = {0, 0, 500, 300};
        ASSERT_TRUE(c.make(&rect));
        EXPECT_TRUE(KeepsNoObject([&] {
            c.destroy();
            EXPECT_TRUE(c.make(&rect));
        }));
        c.destroy();
    }
}
