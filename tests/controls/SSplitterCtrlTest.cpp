#include <gtest/gtest.h>

#include <limits.h>

#include <vector>

#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SControl.h"
#include "SLibrary.h"
#include "SSplitterCtrl.h"

namespace
{
// Plays a drag: the button stays down while cursor positions (splitter client
// coordinates) remain; each position is read twice so that the loop must wait.
class ScriptedDrag : public SSplitterDragInput
{
public:
    ScriptedDrag(SWnd* target, std::vector<POINT> points) : m_target(target), m_points(points)
    {
        m_previous = SSplitterCtrl::SetDragInput(this);
    }
    ~ScriptedDrag() override { SSplitterCtrl::SetDragInput(m_previous); }

    bool IsLeftButtonDown() override { return m_reads < 2 * m_points.size() && m_polls++ < 1000; }
    POINT GetCursorPos() override
    {
        POINT point = m_points[m_reads++ / 2];
        m_target->ClientToScreen(&point);
        return point;
    }
    void WaitForInput(DWORD) override { waits++; }

    int waits = 0;

private:
    SWnd* m_target;
    std::vector<POINT> m_points;
    size_t m_reads = 0;
    int m_polls = 0;
    SSplitterDragInput* m_previous;
};

// Answers one message of its panes itself.
class HookedSplitter : public SSplitterCtrl
{
public:
    bool OnChildMessage(_SWnd* pane, UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        if (msg != WM_APP + 77)
            return true;
        seen = pane;
        *result = 1234;
        return false;
    }
    _SWnd* seen = nullptr;
};

struct SplitterFixture
{
    SplitterFixture(int width, int height)
    {
        created = CreateInactiveParent(parent, 500, 400);
        parent.SetMouseMessages({ControlMessage(SBLOCK_SPLITTER)});
        RECT rect = {0, 0, width, height};
        created = created && splitter.Create(WS_VISIBLE, 0, &rect, parent.GetHandle());
    }
    SRecordingParent parent;
    HookedSplitter splitter;
    bool created = false;
};
}

