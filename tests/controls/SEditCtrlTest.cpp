#include <gtest/gtest.h>
#include <windows.h>

#include "ListTestSupport.h"
#include "SControl.h"
#include "SEditCtrl.h"
#include "SListCtrl.h"
#include "../window/InputTestSupport.h"
#include "../window/PumpSupport.h"

namespace
{

const UINT kMouse = ControlMessage(SBLOCK_EDIT, 0);
const UINT kReturn = ControlMessage(SBLOCK_EDIT, 2);

struct EditFixture
{
    SRecordingParent& parent = SharedListParent({kMouse});
    SEditCtrl edit;

    bool Make(DWORD style = 0, const char* text = "")
    {
        RECT rect = {10, 10, 210, 40};
        if (!edit.Create(text, WS_VISIBLE | WS_BORDER | style, 0, &rect, parent.GetHandle(), 3))
            return false;
        edit.SetFocus();
        PumpPending();
        parent.ClearReceived();
        return true;
    }
    // A typed character: the character itself, then the key's release.
    void Type(char ch)
    {
        edit.SendMessage(WM_CHAR, (WPARAM)(unsigned char)ch, 1);
        edit.SendMessage(WM_KEYUP, (WPARAM)(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch), 0xC0000001);
    }
    void Press(WPARAM key)
    {
        edit.SendMessage(WM_KEYDOWN, key, 1);
        edit.SendMessage(WM_KEYUP, key, 0xC0000001);
    }
    void EnableWords(std::initializer_list<const char*> words)
    {
        SStringArray list;
        for (const char* word : words)
            list.Add(word);
        edit.SetCompletionWords(list);
        edit.EnableCompletion(true);
    }
    std::vector<std::string> Offered()
    {
        std::vector<std::string> out;
        SListCtrl* list = edit.GetCompletionList();
        for (int i = 0; list && i < list->GetCount(); i++)
            out.push_back((const char*)list->GetItemText(i));
        return out;
    }
};

}

TEST(SEditCtrl, CreationAndSelection)
{
    SEditCtrl edit;
    EXPECT_EQ(10, edit.GetKind());
    EXPECT_EQ(SCOLOR_NONE, edit.GetTextColor());
    EXPECT_FALSE(edit.IsCompletionEnabled());
    EditFixture f;
    ASSERT_TRUE(f.Make(0, "hello"));
    EXPECT_TRUE(f.edit.GetStyle() & WS_CHILD);
    EXPECT_STREQ("hello", f.edit.GetText());
    f.edit.SetSel(-1, -1);
    DWORD start = 0, end = 0;
    f.edit.SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(5u, start);
    EXPECT_EQ(5u, end);
    f.edit.SetSel(1, 3);
    f.edit.SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(1u, start);
    EXPECT_EQ(3u, end);
}

TEST(SEditCtrl, ReturnIsReportedAndInsertsOnlyInMultiLineEdits)
{
    struct Case { DWORD style; const char* after; };
    const Case cases[] = {{0, "ab"}, {ES_MULTILINE | ES_WANTRETURN, "ab\r\n"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        EditFixture f;
        ASSERT_TRUE(f.Make(c.style, "ab"));
        f.edit.SetSel(-1, -1);
        f.edit.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
        f.edit.SendMessage(WM_CHAR, '\r', 1);
        auto got = f.parent.Received(kReturn);
        ASSERT_EQ(1u, got.size());
        EXPECT_EQ((WPARAM)&f.edit, got[0].wParam);
        EXPECT_EQ(0, got[0].lParam);
        EXPECT_STREQ(c.after, f.edit.GetText());
    }
}

TEST(SEditCtrl, ControlKeysSelectAllAndInsertNothing)
{
    EditFixture f;
    ASSERT_TRUE(f.Make(0, "text"));
    KeysReleasedAtEnd release({VK_CONTROL, 'Z'});
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, true));
    f.edit.SetSel(2, 2);
    f.edit.SendMessage(WM_KEYDOWN, 'A', 1);
    DWORD start = 9, end = 9;
    f.edit.SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(4u, end);
    // Ctrl+B (character 2) inserts nothing.
    f.edit.SetSel(-1, -1);
    f.edit.SendMessage(WM_CHAR, 2, 1);
    EXPECT_STREQ("text", f.edit.GetText());
    // With one of the edit letters held the character passes.
    ASSERT_TRUE(SetKeyDown('Z', true));
    f.edit.SendMessage(WM_CHAR, 'q', 1);
    EXPECT_STREQ("textq", f.edit.GetText());
    ASSERT_TRUE(SetKeyDown('Z', false));
    ASSERT_TRUE(SetKeyDown(VK_CONTROL, false));
    // Without Ctrl every character is typed.
    f.edit.SendMessage(WM_CHAR, 'r', 1);
    EXPECT_STREQ("textqr", f.edit.GetText());
}

TEST(SEditCtrl, MouseButtonsAreForwarded)
{
    EditFixture f;
    ASSERT_TRUE(f.Make());
    f.edit.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(4, 6));
    f.edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    f.edit.SetRightButtonPassOn(false);
    f.edit.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(1, 2));
    auto got = f.parent.Received(kMouse);
    ASSERT_EQ(3u, got.size());
    EXPECT_EQ(12, got[0].mouse.code);
    EXPECT_EQ(4, got[0].mouse.x);
    EXPECT_EQ(6, got[0].mouse.y);
    EXPECT_EQ(17, got[1].mouse.code);
    EXPECT_EQ(12, got[2].mouse.code);
}

