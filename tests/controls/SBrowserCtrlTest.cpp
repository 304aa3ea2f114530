#include <gtest/gtest.h>
#include <windows.h>
#include <exdispid.h>

#include <memory>
#include <string>

#include "../window/PumpSupport.h"
#include "BrowserTestSupport.h"
#include "ControlTestSupport.h"
#include "SBrowserCtrl.h"
#include "SFileMem.h"

namespace
{
const IID kWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// A parent that keeps the URLs of the before-navigate notifications (valid only during the call).
class SBrowserParent : public SRecordingParent
{
public:
    std::vector<std::string> urls;
    LONG progress[2] = {0, 0};
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_BROWSER_BEFORE_NAVIGATE && lParam)
            urls.push_back((const char*)lParam);
        if (msg == WM_S_BROWSER_PROGRESS && lParam)
        {
            progress[0] = ((const LONG*)lParam)[0];
            progress[1] = ((const LONG*)lParam)[1];
        }
        return SRecordingParent::OnMessage(msg, wParam, lParam);
    }
};

// A hidden parent: nothing here needs to be seen, and hiding a shown window costs Wine seconds.
class SBrowserCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(parent.Create("browser test", WS_OVERLAPPEDWINDOW, 0, &rect, nullptr));
        RECT area = {0, 0, 380, 280};
        ASSERT_TRUE(browser.Create(WS_VISIBLE, 0, &area, parent.GetHandle()));
        ASSERT_TRUE(browser.HasBrowser());
    }
    bool NavigationFailed() { return !parent.Received(WM_S_BROWSER_DOCUMENT).empty(); }

    SBrowserParent parent;
    SBrowserCtrl browser;
};

// An object with no connection points at all.
class SPlainObject : public IUnknown
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        *out = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};
} // namespace

TEST(SOcxEvents, CountsReferencesWithoutDeletingItself)
{
    SOcxEvents sink;
    EXPECT_EQ(0u, sink.Release());
    EXPECT_EQ(0, sink.GetRefCount());
    EXPECT_EQ(1u, sink.AddRef());
    EXPECT_EQ(2u, sink.AddRef());
    EXPECT_EQ(1u, sink.Release());
    EXPECT_EQ(0u, sink.Release());
    EXPECT_EQ(0u, sink.Release());

    struct Case { const IID* iid; HRESULT result; } cases[] = {
        {&IID_IUnknown, S_OK}, {&IID_IDispatch, S_OK}, {&kWebBrowserEvents2, E_NOINTERFACE},
        {&IID_IConnectionPointContainer, E_NOINTERFACE}};
    for (const auto& c : cases)
    {
        void* out = (void*)1;
        EXPECT_EQ(c.result, sink.QueryInterface(*c.iid, &out));
        EXPECT_EQ(c.result == S_OK ? (void*)static_cast<IDispatch*>(&sink) : nullptr, out);
        if (out)
            sink.Release();
    }
    EXPECT_EQ(0, sink.GetRefCount());
    UINT count = 0;
    EXPECT_EQ(E_NOTIMPL, sink.GetTypeInfoCount(&count));
    EXPECT_EQ(E_INVALIDARG, sink.Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(S_OK, sink.Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));

    SBrowserCtrl::_SEvents browserSink;
    void* out = nullptr;
    EXPECT_EQ(S_OK, browserSink.QueryInterface(kWebBrowserEvents2, &out));
    EXPECT_EQ((void*)static_cast<IDispatch*>(&browserSink), out);
    EXPECT_EQ(1, browserSink.GetRefCount());
    browserSink.Release();
}

TEST(SOcxEvents, AnObjectWithoutConnectionPointsIsAdvisedNothing)
{
    SPlainObject object;
    SOcxEvents sink;
    IConnectionPoint* point = (IConnectionPoint*)1;
    DWORD cookie = 5;
    SAdviseSink(&object, kWebBrowserEvents2, &sink, &point, &cookie);
    EXPECT_EQ(nullptr, point);
    EXPECT_EQ(0u, cookie);
    SUnadviseSink(&point, &cookie);
    EXPECT_EQ(0, sink.GetRefCount());
}

