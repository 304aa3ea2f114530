#include "SLevelCtrl.h"

#include <gdiplus.h>
#include <string.h>

#include <algorithm>

#include "SControl.h"
#include "SDraw.h"
#include "SPaintBuffer.h"
#include "SRound.h"
#include "SWave.h"

namespace
{

unsigned long long PeakRecord(DWORD time, int value)
{
    return (unsigned long long)(uint32_t)value << 32 | (unsigned long long)time;
}

DWORD PeakTime(unsigned long long record)
{
    return (DWORD)(record & 0xFFFFFFFFull);
}

int PeakValue(unsigned long long record)
{
    return (int)(uint32_t)(record >> 32);
}

} // namespace

SLevelCtrl::SLevelCtrl()
    : m_vertical(0), m_tick(1), m_backColor(0), m_lowColor(0), m_highColor(0), m_backBrush(nullptr),
      m_lowBrush(nullptr), m_minimum(0), m_maximum(1000), m_fallRate(0.0005), m_tickHold(500),
      m_lastPaint(GetTickCount()), m_elapsed(0)
{
    SetKind(SKIND_LEVEL);
    SetDefaults();
}

SLevelCtrl::~SLevelCtrl()
{
    // Each wave drops itself from the list as it lets go of the meter.
    while (m_waves.GetCount() > 0)
        m_waves.GetAt(m_waves.GetCount() - 1)->SetLevelCtrl(nullptr);
    if (m_backBrush)
        DeleteObject(m_backBrush);
    if (m_lowBrush)
        DeleteObject(m_lowBrush);
}

void SLevelCtrl::AttachWave(SWave* wave)
{
    for (int i = 0; i < m_waves.GetCount(); i++)
        if (m_waves.GetAt(i) == wave)
            return;
    m_waves.Add(wave);
}

void SLevelCtrl::DetachWave(SWave* wave)
{
    for (int i = m_waves.GetCount() - 1; i >= 0; i--)
        if (m_waves.GetAt(i) == wave)
            m_waves.RemoveAt(i);
}

void SLevelCtrl::SetDefaults()
{
    m_vertical = 0;
    m_tick = 1;
    m_backColor = RGB(32, 92, 32);
    m_lowColor = RGB(128, 255, 128);
    m_highColor = RGB(255, 0, 0);
    RebuildBrushes();
    SetChannelCount(1);
    SetRange(0, 1000, true);
    SetFallRate(50);
    m_tickHold = 500;
}

void SLevelCtrl::RebuildBrushes()
{
    if (m_backBrush)
        DeleteObject(m_backBrush);
    if (m_lowBrush)
        DeleteObject(m_lowBrush);
    m_backBrush = CreateSolidBrush(m_backColor);
    m_lowBrush = CreateSolidBrush(m_lowColor);
}

void SLevelCtrl::SetColors(unsigned back, unsigned low, unsigned high)
{
    if (back != SCOLOR_NONE)
        m_backColor = SControlColorRef(back);
    if (low != SCOLOR_NONE)
        m_lowColor = SControlColorRef(low);
    if (high != SCOLOR_NONE)
        m_highColor = SControlColorRef(high);
    RebuildBrushes();
}

void SLevelCtrl::SetChannelCount(int count)
{
    if (count <= 0)
        count = 1;
    m_values.SetSize(0, false);
    m_shown.SetSize(0, false);
    m_peaks.SetSize(0, false);
    m_values.Add(0, -1, count);
    m_shown.Add(0.0, -1, count);
    m_peaks.Add(0ull, -1, count);
    if (GetHandle())
        Redraw();
}

void SLevelCtrl::SetRange(int minimum, int maximum, bool redraw)
{
    m_minimum = minimum;
    m_maximum = maximum;
    SetValue(0, -1, false);
    if (redraw && GetHandle())
        Redraw();
}

