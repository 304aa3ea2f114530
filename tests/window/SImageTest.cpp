#include <gtest/gtest.h>

#include <limits.h>
#include <shlwapi.h>
#include <string.h>
#include <zlib.h>

#include <initializer_list>
#include <vector>

#include "ImageTestSupport.h"
#include "SDraw.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SImage.h"

namespace {

class SImageTest : public GdiplusSuite
{
};

const uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;
const uint32_t kGrey = 0xFF808080u;

// Draws the image at its draw mode into a grey-filled w x h canvas and returns the canvas.
void DrawOnCanvas(const SImage& image, SImage* canvas, int width, int height, const RECT* destination)
{
    ASSERT_TRUE(canvas->Create(width, height, PixelFormat32bppARGB));
    ASSERT_TRUE(canvas->Fill(kGrey));
    Gdiplus::Graphics graphics(canvas->GetBitmap());
    ASSERT_TRUE(image.Draw(&graphics, destination));
}

struct Probe {
    int x, y;
    uint32_t color;
};

// Draws the image at a draw mode into a grey w x h canvas and checks pixels of the result.
void ExpectDrawnPixels(SImage& image, int mode, int width, int height, std::initializer_list<Probe> probes)
{
    image.SetDrawMode(mode);
    SImage canvas;
    RECT destination = {0, 0, width, height};
    ASSERT_NO_FATAL_FAILURE(DrawOnCanvas(image, &canvas, width, height, &destination));
    for (const Probe& probe : probes)
        EXPECT_EQ(probe.color, canvas.GetPixelColor(probe.x, probe.y))
            << "mode " << mode << " at " << probe.x << "," << probe.y;
}

SString TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    SString path;
    path.Format("%smelvora_image_%lu_%s", folder, GetCurrentProcessId(), name);
    return path;
}


// Stores a little-endian value of bytes bytes at offset.
void Put(std::vector<uint8_t>& data, size_t offset, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        data[offset + (size_t)i] = (uint8_t)(value >> (8 * i));
}

// An icon (type 1) or cursor (type 2) file of one side x side picture of the bit count,
// its colour bitmap and mask as the format stores them.
std::vector<uint8_t> MakeIconFile(int type, int side, int bits)
{
    const int colors = bits <= 8 ? 1 << bits : 0;
    const size_t stride = (size_t)((side * bits + 31) / 32) * 4;
    const size_t maskStride = (size_t)((side + 31) / 32) * 4;
    const size_t image = 40 + 4 * (size_t)colors + stride * side + maskStride * side;
    std::vector<uint8_t> data(6 + 16 + image, 0);
    Put(data, 2, (uint32_t)type, 2);
    Put(data, 4, 1, 2);
    data[6] = (uint8_t)side;
    data[7] = (uint8_t)side;
    Put(data, 10, type == 1 ? 1 : 0, 2);
    Put(data, 12, type == 1 ? (uint32_t)bits : 0, 2);
    Put(data, 14, (uint32_t)image, 4);
    Put(data, 18, 22, 4);
    Put(data, 22, 40, 4);
    Put(data, 26, (uint32_t)side, 4);
    Put(data, 30, (uint32_t)(2 * side), 4);
    Put(data, 34, 1, 2);
    Put(data, 36, (uint32_t)bits, 2);
    for (int i = 0; i < colors; i++)
        Put(data, 62 + 4 * (size_t)i, i & 1 ? 0x0000FFu : 0xFF0000u, 4);
    // Pixels: colour index 1 or blue, opaque where the format has alpha.
    size_t pixels = 62 + 4 * (size_t)colors;
    for (int y = 0; y < side; y++)
        for (size_t x = 0; x < stride; x++)
            data[pixels + (size_t)y * stride + x] = bits == 32 ? (x % 4 == 3 ? 0xFF : x % 4 == 0 ? 0xFF : 0) : 0xFF;
    return data;
}

} // namespace

