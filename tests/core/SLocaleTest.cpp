#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <string>
#include <vector>
#include "SLocale.h"

namespace
{
const char* const InternationalKey = "Control Panel\\International";

// Saves the user's locale values, lets a test change or delete them, and puts
// them back (and refills the locale table) whatever the test did.
class SLocaleSettings : public ::testing::Test
{
protected:
    struct Saved
    {
        const char* name;
        bool present;
        DWORD type;
        std::vector<BYTE> data;
    };

    void SetUp() override
    {
        for (const char* name : { "sDecimal", "sThousand", "iDigits" })
        {
            Saved saved{ name, false, 0, {} };
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, InternationalKey, 0, KEY_READ, &key) == ERROR_SUCCESS)
            {
                DWORD size = 0;
                if (RegQueryValueExA(key, name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS)
                {
                    saved.data.resize(size);
                    saved.present = RegQueryValueExA(key, name, nullptr, &saved.type,
                                                     saved.data.data(), &size) == ERROR_SUCCESS;
                    saved.data.resize(size);
                }
                RegCloseKey(key);
            }
            values.push_back(saved);
        }
    }

    void TearDown() override
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, InternationalKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS)
        {
            for (const Saved& saved : values)
            {
                if (saved.present)
                    RegSetValueExA(key, saved.name, 0, saved.type, saved.data.data(),
                                   static_cast<DWORD>(saved.data.size()));
                else
                    RegDeleteValueA(key, saved.name);
            }
            RegCloseKey(key);
        }
        InitLocale();
    }

    static bool Write(const char* name, const char* text)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, InternationalKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return false;
        LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                     static_cast<DWORD>(strlen(text) + 1));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }

    static bool Remove(const char* name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, InternationalKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            return true;
        LONG result = RegDeleteValueA(key, name);
        RegCloseKey(key);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }

    std::vector<Saved> values;
};
}

TEST_F(SLocaleSettings, UserRecordFollowsTheRegistry)
{
    ASSERT_TRUE(Write("sThousand", " "));
    ASSERT_TRUE(Write("sDecimal", ";x"));
    ASSERT_TRUE(Write("iDigits", "3"));
    InitLocale();
    const SLocaleRecord* record = GetLocaleRecord();
    EXPECT_EQ(0, record->id);
    EXPECT_EQ(' ', record->thousandsChar);
    EXPECT_EQ(';', record->decimalChar);
    EXPECT_EQ(3, record->digits);
    EXPECT_STREQ("1 000", IntToGroupedString(1000));

    ASSERT_TRUE(Remove("sThousand"));
    ASSERT_TRUE(Remove("sDecimal"));
    ASSERT_TRUE(Remove("iDigits"));
    InitLocale();
    record = GetLocaleRecord();
    EXPECT_EQ(',', record->thousandsChar);
    EXPECT_EQ('.', record->decimalChar);
    EXPECT_EQ(0, record->digits);
    EXPECT_STREQ("1,000", IntToGroupedString(1000));
}

TEST(SLocale, FixedRecordsHoldTheirNames)
{
    InitLocale();
    const SLocaleRecord* user = GetLocaleRecord();
    ASSERT_EQ(user, GetLocaleRecordAt(0));
    EXPECT_STREQ("Sunday", user->dayNames[0]);
    EXPECT_STREQ("December", user->monthNames[11]);

    const SLocaleRecord* english = GetLocaleRecordAt(1);
    ASSERT_NE(nullptr, english);
    EXPECT_EQ(1, english->id);
    EXPECT_EQ(0, english->variant);
    EXPECT_EQ(2, english->digits);
    EXPECT_EQ('.', english->decimalChar);
    EXPECT_EQ(',', english->thousandsChar);
    EXPECT_STREQ("August", english->monthNames[7]);
    EXPECT_STREQ("Saturday", english->dayNames[6]);
    EXPECT_STREQ("Spring", english->seasonNames[0]);
    EXPECT_STREQ("Winter", english->seasonNames[3]);

    const SLocaleRecord* french = GetLocaleRecordAt(2);
    ASSERT_NE(nullptr, french);
    EXPECT_EQ(2, french->id);
    EXPECT_EQ(1, french->variant);
    EXPECT_EQ(',', french->decimalChar);
    EXPECT_EQ(' ', french->thousandsChar);
    EXPECT_STREQ("Dimanche", french->dayNames[0]);
    EXPECT_STREQ("Samedi", french->dayNames[6]);
    EXPECT_STREQ("F\xE9vrier", french->monthNames[1]);
    EXPECT_STREQ("D\xE9" "cembre", french->monthNames[11]);
    EXPECT_STREQ("Et\xE9", french->seasonNames[1]);
    EXPECT_STREQ("Hiver", french->seasonNames[3]);

    EXPECT_EQ(nullptr, GetLocaleRecordAt(3));
    EXPECT_EQ(nullptr, GetLocaleRecordAt(-1));
    EXPECT_FALSE(SelectLocaleRecord(3));
    EXPECT_EQ(user, GetLocaleRecord());
}

TEST(SLocale, GroupedIntegers)
{
    InitLocale();
    ASSERT_TRUE(SelectLocaleRecord(1));
    struct Case { int n; const char* english; const char* french; };
    const Case cases[] = {
        { 0, "0", "0" },
        { 999, "999", "999" },
        { 1000, "1,000", "1 000" },
        { -1000, "-1,000", "-1 000" },
        { -100, "-100", "-100" },
        { 100000, "100,000", "100 000" },
        { -999999, "-999,999", "-999 999" },
        { 1000000, "1,000,000", "1 000 000" },
        { 2147483647, "2,147,483,647", "2 147 483 647" },
        { -2147483647 - 1, "-2,147,483,648", "-2 147 483 648" },
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(SelectLocaleRecord(1));
        EXPECT_STREQ(c.english, IntToGroupedString(c.n)) << c.n;
        SString text("old text");
        EXPECT_STREQ(c.english, text.FromInteger(c.n)) << c.n;
        ASSERT_TRUE(SelectLocaleRecord(2));
        EXPECT_STREQ(c.french, IntToGroupedString(c.n)) << c.n;
    }
    SelectLocaleRecord(0);
}

TEST(SLocale, SplitCommaListStaysInsideItsSlots)
{
    char slots[4][6];
    memset(slots, '#', sizeof(slots));
    EXPECT_EQ(3, SplitCommaList(&slots[0][0], "ab,,toolongname", 6, 4));
    EXPECT_STREQ("ab", slots[0]);
    EXPECT_STREQ("", slots[1]);
    EXPECT_STREQ("toolo", slots[2]);
    EXPECT_EQ('#', slots[3][0]);

    memset(slots, '#', sizeof(slots));
    EXPECT_EQ(2, SplitCommaList(&slots[0][0], "a,b,c,d,e", 6, 2));
    EXPECT_STREQ("a", slots[0]);
    EXPECT_STREQ("b", slots[1]);
    EXPECT_EQ('#', slots[2][0]);

    EXPECT_EQ(0, SplitCommaList(&slots[0][0], "", 6, 4));
    EXPECT_EQ(0, SplitCommaList(nullptr, "a", 6, 4));
    EXPECT_EQ(0, SplitCommaList(&slots[0][0], nullptr, 6, 4));
    EXPECT_EQ(0, SplitCommaList(&slots[0][0], "a", 0, 4));
}
