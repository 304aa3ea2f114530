#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "../LeakCheck.h"
#include "InputTestSupport.h"
#include "SLibrary.h"
#include "SRegistry.h"
#include "SStringArray.h"
#include "SWnd.h"
#include "SWndThreadRecord.h"

namespace
{

struct Seen
{
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool visible;
};

// A window that records the library messages it receives and can answer some.
class RecordingWnd : public SWnd
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg >= WM_APP || msg == WM_KEYDOWN)
            seen.push_back({msg, wParam, lParam, GetHandle() && IsWindowVisible(GetHandle())});
        if (msg == WM_S_CREATED)
        {
            LRESULT answer = createdAnswer;
            SWnd::OnMessage(msg, wParam, lParam);
            return answer;
        }
        if (msg == WM_S_MODAL_START && refuseModal)
            return 1;
        if (msg == WM_S_CHANGED || msg == ControlMessage(32, 1))
        {
            if (msg == ControlMessage(32, 1))
                mouseCode = ((SMouseRecord*)lParam)->code;
        }
        if (msg == WM_S_DATA_BLOCK)
        {
            const unsigned char* block = (const unsigned char*)lParam;
            int32_t size;
            memcpy(&size, block, 4);
            int64_t value;
            memcpy(&value, block + 4, 8);
            blockSize = size;
            blockValue = value;
            blockData.assign(block + 16, block + 16 + ((size - size % 4) + 4));
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    void OnCopy() override { copies++; }
    void OnSaveAs() override { savesAs++; }
    void OnUndo() override { undos++; }

    int Count(UINT msg) const
    {
        int count = 0;
        for (const Seen& entry : seen)
            if (entry.msg == msg)
                count++;
        return count;
    }
    const Seen* Find(UINT msg) const
    {
        for (const Seen& entry : seen)
            if (entry.msg == msg)
                return &entry;
        return nullptr;
    }

    std::vector<Seen> seen;
    LRESULT createdAnswer = 0;
    bool refuseModal = false;
    int copies = 0, savesAs = 0, undos = 0;
    int mouseCode = 0;
    int blockSize = -1;
    int64_t blockValue = 0;
    std::vector<unsigned char> blockData;
};

RECT Rect(int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    return rect;
}

// Shows without activating: hiding an activated window waits for a window
// manager under Wine's X11 driver, which the test display does not have.
void ShowQuietly(SWnd& window)
{
    ShowWindow(window.GetHandle(), SW_SHOWNA);
}

}

TEST(SWnd, CreatedMessageArrivesBeforeTheWindowIsShown)
{
    RecordingWnd window;
    RECT rect = Rect(10, 10, 200, 100);
    ASSERT_TRUE(window.Create("First", WS_VISIBLE, 0, &rect, nullptr, 0, 1234));
    const Seen* created = window.Find(WM_S_CREATED);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->lParam, 1234);
    EXPECT_FALSE(created->visible);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_EQ(FindWndByHandle(window.GetHandle()), &window);
    EXPECT_TRUE(window.IsPopup());
    EXPECT_EQ(window.GetText(), SString("First"));
    EXPECT_TRUE(window.SetWindowText(""));
    EXPECT_EQ(window.GetText(), SString(""));
    EXPECT_EQ(window.GetFont(), GetDefaultFont());
    EXPECT_EQ(window.GetBackColor(), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(window.Create("Again", 0, 0, &rect, nullptr));
    HWND handle = window.GetHandle();
    EXPECT_TRUE(window.Destroy());
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(FindWndByHandle(handle), nullptr);
}

TEST(SWnd, RefusedCreationLeavesNoWindow)
{
    RecordingWnd window;
    window.createdAnswer = 1;
    RECT rect = Rect(0, 0, 50, 50);
    EXPECT_FALSE(window.Create("Refused", WS_VISIBLE, 0, &rect, nullptr));
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(window.Count(WM_S_CREATED), 1);
    window.createdAnswer = 0;
    EXPECT_TRUE(window.Create("Accepted", 0, 0, &rect, nullptr));
}

TEST(SWnd, ManyWindowsAreFoundByHandle)
{
    RecordingWnd parent;
    RECT rect = Rect(0, 0, 300, 300);
    ASSERT_TRUE(parent.Create("Parent", 0, 0, &rect, nullptr));
    const int count = 120;
    std::vector<SWnd*> children;
    for (int i = 0; i < count; i++)
    {
        SWnd* child = new SWnd;
        RECT cell = Rect(i % 10, i / 10, 5, 5);
        ASSERT_TRUE(child->CreateChild("", 0, 0, &cell, parent.GetHandle(), 100 + i));
        children.push_back(child);
    }
    // Destroy every third one so the list shrinks in the middle.
    for (int i = 0; i < count; i += 3)
        children[i]->Destroy();
    for (int i = 0; i < count; i++)
    {
        if (i % 3 == 0)
            continue;
        EXPECT_EQ(FindWndByHandle(children[i]->GetHandle()), children[i]);
        EXPECT_EQ(children[i]->GetId(), 100 + i);
        EXPECT_EQ(children[i]->GetTabIndex(), i);
    }
    SArray<SWnd*> found;
    EXPECT_EQ(parent.CollectChildren(&found), count - (count + 2) / 3);
    for (SWnd* child : children)
        delete child;
    EXPECT_EQ(FindWndByHandle(GetDesktopWindow()), nullptr);
    EXPECT_EQ(FindWndByHandle(nullptr), nullptr);
}