TEST_F(SImageTest, StateAndDrawModeSetting)
{
    SImage image;
    EXPECT_FALSE(image.IsLoaded());
    EXPECT_EQ(0, image.GetWidth());
    EXPECT_EQ(0u, (unsigned)image.GetPixelFormat());
    EXPECT_EQ(0, image.GetBitsPerPixel());
    EXPECT_EQ(COLOR_NONE, image.GetBackColor());
    EXPECT_EQ(COLOR_NONE, image.GetTransparentColor());
    EXPECT_EQ(0, image.SetDrawMode(11));
    EXPECT_EQ(11, image.SetDrawMode(12));
    EXPECT_EQ(0, image.GetDrawMode());
    image.SetDrawMode(5);
    EXPECT_EQ(5, image.SetDrawMode(-1));
    EXPECT_EQ(0, image.GetDrawMode());

    struct Case {
        Gdiplus::PixelFormat format;
        int bits;
    } cases[] = {{PixelFormat1bppIndexed, 1},  {PixelFormat8bppIndexed, 8},  {PixelFormat16bppRGB565, 16},
                 {PixelFormat24bppRGB, 24},    {PixelFormat32bppPARGB, 32},  {PixelFormat48bppRGB, 48},
                 {PixelFormat64bppARGB, 64},   {PixelFormatUndefined, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.bits, SImage::BitsPerPixel(c.format));

    SImage sized(7, 5, PixelFormat24bppRGB);
    EXPECT_TRUE(sized.IsLoaded());
    EXPECT_EQ(7, sized.GetWidth());
    EXPECT_EQ(5, sized.GetHeight());
    EXPECT_EQ(24, sized.GetBitsPerPixel());
    EXPECT_FALSE(sized.Create(0, 5, PixelFormat24bppRGB));
    EXPECT_FALSE(sized.IsLoaded());
}

TEST_F(SImageTest, PixelsRoundTrip)
{
    SImage image;
    MakeQuadrants(&image, 6, 4);
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(8, image.GetDrawMode());
    EXPECT_EQ(kRed, image.GetPixelColor(0, 0));
    EXPECT_EQ(kGreen, image.GetPixelColor(5, 0));
    EXPECT_EQ(kBlue, image.GetPixelColor(0, 3));
    EXPECT_EQ(kWhite, image.GetPixelColor(5, 3));
    EXPECT_EQ(0u, image.GetPixelColor(6, 0));
    uint32_t color = 1;
    EXPECT_FALSE(image.GetPixel(-1, 0, color));

    uint32_t* pixels = image.GetPixels(nullptr);
    ASSERT_NE(nullptr, pixels);
    EXPECT_EQ(kGreen, pixels[5]);
    EXPECT_EQ(kBlue, pixels[3 * 6]);
    pixels[0] = 0x80123456u;
    EXPECT_TRUE(image.SetPixels(pixels));
    delete[] pixels;
    EXPECT_EQ(0x80123456u, image.GetPixelColor(0, 0));
    EXPECT_TRUE(image.SetPixel(1, 1, 0x11223344u));
    EXPECT_TRUE(image.GetPixel(1, 1, color));
    EXPECT_EQ(0x11223344u, color);
    EXPECT_EQ(nullptr, image.GetPixels(nullptr, PixelFormat24bppRGB));

    // A width whose rows are not 4-byte multiples in the source format.
    SImage odd(3, 3, PixelFormat24bppRGB);
    ASSERT_TRUE(odd.Fill(kBlue));
    uint32_t buffer[9 + 1];
    buffer[9] = 0xDEADBEEF;
    ASSERT_EQ(buffer, odd.GetPixels(buffer));
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(kBlue, buffer[i]);
    EXPECT_EQ(0xDEADBEEFu, buffer[9]);

    EXPECT_FALSE(image.CreateFromPixels(nullptr, 2, 2));
    EXPECT_FALSE(image.IsLoaded());
}

TEST_F(SImageTest, SavesAndLoadsEveryFormatThroughMemory)
{
    SImage source;
    MakeQuadrants(&source, 32, 32);
    struct Case {
        int format;
        const char* magic;
        int tolerance;
    } cases[] = {{IMAGE_FORMAT_PNG, "\x89PNG", 0}, {IMAGE_FORMAT_BMP, "BM", 0}, {7, "BM", 0},
                 {IMAGE_FORMAT_GIF, "GIF8", 8},    {IMAGE_FORMAT_JPEG, "\xFF\xD8\xFF", 40}};
    for (const Case& c : cases) {
        SFileMem memory;
        ASSERT_TRUE(source.Save(&memory, c.format)) << c.format;
        EXPECT_EQ(memory.GetSize(), memory.Tell());
        ASSERT_GT(memory.GetSize(), 30) << c.format;
        EXPECT_EQ(0, memcmp(memory.GetBuffer(), c.magic, strlen(c.magic))) << c.format;
        memory.Rewind();
        SImage decoded;
        ASSERT_TRUE(decoded.Load(&memory)) << c.format;
        EXPECT_TRUE(memory.IsEof());
        EXPECT_EQ(32, decoded.GetWidth());
        EXPECT_EQ(32, decoded.GetHeight());
        EXPECT_TRUE(NearColor(kRed, decoded.GetPixelColor(4, 4), c.tolerance)) << c.format;
        EXPECT_TRUE(NearColor(kGreen, decoded.GetPixelColor(27, 4), c.tolerance)) << c.format;
        EXPECT_TRUE(NearColor(kBlue, decoded.GetPixelColor(4, 27), c.tolerance)) << c.format;
        EXPECT_TRUE(NearColor(kWhite, decoded.GetPixelColor(27, 27), c.tolerance)) << c.format;
    }
    SImage empty;
    SFileMem memory;
    EXPECT_FALSE(empty.Save(&memory, IMAGE_FORMAT_PNG));
    EXPECT_EQ(0, memory.GetSize());
}

TEST_F(SImageTest, SavesAndLoadsThroughDiskFiles)
{
    SImage source;
    MakeQuadrants(&source, 16, 16);
    const int formats[] = {IMAGE_FORMAT_PNG, IMAGE_FORMAT_BMP, IMAGE_FORMAT_GIF, IMAGE_FORMAT_JPEG};
    for (int format : formats) {
        SString path = TempPath("disk.img");
        // Removes the file however the case ends (after the files below are closed).
        struct RemovedAtEnd {
            const SString& path;
            ~RemovedAtEnd() { DeleteFileA(path); }
        } removed{path};
        {
            SFilePath file(path, true, true, false);
            ASSERT_TRUE(file.IsOpen());
            file.Write("HEAD", 4);
            ASSERT_TRUE(source.Save(&file, format)) << format;
            EXPECT_EQ(file.GetSize(), file.Tell());
        }
        SFilePath file(path, false, false, true);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_STREQ("HEAD", (const char*)file.ReadString(4));
        SImage decoded;
        ASSERT_TRUE(decoded.Load(&file, -1)) << format;
        EXPECT_TRUE(file.IsEof());
        EXPECT_EQ(16, decoded.GetWidth());
        EXPECT_TRUE(NearColor(kBlue, decoded.GetPixelColor(2, 13), 40)) << format;
        EXPECT_TRUE(NearColor(kGreen, decoded.GetPixelColor(13, 2), 40)) << format;
        file.Close();
    }
}

TEST_F(SImageTest, SaveWritesAtTheStreamPosition)
{
    SImage source;
    MakeQuadrants(&source, 8, 8);
    SFileMem memory;
    memory.Write("ABC", 3);
    ASSERT_TRUE(source.Save(&memory, IMAGE_FORMAT_PNG));
    int end = memory.Tell();
    EXPECT_EQ(memory.GetSize(), end);
    memory.Write("XYZ", 3);
    EXPECT_EQ(0, memcmp(memory.GetBuffer(), "ABC", 3));

    // Load takes just the counted bytes and leaves the position behind them.
    memory.Seek(3);
    SImage decoded;
    ASSERT_TRUE(decoded.Load(&memory, end - 3));
    EXPECT_EQ(end, memory.Tell());
    EXPECT_EQ(kWhite, decoded.GetPixelColor(7, 7));
    EXPECT_STREQ("XYZ", (const char*)memory.ReadString(3));
}

TEST_F(SImageTest, DamagedDataFailsCleanly)
{
    SImage source;
    MakeQuadrants(&source, 16, 16);
    SFileMem png;
    ASSERT_TRUE(source.Save(&png, IMAGE_FORMAT_PNG));
    SFileMem jpeg;
    ASSERT_TRUE(source.Save(&jpeg, IMAGE_FORMAT_JPEG));

    // A bitmap header that claims 30000 x 30000 pixels of 32 bits, followed by no pixels.
    uint8_t huge[54] = {'B', 'M'};
    huge[2] = 54;
    huge[10] = 54;
    huge[14] = 40;
    const uint32_t side = 30000;
    memcpy(huge + 18, &side, 4);
    memcpy(huge + 22, &side, 4);
    huge[26] = 1;
    huge[28] = 32;

    // A PNG whose compressed pixel data is damaged (its checksum no longer matches).
    std::vector<uint8_t> scrambled(png.GetBuffer(), png.GetBuffer() + png.GetSize());
    for (size_t i = 45; i < 60 && i < scrambled.size(); i++)
        scrambled[i] ^= 0x5A;

    struct Case {
        const char* name;
        const uint8_t* bytes;
        int count;
    } cases[] = {
        {"huge bitmap without pixels", huge, (int)sizeof(huge)},
        {"png with damaged pixel data", scrambled.data(), (int)scrambled.size()},
        {"empty", png.GetBuffer(), 0},
        {"png signature only", png.GetBuffer(), 8},
        {"png header cut", png.GetBuffer(), 20},
        {"jpeg markers only", jpeg.GetBuffer(), 4},
        {"text", reinterpret_cast<const uint8_t*>("this is not a picture at all, just words"), 40},
        {"bmp magic with nothing", reinterpret_cast<const uint8_t*>("BM\x10\0\0\0\0\0\0\0"), 10},
    };
    for (const Case& c : cases) {
        SImage image;
        MakeQuadrants(&image, 4, 4);
        SFileMem damaged;
        damaged.Allocate(0);
        damaged.Write(c.bytes, c.count);
        damaged.Rewind();
        EXPECT_FALSE(image.Load(&damaged)) << c.name;
        EXPECT_FALSE(image.IsLoaded()) << c.name;
    }

    SImage kept;
    MakeQuadrants(&kept, 4, 4);
    EXPECT_FALSE(kept.Load(nullptr));
    EXPECT_TRUE(kept.IsLoaded());
    png.SeekEnd();
    EXPECT_FALSE(kept.Load(&png));
    EXPECT_FALSE(kept.IsLoaded());
    EXPECT_FALSE(kept.LoadResource("NOPE", "BINARY"));
}

TEST_F(SImageTest, SoundIconsLoad)
{
    struct Case { int side, bits; };
    const Case cases[] = {{16, 32}, {32, 32}, {16, 8}, {16, 4}, {32, 1}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = MakeIconFile(1, c.side, c.bits);
        SFileMem file;
        file.Allocate(0);
        file.Write(bytes.data(), (int)bytes.size());
        file.Rewind();
        SImage image;
        ASSERT_TRUE(image.Load(&file)) << c.side << " px, " << c.bits << " bits";
        EXPECT_EQ(c.side, image.GetWidth()) << c.bits;
        EXPECT_EQ(c.side, image.GetHeight()) << c.bits;
        EXPECT_TRUE(NearColor(kBlue, image.GetPixelColor(c.side / 2, c.side / 2), 0)) << c.bits;
    }
}

TEST_F(SImageTest, DamagedIconCursorAndBitmapHeadersAreRefused)
{
    SImage quadrants;
    MakeQuadrants(&quadrants, 32, 32);
    SFileMem bmpFile;
    ASSERT_TRUE(quadrants.Save(&bmpFile, IMAGE_FORMAT_BMP));
    const std::vector<uint8_t> bmp(bmpFile.GetBuffer(), bmpFile.GetBuffer() + bmpFile.GetSize());
    const std::vector<uint8_t> icon = MakeIconFile(1, 16, 32);
    const std::vector<uint8_t> palette = MakeIconFile(1, 16, 8);
    const std::vector<uint8_t> cursor = MakeIconFile(2, 16, 32);
    const std::vector<uint8_t> mono = MakeIconFile(1, 16, 1);
    ASSERT_EQ(40u, (unsigned)bmp[14]);

    struct Patch { size_t offset; uint32_t value; int bytes; };
    struct Case {
        const char* name;
        const std::vector<uint8_t>* base;
        std::vector<Patch> patches;
        size_t keep; // bytes kept from the start, 0 for all
    };
    const Case cases[] = {
        {"icon width 0x08000004, cut to 142 bytes", &icon, {{26, 0x08000004u, 4}}, 142},
        {"icon width 0x08000004", &icon, {{26, 0x08000004u, 4}}, 0},
        {"two-colour icon width 0x08000004, cut to 142 bytes", &mono, {{26, 0x08000004u, 4}}, 142},
        {"icon width 32768", &icon, {{26, 32768, 4}}, 0},
        {"icon width negative", &icon, {{26, 0xFFFFFFF0u, 4}}, 0},
        {"icon height 0x7FFFFFF0", &icon, {{30, 0x7FFFFFF0u, 4}}, 0},
        {"icon height zero", &icon, {{30, 0, 4}}, 0},
        {"icon of 4096 x 4096 in 1 KB", &icon, {{26, 4096, 4}, {30, 8192, 4}}, 0},
        {"icon image past the end", &icon, {{18, 0x7FFFFF00u, 4}}, 0},
        {"icon image size past the end", &icon, {{14, 0x7FFFFFF0u, 4}}, 0},
        {"icon image cut", &icon, {}, 600},
        {"icon directory of 5000 images", &icon, {{4, 5000, 2}}, 0},
        {"icon without images", &icon, {{4, 0, 2}}, 0},
        {"icon header size absurd", &icon, {{22, 0x7FFFFFFFu, 4}}, 0},
        {"icon of 33 bits", &icon, {{36, 33, 2}}, 0},
        {"icon palette of 2^30 colours", &palette, {{54, 0x40000000u, 4}}, 0},
        {"cursor width 0x08000004", &cursor, {{26, 0x08000004u, 4}}, 0},
        {"cursor height 0x7FFFFFF0", &cursor, {{30, 0x7FFFFFF0u, 4}}, 0},
        {"cursor image past the end", &cursor, {{18, 0x7FFFFF00u, 4}}, 0},
        {"bitmap width 40000", &bmp, {{18, 40000, 4}}, 0},
        {"bitmap width 0x08000004", &bmp, {{18, 0x08000004u, 4}}, 0},
        {"bitmap height -40000", &bmp, {{22, (uint32_t)-40000, 4}}, 0},
        {"bitmap height 0x80000000", &bmp, {{22, 0x80000000u, 4}}, 0},
        {"bitmap pixels past the end", &bmp, {{10, 0x7FFFFF00u, 4}}, 0},
        {"bitmap pixels cut", &bmp, {}, 54 + 32 * 32 * 2},
        {"bitmap palette of 2^30 colours", &bmp, {{46, 0x40000000u, 4}}, 0},
        {"bitmap header size absurd", &bmp, {{14, 0x7FFFFFF0u, 4}}, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = *c.base;
        for (const Patch& patch : c.patches)
            Put(bytes, patch.offset, patch.value, patch.bytes);
        if (c.keep)
            bytes.resize(c.keep);
        SImage image;
        MakeQuadrants(&image, 4, 4);
        SFileMem damaged;
        damaged.Allocate(0);
        damaged.Write(bytes.data(), (int)bytes.size());
        damaged.Rewind();
        EXPECT_FALSE(image.Load(&damaged)) << c.name;
        EXPECT_FALSE(image.IsLoaded()) << c.name;
    }
}

TEST_F(SImageTest, AlignedDrawModesPlaceAndClip)
{
    SImage image;
    MakeQuadrants(&image, 40, 40);
    SImage canvas;
    RECT destination = {0, 0, 30, 30};

    ExpectDrawnPixels(image, 0, 30, 30,
                      {{0, 0, kRed}, {25, 0, kGreen}, {0, 25, kBlue}, {29, 29, kWhite}, {19, 19, kRed}});
    ExpectDrawnPixels(image, 7, 30, 30, {{0, 0, kRed}, {9, 9, kRed}, {10, 10, kWhite}, {29, 29, kWhite}});

    SImage small;
    MakeQuadrants(&small, 10, 10);
    struct Case {
        int mode;
        int left, top;
    } cases[] = {{0, 0, 0},   {1, 10, 0},  {2, 20, 0},  {3, 0, 10}, {4, 20, 10},
                 {5, 0, 20},  {6, 10, 20}, {7, 20, 20}, {8, 10, 10}};
    for (const Case& c : cases) {
        small.SetDrawMode(c.mode);
        DrawOnCanvas(small, &canvas, 30, 30, &destination);
        EXPECT_EQ(kRed, canvas.GetPixelColor(c.left, c.top)) << c.mode;
        EXPECT_EQ(kWhite, canvas.GetPixelColor(c.left + 9, c.top + 9)) << c.mode;
        if (c.left > 0) {
            EXPECT_EQ(kGrey, canvas.GetPixelColor(c.left - 1, c.top)) << c.mode;
        }
        if (c.top + 10 < 30) {
            EXPECT_EQ(kGrey, canvas.GetPixelColor(c.left, c.top + 10)) << c.mode;
        }
    }
}

TEST_F(SImageTest, BackColorFillsOnlyOutsideThePicture)
{
    SImage small;
    MakeQuadrants(&small, 10, 10);
    small.SetBackColor(0x00FFFF);  // yellow as a library colour
    ExpectDrawnPixels(small, 8, 30, 30,
                      {{0, 0, 0xFFFFFF00u}, {29, 15, 0xFFFFFF00u}, {10, 10, kRed}, {19, 19, kWhite}});
    small.SetBackColor(COLOR_TRANSPARENT);
    ExpectDrawnPixels(small, 8, 30, 30, {{0, 0, kGrey}});

    // The canvas clip is restored after the fill.
    small.SetBackColor(0x00FFFF);
    SImage canvas(30, 30, PixelFormat32bppARGB);
    ASSERT_TRUE(canvas.Fill(kGrey));
    RECT destination = {0, 0, 30, 30};
    Gdiplus::Graphics graphics(canvas.GetBitmap());
    ASSERT_TRUE(small.Draw(&graphics, &destination));
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    graphics.FillRectangle(&black, 0, 0, 30, 30);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    EXPECT_EQ(0xFF000000u, canvas.GetPixelColor(15, 15));
}

TEST_F(SImageTest, ScaledTiledAndFittedModes)
{
    SImage small;
    MakeQuadrants(&small, 4, 4);
    SImage canvas;
    RECT destination = {0, 0, 40, 40};

    ExpectDrawnPixels(small, 9, 40, 40, {{5, 5, kRed}, {34, 5, kGreen}, {5, 34, kBlue}, {34, 34, kWhite}});

    small.SetDrawMode(10);
    DrawOnCanvas(small, &canvas, 40, 40, &destination);
    for (int y = 0; y < 40; y += 4)
        for (int x = 0; x < 40; x += 4) {
            EXPECT_EQ(kRed, canvas.GetPixelColor(x, y)) << x << "," << y;
            EXPECT_EQ(kWhite, canvas.GetPixelColor(x + 3, y + 3)) << x << "," << y;
        }

    SImage wide;
    MakeQuadrants(&wide, 20, 10);
    ExpectDrawnPixels(wide, 11, 40, 40,
                      {{9, 20, kGrey}, {11, 16, kRed}, {28, 23, kWhite}, {31, 20, kGrey}, {20, 13, kGrey}});
    // With a back colour the fitted picture is surrounded by it.
    wide.SetBackColor(0x000000);
    ExpectDrawnPixels(wide, 11, 40, 40, {{0, 0, 0xFF000000u}, {11, 16, kRed}});
}

TEST_F(SImageTest, DrawAtTakesTheImageSizeAndTheBrushTiles)
{
    SImage small;
    MakeQuadrants(&small, 4, 4);
    small.SetDrawMode(0);
    small.SetName("tile");
    EXPECT_STREQ("tile", (const char*)small.GetName());
    SImage canvas(20, 20, PixelFormat32bppARGB);
    ASSERT_TRUE(canvas.Fill(kGrey));
    Gdiplus::TextureBrush* brush = small.CreateTextureBrush();
    ASSERT_NE(nullptr, brush);
    {
        Gdiplus::Graphics graphics(canvas.GetBitmap());
        ASSERT_TRUE(small.DrawAt(&graphics, 10, 10));
        graphics.FillRectangle(brush, 0, 0, 8, 8);
    }
    delete brush;
    const Probe probes[] = {{10, 10, kRed}, {13, 13, kWhite}, {14, 14, kGrey}, {9, 9, kGrey},
                            {4, 0, kRed},   {7, 7, kWhite},   {8, 8, kGrey}};
    for (const Probe& probe : probes)
        EXPECT_EQ(probe.color, canvas.GetPixelColor(probe.x, probe.y)) << probe.x << "," << probe.y;
    SImage empty;
    EXPECT_EQ(nullptr, empty.CreateTextureBrush());
}

TEST_F(SImageTest, ColorKeyedPixelsAreNotDrawn)
{
    SImage image;
    MakeQuadrants(&image, 10, 10);
    image.SetTransparentColor(0x0000FF);  // red as a library colour
    ExpectDrawnPixels(image, 8, 10, 10, {{1, 1, kGrey}, {8, 1, kGreen}, {1, 8, kBlue}});
}

TEST_F(SImageTest, PixelEditing)
{
    SImage image;
    std::vector<uint32_t> pixels = {0xFFFF0000u, 0x80FF0000u, 0x2000FF00u, 0xFF0000FFu};
    ASSERT_TRUE(image.CreateFromPixels(pixels.data(), 2, 2));

    EXPECT_TRUE(image.SetAlpha(0x40, nullptr, true));
    EXPECT_EQ(0x40FF0000u, image.GetPixelColor(0, 0));
    EXPECT_EQ(0x40FF0000u, image.GetPixelColor(1, 0));
    EXPECT_EQ(0x2000FF00u, image.GetPixelColor(0, 1));
    RECT one = {1, 1, 2, 2};
    EXPECT_TRUE(image.SetAlpha(0x10, &one, false));
    EXPECT_EQ(0x100000FFu, image.GetPixelColor(1, 1));
    EXPECT_EQ(0x2000FF00u, image.GetPixelColor(0, 1));

    ASSERT_TRUE(image.CreateFromPixels(pixels.data(), 2, 2));
    EXPECT_TRUE(image.MakeGrayscale(nullptr));
    EXPECT_EQ(0xFF4C4C4Cu, image.GetPixelColor(0, 0));
    EXPECT_EQ(0x804C4C4Cu, image.GetPixelColor(1, 0));
    EXPECT_EQ(0x20959595u, image.GetPixelColor(0, 1));
    EXPECT_EQ(0xFF1D1D1Du, image.GetPixelColor(1, 1));

    ASSERT_TRUE(image.CreateFromPixels(pixels.data(), 2, 2));
    EXPECT_TRUE(image.ReplaceTranslucentWithWhite());
    EXPECT_EQ(0xFFFF0000u, image.GetPixelColor(0, 0));
    EXPECT_EQ(0xFFFFFFFFu, image.GetPixelColor(1, 0));
    EXPECT_EQ(0xFFFFFFFFu, image.GetPixelColor(0, 1));

    RECT block = {0, 0, 1, 2};
    EXPECT_TRUE(image.Fill(0x80102030u, &block));
    EXPECT_EQ(0x80102030u, image.GetPixelColor(0, 1));
    EXPECT_EQ(0xFF0000FFu, image.GetPixelColor(1, 1));

    SImage indexed(4, 4, PixelFormat8bppIndexed);
    ASSERT_TRUE(indexed.IsLoaded());
    EXPECT_FALSE(indexed.SetAlpha(10));
    EXPECT_FALSE(indexed.MakeGrayscale());
    SImage empty;
    EXPECT_FALSE(empty.Fill(kRed));
    EXPECT_FALSE(empty.ReplaceTranslucentWithWhite());
}

// Stretching: edge colours kept, a smooth ramp between neighbours, no colour
// lent by transparent pixels, and 24-bit pictures through the same results as
// their 32-bit copies.
TEST_F(SImageTest, ResizeBlendsNeighboursAndKeepsEdges)
{
    struct Case
    {
        const char* name;
        std::vector<uint32_t> pixels;
        int width, height, toWidth, toHeight;
        int x, y;
        uint32_t expected;
    };
    const uint32_t black = 0xFF000000u, white = 0xFFFFFFFFu, clear = 0x0000FF00u, red = 0xFFFF0000u;
    const Case cases[] = {
        {"left edge stays black", {black, white}, 2, 1, 8, 1, 0, 0, black},
        {"right edge stays white", {black, white}, 2, 1, 8, 1, 7, 0, white},
        {"middle is half way", {black, white}, 2, 1, 4, 1, 1, 0, 0xFF404040u},
        {"uniform stays uniform", {red, red, red, red}, 2, 2, 150, 150, 77, 91, red},
        {"shrunk blocks keep their colour", {red, red, white, white, red, red, white, white, black, black, red, red,
                                            black, black, red, red}, 4, 4, 2, 2, 1, 0, white},
        {"transparent lends no colour", {red, clear}, 2, 1, 4, 1, 1, 0, 0xBFFF0000u},
        {"fully transparent stays so", {clear, clear}, 2, 1, 5, 1, 2, 0, 0x00000000u},
    };
    for (const Case& c : cases) {
        SImage image;
        ASSERT_TRUE(image.CreateFromPixels(c.pixels.data(), c.width, c.height)) << c.name;
        ASSERT_TRUE(image.Resize(c.toWidth, c.toHeight)) << c.name;
        EXPECT_EQ(c.toWidth, image.GetWidth()) << c.name;
        EXPECT_EQ(c.toHeight, image.GetHeight()) << c.name;
        const uint32_t got = image.GetPixelColor(c.x, c.y);
        // A fully transparent pixel has no colour to compare.
        if ((c.expected >> 24) == 0)
            EXPECT_EQ(0u, got >> 24) << c.name;
        else
            EXPECT_EQ(c.expected, got) << c.name << std::hex << " got " << got;
    }

    // The ramp rises step by step.
    SImage ramp;
    const uint32_t ends[] = {black, white};
    ASSERT_TRUE(ramp.CreateFromPixels(ends, 2, 1));
    ASSERT_TRUE(ramp.Resize(32, 1));
    uint32_t previous = 0;
    for (int x = 0; x < 32; x++) {
        const uint32_t level = ramp.GetPixelColor(x, 0) & 0xFF;
        EXPECT_GE(level, previous) << x;
        previous = level;
    }

    // A 24-bit picture scales as its 32-bit copy does.
    SImage wide, copy;
    MakeQuadrants(&wide, 8, 8);
    ASSERT_TRUE(wide.ConvertPixelFormat(PixelFormat24bppRGB));
    ASSERT_TRUE(copy.Assign(&wide));
    ASSERT_TRUE(copy.ConvertPixelFormat(PixelFormat32bppARGB));
    ASSERT_TRUE(wide.Resize(13, 7));
    ASSERT_TRUE(copy.Resize(13, 7));
    for (int y = 0; y < 7; y++)
        for (int x = 0; x < 13; x++)
            EXPECT_EQ(copy.GetPixelColor(x, y), wide.GetPixelColor(x, y)) << x << "," << y;
}

TEST_F(SImageTest, RotateResizeAndConvert)
{
    SImage image;
    MakeQuadrants(&image, 8, 4);
    EXPECT_TRUE(image.Rotate(5));
    EXPECT_EQ(4, image.GetWidth());
    EXPECT_EQ(8, image.GetHeight());
    EXPECT_EQ(kBlue, image.GetPixelColor(0, 0));  // bottom-left came to the top-left
    EXPECT_EQ(kRed, image.GetPixelColor(3, 0));
    EXPECT_FALSE(image.Rotate(-1));
    EXPECT_TRUE(image.Rotate(4));
    EXPECT_EQ(4, image.GetWidth());

    MakeQuadrants(&image, 8, 8);
    EXPECT_FALSE(image.Resize(8, 8));
    EXPECT_EQ(kRed, image.GetPixelColor(0, 0));
    int mode = image.GetDrawMode();
    ASSERT_TRUE(image.Resize(16, 4));
    EXPECT_EQ(16, image.GetWidth());
    EXPECT_EQ(4, image.GetHeight());
    EXPECT_EQ(mode, image.GetDrawMode());
    EXPECT_EQ(kRed, image.GetPixelColor(1, 0));
    EXPECT_EQ(kWhite, image.GetPixelColor(14, 3));
    EXPECT_FALSE(image.Resize(-5, 4));
    EXPECT_TRUE(image.IsLoaded());

    MakeQuadrants(&image, 4, 4);
    image.SetBackColor(0x000000);
    ASSERT_TRUE(image.ResizeCanvas(8, 8));
    EXPECT_EQ(0xFF000000u, image.GetPixelColor(0, 0));
    EXPECT_EQ(kRed, image.GetPixelColor(2, 2));
    EXPECT_EQ(kWhite, image.GetPixelColor(5, 5));
    EXPECT_EQ(0xFF000000u, image.GetPixelColor(6, 6));

    ASSERT_TRUE(image.ConvertPixelFormat(PixelFormat24bppRGB));
    EXPECT_EQ(24, image.GetBitsPerPixel());
    EXPECT_EQ(kRed, image.GetPixelColor(2, 2));
    EXPECT_EQ(0xFF000000u, image.GetPixelColor(7, 0));
}

TEST_F(SImageTest, CopiesAndGdiConversions)
{
    SImage source;
    MakeQuadrants(&source, 10, 10);
    SImage part;
    ASSERT_TRUE(part.CopyRegion(&source, 5, 0, -1, 5));
    EXPECT_EQ(5, part.GetWidth());
    EXPECT_EQ(kGreen, part.GetPixelColor(0, 0));
    EXPECT_FALSE(part.CopyRegion(&source, 8, 8, 5, 5));
    EXPECT_FALSE(part.IsLoaded());
    EXPECT_FALSE(part.CopyRegion(&source, 5, 5, INT_MAX, 2));
    EXPECT_FALSE(part.CopyRegion(&source, 5, 5, 2, INT_MAX));
    EXPECT_FALSE(part.CopyRegion(nullptr, 0, 0, 1, 1));
    ASSERT_TRUE(part.Assign(&source));
    EXPECT_EQ(10, part.GetHeight());
    ASSERT_TRUE(part.CopyRegion(&part, 5, 5, 5, 5));
    EXPECT_EQ(kWhite, part.GetPixelColor(0, 0));

    // A translucent pixel keeps its alpha through a 32-bit GDI bitmap.
    source.SetPixel(0, 0, 0x80FF0000u);
    HBITMAP bitmap = source.GetHBitmap32(false);
    ASSERT_NE(nullptr, bitmap);
    SImage back;
    ASSERT_TRUE(back.FromHBitmap(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(0x80u, back.GetPixelColor(0, 0) >> 24);
    EXPECT_EQ(kWhite, back.GetPixelColor(9, 9));

    SImage rgb(4, 4, PixelFormat24bppRGB);
    rgb.Fill(kBlue);
    EXPECT_EQ(nullptr, rgb.GetHBitmap32(false));
    bitmap = rgb.GetHBitmap32(true);
    ASSERT_NE(nullptr, bitmap);
    ASSERT_TRUE(back.FromHBitmap(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(kBlue, back.GetPixelColor(3, 3));

    HICON icon = source.GetHIcon();
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);
    SImage empty;
    EXPECT_EQ(nullptr, empty.GetHIcon());
    EXPECT_EQ(nullptr, empty.GetHBitmap());
    EXPECT_FALSE(empty.FromHBitmap(nullptr));
}

TEST_F(SImageTest, FromScreenCopiesADeviceContext)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 20, 20}, corner = {10, 10, 20, 20};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, green);
    FillRect(dc, &corner, blue);
    SImage image;
    ASSERT_TRUE(image.FromScreen(dc, 5, 5, 10, 10));
    EXPECT_EQ(10, image.GetWidth());
    EXPECT_EQ(kGreen, image.GetPixelColor(0, 0));
    EXPECT_EQ(kBlue, image.GetPixelColor(9, 9));
    EXPECT_FALSE(image.FromScreen(dc, 0, 0, 0, 10));
    SelectObject(dc, old);
    DeleteObject(green);
    DeleteObject(blue);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(SImageTest, RegionKeepsEveryPixelThatDiffersFromTheKey)
{
    SImage image(6, 4, PixelFormat32bppARGB);
    ASSERT_TRUE(image.Fill(0xFFFF00FFu));  // magenta key everywhere
    RECT inner = {1, 1, 5, 3};
    ASSERT_TRUE(image.Fill(kBlue, &inner));
    image.SetPixel(0, 0, 0xFFFE00FFu);  // one channel off the key: kept
    HRGN region = image.CreateRegion(RGB(255, 0, 255));
    ASSERT_NE(nullptr, region);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 1, 1));
    EXPECT_TRUE(PtInRegion(region, 4, 2));
    EXPECT_FALSE(PtInRegion(region, 5, 1));
    EXPECT_FALSE(PtInRegion(region, 1, 3));
    EXPECT_FALSE(PtInRegion(region, 1, 0));
    DeleteObject(region);

    // More rectangles than one flush holds: one run per row in 2500 rows.
    SImage tall(3, 2500, PixelFormat32bppARGB);
    ASSERT_TRUE(tall.Fill(0xFFFF00FFu));
    RECT column = {1, 0, 2, 2500};
    ASSERT_TRUE(tall.Fill(kBlue, &column));
    region = tall.CreateRegion(RGB(255, 0, 255));
    ASSERT_NE(nullptr, region);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(1, box.left);
    EXPECT_EQ(2, box.right);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(2500, box.bottom);
    EXPECT_TRUE(PtInRegion(region, 1, 2100));
    DeleteObject(region);

    SImage empty;
    EXPECT_EQ(nullptr, empty.CreateRegion(0));
}

TEST_F(SImageTest, FromImageListTakesOneCell)
{
    HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 0, 4);
    ASSERT_NE(nullptr, list);
    const uint32_t colors[] = {kRed, kGreen, kBlue};
    for (uint32_t color : colors) {
        SImage cell(8, 8, PixelFormat32bppARGB);
        cell.Fill(color);
        HBITMAP bitmap = cell.GetHBitmap32(true);
        ASSERT_GE(ImageList_Add(list, bitmap, nullptr), 0);
        DeleteObject(bitmap);
    }
    SImage image;
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(image.FromImageList(list, i)) << i;
        EXPECT_EQ(8, image.GetWidth());
        EXPECT_EQ(8, image.GetHeight());
        EXPECT_EQ(colors[i] & 0xFFFFFF, image.GetPixelColor(4, 4) & 0xFFFFFF) << i;
    }
    EXPECT_TRUE(image.FromImageList(list, -1));
    EXPECT_GE(image.GetWidth() * image.GetHeight(), 3 * 64);
    EXPECT_FALSE(image.FromImageList(list, 3));
    EXPECT_FALSE(image.IsLoaded());
    EXPECT_FALSE(image.FromImageList(list, -2));
    EXPECT_FALSE(image.FromImageList(nullptr, 0));
    ImageList_Destroy(list);
}

