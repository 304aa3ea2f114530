#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>
#include <vector>

#include "ImageTestSupport.h"
#include "SByteStream.h"
#include "SFileMem.h"

namespace {

LARGE_INTEGER Offset(long long value)
{
    LARGE_INTEGER offset;
    offset.QuadPart = value;
    return offset;
}

void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    for (int i = 0; i < 2; i++)
        if (at + i < bytes.size())
            bytes[at + i] = (uint8_t)(value >> (8 * i));
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        if (at + i < bytes.size())
            bytes[at + i] = (uint8_t)(value >> (8 * i));
}

void PutU32BigEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        if (at + i < bytes.size())
            bytes[at + i] = (uint8_t)(value >> (24 - 8 * i));
}

std::vector<uint8_t> Saved(const SImage& image, int format)
{
    SFileMem memory;
    memory.Allocate(0);
    EXPECT_TRUE(image.Save(&memory, format));
    return std::vector<uint8_t>(memory.GetBuffer(), memory.GetBuffer() + memory.GetSize());
}

// A 4 x 4 icon of one 32-bit picture, with its AND mask.
std::vector<uint8_t> MakeIcon()
{
    const int side = 4, pixelBytes = side * side * 4, maskBytes = side * 4;
    const uint32_t imageBytes = 40 + pixelBytes + maskBytes;
    std::vector<uint8_t> bytes(6 + 16 + imageBytes, 0);
    PutU16(bytes, 2, 1);   // type: icon
    PutU16(bytes, 4, 1);   // one image
    bytes[6] = side;
    bytes[7] = side;
    PutU16(bytes, 10, 1);  // planes
    PutU16(bytes, 12, 32); // bits per pixel
    PutU32(bytes, 14, imageBytes);
    PutU32(bytes, 18, 22);
    size_t header = 22;
    PutU32(bytes, header, 40);
    PutU32(bytes, header + 4, side);
    PutU32(bytes, header + 8, side * 2);
    PutU16(bytes, header + 12, 1);
    PutU16(bytes, header + 14, 32);
    for (int i = 0; i < side * side; i++)
        PutU32(bytes, header + 40 + i * 4, 0xFF3366CCu);
    return bytes;
}

// Offset of a PNG chunk's length field by its type, or 0.
size_t PngChunk(const std::vector<uint8_t>& png, const char* type)
{
    for (size_t at = 8; at + 8 <= png.size();) {
        uint32_t length = (uint32_t)png[at] << 24 | (uint32_t)png[at + 1] << 16 | (uint32_t)png[at + 2] << 8 | png[at + 3];
        if (memcmp(&png[at + 4], type, 4) == 0)
            return at;
        at += 12 + length;
    }
    return 0;
}

