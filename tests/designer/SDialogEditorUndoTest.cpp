#include <gtest/gtest.h>

#include <string.h>

#include "../dialog/DescriptionSupport.h"
#include "DesignerTestSupport.h"
#include "SClipboard.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

const std::vector<SControlText> kControls = {
    {"BUTTON", 1, "Ok", 20, 20, 50, 20, ""},
    {"EDIT", 2, "Entry", 100, 20, 80, 20, ""},
    {"LABEL", 3, "Note", 20, 80, 80, 20, ""},
};

const std::string kMagic("TAVRIN DIALOG 1.0.0.0", 22);

std::string BlockOf(std::initializer_list<Record*> records)
{
    SFileMem stream;
    stream.Allocate(0);
    stream.Write(kMagic.data(), (int)kMagic.size());
    for (Record* record : records)
        record->WriteBinary(&stream);
    return std::string((const char*)stream.GetBuffer(), (size_t)stream.GetSize());
}

bool PasteBytes(SDialogEditor& editor, const std::string& bytes)
{
    SFileMem stream;
    stream.Allocate(0);
    stream.Write(bytes.data(), (int)bytes.size());
    return editor.PasteBlock(&stream);
}

bool PutOnClipboard(const std::string& bytes)
{
    SFileMem stream;
    stream.Allocate(0);
    stream.Write(bytes.data(), (int)bytes.size());
    stream.Rewind();
    return SClipboard::SetData(&stream);
}

} // namespace

// --- undo and redo ---

TEST(SDialogEditorUndo, ThirtyThreeEditsKeepTheNewestThirtyTwo)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    Record* ok = f.Control("Ok");
    f.editor.Select(ok);
    for (int i = 0; i < 33; i++)
        f.editor.OnKeyDown(VK_RIGHT);
    EXPECT_EQ(f.Control("Ok")->GetX(), 20 + 33 * 5);
    EXPECT_EQ(f.editor.GetUndoCount(), 32);
    for (int i = 0; i < 32; i++)
        EXPECT_TRUE(f.editor.Undo()) << i;
    EXPECT_FALSE(f.editor.Undo());
    // The oldest step was dropped: the first move stays.
    EXPECT_EQ(f.Control("Ok")->GetX(), 25);
    EXPECT_EQ(f.editor.GetRedoCount(), 32);
}

TEST(SDialogEditorUndo, UndoRestoresRecordsAndSelectionByID)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    const std::string before = SavedText(f.editor);
    f.editor.Select(f.Control("Entry"));
    f.editor.AddToSelection(f.Control("Ok"));
    f.editor.OnKeyDown(VK_DOWN);
    f.editor.Select(f.Control("Note"));
    ASSERT_TRUE(f.editor.DeleteSelection());
    ASSERT_EQ(f.editor.GetControlCount(), 2);
    f.host.changes = 0;
    f.editor.changes.clear();

    f.editor.OnUndo();
    ASSERT_EQ(f.editor.GetControlCount(), 3);
    ASSERT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("Note"));
    EXPECT_EQ(f.host.changes, 1);
    // Undo empties the selection, then announces the restored one.
    ASSERT_EQ(f.editor.changes.size(), 2u);
    EXPECT_EQ(f.editor.changes[0].second, nullptr);
    EXPECT_EQ(f.editor.changes[1].first, nullptr);
    EXPECT_EQ(f.editor.changes[1].second, f.Control("Note"));

    f.editor.OnUndo();
    EXPECT_EQ(SavedText(f.editor), before);
    // The selected records come back in list order: Ok before Entry.
    ASSERT_EQ(f.editor.GetSelectedCount(), 2);
    EXPECT_EQ(f.editor.GetSelected(0), f.Control("Ok"));
    EXPECT_EQ(f.editor.GetSelected(1), f.Control("Entry"));
    ASSERT_EQ(f.editor.changes.size(), 4u);
    EXPECT_EQ(f.editor.changes[2].second, nullptr);
    EXPECT_EQ(f.editor.changes[3].first, nullptr);
    EXPECT_EQ(f.editor.changes[3].second, f.Control("Ok"));
    // The previews are made again for the restored records.
    EXPECT_NE(f.Control("Note")->GetWnd(), nullptr);
}

