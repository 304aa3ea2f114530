#include <gtest/gtest.h>

#include <algorithm>

#include "DesignerTestSupport.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

enum
{
    A_LEFT = 0, A_RIGHT, A_TOP, A_BOTTOM, A_HCENTER, A_VCENTER, A_HSPACE, A_VSPACE, A_NOHSPACE, A_NOVSPACE,
    A_WIDTH, A_HEIGHT, A_SIZE, A_CROP
};

struct Box
{
    int x, y, width, height;
};

// Controls A, B, C... at the boxes, selected in the order given (the first is primary).
std::vector<SControlText> Boxes(const std::vector<Box>& boxes)
{
    static const char* names[] = {"A", "B", "C", "D"};
    std::vector<SControlText> controls;
    for (size_t i = 0; i < boxes.size(); i++)
        controls.push_back({"BUTTON", (int)i + 1, names[i], boxes[i].x, boxes[i].y, boxes[i].width,
                            boxes[i].height, ""});
    return controls;
}

std::vector<Box> BoxesOf(SDesignerFixture& f)
{
    std::vector<Box> boxes;
    for (int i = 0; i < f.editor.GetControlCount(); i++)
    {
        Record* record = f.editor.GetControl(i);
        boxes.push_back({record->GetX(), record->GetY(), record->GetWidth(), record->GetHeight()});
    }
    return boxes;
}

std::string NamesInOrder(SDialogEditor& editor)
{
    std::string names;
    for (int i = 0; i < editor.GetControlCount(); i++)
        names += (const char*)editor.GetControl(i)->GetName();
    return names;
}

} // namespace

