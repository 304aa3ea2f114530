#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../window/PumpSupport.h"
#include "ControlTestSupport.h"
#include "InactiveParent.h"
#include "SIdentifiants.h"
#include "SLibrary.h"
#include "SSelector.h"

namespace
{
// Stands in for the common dialogs: records what each was given and answers as told.
class FakeDialogs : public SSelectorDialogs
{
public:
    FakeDialogs() { m_previous = SSelector::SetDialogs(this); }
    ~FakeDialogs() override { SSelector::SetDialogs(m_previous); }

    bool ChooseColor(CHOOSECOLORA* info) override
    {
        color = *info;
        if (confirm)
            info->rgbResult = RGB(12, 34, 56);
        return confirm;
    }
    bool ChooseFont(CHOOSEFONTA* info) override
    {
        font = *info;
        if (!confirm)
            return false;
        strcpy(info->lpLogFont->lfFaceName, "Tahoma");
        info->lpLogFont->lfWeight = FW_BOLD;
        info->lpLogFont->lfItalic = TRUE;
        info->lpLogFont->lfUnderline = FALSE;
        info->iPointSize = 125;
        return true;
    }
    bool GetOpenFileName(OPENFILENAMEA* info) override
    {
        file = *info;
        filterBlock.clear();
        if (info->lpstrFilter)
        {
            const char* p = info->lpstrFilter;
            while (p[0] || p[1])
                filterBlock.push_back(*p++);
            filterBlock.push_back(0);
            filterBlock.push_back(0);
        }
        if (!confirm)
            return false;
        if (result.size() + 1 > info->nMaxFile)
            return false;
        memcpy(info->lpstrFile, result.data(), result.size());
        info->lpstrFile[result.size()] = 0;
        return true;
    }
    bool BrowseForFolder(BROWSEINFOA* info, char* path) override
    {
        browse = *info;
        if (initWindow && info->lpfn)
            info->lpfn(initWindow, BFFM_INITIALIZED, 0, info->lParam);
        if (!confirm)
            return false;
        strcpy(path, result.c_str());
        return true;
    }

    bool confirm = true;
    std::string result;   // file buffer content (with inner NULs) or folder
    HWND initWindow = nullptr;
    CHOOSECOLORA color = {};
    CHOOSEFONTA font = {};
    OPENFILENAMEA file = {};
    BROWSEINFOA browse = {};
    std::string filterBlock;

private:
    SSelectorDialogs* m_previous;
};

// Records the selection message that the folder dialog's callback sends.
class SelectionRecorder : public SWnd
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == BFFM_SETSELECTIONW && lParam)
        {
            selectAsText = wParam;
            selected = (const wchar_t*)lParam;
            return 0;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    WPARAM selectAsText = 0;
    std::wstring selected;
};
}

TEST(SSelector, ChooseColorFlagsAndResult)
{
    FakeDialogs fake;
    SSelector selector((HWND)0x1234);
    struct Case { unsigned initial; bool full, prevent, any; DWORD flags; };
    const Case cases[] = {
        {RGB(1, 2, 3), false, false, false, CC_RGBINIT | CC_SOLIDCOLOR},
        {0xFF000000u, false, false, false, CC_SOLIDCOLOR},
        {0x00FFFFFFu, true, false, true, CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR},
        {0x01000000u, false, true, false, CC_PREVENTFULLOPEN | CC_SOLIDCOLOR},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(selector.ChooseColor(c.initial, c.full, c.prevent, c.any));
        EXPECT_EQ(c.flags, fake.color.Flags) << std::hex << c.initial;
        EXPECT_EQ((COLORREF)c.initial, fake.color.rgbResult);
        EXPECT_EQ(sizeof(CHOOSECOLORA), (size_t)fake.color.lStructSize);
        EXPECT_EQ((HWND)0x1234, fake.color.hwndOwner);
        EXPECT_NE(nullptr, fake.color.lpCustColors);
    }
    EXPECT_EQ((unsigned)RGB(12, 34, 56), selector.GetColor());
    fake.confirm = false;
    selector.SetOwner(nullptr);
    EXPECT_FALSE(selector.ChooseColor(RGB(9, 9, 9)));
    EXPECT_EQ((unsigned)RGB(12, 34, 56), selector.GetColor());
}

