#include "PWndExtract.h"

#include "SFileMem.h"
#include "SLabelCtrl.h"
#include "SListCtrl.h"
#include "SMessages.h"
#include "SRound.h"
#include "SProgressCtrl.h"

namespace
{
const int extractDescription = 150;
const int progressMax = 1000;
}

PWndExtract::_PThread::_PThread(PExtractView* view)
    : view(view), total(-1), offset(0), progressPending(false), result(PUpdateJob::UpdateDone)
{
}

PWndExtract::_PThread::~_PThread()
{
    // The work uses this object's members: it must end before they go.
    Stop(INFINITE);
}

void PWndExtract::_PThread::SetArguments(const char* checksum, const char* url, const char* folder,
                                         const char* program)
{
    const char* texts[4] = {checksum, url, folder, program};
    for (int index = 0; index < 4; index++)
        arguments[index] = texts[index] != nullptr ? texts[index] : "";
}

int PWndExtract::_PThread::GetPermille(int total, int offset)
{
    if (total <= 0 || offset <= 0)
        return 0;
    double permille = (double)offset / (double)total * 1000.0;
    return permille >= 1000.0 ? 1000 : SRound::Truncate(permille);
}

void PWndExtract::_PThread::OnProgress(int newTotal, int newOffset)
{
    total = newTotal;
    offset = newOffset;
    if (progressPending.exchange(true))
        return;
    if (!PostInt(NotifyProgress, 0))
        progressPending = false;
}

void PWndExtract::_PThread::PostFinal(int id)
{
    // Only one progress notification can be pending, so a place is free; a failure
    // here is a window table that is full for a moment.
    for (int attempt = 0; attempt < 500; attempt++)
    {
        if (PostInt(id, 0))
            return;
        Sleep(10);
    }
}

bool PWndExtract::_PThread::Run()
{
    failed.RemoveAll();
    PUpdateJob job(this);
    result = job.Run(arguments[0], arguments[1], arguments[2], arguments[3], &failed);
    PostFinal(result == PUpdateJob::UpdateDone ? NotifyDone : NotifyFailed);
    return false;
}

void PWndExtract::_PThread::OnNotify(int id, const SValue&)
{
    if (view == nullptr)
        return;
    switch (id)
    {
    case NotifyDone:
        view->Finish();
        break;
    case NotifyFailed:
        view->ShowFailed(failed);
        break;
    case NotifyProgress:
        progressPending = false;
        view->ShowProgress(GetPermille(total, offset));
        break;
    default:
        break;
    }
}

PWndExtract::PWndExtract() : worker(this), progress(nullptr), list(nullptr), label(nullptr), plainControls{}
{
}

PWndExtract::~PWndExtract()
{
    worker.Stop(INFINITE);
    Destroy();
    for (SWnd* control : plainControls)
        delete control;
}

bool PWndExtract::CreatePlain()
{
    RECT frame = {0, 0, 300, 220};
    if (!Create("Update", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST, &frame,
                nullptr))
        return false;
    SLabelCtrl* status = new SLabelCtrl;
    SProgressCtrl* bar = new SProgressCtrl;
    SListCtrl* errors = new SListCtrl;
    SLabelCtrl* caption = new SLabelCtrl;
    plainControls[0] = status;
    plainControls[1] = bar;
    plainControls[2] = errors;
    plainControls[3] = caption;
    RECT statusRect = {75, 10, 225, 30};
    RECT barRect = {75, 35, 225, 55};
    RECT listRect = {10, 90, 290, 210};
    RECT captionRect = {10, 65, 160, 85};
    if (!status->Create("Updating files...", WS_VISIBLE, 0, &statusRect, GetHandle(), 1) ||
            !bar->Create(WS_VISIBLE, 0, &barRect, GetHandle(), 2) ||
            !errors->Create(WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, &listRect, GetHandle(), 3) ||
            !caption->Create("Errors:", WS_VISIBLE, 0, &captionRect, GetHandle(), 4))
        return false;
    status->SetAlignment(0x11);
    caption->SetAlignment(0x10);
    bar->SetRange(0, progressMax);
    bar->SetPos(0);
    label = status;
    progress = bar;
    list = errors;
    SendMessage(WM_S_DIALOG_READY);
    return true;
}

bool PWndExtract::Open(const char* checksum, const char* url, const char* folder, const char* program)
{
    worker.SetArguments(checksum, url, folder, program);
    if (SWndDialog::GetBuilder() != nullptr)
    {
        SFileMem description("BINARY", extractDescription);
        if (description.IsOpen() &&
                CreateFromResource(&description, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr, false))
            return true;
    }
    return CreatePlain();
}

void PWndExtract::ShowProgress(int permille)
{
    if (progress != nullptr)
        progress->SetPos(permille);
}

void PWndExtract::ShowFailed(const SStringArray& paths)
{
    if (list != nullptr)
        list->InsertItems(&paths);
    if (label != nullptr)
    {
        label->SetWindowText("Failed.");
        ::InvalidateRect(label->GetHandle(), nullptr, TRUE);
    }
}

void PWndExtract::Finish()
{
    Close();
}

LRESULT PWndExtract::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_S_DIALOG_READY)
    {
        if (label == nullptr)
            label = static_cast<SLabelCtrl*>(GetControlByName("LABEL"));
        if (progress == nullptr)
            progress = static_cast<SProgressCtrl*>(GetControlByName("PROGRESS"));
        if (list == nullptr)
            list = static_cast<SListCtrl*>(GetControlByName("LIST"));
        if (!worker.IsRunning() && !worker.HasThread())
            worker.Start(false);
    }
    else if (msg == WM_DESTROY)
    {
        PostQuitMessage(0);
    }
    return SWndDialog::OnMessage(msg, wParam, lParam);
}