namespace
{
// What a recursive collection gives by its definition: the thread's windows whose parent
// is the handle, each followed by its own, asking the system for every parent at every level.
void CollectByDefinition(SWnd* self, HWND parent, SArray<SWnd*>* exclude, std::vector<SWnd*>* out)
{
    if (parent && !GetWindow(parent, GW_CHILD))
        return;
    SArray<SWnd*>& windows = FindThreadRecord(0)->GetWindows();
    for (int i = 0; i < windows.GetCount(); i++)
    {
        SWnd* window = windows.GetAt(i);
        if (window == self || !window->GetHandle() || GetParent(window->GetHandle()) != parent)
            continue;
        if (exclude && exclude->Find(window) >= 0)
            continue;
        out->push_back(window);
        CollectByDefinition(window, window->GetHandle(), exclude, out);
    }
}
} // namespace

TEST(SWnd, RecursiveCollectionFollowsEachWindowWithItsFamily)
{
    SWnd root;
    RECT rect = Rect(0, 0, 300, 300);
    ASSERT_TRUE(root.Create("Family", 0, 0, &rect, nullptr));
    // Four levels, uneven, with a pop-up owned by the root (its parent is the root too),
    // one owned by a child window without children (its owner is the root then) and one
    // owned by the first pop-up.
    std::vector<std::unique_ptr<SWnd>> windows;
    auto add = [&](HWND parent, bool popup) -> SWnd* {
        windows.push_back(std::make_unique<SWnd>());
        RECT cell = Rect(0, 0, 10, 10);
        bool made = popup ? windows.back()->Create("", WS_POPUP, 0, &cell, parent)
                          : windows.back()->CreateChild("", 0, 0, &cell, parent);
        return made ? windows.back().get() : nullptr;
    };
    std::vector<SWnd*> level1, level2;
    for (int i = 0; i < 6; i++)
        level1.push_back(add(root.GetHandle(), false));
    for (int i : {0, 2, 3})
        for (int j = 0; j < 3; j++)
            level2.push_back(add(level1[(size_t)i]->GetHandle(), false));
    SWnd* deepest = add(add(level2[4]->GetHandle(), false)->GetHandle(), false);
    SWnd* owned = add(root.GetHandle(), true);
    add(level1[5]->GetHandle(), true);
    // A pop-up owned by a pop-up names it as parent, though it has no child windows.
    add(owned->GetHandle(), true);
    for (const auto& window : windows)
        ASSERT_NE(nullptr, window->GetHandle());

    struct Case {
        const char* name;
        SWnd* from;
        std::vector<SWnd*> excluded;
    } cases[] = {
        {"the whole family", &root, {}},
        {"without a branch", &root, {level1[2]}},
        {"without a leaf and the deepest", &root, {level2[1], deepest}},
        {"from a middle window", level1[3], {}},
        {"from a leaf", level1[1], {}},
    };
    for (const Case& c : cases)
    {
        SArray<SWnd*> exclude;
        for (SWnd* window : c.excluded)
            exclude.Add(window);
        std::vector<SWnd*> expected;
        CollectByDefinition(c.from, c.from->GetHandle(), &exclude, &expected);
        SArray<SWnd*> found;
        EXPECT_EQ((int)expected.size(), c.from->CollectChildren(&found, &exclude, true)) << c.name;
        std::vector<SWnd*> got;
        for (int i = 0; i < found.GetCount(); i++)
            got.push_back(found.GetAt(i));
        EXPECT_TRUE(expected == got) << c.name;
    }
    // The whole family holds every window once but the pop-up owned by a pop-up.
    SArray<SWnd*> all;
    root.CollectChildren(&all, nullptr, true);
    EXPECT_EQ((int)windows.size() - 1, all.GetCount());
}

TEST(SWnd, TabMovesThroughTheGroupAndWraps)
{
    SWnd parent;
    RECT rect = Rect(0, 0, 300, 300);
    ASSERT_TRUE(parent.Create("Tabs", 0, 0, &rect, nullptr));
    ShowQuietly(parent);
    SWnd a, b, c, other;
    RECT cell = Rect(0, 0, 20, 20);
    ASSERT_TRUE(a.CreateChild("", WS_VISIBLE, 0, &cell, parent.GetHandle()));
    ASSERT_TRUE(b.CreateChild("", WS_VISIBLE, 0, &cell, parent.GetHandle()));
    ASSERT_TRUE(c.CreateChild("", WS_VISIBLE, 0, &cell, parent.GetHandle()));
    ASSERT_TRUE(other.CreateChild("", WS_VISIBLE, 0, &cell, parent.GetHandle()));
    a.SetTabGroup(1), a.SetTabIndex(5);
    b.SetTabGroup(1), b.SetTabIndex(1);
    c.SetTabGroup(1), c.SetTabIndex(9);
    other.SetTabGroup(2), other.SetTabIndex(6);
    EXPECT_EQ(b.GetNextTabWindow(), &a);
    EXPECT_EQ(a.GetNextTabWindow(), &c);
    EXPECT_EQ(c.GetNextTabWindow(), &b);
    b.Enable(false);
    EXPECT_EQ(c.GetNextTabWindow(), &a);
    SWnd loose;
    ASSERT_TRUE(loose.CreateChild("", WS_VISIBLE, 0, &cell, parent.GetHandle()));
    EXPECT_EQ(loose.GetNextTabWindow(), &loose);
    a.SetTabGroup(-7);
    EXPECT_EQ(a.GetTabGroup(), -1);
    a.SetTabIndex(-3);
    EXPECT_EQ(a.GetTabIndex(), 0);
}