namespace {

void PutBig(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((uint8_t)(value >> shift));
}

void AddChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body)
{
    PutBig(out, (uint32_t)body.size());
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBig(out, (uint32_t)crc32(0, out.data() + start, (uInt)(out.size() - start)));
}

// A PNG of width x height pixels in the colour type and bit depth, the extra chunks
// before its pixel data; every pixel's samples come from the pixel's position.
struct PngChunk {
    const char* type;
    std::vector<uint8_t> body;
};
std::vector<uint8_t> MakePng(int width, int height, int colorType, int depth, const std::vector<PngChunk>& extra)
{
    const int channels = colorType == 6 ? 4 : colorType == 2 ? 3 : colorType == 4 ? 2 : 1;
    const size_t rowBytes = ((size_t)width * channels * depth + 7) / 8;
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        for (size_t i = 0; i < rowBytes; i++)
            raw.push_back((uint8_t)(y * 37 + i * 11 + (i % 4 == 3 ? 128 : 0)));
    }
    std::vector<uint8_t> packed(compressBound((uLong)raw.size()));
    uLongf packedSize = (uLongf)packed.size();
    compress(packed.data(), &packedSize, raw.data(), (uLong)raw.size());
    packed.resize(packedSize);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig(header, (uint32_t)width);
    PutBig(header, (uint32_t)height);
    header.push_back((uint8_t)depth);
    header.push_back((uint8_t)colorType);
    header.insert(header.end(), {0, 0, 0});
    AddChunk(png, "IHDR", header);
    for (const PngChunk& chunk : extra)
        AddChunk(png, chunk.type, chunk.body);
    AddChunk(png, "IDAT", packed);
    AddChunk(png, "IEND", {});
    return png;
}

