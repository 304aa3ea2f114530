#include "SFile.h"

#include <string.h>
#include <vector>

#include "SChecksum.h"
#include "SChunkCoder.h"
#include "SFileMem.h"
#include "SRound.h"

SFile::SFile() : m_progress(nullptr), m_crcTable(GetCrc32Table()), m_isMemory(false)
{
}

SFile::~SFile()
{
}

int SFile::WriteRaw(const void* buffer, int bytes)
{
    return Write(buffer, bytes);
}

int SFile::WriteText(const char* text, int length)
{
    if (text == nullptr)
        return 0;
    if (length < 0)
        length = (int)strlen(text);
    return Write(text, length);
}

int SFile::WriteU32(uint32_t value)
{
    uint8_t bytes[4] = {(uint8_t)value, (uint8_t)(value >> 8), (uint8_t)(value >> 16), (uint8_t)(value >> 24)};
    return WriteRaw(bytes, 4);
}

int SFile::Read(void* buffer, int bytes)
{
    return ReadBounded(buffer, bytes);
}

uint32_t SFile::ReadU32()
{
    uint8_t bytes[4] = {0, 0, 0, 0};
    Read(bytes, 4);
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) | ((uint32_t)bytes[3] << 24);
}

SString SFile::ReadLineString(bool keepSpaces, int maxChars)
{
    bool endOfLine = false;
    SString line = ReadLine(keepSpaces, maxChars, &endOfLine);
    if (endOfLine)
        line.Append("\r\n");
    return line;
}

int SFile::GetRemaining() const
{
    return GetSize() - Tell();
}

bool SFile::IsEof() const
{
    if (!IsOpen())
        return true;
    return Tell() == GetSize();
}

int SFile::FindText(const char* text, bool positionAfter)
{
    if (text == nullptr)
        return -1;
    return FindBytes(text, (int)strlen(text), positionAfter);
}

SFile* SFile::IfOpen()
{
    return IsOpen() ? this : nullptr;
}

int SFile::Rewind()
{
    return Seek(0);
}

int SFile::SeekEnd()
{
    return Seek(GetSize());
}

int SFile::Skip(int count)
{
    return Seek(Tell() + count);
}

int SFile::SeekBack(int count)
{
    int target = Tell() - count;
    // A step back past the start lands on the start, not on the end.
    return Seek(target < 0 ? 0 : target);
}

int SFile::ReadByte()
{
    if (IsEof())
        return -1;
    uint8_t value = 0;
    if (Read(&value, 1) != 1)
        return -1;
    return value;
}

uint8_t* SFile::GetPositionPointer()
{
    if (!m_isMemory)
        return nullptr;
    uint8_t* buffer = static_cast<SFileMem*>(this)->GetBuffer();
    return buffer != nullptr ? buffer + Tell() : nullptr;
}

int SFile::WriteStringZ(const char* text)
{
    if (text == nullptr)
        return 0;
    return WriteText(text, (int)strlen(text) + 1);
}

bool SFile::WriteResource(const char* type, int id, HMODULE module)
{
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (info == nullptr)
        return false;
    DWORD size = SizeofResource(module, info);
    HGLOBAL handle = LoadResource(module, info);
    if (handle == nullptr)
        return false;
    const void* bytes = LockResource(handle);
    bool ok = false;
    if (bytes != nullptr)
        ok = size == 0 || (size <= 0x7FFFFFFF && Write(bytes, (int)size) == (int)size);
    FreeResource(handle);
    return ok;
}

int SFile::WriteFill(uint8_t byteValue, int count)
{
    uint8_t chunk[100];
    memset(chunk, byteValue, sizeof(chunk));
    int written = 0;
    while (count > 0)
    {
        int piece = count < 100 ? count : 100;
        int done = Write(chunk, piece);
        if (done > 0)
            written += done;
        if (done != piece)
            break;
        count -= piece;
    }
    return written;
}

