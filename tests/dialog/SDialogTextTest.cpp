#include <gtest/gtest.h>

#include <string>

#include "../core/SFileTestSupport.h"
#include "DescriptionSupport.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

const char kGood[] =
    "TAVRIN DIALOG 1.0.0.0\r\n"
    "anything here\r\n"
    "[DIALOG]\r\n"
    "ID=0\r\n"
    "NAME=Prefs\r\n"
    "CAPTION=Preferences\r\n"
    "FONT=Tahoma, 8, 1\r\n"
    "POSITION=0 0 320  200\r\n"
    "STYLE=WS_VISIBLE WS_CAPTION WS_SYSMENU \r\n"
    "EXSTYLE=WS_EX_TOOLWINDOW \r\n"
    "BACKCOLOR=#004080\r\n"
    "TEXTCOLOR=#FF000000\r\n"
    "DIALOG_STATUSBARTEXT=Ready | Two\r\n"
    "\r\n"
    "[button]\r\n"
    "ID=7\r\n"
    "NAME=OK\r\n"
    "CAPTION=OK\r\n"
    "POSITION=10 150 100 25\r\n"
    "STYLE=WS_VISIBLE BS_CENTER BS_VCENTER \r\n"
    "id=5\r\n"
    "ID =9\r\n"
    "TOOLTIP=Save a=b\r\n"
    "=dropped\r\n"
    "EMPTY=\r\n"
    "\r\n"
    "[EDIT]\r\n"
    "ID=7\r\n"
    "NAME=OK\r\n"
    "POSITION= 1 2 3 4\r\n"
    "FONT=Arial, 9\r\n"
    "ISLOCKED=1\r\n"
    "TRANSPARENT=1\r\n"
    "\r\n";

class SDialogTextTest : public ::testing::Test
{
protected:
    void SetUp() override { editor.Init(true); }
    void ExpectEmpty(const char* name)
    {
        EXPECT_EQ(editor.GetDialog(), nullptr) << name;
        EXPECT_EQ(editor.GetControlCount(), 0) << name;
        EXPECT_FALSE(editor.IsOpen()) << name;
    }
    SDialogEditor editor;
};

} // namespace

TEST_F(SDialogTextTest, ReadsRecordsFieldsAndExtraProperties)
{
    ASSERT_TRUE(LoadText(editor, kGood));
    EXPECT_TRUE(editor.IsOpen());
    Record* dialog = editor.GetDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsDialog());
    EXPECT_EQ(dialog->GetType(), 0);
    EXPECT_STREQ(dialog->GetCaption(), "Preferences");
    EXPECT_STREQ(dialog->GetFontFace(), "Tahoma");
    EXPECT_EQ(dialog->GetFontSize(), 8);
    EXPECT_EQ(dialog->GetFontStyle(), 1u);
    // Two blanks between two numbers are one separator.
    EXPECT_EQ(dialog->GetWidth(), 320);
    EXPECT_EQ(dialog->GetHeight(), 200);
    EXPECT_EQ(dialog->GetStyle(), 0x10000000u | 0xC00000u | 0x80000u);
    EXPECT_EQ(dialog->GetExStyle(), 0x80u);
    EXPECT_EQ(dialog->GetBackColor(), 0x804000u);
    EXPECT_EQ(dialog->GetTextColor(), 0xFF000000u);
    EXPECT_STREQ(dialog->GetProperty("DIALOG_STATUSBARTEXT"), "Ready | Two");

    ASSERT_EQ(editor.GetControlCount(), 2);
    Record* button = editor.GetControl(0);
    EXPECT_EQ(button->GetType(), SDialogEditor::TYPE_BUTTON); // keywords ignore case
    EXPECT_EQ(button->GetID(), 7);
    EXPECT_EQ(button->GetStyle(), 0x10000F00u);
    // Keys are case-sensitive and untrimmed: they become extra properties.
    EXPECT_STREQ(button->GetProperty("id"), "5");
    EXPECT_STREQ(button->GetProperty("ID "), "9");
    EXPECT_STREQ(button->GetProperty("TOOLTIP"), "Save a=b");
    EXPECT_STREQ(button->GetExtraProperties(), "id=5\r\nID =9\r\nTOOLTIP=Save a=b\r\nEMPTY=\r\n");

    // The second control's ID and NAME were taken: it gets the next free ones.
    Record* edit = editor.GetControl(1);
    EXPECT_EQ(edit->GetID(), 1);
    EXPECT_STREQ(edit->GetName(), "EDIT1");
    // A position starting with a blank has five parts and is ignored; two-part FONT too.
    EXPECT_EQ(edit->GetX(), 10);
    EXPECT_EQ(edit->GetWidth(), 150);
    EXPECT_STREQ(edit->GetFontFace(), "");
    EXPECT_TRUE(edit->IsLocked());
    EXPECT_TRUE(edit->GetTransparent());
    EXPECT_EQ(editor.FindControlByName("OK"), button);
    EXPECT_EQ(editor.FindControlByID(1), edit);
}

