#include <gtest/gtest.h>

#include "PropertySheetSupport.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

const std::vector<SControlText> kControls = {
    {"BUTTON", 1, "First", 10, 10, 50, 20, ""},
    {"BUTTON", 2, "Second", 100, 40, 60, 30, ""},
    {"EDIT", 3, "Third", 30, 120, 80, 20, ""},
    {"LABEL", 4, "Fourth", 150, 120, 80, 20, ""},
};

TEST(SDesignerPropertyApply, TextsAndNumbersReachTheRecord)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kControls)));
    Record* button = s.Control("First");
    s.f.editor.Select(button);
    int undo = s.f.editor.GetUndoCount();

    ASSERT_TRUE(s.Type("CAPTION", "Press me"));
    EXPECT_EQ(std::string(button->GetCaption()), "Press me");
    ASSERT_TRUE(s.Type("TOOLTIP", "Does it"));
    EXPECT_EQ(std::string(button->GetProperty("TOOLTIP")), "Does it");
    ASSERT_TRUE(s.Type("TABGROUP", "3"));
    EXPECT_EQ(std::string(button->GetProperty("TABGROUP")), "3");

    // Geometry: plain numbers, numbers past the 16-bit range stop at its ends, text gives 0.
    struct Case
    {
        const char* key;
        const char* typed;
        int stored;
    };
    const Case cases[] = {
        {"X", "42", 42},           {"Y", "-7", -7},         {"WIDTH", "70000", 32767}, {"HEIGHT", "-40000", -32768},
        {"X", "abc", 0},           {"Y", "12px", 12},       {"WIDTH", "32767", 32767}, {"HEIGHT", "65", 65},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(s.Type(c.key, c.typed)) << c.key;
        int stored = c.key[0] == 'X' ? button->GetX()
                   : c.key[0] == 'Y' ? button->GetY()
                   : c.key[0] == 'W' ? button->GetWidth()
                                     : button->GetHeight();
        EXPECT_EQ(stored, c.stored) << c.key << " " << c.typed;
        // The sheet shows what the record holds.
        EXPECT_EQ(s.Text(c.key), std::to_string(c.stored)) << c.key;
    }
    // Every edit is one undo step and one change notification.
    int edits = 3 + (int)(sizeof(cases) / sizeof(cases[0]));
    EXPECT_EQ(s.f.editor.GetUndoCount(), undo + edits);
    EXPECT_EQ(s.f.host.changes, edits);
}

TEST(SDesignerPropertyApply, AnEditIsOneUndoStep)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kControls)));
    s.f.editor.Select(s.Control("First"));
    ASSERT_TRUE(s.Type("CAPTION", "Changed"));
    ASSERT_TRUE(s.Type("WIDTH", "99"));
    ASSERT_TRUE(s.f.editor.Undo());
    Record* button = s.Control("First");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetWidth(), 50);
    EXPECT_EQ(std::string(button->GetCaption()), "Changed");
    ASSERT_TRUE(s.f.editor.Undo());
    button = s.Control("First");
    EXPECT_EQ(std::string(button->GetCaption()), "First");
    // The sheet shows the restored record.
    EXPECT_EQ(s.Text("CAPTION"), "First");
}

TEST(SDesignerPropertyApply, RenameChecksTheName)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kControls)));
    Record* button = s.Control("First");
    s.f.editor.Select(button);
    int undo = s.f.editor.GetUndoCount();

    ASSERT_TRUE(s.Type("NAME", "OkButton"));
    EXPECT_EQ(std::string(button->GetName()), "OkButton");
    EXPECT_EQ(s.f.editor.GetUndoCount(), undo + 1);
    EXPECT_TRUE(s.f.input.messages.empty());

    // Taken, empty or not an identifier: the warning, the old name, no undo step, no notification.
    int changes = s.f.host.changes;
    for (const char* refused : {"Second", "", "9lives"})
    {
        s.f.input.messages.clear();
        ASSERT_TRUE(s.Type("NAME", refused));
        EXPECT_EQ(std::string(button->GetName()), "OkButton") << refused;
        EXPECT_EQ(s.Text("NAME"), "OkButton") << refused;
        ASSERT_EQ(s.f.input.messages.size(), 1u) << refused;
        EXPECT_EQ(s.f.input.messages[0].first, "Error");
        EXPECT_EQ(s.f.input.messages[0].second, "This name already exists.");
    }
    // The same name again changes nothing and shows nothing.
    s.f.input.messages.clear();
    ASSERT_TRUE(s.Type("NAME", "OkButton"));
    EXPECT_TRUE(s.f.input.messages.empty());
    EXPECT_EQ(s.f.editor.GetUndoCount(), undo + 1);
    EXPECT_EQ(s.f.host.changes, changes);
}

