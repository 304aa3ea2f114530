#pragma once

#include <windows.h>
#include "SDisk.h"

// A library loaded at run time and the lookup of its functions.
class SDll
{
public:
    // No library loaded.
    SDll() = default;
    // Frees a loaded library.
    virtual ~SDll();

    SDll(const SDll&) = delete;
    SDll& operator=(const SDll&) = delete;

    // Frees any loaded library, then loads fileName; true when a module came back.
    bool Load(const char* fileName);
    // False when nothing is loaded or FreeLibrary fails; else the module is forgotten.
    bool Free();
    // The address of an exported function; null when nothing is loaded or it is missing.
    FARPROC GetProc(const char* name) const;
    // A module is held.
    bool IsLoaded() const { return module != nullptr; }
    // The module handle, null when none is loaded.
    HMODULE GetModule() const { return module; }

private:
    SDisk disk;
    HMODULE module = nullptr;
};

// The function name of the library fileName, loaded into holder on the first call and
// kept there: a system library that only some commands need stays out of the
// program's start. Null when the library or the function is missing.
FARPROC SLoadProc(SDll* holder, const char* fileName, const char* name);

// The library's holder of the rich-edit library ("Riched20.dll"), loaded by the
// library start-up and freed by its shut-down.
extern SDll g_richEditDll;
