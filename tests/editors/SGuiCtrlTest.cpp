#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../controls/InactiveParent.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SGuiCtrl.h"
#include "SSplitterCtrl.h"

namespace
{

// Replays screen points as a held left button, one point per poll.
class ScriptedEdgeDrag : public SSplitterDragInput
{
public:
    explicit ScriptedEdgeDrag(std::vector<POINT> points) : m_points(points), m_next(0)
    {
        m_previous = SGuiCtrl::SetDragInput(this);
    }
    ~ScriptedEdgeDrag() override { SGuiCtrl::SetDragInput(m_previous); }
    bool IsLeftButtonDown() override { return m_next < m_points.size(); }
    POINT GetCursorPos() override { return m_points[m_next++]; }
    void WaitForInput(DWORD) override {}

private:
    std::vector<POINT> m_points;
    size_t m_next;
    SSplitterDragInput* m_previous;
};

// Answers one message of its view itself.
class HookedGui : public SGuiCtrl
{
public:
    bool OnChildMessage(_SBar* bar, UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        if (msg != WM_APP + 77)
            return true;
        seenBar = bar;
        *result = 4321;
        return false;
    }
    _SBar* seenBar = (_SBar*)1;
};

class GuiTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateInactiveParent(parent, 400, 300));
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(gui.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    }
    static HWND Key(int n) { return (HWND)(INT_PTR)(100 + n); }
    RECT BarRect(int index)
    {
        RECT rect;
        gui.GetBar(index)->wnd.GetRectInParent(&rect);
        return rect;
    }
    RECT ViewRect()
    {
        RECT rect;
        gui.GetView()->GetRectInParent(&rect);
        return rect;
    }
    static void ExpectRect(const RECT& rect, int left, int top, int right, int bottom, const char* what)
    {
        EXPECT_EQ(rect.left, left) << what;
        EXPECT_EQ(rect.top, top) << what;
        EXPECT_EQ(rect.right, right) << what;
        EXPECT_EQ(rect.bottom, bottom) << what;
    }

    SRecordingParent parent;
    HookedGui gui;
};

} // namespace

TEST_F(GuiTest, BarsOfOneColumnShareItsStripAndThickness)
{
    ASSERT_TRUE(gui.AddBar(Key(0), 50, 40, SGuiCtrl::BAR_COLUMN));
    ASSERT_TRUE(gui.AddBar(Key(1), 5, 80, SGuiCtrl::BAR_COLUMN));
    EXPECT_FALSE(gui.AddBar(Key(1), 60, 60, 0));
    EXPECT_EQ(gui.GetBarCount(), 2);
    EXPECT_EQ(gui.GetBar(1)->width, 16);
    EXPECT_EQ(gui.GetBar(0)->width, 16);
    ExpectRect(BarRect(0), 0, 0, 16, 40, "first keeps its height");
    ExpectRect(BarRect(1), 0, 40, 16, 300, "second fills the rest");
    ExpectRect(ViewRect(), 16, 0, 400, 300, "view");

    // A hidden bar leaves its place to the bars after it and to the view.
    gui.GetBar(0)->SetHidden(true);
    gui.Layout();
    EXPECT_FALSE(gui.GetBar(0)->wnd.IsVisible());
    ExpectRect(BarRect(1), 0, 0, 16, 300, "alone in its column");
    EXPECT_EQ(gui.FindBar(Key(1)), gui.GetBar(1));
    EXPECT_EQ(gui.IndexOfBar(gui.GetBar(1)), 1);
    EXPECT_EQ(gui.FindBar(Key(9)), nullptr);
}

