#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "SControl.h"
#include "SDisk.h"
#include "SFileMem.h"
#include "STreeCtrl.h"

namespace
{

UINT TreeMsg(int offset)
{
    return ControlMessage(SBLOCK_TREE, offset);
}

std::string Bytes(SFileMem& file)
{
    return file.GetBuffer() ? std::string((const char*)file.GetBuffer(), (size_t)file.GetSize()) : std::string();
}

// Keeps copies of the delete and copy records, which live only during their message,
// and answers the messages it is told to.
class TreeParent : public SRecordingParent
{
public:
    std::vector<STreeDeleteRecord> deletes;
    std::vector<STreeCopyRecord> copies;
    std::vector<std::pair<UINT, LRESULT>> answers;

    void Reset()
    {
        ClearReceived();
        deletes.clear();
        copies.clear();
        answers.clear();
    }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == TreeMsg(14) && lParam)
            deletes.push_back(*(const STreeDeleteRecord*)lParam);
        if ((msg == TreeMsg(12) || msg == TreeMsg(13)) && lParam)
            copies.push_back(*(const STreeCopyRecord*)lParam);
        LRESULT result = SRecordingParent::OnMessage(msg, wParam, lParam);
        for (const auto& answer : answers)
            if (answer.first == msg)
                return answer.second;
        return result;
    }
};

// One parent window for every tree test: destroying a top-level window costs Wine
// about two seconds under a display without a window manager.
class TreeTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        shared = new TreeParent;
        shared->CreateParent(400, 400);
        shared->SetMouseMessages({TreeMsg(1)});
    }
    static void TearDownTestSuite()
    {
        delete shared;
        shared = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, shared->GetHandle());
        shared->Reset();
    }
    void TearDown() override
    {
        tree.Destroy();
        shared->Reset();
    }
    void MakeTree(DWORD extraStyle = 0, STreeCtrl* target = nullptr, int left = 10)
    {
        STreeCtrl* t = target ? target : &tree;
        RECT rect = {left, 10, left + 180, 380};
        ASSERT_TRUE(t->Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                                  extraStyle,
                              0, &rect, parent.GetHandle(), 100));
        PumpPending();
    }
    // Loads a tree text with data into the tree.
    void Load(const std::string& body, STreeCtrl* target = nullptr)
    {
        std::string text = "TAVRIN TREE 1.0.0.0\r\n" + body;
        SFileMem file;
        file.Allocate((int)text.size());
        file.Write(text.data(), (int)text.size());
        file.Rewind();
        STreeCtrl* t = target ? target : &tree;
        ASSERT_TRUE(t->LoadTree(&file, true));
        // Every item shown, so that each has a rectangle.
        int depth = 0;
        for (HTREEITEM item = t->GetRootItem(); item; item = t->GetNextItemInOrder(item, &depth))
            t->Expand(item);
    }
    // The whole tree as saved text lines (labels and depths only).
    std::string Shape(STreeCtrl* target = nullptr)
    {
        SFileMem file;
        EXPECT_TRUE((target ? target : &tree)->SaveTree(&file, false));
        std::string text = Bytes(file);
        size_t start = text.find("\r\n");
        return start == std::string::npos ? text : text.substr(start + 2);
    }
    HTREEITEM Find(const char* label, STreeCtrl* target = nullptr)
    {
        STreeCtrl* t = target ? target : &tree;
        int depth = 0;
        for (HTREEITEM item = t->GetRootItem(); item; item = t->GetNextItemInOrder(item, &depth))
            if (t->GetItemText(item) == label)
                return item;
        return nullptr;
    }
    // Screen point at the middle of an item's label.
    POINT LabelPoint(HTREEITEM item, STreeCtrl* target = nullptr)
    {
        STreeCtrl* t = target ? target : &tree;
        RECT rect;
        EXPECT_TRUE(t->GetItemRect(item, &rect, true));
        POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(t->GetHandle(), &point);
        return point;
    }

    static TreeParent* shared;
    TreeParent& parent = *shared;
    STreeCtrl tree;
};

TreeParent* TreeTest::shared = nullptr;

const char kSample[] =
    "Music+1,0,0\r\n\tRock+2,1,1\r\n\t\tPunk+3,2,2\r\n\tJazz+4,3,3\r\nVideo+5,4,4\r\n\tClips+6,5,5\r\n.\r\n";

