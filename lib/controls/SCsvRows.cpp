#include "SCsvRows.h"

#include <string.h>

#include <algorithm>
#include <new>
#include <utility>

#include "SFile.h"

namespace
{

// Bytes of values per block, below the 508 KB from which the 32-bit heap takes each
// block from the system and gives it back when freed.
const size_t kBlockBytes = 256 * 1024;
// Bytes of text read from the stream at a time; a record longer than that doubles them.
const size_t kInputBytes = 16 * 1024;

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

// Reads the field at p into *out, unquoted and ended with a zero; *end must be '\n',
// which stops every scan at the end. Returns where the field stopped and in *stop the
// byte found there: ',', the CR of a CR LF, or '\n' (also at end).
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
            memcpy(to, p, (size_t)(piece - p));
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

// Fills the blocks from comma-separated text handed over in pieces.
class SCsvRows::Reader
{
public:
    Reader(SCsvRows& content, int maxColumns) : m_content(content), m_maxColumns(maxColumns) {}

    // Reads the records that start in [p, end), where *end is '\n', and returns where
    // the first one that may go on past end begins (end when none does); with last,
    // nothing follows end. Null when the first record has too many fields or memory runs out.
    const char* ReadRecords(const char* p, const char* end, bool last)
    {
        while (p < end)
        {
            if (*p == '\n' || (*p == '\r' && p + 1 < end && p[1] == '\n'))
            {
                p += *p == '\n' ? 1 : 2; // an empty line holds no record
                continue;
            }
            // A record's values take no more than its text and one zero: the rest of the text bounds them.
            if (!MakeRoom((size_t)(end - p) + 1))
                return nullptr;
            const char* record = p;
            char* recordOut = m_out;
            const char* base = m_block->text.get();
            std::vector<uint32_t>& rows = m_stride ? m_block->rows : m_first;
            size_t at = rows.size();
            if (m_stride)
                rows.resize(at + m_stride);
            else
                rows.push_back(0);
            int fields = 0;
            char stop;
            do
            {
                char* value = m_out;
                if (m_stride && fields >= m_count)
                {
                    p = ReadField(p, end, &m_out, &stop);
                    m_out = value; // a field beyond the column count is dropped
                }
                else
                {
                    if (fields % kValuesPerOffset == 0)
                    {
                        uint32_t offset = (uint32_t)(value - base);
                        if (m_stride)
                            rows[at + 1 + (size_t)(fields / kValuesPerOffset)] = offset;
                        else
                            rows.push_back(offset);
                    }
                    p = ReadField(p, end, &m_out, &stop);
                }
                fields++;
                if (stop == ',')
                    p++;
            } while (stop == ',');
            if (p == end && !last)
            {
                // The record may go on in the text that follows: it is read again from its start.
                rows.resize(at);
                m_out = recordOut;
                return record;
            }
            if (p < end)
                p += stop == '\n' ? 1 : 2;
            if (m_stride)
                rows[at] = (uint32_t)(fields < m_count ? fields : m_count);
            else if (!FixColumns(fields, (size_t)(p - record)))
                return nullptr;
        }
        return p;
    }

    // Ends the reading: the content takes the column count and the row counts.
    void Finish()
    {
        if (m_block)
            m_block->size = (size_t)(m_out - m_block->text.get());
        m_content.m_stride = m_stride ? m_stride : 1;
        m_content.m_columnCount = m_count;
        m_content.CountRows();
    }

private:
    // Makes the current block hold room for bytes more, else starts a new block.
    bool MakeRoom(size_t bytes)
    {
        if (m_block && (size_t)(m_limit - m_out) >= bytes)
            return true;
        if (m_block)
            m_block->size = (size_t)(m_out - m_block->text.get());
        size_t capacity = bytes > kBlockBytes ? bytes : kBlockBytes;
        Block block;
        block.text.reset(new (std::nothrow) char[capacity]);
        if (!block.text)
            return false;
        if (m_stride)
            block.rows.reserve(m_rowsPerBlock * m_stride);
        m_content.m_blocks.push_back(std::move(block));
        m_block = &m_content.m_blocks.back();
        m_out = m_block->text.get();
        m_limit = m_out + capacity;
        return true;
    }

    // The first record of bytes bytes, which holds fields fields, fixes the column count
    // and the entries per row; its entries go into the block.
    bool FixColumns(int fields, size_t bytes)
    {
        if (fields > m_maxColumns)
            return false;
        m_count = fields;
        m_stride = m_first.size();
        m_first[0] = (uint32_t)fields;
        // Room in each block for as many rows as records like the first fill it.
        m_rowsPerBlock = kBlockBytes / bytes + kBlockBytes / bytes / 4 + 16;
        m_block->rows.reserve(m_rowsPerBlock * m_stride);
        m_block->rows.assign(m_first.begin(), m_first.end());
        m_first.clear();
        return true;
    }

