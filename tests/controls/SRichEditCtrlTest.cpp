#include <gtest/gtest.h>

#include <algorithm>

#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SControl.h"
#include "SFileMem.h"
#include "SRichEditCtrl.h"

namespace
{
// A memory stream whose reads fail once a number of bytes has been read.
class FailingStream : public SFileMem
{
public:
    explicit FailingStream(int goodBytes) : m_left(goodBytes) {}
    int ReadBounded(void* buffer, int bytes) override
    {
        if (m_left <= 0)
            return -1;
        int read = SFileMem::ReadBounded(buffer, bytes < m_left ? bytes : m_left);
        m_left -= read > 0 ? read : 0;
        return read;
    }

private:
    int m_left;
};

SFileMem* Fill(SFileMem* stream, const char* text)
{
    stream->WriteText(text);
    stream->Seek(0);
    return stream;
}

// The control's text without line breaks, which the control stores its own way.
SString Flat(SWnd& window)
{
    SString text = window.GetText(), out;
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] != '\r' && text[i] != '\n')
            out.AppendChar(text[i]);
    return out;
}

struct RichFixture
{
    RichFixture()
    {
        created = CreateInactiveParent(parent);
        parent.SetMouseMessages({ControlMessage(SBLOCK_RICHEDIT)});
        RECT rect = {0, 0, 300, 200};
        created = created && edit.Create("start", WS_VISIBLE, 0, &rect, parent.GetHandle());
    }
    SRecordingParent parent;
    SRichEditCtrl edit;
    bool created = false;
};
}

TEST(SRichEditCtrl, LoadsPlainTextAndRtf)
{
    RichFixture f;
    ASSERT_TRUE(f.created);
    EXPECT_EQ(SKIND_RICHEDIT, f.edit.GetKind());
    EXPECT_TRUE(f.edit.GetStyle() & ES_MULTILINE);
    const char rtf[] = "{\\rtf1\\ansi Hello {\\b bold} end}";
    struct Case { const char* source; bool rtf; const char* shown; };
    const Case cases[] = {
        {"Hello\r\nWorld", false, "HelloWorld"},
        {rtf, true, "Hello bold end"},
        {rtf, false, rtf},
        {"", false, ""},
    };
    for (const Case& c : cases)
    {
        SFileMem stream;
        EXPECT_TRUE(f.edit.LoadFile(Fill(&stream, c.source), c.rtf)) << c.source;
        EXPECT_STREQ(c.shown, Flat(f.edit)) << c.source;
    }
    // A longer text than one streaming call takes arrives whole.
    SString big;
    for (int i = 0; i < 800; i++)
        big.Append("0123456789\r\n");
    SFileMem stream;
    EXPECT_TRUE(f.edit.LoadFile(Fill(&stream, big), false));
    EXPECT_EQ(8000, Flat(f.edit).GetLength());
}

TEST(SRichEditCtrl, ReportsFailedStreaming)
{
    RichFixture f;
    ASSERT_TRUE(f.created);
    EXPECT_FALSE(f.edit.LoadFile(nullptr, false));
    EXPECT_STREQ("start", f.edit.GetText());
    FailingStream broken(0);
    Fill(&broken, "never read");
    EXPECT_FALSE(f.edit.LoadFile(&broken, false));
    FailingStream halfway(4);
    Fill(&halfway, "0123456789");
    EXPECT_FALSE(f.edit.LoadFile(&halfway, true));
    SRichEditCtrl unborn;
    SFileMem stream;
    EXPECT_FALSE(unborn.LoadFile(Fill(&stream, "text"), false));
}

TEST(SRichEditCtrl, ReportsButtonsButTheLeftPress)
{
    RichFixture f;
    ASSERT_TRUE(f.created);
    f.edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(f.parent.Received(ControlMessage(SBLOCK_RICHEDIT)).empty());
    f.edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    f.edit.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(6, 7));
    f.edit.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(6, 7));
    std::vector<int> codes;
    for (const auto& m : f.parent.Received(ControlMessage(SBLOCK_RICHEDIT)))
    {
        EXPECT_EQ((WPARAM)&f.edit, m.wParam);
        codes.push_back(m.mouse.code);
    }
    // The press moves the focus, which forgets the pending left click: only the release is sure.
    codes.erase(std::remove(codes.begin(), codes.end(), 33), codes.end());
    EXPECT_EQ((std::vector<int>{17, 12, 36, 20}), codes);
}

TEST(SRichEditCtrl, PrintsIntoADeviceContext)
{
    RichFixture f;
    ASSERT_TRUE(f.created);
    SFileMem stream;
    ASSERT_TRUE(f.edit.LoadFile(Fill(&stream, "{\\rtf1\\ansi {\\colortbl;\\red255\\green0\\blue0;}\\cf1\\fs48 WWWW}"), true));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 200);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 300, 200};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    f.edit.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    // The window colour fills the client area and the text is drawn in red.
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, 290, 190));
    int red = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 200; x++)
        {
            COLORREF pixel = GetPixel(dc, x, y);
            if (GetRValue(pixel) > 150 && GetGValue(pixel) < 100 && GetBValue(pixel) < 100)
                red++;
        }
    EXPECT_GT(red, 20);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
