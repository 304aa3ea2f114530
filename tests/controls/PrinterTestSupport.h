#pragma once
// A printer device for tests: each page is recorded into an enhanced metafile
// whose text records are read back; no print dialog, no spooler.
#include <windows.h>

#include <string>
#include <vector>

#include "SPrinter.h"

// A text drawn on a page: its reference point and its characters.
struct SPrintedText
{
    int x, y;
    std::string text;
};

class MetafilePrinterDevice : public SPrinterDevice
{
public:
    // A page of about A4 at 96 pixels per inch, with no unprintable border.
    MetafilePrinterDevice() { SPrinter::SetDevice(this); }
    ~MetafilePrinterDevice() override
    {
        SPrinter::SetDevice(nullptr);
        for (HENHMETAFILE page : pages)
            DeleteEnhMetaFile(page);
    }

    bool ChoosePrinter(PRINTDLGA* dialog) override
    {
        dialogs++;
        dialogFlags = dialog->Flags;
        dialogSize = dialog->lStructSize;
        if (!acceptDialog)
            return false;
        dialog->hDC = CreateCompatibleDC(nullptr);
        return dialog->hDC != nullptr;
    }
    int StartDocument(HDC, const DOCINFOA* info) override
    {
        documentName = info && info->lpszDocName ? info->lpszDocName : "";
        documents++;
        return startDocResult;
    }
    HDC StartPage(HDC) override
    {
        HDC screen = GetDC(nullptr);
        RECT frame = {0, 0, 21000, 29700};
        HDC page = CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
        ReleaseDC(nullptr, screen);
        return page;
    }
    int EndPage(HDC, HDC pageDC) override
    {
        HENHMETAFILE page = CloseEnhMetaFile(pageDC);
        if (page)
            pages.push_back(page);
        return page ? 1 : 0;
    }
    int EndDocument(HDC) override
    {
        ended++;
        return 1;
    }
    void AbortDocument(HDC) override { aborted++; }
    void DeleteContext(HDC dc) override
    {
        deleted++;
        DeleteDC(dc);
    }
    int GetCaps(HDC, int index) override
    {
        switch (index)
        {
        case HORZRES: case PHYSICALWIDTH: return width;
        case VERTRES: case PHYSICALHEIGHT: return height;
        case HORZSIZE: return 210;
        case VERTSIZE: return heightMm;
        case LOGPIXELSX: case LOGPIXELSY: return 96;
        default: return 0;
        }
    }

    // The texts of a page in drawing order.
    std::vector<SPrintedText> Texts(size_t page) const
    {
        std::vector<SPrintedText> texts;
        if (page < pages.size())
            EnumEnhMetaFile(nullptr, pages[page], CollectText, &texts, nullptr);
        return texts;
    }

    bool acceptDialog = true;
    int startDocResult = 1;
    int width = 794, height = 1123, heightMm = 297;
    int dialogs = 0, documents = 0, ended = 0, aborted = 0, deleted = 0;
    DWORD dialogFlags = 0, dialogSize = 0;
    std::string documentName;
    std::vector<HENHMETAFILE> pages;

private:
    static int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
    {
        auto* texts = (std::vector<SPrintedText>*)data;
        if (record->iType != EMR_EXTTEXTOUTW && record->iType != EMR_EXTTEXTOUTA)
            return 1;
        const EMREXTTEXTOUTW* out = (const EMREXTTEXTOUTW*)record;
        const BYTE* base = (const BYTE*)record;
        SPrintedText text = {out->emrtext.ptlReference.x, out->emrtext.ptlReference.y, ""};
        for (DWORD i = 0; i < out->emrtext.nChars; i++)
        {
            if (record->iType == EMR_EXTTEXTOUTW)
                text.text += (char)((const WCHAR*)(base + out->emrtext.offString))[i];
            else
                text.text += ((const char*)(base + out->emrtext.offString))[i];
        }
        texts->push_back(text);
        return 1;
    }
};
