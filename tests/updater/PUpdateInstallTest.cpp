#include "../core/TestHttpServer.h"

#include <gtest/gtest.h>

#include "../window/PumpSupport.h"
#include "PUpdateInstall.h"
#include "PUpdateJob.h"
#include "PWndExtract.h"
#include "SResource.h"
#include "UpdaterTestSupport.h"

using namespace updater_test;

namespace
{
// An installed program folder before an update.
void FillInstalled(const ScratchFolder& program)
{
    program.Put("melvora.exe", "old program");
    program.Put("a.dll", "old a");
    program.Put("keep.txt", "not in the package");
}

const std::vector<Entry> updateEntries = {
    {"melvora.exe", "new program"},
    {"a.dll", "new a"},
    {"plugins\\deep\\b.dll", "brand new b"},
};

std::string UpdatePack()
{
    return Pack(updateEntries, true);
}

bool OpenPack(SResource* pack, const ScratchFolder& folder, const std::string& bytes)
{
    return folder.Put("package.bin", bytes) && pack->Open((folder.path + "package.bin").c_str(), 0);
}

std::string Decimal(uint32_t value)
{
    return std::to_string(value);
}

uint32_t Crc(const std::string& bytes)
{
    return (uint32_t)crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), (uInt)bytes.size());
}
}

TEST(PUpdateInstall, ReplacesFilesAndCreatesFolders)
{
    ScratchFolder program;
    ScratchFolder packs;
    FillInstalled(program);
    SResource pack;
    ASSERT_TRUE(OpenPack(&pack, packs, UpdatePack()));
    PUpdateInstall install;
    SStringArray failed;
    ASSERT_TRUE(install.Install(&pack, program.path.c_str(), &failed));
    EXPECT_EQ(failed.GetCount(), 0);
    std::map<std::string, std::string> expected = {
        {"melvora.exe", "new program"}, {"a.dll", "new a"},        {"keep.txt", "not in the package"},
        {"plugins\\", ""},              {"plugins\\deep\\", ""}, {"plugins\\deep\\b.dll", "brand new b"},
    };
    // No staging folder and no old copies are left behind.
    EXPECT_EQ(Snapshot(program.path), expected);
}

