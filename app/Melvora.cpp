// Start-up and shut-down of Melvora Browser.
#include <windows.h>

#include "PStartupPhases.h"
#include "PWndApp.h"
#include "SDialogEditor.h"
#include "SLibrary.h"
#include "SNetwork.h"
#include "SRegistry.h"
#include "SSystem.h"

namespace
{

// The update check's questions are answered by the user; a test run answers them
// through MELVORA_UPDATE_ANSWER ("yes" or "no") so that no message box appears.
class PNetwork : public SNetwork
{
protected:
    int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags) override
    {
        char answer[16];
        DWORD length = GetEnvironmentVariableA("MELVORA_UPDATE_ANSWER", answer, sizeof(answer));
        if (length > 0 && length < sizeof(answer))
        {
            if ((flags & MB_YESNO) == 0)
                return IDOK;
            return lstrcmpiA(answer, "yes") == 0 ? IDYES : IDNO;
        }
        return SNetwork::ShowMessage(owner, text, caption, flags);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    PStartupPhases::Mark("entry");
    InitLibrary(instance, showCommand, true, true, false);
    SDialogEditor::InstallBuilder();
    PStartupPhases::Mark("library started");
    SString first = GetCommandArg(0, true);

    // One copy at a time. The mutex settles two copies started at the same moment,
    // which would otherwise both count two processes and both end. Only a copy that
    // finds the mutex taken counts the processes: the count is slow, and the first
    // copy's answer would not change by it.
    HANDLE running = CreateMutexA(nullptr, FALSE, "Local\\Ormelin Tavrin Melvora Browser 1.0");
    const bool another = running == nullptr || GetLastError() == ERROR_ALREADY_EXISTS;
    int copies = 0;
    if (another)
    {
        SSystem system;
        copies = system.GetProcessCount(nullptr);
    }
    if (another && copies > 1)
    {
        if (running)
            CloseHandle(running);
        ExitLibrary();
        return 0;
    }

    SString server = SRegistry::ReadString(HKEY_CURRENT_USER, kSettingsKey, "UpdateServer");
    if (!server.IsEmpty())
        SNetwork::SetUpdateServer(server);
    PNetwork* network = new PNetwork();
    const bool updating =
        network->CheckForUpdates(nullptr, SNetwork::GetUpdateCheckUrl(), kProductVersion, true, true);
    delete network;
    PStartupPhases::Mark("update check");
    if (updating)
    {
        CloseHandle(running);
        ExitLibrary();
        return 0;
    }

    SetAppIcons(107, 108);
    PWndApp* window = new PWndApp();
    PStartupPhases::Mark("main window pictures");
    SString caption = SString(kProductName) + " " + kProductVersion;
    if (window->Create(caption, WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr, 0, 0, GetInstance()))
    {
        PStartupPhases::Mark("main window created");
        if (first.CompareNoCase("/HIDE") != 0)
            window->ShowWindow(SW_SHOW);
        PStartupPhases::Mark("main window shown");
        bool run = true;
        RunMessageLoop(&run, nullptr, nullptr);
    }
    delete window;
    CloseHandle(running);
    ExitLibrary();
    return 0;
}
