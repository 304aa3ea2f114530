#include "SClipboard.h"

#include <stdint.h>
#include <string.h>

#include "SFile.h"

namespace {

// Empties the clipboard and hands it a block in a format; the block is freed when refused.
bool PutOnClipboard(UINT format, HGLOBAL block)
{
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    bool done = false;
    if (EmptyClipboard())
        done = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    if (!done)
        GlobalFree(block);
    return done;
}

} // namespace

bool SClipboard::SetText(const char* text)
{
    if (!text)
        text = "";
    size_t bytes = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes);
    if (!block)
        return false;
    memcpy(block, text, bytes);
    return PutOnClipboard(CF_TEXT, block);
}

SString SClipboard::GetText()
{
    SString text;
    if (!OpenClipboard(nullptr))
        return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char* bytes = static_cast<const char*>(GlobalLock(data));
        if (bytes) {
            // The block may lack its terminator: never read past its size.
            SIZE_T size = GlobalSize(data);
            size_t length = strnlen(bytes, size);
            text = SString(bytes, (int)(length > 0x7FFFFFFF ? 0x7FFFFFFF : length));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool SClipboard::SetData(SFile* stream, int count)
{
    if (!stream)
        return false;
    int remaining = stream->GetRemaining();
    if (count < 0)
        count = remaining;
    if (count == 0 || count > remaining)
        return false;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, (SIZE_T)count + 5);
    if (!block)
        return false;
    uint8_t* bytes = static_cast<uint8_t*>(block);
    const uint32_t size = (uint32_t)count;
    bytes[0] = (uint8_t)size;
    bytes[1] = (uint8_t)(size >> 8);
    bytes[2] = (uint8_t)(size >> 16);
    bytes[3] = (uint8_t)(size >> 24);
    if (stream->Read(bytes + 4, count) != count) {
        GlobalFree(block);
        return false;
    }
    bytes[4 + count] = 0;
    return PutOnClipboard(CLIPBOARD_FORMAT_BINARY, block);
}

int SClipboard::GetData(SFile* stream)
{
    if (!stream)
        return 0;
    if (!OpenClipboard(nullptr))
        return 0;
    int written = 0;
    HANDLE data = GetClipboardData(CLIPBOARD_FORMAT_BINARY);
    if (data) {
        const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(data));
        if (bytes) {
            SIZE_T size = GlobalSize(data);
            if (size >= 4) {
                uint32_t count = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | ((uint32_t)bytes[3] << 24);
                // Another program may have put anything under this number: trust the block's size only.
                if (count > 0 && count <= size - 4 && count <= 0x7FFFFFFFu)
                    written = stream->Write(bytes + 4, (int)count);
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return written;
}
