#include "STable.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "SFile.h"

namespace
{

const char kTableMagic[] = "TAVRIN TABLE 1.0.0.0";

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// The text without the blanks and tabs around it.
SString TrimBlanks(const char* text)
{
    if (!text)
        return SString("");
    const char* start = text;
    while (IsBlank(*start))
        start++;
    const char* end = start + strlen(start);
    while (end > start && IsBlank(end[-1]))
        end--;
    return SString(start, (int)(end - start));
}

// A count as the table text writes it: decimal digits only, at most nine of them. A
// missing count (the text ended before it) is 0.
bool ParseCount(const SString& text, int* count)
{
    int length = text.GetLength();
    if (length > 9)
        return false;
    int value = 0;
    for (int i = 0; i < length; i++)
    {
        char ch = text[i];
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + (ch - '0');
    }
    *count = value;
    return true;
}

// Makes list hold count null slots (the list must hold no strings); false when memory runs out.
bool MakeSlots(SArray<SString*>& list, int count)
{
    if (!list.SetSize(count, false))
        return false;
    list.SetAt(-1, nullptr);
    return true;
}

// A new string holding text, which is taken over; an empty text gives a null slot.
SString* TakeText(SString&& text)
{
    if (text.IsEmpty())
        return nullptr;
    return new SString(std::move(text));
}

// The text of a slot of a free text or property list: a null slot stands for "".
const char* SlotText(const SString* slot)
{
    return slot ? (const char*)*slot : "";
}

// The string of a slot, made from text when it is still null; null outside the list.
SString* SlotString(SStringArray& list, int row, const char* text)
{
    SString* slot = list.GetString(row);
    if (!slot && row >= 0 && row < list.GetCount())
    {
        list.SetAt(row, text);
        slot = list.GetString(row);
    }
    return slot;
}

// Inserts an empty slot into a list that is made; an unmade one stays so.
void InsertSlot(SStringArray& list, int index, int rowsBefore)
{
    if (list.GetCount() == rowsBefore)
        list.Add("", index);
}

// Exchanges the string pointers of two lists; no text is copied or freed.
void SwapLists(SArray<SString*>& a, SArray<SString*>& b)
{
    SArray<SString*> held;
    held.CopyFrom(a);
    a.SArray<SString*>::CopyFrom(b);
    b.SArray<SString*>::CopyFrom(held);
}

// One entry of a property list: where its key and value lie in the list.
struct ListEntry
{
    const char* start;
    int length;
    int keyLength; // characters before the first '=', 0 when there is none
    const char* value;
    int valueLength;
};

// Splits the entry that starts at text (up to the next ';' or the end); returns the
// position after it and its ';'.
const char* NextEntry(const char* text, ListEntry* entry)
{
    const char* end = strchr(text, ';');
    if (!end)
        end = text + strlen(text);
    entry->start = text;
    entry->length = (int)(end - text);
    const char* equals = (const char*)memchr(text, '=', (size_t)entry->length);
    entry->keyLength = equals ? (int)(equals - text) : 0;
    entry->value = equals ? equals + 1 : end;
    entry->valueLength = (int)(end - entry->value);
    return *end ? end + 1 : end;
}

bool KeyMatches(const ListEntry& entry, const char* key)
{
    int length = (int)strlen(key);
    return entry.keyLength == length && _strnicmp(entry.start, key, (size_t)length) == 0;
}

// The bytes that end the plain start of a value: those that make it need quotes, and its zero.
struct PlainEnds
{
    bool end[256];
    constexpr PlainEnds() : end()
    {
        end[0] = true;
        end[(unsigned char)','] = true;
        end[(unsigned char)'"'] = true;
        end[(unsigned char)'\r'] = true;
        end[(unsigned char)'\n'] = true;
    }
};
constexpr PlainEnds kPlainEnds;

// Appends a value, quoted when it holds a separator, a quote or a line break, or when it
// is the empty only field of a line (which would otherwise read as an empty line).
// Returns the value's length.
size_t AppendCsvField(std::string& out, const char* value, bool onlyField)
{
    // One scan finds both the length of a plain value and whether it needs quotes.
    const char* p = value;
    while (!kPlainEnds.end[(unsigned char)*p])
        p++;
    if (!*p && (p > value || !onlyField))
    {
        out.append(value, (size_t)(p - value));
        return (size_t)(p - value);
    }
    out += '"';
    // The text goes in runs; each quote ends one and is doubled.
    const char* run = value;
    for (; *p; p++)
    {
        if (*p != '"')
            continue;
        out.append(run, (size_t)(p - run) + 1);
        out += '"';
        run = p + 1;
    }
    out.append(run, (size_t)(p - run));
    out += '"';
    return (size_t)(p - value);
}

// Walks the loaded values of one row in column order, for a writer that visits every
// cell: each value is measured once, by the writer that takes it.
class LoadedRow
{
public:
    LoadedRow(const SCsvRows& csv, int row) : m_start(csv.GetRowStart(row, &m_held)), m_value(m_start) {}
    // The value of a loaded column.
    const char* Get(int column)
    {
        if (column >= m_held)
            return "";
        if (column < m_index)
        {
            m_value = m_start;
            m_index = 0;
        }
        for (; m_index < column; m_index++)
            m_value += strlen(m_value) + 1;
        return m_value;
    }
    // The value of column, asked for last, is length bytes long: the walk goes past it
    // without measuring it again.
    void Passed(int column, size_t length)
    {
        if (column < m_held && column == m_index)
        {
            m_value += length + 1;
            m_index++;
        }
    }

private:
    int m_held = 0;
    const char* m_start;
    const char* m_value;
    int m_index = 0;
};

// Collects the text being written and hands it to the stream. A memory stream takes it
// in one write, so that it makes its room once; any other stream takes it in pieces
// from a small buffer used again and again, so that a long table is not first copied
// whole into memory the system has to hand out anew.
class TextWriter
{
public:
    // expected: about the bytes the whole text takes, when the stream is in memory.
    TextWriter(SFile* stream, size_t expected)
        : m_stream(stream), m_piece(stream->IsMemory() ? expected : kPieceBytes)
    {
        // A piece may pass its size by the text appended last.
        m_out.reserve(stream->IsMemory() ? expected : kPieceBytes + kPieceBytes / 8);
    }
    // True when the stream is in memory and wants the whole text's size first.
    static bool WantsSize(SFile* stream) { return stream->IsMemory(); }
    // The text not handed over yet; append to it, then call Pass.
    std::string& Out() { return m_out; }
    // Hands the collected text over once a piece is full.
    void Pass()
    {
        if (m_out.size() >= m_piece)
            Hand();
    }
    // Hands over the rest; false when the stream took less than it was given.
    bool Finish()
    {
        Hand();
        return m_ok;
    }

private:
    static const size_t kPieceBytes = 256 * 1024;

