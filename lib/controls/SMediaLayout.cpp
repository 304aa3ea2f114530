#include "SMediaLayout.h"

#include <string.h>

#include "SImage.h"
#include "SRound.h"
#include "SString.h"

namespace
{

// The attributes in force while the tags are walked in order.
struct AttributeState
{
    int bold = 0, italic = 0, underline = 0;
    int left = 0, center = 0, right = 0;
    bool link = false, image = false;
    std::vector<unsigned> colors;

    static void Count(int* counter, bool opening)
    {
        if (opening)
            (*counter)++;
        else if (*counter > 0)
            (*counter)--;
    }

    void Apply(const SMediaTag& tag)
    {
        switch (tag.kind)
        {
        case SMEDIATAG_BOLD: Count(&bold, tag.opening); break;
        case SMEDIATAG_ITALIC: Count(&italic, tag.opening); break;
        case SMEDIATAG_UNDERLINE: Count(&underline, tag.opening); break;
        case SMEDIATAG_LEFT: Count(&left, tag.opening); break;
        case SMEDIATAG_CENTER: Count(&center, tag.opening); break;
        case SMEDIATAG_RIGHT: Count(&right, tag.opening); break;
        case SMEDIATAG_LINK: link = tag.opening; break;
        case SMEDIATAG_IMAGE: image = tag.opening; break;
        case SMEDIATAG_COLOR:
            if (tag.opening)
                colors.push_back(tag.color);
            else if (colors.size() > 1)
                colors.pop_back();
            break;
        default: break;
        }
    }

    // 2 right, 1 centre, 0 left, -1 the view's own alignment.
    int Alignment() const { return right > 0 ? 2 : center > 0 ? 1 : left > 0 ? 0 : -1; }
};

// 0 near, 1 centre, 2 far for a line alignment's low bits.
int RunAlignment(unsigned alignment)
{
    unsigned horizontal = alignment & 0x0F;
    return horizontal == 0 ? 0 : horizontal == 1 ? 1 : 2;
}

}

const SMediaRun* SMediaLayout::GetRun(const SMediaLine* line, int index) const
{
    if (!line || index < 0 || index >= line->runCount)
        return nullptr;
    size_t at = (size_t)line->firstRun + (size_t)index;
    return at < m_runs.size() ? &m_runs[at] : nullptr;
}

void SMediaLayout::Clear()
{
    ClearLines();
    m_natural.clear();
    m_naturalFonts.clear();
    m_naturalText.clear();
}

void SMediaLayout::ClearLines()
{
    m_lines.clear();
    m_runs.clear();
    m_alignments.clear();
    m_fonts.clear();
    m_contentWidth = m_contentHeight = 0;
}

