#include "TestHttpServer.h"

#include <stdio.h>

namespace
{
const char* ReasonText(int status)
{
    switch (status)
    {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

void SendAll(SOCKET socket, const char* data, int length)
{
    while (length > 0)
    {
        int sent = send(socket, data, length, 0);
        if (sent <= 0)
            return;
        data += sent;
        length -= sent;
    }
}
}

TestHttpServer::TestHttpServer() = default;

TestHttpServer::~TestHttpServer()
{
    Stop();
}

bool TestHttpServer::Start(int wantedPort)
{
    Stop();
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    winsockStarted = true;
    listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
    {
        Stop();
        return false;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(wantedPort));
    int size = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    {
        Stop();
        return false;
    }
    port = ntohs(address.sin_port);
    thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    if (thread == nullptr)
    {
        Stop();
        return false;
    }
    return true;
}

void TestHttpServer::Stop()
{
    if (listener != INVALID_SOCKET)
    {
        // Closing the socket ends the accept loop.
        closesocket(listener);
        listener = INVALID_SOCKET;
    }
    if (thread != nullptr)
    {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        thread = nullptr;
    }
    if (winsockStarted)
    {
        WSACleanup();
        winsockStarted = false;
    }
    port = 0;
}

std::string TestHttpServer::GetUrl(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

void TestHttpServer::SetReply(const std::string& path, const TestHttpReply& reply)
{
    std::lock_guard<std::mutex> guard(lock);
    replies[path] = reply;
}

int TestHttpServer::GetRequestCount()
{
    std::lock_guard<std::mutex> guard(lock);
    return requestCount;
}

std::string TestHttpServer::GetLastRequest()
{
    std::lock_guard<std::mutex> guard(lock);
    return lastRequest;
}

int TestHttpServer::GetClosedPort()
{
    TestHttpServer server;
    if (!server.Start(0))
        return 0;
    int free = server.GetPort();
    server.Stop();
    return free;
}

DWORD WINAPI TestHttpServer::ThreadProc(void* parameter)
{
    static_cast<TestHttpServer*>(parameter)->Serve();
    return 0;
}

void TestHttpServer::Serve()
{
    SOCKET socketToServe = listener;
    for (;;)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socketToServe, &readable);
        timeval wait = {0, 100000};
        int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready < 0)
            return;
        if (ready == 0)
            continue;
        SOCKET client = accept(socketToServe, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        Answer(client);
        closesocket(client);
    }
}

void TestHttpServer::Answer(SOCKET client)
{
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536)
    {
        int got = recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0)
            break;
        request.append(buffer, static_cast<size_t>(got));
    }
    std::string path;
    size_t firstBlank = request.find(' ');
    if (firstBlank != std::string::npos)
    {
        size_t secondBlank = request.find(' ', firstBlank + 1);
        if (secondBlank != std::string::npos)
            path = request.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    }
    size_t query = path.find('?');
    if (query != std::string::npos)
        path.resize(query);

    TestHttpReply reply;
    {
        std::lock_guard<std::mutex> guard(lock);
        requestCount++;
        lastRequest = request.substr(0, request.find("\r\n\r\n"));
        auto found = replies.find(path);
        if (found != replies.end())
            reply = found->second;
        else
        {
            reply.status = 404;
            reply.body = "<html><body>Not Found</body></html>";
        }
    }

    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonText(reply.status) + "\r\n";
    if (reply.sendContentLength)
    {
        int length = reply.announcedLength >= 0 ? reply.announcedLength : static_cast<int>(reply.body.size());
        head += "Content-Length: " + std::to_string(length) + "\r\n";
    }
    for (const std::string& header : reply.headers)
        head += header + "\r\n";
    head += "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
    SendAll(client, head.data(), static_cast<int>(head.size()));
    int bodyLength = static_cast<int>(reply.body.size());
    if (reply.bodyBytesSent >= 0 && reply.bodyBytesSent < bodyLength)
        bodyLength = reply.bodyBytesSent;
    SendAll(client, reply.body.data(), bodyLength);
    shutdown(client, SD_SEND);
}
