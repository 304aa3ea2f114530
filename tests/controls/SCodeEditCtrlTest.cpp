// The code editor control: window text, commands, painting, real keys, clipboard,
// find/replace, go to line, context menu and printing.
#include <gtest/gtest.h>

#include <string>

#include "../window/InputTestSupport.h"
#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "PrinterTestSupport.h"
#include "SClipboard.h"
#include "SDraw.h"
#include "SCodeEditCtrl.h"
#include "SLibrary.h"

namespace
{

SWnd* g_runningGoto = nullptr;

// Ends a go-to window that the posted answer did not end, so that no test waits for ever.
void CALLBACK EndGotoTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (g_runningGoto)
        g_runningGoto->EndModal(0);
}

class TestEditor : public SCodeEditCtrl
{
public:
    void ShowContextMenu(int x, int y) override
    {
        menus++;
        menuX = x;
        menuY = y;
    }
    int RunGoToWindow(_SWndGoto* window) override
    {
        gotoCaption = (const char*)window->GetText();
        gotoInitial = (const char*)window->GetEdit()->GetText();
        window->GetEdit()->SetWindowText(gotoAnswer.c_str());
        // Showing and hiding a captioned window costs Wine seconds: most cases skip the modal run.
        if (!realGoto)
            return window->GetNumber();
        window->PostMessage(WM_S_OK, 0, 1);
        g_runningGoto = window;
        UINT_PTR guard = ::SetTimer(nullptr, 0, 3000, EndGotoTimer);
        int result = SCodeEditCtrl::RunGoToWindow(window);
        ::KillTimer(nullptr, guard);
        g_runningGoto = nullptr;
        return result;
    }
    void OnSelectionChanged() override { selectionChanges++; }
    void OnPanelCommand(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record) override
    {
        panelCommands++;
        lastPanel = panel;
        lastButton = button;
        lastRecord = record;
        (void)group;
    }
    HWND OpenFindDialog(FINDREPLACEA* record, bool replace) override
    {
        if (!stubFindDialog)
            return SCodeEditCtrl::OpenFindDialog(record, replace);
        return CreateWindowExA(0, "STATIC", "find", WS_POPUP, 0, 0, 10, 10, GetHandle(), nullptr, nullptr, nullptr);
    }

    int menus = 0, menuX = 0, menuY = 0;
    int selectionChanges = 0;
    int panelCommands = 0, lastButton = -1;
    SPanelCtrl* lastPanel = nullptr;
    SPanelCtrl::_SButton* lastRecord = nullptr;
    bool realGoto = false, stubFindDialog = false;
    std::string gotoAnswer, gotoCaption, gotoInitial;
};

// The parent also counts the library's change notifications.
class EditorParent : public SRecordingParent
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_CHANGED)
            changes++;
        return SRecordingParent::OnMessage(msg, wParam, lParam);
    }
    int changes = 0;
};

// One visible parent for all the editor tests: hiding a top-level window costs Wine
// seconds without a window manager.
class SCodeEditCtrlTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_parent = new EditorParent;
        s_parent->CreateParent(400, 300);
    }
    static void TearDownTestSuite()
    {
        delete s_parent;
        s_parent = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(parent.GetHandle());
        parent.ClearReceived();
        parent.changes = 0;
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(editor.Create(WS_VISIBLE, 0, &rect, parent.GetHandle()));
        PumpPending();
    }
    void SetText(const char* text) { editor.SendMessage(WM_SETTEXT, 0, (LPARAM)text); }
    std::string Line(int index)
    {
        SString* line = editor.GetLineText(index);
        return line ? std::string((const char*)*line) : std::string("<none>");
    }
    void Caret(int* line, int* column) { editor.GetCaret(line, column); }
    size_t Changes() { return parent.Received(SCodeEditCtrl::kChangedMessage).size(); }

    static EditorParent* s_parent;
    EditorParent& parent = *s_parent;
    TestEditor editor;
};

EditorParent* SCodeEditCtrlTest::s_parent = nullptr;

