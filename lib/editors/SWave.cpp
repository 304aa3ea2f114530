#include "SWave.h"

#include <dsound.h>
#include <limits.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "SFilePath.h"
#include "SLevelCtrl.h"
#include "SLibrary.h"
#include "SRound.h"

#if !defined(_WIN64)
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40, "the format record is 40 bytes");
#endif

namespace
{

const DWORD kBufferFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLVOLUME |
                           DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
static_assert(kBufferFlags == 0x180E0, "buffer flags");

// KSDATAFORMAT_SUBTYPE_PCM, spelt out so that no GUID library is needed.
const GUID kPcmSubFormat = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Block sizes of "fmt " that this reader knows: PCMWAVEFORMAT, WAVEFORMATEX, WAVEFORMATEXTENSIBLE.
bool IsKnownFormatSize(uint32_t size)
{
    return size == 16 || size == 18 || size == 40;
}

bool ReadTag(SFile* stream, const char* tag)
{
    char bytes[4];
    return stream->Read(bytes, 4) == 4 && memcmp(bytes, tag, 4) == 0;
}

bool ReadU32(SFile* stream, uint32_t* value)
{
    uint8_t bytes[4];
    if (stream->Read(bytes, 4) != 4)
        return false;
    *value = (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 | (uint32_t)bytes[3] << 24;
    return true;
}

// Copies bytes from the source's position to the target's position through a
// large buffer; the bytes copied.
int CopyBytes(SFile* target, SFile* source, int bytes)
{
    const int piece = 1 << 20;
    std::vector<uint8_t> buffer((size_t)std::min(bytes, piece) + 1);
    int done = 0;
    while (done < bytes)
    {
        int want = std::min(piece, bytes - done);
        int got = source->Read(buffer.data(), want);
        if (got <= 0)
            break;
        int written = target->Write(buffer.data(), got);
        if (written > 0)
            done += written;
        if (written != got || got != want)
            break;
    }
    return done;
}

bool ReadAt(SFile* store, int offset, void* buffer, int bytes)
{
    return store->Seek(offset) == offset && store->Read(buffer, bytes) == bytes;
}

bool WriteAt(SFile* store, int offset, const void* buffer, int bytes)
{
    return store->Seek(offset) == offset && store->Write(buffer, bytes) == bytes;
}

} // namespace

LRESULT SWave::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == PlayTimer)
    {
        m_wave->OnTimer();
        return 0;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

SWave::SWave()
    : m_window(this), m_loaded(0), m_inMemory(0), m_silence(0), m_temp(new SFilePath()), m_buffer(nullptr),
      m_repeat(0), m_paused(0), m_playStart(0), m_playEnd(0), m_rangeStart(0), m_rangeLength(0),
      m_rangeChannel(-1), m_pass(0), m_passCount(1), m_progress(nullptr), m_progressUser(nullptr),
      m_level(nullptr), m_bandCallback(nullptr), m_bandUser(nullptr)
{
    memset(&m_format, 0, sizeof(m_format));
    m_window.CreateMessageWindow();
    Reset();
}

SWave::~SWave()
{
    Reset();
    SetLevelCtrl(nullptr);
    m_window.Destroy();
    delete m_temp;
}

void SWave::Reset()
{
    Stop();
    if (m_buffer)
    {
        m_buffer->Release();
        m_buffer = nullptr;
    }
    m_loaded = 0;
    m_inMemory = 0;
    m_silence = 0;
    memset(&m_format, 0, sizeof(m_format));
    m_repeat = 0;
    m_paused = 0;
    m_playStart = 0;
    m_playEnd = 0;
    m_muted.SetSize(0, false);
    m_rangeStart = 0;
    m_rangeLength = 0;
    m_rangeChannel = -1;
    m_pass = 0;
    m_passCount = 1;
    m_progress = nullptr;
    m_progressUser = nullptr;
    m_temp->Close();
    m_memory.FreeBuffer();
}

void SWave::Close()
{
    if (m_loaded)
        Reset();
}

bool SWave::Load(bool inMemory, SFile* stream, bool readData, unsigned* dataLength)
{
    Reset();
    if (!stream)
        return false;
    uint32_t riffSize = 0, formatSize = 0, dataSize = 0;
    if (!ReadTag(stream, "RIFF") || !ReadU32(stream, &riffSize) || !ReadTag(stream, "WAVE") ||
        !ReadTag(stream, "fmt ") || !ReadU32(stream, &formatSize))
        return false;
    // The format block is sized and checked before anything is sized from it.
    if (!IsKnownFormatSize(formatSize) || stream->Read(&m_format, (int)formatSize) != (int)formatSize)
    {
        memset(&m_format, 0, sizeof(m_format));
        return false;
    }
    const WAVEFORMATEX& format = m_format.Format;
    int bits = format.wBitsPerSample;
    bool valid = (bits == 8 || bits == 16 || bits == 32) && format.nChannels >= 1 &&
                 format.nChannels <= MaxChannels && format.nSamplesPerSec > 0 &&
                 format.nBlockAlign == format.nChannels * (bits / 8);
    if (formatSize == 16)
        m_format.Format.cbSize = 0;
    else if (format.cbSize > formatSize - 18)
        valid = false;
    if (!valid || !ReadTag(stream, "data") || !ReadU32(stream, &dataSize))
    {
        memset(&m_format, 0, sizeof(m_format));
        return false;
    }
    if (readData)
    {
        int remaining = stream->GetRemaining();
        if (dataSize > (uint32_t)INT_MAX || remaining < 0 || dataSize > (uint32_t)remaining)
        {
            memset(&m_format, 0, sizeof(m_format));
            return false;
        }
        // Only whole frames are kept, so every frame index stays inside the store.
        int bytes = (int)dataSize - (int)(dataSize % format.nBlockAlign);
        SFile* store = &m_memory;
        if (inMemory)
        {
            if (!m_memory.Allocate(bytes))
            {
                memset(&m_format, 0, sizeof(m_format));
                return false;
            }
            m_memory.Rewind();
        }
        else
        {
            if (!m_temp->OpenTemp())
            {
                memset(&m_format, 0, sizeof(m_format));
                return false;
            }
            store = m_temp;
        }
        if (CopyBytes(store, stream, bytes) != bytes)
        {
            m_temp->Close();
            m_memory.FreeBuffer();
            memset(&m_format, 0, sizeof(m_format));
            return false;
        }
    }
    else if (!inMemory && !m_temp->OpenTemp())
    {
        memset(&m_format, 0, sizeof(m_format));
        return false;
    }
    m_silence = bits == 8 ? 128 : 0;
    m_loaded = 1;
    m_inMemory = inMemory ? 1 : 0;
    UpdateBuffer();
    if (dataLength)
        *dataLength = dataSize;
    if (m_level)
        m_level->SetChannelCount(GetChannelCount());
    return true;
}

bool SWave::Create(int channels, int samplesPerSecond)
{
    Reset();
    if ((channels != 1 && channels != 2 && channels != 6) || samplesPerSecond <= 0)
        return false;
    WAVEFORMATEX& format = m_format.Format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = (WORD)channels;
    format.nSamplesPerSec = (DWORD)samplesPerSecond;
    format.nAvgBytesPerSec = (DWORD)(2 * channels * samplesPerSecond);
    format.nBlockAlign = (WORD)(2 * channels);
    format.wBitsPerSample = 16;
    format.cbSize = 18;
    if (channels == 6)
    {
        format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
        format.cbSize = 22;
        m_format.Samples.wValidBitsPerSample = 16;
        m_format.dwChannelMask = 0x3F;
        m_format.SubFormat = kPcmSubFormat;
    }
    if (!m_temp->OpenTemp())
    {
        memset(&m_format, 0, sizeof(m_format));
        return false;
    }
    m_silence = 0;
    m_loaded = 1;
    m_inMemory = 0;
    if (m_level)
        m_level->SetChannelCount(channels);
    return true;
}

bool SWave::IsEditable() const
{
    return m_loaded && !m_inMemory && m_temp->IsOpen();
}

int SWave::GetDataSize() const
{
    SFile* store = GetStore();
    return store && store->IsOpen() ? store->GetSize() : 0;
}

unsigned SWave::GetLength() const
{
    int align = GetBlockAlign();
    return align > 0 ? (unsigned)(GetDataSize() / align) : 0;
}

int SWave::GetAudibleChannelCount() const
{
    int count = GetChannelCount() - m_muted.GetCount();
    return count < 0 ? 0 : count;
}

SFile* SWave::GetStore() const
{
    if (m_inMemory)
        return const_cast<SFileMem*>(&m_memory);
    return m_temp;
}

SFile* SWave::RewindStore() const
{
    SFile* store = GetStore();
    if (store->IsOpen())
        store->Rewind();
    return store;
}

int64_t SWave::FrameToMs(unsigned frame) const
{
    if (!m_loaded || frame > GetLength() || GetSamplesPerSec() <= 0)
        return 0;
    return SRound::Truncate64(frame * (1000.0 / GetSamplesPerSec()));
}

int64_t SWave::DecodeSample(const uint8_t* bytes) const
{
    switch (GetBitsPerSample())
    {
    case 8: return (int64_t)bytes[0] - 128;
    case 16: return (int16_t)(uint16_t)(bytes[0] | bytes[1] << 8);
    case 32:
        return (int32_t)((uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 |
                         (uint32_t)bytes[3] << 24);
    default: return 0;
    }
}

void SWave::EncodeSample(uint8_t* bytes, int64_t value) const
{
    switch (GetBitsPerSample())
    {
    case 8:
        value += 128;
        bytes[0] = (uint8_t)(value < 0 ? 0 : value > 255 ? 255 : value);
        break;
    case 16:
    {
        int64_t clipped = value < -32768 ? -32768 : value > 32767 ? 32767 : value;
        uint16_t word = (uint16_t)(int16_t)clipped;
        bytes[0] = (uint8_t)word;
        bytes[1] = (uint8_t)(word >> 8);
        break;
    }
    case 32:
    {
        int64_t clipped = value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value;
        uint32_t word = (uint32_t)(int32_t)clipped;
        for (int i = 0; i < 4; i++)
            bytes[i] = (uint8_t)(word >> (8 * i));
        break;
    }
    default: break;
    }
}

int64_t SWave::GetSample(const void* buffer, unsigned frame, int channel) const
{
    int channels = GetChannelCount();
    int width = BytesPerSample();
    if (!m_loaded || width == 0 || channel >= channels || channel < -1)
        return 0;
    uint8_t local[MaxChannels * 4];
    const uint8_t* bytes;
    if (buffer)
        bytes = (const uint8_t*)buffer + (size_t)frame * GetBlockAlign();
    else
    {
        // A frame past the end would wrap its byte offset onto a frame of the store.
        if (frame >= GetLength() || !ReadRaw(local, (int)(frame * (unsigned)GetBlockAlign()), GetBlockAlign()))
            return 0;
        bytes = local;
    }
    if (channel >= 0)
        return DecodeSample(bytes + channel * width);
    int64_t sum = 0;
    for (int c = 0; c < channels; c++)
        sum += DecodeSample(bytes + c * width);
    return channels > 1 ? sum / channels : sum;
}

void SWave::SetSample(void* buffer, unsigned frame, int channel, int64_t value)
{
    int channels = GetChannelCount();
    int width = BytesPerSample();
    if (!m_loaded || width == 0 || channel >= channels || channel < -1)
        return;
    int align = GetBlockAlign();
    uint8_t local[MaxChannels * 4];
    uint8_t* bytes = buffer ? (uint8_t*)buffer + (size_t)frame * align : local;
    if (!buffer && frame >= GetLength())
        return;
    int offset = (int)(frame * (unsigned)align);
    if (!buffer && !ReadRaw(local, offset, align))
        return;
    for (int c = 0; c < channels; c++)
        if (channel == -1 || c == channel)
            EncodeSample(bytes + c * width, value);
    if (!buffer)
        WriteAt(GetStore(), offset, local, align);
}

double SWave::GetSampleNormalized(const void* buffer, unsigned frame, int channel) const
{
    double scale = pow(256.0, BytesPerSample());
    return (double)GetSample(buffer, frame, channel) / scale;
}

bool SWave::ReadRaw(void* buffer, int byteOffset, int bytes) const
{
    if (!m_loaded || !buffer || byteOffset < 0 || bytes < 0)
        return false;
    SFile* store = GetStore();
    return store->IsOpen() && ReadAt(store, byteOffset, buffer, bytes);
}

int SWave::ChunkSize(int64_t total, int unit)
{
    int64_t chunk = total / 100;
    if (chunk < 100)
        chunk = 100;
    if (unit > 0)
        chunk += unit - chunk % unit;
    return (int)chunk;
}

bool SWave::ReportProgress(int index)
{
    if (!m_progress)
        return true;
    int passes = m_passCount > 0 ? m_passCount : 1;
    int percent = SRound::Truncate((m_pass * 100.0 + index) / (passes * 100.0) * 100.0);
    if (percent == 99)
        percent = 100;
    if (percent > 100)
        percent = 100;
    return m_progress(percent, m_progressUser);
}

bool SWave::SetRange(unsigned start, unsigned length, int channel, SWaveProgress progress, void* user)
{
    unsigned total = GetLength();
    if (!IsEditable() || start > total || length > total - start || channel < -1 || channel >= GetChannelCount())
        return false;
    m_rangeStart = start;
    m_rangeLength = length;
    m_rangeChannel = channel;
    m_progress = progress;
    m_progressUser = user;
    m_pass = 0;
    m_passCount = 1;
    if (IsPlaying() || m_paused)
        Stop();
    return true;
}

bool SWave::Amplify(double factor)
{
    if (!IsEditable() || m_rangeLength == 0)
        return false;
    SFile* store = GetStore();
    int align = GetBlockAlign();
    int channels = GetChannelCount();
    int width = BytesPerSample();
    int first = (int)(m_rangeStart * (unsigned)align);
    int total = (int)(m_rangeLength * (unsigned)align);
    int chunk = ChunkSize(total, align);
    std::vector<uint8_t> buffer((size_t)chunk);
    int index = 0;
    for (int done = 0; done < total; done += chunk, index++)
    {
        if (!ReportProgress(index))
        {
            FillBuffer();
            return false;
        }
        int bytes = std::min(chunk, total - done);
        if (!ReadAt(store, first + done, buffer.data(), bytes))
            return false;
        int frames = bytes / align;
        for (int frame = 0; frame < frames; frame++)
        {
            uint8_t* bytesOfFrame = buffer.data() + (size_t)frame * align;
            for (int c = 0; c < channels; c++)
            {
                if (m_rangeChannel != -1 && c != m_rangeChannel)
                    continue;
                uint8_t* sample = bytesOfFrame + c * width;
                EncodeSample(sample, SRound::Truncate64((double)DecodeSample(sample) * factor));
            }
        }
        if (!WriteAt(store, first + done, buffer.data(), bytes))
            return false;
    }
    FillBuffer();
    return true;
}

bool SWave::CopyTo(SFile* stream)
{
    if (!IsEditable() || m_rangeLength == 0 || !stream)
        return false;
    SFile* store = GetStore();
    int align = GetBlockAlign();
    int width = BytesPerSample();
    int first = (int)(m_rangeStart * (unsigned)align);
    int total = (int)(m_rangeLength * (unsigned)align);
    int chunk = ChunkSize(total, align);
    std::vector<uint8_t> buffer((size_t)chunk);
    std::vector<uint8_t> mono(m_rangeChannel == -1 ? 0 : (size_t)(chunk / align * width));
    int index = 0;
    for (int done = 0; done < total; done += chunk, index++)
    {
        if (!ReportProgress(index))
            return false;
        int bytes = std::min(chunk, total - done);
        if (!ReadAt(store, first + done, buffer.data(), bytes))
            return false;
        if (m_rangeChannel == -1)
        {
            if (stream->Write(buffer.data(), bytes) != bytes)
                return false;
            continue;
        }
        int frames = bytes / align;
        for (int frame = 0; frame < frames; frame++)
            memcpy(&mono[(size_t)frame * width], &buffer[(size_t)frame * align + m_rangeChannel * width],
                   (size_t)width);
        if (stream->Write(mono.data(), frames * width) != frames * width)
            return false;
    }
    return true;
}

bool SWave::FillSilence(int offset, int bytes)
{
    SFile* store = GetStore();
    if (bytes <= 0)
        return true;
    std::vector<uint8_t> silence((size_t)std::min(bytes, 1 << 20), (uint8_t)m_silence);
    if (store->Seek(offset) != offset)
        return false;
    for (int done = 0; done < bytes;)
    {
        int piece = std::min((int)silence.size(), bytes - done);
        if (store->Write(silence.data(), piece) != piece)
            return false;
        done += piece;
    }
    return true;
}

bool SWave::Silence()
{
    if (!IsEditable() || m_rangeLength == 0)
        return false;
    SFile* store = GetStore();
    int align = GetBlockAlign();
    int first = (int)(m_rangeStart * (unsigned)align);
    int total = (int)(m_rangeLength * (unsigned)align);
    int chunk = ChunkSize(total, align);
    std::vector<uint8_t> buffer(m_rangeChannel == -1 ? 0 : (size_t)chunk);
    int index = 0;
    for (int done = 0; done < total; done += chunk, index++)
    {
        if (!ReportProgress(index))
        {
            UpdateBuffer();
            return false;
        }
        int bytes = std::min(chunk, total - done);
        if (m_rangeChannel == -1)
        {
            if (!FillSilence(first + done, bytes))
                return false;
            continue;
        }
        if (!ReadAt(store, first + done, buffer.data(), bytes))
            return false;
        for (int frame = 0; frame < bytes / align; frame++)
            SetSample(buffer.data(), (unsigned)frame, m_rangeChannel, 0);
        if (!WriteAt(store, first + done, buffer.data(), bytes))
            return false;
    }
    UpdateBuffer();
    return true;
}

// Delete without the closing buffer rebuild, so that Paste and InsertGap can chain it.
bool SWave::DeleteRange()
{
    SFile* store = GetStore();
    int align = GetBlockAlign();
    int width = BytesPerSample();
    int size = store->GetSize();
    int first = (int)(m_rangeStart * (unsigned)align);
    int cut = (int)(m_rangeLength * (unsigned)align);
    if (m_rangeChannel == -1)
    {
        int after = size - first - cut;
        int chunk = ChunkSize(after, align);
        std::vector<uint8_t> buffer((size_t)chunk);
        int index = 0;
        for (int done = 0; done < after; done += chunk, index++)
        {
            if (!ReportProgress(index))
                return false;
            int bytes = std::min(chunk, after - done);
            if (!ReadAt(store, first + cut + done, buffer.data(), bytes) ||
                !WriteAt(store, first + done, buffer.data(), bytes))
                return false;
        }
        return store->SetSize(size - cut);
    }
    // One channel: its samples move down by the range length, its tail turns silent.
    int moved = size - cut - first;
    int chunk = ChunkSize(moved > 0 ? moved : 0, align);
    std::vector<uint8_t> source((size_t)chunk), target((size_t)chunk);
    int step = 0;
    for (int done = 0; done < moved; done += chunk, step++)
    {
        if (!ReportProgress(step / 2))
            return false;
        int bytes = std::min(chunk, moved - done);
        if (!ReadAt(store, first + cut + done, source.data(), bytes) ||
            !ReadAt(store, first + done, target.data(), bytes))
            return false;
        for (int frame = 0; frame < bytes / align; frame++)
            memcpy(&target[(size_t)frame * align + m_rangeChannel * width],
                   &source[(size_t)frame * align + m_rangeChannel * width], (size_t)width);
        if (!WriteAt(store, first + done, target.data(), bytes))
            return false;
    }
    int tail = size - cut;
    int tailChunk = ChunkSize(cut, align);
    std::vector<uint8_t> frames((size_t)tailChunk);
    for (int done = 0; done < cut; done += tailChunk, step++)
    {
        if (!ReportProgress(step / 2))
            return false;
        int bytes = std::min(tailChunk, cut - done);
        if (!ReadAt(store, tail + done, frames.data(), bytes))
            return false;
        for (int frame = 0; frame < bytes / align; frame++)
            SetSample(frames.data(), (unsigned)frame, m_rangeChannel, 0);
        if (!WriteAt(store, tail + done, frames.data(), bytes))
            return false;
    }
    return true;
}

bool SWave::Delete()
{
    if (!IsEditable() || m_rangeLength == 0)
        return false;
    bool ok = DeleteRange();
    UpdateBuffer();
    return ok;
}

// Opens a gap of frames at the range start: the store grows by that many frames
// and what follows the start moves up, walked from the end backwards.
bool SWave::MoveUp(unsigned frames)
{
    SFile* store = GetStore();
    int align = GetBlockAlign();
    int width = BytesPerSample();
    int size = store->GetSize();
    int64_t grow = (int64_t)frames * align;
    if (grow > INT_MAX - (int64_t)size)
        return false;
    int first = (int)(m_rangeStart * (unsigned)align);
    int gap = (int)grow;
    if (!FillSilence(size, gap))
        return false;
    int moved = size - first;
    int chunk = ChunkSize(moved, align);
    std::vector<uint8_t> source((size_t)chunk), target(m_rangeChannel == -1 ? 0 : (size_t)chunk);
    int index = 0;
    for (int end = size; end > first; index++)
    {
        if (!ReportProgress(index))
            return false;
        int begin = std::max(first, end - chunk);
        int bytes = end - begin;
        if (!ReadAt(store, begin, source.data(), bytes))
            return false;
        if (m_rangeChannel == -1)
        {
            if (!WriteAt(store, begin + gap, source.data(), bytes))
                return false;
        }
        else
        {
            if (!ReadAt(store, begin + gap, target.data(), bytes))
                return false;
            for (int frame = 0; frame < bytes / align; frame++)
                memcpy(&target[(size_t)frame * align + m_rangeChannel * width],
                       &source[(size_t)frame * align + m_rangeChannel * width], (size_t)width);
            if (!WriteAt(store, begin + gap, target.data(), bytes))
                return false;
        }
        end = begin;
    }
    if (m_rangeChannel == -1)
        return FillSilence(first, gap);
    int gapChunk = ChunkSize(gap, align);
    std::vector<uint8_t> frameBytes((size_t)gapChunk);
    for (int done = 0; done < gap; done += gapChunk)
    {
        int bytes = std::min(gapChunk, gap - done);
        if (!ReadAt(store, first + done, frameBytes.data(), bytes))
            return false;
        for (int frame = 0; frame < bytes / align; frame++)
            SetSample(frameBytes.data(), (unsigned)frame, m_rangeChannel, 0);
        if (!WriteAt(store, first + done, frameBytes.data(), bytes))
            return false;
    }
    return true;
}

bool SWave::InsertGap(unsigned frames)
{
    if (!IsEditable() || frames == 0)
        return false;
    if (m_rangeLength != 0)
    {
        if (!Delete())
            return false;
    }
    bool ok = MoveUp(frames);
    UpdateBuffer();
    return ok;
}

bool SWave::Paste(SFile* stream)
{
    if (!IsEditable() || !stream)
        return false;
    m_passCount = m_rangeLength != 0 ? 3 : 2;
    if (m_rangeLength != 0)
    {
        if (!DeleteRange())
        {
            UpdateBuffer();
            return false;
        }
        m_pass++;
        m_rangeLength = 0;
    }
    int align = GetBlockAlign();
    int width = BytesPerSample();
    int streamBytes = stream->GetSize();
    // Only whole frames (or whole samples of the one channel) are pasted.
    unsigned gap = (unsigned)(streamBytes / (m_rangeChannel == -1 ? align : width));
    if (gap == 0 || !MoveUp(gap))
    {
        UpdateBuffer();
        return false;
    }
    m_pass++;
    SFile* store = GetStore();
    int first = (int)(m_rangeStart * (unsigned)align);
    int total = m_rangeChannel == -1 ? (int)(gap * (unsigned)align) : (int)(gap * (unsigned)width);
    int chunk = ChunkSize(total, m_rangeChannel == -1 ? align : width);
    std::vector<uint8_t> buffer((size_t)chunk);
    std::vector<uint8_t> frames(m_rangeChannel == -1 ? 0 : (size_t)(chunk / width) * align);
    if (stream->Seek(0) != 0)
    {
        UpdateBuffer();
        return false;
    }
    int index = 0;
    bool ok = true;
    for (int done = 0; done < total && ok; done += chunk, index++)
    {
        if (!ReportProgress(index))
        {
            ok = false;
            break;
        }
        int bytes = std::min(chunk, total - done);
        if (stream->Read(buffer.data(), bytes) != bytes)
        {
            ok = false;
            break;
        }
        if (m_rangeChannel == -1)
        {
            ok = WriteAt(store, first + done, buffer.data(), bytes);
            continue;
        }
        int count = bytes / width;
        int offset = first + done / width * align;
        ok = ReadAt(store, offset, frames.data(), count * align);
        for (int sample = 0; ok && sample < count; sample++)
            memcpy(&frames[(size_t)sample * align + m_rangeChannel * width], &buffer[(size_t)sample * width],
                   (size_t)width);
        ok = ok && WriteAt(store, offset, frames.data(), count * align);
    }
    UpdateBuffer();
    return ok;
}

bool SWave::Cut(SFile* stream)
{
    if (!IsEditable() || m_rangeLength == 0 || !stream)
        return false;
    m_passCount = 2;
    if (!CopyTo(stream))
    {
        UpdateBuffer();
        return false;
    }
    m_pass++;
    return Delete();
}

bool SWave::Touch()
{
    if (!IsEditable())
        return false;
    int align = GetBlockAlign();
    int total = (int)(m_rangeLength * (unsigned)align);
    int chunk = ChunkSize(total, align);
    int index = 0;
    for (int done = 0; done < total; done += chunk, index++)
    {
        if (!ReportProgress(index))
        {
            UpdateBuffer();
            return false;
        }
    }
    UpdateBuffer();
    return true;
}

bool SWave::SetMutedChannels(const SArray<int>* list, bool listIsAudible)
{
    std::vector<int> muted;
    int channels = GetChannelCount();
    if (listIsAudible)
    {
        for (int c = 0; c < channels; c++)
        {
            bool audible = false;
            for (int i = 0; list && i < list->GetCount(); i++)
                audible = audible || list->GetAt(i) == c;
            if (!audible)
                muted.push_back(c);
        }
    }
    else
        for (int i = 0; list && i < list->GetCount(); i++)
            muted.push_back(list->GetAt(i));
    std::sort(muted.begin(), muted.end());
    m_muted.SetSize(0, false);
    for (int channel : muted)
        m_muted.Add(channel);
    return UpdateBuffer();
}

bool SWave::CreateBuffer()
{
    if (m_buffer)
    {
        m_buffer->Release();
        m_buffer = nullptr;
    }
    IDirectSound8* device = GetDirectSound();
    if (!m_loaded || GetDataSize() <= 0 || GetAudibleChannelCount() <= 0 || !device)
        return false;
    DSBUFFERDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwFlags = kBufferFlags;
    description.dwBufferBytes = (DWORD)GetDataSize();
    description.lpwfxFormat = &m_format.Format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr)) || !buffer)
        return false;
    m_buffer = buffer;
    return true;
}

