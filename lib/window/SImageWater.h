#pragma once

#include <stdint.h>

// Water ripples over a picture: two integer height maps advanced one step per
// frame, rendered as refraction (with light shading) of a 32-bit pixel buffer.
// Every buffer is width x height pixels, row by row.
class SImageWater
{
public:
    SImageWater();
    virtual ~SImageWater();
    SImageWater(const SImageWater&) = delete;
    SImageWater& operator=(const SImageWater&) = delete;

    // Frees old maps and allocates both maps zeroed; calm, page 0. False (no maps) for a bad size.
    bool Create(int width, int height);
    // Adds depth to the interior cells strictly inside the circle of the radius around (x, y)
    // in map B (mapB) or A; a negative coordinate picks a random one. The border is never touched.
    void Drop(int x, int y, int radius, int depth, bool mapB = false);
    // One frame: the refraction of source into destination by map A, then one simulation step.
    // Source and destination must be distinct buffers of the maps' size.
    void Render(const uint32_t* source, uint32_t* destination);
    // True when the last step left every interior cell of both maps at 0, or without maps.
    bool IsCalm() const { return !m_mapA || !m_mapB || m_calm != 0; }

    // Refraction with light shading (default) or plain displacement.
    void SetShaded(bool shaded) { m_shaded = shaded ? 1 : 0; }
    // Damping: each step keeps v - (v >> shift) of a cell's new height (default 5).
    void SetDampingShift(int shift) { m_dampingShift = shift < 0 ? 0 : (shift > 31 ? 31 : shift); }

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The pair the next step writes: 0 writes map A, 1 writes map B.
    int GetPage() const { return m_page; }
    // Height map A or B (null without maps), for drawing tools and checks.
    const int32_t* GetMap(bool mapB) const { return mapB ? m_mapB : m_mapA; }

private:
    void Free();
    void Refract(const uint32_t* source, uint32_t* destination) const;
    void CopyBorder(const uint32_t* source, uint32_t* destination) const;
    void Step();

    // Map size in cells.
    int m_width, m_height;
    // Refraction with light shading.
    unsigned char m_shaded;
    // Selects which map the next step writes.
    int m_page;
    // Damping shift of the simulation.
    int m_dampingShift;
    // The two height maps (owned).
    int32_t* m_mapA;
    int32_t* m_mapB;
    // The last step left every cell still.
    unsigned char m_calm;
};
