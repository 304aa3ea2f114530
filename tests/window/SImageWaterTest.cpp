#include <gtest/gtest.h>
#include <limits.h>
#include <stdint.h>

#include <vector>

#include "SImageWater.h"

namespace
{
const uint32_t kUnwritten = 0x12345678u;

// A grey source pixel of the level, opaque.
uint32_t Grey(int level)
{
    return 0xFF000000u | ((uint32_t)level << 16) | ((uint32_t)level << 8) | (uint32_t)level;
}

// A source whose every pixel differs: grey 40 + 5 x index.
std::vector<uint32_t> Ramp(int width, int height)
{
    std::vector<uint32_t> pixels((size_t)width * height);
    for (size_t i = 0; i < pixels.size(); i++)
        pixels[i] = Grey(40 + 5 * (int)(i % 40));
    return pixels;
}

// Cells of a map that differ from 0.
int NonZeroCells(const SImageWater& water, bool mapB)
{
    int count = 0;
    const int32_t* map = water.GetMap(mapB);
    for (int i = 0; i < water.GetWidth() * water.GetHeight(); i++)
        count += map[i] != 0;
    return count;
}

// True when every border cell of both maps is 0.
bool BorderStill(const SImageWater& water)
{
    const int width = water.GetWidth(), height = water.GetHeight();
    for (int b = 0; b < 2; b++)
    {
        const int32_t* map = water.GetMap(b != 0);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                if ((x == 0 || y == 0 || x == width - 1 || y == height - 1) && map[y * width + x] != 0)
                    return false;
    }
    return true;
}
}

TEST(SImageWater, WithoutMapsNothingHappens)
{
    SImageWater water;
    EXPECT_TRUE(water.IsCalm());
    EXPECT_EQ(nullptr, water.GetMap(false));
    water.Drop(2, 2, 3, 100);
    uint32_t source[4] = {1, 2, 3, 4};
    uint32_t destination[4] = {kUnwritten, kUnwritten, kUnwritten, kUnwritten};
    water.Render(source, destination);
    for (uint32_t pixel : destination)
        EXPECT_EQ(kUnwritten, pixel);
    struct Case { int width, height; };
    const Case refused[] = {{0, 5}, {5, 0}, {-3, 4}, {70000, 70000}};
    for (const Case& c : refused)
    {
        EXPECT_FALSE(water.Create(c.width, c.height)) << c.width << "x" << c.height;
        EXPECT_EQ(nullptr, water.GetMap(true));
        EXPECT_TRUE(water.IsCalm());
    }
}

TEST(SImageWater, CreateGivesStillZeroedMaps)
{
    SImageWater water;
    ASSERT_TRUE(water.Create(9, 7));
    water.Drop(4, 3, 2, 50);
    ASSERT_TRUE(water.Create(12, 5));
    EXPECT_EQ(12, water.GetWidth());
    EXPECT_EQ(5, water.GetHeight());
    EXPECT_TRUE(water.IsCalm());
    EXPECT_EQ(0, water.GetPage());
    EXPECT_EQ(0, NonZeroCells(water, false));
    EXPECT_EQ(0, NonZeroCells(water, true));
}

TEST(SImageWater, DropFillsTheOpenDiscInsideTheBorder)
{
    struct Case { int x, y, radius; bool mapB; };
    const Case cases[] = {
        {0, 0, 5, false},   // the corner: only the interior quarter, no border cell
        {10, 8, 3, true},   // the middle, into map B
        {19, 15, 4, false}, // the far corner
        {10, 8, 1, false},  // radius 1: the centre alone
    };
    for (const Case& c : cases)
    {
        SImageWater water;
        ASSERT_TRUE(water.Create(20, 16));
        water.Drop(c.x, c.y, c.radius, 7, c.mapB);
        const int32_t* map = water.GetMap(c.mapB);
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 20; x++)
            {
                int i = x - c.x, j = y - c.y;
                // Offsets run from -radius up to radius - 1 (upper bound excluded).
                bool inside = i >= -c.radius && i < c.radius && j >= -c.radius && j < c.radius &&
                              i * i + j * j < c.radius * c.radius && x >= 1 && y >= 1 && x <= 18 && y <= 14;
                EXPECT_EQ(inside ? 7 : 0, map[y * 20 + x]) << c.x << "," << c.y << " r" << c.radius << " at "
                                                           << x << "," << y;
            }
        EXPECT_EQ(0, NonZeroCells(water, !c.mapB));
        EXPECT_FALSE(water.IsCalm());
    }
}