TEST(SDesignerPropertyApply, YesNoItemsToggleStylesAndWriteFlags)
{
    struct Case
    {
        int type;
        const char* key;
        bool exStyle;
        uint32_t mask;   // 0: an extra property
        bool startsOn;   // the item's value before the click
    };
    const Case cases[] = {
        {SDialogEditor::TYPE_BUTTON, "BUTTON_FLAT", false, 0x8000, false},
        {SDialogEditor::TYPE_BUTTON, "VISIBLE", false, WS_VISIBLE, false},
        {SDialogEditor::TYPE_BUTTON, "ENABLED", false, WS_DISABLED, true},
        {SDialogEditor::TYPE_TREE, "TREE_DRAGDROP", false, 0x10, true},
        {SDialogEditor::TYPE_EDIT, "EDIT_PASSWORD", false, 0x20, false},
        {SDialogEditor::TYPE_DIALOG, "DIALOG_TOPMOST", true, 0x8, false},
        {SDialogEditor::TYPE_DIALOG, "DIALOG_TOOLWINDOW", true, 0x80, false},
        {SDialogEditor::TYPE_EDIT, "BORDER", false, WS_BORDER, false},
        {SDialogEditor::TYPE_EDIT, "CLIENTEDGE", true, WS_EX_CLIENTEDGE, false},
        {SDialogEditor::TYPE_RICHEDIT, "STATICEDGE", true, WS_EX_STATICEDGE, false},
        {SDialogEditor::TYPE_RICHEDIT, "RICHEDIT_SUNKEN", false, 0x4000, false},
        {SDialogEditor::TYPE_BROWSER, "BORDER", false, WS_BORDER, false},
    };
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    for (const Case& c : cases)
    {
        Record record;
        record.SetType(c.type);
        s.Select({&record});
        ASSERT_TRUE(s.Has(c.key)) << c.key;
        EXPECT_EQ(s.Find(c.key)->flag, c.startsOn) << c.key;
        uint32_t before = c.exStyle ? record.GetExStyle() : record.GetStyle();
        ASSERT_TRUE(s.Toggle(c.key));
        uint32_t after = c.exStyle ? record.GetExStyle() : record.GetStyle();
        EXPECT_EQ(before ^ after, c.mask) << c.key;
        EXPECT_EQ(s.Find(c.key)->flag, !c.startsOn) << c.key;
        ASSERT_TRUE(s.Toggle(c.key));
        EXPECT_EQ(c.exStyle ? record.GetExStyle() : record.GetStyle(), before) << c.key;
    }

    // Flags kept as extra properties are written "1" and "0".
    const struct
    {
        int type;
        const char* key;
    } flags[] = {
        {SDialogEditor::TYPE_WAVEEDITOR, "WAVEEDITOR_POPUPMENU"}, {SDialogEditor::TYPE_TABDOC, "TABDOC_CLOSE"},
        {SDialogEditor::TYPE_BUTTON, "TABENABLED"},              {SDialogEditor::TYPE_LABEL, "TRANSPARENT"},
        {SDialogEditor::TYPE_DIALOG, "DIALOG_NOCLOSE"},
    };
    for (const auto& flag : flags)
    {
        Record record;
        record.SetType(flag.type);
        s.Select({&record});
        ASSERT_TRUE(s.Toggle(flag.key)) << flag.key;
        bool transparent = strcmp(flag.key, "TRANSPARENT") == 0;
        if (transparent)
            EXPECT_TRUE(record.GetTransparent());
        else
            EXPECT_EQ(std::string(record.GetProperty(flag.key)), "1") << flag.key;
        ASSERT_TRUE(s.Toggle(flag.key));
        if (transparent)
            EXPECT_FALSE(record.GetTransparent());
        else
            EXPECT_EQ(std::string(record.GetProperty(flag.key)), "0") << flag.key;
    }
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyApply, ChoicesWriteTheirKeysOrBits)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kControls)));
    Record* button = s.Control("First");
    s.f.editor.Select(button);
    ASSERT_TRUE(s.Choose("HALIGN", "_AUTORIGHTHALF"));
    EXPECT_EQ(button->GetPropertyInt("HALIGN"), 10);
    ASSERT_TRUE(s.Choose("VALIGN", "_AUTOHEIGHT"));
    EXPECT_EQ(button->GetPropertyInt("VALIGN"), 64);
    EXPECT_EQ(s.Text("HALIGN"), "_AUTORIGHTHALF");

    // Every choice coded in STYLE writes its bits and reads back as itself; other bits stay.
    struct Choice
    {
        const char* key;
        uint32_t bits;
    };
    struct Coded
    {
        int type;
        const char* key;
        uint32_t mask;
        std::vector<Choice> choices;
    };
    const Coded coded[] = {
        {SDialogEditor::TYPE_BUTTON, "BUTTON_HALIGN", 0x300, {{"_LEFT", 0x100}, {"_CENTER", 0x300}, {"_RIGHT", 0x200}}},
        {SDialogEditor::TYPE_BUTTON, "BUTTON_VALIGN", 0xC00, {{"_TOP", 0x400}, {"_MIDDLE", 0xC00}, {"_BOTTOM", 0x800}}},
        {SDialogEditor::TYPE_GROUP, "GROUP_ALIGN", 0x300, {{"_LEFT", 0x100}, {"_CENTER", 0x300}, {"_RIGHT", 0x200}}},
        {SDialogEditor::TYPE_EDIT, "EDIT_ALIGN", 0x3, {{"_LEFT", 0}, {"_CENTER", 0x1}, {"_RIGHT", 0x2}}},
        {SDialogEditor::TYPE_RICHEDIT, "RICHEDIT_ALIGN", 0x3, {{"_LEFT", 0}, {"_CENTER", 0x1}, {"_RIGHT", 0x2}}},
        {SDialogEditor::TYPE_COMBO, "COMBO_TYPE", 0x3, {{"_SIMPLE", 0x1}, {"_DROPDOWN", 0x2}, {"_DROPDOWNLIST", 0x3}}},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_TYPE", 0x3,
         {{"_ICON", 0}, {"_SMALLICON", 0x2}, {"_LIST", 0x3}, {"_REPORT", 0x1}}},
        {SDialogEditor::TYPE_LIST, "LIST_SELECTION", 0x4808,
         {{"_NONE", 0x4000}, {"_SINGLE", 0}, {"_MULTIPLE", 0x8}, {"_EXTENDED", 0x800}}},
        {SDialogEditor::TYPE_TAB, "TAB_TYPE", 0x108, {{"_STANDARD", 0}, {"_BUTTONS", 0x100}, {"_FLATBUTTONS", 0x108}}},
    };
    for (const Coded& c : coded)
    {
        Record record;
        record.SetType(c.type);
        record.AssignStyle(WS_VISIBLE | c.mask);
        for (const Choice& choice : c.choices)
        {
            s.Select({&record});
            ASSERT_TRUE(s.Choose(c.key, choice.key)) << c.key << " " << choice.key;
            EXPECT_EQ(record.GetStyle() & c.mask, choice.bits) << c.key << " " << choice.key;
            EXPECT_TRUE(record.HasStyle(WS_VISIBLE)) << c.key;
            s.Select({&record});
            EXPECT_EQ(s.Text(c.key), choice.key) << c.key;
        }
    }
    Record combo;
    combo.SetType(SDialogEditor::TYPE_COMBO);
    combo.AssignStyle(0x3);
    s.Select({&combo});
    ASSERT_TRUE(s.Choose("COMBO_TYPE", "_DROPDOWN"));
    EXPECT_EQ(combo.GetStyle() & 0x3, 0x2u);
    // Choices kept as extra properties store the key.
    Record label;
    label.SetType(SDialogEditor::TYPE_LABEL);
    s.Select({&label});
    ASSERT_TRUE(s.Choose("LABEL_VALIGN", "_BOTTOM"));
    EXPECT_EQ(std::string(label.GetProperty("LABEL_VALIGN")), "_BOTTOM");
    ASSERT_TRUE(s.Choose("LABEL_IMAGEDRAWMODE", "_DRAWFIT"));
    EXPECT_EQ(std::string(label.GetProperty("LABEL_IMAGEDRAWMODE")), "_DRAWFIT");
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyApply, ColoursAndFontsFromThePickers)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kControls)));
    Record* button = s.Control("First");
    Record* edit = s.Control("Third");
    SFakePickers pickers;
    pickers.color = RGB(10, 20, 30);

    // A mixed selection: the colour goes into every record.
    s.Select({button, edit});
    ASSERT_TRUE(s.Toggle("TEXTCOLOR"));
    EXPECT_EQ(button->GetTextColor(), (uint32_t)RGB(10, 20, 30));
    EXPECT_EQ(edit->GetTextColor(), (uint32_t)RGB(10, 20, 30));
    ASSERT_TRUE(s.Toggle("BACKCOLOR"));
    EXPECT_EQ(button->GetBackColor(), (uint32_t)RGB(10, 20, 30));

    // Colours of extra properties are written unsigned.
    Record lcd;
    lcd.SetType(SDialogEditor::TYPE_LCD);
    lcd.SetProperty("LCD_CELLCOLOR", "-16777216");
    s.Select({&lcd});
    pickers.color = RGB(255, 255, 255);
    ASSERT_TRUE(s.Toggle("LCD_CELLCOLOR"));
    EXPECT_EQ(std::string(lcd.GetProperty("LCD_CELLCOLOR")), "16777215");

    // Fonts: face, size and style.
    s.f.editor.Select(button);
    pickers.fontFace = "Tahoma";
    pickers.fontSize = 14;
    ASSERT_TRUE(s.Toggle("FONT"));
    EXPECT_EQ(std::string(button->GetFontFace()), "Tahoma");
    EXPECT_EQ(button->GetFontSize(), 14);
    EXPECT_NE(button->GetFontStyle(), 0u);
}