    void Hand()
    {
        if (m_out.empty())
            return;
        if (m_out.size() > 0x7FFFFFF0u || m_stream->Write(m_out.data(), (int)m_out.size()) != (int)m_out.size())
            m_ok = false;
        m_out.clear();
    }

    SFile* m_stream;
    size_t m_piece;
    std::string m_out;
    bool m_ok = true;
};

}

STable::STable()
{
    Clear();
}

SStringArray& STable::MadeList(SStringArray& list) const
{
    if (list.GetCount() == 0 && m_rowCount > 0)
        MakeSlots(list, m_rowCount);
    return list;
}

const char* STable::ValueText(const _SField* field, int row) const
{
    if (const SString* slot = field->cellValues.GetString(row))
        return *slot;
    return field->csvColumn >= 0 ? m_csv.GetValue(row, field->csvColumn) : "";
}

STable::~STable()
{
    m_columns.DeleteAll();
}

void STable::Clear()
{
    m_text = "";
    m_properties = "";
    m_rowCount = 0;
    m_rowTexts.RemoveAll();
    m_rowProperties.RemoveAll();
    m_columns.DestroyAll();
    m_csv.Clear();
}

void STable::Swap(STable& other)
{
    std::swap(m_text, other.m_text);
    std::swap(m_properties, other.m_properties);
    std::swap(m_rowCount, other.m_rowCount);
    SwapLists(m_rowTexts, other.m_rowTexts);
    SwapLists(m_rowProperties, other.m_rowProperties);
    SArray<_SField*> held;
    held.CopyFrom(m_columns);
    m_columns.CopyFrom(other.m_columns);
    other.m_columns.CopyFrom(held);
    m_csv.Swap(other.m_csv);
}