// A 32-bit picture of the editor's client area painted through WM_PRINTCLIENT.
class Snapshot
{
public:
    explicit Snapshot(SWnd* window)
    {
        m_width = window->GetClientWidth();
        m_height = window->GetClientHeight();
        BITMAPINFO info = TopDownDibHeader(m_width, m_height);
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        window->SendMessage(WM_PRINTCLIENT, (WPARAM)m_dc, PRF_CLIENT);
        GdiFlush();
    }
    ~Snapshot()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    COLORREF At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return CLR_INVALID;
        DWORD pixel = m_bits[y * m_width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // Pixels of exactly that colour inside the rectangle.
    int Count(const RECT& rect, COLORREF color) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                count += At(x, y) == color ? 1 : 0;
        return count;
    }

private:
    int m_width = 0, m_height = 0;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

// The cells of columns [from, to) on a row.
RECT Cells(SCodeEditCtrl& editor, int row, int from, int to)
{
    int left = editor.GetTextRect().left, width = editor.GetCharWidth(), height = editor.GetLineHeight();
    RECT rect = {left + from * width, row * height, left + to * width, (row + 1) * height};
    return rect;
}

void Press(BYTE key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

}

TEST_F(SCodeEditCtrlTest, WindowTextLoadsAndReadsBack)
{
    EXPECT_EQ(editor.GetKind(), SKIND_CODEEDIT);
    EXPECT_FALSE(editor.HasDocument());
    EXPECT_EQ(editor.SendMessage(WM_GETTEXTLENGTH), 0);
    SetText("first\r\nsecond\r\n");
    EXPECT_TRUE(editor.HasDocument());
    EXPECT_EQ(editor.GetLineCount(), 3);
    EXPECT_EQ(editor.SendMessage(WM_GETTEXTLENGTH), 15);
    char buffer[32];
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(editor.SendMessage(WM_GETTEXT, 0, (LPARAM)buffer), 0);
    EXPECT_EQ(buffer[0], 'x') << "a buffer of no size is not written";
    EXPECT_EQ(editor.SendMessage(WM_GETTEXT, 1, (LPARAM)buffer), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 'x');
    EXPECT_EQ(editor.SendMessage(WM_GETTEXT, 8, (LPARAM)buffer), 7);
    EXPECT_STREQ(buffer, "first\r\n");
    EXPECT_EQ(editor.SendMessage(WM_GETTEXT, sizeof(buffer), (LPARAM)buffer), 15);
    EXPECT_STREQ(buffer, "first\r\nsecond\r\n");
    EXPECT_TRUE(editor.Clear());
    EXPECT_FALSE(editor.Clear());
    EXPECT_FALSE(editor.HasDocument());
}

TEST_F(SCodeEditCtrlTest, EditsNotifyTheParentAndReadOnlyBlocksTheUser)
{
    ASSERT_TRUE(editor.New("doc"));
    EXPECT_EQ(editor.GetDocumentName(), "doc");
    // Backspace at the very start changes nothing and tells nothing.
    editor.SendMessage(WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(Changes(), 0u);
    EXPECT_TRUE(editor.ReplaceSelection("one\r\ntwo"));
    ASSERT_EQ(Changes(), 1u);
    EXPECT_EQ(parent.Received(SCodeEditCtrl::kChangedMessage)[0].wParam, (WPARAM)&editor);
    EXPECT_EQ(parent.changes, 1);
    editor.SendMessage(WM_CHAR, 'x', 0);
    EXPECT_EQ(Line(1), "twox");
    EXPECT_EQ(Changes(), 2u);
    editor.SendMessage(WM_CHAR, '\r', 0);
    EXPECT_EQ(editor.GetLineCount(), 3);
    editor.OnUndo();
    editor.OnUndo();
    EXPECT_EQ(Line(1), "two");
    EXPECT_EQ(editor.GetLineCount(), 2);

    editor.SetReadOnly(true);
    size_t before = Changes();
    editor.SendMessage(WM_CHAR, 'y', 0);
    editor.SendMessage(WM_KEYDOWN, VK_BACK, 0);
    editor.OnUndo();
    editor.SelectWholeText();
    editor.OnCut();
    editor.OnDelete();
    EXPECT_EQ(Changes(), before);
    EXPECT_EQ(editor.GetLineCount(), 2);
    EXPECT_GT(editor.selectionChanges, 0);
    // The program's own calls are not blocked.
    EXPECT_TRUE(editor.ReplaceSelection("all"));
    EXPECT_EQ(editor.GetLineCount(), 1);
}

TEST_F(SCodeEditCtrlTest, BarWidthFollowsTheDigitsOfTheLineCount)
{
    std::string text;
    for (int i = 0; i < 999; i++)
        text += "x\r\n";
    SetText(text.c_str());
    EXPECT_EQ(editor.GetLineCount(), 1000);
    EXPECT_EQ(editor.GetBarRect().right, 20);
    editor.SetShowLineNumbers(true);
    EXPECT_EQ(editor.GetBarRect().right, 32);
    EXPECT_EQ(editor.GetTextRect().left, 34);
    editor.SetSelectionRaw(999, 0, 5, 0, -1);
    editor.SendMessage(WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(editor.GetLineCount(), 6);
    EXPECT_EQ(editor.GetBarRect().right, 20);
    editor.SetBarWidth(50);
    EXPECT_EQ(editor.GetBarRect().right, 50);
}

TEST_F(SCodeEditCtrlTest, PaintingColoursKeywordsStringsAndComments)
{
    const COLORREF keyword = RGB(255, 0, 0), string = RGB(0, 160, 0), comment = RGB(0, 0, 255);
    editor.SetTextColors(RGB(0, 0, 0), keyword, string, RGB(128, 0, 128), comment);
    editor.AddKeyword("int");
    editor.SetCommentMode(true);
    editor.SetStringMode(true);
    SetText("int s = \"int\"; // int\r\n\t\t\r\nabc\r\ndef\r\nend");
    ASSERT_GT(editor.GetCharWidth(), 0);
    ASSERT_GT(editor.GetLineHeight(), 0);
    editor.SetSelectionRaw(1, 2, -1, -1, 0);
    {
        Snapshot shot(&editor);
        RECT word = Cells(editor, 0, 0, 3), quoted = Cells(editor, 0, 8, 13), note = Cells(editor, 0, 15, 21);
        EXPECT_GT(shot.Count(word, keyword), 0);
        EXPECT_EQ(shot.Count(word, string) + shot.Count(word, comment), 0);
        EXPECT_GT(shot.Count(quoted, string), 0);
        EXPECT_EQ(shot.Count(quoted, keyword), 0) << "a keyword inside a string stays a string";
        EXPECT_GT(shot.Count(note, comment), 0);
        EXPECT_EQ(shot.Count(note, keyword), 0) << "a keyword inside a comment stays a comment";
        // A caret line of tabs only shows its colour past the tabs.
        RECT tabs = Cells(editor, 1, 0, 8), past = Cells(editor, 1, 9, 12);
        EXPECT_EQ(shot.Count(tabs, RGB(255, 255, 255)), (tabs.right - tabs.left) * (tabs.bottom - tabs.top));
        EXPECT_EQ(shot.Count(past, RGB(0xF5, 0xF5, 0xF5)), (past.right - past.left) * (past.bottom - past.top));
        // The bar beside text lines and below the last line.
        int y = editor.GetLineHeight() / 2;
        EXPECT_EQ(shot.At(5, y), RGB(0xD7, 0xE4, 0xED));
        EXPECT_EQ(shot.At(5, 6 * editor.GetLineHeight() + y), RGB(0xD0, 0xD0, 0xD0));
    }
    editor.SetCommentMode(false);
    {
        Snapshot shot(&editor);
        RECT note = Cells(editor, 0, 15, 21);
        EXPECT_EQ(shot.Count(note, comment), 0) << "without comment mode two slashes are plain text";
        EXPECT_GT(shot.Count(Cells(editor, 0, 18, 21), keyword), 0);
    }
    // A selection over several lines shows half a cell past each fully selected line's end.
    editor.SetSelectionRaw(3, 2, 2, 0, -1);
    {
        Snapshot shot(&editor);
        int cell = editor.GetCharWidth(), height = editor.GetLineHeight();
        int left = editor.GetTextRect().left;
        EXPECT_EQ(shot.At(left + 3 * cell + cell / 4, 2 * height + height / 2), RGB(0, 0, 0));
        EXPECT_EQ(shot.At(left + 3 * cell + cell * 3 / 4, 2 * height + height / 2), RGB(255, 255, 255));
        EXPECT_EQ(shot.At(left + 2 * cell + cell / 4, 3 * height + height / 2), RGB(255, 255, 255));
    }
}

TEST_F(SCodeEditCtrlTest, AHugeTabSizeIsBoundedAndOnlyColumnsOnShowAreDrawn)
{
    const COLORREF ink = RGB(200, 0, 0);
    editor.SetTextColors(ink, ink, ink, ink, ink);
    SetText("\t\t\tH\r\nab\tH");
    // The size a description may carry; the paint below would expand it without a bound.
    editor.SetTabSize(100000000);
    ASSERT_EQ(1000, editor.GetTabSize());
    ASSERT_EQ(3001, editor.GetMaxLineLength(false));
    struct Case
    {
        int row;
        int leftColumn;
        int letterColumn; // the visual column of the H on that row
    } cases[] = {
        {0, 2990, 3000},
        {1, 995, 1000},
        {1, 0, 1000},
        {0, 0, 3000},
    };
    int columns = (editor.GetTextRect().right - editor.GetTextRect().left) / editor.GetCharWidth();
    ASSERT_GT(columns, 4);
    for (const Case& c : cases)
    {
        editor.SetLeftColumn(c.leftColumn);
        int left = editor.GetLeftColumn();
        int cell = c.letterColumn - left;
        Snapshot shot(&editor);
        SCOPED_TRACE("row " + std::to_string(c.row) + " from column " + std::to_string(left));
        if (cell >= 0 && cell < columns)
        {
            EXPECT_GT(shot.Count(Cells(editor, c.row, cell, cell + 1), ink), 0);
            // The tab's blanks before the H show nothing.
            int blankFrom = c.row == 0 || left >= 2 ? 0 : 2 - left;
            EXPECT_EQ(0, shot.Count(Cells(editor, c.row, blankFrom, cell), ink));
        }
        else
        {
            // Only the text before the tab, if any, is on show.
            int from = c.row == 1 && left == 0 ? 2 : 0;
            EXPECT_EQ(0, shot.Count(Cells(editor, c.row, from, columns), ink));
        }
    }
}

TEST_F(SCodeEditCtrlTest, KeysTypedAsRealInput)
{
    ASSERT_TRUE(editor.New());
    KeysReleasedAtEnd released = {VK_CONTROL, VK_SHIFT};
    parent.SetForegroundWindow();
    editor.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return editor.HasFocus(); }, 2000));
    Press('A');
    Press('B');
    Press(VK_RETURN);
    Press('C');
    ASSERT_TRUE(PumpUntil([&] { return Line(1) == "c"; }, 3000)) << Line(0) << "|" << Line(1);
    EXPECT_EQ(Line(0), "ab");

