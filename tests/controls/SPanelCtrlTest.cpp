#include <gtest/gtest.h>

#include <vector>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SControl.h"
#include "SPanelCtrl.h"

namespace
{
// Records the clicks the panel reports to itself and to the hook.
class RecordingPanel : public SPanelCtrl
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == ControlMessage(SBLOCK_PANEL, 1))
            messages.push_back({(short)LOWORD(lParam), (short)HIWORD(lParam)});
        return SPanelCtrl::OnMessage(msg, wParam, lParam);
    }
    void OnButtonClick(int groupId, int buttonId, _SButton* button) override
    {
        clicks.push_back({groupId, buttonId});
        EXPECT_TRUE(button && button->id == buttonId);
    }
    std::vector<std::pair<int, int>> messages;
    std::vector<std::pair<int, int>> clicks;
};

struct PanelFixture
{
    explicit PanelFixture(int width = 100)
    {
        created = CreateInactiveParent(parent, 300, 300);
        parent.SetMouseMessages({ControlMessage(SBLOCK_PANEL)});
        RECT rect = {0, 0, width, 250};
        created = created && panel.Create(WS_VISIBLE, 0, &rect, parent.GetHandle());
    }
    LPARAM Center(int groupId, int buttonId)
    {
        SPanelCtrl::_SButton* button = panel.GetButton(groupId, buttonId);
        return button ? MAKELPARAM(button->x + button->width / 2, button->y + button->height / 2) : 0;
    }
    std::vector<int> Codes()
    {
        std::vector<int> codes;
        for (const auto& m : parent.Received(ControlMessage(SBLOCK_PANEL)))
            codes.push_back(m.mouse.code);
        return codes;
    }

    SRecordingParent parent;
    RecordingPanel panel;
    bool created = false;
};
}

TEST(SPanelCtrl, GroupsAndButtonsAreAddedByTheRules)
{
    PanelFixture f;
    ASSERT_TRUE(f.created);
    EXPECT_EQ(SKIND_PANEL, f.panel.GetKind());
    EXPECT_FALSE(f.panel.AddButton(1, "no group"));
    EXPECT_FALSE(f.panel.AddSeparator());
    EXPECT_EQ(nullptr, f.panel.AddGroup(-1, "bad"));
    ASSERT_NE(nullptr, f.panel.AddGroup(1, "Tools"));
    EXPECT_EQ(nullptr, f.panel.AddGroup(1, "again"));
    ASSERT_NE(nullptr, f.panel.AddGroup(2, "Colours"));
    EXPECT_EQ(2, f.panel.GetGroupCount());
    EXPECT_TRUE(f.panel.AddButton(10, "Pen", 1));
    EXPECT_TRUE(f.panel.AddButton(20, "Red", -1, RGB(255, 0, 0)));
    EXPECT_FALSE(f.panel.AddButton(30, "lost", 7));
    EXPECT_NE(nullptr, f.panel.GetButton(1, 10));
    EXPECT_EQ(nullptr, f.panel.GetButton(1, 20));
    ASSERT_NE(nullptr, f.panel.GetButton(2, 20));
    EXPECT_EQ((unsigned)RGB(255, 0, 0), f.panel.GetButton(2, 20)->color);
    // A separator is never found by id, and a button given id -1 gets 0.
    EXPECT_TRUE(f.panel.AddSeparator(1));
    EXPECT_EQ(nullptr, f.panel.GetButton(1, 0));
    EXPECT_TRUE(f.panel.AddButton(-1, "zero", 1));
    ASSERT_NE(nullptr, f.panel.GetButton(1, 0));
    EXPECT_FALSE(f.panel.GetButton(1, 0)->separator);
    EXPECT_TRUE(f.panel.SetButtonColor(1, 10, RGB(0, 255, 0)));
    EXPECT_EQ((unsigned)RGB(0, 255, 0), f.panel.GetButton(1, 10)->color);
    EXPECT_FALSE(f.panel.SetButtonColor(1, 99, 0));
}

