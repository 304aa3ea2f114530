// Makes and installs an update package of about 200 MB in a few thousand files of
// mixed sizes, against zlib's one-pass compress of the same bytes and its uncompress
// plus writing the files. Not a test: `make bench` runs it.
#include <stdio.h>
#include <stdint.h>
#include <algorithm>
#include <string>
#include <vector>
#include <windows.h>
#include <zlib.h>

#include "BenchSupport.h"
#include "PPackMaker.h"
#include "PUpdateInstall.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SResource.h"

namespace
{
// File sizes: mostly small, some medium, a few large, about 200 MB in all.
std::vector<size_t> FileSizes()
{
    std::vector<size_t> sizes;
    uint32_t seed = 7;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int i = 0; i < 2400; i++)
        sizes.push_back(200 + next() % 20000);
    for (int i = 0; i < 500; i++)
        sizes.push_back(50000 + next() % 400000);
    for (int i = 0; i < 8; i++)
        sizes.push_back(6000000 + next() % 4000000);
    return sizes;
}

// Bytes like a program's: runs of text, tables and incompressible stretches.
void Fill(std::string& bytes, uint32_t seed)
{
    const char* words[] = {"update ", "package ", "folder ", "program ", "entry ", "chunk ", "melvora ", "library "};
    size_t at = 0;
    while (at < bytes.size())
    {
        seed = seed * 1103515245u + 12345u;
        size_t run = 64 + (seed >> 20) % 2048;
        int kind = (seed >> 8) % 3;
        for (size_t i = 0; i < run && at < bytes.size(); i++, at++)
        {
            if (kind == 0)
                bytes[at] = words[(i / 7 + seed) % 8][i % 7];
            else if (kind == 1)
                bytes[at] = (char)((i * 4) & 0xFF);
            else
            {
                seed = seed * 1664525u + 1013904223u;
                bytes[at] = (char)(seed >> 24);
            }
        }
    }
}

bool WriteFileBytes(const std::string& path, const char* data, size_t length)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = length == 0 || WriteFile(file, data, (DWORD)length, &written, nullptr);
    CloseHandle(file);
    return ok && written == length;
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "\\";
    PUpdateInstall::RemoveTree(folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
}

