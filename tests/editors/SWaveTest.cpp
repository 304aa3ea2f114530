#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "../window/PumpSupport.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SWave.h"
#include "WaveTestSupport.h"

namespace
{

// A stereo 16-bit wave of frames whose left sample is the frame index and right its negation.
SWaveBytes RampWave(int frames)
{
    SWaveBytes bytes;
    for (int frame = 0; frame < frames; frame++)
        bytes.Add16({frame, -frame});
    return bytes;
}

bool LoadBytes(SWave* wave, const SWaveBytes& bytes, bool inMemory = false)
{
    SFileMem stream;
    return bytes.Into(&stream) && wave->Load(inMemory, &stream, true);
}

std::vector<int> Channel(const SWave& wave, int channel)
{
    std::vector<int> samples;
    for (unsigned frame = 0; frame < wave.GetLength(); frame++)
        samples.push_back((int)wave.GetSample(nullptr, frame, channel));
    return samples;
}

std::vector<int> Ramp(int from, int to, int sign = 1)
{
    std::vector<int> values;
    for (int v = from; v < to; v++)
        values.push_back(sign * v);
    return values;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(SWave, DamagedStreamsAreRefused)
{
    struct Case
    {
        const char* name;
        void (*damage)(SWaveBytes*);
    };
    const Case cases[] = {
        {"zero channels", [](SWaveBytes* b) { b->channels = 0; b->blockAlign = 4; }},
        {"33 channels", [](SWaveBytes* b) { b->channels = 33; }},
        {"zero rate", [](SWaveBytes* b) { b->rate = 0; }},
        {"wrong block align", [](SWaveBytes* b) { b->blockAlign = 3; }},
        {"huge block align", [](SWaveBytes* b) { b->blockAlign = 0xFFFF; }},
        {"24-bit", [](SWaveBytes* b) { b->bits = 24; }},
        {"huge fmt block", [](SWaveBytes* b) { b->formatSize = 0x7FFFFFF0; }},
        {"odd fmt block", [](SWaveBytes* b) { b->formatSize = 24; }},
        {"short data", [](SWaveBytes* b) { b->declaredData = (int)b->samples.size() + 2; }},
        {"data size past the end", [](SWaveBytes* b) { b->declaredData = 0x7FFFFFFF; }},
        {"data size above 2 GB", [](SWaveBytes* b) { b->declaredData = 0xFFFFFFF0ll; }},
        {"LIST before data", [](SWaveBytes* b) { b->chunkBeforeData = "LIST"; }},
        {"not RIFF", [](SWaveBytes* b) { b->riff = "RIFX"; }},
        {"not WAVE", [](SWaveBytes* b) { b->wave = "wave"; }},
        {"no fmt", [](SWaveBytes* b) { b->fmt = "fmt\t"; }},
    };
    for (const Case& c : cases)
    {
        SWaveBytes bytes = RampWave(10);
        c.damage(&bytes);
        SWave wave;
        EXPECT_FALSE(LoadBytes(&wave, bytes)) << c.name;
        EXPECT_FALSE(wave.IsLoaded()) << c.name;
        EXPECT_EQ(wave.GetLength(), 0u) << c.name;
        EXPECT_EQ(wave.GetChannelCount(), 0) << c.name;
    }
    // Every prefix of a good stream is refused too.
    std::vector<uint8_t> good = RampWave(4).Build();
    for (size_t length = 0; length < good.size(); length++)
    {
        SFileMem stream;
        ASSERT_TRUE(stream.Allocate((int)length));
        memcpy(stream.GetBuffer(), good.data(), length);
        SWave wave;
        EXPECT_FALSE(wave.Load(false, &stream, true)) << length;
    }
    SWave wave;
    EXPECT_FALSE(wave.Load(false, nullptr, true));
}

TEST(SWave, LoadsIntoEitherStore)
{
    for (bool inMemory : {false, true})
    {
        SWave wave;
        SFileMem stream;
        ASSERT_TRUE(RampWave(50).Into(&stream));
        unsigned dataLength = 0;
        ASSERT_TRUE(wave.Load(inMemory, &stream, true, &dataLength));
        EXPECT_EQ(dataLength, 200u);
        EXPECT_EQ(wave.IsInMemory(), inMemory);
        EXPECT_EQ(wave.IsEditable(), !inMemory);
        EXPECT_EQ(wave.GetLength(), 50u);
        EXPECT_EQ(wave.GetDataSize(), 200);
        EXPECT_EQ(wave.GetBlockAlign(), 4);
        EXPECT_EQ(Channel(wave, 0), Ramp(0, 50));
        EXPECT_EQ(Channel(wave, 1), Ramp(0, 50, -1));
        EXPECT_EQ(wave.GetSample(nullptr, 7, -1), 0);
        EXPECT_EQ(wave.FrameToMs(44100 / 1000 * 0 + 49), (int64_t)(49 * (1000.0 / 44100)));
        EXPECT_EQ(wave.FrameToMs(51), 0);
        EXPECT_EQ(wave.SetRange(0, 10, -1), !inMemory);
    }
    // Without readData only the header is read.
    SWave wave;
    SFileMem stream;
    ASSERT_TRUE(RampWave(50).Into(&stream));
    unsigned dataLength = 0;
    ASSERT_TRUE(wave.Load(false, &stream, false, &dataLength));
    EXPECT_EQ(dataLength, 200u);
    EXPECT_EQ(wave.GetLength(), 0u);
}

TEST(SWave, EightAndThirtyTwoBitSamples)
{
    SWaveBytes eight;
    eight.channels = 1;
    eight.bits = 8;
    eight.samples = {128, 0, 255, 200};
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, eight));
    EXPECT_EQ(Channel(wave, 0), (std::vector<int>{0, -128, 127, 72}));
    wave.SetSample(nullptr, 0, 0, 300);
    uint8_t raw = 0;
    ASSERT_TRUE(wave.ReadRaw(&raw, 0, 1));
    EXPECT_EQ(raw, 255);
    wave.SetSample(nullptr, 0, 0, -200);
    ASSERT_TRUE(wave.ReadRaw(&raw, 0, 1));
    EXPECT_EQ(raw, 0);
    // Silence of 8-bit data is 128.
    ASSERT_TRUE(wave.SetRange(1, 2, -1));
    ASSERT_TRUE(wave.Silence());
    uint8_t all[4];
    ASSERT_TRUE(wave.ReadRaw(all, 0, 4));
    EXPECT_EQ(all[1], 128);
    EXPECT_EQ(all[2], 128);
    EXPECT_EQ(all[3], 200);