TEST(SDialogEditorUndo, RedoTakesUndoBackUntilTheNextEdit)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.Control("Ok"));
    f.editor.OnKeyDown(VK_RIGHT);
    f.editor.OnKeyDown(VK_RIGHT);
    ASSERT_TRUE(f.editor.Undo());
    EXPECT_EQ(f.Control("Ok")->GetX(), 25);
    ASSERT_TRUE(f.editor.Redo());
    EXPECT_EQ(f.Control("Ok")->GetX(), 30);
    EXPECT_EQ(f.editor.GetUndoCount(), 2);
    EXPECT_FALSE(f.editor.Redo());

    ASSERT_TRUE(f.editor.Undo());
    // A refused edit leaves what can be redone.
    f.editor.refuseRemoveIds = {1};
    f.editor.Select(f.Control("Ok"));
    EXPECT_FALSE(f.editor.DeleteSelection());
    EXPECT_EQ(f.editor.GetRedoCount(), 1);
    EXPECT_EQ(f.editor.GetUndoCount(), 1);
    // An edit that stands ends it.
    f.editor.Select(f.Control("Ok"));
    f.editor.OnKeyDown(VK_UP);
    EXPECT_EQ(f.editor.GetRedoCount(), 0);
    EXPECT_FALSE(f.editor.Redo());
}

TEST(SDialogEditorUndo, NoSnapshotWithoutDescriptionOrWithTheFlagOff)
{
    SDesignerFixture f;
    f.editor.Close();
    f.editor.PushUndo();
    EXPECT_EQ(f.editor.GetUndoCount(), 0);
    EXPECT_FALSE(f.editor.Undo());

    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.SetUndoEnabled(false);
    f.editor.Select(f.Control("Ok"));
    f.editor.OnKeyDown(VK_RIGHT);
    EXPECT_EQ(f.editor.GetUndoCount(), 0);
    f.editor.SetUndoEnabled(true);
    f.editor.OnKeyDown(VK_RIGHT);
    EXPECT_EQ(f.editor.GetUndoCount(), 1);
    f.editor.PopUndo();
    EXPECT_EQ(f.editor.GetUndoCount(), 0);
    f.editor.PopUndo();
    EXPECT_EQ(f.editor.GetUndoCount(), 0);

    // Closing the description forgets every step.
    f.editor.OnKeyDown(VK_RIGHT);
    f.editor.Close();
    EXPECT_EQ(f.editor.GetUndoCount(), 0);
}

TEST(SDialogEditorUndo, UndoBringsBackTheDialogRecord)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.editor.GetDialog());
    f.input.shift = true;
    f.editor.OnKeyDown(VK_RIGHT);
    f.input.shift = false;
    EXPECT_EQ(f.editor.GetDialog()->GetWidth(), 305);
    ASSERT_TRUE(f.editor.Undo());
    EXPECT_EQ(f.editor.GetDialog()->GetWidth(), 300);
}

TEST(SDialogEditorUndo, UndoAndRedoKeepTheSelectedRecordsBesideAControlWithIDZero)
{
    const std::vector<SControlText> controls = {
        {"BUTTON", 0, "Zero", 20, 20, 50, 20, ""},
        {"EDIT", 2, "Entry", 100, 20, 80, 20, ""},
    };
    struct Case
    {
        const char* name;
        // Names of the records to select, in order; "" is the dialog record.
        std::vector<const char*> selected;
        // Names of the records selected after Undo, in order.
        std::vector<const char*> restored;
    };
    const Case cases[] = {
        {"the dialog record", {""}, {""}},
        {"the control with ID 0", {"Zero"}, {"Zero"}},
        {"two controls", {"Entry", "Zero"}, {"Zero", "Entry"}},
    };
    for (const Case& c : cases)
    {
        SDesignerFixture f;
        ASSERT_TRUE(f.Load(DescriptionText(300, 200, controls)));
        ASSERT_EQ(f.Control("Zero")->GetID(), 0);
        auto find = [&f](const char* name) { return *name ? f.Control(name) : f.editor.GetDialog(); };
        f.editor.Select(nullptr);
        for (const char* name : c.selected)
            f.editor.AddToSelection(find(name));
        // One record is resized, two are moved.
        f.input.shift = c.selected.size() == 1;
        f.editor.OnKeyDown(VK_RIGHT);
        f.input.shift = false;
        ASSERT_EQ(f.editor.GetUndoCount(), 1) << c.name;
        for (int step = 0; step < 2; step++)
        {
            ASSERT_TRUE(step == 0 ? f.editor.Undo() : f.editor.Redo()) << c.name;
            ASSERT_EQ(f.editor.GetSelectedCount(), (int)c.restored.size()) << c.name << " step " << step;
            for (size_t i = 0; i < c.restored.size(); i++)
                EXPECT_EQ(f.editor.GetSelected((int)i), find(c.restored[i])) << c.name << " step " << step;
            EXPECT_EQ(f.editor.IsDialogSelected(), *c.restored[0] == 0) << c.name << " step " << step;
        }
    }
}