TEST_F(SDialogTextTest, DamagedTextsFailAndLeaveTheModelEmpty)
{
    std::string good = kGood;
    std::string lfOnly = good;
    for (size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;)
        lfOnly.erase(at, 1);
    struct Case
    {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"trailing blank in the magic line", "TAVRIN DIALOG 1.0.0.0 \r\n\r\n[DIALOG]\r\nID=0\r\n\r\n"},
        {"wrong version", "TAVRIN DIALOG 1.0.0.1\r\n\r\n[DIALOG]\r\nID=0\r\n\r\n"},
        {"lower-case magic", "tavrin dialog 1.0.0.0\r\n\r\n"},
        {"LF-only line ends", lfOnly},
        {"field without =", "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nCAPTION\r\n\r\n"},
        {"unknown section", "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\n\r\n[WIDGET]\r\nID=1\r\n\r\n"},
        {"unclosed header", "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\n\r\n[BUTTON\r\nID=1\r\n\r\n"},
        {"blank after the header", "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG] \r\n\r\n"},
        {"two empty lines at the end", good + "\r\n"},
        {"a dialog keyword that is empty", "TAVRIN DIALOG 1.0.0.0\r\n\r\n[]\r\n\r\n"},
        {"empty stream", ""},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(LoadText(editor, good)) << c.name;
        EXPECT_FALSE(LoadText(editor, c.text)) << c.name;
        ExpectEmpty(c.name);
    }
    EXPECT_FALSE(editor.Load(nullptr));
    // The model stays usable after a failure.
    ASSERT_TRUE(LoadText(editor, good));
    EXPECT_EQ(editor.GetControlCount(), 2);
    // Before Init no keyword is known: every section is refused.
    SDialogEditor fresh;
    EXPECT_FALSE(LoadText(fresh, good));
}

