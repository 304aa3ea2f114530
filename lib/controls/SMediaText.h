#pragma once
// The tag language of the rich text view: a text split into segments by the
// tags it holds, parsed without pixels so that it can be tested on its own.
// The text comes from files users write: every tag is bounded by its line,
// nothing recurses and nothing is read outside the given bytes.
#include <vector>

#include "SUniString.h"

// Tag kinds, in the order of the tag table.
enum : int
{
    SMEDIATAG_START = 0, SMEDIATAG_BOLD = 1, SMEDIATAG_ITALIC = 2, SMEDIATAG_UNDERLINE = 3,
    SMEDIATAG_COLOR = 4, SMEDIATAG_LINK = 5, SMEDIATAG_IMAGE = 6, SMEDIATAG_LEFT = 7,
    SMEDIATAG_CENTER = 8, SMEDIATAG_RIGHT = 9
};

// One recognised tag and the text segments that follow it up to the next tag.
// Segment ends of -1 stand for an empty line.
struct SMediaTag
{
    int kind;
    // False for a closing tag (second character '/').
    bool opening;
    // ARGB colour of an opening colour tag.
    unsigned color;
    // The tag's segments: [firstSegment, firstSegment + segmentCount) of the list's segments.
    int firstSegment;
    int segmentCount;
};

// One text segment: [start, end) of the text, or end -1 for an empty line.
struct SMediaSegment
{
    int start;
    int end;
};

// The parsed tag list of one text. It always begins with a tag of kind 0 at position 0.
class SMediaTagList
{
public:
    SMediaTagList() = default;
    virtual ~SMediaTagList() = default;
    SMediaTagList(const SMediaTagList&) = delete;
    SMediaTagList& operator=(const SMediaTagList&) = delete;

    // Replaces the list by the tags of length bytes of text (length < 0: up to the terminator).
    void Parse(const char* text, int length = -1);
    // Empties the list.
    void Clear();

    // Number of tags (at least 1 after a parse).
    int GetCount() const { return (int)m_tags.size(); }
    // Tag index; null outside the list.
    const SMediaTag* GetTag(int index) const
    {
        return index >= 0 && index < (int)m_tags.size() ? &m_tags[index] : nullptr;
    }
    // Segment index of a tag; false outside its segments.
    bool GetSegment(const SMediaTag* tag, int index, SMediaSegment* out) const;

    // Kind of a tag text from '<' to '>' inclusive, -1 when it is not a known tag;
    // *opening and *color describe it.
    static int Classify(const char* tag, int length, bool* opening, unsigned* color);
    // ARGB of a colour tag "<#RRGGBB>" or "<#RRGGBBAA>": alpha 254 unless the second form
    // gives another one than 255; a pair that is missing or not hexadecimal counts as 0.
    static unsigned ParseColor(const char* tag, int length);

private:
    void AddTag(int kind, bool opening, unsigned color, int start);
    void EndSegment(int end);
    void StartSegment(int start);

    // Plain vectors: a long text holds hundreds of thousands of tags, and SArray grows by 64 elements.
    std::vector<SMediaTag> m_tags;
    std::vector<SMediaSegment> m_segments;
};

// Library colours and COLORREFs as the view keeps them: 0xFERRGGBB (alpha 254);
// system colours are resolved.
unsigned SMediaArgb(unsigned color);

// UTF-16 copy of length bytes of text whose character positions match the bytes one
// for one (a byte that does not convert alone becomes U+FFFD).
void SMediaWiden(const char* text, int length, SUniString* out);