    ASSERT_TRUE(SetKeyDown(VK_CONTROL, true));
    Press(VK_HOME);
    int line = -1, column = -1;
    EXPECT_TRUE(PumpUntil([&] { Caret(&line, &column); return line == 0 && column == 0; }, 3000));
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, true));
    Press(VK_END);
    EXPECT_TRUE(PumpUntil([&] { return editor.GetSelectedText() == "ab\r\nc"; }, 3000));
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, false));
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, false));

    Press(VK_DELETE);
    EXPECT_TRUE(PumpUntil([&] { return editor.GetLineCount() == 1 && Line(0).empty(); }, 3000));
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, true));
    Press('Z');
    EXPECT_TRUE(PumpUntil([&] { return editor.GetLineCount() == 2 && Line(1) == "c"; }, 3000));
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, false));

    // Shift+Tab over three selected lines removes one leading tab where there is one.
    SetText("\ta\r\nb\r\n\t\tc\r\nd");
    editor.SetFocus();
    editor.SetSelectionRaw(2, 1, 0, 0, -1);
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, true));
    Press(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return Line(0) == "a" && Line(2) == "\tc"; }, 3000));
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, false));
    EXPECT_EQ(Line(1), "b");
    EXPECT_EQ(editor.GetSelectedText(), "a\r\nb\r\n\tc\r\n");
    DropQueuedKeys();
}