TEST_F(SDialogTextTest, WriterRoundTripsItsOwnFormByteForByte)
{
    ASSERT_TRUE(LoadText(editor, kGood));
    bool ok = false;
    std::string first = SaveText(editor, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(first.rfind("TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nNAME=Prefs\r\nCAPTION=Preferences\r\n"
                          "FONT=Tahoma, 8, 1\r\nPOSITION=0 0 320 200\r\nSTYLE=WS_VISIBLE WS_BORDER WS_CAPTION WS_SYSMENU \r\n"
                          "EXSTYLE=WS_EX_TOOLWINDOW \r\nBACKCOLOR=#004080\r\nTEXTCOLOR=#FF000000\r\n"
                          "TRANSPARENT=0\r\nISLOCKED=0\r\nDIALOG_STATUSBARTEXT=Ready | Two\r\n\r\n[BUTTON]\r\n",
                          0),
              0u)
        << first;
    // The button's shared-bit names are all written; the default font is ", 0, 0".
    EXPECT_NE(first.find("STYLE=WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER BS_TOP BS_BOTTOM BS_VCENTER \r\n"), std::string::npos);
    EXPECT_NE(first.find("FONT=, 0, 0\r\n"), std::string::npos);
    SDialogEditor second;
    second.Init(true);
    ASSERT_TRUE(LoadText(second, first));
    EXPECT_EQ(SaveText(second), first);
}

TEST_F(SDialogTextTest, StyleNamesFollowTheRecordType)
{
    struct Case
    {
        int type;
        bool ex;
        uint32_t bits;
        const char* names;
    };
    const Case cases[] = {
        {SDialogEditor::TYPE_COMBO, false, 0x3, "CBS_SIMPLE CBS_DROPDOWN CBS_DROPDOWNLIST "},
        {SDialogEditor::TYPE_EDIT, false, 0x10000003, "WS_VISIBLE ES_LEFT ES_CENTER ES_RIGHT "},
        {SDialogEditor::TYPE_RICHEDIT, false, 0x3, "ES_LEFT ES_RIGHT ES_CENTER "},
        {SDialogEditor::TYPE_STATIC, false, 0x18000000, "WS_VISIBLE WS_DISABLED "},
        {SDialogEditor::TYPE_STATIC, true, 0, ""},
        {SDialogEditor::TYPE_TREE, true, 0x20200, "WS_EX_CLIENTEDGE WS_EX_STATICEDGE "},
    };
    for (const Case& c : cases)
    {
        Record record;
        record.SetType(c.type);
        if (c.ex)
            record.AssignExStyle(c.bits);
        else
            record.AssignStyle(c.bits);
        EXPECT_STREQ(record.StyleBitsToNames(c.ex), c.names) << c.type;
        Record back;
        back.SetType(c.type);
        back.StyleNamesToBits(c.ex, c.names);
        EXPECT_EQ(c.ex ? back.GetExStyle() : back.GetStyle(), c.bits) << c.type;
    }
    Record record;
    record.SetType(SDialogEditor::TYPE_STATIC);
    // Bits no name of the type covers are not written.
    record.AssignStyle(0x10000004);
    EXPECT_STREQ(record.StyleBitsToNames(false), "WS_VISIBLE ");
    // An empty value changes nothing; blanks only set 0; unknown names are ignored.
    record.StyleNamesToBits(false, "");
    EXPECT_EQ(record.GetStyle(), 0x10000004u);
    record.StyleNamesToBits(false, "   ");
    EXPECT_EQ(record.GetStyle(), 0u);
    Record edit;
    edit.SetType(SDialogEditor::TYPE_EDIT);
    // An EXSTYLE name on the STYLE line still ORs its value into STYLE.
    edit.StyleNamesToBits(false, "WS_EX_CLIENTEDGE NOT_A_STYLE es_left ES_NUMBER");
    EXPECT_EQ(edit.GetStyle(), 0x200u | 0x2000u);
}

TEST_F(SDialogTextTest, EmptyModelsAndSingleLineFields)
{
    // Only the two first lines: an empty model that loads.
    ASSERT_TRUE(LoadText(editor, "TAVRIN DIALOG 1.0.0.0\r\n\r\n"));
    EXPECT_TRUE(editor.IsOpen());
    EXPECT_EQ(editor.GetDialog(), nullptr);
    bool ok = false;
    EXPECT_EQ(SaveText(editor, &ok), "TAVRIN DIALOG 1.0.0.0\r\n\r\n");
    EXPECT_TRUE(ok);

    // Controls without a dialog record cannot be saved.
    SDialogEditor orphan;
    orphan.Init(true);
    Record button;
    button.SetType(SDialogEditor::TYPE_BUTTON);
    ASSERT_NE(orphan.AddControl(false, &button, true, true), nullptr);
    EXPECT_EQ(SaveText(orphan, &ok), "");
    EXPECT_FALSE(ok);

    // Line breaks in a single-line field are written as blanks, so the text reads back.
    Record dialog;
    dialog.SetCaption("Two\r\nLines");
    dialog.SetName("A\nB");
    dialog.SetFont("Odd\rFace", 9, 0);
    orphan.SetDialog(&dialog);
    std::string text = SaveText(orphan, &ok);
    ASSERT_TRUE(ok);
    SDialogEditor back;
    back.Init(true);
    ASSERT_TRUE(LoadText(back, text)) << text;
    EXPECT_STREQ(back.GetDialog()->GetCaption(), "Two  Lines");
    EXPECT_STREQ(back.GetDialog()->GetName(), "A B");
    EXPECT_STREQ(back.GetDialog()->GetFontFace(), "Odd Face");
    EXPECT_EQ(back.GetControlCount(), 1);
}

namespace
{

const char kHead[] = "TAVRIN DIALOG 1.0.0.0\r\n\r\n";

// A literal with the NULs it holds.
template <size_t N>
std::string Raw(const char (&text)[N])
{
    return std::string(text, N - 1);
}

} // namespace

TEST_F(SDialogTextTest, EveryLoadableDescriptionSavesIntoOneThatLoadsTheSameRecords)
{
    const std::string root = std::string(TEST_SOURCE_DIR) + "/../../";
    const std::string section = std::string(kHead) + "[DIALOG]\r\nID=0\r\nNAME=Form\r\nPOSITION=1 2 300 200\r\n";
    struct Case
    {
        const char* name;
        std::string text;
        // The dialog record's extra text as loaded; null: not checked.
        const char* extra;
    };
    const Case cases[] = {
        {"preferences dialog", file_test::ReadFileBytes(root + "app/res/162.dlg"), nullptr},
        {"folder properties dialog", file_test::ReadFileBytes(root + "app/res/215.dlg"), nullptr},
        {"playlist name dialog", file_test::ReadFileBytes(root + "app/res/247.dlg"), nullptr},
        {"updater extract window", file_test::ReadFileBytes(root + "updater/UpdateExtract.dlg"), nullptr},
        {"updater make window", file_test::ReadFileBytes(root + "updater/UpdateMake.dlg"), nullptr},
        {"the reader's sample", kGood, nullptr},
        {"designer sample", section + "STYLE=WS_VISIBLE \r\n\r\n[BUTTON]\r\nID=1\r\nNAME=Ok\r\nTABINDEX=2\r\n\r\n", ""},
        // A lone LF in a key, at the very end of the text: written whole it would be a line without "=".
        {"lone LF in a key", std::string(kHead) + "[DIALOG]\r\nI\nO=)", "I O=)\r\n"},
        {"lone CR before a field key", section + "TOOLTIP=a\r\n\rID=2\r\n\r\n", "TOOLTIP=a\r\n ID=2\r\n"},
        {"lone LF before a field key", section + "\nPOSITION=0 0 200 80\r\n", " POSITION=0 0 200 80\r\n"},
        {"lone CR inside a value", section + "TOOLTIP=a\rTABINDEX=5\r\n", "TOOLTIP=a TABINDEX=5\r\n"},
        {"lone LF and CR in one value", section + "HALIGN=1\n\rNAME=x\r\n", "HALIGN=1  NAME=x\r\n"},
        {"NUL inside a value", section + Raw("TOOLTIP=a\0b\r\nHALIGN=2\r\n"), "TOOLTIP=a b\r\nHALIGN=2\r\n"},
        {"NUL inside a key", section + Raw("TOOL\0TIP=c\r\n"), "TOOL TIP=c\r\n"},
        {"a key that is a lone CR", section + "\r=5\r\n", " =5\r\n"},
        {"NUL in NAME and CAPTION", section + Raw("NAME=a\0b\r\nCAPTION=\0\r\n"), ""},
        {"lone CR and LF in NAME and FONT", section + "NAME=a\rb\nc\r\nFONT=Odd\nFace, 9, 1\r\n", ""},
        {"blanks around a position", section + "POSITION=5  6   7 8 \r\n", ""},
    };
    for (const Case& c : cases)
    {
        ASSERT_FALSE(c.text.empty()) << c.name;
        ASSERT_TRUE(LoadText(editor, c.text)) << c.name;
        ASSERT_NE(editor.GetDialog(), nullptr) << c.name;
        if (c.extra)
        {
            EXPECT_EQ(Whole(editor.GetDialog()->GetExtraProperties()), c.extra) << c.name;
        }
        EXPECT_EQ(RoundTripFault(editor), "") << c.name;
    }
    // What the line breaks and NULs became: blanks, never a cut or a new line.
    ASSERT_TRUE(LoadText(editor, section + Raw("NAME=a\0b\r\nCAPTION=x\ry\r\nFONT=Odd\nFace, 9, 1\r\n")));
    EXPECT_EQ(Whole(editor.GetDialog()->GetName()), "a b");
    EXPECT_EQ(Whole(editor.GetDialog()->GetCaption()), "x y");
    EXPECT_EQ(Whole(editor.GetDialog()->GetFontFace()), "Odd Face");
    // A broken-up key is no key: the field keeps the value it was given.
    ASSERT_TRUE(LoadText(editor, section + "TOOLTIP=a\r\n\rID=2\r\n\nPOSITION=0 0 9 9\r\n"));
    EXPECT_EQ(editor.GetDialog()->GetID(), 0);
    EXPECT_EQ(editor.GetDialog()->GetWidth(), 300);
    EXPECT_STREQ(editor.GetDialog()->GetProperty("ID"), "");
}

TEST_F(SDialogTextTest, PositionNeedsExactlyFourNumbersBetweenBlankRuns)
{
    struct Case
    {
        const char* value;
        int x, y, width, height;
    };
    // The record's values before the line are 1 2 300 200.
    const Case cases[] = {
        {"5 6 7 8", 5, 6, 7, 8},
        {"5  6   7 8 ", 5, 6, 7, 8},
        {"5 6 7 8    ", 5, 6, 7, 8},
        {"-5 6 70000 8", -5, 6, 70000 - 65536, 8},
        {" 5 6 7 8", 1, 2, 300, 200},
        {"5 6 7", 1, 2, 300, 200},
        {"5 6 7 ", 1, 2, 300, 200},
        {"5 6 7 8 9", 1, 2, 300, 200},
        {"", 1, 2, 300, 200},
        {"   ", 1, 2, 300, 200},
    };
    for (const Case& c : cases)
    {
        std::string text = std::string(kHead) + "[DIALOG]\r\nPOSITION=1 2 300 200\r\nPOSITION=" + c.value + "\r\n";
        ASSERT_TRUE(LoadText(editor, text)) << c.value;
        Record* dialog = editor.GetDialog();
        EXPECT_EQ(dialog->GetX(), c.x) << "[" << c.value << "]";
        EXPECT_EQ(dialog->GetY(), c.y) << "[" << c.value << "]";
        EXPECT_EQ(dialog->GetWidth(), c.width) << "[" << c.value << "]";
        EXPECT_EQ(dialog->GetHeight(), c.height) << "[" << c.value << "]";
    }
}