TEST(SPanelCtrl, LayoutFlowsAndWraps)
{
    PanelFixture f(100);
    ASSERT_TRUE(f.created);
    ASSERT_EQ(100, f.panel.GetClientWidth());
    f.panel.AddGroup(1, "One");
    for (int id = 1; id <= 3; id++)
        f.panel.AddButton(id, "b", 1);
    f.panel.AddSeparator(1);
    f.panel.AddButton(4, "b", 1);
    f.panel.AddGroup(2, "Two");
    int caption = f.panel.GetCaptionHeight();
    EXPECT_GE(caption, 16);

    struct Case { int id; int x; int y; int image; };
    int row1 = caption + 1, row2 = caption + 1 + 24;
    const Case cases[] = {{1, 12, row1, 0}, {2, 36, row1, 1}, {3, 60, row1, 2}, {4, 12, row2, 3}};
    for (const Case& c : cases)
    {
        SPanelCtrl::_SButton* button = f.panel.GetButton(1, c.id);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(c.x, button->x) << c.id;
        EXPECT_EQ(c.y, button->y) << c.id;
        EXPECT_EQ(24, button->width);
        EXPECT_EQ(24, button->height);
        EXPECT_EQ(c.image, button->imageIndex) << c.id;
    }
    // The separator still fits the first row at x = 84 (84 + 7 <= 100).
    SPanelCtrl::_SButton* separator = f.panel.GetGroup(1)->buttons.GetAt(3);
    ASSERT_TRUE(separator->separator);
    EXPECT_EQ(84, separator->x);
    EXPECT_EQ(row1, separator->y);
    EXPECT_EQ(7, separator->width);

    SPanelCtrl::_SGroup* one = f.panel.GetGroup(1);
    SPanelCtrl::_SGroup* two = f.panel.GetGroup(2);
    EXPECT_EQ(0, one->groupY);
    EXPECT_EQ(row2 + 24, one->groupHeight);
    EXPECT_EQ(100, one->captionWidth);
    EXPECT_EQ(one->groupHeight + 1, two->captionY);
    EXPECT_EQ(caption + 1, two->groupHeight);

    // A wider panel lays the same entries in one row.
    f.panel.SetWindowSize(200, 250);
    EXPECT_EQ(91, f.panel.GetButton(1, 4)->x);
    EXPECT_EQ(row1, f.panel.GetButton(1, 4)->y);
}

TEST(SPanelCtrl, CheckAndEnableFollowRunsBetweenSeparators)
{
    PanelFixture f;
    ASSERT_TRUE(f.created);
    f.panel.AddGroup(1, "Run");
    f.panel.AddButton(1, "a", 1);
    f.panel.AddButton(2, "b", 1);
    f.panel.AddSeparator(1);
    f.panel.AddButton(3, "c", 1);
    f.panel.AddButton(4, "d", 1);

    EXPECT_TRUE(f.panel.SetButtonChecked(1, 3, true));
    EXPECT_FALSE(f.panel.SetButtonChecked(1, 3, true));
    EXPECT_FALSE(f.panel.SetButtonChecked(1, 9, true));
    EXPECT_TRUE(f.panel.CheckRadioButton(1, 1));
    EXPECT_FALSE(f.panel.CheckRadioButton(1, 1));
    EXPECT_TRUE(f.panel.CheckRadioButton(1, 2));
    EXPECT_FALSE(f.panel.IsButtonChecked(1, 1));
    EXPECT_TRUE(f.panel.IsButtonChecked(1, 2));
    // The run after the separator is left alone.
    EXPECT_TRUE(f.panel.IsButtonChecked(1, 3));
    EXPECT_TRUE(f.panel.CheckRadioButton(1, 4));
    EXPECT_FALSE(f.panel.IsButtonChecked(1, 3));
    EXPECT_TRUE(f.panel.IsButtonChecked(1, 2));
    EXPECT_FALSE(f.panel.IsButtonChecked(1, 77));

    EXPECT_TRUE(f.panel.EnableButton(1, 1, false));
    EXPECT_FALSE(f.panel.EnableButton(1, 1, false));
    EXPECT_FALSE(f.panel.EnableButton(1, 42, false));
    EXPECT_TRUE(f.panel.EnableButton(1, 4, false, true));
    struct Case { int id; bool enabled; };
    const Case afterRun[] = {{1, false}, {2, true}, {3, false}, {4, false}};
    for (const Case& c : afterRun)
        EXPECT_EQ(c.enabled, f.panel.IsButtonEnabled(1, c.id)) << c.id;
    EXPECT_TRUE(f.panel.EnableGroup(1, true));
    for (int id = 1; id <= 4; id++)
        EXPECT_TRUE(f.panel.IsButtonEnabled(1, id)) << id;
    EXPECT_FALSE(f.panel.EnableGroup(5, true));
}