TEST_F(SCodeEditCtrlTest, TabInsertsATabUnlessLinesAreSelectedShiftOrNot)
{
    struct Case
    {
        const char* text;
        int caretLine, caretColumn, anchorLine, anchorColumn;
        bool shift;
        const char* expected;
    } cases[] = {
        {"ab", 0, 1, -1, -1, true, "a\tb"},
        {"ab", 0, 1, -1, -1, false, "a\tb"},
        {"abcd", 0, 3, 0, 1, true, "a\td"},   // a selection inside a line is replaced
        {"abcd", 0, 3, 0, 1, false, "a\td"},
        {"\ta\r\n\tb", 1, 2, 0, 0, true, "a|b"},
        {"\ta\r\n\tb", 1, 2, 0, 0, false, "\t\ta|\t\tb"},
    };
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE shiftWas = keys[VK_SHIFT];
    for (const Case& c : cases)
    {
        SetText(c.text);
        editor.SetSelectionRaw(c.caretLine, c.caretColumn, c.anchorLine, c.anchorColumn, -1);
        // The thread's key state is what the editor asks for Shift.
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        ASSERT_TRUE(SetKeyboardState(keys));
        editor.SendMessage(WM_KEYDOWN, VK_TAB, 0);
        keys[VK_SHIFT] = shiftWas;
        SetKeyboardState(keys);
        std::string joined;
        for (int i = 0; i < editor.GetLineCount(); i++)
            joined += (i ? "|" : "") + Line(i);
        EXPECT_EQ(c.expected, joined) << c.text << (c.shift ? " with Shift" : "");
    }
}