TEST_F(GuiTest, EveryEdgeTakesItsStripInOrder)
{
    gui.AddBar(Key(0), 100, 30, 0);                                  // top row
    gui.AddBar(Key(1), 60, 100, SGuiCtrl::BAR_COLUMN);               // left column
    gui.AddBar(Key(2), 70, 100, SGuiCtrl::BAR_COLUMN | SGuiCtrl::BAR_FAR); // right column
    gui.AddBar(Key(3), 100, 20, SGuiCtrl::BAR_FAR);                  // bottom row
    gui.AddBar(Key(4), 100, 25, SGuiCtrl::BAR_ROWSTART);             // a second top row
    ExpectRect(BarRect(0), 0, 0, 400, 30, "top");
    ExpectRect(BarRect(1), 0, 30, 60, 300, "left");
    ExpectRect(BarRect(2), 330, 30, 400, 300, "right");
    ExpectRect(BarRect(3), 60, 280, 330, 300, "bottom");
    ExpectRect(BarRect(4), 60, 30, 330, 55, "second top row");
    ExpectRect(ViewRect(), 60, 55, 330, 280, "view");

    // Bars thicker than the room left are cut, so the view is never inverted.
    gui.AddBar(Key(5), 1000, 16, SGuiCtrl::BAR_COLUMN | SGuiCtrl::BAR_ROWSTART);
    RECT view = ViewRect();
    EXPECT_GE(view.right, view.left);
    EXPECT_GE(view.bottom, view.top);
    SArray<RECT> rects;
    RECT computed;
    gui.ComputeLayout(5, &rects, &computed);
    EXPECT_TRUE(IsRectEmpty(rects.GetPtr(5)) != FALSE);
    EXPECT_EQ(computed.left, 60);
}

TEST_F(GuiTest, FrameHitTestAndCloseBox)
{
    gui.AddBar(Key(0), 80, 100, SGuiCtrl::BAR_COLUMN);
    gui.AddBar(Key(1), 100, 40, SGuiCtrl::BAR_FAR | SGuiCtrl::BAR_NOCLOSE);
    SGuiCtrl::_SWndBar& column = gui.GetBar(0)->wnd;
    int w = column.GetWindowWidth(), h = column.GetWindowHeight();
    RECT client;
    column.GetClientRectInWindow(&client);
    ExpectRect(client, 2, 12, w - 2, h - 2, "column client area");
    struct Case
    {
        int x, y, code;
    } cases[] = {
        {w - 6, 6, SGuiCtrl::HIT_CLOSE}, {10, 6, SGuiCtrl::HIT_CAPTION}, {10, 1, SGuiCtrl::HIT_NONE},
        {0, 50, SGuiCtrl::HIT_NONE},      // the outermost column's left edge is the control's
        {w - 1, 50, SGuiCtrl::HIT_RIGHT}, {20, h - 1, SGuiCtrl::HIT_NONE}, {20, 50, SGuiCtrl::HIT_NONE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(column.HitTest(c.x, c.y), c.code) << c.x << "," << c.y;
    // A bottom row: its top edge can be dragged, its caption has no close box.
    SGuiCtrl::_SWndBar& row = gui.GetBar(1)->wnd;
    EXPECT_EQ(row.HitTest(20, 0), SGuiCtrl::HIT_TOP);
    EXPECT_EQ(row.HitTest(5, 5), SGuiCtrl::HIT_CAPTION);
    EXPECT_EQ(row.HitTest(20, row.GetWindowHeight() - 1), SGuiCtrl::HIT_NONE);

    // The close box asks the parent; a refusal keeps the bar.
    RECT window;
    column.GetWindowRect(&window);
    LPARAM point = MAKELPARAM(window.left + w - 6, window.top + 6);
    parent.SetAnswer(SGUI_CLOSING, 1);
    column.SendMessage(WM_S_NC_LCLICK, 0, point);
    EXPECT_FALSE(gui.GetBar(0)->IsHidden());
    ASSERT_EQ(parent.Received(SGUI_CLOSING).size(), 1u);
    EXPECT_EQ(parent.Received(SGUI_CLOSING)[0].lParam, (LPARAM)Key(0));
    EXPECT_EQ(parent.Received(SGUI_CLOSING)[0].wParam, (WPARAM)(SWnd*)&gui);
    SRecordingParent accepting;
    ASSERT_TRUE(CreateInactiveParent(accepting, 400, 300));
    gui.SetParent(accepting.GetHandle());
    column.SendMessage(WM_S_NC_LCLICK, 0, point);
    EXPECT_TRUE(gui.GetBar(0)->IsHidden());
    EXPECT_FALSE(column.IsVisible());
    EXPECT_EQ(ViewRect().left, 0);
    gui.SetParent(parent.GetHandle());
}

TEST_F(GuiTest, DraggingAnEdgeResizesTheRowOrColumn)
{
    gui.AddBar(Key(0), 80, 100, SGuiCtrl::BAR_COLUMN);
    gui.AddBar(Key(1), 80, 100, SGuiCtrl::BAR_COLUMN | SGuiCtrl::BAR_FAR);
    SGuiCtrl::_SWndBar& left = gui.GetBar(0)->wnd;
    RECT window;
    left.GetWindowRect(&window);
    POINT press = {window.right - 1, window.top + 50};
    {
        ScriptedEdgeDrag drag({{press.x + 10, press.y}, {press.x + 30, press.y}});
        left.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(press.x, press.y));
    }
    EXPECT_EQ(gui.GetBar(0)->width, 110);
    EXPECT_EQ(ViewRect().left, 110);

    // The left edge of a right column grows it when moved left.
    SGuiCtrl::_SWndBar& right = gui.GetBar(1)->wnd;
    right.GetWindowRect(&window);
    press = {window.left, window.top + 50};
    {
        ScriptedEdgeDrag drag({{press.x - 20, press.y}});
        right.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(press.x, press.y));
    }
    EXPECT_EQ(gui.GetBar(1)->width, 100);
    EXPECT_EQ(ViewRect().right, 300);
}

