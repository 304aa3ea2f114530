// The main window's splitter passes its panes' notifications on to its owner.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <exdispid.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../controls/BrowserTestSupport.h"
#include "../controls/ControlTestSupport.h"
#include "../controls/InactiveParent.h"
#include "../window/PumpSupport.h"
#include "PSplitterCtrl.h"
#include "SBrowserCtrl.h"
#include "SCodeEditCtrl.h"
#include "SControl.h"
#include "SControlBarCtrl.h"
#include "SDisk.h"
#include "SListCtrl.h"
#include "SMediaCtrl.h"
#include "SMessages.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SToolBarCtrl.h"

namespace
{

struct SplitterFixture
{
    SplitterFixture()
    {
        EXPECT_TRUE(CreateInactiveParent(owner, 300, 200));
        RECT rect = {0, 0, 300, 200};
        EXPECT_TRUE(splitter.Create(WS_CHILD | WS_VISIBLE, 0, &rect, owner.GetHandle(), 7));
        EXPECT_TRUE(splitter.CreatePanes(2, 1));
    }
    HWND Pane(int column) { return splitter.GetPane(column, 0)->GetHandle(); }

    SRecordingParent owner;
    PSplitterCtrl splitter;
};

// An owner that also keeps what lives only during the call: the texts of links and
// navigations, and the slider's position as the owner reads it when told of a move.
// Its answers can be changed between sends.
class LayoutOwner : public SRecordingParent
{
public:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if ((msg == WM_S_MEDIA_LINK || msg == WM_S_BROWSER_BEFORE_NAVIGATE) && lParam)
            texts.push_back((const char*)lParam);
        if (msg == ControlMessage(SBLOCK_SLIDER, 1) && slider && wParam == (WPARAM)(SWnd*)slider)
            sliderPositions.push_back(slider->GetPos());
        if (msg == WM_S_CHANGED)
            changes.push_back({msg, wParam, lParam, {0, 0, 0, 0, 0}});
        LRESULT result = SRecordingParent::OnMessage(msg, wParam, lParam);
        auto answer = answers.find(msg);
        return answer != answers.end() ? answer->second : result;
    }
    // What reached the owner of one message number, the change notification included.
    std::vector<SRecordedMessage> Heard(UINT msg) const { return msg == WM_S_CHANGED ? changes : Received(msg); }
    void Forget()
    {
        ClearReceived();
        changes.clear();
        texts.clear();
        sliderPositions.clear();
    }

    SSliderCtrl* slider = nullptr;
    std::map<UINT, LRESULT> answers;
    std::vector<std::string> texts;
    std::vector<int> sliderPositions;
    std::vector<SRecordedMessage> changes;
};

// Keeps what a view would have opened with the shell instead of opening it.
class RecordingLauncher : public SShellLauncher
{
public:
    bool ExecuteEx(SHELLEXECUTEINFOA* info) override
    {
        files.push_back(info->lpFile ? info->lpFile : "");
        return true;
    }
    std::vector<std::string> files;
};