TEST(SImageWater, RandomDropsStayInside)
{
    SImageWater water;
    ASSERT_TRUE(water.Create(150, 150));
    for (int k = 0; k < 50; k++)
        water.Drop(-1, -1, 25, 1);
    EXPECT_TRUE(BorderStill(water));
    // Every random centre keeps its whole disc inside: 50 drops of the 1941 cells of radius 25.
    int total = 0;
    for (int i = 0; i < 150 * 150; i++)
        total += water.GetMap(false)[i];
    EXPECT_EQ(50 * 1941, total);
}

TEST(SImageWater, OneFrameRefractsShadesAndSteps)
{
    // A single raised cell in the middle of a 5 x 5 surface.
    SImageWater water;
    ASSERT_TRUE(water.Create(5, 5));
    std::vector<uint32_t> source = Ramp(5, 5);
    water.Drop(2, 2, 1, 8);
    ASSERT_EQ(8, water.GetMap(false)[12]);
    std::vector<uint32_t> destination(25, kUnwritten);
    water.Render(source.data(), destination.data());
    std::vector<uint32_t> expected = source;
    // The raised cell: slopes 8 and 8 look one row and one column further and darken by 8.
    expected[12] = Grey(40 + 5 * 18 - 8);
    // Its left neighbour looks one column back and lightens by 8.
    expected[11] = Grey(40 + 5 * 10 + 8);
    // Its upper neighbour looks one row down, unshaded (no horizontal slope).
    expected[7] = source[2];
    EXPECT_EQ(expected, destination);
    // The step wrote map A from map B (still): the cell falls to -8 + 1, nothing else moves.
    EXPECT_EQ(-7, water.GetMap(false)[12]);
    EXPECT_EQ(1, NonZeroCells(water, false));
    EXPECT_EQ(0, NonZeroCells(water, true));
    EXPECT_EQ(1, water.GetPage());
    EXPECT_FALSE(water.IsCalm());

    // The next step writes map B from the eight neighbours in A: the ring gets (-7 >> 2) damped = -1.
    water.Render(source.data(), destination.data());
    const int32_t* b = water.GetMap(true);
    for (int y = 0; y < 5; y++)
        for (int x = 0; x < 5; x++)
        {
            bool ring = x >= 1 && x <= 3 && y >= 1 && y <= 3 && !(x == 2 && y == 2);
            EXPECT_EQ(ring ? -1 : 0, b[y * 5 + x]) << x << "," << y;
        }
    EXPECT_EQ(0, water.GetPage());
}

TEST(SImageWater, ShadingClampsAndKeepsAlphaPlainDisplacementCopies)
{
    const int size = 12;
    const uint32_t colour = 0x800AFA0Au; // half-transparent, green near the top, red and blue near 0
    std::vector<uint32_t> source((size_t)size * size, colour);
    struct Case { bool shaded; uint32_t centre, left; };
    const Case cases[] = {
        {true, 0x8000EA00u, 0x801AFF1Au},
        {false, colour, colour},
    };
    for (const Case& c : cases)
    {
        SImageWater water;
        ASSERT_TRUE(water.Create(size, size));
        water.SetShaded(c.shaded);
        water.Drop(6, 6, 1, 16);
        std::vector<uint32_t> destination(source.size(), kUnwritten);
        water.Render(source.data(), destination.data());
        EXPECT_EQ(c.centre, destination[6 * size + 6]) << std::hex << destination[6 * size + 6];
        EXPECT_EQ(c.left, destination[6 * size + 5]) << std::hex << destination[6 * size + 5];
    }
}

TEST(SImageWater, DisplacementOutsideThePictureKeepsTheDestination)
{
    SImageWater water;
    ASSERT_TRUE(water.Create(5, 5));
    // Slopes of 800 look 100 rows and columns away: outside.
    water.Drop(2, 2, 1, 800);
    std::vector<uint32_t> source = Ramp(5, 5);
    std::vector<uint32_t> destination(25, kUnwritten);
    water.Render(source.data(), destination.data());
    EXPECT_EQ(kUnwritten, destination[12]);
    // The left neighbour looks 100 columns back: outside too.
    EXPECT_EQ(kUnwritten, destination[11]);
    // The upper neighbour looks 100 rows back: outside.
    EXPECT_EQ(kUnwritten, destination[7]);
    EXPECT_EQ(source[6], destination[6]);
    EXPECT_EQ(source[0], destination[0]);
}

