#pragma once
// The values of comma-separated text as it was read: the text itself, unquoted in
// place into zero-terminated values that follow each other row by row, and a few
// offsets per row. Reading a long text costs little more than reading its lines,
// and a value is found by skipping at most a few values of its row. The table
// keeps its loaded values here until a cell is first asked for.
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

    // True when there are no rows.
    bool IsEmpty() const { return m_rowCount == 0; }
    int GetRowCount() const { return m_rowCount; }
    // Fields of the first record.
    int GetColumnCount() const { return m_columnCount; }
    // Bytes the values take, their zeros included.
    size_t GetTextSize() const { return m_textSize; }
    // The value of a cell; "" for a field its record lacked, a row inserted since the
    // read, or a cell outside the content.
    const char* GetValue(int row, int column) const;
    // The values of one row, columns 0 to the column count, into values (that many
    // entries); one walk along the row.
    void GetRowValues(int row, const char** values) const;

    // Inserts a row of empty values at index (0 to the row count).
    void InsertRow(int index);
    // Removes the rows from first up to end (not included).
    void DeleteRows(int first, int end);

private:
    // Values per offset kept: a value is at most this many values away from its offset.
    static const int kValuesPerOffset = 16;

    // Per row m_stride entries: the count of values the row holds, then the offset of
    // every kValuesPerOffset-th value from the start of m_text.
    const uint32_t* RowEntry(int row) const { return m_rows.data() + (size_t)row * m_stride; }

    std::unique_ptr<char[]> m_text;
    size_t m_textSize = 0;
    std::vector<uint32_t> m_rows;
    size_t m_stride = 1;
    int m_rowCount = 0;
    int m_columnCount = 0;
};