TEST(SDialogEditorTools, AlignmentSpacingAndSizeCommands)
{
    struct Case
    {
        const char* what;
        int command;
        std::vector<Box> boxes;
        std::vector<int> selection; // indexes, primary first
        std::vector<Box> expected;
        bool result;
    };
    const std::vector<Case> cases = {
        {"lefts", A_LEFT, {{10, 10, 20, 20}, {40, 50, 30, 20}}, {1, 0}, {{40, 10, 20, 20}, {40, 50, 30, 20}}, true},
        {"rights move the second only", A_RIGHT, {{10, 10, 20, 20}, {40, 50, 30, 20}}, {0, 1},
         {{10, 10, 20, 20}, {0, 50, 30, 20}}, true},
        {"tops", A_TOP, {{10, 10, 20, 20}, {40, 50, 30, 20}}, {0, 1}, {{10, 10, 20, 20}, {40, 10, 30, 20}}, true},
        {"bottoms", A_BOTTOM, {{10, 10, 20, 20}, {40, 50, 30, 25}}, {0, 1}, {{10, 10, 20, 20}, {40, 5, 30, 25}}, true},
        {"horizontal centre", A_HCENTER, {{10, 10, 50, 20}}, {0}, {{125, 10, 50, 20}}, true},
        {"vertical centre keeps the block", A_VCENTER, {{10, 10, 50, 20}, {10, 50, 50, 30}}, {0, 1},
         {{10, 65, 50, 20}, {10, 105, 50, 30}}, true},
        {"horizontal space", A_HSPACE, {{10, 0, 20, 10}, {50, 0, 20, 10}, {200, 0, 20, 10}}, {2, 0, 1},
         {{10, 0, 20, 10}, {50, 0, 20, 10}, {90, 0, 20, 10}}, true},
        {"horizontal space needs three", A_HSPACE, {{10, 0, 20, 10}, {50, 0, 20, 10}}, {0, 1},
         {{10, 0, 20, 10}, {50, 0, 20, 10}}, false},
        {"no vertical spacing stacks", A_NOVSPACE, {{10, 10, 20, 15}, {40, 80, 20, 10}}, {1, 0},
         {{10, 10, 20, 15}, {40, 25, 20, 10}}, true},
        {"vertical space sorts by y, equal ones in selection order", A_VSPACE,
         {{0, 10, 10, 10}, {0, 30, 10, 10}, {20, 30, 10, 10}}, {0, 2, 1},
         {{0, 10, 10, 10}, {0, 50, 10, 10}, {20, 30, 10, 10}}, true},
        {"no horizontal spacing needs two", A_NOHSPACE, {{10, 0, 20, 10}}, {0}, {{10, 0, 20, 10}}, false},
        {"same width", A_WIDTH, {{0, 0, 20, 10}, {0, 20, 40, 30}}, {1, 0}, {{0, 0, 40, 10}, {0, 20, 40, 30}}, true},
        {"same height", A_HEIGHT, {{0, 0, 20, 10}, {0, 20, 40, 30}}, {1, 0}, {{0, 0, 20, 30}, {0, 20, 40, 30}}, true},
        {"same size", A_SIZE, {{0, 0, 20, 10}, {0, 20, 40, 30}}, {1, 0}, {{0, 0, 40, 30}, {0, 20, 40, 30}}, true},
        {"crop without images", A_CROP, {{0, 0, 20, 10}}, {0}, {{0, 0, 20, 10}}, true},
        {"spacing stops at the 16-bit end", A_NOHSPACE, {{0, 0, 30000, 10}, {10, 0, 3000, 10}, {20, 0, 3000, 10}},
         {0, 1, 2}, {{0, 0, 30000, 10}, {30000, 0, 3000, 10}, {32767, 0, 3000, 10}}, true},
        {"unknown command", 14, {{0, 0, 20, 10}}, {0}, {{0, 0, 20, 10}}, false},
    };
    for (const Case& c : cases)
    {
        SDesignerFixture f;
        ASSERT_TRUE(f.Load(DescriptionText(300, 200, Boxes(c.boxes))));
        f.editor.Select(nullptr);
        for (int index : c.selection)
            f.editor.AddToSelection(f.editor.GetControl(index));
        EXPECT_EQ(f.editor.Align(c.command), c.result) << c.what;
        std::vector<Box> boxes = BoxesOf(f);
        for (size_t i = 0; i < boxes.size(); i++)
        {
            EXPECT_EQ(boxes[i].x, c.expected[i].x) << c.what << " " << i;
            EXPECT_EQ(boxes[i].y, c.expected[i].y) << c.what << " " << i;
            EXPECT_EQ(boxes[i].width, c.expected[i].width) << c.what << " " << i;
            EXPECT_EQ(boxes[i].height, c.expected[i].height) << c.what << " " << i;
        }
        // The snapshot is taken before the command checks the selection.
        EXPECT_EQ(f.editor.GetUndoCount(), 1) << c.what;
        EXPECT_EQ(f.host.changes, c.result ? 1 : 0) << c.what;
    }
}

TEST(SDialogEditorTools, AlignWithoutSelectionAndOnTheDialog)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, Boxes({{10, 10, 20, 20}}))));
    f.editor.Select(nullptr);
    EXPECT_FALSE(f.editor.Align(A_LEFT));
    EXPECT_EQ(f.editor.GetUndoCount(), 0);
    // The dialog record selected, no background image: nothing changes, still true.
    f.editor.Select(f.editor.GetDialog());
    const std::string before = SavedText(f.editor);
    EXPECT_TRUE(f.editor.Align(A_CROP));
    EXPECT_TRUE(f.editor.Align(A_HCENTER));
    EXPECT_EQ(SavedText(f.editor), before);
}