TEST(SPanelCtrl, HoverPressAndClickReports)
{
    PanelFixture f;
    ASSERT_TRUE(f.created);
    f.panel.AddGroup(1, "Tools");
    f.panel.AddButton(1, "Pen", 1);
    f.panel.AddButton(2, "Brush", 1);
    f.panel.EnableButton(1, 2, false);
    int group = 0, button = 0;

    // Hover takes disabled buttons too; a press and a click only enabled ones.
    f.panel.SendMessage(WM_MOUSEMOVE, 0, f.Center(1, 2));
    f.panel.GetHover(&group, &button);
    EXPECT_EQ(1, group);
    EXPECT_EQ(2, button);
    f.panel.SendMessage(WM_MOUSEMOVE, 0, f.Center(1, 1));
    f.panel.GetHover(&group, &button);
    EXPECT_EQ(1, button);

    f.panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.Center(1, 1));
    f.panel.GetPressed(&group, &button);
    EXPECT_EQ(1, group);
    EXPECT_EQ(1, button);
    f.panel.SendMessage(WM_LBUTTONUP, 0, f.Center(1, 1));
    f.panel.GetPressed(&group, &button);
    EXPECT_EQ(-1, group);
    EXPECT_EQ(-1, button);
    std::vector<std::pair<int, int>> one = {{1, 1}};
    EXPECT_EQ(one, f.panel.messages);
    EXPECT_EQ(one, f.panel.clicks);
    std::vector<int> codes = f.Codes();
    EXPECT_EQ((std::vector<int>{9, 33, 17}), codes);

    // A click on a disabled button reaches the parent only.
    f.parent.ClearReceived();
    f.panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.Center(1, 2));
    f.panel.GetPressed(&group, &button);
    EXPECT_EQ(-1, button);
    f.panel.SendMessage(WM_LBUTTONUP, 0, f.Center(1, 2));
    EXPECT_EQ(one, f.panel.messages);
    EXPECT_EQ(one, f.panel.clicks);
    EXPECT_EQ((std::vector<int>{9, 33, 17}), f.Codes());

    // Right buttons are only forwarded; leaving clears the hover.
    f.parent.ClearReceived();
    f.panel.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, f.Center(1, 1));
    f.panel.SendMessage(WM_RBUTTONUP, 0, f.Center(1, 1));
    EXPECT_EQ(one, f.panel.clicks);
    codes = f.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(12, codes.front());
    f.panel.SendMessage(WM_S_MOUSE_LEAVE, 0, 0);
    f.panel.GetHover(&group, &button);
    EXPECT_EQ(-1, group);
    EXPECT_EQ(-1, button);
}

