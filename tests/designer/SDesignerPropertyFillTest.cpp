#include <gtest/gtest.h>

#include "PropertySheetSupport.h"

namespace
{

using Record = SDialogEditor::_SCtrl;
using Strings = std::vector<std::string>;

const std::vector<SControlText> kButtonEditTree = {
    {"BUTTON", 1, "First", 10, 10, 50, 20, "TABINDEX=0\r\n"},
    {"EDIT", 2, "Second", 100, 40, 60, 30, "TABINDEX=1\r\n"},
    {"TREE", 3, "Third", 30, 120, 80, 20, ""},
    {"BUTTON", 4, "Fourth", 10, 60, 50, 20, "TABINDEX=0\r\n"},
    {"LEVEL", 5, "Meter", 200, 10, 20, 90, ""},
};

TEST(SDesignerPropertyFill, OneButtonShowsItsGroupsAndItems)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    Record* button = s.Control("First");
    button->SetFont("Arial", 10, 1);
    s.Select({button});

    EXPECT_EQ(s.Groups(), (Strings{"$GENERAL", "$POSITION", "$STYLE", "$VALUE", "$COLOR"}));
    EXPECT_EQ(s.Keys("$GENERAL"), (Strings{"TYPE", "ID", "NAME", "CAPTION", "VISIBLE", "ENABLED", "TABENABLED",
                                           "TABGROUP", "TABINDEX", "FONT"}));
    EXPECT_EQ(s.Keys("$POSITION"), (Strings{"X", "Y", "WIDTH", "HEIGHT", "HALIGN", "VALIGN"}));
    EXPECT_EQ(s.Keys("$STYLE"),
              (Strings{"BUTTON_DEFAULT", "BUTTON_FLAT", "BUTTON_MULTILINE", "BUTTON_HALIGN", "BUTTON_VALIGN"}));
    EXPECT_EQ(s.Keys("$VALUE"), (Strings{"TOOLTIP"}));
    EXPECT_EQ(s.Keys("$COLOR"), (Strings{"BACKCOLOR"}));

    // Captions come from the label table; values from the record.
    EXPECT_EQ(std::string(s.sheet.GetGroup(0)->caption), "General");
    EXPECT_EQ(std::string(s.sheet.GetGroup(1)->caption), "Position");
    EXPECT_EQ(std::string(s.Find("TYPE")->caption), "Type");
    EXPECT_EQ(std::string(s.Find("HALIGN")->caption), "Horz Align");
    EXPECT_EQ(std::string(s.Find("BUTTON_HALIGN")->caption), "Horz. Alignment");
    EXPECT_EQ(s.Text("TYPE"), "Button");
    EXPECT_EQ(s.Find("TYPE")->kind, SPropertyCtrl::KIND_TEXT);
    EXPECT_EQ(s.Text("ID"), "1");
    EXPECT_EQ(s.Text("NAME"), "First");
    EXPECT_EQ(s.Text("CAPTION"), "First");
    EXPECT_TRUE(s.Find("VISIBLE")->flag);
    EXPECT_TRUE(s.Find("ENABLED")->flag);
    EXPECT_EQ(s.Text("X"), "10");
    EXPECT_EQ(s.Text("HEIGHT"), "20");
    EXPECT_EQ(s.Text("TABINDEX"), "0");
    EXPECT_EQ(std::string(s.Find("FONT")->fontName), "Arial");
    EXPECT_EQ(s.Find("FONT")->fontSize, 10);
    EXPECT_EQ(s.Find("FONT")->fontStyle, 1);
    EXPECT_EQ(s.Text("HALIGN"), "_AUTOLEFT");
    ASSERT_EQ(s.Find("HALIGN")->choices.GetCount(), 7);
    EXPECT_EQ(std::string(s.Find("HALIGN")->choices.GetAt(0)), "_AUTOLEFT|Left");
    EXPECT_EQ(std::string(s.Find("VALIGN")->choices.GetAt(6)), "_AUTOHEIGHTHALF|Half Resize");
    EXPECT_FALSE(s.Find("X")->mixed);
}