TEST(SDialogEditorTools, OrderCommands)
{
    struct Case
    {
        const char* what;
        std::vector<int> selection;
        bool (SDialogEditor::*command)();
        const char* order;
        bool result;
        int undoSteps;
    };
    const Case cases[] = {
        {"to front", {1, 3}, &SDialogEditor::ToFront, "ACBD", true, 1},
        {"to back", {3, 1}, &SDialogEditor::ToBack, "BDAC", true, 1},
        {"forward", {1}, &SDialogEditor::MoveForward, "ACBD", true, 1},
        {"backward", {1}, &SDialogEditor::MoveBackward, "BACD", true, 1},
        {"forward of the last", {3}, &SDialogEditor::MoveForward, "ABCD", false, 0},
        {"backward of the first", {0}, &SDialogEditor::MoveBackward, "ABCD", false, 0},
        {"forward of two", {0, 1}, &SDialogEditor::MoveForward, "ABCD", false, 0},
        {"front of nothing", {}, &SDialogEditor::ToFront, "ABCD", false, 0},
        {"back of nothing", {}, &SDialogEditor::ToBack, "ABCD", false, 0},
    };
    for (const Case& c : cases)
    {
        SDesignerFixture f;
        ASSERT_TRUE(f.Load(DescriptionText(300, 200, Boxes({{0, 0, 9, 9}, {0, 0, 9, 9}, {0, 0, 9, 9}, {0, 0, 9, 9}}))));
        f.editor.Select(nullptr);
        for (int index : c.selection)
            f.editor.AddToSelection(f.editor.GetControl(index));
        EXPECT_EQ((f.editor.*c.command)(), c.result) << c.what;
        EXPECT_EQ(NamesInOrder(f.editor), c.order) << c.what;
        EXPECT_EQ(f.editor.GetUndoCount(), c.undoSteps) << c.what;
        EXPECT_EQ(f.host.changes, c.result ? 1 : 0) << c.what;
    }
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, Boxes({{0, 0, 9, 9}}))));
    f.editor.Select(f.editor.GetDialog());
    EXPECT_FALSE(f.editor.ToFront());
    EXPECT_FALSE(f.editor.ToBack());
}

TEST(SDialogEditorTools, PanelGroupsButtonsAndStates)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, Boxes({{10, 10, 20, 20}, {40, 10, 20, 20}}))));
    RECT rect = {0, 0, 120, 400};
    SDialogEditor::_SToolPanel* panel = f.editor.CreateToolPanel(f.host.GetHandle(), &rect);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(f.editor.GetToolPanel(), panel);
    EXPECT_EQ(panel->GetEditor(), &f.editor);
    ASSERT_EQ(panel->GetGroupCount(), 4);
    struct GroupCase
    {
        int id;
        const char* caption;
        int entries; // buttons and separators
    };
    const GroupCase groups[] = {{0, "Controls", 34}, {1, "Alignment", 16}, {2, "Order", 5}, {3, "Dialog", 3}};
    for (const GroupCase& g : groups)
    {
        ASSERT_NE(panel->GetGroup(g.id), nullptr) << g.id;
        EXPECT_STREQ(panel->GetGroup(g.id)->caption, g.caption);
        EXPECT_EQ(panel->GetGroup(g.id)->buttons.GetCount(), g.entries) << g.id;
    }
    EXPECT_STREQ(panel->GetButton(0, 0)->text, "Selection");
    EXPECT_STREQ(panel->GetButton(0, 2)->text, "Button");
    EXPECT_STREQ(panel->GetButton(0, 33)->text, "External Control");
    EXPECT_STREQ(panel->GetButton(1, 13)->text, "Crop Back Image");
    EXPECT_STREQ(panel->GetButton(3, 2)->text, "Test Dialog");
    EXPECT_TRUE(panel->IsButtonChecked(0, 0));
    EXPECT_TRUE(panel->IsButtonChecked(3, 0));
    EXPECT_TRUE(panel->IsButtonChecked(3, 1));
    // A second build adds nothing.
    f.editor.BuildToolPanel();
    EXPECT_EQ(panel->GetGroup(0)->buttons.GetCount(), 34);

    struct StateCase
    {
        int selected; // -1: the dialog record
        std::vector<int> alignEnabled;
        std::vector<int> orderEnabled;
    };
    const StateCase states[] = {
        {0, {A_CROP}, {}},
        {-1, {A_CROP}, {}},
        {1, {A_LEFT, A_RIGHT, A_TOP, A_BOTTOM, A_HCENTER, A_VCENTER, A_CROP}, {0, 1, 2, 3}},
        {2,
         {A_LEFT, A_RIGHT, A_TOP, A_BOTTOM, A_HCENTER, A_VCENTER, A_HSPACE, A_VSPACE, A_NOHSPACE, A_NOVSPACE,
          A_WIDTH, A_HEIGHT, A_SIZE, A_CROP},
         {0, 1}},
    };
    for (const StateCase& s : states)
    {
        f.editor.Select(s.selected == -1 ? f.editor.GetDialog() : nullptr);
        for (int i = 0; i < s.selected; i++)
            f.editor.AddToSelection(f.editor.GetControl(i));
        ASSERT_TRUE(f.editor.RefreshToolPanel());
        for (int id = 0; id <= A_CROP; id++)
        {
            bool expected = std::find(s.alignEnabled.begin(), s.alignEnabled.end(), id) != s.alignEnabled.end();
            EXPECT_EQ(panel->IsButtonEnabled(1, id), expected) << s.selected << " align " << id;
        }
        for (int id = 0; id < 4; id++)
        {
            bool expected = std::find(s.orderEnabled.begin(), s.orderEnabled.end(), id) != s.orderEnabled.end();
            EXPECT_EQ(panel->IsButtonEnabled(2, id), expected) << s.selected << " order " << id;
        }
    }
}