// What GDI+ itself makes of the bytes: format, size, resolution and every pixel, or null.
struct Decoded {
    Gdiplus::PixelFormat format = 0;
    int width = 0, height = 0;
    float dpiX = 0, dpiY = 0;
    std::vector<uint32_t> pixels;
};
bool DescribeBitmap(Gdiplus::Bitmap* bitmap, Decoded* out)
{
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return false;
    out->format = bitmap->GetPixelFormat();
    out->width = (int)bitmap->GetWidth();
    out->height = (int)bitmap->GetHeight();
    out->dpiX = bitmap->GetHorizontalResolution();
    out->dpiY = bitmap->GetVerticalResolution();
    out->pixels.assign((size_t)out->width * out->height, 0);
    Gdiplus::Rect all(0, 0, out->width, out->height);
    Gdiplus::BitmapData data;
    data.Width = (UINT)out->width;
    data.Height = (UINT)out->height;
    data.Stride = out->width * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = out->pixels.data();
    data.Reserved = 0;
    return bitmap->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                            PixelFormat32bppARGB, &data) == Gdiplus::Ok &&
           bitmap->UnlockBits(&data) == Gdiplus::Ok;
}

bool DecodeByGdiplus(const std::vector<uint8_t>& bytes, Decoded* out)
{
    IStream* stream = SHCreateMemStream(bytes.data(), (UINT)bytes.size());
    if (!stream)
        return false;
    Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromStream(stream, FALSE);
    bool done = DescribeBitmap(bitmap, out);
    delete bitmap;
    stream->Release();
    return done;
}

