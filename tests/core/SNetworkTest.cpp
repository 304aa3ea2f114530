#include "TestHttpServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SFileMem.h"
#include "SFileTestSupport.h"
#include "SNetwork.h"
#include "SSystem.h"

namespace
{
using file_test::Content;
using file_test::ScratchFile;

struct Piece
{
    int total, offset, length;
};

struct Message
{
    std::string text, caption;
    UINT flags;
};

// SNetwork with its seams replaced: scripted read failures, recorded message
// boxes with a chosen answer.
class TestNetwork : public SNetwork
{
public:
    // One letter per read: 'F' fails it, anything else reads for real.
    std::string readScript;
    int pieceAnswer = 0;
    int cancelAtPiece = -1;
    std::vector<Piece> pieces;
    std::vector<int> statuses;
    int boxAnswer = IDNO;
    std::vector<Message> messages;

    int OnDownloadData(int total, int offset, int length, const void*, SFile*, int) override
    {
        pieces.push_back({total, offset, length});
        if (static_cast<int>(pieces.size()) - 1 == cancelAtPiece)
            return DownloadCancel;
        return pieceAnswer;
    }
    void OnDownloadDone(int status, int) override { statuses.push_back(status); }

protected:
    BOOL ReadRequest(HINTERNET request, void* buffer, DWORD bytes, DWORD* bytesRead) override
    {
        size_t index = reads++;
        if (index < readScript.size() && readScript[index] == 'F')
        {
            *bytesRead = 0;
            return FALSE;
        }
        return SNetwork::ReadRequest(request, buffer, bytes, bytesRead);
    }
    int ShowMessage(HWND, const char* text, const char* caption, UINT flags) override
    {
        messages.push_back({text, caption, flags});
        return boxAnswer;
    }

private:
    size_t reads = 0;
};

struct Started
{
    std::string verb, file, parameters, folder;
    int showCmd;
    ULONG mask;
};

// Records what the shell would be asked to start, and starts nothing.
class RecordingLauncher : public SShellLauncher
{
public:
    INT_PTR result = 42;
    std::vector<Started> started;

    bool ExecuteEx(SHELLEXECUTEINFOA* info) override
    {
        started.push_back({info->lpVerb ? info->lpVerb : "", info->lpFile ? info->lpFile : "",
                           info->lpParameters ? info->lpParameters : "", info->lpDirectory ? info->lpDirectory : "",
                           info->nShow, info->fMask});
        return result > 32;
    }
};

std::string Pattern(int length)
{
    std::string text;
    for (int i = 0; i < length; i++)
        text += static_cast<char>('a' + i % 26);
    return text;
}

class SNetworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = SDisk::SetShellLauncher(&launcher);
        ASSERT_TRUE(server.Start());
    }
    void TearDown() override { SDisk::SetShellLauncher(previous); }

    void Serve(const std::string& path, const std::string& body)
    {
        TestHttpReply reply;
        reply.body = body;
        server.SetReply(path, reply);
    }

    TestHttpServer server;
    RecordingLauncher launcher;
    SShellLauncher* previous = nullptr;
};
}