// A scripted drag: each poll takes the next step; when the script ends the button is up.
class ScriptedDrag : public STreeDragInput
{
public:
    struct Step
    {
        POINT cursor;
        HWND window; // what lies under the cursor
        bool escape;
    };
    std::vector<Step> steps;
    std::vector<int> cursors;
    size_t next = 0;

    bool Poll(STreeDragState* state) override
    {
        if (next >= steps.size())
        {
            state->buttonDown = false;
            state->escapeDown = false;
            return true;
        }
        const Step& step = steps[next];
        state->buttonDown = true;
        state->escapeDown = step.escape;
        state->cursor = step.cursor;
        return true;
    }
    HWND WindowFromPoint(POINT) override { return steps[next++].window; }
    void ShowCursor(int number) override { cursors.push_back(number); }
};

class DragScope
{
public:
    explicit DragScope(STreeDragInput* input) { STreeCtrl::SetDragInput(input); }
    ~DragScope() { STreeCtrl::SetDragInput(nullptr); }
};

}

TEST_F(TreeTest, WalkDepthAndPaths)
{
    MakeTree();
    Load(kSample);
    EXPECT_EQ(6, tree.GetCount());
    HTREEITEM music = Find("Music"), rock = Find("Rock"), punk = Find("Punk"), jazz = Find("Jazz");
    HTREEITEM video = Find("Video"), clips = Find("Clips");
    ASSERT_TRUE(music && rock && punk && jazz && video && clips);
    EXPECT_EQ(2, tree.GetDepth(punk));
    EXPECT_EQ(0, tree.GetDepth(video));
    EXPECT_TRUE(tree.IsChildOf(punk, music, true));
    EXPECT_FALSE(tree.IsChildOf(punk, music, false));
    EXPECT_FALSE(tree.IsChildOf(nullptr, music, true));
    EXPECT_EQ(rock, tree.GetFirstSibling(jazz));
    EXPECT_EQ(music, tree.GetFirstSibling(video));
    EXPECT_EQ(SString("Music\\Rock\\Punk"), tree.GetItemPath(punk));
    EXPECT_EQ(SString(""), tree.GetItemPath(nullptr));
    EXPECT_EQ(3, tree.GetItemData(punk));
    EXPECT_EQ(3, tree.CountChildren(music, true));
    EXPECT_EQ(2, tree.CountChildren(music, false));
    EXPECT_EQ(2, tree.CountChildren(nullptr, false));
    SArray<HTREEITEM> subtree;
    EXPECT_EQ(3, tree.CollectSubtree(&subtree, music));
    EXPECT_EQ(rock, subtree.GetAt(0));
    EXPECT_EQ(punk, subtree.GetAt(1));
    EXPECT_EQ(jazz, subtree.GetAt(2));
    // The pre-order walk climbs back with the depth.
    int depth = 2;
    EXPECT_EQ(jazz, tree.GetNextItemInOrder(punk, &depth));
    EXPECT_EQ(1, depth);
    EXPECT_EQ(video, tree.GetNextItemInOrder(jazz, &depth));
    EXPECT_EQ(0, depth);
    EXPECT_EQ(nullptr, tree.GetNextItemInOrder(clips, &depth));
}

TEST_F(TreeTest, TreeTextRoundTripThroughTheControl)
{
    MakeTree();
    Load(kSample);
    SFileMem file;
    ASSERT_TRUE(tree.SaveTree(&file, true));
    EXPECT_EQ(std::string("TAVRIN TREE 1.0.0.0\r\n") + kSample, Bytes(file));
    // The reader adds: a second load doubles the root level.
    file.Rewind();
    ASSERT_TRUE(tree.LoadTree(&file, true));
    EXPECT_EQ(12, tree.GetCount());
    int image = 0, selected = 0;
    ASSERT_TRUE(tree.GetItemImages(Find("Clips"), &image, &selected));
    EXPECT_EQ(5, image);
    EXPECT_EQ(5, selected);
}

