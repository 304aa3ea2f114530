#include "SPrinter.h"

#include <string.h>

#include "SDll.h"
#include "SDraw.h"
#include "SFile.h"
#include "SRound.h"

#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGA) == 66, "the print dialog record of the 32-bit system");
static_assert(sizeof(DOCINFOA) == 20, "the document record of the 32-bit system");
#endif

namespace
{

// The system printer: the print dialog and the spooler calls.
SPrinterDevice g_systemDevice;
SPrinterDevice* g_device = &g_systemDevice;

const DWORD kDialogFlags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
// A page that cannot take anything of a line this many times in a row ends the print.
const int kMaxEmptyPages = 10;
// A tab is printed as this many blanks.
const int kTabBlanks = 4;

bool IsPrintBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

int TextWidth(HDC dc, const char* text, int length)
{
    SIZE size = {0, 0};
    if (length > 0)
        GetTextExtentPoint32A(dc, text, length, &size);
    return size.cx;
}

}

// --- the system printer ---

SPrinterDevice::~SPrinterDevice() {}

bool SPrinterDevice::ChoosePrinter(PRINTDLGA* dialog)
{
    // The common dialogs' library (and the spooler's behind it) is loaded when printing is asked for.
    static SDll dialogs;
    auto print = (decltype(&PrintDlgA))(void*)SLoadProc(&dialogs, "comdlg32.dll", "PrintDlgA");
    return print && print(dialog) == 1 && dialog->hDC;
}

int SPrinterDevice::StartDocument(HDC dc, const DOCINFOA* info)
{
    return StartDocA(dc, info);
}

HDC SPrinterDevice::StartPage(HDC dc)
{
    return ::StartPage(dc) > 0 ? dc : nullptr;
}

int SPrinterDevice::EndPage(HDC dc, HDC pageDC)
{
    (void)pageDC;
    return ::EndPage(dc);
}

int SPrinterDevice::EndDocument(HDC dc)
{
    return EndDoc(dc);
}

void SPrinterDevice::AbortDocument(HDC dc)
{
    AbortDoc(dc);
}

void SPrinterDevice::DeleteContext(HDC dc)
{
    DeleteDC(dc);
}

int SPrinterDevice::GetCaps(HDC dc, int index)
{
    return GetDeviceCaps(dc, index);
}

// --- the job ---

SPrinter::SPrinter()
    : m_dialog(nullptr), m_owner(nullptr), m_unit(0), m_textColor(0), m_leftMargin(25.0),
      m_topMargin(25.0), m_rightMargin(25.0), m_bottomMargin(25.0), m_dc(nullptr), m_pageDC(nullptr),
      m_printableWidth(0), m_printableHeight(0), m_printableWidthMm(0), m_printableHeightMm(0),
      m_pageWidth(0), m_pageHeight(0), m_offsetX(0), m_offsetY(0), m_logPixelsX(0), m_logPixelsY(0),
      m_pixelsPerMmX(0), m_pixelsPerMmY(0)
{
    m_defaultFont.face = "arial";
    m_defaultFont.size = 11;
    m_font = m_defaultFont;
    Reset();
}

SPrinter::~SPrinter()
{
    Reset();
}

SPrinterDevice* SPrinter::SetDevice(SPrinterDevice* device)
{
    SPrinterDevice* previous = g_device == &g_systemDevice ? nullptr : g_device;
    g_device = device ? device : &g_systemDevice;
    return previous;
}

void SPrinter::AbandonDocument()
{
    if (!m_dc)
        return;
    // A document never ended must not leave its owner disabled nor its context behind.
    g_device->AbortDocument(m_dc);
    g_device->DeleteContext(m_dc);
    if (m_dialog)
        m_dialog->hDC = nullptr;
    m_dc = nullptr;
    m_pageDC = nullptr;
    if (m_owner && IsWindow(m_owner))
        EnableWindow(m_owner, TRUE);
}

void SPrinter::FreeDialog()
{
    if (!m_dialog)
        return;
    if (m_dialog->hDevMode)
        GlobalFree(m_dialog->hDevMode);
    if (m_dialog->hDevNames)
        GlobalFree(m_dialog->hDevNames);
    delete m_dialog;
    m_dialog = nullptr;
}

