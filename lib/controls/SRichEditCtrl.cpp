#include "SRichEditCtrl.h"

#include <richedit.h>

#include "SControl.h"
#include "SDraw.h"
#include "SFile.h"

namespace
{
// Hands the rich edit control the next bytes of the stream; a read error ends the streaming.
DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got)
{
    SFile* source = (SFile*)cookie;
    *got = 0;
    if (wanted <= 0)
        return 0;
    int read = source->ReadBounded(buffer, (int)wanted);
    if (read < 0 || read > wanted)
        return 1;
    *got = read;
    return 0;
}
}

SRichEditCtrl::SRichEditCtrl()
{
    SetKind(SKIND_RICHEDIT);
}

SRichEditCtrl::~SRichEditCtrl()
{
}

bool SRichEditCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                           UINT_PTR id, LPARAM creationParam)
{
    return CreateRichEdit(caption, style, exStyle, rect, parent, id, creationParam);
}

bool SRichEditCtrl::LoadFile(SFile* source, bool rtf)
{
    if (!source || !GetHandle())
        return false;
    SetWindowText("");
    EDITSTREAM stream;
    memset(&stream, 0, sizeof(stream));
    stream.dwCookie = (DWORD_PTR)source;
    stream.pfnCallback = ReadStream;
    SendMessage(EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, (LPARAM)&stream);
    return stream.dwError == 0;
}

void SRichEditCtrl::PrintClient(HDC dc)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(&client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    RECT edit = client;
    SendMessage(EM_GETRECT, 0, (LPARAM)&edit);
    FORMATRANGE range;
    memset(&range, 0, sizeof(range));
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc.left = PixelsToTwips(edit.left, false);
    range.rc.right = PixelsToTwips(edit.right, false);
    range.rc.top = PixelsToTwips(edit.top, true);
    range.rc.bottom = PixelsToTwips(edit.bottom, true);
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    SendMessage(EM_FORMATRANGE, TRUE, (LPARAM)&range);
    // Frees the cached formatting data.
    SendMessage(EM_FORMATRANGE, FALSE, 0);
}

LRESULT SRichEditCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PRINTCLIENT)
        PrintClient((HDC)wParam);
    else if (msg != WM_LBUTTONDOWN)
        // The control uses the left press itself; everything else is reported.
        SControlForwardMouse(this, msg, lParam, SBLOCK_RICHEDIT);
    return SWnd::OnMessage(msg, wParam, lParam);
}