TEST(SImageWater, ADropSpreadsAndDecaysBackToTheStillPicture)
{
    const int width = 150, height = 150;
    SImageWater water;
    ASSERT_TRUE(water.Create(width, height));
    std::vector<uint32_t> source = Ramp(width, height);
    std::vector<uint32_t> destination(source.size(), kUnwritten);
    water.Drop(75, 75, 25, 250, water.GetPage() != 0);
    int initial = NonZeroCells(water, false);
    int widest = initial;
    int steps = 0;
    bool borderStill = true, changed = false;
    while (!water.IsCalm() && steps < 5000)
    {
        water.Render(source.data(), destination.data());
        steps++;
        int moving = NonZeroCells(water, false) + NonZeroCells(water, true);
        widest = moving > widest ? moving : widest;
        borderStill = borderStill && BorderStill(water);
        changed = changed || destination != source;
    }
    EXPECT_TRUE(water.IsCalm()) << "still moving after " << steps << " steps";
    EXPECT_GT(steps, 10);
    // The waves ran out far past the disc of the drop, and the picture moved.
    EXPECT_GT(widest, 4 * initial);
    EXPECT_TRUE(changed);
    EXPECT_TRUE(borderStill);
    // Calm: every further frame is the still picture.
    for (int k = 0; k < 3; k++)
    {
        std::fill(destination.begin(), destination.end(), kUnwritten);
        water.Render(source.data(), destination.data());
        EXPECT_TRUE(water.IsCalm());
        EXPECT_EQ(source, destination);
    }
}

TEST(SImageWater, TinyAndOddSizesStayInTheirBuffers)
{
    struct Case { int width, height; };
    const Case cases[] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {2, 5}, {3, 3}, {4, 9}, {9, 4}, {151, 149}};
    const int guard = 64;
    for (const Case& c : cases)
    {
        SImageWater water;
        ASSERT_TRUE(water.Create(c.width, c.height));
        const size_t cells = (size_t)c.width * c.height;
        std::vector<uint32_t> source(cells + 2 * guard, 0xFEEDFACEu);
        std::vector<uint32_t> destination(cells + 2 * guard, 0xDEADBEEFu);
        for (size_t i = 0; i < cells; i++)
            source[guard + i] = Grey((int)(i % 200));
        const int drops[][3] = {{-1, -1, 5},       {0, 0, 3},      {c.width - 1, c.height - 1, 100},
                                {INT_MAX, 2, 4},   {3, INT_MAX, 4}, {c.width / 2, c.height / 2, 1000000},
                                {-5, c.height, 2}};
        for (const auto& drop : drops)
        {
            water.Drop(drop[0], drop[1], drop[2], 2000000000, false);
            water.Drop(drop[0], drop[1], drop[2], -2000000000, true);
        }
        EXPECT_TRUE(BorderStill(water));
        for (int k = 0; k < 40; k++)
            water.Render(source.data() + guard, destination.data() + guard);
        EXPECT_TRUE(BorderStill(water)) << c.width << "x" << c.height;
        for (int i = 0; i < guard; i++)
        {
            ASSERT_EQ(0xDEADBEEFu, destination[i]) << c.width << "x" << c.height;
            ASSERT_EQ(0xDEADBEEFu, destination[guard + cells + i]) << c.width << "x" << c.height;
        }
        // Without interior cells the frame is the picture itself.
        if (c.width < 3 || c.height < 3)
        {
            EXPECT_TRUE(water.IsCalm());
            for (size_t i = 0; i < cells; i++)
                ASSERT_EQ(source[guard + i], destination[guard + i]) << c.width << "x" << c.height;
        }
    }
}

TEST(SImageWater, CalmOnlyWhenBothMapsAreStill)
{
    struct Case { int width, height, x, y, radius, depth, shift; };
    const Case cases[] = {
        {64, 48, 32, 24, 6, 200, 5}, {64, 48, 10, 10, 3, 500, 5}, {64, 48, 50, 30, 12, 90, 5},
        {64, 48, 32, 24, 4, 1000, 3}, {40, 40, 20, 20, 8, 300, 7}, {17, 9, 8, 4, 3, 64, 5},
    };
    for (const Case& c : cases)
    {
        SImageWater water;
        ASSERT_TRUE(water.Create(c.width, c.height));
        water.SetDampingShift(c.shift);
        std::vector<uint32_t> source = Ramp(c.width, c.height);
        std::vector<uint32_t> destination(source.size(), kUnwritten);
        water.Drop(c.x, c.y, c.radius, c.depth, water.GetPage() != 0);
        int frames = 0;
        while (!water.IsCalm() && frames < 20000)
        {
            water.Render(source.data(), destination.data());
            frames++;
        }
        ASSERT_TRUE(water.IsCalm()) << c.width << "x" << c.height << " never calm";
        EXPECT_EQ(0, NonZeroCells(water, false)) << c.width << "x" << c.height << " calm after " << frames;
        EXPECT_EQ(0, NonZeroCells(water, true)) << c.width << "x" << c.height << " calm after " << frames;
        // Calm water stays calm: no frame ripples again.
        for (int k = 0; k < 4; k++)
        {
            water.Render(source.data(), destination.data());
            EXPECT_TRUE(water.IsCalm()) << c.width << "x" << c.height << " frame " << k;
            EXPECT_TRUE(source == destination) << c.width << "x" << c.height << " frame " << k;
        }
    }
}