TEST(SDesignerPropertyApply, MixedFlagTogglesEachRecord)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kControls)));
    Record* first = s.Control("First");
    Record* second = s.Control("Second");
    first->AddStyle(0x8000);
    s.Select({first, second});
    ASSERT_TRUE(s.Find("BUTTON_FLAT")->mixed);
    ASSERT_TRUE(s.Toggle("BUTTON_FLAT"));
    EXPECT_TRUE(s.Find("BUTTON_FLAT")->flag);
    EXPECT_FALSE(first->HasStyle(0x8000));
    EXPECT_TRUE(second->HasStyle(0x8000));
}

TEST(SDesignerPropertyApply, OrientationSwapsTheSize)
{
    // The size after switching on, then after switching off again.
    struct Case
    {
        int type;
        const char* key;
        int width, height;
        int onWidth, onHeight;
        int offWidth, offHeight;
    };
    const Case cases[] = {
        {SDialogEditor::TYPE_SLIDER, "SLIDER_VERTICAL", 150, 30, 30, 150, 150, 30},
        {SDialogEditor::TYPE_SLIDER, "SLIDER_VERTICAL", 30, 150, 30, 150, 150, 30},
        {SDialogEditor::TYPE_PROGRESS, "PROGRESS_VERTICAL", 100, 20, 20, 100, 100, 20},
        {SDialogEditor::TYPE_SCROLL, "SCROLL_VERTICAL", 40, 40, 40, 40, 40, 40},
        {SDialogEditor::TYPE_LEVEL, "LEVEL_HORIZONTAL", 20, 90, 90, 20, 20, 90},
    };
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    for (const Case& c : cases)
    {
        Record record;
        record.SetType(c.type);
        record.SetWidth(c.width);
        record.SetHeight(c.height);
        s.Select({&record});
        ASSERT_TRUE(s.Toggle(c.key)) << c.key;
        EXPECT_EQ(record.GetWidth(), c.onWidth) << c.key;
        EXPECT_EQ(record.GetHeight(), c.onHeight) << c.key;
        // The sheet's own size items are not refreshed by the apply.
        EXPECT_EQ(s.Text("WIDTH"), std::to_string(c.width)) << c.key;
        ASSERT_TRUE(s.Toggle(c.key));
        EXPECT_EQ(record.GetWidth(), c.offWidth) << c.key;
        EXPECT_EQ(record.GetHeight(), c.offHeight) << c.key;
    }
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyApply, DialogBorderAndCaptionFollowEachOther)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    Record* dialog = s.f.editor.GetDialog();
    dialog->AssignStyle(WS_VISIBLE | WS_CAPTION);
    s.Select({dialog});
    ASSERT_TRUE(s.Find("DIALOG_CAPTION")->flag);
    ASSERT_TRUE(s.Find("BORDER")->flag);

    // Border off takes the caption with it.
    ASSERT_TRUE(s.Toggle("BORDER"));
    EXPECT_FALSE(dialog->HasStyle(WS_BORDER));
    EXPECT_FALSE(dialog->HasStyle(WS_CAPTION & ~WS_BORDER));
    EXPECT_FALSE(s.Find("DIALOG_CAPTION")->flag);

    // Caption on brings a border.
    ASSERT_TRUE(s.Toggle("DIALOG_CAPTION"));
    EXPECT_TRUE(dialog->HasStyle(WS_CAPTION));
    EXPECT_TRUE(s.Find("BORDER")->flag);

    // Caption off keeps the border that was there.
    ASSERT_TRUE(s.Toggle("DIALOG_CAPTION"));
    EXPECT_TRUE(dialog->HasStyle(WS_BORDER));
    EXPECT_FALSE(dialog->HasStyle(WS_CAPTION));
    EXPECT_TRUE(s.Find("BORDER")->flag);
}