TEST(SDesignerPropertyFill, DialogRecordAloneHasNoControlItems)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    s.Select({s.f.editor.GetDialog()});
    EXPECT_EQ(s.Groups(),
              (Strings{"$GENERAL", "$POSITION", "$SKIN", "$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}));
    EXPECT_EQ(s.Keys("$GENERAL"), (Strings{"TYPE", "CAPTION", "VISIBLE", "ENABLED", "FONT"}));
    EXPECT_EQ(s.Keys("$POSITION"), (Strings{"WIDTH", "HEIGHT"}));
    EXPECT_EQ(s.Text("WIDTH"), "300");
    EXPECT_EQ(s.Text("TYPE"), "Dialog");
    EXPECT_EQ(s.Keys("$BORDER"), (Strings{"BORDER", "CLIENTEDGE", "STATICEDGE"}));
    EXPECT_EQ(s.Keys("$RESOURCE"),
              (Strings{"DIALOG_ICON", "DIALOG_IMAGE", "DIALOG_IMAGEDRAWMODE", "DIALOG_MENU", "DIALOG_TOOLBAR"}));
    // Resource choices get no entries from the fill; the draw modes are twelve.
    EXPECT_EQ(s.Find("DIALOG_IMAGE")->choices.GetCount(), 0);
    EXPECT_EQ(s.Find("DIALOG_IMAGEDRAWMODE")->choices.GetCount(), 12);
    EXPECT_EQ(s.Text("DIALOG_IMAGEDRAWMODE"), "_DRAWTOPLEFT");
}

TEST(SDesignerPropertyFill, GroupsFollowTheTypeOfTheRecord)
{
    struct Case
    {
        int type;
        Strings groups;
    };
    const Strings common = {"$GENERAL", "$POSITION"};
    const Case cases[] = {
        {SDialogEditor::TYPE_BROWSER, {"$STYLE", "$VALUE", "$BORDER", "$RESOURCE"}},
        {SDialogEditor::TYPE_BUTTON, {"$STYLE", "$VALUE", "$COLOR"}},
        {SDialogEditor::TYPE_CHECK, {"$VALUE", "$BORDER", "$COLOR"}},
        {SDialogEditor::TYPE_CODEEDIT, {"$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_COMBO, {"$STYLE", "$VALUE", "$RESOURCE"}},
        {SDialogEditor::TYPE_EDIT, {"$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_EXTENDEDLIST, {"$STYLE", "$VALUE", "$BORDER"}},
        {SDialogEditor::TYPE_GROUP, {"$STYLE", "$COLOR"}},
        {SDialogEditor::TYPE_GUI, {"$BORDER"}},
        {SDialogEditor::TYPE_IMAGEEDITOR, {"$BORDER", "$RESOURCE"}},
        {SDialogEditor::TYPE_LABEL, {"$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_LCD, {"$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_LEVEL, {"$STYLE", "$VALUE", "$BORDER", "$COLOR"}},
        {SDialogEditor::TYPE_LIST, {"$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_MEDIA, {"$SKIN", "$STYLE", "$VALUE", "$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_MEDIAPLAYER, {"$VALUE", "$BORDER"}},
        {SDialogEditor::TYPE_PANEL, {"$BORDER"}},
        {SDialogEditor::TYPE_PROGRESS, {"$STYLE", "$VALUE"}},
        {SDialogEditor::TYPE_PROPERTY, {"$BORDER"}},
        {SDialogEditor::TYPE_RADIO, {"$VALUE", "$BORDER", "$COLOR"}},
        {SDialogEditor::TYPE_RICHEDIT, {"$STYLE", "$VALUE", "$BORDER", "$RESOURCE"}},
        {SDialogEditor::TYPE_SCROLL, {"$STYLE", "$VALUE"}},
        {SDialogEditor::TYPE_SLIDER, {"$STYLE", "$VALUE", "$BORDER", "$COLOR"}},
        {SDialogEditor::TYPE_SPLITTER, {"$VALUE", "$BORDER"}},
        {SDialogEditor::TYPE_SPREAD, {"$BORDER", "$RESOURCE"}},
        {SDialogEditor::TYPE_STATIC, {"$BORDER", "$COLOR", "$RESOURCE"}},
        {SDialogEditor::TYPE_TAB, {"$STYLE", "$VALUE"}},
        {SDialogEditor::TYPE_TABDOC, {"$STYLE", "$VALUE", "$BORDER", "$COLOR"}},
        {SDialogEditor::TYPE_TOOLBAR, {"$STYLE", "$VALUE", "$BORDER"}},
        {SDialogEditor::TYPE_TREE, {"$STYLE", "$BORDER", "$RESOURCE"}},
        {SDialogEditor::TYPE_WAVEEDITOR, {"$STYLE", "$BORDER", "$COLOR", "$RESOURCE", "$LINK"}},
        {SDialogEditor::TYPE_WINDOW, {"$BORDER", "$COLOR"}},
        // Without external definitions the "$EXTRA" group stays empty and goes.
        {SDialogEditor::TYPE_EXTERN, {"$VALUE", "$BORDER"}},
    };
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    for (const Case& c : cases)
    {
        Record record;
        record.SetType(c.type);
        s.Select({&record});
        Strings expected = common;
        expected.insert(expected.end(), c.groups.begin(), c.groups.end());
        EXPECT_EQ(s.Groups(), expected) << "type " << c.type;
        // The border set and the type's own border items.
        Strings border;
        if (c.type == SDialogEditor::TYPE_BROWSER)
            border = {"BORDER"};
        else if (c.type == SDialogEditor::TYPE_RICHEDIT)
            border = {"RICHEDIT_SUNKEN", "STATICEDGE"};
        else if (c.type == SDialogEditor::TYPE_STATIC)
            border = {"STATIC_EDGE", "STATIC_LEFTBORDER", "STATIC_TOPBORDER", "STATIC_RIGHTBORDER",
                      "STATIC_BOTTOMBORDER"};
        else if (s.sheet.FindGroup("$BORDER") >= 0)
            border = {"BORDER", "CLIENTEDGE", "STATICEDGE"};
        EXPECT_EQ(s.Keys("$BORDER"), border) << "type " << c.type;
        // The caption test and the font types.
        bool caption = c.type == SDialogEditor::TYPE_BUTTON || c.type == SDialogEditor::TYPE_LCD ||
                       c.type == SDialogEditor::TYPE_MEDIA || c.type == SDialogEditor::TYPE_CHECK ||
                       c.type == SDialogEditor::TYPE_CODEEDIT || c.type == SDialogEditor::TYPE_COMBO ||
                       c.type == SDialogEditor::TYPE_EDIT || c.type == SDialogEditor::TYPE_GROUP ||
                       c.type == SDialogEditor::TYPE_LABEL || c.type == SDialogEditor::TYPE_RADIO ||
                       c.type == SDialogEditor::TYPE_RICHEDIT;
        EXPECT_EQ(s.Has("CAPTION"), caption) << "type " << c.type;
    }
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyFill, FontAndCaptionByType)
{
    struct Case
    {
        int type;
        bool font;
        bool caption;
    };
    const Case cases[] = {
        {SDialogEditor::TYPE_LCD, false, true},     {SDialogEditor::TYPE_TREE, true, false},
        {SDialogEditor::TYPE_TABDOC, true, false},  {SDialogEditor::TYPE_MEDIA, true, true},
        {SDialogEditor::TYPE_SLIDER, false, false}, {SDialogEditor::TYPE_EXTENDEDLIST, true, false},
        {SDialogEditor::TYPE_RICHEDIT, true, true}, {-1, false, false},
    };
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    for (const Case& c : cases)
    {
        Record record;
        record.SetType(c.type);
        s.Select({&record});
        EXPECT_EQ(s.Has("FONT"), c.font) << "type " << c.type;
        EXPECT_EQ(s.Has("CAPTION"), c.caption) << "type " << c.type;
        // FONT always closes the first group.
        if (c.font)
        {
            EXPECT_EQ(s.Keys("$GENERAL").back(), "FONT");
        }
    }
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyFill, MixedTypesShowOnlyTheItemsOfEveryType)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    Record* button = s.Control("First");
    Record* edit = s.Control("Second");
    s.Select({button, edit});
    EXPECT_EQ(s.Groups(), (Strings{"$GENERAL", "$POSITION", "$COLOR"}));
    EXPECT_EQ(s.Keys("$GENERAL"), (Strings{"CAPTION", "VISIBLE", "ENABLED", "TABENABLED", "TABGROUP", "TABINDEX"}));
    EXPECT_EQ(s.Keys("$POSITION"), (Strings{"X", "Y", "WIDTH", "HEIGHT", "HALIGN", "VALIGN"}));
    EXPECT_EQ(s.Keys("$COLOR"), (Strings{"BACKCOLOR", "TEXTCOLOR"}));
    // Differing values are mixed, equal ones are not.
    EXPECT_TRUE(s.Find("X")->mixed);
    EXPECT_TRUE(s.Find("CAPTION")->mixed);
    EXPECT_TRUE(s.Find("TABINDEX")->mixed);
    EXPECT_FALSE(s.Find("VISIBLE")->mixed);
    EXPECT_FALSE(s.Find("HALIGN")->mixed);
    EXPECT_FALSE(s.Find("BACKCOLOR")->mixed);
    // The primary's value is the one kept.
    EXPECT_EQ(s.Text("X"), "100");

    // A TREE fails the caption test.
    s.Select({button, s.Control("Third")});
    EXPECT_FALSE(s.Has("CAPTION"));
    EXPECT_TRUE(s.Has("VISIBLE"));

    // Two records of one type show the type's items; singles stay out.
    s.Select({button, s.Control("Fourth")});
    EXPECT_EQ(s.Groups(), (Strings{"$GENERAL", "$POSITION", "$STYLE", "$VALUE", "$COLOR"}));
    EXPECT_FALSE(s.Has("TYPE"));
    EXPECT_FALSE(s.Has("NAME"));
    EXPECT_FALSE(s.Has("ID"));
    EXPECT_TRUE(s.Has("FONT"));
    EXPECT_TRUE(s.Find("Y")->mixed);
    EXPECT_FALSE(s.Find("X")->mixed);
}

TEST(SDesignerPropertyFill, AnchorsAndCodedStylesShowTheirKeys)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    Record* button = s.Control("First");
    struct Anchor
    {
        int halign, valign;
        const char* hkey;
        const char* vkey;
    };
    const Anchor anchors[] = {
        {8, 128, "_AUTOLEFT", "_AUTOTOP"},           {3, 16, "_AUTOLEFT", "_AUTOMIDDLE"},
        {10, 160, "_AUTORIGHTHALF", "_AUTOBOTTOMHALF"}, {4, 64, "_AUTOWIDTH", "_AUTOHEIGHT"},
        {12, 192, "_AUTOWIDTHHALF", "_AUTOHEIGHTHALF"}, {1, 144, "_AUTOCENTER", "_AUTOMIDDLEHALF"},
    };
    for (const Anchor& a : anchors)
    {
        button->SetPropertyInt("HALIGN", a.halign);
        button->SetPropertyInt("VALIGN", a.valign);
        s.Select({button});
        EXPECT_EQ(s.Text("HALIGN"), a.hkey) << a.halign;
        EXPECT_EQ(s.Text("VALIGN"), a.vkey) << a.valign;
    }

    struct Coded
    {
        int type;
        const char* key;
        uint32_t style;
        const char* shown;
    };
    const Coded coded[] = {
        {SDialogEditor::TYPE_BUTTON, "BUTTON_HALIGN", 0x300, "_CENTER"},
        {SDialogEditor::TYPE_BUTTON, "BUTTON_HALIGN", 0x100, "_LEFT"},
        {SDialogEditor::TYPE_BUTTON, "BUTTON_HALIGN", 0x200, "_RIGHT"},
        {SDialogEditor::TYPE_BUTTON, "BUTTON_VALIGN", 0xC00, "_MIDDLE"},
        {SDialogEditor::TYPE_BUTTON, "BUTTON_VALIGN", 0x800, "_BOTTOM"},
        {SDialogEditor::TYPE_BUTTON, "BUTTON_VALIGN", 0x400, "_TOP"},
        {SDialogEditor::TYPE_GROUP, "GROUP_ALIGN", 0x200, "_RIGHT"},
        {SDialogEditor::TYPE_EDIT, "EDIT_ALIGN", 0x3, "_RIGHT"},
        {SDialogEditor::TYPE_EDIT, "EDIT_ALIGN", 0x1, "_CENTER"},
        {SDialogEditor::TYPE_RICHEDIT, "RICHEDIT_ALIGN", 0x0, "_LEFT"},
        {SDialogEditor::TYPE_COMBO, "COMBO_TYPE", 0x3, "_DROPDOWNLIST"},
        {SDialogEditor::TYPE_COMBO, "COMBO_TYPE", 0x2, "_DROPDOWN"},
        {SDialogEditor::TYPE_COMBO, "COMBO_TYPE", 0x1, "_SIMPLE"},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_TYPE", 0x3, "_LIST"},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_TYPE", 0x1, "_REPORT"},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_TYPE", 0x2, "_SMALLICON"},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_TYPE", 0x0, "_ICON"},
        {SDialogEditor::TYPE_LIST, "LIST_SELECTION", 0x808, "_MULTIPLE"},
        {SDialogEditor::TYPE_LIST, "LIST_SELECTION", 0x4800, "_EXTENDED"},
        {SDialogEditor::TYPE_LIST, "LIST_SELECTION", 0x4000, "_NONE"},
        {SDialogEditor::TYPE_LIST, "LIST_SELECTION", 0x0, "_SINGLE"},
        {SDialogEditor::TYPE_TAB, "TAB_TYPE", 0x8, "_FLATBUTTONS"},
        {SDialogEditor::TYPE_TAB, "TAB_TYPE", 0x100, "_BUTTONS"},
        {SDialogEditor::TYPE_TAB, "TAB_TYPE", 0x0, "_STANDARD"},
    };
    for (const Coded& c : coded)
    {
        Record record;
        record.SetType(c.type);
        record.AssignStyle(c.style);
        s.Select({&record});
        EXPECT_EQ(s.Text(c.key), c.shown) << c.key << " " << c.style;
    }
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyFill, ValueTextsBySource)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));

    Record label;
    label.SetType(SDialogEditor::TYPE_LABEL);
    label.SetID(-5);
    label.SetBackColor(0xFF000000u);
    label.SetTextColor(0x00123456u);
    label.SetTransparent(true);
    label.SetProperty("LABEL_HALIGN", "_RIGHT");
    label.SetProperty("LABEL_VALIGN", "_NOWHERE");
    label.AssignStyle(WS_DISABLED);
    label.AssignExStyle(WS_EX_CLIENTEDGE);
    s.Select({&label});
    EXPECT_EQ(s.Text("ID"), "-5");
    EXPECT_EQ(s.Find("BACKCOLOR")->color, 0xFF000000u);
    EXPECT_EQ(s.Find("TEXTCOLOR")->color, 0x00123456u);
    EXPECT_TRUE(s.Find("TRANSPARENT")->flag);
    EXPECT_FALSE(s.Find("VISIBLE")->flag);
    EXPECT_FALSE(s.Find("ENABLED")->flag);
    EXPECT_FALSE(s.Find("BORDER")->flag);
    EXPECT_TRUE(s.Find("CLIENTEDGE")->flag);
    EXPECT_EQ(s.Text("LABEL_HALIGN"), "_RIGHT");
    // A stored key that is not in the list shows the first entry.
    EXPECT_EQ(s.Text("LABEL_VALIGN"), "_TOP");
    // A record without a font.
    EXPECT_TRUE(s.Find("FONT")->fontName.IsEmpty());
    EXPECT_EQ(s.Find("FONT")->fontSize, 0);

    // Colours of extra properties read signed or unsigned as the same 32 bits; absent is none.
    Record lcd;
    lcd.SetType(SDialogEditor::TYPE_LCD);
    lcd.SetProperty("LCD_CELLCOLOR", "-16777216");
    lcd.SetProperty("LCD_SCROLLSPEED", "2.5");
    lcd.SetProperty("LCD_SCROLL", "1");
    s.Select({&lcd});
    EXPECT_EQ(s.Find("LCD_CELLCOLOR")->color, 0xFF000000u);
    EXPECT_EQ(s.Text("LCD_SCROLLSPEED"), "2.5");
    EXPECT_TRUE(s.Find("LCD_SCROLL")->flag);
    EXPECT_EQ(s.Text("LCD_HALIGN"), "_LEFT");
    ASSERT_EQ(s.Find("LCD_HALIGN")->choices.GetCount(), 4);
    lcd.SetProperty("LCD_CELLCOLOR", "4278190080");
    s.Select({&lcd});
    EXPECT_EQ(s.Find("LCD_CELLCOLOR")->color, 0xFF000000u);
    lcd.SetProperty("LCD_CELLCOLOR", "");
    s.Select({&lcd});
    EXPECT_EQ(s.Find("LCD_CELLCOLOR")->color, 0xFF000000u);
    EXPECT_EQ(s.sheet.GetValueText(s.Find("LCD_CELLCOLOR")), s.sheet.GetChoiceText(2));

    // Inverted style flags, extra flags read as integers, absent extras.
    Record tree;
    tree.SetType(SDialogEditor::TYPE_TREE);
    s.Select({&tree});
    EXPECT_TRUE(s.Find("TREE_DRAGDROP")->flag);
    tree.AssignStyle(0x10);
    s.Select({&tree});
    EXPECT_FALSE(s.Find("TREE_DRAGDROP")->flag);
    Record tabs;
    tabs.SetType(SDialogEditor::TYPE_TABDOC);
    tabs.SetProperty("TABDOC_CLOSE", "7");
    s.Select({&tabs});
    EXPECT_TRUE(s.Find("TABDOC_CLOSE")->flag);
    EXPECT_FALSE(s.Find("TABDOC_MOVE")->flag);
    EXPECT_EQ(s.Text("TABDOC_SELECTION"), "0");
    EXPECT_EQ(s.Text("TABDOC_CONTENT"), "");

    Record staticEdge;
    staticEdge.SetType(SDialogEditor::TYPE_STATIC);
    s.Select({&staticEdge});
    EXPECT_EQ(s.Text("STATIC_EDGE"), "_EDGEBUMP");
    EXPECT_EQ(s.Find("STATIC_EDGE")->choices.GetCount(), 8);

    Record external;
    external.SetType(SDialogEditor::TYPE_EXTERN);
    external.SetProperty("EXTERN_NAME", "Gauge");
    external.SetProperty("EXTERN_FILENAME", "gauge.dll");
    s.Select({&external});
    EXPECT_EQ(s.Text("EXTERN_NAME"), "Gauge");
    EXPECT_EQ(s.Find("EXTERN_NAME")->kind, SPropertyCtrl::KIND_TEXT);
    EXPECT_EQ(s.Find("EXTERN_FILENAME")->kind, SPropertyCtrl::KIND_TEXT);
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyFill, ControlListsOfFocusAndLevel)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree, "DIALOG_FOCUS=9\r\n")));
    s.Select({s.f.editor.GetDialog()});
    SPropertyCtrl::_SItem* focus = s.Find("DIALOG_FOCUS");
    ASSERT_TRUE(focus);
    // An ID that names no control shows the empty first entry, drawn as two dashes.
    EXPECT_EQ(s.Text("DIALOG_FOCUS"), "");
    ASSERT_EQ(focus->choices.GetCount(), 6);
    EXPECT_EQ(std::string(focus->choices.GetAt(0)), "|\x97\x97");
    EXPECT_EQ(std::string(focus->choices.GetAt(1)), "1|First");
    EXPECT_EQ(std::string(focus->choices.GetAt(5)), "5|Meter");
    s.f.editor.GetDialog()->SetProperty("DIALOG_FOCUS", "2");
    s.Select({s.f.editor.GetDialog()});
    EXPECT_EQ(s.Text("DIALOG_FOCUS"), "2");

    Record wave;
    wave.SetType(SDialogEditor::TYPE_WAVEEDITOR);
    wave.SetProperty("WAVEEDITOR_LEVEL", "5");
    s.Select({&wave});
    SPropertyCtrl::_SItem* level = s.Find("WAVEEDITOR_LEVEL");
    ASSERT_TRUE(level);
    ASSERT_EQ(level->choices.GetCount(), 2);
    EXPECT_EQ(std::string(level->choices.GetAt(1)), "5|Meter");
    EXPECT_EQ(s.Text("WAVEEDITOR_LEVEL"), "5");
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyFill, ExternalDefinitionsMakeTheExtendedGroup)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    SStringArray* lines = s.sheet.GetExternProperties();
    lines->Add("Gauge\x01GAUGE_TEXT\x01Text\x01" "edit");
    lines->Add("Gauge\x01GAUGE_STEPS\x01Steps\x01" "edit_int");
    lines->Add("Gauge\x01GAUGE_RATE\x01Rate\x01" "edit_float");
    lines->Add("Gauge\x01GAUGE_ON\x01On\x01" "bool");
    lines->Add("Gauge\x01GAUGE_INFO\x01Info\x01" "other");
    lines->Add("Dial\x01" "DIAL_TEXT\x01Text\x01" "edit");
    lines->Add("Gauge\x01GAUGE_SHORT\x01" "edit");
    lines->Add("Gauge\x01GAUGE_LONG\x01Long\x01" "edit\x01more");
    lines->Add("gauge\x01GAUGE_CASE\x01" "Case\x01" "edit");
    Record external;
    external.SetType(SDialogEditor::TYPE_EXTERN);
    external.SetProperty("EXTERN_NAME", "Gauge");
    external.SetProperty("GAUGE_TEXT", "hello");
    external.SetProperty("GAUGE_ON", "1");
    s.Select({&external});
    EXPECT_EQ(s.Groups(), (Strings{"$GENERAL", "$POSITION", "$VALUE", "$BORDER", "$EXTRA"}));
    EXPECT_EQ(s.Keys("$EXTRA"), (Strings{"GAUGE_TEXT", "GAUGE_STEPS", "GAUGE_RATE", "GAUGE_ON", "GAUGE_INFO"}));
    EXPECT_EQ(std::string(s.sheet.GetGroup(4)->caption), "Extended");
    EXPECT_EQ(std::string(s.Find("GAUGE_TEXT")->caption), "Text");
    EXPECT_EQ(s.Text("GAUGE_TEXT"), "hello");
    EXPECT_EQ(s.Find("GAUGE_TEXT")->kind, SPropertyCtrl::KIND_EDIT);
    EXPECT_EQ(s.Find("GAUGE_STEPS")->kind, SPropertyCtrl::KIND_INTEGER);
    EXPECT_EQ(s.Find("GAUGE_RATE")->kind, SPropertyCtrl::KIND_REAL);
    EXPECT_EQ(s.Find("GAUGE_ON")->kind, SPropertyCtrl::KIND_YESNO);
    EXPECT_TRUE(s.Find("GAUGE_ON")->flag);
    EXPECT_EQ(s.Find("GAUGE_INFO")->kind, SPropertyCtrl::KIND_TEXT);
    s.f.editor.ClearSelection();
}