TEST(SSplitterCtrl, PanesStartInEqualShares)
{
    SplitterFixture f(400, 300);
    ASSERT_TRUE(f.created);
    EXPECT_EQ(SKIND_SPLITTER, f.splitter.GetKind());
    EXPECT_EQ(nullptr, f.splitter.GetPane(0, 0));
    EXPECT_FALSE(f.splitter.CreatePanes(0, 2));
    ASSERT_TRUE(f.splitter.CreatePanes(2, 1));
    EXPECT_EQ(2, f.splitter.GetPaneCount());
    EXPECT_EQ(202, f.splitter.GetPaneSize(0));
    EXPECT_EQ(194, f.splitter.GetPaneSize(1));
    EXPECT_EQ(300, f.splitter.GetRowHeight(0));
    // A refused grid leaves the panes as they are.
    EXPECT_FALSE(f.splitter.CreatePanes(2, 0));
    EXPECT_EQ(2, f.splitter.GetColumnCount());

    struct Case { int column, row; bool exists; RECT rect; };
    const Case cases[] = {
        {0, 0, true, {0, 0, 202, 300}}, {1, 0, true, {206, 0, 400, 300}}, {2, 0, false, {0, 0, 0, 0}},
        {0, 1, false, {0, 0, 0, 0}},    {-1, 0, false, {0, 0, 0, 0}},     {0, -1, false, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SSplitterCtrl::_SWnd* pane = f.splitter.GetPane(c.column, c.row);
        EXPECT_EQ(c.exists, pane != nullptr) << c.column << "," << c.row;
        RECT rect = f.splitter.GetPaneRect(c.column, c.row);
        EXPECT_TRUE(EqualRect(&c.rect, &rect)) << c.column << "," << c.row;
        if (!pane)
            continue;
        RECT placed;
        ASSERT_TRUE(pane->GetRectInParent(&placed));
        EXPECT_TRUE(EqualRect(&c.rect, &placed)) << c.column;
        RECT inner = f.splitter.GetPaneClientRect(c.column, c.row);
        EXPECT_EQ(0, inner.left);
        EXPECT_EQ(c.rect.right - c.rect.left, inner.right);
    }
    EXPECT_EQ(0, f.splitter.GetPaneSize(5));

    // A grid of 3 x 2 in a second call replaces the panes.
    ASSERT_TRUE(f.splitter.CreatePanes(3, 2));
    EXPECT_EQ(6, f.splitter.GetPaneCount());
    int total = 0;
    for (int column = 0; column < 3; column++)
        total += f.splitter.GetPaneSize(column);
    EXPECT_EQ(400 - 2 * 4, total);
    EXPECT_EQ(300 - 4, f.splitter.GetRowHeight(0) + f.splitter.GetRowHeight(1));
}

TEST(SSplitterCtrl, AbsurdGridsAreRefusedAndChangeNothing)
{
    SplitterFixture f(400, 300);
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(f.splitter.CreatePanes(2, 1));
    SSplitterCtrl::_SWnd* first = f.splitter.GetPane(0, 0);
    struct Case { int columns, rows; };
    const Case refused[] = {
        {100000, 100000}, {65536, 65537}, {INT_MAX, INT_MAX}, {INT_MAX, 2}, {2, INT_MAX},
        {SSplitterCtrl::kMaxPanes + 1, 1}, {1, SSplitterCtrl::kMaxPanes + 1}, {33, 32},
    };
    for (const Case& c : refused)
    {
        EXPECT_FALSE(f.splitter.CreatePanes(c.columns, c.rows)) << c.columns << " x " << c.rows;
        EXPECT_EQ(2, f.splitter.GetColumnCount()) << c.columns << " x " << c.rows;
        EXPECT_EQ(1, f.splitter.GetRowCount()) << c.columns << " x " << c.rows;
        EXPECT_EQ(first, f.splitter.GetPane(0, 0)) << c.columns << " x " << c.rows;
    }
    // The limit itself is a grid.
    const Case accepted[] = {{SSplitterCtrl::kMaxPanes, 1}, {32, 32}, {1, 3}};
    for (const Case& c : accepted)
    {
        ASSERT_TRUE(f.splitter.CreatePanes(c.columns, c.rows)) << c.columns << " x " << c.rows;
        EXPECT_EQ(c.columns * c.rows, f.splitter.GetPaneCount());
        EXPECT_NE(nullptr, f.splitter.GetPane(c.columns - 1, c.rows - 1));
    }
}

TEST(SSplitterCtrl, ColumnWidthsAndResize)
{
    SplitterFixture f(300, 200);
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(f.splitter.CreatePanes(3, 1));
    f.splitter.SetColumnWidth(1, 1000);
    EXPECT_EQ(0, f.splitter.GetPaneSize(0));
    EXPECT_EQ(292, f.splitter.GetPaneSize(1));
    EXPECT_EQ(0, f.splitter.GetPaneSize(2));
    f.splitter.SetColumnWidth(1, -5);
    EXPECT_EQ(0, f.splitter.GetPaneSize(1));
    EXPECT_EQ(292, f.splitter.GetPaneSize(2));
    f.splitter.SetColumnWidth(7, 10);
    f.splitter.SetColumnWidth(0, 100);
    EXPECT_EQ(100, f.splitter.GetPaneSize(0));
    EXPECT_EQ(192, f.splitter.GetPaneSize(2));
    // A narrower splitter takes the width from the last columns.
    f.splitter.SetWindowSize(158, 200);
    EXPECT_EQ(100, f.splitter.GetPaneSize(0));
    EXPECT_EQ(0, f.splitter.GetPaneSize(1));
    EXPECT_EQ(50, f.splitter.GetPaneSize(2));
}

TEST(SSplitterCtrl, DraggingABarMovesTheSizes)
{
    struct Case { bool column; int move; int first, second; };
    const Case cases[] = {
        {true, 30, 130, 20}, {true, 80, 150, 0}, {true, -120, 0, 150}, {true, -40, 60, 90},
        {false, 10, 110, 40}, {false, -100, 0, 150},
    };
    for (const Case& c : cases)
    {
        SplitterFixture f(154, 154);
        ASSERT_TRUE(f.created);
        ASSERT_TRUE(f.splitter.CreatePanes(c.column ? 2 : 1, c.column ? 1 : 2));
        if (c.column)
            f.splitter.SetColumnWidth(0, 100);
        else
        {
            // Rows have no setter: reach 100 and 50 by a drag of the row bar.
            ScriptedDrag drag(&f.splitter, {{10, 101}});
            f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 80));
            ASSERT_EQ(100, f.splitter.GetRowHeight(0));
        }
        f.parent.ClearReceived();
        POINT start = c.column ? POINT{101, 20} : POINT{20, 101};
        POINT moved = c.column ? POINT{101 + c.move, 20} : POINT{20, 101 + c.move};
        ScriptedDrag drag(&f.splitter, {start, start, moved});
        f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
        int first = c.column ? f.splitter.GetPaneSize(0) : f.splitter.GetRowHeight(0);
        int second = c.column ? f.splitter.GetPaneSize(1) : f.splitter.GetRowHeight(1);
        EXPECT_EQ(c.first, first) << c.column << " " << c.move;
        EXPECT_EQ(c.second, second) << c.column << " " << c.move;
        // An unchanged cursor makes the loop wait for input instead of spinning.
        EXPECT_GE(drag.waits, 3);
        RECT rect = f.splitter.GetPaneRect(c.column ? 1 : 0, c.column ? 0 : 1);
        RECT placed;
        ASSERT_TRUE(f.splitter.GetPane(c.column ? 1 : 0, c.column ? 0 : 1)->GetRectInParent(&placed));
        EXPECT_TRUE(EqualRect(&rect, &placed));
        // The press is forwarded once the drag is over.
        auto got = f.parent.Received(ControlMessage(SBLOCK_SPLITTER));
        ASSERT_EQ(1u, got.size());
        EXPECT_EQ(9, got[0].mouse.code);
    }
}

