// The main window's own menus, its notification-area icon and the closing of its lazily
// created windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../LeakCheck.h"
#include "PWndApp.h"
#include "SMenu.h"
#include "STrayIcon.h"

namespace
{

// A hidden top-level window that owns the menus of a test.
struct OwnerWindow : SWnd
{
    OwnerWindow() { EXPECT_TRUE(Create("menu owner", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr)); }
};

// A secondary window that may refuse to close, and tells when it is deleted.
class SecondaryWindow : public SWnd
{
public:
    SecondaryWindow(bool refuse, bool* deleted, bool create = true) : m_refuse(refuse), m_deleted(deleted)
    {
        if (create)
        {
            EXPECT_TRUE(Create("secondary", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr));
        }
    }
    ~SecondaryWindow() override { *m_deleted = true; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CLOSE && m_refuse)
            return -1;
        return SWnd::OnMessage(msg, wParam, lParam);
    }

private:
    bool m_refuse;
    bool* m_deleted;
};

} // namespace

TEST(PWndAppTrayMenu, ItemsAndTheShowHideCaption)
{
    OwnerWindow owner;
    SMenu menu;
    PWndApp::BuildTrayMenu(&menu, owner.GetHandle(), nullptr);
    const struct
    {
        int id;
        const char* caption;
    } items[] = {{8, "Previous Track"}, {9, "Next Track"}, {10, "Pause"}, {11, "Stop"}, {0, nullptr},
                 {14, "Show Window"},   {0, nullptr},     {22, "Quit"}};
    ASSERT_EQ(8, menu.GetItemCount());
    for (int i = 0; i < 8; i++)
    {
        EXPECT_EQ(items[i].id, menu.GetItemId(i)) << i;
        if (items[i].caption)
        {
            EXPECT_STREQ(items[i].caption, menu.GetMenuItemText(items[i].id));
        }
    }
    for (bool visible : {true, false, true})
    {
        PWndApp::PrepareTrayMenu(&menu, visible);
        const char* expected = visible ? "Hide Window" : "Show Window";
        EXPECT_STREQ(expected, menu.GetMenuItemText(14));
        EXPECT_STREQ(expected, menu.GetItemText(14));
    }
}

TEST(PWndAppSendTo, OneItemPerAddressBelowSomeoneElse)
{
    OwnerWindow owner;
    SMenu menu;
    ASSERT_TRUE(menu.CreatePopup(owner.GetHandle()));
    const struct
    {
        const char* emails;
        std::vector<const char*> addresses;
    } cases[] = {
        {"", {}},
        {"a@example.org", {"a@example.org"}},
        {"a@example.org;b@example.org", {"a@example.org", "b@example.org"}},
        {"a@example.org;;b@example.org;", {"a@example.org", "b@example.org"}},
    };
    for (const auto& c : cases)
    {
        PWndApp::FillSendToMenu(&menu, c.emails);
        ASSERT_EQ(2 + (int)c.addresses.size(), menu.GetItemCount()) << c.emails;
        EXPECT_EQ(100, menu.GetItemId(0));
        EXPECT_EQ(0, menu.GetItemId(1)) << "a separator";
        EXPECT_STREQ("Someone else", PWndApp::GetSendToRecipient(menu, 100));
        for (size_t i = 0; i < c.addresses.size(); i++)
        {
            EXPECT_EQ(101 + (int)i, menu.GetItemId(2 + (int)i)) << c.emails;
            EXPECT_STREQ(c.addresses[i], PWndApp::GetSendToRecipient(menu, 101 + (int)i)) << c.emails;
            EXPECT_STREQ(c.addresses[i], menu.GetMenuItemText(101 + (int)i)) << c.emails;
        }
        EXPECT_STREQ("", PWndApp::GetSendToRecipient(menu, 101 + (int)c.addresses.size()));
    }
}

TEST(PWndAppClose, ARefusingWindowKeepsItselfAndTheLaterOnes)
{
    bool deleted[3] = {false, false, false};
    SWnd* first = new SecondaryWindow(false, &deleted[0]);
    SWnd* second = new SecondaryWindow(true, &deleted[1]);
    SWnd* third = new SecondaryWindow(false, &deleted[2]);
    SWnd** const slots[3] = {&first, &second, &third};
    EXPECT_FALSE(PWndApp::CloseSecondaryWindows(slots, 3));
    EXPECT_TRUE(deleted[0]);
    EXPECT_EQ(nullptr, first);
    EXPECT_FALSE(deleted[1]);
    ASSERT_EQ(second, *slots[1]);
    EXPECT_TRUE(IsWindow(second->GetHandle())) << "the refusing window stays open";
    EXPECT_FALSE(deleted[2]);
    EXPECT_TRUE(IsWindow(third->GetHandle())) << "windows after the refusing one are not asked";
    delete second;
    delete third;
}

TEST(PWndAppClose, ClosedDeadAndMissingWindowsAreCleared)
{
    bool deleted[2] = {false, false};
    SWnd* live = new SecondaryWindow(false, &deleted[0]);
    SWnd* dead = new SecondaryWindow(true, &deleted[1], false);
    SWnd* missing = nullptr;
    HWND handle = live->GetHandle();
    SWnd** const slots[3] = {&missing, &live, &dead};
    EXPECT_TRUE(PWndApp::CloseSecondaryWindows(slots, 3));
    EXPECT_TRUE(deleted[0]);
    EXPECT_TRUE(deleted[1]) << "a window without a live handle cannot refuse";
    EXPECT_EQ(nullptr, live);
    EXPECT_EQ(nullptr, dead);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(PWndAppTrayIcon, MakingAndDestroyingItKeepsNoObject)
{
    OwnerWindow owner;
    // Another icon stays in the notification area: Wine's shell hides its empty area,
    // and waits two seconds for that on a display without a window manager.
    STrayIcon other;
    ASSERT_TRUE(other.Create(owner.GetHandle(), LoadIcon(nullptr, IDI_APPLICATION), "other", true));
    EXPECT_TRUE(KeepsNoObject([&owner] {
        STrayIcon tray;
        EXPECT_TRUE(PWndApp::CreateTrayIcon(&tray, owner.GetHandle()));
        EXPECT_NE(nullptr, tray.GetRecord().hIcon);
        EXPECT_STREQ("Melvora Browser", tray.GetRecord().szTip);
        tray.Destroy();
    }));
}
