// Making the library book of a large library: the book writer against writing the
// same bytes (the page and every picture) with fwrite in the same run, and the
// peak working set for two library sizes (the writer keeps only the folder index).
#include <windows.h>

#include <psapi.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "PBookWriter.h"
#include "SDisk.h"
#include "SFilePath.h"
#include "SImage.h"

namespace
{
struct Output
{
    std::string name;
    std::string bytes;
};

std::string Temp()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

void Remove(const std::string& folder)
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

void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

// artists x albums folders, two songs each, every tenth album with a cover.
void MakeLibrary(const std::string& root, int artists, int albums, const std::string& cover)
{
    CreateDirectoryA(root.c_str(), nullptr);
    char name[64];
    for (int a = 0; a < artists; a++)
    {
        snprintf(name, sizeof(name), "Artist %03d", a);
        std::string artist = root + name + "\\";
        CreateDirectoryA(artist.c_str(), nullptr);
        for (int b = 0; b < albums; b++)
        {
            snprintf(name, sizeof(name), "Album %03d", b);
            std::string album = artist + name;
            CreateDirectoryA(album.c_str(), nullptr);
            WriteBytes(album + "\\01 First song.mp3", "ID3");
            WriteBytes(album + "\\02 Second song.wma", "WMA");
            if (b % 10 == 0)
                WriteBytes(album + ".png", cover);
        }
    }
}

size_t PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters;
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
}

// The book's files: the page, then every picture of the images folder.
std::vector<Output> CollectOutput(const std::string& root)
{
    std::vector<Output> files;
    files.push_back({"Book.htm", ReadBytes(root + "Book.htm")});
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + "Book\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back({std::string("Book\\") + data.cFileName, ReadBytes(root + "Book\\" + data.cFileName)});
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return files;
}

// Every folder listed once for its sub-folders and once for its files, as the book
// needs them: what reading the library costs before any byte is written.
int WalkFolder(const std::string& folder)
{
    int entries = 0;
    for (int pass = 0; pass < 2; pass++)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            std::string name = data.cFileName;
            if (name == "." || name == ".." || (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
                continue;
            entries++;
            if (pass == 0 && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                entries += WalkFolder(folder + name + "\\");
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return entries;
}

double WriteAll(const std::vector<Output>& files, const std::string& target, size_t count)
{
    Remove(target);
    CreateDirectoryA(target.c_str(), nullptr);
    CreateDirectoryA((target + "Book").c_str(), nullptr);
    double start = BenchNow();
    for (size_t i = 0; i < count && i < files.size(); i++)
        WriteBytes(target + files[i].name, files[i].bytes);
    return BenchNow() - start;
}
} // namespace

int main()
{
    SImage coverImage;
    SFilePath coverFile;
    const std::string base = Temp() + "melvora-book-bench\\";
    Remove(base);
    CreateDirectoryA(base.c_str(), nullptr);
    coverImage.Create(64, 64);
    coverImage.Fill(0xFF1565C0);
    const std::string coverPath = base + "cover.png";
    if (coverFile.Open(coverPath.c_str(), true, true, false))
        coverImage.Save(&coverFile, IMAGE_FORMAT_PNG);
    coverFile.Close();
    const std::string cover = ReadBytes(coverPath);
    SImage fallback;
    fallback.Create(64, 64);
    fallback.Fill(0xFF2E7D32);

    struct Size
    {
        int artists, albums;
    };
    const Size sizes[2] = {{20, 50}, {100, 100}};
    for (const Size& size : sizes)
    {
        const int folders = size.artists * (size.albums + 1);
        const std::string root = base + "library\\";
        Remove(root);
        MakeLibrary(root, size.artists, size.albums, cover);
        printf("library of %d albums (%d folders)\n", size.artists * size.albums, folders);

        PBookWriter writer;
        writer.SetDefaultCover(&fallback);
        const std::string book = root + "Book.htm";
        double page = BenchBest([&] { writer.Write(root.c_str(), book.c_str(), false); }, 2);
        double whole = BenchBest([&] { writer.Write(root.c_str(), book.c_str(), true); }, 1);
        const size_t peak = PeakWorkingSet();

        std::vector<Output> files = CollectOutput(root);
        size_t bytes = 0;
        for (const Output& file : files)
            bytes += file.bytes.size();
        const std::string copy = base + "copy\\";
        double pageCopy = 1e30, wholeCopy = 1e30;
        for (int round = 0; round < (folders > 5000 ? 1 : 2); round++)
        {
            double one = WriteAll(files, copy, 1);
            double all = WriteAll(files, copy, files.size());
            pageCopy = one < pageCopy ? one : pageCopy;
            wholeCopy = all < wholeCopy ? all : wholeCopy;
        }
        double walk = BenchBest([&] { WalkFolder(root); }, 2);
        char what[96], baseline[96];
        snprintf(what, sizeof(what), "book page only, %d albums", size.artists * size.albums);
        snprintf(baseline, sizeof(baseline), "fwrite of the page (%d KB)", (int)(files[0].bytes.size() / 1024));
        BenchReport(what, page, baseline, pageCopy);
        snprintf(baseline, sizeof(baseline), "folder walk and fwrite of the page");
        BenchReport(what, page, baseline, walk + pageCopy);
        snprintf(what, sizeof(what), "book with pictures, %d albums", size.artists * size.albums);
        snprintf(baseline, sizeof(baseline), "fwrite of %d files (%d KB)", (int)files.size(), (int)(bytes / 1024));
        BenchReport(what, whole, baseline, wholeCopy);
        printf("peak working set after the book of %d albums: %.1f MB\n", size.artists * size.albums,
               peak / (1024.0 * 1024.0));
        fflush(stdout);
        Remove(copy);
    }
    Remove(base);
    return 0;
}