int SMediaLayout::FindLine(int y) const
{
    int low = 0, high = (int)m_lines.size();
    while (low < high)
    {
        int middle = low + (high - low) / 2;
        const SMediaLine* line = &m_lines[middle];
        if (line->top + line->height <= y)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void SMediaLayout::AddLine(int alignment)
{
    m_lines.push_back({0, m_fontHeight, 0, (int)m_runs.size(), 0});
    m_alignments.push_back(alignment);
}

int SMediaLayout::FontIndex(const LOGFONTA& font)
{
    for (size_t i = 0; i < m_fonts.size(); i++)
        if (memcmp(&m_fonts[i], &font, sizeof(font)) == 0)
            return (int)i;
    m_fonts.push_back(font);
    return (int)m_fonts.size() - 1;
}

void SMediaLayout::Build(const SMediaTagList& tags, const SMediaLayoutInput& input, SMediaImageSource* images)
{
    ClearLines();
    m_fontHeight = input.fontHeight > 0 ? input.fontHeight : 0;
    AddLine(-1);

    AttributeState state;
    state.colors.push_back(input.textColor);
    for (int t = 0; t < tags.GetCount(); t++)
    {
        const SMediaTag* tag = tags.GetTag(t);
        state.Apply(*tag);
        int alignment = state.Alignment();
        if (m_alignments.back() < alignment)
            m_alignments.back() = alignment;

        for (int s = 0; s < tag->segmentCount; s++)
        {
            SMediaSegment segment;
            if (!tags.GetSegment(tag, s, &segment))
                break;
            if (segment.end == -1)
            {
                AddLine(alignment);
                continue;
            }
            int start = segment.start < 0 ? 0 : segment.start;
            int end = segment.end > input.length ? input.length : segment.end;
            if (end > start)
            {
                SMediaRun run;
                memset(&run, 0, sizeof(run));
                run.start = start;
                run.length = end - start;
                run.link = state.link;
                if (state.image && images)
                    run.image = images->LoadImage(SString(input.text + start, run.length));
                run.color = state.link ? input.linkColor : state.colors.back();
                LOGFONTA font = input.font;
                font.lfWeight = state.bold > 0 ? FW_BOLD : FW_NORMAL;
                font.lfItalic = state.italic > 0 ? 1 : 0;
                font.lfUnderline = state.underline > 0 || state.link ? 1 : 0;
                run.font = FontIndex(font);
                m_runs.push_back(run);
                m_lines.back().runCount++;
            }
            if (s < tag->segmentCount - 1)
                AddLine(alignment);
        }
    }
}

void SMediaLayout::Measure(const SMediaLayoutInput& input, SMediaMeasurer* measurer)
{
    float width = input.width > 0 ? (float)input.width : 0.0f;
    // The previous measures serve again only for the same runs of the same text in the same fonts.
    bool sameText = input.wide && m_naturalText.size() == (size_t)input.length &&
                    m_naturalText.compare(0, m_naturalText.size(), input.wide, (size_t)input.length) == 0;
    bool sameFonts = sameText && m_naturalFonts.size() == m_fonts.size() &&
                     (m_fonts.empty() ||
                      memcmp(m_naturalFonts.data(), m_fonts.data(), sizeof(LOGFONTA) * m_fonts.size()) == 0);
    std::vector<NaturalSize> natural(m_runs.size());
    m_contentWidth = m_contentHeight = 0;
    for (size_t l = 0; l < m_lines.size(); l++)
    {
        SMediaLine* line = &m_lines[l];
        int lineAlignment = m_alignments[l];
        unsigned alignment = lineAlignment < 0 ? input.alignment : (unsigned)lineAlignment;
        int runAlignment = RunAlignment(alignment);
        for (int r = 0; r < line->runCount; r++)
        {
            size_t at = (size_t)line->firstRun + (size_t)r;
            SMediaRun* run = &m_runs[at];
            NaturalSize* size = &natural[at];
            *size = {run->start, run->length, run->font, 0, -1, 0};
            run->horizontalAlignment = runAlignment;
            if (run->image)
            {
                run->x = run->y = 0;
                run->width = (float)run->image->GetWidth();
                run->height = (float)run->image->GetHeight();
            }
            else if (measurer && input.wide)
            {
                const NaturalSize* old = sameFonts && at < m_natural.size() ? &m_natural[at] : nullptr;
                if (old && old->width >= 0 && old->start == run->start && old->length == run->length &&
                    old->font == run->font)
                    *size = *old;
                else
                {
                    // Build keeps every run inside the text, so the wide copy holds its characters.
                    SMediaBox box = measurer->Measure(input.wide + run->start, run->length,
                                                      m_fonts[run->font], 0, -1);
                    size->y = box.y;
                    size->width = box.width;
                    size->height = box.height;
                }
                run->x = 0;
                run->y = size->y;
                run->width = size->width;
                run->height = size->height;
                // A run wider than the area is measured again where it wraps.
                if (input.wrapping && size->width > width)
                {
                    SMediaBox box = measurer->Measure(input.wide + run->start, run->length,
                                                      m_fonts[run->font], runAlignment, width);
                    run->x = box.x;
                    run->y = box.y;
                    run->width = box.width;
                    run->height = box.height;
                }
            }
            line->width += SRound::Truncate(run->width);
            if (SRound::Truncate(run->height) > line->height)
                line->height = SRound::Truncate(run->height);
        }
        line->top = m_contentHeight;
        if (line->width > m_contentWidth)
            m_contentWidth = line->width;
        m_contentHeight += line->height;
    }
    m_natural.swap(natural);
    m_naturalFonts = m_fonts;
    if (!sameText)
        m_naturalText.assign(input.wide ? input.wide : L"", input.wide ? (size_t)input.length : 0);
}

void SMediaLayout::Place(int width, unsigned alignment)
{
    for (size_t l = 0; l < m_lines.size(); l++)
    {
        SMediaLine* line = &m_lines[l];
        if (line->runCount == 0)
            continue;
        int lineAlignment = m_alignments[l];
        unsigned horizontal = (lineAlignment < 0 ? alignment : (unsigned)lineAlignment) & 0x0F;
        SMediaRun* runs = &m_runs[line->firstRun];
        if (horizontal == 2)
        {
            float end = (float)width;
            for (int r = line->runCount - 1; r >= 0; r--)
            {
                runs[r].x = end - runs[r].width;
                end = runs[r].x;
            }
            continue;
        }
        float x = horizontal == 1 ? (float)SRound::Truncate(width / 2.0 - line->width / 2.0) : 0.0f;
        for (int r = 0; r < line->runCount; r++)
        {
            runs[r].x = x;
            x += runs[r].width;
        }
    }
}

void SMediaLayout::Layout(const SMediaTagList& tags, const SMediaLayoutInput& input, SMediaMeasurer* measurer,
                          SMediaImageSource* images)
{
    Build(tags, input, images);
    Measure(input, measurer);
    Place(input.width > 0 ? input.width : 0, input.alignment);
}