TEST_F(SBrowserCtrlTest, NavigationIsReportedAndTheParentCanCancelIt)
{
    EXPECT_EQ(SKIND_WEB, browser.GetKind());
    // Port 9 on this machine refuses the connection: the page fails without leaving the host.
    ASSERT_TRUE(browser.Navigate("http://127.0.0.1:9/page.htm", "first"));
    // The before-navigate notification arrives inside the call.
    ASSERT_EQ(1u, parent.urls.size());
    EXPECT_EQ("http://127.0.0.1:9/page.htm", parent.urls[0]);
    EXPECT_EQ((WPARAM)&browser, parent.Received(WM_S_BROWSER_BEFORE_NAVIGATE)[0].wParam);
    EXPECT_STREQ("first", browser.GetTag());
    ASSERT_TRUE(PumpUntil([&] { return NavigationFailed(); }, 10000));
    EXPECT_EQ(1, parent.Received(WM_S_BROWSER_DOCUMENT)[0].lParam);

    parent.ClearReceived();
    parent.urls.clear();
    parent.SetAnswer(WM_S_BROWSER_BEFORE_NAVIGATE, 1);
    browser.EnableHistory(false);
    browser.SetSilent(true);
    EXPECT_TRUE(browser.Navigate("http://127.0.0.1:9/other.htm", "second"));
    // While the browser is busy with the failed page, the next one is announced later.
    ASSERT_TRUE(PumpUntil([&] { return !parent.urls.empty(); }, 5000));
    ASSERT_EQ(1u, parent.urls.size());
    EXPECT_EQ("http://127.0.0.1:9/other.htm", parent.urls[0]);
    // A cancelled navigation goes nowhere, so it cannot fail either.
    EXPECT_FALSE(PumpUntil([&] { return NavigationFailed(); }, 400));
}