bool SWave::FillBuffer()
{
    if (!m_buffer)
        return false;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    HRESULT result = m_buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER);
    if (result == DSERR_BUFFERLOST)
    {
        m_buffer->Restore();
        result = m_buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER);
    }
    if (FAILED(result) || !first)
    {
        m_buffer->Restore();
        return false;
    }
    SFile* store = GetStore();
    int align = GetBlockAlign();
    int size = std::min(GetDataSize(), (int)firstBytes);
    int chunk = align * 10000;
    uint8_t* target = (uint8_t*)first;
    bool ok = store->Seek(0) == 0;
    for (int done = 0; ok && done < size; done += chunk)
    {
        int bytes = std::min(chunk, size - done);
        ok = store->Read(target + done, bytes) == bytes;
        for (int i = 0; ok && i < m_muted.GetCount(); i++)
            for (int frame = 0; frame < bytes / align; frame++)
                SetSample(target + done, (unsigned)frame, m_muted.GetAt(i), 0);
    }
    return SUCCEEDED(m_buffer->Unlock(first, firstBytes, second, secondBytes)) && ok;
}

bool SWave::UpdateBuffer()
{
    return CreateBuffer() && FillBuffer();
}

bool SWave::Play(unsigned from, unsigned to)
{
    if (!m_buffer)
        return false;
    Stop();
    unsigned length = GetLength();
    if ((to != 0 && to <= from) || from >= length)
        return false;
    Stop();
    SetPosition(from);
    m_playStart = from;
    m_playEnd = to != 0 ? std::min(to, length) : length;
    DWORD flags = m_repeat ? DSBPLAY_LOOPING : 0;
    HRESULT result = m_buffer->Play(0, 0, flags);
    if (result == DSERR_BUFFERLOST)
    {
        if (!FillBuffer())
            return false;
        SetPosition(from);
        result = m_buffer->Play(0, 0, flags);
    }
    if (FAILED(result))
        return false;
    m_window.SetTimer(PlayTimer, PlayTimerPeriod);
    return true;
}