void SLevelCtrl::SetValue(int value, int channel, bool redraw)
{
    int count = m_values.GetCount();
    if (channel >= count)
        return;
    DWORD now = GetTickCount();
    int first = channel < 0 ? 0 : channel;
    int last = channel < 0 ? count - 1 : channel;
    for (int i = first; i <= last; i++)
    {
        m_values.SetAt(i, value);
        if (m_shown.GetAt(i) < value)
            m_shown.SetAt(i, value);
        if (!m_tick)
            continue;
        unsigned long long peak = m_peaks.GetAt(i);
        // An expired tick counts as none even before a paint has cleared it.
        if (peak != 0 && (long)(now - PeakTime(peak)) > (long)m_tickHold)
            peak = 0;
        if (peak == 0 || value >= PeakValue(peak))
            peak = PeakRecord(now, value);
        m_peaks.SetAt(i, peak);
    }
    if (redraw && GetHandle())
        Redraw();
}

int SLevelCtrl::GetPeak(int channel) const
{
    unsigned long long peak = m_peaks.GetAt(channel);
    return peak == 0 ? -1 : PeakValue(peak);
}

void SLevelCtrl::SetFallRate(int rate)
{
    m_fallRate = rate * 0.001 / 100;
}

void SLevelCtrl::GetBarExtent(int index, int clientSize, int* start, int* size) const
{
    int count = std::max(1, m_values.GetCount());
    int base = clientSize / count;
    int extra = clientSize % count;
    *size = base + (index < extra ? 1 : 0);
    *start = index * base + std::min(index, extra);
}

void SLevelCtrl::Paint(HDC dc)
{
    PaintAt(dc, GetTickCount());
}

void SLevelCtrl::PaintAt(HDC target, DWORD now)
{
    m_elapsed = now - m_lastPaint;
    m_lastPaint = now;
    RECT client = {0, 0, 0, 0};
    if (GetHandle())
        GetClientRect(&client);
    int width = client.right, height = client.bottom;
    int count = std::max(1, m_values.GetCount());
    double range = (double)m_maximum - m_minimum;
    int barWidth = m_vertical ? width / count : width;
    int barHeight = m_vertical ? height : height / count;

    SPaintBuffer buffer(target, width, height);
    HDC dc = buffer.Get();
    if (m_vertical)
    {
        HBRUSH low = CreateSolidBrush(m_lowColor);
        FillRectangle(dc, RectFromXYWH(0, barHeight / 2, width, height - barHeight / 2), low);
        DeleteObject(low);
        RECT upper = RectFromXYWH(0, 0, width, barHeight / 2);
        FillGradientRect(dc, &upper, m_highColor, m_lowColor, true);
    }
    else
    {
        HBRUSH low = CreateSolidBrush(m_lowColor);
        FillRectangle(dc, RectFromXYWH(0, 0, width / 2, height), low);
        DeleteObject(low);
        RECT right = RectFromXYWH(width / 2, 0, width - width / 2, height);
        FillGradientRect(dc, &right, m_lowColor, m_highColor, false);
    }

    for (int i = 0; i < m_values.GetCount(); i++)
    {
        double value = m_values.GetAt(i);
        double shown = m_shown.GetAt(i);
        // A range of no width shows an empty bar and never divides by zero.
        if (range <= 0)
            shown = value;
        else if (value < shown)
        {
            double fraction = (shown - m_minimum) / range - m_elapsed * m_fallRate;
            shown = std::max(value, m_minimum + range * fraction);
        }
        m_shown.SetAt(i, shown);
        double f = range > 0 ? (shown - m_minimum) / range : 0.0;
        f = std::min(1.0, std::max(0.0, f));
        int start = 0, size = 0;
        GetBarExtent(i, m_vertical ? width : height, &start, &size);
        int unlitEdge;
        if (m_vertical)
        {
            unlitEdge = SRound::Truncate(barHeight * (1 - f));
            FillRectangle(dc, RectFromXYWH(start, 0, size, unlitEdge), m_backBrush);
        }
        else
        {
            unlitEdge = width - SRound::Truncate(barWidth * (1 - f));
            FillRectangle(dc, RectFromXYWH(unlitEdge, start, width - unlitEdge, size), m_backBrush);
        }
        unsigned long long peak = m_peaks.GetAt(i);
        if (m_tick && peak != 0)
        {
            if ((long)(now - PeakTime(peak)) > (long)m_tickHold)
                m_peaks.SetAt(i, 0);
            else
            {
                double p = range > 0 ? (PeakValue(peak) - m_minimum) / range : 0.0;
                p = std::min(1.0, std::max(0.0, p));
                if (m_vertical)
                {
                    int row = SRound::Truncate(barHeight * (1 - p));
                    if (row <= unlitEdge)
                        FillRectangle(dc, RectFromXYWH(start, row, size, 1), m_lowBrush);
                }
                else
                    FillRectangle(dc, RectFromXYWH(SRound::Truncate(barWidth * p), start, 1, size), m_lowBrush);
            }
        }
        if (i > 0)
        {
            if (m_vertical)
                FillRectangle(dc, RectFromXYWH(start - 1, 0, 1, height), m_backBrush);
            else
                FillRectangle(dc, RectFromXYWH(0, start - 1, width, 1), m_backBrush);
        }
    }
}