// --- the record form ---

TEST(SDialogEditorClipboard, RecordBytesAreLittleEndianWithoutPadding)
{
    Record record;
    record.SetID(0x0102);
    record.SetType(SDialogEditor::TYPE_EDIT);
    record.SetName("Ab");
    record.SetCaption("C");
    record.SetFont("", -3, 0x11223344);
    record.SetX(-2);
    record.SetY(0x0304);
    record.SetWidth(5);
    record.SetHeight(6);
    record.SetLocked(true);
    record.AssignStyle(0x50010000);
    record.AssignExStyle(0x200);
    record.SetBackColor(0xFF000000);
    record.SetTextColor(0x00A0B0C0);
    record.SetTransparent(true);
    record.SetExtraProperties("K=1\r\n");
    const uint8_t expected[] = {
        0x02, 0x01, 6, 0, 'A', 'b', 0, 'C', 0, 0, 0xFD, 0xFF, 0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF, 0x04, 0x03,
        5, 0, 6, 0, 1, 0, 0x00, 0x00, 0x01, 0x50, 0x00, 0x02, 0, 0, 0, 0, 0, 0xFF, 0xC0, 0xB0, 0xA0, 0x00,
        1, 'K', '=', '1', '\r', '\n', 0};
    SFileMem stream;
    stream.Allocate(0);
    ASSERT_EQ(record.WriteBinary(&stream), (int)sizeof(expected));
    ASSERT_EQ(stream.GetSize(), (int)sizeof(expected));
    EXPECT_EQ(memcmp(stream.GetBuffer(), expected, sizeof(expected)), 0);

    stream.Rewind();
    Record copy;
    ASSERT_EQ(copy.ReadBinary(&stream), (int)sizeof(expected));
    EXPECT_EQ(copy.GetID(), 0x0102);
    EXPECT_EQ(copy.GetType(), SDialogEditor::TYPE_EDIT);
    EXPECT_STREQ(copy.GetName(), "Ab");
    EXPECT_STREQ(copy.GetCaption(), "C");
    EXPECT_EQ(copy.GetFontSize(), -3);
    EXPECT_EQ(copy.GetFontStyle(), 0x11223344u);
    EXPECT_EQ(copy.GetX(), -2);
    EXPECT_EQ(copy.GetY(), 0x0304);
    EXPECT_TRUE(copy.IsLocked());
    EXPECT_FALSE(copy.IsDialog());
    EXPECT_EQ(copy.GetStyle(), 0x50010000u);
    EXPECT_EQ(copy.GetExStyle(), 0x200u);
    EXPECT_EQ(copy.GetBackColor(), 0xFF000000u);
    EXPECT_EQ(copy.GetTextColor(), 0x00A0B0C0u);
    EXPECT_TRUE(copy.GetTransparent());
    EXPECT_STREQ(copy.GetExtraProperties(), "K=1\r\n");
    EXPECT_EQ(copy.ReadBinary(nullptr), 0);
    EXPECT_EQ(record.WriteBinary(nullptr), 0);
}

// --- copy, cut and paste ---

