#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SCodeEditCtrl.h"
#include "SComboCtrl.h"
#include "../LeakCheck.h"
#include "SDialogEditor.h"
#include "SEditCtrl.h"
#include "SExListCtrl.h"
#include "SExternCtrl.h"
#include "SLabelCtrl.h"
#include "SLcdCtrl.h"
#include "SListCtrl.h"
#include "SProgressCtrl.h"
#include "SRadioCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SSplitterCtrl.h"
#include "SStaticCtrl.h"
#include "STabCtrl.h"
#include "SToolBarCtrl.h"
#include "STreeCtrl.h"

namespace
{

using Record = SDialogEditor::_SCtrl;

// A hidden parent for the controls made in a test, destroyed with the test.
class HiddenParent
{
public:
    HiddenParent()
    {
        RECT rect = {0, 0, 600, 400};
        m_window.Create("factory", WS_POPUP, 0, &rect, nullptr);
    }
    HWND Get() const { return m_window.GetHandle(); }

private:
    SWnd m_window;
};

// A dialog whose custom object for BUTTON records is of a class chosen by the test.
class CustomDialog : public SWndDialog
{
public:
    SWnd* CreateCustomControl(int type, const _SRecord*) override
    {
        asked = type;
        if (type == SDialogEditor::TYPE_BUTTON)
            return wrongClass ? (SWnd*)new SLabelCtrl() : (SWnd*)(made = new SButtonCtrl());
        if (type == SDialogEditor::TYPE_DIALOG)
            return new SButtonCtrl();
        return nullptr;
    }
    bool wrongClass = false;
    int asked = -1;
    SButtonCtrl* made = nullptr;
};

// The window text as the system reports it.
std::string WindowText(SWnd* control)
{
    char text[256] = "";
    GetWindowTextA(control->GetHandle(), text, sizeof(text));
    return text;
}

void Fill(Record& record, int type, const char* extra, const char* caption = "Caption")
{
    record.SetType(type);
    record.SetID(42);
    record.SetName("THING");
    record.SetCaption(caption);
    record.SetX(5);
    record.SetY(6);
    record.SetWidth(200);
    record.SetHeight(80);
    record.AssignStyle(WS_VISIBLE);
    record.SetExtraProperties(extra);
}

} // namespace

