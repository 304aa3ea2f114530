#include "SWaveEditor.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "SControl.h"
#include "SDraw.h"
#include "SFilePath.h"
#include "SKeyboard.h"
#include "SLibrary.h"
#include "SPaintBuffer.h"
#include "SRound.h"

namespace
{

// The wave clipboard of the process, alive while at least one editor is.
SFilePath* g_clipboard = nullptr;
int g_editorCount = 0;

const int kEditShortcuts = 62;
const int kPointerCursor = 5;
const int kWaitCursor = 13;
const int kProgressHeight = 16;

COLORREF KeepOr(COLORREF current, unsigned color)
{
    return color == SCOLOR_NONE ? current : SControlColorRef(color);
}

} // namespace

void SWaveEditor::_SWave::OnProgress()
{
    if (m_editor->GetHandle())
        m_editor->Redraw();
}

void SWaveEditor::_SWave::OnStopped()
{
    if (m_editor->GetHandle())
        m_editor->Redraw();
}

SWaveEditor::SWaveEditor()
    : m_image(nullptr), m_snapshot(nullptr), m_wavePen(nullptr), m_waveDisabledPen(nullptr), m_linePen(nullptr),
      m_caretPen(nullptr), m_caretPlayPen(nullptr), m_backBrush(nullptr), m_backDisabledBrush(nullptr),
      m_progressBrush(nullptr), m_popupMenu(1), m_repeat(0), m_wave(this), m_channel(-1), m_selStart(0),
      m_selLength(0), m_editLength(0)
{
    SetKind(SKIND_WAVEEDITOR);
    if (g_editorCount++ == 0)
    {
        g_clipboard = new SFilePath();
        g_clipboard->OpenTemp();
    }
    SetDefaultColors();
}

SWaveEditor::~SWaveEditor()
{
    m_wave.Reset();
    FreeObjects();
    if (m_image)
        DeleteObject(m_image);
    if (m_snapshot)
        DeleteObject(m_snapshot);
    if (--g_editorCount == 0)
    {
        g_clipboard->Close();
        delete g_clipboard;
        g_clipboard = nullptr;
    }
}

SFile* SWaveEditor::GetClipboard()
{
    return g_clipboard;
}

void SWaveEditor::FreeObjects()
{
    HGDIOBJ objects[] = {m_wavePen, m_waveDisabledPen, m_linePen, m_caretPen, m_caretPlayPen,
                         m_backBrush, m_backDisabledBrush, m_progressBrush};
    for (HGDIOBJ object : objects)
        if (object)
            DeleteObject(object);
    m_wavePen = m_waveDisabledPen = m_linePen = m_caretPen = m_caretPlayPen = nullptr;
    m_backBrush = m_backDisabledBrush = m_progressBrush = nullptr;
}

void SWaveEditor::RebuildObjects()
{
    FreeObjects();
    m_wavePen = CreatePen(PS_SOLID, 1, m_colors[WaveEnabled]);
    m_waveDisabledPen = CreatePen(PS_SOLID, 1, m_colors[WaveDisabled]);
    m_linePen = CreatePen(PS_SOLID, 1, m_colors[Line]);
    m_caretPen = CreatePen(PS_SOLID, 1, m_colors[Caret]);
    m_caretPlayPen = CreatePen(PS_SOLID, 1, m_colors[CaretPlay]);
    m_backBrush = CreateSolidBrush(m_colors[BackEnabled]);
    m_backDisabledBrush = CreateSolidBrush(m_colors[BackDisabled]);
    m_progressBrush = CreateSolidBrush(m_colors[ProgressBack]);
}

void SWaveEditor::SetDefaultColors()
{
    m_colors[Line] = GetSysColor(COLOR_BTNTEXT);
    m_colors[Caret] = GetSysColor(COLOR_BTNTEXT);
    m_colors[CaretPlay] = RGB(255, 0, 0);
    m_colors[BackEnabled] = GetSysColor(COLOR_WINDOW);
    m_colors[BackDisabled] = GetSysColor(COLOR_BTNFACE);
    m_colors[WaveEnabled] = GetSysColor(COLOR_HIGHLIGHT);
    m_colors[WaveDisabled] = GetSysColor(COLOR_WINDOWTEXT);
    m_colors[ProgressBack] = RGB(32, 92, 32);
    m_colors[ProgressStart] = RGB(128, 255, 128);
    m_colors[ProgressEnd] = RGB(255, 0, 0);
    RebuildObjects();
}