TEST(SDesignerPropertyFill, ClearsRefillsAndUpdatesOneItem)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    Record* button = s.Control("First");
    s.f.editor.Select(button);
    EXPECT_EQ(s.Text("NAME"), "First");

    // The designer's single-item update keeps the rest of the sheet.
    s.f.editor.UpdatePropertySheet("$POSITION", "X", "77");
    EXPECT_EQ(s.Text("X"), "77");
    EXPECT_EQ(s.Text("Y"), "10");
    s.f.editor.UpdatePropertySheet("$POSITION", "NOSUCHKEY", "1");
    EXPECT_EQ(s.sheet.GetGroupCount(), 5);

    // Nothing selected: an empty sheet.
    s.f.editor.Select(nullptr);
    EXPECT_EQ(s.sheet.GetGroupCount(), 0);
    s.f.editor.Select(button);
    EXPECT_TRUE(s.sheet.FillProperties(nullptr));
    EXPECT_EQ(s.sheet.GetGroupCount(), 0);

    // A sheet without a window does nothing.
    SDesignerPropertyCtrl windowless;
    windowless.SetEditor(&s.f.editor);
    EXPECT_FALSE(windowless.FillProperties(button));
    EXPECT_EQ(windowless.GetGroupCount(), 0);
    windowless.SetEditor(nullptr);
    // Unbinding a sheet leaves the designer without one until the next binding.
    EXPECT_EQ(s.f.editor.GetPropertyCtrl(), nullptr);
    s.sheet.SetEditor(&s.f.editor);
    EXPECT_EQ(s.f.editor.GetPropertyCtrl(), (SPropertyCtrl*)&s.sheet);
}