TEST(PUpdateInstall, ALockedFileLeavesTheFolderAsItWas)
{
    ScratchFolder program;
    ScratchFolder packs;
    FillInstalled(program);
    program.Put("plugins\\old.dll", "old plugin");
    std::map<std::string, std::string> before = Snapshot(program.path);
    SResource pack;
    std::vector<Entry> entries = updateEntries;
    entries.emplace_back("plugins\\old.dll", "replaced plugin");
    ASSERT_TRUE(OpenPack(&pack, packs, Pack(entries, true)));
    // The last entry is in use: everything swapped before it must go back.
    HANDLE lock = CreateFileA((program.path + "plugins\\old.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PUpdateInstall install;
    SStringArray failed;
    EXPECT_FALSE(install.Install(&pack, program.path.c_str(), &failed));
    CloseHandle(lock);
    ASSERT_EQ(failed.GetCount(), 1);
    EXPECT_EQ(std::string(failed.GetAt(0)), program.path + "plugins\\old.dll");
    EXPECT_EQ(Snapshot(program.path), before);
}

TEST(PUpdateInstall, AFolderTheProgramLacksComesAndGoesWhole)
{
    // Entries of a new folder arrive together, whatever the letter case of their folder
    // names; when a later entry fails, the new folder leaves again and nothing else stays.
    struct Case
    {
        const char* what;
        std::vector<Entry> entries;
        const char* locked;
        const char* inTheWay;
        std::map<std::string, std::string> added;
    };
    const Case cases[] = {
        {"new folders",
         {{"Skins\\a.bmp", "a"}, {"melvora.exe", "new program"}, {"skins\\Dark\\b.bmp", "b"}, {"SKINS\\c.bmp", "c"}},
         nullptr,
         nullptr,
         {{"Skins\\", ""}, {"Skins\\a.bmp", "a"}, {"Skins\\c.bmp", "c"}, {"Skins\\Dark\\", ""},
          {"Skins\\Dark\\b.bmp", "b"}}},
        {"a new folder, then a locked file",
         {{"skins\\deep\\a.bmp", "a"}, {"skins\\b.bmp", "b"}, {"a.dll", "new a"}},
         "a.dll",
         nullptr,
         {}},
        {"a file in the way of a new folder", {{"melvora.exe", "new program"}, {"skins\\a.bmp", "a"}}, nullptr, "skins", {}},
    };
    for (const Case& c : cases)
    {
        ScratchFolder program;
        ScratchFolder packs;
        FillInstalled(program);
        if (c.inTheWay != nullptr)
        {
            ASSERT_TRUE(program.Put(c.inTheWay, "a file")) << c.what;
        }
        std::map<std::string, std::string> before = Snapshot(program.path);
        SResource pack;
        ASSERT_TRUE(OpenPack(&pack, packs, Pack(c.entries, true))) << c.what;
        HANDLE lock = INVALID_HANDLE_VALUE;
        if (c.locked != nullptr)
        {
            lock = CreateFileA((program.path + c.locked).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE) << c.what;
        }
        PUpdateInstall install;
        SStringArray failed;
        bool installed = install.Install(&pack, program.path.c_str(), &failed);
        if (lock != INVALID_HANDLE_VALUE)
            CloseHandle(lock);
        if (c.added.empty())
        {
            EXPECT_FALSE(installed) << c.what;
            EXPECT_EQ(failed.GetCount(), 1) << c.what;
            EXPECT_EQ(Snapshot(program.path), before) << c.what;
            continue;
        }
        EXPECT_TRUE(installed) << c.what;
        std::map<std::string, std::string> expected = before;
        for (const Entry& entry : c.entries)
        {
            if (entry.first.find('\\') == std::string::npos)
                expected[entry.first] = entry.second;
        }
        expected.insert(c.added.begin(), c.added.end());
        EXPECT_EQ(Snapshot(program.path), expected) << c.what;
    }
}

TEST(PUpdateInstall, DamagedOrHostilePackagesChangeNothing)
{
    std::string damaged = Chunked("will not decode");
    damaged[14] ^= 0x40;
    struct Case
    {
        const char* what;
        std::string pack;
    };
    const Case cases[] = {
        {"damaged entry", PackStored({{"melvora.exe", Chunked("new")}, {"a.dll", damaged}}, true)},
        {"device name", Pack({{"melvora.exe", "new"}, {"aux", "x"}}, false)},
    };
    for (const Case& c : cases)
    {
        ScratchFolder program;
        ScratchFolder packs;
        FillInstalled(program);
        std::map<std::string, std::string> before = Snapshot(program.path);
        SResource pack;
        ASSERT_TRUE(OpenPack(&pack, packs, c.pack)) << c.what;
        PUpdateInstall install;
        SStringArray failed;
        EXPECT_FALSE(install.Install(&pack, program.path.c_str(), &failed)) << c.what;
        EXPECT_GE(failed.GetCount(), 1) << c.what;
        EXPECT_EQ(Snapshot(program.path), before) << c.what;
    }
    SStringArray failed;
    PUpdateInstall install;
    EXPECT_FALSE(install.Install(nullptr, "C:\\", &failed));
}

namespace
{
class ProgressLog : public PUpdateJob::Listener
{
public:
    void OnProgress(int total, int offset) override { calls.emplace_back(total, offset); }
    std::vector<std::pair<int, int>> calls;
};

// Sees what the job would start instead of starting it.
class RecordingLauncher : public SShellLauncher
{
public:
    bool ExecuteEx(SHELLEXECUTEINFOA* info) override
    {
        started.push_back(info->lpFile != nullptr ? info->lpFile : "");
        return true;
    }
    std::vector<std::string> started;
};

class LauncherScope
{
public:
    explicit LauncherScope(SShellLauncher* launcher) : previous(SDisk::SetShellLauncher(launcher)) {}
    ~LauncherScope() { SDisk::SetShellLauncher(previous); }

private:
    SShellLauncher* previous;
};

struct JobCase
{
    const char* what;
    TestHttpReply reply;
    std::string checksum;
    PUpdateJob::Result result;
};
}

TEST(PUpdateJob, DownloadsChecksAndInstalls)
{
    std::string package = UpdatePack();
    uint32_t crc = Crc(package);
    TestHttpReply good;
    good.body = package;
    TestHttpReply noLength = good;
    noLength.sendContentLength = false;
    TestHttpReply shortBody = good;
    shortBody.bodyBytesSent = (int)package.size() / 2;
    TestHttpReply notFound = good;
    notFound.status = 404;
    TestHttpReply partial = good;
    partial.status = 206;
    TestHttpReply notAPack;
    notAPack.body = "<html>not a pack</html>";
    TestHttpReply hostile;
    hostile.body = Pack({{"..\\outside.dll", "x"}}, true);
    const JobCase cases[] = {
        {"success", good, Decimal(crc), PUpdateJob::UpdateDone},
        {"no length", noLength, Decimal(crc), PUpdateJob::UpdateDone},
        {"wrong crc", good, Decimal(crc ^ 1), PUpdateJob::UpdateWrongChecksum},
        {"checksum not a number", good, "12x", PUpdateJob::UpdateBadChecksum},
        {"checksum too big", good, "4294967296", PUpdateJob::UpdateBadChecksum},
        {"short body", shortBody, Decimal(crc), PUpdateJob::UpdateDownloadFailed},
        {"404", notFound, Decimal(crc), PUpdateJob::UpdateDownloadFailed},
        {"206", partial, Decimal(crc), PUpdateJob::UpdateDownloadFailed},
        {"not a pack", notAPack, Decimal(Crc(notAPack.body)), PUpdateJob::UpdateNotAPack},
        {"hostile names", hostile, Decimal(Crc(hostile.body)), PUpdateJob::UpdateNotAPack},
    };
    TestHttpServer server;
    ASSERT_TRUE(server.Start());
    RecordingLauncher launcher;
    LauncherScope scope(&launcher);
    for (const JobCase& c : cases)
    {
        server.SetReply("/package.bin", c.reply);
        ScratchFolder program;
        FillInstalled(program);
        std::map<std::string, std::string> before = Snapshot(program.path);
        ProgressLog progress;
        PUpdateJob job(&progress);
        SStringArray failed;
        launcher.started.clear();
        std::string programPath = program.path + "melvora.exe";
        EXPECT_EQ(job.Run(c.checksum.c_str(), server.GetUrl("/package.bin").c_str(), program.path.c_str(),
                          programPath.c_str(), &failed),
                  c.result)
            << c.what;
        // The program is started again whatever happened, and no temporary file stays.
        EXPECT_EQ(launcher.started, std::vector<std::string>{programPath}) << c.what;
        if (!std::string(job.GetTempPath()).empty())
        {
            EXPECT_FALSE(Exists(std::string(job.GetTempPath()))) << c.what;
        }
        if (c.result == PUpdateJob::UpdateDone)
        {
            EXPECT_EQ(program.Get("melvora.exe"), "new program") << c.what;
            EXPECT_EQ(program.Get("plugins\\deep\\b.dll"), "brand new b") << c.what;
            ASSERT_FALSE(progress.calls.empty());
            int total = c.reply.sendContentLength ? (int)package.size() : -1;
            EXPECT_EQ(progress.calls.front(), std::make_pair(total, 0)) << c.what;
            EXPECT_EQ(progress.calls.back().first, total);
        }
        else
        {
            EXPECT_EQ(Snapshot(program.path), before) << c.what;
        }
    }
}

namespace
{
class FakeExtractView : public PExtractView
{
public:
    void ShowProgress(int permille) override { progress.push_back(permille); }
    void ShowFailed(const SStringArray& paths) override
    {
        failedCalls++;
        for (int i = 0; i < paths.GetCount(); i++)
            failed.push_back((const char*)paths.GetAt(i));
    }
    void Finish() override { finished++; }
    std::vector<int> progress;
    std::vector<std::string> failed;
    int failedCalls = 0;
    int finished = 0;
};
}

TEST(PWndExtractWorker, ProgressNeverCrowdsOutTheEnd)
{
    // A large package in 1024-byte pieces posts far more progress than 32 places hold.
    std::string package = Pack({{"melvora.exe", Pattern(400000, 7)}}, false);
    TestHttpServer server;
    ASSERT_TRUE(server.Start());
    RecordingLauncher launcher;
    LauncherScope scope(&launcher);
    for (bool good : {true, false})
    {
        TestHttpReply reply;
        reply.body = package;
        server.SetReply("/p.bin", reply);
        ScratchFolder program;
        FillInstalled(program);
        FakeExtractView view;
        PWndExtract::_PThread worker(&view);
        std::string checksum = Decimal(good ? Crc(package) : Crc(package) + 1);
        worker.SetArguments(checksum.c_str(), server.GetUrl("/p.bin").c_str(), program.path.c_str(),
                            (program.path + "melvora.exe").c_str());
        ASSERT_TRUE(worker.Start(false));
        // The owner thread is slow to look at its queue while the worker downloads.
        Sleep(300);
        ASSERT_TRUE(PumpUntil([&] { return view.finished + view.failedCalls > 0; }, 10000));
        EXPECT_EQ(view.finished, good ? 1 : 0);
        EXPECT_EQ(view.failedCalls, good ? 0 : 1);
        EXPECT_FALSE(view.progress.empty());
        for (int permille : view.progress)
        {
            EXPECT_GE(permille, 0);
            EXPECT_LE(permille, 1000);
        }
        EXPECT_EQ(program.Get("melvora.exe"), good ? Pattern(400000, 7) : std::string("old program"));
    }
}

TEST(PWndExtractWorker, PermilleOfTheDownload)
{
    struct Case
    {
        int total;
        int offset;
        int permille;
    };
    const Case cases[] = {{-1, 5000, 0}, {0, 0, 0}, {1000, 0, 0}, {1000, 999, 999}, {3, 1, 333},
                          {2000000000, 1999999999, 999}, {100, 100, 1000}};
    for (const Case& c : cases)
        EXPECT_EQ(PWndExtract::_PThread::GetPermille(c.total, c.offset), c.permille) << c.total << " " << c.offset;
}
