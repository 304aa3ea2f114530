// The main window's splitter passes its panes' notifications on to its owner.
#include <gtest/gtest.h>
#include <windows.h>

#include "../controls/ControlTestSupport.h"
#include "PSplitterCtrl.h"
#include "SControl.h"
#include "SMessages.h"

namespace
{

struct SplitterFixture
{
    SplitterFixture()
    {
        EXPECT_TRUE(owner.CreateParent(300, 200));
        RECT rect = {0, 0, 300, 200};
        EXPECT_TRUE(splitter.Create(WS_CHILD | WS_VISIBLE, 0, &rect, owner.GetHandle(), 7));
        EXPECT_TRUE(splitter.CreatePanes(2, 1));
    }
    HWND Pane(int column) { return splitter.GetPane(column, 0)->GetHandle(); }

    SRecordingParent owner;
    PSplitterCtrl splitter;
};

} // namespace

TEST(PSplitterCtrl, ListNotificationsOfAPaneReachTheOwner)
{
    SplitterFixture f;
    const UINT forwarded[] = {ControlMessage(SBLOCK_LIST, 0), ControlMessage(SBLOCK_LIST, 1),
                              ControlMessage(SBLOCK_LIST, 2), ControlMessage(SBLOCK_LIST, 3),
                              ControlMessage(SBLOCK_SCROLL, 1)};
    for (UINT msg : forwarded)
    {
        SendMessageA(f.Pane(1), msg, 41, 42);
        auto received = f.owner.Received(msg);
        ASSERT_EQ(1u, received.size()) << msg;
        EXPECT_EQ(41u, received[0].wParam);
        EXPECT_EQ(42, received[0].lParam);
    }
}

TEST(PSplitterCtrl, BrowserNotificationsAreAnsweredByTheOwner)
{
    SplitterFixture f;
    const UINT browser = ControlMessage(SBLOCK_BROWSER, 0);
    f.owner.SetAnswer(browser, 1);
    EXPECT_EQ(1, SendMessageA(f.Pane(0), browser, 0, 0));
    EXPECT_EQ(1u, f.owner.Received(browser).size());
}

TEST(PSplitterCtrl, OtherControlMessagesStayInThePane)
{
    SplitterFixture f;
    const UINT other = ControlMessage(SBLOCK_LIST, 9);
    SendMessageA(f.Pane(0), other, 0, 0);
    EXPECT_TRUE(f.owner.Received(other).empty());
}