TEST_F(SNetworkTest, HttpGetStringReturnsTheBody)
{
    Serve("/page", "line one\r\nline two");
    TestNetwork network;
    EXPECT_STREQ(network.HttpGetString(server.GetUrl("/page").c_str(), "id=melvora"), "line one\r\nline two");
    std::string request = server.GetLastRequest();
    EXPECT_EQ(request.rfind("GET /page?id=melvora HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE((request + "\r\n").find("\r\nUser-Agent: Tavrin\r\n"), std::string::npos) << request;

    std::string big = Pattern(1500);
    Serve("/big", big);
    EXPECT_STREQ(network.HttpGetString(server.GetUrl("/big").c_str(), ""), big.c_str());
    EXPECT_EQ(server.GetLastRequest().rfind("GET /big HTTP/1.1", 0), 0u);
}

TEST_F(SNetworkTest, HttpGetStringFailuresGiveEmptyText)
{
    TestNetwork network;
    EXPECT_STREQ(network.HttpGetString(server.GetUrl("/missing").c_str(), ""), "");
    std::string closed = "http://127.0.0.1:" + std::to_string(TestHttpServer::GetClosedPort()) + "/";
    EXPECT_STREQ(network.HttpGetString(closed.c_str(), ""), "");
    EXPECT_STREQ(network.HttpGetString(nullptr, ""), "");

    Serve("/longest", Pattern(SNetwork::MaxTextReply));
    EXPECT_EQ(network.HttpGetString(server.GetUrl("/longest").c_str(), "").GetLength(), SNetwork::MaxTextReply);
    Serve("/endless", Pattern(SNetwork::MaxTextReply + 1));
    EXPECT_STREQ(network.HttpGetString(server.GetUrl("/endless").c_str(), ""), "");

    Serve("/text", "hello");
    TestNetwork flaky;
    flaky.readScript = "FFF";
    EXPECT_STREQ(flaky.HttpGetString(server.GetUrl("/text").c_str(), ""), "hello");
    TestNetwork broken;
    broken.readScript = "FFFF";
    EXPECT_STREQ(broken.HttpGetString(server.GetUrl("/text").c_str(), ""), "");
}

TEST_F(SNetworkTest, DownloadWithAndWithoutContentLength)
{
    std::string body = Pattern(2500);
    for (bool announced : {true, false})
    {
        TestHttpReply reply;
        reply.body = body;
        reply.sendContentLength = announced;
        server.SetReply("/file.bin", reply);
        TestNetwork network;
        SFileMem target;
        ASSERT_TRUE(network.DownloadToFile(&target, server.GetUrl("/file.bin").c_str(), 7, 1024)) << announced;
        EXPECT_EQ(Content(target), body);
        ASSERT_EQ(network.statuses, std::vector<int>{SNetwork::DownloadOk});
        ASSERT_FALSE(network.pieces.empty());
        int expectedOffset = 0;
        for (const Piece& piece : network.pieces)
        {
            EXPECT_EQ(piece.total, announced ? 2500 : -1);
            EXPECT_EQ(piece.offset, expectedOffset);
            EXPECT_LE(piece.length, 1024);
            expectedOffset += piece.length;
        }
        EXPECT_EQ(expectedOffset, 2500);
    }
}

TEST_F(SNetworkTest, DownloadFailuresLeaveNothingBehind)
{
    struct Case
    {
        const char* name;
        int announced, sent, status;
        const char* path;
    };
    const Case cases[] = {
        {"short body", 100, 50, 200, "/short"},
        {"error page", -1, -1, 404, "/missing"},
        {"server error", -1, -1, 500, "/broken"},
    };
    for (const Case& c : cases)
    {
        TestHttpReply reply;
        reply.status = c.status;
        reply.body = Pattern(100);
        reply.announcedLength = c.announced;
        reply.bodyBytesSent = c.sent;
        server.SetReply(c.path, reply);
        TestNetwork network;
        SFileMem target;
        target.WriteText("kept");
        EXPECT_FALSE(network.DownloadToFile(&target, server.GetUrl(c.path).c_str(), 0, 16)) << c.name;
        EXPECT_EQ(Content(target), "kept") << c.name;
        EXPECT_EQ(target.Tell(), 4) << c.name;
        ASSERT_EQ(network.statuses.size(), 1u) << c.name;
        EXPECT_EQ(network.statuses[0], c.status >= 400 ? SNetwork::DownloadNoAddress : SNetwork::DownloadReadFailed)
            << c.name;
    }
}

TEST_F(SNetworkTest, DownloadAnswersOfTheCallback)
{
    Serve("/data", "0123456789");
    {
        TestNetwork network;
        network.cancelAtPiece = 0;
        SFileMem target;
        EXPECT_FALSE(network.DownloadToFile(&target, server.GetUrl("/data").c_str(), 0, 4));
        EXPECT_EQ(target.GetSize(), 0);
        EXPECT_EQ(network.pieces.size(), 1u);
        EXPECT_EQ(network.statuses, std::vector<int>{SNetwork::DownloadReadFailed});
    }
    {
        TestNetwork network;
        network.pieceAnswer = SNetwork::DownloadSkip;
        SFileMem target;
        EXPECT_TRUE(network.DownloadToFile(&target, server.GetUrl("/data").c_str(), 0, 4));
        EXPECT_EQ(target.GetSize(), 0);
        EXPECT_EQ(network.statuses, std::vector<int>{SNetwork::DownloadOk});
    }
    {
        // A chunk size below 1 reads one byte at a time.
        TestNetwork network;
        SFileMem target;
        EXPECT_TRUE(network.DownloadToFile(&target, server.GetUrl("/data").c_str(), 0, 0));
        EXPECT_EQ(Content(target), "0123456789");
        EXPECT_EQ(network.pieces.size(), 10u);
    }
    TestNetwork network;
    EXPECT_FALSE(network.DownloadToFile(nullptr, server.GetUrl("/data").c_str(), 0, 4));
    EXPECT_EQ(network.statuses, std::vector<int>{SNetwork::DownloadNoTarget});
}

TEST_F(SNetworkTest, DownloadRetriesAndRecoveries)
{
    std::string body = Pattern(200);
    Serve("/data", body);
    struct Case
    {
        const char* script;
        bool succeeds;
    };
    const Case cases[] = {
        {"FFFFFFFFF", true},     // nine failures, then the reads go on
        {"FFFFFFFFFF", false},   // ten failures in a row
        {"F.F.F.F.", true},      // four recoveries
        {"F.F.F.F.F.", false},   // the fifth recovery ends the download
    };
    for (const Case& c : cases)
    {
        TestNetwork network;
        network.readScript = c.script;
        SFileMem target;
        EXPECT_EQ(network.DownloadToFile(&target, server.GetUrl("/data").c_str(), 0, 8), c.succeeds) << c.script;
        EXPECT_EQ(Content(target), c.succeeds ? body : std::string()) << c.script;
        EXPECT_EQ(network.statuses,
                  std::vector<int>{c.succeeds ? SNetwork::DownloadOk : SNetwork::DownloadReadFailed})
            << c.script;
    }
}

TEST_F(SNetworkTest, DownloadOfALocalFile)
{
    ScratchFile full("melvora-download-", "source.txt");
    ScratchFile empty("melvora-download-", "empty.txt");
    ASSERT_TRUE(file_test::WriteFileBytes(full.path, "local bytes"));
    ASSERT_TRUE(file_test::WriteFileBytes(empty.path, ""));

    TestNetwork network;
    SFileMem target;
    EXPECT_TRUE(network.DownloadToFile(&target, full.path.c_str(), 3, 16));
    EXPECT_EQ(Content(target), "local bytes");
    EXPECT_FALSE(network.DownloadToFile(&target, empty.path.c_str(), 3, 16));
    EXPECT_FALSE(network.DownloadToFile(&target, (full.path + ".missing").c_str(), 3, 16));
    EXPECT_EQ(network.statuses,
              (std::vector<int>{SNetwork::DownloadOk, SNetwork::DownloadNoAddress, SNetwork::DownloadNoAddress}));
}

TEST_F(SNetworkTest, UpdateCheckReplies)
{
    const UINT info = MB_ICONINFORMATION;
    struct Case
    {
        const char* name;
        const char* reply;  // null: the server refuses the connection
        const char* current;
        const char* message;  // shown when not silent, "" for none
    };
    const Case cases[] = {
        {"up to date", "OK\r\n1.0.3.0\r\n123\r\nhttp://host/p.bin", "1.0.3.0", "You have the latest updates installed."},
        {"other major", "OK\r\n2.0.0.0\r\n123\r\nhttp://host/p.bin", "1.0.3.0", "You have the latest updates installed."},
        {"up to date, two lines", "OK\r\n1.0.3.0", "1.0.3.0", "You have the latest updates installed."},
        {"other major, no package", "OK\r\n2.0.0.0\r\n", "1.0.3.0", "You have the latest updates installed."},
        {"no dot, other", "OK\r\n2\r\n123\r\nhttp://host/p.bin", "1.0.3.0", "You have the latest updates installed."},
        {"lower-case status", "ok\r\n1.0.4.0\r\n123\r\nhttp://host/p.bin", "1.0.3.0", "Connection failed."},
        {"checksum not decimal", "OK\r\n1.0.4.0\r\n12a\r\nhttp://host/p.bin", "1.0.3.0", "Connection failed."},
        {"checksum too large", "OK\r\n1.0.4.0\r\n4294967296\r\nhttp://host/p.bin", "1.0.3.0", "Connection failed."},
        {"quote in address", "OK\r\n1.0.4.0\r\n123\r\nhttp://host/\"p.bin", "1.0.3.0", "Connection failed."},
        {"no address", "OK\r\n1.0.4.0\r\n123", "1.0.3.0", "Connection failed."},
        {"empty reply", "", "1.0.3.0", "Connection failed."},
        {"refused", nullptr, "1.0.3.0", "Connection failed."},
    };
    for (const Case& c : cases)
    {
        std::string url = server.GetUrl("/check.php");
        if (c.reply != nullptr)
            Serve("/check.php", c.reply);
        else
            url = "http://127.0.0.1:" + std::to_string(TestHttpServer::GetClosedPort()) + "/check.php";
        for (bool silent : {true, false})
        {
            TestNetwork network;
            network.boxAnswer = IDYES;
            EXPECT_FALSE(network.CheckForUpdates(nullptr, url.c_str(), c.current, silent, true)) << c.name;
            EXPECT_TRUE(launcher.started.empty()) << c.name;
            if (silent)
            {
                EXPECT_TRUE(network.messages.empty()) << c.name;
                continue;
            }
            ASSERT_EQ(network.messages.size(), 1u) << c.name;
            EXPECT_EQ(network.messages[0].text, c.message) << c.name;
            EXPECT_EQ(network.messages[0].caption, "Check for Updates");
            EXPECT_EQ(network.messages[0].flags, info);
        }
    }
}

TEST_F(SNetworkTest, UpdateCheckOffersAndStartsTheUpdater)
{
    Serve("/check.php", "OK\r\n1.0.4.0\r\n3735928559\r\nhttp://updates.example/melvora.bin\r\n");
    std::string url = server.GetUrl("/check.php");
    const char* question = "Would you like to download and install the latest updates?";

    for (bool silent : {true, false})
    {
        TestNetwork network;
        EXPECT_TRUE(network.CheckForUpdates(nullptr, url.c_str(), "1.0.3.0", silent, false));
        EXPECT_TRUE(network.messages.empty());
    }
    EXPECT_TRUE(launcher.started.empty());

    TestNetwork declined;
    declined.boxAnswer = IDNO;
    EXPECT_FALSE(declined.CheckForUpdates(nullptr, url.c_str(), "1.0.3.0", true, true));
    ASSERT_EQ(declined.messages.size(), 1u);
    EXPECT_EQ(declined.messages[0].text, question);
    EXPECT_EQ(declined.messages[0].caption, "Check for Updates");
    EXPECT_EQ(declined.messages[0].flags, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
    EXPECT_TRUE(launcher.started.empty());

    TestNetwork accepted;
    accepted.boxAnswer = IDYES;
    EXPECT_TRUE(accepted.CheckForUpdates(nullptr, url.c_str(), "1.0.3.0", true, true));
    ASSERT_EQ(launcher.started.size(), 1u);
    std::string folder(SSystem::GetAppFolder());
    std::string self(SSystem::GetAppPath());
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    const Started& start = launcher.started[0];
    EXPECT_EQ(start.verb, "open");
    EXPECT_EQ(start.file, folder + "Update.exe");
    EXPECT_EQ(start.parameters,
              "3735928559 \"http://updates.example/melvora.bin\" \"" + folder + "\" \"" + self + "\"");
    EXPECT_EQ(start.folder, "");
    EXPECT_EQ(start.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(start.mask, ULONG(SEE_MASK_FLAG_NO_UI));

    launcher.result = SE_ERR_FNF;
    TestNetwork notStarted;
    notStarted.boxAnswer = IDYES;
    EXPECT_FALSE(notStarted.CheckForUpdates(nullptr, url.c_str(), "1.0.3.0", true, true));
    EXPECT_EQ(launcher.started.size(), 2u);

    // A version text without '.' is compared whole.
    Serve("/check.php", "OK\r\n7.1\r\n1\r\nhttp://host/p.bin");
    TestNetwork sameMajor;
    EXPECT_TRUE(sameMajor.CheckForUpdates(nullptr, url.c_str(), "7", true, false));
}

TEST_F(SNetworkTest, UpdateCheckAsksTheConfiguredServer)
{
    EXPECT_STREQ(SNetwork::GetUpdateCheckUrl(), SNetwork::GetUpdateServer() + "/check.php?id=melvora");
    SString original = SNetwork::GetUpdateServer();
    Serve("/check.php", "OK\r\n1.0.4.0\r\n42\r\nhttp://host/p.bin\r\n");
    SNetwork::SetUpdateServer(server.GetUrl("").c_str());
    TestNetwork network;
    network.boxAnswer = IDYES;
    bool started = network.CheckForUpdates(nullptr, SNetwork::GetUpdateCheckUrl(), "1.0.3.0", true, true);
    SNetwork::SetUpdateServer(original);
    EXPECT_TRUE(started);
    EXPECT_EQ(server.GetLastRequest().rfind("GET /check.php?id=melvora HTTP/1.1\r\n", 0), 0u);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].parameters.rfind("42 \"http://host/p.bin\" \"", 0), 0u);
    EXPECT_STREQ(SNetwork::GetUpdateServer(), original);
}

TEST_F(SNetworkTest, ShellLinksGoThroughTheShell)
{
    SNetwork network;
    network.OpenMailto("a@b.c", "Hi", nullptr);
    EXPECT_TRUE(network.OpenUrl("http://example.com/"));
    launcher.result = SE_ERR_NOASSOC;
    EXPECT_FALSE(network.OpenUrl("http://example.com/"));
    EXPECT_FALSE(network.OpenUrl(""));
    ASSERT_EQ(launcher.started.size(), 3u);
    EXPECT_EQ(launcher.started[0].file, "mailto:a@b.c?SUBJECT=Hi");
    EXPECT_EQ(launcher.started[0].verb, "open");
    EXPECT_EQ(launcher.started[0].showCmd, SW_SHOW);
    EXPECT_EQ(launcher.started[1].file, "http://example.com/");
    EXPECT_EQ(launcher.started[1].showCmd, SW_SHOWNORMAL);
    for (const Started& start : launcher.started)
        EXPECT_EQ(start.mask, ULONG(SEE_MASK_FLAG_NO_UI)) << start.file;
}

TEST(SNetwork, MailtoLinks)
{
    struct Case
    {
        const char* to;
        const char* subject;
        const char* body;
        const char* link;
    };
    const Case cases[] = {
        {"a@b.c", nullptr, nullptr, "mailto:a@b.c"},
        {"a@b.c", "Hi there", nullptr, "mailto:a@b.c?SUBJECT=Hi%20there"},
        {"a@b.c", nullptr, "x&y", "mailto:a@b.c?BODY=x%26y"},
        {"a@b.c", "S", "B b", "mailto:a@b.c?SUBJECT=S&BODY=B%20b"},
        {"", "", "", "mailto:"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(SNetwork::BuildMailtoLink(c.to, c.subject, c.body), c.link) << c.link;
}

TEST(SNetwork, SendMailHandsTheMessageToTheMailLibrary)
{
    // Only the test stand-in may ever receive a message: a real mail library
    // would open a mail program.
    HMODULE mapi = LoadLibraryA("MAPI32.DLL");
    ASSERT_NE(mapi, nullptr);
    bool standIn = GetProcAddress(mapi, "FakeMapiIsStandIn") != nullptr;
    FreeLibrary(mapi);
    ASSERT_TRUE(standIn) << "run with WINEDLLOVERRIDES=mapi32=n,b beside the test MAPI32.dll";

    ScratchFile log("melvora-mapi-", "log.txt");
    SetEnvironmentVariableA("MELVORA_FAKEMAPI_LOG", log.path.c_str());

    SNetwork network;
    EXPECT_TRUE(network.SendMail("someone@example.com", "Melvora Browser BOOK", "", "C:\\book.zip"));
    EXPECT_EQ(file_test::ReadFileBytes(log.path),
              "session=0\nui=0\nflags=8\nreserved=0\nsubject=Melvora Browser BOOK\nnote=\noriginator=(null)\n"
              "recipients=1\nto=1|someone@example.com|(null)\nfiles=1\nfile=-1|C:\\book.zip\n");

    DeleteFileA(log.path.c_str());
    EXPECT_TRUE(network.SendMail("", nullptr, nullptr, ""));
    EXPECT_EQ(file_test::ReadFileBytes(log.path),
              "session=0\nui=0\nflags=8\nreserved=0\nsubject=\nnote=\noriginator=(null)\nrecipients=0\nfiles=0\n");

    SetEnvironmentVariableA("MELVORA_FAKEMAPI_RESULT", "2");
    EXPECT_FALSE(network.SendMail("a@b.c", "S", "B", ""));
    SetEnvironmentVariableA("MELVORA_FAKEMAPI_RESULT", nullptr);
    SetEnvironmentVariableA("MELVORA_FAKEMAPI_LOG", nullptr);
}