bool LoadBytes(SImage* image, const std::vector<uint8_t>& bytes)
{
    SFileMem file;
    file.Allocate(0);
    file.Write(bytes.data(), (int)bytes.size());
    file.Rewind();
    return image->Load(&file);
}

// The loaded picture is what GDI+ made of the same bytes: format, size, resolution, pixels.
void ExpectAsGdiplus(const Decoded& expected, const SImage& image, int width, int height, const char* name)
{
    Decoded loaded;
    ASSERT_TRUE(DescribeBitmap(image.GetBitmap(), &loaded)) << name;
    EXPECT_EQ(expected.format, loaded.format) << name;
    EXPECT_EQ(width, loaded.width) << name;
    EXPECT_EQ(height, loaded.height) << name;
    EXPECT_FLOAT_EQ(expected.dpiX, loaded.dpiX) << name;
    EXPECT_FLOAT_EQ(expected.dpiY, loaded.dpiY) << name;
    EXPECT_TRUE(expected.pixels == loaded.pixels) << name;
}

} // namespace

TEST_F(SImageTest, PlainPngsSkipTheCodecSearchAndDecodeAsGdiplusDoes)
{
    std::vector<uint8_t> dpi200;
    PutBig(dpi200, 7874);
    PutBig(dpi200, 7874);
    dpi200.push_back(1);
    const std::vector<uint8_t> gamma = {0, 0, 0xB1, 0x8F};
    const std::vector<uint8_t> key = {0, 1, 0, 2, 0, 3};
    const std::vector<uint8_t> palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    struct Case {
        const char* name;
        int colorType, depth;
        std::vector<PngChunk> extra;
        bool direct;
    } cases[] = {
        {"rgba", 6, 8, {}, true},
        {"rgb", 2, 8, {}, true},
        {"rgba at 200 dpi with a text", 6, 8, {{"pHYs", dpi200}, {"tEXt", {'a', 0, 'b'}}}, true},
        {"rgba with gamma", 6, 8, {{"gAMA", gamma}}, false},
        {"rgb with a transparent colour", 2, 8, {{"tRNS", key}}, false},
        {"rgba of 16-bit samples", 6, 16, {}, false},
        {"grey", 0, 8, {}, false},
        {"grey with alpha", 4, 8, {}, false},
        {"palette", 3, 8, {{"PLTE", palette}}, false},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = MakePng(13, 7, c.colorType, c.depth, c.extra);
        Decoded expected;
        ASSERT_TRUE(DecodeByGdiplus(bytes, &expected)) << c.name;
        const int before = SImage::GetDirectDecodeCount();
        SImage image;
        ASSERT_TRUE(LoadBytes(&image, bytes)) << c.name;
        EXPECT_EQ(c.direct ? before + 1 : before, SImage::GetDirectDecodeCount()) << c.name;
        ExpectAsGdiplus(expected, image, 13, 7, c.name);
    }
}

