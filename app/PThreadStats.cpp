// The statistics worker: counts the library's media on its own thread and hands
// the result to the main window, which shows the totals.
#include "PWndApp.h"

#include "PMarkup.h"

namespace
{
// How long closing waits for a worker that was asked to stop.
const DWORD kStopWait = 5000;
} // namespace

PWndApp::_PThreadStats::_PThreadStats(PWndApp* owner)
    : m_owner(owner), m_generation(0), m_result(nullptr)
{
}

PWndApp::_PThreadStats::~_PThreadStats()
{
    // The walk reads the members below: it must end before they go.
    Stop(kStopWait);
    delete m_result;
}

bool PWndApp::_PThreadStats::StartPass(const char* root, int generation)
{
    if (HasThread())
        return false;
    delete m_result;
    m_result = new PLibraryStats;
    m_generation = generation;
    m_root = root ? root : "";
    m_emptyIni.RemoveAll();
    return Start(false);
}

bool PWndApp::_PThreadStats::StopAsked(void* context)
{
    return static_cast<_PThreadStats*>(context)->IsStopRequested();
}

bool PWndApp::_PThreadStats::Run()
{
    PLibraryStats* result = m_result;
    if (!result)
        return false;
    const bool counted = result->Count(m_root, &m_emptyIni, StopAsked, this);
    result->SetGeneration(m_generation);
    // From the post on, the result belongs to the owner thread.
    if (!counted || IsStopRequested() || !PostInt(0, 0))
        return false;
    RemoveEmptyIniFiles(m_emptyIni);
    return false;
}

void PWndApp::_PThreadStats::OnNotify(int id, const SValue& value)
{
    (void)value;
    if (id != 0 || !m_result || !m_owner)
        return;
    PLibraryStats* result = m_result;
    m_result = nullptr;
    m_owner->OnStatistics(result);
}

// ---------------------------------------------------------------- main window side

void PWndApp::StartStatistics()
{
    DeleteRetiredWorkers(false);
    const int generation = m_stats.BeginPass();
    // A pass still running is abandoned, not waited for: its result will be stale.
    if (m_statsWorker && m_statsWorker->HasThread())
    {
        m_statsWorker->Stop(0);
        m_retiredWorkers.Add(m_statsWorker);
        m_statsWorker = nullptr;
    }
    if (!m_statsWorker)
        m_statsWorker = new _PThreadStats(this);
    m_statsWorker->StartPass(m_rootFolder.GetPath(), generation);
}

void PWndApp::OnStatistics(PLibraryStats* result)
{
    if (!m_stats.Accept(result))
        return;
    const PLibraryStats& stats = m_stats.Get();
    const SString text = PMarkup::TotalsText(stats.GetTotalSongs(), stats.GetTotalVideos(), stats.GetTotalRadios());
    m_statusBar.SetText(1, text);
    m_dockedBar.SetTotalsText(text);
    UpdateCounts();
}

void PWndApp::DeleteRetiredWorkers(bool all)
{
    for (int i = m_retiredWorkers.GetCount() - 1; i >= 0; i--)
    {
        _PThreadStats* worker = m_retiredWorkers.GetAt(i);
        if (all || !worker->HasThread())
        {
            delete worker;
            m_retiredWorkers.RemoveAt(i);
        }
    }
    if (all)
    {
        delete m_statsWorker;
        m_statsWorker = nullptr;
    }
}

int PWndApp::RemoveEmptyIniFiles(const SStringArray& files)
{
    int removed = 0;
    for (int i = 0; i < files.GetCount(); i++)
    {
        const SString* path = files.GetString(i);
        WIN32_FILE_ATTRIBUTE_DATA data;
        // Written to since the walk saw it empty: it stays.
        if (!GetFileAttributesExA(*path, GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.nFileSizeLow != 0 || data.nFileSizeHigh != 0)
            continue;
        if (DeleteFileA(*path))
            removed++;
    }
    return removed;
}