void SPrinter::Reset()
{
    AbandonDocument();
    FreeDialog();
    m_unit = 0;
    m_font.face = m_defaultFont.face;
    m_font.size = m_defaultFont.size;
    m_textColor = 0;
    m_leftMargin = m_topMargin = m_rightMargin = m_bottomMargin = 25.0;
}

bool SPrinter::SetOwner(HWND window)
{
    AbandonDocument();
    m_owner = window;
    FreeDialog();
    return true;
}

void SPrinter::SetFont(const char* face, int points)
{
    m_font.face = face ? face : "";
    m_font.size = points;
}

bool SPrinter::BeginDocument(const char* name)
{
    if (m_dc)
        return false;
    FreeDialog();
    m_dialog = new PRINTDLGA;
    memset(m_dialog, 0, sizeof(PRINTDLGA));
    m_dialog->lStructSize = sizeof(PRINTDLGA);
    m_dialog->hwndOwner = m_owner;
    m_dialog->Flags = kDialogFlags;
    m_dialog->nFromPage = 0xFFFF;
    m_dialog->nToPage = 0xFFFF;
    m_dialog->nMinPage = 1;
    m_dialog->nMaxPage = 0xFFFF;
    m_dialog->nCopies = 1;
    if (!g_device->ChoosePrinter(m_dialog) || !m_dialog->hDC)
    {
        FreeDialog();
        return false;
    }
    HDC dc = m_dialog->hDC;
    DOCINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(DOCINFOA);
    info.lpszDocName = name ? name : "";
    if (g_device->StartDocument(dc, &info) <= 0)
    {
        g_device->DeleteContext(dc);
        m_dialog->hDC = nullptr;
        FreeDialog();
        return false;
    }
    if (m_owner && IsWindow(m_owner))
        EnableWindow(m_owner, FALSE);
    m_dc = dc;
    m_printableWidth = g_device->GetCaps(dc, HORZRES);
    m_printableHeight = g_device->GetCaps(dc, VERTRES);
    m_printableWidthMm = g_device->GetCaps(dc, HORZSIZE);
    m_printableHeightMm = g_device->GetCaps(dc, VERTSIZE);
    m_pageWidth = g_device->GetCaps(dc, PHYSICALWIDTH);
    m_pageHeight = g_device->GetCaps(dc, PHYSICALHEIGHT);
    m_offsetX = g_device->GetCaps(dc, PHYSICALOFFSETX);
    m_offsetY = g_device->GetCaps(dc, PHYSICALOFFSETY);
    m_logPixelsX = g_device->GetCaps(dc, LOGPIXELSX);
    m_logPixelsY = g_device->GetCaps(dc, LOGPIXELSY);
    // A device that reports no paper (a display) prints on its printable area alone.
    if (m_pageWidth <= 0 || m_pageHeight <= 0)
    {
        m_pageWidth = m_printableWidth;
        m_pageHeight = m_printableHeight;
        m_offsetX = m_offsetY = 0;
    }
    m_pixelsPerMmX = m_printableWidthMm > 0 ? (double)m_printableWidth / m_printableWidthMm : 0;
    m_pixelsPerMmY = m_printableHeightMm > 0 ? (double)m_printableHeight / m_printableHeightMm : 0;
    return true;
}

SPrinterPage* SPrinter::NewPage()
{
    if (!m_dc || m_pageDC)
        return nullptr;
    m_pageDC = g_device->StartPage(m_dc);
    if (!m_pageDC)
        return nullptr;
    return new SPrinterPage(this);
}

void SPrinter::EndPage(SPrinterPage* page)
{
    delete page;
    if (!m_dc || !m_pageDC)
        return;
    g_device->EndPage(m_dc, m_pageDC);
    m_pageDC = nullptr;
}

