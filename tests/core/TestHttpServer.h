#pragma once

#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

// A canned reply of the test HTTP server.
struct TestHttpReply
{
    int status = 200;
    std::string body;
    // Extra header lines, each without its CR LF.
    std::vector<std::string> headers;
    // Send a Content-Length header (of announcedLength when >= 0, else of the body).
    bool sendContentLength = true;
    int announcedLength = -1;
    // Bytes of the body actually sent; < 0 sends it all.
    int bodyBytesSent = -1;
};

// A small HTTP server for tests: one thread on 127.0.0.1 serving canned replies
// by request path (the query is ignored for the lookup), one request per
// connection, the connection closed after the reply. Include this header before
// <windows.h>, as WinSock 2 requires.
class TestHttpServer
{
public:
    TestHttpServer();
    ~TestHttpServer();

    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    // Listens on 127.0.0.1 at port (0 = any free port) and starts serving.
    bool Start(int port = 0);
    // Stops serving and closes the socket.
    void Stop();
    // The port listened on, 0 when not started.
    int GetPort() const { return port; }
    // "http://127.0.0.1:<port>" + path.
    std::string GetUrl(const std::string& path) const;

    // Sets the reply for a path such as "/check.php"; unknown paths get a 404.
    void SetReply(const std::string& path, const TestHttpReply& reply);
    // Number of requests served so far.
    int GetRequestCount();
    // The request line and headers of the last request.
    std::string GetLastRequest();

    // A port on 127.0.0.1 where nothing listens (taken and released at once).
    static int GetClosedPort();

private:
    static DWORD WINAPI ThreadProc(void* parameter);
    void Serve();
    void Answer(SOCKET client);

    SOCKET listener = INVALID_SOCKET;
    HANDLE thread = nullptr;
    int port = 0;
    bool winsockStarted = false;
    std::mutex lock;
    std::map<std::string, TestHttpReply> replies;
    int requestCount = 0;
    std::string lastRequest;
};