TEST(SDesignerPropertyFill, SelectionChangeAlsoRefreshesTheToolPanel)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    RECT rect = {0, 0, 120, 400};
    SPanelCtrl* panel = s.f.editor.CreateToolPanel(s.f.host.GetHandle(), &rect);
    ASSERT_NE(panel, nullptr);
    // Align Lefts (group 1, button 0) needs a control selected.
    s.f.editor.Select(s.f.editor.GetDialog());
    EXPECT_FALSE(panel->IsButtonEnabled(1, 0));
    s.f.editor.Select(s.Control("First"));
    EXPECT_TRUE(panel->IsButtonEnabled(1, 0));
    EXPECT_EQ(s.Text("NAME"), "First");
    s.f.editor.Select(nullptr);
    EXPECT_FALSE(panel->IsButtonEnabled(1, 0));
    EXPECT_EQ(s.sheet.GetGroupCount(), 0);
}

TEST(SDesignerPropertyFill, ScrollPositionIsRememberedPerRecord)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, kButtonEditTree)));
    // A short sheet, so that a button's items scroll.
    s.sheet.MoveWindow(300, 0, 300, 120, true);
    Record* first = s.Control("First");
    Record* fourth = s.Control("Fourth");
    s.f.editor.Select(first);
    s.sheet.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    s.sheet.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    int position = s.sheet.GetVScrollPos();
    ASSERT_GT(position, 0);
    EXPECT_EQ(first->GetPropertyScroll(), position);

    s.f.editor.Select(fourth);
    EXPECT_EQ(s.sheet.GetVScrollPos(), 0);
    EXPECT_EQ(first->GetPropertyScroll(), position);
    s.f.editor.Select(first);
    EXPECT_EQ(s.sheet.GetVScrollPos(), position);
}

