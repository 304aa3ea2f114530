#pragma once
// A read-only COM stream over a private copy of some bytes, for the picture
// decoders: every seek is checked and every read is bounded by the bytes that
// are really there. Wine's stream over an HGLOBAL lets a decoder seek past its
// end and then copies from beyond the buffer on the next read; damaged pictures
// from users' folders and downloads must give a clear failure instead.
#include <windows.h>
#include <objidl.h>
#include <stdint.h>

#include <vector>

class SByteStream : public IStream
{
public:
    // A new stream (reference count 1) that takes over the bytes; null when out of memory.
    static SByteStream* Create(std::vector<uint8_t> bytes);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // ISequentialStream
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;
    // IStream
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

private:
    SByteStream() = default;
    virtual ~SByteStream() = default;

    volatile LONG m_references = 1;
    std::vector<uint8_t> m_bytes;
    // May lie past the end after a seek; reads there give nothing.
    uint64_t m_position = 0;
};