// The containers of the main window as it builds them, each holding the real controls
// whose notifications the main window handles: the control bar with the toolbar, the
// outer splitter (folder list and header view left; title view, cover view, web view,
// volume slider and the inner splitter right) and the inner splitter (file list, note view).
struct MainLayout
{
    MainLayout()
    {
        previousLauncher = SDisk::SetShellLauncher(&launcher);
        EXPECT_TRUE(CreateInactiveParent(owner, 800, 560));
        owner.slider = &volume;
        owner.SetMouseMessages({ControlMessage(SBLOCK_LIST, 1), WM_S_MEDIA_MOUSE});

        EXPECT_TRUE(controlBar.Create(WS_VISIBLE, 0, owner.GetHandle()));
        EXPECT_TRUE(toolBar.Create(WS_VISIBLE | 0x90C, 0, nullptr, controlBar.GetHandle()));
        EXPECT_TRUE(toolBar.AddButton(19, -1, "Preferences", BTNS_AUTOSIZE | BTNS_SHOWTEXT, TBSTATE_ENABLED, 0));
        SIZE size = toolBar.GetMaxSize();
        EXPECT_TRUE(controlBar.InsertBand(toolBar.GetHandle(), -1, 100, toolBar.GetButtonHeight(), size.cx, true, "",
                                          RBBS_NOGRIPPER));

        RECT rect = {0, 60, 800, 560};
        EXPECT_TRUE(outer.Create(WS_VISIBLE, 0, &rect, owner.GetHandle()));
        EXPECT_TRUE(outer.CreatePanes(2, 1));
        outer.SetColumnWidth(0, 220);
        HWND left = outer.GetPane(0, 0)->GetHandle();
        HWND right = outer.GetPane(1, 0)->GetHandle();

        rect = {0, 0, 220, 22};
        EXPECT_TRUE(header.CreateChild("", WS_VISIBLE, 0, &rect, left, 1006));
        rect = {0, 24, 220, 300};
        EXPECT_TRUE(folders.Create(WS_VISIBLE | WS_VSCROLL, 0, &rect, left, 1001));

        rect = {0, 0, 150, 150};
        EXPECT_TRUE(cover.CreateChild("", WS_VISIBLE, 0, &rect, right));
        rect = {0, 150, 150, 190};
        EXPECT_TRUE(title.CreateChild("", WS_VISIBLE, 0, &rect, right));
        rect = {0, 200, 150, 300};
        EXPECT_TRUE(web.Create(WS_VISIBLE, 0, &rect, right, 1004));
        rect = {0, 300, 16, 399};
        EXPECT_TRUE(scroll.Create(WS_VISIBLE | SBS_VERT, 0, &rect, right));
        scroll.SetRange(0, 10);
        rect = {540, 399, 568, 499};
        EXPECT_TRUE(volume.Create(WS_VISIBLE | TBS_VERT | TBS_BOTH | TBS_NOTICKS, 0, &rect, right, 1007));
        volume.SetRange(0, 50);

        rect = {150, 0, 568, 398};
        EXPECT_TRUE(inner.Create(WS_VISIBLE, 0, &rect, right));
        EXPECT_TRUE(inner.CreatePanes(2, 1));
        inner.SetColumnWidth(0, 200);
        RECT files, note;
        inner.GetPane(0, 0)->GetClientRect(&files);
        inner.GetPane(1, 0)->GetClientRect(&note);
        EXPECT_TRUE(fileList.Create(WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL, 0, &files,
                                    inner.GetPane(0, 0)->GetHandle(), 1002));
        EXPECT_TRUE(noteView.Create(WS_VISIBLE | WS_VSCROLL, 0, &note, inner.GetPane(1, 0)->GetHandle(), 1003));
        // The main window always keeps a document open in the note view, empty when there is no note.
        EXPECT_TRUE(noteView.New());

        for (SListCtrl* list : {&folders, &fileList})
            for (const char* text : {"First", "Second", "Third"})
                list->InsertItem(text);
        for (SMediaCtrl* view : {&header, &title})
        {
            view->SetTags(true);
            view->SetWindowText("<link>www.example.org</link>");
            view->Redraw();
        }
        PumpPending();
    }
    ~MainLayout() { SDisk::SetShellLauncher(previousLauncher); }

    // The centre of a list item in the list's client coordinates.
    static LPARAM ItemPoint(SListCtrl* list, int index)
    {
        RECT item = {0, 0, 0, 0};
        list->SendMessage(LB_GETITEMRECT, (WPARAM)index, (LPARAM)&item);
        return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    }
    static void RightPress(SListCtrl* list) { list->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, ItemPoint(list, 0)); }
    static void LeftPress(SListCtrl* list) { list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(list, 1)); }
    static void DoubleClick(SListCtrl* list)
    {
        list->SetCurSel(2);
        list->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(list, 2));
    }
    static void PressEnter(SListCtrl* list) { list->SendMessage(WM_KEYDOWN, VK_RETURN, 0); }

    // A left press on the first link of a markup view.
    static void ClickLink(SMediaCtrl* view)
    {
        RECT link = {0, 0, 0, 0};
        EXPECT_EQ(1, view->GetLinkCount());
        view->GetLinkRect(0, &link);
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                          MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2));
        view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2));
    }

    // The slider's thumb pressed, moved down by a distance and released, as a drag does.
    void DragThumb(int distance)
    {
        RECT thumb = {0, 0, 0, 0};
        volume.SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
        const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
        volume.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        volume.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + distance / 2));
        volume.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + distance));
        volume.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y + distance));
        if (GetCapture() == volume.GetHandle())
            ReleaseCapture();
    }
    // A press on the slider's channel below the thumb: a page down, as a click on the track.
    void ClickTrackBelowThumb()
    {
        RECT thumb = {0, 0, 0, 0}, client;
        volume.SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
        volume.GetClientRect(&client);
        const LPARAM point = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.bottom + client.bottom) / 2);
        volume.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        volume.SendMessage(WM_LBUTTONUP, 0, point);
        if (GetCapture() == volume.GetHandle())
            ReleaseCapture();
    }

    // The before-navigate event as the browser raises it on the control's own sink;
    // true when the control wrote the cancel back.
    bool BrowserNavigates(const wchar_t* url)
    {
        SBrowserCtrl::_SEvents sink;
        sink.owner = &web;
        return RaiseBeforeNavigate(&sink, url);
    }

    // Presses and releases the left button over the toolbar's first button.
    void ClickToolButton()
    {
        RECT item = {0, 0, 0, 0};
        toolBar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&item);
        const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        toolBar.SendMessage(WM_MOUSEMOVE, 0, point);
        toolBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        toolBar.SendMessage(WM_LBUTTONUP, 0, point);
        if (GetCapture() == toolBar.GetHandle())
            ReleaseCapture();
    }

    RecordingLauncher launcher;
    SShellLauncher* previousLauncher = nullptr;
    LayoutOwner owner;
    SControlBarCtrl controlBar;
    SToolBarCtrl toolBar;
    PSplitterCtrl outer;
    SMediaCtrl header;
    SListCtrl folders;
    SMediaCtrl cover;
    SMediaCtrl title;
    SBrowserCtrl web;
    SScrollCtrl scroll;
    SSliderCtrl volume;
    PSplitterCtrl inner;
    SListCtrl fileList;
    SCodeEditCtrl noteView;
};

} // namespace

