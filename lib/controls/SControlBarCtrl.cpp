#include "SControlBarCtrl.h"

#include <stddef.h>

#include "SControl.h"
#include "SLibrary.h"

namespace
{

// The band record of the common controls version 6, without the chevron fields.
constexpr UINT kBandInfoSize = offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT);
#if !defined(_WIN64)
static_assert(kBandInfoSize == 80, "the rebar band record is 80 bytes");
static_assert(sizeof(REBARINFO) == 12, "the rebar record is 12 bytes");
#endif

}

SControlBarCtrl::SControlBarCtrl()
{
    SetKind(SKIND_CONTROLBAR);
}

SControlBarCtrl::~SControlBarCtrl()
{
    DeleteAllBands();
}

bool SControlBarCtrl::Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id)
{
    return CreateSubclassed(REBARCLASSNAMEA, "", SControlStyle(style, CCS_NODIVIDER), exStyle, nullptr, parent,
                            id, 0, GetInstance());
}

bool SControlBarCtrl::InsertBand(HWND child, int index, int minWidth, int height, int width, bool newLine,
                                 const char* text, UINT style)
{
    if (!GetHandle())
        return false;
    REBARBANDINFOA band;
    memset(&band, 0, sizeof(band));
    band.cbSize = kBandInfoSize;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE;
    band.fStyle = style | RBBS_CHILDEDGE | (newLine ? RBBS_BREAK : 0);
    if (width != -1)
    {
        band.fMask |= RBBIM_SIZE | RBBIM_IDEALSIZE;
        band.cx = (UINT)width;
        band.cxIdeal = (UINT)width;
    }
    if (text && *text)
    {
        band.fMask |= RBBIM_TEXT;
        band.lpText = (LPSTR)text;
        band.cch = (UINT)strlen(text);
    }
    band.hwndChild = child;
    band.cxMinChild = (UINT)minWidth;
    band.cyMinChild = (UINT)height;
    band.cyChild = (UINT)height;
    band.cyMaxChild = (UINT)height;
    band.cyIntegral = 1;
    return SendMessage(RB_INSERTBANDA, (WPARAM)index, (LPARAM)&band) != 0;
}

bool SControlBarCtrl::SetBarInfo(UINT mask, HIMAGELIST images)
{
    REBARINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = mask;
    info.himl = images;
    return SendMessage(RB_SETBARINFO, 0, (LPARAM)&info) != 0;
}

bool SControlBarCtrl::DeleteBand(int index)
{
    if (index < 0 || index >= GetBandCount())
        return false;
    return SendMessage(RB_DELETEBAND, (WPARAM)index) != 0;
}

int SControlBarCtrl::GetBandCount()
{
    return (int)SendMessage(RB_GETBANDCOUNT);
}

int SControlBarCtrl::FindBand(HWND child)
{
    if (!child)
        return -1;
    for (int i = 0, count = GetBandCount(); i < count; i++)
    {
        REBARBANDINFOA band;
        memset(&band, 0, sizeof(band));
        band.cbSize = kBandInfoSize;
        band.fMask = RBBIM_CHILD;
        if (SendMessage(RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&band) && band.hwndChild == child)
            return i;
    }
    return -1;
}

bool SControlBarCtrl::ShowBand(int index, bool show)
{
    if (index < 0 || index >= GetBandCount())
        return false;
    return SendMessage(RB_SHOWBAND, (WPARAM)index, show ? TRUE : FALSE) != 0;
}

void SControlBarCtrl::DeleteAllBands()
{
    // Bounded by the count seen at the start: a refused delete must not loop for ever.
    for (int count = GetBandCount(); count > 0 && GetBandCount() > 0; count--)
        SendMessage(RB_DELETEBAND, 0);
}

LRESULT SControlBarCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetStyle(GetStyle() | RBS_VARHEIGHT | RBS_AUTOSIZE);
        SetBarInfo(0, nullptr);
        break;
    case WM_S_PARENT_SIZED:
        for (int i = 0, count = GetBandCount(); i < count; i++)
            SendMessage(RB_SHOWBAND, (WPARAM)i, TRUE);
        break;
    case ControlMessage(SBLOCK_TOOLBAR):
        return SendMessageToParent(msg, wParam, lParam);
    case WM_DESTROY:
        DeleteAllBands();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
