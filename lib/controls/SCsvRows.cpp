#include "SCsvRows.h"

#include <string.h>

#include <new>
#include <utility>

#include "SFile.h"

namespace
{

// The bytes that end a run of unquoted text: the separator and the two line-end bytes.
struct StopBytes
{
    bool stop[256];
    constexpr StopBytes() : stop()
    {
        stop[(unsigned char)','] = true;
        stop[(unsigned char)'\r'] = true;
        stop[(unsigned char)'\n'] = true;
    }
};
constexpr StopBytes kStops;

// Removes the zero bytes of text, which comma-separated text cannot mean; returns the length left.
size_t DropZeros(char* text, size_t size)
{
    char* out = (char*)memchr(text, 0, size);
    if (!out)
        return size;
    for (const char* in = out; in < text + size; in++)
        if (*in)
            *out++ = *in;
    return (size_t)(out - text);
}

// Reads the field at p, unquotes it into *out and ends it there with a zero. The text
// is unquoted in place: *out never runs ahead of p, so only bytes already read are
// written. *end must be '\n', which stops every scan at the end. Returns where the field
// stopped and in *stop the byte found there: ',', the CR of a CR LF, or '\n' (also at end).
const char* ReadField(const char* p, const char* end, char** out, char* stop)
{
    char* to = *out;
    if (*p == '"')
    {
        p++;
        for (;;)
        {
            const char* quote = (const char*)memchr(p, '"', (size_t)(end - p));
            // A doubled quote stands for one: the piece runs up to and including the first.
            bool doubled = quote && quote + 1 < end && quote[1] == '"';
            const char* piece = !quote ? end : doubled ? quote + 1 : quote;
            memmove(to, p, (size_t)(piece - p));
            to += piece - p;
            if (!quote)
            {
                p = end; // a quote never closed takes the rest
                break;
            }
            p = doubled ? quote + 2 : quote + 1;
            if (!doubled)
                break;
        }
    }
    // Whatever follows a closing quote belongs to the field too.
    char ch;
    for (;;)
    {
        while (!kStops.stop[(unsigned char)(ch = *p)])
        {
            *to++ = ch;
            p++;
        }
        if (ch != '\r' || (p + 1 < end && p[1] == '\n'))
            break;
        *to++ = ch; // a CR alone is text
        p++;
    }
    *stop = ch;
    *to++ = 0;
    *out = to;
    return p;
}

}

bool SCsvRows::Read(SFile* stream, int maxColumns)
{
    Clear();
    int left = stream->GetRemaining();
    if (left <= 0)
        return true;
    // One byte more, for the '\n' that stops every scan at the end; the last value's zero may take it.
    std::unique_ptr<char[]> text(new (std::nothrow) char[(size_t)left + 1]);
    if (!text || stream->ReadBounded(text.get(), left) != left)
        return false;
    char* base = text.get();
    size_t size = DropZeros(base, (size_t)left);
    base[size] = '\n';
    const char* p = base;
    const char* end = base + size;
    char* out = base;
    std::vector<uint32_t> rows;
    size_t stride = 0; // entries per row, 0 until the first record fixes it
    int count = 0;
    int rowCount = 0;
    while (p < end)
    {
        if (*p == '\n' || (*p == '\r' && p + 1 < end && p[1] == '\n'))
        {
            p += *p == '\n' ? 1 : 2; // an empty line holds no record
            continue;
        }
        const char* record = p;
        size_t at = rows.size();
        if (stride)
            rows.resize(at + stride);
        else
            rows.push_back(0);
        int fields = 0;
        char stop;
        do
        {
            char* value = out;
            if (stride && fields >= count)
            {
                p = ReadField(p, end, &out, &stop);
                out = value; // a field beyond the column count is dropped
            }
            else
            {
                if (fields % kValuesPerOffset == 0)
                {
                    uint32_t offset = (uint32_t)(value - base);
                    if (stride)
                        rows[at + 1 + (size_t)(fields / kValuesPerOffset)] = offset;
                    else
                        rows.push_back(offset);
                }
                p = ReadField(p, end, &out, &stop);
            }
            fields++;
            if (stop == ',')
                p++;
        } while (stop == ',');
        if (p < end)
            p += stop == '\n' ? 1 : 2;
        if (!stride)
        {
            if (fields > maxColumns)
                return false;
            count = fields;
            stride = rows.size();
            // Room for as many records as the rest of the text likely holds.
            size_t likely = size / (size_t)(p - record) + size / (size_t)(p - record) / 4 + 16;
            size_t most = size / 2 + 2;
            rows.reserve((likely < most ? likely : most) * stride);
        }
        rows[at] = (uint32_t)(fields < count ? fields : count);
        rowCount++;
    }
    if (rowCount == 0)
        return true;
    m_text = std::move(text);
    m_textSize = (size_t)(out - base);
    m_rows = std::move(rows);
    m_stride = stride;
    m_rowCount = rowCount;
    m_columnCount = count;
    return true;
}

void SCsvRows::Clear()
{
    m_text.reset();
    m_textSize = 0;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_stride = 1;
    m_rowCount = 0;
    m_columnCount = 0;
}

void SCsvRows::Swap(SCsvRows& other)
{
    std::swap(m_text, other.m_text);
    std::swap(m_textSize, other.m_textSize);
    std::swap(m_rows, other.m_rows);
    std::swap(m_stride, other.m_stride);
    std::swap(m_rowCount, other.m_rowCount);
    std::swap(m_columnCount, other.m_columnCount);
}

const char* SCsvRows::GetValue(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0)
        return "";
    const uint32_t* entry = RowEntry(row);
    if ((uint32_t)column >= entry[0])
        return "";
    const char* value = m_text.get() + entry[1 + column / kValuesPerOffset];
    for (int skip = column % kValuesPerOffset; skip > 0; skip--)
        value += strlen(value) + 1;
    return value;
}

void SCsvRows::GetRowValues(int row, const char** values) const
{
    int held = row >= 0 && row < m_rowCount ? (int)RowEntry(row)[0] : 0;
    const char* value = held ? m_text.get() + RowEntry(row)[1] : "";
    for (int column = 0; column < m_columnCount; column++)
    {
        if (column >= held)
        {
            values[column] = "";
            continue;
        }
        values[column] = value;
        value += strlen(value) + 1;
    }
}

void SCsvRows::InsertRow(int index)
{
    if (index < 0 || index > m_rowCount)
        return;
    // A row that holds no values reads "" in every column.
    m_rows.insert(m_rows.begin() + (ptrdiff_t)((size_t)index * m_stride), m_stride, 0u);
    m_rowCount++;
}

void SCsvRows::DeleteRows(int first, int end)
{
    if (first < 0 || end > m_rowCount || first >= end)
        return;
    m_rows.erase(m_rows.begin() + (ptrdiff_t)((size_t)first * m_stride),
                 m_rows.begin() + (ptrdiff_t)((size_t)end * m_stride));
    m_rowCount -= end - first;
}