void SWave::ZeroMeter()
{
    if (m_level)
        m_level->SetValue(0, -1, true);
}

void SWave::Stop()
{
    m_paused = 0;
    if (m_window.GetHandle())
        m_window.KillTimer(PlayTimer);
    if (m_buffer)
    {
        m_buffer->Stop();
        m_buffer->SetCurrentPosition(0);
        ZeroMeter();
    }
}

bool SWave::Pause()
{
    if (!m_buffer)
        return false;
    if (m_paused)
    {
        unsigned position = GetPosition();
        unsigned end = m_playEnd;
        bool repeat = m_repeat != 0;
        unsigned start = m_playStart;
        if (position >= end || !Play(position, end))
        {
            Stop();
            return false;
        }
        // Play moved the start of the range to the resume point; a repeat goes back to the real start.
        m_playStart = repeat ? start : m_playStart;
        return true;
    }
    if (!IsPlaying())
        return false;
    DWORD cursor = 0;
    m_buffer->GetCurrentPosition(&cursor, nullptr);
    m_buffer->Stop();
    m_buffer->SetCurrentPosition(cursor);
    m_window.KillTimer(PlayTimer);
    m_paused = 1;
    ZeroMeter();
    return true;
}

unsigned SWave::GetPosition() const
{
    DWORD cursor = 0;
    int align = GetBlockAlign();
    if (!m_buffer || align <= 0 || FAILED(m_buffer->GetCurrentPosition(&cursor, nullptr)))
        return 0;
    return (unsigned)(cursor / (DWORD)align);
}