int STable::FindColumn(const char* name) const
{
    if (!name || !*name)
        return -1;
    for (int i = 0; i < m_columns.GetCount(); i++)
        if (m_columns.GetAt(i)->name.CompareNoCase(name) == 0)
            return i;
    return -1;
}

int STable::GetColumnIndex(const char* reference) const
{
    if (!reference || !*reference)
        return -1;
    SString text(reference);
    if (text.IsInteger())
    {
        long long index = strtoll(reference, nullptr, 10);
        return index >= 0 && index < m_columns.GetCount() ? (int)index : -1;
    }
    return FindColumn(reference);
}

STable::_SField* STable::GetField(const char* reference) const
{
    int index = GetColumnIndex(reference);
    return index >= 0 ? m_columns.GetAt(index) : nullptr;
}

int STable::InsertColumn(const char* name, int index)
{
    SString trimmed = TrimBlanks(name);
    if (!trimmed.IsEmpty() && (trimmed.IsInteger() || FindColumn(trimmed) >= 0))
        return -1;
    _SField* field = new _SField;
    field->name = trimmed;
    field->text = "";
    field->properties = "";
    if (index < 0 || index > m_columns.GetCount())
        index = m_columns.GetCount();
    return m_columns.Add(field, index);
}

bool STable::DeleteColumn(const char* reference)
{
    int index = GetColumnIndex(reference);
    if (index < 0)
        return false;
    delete m_columns.GetAt(index);
    RemoveColumn(index);
    return true;
}

STable::_SField* STable::TakeColumn(const char* reference)
{
    int index = GetColumnIndex(reference);
    if (index < 0)
        return nullptr;
    // The record leaves the table that knows its row count, so its lists are made first.
    _SField* field = m_columns.GetAt(index);
    MadeList(field->cellValues);
    MadeList(field->cellTexts);
    MadeList(field->cellProperties);
    // Its loaded values go with it, into a block of its own.
    if (field->csvColumn >= 0)
    {
        int rows = GetRowCount();
        field->packedStarts.reserve((size_t)rows);
        field->packedValues.reserve(m_csv.GetTextSize() / (size_t)m_csv.GetColumnCount() + (size_t)rows);
        for (int r = 0; r < rows; r++)
        {
            const char* value = m_csv.GetValue(r, field->csvColumn);
            field->packedStarts.push_back((uint32_t)field->packedValues.size());
            field->packedValues.insert(field->packedValues.end(), value, value + strlen(value) + 1);
        }
        field->csvColumn = -1;
    }
    RemoveColumn(index);
    return field;
}

void STable::RemoveColumn(int index)
{
    m_columns.RemoveAt(index, 1);
    // A table without columns has no rows.
    if (m_columns.GetCount() == 0)
    {
        m_rowCount = 0;
        m_rowTexts.RemoveAll();
        m_rowProperties.RemoveAll();
        m_csv.Clear();
    }
}

SString STable::GetColumnName(const char* reference) const
{
    _SField* field = GetField(reference);
    return field ? field->name : SString("");
}

int STable::InsertRow(int index)
{
    int rows = GetRowCount();
    if (index < 0 || index > rows)
        index = rows;
    InsertSlot(m_rowTexts, index, rows);
    InsertSlot(m_rowProperties, index, rows);
    for (int i = 0; i < m_columns.GetCount(); i++)
    {
        _SField* field = m_columns.GetAt(i);
        InsertSlot(field->cellValues, index, rows);
        InsertSlot(field->cellTexts, index, rows);
        InsertSlot(field->cellProperties, index, rows);
    }
    if (m_csv.GetColumnCount() > 0)
        m_csv.InsertRow(index);
    m_rowCount = rows + 1;
    return index;
}

