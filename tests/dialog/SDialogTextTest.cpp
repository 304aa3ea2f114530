#include <gtest/gtest.h>

#include <string>

#include "SDialogEditor.h"
#include "SFileMem.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

std::string Bytes(SFileMem& stream)
{
    return std::string((const char*)stream.GetBuffer(), (size_t)stream.GetSize());
}

bool LoadText(SDialogEditor& editor, const std::string& text)
{
    SFileMem stream;
    stream.Allocate(0);
    stream.Write(text.data(), (int)text.size());
    stream.Rewind();
    return editor.Load(&stream);
}

std::string SaveText(SDialogEditor& editor, bool* ok = nullptr)
{
    SFileMem stream;
    stream.Allocate(0);
    bool saved = editor.Save(&stream);
    if (ok)
        *ok = saved;
    return Bytes(stream);
}

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
