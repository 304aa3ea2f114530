// Measures the library's CRC-32, MD5 and SHA-1 over one buffer against zlib's
// crc32 over the same bytes. Not a test: `make bench` runs it.
#include <stdio.h>
#include <stdint.h>
#include <vector>
#include <windows.h>
#include <zlib.h>

#include "BenchSupport.h"
#include "SChecksum.h"

int main()
{
    const size_t bytes = 64u << 20;
    std::vector<uint8_t> data(bytes);
    uint32_t seed = 12345;
    for (size_t i = 0; i < bytes; i++)
    {
        seed = seed * 1103515245u + 12345u;
        data[i] = (uint8_t)(seed >> 16);
    }

    uint32_t ours = 0, theirs = 0;
    uint8_t md5Digest[16], sha1Digest[20];
    double zlibSeconds = BenchBest([&] { theirs = (uint32_t)crc32(0, data.data(), (uInt)bytes); });
    double crcSeconds = BenchBest([&] { ours = Crc32(data.data(), bytes); });
    double md5Seconds = BenchBest([&] {
        SMd5 md5;
        md5.Update(data.data(), bytes);
        md5.Final(md5Digest);
    });
    double sha1Seconds = BenchBest([&] {
        SSha1 sha1;
        sha1.Update(data.data(), bytes);
        sha1.Final(sha1Digest);
    });

    if (ours != theirs)
    {
        printf("CRC-32 mismatch: %08X against zlib %08X\n", ours, theirs);
        return 1;
    }
    double megabytes = (double)bytes / (1024.0 * 1024.0);
    printf("64 MiB buffer; zlib crc32 %.0f MB/s, CRC-32 %.0f MB/s, MD5 %.0f MB/s, SHA-1 %.0f MB/s\n",
           megabytes / zlibSeconds, megabytes / crcSeconds, megabytes / md5Seconds, megabytes / sha1Seconds);
    BenchReport("CRC-32 of 64 MiB", crcSeconds, "zlib crc32", zlibSeconds);
    BenchReport("MD5 of 64 MiB", md5Seconds, "zlib crc32", zlibSeconds);
    BenchReport("SHA-1 of 64 MiB", sha1Seconds, "zlib crc32", zlibSeconds);
    printf("MD5 %s\nSHA-1 %s\n", (const char*)DigestToHex(md5Digest, 16), (const char*)DigestToHex(sha1Digest, 20));
    return 0;
}