void SWaveEditor::SetLineColors(unsigned line, unsigned caret, unsigned caretPlay)
{
    m_colors[Line] = KeepOr(m_colors[Line], line);
    m_colors[Caret] = KeepOr(m_colors[Caret], caret);
    m_colors[CaretPlay] = KeepOr(m_colors[CaretPlay], caretPlay);
    RebuildObjects();
}

void SWaveEditor::SetBackColors(unsigned enabled, unsigned disabled)
{
    m_colors[BackEnabled] = KeepOr(m_colors[BackEnabled], enabled);
    m_colors[BackDisabled] = KeepOr(m_colors[BackDisabled], disabled);
    RebuildObjects();
}

void SWaveEditor::SetWaveColors(unsigned enabled, unsigned disabled)
{
    m_colors[WaveEnabled] = KeepOr(m_colors[WaveEnabled], enabled);
    m_colors[WaveDisabled] = KeepOr(m_colors[WaveDisabled], disabled);
    RebuildObjects();
}

void SWaveEditor::SetProgressColors(unsigned back, unsigned start, unsigned end)
{
    m_colors[ProgressBack] = KeepOr(m_colors[ProgressBack], back);
    m_colors[ProgressStart] = KeepOr(m_colors[ProgressStart], start);
    m_colors[ProgressEnd] = KeepOr(m_colors[ProgressEnd], end);
    RebuildObjects();
}

void SWaveEditor::Rebuild()
{
    RenderWave();
    if (GetHandle())
        Redraw();
}

bool SWaveEditor::LoadFile(SFile* stream)
{
    if (!stream)
        return false;
    CloseWave();
    bool ok = m_wave.Load(false, stream, true);
    m_wave.SetRepeat(m_repeat != 0);
    Rebuild();
    return ok;
}

bool SWaveEditor::NewWave(int channels)
{
    CloseWave();
    bool ok = m_wave.Create(channels, 44100);
    m_wave.SetRepeat(m_repeat != 0);
    return EditDone(ok);
}

void SWaveEditor::CloseWave()
{
    m_wave.Close();
    ResetView();
}

void SWaveEditor::ResetAll()
{
    CloseWave();
    SetDefaultColors();
    ResetView();
    Rebuild();
}

bool SWaveEditor::EditDone(bool ok)
{
    Rebuild();
    if (ok)
        NotifyParentChanged();
    return ok;
}

void SWaveEditor::ResetView()
{
    m_channel = -1;
    m_selStart = 0;
    m_selLength = 0;
    m_muted.SetSize(0, false);
}

void SWaveEditor::Select(unsigned start, unsigned length)
{
    unsigned total = m_wave.GetLength();
    if (start > total)
    {
        m_selStart = total;
        m_selLength = 0;
    }
    else
    {
        m_selStart = start;
        m_selLength = length > total - start ? total - start : length;
    }
}

void SWaveEditor::SelectAll()
{
    Select(0, m_wave.GetLength());
}

void SWaveEditor::SetChannel(int channel, bool redraw)
{
    m_channel = channel < -1 || channel >= m_wave.GetChannelCount() ? -1 : channel;
    if (redraw)
        Rebuild();
}

void SWaveEditor::ToggleMute(int channel, bool redraw)
{
    if (channel < 0 || channel >= m_wave.GetChannelCount())
        m_muted.SetSize(0, false);
    else
    {
        std::vector<int> muted;
        bool found = false;
        for (int i = 0; i < m_muted.GetCount(); i++)
        {
            if (m_muted.GetAt(i) == channel)
                found = true;
            else
                muted.push_back(m_muted.GetAt(i));
        }
        if (!found)
            muted.push_back(channel);
        std::sort(muted.begin(), muted.end());
        m_muted.SetSize(0, false);
        for (int c : muted)
            m_muted.Add(c);
    }
    if (redraw)
        Rebuild();
}

void SWaveEditor::UnmuteAll(bool redraw)
{
    m_muted.SetSize(0, false);
    if (redraw)
        Rebuild();
}

bool SWaveEditor::IsChannelMuted(int channel) const
{
    for (int i = 0; i < m_muted.GetCount(); i++)
        if (m_muted.GetAt(i) == channel)
            return true;
    return false;
}

