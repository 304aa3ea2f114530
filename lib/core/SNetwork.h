#pragma once

#include <windows.h>
#include <wininet.h>
#include <mapi.h>
#include "SDisk.h"
#include "SFile.h"
#include "SString.h"

// The few network and mail operations of the library: a short text over HTTP,
// a download into a stream, the mail program, shell links and the update check.
class SNetwork
{
public:
    // Outcome codes passed to OnDownloadDone.
    enum DownloadStatus
    {
        DownloadOk = 0,
        DownloadNoTarget = 1,
        DownloadNoInternet = 2,
        DownloadNoAddress = 4,
        DownloadReadFailed = 5,
    };

    // Answers of OnDownloadData.
    enum DownloadAnswer
    {
        DownloadWrite = 0,
        DownloadCancel = 1,
        DownloadSkip = 2,
    };

    // Longest body HttpGetString accepts; a longer one is a failure, so that an
    // endless reply cannot hold up the caller.
    static constexpr int MaxTextReply = 65536;

    // No network state lives between calls.
    SNetwork();
    virtual ~SNetwork();

    SNetwork(const SNetwork&) = delete;
    SNetwork& operator=(const SNetwork&) = delete;

    // Called for every piece read: 1 cancels, 2 skips writing it, anything else writes it.
    // total is the announced size, -1 when unknown.
    virtual int OnDownloadData(int total, int offset, int length, const void* data, SFile* target, int user);
    // Called once at the end of a download with its status code.
    virtual void OnDownloadDone(int status, int user);
    // Free hook for subclasses; never called by the library.
    virtual int OnHook3(int first, int second, int third);
    // Free hook for subclasses; never called by the library.
    virtual void OnHook4(int first, int second);

    // The body of a GET of url (with "?" + query when query is not empty); "" on
    // failure or for a body longer than MaxTextReply.
    SString HttpGetString(const char* url, const char* query);
    // Downloads url into target at its position; reports the outcome to OnDownloadDone.
    // An error reply, a body shorter than announced or a cancel is a failure, and
    // whatever was appended to target is cut off again.
    bool DownloadToFile(SFile* target, const char* url, int user, int chunkSize);
    // Opens the mail program's compose window with the message filled in.
    bool SendMail(const char* to, const char* subject, const char* body, const char* attachmentPath);
    // Opens a "mailto:" link in the shell.
    void OpenMailto(const char* to, const char* subject, const char* body);
    // Opens a web address in the shell; true when the shell accepted it.
    bool OpenUrl(const char* url);
    // Asks the update server for a newer build and, when the user agrees, starts the
    // update program; true only when it was started and the caller must end.
    bool CheckForUpdates(HWND owner, const char* checkUrl, const char* currentVersion,
                         bool silent, bool offerInstall);

    // Sets the update server's base address ("http://host[/folder]", no trailing '/').
    static void SetUpdateServer(const char* baseUrl);
    // The update server's base address.
    static SString GetUpdateServer();
    // The address the update check asks: the server's "/check.php?id=melvora".
    static SString GetUpdateCheckUrl();

    // The "mailto:" link that OpenMailto opens.
    static SString BuildMailtoLink(const char* to, const char* subject, const char* body);

protected:
    // Reads from an open request; the one network read of the downloads.
    virtual BOOL ReadRequest(HINTERNET request, void* buffer, DWORD bytes, DWORD* bytesRead);
    // Shows a message box of the update check and returns the user's answer.
    virtual int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);

private:
    // Tells of a failed update check unless silent; always false.
    bool UpdateCheckFailed(HWND owner, bool silent);

    SDisk disk;
};