    SWaveBytes wide;
    wide.channels = 1;
    wide.bits = 32;
    SWaveBytes::Put32(&wide.samples, 0x80000000u);
    SWaveBytes::Put32(&wide.samples, 5);
    ASSERT_TRUE(LoadBytes(&wave, wide));
    EXPECT_EQ(wave.GetSample(nullptr, 0, 0), INT32_MIN);
    EXPECT_DOUBLE_EQ(wave.GetSampleNormalized(nullptr, 0, 0), -0.5);
    wave.SetSample(nullptr, 1, 0, 5000000000ll);
    EXPECT_EQ(wave.GetSample(nullptr, 1, 0), INT32_MAX);
}

TEST(SWave, CreateAcceptsOneTwoOrSixChannels)
{
    SWave wave;
    EXPECT_FALSE(wave.Create(3, 44100));
    EXPECT_FALSE(wave.Create(2, 0));
    EXPECT_FALSE(wave.IsLoaded());
    ASSERT_TRUE(wave.Create(2, 22050));
    EXPECT_EQ(wave.GetFormat()->Format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.GetFormat()->Format.nAvgBytesPerSec, 2u * 2 * 22050);
    EXPECT_EQ(wave.GetLength(), 0u);
    EXPECT_TRUE(wave.IsEditable());
    ASSERT_TRUE(wave.Create(6, 44100));
    const WAVEFORMATEXTENSIBLE* format = wave.GetFormat();
    EXPECT_EQ(format->Format.wFormatTag, WAVE_FORMAT_EXTENSIBLE);
    EXPECT_EQ(format->Format.cbSize, 22);
    EXPECT_EQ(format->Format.nBlockAlign, 12);
    EXPECT_EQ(format->dwChannelMask, 0x3Fu);
    EXPECT_EQ(format->Samples.wValidBitsPerSample, 16);
    EXPECT_EQ(format->SubFormat.Data1, 1u);
    EXPECT_EQ(format->SubFormat.Data4[7], 0x71);
}

