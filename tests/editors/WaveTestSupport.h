#pragma once
// WAVE streams built byte by byte for the wave tests.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "SFileMem.h"

struct SWaveBytes
{
    const char* riff = "RIFF";
    const char* wave = "WAVE";
    const char* fmt = "fmt ";
    const char* data = "data";
    uint32_t formatSize = 16;
    uint16_t tag = 1;
    uint16_t channels = 2;
    uint32_t rate = 44100;
    int bits = 16;
    int blockAlign = -1;        // -1: channels * bytes per sample
    int64_t declaredData = -1;  // -1: the real data size
    std::vector<uint8_t> samples;
    const char* chunkBeforeData = nullptr; // an extra chunk between "fmt " and "data"

    static void Put32(std::vector<uint8_t>* out, uint32_t value)
    {
        for (int i = 0; i < 4; i++)
            out->push_back((uint8_t)(value >> (8 * i)));
    }
    static void Put16(std::vector<uint8_t>* out, uint16_t value)
    {
        out->push_back((uint8_t)value);
        out->push_back((uint8_t)(value >> 8));
    }
    static void PutTag(std::vector<uint8_t>* out, const char* tag) { out->insert(out->end(), tag, tag + 4); }

    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> out;
        PutTag(&out, riff);
        Put32(&out, 36 + (uint32_t)samples.size());
        PutTag(&out, wave);
        PutTag(&out, fmt);
        Put32(&out, formatSize);
        std::vector<uint8_t> format;
        int align = blockAlign >= 0 ? blockAlign : channels * (bits / 8);
        Put16(&format, tag);
        Put16(&format, channels);
        Put32(&format, rate);
        Put32(&format, rate * (uint32_t)align);
        Put16(&format, (uint16_t)align);
        Put16(&format, (uint16_t)bits);
        format.resize(formatSize < 1000 ? formatSize : 1000, 0);
        out.insert(out.end(), format.begin(), format.end());
        if (chunkBeforeData)
        {
            PutTag(&out, chunkBeforeData);
            Put32(&out, 4);
            Put32(&out, 0);
        }
        PutTag(&out, data);
        Put32(&out, declaredData >= 0 ? (uint32_t)declaredData : (uint32_t)samples.size());
        out.insert(out.end(), samples.begin(), samples.end());
        return out;
    }

    // 16-bit samples appended little-endian.
    void Add16(std::initializer_list<int> values)
    {
        for (int value : values)
            Put16(&samples, (uint16_t)(int16_t)value);
    }

    bool Into(SFileMem* stream) const
    {
        std::vector<uint8_t> bytes = Build();
        if (!stream->Allocate((int)bytes.size()))
            return false;
        memcpy(stream->GetBuffer(), bytes.data(), bytes.size());
        stream->Rewind();
        return true;
    }
};
