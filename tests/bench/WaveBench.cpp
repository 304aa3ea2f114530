// A 10-minute stereo 16-bit 44.1 kHz wave (about 100 MB): load, draw at full
// width, select all and change the gain, cut and paste a minute, save; each step
// against reading and writing the same bytes with the library's streams. Not a test.
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include <vector>

#include "BenchSupport.h"
#include "SFilePath.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SWaveEditor.h"

namespace
{

const int kRate = 44100;
const int kChannels = 2;
const int kAlign = 4;
const unsigned kFrames = 10u * 60u * kRate;

void Put32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out[i] = (uint8_t)(value >> (8 * i));
}

// The 44-byte header of a PCM wave of dataBytes.
std::vector<uint8_t> Header(uint32_t dataBytes)
{
    std::vector<uint8_t> header(44, 0);
    memcpy(&header[0], "RIFF", 4);
    Put32(&header[4], 36 + dataBytes);
    memcpy(&header[8], "WAVEfmt ", 8);
    Put32(&header[16], 16);
    header[20] = 1;
    header[22] = kChannels;
    Put32(&header[24], kRate);
    Put32(&header[28], kRate * kAlign);
    header[32] = kAlign;
    header[34] = 16;
    memcpy(&header[36], "data", 4);
    Put32(&header[40], dataBytes);
    return header;
}

bool WriteTestWave(const char* path)
{
    SFilePath file;
    if (!file.Open(path, true, true, false))
        return false;
    std::vector<uint8_t> header = Header(kFrames * kAlign);
    file.Write(header.data(), (int)header.size());
    std::vector<int16_t> block(2 * 65536);
    for (unsigned first = 0; first < kFrames; first += 65536)
    {
        unsigned count = kFrames - first < 65536 ? kFrames - first : 65536;
        for (unsigned i = 0; i < count; i++)
        {
            unsigned frame = first + i;
            block[2 * i] = (int16_t)((frame * 37) % 20000 - 10000);
            block[2 * i + 1] = (int16_t)((frame * 53) % 16000 - 8000);
        }
        if (file.Write(block.data(), (int)(count * kAlign)) != (int)(count * kAlign))
            return false;
    }
    return true;
}

// The baseline: the same bytes read from one stream and written to another, 1 MB at a time.
double CopyBaseline(const char* path, int offset, int bytes)
{
    return BenchBest([&] {
        SFilePath source;
        SFilePath target;
        source.Open(path, false, false, true);
        target.OpenTemp();
        source.Seek(offset);
        std::vector<uint8_t> buffer(1 << 20);
        for (int done = 0; done < bytes;)
        {
            int piece = bytes - done < (int)buffer.size() ? bytes - done : (int)buffer.size();
            int got = source.Read(buffer.data(), piece);
            if (got <= 0 || target.Write(buffer.data(), got) != got)
                break;
            done += got;
        }
    }, 2);
}

} // namespace

int main()
{
    InitLibrary(GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, true, false);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    char path[MAX_PATH];
    snprintf(path, sizeof(path), "%swave_bench.wav", folder);
    if (!WriteTestWave(path))
    {
        printf("cannot write %s\n", path);
        return 1;
    }
    const int dataBytes = (int)(kFrames * kAlign);

    SWnd parent;
    RECT rect = {0, 0, 1920, 400};
    parent.Create("wave bench", WS_POPUP, 0, &rect, nullptr);
    SWaveEditor editor;
    RECT client = {0, 0, 1920, 400};
    editor.CreateChildNoCaption(WS_VISIBLE, 0, &client, parent.GetHandle(), 1);
    SWave* wave = editor.GetWave();

    double load = BenchBest([&] {
        SFilePath file;
        file.Open(path, false, false, true);
        wave->Load(false, &file, true);
    }, 2);
    BenchReport("load 10 min stereo (with sound buffer)", load, "stream copy of the bytes",
                CopyBaseline(path, 44, dataBytes));
    SFilePath source;
    source.Open(path, false, false, true);
    wave->Load(false, &source, true);
    source.Close();
    if (wave->GetLength() != kFrames)
    {
        printf("load failed\n");
        return 1;
    }

    double create = BenchBest([&] { wave->CreateBuffer(); }, 2);
    double fill = BenchBest([&] { wave->FillBuffer(); }, 2);
    BenchReport("  of which: sound buffer creation", create, "stream copy of the bytes",
                CopyBaseline(path, 44, dataBytes));
    BenchReport("  of which: sound buffer fill", fill, "stream copy of the bytes", CopyBaseline(path, 44, dataBytes));

    double draw = BenchBest([&] { editor.RenderWave(); }, 3);
    double readAll = BenchBest([&] {
        SFile* store = wave->RewindStore();
        std::vector<uint8_t> buffer(1 << 20);
        while (store->Read(buffer.data(), (int)buffer.size()) > 0)
        {
        }
    }, 3);
    BenchReport("draw at 1920 pixels", draw, "stream read of the bytes", readAll);

    editor.SelectAll();
    double gain = BenchBest([&] { editor.Amplify(0.9); }, 2);
    BenchReport("select all, gain 0.9 (with sound buffer)", gain, "stream copy of the bytes",
                CopyBaseline(path, 44, dataBytes));

    double cutPaste = BenchBest([&] {
        editor.Select(2 * 60 * kRate, 60 * kRate);
        editor.CutClip();
        editor.Select(5 * 60 * kRate, 0);
        editor.PasteClip();
    }, 2);
    // The cut copies a minute and moves the 7 after it down; the paste moves the 4 after
    // its place up and writes the minute: 13 minutes of bytes in all.
    BenchReport("cut and paste a minute (with sound buffer)", cutPaste, "stream copy of 13 min",
                CopyBaseline(path, 44, dataBytes) * 1.3);

    double save = BenchBest([&] {
        char target[MAX_PATH];
        snprintf(target, sizeof(target), "%swave_bench_saved.wav", folder);
        SFilePath file;
        file.Open(target, true, true, false);
        std::vector<uint8_t> header = Header((uint32_t)wave->GetDataSize());
        file.Write(header.data(), (int)header.size());
        wave->SetRange(0, wave->GetLength(), -1);
        wave->CopyTo(&file);
    }, 2);
    BenchReport("save 10 min stereo", save, "stream copy of the bytes", CopyBaseline(path, 44, dataBytes));

    editor.Destroy();
    parent.Destroy();
    char saved[MAX_PATH];
    snprintf(saved, sizeof(saved), "%swave_bench_saved.wav", folder);
    DeleteFileA(saved);
    DeleteFileA(path);
    ExitLibrary();
    return 0;
}