int main()
{
    std::string source = TempFolder("melvora-bench-source-");
    std::string output = TempFolder("melvora-bench-output-");
    std::vector<size_t> sizes = FileSizes();
    std::vector<std::string> names;
    std::string all;
    for (size_t i = 0; i < sizes.size(); i++)
    {
        std::string folder = "part" + std::to_string(i % 12) + "\\";
        CreateDirectoryA((source + folder).c_str(), nullptr);
        std::string name = folder + "file" + std::to_string(i) + ".bin";
        std::string bytes(sizes[i], '\0');
        Fill(bytes, (uint32_t)i);
        if (!WriteFileBytes(source + name, bytes.data(), bytes.size()))
        {
            printf("cannot write the source files\n");
            return 1;
        }
        names.push_back(name);
        all += bytes;
    }
    double megabytes = (double)all.size() / (1024.0 * 1024.0);
    printf("%zu files, %.1f MB\n", sizes.size(), megabytes);

    // Baselines: zlib over the same bytes in one buffer. Each figure and its baseline are
    // taken in alternating rounds, so that both meet the same state of the machine (the
    // disk still freeing the files of the round before, other programs running). Every
    // round writes into a new folder that is removed after it: an install creates all its
    // files, and rewriting files that exist already, which a second round into the same
    // folder would measure, is cheaper than creating them.
    std::vector<Bytef> packed(compressBound((uLong)all.size()));
    uLongf packedLength = 0;
    std::vector<Bytef> unpacked(all.size());
    std::string descriptor = output + "bench.upd";
    std::string package = output + "bench.bin";
    const int rounds = 3;
    double compressSeconds = 1e30;
    double makeSeconds = 1e30;
    for (int round = 0; round < rounds; round++)
    {
        double start = BenchNow();
        packedLength = (uLongf)packed.size();
        compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(all.data()), (uLong)all.size());
        compressSeconds = std::min(compressSeconds, BenchNow() - start);
        start = BenchNow();
        PPackMaker::Result result = PPackMaker().Make(source.c_str(), "1.0", descriptor.c_str());
        makeSeconds = std::min(makeSeconds, BenchNow() - start);
        if (result != PPackMaker::MakeDone)
        {
            printf("make failed: %d\n", (int)result);
            return 1;
        }
    }
    double uncompressSeconds = 1e30;
    double unpackedSeconds = 0;
    double installSeconds = 1e30;
    for (int round = 0; round < rounds; round++)
    {
        std::string baselineTarget = TempFolder("melvora-bench-baseline-");
        double start = BenchNow();
        uLongf length = (uLongf)unpacked.size();
        uncompress(unpacked.data(), &length, packed.data(), packedLength);
        double unpackedAt = BenchNow();
        size_t at = 0;
        for (size_t i = 0; i < names.size(); i++)
        {
            std::string folder = baselineTarget + "part" + std::to_string(i % 12);
            CreateDirectoryA(folder.c_str(), nullptr);
            WriteFileBytes(baselineTarget + names[i], reinterpret_cast<const char*>(unpacked.data()) + at, sizes[i]);
            at += sizes[i];
        }
        double seconds = BenchNow() - start;
        if (seconds < uncompressSeconds)
        {
            uncompressSeconds = seconds;
            unpackedSeconds = unpackedAt - start;
        }
        PUpdateInstall::RemoveTree(baselineTarget.c_str());

        std::string target = TempFolder("melvora-bench-target-");
        SResource pack;
        start = BenchNow();
        bool installed = pack.Open(package.c_str(), 0);
        SStringArray failed;
        PUpdateInstall install;
        installed = installed && install.Install(&pack, target.c_str(), &failed);
        installSeconds = std::min(installSeconds, BenchNow() - start);
        PUpdateInstall::RemoveTree(target.c_str());
        if (!installed)
        {
            printf("install failed\n");
            return 1;
        }
    }
    // Where the time of the two operations goes.
    {
        double start = BenchNow();
        SStringArray files;
        PPackMaker().ListFiles(source.c_str(), nullptr, &files);
        double listed = BenchNow();
        SResource pack;
        pack.SetBaseFolder(source.c_str());
        for (const std::string& name : names)
            pack.AddFile(name.c_str(), 0);
        double added = BenchNow();
        std::string phasePackage = output + "phases.bin";
        SFilePath file;
        file.Open(phasePackage.c_str(), true, true, true);
        pack.Write(&file, true);
        file.Close();
        double written = BenchNow();
        SResource check;
        SArray<int> checkLengths;
        check.Open(phasePackage.c_str(), 0);
        check.GetLengths(&checkLengths);
        double verified = BenchNow();
        SDisk().GetFileCrc32(phasePackage.c_str());
        double summed = BenchNow();
        // The same pack into a memory file that starts empty and grows with it.
        SFileMem out;
        out.Allocate(0);
        pack.Write(&out, true);
        double inMemory = BenchNow();
        printf("make phases: list %.0f ms, add %.0f ms, write to file %.0f ms, verify %.0f ms, CRC-32 %.0f ms; "
               "write to memory %.0f ms\n",
               (listed - start) * 1000, (added - listed) * 1000, (written - added) * 1000,
               (verified - written) * 1000, (summed - verified) * 1000, (inMemory - summed) * 1000);
        DeleteFileA(phasePackage.c_str());
        SResource opened;
        std::string target = TempFolder("melvora-bench-phases-");
        double openStart = BenchNow();
        opened.Open(package.c_str(), 0);
        double openEnd = BenchNow();
        SStringArray failed;
        opened.ExtractAll(target.c_str(), &failed);
        double extracted = BenchNow();
        SArray<int> lengths;
        opened.GetLengths(&lengths);
        double measured = BenchNow();
        printf("install phases: open %.0f ms, extract all %.0f ms, lengths %.0f ms; "
               "baseline: uncompress %.0f ms, create and write the files %.0f ms\n",
               (openEnd - openStart) * 1000, (extracted - openEnd) * 1000, (measured - extracted) * 1000,
               unpackedSeconds * 1000, (uncompressSeconds - unpackedSeconds) * 1000);
        PUpdateInstall::RemoveTree(target.c_str());
    }
    SDisk disk;
    double packageMegabytes = (double)disk.GetFileSize(package.c_str()) / (1024.0 * 1024.0);
    BenchReport("make package (list, pack, verify, CRC-32)", makeSeconds, "zlib compress, one pass", compressSeconds);
    BenchReport("install package (staged, verified, swapped)", installSeconds, "zlib uncompress + write files",
                uncompressSeconds);
    printf("make %.1f MB/s, compress %.1f MB/s; install %.1f MB/s, uncompress+write %.1f MB/s\n",
           megabytes / makeSeconds, megabytes / compressSeconds, megabytes / installSeconds,
           megabytes / uncompressSeconds);
    printf("package %.1f MB (%.1f%%), one-pass zlib %.1f MB\n", packageMegabytes, 100.0 * packageMegabytes / megabytes,
           (double)packedLength / (1024.0 * 1024.0));
    PUpdateInstall::RemoveTree(source.c_str());
    PUpdateInstall::RemoveTree(output.c_str());
    return 0;
}