// Offset of the first JPEG segment with the marker, or 0.
size_t JpegSegment(const std::vector<uint8_t>& jpeg, uint8_t marker)
{
    for (size_t at = 2; at + 4 <= jpeg.size();) {
        if (jpeg[at] != 0xFF)
            return 0;
        if (jpeg[at + 1] == marker)
            return at;
        at += 2 + ((size_t)jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return 0;
}

bool LoadsFrom(const std::vector<uint8_t>& bytes)
{
    SFileMem memory;
    memory.Allocate(0);
    memory.Write(bytes.data(), (int)bytes.size());
    memory.Rewind();
    SImage image;
    bool loaded = image.Load(&memory);
    // A picture that loads is a real one.
    if (loaded) {
        EXPECT_GT(image.GetWidth() * image.GetHeight(), 0);
    }
    return loaded;
}

class SByteStreamTest : public GdiplusSuite {};

} // namespace

TEST(SByteStream, ReadsAreBoundedByTheBytes)
{
    SByteStream* stream = SByteStream::Create(std::vector<uint8_t>{1, 2, 3, 4, 5});
    ASSERT_NE(stream, nullptr);
    uint8_t buffer[16];
    memset(buffer, 0xEE, sizeof(buffer));
    ULONG read = 99;
    EXPECT_EQ(stream->Read(buffer, 3, &read), S_OK);
    EXPECT_EQ(read, 3u);
    memset(buffer, 0xEE, sizeof(buffer));
    EXPECT_EQ(stream->Read(buffer, 16, &read), S_FALSE);
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[2], 0xEE);

    ULARGE_INTEGER position;
    // Past the end: allowed, and reads there give nothing.
    EXPECT_EQ(stream->Seek(Offset(1000), STREAM_SEEK_SET, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 1000u);
    EXPECT_EQ(stream->Read(buffer, 16, &read), S_FALSE);
    EXPECT_EQ(read, 0u);
    // Before the start, or wrapping: refused, the position stays.
    EXPECT_EQ(stream->Seek(Offset(-1), STREAM_SEEK_SET, nullptr), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(stream->Seek(Offset(-6), STREAM_SEEK_END, nullptr), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(stream->Seek(Offset(0x7FFFFFFFFFFFFFFFLL), STREAM_SEEK_CUR, nullptr), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(stream->Seek(Offset(-1), STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 4u);
    EXPECT_EQ(stream->Read(buffer, 1, &read), S_OK);
    EXPECT_EQ(buffer[0], 5);

    STATSTG stat;
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 5u);
    ULONG written = 7;
    EXPECT_NE(stream->Write(buffer, 1, &written), S_OK);
    EXPECT_EQ(written, 0u);

    IStream* clone = nullptr;
    ASSERT_EQ(stream->Clone(&clone), S_OK);
    EXPECT_EQ(clone->Seek(Offset(1), STREAM_SEEK_SET, nullptr), S_OK);
    EXPECT_EQ(clone->Read(buffer, 1, &read), S_OK);
    EXPECT_EQ(buffer[0], 2);
    clone->Release();
    EXPECT_EQ(stream->Release(), 0u);
}

// Damaged pictures of every format give a clear false, never a crash; the same
// pictures undamaged still load.
TEST_F(SByteStreamTest, DamagedPicturesOfEveryFormatFailCleanly)
{
    SImage source;
    MakeQuadrants(&source, 16, 16);
    std::vector<uint8_t> png = Saved(source, IMAGE_FORMAT_PNG);
    std::vector<uint8_t> bmp = Saved(source, IMAGE_FORMAT_BMP);
    std::vector<uint8_t> jpeg = Saved(source, IMAGE_FORMAT_JPEG);
    std::vector<uint8_t> icon = MakeIcon();
    for (const auto* valid : {&png, &bmp, &jpeg, &icon})
        ASSERT_TRUE(LoadsFrom(*valid));

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, std::vector<uint8_t> bytes) { cases.push_back({name, std::move(bytes)}); };
    auto cut = [](const std::vector<uint8_t>& bytes, size_t keep) {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + (keep < bytes.size() ? keep : bytes.size()));
    };

    add("png cut in the header", cut(png, 24));
    add("png cut in the pixel data", cut(png, png.size() / 2));
    add("png cut before the end chunk", cut(png, png.size() - 12));
    size_t idat = PngChunk(png, "IDAT");
    ASSERT_GT(idat, 0u);
    std::vector<uint8_t> longChunk = png;
    PutU32BigEndian(longChunk, idat, 0x7FFFFFF0u);
    add("png chunk length past the end", longChunk);
    std::vector<uint8_t> hugeHeader = png;
    PutU32BigEndian(hugeHeader, 8, 0xFFFFFFF0u);
    add("png header length past the end", hugeHeader);

    add("bmp cut in the file header", cut(bmp, 10));
    add("bmp cut in the pixels", cut(bmp, bmp.size() / 2));
    std::vector<uint8_t> bmpOffset = bmp;
    PutU32(bmpOffset, 10, 0x7FFFFFF0u);
    add("bmp pixel offset past the end", bmpOffset);
    std::vector<uint8_t> bmpHeader = bmp;
    PutU32(bmpHeader, 14, 0x7FFFFFF0u);
    add("bmp header size past the end", bmpHeader);

    add("jpeg cut after the start marker", cut(jpeg, 6));
    add("jpeg cut in the scan", cut(jpeg, jpeg.size() / 2));
    size_t frame = JpegSegment(jpeg, 0xC0);
    ASSERT_GT(frame, 0u);
    std::vector<uint8_t> jpegLength = jpeg;
    jpegLength[frame + 2] = 0xFF;
    jpegLength[frame + 3] = 0xFF;
    add("jpeg frame length past the end", cut(jpegLength, frame + 40));

    add("icon cut in the directory", cut(icon, 14));
    add("icon cut in the picture", cut(icon, icon.size() - 20));
    std::vector<uint8_t> iconOffset = icon;
    PutU32(iconOffset, 18, 0x7FFFFFF0u);
    add("icon picture offset past the end", iconOffset);
    std::vector<uint8_t> iconSize = icon;
    PutU32(iconSize, 14, 0x7FFFFFF0u);
    add("icon picture size past the end", iconSize);
    std::vector<uint8_t> iconCount = icon;
    PutU16(iconCount, 4, 60000);
    add("icon count past the end", iconCount);

    for (const Case& c : cases)
        EXPECT_FALSE(LoadsFrom(c.bytes)) << c.name;

    // Seeded mutations of each format: lengths, offsets and bytes set to extreme
    // values and cuts. Whatever they decode to, the process must survive them.
    uint32_t seed = 20261210u;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    int loaded = 0, refused = 0;
    for (const auto* valid : {&png, &bmp, &jpeg, &icon}) {
        for (int round = 0; round < 150; round++) {
            std::vector<uint8_t> bytes = *valid;
            int changes = 1 + (int)(next() % 4);
            for (int i = 0; i < changes; i++) {
                size_t at = next() % bytes.size();
                uint32_t kind = next() % 3;
                if (kind == 0)
                    bytes[at] = (uint8_t)next();
                else
                    for (size_t k = at; k < at + 4 && k < bytes.size(); k++)
                        bytes[k] = kind == 1 ? 0xFF : 0x7F;
            }
            if (next() % 3 == 0)
                bytes.resize(1 + next() % bytes.size());
            (LoadsFrom(bytes) ? loaded : refused)++;
        }
    }
    EXPECT_EQ(loaded + refused, 600);
    EXPECT_GT(refused, 0);
}
