#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../controls/InactiveParent.h"
#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SSplitterCtrl.h"
#include "STabDocCtrl.h"

namespace
{

// Replays screen points as a held left button, one point per poll.
class ScriptedTabDrag : public SSplitterDragInput
{
public:
    explicit ScriptedTabDrag(std::vector<POINT> points) : m_points(points), m_next(0)
    {
        m_previous = STabDocCtrl::SetDragInput(this);
    }
    ~ScriptedTabDrag() override { STabDocCtrl::SetDragInput(m_previous); }
    bool IsLeftButtonDown() override { return m_next < m_points.size(); }
    POINT GetCursorPos() override { return m_points[m_next++]; }
    void WaitForInput(DWORD) override {}

private:
    std::vector<POINT> m_points;
    size_t m_next;
    SSplitterDragInput* m_previous;
};

class TabDocTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateInactiveParent(parent, 420, 240));
        RECT rect = {0, 0, 420, 240};
        ASSERT_TRUE(tabs.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    }
    void AddTabs(const std::vector<const char*>& captions)
    {
        for (const char* caption : captions)
            tabs.AddTab(caption, -1, 0);
    }
    // The centre of a rectangle as a client-point lParam.
    static LPARAM Centre(const RECT& rect)
    {
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    static POINT ScreenCentre(SWnd* window, const RECT& rect)
    {
        POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        window->ClientToScreen(&point);
        return point;
    }
    int VisibleHosts() const
    {
        int visible = 0;
        for (int i = 0; i < tabs.GetTabCount(); i++)
            visible += tabs.GetTab(i)->host.IsVisible() ? 1 : 0;
        return visible;
    }

    SRecordingParent parent;
    STabDocCtrl tabs;
};

} // namespace

TEST_F(TabDocTest, AddSelectRemoveKeepOneHostShown)
{
    AddTabs({"One", "Two", "Three", "Four"});
    EXPECT_EQ(tabs.GetTabCount(), 4);
    EXPECT_EQ(tabs.GetCurSel(), 3);
    EXPECT_EQ(tabs.AddTab("Zero", 0, 7), 0);
    EXPECT_EQ(tabs.GetTab(0)->value, 7);
    EXPECT_EQ(VisibleHosts(), 1);
    EXPECT_TRUE(tabs.GetTab(0)->host.IsVisible());

    RECT host;
    tabs.GetTab(0)->host.GetRectInParent(&host);
    EXPECT_EQ(host.top, tabs.GetStripHeight());
    EXPECT_EQ(host.right - host.left, tabs.GetClientWidth());
    EXPECT_EQ(host.bottom, tabs.GetClientHeight());

    tabs.SelectTab(2);
    EXPECT_TRUE(tabs.GetTab(2)->host.IsVisible());
    EXPECT_EQ(VisibleHosts(), 1);
    tabs.SelectTab(9);
    EXPECT_EQ(tabs.GetCurSel(), -1);
    EXPECT_EQ(VisibleHosts(), 0);

    // Removing a middle tab selects the one that takes its place; the last, the one before.
    tabs.SelectTab(2);
    tabs.RemoveTab(2);
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_STREQ(tabs.GetTab(2)->caption, "Three");
    tabs.SelectTab(3);
    tabs.RemoveTab(3);
    EXPECT_EQ(tabs.GetCurSel(), 2);
    tabs.RemoveTab(17);
    EXPECT_EQ(tabs.GetTabCount(), 3);
    tabs.RemoveAllTabs();
    EXPECT_EQ(tabs.GetTabCount(), 0);
    EXPECT_EQ(tabs.GetCurSel(), -1);
}

TEST_F(TabDocTest, DocumentWindowsSurviveTheirTab)
{
    AddTabs({"Doc"});
    SWnd document;
    RECT rect = {0, 0, 50, 50};
    ASSERT_TRUE(document.CreateChildNoCaption(WS_VISIBLE, 0, &rect, tabs.GetTab(0)->host.GetHandle()));
    tabs.RemoveTab(0);
    EXPECT_TRUE(IsWindow(document.GetHandle()));
    EXPECT_FALSE(document.IsVisible());
    EXPECT_NE(document.GetParent(), tabs.GetHandle());
}