TEST(SWnd, AnchoredChildrenFollowTheParentSize)
{
    RecordingWnd parent;
    RECT rect = Rect(0, 0, 400, 300);
    ASSERT_TRUE(parent.Create("Anchor", WS_THICKFRAME, 0, &rect, nullptr));
    ASSERT_TRUE(parent.SetClientSize(200, 100));
    ASSERT_EQ(parent.GetClientWidth(), 200);
    ASSERT_EQ(parent.GetClientHeight(), 100);
    struct Case
    {
        int flags;
        RECT expected;
    };
    const Case cases[] = {
        {0x02, {70, 10, 90, 30}},           // right
        {0x04, {10, 10, 90, 30}},           // width
        {0x01, {40, 10, 60, 30}},           // centre
        {0x0A, {40, 10, 60, 30}},           // half right
        {0x20 | 0x04, {10, 50, 90, 70}},    // bottom, width
        {0x40 | 0x80, {10, 10, 30, 50}},    // half height
        {0x10, {10, 30, 30, 50}},           // middle
    };
    std::vector<SWnd*> children;
    for (const Case& c : cases)
    {
        SWnd* child = new SWnd;
        RECT cell = Rect(10, 10, 20, 20);
        ASSERT_TRUE(child->CreateChild("", 0, 0, &cell, parent.GetHandle()));
        child->SetAnchor(c.flags);
        children.push_back(child);
    }
    parent.seen.clear();
    ASSERT_TRUE(parent.SetClientSize(260, 140));
    for (size_t i = 0; i < children.size(); i++)
    {
        RECT placed;
        ASSERT_TRUE(children[i]->GetRectInParent(&placed));
        EXPECT_EQ(placed.left, cases[i].expected.left) << "case " << i;
        EXPECT_EQ(placed.top, cases[i].expected.top) << "case " << i;
        EXPECT_EQ(placed.right, cases[i].expected.right) << "case " << i;
        EXPECT_EQ(placed.bottom, cases[i].expected.bottom) << "case " << i;
    }
    EXPECT_EQ(parent.Count(WM_S_ANCHORED), (int)children.size());
    for (SWnd* child : children)
        delete child;
}

TEST(SWnd, PlacementRoundTripsThroughTheRegistry)
{
    const char* key1 = "Melvora Test Scratch";
    const char* key2 = "Placement";
    // Removes the scratch keys however the test ends.
    struct ScratchKeys
    {
        ScratchKeys() { Remove(); }
        ~ScratchKeys() { Remove(); }
        static void Remove()
        {
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Melvora Test Scratch\\Placement");
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Melvora Test Scratch");
        }
    } scratch;
    SWnd window;
    RECT rect = Rect(100, 80, 640, 480);
    ASSERT_TRUE(window.Create("Placement", 0, 0, &rect, nullptr));
    ShowQuietly(window);
    EXPECT_EQ(window.GetPlacementText(), SString("7:100,80,740,560,1,0,0"));
    ASSERT_TRUE(window.SavePlacement(key1, key2, "Window"));

    SWnd restored;
    RECT other = Rect(5, 5, 50, 50);
    ASSERT_TRUE(restored.Create("Restored", 0, 0, &other, nullptr));
    ASSERT_TRUE(restored.LoadPlacement(key1, key2, "Window", true));
    RECT placed;
    restored.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, 100);
    EXPECT_EQ(placed.top, 80);
    EXPECT_EQ(placed.right, 740);
    EXPECT_EQ(placed.bottom, 560);
    EXPECT_FALSE(restored.IsVisible());
    EXPECT_FALSE(restored.LoadPlacement(key1, key2, "Missing"));
}

TEST(SWnd, PlacementTextIsCheckedAndFitted)
{
    SWnd window;
    RECT rect = Rect(20, 20, 100, 60);
    ASSERT_TRUE(window.Create("Fit", 0, 0, &rect, nullptr));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const char* refused[] = {"", "6:10,10,200,200,1,0,0", "7:10,10,200,200,1,0", "no colon", "7"};
    for (const char* text : refused)
    {
        EXPECT_FALSE(window.ApplyPlacementText(text, true)) << text;
        RECT unchanged;
        window.GetWindowRect(&unchanged);
        EXPECT_EQ(unchanged.left, 20) << text;
    }
    SString wide;
    wide.Format("7:%ld,30,%ld,130,0,0,0", (long)work.left - 50, (long)work.right + 50);
    ASSERT_TRUE(window.ApplyPlacementText(wide, false));
    RECT placed;
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, work.left);
    EXPECT_EQ(placed.right, work.right);
    EXPECT_FALSE(window.IsVisible());
    SString offscreen;
    offscreen.Format("7:%ld,40,%ld,340,1,0,0", (long)work.right - 30, (long)work.right + 270);
    ASSERT_TRUE(window.ApplyPlacementText(offscreen, true));
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.right, work.right);
    EXPECT_EQ(placed.left, work.right - 300);
    EXPECT_FALSE(window.IsVisible());
    // A right edge left of the left edge is raised to it, not turned inside out.
    ASSERT_TRUE(window.ApplyPlacementText("7:300,300,200,200,1,0,0", true));
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, 300);
    EXPECT_EQ(placed.top, 300);
    EXPECT_GE(placed.right, placed.left);
    // Extreme and out-of-range stored values are fitted into the work area like any
    // too-wide rectangle, never wrapped by an overflowing width.
    const char* extreme[] = {"7:-2147483648,10,2147483647,110,1,0,0",
                             "7:-99999999999,10,99999999999,110,1,0,0"};
    for (const char* text : extreme)
    {
        ASSERT_TRUE(window.ApplyPlacementText(text, true)) << text;
        window.GetWindowRect(&placed);
        EXPECT_EQ(placed.left, work.left) << text;
        EXPECT_EQ(placed.right, work.right) << text;
    }
    ASSERT_TRUE(window.ApplyPlacementText("7:10,-2147483648,200,2147483647,1,0,0", true));
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.top, work.top);
    EXPECT_EQ(placed.bottom, work.bottom);
}

