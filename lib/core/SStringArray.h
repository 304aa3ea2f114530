#pragma once

#include "SArray.h"
#include "SString.h"

// A list of texts that owns its strings: every insert stores a new copy and
// every delete operation frees it. Elements compare as texts, descending with
// flags bit 0 and ignoring case with flags bit 16 (0x10000).
class SStringArray : public SArray<SString*>
{
public:
    // An empty list.
    SStringArray() = default;
    // A deep copy of other: texts, extra values and flags.
    SStringArray(const SStringArray& other);
    // Becomes a deep copy of other.
    SStringArray& operator=(const SStringArray& other);
    // Deletes every string and frees the block.
    ~SStringArray() override;

    // Becomes a deep copy of other (a null element stays null).
    SArray<SString*>& CopyFrom(const SArray<SString*>& other) override;
    // Deletes every string, then frees the block.
    void FreeStorage() override;
    // Stores a new full copy (text and extra values) of *src.
    SString** AssignElement(SString** dst, SString* const* src, int index, INT_PTR arg) override;
    // Text order of two elements per the flags: -1, 0 or 1.
    int Compare(SString* const* a, SString* const* b, int compareFlags, INT_PTR arg) const override;
    // Stores a new string decoded from the library's Base64 form; dst is an empty slot.
    void ParseElement(SString** dst, const char* text) override;
    // The element's text in the library's Base64 form.
    SString FormatElement(SString* const* element) const override;
    // Deletes every string, then adds copies of other's texts (texts only).
    virtual SStringArray& AssignFrom(const SStringArray& other);

    // Inserts count copies of text at index (index < 0 or past the end
    // appends); returns the first index, -1 when count < 1.
    int Add(const char* text, int index = -1, int count = 1);
    // Inserts a copy where text belongs in the sorted range; returns its index.
    int InsertSorted(const char* text, int start = 0, int end = -1);
    // Index of an element equal to text in a sorted range; -1 when none.
    int FindSorted(const char* text, int start = 0, int end = -1) const;
    // First index in [start, end) whose text equals text; -1 when none.
    int Find(const char* text, int start = 0, int end = -1) const;
    // Deletes every element of [start, end) equal to text; returns how many.
    int Remove(const char* text, int start = 0, int end = -1);
    // Deletes every string and empties the list.
    void RemoveAll();

    // A copy of element index's text; empty outside the list.
    SString GetAt(int index) const;
    // A copy of element 0's text; empty for an empty list.
    SString GetFirst() const;
    // The string object of element index (owned by the list); null outside.
    SString* GetString(int index) const;
    // Sets element index's text; ignored outside the list.
    void SetAt(int index, const char* text);

    // Counts the elements that match pattern and appends their indexes to out.
    int FindMatches(const char* pattern, SArray<int>* out, char multi, char single) const;
    // Wildcard match of the whole text: multi stands for any run of
    // characters, single for exactly one; other characters match exactly.
    static bool MatchPattern(const char* text, const char* pattern, char multi, char single);
    // The texts of count elements from start joined by separator (count < 0 = to the end).
    SString Join(const char* separator, int start = 0, int count = -1) const;
};