TEST_F(TabDocTest, ButtonsMoveRightWithoutCloseBox)
{
    int width = tabs.GetClientWidth();
    RECT close = tabs.GetCloseRect(), right = tabs.GetRightArrowRect(), left = tabs.GetLeftArrowRect();
    int size = close.right - close.left;
    EXPECT_GT(size, 0);
    EXPECT_EQ(close.right, width - 2);
    EXPECT_EQ(close.top, 2);
    EXPECT_EQ(right.right, close.left);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(tabs.GetStripHeight(), size + 2 * 2 + 2);

    tabs.SetCloseButton(false);
    RECT noClose = tabs.GetCloseRect();
    EXPECT_TRUE(IsRectEmpty(&noClose) != FALSE);
    EXPECT_EQ(tabs.GetRightArrowRect().right, width - 2);
    EXPECT_EQ(tabs.GetLeftArrowRect().right, width - 2 - size);
}

TEST_F(TabDocTest, TabsThatDoNotFitAreNotShownAndArrowsScroll)
{
    for (int i = 0; i < 12; i++)
        tabs.AddTab("A rather long caption", -1, i);
    tabs.SelectTab(0);
    int shown = tabs.GetShownCount();
    ASSERT_GT(shown, 0);
    ASSERT_LT(shown, 12);
    EXPECT_TRUE(tabs.HasHiddenTabsRight());
    int spaceEnd = tabs.GetLeftArrowRect().left;
    for (int i = 0; i < 12; i++)
    {
        RECT rect = tabs.GetTabRect(i);
        if (i < shown)
            EXPECT_LT(rect.right, spaceEnd - 1) << i;
        else
            EXPECT_TRUE(IsRectEmpty(&rect) != FALSE) << i;
    }

    // The left arrow does nothing at the start; the right one shifts by one tab.
    tabs.SendMessage(WM_S_LCLICK, 0, Centre(tabs.GetLeftArrowRect()));
    EXPECT_EQ(tabs.GetFirstShown(), 0);
    tabs.SendMessage(WM_S_LCLICK, 0, Centre(tabs.GetRightArrowRect()));
    EXPECT_EQ(tabs.GetFirstShown(), 1);
    RECT first = tabs.GetTabRect(0);
    EXPECT_TRUE(IsRectEmpty(&first) != FALSE);
    EXPECT_EQ(tabs.GetTabRect(1).left, 0);
    tabs.SendMessage(WM_S_LCLICK, 0, Centre(tabs.GetLeftArrowRect()));
    EXPECT_EQ(tabs.GetFirstShown(), 0);
    PumpPending();
}

TEST_F(TabDocTest, ModifiedTabIsMeasuredWithItsMark)
{
    AddTabs({"Report", "Other"});
    tabs.SelectTab(1);
    int plain = tabs.GetTabRect(0).right - tabs.GetTabRect(0).left;
    EXPECT_TRUE(tabs.SetModified(0, true));
    EXPECT_STREQ(tabs.GetTab(0)->GetDisplayText(), "Report*");
    EXPECT_GT(tabs.GetTabRect(0).right - tabs.GetTabRect(0).left, plain);
    EXPECT_FALSE(tabs.SetModified(5, true));
}

TEST_F(TabDocTest, SelectionAndClosingAskTheParent)
{
    AddTabs({"One", "Two", "Three"});
    tabs.SetMoveEnabled(false);
    parent.SetAnswer(STABDOC_SELECTING, 1);
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tabs.GetTabRect(0)));
    EXPECT_EQ(tabs.GetCurSel(), 2);
    auto asked = parent.Received(STABDOC_SELECTING);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].wParam, (WPARAM)&tabs);
    EXPECT_EQ(asked[0].lParam, (LPARAM)((0 << 16) | 2));
    EXPECT_FALSE(parent.Received(STABDOC_MOUSE).empty());
}

