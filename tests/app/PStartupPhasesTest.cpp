#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "LibraryTestSupport.h"
#include "PStartupPhases.h"

using library_test::ReadAll;
using library_test::ScratchFolder;

TEST(PStartupPhases, EachPhaseAppendsOneLineOfCounterAndName)
{
    ScratchFolder scratch("phases");
    const std::string file = scratch + "phases.txt";
    const std::string noFolder = scratch + "missing\\phases.txt";
    struct Case
    {
        const char* path;
        const char* name;
        long long counter;
        bool written;
        const char* content; // the whole file after the case
    };
    const Case cases[] = {
        {file.c_str(), "entry", 12, true, "12 entry\n"},
        {file.c_str(), "  web view", 34567890123LL, true, "12 entry\n34567890123   web view\n"},
        // A line break in a name would read back as a phase of its own.
        {file.c_str(), "a\r\nb", 5, true, "12 entry\n34567890123   web view\n5 a  b\n"},
        {"", "nowhere", 1, false, "12 entry\n34567890123   web view\n5 a  b\n"},
        {nullptr, "nowhere", 1, false, "12 entry\n34567890123   web view\n5 a  b\n"},
        {noFolder.c_str(), "lost", 1, false, "12 entry\n34567890123   web view\n5 a  b\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.written, PStartupPhases::MarkTo(c.path, c.name, c.counter));
        EXPECT_EQ(c.content, ReadAll(file));
    }
}

TEST(PStartupPhases, MarkWritesOnlyWhenTheVariableNamesAFile)
{
    ScratchFolder scratch("phases-env");
    const std::string file = scratch + "phases.txt";
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    SetEnvironmentVariableA("MELVORA_STARTUP_PHASES", nullptr);
    PStartupPhases::Mark("unset");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    SetEnvironmentVariableA("MELVORA_STARTUP_PHASES", file.c_str());
    PStartupPhases::Mark("first paint");
    SetEnvironmentVariableA("MELVORA_STARTUP_PHASES", nullptr);
    QueryPerformanceCounter(&after);
    const std::string content = ReadAll(file);
    const size_t space = content.find(' ');
    ASSERT_NE(std::string::npos, space);
    EXPECT_EQ(" first paint\n", content.substr(space));
    const long long counter = _atoi64(content.substr(0, space).c_str());
    EXPECT_GE(counter, before.QuadPart);
    EXPECT_LE(counter, after.QuadPart);
}