TEST(SWave, RangeRules)
{
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, RampWave(100)));
    EXPECT_TRUE(wave.SetRange(100, 0, -1));
    EXPECT_FALSE(wave.SetRange(101, 0, -1));
    EXPECT_FALSE(wave.SetRange(50, 51, -1));
    EXPECT_FALSE(wave.SetRange(0, 10, -2));
    EXPECT_FALSE(wave.SetRange(0, 10, 2));
    EXPECT_TRUE(wave.SetRange(0, 100, 1));
    ASSERT_TRUE(wave.SetRange(10, 0, -1));
    EXPECT_FALSE(wave.Amplify(2));
    EXPECT_FALSE(wave.Silence());
    EXPECT_FALSE(wave.Delete());
    EXPECT_FALSE(wave.InsertGap(0));
}

TEST(SWave, EditsPerChannelAndForAll)
{
    struct Case
    {
        const char* name;
        unsigned start, length;
        int channel;
        bool (*edit)(SWave*);
        std::vector<int> left, right;
    };
    const Case cases[] = {
        {"gain all", 2, 3, -1, [](SWave* w) { return w->Amplify(2.0); },
         {0, 1, 4, 6, 8, 5, 6, 7}, {0, -1, -4, -6, -8, -5, -6, -7}},
        {"gain right", 2, 3, 1, [](SWave* w) { return w->Amplify(0.5); },
         Ramp(0, 8), {0, -1, -1, -1, -2, -5, -6, -7}},
        {"silence left", 1, 2, 0, [](SWave* w) { return w->Silence(); },
         {0, 0, 0, 3, 4, 5, 6, 7}, Ramp(0, 8, -1)},
        {"silence all", 6, 2, -1, [](SWave* w) { return w->Silence(); },
         {0, 1, 2, 3, 4, 5, 0, 0}, {0, -1, -2, -3, -4, -5, 0, 0}},
        {"delete all", 2, 3, -1, [](SWave* w) { return w->Delete(); }, {0, 1, 5, 6, 7}, {0, -1, -5, -6, -7}},
        {"delete left keeps the length", 2, 3, 0, [](SWave* w) { return w->Delete(); },
         {0, 1, 5, 6, 7, 0, 0, 0}, Ramp(0, 8, -1)},
        {"delete to the end", 5, 3, -1, [](SWave* w) { return w->Delete(); }, Ramp(0, 5), Ramp(0, 5, -1)},
        {"gap all", 3, 0, -1, [](SWave* w) { return w->InsertGap(2); },
         {0, 1, 2, 0, 0, 3, 4, 5, 6, 7}, {0, -1, -2, 0, 0, -3, -4, -5, -6, -7}},
        {"gap right", 3, 0, 1, [](SWave* w) { return w->InsertGap(2); },
         {0, 1, 2, 3, 4, 5, 6, 7, 0, 0}, {0, -1, -2, 0, 0, -3, -4, -5, -6, -7}},
        {"gap over a range", 1, 2, -1, [](SWave* w) { return w->InsertGap(1); },
         {0, 0, 3, 4, 5, 6, 7}, {0, 0, -3, -4, -5, -6, -7}},
        {"gap at the end", 8, 0, -1, [](SWave* w) { return w->InsertGap(1); }, Join(Ramp(0, 8), {0}),
         Join(Ramp(0, 8, -1), {0})},
    };
    for (const Case& c : cases)
    {
        SWave wave;
        ASSERT_TRUE(LoadBytes(&wave, RampWave(8)));
        ASSERT_TRUE(wave.SetRange(c.start, c.length, c.channel)) << c.name;
        EXPECT_TRUE(c.edit(&wave)) << c.name;
        EXPECT_EQ(Channel(wave, 0), c.left) << c.name;
        EXPECT_EQ(Channel(wave, 1), c.right) << c.name;
    }
}