TEST(SDialogEditorClipboard, CopyNeedsControlsAndKeepsTheClipboardOtherwise)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    ASSERT_TRUE(SClipboard::SetText("before"));
    EXPECT_FALSE(f.editor.CanPaste());
    f.editor.Select(f.editor.GetDialog());
    EXPECT_FALSE(f.editor.CopyToClipboard());
    f.editor.Select(nullptr);
    EXPECT_FALSE(f.editor.CopyToClipboard());
    EXPECT_STREQ(SClipboard::GetText(), "before");

    f.editor.Select(f.Control("Entry"));
    f.editor.AddToSelection(f.Control("Ok"));
    ASSERT_TRUE(f.editor.CopyToClipboard());
    EXPECT_TRUE(f.editor.CanPaste());
    SFileMem stream;
    stream.Allocate(0);
    ASSERT_GT(SClipboard::GetData(&stream), 0);
    // Magic, then the records in selection order.
    std::string bytes((const char*)stream.GetBuffer(), (size_t)stream.GetSize());
    EXPECT_EQ(bytes, BlockOf({f.Control("Entry"), f.Control("Ok")}));
}

TEST(SDialogEditorClipboard, PasteKeepsFreeNamesAndGivesNewIDs)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    Record source;
    source.SetType(SDialogEditor::TYPE_BUTTON);
    source.SetID(1);
    source.SetName("Fresh");
    source.SetX(40);
    source.SetY(50);
    source.SetWidth(60);
    source.SetHeight(25);
    ASSERT_TRUE(PutOnClipboard(BlockOf({&source})));
    f.editor.Select(f.Control("Ok"));
    f.editor.OnPaste();
    f.editor.OnPaste();
    ASSERT_EQ(f.editor.GetControlCount(), 5);
    Record* first = f.editor.GetControl(3);
    Record* second = f.editor.GetControl(4);
    EXPECT_STREQ(first->GetName(), "Fresh");
    EXPECT_STREQ(second->GetName(), "BUTTON1");
    EXPECT_EQ(first->GetID(), 4);
    EXPECT_EQ(second->GetID(), 5);
    EXPECT_EQ(second->GetX(), 40);
    EXPECT_EQ(second->GetY(), 50);
    ASSERT_EQ(f.editor.GetSelectedCount(), 1);
    EXPECT_EQ(f.editor.GetPrimary(), second);
    EXPECT_EQ(f.editor.GetUndoCount(), 2);
    EXPECT_EQ(f.host.changes, 2);
    ASSERT_TRUE(f.editor.Undo());
    ASSERT_TRUE(f.editor.Undo());
    EXPECT_EQ(f.editor.GetControlCount(), 3);
}

TEST(SDialogEditorClipboard, PasteBetweenTwoDesignersCarriesEveryField)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    Record* entry = f.Control("Entry");
    entry->SetLocked(true);
    entry->SetBackColor(0x00123456);
    entry->SetTextColor(0xFE000005);
    entry->SetTransparent(true);
    entry->SetFont("Tahoma", 9, 1);
    entry->AddExStyle(WS_EX_CLIENTEDGE);
    entry->SetProperty("EDIT_TEXT", "hello");
    f.editor.Select(entry);
    f.editor.AddToSelection(f.Control("Note"));
    ASSERT_TRUE(f.editor.CopyToClipboard());

    STestEditor other;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(other.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, f.host.GetHandle()));
    ASSERT_TRUE(LoadDescription(other, DescriptionText(200, 100, {})));
    ASSERT_TRUE(other.PasteFromClipboard());
    ASSERT_EQ(other.GetControlCount(), 2);
    Record* copy = other.GetControl(0);
    EXPECT_STREQ(copy->GetName(), "Entry");
    EXPECT_STREQ(other.GetControl(1)->GetName(), "Note");
    EXPECT_EQ(copy->GetType(), SDialogEditor::TYPE_EDIT);
    EXPECT_TRUE(copy->IsLocked());
    EXPECT_FALSE(copy->IsDialog());
    EXPECT_EQ(copy->GetBackColor(), 0x00123456u);
    EXPECT_EQ(copy->GetTextColor(), 0xFE000005u);
    EXPECT_TRUE(copy->GetTransparent());
    EXPECT_STREQ(copy->GetFontFace(), "Tahoma");
    EXPECT_EQ(copy->GetFontSize(), 9);
    EXPECT_EQ(copy->GetFontStyle(), 1u);
    EXPECT_EQ(copy->GetStyle(), entry->GetStyle());
    EXPECT_EQ(copy->GetExStyle(), entry->GetExStyle());
    EXPECT_STREQ(copy->GetExtraProperties(), entry->GetExtraProperties());
    EXPECT_EQ(copy->GetX(), entry->GetX());
    EXPECT_EQ(copy->GetWidth(), entry->GetWidth());
    ASSERT_EQ(other.GetSelectedCount(), 2);
    EXPECT_EQ(other.GetPrimary(), copy);
    other.Destroy();
}