TEST(SDesignerPropertyFill, GroupWithoutLabelLeavesItsItemsInThePreviousGroup)
{
    SSheetFixture s;
    ASSERT_TRUE(s.Load(DescriptionText(300, 200, {})));
    SStringArray* labels = s.f.editor.GetLabels();
    ASSERT_EQ(labels->Remove("$SKIN=Skin"), 1);
    s.Select({s.f.editor.GetDialog()});
    EXPECT_EQ(s.sheet.FindGroup("$SKIN"), -1);
    EXPECT_EQ(s.Keys("$POSITION"), (Strings{"WIDTH", "HEIGHT", "DIALOG_LAYER", "DIALOG_SHAPE"}));
    s.f.editor.LoadDefaultLabels();
    s.Select({s.f.editor.GetDialog()});
    EXPECT_EQ(s.Keys("$SKIN"), (Strings{"DIALOG_LAYER", "DIALOG_SHAPE"}));
}

// A designer whose owner adds its own items after the sheet's groups.
class SOwnerEditor : public SDialogEditor
{
public:
    void OnFillProperties(SPropertyCtrl* sheet, _SCtrl* record) override
    {
        calls++;
        filled = record;
        SDesignerPropertyCtrl* own = dynamic_cast<SDesignerPropertyCtrl*>(sheet);
        if (!own)
            return;
        SStringArray images;
        images.Add("logo.png|Logo");
        images.Add("back.png|Back");
        own->AddPropertyGroup("$RESOURCE", true);
        own->AddProperty(true, false, "OWNER_IMAGE", SPropertyCtrl::KIND_CHOICE, "back.png", &images, -1, "Picture");
        // A group the owner leaves empty goes with the others.
        own->AddPropertyGroup("$LINK", true);
    }
    int calls = 0;
    _SCtrl* filled = nullptr;
};