int SWaveEditor::FrameToX(uint64_t frame, unsigned length) const
{
    if (!m_wave.IsLoaded())
        return -1;
    if (length == 0)
        length = m_wave.GetLength();
    if (frame > length)
        return -1;
    // A wave of no length puts everything at the left edge.
    if (length == 0)
        return 0;
    return SRound::Truncate((double)GetClientWidth() * (double)frame / (double)length);
}

int64_t SWaveEditor::XToFrame(int x) const
{
    int width = GetClientWidth();
    if (width <= 0)
        return 0;
    return SRound::Truncate64((double)m_wave.GetLength() * x / width);
}

void SWaveEditor::SyncMuted()
{
    m_wave.SetMutedChannels(&m_muted, false);
}

bool SWaveEditor::PlaySelection()
{
    SyncMuted();
    if (m_selLength == 0)
        return m_wave.Play(m_selStart, 0);
    return m_wave.Play(m_selStart, m_selStart + m_selLength);
}

void SWaveEditor::StopPlay()
{
    m_wave.Stop();
}

void SWaveEditor::SetRepeat(bool repeat)
{
    m_repeat = repeat ? 1 : 0;
    m_wave.SetRepeat(repeat);
}

bool SWaveEditor::OnEditProgress(int percent, void* editor)
{
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000)
        return false;
    static_cast<SWaveEditor*>(editor)->DrawProgress(percent);
    return true;
}

bool SWaveEditor::BeginEdit()
{
    if (!m_wave.SetRange(m_selStart, m_selLength, m_channel, OnEditProgress, this))
        return false;
    BeginProgress();
    return true;
}

void SWaveEditor::BeginProgress()
{
    m_editLength = m_wave.GetLength();
    if (m_snapshot)
        DeleteObject(m_snapshot);
    m_snapshot = nullptr;
    SIZE size = GetClientSize();
    if (GetHandle() && size.cx > 0 && size.cy > 0)
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        m_snapshot = CreateCompatibleBitmap(screen, size.cx, size.cy);
        if (dc && m_snapshot)
        {
            HGDIOBJ old = SelectObject(dc, m_snapshot);
            Paint(dc);
            SelectObject(dc, old);
        }
        if (dc)
            DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }
    DrawProgress(0);
    SetCursor(GetCursorHandle(kWaitCursor));
}

void SWaveEditor::EndProgress()
{
    if (m_snapshot)
        DeleteObject(m_snapshot);
    m_snapshot = nullptr;
    SetCursor(nullptr);
}

void SWaveEditor::ChannelBand(int channel, int* top, int* height) const
{
    int client = GetClientHeight();
    int channels = m_wave.GetChannelCount();
    if (channel < 0 || channels <= 1)
    {
        *top = 0;
        *height = client;
        return;
    }
    *height = client / channels;
    *top = channel * *height;
}

void SWaveEditor::DrawProgress(int percent)
{
    if (!m_snapshot || !m_image || !GetHandle())
        return;
    SIZE size = GetClientSize();
    HDC screen = ::GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HDC target = CreateCompatibleDC(screen);
    HGDIOBJ oldSource = SelectObject(source, m_snapshot);
    HGDIOBJ oldTarget = SelectObject(target, m_image);
    BitBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
    int x = FrameToX(m_selStart, m_editLength);
    int w = FrameToX(m_selLength, m_editLength);
    if (m_selLength == 0 || w < 40 || x < 0)
    {
        x = 0;
        w = size.cx;
    }
    int top = 0, height = 0;
    ChannelBand(m_channel, &top, &height);
    RECT bar = {x, top + height - kProgressHeight, x + w, top + height};
    FillGradientRect(target, &bar, m_colors[ProgressStart], m_colors[ProgressEnd], false);
    RECT rest = bar;
    rest.left = x + percent * w / 100;
    FillRectangle(target, rest, m_progressBrush);
    DrawEdge(target, &bar, EDGE_SUNKEN, BF_RECT);
    HDC window = GetDC();
    BitBlt(window, 0, 0, size.cx, size.cy, target, 0, 0, SRCCOPY);
    ReleaseDC(window);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    ::ReleaseDC(nullptr, screen);
}

bool SWaveEditor::CutClip()
{
    SFile* clip = GetClipboard();
    if (m_selLength == 0 || !clip || !BeginEdit())
        return false;
    clip->SetSize(0);
    clip->Rewind();
    bool ok = m_wave.Cut(clip);
    EndProgress();
    Select(m_selStart, 0);
    return EditDone(ok);
}