TEST(PSplitterCtrl, ListNotificationsOfAPaneReachTheOwner)
{
    SplitterFixture f;
    const UINT forwarded[] = {ControlMessage(SBLOCK_LIST, 0), ControlMessage(SBLOCK_LIST, 1),
                              ControlMessage(SBLOCK_LIST, 2), ControlMessage(SBLOCK_LIST, 3),
                              ControlMessage(SBLOCK_SCROLL, 1)};
    for (UINT msg : forwarded)
    {
        SendMessageA(f.Pane(1), msg, 41, 42);
        auto received = f.owner.Received(msg);
        ASSERT_EQ(1u, received.size()) << msg;
        EXPECT_EQ(41u, received[0].wParam);
        EXPECT_EQ(42, received[0].lParam);
    }
}

TEST(PSplitterCtrl, BrowserNotificationsAreAnsweredByTheOwner)
{
    SplitterFixture f;
    const UINT browser = ControlMessage(SBLOCK_BROWSER, 0);
    f.owner.SetAnswer(browser, 1);
    EXPECT_EQ(1, SendMessageA(f.Pane(0), browser, 0, 0));
    EXPECT_EQ(1u, f.owner.Received(browser).size());
}

TEST(PSplitterCtrl, OtherControlMessagesStayInThePane)
{
    SplitterFixture f;
    const UINT other = ControlMessage(SBLOCK_LIST, 9);
    SendMessageA(f.Pane(0), other, 0, 0);
    EXPECT_TRUE(f.owner.Received(other).empty());
}

