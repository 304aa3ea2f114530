#include "STable.h"

#include <stdlib.h>
#include <string.h>

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

// A new string holding text, which is taken over; an empty text gives an allocated "".
SString* TakeText(SString&& text)
{
    if (text.IsEmpty())
        return new SString("");
    return new SString(std::move(text));
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

bool NeedsCsvQuotes(const char* value, bool onlyField)
{
    if (!*value)
        return onlyField;
    return strpbrk(value, ",\"\r\n") != nullptr;
}

void AppendCsvField(std::string& out, const char* value, bool onlyField)
{
    if (!NeedsCsvQuotes(value, onlyField))
    {
        out += value;
        return;
    }
    out += '"';
    for (const char* p = value; *p; p++)
    {
        if (*p == '"')
            out += '"';
        out += *p;
    }
    out += '"';
}

bool WriteAll(SFile* stream, const std::string& out)
{
    if (out.empty())
        return true;
    if (out.size() > 0x7FFFFFF0u)
        return false;
    return stream->Write(out.data(), (int)out.size()) == (int)out.size();
}

// Removes the zero bytes of text, which comma-separated text cannot mean; returns the length left.
int DropZeros(char* text, int size)
{
    char* out = (char*)memchr(text, 0, (size_t)size);
    if (!out)
        return size;
    for (const char* in = out; in < text + size; in++)
        if (*in)
            *out++ = *in;
    return (int)(out - text);
}

// A line of comma-separated text ends with LF or CR LF; a CR alone is text.
bool IsLineEnd(const char* p, const char* end)
{
    return *p == '\n' || (*p == '\r' && p + 1 < end && p[1] == '\n');
}

// Reads the field at p up to the next separator or line end outside quotes and returns
// where it stopped. A field that starts with a quote runs to the closing quote, a doubled
// quote inside standing for one; a quote never closed takes the rest of the text. Whatever
// follows the closing quote belongs to the field too. The value is unquoted in place: it
// starts at *value and is *length bytes long.
char* NextCsvField(char* p, char* end, char** value, int* length)
{
    char* out = p;
    *value = p;
    if (p < end && *p == '"')
    {
        char* start = ++p;
        out = start;
        *value = start;
        for (;;)
        {
            char* quote = (char*)memchr(p, '"', (size_t)(end - p));
            char* stop = quote ? quote : end;
            if (out != p)
                memmove(out, p, (size_t)(stop - p));
            out += stop - p;
            if (!quote)
            {
                p = end;
                break;
            }
            p = quote + 1;
            if (p < end && *p == '"')
            {
                *out++ = '"';
                p++;
                continue;
            }
            break;
        }
    }
    char* start = p;
    while (p < end && *p != ',' && !IsLineEnd(p, end))
        p++;
    if (out != start)
        memmove(out, start, (size_t)(p - start));
    out += p - start;
    *length = (int)(out - *value);
    return p;
}

// Makes list hold count new empty strings (the list must hold no strings); false when memory runs out.
bool MakeEmptyTexts(SArray<SString*>& list, int count)
{
    if (!list.SetSize(count, false))
        return false;
    for (int i = 0; i < count; i++)
        list.SetAt(i, new SString());
    return true;
}

// Owns the cells gathered while comma-separated text is read, until the table takes them.
struct CellHolder
{
    std::vector<SString*> cells;
    CellHolder() = default;
    CellHolder(const CellHolder&) = delete;
    CellHolder& operator=(const CellHolder&) = delete;
    ~CellHolder()
    {
        for (SString* cell : cells)
            delete cell;
    }
};

}

STable::STable()
{
    Clear();
}

STable::~STable()
{
    m_columns.DeleteAll();
}

void STable::Clear()
{
    m_text = "";
    m_properties = "";
    m_rowTexts.RemoveAll();
    m_rowProperties.RemoveAll();
    m_columns.DestroyAll();
}

void STable::Swap(STable& other)
{
    std::swap(m_text, other.m_text);
    std::swap(m_properties, other.m_properties);
    SwapLists(m_rowTexts, other.m_rowTexts);
    SwapLists(m_rowProperties, other.m_rowProperties);
    SArray<_SField*> held;
    held.CopyFrom(m_columns);
    m_columns.CopyFrom(other.m_columns);
    other.m_columns.CopyFrom(held);
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
    int rows = GetRowCount();
    if (rows > 0)
    {
        field->cellValues.Add("", -1, rows);
        field->cellTexts.Add("", -1, rows);
        field->cellProperties.Add("", -1, rows);
    }
    if (index < 0 || index > m_columns.GetCount())
        index = m_columns.GetCount();
    return m_columns.Add(field, index);
}

bool STable::DeleteColumn(const char* reference)
{
    _SField* field = TakeColumn(reference);
    delete field;
    return field != nullptr;
}

STable::_SField* STable::TakeColumn(const char* reference)
{
    int index = GetColumnIndex(reference);
    if (index < 0)
        return nullptr;
    _SField* field = m_columns.GetAt(index);
    m_columns.RemoveAt(index, 1);
    // A table without columns has no rows.
    if (m_columns.GetCount() == 0)
    {
        m_rowTexts.RemoveAll();
        m_rowProperties.RemoveAll();
    }
    return field;
}

SString STable::GetColumnName(const char* reference) const
{
    _SField* field = GetField(reference);
    return field ? field->name : SString("");
}