TEST_F(SCodeEditCtrlTest, MovesPageThroughTheTextAndFollowTheCaret)
{
    std::string text;
    for (int i = 0; i < 300; i++)
        text += "line " + std::to_string(i) + "\r\n";
    SetText(text.c_str());
    int rows = editor.GetFullRows();
    ASSERT_GT(rows, 2);
    editor.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    int line = 0, column = 0;
    Caret(&line, &column);
    EXPECT_EQ(line, rows);
    editor.UpdateWindow();
    EXPECT_LE(editor.GetTopLine(), line);
    EXPECT_GT(editor.GetTopLine() + rows, line);
    editor.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    Caret(&line, &column);
    EXPECT_EQ(line, rows + 1);
    EXPECT_EQ(column, 1);
    editor.SendMessage(WM_KEYDOWN, VK_PRIOR, 0);
    Caret(&line, &column);
    EXPECT_EQ(line, 1);
    EXPECT_TRUE(editor.GoToLine(250));
    editor.UpdateWindow();
    EXPECT_EQ(editor.GetTopLine(), 249 - rows / 2) << "go to centres the line";
}

TEST_F(SCodeEditCtrlTest, ClipboardCommandsAndUndo)
{
    SString saved = SClipboard::GetText();
    SetText("one\r\ntwo\r\nthree\r\nfour");
    editor.SetSelectionRaw(2, 2, 1, 1, -1);
    editor.OnCopy();
    EXPECT_EQ(SClipboard::GetText(), "wo\r\nth");
    ASSERT_TRUE(SClipboard::SetText("A\r\nB\r\nC"));
    editor.OnPaste();
    EXPECT_EQ(editor.GetLineCount(), 5);
    EXPECT_EQ(Line(1), "tA");
    EXPECT_EQ(Line(3), "Cree");
    editor.OnUndo();
    EXPECT_EQ(editor.GetLineCount(), 4);
    EXPECT_EQ(Line(1), "two");
    EXPECT_EQ(Line(2), "three");
    editor.SelectLine(3, false);
    editor.OnCut();
    EXPECT_EQ(SClipboard::GetText(), "four");
    EXPECT_EQ(Line(3), "");
    editor.SetReadOnly(true);
    editor.SelectLine(0, false);
    editor.OnCopy();
    EXPECT_EQ(SClipboard::GetText(), "one");
    if (saved.IsEmpty() && OpenClipboard(nullptr))
    {
        EmptyClipboard();
        CloseClipboard();
    }
    else
        SClipboard::SetText(saved);
}

