#include <gtest/gtest.h>
#include <windows.h>

#include "PlayTestSupport.h"
#include "SDisk.h"
#include "SFilePath.h"
#include "SSystem.h"

namespace
{
class PPlayQueueTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(rig.Create()); }
    PPlayRig rig;
    PPlayQueue& queue = rig.queue;
    PRecordingHost& host = rig.host;
    PPickyPlayer& player = rig.player;
};

TEST_F(PPlayQueueTest, PlaysFromAnEntryAndSkipsWhatCannotBeOpened)
{
    rig.Fill({"a", "bad1", "bad2", "d"});
    EXPECT_TRUE(queue.PlayFrom(1, false));
    EXPECT_EQ(3, queue.GetIndex());
    EXPECT_STREQ("d", rig.OpenTitle());
    EXPECT_TRUE(rig.media.IsPlaying());
    EXPECT_EQ(2, host.Count("failed"));
    EXPECT_EQ(3, host.Count("opening"));
    EXPECT_EQ("entry 4/4", host.calls.back());

    // Nothing that opens from there on: playback stops and the queue empties.
    rig.Fill({"a", "bad"});
    host.calls.clear();
    EXPECT_FALSE(queue.PlayFrom(1, false));
    EXPECT_EQ(-1, queue.GetIndex());
    EXPECT_EQ(0, queue.GetCount());
    EXPECT_TRUE(host.Has("clear"));
    EXPECT_EQ("buffered", host.calls.back());
    // Out of range, and an empty queue.
    rig.Fill({"a"});
    EXPECT_FALSE(queue.PlayFrom(5, false));
    EXPECT_EQ(0, queue.GetCount());
    EXPECT_FALSE(queue.PlayFrom(0, false));
    EXPECT_FALSE(queue.Stop());
}

TEST_F(PPlayQueueTest, NextAndPreviousFollowRepeatAndNeverWrapBackwards)
{
    struct Case
    {
        bool repeat;
        int start;
        bool next;
        bool result;
        int index;
    };
    const Case cases[] = {
        {false, 0, true, true, 1},  {false, 2, true, false, -1}, {true, 2, true, true, 0},
        {false, 1, false, true, 0}, {true, 0, false, false, -1},
    };
    for (const Case& c : cases)
    {
        host.repeat = c.repeat;
        rig.Fill({"a", "b", "c"});
        ASSERT_TRUE(queue.PlayFrom(c.start, false));
        EXPECT_EQ(c.result, c.next ? queue.Next() : queue.Previous()) << c.start << " next " << c.next;
        EXPECT_EQ(c.index, queue.GetIndex()) << c.start << " next " << c.next;
        EXPECT_EQ(c.index == -1 ? 0 : 3, queue.GetCount());
    }
    // Previous onto an entry that cannot be opened stops.
    rig.Fill({"a", "bad", "c"});
    ASSERT_TRUE(queue.PlayFrom(2, false));
    EXPECT_FALSE(queue.Previous());
    EXPECT_EQ(-1, queue.GetIndex());
    // Stopped: neither moves.
    EXPECT_FALSE(queue.Next());
    EXPECT_FALSE(queue.Previous());
}

TEST_F(PPlayQueueTest, TheEndOfAMediumMovesOnRestartsOrShutsDown)
{
    // A single entry with Repeat restarts the same medium.
    host.repeat = true;
    rig.Fill({"a"});
    ASSERT_TRUE(queue.PlayFrom(0, false));
    player.calls.clear();
    queue.OnMediaEnded();
    EXPECT_EQ(0, queue.GetIndex());
    EXPECT_TRUE(player.Called("play"));
    EXPECT_TRUE(player.Called("position 0.000000"));

    // Without Repeat the last entry's end stops, then shuts down when asked.
    host.repeat = false;
    host.shutdown = true;
    queue.OnMediaEnded();
    EXPECT_EQ(-1, queue.GetIndex());
    EXPECT_EQ(1, host.shutdowns);

    rig.Fill({"a", "b"});
    ASSERT_TRUE(queue.PlayFrom(0, false));
    queue.OnMediaEnded();
    EXPECT_EQ(1, queue.GetIndex());
    EXPECT_EQ(1, host.shutdowns);
    queue.OnMediaEnded();
    EXPECT_EQ(-1, queue.GetIndex());
    EXPECT_EQ(2, host.shutdowns);

    // An end that arrives while stopped belongs to nothing: no shutdown, and a queue
    // filled but not started is not started by it either.
    queue.OnMediaEnded();
    EXPECT_EQ(2, host.shutdowns);
    EXPECT_EQ(-1, queue.GetIndex());
    rig.Fill({"a", "b"});
    player.calls.clear();
    queue.OnMediaEnded();
    EXPECT_EQ(2, host.shutdowns);
    EXPECT_EQ(-1, queue.GetIndex());
    EXPECT_EQ(2, queue.GetCount());
    EXPECT_TRUE(player.calls.empty());
}