TEST(SDialogFactory, EveryTypeOfThisLayerIsMadeWithItsKeys)
{
    HiddenParent parent;
    struct Case
    {
        int type;
        const char* extra;
        std::function<bool(SWnd*)> check;
    };
    const Case cases[] = {
        {SDialogEditor::TYPE_BUTTON, "", [](SWnd* c) { return dynamic_cast<SButtonCtrl*>(c) && WindowText(c) == "Caption"; }},
        {SDialogEditor::TYPE_CHECK, "CHECK_CHECKED=1\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SCheckCtrl*>(c); return x && x->GetCheck() == 1; }},
        {SDialogEditor::TYPE_CODEEDIT, "CODEEDIT_TABSIZE=1\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SCodeEditCtrl*>(c); return x && x->HasDocument() && WindowText(c) == "Caption"; }},
        {SDialogEditor::TYPE_COMBO, "COMBO_CONTENT=one | two|three\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SComboCtrl*>(c); return x && x->GetCount() == 3; }},
        {SDialogEditor::TYPE_EDIT, "EDIT_MAXLENGTH=5\r\n",
         [](SWnd* c) { return dynamic_cast<SEditCtrl*>(c) && c->SendMessage(EM_GETLIMITTEXT) == 5; }},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_GRIDLINES=1\r\nEXLIST_FULLROWSELECT=1\r\n",
         [](SWnd* c) {
             return dynamic_cast<SExListCtrl*>(c) &&
                    (c->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & 0x21) == 0x21;
         }},
        {SDialogEditor::TYPE_LABEL, "LABEL_HALIGN=_CENTER\r\nLABEL_VALIGN=_BOTTOM\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SLabelCtrl*>(c); return x && x->GetAlignment() == 0x21; }},
        {SDialogEditor::TYPE_LCD, "LCD_CHARCOUNT=0\r\nLCD_LINECOUNT=2\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SLcdCtrl*>(c); return x && x->GetCharCount() == 1 && x->GetLineCount() == 2; }},
        {SDialogEditor::TYPE_LIST, "LIST_CONTENT=a|b\r\n",
         [](SWnd* c) { return dynamic_cast<SListCtrl*>(c) && c->SendMessage(LB_GETCOUNT) == 2; }},
        {SDialogEditor::TYPE_PROGRESS, "PROGRESS_MINVALUE=0\r\nPROGRESS_MAXVALUE=50\r\nPROGRESS_VALUE=20\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SProgressCtrl*>(c); return x && x->GetPos() == 20; }},
        {SDialogEditor::TYPE_RADIO, "RADIO_GROUP=3\r\nRADIO_CHECKED=1\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SRadioCtrl*>(c); return x && x->GetGroup() == 3 && x->SendMessage(BM_GETCHECK) == 1; }},
        {SDialogEditor::TYPE_SCROLL, "SCROLL_MINVALUE=0\r\nSCROLL_MAXVALUE=100\r\nSCROLL_VALUE=40\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SScrollCtrl*>(c); return x && x->GetPos() == 40; }},
        {SDialogEditor::TYPE_SLIDER, "SLIDER_MINVALUE=0\r\nSLIDER_MAXVALUE=10\r\nSLIDER_VALUE=7\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SSliderCtrl*>(c); return x && x->GetPos() == 7; }},
        {SDialogEditor::TYPE_SPLITTER, "SPLITTER_COLCOUNT=3\r\nSPLITTER_ROWCOUNT=1\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SSplitterCtrl*>(c); return x && x->GetPane(2, 0) && !x->GetPane(3, 0); }},
        {SDialogEditor::TYPE_STATIC, "STATIC_EDGE=_EDGEBUMP\r\nSTATIC_TOPBORDER=1\r\nSTATIC_LEFTBORDER=1\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SStaticCtrl*>(c); return x && x->GetEdge() == 9 && x->GetBorderFlags() == 3; }},
        {SDialogEditor::TYPE_TAB, "TAB_CONTENT=One | Two | Three\r\nTAB_SELECTION=1\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<STabCtrl*>(c); return x && x->GetItemCount() == 3 && x->GetCurSel() == 1; }},
        {SDialogEditor::TYPE_TOOLBAR, "TOOLBAR_CONTENT=| Open || Save | |\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SToolBarCtrl*>(c); return x && x->GetButtonCount() == 4; }},
        {SDialogEditor::TYPE_TREE, "",
         [](SWnd* c) { auto* x = dynamic_cast<STreeCtrl*>(c); return x && x->IsDragDropEnabled(); }},
        {SDialogEditor::TYPE_WINDOW, "",
         [](SWnd* c) { return dynamic_cast<SDialogEditor::_SWnd*>(c) && c->GetBackColor() == 0xFFFFFFu; }},
        {SDialogEditor::TYPE_EXTERN, "EXTERN_NAME=Gauge\r\nEXTERN_FILENAME=gauge.dll\r\n",
         [](SWnd* c) { auto* x = dynamic_cast<SExternCtrl*>(c); return x && x->GetExternName() == "Gauge" && x->GetFileName() == "gauge.dll"; }},
    };
    for (const Case& c : cases)
    {
        Record record;
        Fill(record, c.type, c.extra);
        record.SetProperty("TOOLTIP", "tip");
        SWnd* control = SDialogEditor::CreateControl(nullptr, parent.Get(), &record, nullptr, true);
        ASSERT_NE(control, nullptr) << c.type;
        EXPECT_TRUE(c.check(control)) << c.type;
        EXPECT_EQ(control->GetUserData(), 42) << c.type;
        EXPECT_STREQ(control->GetName(), "THING") << c.type;
        EXPECT_EQ(control->GetParent(), parent.Get()) << c.type;
        EXPECT_NE(control->GetTooltip(), nullptr) << c.type;
        delete control;
    }
}

TEST(SDialogFactory, PreviewsAreHiddenAndUnknownTypesGiveNothing)
{
    HiddenParent parent;
    Record record;
    Fill(record, SDialogEditor::TYPE_BUTTON, "");
    SWnd* preview = SDialogEditor::CreateControl(nullptr, parent.Get(), &record, nullptr, false);
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->GetStyle() & WS_VISIBLE);
    delete preview;
    // A TOOLBAR content that starts with an empty token gets its separator first.
    Record bar;
    Fill(bar, SDialogEditor::TYPE_TOOLBAR, "TOOLBAR_CONTENT=|A|B\r\n");
    SToolBarCtrl* toolBar = (SToolBarCtrl*)SDialogEditor::CreateControl(nullptr, parent.Get(), &bar, nullptr, true);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar->GetButtonCount(), 3);
    TBBUTTON first;
    ASSERT_TRUE(toolBar->SendMessage(TB_GETBUTTON, 0, (LPARAM)&first));
    EXPECT_TRUE(first.fsStyle & BTNS_SEP);
    delete toolBar;
    for (int type : {(int)SDialogEditor::TYPE_DIALOG, -1, 34})
    {
        Record odd;
        Fill(odd, type, "");
        EXPECT_EQ(SDialogEditor::CreateControl(nullptr, parent.Get(), &odd, nullptr, true), nullptr) << type;
    }
}

TEST(SDialogFactory, SplitterCountsPastTheLimitBuildNothing)
{
    HiddenParent parent;
    struct Case
    {
        const char* extra;
        bool built;
        int panes;
    };
    const Case cases[] = {
        {"SPLITTER_COLCOUNT=100000\r\nSPLITTER_ROWCOUNT=100000\r\n", false, 0},
        {"SPLITTER_COLCOUNT=65536\r\nSPLITTER_ROWCOUNT=65537\r\n", false, 0},
        {"SPLITTER_COLCOUNT=2147483647\r\nSPLITTER_ROWCOUNT=2\r\n", false, 0},
        {"SPLITTER_COLCOUNT=1\r\nSPLITTER_ROWCOUNT=5000\r\n", false, 0},
        {"SPLITTER_COLCOUNT=0\r\nSPLITTER_ROWCOUNT=1\r\n", true, 0},
        {"SPLITTER_COLCOUNT=2\r\nSPLITTER_ROWCOUNT=2\r\n", true, 4},
    };
    for (const Case& c : cases)
    {
        Record record;
        Fill(record, SDialogEditor::TYPE_SPLITTER, c.extra);
        SWnd* control = SDialogEditor::CreateControl(nullptr, parent.Get(), &record, nullptr, true);
        EXPECT_EQ(c.built, control != nullptr) << c.extra;
        if (control)
        {
            EXPECT_EQ(c.panes, static_cast<SSplitterCtrl*>(control)->GetPaneCount()) << c.extra;
        }
        else
        {
            EXPECT_EQ(nullptr, GetWindow(parent.Get(), GW_CHILD)) << c.extra << ": a window was left behind";
        }
        delete control;
    }
}

TEST(SDialogFactory, CustomObjectsMustBeOfTheTypeClass)
{
    HiddenParent parent;
    CustomDialog dialog;
    Record record;
    Fill(record, SDialogEditor::TYPE_BUTTON, "");
    SWnd* control = SDialogEditor::CreateControl(&dialog, parent.Get(), &record, nullptr, true);
    EXPECT_EQ(dialog.asked, SDialogEditor::TYPE_BUTTON);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control, dialog.made);
    EXPECT_STREQ(control->GetName(), "THING");
    delete control;
    // An object of another class is deleted and the built-in button is made.
    dialog.wrongClass = true;
    control = SDialogEditor::CreateControl(&dialog, parent.Get(), &record, nullptr, true);
    ASSERT_NE(control, nullptr);
    EXPECT_NE(dynamic_cast<SButtonCtrl*>(control), nullptr);
    delete control;
    // A custom object for DIALOG is deleted and nothing is made.
    Record form;
    Fill(form, SDialogEditor::TYPE_DIALOG, "");
    EXPECT_EQ(SDialogEditor::CreateControl(&dialog, parent.Get(), &form, nullptr, true), nullptr);
}

TEST(SDialogFactory, EveryTypeMadeShownAndDeletedAgainKeepsNoObject)
{
    // Shown, so that every control paints.
    RECT rect = {0, 0, 600, 400};
    SWnd parent;
    ASSERT_TRUE(parent.Create("factory", WS_POPUP | WS_VISIBLE, 0, &rect, nullptr));
    struct Case
    {
        int type;
        const char* extra;
    };
    const Case cases[] = {
        {SDialogEditor::TYPE_BROWSER, ""},
        {SDialogEditor::TYPE_BUTTON, ""},
        {SDialogEditor::TYPE_CHECK, "CHECK_CHECKED=1\r\n"},
        {SDialogEditor::TYPE_CODEEDIT, "CODEEDIT_TABSIZE=1\r\n"},
        {SDialogEditor::TYPE_COMBO, "COMBO_CONTENT=one | two|three\r\n"},
        {SDialogEditor::TYPE_EDIT, "EDIT_MAXLENGTH=5\r\n"},
        {SDialogEditor::TYPE_EXTENDEDLIST, "EXLIST_GRIDLINES=1\r\nEXLIST_FULLROWSELECT=1\r\n"},
        {SDialogEditor::TYPE_GROUP, ""},
        {SDialogEditor::TYPE_LABEL, "LABEL_HALIGN=_CENTER\r\nLABEL_VALIGN=_BOTTOM\r\n"},
        {SDialogEditor::TYPE_LCD, "LCD_CHARCOUNT=8\r\nLCD_LINECOUNT=2\r\n"},
        {SDialogEditor::TYPE_LIST, "LIST_CONTENT=a|b\r\n"},
        {SDialogEditor::TYPE_MEDIA, ""},
        {SDialogEditor::TYPE_MEDIAPLAYER, ""},
        {SDialogEditor::TYPE_PANEL, ""},
        {SDialogEditor::TYPE_PROGRESS, "PROGRESS_MINVALUE=0\r\nPROGRESS_MAXVALUE=50\r\nPROGRESS_VALUE=20\r\n"},
        {SDialogEditor::TYPE_RADIO, "RADIO_GROUP=3\r\nRADIO_CHECKED=1\r\n"},
        {SDialogEditor::TYPE_RICHEDIT, ""},
        {SDialogEditor::TYPE_SCROLL, "SCROLL_MINVALUE=0\r\nSCROLL_MAXVALUE=100\r\nSCROLL_VALUE=40\r\n"},
        {SDialogEditor::TYPE_SLIDER, "SLIDER_MINVALUE=0\r\nSLIDER_MAXVALUE=10\r\nSLIDER_VALUE=7\r\n"},
        {SDialogEditor::TYPE_SPLITTER, "SPLITTER_COLCOUNT=3\r\nSPLITTER_ROWCOUNT=2\r\n"},
        {SDialogEditor::TYPE_STATIC, "STATIC_EDGE=_EDGEBUMP\r\nSTATIC_TOPBORDER=1\r\nSTATIC_LEFTBORDER=1\r\n"},
        {SDialogEditor::TYPE_TAB, "TAB_CONTENT=One | Two | Three\r\nTAB_SELECTION=1\r\n"},
        {SDialogEditor::TYPE_TOOLBAR, "TOOLBAR_CONTENT=| Open || Save | |\r\n"},
        {SDialogEditor::TYPE_TREE, ""},
        {SDialogEditor::TYPE_WINDOW, ""},
    };
    for (const Case& c : cases)
    {
        Record record;
        Fill(record, c.type, c.extra);
        record.SetProperty("TOOLTIP", "tip");
        EXPECT_TRUE(KeepsNoObject([&] {
            std::unique_ptr<SWnd> control(SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, true));
            EXPECT_NE(control, nullptr);
            RedrawWindow(parent.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        })) << "type " << c.type;
    }
}