TEST_F(SCodeEditCtrlTest, FindAndReplaceThroughTheDialogMessages)
{
    SetText("alpha beta\r\ngamma beta\r\ndelta");
    // F3 with no find text does nothing.
    editor.SetSelectionRaw(0, 2, -1, -1, 0);
    editor.SendMessage(WM_KEYDOWN, VK_F3, 0);
    EXPECT_FALSE(editor.HasSelection());

    editor.SetSelectionRaw(0, 10, 0, 6, -1);
    int dialogs = GetDialogHandleCount();
    editor.OnFind();
    HWND dialog = editor.GetFindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(GetDialogHandleCount(), dialogs + 1);
    EXPECT_EQ(editor.GetFindText(), "beta");
    editor.OnFind();
    EXPECT_EQ(editor.GetFindDialog(), dialog) << "a second find only focuses the open dialog";

    char find[257] = "BETA", replace[257] = "";
    FINDREPLACEA record = {};
    record.lStructSize = sizeof(record);
    record.Flags = FR_FINDNEXT | FR_DOWN;
    record.lpstrFindWhat = find;
    record.wFindWhatLen = 256;
    record.lpstrReplaceWith = replace;
    record.wReplaceWithLen = 256;
    UINT message = GetFindReplaceMessage();
    editor.SendMessage(message, 0, (LPARAM)&record);
    int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    editor.GetSelection(&startLine, &startColumn, &endLine, &endColumn);
    EXPECT_EQ(startLine, 1);
    EXPECT_EQ(startColumn, 6);
    editor.SendMessage(WM_KEYDOWN, VK_F3, 0);
    editor.GetSelection(&startLine, &startColumn, &endLine, &endColumn);
    EXPECT_EQ(startLine, 0) << "F3 wraps to the top";
    EXPECT_EQ(startColumn, 6);

    strcpy(find, "a");
    strcpy(replace, "A");
    record.Flags = FR_REPLACEALL | FR_DOWN | FR_MATCHCASE;
    size_t before = Changes();
    editor.SendMessage(message, 0, (LPARAM)&record);
    EXPECT_EQ(Line(0), "AlphA betA");
    EXPECT_EQ(Line(2), "deltA");
    EXPECT_EQ(Changes(), before + 1);
    EXPECT_TRUE(editor.GetWrapAround());

    record.Flags = FR_DIALOGTERM;
    editor.SendMessage(message, 0, (LPARAM)&record);
    EXPECT_EQ(editor.GetFindDialog(), nullptr);
    EXPECT_EQ(GetDialogHandleCount(), dialogs);
    if (IsWindow(dialog))
        DestroyWindow(dialog);

    // Read-only: no replace dialog.
    editor.stubFindDialog = true;
    editor.SetReadOnly(true);
    editor.OnReplace();
    EXPECT_EQ(editor.GetFindDialog(), nullptr);
    editor.SetReadOnly(false);
    editor.OnReplace();
    EXPECT_NE(editor.GetFindDialog(), nullptr);
    editor.Clear();
    EXPECT_EQ(editor.GetFindDialog(), nullptr);
    EXPECT_EQ(GetDialogHandleCount(), dialogs);
}

TEST_F(SCodeEditCtrlTest, GoToLineWindow)
{
    SetText("1\r\n2\r\n3\r\n4\r\n5");
    struct Case
    {
        const char* answer;
        int caretLine;
    } cases[] = {{"5", 4}, {"abc", 4}, {"9", 4}, {"0", 4}, {"2", 1}};
    editor.SetSelectionRaw(2, 0, -1, -1, 0);
    editor.gotoAnswer = "5";
    editor.realGoto = true;
    editor.OnGoTo();
    editor.realGoto = false;
    EXPECT_EQ(editor.gotoCaption, "1 - 5");
    EXPECT_EQ(editor.gotoInitial, "3");
    EXPECT_EQ(editor.GetGoToWindow(), nullptr);
    for (const Case& c : cases)
    {
        editor.gotoAnswer = c.answer;
        editor.OnGoTo();
        int line = 0, column = 0;
        Caret(&line, &column);
        EXPECT_EQ(line, c.caretLine) << c.answer;
    }
    EXPECT_TRUE(parent.IsEnabled());
}

