#include "SFileReadAhead.h"

#include <new>

SFileReadAhead::SFileReadAhead(int capacity, int limit)
    : m_ring(nullptr), m_capacity(capacity > 0 ? capacity : 0), m_limit(limit), m_writeAt(0), m_held(0),
      m_finished(0), m_taken(-1), m_stop(false), m_thread(nullptr)
{
    // Two files at the limit always fit, so the worker can read one while the other is worked on.
    if (m_limit > m_capacity / 2)
        m_limit = m_capacity / 2;
    InitializeCriticalSection(&m_lock);
    InitializeConditionVariable(&m_changed);
}

SFileReadAhead::~SFileReadAhead()
{
    EnterCriticalSection(&m_lock);
    m_stop = true;
    WakeAllConditionVariable(&m_changed);
    LeaveCriticalSection(&m_lock);
    if (m_thread != nullptr)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    DeleteCriticalSection(&m_lock);
    delete[] m_ring;
}

void SFileReadAhead::Start(const std::vector<std::string>& paths)
{
    if (m_thread != nullptr || !m_paths.empty())
        return;
    m_paths = paths;
    m_items.assign(m_paths.size(), _SItem{Unreadable, 0, 0, 0});
    if (m_capacity > 0)
        m_ring = new (std::nothrow) uint8_t[(size_t)m_capacity];
    // Without a ring every file is left to the taker.
    if (m_ring == nullptr)
        m_limit = -1;
    if (!m_paths.empty())
        m_thread = CreateThread(nullptr, 0, Work, this, 0, nullptr);
}

DWORD WINAPI SFileReadAhead::Work(LPVOID self)
{
    SFileReadAhead* reader = static_cast<SFileReadAhead*>(self);
    for (int index = 0; index < (int)reader->m_paths.size(); index++)
    {
        if (!reader->ReadNext(index, true))
            break;
    }
    return 0;
}

bool SFileReadAhead::ReadNext(int index, bool wait)
{
    EnterCriticalSection(&m_lock);
    bool stopped = m_stop;
    LeaveCriticalSection(&m_lock);
    if (stopped)
        return false;
    _SItem item = {Unreadable, 0, 0, 0};
    HANDLE file = CreateFileA(m_paths[index].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER length;
    if (file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &length))
    {
        item.result = TooLarge;
        if (length.QuadPart <= m_limit)
        {
            int bytes = (int)length.QuadPart;
            // Room in the ring: after the last file, or from its start when the end is too short.
            EnterCriticalSection(&m_lock);
            bool room = false;
            while (!m_stop)
            {
                item.offset = m_writeAt;
                item.span = bytes;
                if (m_writeAt + bytes > m_capacity)
                {
                    item.offset = 0;
                    item.span += m_capacity - m_writeAt;
                }
                room = m_held + item.span <= m_capacity;
                if (room || !wait)
                    break;
                SleepConditionVariableCS(&m_changed, &m_lock, INFINITE);
            }
            if (room)
            {
                m_held += item.span;
                m_writeAt = item.offset + bytes;
            }
            else
            {
                item.span = 0;
            }
            stopped = m_stop;
            LeaveCriticalSection(&m_lock);
            if (room)
            {
                DWORD got = 0;
                bool whole = bytes == 0 || (ReadFile(file, m_ring + item.offset, (DWORD)bytes, &got, nullptr) &&
                                            got == (DWORD)bytes);
                item.result = whole ? Ready : Unreadable;
                item.size = bytes;
            }
        }
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    EnterCriticalSection(&m_lock);
    m_items[index] = item;
    m_finished = index + 1;
    WakeAllConditionVariable(&m_changed);
    LeaveCriticalSection(&m_lock);
    return !stopped;
}

void SFileReadAhead::Release()
{
    if (m_taken < 0 || m_items[m_taken].span == 0)
        return;
    EnterCriticalSection(&m_lock);
    m_held -= m_items[m_taken].span;
    m_items[m_taken].span = 0;
    // An empty ring is filled from its start again.
    if (m_held == 0)
        m_writeAt = 0;
    WakeAllConditionVariable(&m_changed);
    LeaveCriticalSection(&m_lock);
}

SFileReadAhead::Result SFileReadAhead::Take(int index, const uint8_t** data, int* size)
{
    if (data != nullptr)
        *data = nullptr;
    if (size != nullptr)
        *size = 0;
    if (index < 0 || index >= (int)m_items.size() || index != m_taken + 1)
        return Unreadable;
    Release();
    m_taken = index;
    EnterCriticalSection(&m_lock);
    while (m_thread != nullptr && m_finished <= index && !m_stop)
        SleepConditionVariableCS(&m_changed, &m_lock, INFINITE);
    bool finished = m_finished > index;
    LeaveCriticalSection(&m_lock);
    // Without a worker (or should it have stopped early) the file is read here.
    if (!finished)
        ReadNext(index, false);
    const _SItem& item = m_items[index];
    if (item.result == Ready)
    {
        if (data != nullptr)
            *data = m_ring + item.offset;
        if (size != nullptr)
            *size = item.size;
    }
    return item.result;
}