TEST(SWave, CopyCutAndPaste)
{
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, RampWave(8)));
    // All channels: frames as stored.
    SFileMem clip;
    ASSERT_TRUE(wave.SetRange(2, 2, -1));
    ASSERT_TRUE(wave.CopyTo(&clip));
    ASSERT_EQ(clip.GetSize(), 8);
    ASSERT_TRUE(wave.SetRange(0, 0, -1));
    ASSERT_TRUE(wave.Paste(&clip));
    EXPECT_EQ(Channel(wave, 0), Join({2, 3}, Ramp(0, 8)));
    EXPECT_EQ(Channel(wave, 1), Join({-2, -3}, Ramp(0, 8, -1)));

    // One channel: a cut keeps the length, a paste at the same place opens as many frames.
    ASSERT_TRUE(LoadBytes(&wave, RampWave(8)));
    SFileMem mono;
    ASSERT_TRUE(wave.SetRange(1, 3, 0));
    ASSERT_TRUE(wave.Cut(&mono));
    EXPECT_EQ(mono.GetSize(), 6);
    EXPECT_EQ(wave.GetLength(), 8u);
    EXPECT_EQ(Channel(wave, 0), (std::vector<int>{0, 4, 5, 6, 7, 0, 0, 0}));
    ASSERT_TRUE(wave.SetRange(1, 0, 0));
    ASSERT_TRUE(wave.Paste(&mono));
    EXPECT_EQ(wave.GetLength(), 11u);
    EXPECT_EQ(Channel(wave, 0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0}));
    EXPECT_EQ(Channel(wave, 1), Join(Ramp(0, 8, -1), {0, 0, 0}));

    // A paste over a range replaces it.
    ASSERT_TRUE(LoadBytes(&wave, RampWave(4)));
    SFileMem two;
    ASSERT_TRUE(wave.SetRange(0, 1, -1));
    ASSERT_TRUE(wave.CopyTo(&two));
    ASSERT_TRUE(wave.SetRange(1, 2, -1));
    ASSERT_TRUE(wave.Paste(&two));
    EXPECT_EQ(Channel(wave, 0), (std::vector<int>{0, 0, 3}));

    // A paste that is not a whole number of frames takes only the whole frames.
    ASSERT_TRUE(LoadBytes(&wave, RampWave(2)));
    SFileMem odd;
    const uint8_t partial[] = {9, 0, 0xF7, 0xFF, 1, 2};
    ASSERT_EQ(odd.Write(partial, 6), 6);
    ASSERT_TRUE(wave.SetRange(2, 0, -1));
    ASSERT_TRUE(wave.Paste(&odd));
    EXPECT_EQ(Channel(wave, 0), (std::vector<int>{0, 1, 9}));
    EXPECT_EQ(Channel(wave, 1), (std::vector<int>{0, -1, -9}));
    SFileMem tiny;
    ASSERT_EQ(tiny.Write(partial, 3), 3);
    ASSERT_TRUE(wave.SetRange(0, 0, -1));
    EXPECT_FALSE(wave.Paste(&tiny));
    EXPECT_EQ(wave.GetLength(), 3u);
}

TEST(SWave, ProgressReportsAndCancels)
{
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, RampWave(1000)));
    struct Record
    {
        std::vector<int> percents;
        int cancelAfter;
    } record{{}, -1};
    auto callback = [](int percent, void* user) {
        Record* r = static_cast<Record*>(user);
        r->percents.push_back(percent);
        return r->cancelAfter < 0 || (int)r->percents.size() <= r->cancelAfter;
    };
    // 1000 stereo frames: chunks of 104 bytes, so 39 of them.
    ASSERT_TRUE(wave.SetRange(0, 1000, -1, callback, &record));
    ASSERT_TRUE(wave.Amplify(2.0));
    ASSERT_EQ(record.percents.size(), 39u);
    EXPECT_EQ(record.percents.front(), 0);
    EXPECT_EQ(record.percents.back(), 38);
    // Each chunk of the single pass reports its index as the percent, 29 % included.
    for (size_t i = 0; i < record.percents.size(); i++)
        EXPECT_EQ(record.percents[i], (int)i) << i;
    EXPECT_EQ(wave.GetSample(nullptr, 999, 0), 1998);

    // Cancelled at the second chunk: the first chunk (26 frames) is changed, the rest is not.
    record.percents.clear();
    record.cancelAfter = 1;
    ASSERT_TRUE(wave.SetRange(0, 1000, -1, callback, &record));
    EXPECT_FALSE(wave.Amplify(0.5));
    EXPECT_EQ(wave.GetSample(nullptr, 25, 0), 25);
    EXPECT_EQ(wave.GetSample(nullptr, 26, 0), 52);

    // A cut runs two passes: the second starts at 50 %.
    record.percents.clear();
    record.cancelAfter = -1;
    SFileMem clip;
    ASSERT_TRUE(wave.SetRange(0, 500, -1, callback, &record));
    ASSERT_TRUE(wave.Cut(&clip));
    bool secondPass = false;
    for (int percent : record.percents)
        secondPass = secondPass || percent >= 50;
    EXPECT_TRUE(secondPass);
    EXPECT_EQ(wave.GetLength(), 500u);
}

