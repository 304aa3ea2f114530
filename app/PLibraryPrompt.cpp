#include "PLibraryPrompt.h"

int PLibraryPrompt(HWND owner, const char* text, const char* caption, UINT type)
{
    char answer[16];
    DWORD length = GetEnvironmentVariableA("MELVORA_LIBRARY_ANSWER", answer, sizeof(answer));
    if (length > 0 && length < sizeof(answer))
    {
        if ((type & 0x0F) == MB_OK)
            return IDOK;
        return lstrcmpiA(answer, "yes") == 0 ? IDYES : IDNO;
    }
    return MessageBoxA(owner, text, caption, type);
}
