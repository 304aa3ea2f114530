// The code editor's commands with windows of their own: the system find and
// replace dialogs, the go-to-line window, printing, the context menu and the panel.
#include "SCodeEditCtrl.h"

#include <stdlib.h>
#include <string.h>

#include "SControl.h"
#include "SDll.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SPrinter.h"

#if !defined(_WIN64)
static_assert(sizeof(FINDREPLACEA) == 40, "the find record of the 32-bit system");
#endif

namespace
{

// The find set shared by every editor whose find-local option is off.
struct SharedFindSet
{
    char find[257];
    char replace[257];
    bool down;
    bool matchCase;
};
SharedFindSet g_sharedFind = {"", "", true, false};

// Buffer length handed to the dialog, the terminating zero included.
const int kFindBufferLength = 256;

void CopyBounded(char* target, const char* source)
{
    if (target == source)
        return;
    size_t length = source ? strlen(source) : 0;
    if (length > (size_t)kFindBufferLength)
        length = kFindBufferLength;
    memmove(target, source ? source : "", length);
    target[length] = 0;
}

}

// --- find and replace texts ---

char* SCodeEditCtrl::FindBuffer()
{
    return m_findLocal ? m_findText : g_sharedFind.find;
}

char* SCodeEditCtrl::ReplaceBuffer()
{
    return m_findLocal ? m_replaceText : g_sharedFind.replace;
}

SString SCodeEditCtrl::GetFindText() const
{
    return SString(m_findLocal ? m_findText : g_sharedFind.find);
}

void SCodeEditCtrl::SetFindText(const char* text)
{
    CopyBounded(m_findText, text);
    if (!m_findLocal)
        CopyBounded(g_sharedFind.find, text);
}

SString SCodeEditCtrl::GetReplaceText() const
{
    return SString(m_findLocal ? m_replaceText : g_sharedFind.replace);
}

void SCodeEditCtrl::SetReplaceText(const char* text)
{
    CopyBounded(m_replaceText, text);
    if (!m_findLocal)
        CopyBounded(g_sharedFind.replace, text);
}

bool SCodeEditCtrl::GetFindDown() const
{
    return m_findLocal ? m_down : g_sharedFind.down;
}

void SCodeEditCtrl::SetFindDown(bool down)
{
    m_down = down;
    if (!m_findLocal)
        g_sharedFind.down = down;
}

bool SCodeEditCtrl::GetMatchCase() const
{
    return m_findLocal ? m_matchCase : g_sharedFind.matchCase;
}

void SCodeEditCtrl::SetMatchCase(bool on)
{
    m_matchCase = on;
    if (!m_findLocal)
        g_sharedFind.matchCase = on;
}

// --- searching ---

bool SCodeEditCtrl::FindText(bool fromStart)
{
    return m_text.Find(FindBuffer(), fromStart || GetFindDown(), GetMatchCase(), m_wrap, fromStart);
}

bool SCodeEditCtrl::FindNext()
{
    if (!m_text.IsOpen() || !FindText(false))
        return false;
    m_scrollRequest = 3;
    Redraw();
    return true;
}

bool SCodeEditCtrl::ReplaceNext()
{
    if (!IsEditable())
        return false;
    int count = m_text.GetLineCount();
    bool done = m_text.ReplaceOnce(FindBuffer(), ReplaceBuffer(), GetMatchCase(), m_wrap);
    CheckDigits(count);
    if (!done)
        return false;
    m_scrollRequest = 3;
    Notify();
    return true;
}

bool SCodeEditCtrl::ReplaceAll()
{
    if (!IsEditable())
        return false;
    bool wrap = m_wrap;
    m_wrap = false;
    int count = m_text.GetLineCount();
    int replaced = m_text.ReplaceAll(FindBuffer(), ReplaceBuffer(), GetMatchCase());
    CheckDigits(count);
    m_wrap = wrap;
    if (replaced == 0)
        return false;
    m_scrollRequest = 3;
    Notify();
    return true;
}

// --- the find and replace dialogs ---

HWND SCodeEditCtrl::OpenFindDialog(FINDREPLACEA* record, bool replace)
{
    // The common dialogs' library is loaded when a find dialog is first asked for.
    static SDll dialogs;
    const char* name = replace ? "ReplaceTextA" : "FindTextA";
    auto open = (decltype(&::FindTextA))(void*)SLoadProc(&dialogs, "comdlg32.dll", name);
    return open ? open(record) : nullptr;
}

