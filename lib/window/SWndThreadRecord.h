#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "SArray.h"

class SWnd;

// One GUI thread's entry in the window table: its id and its window objects
// kept sorted by handle value, so handle look-ups search by halving.
class SWndThreadRecord
{
public:
    explicit SWndThreadRecord(DWORD threadId) : m_threadId(threadId) {}
    virtual ~SWndThreadRecord();
    SWndThreadRecord(const SWndThreadRecord&) = delete;
    SWndThreadRecord& operator=(const SWndThreadRecord&) = delete;

    // The owning thread's id.
    DWORD GetThreadId() const { return m_threadId; }
    // The thread's windows, sorted by handle.
    SArray<SWnd*>& GetWindows() { return m_windows; }
    // Inserts the window before the first one with a greater handle; false without a handle.
    bool Insert(SWnd* window);
    // Removes the entry that holds the window; false when absent.
    bool Remove(SWnd* window);
    // The window of a handle (search by halving); null when absent.
    SWnd* Find(HWND handle);

    // A window that left the table at WM_DESTROY while another subclass sat above the
    // library's procedure: its messages still pass through the library's procedure,
    // which hands them to the class's own procedure until the last one.
    void Detach(HWND handle, WNDPROC classProcedure);
    // The class procedure of a detached window; null when the handle is not detached.
    WNDPROC FindDetached(HWND handle) const;
    // Forgets a detached window (after its last message, or when the handle is reused).
    void Forget(HWND handle);

    // The thread's erase buffer: a memory DC with a bitmap compatible with the screen
    // DC given, at least of the size, cleared to black, lent to one window's erase at a
    // time. Null while it is lent, for a DC that is not a window's or the screen's, or
    // when it cannot be made: the caller then makes a bitmap of its own.
    HDC BorrowEraseBuffer(HDC screen, int width, int height);
    // Takes the buffer back with the DC's state as it was lent.
    void ReturnEraseBuffer(HDC dc);
    // Whether the DC is the buffer, lent.
    bool IsLentEraseBuffer(HDC dc) const { return dc && dc == m_eraseDC && m_eraseLent; }

    // The thread's DC for measuring text: a memory DC compatible with the screen, made
    // on first use and kept. A window's own DC would cost the display server several
    // round trips each time. Users save its state and restore it when done; null when
    // it cannot be made.
    HDC GetMeasureDC();

private:
    DWORD m_threadId;
    SArray<SWnd*> m_windows;
    std::vector<std::pair<HWND, WNDPROC>> m_detached;
    HDC m_eraseDC = nullptr;
    HBITMAP m_eraseBitmap = nullptr;
    HGDIOBJ m_eraseOldBitmap = nullptr;
    int m_eraseWidth = 0;
    int m_eraseHeight = 0;
    int m_eraseSavedState = 0;
    bool m_eraseLent = false;
    HDC m_measureDC = nullptr;
};