TEST_F(TreeTest, DamagedTreeTextLeavesTheTreeAsItWas)
{
    MakeTree();
    Load(kSample);
    std::string before = Shape();
    std::string deep = "TAVRIN TREE 1.0.0.0\r\n";
    for (int depth = 0; depth < 300; depth++)
        deep += std::string((size_t)depth, '\t') + "level\r\n";
    const std::string texts[] = {"", "TAVRIN TREE 1.0.0.0 \r\nA\r\n", "TAVRIN TABLE 1.0.0.0\r\nA\r\n", deep};
    for (const std::string& text : texts)
    {
        SFileMem file;
        file.Allocate((int)text.size());
        if (!text.empty())
            file.Write(text.data(), (int)text.size());
        file.Rewind();
        EXPECT_FALSE(tree.LoadTree(&file, true));
        EXPECT_EQ(before, Shape());
    }
    EXPECT_FALSE(tree.LoadTree(nullptr, true));
    // A label the text cannot carry is refused whole.
    ASSERT_NE(nullptr, tree.InsertItem("two\r\nlines"));
    SFileMem out;
    EXPECT_FALSE(tree.SaveTree(&out, true));
    EXPECT_EQ(0, out.GetSize());
}

TEST_F(TreeTest, DeleteWithNotificationGoesDeepestFirst)
{
    MakeTree();
    Load(kSample);
    parent.ClearReceived();
    ASSERT_TRUE(tree.DeleteItem(Find("Music"), true));
    ASSERT_EQ(4u, parent.deletes.size());
    const LPARAM order[4] = {4, 3, 2, 1}; // Jazz, Punk, Rock, Music
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(order[i], parent.deletes[(size_t)i].data);
    EXPECT_EQ("Video\r\n\tClips\r\n.\r\n", Shape());
    EXPECT_FALSE(tree.DeleteItem(nullptr, true));
    ASSERT_TRUE(tree.DeleteChildren(Find("Video")));
    EXPECT_EQ(5u, parent.Received(TreeMsg(14)).size());
    EXPECT_EQ("Video\r\n.\r\n", Shape());
    ASSERT_TRUE(tree.DeleteItem(Find("Video")));
    EXPECT_EQ(5u, parent.Received(TreeMsg(14)).size());
    EXPECT_EQ(0, tree.GetCount());
}

TEST_F(TreeTest, CopyAndMove)
{
    MakeTree();
    Load(kSample);
    parent.ClearReceived();
    HTREEITEM copy = tree.CopyItemTo(Find("Rock"), Find("Video"), true, true, nullptr, false);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(2u, parent.Received(TreeMsg(12)).size());
    EXPECT_EQ("Music\r\n\tRock\r\n\t\tPunk\r\n\tJazz\r\nVideo\r\n\tClips\r\n\tRock\r\n\t\tPunk\r\n.\r\n", Shape());
    EXPECT_EQ(2, tree.GetItemData(copy));

    // Into its own subtree: refused, nothing changes.
    std::string before = Shape();
    HTREEITEM music = Find("Music");
    EXPECT_EQ(nullptr, tree.CopyItemTo(music, Find("Punk"), true, true, nullptr, false));
    EXPECT_EQ(nullptr, tree.MoveItemTo(music, Find("Punk"), false, true, nullptr));
    EXPECT_EQ(nullptr, tree.MoveItemTo(music, music, true, true, nullptr));
    EXPECT_EQ(before, Shape());

    // A move copies first (as a move), then removes the source.
    HTREEITEM moved = tree.MoveItemTo(Find("Jazz"), music, false, false, nullptr);
    ASSERT_NE(nullptr, moved);
    EXPECT_EQ(1u, parent.Received(TreeMsg(13)).size());
    EXPECT_EQ("Jazz\r\nMusic\r\n\tRock\r\n\t\tPunk\r\nVideo\r\n\tClips\r\n\tRock\r\n\t\tPunk\r\n.\r\n", Shape());

    // Into another tree.
    STreeCtrl other;
    MakeTree(0, &other, 200);
    HTREEITEM across = tree.MoveItemTo(Find("Video"), nullptr, false, true, &other);
    ASSERT_NE(nullptr, across);
    EXPECT_EQ("Video\r\n\tClips\r\n\tRock\r\n\t\tPunk\r\n.\r\n", Shape(&other));
    EXPECT_EQ("Jazz\r\nMusic\r\n\tRock\r\n\t\tPunk\r\n.\r\n", Shape());
    ASSERT_FALSE(parent.copies.empty());
    EXPECT_EQ(&other, parent.copies.back().targetTree);
    EXPECT_EQ(nullptr, parent.copies.front().targetTree);
    EXPECT_EQ(across, parent.copies[parent.copies.size() - 4].newItem);
}