TEST(SDialogEditorClipboard, PastedRecordsSaveIntoADescriptionThatLoadsThemAgain)
{
    // Any program can put a block on the clipboard: its texts may hold what a
    // description cannot, and pasting makes them what the reader would give.
    struct Case
    {
        const char* name;
        const char* caption;
        const char* extra;
        const char* pastedName;
        const char* pastedCaption;
        const char* pastedExtra;
    };
    const Case cases[] = {
        {"Plain", "Plain", "HALIGN=1\r\nTOOLTIP=x=y\r\n", "Plain", "Plain", "HALIGN=1\r\nTOOLTIP=x=y\r\n"},
        {"Lines", "Lines", "TOOLTIP=a\r\nbroken\r\nB=1\nID=9", "Lines", "Lines", "TOOLTIP=a\r\nB=1 ID=9\r\n"},
        {"x\ry", "a\r\nb", "A=1\rNAME=z", "x y", "a  b", "A=1 NAME=z\r\n"},
        {"Empty", "Empty", "\r\n\r\n=x\r\nC=3", "Empty", "Empty", "C=3\r\n"},
        {"Bare", "Bare", "\nPOSITION=0 0 9 9\r\n", "Bare", "Bare", " POSITION=0 0 9 9\r\n"},
    };
    for (const Case& c : cases)
    {
        SDesignerFixture f;
        ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
        Record record;
        record.SetType(SDialogEditor::TYPE_BUTTON);
        record.SetID(9);
        record.SetName(c.name);
        record.SetCaption(c.caption);
        record.SetExtraProperties(c.extra);
        record.SetX(5);
        record.SetWidth(40);
        ASSERT_TRUE(PasteBytes(f.editor, BlockOf({&record}))) << c.name;
        ASSERT_EQ(f.editor.GetControlCount(), 4) << c.name;
        Record* pasted = f.editor.GetControl(3);
        EXPECT_STREQ(pasted->GetName(), c.pastedName) << c.name;
        EXPECT_STREQ(pasted->GetCaption(), c.pastedCaption) << c.name;
        EXPECT_STREQ(pasted->GetExtraProperties(), c.pastedExtra) << c.name;
        EXPECT_EQ(pasted->GetX(), 5) << c.name;
        EXPECT_EQ(RoundTripFault(f.editor), "") << c.name;
    }
}