// Every notification the main window handles, produced by the real control inside the
// real containers that hold it there, reaches the owner with the control and its values.
TEST(PSplitterCtrl, NotificationsOfTheControlsInTheMainWindowsContainersReachTheOwner)
{
    MainLayout f;
    f.owner.answers[WM_S_MEDIA_LINK] = -1;
    f.owner.answers[WM_S_BROWSER_BEFORE_NAVIGATE] = -1;
    const UINT listKey = ControlMessage(SBLOCK_LIST, 0), listMouse = ControlMessage(SBLOCK_LIST, 1);
    const UINT listSelection = ControlMessage(SBLOCK_LIST, 2), listDouble = ControlMessage(SBLOCK_LIST, 3);
    const UINT slider = ControlMessage(SBLOCK_SLIDER, 1);

    struct Case
    {
        const char* what; // container, control and what the user does
        UINT message;     // what the owner must hear
        SWnd* sender;     // the control the owner must be told of
        std::function<void()> act;
        std::function<void(const SRecordedMessage&)> check; // the values of the first notification
    };
    auto noCheck = [](const SRecordedMessage&) {};
    auto keyIsEnter = [](const SRecordedMessage& m) { EXPECT_EQ(VK_RETURN, m.lParam); };
    auto rightDown = [](const SRecordedMessage& m) { EXPECT_EQ(SMOUSE_RIGHT | SMOUSE_DOWN, m.mouse.code); };
    auto sliderMoved = [&f](const SRecordedMessage&) {
        ASSERT_FALSE(f.owner.sliderPositions.empty());
        // The owner reads the new position while it is told: the volume follows the drag.
        EXPECT_EQ(f.volume.GetPos(), f.owner.sliderPositions.back());
        EXPECT_GT(f.volume.GetPos(), 0);
    };
    auto linkAnswered = [&f](const SRecordedMessage&) {
        ASSERT_EQ(1u, f.owner.texts.size());
        EXPECT_EQ("www.example.org", f.owner.texts[0]);
        // The owner's answer reached the view: it did not open the address with the shell.
        EXPECT_TRUE(f.launcher.files.empty());
    };
    const Case cases[] = {
        {"control bar: toolbar button clicked", ControlMessage(SBLOCK_TOOLBAR), &f.toolBar,
         [&] { f.ClickToolButton(); }, [](const SRecordedMessage& m) { EXPECT_EQ(19, m.lParam); }},
        {"outer pane 0: folder list, Enter", listKey, &f.folders, [&] { f.PressEnter(&f.folders); }, keyIsEnter},
        {"outer pane 0: folder list, right press", listMouse, &f.folders, [&] { f.RightPress(&f.folders); },
         rightDown},
        {"outer pane 0: folder list, click", listSelection, &f.folders, [&] { f.LeftPress(&f.folders); }, noCheck},
        {"outer pane 0: folder list, double click", listDouble, &f.folders, [&] { f.DoubleClick(&f.folders); },
         noCheck},
        {"outer pane 0: header view, link", WM_S_MEDIA_LINK, &f.header, [&] { f.ClickLink(&f.header); },
         linkAnswered},
        {"outer pane 1 / inner pane 0: file list, Enter", listKey, &f.fileList, [&] { f.PressEnter(&f.fileList); },
         keyIsEnter},
        {"outer pane 1 / inner pane 0: file list, right press", listMouse, &f.fileList,
         [&] { f.RightPress(&f.fileList); }, rightDown},
        {"outer pane 1 / inner pane 0: file list, click", listSelection, &f.fileList,
         [&] { f.LeftPress(&f.fileList); }, noCheck},
        {"outer pane 1 / inner pane 0: file list, double click", listDouble, &f.fileList,
         [&] { f.DoubleClick(&f.fileList); }, noCheck},
        {"outer pane 1 / inner pane 1: note view, typing", WM_S_CHANGED, &f.noteView,
         [&] { f.noteView.SendMessage(WM_CHAR, 'x', 0); }, noCheck},
        {"outer pane 1: title view, link", WM_S_MEDIA_LINK, &f.title, [&] { f.ClickLink(&f.title); }, linkAnswered},
        {"outer pane 1: cover view, left press", WM_S_MEDIA_MOUSE, &f.cover,
         [&] { f.cover.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); },
         [](const SRecordedMessage& m) { EXPECT_EQ(SMOUSE_LEFT | SMOUSE_DOWN, m.mouse.code); }},
        {"outer pane 1: web view, before navigate", WM_S_BROWSER_BEFORE_NAVIGATE, &f.web,
         [&] { EXPECT_TRUE(f.BrowserNavigates(L"http://127.0.0.1:9/a.link")) << "the owner's cancel"; },
         [&](const SRecordedMessage&) {
             ASSERT_EQ(1u, f.owner.texts.size());
             EXPECT_EQ("http://127.0.0.1:9/a.link", f.owner.texts[0]);
         }},
        {"outer pane 1: scroll bar, Down key", ControlMessage(SBLOCK_SCROLL, 1), &f.scroll,
         [&] { f.scroll.SendMessage(WM_KEYDOWN, VK_DOWN, 0); },
         [&](const SRecordedMessage&) { EXPECT_GT(f.scroll.GetPos(), 0); }},
        {"outer pane 1: volume slider, thumb dragged", slider, &f.volume, [&] { f.DragThumb(30); }, sliderMoved},
        {"outer pane 1: volume slider, click on the track", slider, &f.volume, [&] { f.ClickTrackBelowThumb(); },
         sliderMoved},
        {"outer pane 1: volume slider, Down key", slider, &f.volume,
         [&] { f.volume.SendMessage(WM_KEYDOWN, VK_DOWN, 0); }, sliderMoved},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        f.owner.Forget();
        f.launcher.files.clear();
        const int before = f.volume.GetPos();
        c.act();
        PumpPending();
        auto received = f.owner.Heard(c.message);
        if (received.empty())
        {
            ADD_FAILURE() << "nothing reached the owner";
            continue;
        }
        EXPECT_EQ((WPARAM)c.sender, received[0].wParam);
        c.check(received[0]);
        if (c.message == slider)
        {
            EXPECT_NE(before, f.volume.GetPos()) << "the slider did not move";
        }
    }
}

// Through both splitters, a message that wants an answer gets the owner's own, whatever it is.
TEST(PSplitterCtrl, TheOwnersAnswerComesBackThroughNestedSplitters)
{
    MainLayout f;
    HWND innerPane = f.inner.GetPane(1, 0)->GetHandle();
    const UINT answered[] = {WM_S_BROWSER_BEFORE_NAVIGATE, WM_S_MEDIA_LINK, ControlMessage(SBLOCK_RICHEDIT, 1)};
    for (UINT msg : answered)
        for (LRESULT answer : {(LRESULT)0, (LRESULT)-1, (LRESULT)7})
        {
            f.owner.Forget();
            f.owner.answers[msg] = answer;
            EXPECT_EQ(answer, SendMessageA(innerPane, msg, 5, (LPARAM) "x")) << msg;
            EXPECT_EQ(1u, f.owner.Received(msg).size()) << msg;
        }
}
