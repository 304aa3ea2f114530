#include "SDisk.h"

#include <vector>

#include "SChecksum.h"
#include "SFilePath.h"

uint32_t SDisk::GetFileCrc32(const char* path)
{
    if (path == nullptr || path[0] == 0)
        return 0;
    SFilePath file;
    if (!file.Open(path, false, false, true, true))
        return 0;
    // The same sum as the stream's own, read in large pieces: a package is tens of
    // megabytes, and a read per hundred bytes cost more than the sum itself.
    int size = file.GetSize();
    std::vector<uint8_t> piece(64 * 1024);
    uint32_t crc = 0xFFFFFFFFu;
    for (int offset = 0; offset < size;)
    {
        int wanted = size - offset < (int)piece.size() ? size - offset : (int)piece.size();
        int got = file.ReadBounded(piece.data(), wanted);
        if (got <= 0)
            return 0;
        crc = Crc32Update(crc, piece.data(), (size_t)got);
        offset += got;
    }
    return ~crc;
}