TEST(SSelector, ChooseFontKeepsFaceSizeAndStyle)
{
    FakeDialogs fake;
    SSelector selector;
    LOGFONTA font = {};
    strcpy(font.lfFaceName, "Arial");
    int size = 0;
    EXPECT_TRUE(selector.ChooseFont(&font, &size));
    EXPECT_EQ((DWORD)(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT), fake.font.Flags);
    EXPECT_EQ(&font, fake.font.lpLogFont);
    EXPECT_EQ(12, size);
    EXPECT_STREQ("Tahoma", selector.GetFontFace());
    EXPECT_EQ(12, selector.GetFontSize());
    EXPECT_EQ(3, selector.GetFontStyle());
    fake.confirm = false;
    size = -1;
    EXPECT_FALSE(selector.ChooseFont(&font, &size));
    EXPECT_EQ(-1, size);
    EXPECT_STREQ("Tahoma", selector.GetFontFace());
}

TEST(SSelector, OpenFileFiltersAndSelections)
{
    FakeDialogs fake;
    SSelector selector;
    SStringArray filters;
    filters.Add("Images|*.png;*.jpg");
    filters.Add("All|*.*");
    fake.result = "C:\\Music\\song.mp3";
    EXPECT_TRUE(selector.OpenFile(&filters, 0, "C:\\Music", "Pick", 5));
    EXPECT_EQ(std::string("Images\0*.png;*.jpg\0All\0*.*\0\0", 28), fake.filterBlock);
    EXPECT_EQ(1u, (unsigned)fake.file.nFilterIndex);
    EXPECT_EQ(0x8000u, (unsigned)fake.file.nMaxFile);
    EXPECT_EQ((DWORD)0x881804, fake.file.Flags);
    EXPECT_STREQ("C:\\Music", fake.file.lpstrInitialDir);
    EXPECT_STREQ("Pick", fake.file.lpstrTitle);
    EXPECT_STREQ("", fake.file.lpstrDefExt);
    EXPECT_EQ(1, selector.GetFileCount());
    EXPECT_STREQ("C:\\Music\\song.mp3", selector.GetFile(0));
    EXPECT_STREQ("", selector.GetFile(1));
    EXPECT_STREQ("", selector.GetFile(-1));

    EXPECT_TRUE(selector.OpenFile(&filters, 0, nullptr, nullptr, 1));
    EXPECT_EQ(2u, (unsigned)fake.file.nFilterIndex);
    EXPECT_TRUE(selector.OpenFile(nullptr));
    EXPECT_EQ(nullptr, fake.file.lpstrFilter);

    struct Case { std::string buffer; std::vector<const char*> paths; };
    const Case cases[] = {
        {std::string("C:\\Music\0a.mp3\0b.mp3\0", 21), {"C:\\Music\\a.mp3", "C:\\Music\\b.mp3"}},
        {std::string("C:\\\0a.mp3\0b.mp3\0", 16), {"C:\\a.mp3", "C:\\b.mp3"}},
        {std::string("C:\\Music\\one.mp3\0", 17), {"C:\\Music\\one.mp3"}},
        {std::string("", 0), {}},
    };
    for (const Case& c : cases)
    {
        fake.result = c.buffer;
        EXPECT_EQ(!c.paths.empty(), selector.OpenFile(&filters, OFN_ALLOWMULTISELECT));
        EXPECT_EQ((DWORD)(0x881804 | OFN_ALLOWMULTISELECT), fake.file.Flags);
        ASSERT_EQ((int)c.paths.size(), selector.GetFileCount());
        for (size_t i = 0; i < c.paths.size(); i++)
            EXPECT_STREQ(c.paths[i], selector.GetFile((int)i));
    }
    fake.result = "C:\\x.mp3";
    fake.confirm = false;
    EXPECT_FALSE(selector.OpenFile(&filters));
    EXPECT_EQ(0, selector.GetFileCount());
}

TEST(SSelector, BrowseFolderAddsTheSlashAndSelectsTheStart)
{
    SRecordingParent owner;
    ASSERT_TRUE(CreateInactiveParent(owner));
    SelectionRecorder dialog;
    ASSERT_TRUE(dialog.CreateMessageWindow());
    FakeDialogs fake;
    fake.initWindow = dialog.GetHandle();
    SSelector selector(owner.GetHandle());
    struct Case { const char* chosen; bool slash; const char* folder; };
    const Case cases[] = {
        {"C:\\", true, "C:\\"}, {"C:\\Music", true, "C:\\Music\\"}, {"C:\\Music", false, "C:\\Music"},
    };
    for (const Case& c : cases)
    {
        fake.result = c.chosen;
        selector.SetFolderSlash(c.slash);
        EXPECT_STREQ(c.folder, selector.BrowseFolder("Title", nullptr));
        EXPECT_STREQ(c.folder, selector.GetFolder());
    }
    EXPECT_EQ(owner.GetHandle(), fake.browse.hwndOwner);
    EXPECT_EQ((UINT)0x48, fake.browse.ulFlags);
    EXPECT_STREQ("Title", fake.browse.lpszTitle);
    EXPECT_EQ(nullptr, fake.browse.pidlRoot);
    EXPECT_TRUE(dialog.selected.empty());

    selector.BrowseFolder(nullptr, "C:\\Music", true);
    EXPECT_EQ((UINT)0x4048, fake.browse.ulFlags);
    EXPECT_EQ((WPARAM)TRUE, dialog.selectAsText);
    EXPECT_EQ(L"C:\\Music\\", dialog.selected);

    fake.confirm = false;
    EXPECT_STREQ("", selector.BrowseFolder("Title", "C:\\Music"));
    EXPECT_STREQ("", selector.GetFolder());
}

