#pragma once
// The values of comma-separated text as they were read: unquoted, zero-terminated,
// following each other row by row in blocks of a few hundred kilobytes, with a few
// offsets per row. Reading a long text costs little more than reading its lines, and
// a value is found by skipping at most a few values of its row. The blocks stay below
// the size that the heap hands to the system and back, so the memory of a table freed
// is used again by the next one instead of being asked anew, page by page. The table
// keeps its loaded values here until a cell is first asked for.
#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

class SFile;

class SCsvRows
{
public:
    SCsvRows() = default;
    SCsvRows(const SCsvRows&) = delete;
    SCsvRows& operator=(const SCsvRows&) = delete;

    // Replaces the content with the rest of the stream read as comma-separated text:
    // a line ends with LF or CR LF (a CR alone is text), zero bytes are dropped, an
    // empty line holds no record, a field that starts with a quote runs to the closing
    // quote (a doubled quote standing for one, whatever follows the closing quote still
    // belonging to the field) and a quote never closed takes the rest of the text. The
    // first record fixes the column count; a later record's fields beyond it are
    // dropped. False, with the content emptied, when the stream cannot be read, memory
    // runs out or the first record has more than maxColumns fields.
    bool Read(SFile* stream, int maxColumns);
    // Empties the content.
    void Clear();
    // Exchanges the whole content with other.
    void Swap(SCsvRows& other);

    int GetRowCount() const { return m_rowCount; }
    // Fields of the first record.
    int GetColumnCount() const { return m_columnCount; }
    // Bytes the values take, their zeros included.
    size_t GetTextSize() const;
    // The value of a cell; "" for a field its record lacked, a row inserted since the
    // read, or a cell outside the content.
    const char* GetValue(int row, int column) const;
    // The first value of a row; *held tells how many values follow each other from there,
    // zero-terminated and in column order (0, with "", for a row inserted since the read).
    const char* GetRowStart(int row, int* held) const;

    // Inserts a row of empty values at index (0 to the row count).
    void InsertRow(int index);
    // Removes the rows from first up to end (not included).
    void DeleteRows(int first, int end);

private:
    // Values per offset kept: a value is at most this many values away from its offset.
    static const int kValuesPerOffset = 16;

    // Consecutive rows and their values.
    struct Block
    {
        std::unique_ptr<char[]> text; // the values; null for a block of inserted rows only
        size_t size = 0;              // bytes of text in use
        // Per row m_stride entries: the count of values the row holds, then the offset in
        // text of every kValuesPerOffset-th value.
        std::vector<uint32_t> rows;
    };
    class Reader;

    // The entry of a row (which must be in the content) and the block that holds it.
    const uint32_t* RowEntry(int row, const Block** block) const;
    // Index of the block that holds row; the last block for the row count.
    size_t FindBlock(int row) const;
    // Sets every block's first row from the row counts, dropping the blocks left without rows.
    void CountRows();

    std::vector<Block> m_blocks;
    std::vector<int> m_firstRows; // per block, the index of its first row
    size_t m_stride = 1;
    int m_rowCount = 0;
    int m_columnCount = 0;
};