// A JPEG decodes through the system's decoder straight away, to what GDI+ makes of
// it; one cut short gives what GDI+ gives (a failure or the same pixels), never a crash.
TEST_F(SImageTest, JpegsSkipTheCodecSearchAndDecodeAsGdiplusDoes)
{
    SImage source;
    MakeQuadrants(&source, 40, 24);
    SFileMem encoded;
    encoded.Allocate(0);
    ASSERT_TRUE(source.Save(&encoded, IMAGE_FORMAT_JPEG));
    const uint8_t* start = encoded.GetBuffer();
    const std::vector<uint8_t> whole(start, start + encoded.GetSize());
    ASSERT_GT(whole.size(), 100u);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool direct;
    } cases[] = {
        {"whole", whole, true},
        {"cut in half", std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2), false},
        {"header only", std::vector<uint8_t>(whole.begin(), whole.begin() + 20), false},
    };
    for (const Case& c : cases) {
        Decoded expected;
        const bool gdiplus = DecodeByGdiplus(c.bytes, &expected);
        const int before = SImage::GetDirectDecodeCount();
        SImage image;
        const bool loaded = LoadBytes(&image, c.bytes);
        EXPECT_EQ(gdiplus, loaded) << c.name;
        if (c.direct)
            EXPECT_EQ(before + 1, SImage::GetDirectDecodeCount()) << c.name;
        if (!gdiplus || !loaded)
            continue;
        ExpectAsGdiplus(expected, image, 40, 24, c.name);
    }
}

