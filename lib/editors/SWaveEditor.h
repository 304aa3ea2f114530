#pragma once
// The wave editor control: shows a wave as one line per channel, selects a range
// of frames on one channel or all, plays the selection and edits it through a
// wave clipboard shared by every editor of the process.
#include <windows.h>
#include <stdint.h>

#include "SArray.h"
#include "SMenu.h"
#include "SWave.h"
#include "SWnd.h"

class SWaveEditor : public SWnd
{
public:
    // The editor's wave: redraws the editor while it plays and when it stops.
    class _SWave : public SWave
    {
    public:
        explicit _SWave(SWaveEditor* editor) : m_editor(editor) {}
        void OnProgress() override;
        void OnStopped() override;

    private:
        SWaveEditor* m_editor;
    };

    enum : int
    {
        CommandCut = 1000, CommandCopy = 1001, CommandPaste = 1002, CommandPlay = 1003, CommandPause = 1004,
        CommandStop = 1005, CommandDelete = 1006, CommandRepeat = 1007
    };
    // The mouse notification of the editor: block 35 of the library messages.
    static constexpr UINT MouseMessage = WM_APP + 3000 + 10 * 35;

    SWaveEditor();
    ~SWaveEditor() override;

    // --- colours (0xFF000000 keeps a colour) ---
    void SetLineColors(unsigned line, unsigned caret, unsigned caretPlay);
    void SetBackColors(unsigned enabled, unsigned disabled);
    void SetWaveColors(unsigned enabled, unsigned disabled);
    void SetProgressColors(unsigned back, unsigned start, unsigned end);
    void SetDefaultColors();
    // The ten colours in member order: back enabled, back disabled, progress back,
    // progress start, progress end, line, wave enabled, wave disabled, caret, caret play.
    COLORREF GetColor(int index) const { return index >= 0 && index < 10 ? m_colors[index] : 0; }
    void SetPopupMenu(bool on) { m_popupMenu = on ? 1 : 0; }
    bool GetPopupMenu() const { return m_popupMenu != 0; }
    SMenu* GetMenu() { return &m_menu; }

    // --- wave ---
    // Loads a WAVE stream into the editable store; false (empty view) when refused.
    bool LoadFile(SFile* stream);
    // A new empty 16-bit wave of that many channels at 44100 Hz.
    bool NewWave(int channels);
    void CloseWave();
    // Close, default colours, view reset.
    void ResetAll();
    // Channel -1, empty selection, no muted channels.
    void ResetView();
    _SWave* GetWave() { return &m_wave; }
    // The wave clipboard shared by the editors of the process (null when none lives).
    static SFile* GetClipboard();

    // --- selection and channels ---
    void Select(unsigned start, unsigned length);
    void SelectAll();
    unsigned GetSelStart() const { return m_selStart; }
    unsigned GetSelLength() const { return m_selLength; }
    int GetChannel() const { return m_channel; }
    void SetChannel(int channel, bool redraw);
    void ToggleMute(int channel, bool redraw);
    void UnmuteAll(bool redraw);
    bool IsChannelMuted(int channel) const;
    // X of a frame (-1 without a wave or past the length); length 0 means the wave's.
    int FrameToX(uint64_t frame, unsigned length = 0) const;
    int64_t XToFrame(int x) const;

    // --- playback ---
    bool PlaySelection();
    void StopPlay();
    void SetRepeat(bool repeat);
    bool GetRepeat() const { return m_repeat != 0; }

    // --- edits over the selection ---
    bool CutClip();
    bool CopyClip();
    bool PasteClip();
    bool DeleteSelection();
    bool SilenceSelection();
    bool Amplify(double factor);
    bool Touch();

    // --- painting ---
    // Rebuilds the cached image of the wave.
    void RenderWave();
    void Paint(HDC dc);
    // The progress bar of a long edit at percent over the snapshot.
    void DrawProgress(int percent);

    void OnCut() override;
    void OnCopy() override;
    void OnPaste() override;
    void OnDelete() override;
    void OnSelectAll() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    enum Color
    {
        BackEnabled, BackDisabled, ProgressBack, ProgressStart, ProgressEnd, Line, WaveEnabled, WaveDisabled,
        Caret, CaretPlay
    };
    void RebuildObjects();
    void FreeObjects();
    void Rebuild();
    // After an edit: redraws, and announces the change when it succeeded; returns ok.
    bool EditDone(bool ok);
    bool BeginEdit();
    void BeginProgress();
    void EndProgress();
    static bool OnEditProgress(int percent, void* editor);
    void TrackSelection(int x);
    void OnKey(int key);
    void OnCommand(int id);
    // The vertical extent of the selected channel (the whole height for -1).
    void ChannelBand(int channel, int* top, int* height) const;
    void SyncMuted();

    SMenu m_menu;
    HBITMAP m_image;
    HBITMAP m_snapshot;
    COLORREF m_colors[10];
    HPEN m_wavePen;
    HPEN m_waveDisabledPen;
    HPEN m_linePen;
    HPEN m_caretPen;
    HPEN m_caretPlayPen;
    HBRUSH m_backBrush;
    HBRUSH m_backDisabledBrush;
    HBRUSH m_progressBrush;
    unsigned char m_popupMenu;
    unsigned char m_repeat;
    _SWave m_wave;
    int m_channel;
    unsigned m_selStart;
    unsigned m_selLength;
    unsigned m_editLength;
    SArray<int> m_muted;
};