TEST_F(TreeTest, ChecksFollowChildrenAndParents)
{
    MakeTree(TVS_CHECKBOXES);
    Load(kSample);
    HTREEITEM music = Find("Music"), rock = Find("Rock"), punk = Find("Punk"), jazz = Find("Jazz");
    tree.SetItemCheck(punk, true);
    tree.OnCheckChanged(punk, true);
    EXPECT_TRUE(tree.IsItemChecked(rock));
    EXPECT_TRUE(tree.IsItemChecked(music));
    EXPECT_FALSE(tree.IsItemChecked(jazz));
    tree.SetItemCheck(jazz, true);
    tree.OnCheckChanged(jazz, true);
    tree.SetItemCheck(punk, false);
    tree.OnCheckChanged(punk, false);
    EXPECT_FALSE(tree.IsItemChecked(rock));
    EXPECT_TRUE(tree.IsItemChecked(music)); // Jazz is still checked
    tree.SetItemCheck(jazz, false);
    tree.OnCheckChanged(jazz, false);
    EXPECT_FALSE(tree.IsItemChecked(music));
    // Checking a parent checks its whole subtree.
    tree.SetItemCheck(music, true);
    tree.OnCheckChanged(music, true);
    EXPECT_TRUE(tree.IsItemChecked(punk));
    EXPECT_TRUE(tree.IsItemChecked(jazz));
    // Without propagation only the item changes.
    tree.SetChecksPropagate(false);
    tree.SetItemCheck(punk, false);
    tree.OnCheckChanged(punk, false);
    EXPECT_TRUE(tree.IsItemChecked(rock));
}

TEST_F(TreeTest, ClickOnACheckBoxReportsTheChange)
{
    MakeTree(TVS_CHECKBOXES);
    Load(kSample);
    HTREEITEM video = Find("Video");
    RECT text;
    ASSERT_TRUE(tree.GetItemRect(video, &text, true));
    int y = (text.top + text.bottom) / 2;
    int x = -1;
    for (int probe = 0; probe < text.left; probe++)
    {
        UINT flags = 0;
        POINT point = {probe, y};
        if (tree.HitTest(point, &flags) == video && (flags & TVHT_ONITEMSTATEICON))
        {
            x = probe;
            break;
        }
    }
    ASSERT_GE(x, 0) << "no check box found left of the label";
    parent.ClearReceived();
    // The tree view tracks the press until a button message arrives: queue the release first.
    tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PumpPending();
    EXPECT_TRUE(tree.IsItemChecked(video));
    EXPECT_TRUE(tree.IsItemChecked(Find("Clips")));
    auto got = parent.Received(TreeMsg(4));
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((LPARAM)video, got[0].lParam);
    EXPECT_TRUE(parent.Received(TreeMsg(1)).empty() ||
                parent.Received(TreeMsg(1))[0].mouse.code != 9); // no mouse record for the box
}

TEST_F(TreeTest, KeysSelectionAndLabelEditing)
{
    MakeTree(TVS_EDITLABELS);
    Load(kSample);
    HTREEITEM jazz = Find("Jazz");
    parent.ClearReceived();
    ASSERT_TRUE(tree.SelectItem(jazz));
    auto selections = parent.Received(TreeMsg(2));
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ((LPARAM)jazz, selections.back().lParam);

    tree.SetFocus();
    tree.SendMessage(WM_KEYDOWN, VK_F2, 0);
    auto keys = parent.Received(TreeMsg(0));
    ASSERT_EQ(1u, keys.size());
    EXPECT_EQ(VK_F2, (int)keys[0].lParam);
    ASSERT_EQ(1u, parent.Received(TreeMsg(6)).size());
    HWND edit = (HWND)tree.SendMessage(TVM_GETEDITCONTROL);
    ASSERT_NE(nullptr, edit);
    SetWindowTextA(edit, "Blues");
    tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    PumpPending();
    EXPECT_FALSE(parent.Received(TreeMsg(7)).empty());
    EXPECT_EQ(SString("Blues"), tree.GetItemText(jazz));

    // A non-zero answer rejects the new text; a cancelled edit is reported apart.
    parent.answers.emplace_back(TreeMsg(7), (LRESULT)1);
    tree.EditLabel(jazz);
    edit = (HWND)tree.SendMessage(TVM_GETEDITCONTROL);
    ASSERT_NE(nullptr, edit);
    SetWindowTextA(edit, "Soul");
    tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(SString("Blues"), tree.GetItemText(jazz));
    tree.EditLabel(jazz);
    tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
    EXPECT_FALSE(parent.Received(TreeMsg(8)).empty());
    EXPECT_EQ(nullptr, tree.EditLabel(nullptr));
}