void STable::DeleteRows(int first, int count)
{
    int rows = GetRowCount();
    if (first < 0 || first >= rows)
        return;
    int end = count < 0 || count > rows - first ? rows : first + count;
    m_rowCount = rows - (end - first);
    m_rowTexts.DeleteAndRemoveAt(first, count);
    m_rowProperties.DeleteAndRemoveAt(first, count);
    for (int i = 0; i < m_columns.GetCount(); i++)
    {
        _SField* field = m_columns.GetAt(i);
        field->cellValues.DeleteAndRemoveAt(first, count);
        field->cellTexts.DeleteAndRemoveAt(first, count);
        field->cellProperties.DeleteAndRemoveAt(first, count);
    }
    if (m_csv.GetColumnCount() > 0)
        m_csv.DeleteRows(first, end);
}

void STable::SetCell(int row, const char* reference, const char* value)
{
    _SField* field = GetField(reference);
    if (field && row >= 0 && row < GetRowCount())
        MadeList(field->cellValues).SetAt(row, value ? value : "");
}

SString* STable::GetCell(int row, int column) const
{
    _SField* field = GetFieldAt(column);
    if (!field || row < 0 || row >= GetRowCount())
        return nullptr;
    const char* text = ValueText(field, row);
    return SlotString(MadeList(field->cellValues), row, text);
}

SString* STable::GetCellText(int row, int column) const
{
    _SField* field = GetFieldAt(column);
    if (!field || row < 0 || row >= GetRowCount())
        return nullptr;
    return SlotString(MadeList(field->cellTexts), row, "");
}

SString* STable::GetCellProperties(int row, int column) const
{
    _SField* field = GetFieldAt(column);
    if (!field || row < 0 || row >= GetRowCount())
        return nullptr;
    return SlotString(MadeList(field->cellProperties), row, "");
}

SString STable::GetColumnText(const char* reference) const
{
    _SField* field = GetField(reference);
    return field ? field->text : SString("");
}

void STable::SetColumnText(const char* reference, const char* text)
{
    if (_SField* field = GetField(reference))
        field->text = text ? text : "";
}

SString STable::GetColumnProperties(const char* reference) const
{
    _SField* field = GetField(reference);
    return field ? field->properties : SString("");
}

void STable::SetColumnProperties(const char* reference, const char* list)
{
    if (_SField* field = GetField(reference))
        field->properties = list ? list : "";
}

SString STable::GetColumnProperty(const char* reference, const char* key) const
{
    _SField* field = GetField(reference);
    return field ? GetListValue(field->properties, key) : SString("");
}

void STable::SetColumnProperty(const char* reference, const char* key, const char* value)
{
    if (_SField* field = GetField(reference))
        field->properties = SetListValue(field->properties, key, value);
}

SString STable::GetRowProperty(int row, const char* key) const
{
    if (row < 0 || row >= GetRowCount())
        return SString("");
    return GetListValue(SlotText(m_rowProperties.GetString(row)), key);
}

void STable::SetRowProperty(int row, const char* key, const char* value)
{
    if (row >= 0 && row < GetRowCount())
        MadeList(m_rowProperties).SetAt(row, SetListValue(SlotText(m_rowProperties.GetString(row)), key, value));
}

int STable::GetColumnWidth(const char* reference) const
{
    return atoi(GetColumnProperty(reference, "width"));
}

void STable::SetColumnWidth(const char* reference, int width)
{
    SetColumnProperty(reference, "width", IntToString(width < 0 ? 0 : width));
}

int STable::GetRowHeight(int row) const
{
    return atoi(GetRowProperty(row, "height"));
}

SString STable::GetListValue(const char* list, const char* key)
{
    if (!list || !key)
        return SString("");
    const char* position = list;
    while (*position)
    {
        ListEntry entry;
        position = NextEntry(position, &entry);
        if (KeyMatches(entry, key))
            return SString(entry.value, entry.valueLength);
    }
    return SString("");
}

