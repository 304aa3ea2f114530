#pragma once

#include <stdint.h>
#include <string>
#include <vector>
#include <windows.h>

// Reads a list of files front to back on a worker thread that keeps a few megabytes
// ahead of the one taking them. Opening, sizing and closing a file are system calls
// that cost far more under Wine than its bytes; read ahead, they overlap with the work
// done on the file before. The files are taken strictly in list order, each once.
class SFileReadAhead
{
public:
    // What Take finds for a file.
    enum Result
    {
        Ready,      // its bytes are held
        Unreadable, // it could not be opened or read whole
        TooLarge,   // it is above the limit: the taker reads it itself
    };

    // Holds at most capacity bytes read ahead; files above limit bytes (at most half the
    // capacity) are left to the taker.
    SFileReadAhead(int capacity, int limit);
    // Stops the worker, waits for it and frees what it read.
    ~SFileReadAhead();

    SFileReadAhead(const SFileReadAhead&) = delete;
    SFileReadAhead& operator=(const SFileReadAhead&) = delete;

    // Starts reading the files; when no worker can be started, Take reads each file itself.
    void Start(const std::vector<std::string>& paths);
    // Waits for file index, the one after the last taken, and reports it; Ready sets
    // *data and *size to its bytes, which stay valid until the next Take. Taking a file
    // frees the one taken before for the worker.
    Result Take(int index, const uint8_t** data, int* size);

private:
    struct _SItem
    {
        Result result;
        int offset;
        int size;
        // Bytes of the ring the file holds: its size and the unused end of the ring skipped before it.
        int span;
    };

    // The worker: reads every file in turn until the list ends or it is stopped.
    static DWORD WINAPI Work(LPVOID self);
    // Reads file index into the ring, waiting for room; false when stopped meanwhile.
    bool ReadNext(int index, bool wait);
    // Gives the room of the file taken before back to the worker.
    void Release();

    std::vector<std::string> m_paths;
    std::vector<_SItem> m_items;
    uint8_t* m_ring;
    int m_capacity;
    int m_limit;
    // Where the next file's bytes go, and the bytes of the ring held by files read and not yet released.
    int m_writeAt;
    int m_held;
    // Files the worker has finished, the file last taken (-1 before the first) and whether it is released.
    int m_finished;
    int m_taken;
    bool m_stop;
    HANDLE m_thread;
    CRITICAL_SECTION m_lock;
    CONDITION_VARIABLE m_changed;
};
