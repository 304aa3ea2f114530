#pragma once
// Checks the headers of icon, cursor and bitmap data before a system decoder sees
// them: the decoders trust the sizes they read and allocate by them unchecked.
#include <stddef.h>
#include <stdint.h>

class SImageHeader
{
public:
    // Largest width or height a picture may declare.
    static const int kMaxSide = 32767;

    // False when the data is an icon, cursor or bitmap whose header declares a side
    // past the limit or more bytes than the data holds; true for every other kind of data.
    static bool IsSound(const uint8_t* data, size_t size);

private:
    static bool IsSoundBitmapFile(const uint8_t* data, size_t size);
    static bool IsSoundIconFile(const uint8_t* data, size_t size);
    // One picture of an icon or cursor: a PNG or a bitmap header with colour and mask.
    static bool IsSoundIconImage(const uint8_t* data, size_t size);
    // The bitmap header at data (size bytes to the end of the picture) with its palette
    // and pixels, which start at pixels when it is not 0 or right after the palette.
    static bool IsSoundBitmapInfo(const uint8_t* data, size_t size, size_t pixels, bool iconMask);
};
