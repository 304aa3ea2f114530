#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "PumpSupport.h"
#include "SThread.h"

namespace
{

// A worker that records what reaches each side.
class RecordingThread : public SThread
{
public:
    std::function<bool(RecordingThread&)> work;
    std::vector<int> ids;
    std::vector<long long> integers;
    std::vector<SString> texts;
    std::vector<DWORD> notifyThreads;
    std::vector<int> workerMessages;
    bool began = false, finished = false, ended = false;
    bool beginPosted = true, endPosted = true;
    DWORD workerThread = 0;

    void OnBegin() override
    {
        began = true;
        beginPosted = PostInt(-1, -1);
    }
    bool Run() override
    {
        workerThread = GetCurrentThreadId();
        return work ? work(*this) : false;
    }
    void OnNotify(int id, const SValue& value) override
    {
        ids.push_back(id);
        integers.push_back(value.GetInteger());
        texts.push_back(value.GetText());
        notifyThreads.push_back(GetCurrentThreadId());
    }
    void OnMessage(int id, const SValue& value) override
    {
        workerMessages.push_back(id);
        if (value.GetInteger() == 99)
            PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    }
    void OnFinish() override
    {
        finished = true;
        PostInt(500, 500);
    }
    void OnEnd() override
    {
        ended = true;
        endPosted = PostInt(-2, -2);
    }
};

}

TEST(SThread, WorkerValuesAndEndReachTheOwnerInOrder)
{
    RecordingThread thread;
    thread.work = [](RecordingThread& self) {
        for (int i = 1; i <= 5; i++)
            self.PostInt(i, i * 10);
        SValue text;
        text.SetText("done");
        self.PostValue(6, &text);
        return false;
    };
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(PumpUntil([&] { return !thread.HasThread(); }));
    EXPECT_TRUE(thread.began);
    EXPECT_TRUE(thread.finished);
    EXPECT_TRUE(thread.ended);
    EXPECT_FALSE(thread.beginPosted);
    EXPECT_FALSE(thread.endPosted);
    EXPECT_FALSE(thread.IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return thread.ids.size() >= 7; }));
    std::vector<int> expectedIds = {1, 2, 3, 4, 5, 6, 500};
    EXPECT_EQ(thread.ids, expectedIds);
    EXPECT_EQ(thread.integers[2], 30);
    EXPECT_STREQ(thread.texts[5].GetBuffer(), "done");
    for (DWORD id : thread.notifyThreads)
        EXPECT_EQ(id, GetCurrentThreadId());
    EXPECT_NE(thread.workerThread, GetCurrentThreadId());
    EXPECT_EQ(thread.GetPendingCount(), 0);
}

TEST(SThread, InFlightLimitReportsFailureAndFreesSlotsWhenHandled)
{
    RecordingThread thread;
    HANDLE posted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE handled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<bool> results;
    bool afterHandled = false;
    thread.work = [&](RecordingThread& self) {
        for (int i = 0; i < SThread::kMaxPending + 1; i++)
            results.push_back(self.PostInt(i, i));
        SetEvent(posted);
        if (WaitForSingleObject(handled, 5000) == WAIT_OBJECT_0)
            afterHandled = self.PostInt(100, 100);
        // The value of OnFinish needs a free slot: let the owner drain them first.
        DWORD start = GetTickCount();
        while (self.GetPendingCount() > 0 && GetTickCount() - start < 5000)
            Sleep(1);
        return false;
    };
    ASSERT_TRUE(thread.Start(false));
    // Nothing is handled while the worker fills every slot.
    ASSERT_EQ(WaitForSingleObject(posted, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(thread.GetPendingCount(), SThread::kMaxPending);
    // Handles exactly one value (a stale value of an earlier object would reach no window).
    MSG message;
    while (thread.ids.empty() && PeekMessageA(&message, nullptr, WM_S_THREAD_FIRST, WM_S_THREAD_FIRST, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(thread.ids.size(), 1u);
    SetEvent(handled);
    ASSERT_TRUE(PumpUntil([&] { return !thread.HasThread() && thread.ids.size() >= 34; }));
    CloseHandle(handled);
    CloseHandle(posted);
    for (int i = 0; i < SThread::kMaxPending; i++)
        EXPECT_TRUE(results[i]) << i;
    EXPECT_FALSE(results[SThread::kMaxPending]);
    EXPECT_TRUE(afterHandled);
    EXPECT_EQ(thread.ids.back(), 500);
    EXPECT_EQ(thread.ids[thread.ids.size() - 2], 100);
}

TEST(SThread, WaitedStartReturnsAfterEndAndValuesFollow)
{
    RecordingThread thread;
    thread.work = [](RecordingThread& self) {
        self.PostInt(7, 70);
        // Asks for a worker loop: a waited start must not wait for it for ever.
        return true;
    };
    ASSERT_TRUE(thread.Start(true));
    EXPECT_TRUE(thread.ended);
    EXPECT_FALSE(thread.HasThread());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(thread.ids.empty());
    ASSERT_TRUE(PumpUntil([&] { return thread.ids.size() == 2; }));
    EXPECT_EQ(thread.ids[0], 7);
    EXPECT_EQ(thread.integers[0], 70);
    // A second waited start runs again at once; its values follow as well.
    EXPECT_TRUE(thread.Start(true));
    EXPECT_TRUE(PumpUntil([&] { return thread.ids.size() == 4; }));

    // The owner sleeps while it waits, even with the worker's values already queued.
    thread.work = [](RecordingThread& self) {
        self.PostInt(8, 80);
        Sleep(300);
        return false;
    };
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelBefore, &userBefore));
    EXPECT_TRUE(thread.Start(true));
    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelAfter, &userAfter));
    auto ticks = [](const FILETIME& time) { return ((ULONGLONG)time.dwHighDateTime << 32) | time.dwLowDateTime; };
    ULONGLONG busy = ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
    EXPECT_LT(busy, 1000000u) << "100 ns units";
    EXPECT_TRUE(PumpUntil([&] { return thread.ids.size() == 6; }));
}