TEST(SDesignerPropertyApply, ExternalAndReadOnlyKeys)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    s.sheet.GetExternProperties()->Add("Gauge\x01GAUGE_ON\x01On\x01" "bool");
    s.sheet.GetExternProperties()->Add("Gauge\x01GAUGE_TEXT\x01Text\x01" "edit");
    Record external;
    external.SetType(SDialogEditor::TYPE_EXTERN);
    external.SetProperty("EXTERN_NAME", "Gauge");
    s.Select({&external});
    ASSERT_TRUE(s.Toggle("GAUGE_ON"));
    EXPECT_EQ(std::string(external.GetProperty("GAUGE_ON")), "1");
    ASSERT_TRUE(s.Toggle("GAUGE_ON"));
    EXPECT_EQ(std::string(external.GetProperty("GAUGE_ON")), "0");
    ASSERT_TRUE(s.Type("GAUGE_TEXT", "dial"));
    EXPECT_EQ(std::string(external.GetProperty("GAUGE_TEXT")), "dial");

    // Read-only items change nothing, even when a value reaches the apply.
    SString extra = external.GetExtraProperties();
    for (const char* key : {"EXTERN_NAME", "TYPE"})
    {
        SPropertyCtrl::_SItem* item = s.Find(key);
        ASSERT_TRUE(item) << key;
        item->text = "Other";
        EXPECT_TRUE(s.sheet.OnItemChanged(0, item));
    }
    EXPECT_EQ(std::string(external.GetExtraProperties()), std::string(extra));
    EXPECT_EQ(external.GetType(), SDialogEditor::TYPE_EXTERN);
    s.f.editor.ClearSelection();
}

} // namespace
