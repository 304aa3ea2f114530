#include "SEditCtrl.h"

#include "SControl.h"
#include "SListCtrl.h"

namespace
{

bool KeyIsDown(int key) { return GetAsyncKeyState(key) < 0; }

// Ctrl characters other than cut, copy, paste and undo insert nothing; AltGr characters pass.
bool SwallowControlCharacter()
{
    if (!KeyIsDown(VK_CONTROL) || KeyIsDown(VK_MENU))
        return false;
    const int kept[] = {'X', 'C', 'V', 'Z'};
    for (int key : kept)
        if (KeyIsDown(key))
            return false;
    return true;
}

const DWORD kCompletionListStyle = WS_POPUP | WS_BORDER | WS_VSCROLL;
const int kCompletionListHeight = 200;

}

SEditCtrl::SEditCtrl()
    : m_rightButtonPassOn(1),
      m_textColor(SCOLOR_NONE),
      m_backBrush(nullptr),
      m_completionEnabled(0),
      m_completionList(nullptr)
{
    SetKind(SKIND_EDIT);
}

SEditCtrl::~SEditCtrl()
{
    if (m_backBrush)
        DeleteObject(m_backBrush);
    delete m_completionList;
    m_completionList = nullptr;
}

bool SEditCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                       LPARAM creationParam)
{
    return CreateSubclassed("EDIT", text ? text : "", SControlStyle(style), exStyle, rect, parent, id,
                            creationParam);
}

void SEditCtrl::SetSel(int start, int end)
{
    if (!GetHandle())
        return;
    if (start < 0)
        start = GetWindowTextLength();
    SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end);
}

void SEditCtrl::SetCompletionWords(const SStringArray& words)
{
    m_completionWords.AssignFrom(words);
}

void SEditCtrl::EnableCompletion(bool on)
{
    m_completionEnabled = on ? 1 : 0;
    if (!on)
        CloseCompletionList();
}

HBRUSH SEditCtrl::ColorRoutine(HDC dc)
{
    HBRUSH brush = SControlBrush(&m_backBrush, GetBackColor(), dc, true);
    if (dc)
        ::SetTextColor(dc, (COLORREF)(m_textColor & 0xFFFFFF));
    return brush;
}

HBRUSH SEditCtrl::OnCtlColorEdit(HDC dc) { return ColorRoutine(dc); }
HBRUSH SEditCtrl::OnCtlColorStatic(HDC dc) { return ColorRoutine(dc); }

// --- completion ---

void SEditCtrl::CloseCompletionList()
{
    SListCtrl* list = m_completionList;
    m_completionList = nullptr;
    delete list;
}

bool SEditCtrl::OpenCompletionList()
{
    if (m_completionList)
        return true;
    RECT rect;
    if (!GetWindowRect(&rect))
        return false;
    rect.top = rect.bottom;
    rect.bottom = rect.top + kCompletionListHeight;
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (rect.bottom > screenHeight)
        rect.bottom = screenHeight;
    SListCtrl* list = new SListCtrl;
    if (!list->Create(kCompletionListStyle, 0, &rect, GetHandle()))
    {
        delete list;
        return false;
    }
    list->SetFont((HFONT)SendMessage(WM_GETFONT, 0, 0), true);
    m_completionList = list;
    return true;
}

void SEditCtrl::CompletionStep(WPARAM key)
{
    if (m_completionList)
    {
        if (key == VK_RETURN)
        {
            int selected = m_completionList->GetCurSel();
            if (selected != -1)
            {
                SString word = m_completionList->GetItemText(selected);
                SetWindowText(word);
                SetSel(-1, -1);
                CloseCompletionList();
                return;
            }
        }
        else if (key == VK_ESCAPE)
        {
            CloseCompletionList();
            return;
        }
        else if (key == VK_UP || key == VK_DOWN)
            return;
    }
    else if (GetWindowTextLength() == 0 && key != VK_DOWN)
        return;

    // The typed text followed by the any-run wildcard: the words that begin with it.
    SString pattern = GetText();
    pattern.AppendChar('\x01');
    SArray<int> matches;
    if (m_completionWords.FindMatches(pattern, &matches, '\x01', '\x02') <= 0 || matches.GetCount() == 0)
    {
        CloseCompletionList();
        return;
    }
    if (!OpenCompletionList())
        return;
    SListCtrl* list = m_completionList;
    list->RemoveAll();
    for (int i = 0; i < matches.GetCount(); i++)
        list->InsertItem(m_completionWords.GetAt(matches.GetAt(i)), -1, -1, -1, 0);
    // Shown without taking the activation: typing goes on in the edit.
    ::ShowWindow(list->GetHandle(), SW_SHOWNOACTIVATE);
    SetFocus();
}