TEST_F(GuiTest, HeldWindowsSurviveAndChildMessagesReachTheControl)
{
    gui.AddBar(Key(0), 80, 100, SGuiCtrl::BAR_COLUMN);
    SWnd tool;
    RECT rect = {0, 0, 20, 20};
    ASSERT_TRUE(tool.CreateChildNoCaption(WS_VISIBLE, 0, &rect, gui.GetBar(0)->wnd.GetHandle()));
    EXPECT_EQ(gui.GetView()->SendMessage(WM_APP + 77), 4321);
    EXPECT_EQ(gui.seenBar, nullptr);
    EXPECT_EQ(gui.GetBar(0)->wnd.SendMessage(WM_APP + 77), 4321);
    EXPECT_EQ(gui.seenBar, gui.GetBar(0));
    gui.RemoveAllBars();
    EXPECT_EQ(gui.GetBarCount(), 0);
    EXPECT_TRUE(IsWindow(tool.GetHandle()));
    EXPECT_FALSE(tool.IsVisible());
    ExpectRect(ViewRect(), 0, 0, 400, 300, "view alone");
}

TEST(SGuiFactory, PreviewShowsSampleBars)
{
    RegisterEditorControls();
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    SDialogEditor::_SCtrl record;
    record.SetType(SDialogEditor::TYPE_GUI);
    record.SetID(3);
    record.SetName("DOCK");
    record.SetWidth(300);
    record.SetHeight(200);
    record.AssignStyle(WS_CHILD | WS_VISIBLE);
    struct Case
    {
        bool visible;
        int bars;
    } cases[] = {{false, 4}, {true, 0}};
    for (const Case& c : cases)
    {
        SWnd* control = SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, c.visible);
        SGuiCtrl* gui = dynamic_cast<SGuiCtrl*>(control);
        ASSERT_NE(gui, nullptr);
        EXPECT_EQ(gui->GetKind(), SKIND_GUI);
        EXPECT_EQ(gui->GetBarCount(), c.bars);
        EXPECT_EQ((gui->GetStyle() & WS_VISIBLE) != 0, c.visible);
        EXPECT_STREQ(gui->GetName(), "DOCK");
        delete control;
    }
}