    SCsvRows& m_content;
    int m_maxColumns;
    Block* m_block = nullptr;      // the block being filled, the last one
    char* m_out = nullptr;         // where its next value goes
    char* m_limit = nullptr;       // the end of its text
    std::vector<uint32_t> m_first; // the first record's entries, until it fixes the stride
    size_t m_stride = 0;           // entries per row, 0 before the first record
    size_t m_rowsPerBlock = 0;
    int m_count = 0;               // columns
};

bool SCsvRows::Read(SFile* stream, int maxColumns)
{
    Clear();
    int left = stream->GetRemaining();
    if (left <= 0)
        return true;
    Reader reader(*this, maxColumns);
    // The text is parsed from one small buffer refilled from the stream; a record longer
    // than the buffer doubles it. One byte more for the '\n' that stops every scan.
    std::vector<char> input(std::min((size_t)left, kInputBytes) + 1);
    size_t held = 0; // bytes at the front of the buffer that start a record not read yet
    while (left > 0)
    {
        if (held == input.size() - 1)
            input.resize(2 * held + 1);
        int want = (int)std::min((size_t)left, input.size() - 1 - held);
        if (stream->ReadBounded(input.data() + held, want) != want)
        {
            Clear();
            return false;
        }
        left -= want;
        held += DropZeros(input.data() + held, (size_t)want);
        input[held] = '\n';
        const char* start = input.data();
        const char* stop = reader.ReadRecords(start, start + held, left == 0);
        if (!stop)
        {
            Clear();
            return false;
        }
        held = (size_t)(start + held - stop);
        memmove(input.data(), stop, held);
    }
    reader.Finish();
    return true;
}

void SCsvRows::Clear()
{
    m_blocks.clear();
    m_firstRows.clear();
    m_stride = 1;
    m_rowCount = 0;
    m_columnCount = 0;
}

void SCsvRows::Swap(SCsvRows& other)
{
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_firstRows, other.m_firstRows);
    std::swap(m_stride, other.m_stride);
    std::swap(m_rowCount, other.m_rowCount);
    std::swap(m_columnCount, other.m_columnCount);
}

size_t SCsvRows::GetTextSize() const
{
    size_t size = 0;
    for (const Block& block : m_blocks)
        size += block.size;
    return size;
}

size_t SCsvRows::FindBlock(int row) const
{
    size_t after = (size_t)(std::upper_bound(m_firstRows.begin(), m_firstRows.end(), row) - m_firstRows.begin());
    return after ? after - 1 : 0;
}

const uint32_t* SCsvRows::RowEntry(int row, const Block** block) const
{
    size_t index = FindBlock(row);
    *block = &m_blocks[index];
    return (*block)->rows.data() + (size_t)(row - m_firstRows[index]) * m_stride;
}

void SCsvRows::CountRows()
{
    m_blocks.erase(std::remove_if(m_blocks.begin(), m_blocks.end(), [](const Block& block) { return block.rows.empty(); }),
                   m_blocks.end());
    m_firstRows.resize(m_blocks.size());
    int first = 0;
    for (size_t i = 0; i < m_blocks.size(); i++)
    {
        m_firstRows[i] = first;
        first += (int)(m_blocks[i].rows.size() / m_stride);
    }
    m_rowCount = first;
}

const char* SCsvRows::GetValue(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0)
        return "";
    const Block* block;
    const uint32_t* entry = RowEntry(row, &block);
    if ((uint32_t)column >= entry[0])
        return "";
    const char* value = block->text.get() + entry[1 + column / kValuesPerOffset];
    for (int skip = column % kValuesPerOffset; skip > 0; skip--)
        value += strlen(value) + 1;
    return value;
}

const char* SCsvRows::GetRowStart(int row, int* held) const
{
    *held = 0;
    if (row < 0 || row >= m_rowCount)
        return "";
    const Block* block;
    const uint32_t* entry = RowEntry(row, &block);
    *held = (int)entry[0];
    return *held ? block->text.get() + entry[1] : "";
}

void SCsvRows::InsertRow(int index)
{
    if (index < 0 || index > m_rowCount)
        return;
    // A block of inserted rows only holds no text: such a row reads "" in every column.
    if (m_blocks.empty())
    {
        m_blocks.emplace_back();
        m_firstRows.push_back(0);
    }
    size_t at = FindBlock(index);
    Block& block = m_blocks[at];
    block.rows.insert(block.rows.begin() + (ptrdiff_t)((size_t)(index - m_firstRows[at]) * m_stride), m_stride, 0u);
    for (size_t i = at + 1; i < m_firstRows.size(); i++)
        m_firstRows[i]++;
    m_rowCount++;
}

void SCsvRows::DeleteRows(int first, int end)
{
    if (first < 0 || end > m_rowCount || first >= end)
        return;
    for (size_t i = 0; i < m_blocks.size(); i++)
    {
        int rows = (int)(m_blocks[i].rows.size() / m_stride);
        int from = std::max(first, m_firstRows[i]) - m_firstRows[i];
        int to = std::min(end, m_firstRows[i] + rows) - m_firstRows[i];
        if (from < to)
            m_blocks[i].rows.erase(m_blocks[i].rows.begin() + (ptrdiff_t)((size_t)from * m_stride),
                                   m_blocks[i].rows.begin() + (ptrdiff_t)((size_t)to * m_stride));
    }
    CountRows();
}
