#pragma once

// Helpers shared by the stream, disk file, memory file and disk tests.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SFile.h"
#include "SFileMem.h"

namespace file_test {

// The bytes of a memory file; "" without a buffer.
inline std::string Content(const SFileMem& file)
{
    if (file.GetBuffer() == nullptr)
        return std::string();
    return std::string(reinterpret_cast<const char*>(file.GetBuffer()), (size_t)file.GetSize());
}

// Replaces a memory file's content by text and rewinds it.
inline void Fill(SFileMem& file, const std::string& text)
{
    file.Allocate(0);
    file.Write(text.data(), (int)text.size());
    file.Rewind();
}

// A path in the temporary folder, unique to this process.
inline std::string ScratchPath(const char* prefix, const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + prefix + std::to_string(GetCurrentProcessId()) + "-" + name;
}

inline bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names in a folder (given with its trailing separator), sorted: a temporary
// file left behind by a save shows among them.
inline std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// Writes a whole file with plain Win32 calls, independent of the streams under test.
inline bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// Reads a whole file with plain Win32 calls; "" when it cannot be opened.
inline std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

// A scratch file removed before and after the test.
struct ScratchFile
{
    std::string path;
    ScratchFile(const char* prefix, const char* name) : path(ScratchPath(prefix, name)) { DeleteFileA(path.c_str()); }
    ~ScratchFile() { DeleteFileA(path.c_str()); }
};

// A memory file that counts the reads and seeks made on it, for checks that a reader
// asks the stream for whole pieces rather than field by field.
class CountingFile : public SFileMem
{
public:
    int ReadBounded(void* buffer, int bytes) override
    {
        reads++;
        return SFileMem::ReadBounded(buffer, bytes);
    }
    int Seek(int position) override
    {
        seeks++;
        return SFileMem::Seek(position);
    }
    int reads = 0;
    int seeks = 0;
};

// One ReadLine call on a fresh stream holding text.
struct ReadLineCase
{
    const char* text;
    bool keepSpaces;
    int maxChars;
    const char* line;
    bool endOfLine;
    int position;
};

inline void ExpectReadLine(SFile& file, const ReadLineCase& c)
{
    bool endOfLine = !c.endOfLine;
    EXPECT_EQ(std::string(file.ReadLine(c.keepSpaces, c.maxChars, &endOfLine)), c.line) << c.text;
    EXPECT_EQ(endOfLine, c.endOfLine) << c.text;
    EXPECT_EQ(file.Tell(), c.position) << c.text;
}

// The file bytes of a 16 x 16 24-bit bitmap, all red.
inline std::string RedBitmapBytes()
{
    std::string bytes(54 + 16 * 16 * 3, '\0');
    BITMAPFILEHEADER* file = (BITMAPFILEHEADER*)&bytes[0];
    file->bfType = 0x4D42;
    file->bfSize = (DWORD)bytes.size();
    file->bfOffBits = 54;
    BITMAPINFOHEADER* info = (BITMAPINFOHEADER*)&bytes[14];
    info->biSize = 40;
    info->biWidth = 16;
    info->biHeight = 16;
    info->biPlanes = 1;
    info->biBitCount = 24;
    for (size_t i = 54; i < bytes.size(); i += 3)
        bytes[i + 2] = (char)0xFF;
    return bytes;
}

} // namespace file_test