bool SWaveEditor::CopyClip()
{
    SFile* clip = GetClipboard();
    if (m_selLength == 0 || !clip || !BeginEdit())
        return false;
    clip->SetSize(0);
    clip->Rewind();
    bool ok = m_wave.CopyTo(clip);
    EndProgress();
    Rebuild();
    return ok;
}

bool SWaveEditor::PasteClip()
{
    SFile* clip = GetClipboard();
    if (!clip || clip->GetSize() <= 0 || !BeginEdit())
        return false;
    bool ok = m_wave.Paste(clip);
    EndProgress();
    int align = m_wave.GetBlockAlign();
    int channels = std::max(1, m_wave.GetChannelCount());
    int unit = m_channel == -1 ? align : align / channels;
    if (ok && unit > 0)
        Select(m_selStart, (unsigned)(clip->GetSize() / unit));
    return EditDone(ok);
}

bool SWaveEditor::DeleteSelection()
{
    if (m_selLength == 0 || !BeginEdit())
        return false;
    bool ok = m_wave.Delete();
    EndProgress();
    Select(m_selStart, 0);
    return EditDone(ok);
}

bool SWaveEditor::SilenceSelection()
{
    if (m_selLength == 0 || !BeginEdit())
        return false;
    bool ok = m_wave.Silence();
    EndProgress();
    return EditDone(ok);
}

bool SWaveEditor::Amplify(double factor)
{
    if (m_selLength == 0 || !BeginEdit())
        return false;
    bool ok = m_wave.Amplify(factor);
    EndProgress();
    return EditDone(ok);
}

bool SWaveEditor::Touch()
{
    if (!BeginEdit())
        return false;
    bool ok = m_wave.Touch();
    EndProgress();
    return EditDone(ok);
}