TEST(SThread, SecondStartIsRefusedUntilTheEndIsHandled)
{
    RecordingThread thread;
    ASSERT_TRUE(thread.Start(false));
    EXPECT_FALSE(thread.Start(false));
    EXPECT_FALSE(thread.Start(true));
    ASSERT_TRUE(PumpUntil([&] { return !thread.HasThread(); }));
    EXPECT_TRUE(thread.Start(false));
    ASSERT_TRUE(PumpUntil([&] { return !thread.HasThread(); }));
}

TEST(SThread, WorkerLoopTakesOwnerValuesAndStopEndsIt)
{
    RecordingThread thread;
    thread.work = [](RecordingThread&) { return true; };
    ASSERT_TRUE(thread.Start(false));
    SValue value;
    value.SetInteger(1);
    ASSERT_TRUE(PumpUntil([&] { return thread.PostToWorker(41, &value); }));
    value.SetInteger(99);
    ASSERT_TRUE(thread.PostToWorker(42, &value));
    // The worker quits its loop on the value 99 and ends by itself.
    ASSERT_TRUE(PumpUntil([&] { return !thread.HasThread(); }));
    std::vector<int> expected = {41, 42};
    EXPECT_EQ(thread.workerMessages, expected);
    EXPECT_TRUE(thread.finished);

    thread.workerMessages.clear();
    ASSERT_TRUE(thread.Start(false));
    EXPECT_TRUE(thread.Stop(5000));
    EXPECT_FALSE(thread.HasThread());
    EXPECT_TRUE(thread.finished);
    EXPECT_TRUE(thread.ended);
    EXPECT_FALSE(thread.PostToWorker(43, &value));
}

TEST(SThread, DestructionStopsTheWorkerWithoutKillingIt)
{
    bool ended = false;
    bool stoppedByRequest = false;
    {
        // Work that reads its own members stops in the derived destructor, while they still exist.
        class Polling : public SThread
        {
        public:
            ~Polling() override { Stop(5000); }
            bool* ended;
            bool* stopped;
            HANDLE started;
            bool Run() override
            {
                SetEvent(started);
                DWORD start = GetTickCount();
                while (!IsStopRequested() && GetTickCount() - start < 10000)
                    Sleep(1);
                *stopped = IsStopRequested();
                return true;
            }
            void OnEnd() override { *ended = true; }
        } thread;
        thread.ended = &ended;
        thread.stopped = &stoppedByRequest;
        thread.started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_TRUE(thread.Start(false));
        EXPECT_EQ(WaitForSingleObject(thread.started, 5000), WAIT_OBJECT_0);
        CloseHandle(thread.started);
    }
    EXPECT_TRUE(stoppedByRequest);
    EXPECT_TRUE(ended);

    // A worker in its message loop ends on the request: no wait for the kill time-out.
    DWORD start = 0;
    {
        SThread plain;
        ASSERT_TRUE(plain.Start(false));
        // The worker takes a value once its loop runs.
        SValue nothing;
        bool inLoop = false;
        DWORD waitStart = GetTickCount();
        while (!(inLoop = plain.PostToWorker(1, &nothing)) && GetTickCount() - waitStart < 2000)
            Sleep(1);
        EXPECT_TRUE(inLoop);
        start = GetTickCount();
    }
    EXPECT_LT(GetTickCount() - start, 2000u);
}