TEST(SDesignerPropertyFill, OwnerAddsItemsAfterTheFill)
{
    SOwnerEditor editor;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(editor.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, SharedHost().GetHandle()));
    ASSERT_TRUE(LoadDescription(editor, DescriptionText(300, 200, kButtonEditTree)));
    SDesignerPropertyCtrl sheet;
    RECT place = {300, 0, 600, 500};
    ASSERT_TRUE(sheet.CreateChildNoCaption(WS_VISIBLE, 0, &place, SharedHost().GetHandle()));
    sheet.SetEditor(&editor);
    editor.calls = 0;
    editor.Select(editor.FindControlByName("First"));
    EXPECT_EQ(editor.calls, 1);
    EXPECT_EQ(editor.filled, editor.FindControlByName("First"));
    int resource = sheet.FindGroup("$RESOURCE");
    ASSERT_EQ(resource, sheet.GetGroupCount() - 1);
    SPropertyCtrl::_SItem* image = sheet.FindItem(resource, "OWNER_IMAGE");
    ASSERT_TRUE(image);
    EXPECT_EQ(std::string(image->caption), "Picture");
    EXPECT_EQ(std::string(image->text), "back.png");
    EXPECT_EQ(sheet.FindGroup("$LINK"), -1);
    sheet.SetEditor(nullptr);
    sheet.Destroy();
    editor.Destroy();
}

} // namespace
