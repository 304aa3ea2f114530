#pragma once
// Scratch folders and whole-file helpers of the library feature's tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "SDisk.h"

namespace library_test
{
// A fresh folder in the temporary folder (ending with '\'), removed with its
// content when the object goes.
class ScratchFolder
{
public:
    explicit ScratchFolder(const char* name)
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "melvora-" + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
        Remove(m_path);
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(m_path); }
    const std::string& Path() const { return m_path; }
    std::string operator+(const char* relative) const { return m_path + relative; }

    // Creates a folder below the scratch folder (with its parents).
    void Folder(const char* relative) const { SDisk().CreateFolder((m_path + relative).c_str(), true); }
    // Writes a file below the scratch folder, its folders made first.
    bool File(const char* relative, const std::string& bytes) const
    {
        std::string path = m_path + relative;
        std::string folder = path.substr(0, path.find_last_of('\\') + 1);
        SDisk().CreateFolder(folder.c_str(), true);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
        CloseHandle(file);
        return ok && written == bytes.size();
    }

    // Removes a folder and everything in it, read-only and hidden entries too.
    static void Remove(const std::string& folder)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string path = folder + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(path + "\\");
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(folder.c_str());
    }

private:

    std::string m_path;
};

// The whole file; "" when it cannot be read.
inline std::string ReadAll(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace library_test