SString STable::SetListValue(const char* list, const char* key, const char* value)
{
    if (!list)
        list = "";
    if (!value)
        value = "";
    if (strchr(value, ';') || !IsIdentifier(key))
        return SString(list);
    SString result("");
    bool replaced = false;
    const char* position = list;
    while (*position)
    {
        ListEntry entry;
        position = NextEntry(position, &entry);
        // Empty entries (a trailing ';' of the older form) are not written again.
        if (entry.length == 0)
            continue;
        if (!result.IsEmpty())
            result.AppendChar(';');
        if (!replaced && KeyMatches(entry, key))
        {
            result += SString(entry.start, entry.keyLength);
            result += "=";
            result += value;
            replaced = true;
        }
        else
            result += SString(entry.start, entry.length);
    }
    if (!replaced)
    {
        if (!result.IsEmpty())
            result.AppendChar(';');
        result += key;
        result += "=";
        result += value;
    }
    return result;
}

bool STable::IsIdentifier(const char* text)
{
    if (!text || !*text || (*text >= '0' && *text <= '9'))
        return false;
    size_t length = strlen(text);
    if (text[length - 1] == '_')
        return false;
    for (const char* p = text; *p; p++)
    {
        char ch = *p;
        bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        bool digit = ch >= '0' && ch <= '9';
        if (!letter && !digit && ch != '_')
            return false;
    }
    return true;
}

bool STable::LoadTable(SFile* stream, bool keepTexts, bool keepProperties, bool csv)
{
    if (!stream || !stream->IsOpen())
        return false;
    // Read into a table of its own so that damaged input leaves this one as it was.
    STable loaded;
    bool ok = csv ? loaded.ReadCsv(stream) : loaded.ReadTableText(stream, keepTexts, keepProperties);
    if (ok)
        Swap(loaded);
    return ok;
}

bool STable::ReadTableText(SFile* stream, bool keepTexts, bool keepProperties)
{
    if (stream->ReadZString() != kTableMagic)
        return false;
    int columns = 0, rows = 0;
    if (!ParseCount(stream->ReadZString(), &columns) || !ParseCount(stream->ReadZString(), &rows))
        return false;
    if (columns > kMaxColumns)
        return false;
    // Strings missing at the end of the text load as empty ones, but a count that the
    // bytes present cannot back (each string takes at least its zero byte) may only ask
    // for a bounded number of cells: anything more is damage, not a short text.
    long long strings = 2 + 3LL * columns + (long long)rows * (2 + 3LL * columns);
    long long cells = (long long)rows * (columns > 0 ? columns : 1);
    if (strings > (long long)stream->GetRemaining() + 1 && cells > kMaxPaddedCells)
        return false;

    auto next = [stream](bool keep) -> SString* {
        return TakeText(stream->ReadZString(keep));
    };
    auto nextText = [stream](bool keep) -> SString {
        SString text = stream->ReadZString(keep);
        return text.IsEmpty() ? SString("") : text;
    };

    m_text = nextText(keepTexts);
    m_properties = nextText(keepProperties);

    SStringArray names;
    names.AddFlags(0x10000);
    for (int c = 0; c < columns; c++)
    {
        _SField* field = new _SField;
        m_columns.Add(field);
        field->name = TrimBlanks(stream->ReadZString());
        field->text = nextText(keepTexts);
        field->properties = nextText(keepProperties);
        if (field->name.IsEmpty())
            continue;
        if (field->name.IsInteger())
            return false;
        names.Add(field->name);
    }
    // Duplicate names, ignoring case: neighbours once sorted.
    names.Sort();
    for (int i = 1; i < names.GetCount(); i++)
        if (names.GetString(i - 1)->CompareNoCase(*names.GetString(i)) == 0)
            return false;

    if (!MakeSlots(m_rowTexts, rows) || !MakeSlots(m_rowProperties, rows))
        return false;
    m_rowCount = rows;
    for (int c = 0; c < columns; c++)
    {
        _SField* field = m_columns.GetAt(c);
        if (!MakeSlots(field->cellValues, rows) || !MakeSlots(field->cellTexts, rows) ||
            !MakeSlots(field->cellProperties, rows))
            return false;
    }
    for (int r = 0; r < rows; r++)
    {
        m_rowTexts.SArray<SString*>::SetAt(r, next(keepTexts));
        m_rowProperties.SArray<SString*>::SetAt(r, next(keepProperties));
        for (int c = 0; c < columns; c++)
        {
            _SField* field = m_columns.GetAt(c);
            field->cellValues.SArray<SString*>::SetAt(r, next(true));
            field->cellTexts.SArray<SString*>::SetAt(r, next(keepTexts));
            field->cellProperties.SArray<SString*>::SetAt(r, next(keepProperties));
        }
    }
    return true;
}

