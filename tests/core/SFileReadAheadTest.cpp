#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SFileReadAhead.h"
#include "SFileTestSupport.h"

namespace
{
using file_test::ScratchPath;
using file_test::WriteFileBytes;

// Files in the temporary folder, removed afterwards.
struct ScratchFiles
{
    std::vector<std::string> paths;
    ~ScratchFiles()
    {
        for (const std::string& path : paths)
            DeleteFileA(path.c_str());
    }
    std::string Add(const std::string& bytes)
    {
        std::string path = ScratchPath("melvora-ahead-", std::to_string(paths.size()).c_str());
        paths.push_back(path);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
};

std::string Bytes(size_t length, unsigned seed)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; i++)
        bytes[i] = (char)(seed * 31 + i * 7);
    return bytes;
}

std::string Held(const uint8_t* data, int size)
{
    return data != nullptr ? std::string(reinterpret_cast<const char*>(data), (size_t)size) : std::string("<none>");
}
}

TEST(SFileReadAhead, GivesEveryFileInOrderOrSaysWhyNot)
{
    ScratchFiles files;
    struct Case
    {
        const char* what;
        std::string bytes;
        bool exists;
        SFileReadAhead::Result result;
    };
    const Case cases[] = {
        {"empty", "", true, SFileReadAhead::Ready},
        {"one byte", "x", true, SFileReadAhead::Ready},
        {"at the limit", Bytes(32, 1), true, SFileReadAhead::Ready},
        {"above the limit", Bytes(33, 2), true, SFileReadAhead::TooLarge},
        {"missing", "", false, SFileReadAhead::Unreadable},
        {"after a missing one", Bytes(20, 3), true, SFileReadAhead::Ready},
        {"locked", Bytes(5, 4), true, SFileReadAhead::Unreadable},
        {"last", Bytes(31, 5), true, SFileReadAhead::Ready},
    };
    std::vector<std::string> paths;
    HANDLE lock = INVALID_HANDLE_VALUE;
    for (const Case& c : cases)
    {
        std::string path = files.Add(c.bytes);
        if (!c.exists)
            DeleteFileA(path.c_str());
        if (c.result == SFileReadAhead::Unreadable && c.exists)
            lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        paths.push_back(path);
    }
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    {
        SFileReadAhead ahead(64, 32);
        ahead.Start(paths);
        const uint8_t* data = nullptr;
        int size = -1;
        // Files are taken in list order only.
        EXPECT_EQ(ahead.Take(1, &data, &size), SFileReadAhead::Unreadable);
        for (size_t i = 0; i < paths.size(); i++)
        {
            const Case& c = cases[i];
            ASSERT_EQ(ahead.Take((int)i, &data, &size), c.result) << c.what;
            if (c.result == SFileReadAhead::Ready)
                EXPECT_EQ(Held(data, size), c.bytes) << c.what;
            else
                EXPECT_EQ(data, nullptr) << c.what;
        }
        EXPECT_EQ(ahead.Take((int)paths.size(), &data, &size), SFileReadAhead::Unreadable);
    }
    CloseHandle(lock);
}

TEST(SFileReadAhead, WaitsForRoomWhenTheRingIsSmall)
{
    // Many files through a ring that holds only two or three of them: the worker keeps
    // waiting for the taker, and each file's bytes must still be its own.
    ScratchFiles files;
    std::vector<std::string> contents;
    std::vector<std::string> paths;
    for (unsigned i = 0; i < 120; i++)
    {
        contents.push_back(Bytes((i * 13) % 33, i));
        paths.push_back(files.Add(contents.back()));
    }
    SFileReadAhead ahead(64, 32);
    ahead.Start(paths);
    for (size_t i = 0; i < paths.size(); i++)
    {
        const uint8_t* data = nullptr;
        int size = 0;
        ASSERT_EQ(ahead.Take((int)i, &data, &size), SFileReadAhead::Ready) << i;
        EXPECT_EQ(Held(data, size), contents[i]) << i;
    }
}

TEST(SFileReadAhead, EndsWhileTheWorkerWaits)
{
    ScratchFiles files;
    std::vector<std::string> paths;
    for (unsigned i = 0; i < 20; i++)
        paths.push_back(files.Add(Bytes(30, i)));
    // The worker fills the ring and waits for room that never comes: ending must stop it.
    SFileReadAhead ahead(64, 32);
    ahead.Start(paths);
    const uint8_t* data = nullptr;
    int size = 0;
    EXPECT_EQ(ahead.Take(0, &data, &size), SFileReadAhead::Ready);
    EXPECT_EQ(Held(data, size), Bytes(30, 0));
}

TEST(SFileReadAhead, WithoutARingEveryFileIsLeftToTheTaker)
{
    ScratchFiles files;
    std::vector<std::string> paths = {files.Add("abc"), files.Add("")};
    SFileReadAhead ahead(0, 32);
    ahead.Start(paths);
    const uint8_t* data = nullptr;
    int size = 0;
    EXPECT_EQ(ahead.Take(0, &data, &size), SFileReadAhead::TooLarge);
    EXPECT_EQ(ahead.Take(1, &data, &size), SFileReadAhead::TooLarge);
}