TEST(SDialogEditorClipboard, DamagedOrForeignBlocksPasteNothing)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.Control("Ok"));
    Record good;
    good.SetType(SDialogEditor::TYPE_LABEL);
    good.SetName("Good");
    good.SetWidth(40);
    good.SetHeight(20);
    good.SetExtraProperties("LABEL_TEXT=x\r\n");
    const std::string one = BlockOf({&good});
    const std::string two = BlockOf({&good, &good});
    const size_t recordSize = one.size() - kMagic.size();

    auto withByte = [](std::string bytes, size_t at, char value) {
        bytes[at] = value;
        return bytes;
    };
    // Offsets inside a record: type at 2, the flags after the texts and 14 bytes of numbers.
    const size_t type = kMagic.size() + 2;
    const size_t flags = kMagic.size() + 4 + strlen("Good") + 1 + 1 + 1 + 14;
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"empty", std::string()},
        {"magic only", kMagic},
        {"magic without its NUL", kMagic.substr(0, 21)},
        {"another magic", std::string("TAVRIN DIALOG 2.0.0.0", 22) + one.substr(kMagic.size())},
        {"plain text", std::string("hello world")},
        {"unknown type", withByte(one, type, 99)},
        {"negative type", withByte(withByte(one, type, (char)0xFF), type + 1, (char)0xFF)},
        {"the dialog type", withByte(one, type, 0)},
        {"locked flag 2", withByte(one, flags, 2)},
        {"dialog flag set", withByte(one, flags + 1, 1)},
        {"transparent flag 7", withByte(one, flags + 18, 7)},
        {"last text without NUL", one.substr(0, one.size() - 1)},
        {"good record then a damaged one", two.substr(0, two.size() - 3)},
        {"good record then a stray byte", one + std::string(1, '\x01')},
    };
    // Every cut inside a record, in the first and in the second.
    for (size_t cut = 1; cut < recordSize; cut++)
    {
        cases.push_back({"first record cut", one.substr(0, kMagic.size() + cut)});
        cases.push_back({"second record cut", two.substr(0, one.size() + cut)});
    }
    const std::string before = SavedText(f.editor);
    for (const Case& c : cases)
    {
        EXPECT_FALSE(PasteBytes(f.editor, c.bytes)) << c.what << " " << c.bytes.size();
        EXPECT_EQ(f.editor.GetControlCount(), 3) << c.what;
        EXPECT_EQ(f.editor.GetUndoCount(), 0) << c.what;
        EXPECT_EQ(f.editor.GetPrimary(), f.Control("Ok")) << c.what;
    }
    EXPECT_EQ(SavedText(f.editor), before);

    // The same through the clipboard, and the intact blocks for comparison.
    ASSERT_TRUE(PutOnClipboard(withByte(one, type, 99)));
    f.editor.OnPaste();
    EXPECT_EQ(f.editor.GetControlCount(), 3);
    EXPECT_EQ(f.host.changes, 0);
    EXPECT_TRUE(PasteBytes(f.editor, two));
    EXPECT_EQ(f.editor.GetControlCount(), 5);
    EXPECT_EQ(f.editor.GetUndoCount(), 1);
}

TEST(SDialogEditorClipboard, RefusedPasteLeavesTheModelAsItWas)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.Control("Note"));
    Record good;
    good.SetType(SDialogEditor::TYPE_BUTTON);
    good.SetName("Extra");
    const std::string before = SavedText(f.editor);
    f.editor.refuseAdd = true;
    EXPECT_FALSE(PasteBytes(f.editor, BlockOf({&good, &good})));
    EXPECT_EQ(f.editor.addAsked, 1);
    EXPECT_EQ(SavedText(f.editor), before);
    EXPECT_EQ(f.editor.GetUndoCount(), 0);
    EXPECT_EQ(f.editor.GetPrimary(), f.Control("Note"));
}

TEST(SDialogEditorClipboard, CutRemovesWhatTheOwnerAllows)
{
    SDesignerFixture f;
    ASSERT_TRUE(f.Load(DescriptionText(300, 200, kControls)));
    f.editor.Select(f.Control("Ok"));
    f.editor.AddToSelection(f.Control("Entry"));
    f.editor.AddToSelection(f.Control("Note"));
    f.editor.refuseRemoveIds = {2};
    f.editor.OnCut();
    // Asked from the last selection entry to the first.
    EXPECT_EQ(f.editor.removeAsked, (std::vector<int>{3, 2, 1}));
    ASSERT_EQ(f.editor.GetControlCount(), 1);
    EXPECT_STREQ(f.editor.GetControl(0)->GetName(), "Entry");
    EXPECT_EQ(f.editor.GetSelectedCount(), 0);
    EXPECT_EQ(f.editor.GetUndoCount(), 1);
    EXPECT_EQ(f.host.changes, 1);
    EXPECT_TRUE(f.editor.CanPaste());

    // Nothing removed: the copy stands, no undo step is left.
    f.editor.Select(f.Control("Entry"));
    EXPECT_TRUE(f.editor.Cut());
    EXPECT_EQ(f.editor.GetControlCount(), 1);
    EXPECT_EQ(f.editor.GetUndoCount(), 1);

    f.editor.Select(f.editor.GetDialog());
    EXPECT_FALSE(f.editor.Cut());
    EXPECT_EQ(f.editor.GetUndoCount(), 1);
}
