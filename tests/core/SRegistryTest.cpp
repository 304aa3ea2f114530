#include <gtest/gtest.h>

#include <string>

#include "SRegistry.h"

namespace
{
const char* const scratchKey = "Software\\Melvora Tests\\SRegistry";

class SRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey); }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Melvora Tests");
    }
};
}

TEST_F(SRegistryTest, IntegersAndFlagsRoundTrip)
{
    struct Case
    {
        const char* name;
        int value;
    };
    const Case cases[] = {{"Zero", 0}, {"One", 1}, {"Negative", -5}, {"Large", 0x7FFFFFFF}};
    for (const Case& c : cases)
    {
        ASSERT_TRUE(SRegistry::WriteInt(HKEY_CURRENT_USER, scratchKey, c.name, c.value)) << c.name;
        EXPECT_EQ(SRegistry::ReadInt(HKEY_CURRENT_USER, scratchKey, c.name), c.value) << c.name;
    }
    ASSERT_TRUE(SRegistry::WriteBool(HKEY_CURRENT_USER, scratchKey, "Flag", true));
    EXPECT_TRUE(SRegistry::ReadBool(HKEY_CURRENT_USER, scratchKey, "Flag"));
    EXPECT_EQ(SRegistry::ReadInt(HKEY_CURRENT_USER, scratchKey, "Flag"), 1);
    ASSERT_TRUE(SRegistry::WriteBool(HKEY_CURRENT_USER, scratchKey, "Flag", false));
    EXPECT_FALSE(SRegistry::ReadBool(HKEY_CURRENT_USER, scratchKey, "Flag"));

    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, scratchKey, "One", RRF_RT_ANY, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
}

TEST_F(SRegistryTest, StringsRoundTripUpTo255Characters)
{
    ASSERT_TRUE(SRegistry::WriteString(HKEY_CURRENT_USER, scratchKey, "Folder", "C:\\Music\\"));
    EXPECT_STREQ(SRegistry::ReadString(HKEY_CURRENT_USER, scratchKey, "Folder"), "C:\\Music\\");

    std::string longest(255, 'x');
    ASSERT_TRUE(SRegistry::WriteString(HKEY_CURRENT_USER, scratchKey, "Longest", longest.c_str()));
    EXPECT_STREQ(SRegistry::ReadString(HKEY_CURRENT_USER, scratchKey, "Longest"), longest.c_str());

    std::string tooLong(256, 'y');
    ASSERT_TRUE(SRegistry::WriteString(HKEY_CURRENT_USER, scratchKey, "TooLong", tooLong.c_str()));
    EXPECT_STREQ(SRegistry::ReadString(HKEY_CURRENT_USER, scratchKey, "TooLong"), "");

    ASSERT_TRUE(SRegistry::WriteString(HKEY_CURRENT_USER, scratchKey, "Empty", ""));
    EXPECT_STREQ(SRegistry::ReadString(HKEY_CURRENT_USER, scratchKey, "Empty"), "");
}

TEST_F(SRegistryTest, MissingValuesAndBadKeys)
{
    EXPECT_EQ(SRegistry::ReadInt(HKEY_CURRENT_USER, scratchKey, "Missing"), 0);
    EXPECT_FALSE(SRegistry::ReadBool(HKEY_CURRENT_USER, scratchKey, "Missing"));
    EXPECT_STREQ(SRegistry::ReadString(HKEY_CURRENT_USER, scratchKey, "Missing"), "");

    EXPECT_FALSE(SRegistry::WriteInt(HKEY_CURRENT_USER, "", "Value", 1));
    EXPECT_FALSE(SRegistry::WriteInt(HKEY_CURRENT_USER, nullptr, "Value", 1));
    EXPECT_FALSE(SRegistry::WriteString(HKEY_CURRENT_USER, "", "Value", "x"));

    // A value wider than 4 bytes is not an integer.
    ASSERT_TRUE(SRegistry::WriteString(HKEY_CURRENT_USER, scratchKey, "Wide", "123456"));
    EXPECT_EQ(SRegistry::ReadInt(HKEY_CURRENT_USER, scratchKey, "Wide"), 0);
    // A short text is read into the 4 bytes as it is.
    ASSERT_TRUE(SRegistry::WriteString(HKEY_CURRENT_USER, scratchKey, "Short", "A"));
    EXPECT_EQ(SRegistry::ReadInt(HKEY_CURRENT_USER, scratchKey, "Short"), 'A');
}

TEST_F(SRegistryTest, StringStoredWithoutTerminatorIsStillEnded)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    char raw[256];
    memset(raw, 'z', sizeof(raw));
    LONG written = RegSetValueExA(key, "Raw", 0, REG_BINARY, reinterpret_cast<BYTE*>(raw), sizeof(raw));
    RegCloseKey(key);
    ASSERT_EQ(written, ERROR_SUCCESS);
    EXPECT_EQ(SRegistry::ReadString(HKEY_CURRENT_USER, scratchKey, "Raw").GetLength(), 256);
}
