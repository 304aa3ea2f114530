#pragma once

#include "SFile.h"

// A stream over a growable block of memory, sized in 1024-byte blocks. Writes that
// run past the buffer grow it by half again at least, so that a file written piece
// by piece is not copied once per block; Resize and SetSize fit it to the size. A new
// memory file has no buffer and reports closed until something allocates one.
class SFileMem : public SFile
{
public:
    SFileMem();
    // Loads a resource of the program's own module (type name, numeric id).
    SFileMem(const char* type, int id);
    // Loads a resource of the program's own module; id is a MAKEINTRESOURCE value.
    SFileMem(const char* type, const char* id);
    ~SFileMem() override;

    SFILE_STREAM_OPERATIONS

    // Sets the size, reallocating when the 1024-byte block changes, and keeps the
    // position inside the content; false when too large.
    bool Resize(int size, bool keepContent);
    // Frees the buffer; the file reports closed and empty.
    void FreeBuffer();
    // Allocates size bytes of undefined content and moves to the start.
    bool Allocate(int size);
    // Replaces the content with a whole disk file; false (content kept) on failure.
    bool LoadFromFile(const char* path);
    // Writes the whole content to a disk file; on failure false, and a file already
    // there keeps its old content (see SFileAtomic).
    bool SaveToFile(const char* path);
    // Replaces the content with a module resource (type name, numeric id); false when missing.
    bool LoadResource(const char* type, int id, HMODULE module = nullptr);
    // Removes count bytes at the position; false (nothing changed) when they are not all there.
    bool DeleteAt(int count);
    // Opens a gap of count bytes at the position; moveAfter leaves the position behind it.
    bool InsertGap(int count, bool moveAfter);

    // The buffer, null when none is allocated.
    uint8_t* GetBuffer() const { return m_buffer; }
    // Bytes allocated.
    int GetCapacity() const { return m_capacity; }

private:
    // Grows the content so that it reaches end, with room to spare when the buffer is
    // replaced; false when that is impossible. A source pointer into the content is
    // moved along when the buffer is replaced.
    bool GrowTo(int64_t end, const void** source = nullptr);
    // Rebuilds the content in a new buffer with cut bytes removed at the position
    // and a zeroed gap of gap bytes put there instead.
    bool Rebuild(int cut, int gap);
    // Takes a new buffer of the capacity for size bytes, holding size bytes, as the content.
    void Adopt(uint8_t* buffer, int size);

    uint8_t* m_buffer;
    int m_size;
    int m_capacity;
    int m_position;
};