TEST(SWave, MemoryWavesOnlyPlay)
{
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, RampWave(8), true));
    EXPECT_FALSE(wave.SetRange(0, 1, -1));
    EXPECT_FALSE(wave.Amplify(2));
    EXPECT_FALSE(wave.Touch());
}

namespace
{

class RecordingWave : public SWave
{
public:
    void OnProgress() override { progress++; }
    void OnStopped() override { stopped++; }
    int progress = 0;
    int stopped = 0;
};

SWaveBytes ToneWave(int frames)
{
    SWaveBytes bytes;
    for (int frame = 0; frame < frames; frame++)
    {
        int value = (frame / 20) % 2 ? 8000 : -8000;
        bytes.Add16({value, value / 2});
    }
    return bytes;
}

} // namespace

TEST(SWave, PlaybackThroughDirectSound)
{
    ASSERT_NE(GetDirectSound(), nullptr) << "the null ALSA device gives a DirectSound device";
    RecordingWave wave;
    ASSERT_TRUE(LoadBytes(&wave, ToneWave(44100 / 4)));
    ASSERT_TRUE(wave.HasBuffer());
    EXPECT_EQ(wave.GetFrequency(), 44100u);
    EXPECT_FALSE(wave.Play(100, 100));
    EXPECT_FALSE(wave.Play(200, 100));
    ASSERT_TRUE(wave.Play(100, 0));
    EXPECT_EQ(wave.GetPlayStart(), 100u);
    EXPECT_EQ(wave.GetPlayEnd(), wave.GetLength());
    EXPECT_TRUE(wave.IsPlaying());
    ASSERT_TRUE(PumpUntil([&] { return wave.progress > 0 || !wave.IsPlaying(); }));

    // Pause keeps the cursor, a second Pause plays on.
    if (wave.IsPlaying())
    {
        ASSERT_TRUE(wave.Pause());
        EXPECT_TRUE(wave.IsPaused());
        EXPECT_FALSE(wave.IsPlaying());
        EXPECT_TRUE(wave.Pause());
        EXPECT_FALSE(wave.IsPaused());
    }
    // A selection ends with OnStopped and the stopped state.
    ASSERT_TRUE(wave.Play(0, 2000));
    EXPECT_EQ(wave.GetPlayEnd(), 2000u);
    ASSERT_TRUE(PumpUntil([&] { return wave.stopped > 0; }));
    EXPECT_FALSE(wave.IsPlaying());
    EXPECT_EQ(wave.GetPosition(), 0u);

    // Repeat keeps playing past the end of the selection.
    wave.SetRepeat(true);
    wave.stopped = 0;
    ASSERT_TRUE(wave.Play(0, 500));
    PumpUntil([] { return false; }, 150);
    EXPECT_TRUE(wave.IsPlaying());
    EXPECT_EQ(wave.stopped, 0);
    wave.Stop();
    EXPECT_FALSE(wave.IsPlaying());
    EXPECT_FALSE(wave.Pause());

    // The frequency follows the buffer; an edit range stops playback.
    wave.SetFrequency(22050);
    EXPECT_EQ(wave.GetFrequency(), 22050u);
    ASSERT_TRUE(wave.Play(0, 0));
    ASSERT_TRUE(wave.SetRange(0, 10, -1));
    EXPECT_FALSE(wave.IsPlaying());
}

TEST(SWave, MutedChannels)
{
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, ToneWave(1000)));
    SArray<int> list;
    list.Add(1);
    list.Add(0);
    EXPECT_FALSE(wave.SetMutedChannels(&list, false));
    EXPECT_EQ(wave.GetAudibleChannelCount(), 0);
    EXPECT_FALSE(wave.HasBuffer());
    EXPECT_EQ(wave.GetMutedChannels().GetAt(0), 0);
    SArray<int> audible;
    audible.Add(1);
    ASSERT_TRUE(wave.SetMutedChannels(&audible, true));
    EXPECT_EQ(wave.GetMutedChannels().GetCount(), 1);
    EXPECT_EQ(wave.GetMutedChannels().GetAt(0), 0);
    EXPECT_TRUE(wave.HasBuffer());
    ASSERT_TRUE(wave.SetMutedChannels(nullptr, false));
    EXPECT_EQ(wave.GetAudibleChannelCount(), 2);
}