void SCodeEditCtrl::OpenFind(bool replace)
{
    if (m_findDialog)
    {
        ::SetFocus(m_findDialog);
        return;
    }
    if (!m_text.IsOpen() || !GetHandle())
        return;
    SString seed = m_text.GetSelectedText();
    if (!seed.IsEmpty())
        SetFindText(seed.Left(kFindBufferLength));
    // A record left from a dialog that ended is freed only now: the dialog may read it to its end.
    delete m_findRecord;
    m_findRecord = new FINDREPLACEA;
    memset(m_findRecord, 0, sizeof(FINDREPLACEA));
    m_findRecord->lStructSize = sizeof(FINDREPLACEA);
    m_findRecord->hwndOwner = GetHandle();
    m_findRecord->Flags = FR_NOWHOLEWORD | (GetFindDown() ? FR_DOWN : 0) | (GetMatchCase() ? FR_MATCHCASE : 0);
    m_findRecord->lpstrFindWhat = FindBuffer();
    m_findRecord->wFindWhatLen = kFindBufferLength;
    m_findRecord->lpstrReplaceWith = ReplaceBuffer();
    m_findRecord->wReplaceWithLen = kFindBufferLength;
    m_findDialog = OpenFindDialog(m_findRecord, replace);
    if (!m_findDialog)
    {
        delete m_findRecord;
        m_findRecord = nullptr;
        return;
    }
    RegisterDialogHandle(m_findDialog);
}

void SCodeEditCtrl::CloseFindDialog()
{
    if (m_findDialog)
    {
        HWND dialog = m_findDialog;
        m_findDialog = nullptr;
        UnregisterDialogHandle(dialog);
        if (IsWindow(dialog))
            DestroyWindow(dialog);
    }
    delete m_findRecord;
    m_findRecord = nullptr;
}

void SCodeEditCtrl::OnFind()
{
    OpenFind(false);
}

void SCodeEditCtrl::OnReplace()
{
    if (!m_readOnly)
        OpenFind(true);
}

void SCodeEditCtrl::HandleFindMessage(FINDREPLACEA* record)
{
    if (!record)
        return;
    if (record->Flags & FR_DIALOGTERM)
    {
        if (m_findDialog)
            UnregisterDialogHandle(m_findDialog);
        m_findDialog = nullptr;
        if (!HasFocus())
            SetFocus();
        return;
    }
    if (!(record->Flags & (FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL)))
        return;
    SetFindDown((record->Flags & FR_DOWN) != 0);
    SetMatchCase((record->Flags & FR_MATCHCASE) != 0);
    m_wrap = true;
    if (record->lpstrFindWhat)
        SetFindText(record->lpstrFindWhat);
    if (record->lpstrReplaceWith)
        SetReplaceText(record->lpstrReplaceWith);
    if (record->Flags & FR_FINDNEXT)
        FindNext();
    else if (record->Flags & FR_REPLACE)
        ReplaceNext();
    else
        ReplaceAll();
}

// --- go to line ---

SCodeEditCtrl::_SWndGoto::_SWndGoto(int lineNumber, const char* cancelText)
    : m_lineNumber(lineNumber), m_cancelText(cancelText)
{
}

SCodeEditCtrl::_SWndGoto::~_SWndGoto()
{
    Destroy();
}

int SCodeEditCtrl::_SWndGoto::GetNumber() const
{
    SString text = m_edit.GetText();
    return text.IsInteger() ? atoi(text) : 0;
}

void SCodeEditCtrl::_SWndGoto::Accept()
{
    EndModal(GetNumber());
}

LRESULT SCodeEditCtrl::_SWndGoto::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SWnd::OnMessage(msg, wParam, lParam);
        SetClientSize(200, 65);
        CenterWindow(true);
        char number[16];
        wsprintfA(number, "%d", m_lineNumber);
        RECT field = {5, 5, 195, 30}, ok = {10, 35, 100, 60}, cancel = {105, 35, 195, 60};
        HWND handle = GetHandle();
        m_edit.Create(number, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, &field, handle, 100);
        m_edit.SendMessage(EM_SETSEL, 0, -1);
        m_ok.Create("OK", WS_VISIBLE | WS_TABSTOP, 0, &ok, handle, 1);
        m_cancel.Create(m_cancelText, WS_VISIBLE | WS_TABSTOP, 0, &cancel, handle, 0);
        return 0;
    }
    case WM_S_MODAL_START:
        ShowWindow(SW_SHOW);
        m_edit.SetFocus();
        return 0;
    case WM_S_OK:
        Accept();
        return 0;
    case WM_S_CANCEL:
        EndModal(0);
        return 0;
    default:
        if (msg == ControlMessage(SBLOCK_BUTTON, 1))
        {
            if ((SWnd*)wParam == &m_ok)
                Accept();
            else if ((SWnd*)wParam == &m_cancel)
                EndModal(0);
            return 0;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }
}

