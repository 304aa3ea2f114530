#pragma once
// An in-memory table of texts: named columns, rows and, per cell, a value, a
// free text and a property list. It reads and writes the table text (a
// sequence of zero-terminated strings headed "TAVRIN TABLE 1.0.0.0") and
// comma-separated text. No window: the spreadsheet grid draws it.
#include <stdint.h>

#include <vector>

#include "SArray.h"
#include "SCsvRows.h"
#include "SString.h"
#include "SStringArray.h"

class SFile;

class STable
{
public:
    // One column: its name, texts and the three cell lists (one entry per row). A long
    // table would spend most of its load making strings nobody reads yet, so a cell's
    // string is made when it is first asked for: until then its slot is null. A list
    // is made only when one of its cells is first asked for: until then it is empty,
    // every slot null. A record handed out by TakeColumn has all three lists made.
    struct _SField
    {
        SString name;            // unique among non-empty names (ignoring case), never an integer text
        SString text;            // free text
        SString properties;      // property list; the grid keeps "title" and "width" here
        SStringArray cellValues;     // one value per row; a null slot holds its row's loaded value
        SStringArray cellTexts;      // one free text per row; a null slot stands for ""
        SStringArray cellProperties; // one property list per row; a null slot stands for ""
        // The column of the table's comma-separated values that holds this column's
        // loaded values; -1 for none (null slots are then "").
        int csvColumn = -1;
        // In a record handed out by TakeColumn, its loaded values: zero-terminated texts
        // in one block and, per row, where the row's value starts. Empty otherwise.
        std::vector<char> packedValues;
        std::vector<uint32_t> packedStarts;
    };

    STable();
    STable(const STable&) = delete;
    STable& operator=(const STable&) = delete;
    // Deletes every column record.
    virtual ~STable();

    // Empties both table texts and both row lists and deletes every column.
    void Clear();
    // Exchanges the whole content with other.
    void Swap(STable& other);

