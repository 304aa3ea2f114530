#include "SThread.h"

#include "SLibrary.h"

namespace
{

const UINT WM_S_THREAD_VALUE = WM_S_THREAD_FIRST;      // owner window: wParam id, lParam SValue*
const UINT WM_S_THREAD_MESSAGE = WM_S_THREAD_FIRST + 1; // worker window: wParam id, lParam SValue*
const UINT WM_S_THREAD_END = WM_S_THREAD_FIRST + 2;     // owner window: wParam worker thread id

// How long the destructor lets a worker end on its own before it is terminated.
const DWORD kStopTimeout = 5000;

}

SThread::SThread()
    : m_ownerThreadId(0), m_threadHandle(nullptr), m_threadId(0), m_waited(false), m_startedAsync(false),
      m_running(false), m_workerWindow(nullptr), m_workerWindowAlive(false), m_inWorkerLoop(false),
      m_stopRequested(0), m_failed(false)
{
    for (int i = 0; i < kMaxPending; i++)
        m_pending[i] = nullptr;
    m_ownerWindow.SetOwnerObject(this);
    m_ownerWindow.CreateMessageWindow((LPARAM)this);
}

SThread::~SThread()
{
    if (m_threadHandle && !Stop(kStopTimeout))
    {
        TerminateThread(m_threadHandle, 0);
        CloseHandle(m_threadHandle);
        m_threadHandle = nullptr;
        // A killed worker never released its place in the window table.
        if (m_threadId)
            UnregisterThread(m_threadId);
        m_threadId = 0;
    }
    m_running = false;
    m_workerWindow = nullptr;
    FreeAllSlots();
    m_ownerWindow.Destroy();
}

void SThread::OnBegin() {}
void SThread::OnEnd() {}
bool SThread::Run() { return true; }
void SThread::OnNotify(int, const SValue&) {}
void SThread::OnMessage(int, const SValue&) {}
void SThread::OnFinish() {}

bool SThread::Start(bool wait)
{
    if (m_threadHandle || m_running)
        return false;
    // Values still in the slots belong to messages that may still be queued: the
    // owner window frees them when it handles those messages.
    m_threadId = 0;
    m_waited = wait;
    m_startedAsync = !wait;
    m_workerWindowAlive = false;
    m_inWorkerLoop = false;
    m_stopRequested = 0;
    m_failed = false;
    m_ownerThreadId = GetCurrentThreadId();
    m_running = true;
    DWORD threadId = 0;
    m_threadHandle = CreateThread(nullptr, 0, ThreadRoutine, this, 0, &threadId);
    if (!m_threadHandle)
    {
        m_threadId = 0;
        m_ownerThreadId = 0;
        m_startedAsync = false;
        m_running = false;
        return false;
    }
    m_threadId = threadId;
    if (!wait)
        return true;
    // The owner's messages stay queued meanwhile; only the end of the thread matters. A
    // wait that also woke for posted messages would spin once the worker's values are queued.
    if (WaitForSingleObject(m_threadHandle, INFINITE) != WAIT_OBJECT_0)
        return false;
    CloseHandle(m_threadHandle);
    m_threadHandle = nullptr;
    m_threadId = 0;
    return !m_failed;
}

bool SThread::Stop(DWORD timeout)
{
    if (!m_threadHandle)
        return true;
    m_stopRequested = 1;
    // Ends the worker loop; before the worker has a queue the flag alone skips the loop.
    PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(m_threadHandle, timeout) != WAIT_OBJECT_0)
        return false;
    CloseHandle(m_threadHandle);
    m_threadHandle = nullptr;
    m_threadId = 0;
    return true;
}

int SThread::ClaimSlot(const SValue* value)
{
    SValue* copy = new SValue;
    copy->CopyValue(*value);
    for (int i = 0; i < kMaxPending; i++)
    {
        SValue* expected = nullptr;
        if (m_pending[i].compare_exchange_strong(expected, copy))
            return i;
    }
    delete copy;
    return -1;
}

bool SThread::ReleaseSlot(SValue* value, int id, bool notify, bool forWorker)
{
    if (!value)
        return false;
    for (int i = 0; i < kMaxPending; i++)
    {
        if (m_pending[i].load() != value)
            continue;
        if (notify)
        {
            if (forWorker)
                OnMessage(id, *value);
            else
                OnNotify(id, *value);
        }
        m_pending[i] = nullptr;
        delete value;
        return true;
    }
    return false;
}

void SThread::FreeAllSlots()
{
    for (int i = 0; i < kMaxPending; i++)
        delete m_pending[i].exchange(nullptr);
}