TEST_F(PPlayQueueTest, ThePlayersEndEventAdvancesTheQueue)
{
    rig.Fill({"a", "b"});
    ASSERT_TRUE(queue.PlayFrom(0, false));
    // Media ended, as Windows Media Player reports it: the player window forwards it.
    ASSERT_EQ(S_OK, player.FireLong(SWMP_EVENT_PLAY_STATE, SWMP_PLAY_MEDIA_ENDED));
    EXPECT_TRUE(PumpUntil([&] { return queue.GetIndex() == 1; }, 3000));
    EXPECT_STREQ("b", rig.OpenTitle());

    // Ticks refresh the displays.
    host.calls.clear();
    EXPECT_TRUE(PumpUntil([&] { return host.Has("refresh"); }, 3000));
}

TEST_F(PPlayQueueTest, PauseTogglesAndAHeldEntryStartsPlaying)
{
    EXPECT_FALSE(queue.Pause());
    rig.Fill({"a", "b"});
    ASSERT_TRUE(queue.PlayFrom(0, true));
    EXPECT_TRUE(rig.media.IsPaused());
    EXPECT_TRUE(queue.Pause());
    EXPECT_TRUE(rig.media.IsPlaying());
    EXPECT_TRUE(queue.Pause());
    EXPECT_TRUE(rig.media.IsPaused());

    // A player that cannot pause holds the entry stopped at its start; pause plays it.
    player.pauseResult = E_NOTIMPL;
    ASSERT_TRUE(queue.PlayFrom(1, true));
    EXPECT_TRUE(rig.media.IsStopped());
    EXPECT_TRUE(rig.media.HasMedia());
    EXPECT_TRUE(queue.Pause());
    EXPECT_TRUE(rig.media.IsPlaying());
}

TEST_F(PPlayQueueTest, BufferingSeekAndVolumeGoThroughThePlayer)
{
    rig.Fill({"a"});
    EXPECT_FALSE(queue.Seek(3));
    ASSERT_TRUE(queue.PlayFrom(0, false));
    host.calls.clear();
    player.FireBool(SWMP_EVENT_BUFFERING, true);
    EXPECT_TRUE(PumpUntil([&] { return host.Has("buffering"); }, 3000));
    player.FireBool(SWMP_EVENT_BUFFERING, false);
    EXPECT_TRUE(PumpUntil([&] { return host.Has("buffered"); }, 3000));

    player.duration = 100.0;
    EXPECT_TRUE(queue.Seek(42));
    EXPECT_DOUBLE_EQ(42.0, player.position);
    struct Case
    {
        int slider;
        long volume;
    };
    for (const Case& c : {Case{0, 100}, Case{25, 50}, Case{50, 0}, Case{60, 0}})
    {
        queue.SetVolume(c.slider);
        EXPECT_EQ(c.volume, player.volume) << c.slider;
    }
}

