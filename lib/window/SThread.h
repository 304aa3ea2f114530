#pragma once

#include <windows.h>
#include <atomic>

#include "SWnd.h"
#include "SValue.h"

// A worker thread whose results come back to the thread that constructed the
// object, as window messages, so the owner's code never needs a lock.
// Derived classes override Run (worker side) and OnNotify (owner side).
class SThread
{
public:
    // Values that may be in flight from the worker to the owner at one time.
    static constexpr int kMaxPending = 32;

    // Must run on the thread that will receive the results: it creates the owner window there.
    SThread();
    // Asks a running worker to stop and waits for it; terminates it only when it does not end.
    // Derived classes whose work uses their own members call Stop in their own destructor.
    virtual ~SThread();
    SThread(const SThread&) = delete;
    SThread& operator=(const SThread&) = delete;

    // Worker side, first call of the worker.
    virtual void OnBegin();
    // Worker side, last call of the worker.
    virtual void OnEnd();
    // The work, on the worker thread; true makes the worker run its own message loop afterwards.
    virtual bool Run();
    // Owner side: a value the worker posted.
    virtual void OnNotify(int id, const SValue& value);
    // Worker side, during the worker loop: a value posted with PostToWorker.
    virtual void OnMessage(int id, const SValue& value);
    // Worker side, after Run and the loop, while values can still be posted.
    virtual void OnFinish();

    // Starts the worker; with wait, returns once it has ended. False when refused or failed.
    bool Start(bool wait);
    // Worker side: posts a copy of the value to the owner; false when it cannot be delivered.
    bool PostValue(int id, const SValue* value);
    // Worker side: posts an integer value (type 0) to the owner.
    bool PostInt(int id, int value);
    // Owner side: posts a copy of the value to the worker loop; false when it cannot be delivered.
    bool PostToWorker(int id, const SValue* value);
    // Asks the worker to stop (ends its loop) and waits up to timeout ms; true when it has ended.
    bool Stop(DWORD timeout);
    // Worker side: Run should return soon when this is true.
    bool IsStopRequested() const { return m_stopRequested.load() != 0; }
    // A worker is running.
    bool IsRunning() const { return m_running.load(); }
    // A worker handle is held (the end message has not yet been handled).
    bool HasThread() const { return m_threadHandle != nullptr; }
    // The worker ended before its work because it found no room in the window table.
    bool HasFailed() const { return m_failed.load(); }
    // Number of values in flight.
    int GetPendingCount() const;

    // Hidden message-only window of either side; its owner object is the SThread.
    class _SWnd : public SWnd
    {
    public:
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    };

private:
    static DWORD WINAPI ThreadRoutine(void* parameter);
    void Work();
    void SignalEnd();
    // Puts a copy of the value into the first free slot; -1 when all are taken.
    int ClaimSlot(const SValue* value);
    // Frees the slot holding the value; false when no slot holds it.
    bool ReleaseSlot(SValue* value, int id, bool notify, bool forWorker);
    void HandleEnd(DWORD threadId);
    void FreeAllSlots();

    DWORD m_ownerThreadId;
    _SWnd m_ownerWindow;
    HANDLE m_threadHandle;
    DWORD m_threadId;
    bool m_waited;
    std::atomic<bool> m_startedAsync;
    std::atomic<bool> m_running;
    std::atomic<_SWnd*> m_workerWindow;
    std::atomic<bool> m_workerWindowAlive;
    std::atomic<bool> m_inWorkerLoop;
    std::atomic<int> m_stopRequested;
    std::atomic<bool> m_failed;
    std::atomic<SValue*> m_pending[kMaxPending];
};