int SCodeEditCtrl::RunGoToWindow(_SWndGoto* window)
{
    return window->DoModal();
}

void SCodeEditCtrl::CloseGoToWindow()
{
    if (!m_gotoWindow)
        return;
    // A running window is ended; the command that runs it deletes it.
    if (m_gotoWindow->IsModal())
    {
        m_gotoWindow->EndModal(0);
        return;
    }
    delete m_gotoWindow;
    m_gotoWindow = nullptr;
}

bool SCodeEditCtrl::GoToLine(int number)
{
    if (!m_text.IsOpen() || number < 1 || number > m_text.GetLineCount())
        return false;
    m_text.SetSelectionRaw(number - 1, 0, -1, -1, 0);
    m_scrollRequest = 3;
    Redraw();
    return true;
}

void SCodeEditCtrl::OnGoTo()
{
    if (m_gotoWindow)
    {
        m_gotoWindow->GetEdit()->SetFocus();
        return;
    }
    if (!m_text.IsOpen() || !GetHandle())
        return;
    int startLine = 0;
    m_text.GetSelection(&startLine, nullptr, nullptr, nullptr);
    _SWndGoto* window = new _SWndGoto(startLine >= 0 ? startLine + 1 : 1, GetKeyText("#CANCEL"));
    SString caption;
    caption.Format("1 - %d", m_text.GetLineCount());
    RECT rect = {0, 0, 200, 65};
    if (!window->CreatePopupWindow(caption, &rect, GetHandle()))
    {
        delete window;
        return;
    }
    m_gotoWindow = window;
    int number = RunGoToWindow(window);
    m_gotoWindow = nullptr;
    delete window;
    if (!GoToLine(number))
        Redraw();
    SetFocus();
}

// --- printing ---

bool SCodeEditCtrl::Print()
{
    if (!m_text.IsOpen())
        return false;
    SFileMem stream;
    SString name = m_documentName;
    if (!Save(&stream, name))
        return false;
    stream.Rewind();
    SPrinter printer;
    printer.SetOwner(GetHandle());
    printer.SetFont("courier new", 9);
    printer.PrintStream(&stream);
    printer.EndDocument();
    return true;
}

void SCodeEditCtrl::OnPrint()
{
    Print();
}

// --- context menu and panel ---

void SCodeEditCtrl::ShowContextMenu(int x, int y)
{
    m_menu.TrackPopupFor(this, x, y, TPM_RIGHTBUTTON);
}

void SCodeEditCtrl::FillPanel()
{
    if (!m_panel)
        return;
    if (!m_panel->AddGroup(0, GetKeyText("#GENERAL")))
        return;
    const char* const keys[4] = {"#FIND", "#REPLACE", "#GOTO", "#PRINT"};
    for (int i = 0; i < 4; i++)
        m_panel->AddButton(i, GetKeyText(keys[i]), 0);
}

SPanelCtrl* SCodeEditCtrl::CreatePanel(HWND parent, const RECT* rect)
{
    _SPanel* panel = new _SPanel(this);
    if (!panel->Create(WS_VISIBLE, 0, rect, parent))
    {
        delete panel;
        return nullptr;
    }
    AttachPanel(panel);
    return panel;
}

void SCodeEditCtrl::_SPanel::OnButtonClick(int groupId, int buttonId, _SButton* button)
{
    m_editor->OnPanelButton(groupId, buttonId, button);
    SPanelCtrl::OnButtonClick(groupId, buttonId, button);
}

void SCodeEditCtrl::OnPanelButton(int group, int button, SPanelCtrl::_SButton* record)
{
    switch (button)
    {
    case 0: OnFind(); break;
    case 1: if (!m_readOnly) OnReplace(); break;
    case 2: OnGoTo(); break;
    case 3: OnPrint(); break;
    default: break;
    }
    OnPanelCommand(m_panel, group, button, record);
}
