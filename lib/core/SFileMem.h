#pragma once

#include "SFile.h"

// A stream over a growable block of memory, grown in 1024-byte steps. A new
// memory file has no buffer and reports closed until something allocates one.
class SFileMem : public SFile
{
public:
  SFileMem();
  // Loads a resource of the program's own module (type name, numeric id).
  SFileMem(const char* type, int id);
  ~SFileMem() override;

  bool IsOpen() const override;
  void Close() override;
  bool GetCrc32(uint32_t* out) override;
  SString GetMd5() override;
  SString GetSha1() override;
  int Write(const void* buffer, int bytes) override;
  int WriteUniText(const wchar_t* text, int count = -1) override;
  int WriteLine(const char* text) override;
  SString ReadString(int bytes = -1) override;
  int ReadBounded(void* buffer, int bytes) override;
  SUniString ReadUniString(int count = -1) override;
  SString ReadLine(bool keepSpaces = false, int maxChars = -1, bool* endOfLineSeen = nullptr) override;
  SString ReadZString(bool wantText = true) override;
  int Seek(int position) override;
  int Tell() const override;
  bool SetSize(int size) override;
  int GetSize() const override;
  int FindBytes(const void* bytes, int length, bool positionAfter) override;

  // Sets the size, reallocating when the 1024-byte block changes; false when too large.
  bool Resize(int size, bool keepContent);
  // Frees the buffer; the file reports closed and empty.
  void FreeBuffer();
  // Allocates size bytes of undefined content and moves to the start.
  bool Allocate(int size);
  // Replaces the content with a whole disk file; false (content kept) on failure.
  bool LoadFromFile(const char* path);
  // Writes the whole content to a disk file; false (no file left) on failure.
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
  // Grows the content so that it reaches end; false when that is impossible.
  bool GrowTo(int64_t end);

  uint8_t* m_buffer;
  int m_size;
  int m_capacity;
  int m_position;
};
