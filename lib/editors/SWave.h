#pragma once
// One piece of PCM audio: read from a RIFF WAVE stream or created empty, edited
// in place with progress and cancellation, and played through a DirectSound
// secondary buffer whose 5 ms timer feeds an attached level meter.
#include <windows.h>
#include <mmreg.h>
#include <stdint.h>

#include "SArray.h"
#include "SFileMem.h"
#include "SWnd.h"

class SFilePath;
class SLevelCtrl;
struct IDirectSoundBuffer;

// Progress of a long edit: percent 0-100; false cancels.
typedef bool (*SWaveProgress)(int percent, void* user);
// Band feed of a playing wave: channel count, 6 peak bytes, 6 rows of 16 band bytes, user value.
typedef bool (*SWaveBandCallback)(int count, const unsigned char* peaks, const unsigned char* bands, void* user);

class SWave
{
public:
    // The hidden message-only window whose timer drives playback feeds.
    class _SWnd : public SWnd
    {
    public:
        explicit _SWnd(SWave* wave) : m_wave(wave) {}
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    private:
        SWave* m_wave;
    };

    enum : int
    {
        MaxChannels = 32,     // more channels than any real layout; refused above
        BandChannels = 6,     // channels the band feed examines
        BandCount = 16,       // bands of 100 Hz per channel
        PlayTimer = 1000,
        PlayTimerPeriod = 5
    };

    SWave();
    virtual ~SWave();
    SWave(const SWave&) = delete;
    SWave& operator=(const SWave&) = delete;

    // Called on every timer tick while the buffer plays, after the meters were fed.
    virtual void OnProgress() {}
    // Called when playback ends or is found stopped.
    virtual void OnStopped() {}

    // --- lifecycle ---
    // Stops playback and returns to the empty state (meter and band callback stay).
    void Reset();
    // Reset when loaded.
    void Close();
    // Reads a WAVE stream; every damaged or unsupported stream is refused.
    bool Load(bool inMemory, SFile* stream, bool readData, unsigned* dataLength = nullptr);
    // A new empty 16-bit wave of 1, 2 or 6 channels.
    bool Create(int channels, int samplesPerSecond);

    // --- queries ---
    bool IsLoaded() const { return m_loaded != 0; }
    bool IsInMemory() const { return m_inMemory != 0; }
    bool IsEditable() const;
    int GetChannelCount() const { return m_format.Format.nChannels; }
    int GetBitsPerSample() const { return m_format.Format.wBitsPerSample; }
    int GetBlockAlign() const { return m_format.Format.nBlockAlign; }
    int GetSamplesPerSec() const { return (int)m_format.Format.nSamplesPerSec; }
    const WAVEFORMATEXTENSIBLE* GetFormat() const { return &m_format; }
    // Bytes in the store.
    int GetDataSize() const;
    // Frames in the store.
    unsigned GetLength() const;
    int GetAudibleChannelCount() const;
    SFile* GetStore() const;
    SFile* RewindStore() const;
    bool GetRepeat() const { return m_repeat != 0; }
    bool IsPaused() const { return m_paused != 0; }
    unsigned GetPlayStart() const { return m_playStart; }
    unsigned GetPlayEnd() const { return m_playEnd; }
    SLevelCtrl* GetLevelCtrl() const { return m_level; }
    bool HasBandCallback() const { return m_bandCallback != nullptr; }
    const SArray<int>& GetMutedChannels() const { return m_muted; }
    // Milliseconds at a frame; 0 when not loaded or past the end.
    int64_t FrameToMs(unsigned frame) const;

    // --- samples (buffer null = the store) ---
    int64_t GetSample(const void* buffer, unsigned frame, int channel) const;
    void SetSample(void* buffer, unsigned frame, int channel, int64_t value);
    // The sample scaled to -0.5 .. +0.5.
    double GetSampleNormalized(const void* buffer, unsigned frame, int channel) const;
    bool ReadRaw(void* buffer, int byteOffset, int bytes) const;

    // --- editing over the range ---
    bool SetRange(unsigned start, unsigned length, int channel, SWaveProgress progress = nullptr,
                  void* user = nullptr);
    bool Amplify(double factor);
    bool CopyTo(SFile* stream);
    bool Silence();
    bool Delete();
    bool InsertGap(unsigned frames);
    bool Paste(SFile* stream);
    bool Cut(SFile* stream);
    bool Touch();
    // The muted channels: the list itself, or every channel not in it when listIsAudible.
    bool SetMutedChannels(const SArray<int>* list, bool listIsAudible);

    // --- playback ---
    bool Play(unsigned from, unsigned to);
    void Stop();
    // Toggles between playing and paused.
    bool Pause();
    void SetRepeat(bool repeat) { m_repeat = repeat ? 1 : 0; }
    unsigned GetPosition() const;
    void SetPosition(unsigned frame);
    unsigned GetFrequency() const;
    void SetFrequency(unsigned hertz);
    bool IsPlaying() const;
    bool CreateBuffer();
    bool FillBuffer();
    bool UpdateBuffer();
    bool HasBuffer() const { return m_buffer != nullptr; }

    // --- meters ---
    void SetLevelCtrl(SLevelCtrl* level);
    void SetBandCallback(SWaveBandCallback callback, void* user);
    void FeedLevel();
    void FeedBands();

private:
    friend class _SWnd;
    // One timer tick of playback.
    void OnTimer();
    void ZeroMeter();
    int BytesPerSample() const { return m_format.Format.wBitsPerSample / 8; }
    // The chunk of a walk over total bytes, with the unit it is rounded to.
    static int ChunkSize(int64_t total, int unit);
    // Progress of chunk index of the current pass; false when cancelled.
    bool ReportProgress(int index);
    // The frame window of the feeds around the play position; false when empty.
    bool FeedWindow(unsigned* first, unsigned* end) const;
    int64_t DecodeSample(const uint8_t* bytes) const;
    void EncodeSample(uint8_t* bytes, int64_t value) const;
    // Fills bytes of the store at offset with the silence value.
    bool FillSilence(int offset, int bytes);
    bool DeleteRange();
    bool MoveUp(unsigned frames);

    _SWnd m_window;
    unsigned char m_loaded;
    unsigned char m_inMemory;
    int m_silence;
    WAVEFORMATEXTENSIBLE m_format;
    SFilePath* m_temp;
    SFileMem m_memory;
    IDirectSoundBuffer* m_buffer;
    unsigned char m_repeat;
    unsigned char m_paused;
    unsigned m_playStart;
    unsigned m_playEnd;
    SArray<int> m_muted;
    unsigned m_rangeStart;
    unsigned m_rangeLength;
    int m_rangeChannel;
    int m_pass;
    int m_passCount;
    SWaveProgress m_progress;
    void* m_progressUser;
    SLevelCtrl* m_level;
    SWaveBandCallback m_bandCallback;
    void* m_bandUser;
};