bool SPrinter::EndDocument()
{
    if (!m_dc)
        return false;
    if (m_pageDC)
        EndPage(nullptr);
    bool ended = g_device->EndDocument(m_dc) > 0;
    g_device->DeleteContext(m_dc);
    if (m_dialog)
        m_dialog->hDC = nullptr;
    m_dc = nullptr;
    FreeDialog();
    if (m_owner && IsWindow(m_owner))
        EnableWindow(m_owner, TRUE);
    return ended;
}

bool SPrinter::PrintStream(SFile* stream)
{
    if (!stream || !stream->IsOpen() || stream->IsEof())
        return false;
    if (!BeginDocument("TAVRIN"))
        return false;
    int emptyPages = 0;
    while (!stream->IsEof())
    {
        SPrinterPage* page = NewPage();
        if (!page)
            return false;
        bool failed = false;
        while (!stream->IsEof())
        {
            int position = stream->Tell();
            // Blanks are kept: the characters placed must count from the line's real start.
            SString line = stream->ReadLine(true, -1, nullptr);
            int placed = page->PrintLine(line);
            int length = line.IsEmpty() ? 1 : line.GetLength();
            emptyPages = placed > 0 ? 0 : emptyPages + 1;
            if (emptyPages >= kMaxEmptyPages)
            {
                failed = true;
                break;
            }
            if (placed < length)
            {
                stream->Seek(position + placed);
                break;
            }
        }
        EndPage(page);
        if (failed)
            return false;
    }
    return true;
}

// --- units ---

double SPrinter::ToMillimetres(double value) const
{
    if (m_unit == 2)
        return value * 10.0;
    if (m_unit == 1)
        return value / 0.254;
    return value;
}

double SPrinter::FromMillimetres(double value) const
{
    if (m_unit == 2)
        return value / 10.0;
    if (m_unit == 1)
        return value * 0.254;
    return value;
}

double SPrinter::PixelsToUnitsX(int pixels) const
{
    return m_pixelsPerMmX > 0 ? FromMillimetres(pixels / m_pixelsPerMmX) : 0;
}

double SPrinter::PixelsToUnitsY(int pixels) const
{
    return m_pixelsPerMmY > 0 ? FromMillimetres(pixels / m_pixelsPerMmY) : 0;
}

int SPrinter::UnitsToPixelsX(double value) const
{
    return SRound::Truncate(ToMillimetres(value) * m_pixelsPerMmX);
}

int SPrinter::UnitsToPixelsY(double value) const
{
    return SRound::Truncate(ToMillimetres(value) * m_pixelsPerMmY);
}

void SPrinter::GetPrintableArea(double* left, double* top, double* right, double* bottom) const
{
    double pageWidth = PixelsToUnitsX(m_pageWidth), pageHeight = PixelsToUnitsY(m_pageHeight);
    double offsetX = PixelsToUnitsX(m_offsetX), offsetY = PixelsToUnitsY(m_offsetY);
    double printableWidth = PixelsToUnitsX(m_printableWidth);
    double printableHeight = PixelsToUnitsY(m_printableHeight);
    double borderRight = pageWidth - (offsetX + printableWidth);
    double borderBottom = pageHeight - (offsetY + printableHeight);
    if (left)
        *left = GetLeftMargin() - offsetX;
    if (top)
        *top = GetTopMargin() - offsetY;
    if (right)
        *right = printableWidth - (GetRightMargin() - borderRight);
    if (bottom)
        *bottom = printableHeight - (GetBottomMargin() - borderBottom);
}

void SPrinter::GetPrintableAreaPixels(int* left, int* top, int* right, int* bottom) const
{
    double l = 0, t = 0, r = 0, b = 0;
    GetPrintableArea(&l, &t, &r, &b);
    int x1 = UnitsToPixelsX(l), y1 = UnitsToPixelsY(t), x2 = UnitsToPixelsX(r), y2 = UnitsToPixelsY(b);
    // A margin narrower than the unprintable border ends at the device's edge.
    if (x1 < 0)
        x1 = 0;
    if (y1 < 0)
        y1 = 0;
    if (x2 > m_printableWidth)
        x2 = m_printableWidth;
    if (y2 > m_printableHeight)
        y2 = m_printableHeight;
    if (left)
        *left = x1;
    if (top)
        *top = y1;
    if (right)
        *right = x2;
    if (bottom)
        *bottom = y2;
}

