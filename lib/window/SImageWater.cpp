#include "SImageWater.h"

#include <stdlib.h>
#include <new>

namespace
{
// Largest map: 16 M cells (a 4096 x 4096 picture).
const int64_t kMaxCells = (int64_t)1 << 24;
// Heights are kept within +-2^24 so that the sum of eight neighbours and the
// differences of the refraction never leave 32 bits, whatever the drops.
const int32_t kMaxHeight = (int32_t)1 << 24;

inline int32_t ClampHeight(int64_t value)
{
    return value > kMaxHeight ? kMaxHeight : (value < -kMaxHeight ? -kMaxHeight : (int32_t)value);
}

inline uint32_t ClampChannel(int value)
{
    return value < 0 ? 0u : (value > 255 ? 255u : (uint32_t)value);
}

// A random centre coordinate for a drop of the radius on a side of the size; the
// middle when the side is too short for the radius.
int RandomCentre(int size, int radius)
{
    int64_t span = (int64_t)size - 2 * (int64_t)radius - 1;
    if (span <= 0)
        return size / 2;
    return (int)(radius + rand() % span + 1);
}
}

SImageWater::SImageWater()
    : m_width(0), m_height(0), m_shaded(1), m_page(0), m_dampingShift(5), m_mapA(nullptr), m_mapB(nullptr),
      m_calm(1)
{
}

SImageWater::~SImageWater()
{
    Free();
}

void SImageWater::Free()
{
    delete[] m_mapA;
    delete[] m_mapB;
    m_mapA = nullptr;
    m_mapB = nullptr;
    m_width = 0;
    m_height = 0;
}

bool SImageWater::Create(int width, int height)
{
    Free();
    m_calm = 1;
    m_page = 0;
    if (width <= 0 || height <= 0 || (int64_t)width * height > kMaxCells)
        return false;
    size_t cells = (size_t)width * (size_t)height;
    m_mapA = new (std::nothrow) int32_t[cells]();
    m_mapB = new (std::nothrow) int32_t[cells]();
    if (!m_mapA || !m_mapB)
    {
        Free();
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

void SImageWater::Drop(int x, int y, int radius, int depth, bool mapB)
{
    int32_t* map = mapB ? m_mapB : m_mapA;
    if (!m_mapA || !m_mapB || radius <= 0)
        return;
    if (x < 0)
        x = RandomCentre(m_width, radius);
    if (y < 0)
        y = RandomCentre(m_height, radius);
    // Offsets that keep the cell off the outer rows and columns.
    int64_t firstI = -(int64_t)radius > 1 - (int64_t)x ? -(int64_t)radius : 1 - (int64_t)x;
    int64_t endI = (int64_t)radius < (int64_t)m_width - 1 - x ? (int64_t)radius : (int64_t)m_width - 1 - x;
    int64_t firstJ = -(int64_t)radius > 1 - (int64_t)y ? -(int64_t)radius : 1 - (int64_t)y;
    int64_t endJ = (int64_t)radius < (int64_t)m_height - 1 - y ? (int64_t)radius : (int64_t)m_height - 1 - y;
    int64_t limit = (int64_t)radius * radius;
    for (int64_t j = firstJ; j < endJ; j++)
    {
        int32_t* row = map + (size_t)(y + j) * (size_t)m_width;
        for (int64_t i = firstI; i < endI; i++)
        {
            if (i * i + j * j >= limit)
                continue;
            row[x + i] = ClampHeight((int64_t)row[x + i] + depth);
            m_calm = 0;
        }
    }
}

void SImageWater::Refract(const uint32_t* source, uint32_t* destination) const
{
    const int width = m_width;
    const int64_t total = (int64_t)width * m_height;
    const int32_t* heights = m_mapA;
    const bool shaded = m_shaded != 0;
    auto pixel = [&](int i) {
        int dx = heights[i] - heights[i + 1];
        int dy = heights[i] - heights[i + width];
        int64_t offset = (int64_t)i + (int64_t)(dy >> 3) * width + (dx >> 3);
        if (offset <= 0 || offset >= total)
            return;
        uint32_t color = source[offset];
        if (!shaded)
        {
            destination[i] = color;
            return;
        }
        // Light falls on the slopes: each channel loses the slope, the alpha stays.
        uint32_t red = ClampChannel((int)((color >> 16) & 0xFF) - dx);
        uint32_t green = ClampChannel((int)((color >> 8) & 0xFF) - dx);
        uint32_t blue = ClampChannel((int)(color & 0xFF) - dx);
        destination[i] = (color & 0xFF000000u) | (red << 16) | (green << 8) | blue;
    };
    for (int row = 1; row < m_height - 1; row++)
    {
        int i = row * width + 1;
        const int end = row * width + width - 1;
        // Two pixels a round.
        for (; i + 1 < end; i += 2)
        {
            pixel(i);
            pixel(i + 1);
        }
        if (i < end)
            pixel(i);
    }
}

void SImageWater::CopyBorder(const uint32_t* source, uint32_t* destination) const
{
    const int width = m_width;
    const size_t last = (size_t)(m_height - 1) * (size_t)width;
    for (int x = 0; x < width; x++)
    {
        destination[x] = source[x];
        destination[last + x] = source[last + x];
    }
    for (int row = 1; row < m_height - 1; row++)
    {
        size_t first = (size_t)row * (size_t)width;
        destination[first] = source[first];
        destination[first + width - 1] = source[first + width - 1];
    }
}

void SImageWater::Step()
{
    int32_t* next = m_page == 0 ? m_mapA : m_mapB;
    const int32_t* old = m_page == 0 ? m_mapB : m_mapA;
    const int width = m_width;
    const int shift = m_dampingShift;
    bool calm = true;
    auto cell = [&](int i) {
        int v = ((old[i - width - 1] + old[i - width] + old[i - width + 1] + old[i - 1] + old[i + 1] +
                  old[i + width - 1] + old[i + width] + old[i + width + 1]) >> 2) - next[i];
        v -= v >> shift;
        v = ClampHeight(v);
        next[i] = v;
        // The old map feeds the next step: the water is still only when both maps are.
        if (v || old[i])
            calm = false;
    };
    for (int row = 1; row < m_height - 1; row++)
    {
        int i = row * width + 1;
        const int end = row * width + width - 1;
        for (; i + 1 < end; i += 2)
        {
            cell(i);
            cell(i + 1);
        }
        if (i < end)
            cell(i);
    }
    m_calm = calm ? 1 : 0;
}

void SImageWater::Render(const uint32_t* source, uint32_t* destination)
{
    if (!m_mapA || !m_mapB || !source || !destination)
        return;
    Refract(source, destination);
    CopyBorder(source, destination);
    Step();
    m_page ^= 1;
}