namespace
{
// Drives the system colour pop-up from inside its modal loop, by messages only.
class PopupDriver : public SWnd
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_APP + 1)
        {
            HWND popup = FindWindowA(nullptr, caption);
            if (!popup)
            {
                // Not up yet: look again on the next turn of the loop, a bounded number of times.
                if (++tries < 200)
                    PostMessage(WM_APP + 1);
                return 0;
            }
            found = true;
            RECT client;
            ::GetClientRect(popup, &client);
            clientWidth = client.right;
            clientHeight = client.bottom;
            HWND combo = GetDlgItem(popup, 1100);
            comboCount = (int)::SendMessageA(combo, CB_GETCOUNT, 0, 0);
            comboSelection = (int)::SendMessageA(combo, CB_GETCURSEL, 0, 0);
            if (select >= 0)
            {
                ::SendMessageA(combo, CB_SETCURSEL, (WPARAM)select, 0);
                ::SendMessageA(popup, WM_COMMAND, MAKEWPARAM(1100, CBN_SELCHANGE), (LPARAM)combo);
                HWND preview = GetWindow(popup, GW_CHILD);
                SWnd* previewWindow = FindWndByHandle(preview);
                previewColor = previewWindow ? previewWindow->GetBackColor() : 0;
            }
            int button = pressOk ? 1000 : 1001;
            ::SendMessageA(popup, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(popup, button));
            return 0;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    const char* caption = "";
    int select = -1;
    bool pressOk = true;
    bool found = false;
    int tries = 0;
    int clientWidth = 0, clientHeight = 0;
    int comboCount = 0, comboSelection = -1;
    unsigned previewColor = 0;
};
}

TEST(SSelector, SystemColorPopupIsDrivenByMessages)
{
    SSelector none;
    EXPECT_FALSE(none.ChooseSystemColor("no owner"));

    // A hidden owner is never activated when the pop-up goes, so it goes at once too.
    SRecordingParent owner;
    RECT rect = {0, 0, 100, 100};
    ASSERT_TRUE(owner.Create("owner", WS_POPUP, 0, &rect, nullptr));
    const SArray<int>& indexes = GetIdentifiants()->GetColorIndexes();
    ASSERT_GT(indexes.GetCount(), 3);
    SSelector selector(owner.GetHandle());

    struct Case { int select; bool ok; bool picked; };
    // Each run hides an activated captioned window, which Wine takes about 2 s for: two runs only.
    const Case cases[] = {{2, true, true}, {3, false, false}};
    unsigned expected = 0;
    for (const Case& c : cases)
    {
        PopupDriver driver;
        ASSERT_TRUE(driver.CreateMessageWindow());
        driver.caption = "System colour test";
        driver.select = c.select;
        driver.pressOk = c.ok;
        driver.PostMessage(WM_APP + 1);
        EXPECT_EQ(c.picked, selector.ChooseSystemColor("System colour test"));
        ASSERT_TRUE(driver.found);
        EXPECT_EQ(300, driver.clientWidth);
        EXPECT_EQ(95, driver.clientHeight);
        EXPECT_EQ(indexes.GetCount(), driver.comboCount);
        EXPECT_EQ(0, driver.comboSelection);
        if (c.picked)
            expected = 0xFE000000u + (unsigned)indexes.GetAt(c.select >= 0 ? c.select : 0);
        if (c.select >= 0)
        {
            EXPECT_EQ((unsigned)GetSysColor(indexes.GetAt(c.select)), driver.previewColor);
        }
        // Cancelling leaves the stored colour as it was.
        EXPECT_EQ(expected, selector.GetColor());
        EXPECT_EQ(nullptr, FindWindowA(nullptr, "System colour test"));
        EXPECT_TRUE(IsWindowEnabled(owner.GetHandle()));
    }
}