TEST_F(SImageTest, DamagedPlainPngsFailCleanly)
{
    const std::vector<uint8_t> good = MakePng(9, 9, 6, 8, {});
    std::vector<uint8_t> scrambled = good;
    // The compressed pixel data starts after the signature, the header chunk and the data chunk's head.
    for (size_t i = 8 + 25 + 8 + 2; i < scrambled.size() - 12; i++)
        scrambled[i] ^= 0x5A;
    std::vector<uint8_t> cut(good.begin(), good.end() - 20);
    std::vector<uint8_t> huge = good;
    huge[16] = 0x7F; // a width of about two thousand million pixels
    const std::vector<uint8_t>* cases[] = {&scrambled, &cut, &huge};
    for (const std::vector<uint8_t>* bytes : cases) {
        SImage image;
        MakeQuadrants(&image, 4, 4);
        EXPECT_FALSE(LoadBytes(&image, *bytes));
        EXPECT_FALSE(image.IsLoaded());
    }
    SImage image;
    EXPECT_TRUE(LoadBytes(&image, good));
}

namespace
{
struct PngThreadWork
{
    std::vector<uint8_t> bytes;
    int before = 0, after = 0;
    bool loaded = false;
    uint32_t corner = 0;
};

DWORD WINAPI LoadPngOnThread(void* parameter)
{
    PngThreadWork* w = static_cast<PngThreadWork*>(parameter);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    w->before = SImage::GetDirectDecodeCount();
    SImage image;
    w->loaded = LoadBytes(&image, w->bytes);
    w->corner = image.GetPixelColor(5, 5);
    w->after = SImage::GetDirectDecodeCount();
    CoUninitialize();
    return 0;
}
} // namespace

TEST_F(SImageTest, PlainPngsOnAnotherThreadGoThroughGdiplus)
{
    PngThreadWork work;
    work.bytes = MakePng(6, 6, 6, 8, {});
    HANDLE thread = CreateThread(nullptr, 0, LoadPngOnThread, &work, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    EXPECT_TRUE(work.loaded);
    EXPECT_EQ(work.before, work.after);
    SImage here;
    ASSERT_TRUE(LoadBytes(&here, work.bytes));
    EXPECT_EQ(work.corner, here.GetPixelColor(5, 5));
}