HFONT SPrinter::CreateCurrentFont(HDC dc) const
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpi <= 0)
        dpi = m_logPixelsY > 0 ? m_logPixelsY : 96;
    return CreateFontFromStyle(m_font.face, -MulDiv(m_font.size, dpi, 72), 0);
}

// --- pages ---

SPrinterPage::SPrinterPage(SPrinter* printer) : m_printer(printer), m_x(0), m_y(0)
{
    // The margins are measured from the paper's edge, the device's origin is its printable corner.
    printer->GetPrintableAreaPixels(&m_x, &m_y, nullptr, nullptr);
}

SPrinterPage::~SPrinterPage() {}

bool SPrinterPage::TextOut(const char* text, double x, double y, bool plain)
{
    HDC dc = m_printer->m_pageDC;
    if (!dc || !text)
        return true;
    int px = m_printer->UnitsToPixelsX(x), py = m_printer->UnitsToPixelsY(y);
    if (plain)
    {
        ::TextOutA(dc, px, py, text, (int)strlen(text));
        return true;
    }
    HFONT font = m_printer->CreateCurrentFont(dc);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    COLORREF oldColor = SetTextColor(dc, m_printer->m_textColor);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    ::TextOutA(dc, px, py, text, (int)strlen(text));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    if (font)
    {
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    return true;
}

int SPrinterPage::PrintText(const char* text, bool asLine)
{
    HDC dc = m_printer->m_pageDC;
    if (!dc || !text)
        return 0;
    SString source(text);
    // An empty line still takes its line: it is printed as one blank.
    if (asLine && source.IsEmpty())
        source = " ";
    int left = 0, top = 0, right = 0, bottom = 0;
    m_printer->GetPrintableAreaPixels(&left, &top, &right, &bottom);
    HFONT font = m_printer->CreateCurrentFont(dc);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    COLORREF oldColor = SetTextColor(dc, m_printer->m_textColor);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    SIZE cell = {0, 0};
    GetTextExtentPoint32A(dc, "M", 1, &cell);
    int lineHeight = cell.cy > 0 ? cell.cy : 1;

    // The pending line as printed (tabs as blanks) and the source characters it stands for;
    // the count placed is in source characters, so a cut line resumes exactly at the cut.
    SString pending;
    int pendingWidth = 0;
    int pendingChars = 0;
    int placed = 0;
    const int length = source.GetLength();
    const char* chars = source;
    int position = 0;
    bool full = false;
    while (position < length && !full)
    {
        bool blank = IsPrintBlank(chars[position]);
        int end = position;
        while (end < length && IsPrintBlank(chars[end]) == blank)
            end++;
        SString token;
        for (int i = position; i < end; i++)
        {
            if (chars[i] == '\t')
                token.Insert(" ", -1, kTabBlanks);
            else
                token.AppendChar(chars[i]);
        }
        int tokenWidth = TextWidth(dc, token, token.GetLength());
        for (;;)
        {
            if (m_y + lineHeight > bottom)
            {
                full = true;
                break;
            }
            if (pending.IsEmpty() || m_x + pendingWidth + tokenWidth <= right)
            {
                pending += token;
                pendingWidth += tokenWidth;
                pendingChars += end - position;
                position = end;
                if (position >= length)
                {
                    ::TextOutA(dc, m_x, m_y, pending, pending.GetLength());
                    placed += pendingChars;
                    if (asLine)
                    {
                        m_x = left;
                        m_y += lineHeight;
                    }
                    else
                        m_x += pendingWidth;
                }
                break;
            }
            ::TextOutA(dc, m_x, m_y, pending, pending.GetLength());
            placed += pendingChars;
            pending.Empty();
            pendingWidth = pendingChars = 0;
            m_x = left;
            m_y += lineHeight;
            if (token.GetLength() == 1 && token[0] == ' ')
            {
                // A single blank at the wrap point is not carried to the next line.
                placed += end - position;
                position = end;
                break;
            }
        }
    }

    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    if (font)
    {
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    return placed;
}
