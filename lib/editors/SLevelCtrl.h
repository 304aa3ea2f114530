#pragma once
// The level meter (one bar per channel that jumps up to a value and falls back
// at a fixed rate, with peak ticks) and the band display of a playing wave.
#include <windows.h>
#include <stdint.h>

#include "SArray.h"
#include "SWnd.h"

class SWave;

class SLevelCtrl : public SWnd
{
public:
    enum : int
    {
        RepaintTimer = 82,
        RepaintPeriod = 10
    };

    SLevelCtrl();
    ~SLevelCtrl() override;

    // Back, low and high colours; 0xFF000000 keeps a colour.
    void SetColors(unsigned back, unsigned low, unsigned high);
    // Bars side by side growing upward (vertical) or one under the other growing right.
    void SetVertical(bool vertical) { m_vertical = vertical ? 1 : 0; }
    bool IsVertical() const { return m_vertical != 0; }
    void SetTick(bool on) { m_tick = on ? 1 : 0; }
    bool GetPeakHold() const { return m_tick != 0; }
    // n <= 0 counts as 1; every value, level and peak restarts at zero.
    void SetChannelCount(int count);
    int GetChannelCount() const { return m_values.GetCount(); }
    void SetRange(int minimum, int maximum, bool redraw);
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    // Sets a channel's value (any negative channel: every channel).
    void SetValue(int value, int channel, bool redraw);
    int GetValue(int channel) const { return m_values.GetAt(channel); }
    // The shown level of a channel (it falls towards the value between paints).
    double GetShownLevel(int channel) const { return m_shown.GetAt(channel); }
    // The peak value of a channel's tick; -1 when none is shown.
    int GetPeak(int channel) const;
    // Fall rate n: n * 0.001 / 100 of the range per millisecond.
    void SetFallRate(int rate);
    double GetFallRate() const { return m_fallRate; }
    void SetTickHold(unsigned milliseconds) { m_tickHold = milliseconds; }
    unsigned GetTickHold() const { return m_tickHold; }
    void SetDefaults();
    // Paints the meter into a DC, advancing the fall by the time since the last paint.
    void Paint(HDC dc);
    // Paint as at a given millisecond clock (the clock itself for Paint).
    void PaintAt(HDC dc, DWORD now);
    // The row (horizontal) or column (vertical) extents of the bars: start and size of bar i.
    void GetBarExtent(int index, int clientSize, int* start, int* size) const;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class SWave;
    // The waves that feed this meter: each is unlinked when the meter goes first.
    void AttachWave(SWave* wave);
    void DetachWave(SWave* wave);
    void RebuildBrushes();

    unsigned char m_vertical;
    unsigned char m_tick;
    COLORREF m_backColor;
    COLORREF m_lowColor;
    COLORREF m_highColor;
    HBRUSH m_backBrush;
    HBRUSH m_lowBrush;
    int m_minimum;
    int m_maximum;
    SArray<int> m_values;
    SArray<double> m_shown;
    SArray<unsigned long long> m_peaks;
    double m_fallRate;
    unsigned m_tickHold;
    DWORD m_lastPaint;
    DWORD m_elapsed;
    SArray<SWave*> m_waves;
};

// Sixteen bars from the band feed of a playing wave.
class SVisualizationCtrl : public SWnd
{
public:
    enum : int
    {
        BandCount = 16,
        BandChannels = 6 // rows of the band feed
    };

    SVisualizationCtrl();
    ~SVisualizationCtrl() override;

    // The band callback of a wave: control is the SVisualizationCtrl; always true. Keeps at
    // most BandChannels channels, the rows the feed fills.
    static bool SetData(int count, const unsigned char* peaks, const unsigned char* bands, void* control);
    int GetChannelCount() const { return m_channelCount; }
    // Band k of a channel; 0 when there is none.
    int GetBand(int channel, int band) const;
    int GetPeak(int channel) const;
    // Frees the buffers; the channel count goes back to 1.
    void FreeBuffers();
    void Paint(HDC dc);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int m_channelCount;
    unsigned char* m_peaks;
    unsigned char* m_bands;
};
