#include <gtest/gtest.h>

#include "DescriptionSupport.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

// An editor whose owner can refuse new controls.
class RefusingEditor : public SDialogEditor
{
public:
    bool CanAddControl(_SCtrl*) override
    {
        asked++;
        return !refuse;
    }
    bool refuse = false;
    int asked = 0;
};

} // namespace

TEST(SDialogRecord, ExtraPropertiesAreFoundAndReplacedInPlace)
{
    Record record;
    record.SetExtraProperties("A=1\r\nB=x=y\r\n");
    EXPECT_STREQ(record.GetProperty("B"), "x=y");
    EXPECT_STREQ(record.GetProperty("a"), "");
    EXPECT_STREQ(record.GetProperty("C"), "");
    record.SetProperty("A", "longer value");
    record.SetProperty("B", "");
    record.SetProperty("C", "3");
    EXPECT_STREQ(record.GetExtraProperties(), "A=longer value\r\nB=\r\nC=3\r\n");

    // A line without "=" is passed over; a last line without its break is closed first.
    record.SetExtraProperties("junk\r\nK=1\r\nLAST=2");
    record.SetProperty("K", "9");
    record.SetProperty("NEW", "5");
    EXPECT_STREQ(record.GetExtraProperties(), "junk\r\nK=9\r\nLAST=2\r\nNEW=5\r\n");
    EXPECT_STREQ(record.GetProperty("LAST"), "2");
    record.SetExtraProperties(nullptr);
    EXPECT_STREQ(record.GetExtraProperties(), "");
}

TEST(SDialogRecord, LineBreaksInASetPropertyNeverBecomeKeys)
{
    struct Case
    {
        const char* key;
        const char* value;
        // The one line the record holds afterwards.
        const char* line;
    };
    const Case cases[] = {
        {"TOOLTIP", "a\r\nID=77", "TOOLTIP=a  ID=77\r\n"},
        {"TOOLTIP", "a\nNAME=Evil", "TOOLTIP=a NAME=Evil\r\n"},
        {"TOOLTIP", "a\rPOSITION=1 2 3 4", "TOOLTIP=a POSITION=1 2 3 4\r\n"},
        {"TOOLTIP", "\r\n", "TOOLTIP=  \r\n"},
        {"HALIGN\r\nID", "77", "HALIGN  ID=77\r\n"},
        {"\nCAPTION", "Evil", " CAPTION=Evil\r\n"},
    };
    for (const Case& c : cases)
    {
        SDialogEditor editor;
        editor.Init(true);
        ASSERT_TRUE(LoadText(editor, "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\n\r\n"
                                     "[BUTTON]\r\nID=5\r\nNAME=Ok\r\nCAPTION=Ok\r\nPOSITION=1 2 30 40\r\n"));
        Record* button = editor.GetControl(0);
        ASSERT_NE(button, nullptr);
        button->SetProperty(c.key, c.value);
        EXPECT_STREQ(button->GetExtraProperties(), c.line) << c.line;
        // Set again, the same line takes the new value.
        button->SetProperty(c.key, c.value);
        EXPECT_STREQ(button->GetExtraProperties(), c.line) << c.line;
        EXPECT_EQ(RoundTripFault(editor), "") << c.line;
        ASSERT_TRUE(LoadText(editor, SaveText(editor))) << c.line;
        Record* back = editor.GetControl(0);
        EXPECT_EQ(back->GetID(), 5) << c.line;
        EXPECT_STREQ(back->GetName(), "Ok") << c.line;
        EXPECT_STREQ(back->GetCaption(), "Ok") << c.line;
        EXPECT_EQ(back->GetX(), 1) << c.line;
        EXPECT_EQ(back->GetWidth(), 30) << c.line;
        EXPECT_STREQ(back->GetExtraProperties(), c.line) << c.line;
    }
}

TEST(SDialogRecord, ExtraTextTheFormatCannotHoldIsWrittenSoThatItLoads)
{
    // Whole extra texts set at once may hold anything; the writer keeps every
    // property line and writes what cannot be one so that the text still loads.
    struct Case
    {
        const char* extra;
        const char* written;
    };
    const Case cases[] = {
        {"A=1\r\nB=2\r\n", "A=1\r\nB=2\r\n"},
        {"A=1", "A=1\r\n"},
        {"junk\r\nA=1\r\n", "A=1\r\n"},
        {"A=1\r\n\r\n\r\nB=2\r\n", "A=1\r\nB=2\r\n"},
        {"A=1\nID=9\r\n", "A=1 ID=9\r\n"},
        {"A=1\rB=2", "A=1 B=2\r\n"},
        {"=dropped\r\nC=3\r\n", "C=3\r\n"},
        {"\r\n", ""},
    };
    for (const Case& c : cases)
    {
        SDialogEditor editor;
        editor.Init(true);
        ASSERT_TRUE(LoadText(editor, "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\n\r\n"
                                     "[BUTTON]\r\nID=5\r\nNAME=Ok\r\n"));
        editor.GetControl(0)->SetExtraProperties(c.extra);
        std::string saved = SaveText(editor);
        SDialogEditor back;
        back.Init(true);
        ASSERT_TRUE(LoadText(back, saved)) << c.extra << "\n" << saved;
        ASSERT_EQ(back.GetControlCount(), 1) << c.extra;
        EXPECT_EQ(back.GetControl(0)->GetID(), 5) << c.extra;
        EXPECT_STREQ(back.GetControl(0)->GetExtraProperties(), c.written) << c.extra;
    }
}