TEST_F(TreeTest, RightButtonSelectsAndReportsTheMouse)
{
    MakeTree();
    Load(kSample);
    HTREEITEM video = Find("Video");
    RECT text;
    ASSERT_TRUE(tree.GetItemRect(video, &text, true));
    LPARAM at = MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    parent.ClearReceived();
    // The tree reports the context menu at the real pointer: keep it on the item.
    POINT saved, point = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    GetCursorPos(&saved);
    ClientToScreen(tree.GetHandle(), &point);
    SetCursorPos(point.x, point.y);
    tree.PostMessage(WM_RBUTTONUP, 0, at);
    tree.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
    PumpPending();
    SetCursorPos(saved.x, saved.y);
    EXPECT_EQ(video, tree.GetSelectedItem());
    auto mouse = parent.Received(TreeMsg(1));
    ASSERT_FALSE(mouse.empty());
    EXPECT_EQ(12, mouse[0].mouse.code);
    EXPECT_EQ((text.left + text.right) / 2, mouse[0].mouse.x);
}

TEST_F(TreeTest, DoubleClickAnywhereOnTheSelectedRow)
{
    MakeTree();
    Load(kSample);
    HTREEITEM video = Find("Video");
    ASSERT_TRUE(tree.SelectItem(video));
    RECT row, text;
    ASSERT_TRUE(tree.GetItemRect(video, &row, false));
    ASSERT_TRUE(tree.GetItemRect(video, &text, true));
    ASSERT_LT(text.right + 4, row.right - 4);
    // Right of the label, still on the row.
    POINT saved;
    GetCursorPos(&saved);
    POINT point = {row.right - 4, (row.top + row.bottom) / 2};
    ClientToScreen(tree.GetHandle(), &point);
    SetCursorPos(point.x, point.y);
    NMHDR header = {tree.GetHandle(), (UINT_PTR)tree.GetId(), (UINT)NM_DBLCLK};
    parent.ClearReceived();
    parent.SendMessage(WM_NOTIFY, header.idFrom, (LPARAM)&header);
    SetCursorPos(saved.x, saved.y);
    auto mouse = parent.Received(TreeMsg(1));
    ASSERT_EQ(1u, mouse.size());
    EXPECT_EQ(65, mouse[0].mouse.code);
    auto opened = parent.Received(TreeMsg(3));
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ((LPARAM)video, opened[0].lParam);
}

TEST_F(TreeTest, DragOntoAnotherItemMovesIt)
{
    MakeTree();
    tree.EnableDragDrop(true);
    Load(kSample);
    HTREEITEM jazz = Find("Jazz"), video = Find("Video");
    HWND handle = tree.GetHandle();
    ScriptedDrag drag;
    drag.steps = {{LabelPoint(jazz), handle, false}, {LabelPoint(video), handle, false},
                  {LabelPoint(video), handle, false}};
    DragScope scope(&drag);
    parent.ClearReceived();
    tree.DragItem(jazz);
    EXPECT_EQ(1u, parent.Received(TreeMsg(9)).size());
    EXPECT_EQ(1u, parent.Received(TreeMsg(10)).size());
    EXPECT_TRUE(parent.Received(TreeMsg(11)).empty());
    EXPECT_EQ(14, drag.cursors.back());
    EXPECT_EQ("Music\r\n\tRock\r\n\t\tPunk\r\nVideo\r\n\tClips\r\n\tJazz\r\n.\r\n", Shape());
    EXPECT_EQ(SString("Jazz"), tree.GetItemText(tree.GetSelectedItem()));
}