TEST(SWnd, MinimizedWindowSavesItsNormalRectangle)
{
    SWnd window;
    // Popups without a caption: hiding a captioned window costs seconds under Wine's X11 driver.
    RECT rect = Rect(60, 70, 300, 200);
    ASSERT_TRUE(window.Create("Mini", 0, 0, &rect, nullptr));
    ShowQuietly(window);
    window.MinimizeKeepVisibility();
    ASSERT_TRUE(window.IsIconic());
    EXPECT_EQ(window.GetPlacementText(), SString("7:60,70,360,270,1,1,0"));
}

TEST(SWnd, ModalRunEndsWithReturnEscapeAndClose)
{
    struct Case
    {
        UINT key;
        bool enterCloses;
        int expected;
    };
    const Case cases[] = {{VK_RETURN, true, 0}, {VK_ESCAPE, true, -1}};
    for (const Case& c : cases)
    {
        RecordingWnd window;
        RECT rect = Rect(0, 0, 100, 100);
        ASSERT_TRUE(window.Create("Modal", 0, 0, &rect, nullptr));
        window.SetDefaultKeys(c.enterCloses, true);
        ShowQuietly(window);
        PostMessageA(window.GetHandle(), WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(window.DoModal(), c.expected);
        EXPECT_FALSE(window.IsModal());
        EXPECT_FALSE(window.IsVisible());
    }

    // With Enter-closes off, Return does not end the run; WM_CLOSE cancels it.
    RecordingWnd window;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(window.Create("Modal", 0, 0, &rect, nullptr));
    window.SetDefaultKeys(false, true);
    ShowQuietly(window);
    PostMessageA(window.GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(window.GetHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.DoModal(), -1);
    EXPECT_EQ(window.Count(WM_S_OK), 0);
    EXPECT_EQ(window.Count(WM_KEYDOWN), 1);
    EXPECT_NE(window.GetHandle(), nullptr);
}

TEST(SWnd, ModalRunDisablesOtherWindowsAndRestoresThem)
{
    RecordingWnd owner;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(owner.Create("Owner", 0, 0, &rect, nullptr));
    ShowQuietly(owner);
    RecordingWnd dialog;
    ASSERT_TRUE(dialog.Create("Dialog", 0, 0, &rect, nullptr));
    bool ownerEnabledDuring = true;
    // Sample the owner's state from inside the run through a posted message.
    class Sampler : public SWnd
    {
    public:
        HWND target = nullptr;
        bool* enabled = nullptr;
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
        {
            if (msg == WM_APP + 77)
                *enabled = IsWindowEnabled(target) != 0;
            return SWnd::OnMessage(msg, wParam, lParam);
        }
    } sampler;
    sampler.target = owner.GetHandle();
    sampler.enabled = &ownerEnabledDuring;
    ASSERT_TRUE(sampler.CreateMessageWindow());
    PostMessageA(sampler.GetHandle(), WM_APP + 77, 0, 0);
    PostMessageA(dialog.GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    ShowQuietly(dialog);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(owner.IsEnabled());

    dialog.refuseModal = true;
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_TRUE(owner.IsEnabled());

    SWnd child;
    ASSERT_TRUE(child.CreateChild("", 0, 0, &rect, owner.GetHandle()));
    EXPECT_EQ(child.DoModal(), 0);
    EXPECT_TRUE(owner.IsEnabled());
}

TEST(SWnd, QuitDuringModalRunEndsTheOuterLoopToo)
{
    RecordingWnd window;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(window.Create("Quit", 0, 0, &rect, nullptr));
    ShowQuietly(window);
    PostQuitMessage(7);
    window.DoModal();
    MSG message;
    bool quit = false;
    for (int i = 0; i < 100 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); i++)
    {
        if (message.message == WM_QUIT)
        {
            quit = true;
            EXPECT_EQ(message.wParam, 7u);
            break;
        }
        DispatchMessageA(&message);
    }
    EXPECT_TRUE(quit);
}

TEST(SWnd, ClicksNeedDownAndUpOnTheSameWindow)
{
    RecordingWnd first, second;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(first.Create("First", 0, 0, &rect, nullptr));
    ASSERT_TRUE(second.Create("Second", 0, 0, &rect, nullptr));
    struct Case
    {
        UINT down, up, click;
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_S_LCLICK},
        {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_S_MCLICK},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_S_RCLICK},
        {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_S_NC_LCLICK},
        {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_S_NC_RCLICK},
    };
    for (const Case& c : cases)
    {
        first.seen.clear();
        second.seen.clear();
        SendMessageA(first.GetHandle(), c.down, 0, MAKELPARAM(5, 6));
        SendMessageA(first.GetHandle(), c.up, 0, MAKELPARAM(7, 8));
        const Seen* click = first.Find(c.click);
        ASSERT_NE(click, nullptr) << c.click;
        EXPECT_EQ(click->lParam, MAKELPARAM(7, 8));

        SendMessageA(first.GetHandle(), c.down, 0, 0);
        SendMessageA(second.GetHandle(), c.up, 0, 0);
        EXPECT_EQ(second.Count(c.click), 0) << c.click;
        SendMessageA(first.GetHandle(), c.up, 0, 0);
        EXPECT_EQ(first.Count(c.click), 1) << c.click;
    }
    // Losing the focus between down and up cancels the click.
    first.seen.clear();
    SendMessageA(first.GetHandle(), WM_LBUTTONDOWN, 0, 0);
    SendMessageA(first.GetHandle(), WM_KILLFOCUS, 0, 0);
    SendMessageA(first.GetHandle(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(first.Count(WM_S_LCLICK), 0);
}

TEST(SWnd, TreeNotificationsCarryTheMouseEventCode)
{
    RecordingWnd parent;
    RECT rect = Rect(0, 0, 200, 200);
    ASSERT_TRUE(parent.Create("Tree", 0, 0, &rect, nullptr));
    SWnd tree;
    tree.SetKind(SKIND_TREE);
    ASSERT_TRUE(tree.CreateSubclassed(WC_TREEVIEWA, "", WS_CHILD, 0, &rect, parent.GetHandle(), 5));
    struct Case
    {
        UINT code;
        int expected;
    };
    const Case cases[] = {{(UINT)NM_CLICK, 33}, {(UINT)NM_RCLICK, 36}, {(UINT)NM_RDBLCLK, 68}, {(UINT)NM_DBLCLK, 65}};
    for (const Case& c : cases)
    {
        parent.mouseCode = 0;
        NMHDR header = {tree.GetHandle(), 5, c.code};
        SendMessageA(parent.GetHandle(), WM_NOTIFY, 5, (LPARAM)&header);
        EXPECT_EQ(parent.mouseCode, c.expected);
        const Seen* seen = parent.Find(ControlMessage(32, 1));
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->wParam, (WPARAM)&tree);
    }
    static_assert((SMOUSE_LEFT | SMOUSE_CLICK) == 33, "mouse event code of a left click");
    static_assert((SMOUSE_RIGHT | SMOUSE_DOUBLECLICK) == 68, "mouse event code of a right double click");
    // A foreign notifier is ignored.
    parent.seen.clear();
    NMHDR foreign = {GetDesktopWindow(), 1, (UINT)NM_CLICK};
    SendMessageA(parent.GetHandle(), WM_NOTIFY, 1, (LPARAM)&foreign);
    EXPECT_EQ(parent.Count(ControlMessage(32, 1)), 0);
}

TEST(SWnd, SubclassedControlsReportClicks)
{
    RecordingWnd parent;
    RECT rect = Rect(0, 0, 200, 200);
    ASSERT_TRUE(parent.Create("Buttons", 0, 0, &rect, nullptr));
    SWnd check;
    check.SetKind(SKIND_CHECK);
    RECT cell = Rect(0, 0, 80, 20);
    ASSERT_TRUE(check.CreateCheckBox("Check", 0, 0, &cell, parent.GetHandle(), 11));
    SendMessageA(parent.GetHandle(), WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), (LPARAM)check.GetHandle());
    const Seen* toggled = parent.Find(ControlMessage(2, 1));
    ASSERT_NE(toggled, nullptr);
    EXPECT_EQ(toggled->lParam, 1);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), BST_CHECKED);
    HWND handle = check.GetHandle();
    EXPECT_TRUE(check.Destroy());
    EXPECT_FALSE(IsWindow(handle));
}