void SWave::SetPosition(unsigned frame)
{
    if (m_buffer)
        m_buffer->SetCurrentPosition((DWORD)(frame * (unsigned)GetBlockAlign()));
}

unsigned SWave::GetFrequency() const
{
    DWORD hertz = 0;
    if (!m_buffer || FAILED(m_buffer->GetFrequency(&hertz)))
        return 0;
    return (unsigned)hertz;
}

void SWave::SetFrequency(unsigned hertz)
{
    if (m_buffer)
        m_buffer->SetFrequency((DWORD)hertz);
}

bool SWave::IsPlaying() const
{
    DWORD status = 0;
    return m_buffer && SUCCEEDED(m_buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0;
}

void SWave::SetLevelCtrl(SLevelCtrl* level)
{
    // The meter keeps a list of the waves that point at it, so that whichever goes first
    // undoes the link.
    if (m_level && m_level != level)
        m_level->DetachWave(this);
    m_level = level;
    if (m_level)
    {
        m_level->AttachWave(this);
        m_level->SetChannelCount(std::max(1, GetChannelCount()));
    }
}

void SWave::SetBandCallback(SWaveBandCallback callback, void* user)
{
    m_bandCallback = callback;
    m_bandUser = user;
}

void SWave::OnTimer()
{
    if (m_playEnd < GetLength() && IsPlaying() && GetPosition() >= m_playEnd)
    {
        if (m_repeat)
            SetPosition(m_playStart);
        else
        {
            OnStopped();
            Stop();
            ZeroMeter();
        }
    }
    if (IsPlaying())
    {
        if (m_level)
            FeedLevel();
        if (m_bandCallback)
            FeedBands();
        OnProgress();
    }
    else
    {
        OnStopped();
        ZeroMeter();
    }
}

bool SWave::FeedWindow(unsigned* first, unsigned* end) const
{
    int rate = GetSamplesPerSec();
    if (rate <= 0)
        return false;
    unsigned frequency = GetFrequency();
    unsigned width = (unsigned)(((uint64_t)frequency * (unsigned)(rate / 200)) / (unsigned)rate);
    unsigned position = GetPosition();
    *first = position >= width / 2 ? position - width / 2 : 0;
    uint64_t last = (uint64_t)position + width;
    *end = (unsigned)std::min<uint64_t>(last, GetLength());
    return *end > *first;
}

void SWave::FeedLevel()
{
    if (!m_level)
        return;
    int channels = GetChannelCount();
    unsigned first = 0, end = 0;
    std::vector<double> peaks((size_t)std::max(channels, 1), 0.0);
    if (FeedWindow(&first, &end))
    {
        int align = GetBlockAlign();
        std::vector<uint8_t> frames((size_t)(end - first) * align);
        if (ReadRaw(frames.data(), (int)(first * (unsigned)align), (int)frames.size()))
        {
            for (int c = 0; c < channels; c++)
            {
                bool muted = false;
                for (int i = 0; i < m_muted.GetCount(); i++)
                    muted = muted || m_muted.GetAt(i) == c;
                if (muted)
                    continue;
                for (unsigned frame = 0; frame < end - first; frame++)
                    peaks[(size_t)c] = std::max(peaks[(size_t)c], fabs(2 * GetSampleNormalized(frames.data(), frame, c)));
            }
        }
    }
    int minimum = m_level->GetMinimum(), maximum = m_level->GetMaximum();
    for (int c = 0; c < channels; c++)
        m_level->SetValue(minimum + SRound::Truncate((maximum - minimum) * peaks[(size_t)c]), c, false);
}

void SWave::FeedBands()
{
    if (!m_bandCallback)
        return;
    unsigned char peaks[BandChannels] = {};
    unsigned char bands[BandChannels * BandCount] = {};
    int channels = std::min(GetChannelCount(), (int)BandChannels);
    unsigned first = 0, end = 0;
    int rate = GetSamplesPerSec();
    if (FeedWindow(&first, &end))
    {
        int align = GetBlockAlign();
        std::vector<uint8_t> frames((size_t)(end - first) * align);
        if (ReadRaw(frames.data(), (int)(first * (unsigned)align), (int)frames.size()))
        {
            for (int c = 0; c < channels; c++)
            {
                double peak = 0;
                int runPeak = 0, runLength = 0;
                bool wasNegative = false, firstCrossing = true;
                for (unsigned frame = 0; frame < end - first; frame++)
                {
                    double s = GetSampleNormalized(frames.data(), frame, c);
                    double v = fabs(2 * s);
                    int level = (unsigned char)SRound::Truncate(v * 255);
                    if (s >= 0 && wasNegative)
                    {
                        if (firstCrossing)
                            firstCrossing = false;
                        else if (runLength > 0)
                        {
                            int band = rate / runLength / 100;
                            if (band >= 0 && band < BandCount)
                            {
                                unsigned char& slot = bands[c * BandCount + band];
                                slot = (unsigned char)std::max((int)slot, runPeak);
                            }
                        }
                        runPeak = level;
                        runLength = 1;
                        wasNegative = false;
                    }
                    else
                    {
                        if (s < 0)
                            wasNegative = true;
                        runPeak = std::max(runPeak, level);
                        runLength++;
                    }
                    peak = std::max(peak, v);
                }
                peaks[c] = (unsigned char)SRound::Truncate(peak * 255);
            }
        }
    }
    // The rows above hold at most BandChannels channels; a wider wave reports only those.
    m_bandCallback(channels, peaks, bands, m_bandUser);
}
