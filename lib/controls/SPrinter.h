#pragma once
// A small print job: the print dialog, one document on the chosen printer, its
// pages, unit conversions and the printing of a text stream with word wrap.
#include <windows.h>

#include "SString.h"

class SFile;
class SPrinterPage;

// Where a print job's document goes: the printer chosen in the system print
// dialog by default. The dialog blocks without a printer, so tests install a
// device of their own (a memory device or metafiles) with SPrinter::SetDevice.
class SPrinterDevice
{
public:
    virtual ~SPrinterDevice();
    // Runs the print dialog on the filled record; true with dialog->hDC set when a printer was chosen.
    virtual bool ChoosePrinter(PRINTDLGA* dialog);
    // StartDocA; the job number, 0 or below on failure.
    virtual int StartDocument(HDC dc, const DOCINFOA* info);
    // StartPage; the context the page is drawn on, null on failure.
    virtual HDC StartPage(HDC dc);
    // EndPage of a page started on dc and drawn on pageDC.
    virtual int EndPage(HDC dc, HDC pageDC);
    // EndDoc; above 0 on success.
    virtual int EndDocument(HDC dc);
    // AbortDoc of a document that is given up unfinished.
    virtual void AbortDocument(HDC dc);
    // Releases the document's device context.
    virtual void DeleteContext(HDC dc);
    // GetDeviceCaps of the document's context.
    virtual int GetCaps(HDC dc, int index);
};

// Face and point size of a printing font.
struct SFontRecord
{
    SString face;
    int size;
};

class SPrinter
{
public:
    // Both fonts "arial" 11, no dialog record, then Reset.
    SPrinter();
    // Resets (an open document is given up and its owner enabled again) and destroys the fonts.
    virtual ~SPrinter();
    SPrinter(const SPrinter&) = delete;
    SPrinter& operator=(const SPrinter&) = delete;

    // Installs the device every job goes through (null: the system printer); returns the previous one.
    static SPrinterDevice* SetDevice(SPrinterDevice* device);

    // No document, unit millimetres, current font = default font, black text, margins 25 mm.
    void Reset();
    // Stores the window that owns the dialog and is disabled while a document is open.
    bool SetOwner(HWND window);
    // Runs the print dialog and starts a document of that name; false when cancelled or failed.
    bool BeginDocument(const char* name);
    // A new page (the caller's until EndPage); null without an open document.
    SPrinterPage* NewPage();
    // Deletes the page and ends it on the device.
    void EndPage(SPrinterPage* page);
    // Ends the document and enables the owner again; false without a document or when EndDoc failed.
    bool EndDocument();
    // Prints a whole text stream page after page as document "TAVRIN"; the caller ends the document.
    bool PrintStream(SFile* stream);
    // True between a successful BeginDocument and EndDocument.
    bool HasDocument() const { return m_dc != nullptr; }

    // The font used for all text.
    SFontRecord* GetFont() { return &m_font; }
    void SetFont(const char* face, int points);
    // Text colour (COLORREF).
    COLORREF GetTextColor() const { return m_textColor; }

    // Margins in the current unit.
    double GetLeftMargin() const { return FromMillimetres(m_leftMargin); }
    double GetTopMargin() const { return FromMillimetres(m_topMargin); }
    double GetRightMargin() const { return FromMillimetres(m_rightMargin); }
    double GetBottomMargin() const { return FromMillimetres(m_bottomMargin); }
    // Printable width and height in device pixels.
    int GetPrintableWidth() const { return m_printableWidth; }
    int GetPrintableHeight() const { return m_printableHeight; }
    // The unit of all lengths: 0 millimetres, 2 centimetres, 1 the 0.254 factor.
    int GetUnit() const { return m_unit; }

    // Conversions between the unit and millimetres.
    double ToMillimetres(double value) const;
    double FromMillimetres(double value) const;
    // Conversions between device pixels and the unit.
    double PixelsToUnitsX(int pixels) const;
    double PixelsToUnitsY(int pixels) const;
    int UnitsToPixelsX(double value) const;
    int UnitsToPixelsY(double value) const;
    // The area inside the margins, in the unit, from the printable area's top-left corner.
    void GetPrintableArea(double* left, double* top, double* right, double* bottom) const;
    // The same in device pixels, kept inside what the device can print.
    void GetPrintableAreaPixels(int* left, int* top, int* right, int* bottom) const;

    // The context the current page is drawn on (null between pages).
    HDC GetPageContext() const { return m_pageDC; }

private:
    friend class SPrinterPage;

    // Frees the dialog record and the handles the dialog returned in it.
    void FreeDialog();
    // Gives up an open document: aborted, its context deleted, the owner enabled again.
    void AbandonDocument();
    // The current font made for the page's context; null on failure.
    HFONT CreateCurrentFont(HDC dc) const;

    PRINTDLGA* m_dialog;
    HWND m_owner;
    int m_unit;
    SFontRecord m_defaultFont;
    SFontRecord m_font;
    COLORREF m_textColor;
    double m_leftMargin, m_topMargin, m_rightMargin, m_bottomMargin;
    HDC m_dc;
    HDC m_pageDC;
    int m_printableWidth, m_printableHeight;
    int m_printableWidthMm, m_printableHeightMm;
    int m_pageWidth, m_pageHeight;
    int m_offsetX, m_offsetY;
    int m_logPixelsX, m_logPixelsY;
    double m_pixelsPerMmX, m_pixelsPerMmY;
};

// One page of a print job: the place where the next text goes, in device pixels.
class SPrinterPage
{
public:
    // Starts at the top-left corner of the printable area inside the margins.
    explicit SPrinterPage(SPrinter* printer);
    virtual ~SPrinterPage();
    SPrinterPage(const SPrinterPage&) = delete;
    SPrinterPage& operator=(const SPrinterPage&) = delete;

    // Draws a text at (x, y) in the printer's unit; with plain the context's own font and colours.
    bool TextOut(const char* text, double x, double y, bool plain);
    // Places text from the current position with word wrap; the number of its characters placed.
    int PrintText(const char* text, bool asLine);
    // PrintText as a line: the position moves to the next line's start afterwards.
    int PrintLine(const char* text) { return PrintText(text, true); }

    int GetX() const { return m_x; }
    int GetY() const { return m_y; }

private:
    SPrinter* m_printer;
    int m_x, m_y;
};