LRESULT SLevelCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        m_lastPaint = GetTickCount();
        SetTimer(RepaintTimer, RepaintPeriod);
        break;
    case WM_TIMER:
        if (wParam == RepaintTimer)
        {
            Redraw();
            return 0;
        }
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
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_LEVEL);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

SVisualizationCtrl::SVisualizationCtrl() : m_channelCount(1), m_peaks(nullptr), m_bands(nullptr)
{
}

SVisualizationCtrl::~SVisualizationCtrl()
{
    FreeBuffers();
}

void SVisualizationCtrl::FreeBuffers()
{
    delete[] m_peaks;
    delete[] m_bands;
    m_peaks = nullptr;
    m_bands = nullptr;
    m_channelCount = 1;
}

bool SVisualizationCtrl::SetData(int count, const unsigned char* peaks, const unsigned char* bands, void* control)
{
    SVisualizationCtrl* self = static_cast<SVisualizationCtrl*>(control);
    if (!self)
        return true;
    if (count < 0)
        count = 0;
    if (count > BandChannels)
        count = BandChannels;
    if (count != self->m_channelCount || !self->m_peaks)
    {
        self->FreeBuffers();
        self->m_channelCount = count;
        self->m_peaks = new unsigned char[(size_t)count + 1]();
        self->m_bands = new unsigned char[(size_t)count * BandCount + 1]();
    }
    if (peaks)
        memcpy(self->m_peaks, peaks, (size_t)count);
    if (bands)
        memcpy(self->m_bands, bands, (size_t)count * BandCount);
    if (self->GetHandle())
        self->Redraw();
    return true;
}

int SVisualizationCtrl::GetBand(int channel, int band) const
{
    if (!m_bands || channel < 0 || channel >= m_channelCount || band < 0 || band >= BandCount)
        return 0;
    return m_bands[channel * BandCount + band];
}

int SVisualizationCtrl::GetPeak(int channel) const
{
    if (!m_peaks || channel < 0 || channel >= m_channelCount)
        return 0;
    return m_peaks[channel];
}

void SVisualizationCtrl::Paint(HDC target)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(&client);
    SPaintBuffer buffer(target, client.right, client.bottom);
    Gdiplus::Graphics graphics(buffer.Get());
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
    if (!m_peaks || m_channelCount < 1)
        return;
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    for (int band = 0; band < BandCount; band++)
    {
        int height = m_bands[band];
        graphics.FillRectangle(&red, 5 * band, 255 - height, 5, height);
    }
}

LRESULT SVisualizationCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        SetOwnerPaint(true);
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
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_VISUALIZATION);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