TEST(SWave, BandFeedFindsTheTone)
{
    ASSERT_NE(GetDirectSound(), nullptr);
    // A square wave of 40 frames per cycle at 44100 Hz: 1102 Hz, band 11.
    SWave wave;
    ASSERT_TRUE(LoadBytes(&wave, ToneWave(44100)));
    struct Seen
    {
        int calls = 0;
        int count = 0;
        unsigned char peak = 0;
        unsigned char band11 = 0;
        int otherBands = 0;
    } seen;
    wave.SetBandCallback(
        [](int count, const unsigned char* peaks, const unsigned char* bands, void* user) {
            Seen* s = static_cast<Seen*>(user);
            s->calls++;
            s->count = count;
            s->peak = std::max(s->peak, peaks[0]);
            s->band11 = std::max(s->band11, bands[11]);
            for (int band = 0; band < 16; band++)
                if (band != 11)
                    s->otherBands += bands[band];
            return true;
        },
        &seen);
    EXPECT_TRUE(wave.HasBandCallback());
    ASSERT_TRUE(wave.Play(1000, 0));
    wave.FeedBands();
    wave.Stop();
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.count, 2);
    EXPECT_GT(seen.band11, 0);
    EXPECT_EQ(seen.otherBands, 0);
    EXPECT_EQ(seen.peak, (unsigned char)(int)(8000.0 / 65536 * 2 * 255));
}

TEST(SWave, FramesPastTheEndNeitherReadNorWrite)
{
    // Frames whose byte offset wraps in 32 bits onto a frame of the wave, and plain ones past the end.
    struct Case
    {
        int channels;
        int bits;
        unsigned frame;
    };
    const Case cases[] = {
        {2, 16, 0x40000000u}, {2, 16, 0x40000001u}, {1, 16, 0x80000002u}, {1, 32, 0x40000003u},
        {4, 16, 0x20000000u}, {2, 16, 4u},          {1, 8, 0xFFFFFFFFu},  {1, 8, 4u},
    };
    for (const Case& c : cases)
    {
        SWaveBytes bytes;
        bytes.channels = (uint16_t)c.channels;
        bytes.bits = c.bits;
        for (int frame = 0; frame < 4; frame++)
            for (int channel = 0; channel < c.channels; channel++)
            {
                int value = 10 + 20 * frame + channel;
                if (c.bits == 8)
                    bytes.samples.push_back((uint8_t)(value + 128));
                else if (c.bits == 16)
                    bytes.Add16({value});
                else
                    SWaveBytes::Put32(&bytes.samples, (uint32_t)value);
            }
        SWave wave;
        ASSERT_TRUE(LoadBytes(&wave, bytes)) << c.frame;
        ASSERT_EQ(wave.GetLength(), 4u);
        EXPECT_EQ(wave.GetSample(nullptr, c.frame, 0), 0) << c.frame;
        EXPECT_EQ(wave.GetSample(nullptr, c.frame, -1), 0) << c.frame;
        wave.SetSample(nullptr, c.frame, -1, 99);
        wave.SetSample(nullptr, c.frame, 0, 99);
        for (int channel = 0; channel < c.channels; channel++)
            EXPECT_EQ(Channel(wave, channel), (std::vector<int>{10 + channel, 30 + channel, 50 + channel, 70 + channel}))
                << c.frame << " channel " << channel;
        EXPECT_EQ(wave.GetDataSize(), 4 * c.channels * c.bits / 8) << c.frame;
    }
}

TEST(SWave, BandFeedReportsAtMostTheRowsItFills)
{
    struct Case
    {
        int channels;
        int reported;
    };
    const Case cases[] = {{1, 1}, {6, 6}, {7, 6}, {8, 6}, {32, 6}};
    for (const Case& c : cases)
    {
        SWaveBytes bytes;
        bytes.channels = (uint16_t)c.channels;
        for (int frame = 0; frame < 400; frame++)
            for (int channel = 0; channel < c.channels; channel++)
                bytes.Add16({(frame / 20) % 2 ? 8000 : -8000});
        SWave wave;
        ASSERT_TRUE(LoadBytes(&wave, bytes)) << c.channels;
        ASSERT_EQ(wave.GetChannelCount(), c.channels);
        int count = -1;
        wave.SetBandCallback(
            [](int channels, const unsigned char*, const unsigned char*, void* user) {
                *(int*)user = channels;
                return true;
            },
            &count);
        wave.FeedBands();
        EXPECT_EQ(count, c.reported) << c.channels;
    }
}