    // --- sizes and columns ---
    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return m_columns.GetCount(); }
    // Index of the first column named name (ignoring case); -1 for "" or none.
    int FindColumn(const char* name) const;
    // Index of a column reference: an integer text is an index, any other text a name; -1 when none.
    int GetColumnIndex(const char* reference) const;
    // Inserts a column (name trimmed) at index (< 0 or past the end appends); -1 for a
    // duplicate or integer name. Empty names are always accepted.
    int InsertColumn(const char* name, int index = -1);
    // Deletes a column; deleting the last one also removes every row. False when none is referenced.
    bool DeleteColumn(const char* reference);
    // Takes a column out of the table as DeleteColumn does and hands it to the caller, who
    // deletes it; null when none is referenced. Its null slots mean what the record says.
    _SField* TakeColumn(const char* reference);
    // The column's name; "" for an unknown column.
    SString GetColumnName(const char* reference) const;

    // --- rows ---
    // Inserts an empty row at index (< 0 or past the end appends); returns its index.
    int InsertRow(int index = -1);
    // Removes count rows from first (count < 0: to the end); nothing when first is not a row.
    void DeleteRows(int first, int count);
    // DeleteRows under the name the grid uses.
    void DeleteRow(int index, int count) { DeleteRows(index, count); }

    // --- cells ---
    // Sets a cell value; nothing for an unknown column or a row outside the table.
    void SetCell(int row, const char* reference, const char* value);
    // The cell's value record (owned by the table, made on first request); null outside the table.
    SString* GetCell(int row, int column) const;
    // The cell's free text record; null outside the table.
    SString* GetCellText(int row, int column) const;
    // The cell's property list record; null outside the table.
    SString* GetCellProperties(int row, int column) const;
    // The cell's property list under the name the grid uses.
    SString* GetCellStyle(int row, int column) const { return GetCellProperties(row, column); }

    // --- texts and property lists ---
    SString GetTableText() const { return m_text; }
    void SetTableText(const char* text) { m_text = text; }
    SString GetTableProperties() const { return m_properties; }
    void SetTableProperties(const char* list) { m_properties = list; }
    // The column's free text and whole property list; "" for an unknown column.
    SString GetColumnText(const char* reference) const;
    void SetColumnText(const char* reference, const char* text);
    SString GetColumnProperties(const char* reference) const;
    void SetColumnProperties(const char* reference, const char* list);
    // The row's free text and whole property list; "" outside the table.
    SString GetRowText(int row) const { return m_rowTexts.GetAt(row); }
    void SetRowText(int row, const char* text) { MadeList(m_rowTexts).SetAt(row, text); }
    SString GetRowProperties(int row) const { return m_rowProperties.GetAt(row); }
    void SetRowProperties(int row, const char* list) { MadeList(m_rowProperties).SetAt(row, list); }

    // One value of the column's properties; "" when the column or the key is missing.
    SString GetColumnProperty(const char* reference, const char* key) const;
    // Sets one value of the column's properties (see SetListValue); nothing for an unknown column.
    void SetColumnProperty(const char* reference, const char* key, const char* value);
    // One value of the row's properties; "" outside the table or when the key is missing.
    SString GetRowProperty(int row, const char* key) const;
    // Sets one value of the row's properties; nothing outside the table.
    void SetRowProperty(int row, const char* key, const char* value);
    // The column's "title" property.
    SString GetColumnTitle(const char* reference) const { return GetColumnProperty(reference, "title"); }
    void SetColumnTitle(const char* reference, const char* title) { SetColumnProperty(reference, "title", title); }
    // The column's "width" property as a number (0 when missing).
    int GetColumnWidth(const char* reference) const;
    // Stores the width in decimal, "0" for a negative width.
    void SetColumnWidth(const char* reference, int width);
    // The row's "height" property as a number (0 when missing).
    int GetRowHeight(int row) const;

    // The value of key in a property list ("key=value" entries joined by ';'), ignoring
    // the key's case; "" when absent. A trailing ';' is accepted.
    static SString GetListValue(const char* list, const char* key);
    // The list with key set to value; unchanged when the value holds ';' or the key is
    // not an identifier. The result has ';' between entries and none after the last.
    static SString SetListValue(const char* list, const char* key, const char* value);
    // Letters, digits and '_', not starting with a digit, not '_' alone, not ending with '_'.
    static bool IsIdentifier(const char* text);

    // --- external forms ---
    // Replaces the content with a table text (csv false) or comma-separated text. Free
    // texts and property lists are kept only when asked. A table text that ends early
    // gives empty strings for the rest; one that is damaged (a wrong magic, counts that
    // are not numbers or announce too much, refused column names) fails and leaves the
    // table as it was. Comma-separated text always loads.
    bool LoadTable(SFile* stream, bool keepTexts, bool keepProperties, bool csv);
    // LoadTable under the name the grid uses.
    bool Read(SFile* stream, bool keepTexts, bool keepProperties, bool csv)
    {
        return LoadTable(stream, keepTexts, keepProperties, csv);
    }
    // Writes the table text (csv false) or the cell values as comma-separated text (no
    // header line, quotes where a value needs them); false when the stream takes less.
    bool SaveTable(SFile* stream, bool csv) const;

    // Largest column count the readers accept.
    static const int kMaxColumns = 65536;
    // Most cells a table text may announce beyond what its bytes hold.
    static const int kMaxPaddedCells = 1 << 20;

private:
    _SField* GetField(const char* reference) const;
    _SField* GetFieldAt(int column) const { return m_columns.GetAt(column); }
    // Removes the column record at index from the list (the caller owns it).
    void RemoveColumn(int index);
    // The list with its slots made: one per row, null when it was not made yet.
    SStringArray& MadeList(SStringArray& list) const;
    // The text of a cell value: its string, else its loaded value, else "".
    const char* ValueText(const _SField* field, int row) const;
    bool ReadTableText(SFile* stream, bool keepTexts, bool keepProperties);
    bool ReadCsv(SFile* stream);
    bool WriteTableText(SFile* stream) const;
    bool WriteCsv(SFile* stream) const;

    SString m_text;              // table text
    SString m_properties;        // table property list
    int m_rowCount = 0;          // rows of every column
    SStringArray m_rowTexts;     // one free text per row (null: ""); empty until first set
    SStringArray m_rowProperties; // one property list per row (null: ""); empty until first set
    SArray<_SField*> m_columns;  // owning
    SCsvRows m_csv;              // values read from comma-separated text; a cell's string, once made, stands instead
};
