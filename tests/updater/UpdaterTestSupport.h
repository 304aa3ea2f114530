#pragma once
// Helpers of the update program's tests: pack bytes built by hand, scratch folders
// and snapshots of a folder tree for byte-for-byte comparisons.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

#include "PUpdateInstall.h"

namespace updater_test
{
using Entry = std::pair<std::string, std::string>;

inline void PutU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The chunked zlib form of data, as the format stores it.
inline std::string Chunked(const std::string& data)
{
    std::string out;
    PutU32(out, static_cast<uint32_t>((data.size() + 99999) / 100000));
    for (size_t start = 0; start < data.size(); start += 100000)
    {
        size_t length = std::min<size_t>(100000, data.size() - start);
        std::vector<Bytef> packed(compressBound(length));
        uLongf packedLength = packed.size();
        compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(data.data() + start), length);
        PutU32(out, static_cast<uint32_t>(length));
        PutU32(out, static_cast<uint32_t>(packedLength));
        out.append(reinterpret_cast<const char*>(packed.data()), packedLength);
    }
    return out;
}

// A pack whose entries hold the given stored bytes (already chunked when compressed).
inline std::string PackStored(const std::vector<Entry>& entries, bool compressed)
{
    std::string out = "SRES";
    PutU32(out, compressed ? 1 : 0);
    for (const Entry& entry : entries)
    {
        PutU32(out, static_cast<uint32_t>(entry.second.size()));
        out += entry.first;
        out += '\0';
        out += entry.second;
    }
    PutU32(out, 0xFFFFFFFF);
    return out;
}

inline std::string Pack(const std::vector<Entry>& entries, bool compressed)
{
    std::vector<Entry> stored;
    for (const Entry& entry : entries)
        stored.emplace_back(entry.first, compressed ? Chunked(entry.second) : entry.second);
    return PackStored(stored, compressed);
}

// Bytes that compress a little, different for every seed.
inline std::string Pattern(size_t length, unsigned seed)
{
    std::string text(length, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < length; i++)
    {
        state = state * 1103515245u + 12345u;
        text[i] = static_cast<char>((i % 7 == 0) ? (state >> 24) : ('a' + (i / 13 + seed) % 26));
    }
    return text;
}

inline bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

inline std::string ReadBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string("<missing>");
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A new folder in the temporary folder, removed with everything in it afterwards.
class ScratchFolder
{
public:
    explicit ScratchFolder(const char* prefix = "melvora-upd-")
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        for (;;)
        {
            path = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++counter) + "\\";
            if (CreateDirectoryA(path.c_str(), nullptr))
                break;
        }
    }
    ~ScratchFolder() { PUpdateInstall::RemoveTree(path.c_str()); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes a file below the folder, creating its sub-folders.
    bool Put(const std::string& name, const std::string& bytes) const
    {
        std::string full = path + name;
        for (size_t at = path.size(); (at = full.find('\\', at)) != std::string::npos; at++)
            CreateDirectoryA(full.substr(0, at).c_str(), nullptr);
        return WriteBytes(full, bytes);
    }
    std::string Get(const std::string& name) const { return ReadBytes(path + name); }

    std::string path;
};

// Every file below a folder by relative path, with its bytes; folders as "name\".
inline void Snapshot(const std::string& folder, const std::string& prefix, std::map<std::string, std::string>* out)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            (*out)[prefix + name + "\\"] = "";
            Snapshot(folder + name + "\\", prefix + name + "\\", out);
        }
        else
        {
            (*out)[prefix + name] = ReadBytes(folder + name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

inline std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    Snapshot(folder, "", &files);
    return files;
}
}
