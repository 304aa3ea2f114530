#pragma once
// The system rich edit control ("RichEdit20A") as a library control: loads a
// stream as plain text or RTF, prints into a device context and reports mouse
// buttons to its parent.
#include <windows.h>

#include "SWnd.h"

class SFile;

class SRichEditCtrl : public SWnd
{
public:
    SRichEditCtrl();
    ~SRichEditCtrl() override;

    // Creates the rich edit child (always multi-line).
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0);
    // Replaces the text by the rest of the stream, as RTF or plain text; false when there is
    // no source or no window, or reading the stream fails.
    bool LoadFile(SFile* source, bool rtf = false);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PrintClient(HDC dc);
};
