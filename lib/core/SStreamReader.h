#pragma once

#include <stdint.h>

class SFile;

// Reads a stream forward through a window of its bytes. A walk through many small
// fields, or from entry to entry of a pack, then costs one stream read per window
// instead of a seek and a small read per field, which a disk file pays in system
// calls. The stream's size is taken once, when the reader is made; the stream is
// not owned and must not be read or moved by anyone else while the reader works.
class SStreamReader
{
public:
    // A reader at the stream's position with a window of windowSize bytes (at least 16).
    SStreamReader(SFile* stream, int windowSize);
    // Frees the window; the stream stays open where the last window read left it.
    ~SStreamReader();

    SStreamReader(const SStreamReader&) = delete;
    SStreamReader& operator=(const SStreamReader&) = delete;

    // False when there is no open stream or the window could not be allocated.
    bool IsValid() const { return m_window != nullptr; }
    // The stream's size when the reader was made.
    int GetSize() const { return m_size; }
    // The reading position.
    int Tell() const { return m_position; }
    // Bytes between the position and the end.
    int GetRemaining() const { return m_size - m_position; }
    // The window's size: the most bytes Peek can hold at once.
    int GetWindowSize() const { return m_windowSize; }
    // Moves the position (clamped to 0..size) without reading; returns the new position.
    int Seek(int position);
    // Moves the position forward by count bytes (clamped to the end).
    int Skip(int count);
    // Makes up to bytes bytes at the position readable at *data without moving on;
    // returns how many: fewer at the end of the stream or after a failed read, and
    // never more than the window holds.
    int Peek(int bytes, const uint8_t** data);
    // Copies up to bytes bytes from the position into buffer and moves past them;
    // returns the bytes copied, fewer at the end or after a failed read.
    int Read(void* buffer, int bytes);
    // Reads a little-endian 32-bit value; false (position unchanged) when fewer than 4 bytes remain.
    bool ReadU32(uint32_t* value);
    // Moves the stream itself to the reading position, for its next user.
    void SyncStream();

private:
    // Makes the window hold at least bytes bytes from the position (bytes <= window size);
    // false when the stream cannot give them.
    bool Fill(int bytes);
    // Reads from the stream at position into buffer; returns the bytes read.
    int ReadStream(int position, uint8_t* buffer, int bytes);

    SFile* m_stream;
    uint8_t* m_window;
    int m_windowSize;
    int m_size;
    // The stream position of the window's first byte and the number of bytes it holds.
    int m_windowStart;
    int m_windowLength;
    int m_position;
    // Where the stream itself stands, so that a read that follows the last one needs no seek.
    int m_streamPosition;
};