TEST(SSplitterCtrl, PressOutsideTheBarsDoesNotDrag)
{
    SplitterFixture f(154, 154);
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(f.splitter.CreatePanes(2, 1));
    f.splitter.SetColumnWidth(0, 100);
    bool column = false;
    int index = -1;
    EXPECT_TRUE(f.splitter.HitTestBar(103, 5, &column, &index));
    EXPECT_TRUE(column);
    EXPECT_EQ(0, index);
    EXPECT_FALSE(f.splitter.HitTestBar(104, 5, &column, &index));
    EXPECT_FALSE(f.splitter.HitTestBar(99, 5, &column, &index));
    ScriptedDrag drag(&f.splitter, {{140, 5}});
    f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    EXPECT_EQ(100, f.splitter.GetPaneSize(0));
    EXPECT_EQ(0, drag.waits);
}

TEST(SSplitterCtrl, PaneMessagesAreOfferedToTheSplitter)
{
    SplitterFixture f(200, 100);
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(f.splitter.CreatePanes(2, 1));
    SSplitterCtrl::_SWnd* pane = f.splitter.GetPane(1, 0);
    EXPECT_EQ(&f.splitter, pane->splitter);
    EXPECT_EQ(1234, pane->SendMessage(WM_APP + 77));
    EXPECT_EQ(pane, f.splitter.seen);
    EXPECT_EQ(0, pane->SendMessage(WM_APP + 78));
}

TEST(SSplitterCtrl, HostedWindowsSurviveTheSplitter)
{
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent));
    SWnd hosted;
    {
        SSplitterCtrl splitter;
        RECT rect = {0, 0, 200, 100};
        ASSERT_TRUE(splitter.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
        splitter.SetPaneBackColor(SCOLOR_NONE);
        splitter.SetPaneBackColor(RGB(1, 2, 3));
        ASSERT_TRUE(splitter.CreatePanes(2, 1));
        EXPECT_EQ((unsigned)RGB(1, 2, 3), splitter.GetPane(0, 0)->GetBackColor());
        RECT inner = {0, 0, 50, 50};
        ASSERT_TRUE(hosted.CreateChild("hosted", WS_VISIBLE, 0, &inner, splitter.GetPane(0, 0)->GetHandle()));
        // A new grid detaches the hosted window as well.
        ASSERT_TRUE(splitter.CreatePanes(1, 1));
        EXPECT_TRUE(IsWindow(hosted.GetHandle()));
        ::SetParent(hosted.GetHandle(), splitter.GetPane(0, 0)->GetHandle());
        ASSERT_EQ(splitter.GetPane(0, 0)->GetHandle(), ::GetParent(hosted.GetHandle()));
        ::ShowWindow(hosted.GetHandle(), SW_SHOW);
    }
    ASSERT_TRUE(IsWindow(hosted.GetHandle()));
    EXPECT_FALSE(IsWindowVisible(hosted.GetHandle()));
    EXPECT_EQ(GetDesktopWindow(), GetAncestor(hosted.GetHandle(), GA_PARENT));
    hosted.Destroy();
}

TEST(SSplitterCtrl, BarsShowTheResizeCursors)
{
    SplitterFixture f(204, 204);
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(f.splitter.CreatePanes(2, 2));
    int column = f.splitter.GetPaneSize(0), row = f.splitter.GetRowHeight(0);
    HCURSOR before = GetCursor();
    struct Case { int x, y; int cursor; };
    // The crossing belongs to the column bar; -1: no cursor of the splitter's own.
    const Case cases[] = {
        {column + 1, 20, 11}, {20, row + 2, 9}, {column + 2, row + 2, 11}, {column + 40, row + 40, -1},
    };
    for (const Case& c : cases)
    {
        SetCursor(nullptr);
        f.splitter.SendMessage(WM_S_MOUSE_ENTER, 0, MAKELPARAM(c.x, c.y));
        LRESULT answer = f.splitter.SendMessage(WM_SETCURSOR, (WPARAM)f.splitter.GetHandle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        if (c.cursor >= 0)
        {
            EXPECT_EQ(TRUE, answer) << c.x << "," << c.y;
            EXPECT_EQ(GetCursorHandle(c.cursor), GetCursor()) << c.x << "," << c.y;
        }
        else
        {
            EXPECT_NE(GetCursorHandle(11), GetCursor());
            EXPECT_NE(GetCursorHandle(9), GetCursor());
        }
    }
    f.splitter.SendMessage(WM_S_MOUSE_LEAVE, 0, 0);
    SetCursor(nullptr);
    f.splitter.SendMessage(WM_SETCURSOR, (WPARAM)f.splitter.GetHandle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursorHandle(11), GetCursor());
    SetCursor(before);
}