TEST_F(SBrowserCtrlTest, SinkMapsTheBrowserEventsToNotifications)
{
    SBrowserCtrl::_SEvents sink;
    sink.owner = &browser;
    struct Case { DISPID dispid; UINT message; LPARAM lParam; } cases[] = {
        {DISPID_DOCUMENTCOMPLETE, WM_S_BROWSER_DOCUMENT, 0}, {DISPID_NAVIGATEERROR, WM_S_BROWSER_DOCUMENT, 1},
        {DISPID_TITLECHANGE, WM_S_BROWSER_TITLE, 0}, {DISPID_STATUSTEXTCHANGE, WM_S_BROWSER_STATUS, 0},
        {DISPID_ONQUIT, WM_S_BROWSER_QUIT, 0}};
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    for (const auto& c : cases)
    {
        parent.ClearReceived();
        EXPECT_EQ(S_OK, sink.Invoke(c.dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
        auto received = parent.Received(c.message);
        ASSERT_EQ(1u, received.size()) << c.dispid;
        EXPECT_EQ(c.lParam, received[0].lParam);
        EXPECT_EQ((WPARAM)&browser, received[0].wParam);
    }

    // ProgressChange (progress, maximum): arguments come last first; -1 sends nothing.
    VARIANTARG progress[2];
    progress[1].vt = VT_I4;
    progress[1].lVal = 30;
    progress[0].vt = VT_I4;
    progress[0].lVal = 120;
    DISPPARAMS params = {progress, nullptr, 2, 0};
    parent.ClearReceived();
    EXPECT_EQ(S_OK, sink.Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    ASSERT_EQ(1u, parent.Received(WM_S_BROWSER_PROGRESS).size());
    EXPECT_EQ(30, parent.progress[0]);
    EXPECT_EQ(120, parent.progress[1]);
    progress[1].lVal = -1;
    sink.Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    EXPECT_EQ(1u, parent.Received(WM_S_BROWSER_PROGRESS).size());

    // BeforeNavigate2 with the parent's cancel written back.
    parent.SetAnswer(WM_S_BROWSER_BEFORE_NAVIGATE, 1);
    EXPECT_TRUE(RaiseBeforeNavigate(&sink, L"http://example.invalid/x"));
    ASSERT_FALSE(parent.urls.empty());
    EXPECT_EQ("http://example.invalid/x", parent.urls.back());

    // Without an owner nothing is sent.
    sink.owner = nullptr;
    parent.ClearReceived();
    sink.Invoke(DISPID_TITLECHANGE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    EXPECT_TRUE(parent.Received(WM_S_BROWSER_TITLE).empty());
}

TEST_F(SBrowserCtrlTest, StreamsGoThroughOneTemporaryFileAtATime)
{
    auto control = std::make_unique<SBrowserCtrl>();
    RECT area = {0, 0, 100, 100};
    ASSERT_TRUE(control->Create(WS_VISIBLE, 0, &area, parent.GetHandle()));
    SFileMem page;
    page.WriteText("<html><body>first</body></html>");
    page.Rewind();
    ASSERT_TRUE(control->NavigateStream(&page, "one", ".htm"));
    std::string first = (const char*)control->GetTempFile();
    EXPECT_NE(std::string::npos, first.find("blwbrowser_1_")) << first;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(first.c_str()));
    EXPECT_STREQ("one", control->GetTag());

    SFileMem second;
    second.WriteText("skip<p>second</p>");
    second.Seek(4);
    ASSERT_TRUE(control->NavigateStream(&second, "two", ".htm"));
    std::string path = (const char*)control->GetTempFile();
    EXPECT_NE(std::string::npos, path.find("blwbrowser_2_")) << path;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(first.c_str()));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    char content[64] = {};
    DWORD read = 0;
    ReadFile(file, content, sizeof(content) - 1, &read, nullptr);
    CloseHandle(file);
    EXPECT_STREQ("<p>second</p>", content);

    PumpPending();
    control->DestroyBrowser();
    EXPECT_FALSE(control->HasBrowser());
    EXPECT_FALSE(control->Navigate("http://127.0.0.1:9/", "none"));
    EXPECT_FALSE(control->NavigateStream(&page, "none", nullptr));
    control.reset();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

TEST_F(SBrowserCtrlTest, ABrowserLeftToItsFirstUseIsMadeByIt)
{
    struct Case {
        const char* name;
        bool stream, silent;
    } cases[] = {{"navigation", false, false}, {"stream", true, false}, {"silent setting", false, true}};
    for (const Case& c : cases)
    {
        SBrowserCtrl later;
        later.SetBrowserOnFirstUse(true);
        RECT area = {0, 0, 100, 100};
        ASSERT_TRUE(later.Create(WS_VISIBLE, 0, &area, parent.GetHandle())) << c.name;
        EXPECT_FALSE(later.HasBrowser()) << c.name;
        // Nothing of the browser is in the window yet.
        EXPECT_EQ(nullptr, GetWindow(later.GetHandle(), GW_CHILD)) << c.name;
        parent.urls.clear();
        if (c.silent)
            later.SetSilent(true);
        else if (c.stream)
        {
            SFileMem page;
            page.WriteText("<html><body>first</body></html>");
            page.Rewind();
            EXPECT_TRUE(later.NavigateStream(&page, "first", ".htm")) << c.name;
        }
        else
        {
            EXPECT_TRUE(later.Navigate("http://127.0.0.1:9/later.htm", "first")) << c.name;
            ASSERT_EQ(1u, parent.urls.size()) << c.name;
            EXPECT_EQ("http://127.0.0.1:9/later.htm", parent.urls[0]);
        }
        EXPECT_TRUE(later.HasBrowser()) << c.name;
        EXPECT_NE(nullptr, GetWindow(later.GetHandle(), GW_CHILD)) << c.name;
        PumpPending();
    }
}