// --- printing ---

void SEditCtrl::PrintText(HDC dc)
{
    RECT client;
    if (!dc || !GetClientRect(&client))
        return;
    HBRUSH window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    if (window)
    {
        FillRect(dc, &client, window);
        DeleteObject(window);
    }
    RECT format = client;
    SendMessage(EM_GETRECT, 0, (LPARAM)&format);
    SString text = GetText();
    DWORD style = GetStyle();
    UINT flags = DT_NOPREFIX | DT_EDITCONTROL;
    if (style & ES_MULTILINE)
    {
        if (!(style & ES_AUTOHSCROLL))
            flags |= DT_WORDBREAK;
        LRESULT first = SendMessage(EM_LINEINDEX, (WPARAM)SendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        if (first > 0 && first <= text.GetLength())
            text = text.Mid((int)first);
    }
    else
        flags |= DT_SINGLELINE;
    if (style & ES_CENTER)
        flags |= DT_CENTER;
    else if (style & ES_RIGHT)
        flags |= DT_RIGHT;
    if (style & ES_PASSWORD)
    {
        char mask = (char)SendMessage(EM_GETPASSWORDCHAR, 0, 0);
        for (int i = 0; i < text.GetLength(); i++)
            text.SetAt(i, mask ? mask : '*');
    }
    HFONT font = (HFONT)SendMessage(WM_GETFONT, 0, 0);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, (COLORREF)(m_textColor & 0xFFFFFF));
    DrawTextA(dc, text, text.GetLength(), &format, flags);
    ::SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (oldFont)
        SelectObject(dc, oldFont);
}

// --- messages ---

LRESULT SEditCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_KEYDOWN:
        if (m_completionEnabled && m_completionList)
            return 0;
        if (wParam == VK_RETURN)
        {
            SendMessageToParent(ControlMessage(SBLOCK_EDIT, 2), (WPARAM)this, 0);
            if (!GetHandle())
                return 0;
        }
        else if (wParam == 'A' && KeyIsDown(VK_CONTROL))
            SetSel(0, -1);
        break;
    case WM_CHAR:
        if (wParam == '\r')
        {
            if (!(GetStyle() & ES_MULTILINE))
                return 0;
        }
        else if (SwallowControlCharacter())
            return 0;
        break;
    case WM_KEYUP:
        if (!m_completionEnabled)
            break;
        CompletionStep(wParam);
        if (m_completionList && wParam == VK_UP)
        {
            int current = m_completionList->GetCurSel();
            if (current > 0)
                m_completionList->SetCurSel(current - 1);
            return 0;
        }
        if (m_completionList && wParam == VK_DOWN)
        {
            int current = m_completionList->GetCurSel();
            if (current + 1 < m_completionList->GetCount())
                m_completionList->SetCurSel(current + 1);
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
        SControlForwardMouse(this, msg, lParam, SBLOCK_EDIT);
        if (!m_rightButtonPassOn || !GetHandle())
            return 0;
        break;
    case WM_PRINTCLIENT:
        PrintText((HDC)wParam);
        break;
    case WM_DESTROY:
        CloseCompletionList();
        break;
    default:
        if (SControlMouseCode(msg))
        {
            SControlForwardMouse(this, msg, lParam, SBLOCK_EDIT);
            if (!GetHandle())
                return 0;
        }
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