TEST(SWnd, ShortcutsReachOnlyTheEnabledCommands)
{
    RecordingWnd window;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(window.Create("Keys", 0, 0, &rect, nullptr));
    window.EnableShortcuts(0x1 | 0x4000);
    KeysReleasedAtEnd released = {VK_CONTROL, VK_SHIFT};
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, true));
    SendMessageA(window.GetHandle(), WM_KEYDOWN, 'C', 0);
    SendMessageA(window.GetHandle(), WM_KEYDOWN, 'Z', 0);
    bool shiftDown = SetKeyDown(VK_SHIFT, true);
    SendMessageA(window.GetHandle(), WM_KEYDOWN, 'Z', 0);
    SendMessageA(window.GetHandle(), WM_KEYDOWN, 'S', 0);
    EXPECT_TRUE(SetKeyDown(VK_SHIFT, false));
    EXPECT_TRUE(SetKeyDown(VK_CONTROL, false));
    ASSERT_TRUE(shiftDown);
    EXPECT_EQ(window.copies, 0);
    EXPECT_EQ(window.undos, 1);
    EXPECT_EQ(window.savesAs, 1);
    EXPECT_EQ(window.Count(WM_KEYDOWN), 4);
}

TEST(SWnd, DataBlocksAreAssembledAndBounded)
{
    RecordingWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    HWND handle = window.GetHandle();
    EXPECT_EQ(SendMessageA(handle, WM_S_DATA_OPEN, 3, 0), 0);
    LRESULT block = SendMessageA(handle, WM_S_DATA_OPEN, 3, 5);
    ASSERT_EQ(block, 1);
    SendMessageA(handle, WM_S_DATA_WRITE, block, 0x01020304);
    SendMessageA(handle, WM_S_DATA_WRITE, block, 0x05060708);
    // A third write would pass the 8-byte data area of a 5-byte block.
    SendMessageA(handle, WM_S_DATA_WRITE, block, 0x0A0B0C0D);
    SendMessageA(handle, WM_S_DATA_WRITE, 99, 0x11111111);
    SendMessageA(handle, WM_S_DATA_CLOSE, block, -2);
    ASSERT_EQ(window.blockSize, 5);
    EXPECT_EQ(window.blockValue, -2);
    const std::vector<unsigned char> expected = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(window.blockData, expected);
    const Seen* delivered = window.Find(WM_S_DATA_BLOCK);
    ASSERT_NE(delivered, nullptr);
    EXPECT_EQ(delivered->wParam, 3u);
    // The entry is reused; a block of 8 has a 12-byte area.
    EXPECT_EQ(SendMessageA(handle, WM_S_DATA_OPEN, 0, 8), 1);
    for (int i = 0; i < 4; i++)
        SendMessageA(handle, WM_S_DATA_WRITE, 1, i);
    SendMessageA(handle, WM_S_DATA_CLOSE, 1, 0);
    EXPECT_EQ(window.blockData.size(), 12u);
    EXPECT_EQ(window.blockData[11], 2);
    // A refused announcement opens no entry: closing the freed one delivers nothing.
    EXPECT_EQ(SendMessageA(handle, WM_S_DATA_OPEN, 0, 0x7FFFFFFF), 0);
    int deliveredBefore = window.Count(WM_S_DATA_BLOCK);
    SendMessageA(handle, WM_S_DATA_CLOSE, 1, 0);
    EXPECT_EQ(window.Count(WM_S_DATA_BLOCK), deliveredBefore);
}