int SFile::CopyFrom(SFile* source, int maxBytes)
{
    if (source == nullptr || source == this)
        return 0;
    int count = source->GetRemaining();
    if (maxBytes >= 0 && count >= maxBytes)
        count = maxBytes;
    if (count <= 0)
        return 0;
    std::vector<uint8_t> buffer(1000);
    int total = 0;
    for (int offset = 0; offset < count; offset += 1000)
    {
        int piece = count - offset < 1000 ? count - offset : 1000;
        if (source->IsMemory())
        {
            uint8_t* bytes = source->GetPositionPointer();
            int written = bytes != nullptr ? Write(bytes, piece) : 0;
            if (written > 0)
            {
                source->Skip(written);
                total += written;
            }
        }
        else
        {
            int got = source->ReadBounded(buffer.data(), piece);
            if (got > 0)
            {
                int written = Write(buffer.data(), got);
                if (written > 0)
                    total += written;
            }
        }
    }
    return total;
}

bool SFile::ReportProgress(int permille, INT_PTR user) const
{
    return m_progress == nullptr || m_progress(permille, user);
}

int SFile::ReadCompressed(SFile* target, INT_PTR user, SChunkCoder* coder)
{
    // Decoding into the stream being read would overwrite the packed bytes still to come.
    if (target == nullptr || target == this)
        return 0;
    // Every chunk header needs 4 + 4 bytes; a count that the data cannot hold is damage.
    if (GetRemaining() < 4)
        return 0;
    SChunkCoder ownCoder;
    if (coder == nullptr)
        coder = &ownCoder;
    uint8_t* decoded = coder->GetRawBuffer();
    uint8_t* packed = coder->GetPackedBuffer();
    if (decoded == nullptr || packed == nullptr)
        return 0;
    uint32_t count = ReadU32();
    int total = 0;
    for (uint32_t chunk = 0; chunk < count; chunk++)
    {
        if (!ReportProgress(SRound::Truncate((double)chunk / (double)count * 1000.0), user))
            return 0;
        if (GetRemaining() < 8)
            return 0;
        uint32_t decodedLength = ReadU32();
        uint32_t packedLength = ReadU32();
        if (decodedLength > (uint32_t)kCompressedChunk || packedLength > (uint32_t)kCompressedPacked ||
                packedLength > (uint32_t)GetRemaining())
            return 0;
        // A memory stream's bytes are decoded where they lie.
        const uint8_t* source = IsMemory() ? GetPositionPointer() : packed;
        if (source == nullptr)
            return 0;
        if (source == packed && ReadBounded(packed, (int)packedLength) != (int)packedLength)
            return 0;
        if (source != packed)
            Skip((int)packedLength);
        if (!coder->Unpack(source, (int)packedLength, decoded, (int)decodedLength))
            return 0;
        // A target that cannot take the bytes loses data: that is no success either.
        if (target->Write(decoded, (int)decodedLength) != (int)decodedLength ||
                total > 0x7FFFFFFF - (int)decodedLength)
            return 0;
        total += (int)decodedLength;
    }
    return total;
}

int SFile::WriteCompressed(SFile* target, int length, INT_PTR user, SChunkCoder* coder)
{
    if (target == nullptr || target == this)
        return 0;
    int remaining = GetRemaining();
    if (length < 0 || length > remaining)
        length = remaining < 0 ? 0 : remaining;
    SChunkCoder ownCoder;
    if (coder == nullptr)
        coder = &ownCoder;
    uint8_t* raw = coder->GetRawBuffer();
    if (raw == nullptr || coder->GetPackedBuffer() == nullptr)
        return 0;
    uint32_t count = (uint32_t)((length + (int64_t)kCompressedChunk - 1) / kCompressedChunk);
    if (target->WriteU32(count) != 4)
        return 0;
    int total = 4;
    for (int position = 0; position < length; position += kCompressedChunk)
    {
        if (!ReportProgress(SRound::Truncate((double)position / (double)length * 1000.0), user))
            return 0;
        int rawLength = length - position < kCompressedChunk ? length - position : kCompressedChunk;
        // A memory stream's bytes are compressed where they lie.
        const uint8_t* source = IsMemory() ? GetPositionPointer() : raw;
        if (source == nullptr)
            return 0;
        if (source == raw && ReadBounded(raw, rawLength) != rawLength)
            return 0;
        if (source != raw)
            Skip(rawLength);
        int written = coder->WriteChunk(source, rawLength, target);
        if (written == 0)
            return 0;
        total += written;
    }
    return total;
}