TEST(SEditCtrl, ColourRoutine)
{
    EditFixture f;
    ASSERT_TRUE(f.Make());
    HDC dc = CreateCompatibleDC(nullptr);
    f.edit.SetBackColor(RGB(200, 10, 10));
    f.edit.SetTextColor(0x80000000u | RGB(0, 0, 250));
    HBRUSH brush = f.edit.OnCtlColorEdit(dc);
    ASSERT_NE(nullptr, brush);
    LOGBRUSH info;
    ASSERT_EQ((int)sizeof(info), GetObjectA(brush, sizeof(info), &info));
    EXPECT_EQ(RGB(200, 10, 10), info.lbColor);
    EXPECT_EQ(RGB(200, 10, 10), GetBkColor(dc));
    EXPECT_EQ(RGB(0, 0, 250), GetTextColor(dc));
    f.edit.SetBackColor(SCOLOR_TRANSPARENT);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), f.edit.OnCtlColorStatic(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(0, GetObjectA(brush, sizeof(info), &info));
    f.edit.SetBackColor(SCOLOR_NONE);
    f.edit.SetTextColor(SCOLOR_NONE);
    EXPECT_EQ(nullptr, f.edit.OnCtlColorEdit(dc));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
    DeleteDC(dc);
}

TEST(SEditCtrl, PrintClientDrawsTheText)
{
    std::vector<int> others;
    for (const char* text : {"", "WWWW"})
    {
        SCOPED_TRACE(text);
        EditFixture f;
        ASSERT_TRUE(f.Make(0, text));
        RECT client;
        f.edit.GetClientRect(&client);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, client.right, client.bottom};
        FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
        f.edit.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        int window = 0, other = 0;
        for (int y = 0; y < client.bottom; y++)
            for (int x = 0; x < client.right; x++)
                (GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOW) ? window : other)++;
        EXPECT_GT(window, 0);
        others.push_back(other);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    // The text shows as pixels that the empty edit does not have.
    ASSERT_EQ(2u, others.size());
    EXPECT_GT(others[1], others[0]);
}

TEST(SEditCtrl, CompletionOffersMatchingWords)
{
    EditFixture f;
    ASSERT_TRUE(f.Make());
    f.EnableWords({"apple", "apricot", "banana", "Apex"});
    EXPECT_TRUE(f.edit.IsCompletionEnabled());
    f.Type('a');
    f.Type('p');
    ASSERT_NE(nullptr, f.edit.GetCompletionList());
    EXPECT_EQ(std::vector<std::string>({"apple", "apricot"}), f.Offered());
    // The list lies under the edit, and the edit keeps the focus.
    RECT editRect, listRect;
    f.edit.GetWindowRect(&editRect);
    f.edit.GetCompletionList()->GetWindowRect(&listRect);
    EXPECT_EQ(editRect.bottom, listRect.top);
    EXPECT_EQ(editRect.left, listRect.left);
    EXPECT_TRUE(f.edit.GetCompletionList()->IsVisible());
    EXPECT_EQ(f.edit.GetHandle(), GetFocus());
    // A character without a match closes it.
    f.Type('x');
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
    EXPECT_STREQ("apx", f.edit.GetText());
    // The match is case-sensitive.
    f.edit.SetWindowText("");
    f.Type('A');
    EXPECT_EQ(std::vector<std::string>({"Apex"}), f.Offered());
    f.Press(VK_ESCAPE);
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
    // Escape with no list and an empty edit open nothing.
    f.edit.SetWindowText("");
    f.Press(VK_ESCAPE);
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
}

TEST(SEditCtrl, CompletionKeys)
{
    EditFixture f;
    ASSERT_TRUE(f.Make());
    f.EnableWords({"apple", "apricot", "banana"});
    // Down in an empty edit offers every word with the first selected.
    f.Press(VK_DOWN);
    ASSERT_NE(nullptr, f.edit.GetCompletionList());
    EXPECT_EQ(std::vector<std::string>({"apple", "apricot", "banana"}), f.Offered());
    SListCtrl* list = f.edit.GetCompletionList();
    EXPECT_EQ(0, list->GetCurSel());
    f.Press(VK_UP);
    EXPECT_EQ(0, list->GetCurSel());
    f.Press(VK_DOWN);
    f.Press(VK_DOWN);
    EXPECT_EQ(2, list->GetCurSel());
    f.Press(VK_DOWN);
    EXPECT_EQ(2, list->GetCurSel());
    f.Press(VK_UP);
    EXPECT_EQ(1, list->GetCurSel());
    // While the list is open key presses never reach the edit nor the parent.
    f.parent.ClearReceived();
    f.edit.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(f.parent.Received(kReturn).empty());
    f.edit.SendMessage(WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
    EXPECT_STREQ("apricot", f.edit.GetText());
    DWORD start = 0, end = 0;
    f.edit.SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(7u, start);
    EXPECT_EQ(7u, end);
}

TEST(SEditCtrl, ReturnWithoutChoiceKeepsTheList)
{
    EditFixture f;
    ASSERT_TRUE(f.Make());
    f.EnableWords({"apple", "apricot", "banana"});
    f.Type('a');
    ASSERT_NE(nullptr, f.edit.GetCompletionList());
    EXPECT_EQ(-1, f.edit.GetCompletionList()->GetCurSel());
    f.Press(VK_RETURN);
    EXPECT_STREQ("a", f.edit.GetText());
    EXPECT_EQ(std::vector<std::string>({"apple", "apricot"}), f.Offered());
    // Switching the completion off closes the list; destroying the edit would too.
    f.edit.EnableCompletion(false);
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
    f.Type('p');
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
    f.edit.EnableCompletion(true);
    f.Type('r');
    ASSERT_NE(nullptr, f.edit.GetCompletionList());
    EXPECT_TRUE(f.edit.Destroy());
    EXPECT_EQ(nullptr, f.edit.GetCompletionList());
}