int SThread::GetPendingCount() const
{
    int count = 0;
    for (int i = 0; i < kMaxPending; i++)
        if (m_pending[i].load())
            count++;
    return count;
}

bool SThread::PostValue(int id, const SValue* value)
{
    _SWnd* window = m_workerWindow.load();
    if (!window || !m_workerWindowAlive || !value || !m_ownerWindow.GetHandle())
        return false;
    int slot = ClaimSlot(value);
    if (slot < 0)
        return false;
    SValue* copy = m_pending[slot].load();
    if (!PostMessageA(m_ownerWindow.GetHandle(), WM_S_THREAD_VALUE, (WPARAM)id, (LPARAM)copy))
    {
        m_pending[slot] = nullptr;
        delete copy;
        return false;
    }
    return true;
}

bool SThread::PostInt(int id, int value)
{
    SValue temporary;
    temporary.SetInteger((int64_t)value);
    return PostValue(id, &temporary);
}

bool SThread::PostToWorker(int id, const SValue* value)
{
    _SWnd* window = m_workerWindow.load();
    if (!window || !m_workerWindowAlive || !value)
        return false;
    HWND handle = window->GetHandle();
    int slot = handle ? ClaimSlot(value) : -1;
    if (slot < 0)
        return false;
    SValue* copy = m_pending[slot].load();
    if (!PostMessageA(handle, WM_S_THREAD_MESSAGE, (WPARAM)id, (LPARAM)copy))
    {
        m_pending[slot] = nullptr;
        delete copy;
        return false;
    }
    return true;
}

DWORD WINAPI SThread::ThreadRoutine(void* parameter)
{
    static_cast<SThread*>(parameter)->Work();
    return 0;
}

void SThread::Work()
{
    if (!RegisterThread())
    {
        // No room in the window table: end at once, but tell the owner.
        m_failed = true;
        SignalEnd();
        return;
    }
    OnBegin();
    {
        _SWnd window;
        window.SetOwnerObject(this);
        if (window.CreateMessageWindow((LPARAM)this))
        {
            m_workerWindow = &window;
            m_workerWindowAlive = true;
        }
        bool result = Run();
        m_startedAsync = false;
        // A waited start blocks the owner, which could never end a worker loop.
        if (result && !m_stopRequested && !m_waited && window.GetHandle())
        {
            m_inWorkerLoop = true;
            bool runFlag = true;
            RunMessageLoop(&runFlag);
            m_inWorkerLoop = false;
        }
        OnFinish();
        m_workerWindowAlive = false;
        m_workerWindow = nullptr;
        window.Destroy();
        // Values sent to the worker that it will never handle.
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_S_THREAD_MESSAGE, WM_S_THREAD_MESSAGE, PM_REMOVE))
            ReleaseSlot((SValue*)message.lParam, 0, false, true);
    }
    OnEnd();
    UnregisterThread(0);
    SignalEnd();
}

void SThread::SignalEnd()
{
    // Read everything first: once running is clear the owner may delete the object.
    bool waited = m_waited;
    DWORD ownerThreadId = m_ownerThreadId;
    HWND owner = m_ownerWindow.GetHandle();
    DWORD self = GetCurrentThreadId();
    m_running = false;
    if (waited)
        PostThreadMessageA(ownerThreadId, WM_NULL, 0, 0);
    else if (owner)
        PostMessageA(owner, WM_S_THREAD_END, (WPARAM)self, 0);
}

void SThread::HandleEnd(DWORD threadId)
{
    if (!m_threadHandle || threadId != m_threadId)
        return;
    WaitForSingleObject(m_threadHandle, INFINITE);
    CloseHandle(m_threadHandle);
    m_threadHandle = nullptr;
    m_threadId = 0;
}

LRESULT SThread::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_CREATED)
    {
        if (lParam)
            SetOwnerObject((void*)lParam);
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    SThread* thread = static_cast<SThread*>(GetOwnerObject());
    if (!thread)
        return SWnd::OnMessage(msg, wParam, lParam);
    switch (msg)
    {
    case WM_S_THREAD_VALUE:
        thread->ReleaseSlot((SValue*)lParam, (int)wParam, true, false);
        return 0;
    case WM_S_THREAD_MESSAGE:
        thread->ReleaseSlot((SValue*)lParam, (int)wParam, thread->m_inWorkerLoop.load(), true);
        return 0;
    case WM_S_THREAD_END:
        thread->HandleEnd((DWORD)wParam);
        return 0;
    default:
        return SWnd::OnMessage(msg, wParam, lParam);
    }
}
