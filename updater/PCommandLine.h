#pragma once
// The update program's command line: split the way the main program writes it, and
// the package checksum read from it.
#include <stdint.h>

#include "SString.h"

// The update program's command line, split so that a quoted folder ending in a
// backslash keeps it (the main program writes the folder that way).
class PCommandLine
{
public:
    // Number of arguments after the program name of this process; 0 when the line cannot be split.
    static int GetCommandArgCount();
    // Argument index (from 0, after the program name) of this process; "" outside the list.
    // With stripQuotes every '"' is removed.
    static SString GetCommandArg(int index, bool stripQuotes);

    // The same two operations over a given command line (program name first).
    static int GetCommandArgCount(const wchar_t* commandLine);
    static SString GetCommandArg(const wchar_t* commandLine, int index, bool stripQuotes);
};

// Reads a package checksum: 1 to 10 ASCII digits of a value up to 4294967295, nothing else.
bool ParseChecksum(const char* text, uint32_t* value);