TEST(SDialogRecord, TypedGetters)
{
    Record record;
    record.SetPropertyInt("NONE", (int)0xFF000000u);
    EXPECT_STREQ(record.GetProperty("NONE"), "-16777216");
    record.SetProperty("UNSIGNED", "4278190080");
    record.SetProperty("SYSTEM", "4261412879"); // 0xFE000000 + COLOR_BTNFACE
    record.SetPropertyInt("SIGNEDSYSTEM", (int)(0xFE000000u + COLOR_WINDOW));
    record.SetPropertyInt("RED", 0x0000FF);
    record.SetPropertyInt("TRANSPARENT", (int)0xFF000001u);
    record.SetProperty("WORD", "yes");
    record.SetProperty("TWO", "2");
    record.SetProperty("REAL", "-30.5");
    struct ColorCase
    {
        const char* key;
        uint32_t color;
    };
    const ColorCase colors[] = {
        {"NONE", 0xFF000000u},
        {"UNSIGNED", 0xFF000000u},
        {"ABSENT", 0xFF000000u},
        {"SYSTEM", GetSysColor(COLOR_BTNFACE)},
        {"SIGNEDSYSTEM", GetSysColor(COLOR_WINDOW)},
        {"RED", 0x0000FFu},
        {"TRANSPARENT", 0u},
    };
    for (const ColorCase& c : colors)
        EXPECT_EQ(record.GetPropertyColor(c.key), c.color) << c.key;
    EXPECT_EQ(record.GetPropertyUInt("UNSIGNED"), 0xFF000000u);
    EXPECT_EQ(record.GetPropertyUInt("NONE"), 0xFF000000u);
    EXPECT_FALSE(record.GetPropertyBool("WORD"));
    EXPECT_TRUE(record.GetPropertyBool("TWO"));
    EXPECT_EQ(record.GetPropertyInt("ABSENT"), 0);
    EXPECT_DOUBLE_EQ(record.GetPropertyDouble("REAL"), -30.5);

    struct ModeCase
    {
        const char* name;
        int mode;
    };
    const ModeCase modes[] = {{"_DRAWTOPCENTER", 1}, {"_DRAWBOTTOMRIGHT", 7}, {"_DRAWCENTER", 8},
                              {"_DRAWFIT", 11},      {"_DRAWTOPLEFT", 0},     {"_drawcenter", 0}};
    for (const ModeCase& c : modes)
    {
        record.SetProperty("MODE", c.name);
        EXPECT_EQ(record.GetPropertyDrawMode("MODE"), c.mode) << c.name;
    }
}

TEST(SDialogRecord, StyleBitOperationsAndCopies)
{
    Record record;
    EXPECT_TRUE(record.HasStyle(0));
    EXPECT_TRUE(record.ToggleStyle(0x3));
    EXPECT_EQ(record.GetStyle(), 0x3u);
    record.RemoveStyle(0x1);
    // Not all bits set: the toggle sets them.
    EXPECT_TRUE(record.ToggleStyle(0x3));
    EXPECT_FALSE(record.ToggleStyle(0x3));
    EXPECT_EQ(record.GetStyle(), 0u);
    record.SetExStyle(0x200, true);
    EXPECT_TRUE(record.HasExStyle(0x200));
    record.SetWidth(30);
    record.SetHeight(70);
    record.SwapWidthHeight();
    EXPECT_EQ(record.GetWidth(), 70);
    record.SetType(-5);
    EXPECT_EQ(record.GetType(), -1);

    Record copy;
    record.SetName("N");
    record.SetProperty("K", "V");
    copy.CopyFrom(record);
    EXPECT_STREQ(copy.GetName(), "N");
    EXPECT_STREQ(copy.GetProperty("K"), "V");
    EXPECT_EQ(copy.GetExStyle(), 0x200u);
    EXPECT_EQ(copy.GetWnd(), nullptr);
}