int STable::InsertRow(int index)
{
    if (index < 0 || index > GetRowCount())
        index = GetRowCount();
    m_rowTexts.Add("", index);
    m_rowProperties.Add("", index);
    for (int i = 0; i < m_columns.GetCount(); i++)
    {
        _SField* field = m_columns.GetAt(i);
        field->cellValues.Add("", index);
        field->cellTexts.Add("", index);
        field->cellProperties.Add("", index);
    }
    return index;
}

void STable::DeleteRows(int first, int count)
{
    if (first < 0 || first >= GetRowCount())
        return;
    m_rowTexts.DeleteAndRemoveAt(first, count);
    m_rowProperties.DeleteAndRemoveAt(first, count);
    for (int i = 0; i < m_columns.GetCount(); i++)
    {
        _SField* field = m_columns.GetAt(i);
        field->cellValues.DeleteAndRemoveAt(first, count);
        field->cellTexts.DeleteAndRemoveAt(first, count);
        field->cellProperties.DeleteAndRemoveAt(first, count);
    }
}

void STable::SetCell(int row, const char* reference, const char* value)
{
    _SField* field = GetField(reference);
    if (field && row >= 0 && row < GetRowCount())
        field->cellValues.SetAt(row, value ? value : "");
}

SString* STable::GetCell(int row, int column) const
{
    _SField* field = GetFieldAt(column);
    return field ? field->cellValues.GetString(row) : nullptr;
}

SString* STable::GetCellText(int row, int column) const
{
    _SField* field = GetFieldAt(column);
    return field ? field->cellTexts.GetString(row) : nullptr;
}

SString* STable::GetCellProperties(int row, int column) const
{
    _SField* field = GetFieldAt(column);
    return field ? field->cellProperties.GetString(row) : nullptr;
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
    return GetListValue(*m_rowProperties.GetString(row), key);
}

void STable::SetRowProperty(int row, const char* key, const char* value)
{
    if (row >= 0 && row < GetRowCount())
        m_rowProperties.SetAt(row, SetListValue(*m_rowProperties.GetString(row), key, value));
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
    int size = stream->GetRemaining();
    SString data;
    if (size > 0)
    {
        char* buffer = data.SetLength(size);
        if (!buffer || stream->ReadBounded(buffer, size) != size)
            return false;
        size = DropZeros(buffer, size);
    }
    // The parser unquotes fields in place, so it works on the buffer it was given.
    char* p = data.GetBuffer();
    char* end = p + size;

    CellHolder holder;
    int columns = -1, rows = 0;
    while (p < end)
    {
        if (IsLineEnd(p, end))
        {
            p += *p == '\n' ? 1 : 2; // an empty line holds no field
            continue;
        }
        // One record: fields up to a line end outside quotes. Fields beyond the
        // column count are read past but not kept; missing ones are empty.
        int field = 0;
        for (;;)
        {
            char* value;
            int length;
            p = NextCsvField(p, end, &value, &length);
            if (columns < 0 || field < columns)
                holder.cells.push_back(length ? new SString(value, length) : new SString());
            field++;
            if (p < end && *p == ',')
            {
                p++;
                continue;
            }
            if (p < end)
                p += *p == '\n' ? 1 : 2;
            break;
        }
        if (columns < 0)
        {
            columns = field;
            if (columns > kMaxColumns)
                return false;
        }
        for (; field < columns; field++)
            holder.cells.push_back(new SString());
        rows++;
    }
    if (columns <= 0)
        return true;

    if (!MakeEmptyTexts(m_rowTexts, rows) || !MakeEmptyTexts(m_rowProperties, rows))
        return false;
    for (int c = 0; c < columns; c++)
    {
        _SField* field = new _SField;
        m_columns.Add(field);
        field->name = "";
        field->text = "";
        field->properties = "";
        if (!MakeSlots(field->cellValues, rows) || !MakeEmptyTexts(field->cellTexts, rows) ||
            !MakeEmptyTexts(field->cellProperties, rows))
            return false;
        size_t at = (size_t)c;
        for (int r = 0; r < rows; r++, at += (size_t)columns)
        {
            field->cellValues.SArray<SString*>::SetAt(r, holder.cells[at]);
            holder.cells[at] = nullptr;
        }
    }
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
    // Every string in writing order; run once to measure and once to write.
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
            put(*m_rowTexts.GetString(r));
            put(*m_rowProperties.GetString(r));
            for (int c = 0; c < columns; c++)
            {
                _SField* field = m_columns.GetAt(c);
                put(*field->cellValues.GetString(r));
                put(*field->cellTexts.GetString(r));
                put(*field->cellProperties.GetString(r));
            }
        }
    };
    size_t total = 0;
    visit([&total](const char* text) { total += strlen(text) + 1; });
    std::string out;
    out.reserve(total);
    visit([&out](const char* text) {
        out += text;
        out += '\0';
    });
    return WriteAll(stream, out);
}

bool STable::WriteCsv(SFile* stream) const
{
    int columns = GetColumnCount(), rows = GetRowCount();
    size_t estimate = 0;
    for (int r = 0; columns && r < rows; r++)
        for (int c = 0; c < columns; c++)
            estimate += (size_t)m_columns.GetAt(c)->cellValues.GetString(r)->GetLength() + 3;
    std::string out;
    out.reserve(estimate + 2 * (size_t)rows);
    for (int r = 0; columns && r < rows; r++)
    {
        for (int c = 0; c < columns; c++)
        {
            if (c)
                out += ',';
            AppendCsvField(out, *m_columns.GetAt(c)->cellValues.GetString(r), columns == 1);
        }
        out += "\r\n";
    }
    return WriteAll(stream, out);
}
