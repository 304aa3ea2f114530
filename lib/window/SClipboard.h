#pragma once
// Plain text and the library's binary format between the clipboard and strings or streams.
#include <windows.h>

#include "SString.h"

class SFile;

// Clipboard format of the library's binary data: a 32-bit byte count, the bytes, a 0 byte.
const UINT CLIPBOARD_FORMAT_BINARY = 129;

class SClipboard
{
public:
    virtual ~SClipboard() {}
    // Replaces the clipboard's content with a text (CF_TEXT).
    static bool SetText(const char* text);
    // The clipboard's text; "" when there is none.
    static SString GetText();
    // Puts count bytes from the stream position (-1: to the end) on the clipboard in the binary format.
    static bool SetData(SFile* stream, int count = -1);
    // Writes the binary clipboard data at the stream position; the bytes written, 0 when none.
    static int GetData(SFile* stream);
};
