// Measures the throughput of the library's CRC-32, MD5 and SHA-1 against zlib's
// crc32 over the same buffer. Not a test: run it by hand.
#include <stdio.h>
#include <stdlib.h>
#include <vector>
#include <windows.h>
#include <zlib.h>

#include "SChecksum.h"

namespace {

const size_t kBytes = 64u << 20;
const int kRounds = 3;

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

// Best time of a few rounds, to keep the machine's noise out.
template <class Work>
double BestSeconds(Work work)
{
    double best = 1e30;
    for (int round = 0; round < kRounds; round++)
    {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        double seconds = Seconds(start, end);
        if (seconds < best)
            best = seconds;
    }
    return best;
}

double MegabytesPerSecond(double seconds)
{
    return (double)kBytes / (1024.0 * 1024.0) / seconds;
}

} // namespace

int main()
{
    std::vector<uint8_t> data(kBytes);
    uint32_t seed = 12345;
    for (size_t i = 0; i < kBytes; i++)
    {
        seed = seed * 1103515245u + 12345u;
        data[i] = (uint8_t)(seed >> 16);
    }

    uint32_t ours = 0, theirs = 0;
    uint8_t md5Digest[16], sha1Digest[20];
    double crcSeconds = BestSeconds([&] { ours = Crc32(data.data(), kBytes); });
    double zlibSeconds = BestSeconds([&] { theirs = (uint32_t)crc32(0, data.data(), (uInt)kBytes); });
    double md5Seconds = BestSeconds([&] {
        SMd5 md5;
        md5.Update(data.data(), kBytes);
        md5.Final(md5Digest);
    });
    double sha1Seconds = BestSeconds([&] {
        SSha1 sha1;
        sha1.Update(data.data(), kBytes);
        sha1.Final(sha1Digest);
    });

    if (ours != theirs)
    {
        printf("CRC-32 mismatch: %08X against zlib %08X\n", ours, theirs);
        return 1;
    }
    printf("buffer       %u MiB\n", (unsigned)(kBytes >> 20));
    printf("CRC-32       %8.1f MB/s\n", MegabytesPerSecond(crcSeconds));
    printf("zlib crc32   %8.1f MB/s\n", MegabytesPerSecond(zlibSeconds));
    printf("CRC ratio    %8.2f (zlib time / our time)\n", zlibSeconds / crcSeconds);
    printf("MD5          %8.1f MB/s  %s\n", MegabytesPerSecond(md5Seconds), (const char*)DigestToHex(md5Digest, 16));
    printf("SHA-1        %8.1f MB/s  %s\n", MegabytesPerSecond(sha1Seconds), (const char*)DigestToHex(sha1Digest, 20));
    return 0;
}