TEST(SWnd, DataBlockHandlesAreComparedWhole)
{
    RecordingWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    HWND handle = window.GetHandle();
    ASSERT_EQ(SendMessageA(handle, WM_S_DATA_OPEN, 0, 4), 1);
    SendMessageA(handle, WM_S_DATA_WRITE, 1, 0x01020304);
    if (sizeof(WPARAM) > 4)
    {
        // A handle whose low 32 bits are those of block 1 is another, unknown handle.
        WPARAM alias = (WPARAM)(((unsigned long long)1 << 32) | 1);
        SendMessageA(handle, WM_S_DATA_WRITE, alias, 0x7F7F7F7F);
        SendMessageA(handle, WM_S_DATA_CLOSE, alias, 0);
        EXPECT_EQ(window.Count(WM_S_DATA_BLOCK), 0);
    }
    SendMessageA(handle, WM_S_DATA_WRITE, (WPARAM)-1, 0x7F7F7F7F);
    SendMessageA(handle, WM_S_DATA_CLOSE, 1, 0);
    ASSERT_EQ(window.Count(WM_S_DATA_BLOCK), 1);
    const std::vector<unsigned char> expected = {1, 2, 3, 4, 0, 0, 0, 0};
    EXPECT_EQ(window.blockData, expected);
}

TEST(SWnd, OpenDataBlocksAreBoundedInNumberAndBytes)
{
    RecordingWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    HWND handle = window.GetHandle();
    // Many small blocks: the number of open ones is capped.
    int opened = 0;
    for (int i = 0; i < 1000; i++)
        if (SendMessageA(handle, WM_S_DATA_OPEN, 0, 16))
            opened++;
    EXPECT_GE(opened, 16) << "real use opens a few blocks at once";
    EXPECT_LT(opened, 1000);
    EXPECT_EQ(window.GetDataBlockCount(), opened);
    // Closing one makes room for exactly one more.
    SendMessageA(handle, WM_S_DATA_CLOSE, 1, 0);
    EXPECT_EQ(SendMessageA(handle, WM_S_DATA_OPEN, 0, 16), 1);
    EXPECT_EQ(SendMessageA(handle, WM_S_DATA_OPEN, 0, 16), 0);

    // Large blocks: their total is capped before the count is reached.
    RecordingWnd second;
    ASSERT_TRUE(second.CreateMessageWindow());
    const int large = 16 * 1024 * 1024;
    int largeOpened = 0;
    for (int i = 0; i < 20; i++)
        if (SendMessageA(second.GetHandle(), WM_S_DATA_OPEN, 0, large))
            largeOpened++;
    EXPECT_GE(largeOpened, 1);
    EXPECT_LT(largeOpened, 20);
    EXPECT_EQ(second.GetDataBlockCount(), largeOpened);
}

TEST(SWnd, ChangeNotificationFollowsTheFlag)
{
    RecordingWnd parent;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(parent.Create("Notify", 0, 0, &rect, nullptr));
    SWnd child;
    ASSERT_TRUE(child.CreateChild("", 0, 0, &rect, parent.GetHandle()));
    child.NotifyParentChanged(4);
    const Seen* seen = parent.Find(WM_S_CHANGED);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->wParam, (WPARAM)&child);
    EXPECT_EQ(seen->lParam, 4);
    child.SetChangeNotify(false);
    child.NotifyParentChanged(5);
    EXPECT_EQ(parent.Count(WM_S_CHANGED), 1);
}

namespace
{

class HotAreaWnd : public SWnd
{
public:
    void OnHotAreaEnter(RECT*, int, int, int index) override { events.push_back(index + 100); }
    void OnHotAreaMove(RECT*, int, int, int index) override { events.push_back(index + 200); }
    void OnHotAreaLeave(RECT*, int, int, int index) override { events.push_back(index + 300); }
    std::vector<int> events;
};

// A drop handle as the shell makes it: DROPFILES and a list of ANSI paths.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    DROPFILES* header = (DROPFILES*)GlobalLock(memory);
    header->pFiles = sizeof(DROPFILES);
    char* text = (char*)(header + 1);
    for (const std::string& path : paths)
    {
        memcpy(text, path.c_str(), path.size() + 1);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return (HDROP)memory;
}

class DropWnd : public SWnd
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_FILES_DROPPED)
        {
            SStringArray* list = (SStringArray*)wParam;
            for (int i = 0; i < list->GetCount(); i++)
                paths.push_back(list->GetAt(i).GetText());
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    std::vector<std::string> paths;
};

}