bool STable::ReadCsv(SFile* stream)
{
    // The values stay where the reader put them; each column reads its own from there.
    if (!m_csv.Read(stream, kMaxColumns))
        return false;
    for (int c = 0; c < m_csv.GetColumnCount(); c++)
    {
        _SField* column = new _SField;
        m_columns.Add(column);
        column->name = "";
        column->text = "";
        column->properties = "";
        column->csvColumn = c;
    }
    m_rowCount = m_csv.GetRowCount();
    return true;
}

bool STable::SaveTable(SFile* stream, bool csv) const
{
    if (!stream)
        return false;
    return csv ? WriteCsv(stream) : WriteTableText(stream);
}

bool STable::WriteTableText(SFile* stream) const
{
    int columns = GetColumnCount(), rows = GetRowCount();
    // Every string in writing order; run to measure (when the stream wants the size) and to write.
    auto visit = [&](auto&& put) {
        put(kTableMagic);
        put(IntToString(columns));
        put(IntToString(rows));
        put(m_text);
        put(m_properties);
        for (int c = 0; c < columns; c++)
        {
            _SField* field = m_columns.GetAt(c);
            put(field->name);
            put(field->text);
            put(field->properties);
        }
        for (int r = 0; r < rows; r++)
        {
            put(SlotText(m_rowTexts.GetString(r)));
            put(SlotText(m_rowProperties.GetString(r)));
            LoadedRow loaded(m_csv, r);
            for (int c = 0; c < columns; c++)
            {
                _SField* field = m_columns.GetAt(c);
                if (const SString* slot = field->cellValues.GetString(r))
                    put(*slot);
                else if (field->csvColumn < 0)
                    put("");
                else
                    loaded.Passed(field->csvColumn, put(loaded.Get(field->csvColumn)));
                put(SlotText(field->cellTexts.GetString(r)));
                put(SlotText(field->cellProperties.GetString(r)));
            }
        }
    };
    size_t total = 0;
    if (TextWriter::WantsSize(stream))
        visit([&total](const char* text) {
            size_t length = strlen(text);
            total += length + 1;
            return length;
        });
    TextWriter writer(stream, total);
    std::string& out = writer.Out();
    visit([&](const char* text) {
        size_t length = strlen(text);
        out.append(text, length + 1);
        writer.Pass();
        return length;
    });
    return writer.Finish();
}

bool STable::WriteCsv(SFile* stream) const
{
    int columns = GetColumnCount(), rows = GetRowCount();
    // Room for every value with its separator and quotes: the loaded values measure
    // all at once, the strings made since one by one.
    size_t estimate = 0;
    if (TextWriter::WantsSize(stream))
    {
        estimate = 2 * (size_t)rows + m_csv.GetTextSize();
        for (int c = 0; c < columns; c++)
        {
            const _SField* field = m_columns.GetAt(c);
            estimate += 3 * (size_t)rows;
            for (int r = 0; r < field->cellValues.GetCount(); r++)
                if (const SString* slot = field->cellValues.GetString(r))
                    estimate += (size_t)slot->GetLength();
        }
    }
    TextWriter writer(stream, estimate);
    std::string& out = writer.Out();
    for (int r = 0; columns && r < rows; r++)
    {
        LoadedRow loaded(m_csv, r);
        for (int c = 0; c < columns; c++)
        {
            if (c)
                out += ',';
            const _SField* field = m_columns.GetAt(c);
            if (const SString* slot = field->cellValues.GetString(r))
                AppendCsvField(out, *slot, columns == 1);
            else if (field->csvColumn < 0)
                AppendCsvField(out, "", columns == 1);
            else
                loaded.Passed(field->csvColumn,
                              AppendCsvField(out, loaded.Get(field->csvColumn), columns == 1));
        }
        out += "\r\n";
        writer.Pass();
    }
    return writer.Finish();
}
