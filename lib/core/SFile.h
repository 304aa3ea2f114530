#pragma once

#include <stdint.h>
#include <windows.h>

#include "SString.h"
#include "SUniString.h"

class SChunkCoder;

// Progress report of a long stream operation: permille 0..999 and the caller's
// value; returning false stops the operation.
typedef bool (*SFileProgress)(int permille, INT_PTR user);

// The library's abstract byte stream: disk files (SFilePath) and memory
// files (SFileMem) share this operation set. Positions and sizes are signed
// 32-bit; streams above 2 GB are not supported.
class SFile
{
public:
    SFile();
    // Derived streams close themselves on destruction.
    virtual ~SFile();

    SFile(const SFile&) = delete;
    SFile& operator=(const SFile&) = delete;

    // True while a file handle or a memory buffer is present.
    virtual bool IsOpen() const = 0;
    // Releases the file or the buffer.
    virtual void Close() = 0;
    // CRC-32 of the whole content; false when not open or unreadable.
    virtual bool GetCrc32(uint32_t* out) = 0;
    // MD5 of the whole content as 32 upper-case hex digits; "" on failure.
    virtual SString GetMd5() = 0;
    // SHA-1 of the whole content as 40 upper-case hex digits; "" on failure.
    virtual SString GetSha1() = 0;
    // Writes raw bytes (same as Write).
    virtual int WriteRaw(const void* buffer, int bytes);
    // Writes a text; a negative length means up to its NUL.
    virtual int WriteText(const char* text, int length = -1);
    // Writes bytes at the position and advances it; returns the bytes written.
    virtual int Write(const void* buffer, int bytes) = 0;
    // Writes a 32-bit value, least significant byte first.
    virtual int WriteU32(uint32_t value);
    // Writes UTF-16 units low byte first; a negative count means up to the NUL; returns bytes.
    virtual int WriteUniText(const wchar_t* text, int count = -1) = 0;
    // Writes a text followed by CR LF; returns bytes written.
    virtual int WriteLine(const char* text) = 0;
    // Reads up to bytes bytes as text; a negative count reads the rest.
    virtual SString ReadString(int bytes = -1) = 0;
    // Reads up to bytes bytes (same as ReadBounded).
    virtual int Read(void* buffer, int bytes);
    // Reads min(bytes, remaining) bytes; returns the bytes read.
    virtual int ReadBounded(void* buffer, int bytes) = 0;
    // Reads a little-endian 32-bit value; missing bytes read as 0.
    virtual uint32_t ReadU32();
    // Reads up to count UTF-16 units; a negative count reads the rest.
    virtual SUniString ReadUniString(int count = -1) = 0;
    // Reads the next line ended by CR LF (not returned), trimming blanks unless keepSpaces;
    // maxChars < 0 means no limit; endOfLineSeen tells whether CR LF ended it.
    virtual SString ReadLine(bool keepSpaces = false, int maxChars = -1, bool* endOfLineSeen = nullptr) = 0;
    // ReadLine, with "\r\n" appended when the line ended with CR LF.
    virtual SString ReadLineString(bool keepSpaces = false, int maxChars = -1);
    // Reads through the next NUL byte; returns the text before it when wantText, else "".
    virtual SString ReadZString(bool wantText = true) = 0;
    // Moves to a position; negative or beyond the size goes to the end; returns the new position.
    virtual int Seek(int position) = 0;
    // The position.
    virtual int Tell() const = 0;
    // Truncates or extends the content.
    virtual bool SetSize(int size) = 0;
    // The size; 0 when not open.
    virtual int GetSize() const = 0;
    // Bytes between the position and the end.
    virtual int GetRemaining() const;
    // True at the end or when not open.
    virtual bool IsEof() const;
    // Searches a NUL-terminated text forward from the position (see FindBytes).
    virtual int FindText(const char* text, bool positionAfter);
    // Searches bytes forward from the position; on a match the position is left behind
    // them and the result is that position (positionAfter) or the match start; else -1.
    virtual int FindBytes(const void* bytes, int length, bool positionAfter) = 0;

    // The stream itself when open, else null.
    SFile* IfOpen();
    // Seeks to the start.
    int Rewind();
    // Seeks to the end.
    int SeekEnd();
    // Moves the position forward by count bytes.
    int Skip(int count);
    // Moves the position back by count bytes.
    int SeekBack(int count);
    // The next byte 0..255, or -1 at the end.
    int ReadByte();
    // True for memory streams, whose bytes can be reached directly.
    bool IsMemory() const { return m_isMemory; }
    // Memory streams only: the address of the bytes at the position; null otherwise.
    uint8_t* GetPositionPointer();
    // Writes a text with its terminating NUL.
    int WriteStringZ(const char* text);
    // Writes the bytes of a module resource (type name, numeric id); false when missing.
    bool WriteResource(const char* type, int id, HMODULE module = nullptr);
    // Writes count copies of a byte in chunks of 100; returns the bytes written.
    int WriteFill(uint8_t byteValue, int count);
    // Copies up to maxBytes (all when negative) from source's position; returns the bytes written.
    int CopyFrom(SFile* source, int maxBytes = -1);
    // Decodes a chunked zlib stream from the position into target; returns the decoded
    // bytes written, 0 on damaged input or when the progress callback stops it. A coder
    // given by the caller is reused (a pack passes one for all its entries).
    int ReadCompressed(SFile* target, INT_PTR user = 0, SChunkCoder* coder = nullptr);
    // Encodes up to length bytes from the position (negative or past the end: all that
    // remains) into target as a chunked zlib stream; returns the bytes written to target,
    // 0 when target is null, a write or read falls short, or the progress callback stops it.
    int WriteCompressed(SFile* target, int length, INT_PTR user = 0, SChunkCoder* coder = nullptr);

    // Sets the progress callback (null for none) used by long operations.
    void SetProgressCallback(SFileProgress callback) { m_progress = callback; }
    // The progress callback, null when none is set.
    SFileProgress GetProgressCallback() const { return m_progress; }
    // Calls the progress callback when one is set; false means stop.
    bool ReportProgress(int permille, INT_PTR user) const;

    // Largest decoded chunk of a compressed stream.
    static const int kCompressedChunk = 100000;
    // Largest packed chunk of a compressed stream.
    static const int kCompressedPacked = 110012;

protected:
    SFileProgress m_progress;
    const uint32_t* m_crcTable;
    bool m_isMemory;
};

// The pure operations above, declared by each concrete stream class.
#define SFILE_STREAM_OPERATIONS                                                                    \
    bool IsOpen() const override;                                                                    \
    void Close() override;                                                                           \
    bool GetCrc32(uint32_t* out) override;                                                           \
    SString GetMd5() override;                                                                       \
    SString GetSha1() override;                                                                      \
    int Write(const void* buffer, int bytes) override;                                               \
    int WriteUniText(const wchar_t* text, int count = -1) override;                                  \
    int WriteLine(const char* text) override;                                                        \
    SString ReadString(int bytes = -1) override;                                                     \
    int ReadBounded(void* buffer, int bytes) override;                                               \
    SUniString ReadUniString(int count = -1) override;                                               \
    SString ReadLine(bool keepSpaces = false, int maxChars = -1, bool* endOfLineSeen = nullptr) override; \
    SString ReadZString(bool wantText = true) override;                                              \
    int Seek(int position) override;                                                                 \
    int Tell() const override;                                                                       \
    bool SetSize(int size) override;                                                                 \
    int GetSize() const override;                                                                    \
    int FindBytes(const void* bytes, int length, bool positionAfter) override;
