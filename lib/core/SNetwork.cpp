#include "SNetwork.h"
#include "SDll.h"
#include "SFilePath.h"
#include "SSystem.h"

#include <limits.h>
#include <new>
#include <string.h>

namespace
{
const char* const userAgent = "Tavrin";
const DWORD requestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                           INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NEED_FILE;
const char* const updateCaption = "Check for Updates";
const char* const defaultUpdateServer = "http://www.ormelin-tavrin.com/melvora";

SString& UpdateServer()
{
    static SString server(defaultUpdateServer);
    return server;
}

// Closes an internet handle when it goes out of scope.
class InternetHandle
{
public:
    explicit InternetHandle(HINTERNET handle) : handle(handle) {}
    ~InternetHandle()
    {
        if (handle != nullptr)
            InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle; }

private:
    HINTERNET handle;
};

// An HTTP reply of 400 or more is an error page, never content.
bool IsErrorReply(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return false;
    return status >= 400;
}

// Only a plain 200 reply carries the whole resource: a redirect page, a partial
// reply or an error page must never be taken for the file.
bool IsCompleteReply(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return false;
    return status == 200;
}

// The announced Content-Length, -1 when none is given or it does not fit.
int GetContentLength(HINTERNET request)
{
    DWORD length = 0;
    DWORD size = sizeof(length);
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr))
        return -1;
    if (length > static_cast<DWORD>(INT_MAX))
        return -1;
    return static_cast<int>(length);
}

bool IsDecimal(const SString& text)
{
    int length = text.GetLength();
    if (length == 0 || length > 10)
        return false;
    unsigned long long value = 0;
    for (int i = 0; i < length; i++)
    {
        char ch = text.GetAt(i);
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(ch - '0');
    }
    return value <= 0xFFFFFFFFull;
}

SString MajorPart(const SString& version)
{
    return version.BeforeCharOrAll('.');
}
}

SNetwork::SNetwork() = default;

SNetwork::~SNetwork() = default;

int SNetwork::OnDownloadData(int, int, int, const void*, SFile*, int)
{
    return DownloadWrite;
}

void SNetwork::OnDownloadDone(int, int)
{
}

int SNetwork::OnHook3(int, int, int)
{
    return 0;
}

void SNetwork::OnHook4(int, int)
{
}

BOOL SNetwork::ReadRequest(HINTERNET request, void* buffer, DWORD bytes, DWORD* bytesRead)
{
    return InternetReadFile(request, buffer, bytes, bytesRead);
}

int SNetwork::ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