TEST_F(TreeTest, DragOntoItsOwnSubtreeIsRefused)
{
    MakeTree();
    tree.EnableDragDrop(true);
    Load(kSample);
    HTREEITEM music = Find("Music"), punk = Find("Punk");
    HWND handle = tree.GetHandle();
    std::string before = Shape();
    ScriptedDrag drag;
    drag.steps = {{LabelPoint(punk), handle, false}, {LabelPoint(punk), handle, false}};
    DragScope scope(&drag);
    parent.ClearReceived();
    tree.DragItem(music);
    ASSERT_FALSE(drag.cursors.empty());
    EXPECT_EQ(6, drag.cursors.back());
    EXPECT_EQ(1u, parent.Received(TreeMsg(11)).size());
    EXPECT_TRUE(parent.Received(TreeMsg(10)).empty());
    EXPECT_EQ(before, Shape());

    // Escape ends a drag without a drop; a parent can refuse the drag at its start.
    ScriptedDrag escape;
    escape.steps = {{LabelPoint(Find("Video")), handle, false}, {LabelPoint(Find("Video")), handle, true}};
    STreeCtrl::SetDragInput(&escape);
    tree.DragItem(Find("Jazz"));
    EXPECT_EQ(2u, parent.Received(TreeMsg(11)).size());
    parent.answers.emplace_back(TreeMsg(9), (LRESULT)1);
    ScriptedDrag refused;
    refused.steps = {{LabelPoint(Find("Video")), handle, false}, {LabelPoint(Find("Video")), handle, false}};
    STreeCtrl::SetDragInput(&refused);
    tree.DragItem(Find("Jazz"));
    EXPECT_EQ(3u, parent.Received(TreeMsg(9)).size());
    EXPECT_EQ(2u, parent.Received(TreeMsg(11)).size());
    EXPECT_EQ(before, Shape());
}

// A scratch folder tree removed again however the test ends.
class ScratchFolders
{
public:
    ScratchFolders()
    {
        root = disk.GetTempFolder();
        if (root[root.GetLength() - 1] != '\\')
            root += "\\";
        root += "melvora-tree-" + IntToString((int)GetCurrentProcessId()) + "\\";
        ok = disk.CreateFolder(root + "Artist\\Album", true) &&
             disk.CreateFile(root + "Artist\\Album\\song.mp3", true, false) &&
             disk.CreateFile(root + "Artist\\notes.txt", true, false) && disk.CreateFolder(root + "Empty", true);
    }
    ~ScratchFolders()
    {
        disk.DeleteFile(root + "Artist\\Album\\song.mp3");
        disk.DeleteFile(root + "Artist\\notes.txt");
        RemoveDirectoryA(root + "Artist\\Album");
        RemoveDirectoryA(root + "Artist");
        RemoveDirectoryA(root + "Empty");
        RemoveDirectoryA(root);
    }
    SDisk disk;
    SString root;
    bool ok = false;
};

TEST_F(TreeTest, FolderModeFillsOnExpansion)
{
    ScratchFolders scratch;
    ASSERT_TRUE(scratch.ok);
    const SString& root = scratch.root;
    MakeTree();
    tree.SetFolderMode(true, root, "*.mp3", true);
    tree.FillFolder(TVI_ROOT, root);
    HTREEITEM artist = Find("Artist"), empty = Find("Empty");
    ASSERT_NE(nullptr, artist);
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(SString("*"), tree.GetItemText(tree.GetChildItem(artist)));
    EXPECT_EQ(nullptr, tree.GetChildItem(empty));
    EXPECT_EQ(root + "Artist\\", tree.GetItemPath(artist));
    parent.ClearReceived();
    tree.Expand(artist);
    PumpPending();
    EXPECT_EQ(1u, parent.Received(TreeMsg(5)).size());
    HTREEITEM album = Find("Album");
    ASSERT_NE(nullptr, album);
    EXPECT_EQ(nullptr, Find("notes.txt"));
    EXPECT_EQ(1u, parent.Received(TreeMsg(14)).size()); // the placeholder went with notification
    tree.Expand(album);
    HTREEITEM song = Find("song.mp3");
    ASSERT_NE(nullptr, song);
    EXPECT_EQ(root + "Artist\\Album\\song.mp3", tree.GetItemPath(song));
    tree.Destroy();
}

TEST_F(TreeTest, BackColorAndKind)
{
    MakeTree();
    EXPECT_EQ(SKIND_TREE, tree.GetKind());
    EXPECT_TRUE(tree.GetStyle() & TVS_DISABLEDRAGDROP);
    EXPECT_TRUE(tree.GetStyle() & WS_CHILD);
    tree.SetBackColor(RGB(10, 20, 30));
    EXPECT_EQ((unsigned)RGB(10, 20, 30), tree.GetBackColor());
    tree.SetBackColor(SCOLOR_NONE);
    EXPECT_EQ(SCOLOR_NONE, tree.GetBackColor());
}
