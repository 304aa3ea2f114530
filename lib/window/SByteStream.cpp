#include "SByteStream.h"

#include <new>
#include <string.h>

SByteStream* SByteStream::Create(std::vector<uint8_t> bytes)
{
    SByteStream* stream = new (std::nothrow) SByteStream();
    if (stream)
        stream->m_bytes.swap(bytes);
    return stream;
}

HRESULT SByteStream::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SByteStream::AddRef()
{
    return (ULONG)InterlockedIncrement(&m_references);
}

ULONG SByteStream::Release()
{
    LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return (ULONG)left;
}

HRESULT SByteStream::Read(void* buffer, ULONG count, ULONG* read)
{
    if (read)
        *read = 0;
    if (!buffer && count)
        return STG_E_INVALIDPOINTER;
    uint64_t size = m_bytes.size();
    uint64_t available = m_position < size ? size - m_position : 0;
    ULONG copied = available < count ? (ULONG)available : count;
    if (copied) {
        memcpy(buffer, m_bytes.data() + m_position, copied);
        m_position += copied;
    }
    if (read)
        *read = copied;
    return copied == count ? S_OK : S_FALSE;
}

HRESULT SByteStream::Write(const void*, ULONG, ULONG* written)
{
    if (written)
        *written = 0;
    return STG_E_ACCESSDENIED;
}

HRESULT SByteStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position)
{
    int64_t base;
    switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = (int64_t)m_position; break;
    case STREAM_SEEK_END: base = (int64_t)m_bytes.size(); break;
    default: return STG_E_INVALIDFUNCTION;
    }
    // Checked in 64 bits: a hostile offset can neither wrap nor go below 0.
    int64_t offset = move.QuadPart;
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0)
        return STG_E_INVALIDFUNCTION;
    m_position = (uint64_t)(base + offset);
    if (position)
        position->QuadPart = m_position;
    return S_OK;
}

HRESULT SByteStream::SetSize(ULARGE_INTEGER)
{
    return STG_E_ACCESSDENIED;
}

HRESULT SByteStream::CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written)
{
    if (read)
        read->QuadPart = 0;
    if (written)
        written->QuadPart = 0;
    if (!target)
        return STG_E_INVALIDPOINTER;
    uint64_t size = m_bytes.size();
    uint64_t available = m_position < size ? size - m_position : 0;
    uint64_t copy = available < count.QuadPart ? available : count.QuadPart;
    uint64_t done = 0;
    HRESULT result = S_OK;
    while (done < copy) {
        ULONG chunk = copy - done > 0x10000000u ? 0x10000000u : (ULONG)(copy - done);
        ULONG wrote = 0;
        result = target->Write(m_bytes.data() + m_position + done, chunk, &wrote);
        done += wrote;
        if (FAILED(result) || wrote != chunk)
            break;
    }
    m_position += copy;
    if (read)
        read->QuadPart = copy;
    if (written)
        written->QuadPart = done;
    return FAILED(result) ? result : S_OK;
}

HRESULT SByteStream::Commit(DWORD)
{
    return S_OK;
}

HRESULT SByteStream::Revert()
{
    return S_OK;
}

HRESULT SByteStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT SByteStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT SByteStream::Stat(STATSTG* stat, DWORD)
{
    if (!stat)
        return STG_E_INVALIDPOINTER;
    memset(stat, 0, sizeof(*stat));
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = m_bytes.size();
    stat->grfMode = STGM_READ;
    return S_OK;
}

HRESULT SByteStream::Clone(IStream** clone)
{
    if (!clone)
        return STG_E_INVALIDPOINTER;
    SByteStream* copy = Create(m_bytes);
    if (!copy) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    copy->m_position = m_position;
    *clone = copy;
    return S_OK;
}