TEST_F(TabDocTest, NoSelectionReadsAsSixteenBitsAndTheCloseBoxAsks)
{
    AddTabs({"One", "Two", "Three"});
    tabs.SetMoveEnabled(false);
    tabs.SelectTab(-1);
    tabs.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Centre(tabs.GetTabRect(1)));
    EXPECT_EQ(tabs.GetCurSel(), 1);
    auto asked = parent.Received(STABDOC_SELECTING);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].lParam, (LPARAM)((1 << 16) | 0xFFFF));

    // A refused close keeps the tab; an accepted one removes it.
    parent.SetAnswer(STABDOC_CLOSING, 1);
    tabs.SendMessage(WM_S_LCLICK, 0, Centre(tabs.GetCloseRect()));
    EXPECT_EQ(tabs.GetTabCount(), 3);
    ASSERT_EQ(parent.Received(STABDOC_CLOSING).size(), 1u);
    EXPECT_EQ(parent.Received(STABDOC_CLOSING)[0].lParam, 1);
    SRecordingParent accepting;
    ASSERT_TRUE(CreateInactiveParent(accepting, 420, 240));
    tabs.SetParent(accepting.GetHandle());
    tabs.SendMessage(WM_S_LCLICK, 0, Centre(tabs.GetCloseRect()));
    EXPECT_EQ(tabs.GetTabCount(), 2);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_STREQ(tabs.GetTab(1)->caption, "Three");

    // The middle button closes on release over the selected tab.
    tabs.SendMessage(WM_MBUTTONUP, 0, Centre(tabs.GetTabRect(1)));
    EXPECT_EQ(tabs.GetTabCount(), 1);
    tabs.SetParent(parent.GetHandle());
}

TEST_F(TabDocTest, MenuCommandsNeedASelectedTab)
{
    tabs.SendMessage(SMENU_COMMAND, 0, 55);
    EXPECT_TRUE(parent.Received(STABDOC_COMMAND).empty());
    AddTabs({"One"});
    tabs.SendMessage(SMENU_COMMAND, 0, 55);
    ASSERT_EQ(parent.Received(STABDOC_COMMAND).size(), 1u);
    EXPECT_EQ(parent.Received(STABDOC_COMMAND)[0].lParam, 55);
}

TEST_F(TabDocTest, MoveAndTransferCarryTheHost)
{
    AddTabs({"One", "Two", "Three"});
    tabs.SelectTab(0);
    tabs.MoveTab(0, -1);
    EXPECT_STREQ(tabs.GetTab(2)->caption, "One");
    EXPECT_EQ(tabs.GetCurSel(), 2);
    tabs.MoveTab(5, 0);
    EXPECT_STREQ(tabs.GetTab(0)->caption, "Two");

    STabDocCtrl other;
    RECT rect = {0, 0, 200, 120};
    ASSERT_TRUE(other.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle()));
    STabDocCtrl::_SItem* moved = tabs.GetTab(0);
    EXPECT_FALSE(tabs.TransferTab(0, nullptr));
    EXPECT_FALSE(tabs.TransferTab(9, &other));
    EXPECT_TRUE(tabs.TransferTab(0, &other));
    EXPECT_EQ(tabs.GetTabCount(), 2);
    ASSERT_EQ(other.GetTabCount(), 1);
    EXPECT_EQ(other.GetTab(0), moved);
    EXPECT_EQ(moved->host.owner, &other);
    EXPECT_EQ(moved->host.GetParent(), other.GetHandle());
    EXPECT_EQ(other.GetCurSel(), 0);
    EXPECT_TRUE(moved->host.IsVisible());
}

TEST_F(TabDocTest, DraggingReordersAndDropsOnLinkedControls)
{
    AddTabs({"One", "Two", "Three"});
    tabs.SelectTab(0);
    // Dragged over tab 2 with the parent refusing: nothing moves.
    parent.SetAnswer(STABDOC_MOVING, 1);
    {
        ScriptedTabDrag drag({ScreenCentre(&tabs, tabs.GetTabRect(2))});
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tabs.GetTabRect(0)));
    }
    ASSERT_EQ(parent.Received(STABDOC_MOVING).size(), 1u);
    EXPECT_EQ(parent.Received(STABDOC_MOVING)[0].lParam, (LPARAM)((2 << 16) | 0));
    EXPECT_STREQ(tabs.GetTab(0)->caption, "One");

    // A destroyed linked window is skipped; a live one takes the dropped tab.
    STabDocCtrl gone;
    RECT rect = {0, 0, 10, 10};
    ASSERT_TRUE(gone.CreateChildNoCaption(0, 0, &rect, parent.GetHandle()));
    tabs.AddLinkedWindow(gone.GetHandle());
    gone.Destroy();
    SRecordingParent otherParent;
    ASSERT_TRUE(CreateInactiveParent(otherParent, 200, 120));
    STabDocCtrl other;
    RECT otherRect = {0, 0, 200, 120};
    ASSERT_TRUE(other.CreateChildNoCaption(WS_VISIBLE, 0, &otherRect, otherParent.GetHandle()));
    otherParent.MoveWindow(600, 400, 220, 160);
    EXPECT_TRUE(tabs.AddLinkedWindow(other.GetHandle()));
    EXPECT_FALSE(tabs.AddLinkedWindow(other.GetHandle()));
    EXPECT_EQ(tabs.GetLinkedWindowCount(), 2);
    EXPECT_EQ(tabs.GetLinkedWindow(0), nullptr);
    EXPECT_EQ(tabs.GetLinkedWindow(1), &other);
    RECT otherClient;
    other.GetClientRect(&otherClient);
    {
        ScriptedTabDrag drag({ScreenCentre(&tabs, tabs.GetTabRect(0)), ScreenCentre(&other, otherClient)});
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tabs.GetTabRect(0)));
    }
    EXPECT_EQ(tabs.GetTabCount(), 2);
    ASSERT_EQ(other.GetTabCount(), 1);
    EXPECT_STREQ(other.GetTab(0)->caption, "One");

    // Dropped outside every linked window, the tab stays.
    POINT nowhere = {5, 5};
    {
        ScriptedTabDrag drag({nowhere});
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tabs.GetTabRect(0)));
    }
    EXPECT_EQ(tabs.GetTabCount(), 2);
}

