#include "SDll.h"

SDll g_richEditDll;

SDll::~SDll()
{
    Free();
}

bool SDll::Load(const char* fileName)
{
    Free();
    if (fileName == nullptr || fileName[0] == 0)
        return false;
    module = LoadLibraryA(fileName);
    return module != nullptr;
}

bool SDll::Free()
{
    if (module == nullptr)
        return false;
    if (!FreeLibrary(module))
        return false;
    module = nullptr;
    return true;
}

FARPROC SDll::GetProc(const char* name) const
{
    if (module == nullptr || name == nullptr)
        return nullptr;
    return GetProcAddress(module, name);
}

FARPROC SLoadProc(SDll* holder, const char* fileName, const char* name)
{
    if (!holder)
        return nullptr;
    if (!holder->IsLoaded() && !holder->Load(fileName))
        return nullptr;
    return holder->GetProc(name);
}