TEST(SDialogEditorTools, PanelButtonsRunTheirCommands)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, Boxes({{10, 10, 20, 20}, {40, 50, 30, 20}}))));
    RECT rect = {0, 0, 120, 400};
    SDialogEditor::_SToolPanel* panel = f.editor.CreateToolPanel(f.host.GetHandle(), &rect);
    ASSERT_NE(panel, nullptr);
    auto click = [&](int group, int button) { panel->OnButtonClick(group, button, panel->GetButton(group, button)); };

    // Tools: a type, the same again (nothing), then the selection tool.
    click(0, SDialogEditor::TYPE_EDIT);
    EXPECT_EQ(f.editor.GetInsertTool(), SDialogEditor::TYPE_EDIT);
    EXPECT_TRUE(panel->IsButtonChecked(0, SDialogEditor::TYPE_EDIT));
    EXPECT_FALSE(panel->IsButtonChecked(0, 0));
    f.editor.SetInsertTool(-1);
    click(0, SDialogEditor::TYPE_EDIT);
    EXPECT_EQ(f.editor.GetInsertTool(), -1);
    click(0, 0);
    EXPECT_TRUE(panel->IsButtonChecked(0, 0));
    EXPECT_EQ(f.editor.GetInsertTool(), -1);

    // Alignment and order.
    f.editor.Select(f.Control("B"));
    f.editor.AddToSelection(f.Control("A"));
    click(1, A_LEFT);
    EXPECT_EQ(f.Control("A")->GetX(), 40);
    f.editor.Select(f.Control("B"));
    click(2, 1);
    EXPECT_EQ(NamesInOrder(f.editor), "BA");

    // Grid and snap follow their buttons; the designer's switches follow back.
    click(3, 0);
    EXPECT_FALSE(f.editor.IsGridVisible());
    EXPECT_FALSE(panel->IsButtonChecked(3, 0));
    click(3, 1);
    EXPECT_FALSE(f.editor.IsSnapToGrid());
    f.editor.SetGridVisible(true);
    f.editor.SetSnapToGrid(true);
    EXPECT_TRUE(panel->IsButtonChecked(3, 0));
    EXPECT_TRUE(panel->IsButtonChecked(3, 1));

    // Test runs through the designer input (a dialog never shown is destroyed at once under Xvfb).
    f.editor.GetDialog()->RemoveStyle(WS_VISIBLE);
    click(3, 2);
    EXPECT_EQ(f.input.modalRuns, 1);
    EXPECT_EQ(f.editor.panelCommands.size(), 8u);
    EXPECT_EQ(f.editor.panelCommands.back(), std::make_pair(3, 2));
}