TEST(SWnd, FirstHotAreaMoveOnlyEnters)
{
    HotAreaWnd window;
    RECT rect = Rect(100, 100, 200, 120);
    ASSERT_TRUE(window.Create("Hot", WS_CAPTION, 0, &rect, nullptr));
    window.AddHotArea(Rect(0, 0, 50, 20));
    window.AddHotArea(Rect(60, 0, 50, 20));
    window.EnableHotAreas(true);
    RECT placed;
    window.GetWindowRect(&placed);
    auto move = [&](int x, int y) {
        SendMessageA(window.GetHandle(), WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(placed.left + x, placed.top + y));
    };
    move(10, 5);
    move(12, 6);
    move(70, 5);
    move(190, 5);
    SendMessageA(window.GetHandle(), WM_NCMOUSELEAVE, 0, 0);
    const std::vector<int> expected = {100, 200, 300, 101, 301, 99, 299};
    EXPECT_EQ(window.events, expected);
    EXPECT_EQ(window.HitTestHotArea(65, 10), 1);
    EXPECT_EQ(window.HitTestHotArea(55, 10), -1);
}

TEST(SWnd, DroppedPathsArriveWholeWithFolderMarks)
{
    DropWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder(temp);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    std::string longPath = "C:\\" + std::string(300, 'a') + ".mp3";
    HDROP drop = MakeDrop({folder, longPath, "C:\\missing\\song.wma"});
    SendMessageA(window.GetHandle(), WM_DROPFILES, (WPARAM)drop, 0);
    ASSERT_EQ(window.paths.size(), 3u);
    EXPECT_EQ(window.paths[0], folder + "\\");
    EXPECT_EQ(window.paths[1], longPath);
    EXPECT_EQ(window.paths[2], "C:\\missing\\song.wma");
}

TEST(SWnd, TooltipAsksForTheWindowText)
{
    SWnd window;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(window.Create("Tip", 0, 0, &rect, nullptr));
    EXPECT_FALSE(SWnd().EnableTooltip(true));
    ASSERT_TRUE(window.EnableTooltip(true));
    HWND tooltip = window.GetTooltip();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    window.SetToolTipText("Play the selection");
    NMTTDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.hdr.hwndFrom = tooltip;
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(window.GetHandle(), WM_NOTIFY, 0, (LPARAM)&info);
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Play the selection");
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 300);
    EXPECT_TRUE(window.EnableTooltip(false));
    EXPECT_FALSE(IsWindow(tooltip));
}

