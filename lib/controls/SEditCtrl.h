#pragma once
// The system "EDIT" control with library colours, keyboard filtering, a Return
// notification, mouse forwarding, printing into a given DC and an optional word
// completion shown in a pop-up list under the edit.
#include <windows.h>

#include "SStringArray.h"
#include "SWnd.h"

class SListCtrl;

class SEditCtrl : public SWnd
{
public:
    // Kind 10, black text, no brush, completion off.
    SEditCtrl();
    // Deletes the brush and the completion list.
    ~SEditCtrl() override;

    // "EDIT" with the text; WS_CHILD unless WS_POPUP.
    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);
    // Selects start..end; a negative start stands for the text length (SetSel(-1, -1): caret at the end).
    void SetSel(int start, int end);
    unsigned GetTextColor() const { return m_textColor; }
    // Text colour for the child-colour messages (alpha ignored; 0xFF000000 draws black).
    void SetTextColor(unsigned color) { m_textColor = color; }
    // Whether a right button press reaches the system edit (its context menu) after forwarding.
    void SetRightButtonPassOn(bool on) { m_rightButtonPassOn = on ? 1 : 0; }
    // The words offered by the completion, in offering order.
    void SetCompletionWords(const SStringArray& words);
    // Switches the completion on or off (off closes an open list).
    void EnableCompletion(bool on);
    bool IsCompletionEnabled() const { return m_completionEnabled != 0; }
    // The open completion list; null when closed.
    SListCtrl* GetCompletionList() const { return m_completionList; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Brush and DC colours for the edit's background and text.
    HBRUSH OnCtlColorEdit(HDC dc) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    HBRUSH ColorRoutine(HDC dc);
    void CompletionStep(WPARAM key);
    bool OpenCompletionList();
    void CloseCompletionList();
    void PrintText(HDC dc);

    unsigned char m_rightButtonPassOn;
    unsigned m_textColor;
    HBRUSH m_backBrush;
    SStringArray m_completionWords;
    unsigned char m_completionEnabled;
    SListCtrl* m_completionList;
};