// A player whose window is put off is made by the first entry played, or when asked,
// and takes the volume the slider gave before it existed.
TEST(PPlayQueueLaterPlayer, IsMadeWhenFirstNeededWithTheVolumeGivenBefore)
{
    for (bool byPlay : {true, false})
    {
        PPlayRig rig;
        ASSERT_TRUE(rig.media.SetPlayerObject(&rig.player));
        HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
        rig.media.CreateLater(owner);
        rig.queue.Attach(&rig.media, &rig.host);
        rig.queue.SetVolume(25);
        EXPECT_EQ(nullptr, rig.media.GetHandle()) << byPlay;
        EXPECT_EQ(100, rig.player.volume) << "no player yet to take it";
        if (byPlay)
        {
            rig.Fill({"a"});
            EXPECT_TRUE(rig.queue.PlayFrom(0, false));
            EXPECT_TRUE(rig.host.Has("entry 1/1"));
        }
        else
            EXPECT_TRUE(rig.queue.EnsurePlayer());
        ASSERT_NE(nullptr, rig.media.GetHandle()) << byPlay;
        EXPECT_EQ(owner, GetWindow(rig.media.GetHandle(), GW_OWNER));
        EXPECT_EQ(50, rig.player.volume) << byPlay;
        // Made once: asking again keeps the window.
        HWND made = rig.media.GetHandle();
        EXPECT_TRUE(rig.queue.EnsurePlayer());
        EXPECT_EQ(made, rig.media.GetHandle());
        rig.media.Destroy();
        DestroyWindow(owner);
    }
    // Nothing put off and nothing made: the queue cannot make a player.
    PPlayRig bare;
    bare.queue.Attach(&bare.media, &bare.host);
    EXPECT_FALSE(bare.queue.EnsurePlayer());
}

TEST_F(PPlayQueueTest, AppendingAndTitles)
{
    SStringArray more;
    more.Add("C:\\x\\One.mp3");
    more.Add("D:\\Two.part.wma");
    EXPECT_EQ(2, queue.Append(more));
    EXPECT_EQ(2, queue.Append(more));
    SStringArray titles;
    titles.Add("kept");
    EXPECT_EQ(4, queue.GetTitles(&titles));
    ASSERT_EQ(5, titles.GetCount());
    EXPECT_STREQ("kept", titles.GetAt(0));
    EXPECT_STREQ("One", titles.GetAt(1));
    EXPECT_STREQ("Two.part", titles.GetAt(4));
}

// The video window follows the picture the player reports, full screen survives moving on.
TEST_F(PPlayQueueTest, VideoWindowSizeAndFullScreen)
{
    struct Case
    {
        long width, height;
        int windowWidth, windowHeight;
    };
    const Case cases[] = {{640, 480, 640, 480}, {640, 0, 320, 240}, {40, 30, 160, 120}};
    for (const Case& c : cases)
    {
        player.imageWidth = c.width;
        player.imageHeight = c.height;
        rig.Fill({"v"});
        ASSERT_TRUE(queue.PlayFrom(0, false));
        ASSERT_TRUE(rig.media.HasVideo());
        SIZE size = rig.media.GetVideoWindowSize();
        EXPECT_EQ(c.windowWidth, size.cx) << c.width << "x" << c.height;
        EXPECT_EQ(c.windowHeight, size.cy) << c.width << "x" << c.height;
    }
    // A player that knew the picture when opening but reads 0 x 0 when the window is
    // sized gives a window one can see; a picture larger than the screen is cut to it.
    player.imageWidth = 640;
    player.imageHeight = 480;
    rig.Fill({"v"});
    ASSERT_TRUE(queue.PlayFrom(0, false));
    player.imageWidth = player.imageHeight = 0;
    SIZE unknown = rig.media.GetVideoWindowSize();
    EXPECT_EQ(PMedia::UnknownVideoWidth, unknown.cx);
    EXPECT_EQ(PMedia::UnknownVideoHeight, unknown.cy);
    player.imageWidth = 20000;
    player.imageHeight = 15000;
    RECT work;
    ASSERT_TRUE(SSystem::GetWorkArea(&work));
    SIZE large = rig.media.GetVideoWindowSize();
    EXPECT_EQ(work.right - work.left, large.cx);
    EXPECT_EQ(work.bottom - work.top, large.cy);
    player.imageWidth = 640;
    player.imageHeight = 480;

    // The first video showed the window at its size; a visible window keeps its size.
    EXPECT_TRUE(rig.media.IsVisible());
    EXPECT_EQ(640, rig.media.GetClientWidth());
    EXPECT_EQ(480, rig.media.GetClientHeight());

    player.fullScreen = true;
    rig.Fill({"v1", "v2"});
    ASSERT_TRUE(queue.PlayFrom(0, false));
    player.calls.clear();
    ASSERT_TRUE(queue.Next());
    EXPECT_TRUE(queue.WasFullScreen());
    EXPECT_TRUE(player.fullScreen);
    EXPECT_TRUE(player.Called("fullscreen 0"));
    EXPECT_TRUE(player.Called("fullscreen 1"));

    // A medium without a picture hides the window; the user cannot close it either.
    EXPECT_EQ(1, rig.media.SendMessage(WM_CLOSE));
    EXPECT_TRUE(rig.media.IsVisible());
    player.imageWidth = player.imageHeight = 0;
    player.fullScreen = false;
    rig.Fill({"song"});
    ASSERT_TRUE(queue.PlayFrom(0, false));
    EXPECT_FALSE(rig.media.HasVideo());
    EXPECT_FALSE(rig.media.IsVisible());
}