TEST(SDialogEditorModel, AddControlAppliesDefaultsAndUniqueNames)
{
    RefusingEditor editor;
    ASSERT_TRUE(editor.Init(true));
    const SDialogEditor::_SType* lcdType = editor.FindControlType("lcd");
    ASSERT_NE(lcdType, nullptr);
    EXPECT_EQ(lcdType->GetType(), SDialogEditor::TYPE_LCD);
    EXPECT_STREQ(editor.GetTypeInfo(SDialogEditor::TYPE_EXTERN)->GetCaption(), "External Control");
    EXPECT_EQ(editor.FindControlType("NOPE"), nullptr);
    EXPECT_EQ(editor.GetTypeInfo(34), nullptr);

    Record source;
    source.SetType(SDialogEditor::TYPE_LCD);
    Record* lcd = editor.AddControl(true, &source, false, false);
    ASSERT_NE(lcd, nullptr);
    EXPECT_EQ(editor.asked, 1);
    EXPECT_STREQ(lcd->GetName(), "LCD1");
    EXPECT_EQ(lcd->GetID(), 1);
    EXPECT_STREQ(lcd->GetCaption(), "BRIGHT LAMP WORKS");
    EXPECT_EQ(lcd->GetWidth(), 200);
    EXPECT_EQ(lcd->GetHeight(), 15);
    EXPECT_TRUE(lcd->HasStyle(WS_VISIBLE));
    EXPECT_TRUE(lcd->HasExStyle(WS_EX_STATICEDGE));
    EXPECT_EQ(lcd->GetPropertyInt("TABINDEX"), -1);
    EXPECT_EQ(lcd->GetPropertyInt("LCD_CHARCOUNT"), 16);
    EXPECT_STREQ(lcd->GetProperty("LCD_CELLCOLOR"), "-16777216");

    source.SetType(SDialogEditor::TYPE_BUTTON);
    Record* button = editor.AddControl(true, &source, false, false);
    ASSERT_NE(button, nullptr);
    EXPECT_STREQ(button->GetName(), "BUTTON1");
    EXPECT_EQ(button->GetID(), 2);
    EXPECT_EQ(button->GetWidth(), 100);
    EXPECT_EQ(button->GetStyle(), 0x10000F00u);
    EXPECT_STREQ(button->GetCaption(), "Button");

    // The same source again: a fresh name and ID; a member of the list is refused.
    Record* second = editor.AddControl(false, button, true, true);
    EXPECT_EQ(second, nullptr);
    Record copy;
    copy.CopyFrom(*button);
    second = editor.AddControl(false, &copy, true, true);
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second->GetName(), "BUTTON2");
    EXPECT_EQ(second->GetID(), 3);

    // The owner's hook can refuse; the model is left as it was.
    editor.refuse = true;
    EXPECT_EQ(editor.AddControl(true, &source, false, false), nullptr);
    EXPECT_EQ(editor.GetControlCount(), 3);
    // With NAME and ID kept the hook is not asked.
    int asked = editor.asked;
    Record kept;
    kept.SetType(SDialogEditor::TYPE_CHECK);
    kept.SetID(0);
    kept.SetName("not an identifier!");
    Record* added = editor.AddControl(false, &kept, true, true);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(editor.asked, asked);
    EXPECT_EQ(added->GetID(), 0);
    EXPECT_STREQ(added->GetName(), "not an identifier!");
    Record badType;
    badType.SetType(40);
    EXPECT_EQ(editor.AddControl(false, &badType, true, true), nullptr);

    // A DIALOG-typed source becomes an ordinary control with the common defaults only.
    editor.refuse = false;
    Record dialogType;
    dialogType.SetType(SDialogEditor::TYPE_DIALOG);
    Record* plain = editor.AddControl(true, &dialogType, false, false);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->IsDialog());
    EXPECT_STREQ(plain->GetCaption(), "Dialog");
    EXPECT_EQ(plain->GetWidth(), 150);

    SStringArray idNames;
    EXPECT_EQ(editor.CollectControls(SDialogEditor::TYPE_BUTTON, nullptr, nullptr, nullptr, &idNames), 2);
    EXPECT_STREQ(idNames.GetAt(0), "2|BUTTON1");
    EXPECT_EQ(editor.CollectControls(-1), 5);
    EXPECT_TRUE(editor.IsNameFree("Fresh_1"));
    EXPECT_FALSE(editor.IsNameFree("BUTTON1"));
    EXPECT_FALSE(editor.IsNameFree("1st"));
    EXPECT_FALSE(editor.IsNameFree("trailing_"));

    // Init again closes the open description and refills the same table.
    ASSERT_TRUE(editor.Init(true));
    EXPECT_EQ(editor.GetControlCount(), 0);
    EXPECT_NE(editor.FindControlType("BUTTON"), nullptr);
}
