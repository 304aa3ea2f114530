// Stand-in for the system mail library in tests: records the message it is
// handed to the file named by MELVORA_FAKEMAPI_LOG and answers the number in
// MELVORA_FAKEMAPI_RESULT (0 when unset), so no mail program is ever started.
#include <windows.h>
#include <mapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{
const char* Shown(const char* text)
{
    return text != nullptr ? text : "(null)";
}
}

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam,
                                                          lpMapiMessage message, FLAGS flags, ULONG reserved)
{
    char logPath[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("MELVORA_FAKEMAPI_LOG", logPath, sizeof(logPath));
    if (length > 0 && length < sizeof(logPath))
    {
        FILE* log = fopen(logPath, "wb");
        if (log != nullptr)
        {
            fprintf(log, "session=%lu\nui=%lu\nflags=%lu\nreserved=%lu\n",
                    static_cast<unsigned long>(session), static_cast<unsigned long>(uiParam),
                    static_cast<unsigned long>(flags), static_cast<unsigned long>(reserved));
            if (message != nullptr)
            {
                fprintf(log, "subject=%s\nnote=%s\noriginator=%s\nrecipients=%lu\n", Shown(message->lpszSubject),
                        Shown(message->lpszNoteText), message->lpOriginator != nullptr ? "set" : "(null)",
                        static_cast<unsigned long>(message->nRecipCount));
                for (ULONG i = 0; i < message->nRecipCount && message->lpRecips != nullptr; i++)
                    fprintf(log, "to=%lu|%s|%s\n", static_cast<unsigned long>(message->lpRecips[i].ulRecipClass),
                            Shown(message->lpRecips[i].lpszAddress), Shown(message->lpRecips[i].lpszName));
                fprintf(log, "files=%lu\n", static_cast<unsigned long>(message->nFileCount));
                for (ULONG i = 0; i < message->nFileCount && message->lpFiles != nullptr; i++)
                    fprintf(log, "file=%ld|%s\n", static_cast<long>(message->lpFiles[i].nPosition),
                            Shown(message->lpFiles[i].lpszPathName));
            }
            fclose(log);
        }
    }
    // The caller may delete its attachments once the mail is handed over: a test
    // that wants to read them gets copies in the folder MELVORA_FAKEMAPI_KEEP.
    char keep[MAX_PATH] = "";
    length = GetEnvironmentVariableA("MELVORA_FAKEMAPI_KEEP", keep, sizeof(keep));
    if (length > 0 && length < sizeof(keep) && message != nullptr && message->lpFiles != nullptr)
    {
        for (ULONG i = 0; i < message->nFileCount; i++)
        {
            const char* source = message->lpFiles[i].lpszPathName;
            if (source == nullptr)
                continue;
            const char* name = strrchr(source, '\\');
            char target[MAX_PATH * 2];
            snprintf(target, sizeof(target), "%s\\%s", keep, name != nullptr ? name + 1 : source);
            CopyFileA(source, target, FALSE);
        }
    }
    char result[32] = "";
    length = GetEnvironmentVariableA("MELVORA_FAKEMAPI_RESULT", result, sizeof(result));
    if (length > 0 && length < sizeof(result))
        return static_cast<ULONG>(atoi(result));
    return SUCCESS_SUCCESS;
}

// Lets a test make sure that this stand-in, not a real mail library, was loaded.
extern "C" __declspec(dllexport) int WINAPI FakeMapiIsStandIn()
{
    return 1;
}