TEST(SPanelCtrl, PaintsCaptionsSwatchesAndStates)
{
    PanelFixture f(120);
    ASSERT_TRUE(f.created);
    f.panel.AddGroup(1, "");
    f.panel.AddButton(1, "Red", 1, RGB(255, 0, 0));
    f.panel.AddButton(2, "Blue", 1, RGB(0, 0, 255));
    f.panel.SetButtonChecked(1, 2, true);

    RECT client;
    f.panel.GetClientRect(&client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    f.panel.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    SPanelCtrl::_SButton* red = f.panel.GetButton(1, 1);
    SPanelCtrl::_SButton* blue = f.panel.GetButton(1, 2);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 2, 2));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, red->x + 4, red->y + 4));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, red->x + 19, red->y + 19));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, red->x + 2, red->y + 2));
    // The checked button: window colour behind the swatch, the outline in the highlight colour.
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, blue->x + 10, blue->y + 10));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, blue->x + 2, blue->y + 2));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, blue->x + 1, blue->y + 1));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(SPanelCtrl, GroupImageListGivesDisabledIcons)
{
    PanelFixture f;
    ASSERT_TRUE(f.created);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 3, 0);
    ASSERT_NE(nullptr, list);
    for (int i = 0; i < 3; i++)
    {
        HICON icon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
        ImageList_AddIcon(list, icon);
    }
    ASSERT_EQ(3, ImageList_GetImageCount(list));
    SPanelCtrl::_SGroup* group = f.panel.AddGroup(1, "Icons", list);
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(list, group->imageList);
    EXPECT_EQ(3, group->disabledIcons.GetCount());
    EXPECT_EQ(16, group->disabledIcons.GetIconWidth());
    EXPECT_FALSE(f.panel.SetGroupImageList(9, list));
    EXPECT_TRUE(f.panel.SetGroupImageList(1, nullptr));
    EXPECT_EQ(nullptr, group->imageList);
    EXPECT_EQ(0, group->disabledIcons.GetCount());
    f.panel.Destroy();
    ImageList_Destroy(list);
}

TEST(SPanelCtrl, HoveredButtonIsRaisedAndNamedInTheCaption)
{
    PanelFixture f(120);
    ASSERT_TRUE(f.created);
    f.panel.AddGroup(1, "");
    f.panel.AddButton(1, "Pen", 1, RGB(255, 0, 0));
    SPanelCtrl::_SButton* pen = f.panel.GetButton(1, 1);
    const COLORREF window = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), text = GetSysColor(COLOR_HIGHLIGHTTEXT);

    RECT client;
    f.panel.GetClientRect(&client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto captionTextPixels = [&]() {
        int count = 0;
        for (int y = 0; y < f.panel.GetCaptionHeight(); y++)
            for (int x = 0; x < client.right; x++)
                count += GetPixel(dc, x, y) == text ? 1 : 0;
        return count;
    };

    f.panel.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    EXPECT_EQ(face, GetPixel(dc, pen->x - 1, pen->y + 5));
    EXPECT_EQ(face, GetPixel(dc, pen->x + 2, pen->y + 2));
    EXPECT_EQ(0, captionTextPixels());

    // Hovered: the face shifted one pixel up and left, the outline where the button is.
    f.panel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pen->x + 5, pen->y + 5));
    f.panel.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    EXPECT_EQ(window, GetPixel(dc, pen->x - 1, pen->y + 5));
    EXPECT_EQ(highlight, GetPixel(dc, pen->x, pen->y + 5));
    EXPECT_EQ(highlight, GetPixel(dc, pen->x + 23, pen->y + 5));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, pen->x + 3, pen->y + 3));
    EXPECT_GT(captionTextPixels(), 0);

    // Hovered and pressed: not shifted.
    f.panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pen->x + 5, pen->y + 5));
    f.panel.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    EXPECT_EQ(face, GetPixel(dc, pen->x - 1, pen->y + 5));
    EXPECT_EQ(window, GetPixel(dc, pen->x + 2, pen->y + 2));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, pen->x + 4, pen->y + 4));
    f.panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pen->x + 5, pen->y + 5));

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