TEST_F(SCodeEditCtrlTest, RightClickInsideTheSelectionKeepsItAndAsksForTheMenu)
{
    SetText("hello world\r\nsecond");
    editor.SetSelectionRaw(0, 11, 0, 0, -1);
    int width = editor.GetCharWidth(), height = editor.GetLineHeight();
    int x = editor.GetTextRect().left + 2 * width + 1, y = height / 2;
    editor.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    editor.SendMessage(WM_S_RCLICK, 0, MAKELPARAM(x, y));
    EXPECT_EQ(editor.GetSelectedText(), "hello world");
    EXPECT_EQ(editor.menus, 1);
    POINT screen = {x, y};
    editor.ClientToScreen(&screen);
    EXPECT_EQ(editor.menuX, screen.x);
    EXPECT_EQ(editor.menuY, screen.y);
    // Outside the selection the caret moves there.
    editor.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, height + height / 2));
    EXPECT_FALSE(editor.HasSelection());
    int line = 0, column = 0;
    Caret(&line, &column);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 2);
    // The menu's own commands.
    editor.SendMessage(SMENU_COMMAND, 0, SCodeEditCtrl::kMenuSelectAll);
    EXPECT_EQ(editor.GetSelectedText(), "hello world\r\nsecond");
    editor.SendMessage(SMENU_COMMAND, 0, SCodeEditCtrl::kMenuDelete);
    EXPECT_FALSE(editor.HasText());
    editor.SendMessage(SMENU_COMMAND, 0, SCodeEditCtrl::kMenuUndo);
    EXPECT_EQ(editor.GetLineCount(), 2);
}

TEST_F(SCodeEditCtrlTest, PrintsTheDocumentAsText)
{
    MetafilePrinterDevice device;
    std::string text;
    for (int i = 0; i < 150; i++)
        text += "row " + std::to_string(i) + (i + 1 < 150 ? "\r\n" : "");
    SetText(text.c_str());
    editor.OnPrint();
    EXPECT_EQ(device.documentName, "TAVRIN");
    EXPECT_EQ(device.ended, 1);
    ASSERT_GE(device.pages.size(), 2u);
    std::vector<SPrintedText> first = device.Texts(0);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0].text, "row 0");
    std::vector<SPrintedText> last = device.Texts(device.pages.size() - 1);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last.back().text, "row 149");
    EXPECT_TRUE(editor.IsEnabled());
}

TEST_F(SCodeEditCtrlTest, PanelButtonsRunTheEditorsCommands)
{
    SetText("a\r\nb\r\nc");
    RECT rect = {0, 0, 200, 100};
    SPanelCtrl* panel = editor.CreatePanel(parent.GetHandle(), &rect);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(editor.GetPanel(), panel);
    EXPECT_EQ(panel->GetGroupCount(), 1);
    ASSERT_NE(panel->GetGroup(0), nullptr);
    EXPECT_EQ(panel->GetGroup(0)->caption, "General");
    const char* const texts[4] = {"Find...", "Replace...", "Go To...", "Print..."};
    for (int i = 0; i < 4; i++)
    {
        ASSERT_NE(panel->GetButton(0, i), nullptr);
        EXPECT_EQ(panel->GetButton(0, i)->text, texts[i]);
    }
    editor.gotoAnswer = "3";
    panel->OnButtonClick(0, 2, panel->GetButton(0, 2));
    int line = 0, column = 0;
    Caret(&line, &column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(editor.panelCommands, 1);
    EXPECT_EQ(editor.lastPanel, panel);
    EXPECT_EQ(editor.lastButton, 2);
    EXPECT_EQ(editor.lastRecord, panel->GetButton(0, 2));
}

TEST_F(SCodeEditCtrlTest, ClicksPlaceTheCaretAndSelectWordsAndLines)
{
    SetText("alpha beta\r\n\tgamma\r\nlast");
    int width = editor.GetCharWidth(), height = editor.GetLineHeight();
    int left = editor.GetTextRect().left;
    struct Case
    {
        int x, y;
        int line, column;
    } cases[] = {
        {left + 2 * width + 1, height / 2, 0, 2},                 // left half of a cell
        {left + 2 * width + width - 1, height / 2, 0, 3},         // right half: the next column
        {left + 3 * width, height + height / 2, 1, 1},            // inside the tab's right half
        {left + 40 * width, height / 2, 0, 10},                   // past the end of a line
        {left + 1, 10 * height + 1, 2, 4},                        // below the last line
    };
    for (const Case& c : cases)
    {
        editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        int line = -1, column = -1;
        Caret(&line, &column);
        EXPECT_EQ(line, c.line) << c.x << "," << c.y;
        EXPECT_EQ(column, c.column) << c.x << "," << c.y;
        EXPECT_FALSE(editor.HasSelection());
    }
    editor.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(left + 7 * width + 1, height / 2));
    EXPECT_EQ(editor.GetSelectedText(), "beta");
    editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, height + 2));
    EXPECT_EQ(editor.GetSelectedText(), "\tgamma");
}
