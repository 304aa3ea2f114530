#include "SWndThreadRecord.h"

#include "SLibrary.h"
#include "SWnd.h"

SWndThreadRecord::~SWndThreadRecord()
{
    if (m_eraseDC)
    {
        if (m_eraseBitmap)
            SelectObject(m_eraseDC, m_eraseOldBitmap);
        DeleteDC(m_eraseDC);
    }
    if (m_eraseBitmap)
        DeleteObject(m_eraseBitmap);
    if (m_measureDC)
        DeleteDC(m_measureDC);
}

HDC SWndThreadRecord::GetMeasureDC()
{
    if (!m_measureDC)
        m_measureDC = CreateCompatibleDC(nullptr);
    return m_measureDC;
}

HDC SWndThreadRecord::BorrowEraseBuffer(HDC screen, int width, int height)
{
    // Only for painting on the screen: the buffer has the screen's format.
    if (m_eraseLent || !screen || width <= 0 || height <= 0 || GetObjectType(screen) != OBJ_DC)
        return nullptr;
    // Making a bitmap compatible with the screen costs the display server several
    // round trips: one is made per thread and grows to the largest window erased.
    if (width > m_eraseWidth || height > m_eraseHeight)
    {
        const int newWidth = width > m_eraseWidth ? width : m_eraseWidth;
        const int newHeight = height > m_eraseHeight ? height : m_eraseHeight;
        if (!m_eraseDC)
        {
            m_eraseDC = CreateCompatibleDC(screen);
            if (!m_eraseDC)
                return nullptr;
        }
        HBITMAP bitmap = CreateCompatibleBitmap(screen, newWidth, newHeight);
        if (!bitmap)
            return nullptr;
        HGDIOBJ previous = SelectObject(m_eraseDC, bitmap);
        if (!m_eraseBitmap)
            m_eraseOldBitmap = previous;
        else
            DeleteObject(m_eraseBitmap);
        m_eraseBitmap = bitmap;
        m_eraseWidth = newWidth;
        m_eraseHeight = newHeight;
    }
    m_eraseSavedState = SaveDC(m_eraseDC);
    if (!m_eraseSavedState)
        return nullptr;
    // As a new bitmap would be: what the erase leaves unpainted shows black.
    PatBlt(m_eraseDC, 0, 0, width, height, BLACKNESS);
    m_eraseLent = true;
    return m_eraseDC;
}

void SWndThreadRecord::ReturnEraseBuffer(HDC dc)
{
    if (!IsLentEraseBuffer(dc))
        return;
    RestoreDC(m_eraseDC, m_eraseSavedState);
    m_eraseSavedState = 0;
    m_eraseLent = false;
}

bool SWndThreadRecord::Insert(SWnd* window)
{
    if (!window || !window->GetHandle())
        return false;
    uintptr_t key = (uintptr_t)window->GetHandle();
    int count = m_windows.GetCount();
    int at = count;
    for (int i = 0; i < count; i++)
    {
        if ((uintptr_t)m_windows.GetAt(i)->GetHandle() > key)
        {
            at = i;
            break;
        }
    }
    return m_windows.Add(window, at) >= 0;
}

bool SWndThreadRecord::Remove(SWnd* window)
{
    int index = m_windows.Find(window);
    if (index < 0)
        return false;
    m_windows.RemoveAt(index);
    return true;
}

SWnd* SWndThreadRecord::Find(HWND handle)
{
    uintptr_t key = (uintptr_t)handle;
    int low = 0, high = m_windows.GetCount();
    while (low < high)
    {
        int middle = (low + high) / 2;
        SWnd* window = m_windows.GetAt(middle);
        uintptr_t value = (uintptr_t)window->GetHandle();
        if (value == key)
            return window;
        if (key < value)
            high = middle;
        else
            low = middle + 1;
    }
    return nullptr;
}

void SWndThreadRecord::Detach(HWND handle, WNDPROC classProcedure)
{
    Forget(handle);
    if (handle && classProcedure)
        m_detached.emplace_back(handle, classProcedure);
}

WNDPROC SWndThreadRecord::FindDetached(HWND handle) const
{
    for (const auto& detached : m_detached)
        if (detached.first == handle)
            return detached.second;
    return nullptr;
}

void SWndThreadRecord::Forget(HWND handle)
{
    for (size_t i = 0; i < m_detached.size(); i++)
        if (m_detached[i].first == handle)
        {
            m_detached.erase(m_detached.begin() + (std::ptrdiff_t)i);
            return;
        }
}

SWnd* FindWndByHandle(HWND handle)
{
    if (!handle)
        return nullptr;
    DWORD threadId = GetWindowThreadProcessId(handle, nullptr);
    if (!threadId)
        return nullptr;
    SWndThreadRecord* record = FindThreadRecord(threadId);
    return record ? record->Find(handle) : nullptr;
}

bool RegisterWndInTable(SWnd* window)
{
    if (!window || !window->GetHandle())
        return false;
    SWndThreadRecord* record = FindThreadRecord(window->GetThreadId());
    if (record)
        record->Forget(window->GetHandle());
    return record && record->Insert(window);
}

bool UnregisterWndFromTable(SWnd* window)
{
    if (!window)
        return false;
    SWndThreadRecord* record = FindThreadRecord(window->GetThreadId());
    return record && record->Remove(window);
}