TEST_F(TabDocTest, HostReportsChangesWithTheSelectedIndex)
{
    AddTabs({"One", "Two"});
    tabs.SelectTab(1);
    STabDocCtrl::_SWnd* host = &tabs.GetTab(1)->host;
    SWnd source;
    // The recording parent keeps only the control range, so a parent of its own reads the change.
    class ChangeParent : public SWnd
    {
    public:
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
        {
            if (msg == WM_S_CHANGED)
            {
                code = (int)lParam;
                from = (SWnd*)wParam;
            }
            return SWnd::OnMessage(msg, wParam, lParam);
        }
        int code = -5;
        SWnd* from = nullptr;
    } changes;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(changes.Create("changes", WS_POPUP, 0, &rect, nullptr));
    tabs.SetParent(changes.GetHandle());
    host->SendMessage(WM_S_CHANGED, (WPARAM)&source, 3);
    EXPECT_EQ(changes.code, 1);
    EXPECT_EQ(changes.from, &source);
    tabs.SetParent(parent.GetHandle());
}

TEST(STabDocFactory, DescriptionBuildsTheTabs)
{
    RegisterEditorControls();
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    SDialogEditor::_SCtrl record;
    record.SetType(SDialogEditor::TYPE_TABDOC);
    record.SetID(12);
    record.SetName("DOCS");
    record.SetX(0);
    record.SetY(0);
    record.SetWidth(300);
    record.SetHeight(200);
    record.AssignStyle(WS_CHILD | WS_VISIBLE);
    record.SetBackColor(0x123456);
    record.SetExtraProperties("TABDOC_CONTENT=First | Second|Third\r\nTABDOC_SELECTION=1\r\nTABDOC_CLOSE=0\r\n"
                              "TABDOC_MOVE=0\r\nTABDOC_TEXTCOLOR=255\r\n");
    struct Case
    {
        bool visible;
    } cases[] = {{true}, {false}};
    for (const Case& c : cases)
    {
        SWnd* control = SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, c.visible);
        STabDocCtrl* docs = dynamic_cast<STabDocCtrl*>(control);
        ASSERT_NE(docs, nullptr);
        EXPECT_EQ(docs->GetKind(), SKIND_TABDOC);
        EXPECT_EQ((docs->GetStyle() & WS_VISIBLE) != 0, c.visible);
        ASSERT_EQ(docs->GetTabCount(), 3);
        EXPECT_STREQ(docs->GetTab(1)->caption, "Second");
        EXPECT_EQ(docs->GetTab(2)->value, 2);
        EXPECT_EQ(docs->GetCurSel(), 1);
        EXPECT_FALSE(docs->HasCloseButton());
        EXPECT_FALSE(docs->IsMoveEnabled());
        EXPECT_EQ(docs->GetBackColor(), 0x123456u);
        EXPECT_EQ(docs->GetUserData(), 12);
        EXPECT_STREQ(docs->GetName(), "DOCS");
        delete control;
    }
    record.SetProperty("TABDOC_SELECTION", "7");
    SWnd* control = SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, true);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(((STabDocCtrl*)control)->GetCurSel(), -1);
    delete control;
}