SString SNetwork::HttpGetString(const char* url, const char* query)
{
    if (url == nullptr || url[0] == 0)
        return SString("");
    SString address(url);
    if (query != nullptr && query[0] != 0)
    {
        address += "?";
        address += query;
    }
    InternetHandle internet(InternetOpenA(userAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (internet.Get() == nullptr)
        return SString("");
    InternetHandle request(InternetOpenUrlA(internet.Get(), address, nullptr, 0, requestFlags, 0));
    if (request.Get() == nullptr || IsErrorReply(request.Get()))
        return SString("");
    SString text("");
    char buffer[513];
    int failures = 0;
    int received = 0;
    while (failures < 4)
    {
        DWORD got = 0;
        if (!ReadRequest(request.Get(), buffer, 512, &got))
        {
            failures++;
            continue;
        }
        if (got == 0)
            break;
        if (got > 512)
            got = 512;
        received += static_cast<int>(got);
        if (received > MaxTextReply)
            return SString("");
        buffer[got] = 0;
        text += buffer;
    }
    if (failures >= 4)
        return SString("");
    return text;
}

bool SNetwork::DownloadToFile(SFile* target, const char* url, int user, int chunkSize)
{
    if (target == nullptr)
    {
        OnDownloadDone(DownloadNoTarget, user);
        return false;
    }
    if (chunkSize < 1)
        chunkSize = 1;
    InternetHandle internet(InternetOpenA(userAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (internet.Get() == nullptr)
    {
        OnDownloadDone(DownloadNoInternet, user);
        return false;
    }
    HINTERNET opened = (url != nullptr && url[0] != 0)
                           ? InternetOpenUrlA(internet.Get(), url, nullptr, 0, requestFlags, 0)
                           : nullptr;
    InternetHandle request(opened);
    if (request.Get() == nullptr)
    {
        // The address may name a local file instead of a web resource.
        if (url != nullptr && disk.IsFile(url))
        {
            SFilePath file;
            if (file.Open(url, false, false, true, true) && target->CopyFrom(&file) > 0)
            {
                OnDownloadDone(DownloadOk, user);
                return true;
            }
        }
        OnDownloadDone(DownloadNoAddress, user);
        return false;
    }
    if (!IsCompleteReply(request.Get()))
    {
        OnDownloadDone(DownloadNoAddress, user);
        return false;
    }

    // A failed download must not leave a partial file behind: remember where the
    // target ended so that what was appended can be cut off again.
    const int startPosition = target->Tell();
    const bool appending = startPosition == target->GetSize();
    const int total = GetContentLength(request.Get());
    char* buffer = new (std::nothrow) char[chunkSize];
    if (buffer == nullptr)
    {
        OnDownloadDone(DownloadReadFailed, user);
        return false;
    }
    int offset = 0;
    int failures = 0;
    int recoveries = 0;
    bool ended = false;
    while (failures < 10)
    {
        DWORD got = 0;
        if (!ReadRequest(request.Get(), buffer, static_cast<DWORD>(chunkSize), &got))
        {
            failures++;
            continue;
        }
        if (failures > 0)
        {
            failures = 0;
            recoveries++;
            if (recoveries >= 5)
                break;
        }
        if (got == 0)
        {
            ended = true;
            break;
        }
        if (got > static_cast<DWORD>(chunkSize) || static_cast<int>(got) > INT_MAX - offset)
        {
            failures = 10;
            break;
        }
        int length = static_cast<int>(got);
        int answer = OnDownloadData(total, offset, length, buffer, target, user);
        if (answer == DownloadCancel)
        {
            failures = 10;
            break;
        }
        if (answer != DownloadSkip && target->Write(buffer, length) != length)
        {
            failures = 10;
            break;
        }
        offset += length;
    }
    delete[] buffer;

    bool complete = ended && failures < 10 && recoveries < 5 && (total < 0 || offset == total);
    if (!complete)
    {
        if (appending)
        {
            target->SetSize(startPosition);
            target->Seek(startPosition);
        }
        OnDownloadDone(DownloadReadFailed, user);
        return false;
    }
    OnDownloadDone(DownloadOk, user);
    return true;
}

bool SNetwork::SendMail(const char* to, const char* subject, const char* body, const char* attachmentPath)
{
    SDll mapi;
    if (!mapi.Load("MAPI32.DLL"))
        return false;
    SString recipientAddress(to != nullptr ? to : "");
    SString subjectText(subject != nullptr ? subject : "");
    SString bodyText(body != nullptr ? body : "");
    SString attachment(attachmentPath != nullptr ? attachmentPath : "");

    MapiRecipDesc recipient;
    memset(&recipient, 0, sizeof(recipient));
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszAddress = recipientAddress.GetBuffer();

    MapiFileDesc file;
    memset(&file, 0, sizeof(file));
    file.nPosition = static_cast<ULONG>(-1);
    file.lpszPathName = attachment.GetBuffer();

    MapiMessage message;
    memset(&message, 0, sizeof(message));
    message.lpszSubject = subjectText.GetBuffer();
    message.lpszNoteText = bodyText.GetBuffer();
    if (!recipientAddress.IsEmpty())
    {
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
    }
    if (!attachment.IsEmpty())
    {
        message.nFileCount = 1;
        message.lpFiles = &file;
    }

    LPMAPISENDMAIL send = reinterpret_cast<LPMAPISENDMAIL>(
        reinterpret_cast<void*>(mapi.GetProc("MAPISendMail")));
    if (send == nullptr)
        return false;
    return send(0, 0, &message, MAPI_DIALOG, 0) == SUCCESS_SUCCESS;
}

void SNetwork::SetUpdateServer(const char* baseUrl)
{
    UpdateServer() = (baseUrl != nullptr && baseUrl[0] != 0) ? baseUrl : defaultUpdateServer;
}

SString SNetwork::GetUpdateServer()
{
    return UpdateServer();
}

SString SNetwork::GetUpdateCheckUrl()
{
    return UpdateServer() + "/check.php?id=melvora";
}

SString SNetwork::BuildMailtoLink(const char* to, const char* subject, const char* body)
{
    SString link("mailto:");
    if (to != nullptr)
        link += to;
    bool hasSubject = subject != nullptr && subject[0] != 0;
    bool hasBody = body != nullptr && body[0] != 0;
    if (hasSubject || hasBody)
        link += "?";
    if (hasSubject)
    {
        link += "SUBJECT=";
        link += SString(subject).UrlEncode(false);
    }
    if (hasBody)
    {
        if (hasSubject)
            link += "&";
        link += "BODY=";
        link += SString(body).UrlEncode(false);
    }
    return link;
}

void SNetwork::OpenMailto(const char* to, const char* subject, const char* body)
{
    SString link = BuildMailtoLink(to, subject, body);
    disk.Run(link, "", false, false, SW_SHOW);
}

bool SNetwork::OpenUrl(const char* url)
{
    if (url == nullptr || url[0] == 0)
        return false;
    return disk.Run(url, "", false, false, SW_SHOWNORMAL);
}

bool SNetwork::UpdateCheckFailed(HWND owner, bool silent)
{
    if (!silent)
        ShowMessage(owner, "Connection failed.", updateCaption, MB_ICONINFORMATION);
    return false;
}

bool SNetwork::CheckForUpdates(HWND owner, const char* checkUrl, const char* currentVersion,
                               bool silent, bool offerInstall)
{
    SString reply = HttpGetString(checkUrl, "");
    SString lines[4];
    int position = 0;
    for (SString& line : lines)
    {
        if (position >= reply.GetLength())
            break;
        int next = position;
        line = reply.GetLine(position, &next);
        position = next > position ? next : reply.GetLength();
    }
    const SString& status = lines[0];
    const SString& latest = lines[1];
    const SString& checksum = lines[2];
    const SString& package = lines[3];

    if (reply.IsEmpty() || status.IsNotEqual("OK"))
        return UpdateCheckFailed(owner, silent);

    SString current(currentVersion != nullptr ? currentVersion : "");
    if (MajorPart(latest).IsNotEqual(MajorPart(current)) || latest.IsEqual(current))
    {
        if (!silent)
            ShowMessage(owner, "You have the latest updates installed.", updateCaption, MB_ICONINFORMATION);
        return false;
    }
    // An update whose lines would give the update program a broken command line
    // is no reply.
    if (!IsDecimal(checksum) || package.IsEmpty() || package.FindChar('"', 0, -1) >= 0)
        return UpdateCheckFailed(owner, silent);
    if (!offerInstall)
        return true;
    if (ShowMessage(owner, "Would you like to download and install the latest updates?", updateCaption,
                    MB_ICONQUESTION | MB_YESNO) != IDYES)
        return false;

    SString folder = SSystem::GetAppFolder();
    SString self = SSystem::GetAppPath();
    if (folder.IsEmpty() || self.IsEmpty())
        return false;
    SString program = folder + "Update.exe";
    SString parameters = checksum + " \"" + package + "\" \"" + folder + "\" \"" + self + "\"";
    return disk.Run(program, parameters, false, false, SW_SHOWNORMAL);
}