TEST(SWnd, TrackSizesAnswerMinMaxInfo)
{
    SWnd window;
    RECT rect = Rect(0, 0, 300, 200);
    ASSERT_TRUE(window.Create("Sizes", WS_THICKFRAME | WS_CAPTION, 0, &rect, nullptr));
    int left, top, right, bottom;
    ASSERT_TRUE(window.GetClientMargins(&left, &top, &right, &bottom));
    window.SetMinTrackSize(150, 120);
    window.SetMaxTrackSize(-1, 900);
    MINMAXINFO info;
    memset(&info, 0, sizeof(info));
    info.ptMaxTrackSize.x = 1234;
    SendMessageA(window.GetHandle(), WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(info.ptMinTrackSize.x, 150);
    EXPECT_EQ(info.ptMinTrackSize.y, 120);
    EXPECT_EQ(info.ptMaxTrackSize.x, 1234);
    EXPECT_EQ(info.ptMaxTrackSize.y, 900);
    window.SetMinClientSize(100, 50);
    SendMessageA(window.GetHandle(), WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(info.ptMinTrackSize.x, 100 + left + right);
    EXPECT_EQ(info.ptMinTrackSize.y, 50 + top + bottom);
}

TEST(SWnd, UnsetMinimumTrackSizeIsTheSystems)
{
    struct Case
    {
        const char* what;
        bool ownSizesBefore; // sizes set on an earlier window of the same object
    };
    const Case cases[] = {{"new object", false}, {"created again after sizes of its own", true}};
    for (const Case& c : cases)
    {
        SWnd window;
        RECT rect = Rect(0, 0, 300, 200);
        if (c.ownSizesBefore)
        {
            ASSERT_TRUE(window.Create("Before", WS_THICKFRAME | WS_CAPTION, 0, &rect, nullptr)) << c.what;
            window.SetMinTrackSize(150, 120);
            ASSERT_TRUE(window.Destroy()) << c.what;
        }
        ASSERT_TRUE(window.Create("Sizes", WS_THICKFRAME | WS_CAPTION, 0, &rect, nullptr)) << c.what;
        MINMAXINFO info;
        memset(&info, 0, sizeof(info));
        SendMessageA(window.GetHandle(), WM_GETMINMAXINFO, 0, (LPARAM)&info);
        EXPECT_EQ(info.ptMinTrackSize.x, GetSystemMetrics(SM_CXMIN)) << c.what;
        EXPECT_EQ(info.ptMinTrackSize.y, GetSystemMetrics(SM_CYMIN)) << c.what;
    }
}

TEST(SWnd, ChildKeysReachTheTopLevelAncestor)
{
    RecordingWnd top;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(top.Create("Top", 0, 0, &rect, nullptr));
    RecordingWnd middle, child;
    ASSERT_TRUE(middle.CreateChild("", 0, 0, &rect, top.GetHandle()));
    ASSERT_TRUE(child.CreateChild("", 0, 0, &rect, middle.GetHandle()));
    EXPECT_EQ(child.GetTopLevelAncestor(), top.GetHandle());
    EXPECT_EQ(top.GetTopLevelAncestor(), nullptr);
    EXPECT_EQ(top.GetPopupAncestor(true), top.GetHandle());
    SendMessageA(child.GetHandle(), WM_KEYDOWN, 'Q', 0);
    const Seen* key = top.Find(WM_S_CHILD_KEY);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->wParam, (WPARAM)'Q');
    EXPECT_EQ(key->lParam, (LPARAM)&child);
    EXPECT_EQ(middle.Count(WM_S_CHILD_KEY), 0);
    SendMessageA(top.GetHandle(), WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(top.Count(WM_S_CHILD_KEY), 1);
    SendMessageA(child.GetHandle(), WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_EQ(top.Count(WM_S_CHILD_SYSKEY), 1);
}

TEST(SWnd, SizeStatesAreReported)
{
    RecordingWnd window;
    RECT rect = Rect(10, 10, 200, 100);
    ASSERT_TRUE(window.Create("States", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, &rect,
                              nullptr));
    SendMessageA(window.GetHandle(), WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200));
    SendMessageA(window.GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    SendMessageA(window.GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    SendMessageA(window.GetHandle(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(window.Count(WM_S_MAXIMIZED), 1);
    EXPECT_EQ(window.Count(WM_S_RESTORED), 1);
    EXPECT_EQ(window.Count(WM_S_MINIMIZED), 1);
    // The system menu carries the library's own item above a separator.
    HMENU menu = GetSystemMenu(window.GetHandle(), FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 0), 1980u);
    MENUITEMINFOA item;
    memset(&item, 0, sizeof(item));
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 1, TRUE, &item));
    EXPECT_TRUE(item.fType & MFT_SEPARATOR);
}

TEST(SWnd, OwnCursorAnswersSetCursorOverTheClientArea)
{
    SWnd window;
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(window.Create("Cursor", 0, 0, &rect, nullptr));
    HCURSOR beam = GetCursorHandle(5);
    window.SetCursor(beam);
    LRESULT answer = SendMessageA(window.GetHandle(), WM_SETCURSOR, (WPARAM)window.GetHandle(),
                                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(GetCursor(), beam);
    answer = SendMessageA(window.GetHandle(), WM_SETCURSOR, (WPARAM)window.GetHandle(),
                          MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(answer, FALSE);
}

TEST(SWnd, MoveWithMouseDragsTheWindow)
{
    RecordingWnd window;
    RECT rect = Rect(100, 100, 120, 80);
    ASSERT_TRUE(window.Create("Drag", 0, 0, &rect, nullptr));
    window.SetMoveWithMouse(true);
    SendMessageA(window.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(window.Count(WM_S_DRAG_START), 1);
    EXPECT_TRUE(window.HasCapture());
    SendMessageA(window.GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 25));
    RECT placed;
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 115);
    SendMessageA(window.GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(window.Count(WM_S_DRAG_END), 1);
    EXPECT_EQ(window.Count(WM_S_LCLICK), 1);
    EXPECT_FALSE(window.HasCapture());
    window.SetMoveWithMouse(false);
    SendMessageA(window.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(window.GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(window.Count(WM_S_DRAG_START), 1);
}

namespace
{

// A class of its own whose procedure counts the window's last message.
int g_lastMessages = 0;

LRESULT CALLBACK CountingClassProc(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY)
        g_lastMessages++;
    return DefWindowProcA(handle, msg, wParam, lParam);
}

LRESULT CALLBACK PassingSubclass(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    return DefSubclassProc(handle, msg, wParam, lParam);
}

// Another subclass over the library's procedure: none, a plain one, a tooltip's tool.
struct SubclassCase
{
    const char* name;
    void (*above)(SWnd* control);
};

const SubclassCase kSubclassCases[] = {
    {"none", [](SWnd*) {}},
    {"a subclass of the common controls", [](SWnd* control) {
         SetWindowSubclass(control->GetHandle(), PassingSubclass, 1, 0);
     }},
    {"a tooltip", [](SWnd* control) { control->EnableTooltip(true); }},
};

} // namespace

TEST(SWnd, ASubclassedClassGetsItsLastMessageUnderAnotherSubclass)
{
    WNDCLASSA type = {};
    type.lpfnWndProc = CountingClassProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "SWndTestCounting";
    RegisterClassA(&type);
    SWnd parent;
    RECT rect = Rect(0, 0, 200, 200);
    ASSERT_TRUE(parent.Create("Parent", 0, 0, &rect, nullptr));
    for (const SubclassCase& c : kSubclassCases)
    {
        SCOPED_TRACE(c.name);
        g_lastMessages = 0;
        SWnd control;
        RECT cell = Rect(0, 0, 80, 20);
        ASSERT_TRUE(control.CreateSubclassed("SWndTestCounting", "", WS_CHILD, 0, &cell, parent.GetHandle(), 7));
        c.above(&control);
        EXPECT_TRUE(control.Destroy());
        EXPECT_EQ(g_lastMessages, 1);
    }
}

TEST(SWnd, AListViewDestroyedUnderAnotherSubclassLeavesNoObject)
{
    // The list view frees its font and background brush at its last message.
    SWnd parent;
    RECT rect = Rect(0, 0, 300, 200);
    ASSERT_TRUE(parent.Create("Parent", 0, 0, &rect, nullptr));
    for (const SubclassCase& c : kSubclassCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(KeepsNoObject([&] {
            SWnd list;
            RECT cell = Rect(0, 0, 200, 100);
            ASSERT_TRUE(list.CreateSubclassed(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE, 0, &cell, parent.GetHandle(), 8));
            c.above(&list);
        }));
    }
}