// ---------------------------------------------------------------- media files

class PCollectFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SDisk disk;
        root = disk.GetTempFolder() + "melvora-collect\\";
        Remove(root);
        for (const char* name : {"b.MP3", "a.wma", "c.wax", "d.avi", "e.wvx", "f.jpg", "g.JPEG", "h.png", "i.wav",
                                 "Sub\\s.mp3", "Sub\\t.mpg", "Sub.png", "Sub.jpg", "Sub.txt", "Sub.htm",
                                 "Sub\\Deep\\u.mp3", "Sub\\Deep.mht", "Sub\\Deep.htm", ".hidden.mp3",
                                 // Longer extensions than a media kind's are no media of that kind.
                                 "j.mp3x", "k.jpgx", "Sub\\v.wmvx", "l.mp", "mp3"})
            Write(root + name);
        SetFileAttributesA(root + ".hidden.mp3", FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override { Remove(root); }
    static void Write(const SString& path)
    {
        SDisk disk;
        SPath file(path);
        disk.CreateFolder(file.GetFolderPath(), true);
        SFilePath out(path, true, true, false);
        out.Write("x", 1);
    }
    static void Remove(const SString& folder)
    {
        SStringArray files;
        SDisk disk;
        disk.Search(&files, folder + "*", SDisk::SearchFiles | SDisk::SearchRecurse);
        for (int i = 0; i < files.GetCount(); i++)
        {
            SetFileAttributesA(files.GetAt(i), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(files.GetAt(i));
        }
        RemoveDirectoryA(folder + "Sub\\Deep");
        RemoveDirectoryA(folder + "Sub");
        RemoveDirectoryA(folder);
    }
    SString Names(const SStringArray& list) const
    {
        SString names;
        for (int i = 0; i < list.GetCount(); i++)
        {
            SString path = list.GetAt(i);
            names += (names.IsEmpty() ? "" : " ") + path.Right(path.GetLength() - root.GetLength());
        }
        return names;
    }
    SString root;
};

TEST_F(PCollectFilesTest, KindsRadiosRecursionAndSideFiles)
{
    struct Case
    {
        bool recursive, songs, videos, pictures, sideFiles, excludeRadios;
        const char* names;
    };
    const Case cases[] = {
        {false, true, true, true, false, true, "a.wma b.MP3 d.avi f.jpg g.JPEG Sub.jpg"},
        {false, true, true, false, false, false, "a.wma b.MP3 c.wax d.avi e.wvx"},
        {true, true, false, false, false, true, "a.wma b.MP3 Sub\\Deep\\u.mp3 Sub\\s.mp3"},
        {false, false, false, false, true, true, "Sub.htm Sub.png Sub.txt"},
        {true, false, false, false, true, true, "Sub.htm Sub.png Sub.txt Sub\\Deep.mht"},
    };
    for (const Case& c : cases)
    {
        SStringArray out;
        out.Add(root + "kept");
        const int added = PPlayQueue::CollectFiles(&out, root, c.recursive, c.songs, c.videos, c.pictures,
                                                   c.sideFiles, c.excludeRadios);
        ASSERT_GE(out.GetCount(), 1);
        EXPECT_STREQ("kept", SString(out.GetAt(0)).Right(4));
        out.DeleteAndRemoveAt(0);
        EXPECT_EQ(out.GetCount(), added);
        EXPECT_STREQ(c.names, Names(out)) << c.names;
    }
    SStringArray none;
    EXPECT_EQ(0, PPlayQueue::CollectFiles(&none, root + "Missing\\", true, true, true, true, true, false));
    EXPECT_EQ(0, PPlayQueue::CollectFiles(nullptr, root, true, true, true, true, true, false));
}
} // namespace
