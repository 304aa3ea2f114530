#pragma once
// Lines and runs of a tagged text: the attribute walk over the tag list, the
// measuring of each run and its placement on its line. Measuring goes through
// SMediaMeasurer, so the layout can be tested without a device.
#include <windows.h>

#include <string>
#include <vector>

#include "SMediaText.h"

class SImage;

// A measured box, in pixels.
struct SMediaBox
{
    float x, y, width, height;
};

// Measures runs of text. The view's measurer uses GDI+; tests may use their own.
class SMediaMeasurer
{
public:
    virtual ~SMediaMeasurer() = default;
    // Box of length characters in the font, laid out in a rectangle of the width
    // (negative: unlimited) with horizontal alignment 0 near, 1 centre or 2 far.
    virtual SMediaBox Measure(const wchar_t* text, int length, const LOGFONTA& font, int alignment,
                              float width) = 0;
};

// Finds the picture of an image run by its name; null shows the name as text.
class SMediaImageSource
{
public:
    virtual ~SMediaImageSource() = default;
    virtual SImage* LoadImage(const char* name) = 0;
};

// One run of text or one image on a line.
struct SMediaRun
{
    // Characters [start, start + length) of the text.
    int start;
    int length;
    // Box inside the line: x from the line's left edge, y from its top.
    float x, y, width, height;
    // Index of the run's font in the layout's font table.
    int font;
    // ARGB text colour.
    unsigned color;
    bool link;
    // The picture of an image run (owned by the view's image cache); null for text.
    SImage* image;
    // 0 near, 1 centre, 2 far: the run's string format.
    int horizontalAlignment;
};

// One laid-out line: its runs are [firstRun, firstRun + runCount) of the layout's runs.
struct SMediaLine
{
    int width;
    int height;
    // Top of the line inside the content (the sum of the heights above it).
    int top;
    int firstRun;
    int runCount;
};

// What the layout needs of the view.
struct SMediaLayoutInput
{
    // The 8-bit text (image names, link targets) and its UTF-16 copy of the same length.
    const char* text;
    const wchar_t* wide;
    int length;
    // The window font's description and height.
    LOGFONTA font;
    int fontHeight;
    // Text area width.
    int width;
    bool wrapping;
    // The view's alignment flags (horizontal in the low four bits).
    unsigned alignment;
    unsigned textColor;
    unsigned linkColor;
};

class SMediaLayout
{
public:
    SMediaLayout() = default;
    virtual ~SMediaLayout() = default;
    SMediaLayout(const SMediaLayout&) = delete;
    SMediaLayout& operator=(const SMediaLayout&) = delete;

    // Builds the lines and runs of the tags, measures and places them.
    void Layout(const SMediaTagList& tags, const SMediaLayoutInput& input, SMediaMeasurer* measurer,
                SMediaImageSource* images);
    // Deletes the lines, the runs and the remembered measures.
    void Clear();
    // Deletes the lines and runs but remembers the measures for the next layout.
    void ClearLines();

    int GetContentWidth() const { return m_contentWidth; }
    int GetContentHeight() const { return m_contentHeight; }
    int GetLineCount() const { return (int)m_lines.size(); }
    // Line index; null outside.
    const SMediaLine* GetLine(int index) const
    {
        return index >= 0 && index < (int)m_lines.size() ? &m_lines[index] : nullptr;
    }
    // Run index of a line; null outside.
    const SMediaRun* GetRun(const SMediaLine* line, int index) const;
    // The font of a run (an index of the font table); null outside.
    const LOGFONTA* GetFont(int index) const
    {
        return index >= 0 && index < (int)m_fonts.size() ? &m_fonts[index] : nullptr;
    }
    // First line whose bottom lies below content coordinate y (at or after it); the line count when none.
    int FindLine(int y) const;

private:
    struct NaturalSize
    {
        int start, length, font;
        float y, width, height;
    };

    void Build(const SMediaTagList& tags, const SMediaLayoutInput& input, SMediaImageSource* images);
    void AddLine(int alignment);
    int FontIndex(const LOGFONTA& font);
    void Measure(const SMediaLayoutInput& input, SMediaMeasurer* measurer);
    void Place(int width, unsigned alignment);

    // Plain vectors: a long text makes hundreds of thousands of runs, and SArray grows by 64 elements.
    std::vector<SMediaLine> m_lines;
    std::vector<SMediaRun> m_runs;
    // Per-line alignment met while the line was the last one: 2 right, 1 centre, 0 left, -1 the view's.
    std::vector<int> m_alignments;
    std::vector<LOGFONTA> m_fonts;
    // Unwrapped measures of the previous layout's runs, reused while runs and fonts are unchanged.
    std::vector<NaturalSize> m_natural;
    std::vector<LOGFONTA> m_naturalFonts;
    std::wstring m_naturalText;
    int m_fontHeight = 0;
    int m_contentWidth = 0;
    int m_contentHeight = 0;
};