void SWaveEditor::RenderWave()
{
    if (m_image)
        DeleteObject(m_image);
    m_image = nullptr;
    SIZE size = GetClientSize();
    if (!GetHandle() || size.cx <= 0 || size.cy <= 0)
        return;
    HDC screen = ::GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    m_image = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ::ReleaseDC(nullptr, screen);
    if (!dc || !m_image)
    {
        if (dc)
            DeleteDC(dc);
        return;
    }
    HGDIOBJ old = SelectObject(dc, m_image);
    FillRectangle(dc, RectFromXYWH(0, 0, size.cx, size.cy), m_backBrush);
    int channels = m_wave.GetChannelCount();
    if (m_wave.IsLoaded() && channels > 0)
    {
        std::vector<int> tops((size_t)channels), heights((size_t)channels);
        for (int c = 0; c < channels; c++)
        {
            ChannelBand(channels > 1 ? c : -1, &tops[(size_t)c], &heights[(size_t)c]);
            if (channels > 1 && m_channel != -1 && c != m_channel)
                FillRectangle(dc, RectFromXYWH(0, tops[(size_t)c], size.cx, heights[(size_t)c]), m_backDisabledBrush);
            int middle = tops[(size_t)c] + heights[(size_t)c] / 2;
            DrawLine(dc, 0, middle, size.cx, middle, m_linePen);
        }
        // About ten points per pixel: the step in frames between two points.
        unsigned length = m_wave.GetLength();
        double ms = (double)m_wave.FrameToMs(length);
        double perSecond = ms > 0 ? 10.0 * size.cx / (ms / 1000.0) : 1.0;
        int step = SRound::Truncate(m_wave.GetSamplesPerSec() / std::max(perSecond, 1.0));
        if (step < 1)
            step = 1;
        std::vector<std::vector<POINT>> lines((size_t)channels);
        for (int c = 0; c < channels; c++)
            lines[(size_t)c].push_back({0, tops[(size_t)c] + heights[(size_t)c] / 2});
        int align = m_wave.GetBlockAlign();
        double storeBytes = (double)m_wave.GetDataSize();
        int chunkFrames = step - 100000 % step + 100000;
        std::vector<uint8_t> chunk((size_t)chunkFrames * align);
        for (unsigned first = 0; first < length; first += (unsigned)chunkFrames)
        {
            unsigned frames = std::min(length - first, (unsigned)chunkFrames);
            if (!m_wave.ReadRaw(chunk.data(), (int)(first * (unsigned)align), (int)(frames * (unsigned)align)))
                break;
            for (unsigned frame = 0; frame < frames; frame += (unsigned)step)
            {
                int x = SRound::Truncate((double)(first + frame) * align / storeBytes * size.cx);
                for (int c = 0; c < channels; c++)
                {
                    double sample = m_wave.GetSampleNormalized(chunk.data(), frame, c);
                    int y = tops[(size_t)c] + SRound::Truncate(heights[(size_t)c] * (sample + 0.5));
                    lines[(size_t)c].push_back({x, y});
                }
            }
        }
        for (int c = 0; c < channels; c++)
        {
            HGDIOBJ oldPen = SelectObject(dc, IsChannelMuted(c) ? m_waveDisabledPen : m_wavePen);
            Polyline(dc, lines[(size_t)c].data(), (int)lines[(size_t)c].size());
            SelectObject(dc, oldPen);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
}

void SWaveEditor::Paint(HDC target)
{
    SIZE size = GetClientSize();
    SPaintBuffer buffer(target, size.cx, size.cy);
    HDC dc = buffer.Get();
    if (!m_wave.IsLoaded() || !m_image)
    {
        FillRectangle(dc, RectFromXYWH(0, 0, size.cx, size.cy), m_backBrush);
        if (!m_wave.IsLoaded())
            return;
    }
    else
    {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, m_image);
        BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    int x1 = FrameToX(m_selStart);
    if (x1 != -1)
    {
        int top = 0, height = 0;
        ChannelBand(m_channel, &top, &height);
        if (m_selLength == 0)
            DrawLine(dc, x1, top, x1, top + height, m_caretPen);
        int x2 = FrameToX((uint64_t)m_selStart + m_selLength);
        RECT selection = {x1, top, x2, top + height};
        InvertRect(dc, &selection);
    }
    if (m_wave.IsPlaying() || m_wave.IsPaused())
    {
        int x = FrameToX(m_wave.GetPosition());
        if (x >= 0)
            DrawLine(dc, x, 0, x, size.cy, m_caretPlayPen);
    }
}

void SWaveEditor::TrackSelection(int x)
{
    SetFocus();
    unsigned anchor = (unsigned)std::max<int64_t>(0, XToFrame(x));
    unsigned last = anchor;
    Select(anchor, 0);
    Redraw();
    RECT client;
    GetClientRect(&client);
    while (SKeyboard::IsLeftButtonDown())
    {
        POINT point;
        GetCursorPos(&point);
        int clamped = std::min<int>(std::max<int>(point.x, client.left), client.right);
        unsigned frame = (unsigned)std::max<int64_t>(0, XToFrame(clamped));
        if (frame != last)
        {
            last = frame;
            Select(std::min(anchor, frame), anchor > frame ? anchor - frame : frame - anchor);
        }
        Redraw();
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 10)
        {
        }
    }
    Select(std::min(anchor, last), anchor > last ? anchor - last : last - anchor);
    Redraw();
}

void SWaveEditor::OnKey(int key)
{
    int modifiers = GetKeyModifiers();
    int width = GetClientWidth();
    unsigned step = width > 0 ? m_wave.GetLength() / (unsigned)width : 0;
    int channels = m_wave.GetChannelCount();
    switch (key)
    {
    case VK_ESCAPE:
        if (m_selLength)
            Select(m_selStart, 0);
        Redraw();
        break;
    case VK_SPACE:
        if (m_wave.IsPlaying())
        {
            StopPlay();
            Redraw();
        }
        else
            PlaySelection();
        break;
    case VK_END: Select(m_wave.GetLength(), 0); Redraw(); break;
    case VK_HOME: Select(0, 0); Redraw(); break;
    case VK_LEFT:
    {
        // Moving left stops at the start of the wave.
        unsigned moved = std::min(step, m_selStart);
        if (modifiers == 1)
            Select(m_selStart - moved, m_selLength + moved);
        else if (m_selLength)
            Select(m_selStart, 0);
        else
            Select(m_selStart - moved, 0);
        Redraw();
        break;
    }
    case VK_RIGHT:
        if (modifiers == 1)
            Select(m_selStart, m_selLength + step);
        else if (m_selLength)
            Select(m_selStart + m_selLength, 0);
        else
            Select(m_selStart + step, 0);
        Redraw();
        break;
    case VK_UP: SetChannel(m_channel == -1 ? channels - 1 : m_channel - 1, true); break;
    case VK_DOWN: SetChannel(m_channel + 1 >= channels ? -1 : m_channel + 1, true); break;
    case VK_DELETE:
        if (modifiers == 1 && SilenceSelection())
            Redraw();
        break;
    case 'N':
        if (modifiers == 2)
            NewWave(1);
        else if (modifiers == 3)
            NewWave(6);
        break;
    case 'R':
        if (modifiers == 2)
            Touch();
        break;
    case VK_ADD: Amplify(1.5); break;
    case VK_SUBTRACT: Amplify(0.75); break;
    default:
        if (key >= VK_NUMPAD0 && key <= VK_NUMPAD6)
        {
            int number = key - VK_NUMPAD0;
            if (modifiers == 0)
                SetChannel(number == 0 || m_channel == number - 1 ? -1 : number - 1, true);
            else if (modifiers == 2)
            {
                if (number == 0)
                    UnmuteAll(true);
                else
                    ToggleMute(number - 1, true);
            }
        }
        break;
    }
}

void SWaveEditor::OnCommand(int id)
{
    switch (id)
    {
    case CommandCut: OnCut(); break;
    case CommandCopy: OnCopy(); break;
    case CommandPaste: OnPaste(); break;
    case CommandDelete: OnDelete(); break;
    case CommandPlay: PlaySelection(); Redraw(); break;
    case CommandPause: m_wave.Pause(); Redraw(); break;
    case CommandStop: StopPlay(); Redraw(); break;
    case CommandRepeat: SetRepeat(!m_repeat); break;
    default: break;
    }
}

void SWaveEditor::OnCut()
{
    CutClip();
}

void SWaveEditor::OnCopy()
{
    CopyClip();
}

void SWaveEditor::OnPaste()
{
    PasteClip();
}

void SWaveEditor::OnDelete()
{
    DeleteSelection();
}

void SWaveEditor::OnSelectAll()
{
    SelectAll();
    Redraw();
}

LRESULT SWaveEditor::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        m_menu.CreatePopup(GetHandle());
        m_menu.InsertItem(CommandPlay, "Play");
        m_menu.InsertItem(CommandStop, "Stop");
        m_menu.InsertItem(CommandPause, "Pause");
        m_menu.InsertSeparator();
        m_menu.InsertItem(CommandCut, "Cut");
        m_menu.InsertItem(CommandCopy, "Copy");
        m_menu.InsertItem(CommandPaste, "Paste");
        m_menu.InsertItem(CommandDelete, "Delete");
        m_menu.InsertSeparator();
        m_menu.InsertItem(CommandRepeat, "Repeat");
        EnableShortcuts(kEditShortcuts);
        ResetAll();
        break;
    case WM_SIZE:
        RenderWave();
        break;
    case WM_ERASEBKGND:
    {
        LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
        Paint((HDC)wParam);
        return result ? result : 1;
    }
    case WM_PRINTCLIENT:
        Paint((HDC)wParam);
        return 0;
    case WM_KEYDOWN:
        if (m_wave.IsLoaded())
            OnKey((int)wParam);
        break;
    case WM_MOUSEWHEEL:
        if (m_wave.IsLoaded())
        {
            int delta = GET_WHEEL_DELTA_WPARAM(wParam);
            unsigned frequency = m_wave.GetFrequency();
            if (delta > 0)
                m_wave.SetFrequency(frequency + 500);
            else if (delta < 0 && frequency > 500)
                m_wave.SetFrequency(frequency - 500);
            Redraw();
            NotifyParentChanged();
        }
        break;
    case WM_LBUTTONDOWN:
        if (m_wave.IsLoaded())
            TrackSelection(GET_X_LPARAM(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        if (m_wave.IsLoaded())
        {
            SelectAll();
            Redraw();
        }
        break;
    case WM_RBUTTONDOWN:
        if (m_wave.IsLoaded() && m_popupMenu)
        {
            SetFocus();
            m_menu.CheckItem(CommandRepeat, m_repeat != 0);
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(&point);
            m_menu.TrackPopup(point.x, point.y, TPM_RIGHTBUTTON);
        }
        break;
    case SMENU_COMMAND:
        OnCommand((int)lParam);
        break;
    case WM_MOUSEMOVE:
        SetCursor(GetCursorHandle(kPointerCursor));
        break;
    case WM_NCMOUSEMOVE:
        SetCursor(nullptr);
        break;
    case WM_DESTROY:
        ResetAll();
        break;
    default:
        break;
    }
    LRESULT result = SWnd::OnMessage(msg, wParam, lParam);
    SControlForwardMouse(this, msg, lParam, 35);
    return result;
}
