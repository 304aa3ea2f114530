#pragma once
// Extract mode's window: downloads and installs the update on a worker while it shows
// progress, and "Failed." with the paths at fault when the update could not be made.
#include <atomic>

#include "PUpdateJob.h"
#include "PUpdateViews.h"
#include "SThread.h"
#include "SWndDialog.h"

class SLabelCtrl;
class SListCtrl;
class SProgressCtrl;

class PWndExtract : public SWndDialog, public PExtractView
{
public:
    // Worker notifications.
    enum { NotifyDone = 0, NotifyFailed = 1, NotifyProgress = 2 };

    // The worker: runs the update job and reports to a view on the owner thread.
    class _PThread : public SThread, public PUpdateJob::Listener
    {
    public:
        explicit _PThread(PExtractView* view);
        ~_PThread() override;

        // The four arguments of extract mode: checksum, package URL, folder, program.
        void SetArguments(const char* checksum, const char* url, const char* folder, const char* program);
        // Worker side: the whole update; always false (no worker message loop).
        bool Run() override;
        // Owner side: progress, done or failed.
        void OnNotify(int id, const SValue& value) override;
        // Worker side: keeps the position and asks for one repaint of the bar at a time.
        void OnProgress(int total, int offset) override;
        // The permille the bar shows for a total and an offset; 0 while the total is unknown.
        static int GetPermille(int total, int offset);
        // The result of the finished run.
        PUpdateJob::Result GetResult() const { return result; }

    private:
        // Posts a final notification; it is never dropped for want of a place.
        void PostFinal(int id);

        PExtractView* view;
        std::atomic<int> total;
        std::atomic<int> offset;
        // One progress notification in flight at most, so the final one always has room.
        std::atomic<bool> progressPending;
        SString arguments[4];
        SStringArray failed;
        PUpdateJob::Result result;
    };

    PWndExtract();
    ~PWndExtract() override;

    // Opens the window (dialog description 150, or a plain window of the same layout
    // when no description builder is present) and starts the worker once it is ready.
    bool Open(const char* checksum, const char* url, const char* folder, const char* program);

    void ShowProgress(int permille) override;
    void ShowFailed(const SStringArray& paths) override;
    void Finish() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The same layout built from the library's controls.
    bool CreatePlain();

    _PThread worker;
    SProgressCtrl* progress;
    SListCtrl* list;
    SLabelCtrl* label;
    // Controls of the plain window, owned here (a description's are owned by the dialog).
    SWnd* plainControls[4];
};
