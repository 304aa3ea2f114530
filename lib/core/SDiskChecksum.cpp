#include "SDisk.h"
#include "SFilePath.h"

uint32_t SDisk::GetFileCrc32(const char* path)
{
    if (path == nullptr || path[0] == 0)
        return 0;
    SFilePath file;
    if (!file.Open(path, false, false, true, true))
        return 0;
    uint32_t crc = 0;
    if (!file.GetCrc32(&crc))
        return 0;
    return crc;
}
