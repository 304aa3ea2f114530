#include "SImageHeader.h"

#include <string.h>

namespace
{

const uint32_t kBitmapCoreHeader = 12;
const uint32_t kBitmapInfoHeader = 40;
const size_t kFileHeader = 14;
const size_t kIconDirectory = 6;
const size_t kIconEntry = 16;

enum Compression
{
    COMPRESSION_RGB = 0,
    COMPRESSION_RLE8 = 1,
    COMPRESSION_RLE4 = 2,
    COMPRESSION_BITFIELDS = 3,
    COMPRESSION_JPEG = 4,
    COMPRESSION_PNG = 5,
    COMPRESSION_ALPHABITFIELDS = 6
};

uint32_t Little(const uint8_t* data, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; i--)
        value = (value << 8) | data[i];
    return value;
}

uint32_t Big32(const uint8_t* data)
{
    return ((uint32_t)data[0] << 24) | ((uint32_t)data[1] << 16) | ((uint32_t)data[2] << 8) | data[3];
}

bool IsPng(const uint8_t* data, size_t size)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof(signature) && memcmp(data, signature, sizeof(signature)) == 0;
}

bool IsSide(long long side)
{
    return side >= 1 && side <= SImageHeader::kMaxSide;
}

bool IsPixelDepth(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Bytes of rows of width pixels of the depth, each row padded to 32 bits.
unsigned long long RowBytes(long long width, uint32_t bits, long long rows)
{
    return (unsigned long long)((width * bits + 31) / 32) * 4 * (unsigned long long)rows;
}

}

bool SImageHeader::IsSound(const uint8_t* data, size_t size)
{
    if (!data)
        return size == 0;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return IsSoundBitmapFile(data, size);
    if (size >= 4 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) && data[3] == 0)
        return IsSoundIconFile(data, size);
    return true;
}

bool SImageHeader::IsSoundBitmapFile(const uint8_t* data, size_t size)
{
    if (size < kFileHeader + 4)
        return false;
    uint32_t offset = Little(data + 10, 4);
    // No offset means the pixels follow the palette.
    size_t pixels = 0;
    if (offset != 0)
    {
        if (offset <= kFileHeader || offset > size)
            return false;
        pixels = offset - kFileHeader;
    }
    return IsSoundBitmapInfo(data + kFileHeader, size - kFileHeader, pixels, false);
}

bool SImageHeader::IsSoundIconFile(const uint8_t* data, size_t size)
{
    size_t count = Little(data + 4, 2);
    size_t directoryEnd = kIconDirectory + kIconEntry * count;
    if (count == 0 || directoryEnd > size)
        return false;
    for (size_t i = 0; i < count; i++)
    {
        const uint8_t* entry = data + kIconDirectory + kIconEntry * i;
        uint32_t bytes = Little(entry + 8, 4);
        uint32_t offset = Little(entry + 12, 4);
        if (offset < directoryEnd || offset > size || bytes > size - offset)
            return false;
        if (!IsSoundIconImage(data + offset, bytes))
            return false;
    }
    return true;
}

bool SImageHeader::IsSoundIconImage(const uint8_t* data, size_t size)
{
    if (IsPng(data, size))
    {
        // The first chunk is the image header: length, "IHDR", width, height.
        const size_t widthAt = 16;
        return size >= widthAt + 8 && IsSide(Big32(data + widthAt)) && IsSide(Big32(data + widthAt + 4));
    }
    return IsSoundBitmapInfo(data, size, 0, true);
}

bool SImageHeader::IsSoundBitmapInfo(const uint8_t* data, size_t size, size_t pixels, bool iconMask)
{
    if (size < 4)
        return false;
    uint32_t headerSize = Little(data, 4);
    long long width, height;
    uint32_t bits, compression = COMPRESSION_RGB, colors = 0, entryBytes = 4;
    if (headerSize == kBitmapCoreHeader && size >= kBitmapCoreHeader)
    {
        width = Little(data + 4, 2);
        height = Little(data + 6, 2);
        bits = Little(data + 10, 2);
        entryBytes = 3;
    }
    else if (headerSize >= kBitmapInfoHeader && headerSize <= size)
    {
        width = (int32_t)Little(data + 4, 4);
        height = (int32_t)Little(data + 8, 4);
        bits = Little(data + 14, 2);
        compression = Little(data + 16, 4);
        colors = Little(data + 32, 4);
    }
    else
        return false;

    // An icon's height counts its colour bitmap and its mask; a bitmap stored top-down has a negative one.
    long long rows = iconMask ? height / 2 : (height < 0 ? -height : height);
    if (!IsSide(width) || !IsSide(rows) || (iconMask && height < 0))
        return false;
    bool compressed = compression == COMPRESSION_RLE8 || compression == COMPRESSION_RLE4 ||
                      compression == COMPRESSION_JPEG || compression == COMPRESSION_PNG;
    if (compression > COMPRESSION_ALPHABITFIELDS || (iconMask && compressed))
        return false;
    bool embedded = compression == COMPRESSION_JPEG || compression == COMPRESSION_PNG;
    if (!(IsPixelDepth(bits) || (embedded && bits == 0)))
        return false;

    unsigned long long paletteLimit = bits <= 8 && bits > 0 ? 1ull << bits : 0;
    if (paletteLimit && colors > paletteLimit)
        return false;
    unsigned long long entries = colors ? colors : paletteLimit;
    // The colour masks of an information header follow it; later headers hold them inside.
    unsigned long long masks = 0;
    if (headerSize == kBitmapInfoHeader && compression == COMPRESSION_BITFIELDS)
        masks = 12;
    else if (headerSize == kBitmapInfoHeader && compression == COMPRESSION_ALPHABITFIELDS)
        masks = 16;
    unsigned long long paletteEnd = headerSize + masks + entries * entryBytes;
    if (paletteEnd > size)
        return false;

    unsigned long long start = pixels ? pixels : paletteEnd;
    if (start < headerSize || start > size)
        return false;
    if (compressed)
        return start < size;
    unsigned long long needed = RowBytes(width, bits, rows);
    // A mask of one bit per pixel follows every colour bitmap but a 32-bit one, whose alpha replaces it.
    if (iconMask && bits != 32)
        needed += RowBytes(width, 1, rows);
    return needed <= size - start;
}
