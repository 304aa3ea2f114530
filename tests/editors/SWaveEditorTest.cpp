#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "../controls/InactiveParent.h"
#include "ChangeParent.h"
#include "../window/InputTestSupport.h"
#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SLevelCtrl.h"
#include "SLibrary.h"
#include "SWaveEditor.h"
#include "SWaveFactory.h"
#include "SWndDialog.h"
#include "WaveTestSupport.h"

namespace
{

struct EditorFixture
{
    ChangeParent parent;
    SWaveEditor editor;
    bool Create(int width = 400, int height = 200)
    {
        if (!CreateInactiveParent(parent, width + 20, height + 20))
            return false;
        RECT rect = {0, 0, width, height};
        return editor.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 9);
    }
    // Loads a stereo 16-bit wave whose left sample is the frame index and right its negation.
    bool LoadRamp(int frames, int value = -1)
    {
        SWaveBytes bytes;
        for (int frame = 0; frame < frames; frame++)
            bytes.Add16({value < 0 ? frame % 30000 : value, value < 0 ? -(frame % 30000) : value});
        SFileMem stream;
        return bytes.Into(&stream) && editor.LoadFile(&stream);
    }
    void Key(int key) { editor.SendMessage(WM_KEYDOWN, (WPARAM)key, 0); }
    // The editor painted into a memory bitmap: the colour of one pixel.
    COLORREF PixelAt(int x, int y)
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        SIZE size = editor.GetClientSize();
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = SelectObject(dc, bitmap);
        editor.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        COLORREF color = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        return color;
    }
};

} // namespace

TEST(SWaveEditor, MenuAndDefaults)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    EXPECT_EQ(f.editor.GetKind(), SKIND_WAVEEDITOR);
    EXPECT_TRUE(f.editor.GetPopupMenu());
    EXPECT_FALSE(f.editor.GetRepeat());
    EXPECT_EQ(f.editor.GetChannel(), -1);
    const int ids[] = {1003, 1005, 1004, 0, 1000, 1001, 1002, 1006, 0, 1007};
    const char* texts[] = {"Play", "Stop", "Pause", "", "Cut", "Copy", "Paste", "Delete", "", "Repeat"};
    ASSERT_EQ(f.editor.GetMenu()->GetItemCount(), 10);
    for (int i = 0; i < 10; i++)
    {
        if (ids[i] == 0)
            continue;
        EXPECT_EQ(f.editor.GetMenu()->GetItemId(i), ids[i]) << i;
        EXPECT_EQ(f.editor.GetMenu()->GetMenuItemText(ids[i]), texts[i]) << i;
    }
    EXPECT_EQ(f.editor.GetColor(0), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(f.editor.GetColor(9), RGB(255, 0, 0));
    EXPECT_NE(SWaveEditor::GetClipboard(), nullptr);
    // No wave: the client is the enabled back colour, and FrameToX has no answer.
    EXPECT_EQ(f.editor.FrameToX(0), -1);
    EXPECT_EQ(f.PixelAt(10, 10), GetSysColor(COLOR_WINDOW));
}

TEST(SWaveEditor, SelectionRules)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.LoadRamp(1000));
    f.editor.Select(1005, 10);
    EXPECT_EQ(f.editor.GetSelStart(), 1000u);
    EXPECT_EQ(f.editor.GetSelLength(), 0u);
    f.editor.Select(990, 50);
    EXPECT_EQ(f.editor.GetSelStart(), 990u);
    EXPECT_EQ(f.editor.GetSelLength(), 10u);
    f.editor.SelectAll();
    EXPECT_EQ(f.editor.GetSelLength(), 1000u);
    EXPECT_EQ(f.editor.FrameToX(500), 200);
    EXPECT_EQ(f.editor.FrameToX(1001), -1);
    EXPECT_EQ(f.editor.XToFrame(100), 250);

    // Mouse: a press without a held button selects its frame; a double click selects all.
    f.editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_EQ(f.editor.GetSelStart(), 250u);
    EXPECT_EQ(f.editor.GetSelLength(), 0u);
    f.editor.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_EQ(f.editor.GetSelLength(), 1000u);
    EXPECT_EQ(f.parent.Received(SWaveEditor::MouseMessage).size(), 2u);
    EXPECT_EQ(SWaveEditor::MouseMessage, 36118u);
}

TEST(SWaveEditor, ArrowAndChannelKeys)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    // 100 frames over 400 pixels: a step of 0, the arrows do not move.
    ASSERT_TRUE(f.LoadRamp(100));
    f.editor.Select(50, 0);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.editor.GetSelStart(), 50u);
    ASSERT_TRUE(f.LoadRamp(4000));
    f.editor.Select(0, 0);
    struct Step
    {
        int key;
        unsigned start, length;
    };
    const Step steps[] = {
        {VK_RIGHT, 10, 0}, {VK_RIGHT, 20, 0}, {VK_LEFT, 10, 0}, {VK_LEFT, 0, 0},
        {VK_LEFT, 0, 0},   {VK_END, 4000, 0}, {VK_HOME, 0, 0},
    };
    for (const Step& s : steps)
    {
        f.Key(s.key);
        EXPECT_EQ(f.editor.GetSelStart(), s.start) << s.key;
        EXPECT_EQ(f.editor.GetSelLength(), s.length) << s.key;
    }
    // Near the start a left step stops at 0 and never wraps to the end.
    f.editor.Select(5, 0);
    f.Key(VK_LEFT);
    EXPECT_EQ(f.editor.GetSelStart(), 0u);
    // With a selection: Right goes to its end, Left to its start, Esc drops it.
    f.editor.Select(100, 50);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.editor.GetSelStart(), 150u);
    f.editor.Select(100, 50);
    f.Key(VK_LEFT);
    EXPECT_EQ(f.editor.GetSelStart(), 100u);
    EXPECT_EQ(f.editor.GetSelLength(), 0u);
    f.editor.Select(100, 50);
    f.Key(VK_ESCAPE);
    EXPECT_EQ(f.editor.GetSelLength(), 0u);

    // Channels: Up and Down cycle through -1, 0, 1; the keypad picks them.
    const struct
    {
        int key;
        int channel;
    } channelKeys[] = {{VK_UP, 1}, {VK_UP, 0}, {VK_UP, -1}, {VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, -1},
                       {VK_NUMPAD2, 1}, {VK_NUMPAD2, -1}, {VK_NUMPAD1, 0}, {VK_NUMPAD3, -1}, {VK_NUMPAD1, 0},
                       {VK_NUMPAD0, -1}};
    for (const auto& c : channelKeys)
    {
        f.Key(c.key);
        EXPECT_EQ(f.editor.GetChannel(), c.channel) << c.key;
    }
}

TEST(SWaveEditor, ModifierKeys)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.LoadRamp(4000));
    KeysReleasedAtEnd release({VK_SHIFT, VK_CONTROL});
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, true));
    f.editor.Select(100, 0);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.editor.GetSelLength(), 10u);
    f.Key(VK_LEFT);
    EXPECT_EQ(f.editor.GetSelStart(), 90u);
    EXPECT_EQ(f.editor.GetSelLength(), 20u);
    f.editor.Select(5, 0);
    f.Key(VK_LEFT);
    EXPECT_EQ(f.editor.GetSelStart(), 0u);
    EXPECT_EQ(f.editor.GetSelLength(), 5u);
    // Shift+Delete silences the selection.
    f.editor.Select(1000, 10);
    int changes = f.parent.changes;
    f.Key(VK_DELETE);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 1005, 0), 0);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 1010, 0), 1010);
    EXPECT_EQ(f.parent.changes, changes + 1);
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, false));

    ASSERT_TRUE(SetKeyDown(VK_CONTROL, true));
    f.Key(VK_NUMPAD2);
    EXPECT_TRUE(f.editor.IsChannelMuted(1));
    f.Key(VK_NUMPAD1);
    EXPECT_TRUE(f.editor.IsChannelMuted(0));
    f.Key(VK_NUMPAD2);
    EXPECT_FALSE(f.editor.IsChannelMuted(1));
    f.Key(VK_NUMPAD5);
    EXPECT_FALSE(f.editor.IsChannelMuted(0));
    f.Key(VK_NUMPAD1);
    f.Key(VK_NUMPAD0);
    EXPECT_FALSE(f.editor.IsChannelMuted(0));
    f.Key('N');
    EXPECT_EQ(f.editor.GetWave()->GetChannelCount(), 1);
    EXPECT_EQ(f.editor.GetWave()->GetLength(), 0u);
    ASSERT_TRUE(SetKeyDown(VK_SHIFT, true));
    f.Key('N');
    EXPECT_EQ(f.editor.GetWave()->GetChannelCount(), 6);
}

TEST(SWaveEditor, ClipboardEditsAndNotices)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.LoadRamp(100));
    EXPECT_FALSE(f.editor.CutClip());
    EXPECT_FALSE(f.editor.DeleteSelection());
    EXPECT_FALSE(f.editor.Amplify(2));
    f.editor.Select(10, 20);
    ASSERT_TRUE(f.editor.CopyClip());
    EXPECT_EQ(f.parent.changes, 0);
    EXPECT_EQ(SWaveEditor::GetClipboard()->GetSize(), 80);
    f.editor.Select(0, 0);
    ASSERT_TRUE(f.editor.PasteClip());
    EXPECT_EQ(f.editor.GetSelStart(), 0u);
    EXPECT_EQ(f.editor.GetSelLength(), 20u);
    EXPECT_EQ(f.editor.GetWave()->GetLength(), 120u);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 0, 0), 10);
    EXPECT_EQ(f.parent.changes, 1);
    ASSERT_TRUE(f.editor.DeleteSelection());
    EXPECT_EQ(f.editor.GetWave()->GetLength(), 100u);
    EXPECT_EQ(f.editor.GetSelLength(), 0u);
    EXPECT_EQ(f.parent.changes, 2);

    // One channel: a cut keeps the length, a paste at the same place opens as many frames.
    f.editor.SetChannel(1, true);
    f.editor.Select(40, 10);
    ASSERT_TRUE(f.editor.CutClip());
    EXPECT_EQ(f.editor.GetWave()->GetLength(), 100u);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 40, 1), -50);
    ASSERT_TRUE(f.editor.PasteClip());
    EXPECT_EQ(f.editor.GetWave()->GetLength(), 110u);
    EXPECT_EQ(f.editor.GetSelLength(), 10u);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 40, 1), -40);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 40, 0), 40);

    // Gain from the keypad on the selection.
    f.editor.SetChannel(-1, true);
    f.editor.Select(20, 1);
    f.Key(VK_ADD);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 20, 0), 30);
    f.Key(VK_SUBTRACT);
    EXPECT_EQ(f.editor.GetWave()->GetSample(nullptr, 20, 0), 22);

    // The edit commands of the menu.
    f.editor.Select(0, 10);
    f.editor.SendMessage(SMENU_COMMAND, 0, SWaveEditor::CommandDelete);
    EXPECT_EQ(f.editor.GetWave()->GetLength(), 100u);
    f.editor.SendMessage(SMENU_COMMAND, 0, SWaveEditor::CommandRepeat);
    EXPECT_TRUE(f.editor.GetRepeat());
    EXPECT_TRUE(f.editor.GetWave()->GetRepeat());
}

TEST(SWaveEditor, PaintsTheWaveAndTheSelection)
{
    EditorFixture f;
    ASSERT_TRUE(f.Create(400, 200));
    // A constant positive wave lies below each band's middle.
    ASSERT_TRUE(f.LoadRamp(44100, 16384));
    COLORREF wave = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(f.PixelAt(200, 75), wave);
    EXPECT_EQ(f.PixelAt(200, 175), wave);
    EXPECT_EQ(f.PixelAt(200, 25), GetSysColor(COLOR_WINDOW));
    // A selected range is inverted.
    f.editor.Select(0, 22050);
    COLORREF back = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(f.PixelAt(100, 25), RGB(255 - GetRValue(back), 255 - GetGValue(back), 255 - GetBValue(back)));
    EXPECT_EQ(f.PixelAt(300, 25), back);
    // One channel selected: the other band is drawn disabled.
    f.editor.SetChannel(0, true);
    EXPECT_EQ(f.PixelAt(300, 125), GetSysColor(COLOR_BTNFACE));

    // An empty wave and a control of no width paint without dividing by zero.
    ASSERT_TRUE(f.editor.NewWave(2));
    EXPECT_EQ(f.editor.FrameToX(0), 0);
    f.PixelAt(0, 0);
    f.editor.SetWindowSize(0, 0);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.editor.XToFrame(10), 0);
    f.PixelAt(0, 0);
}

TEST(SWaveEditor, PlaysAndStops)
{
    ASSERT_NE(GetDirectSound(), nullptr);
    EditorFixture f;
    ASSERT_TRUE(f.Create());
    ASSERT_TRUE(f.LoadRamp(44100));
    f.editor.Select(0, 0);
    f.Key(VK_SPACE);
    EXPECT_TRUE(f.editor.GetWave()->IsPlaying());
    f.Key(VK_SPACE);
    EXPECT_FALSE(f.editor.GetWave()->IsPlaying());
    f.editor.SendMessage(SMENU_COMMAND, 0, SWaveEditor::CommandPlay);
    EXPECT_TRUE(f.editor.GetWave()->IsPlaying());
    f.editor.SendMessage(SMENU_COMMAND, 0, SWaveEditor::CommandPause);
    EXPECT_TRUE(f.editor.GetWave()->IsPaused() || !f.editor.GetWave()->IsPlaying());
    f.editor.SendMessage(SMENU_COMMAND, 0, SWaveEditor::CommandStop);
    EXPECT_FALSE(f.editor.GetWave()->IsPlaying());
    EXPECT_FALSE(f.editor.GetWave()->IsPaused());
    // A muted channel goes to the wave when the selection plays.
    f.editor.ToggleMute(0, true);
    f.editor.Select(100, 200);
    ASSERT_TRUE(f.editor.PlaySelection());
    EXPECT_EQ(f.editor.GetWave()->GetMutedChannels().GetCount(), 1);
    EXPECT_EQ(f.editor.GetWave()->GetPlayEnd(), 300u);
    ASSERT_TRUE(PumpUntil([&] { return !f.editor.GetWave()->IsPlaying(); }));
    // The wheel changes the playback frequency by 500 Hz.
    int changes = f.parent.changes;
    unsigned frequency = f.editor.GetWave()->GetFrequency();
    f.editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(f.editor.GetWave()->GetFrequency(), frequency + 500);
    f.editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA), 0);
    EXPECT_EQ(f.editor.GetWave()->GetFrequency(), frequency);
    EXPECT_EQ(f.parent.changes, changes + 2);
}

TEST(SWaveEditor, FactoryAndLevelLink)
{
    RegisterEditorControls();
    SRecordingParent parent;
    ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
    SDialogEditor::_SCtrl record;
    record.SetType(SDialogEditor::TYPE_WAVEEDITOR);
    record.SetID(31);
    record.SetName("WAVE");
    record.SetWidth(200);
    record.SetHeight(100);
    record.AssignStyle(WS_VISIBLE);
    record.SetExtraProperties("WAVEEDITOR_POPUPMENU=0\r\nWAVEEDITOR_COLORBACKENABLED=255\r\n"
                              "WAVEEDITOR_COLORCARETPLAY=65280\r\nWAVEEDITOR_COLORWAVEDISABLED=16711680\r\n");
    std::unique_ptr<SWnd> control(SDialogEditor::CreateControl(nullptr, parent.GetHandle(), &record, nullptr, false));
    SWaveEditor* editor = dynamic_cast<SWaveEditor*>(control.get());
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->IsVisible());
    EXPECT_FALSE(editor->GetPopupMenu());
    EXPECT_EQ(editor->GetColor(0), RGB(255, 0, 0));
    EXPECT_EQ(editor->GetColor(9), RGB(0, 255, 0));
    EXPECT_EQ(editor->GetColor(7), RGB(0, 0, 255));
    EXPECT_EQ(editor->GetColor(1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(editor->GetUserData(), 31);
    EXPECT_EQ(editor->GetName(), "WAVE");

    // The builder's link: the meter follows the wave's channels.
    SLevelCtrl meter;
    RECT rect = {0, 0, 40, 100};
    ASSERT_TRUE(meter.CreateChildNoCaption(0, 0, &rect, parent.GetHandle(), 13));
    SDialogEditor::LevelLinker linker = SDialogEditor::SetLevelLinker(nullptr);
    SDialogEditor::SetLevelLinker(linker);
    ASSERT_EQ(linker, &LinkWaveEditorToLevel);
    EXPECT_FALSE(linker(&meter, editor));
    ASSERT_TRUE(linker(editor, &meter));
    EXPECT_EQ(editor->GetWave()->GetLevelCtrl(), &meter);
    ASSERT_TRUE(editor->NewWave(6));
    EXPECT_EQ(meter.GetChannelCount(), 6);
    editor->GetWave()->SetLevelCtrl(nullptr);
}

namespace
{

// What the probes saw while a dialog went away.
struct LinkProbe
{
    bool meterGone = false;
    bool editorGone = false;
    // The wave still pointed at a meter that had been freed when its editor went.
    bool staleLink = false;
};
LinkProbe g_probe;

class ProbeMeter : public SLevelCtrl
{
public:
    ~ProbeMeter() override { g_probe.meterGone = true; }
};

class ProbeEditor : public SWaveEditor
{
public:
    ~ProbeEditor() override
    {
        if (g_probe.meterGone && GetWave()->GetLevelCtrl())
            g_probe.staleLink = true;
        g_probe.editorGone = true;
    }
};

class ProbeDialog : public SWndDialog
{
public:
    SWnd* CreateCustomControl(int type, const _SRecord*) override
    {
        if (type == SDialogEditor::TYPE_LEVEL)
            return new ProbeMeter();
        if (type == SDialogEditor::TYPE_WAVEEDITOR)
            return new ProbeEditor();
        return nullptr;
    }
};

std::string ControlSection(const char* keyword, int id, const char* position, const char* extra)
{
    return std::string("[") + keyword + "]\r\nID=" + std::to_string(id) + "\r\nNAME=" + keyword +
           "\r\nPOSITION=" + position + "\r\nSTYLE=WS_VISIBLE \r\n" + extra + "\r\n";
}

} // namespace

TEST(SWaveEditor, LevelLinkIsUndoneWhicheverSideGoesFirst)
{
    ASSERT_NE(GetDirectSound(), nullptr);
    RegisterEditorControls();
    SDialogEditor::InstallBuilder();
    std::string meter = ControlSection("LEVEL", 13, "0 0 20 100", "");
    std::string wave = ControlSection("WAVEEDITOR", 31, "30 0 200 100", "WAVEEDITOR_LEVEL=13\r\n");
    struct Case
    {
        const char* what;
        std::string controls;
        bool playing;
    };
    // The dialog deletes its controls in creation order.
    const Case cases[] = {
        {"meter created first", meter + wave, false},
        {"meter created first, playing", meter + wave, true},
        {"editor created first", wave + meter, false},
        {"editor created first, playing", wave + meter, true},
    };
    for (const Case& c : cases)
    {
        std::string text = "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nNAME=Form\r\nCAPTION=Linked\r\n"
                           "POSITION=0 0 300 200\r\nSTYLE=WS_CAPTION \r\n\r\n" +
                           c.controls;
        SFileMem stream;
        stream.Allocate(0);
        stream.Write(text.data(), (int)text.size());
        g_probe = LinkProbe();
        ProbeDialog dialog;
        ASSERT_TRUE(dialog.CreateFromResource(&stream, nullptr, nullptr, true, nullptr, nullptr, nullptr, nullptr,
                                              true))
            << c.what;
        ProbeEditor* editor = dynamic_cast<ProbeEditor*>(dialog.GetControlById(31));
        ProbeMeter* level = dynamic_cast<ProbeMeter*>(dialog.GetControlById(13));
        ASSERT_TRUE(editor && level) << c.what;
        ASSERT_EQ(editor->GetWave()->GetLevelCtrl(), level) << c.what;
        SWaveBytes bytes;
        for (int frame = 0; frame < 44100; frame++)
            bytes.Add16({frame % 200 - 100, 100 - frame % 200});
        SFileMem samples;
        ASSERT_TRUE(bytes.Into(&samples) && editor->LoadFile(&samples)) << c.what;
        EXPECT_EQ(level->GetChannelCount(), 2) << c.what;
        if (c.playing)
        {
            ASSERT_TRUE(editor->GetWave()->Play(0, 0)) << c.what;
        }
        dialog.Destroy();
        EXPECT_TRUE(g_probe.meterGone && g_probe.editorGone) << c.what;
        EXPECT_FALSE(g_probe.staleLink) << c.what;
    }
    SWndDialog::SetBuilder(nullptr);
}

TEST(SWaveEditor, LevelLinkOutlivesNeitherSide)
{
    ASSERT_NE(GetDirectSound(), nullptr);
    struct Case
    {
        const char* what;
        bool editorFirst; // else the first meter goes while the editor lives
        bool relink;      // the wave moved to a second meter before the first one went
    };
    const Case cases[] = {{"meter freed", false, false},
                          {"meter freed after the wave moved on", false, true},
                          {"editor freed", true, false}};
    for (const Case& c : cases)
    {
        ChangeParent parent;
        ASSERT_TRUE(CreateInactiveParent(parent, 300, 200));
        RECT rect = {0, 0, 200, 100};
        SWaveEditor* editor = new SWaveEditor();
        SLevelCtrl* first = new SLevelCtrl();
        SLevelCtrl second;
        ASSERT_TRUE(editor->CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 9));
        ASSERT_TRUE(first->CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 13));
        ASSERT_TRUE(second.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent.GetHandle(), 14));
        SWaveBytes bytes;
        for (int frame = 0; frame < 4410; frame++)
            bytes.Add16({frame % 200 - 100, 100 - frame % 200});
        SFileMem samples;
        ASSERT_TRUE(bytes.Into(&samples) && editor->LoadFile(&samples)) << c.what;
        SWave* wave = editor->GetWave();
        wave->SetLevelCtrl(first);
        if (c.relink)
            wave->SetLevelCtrl(&second);
        ASSERT_TRUE(wave->Play(0, 0)) << c.what;
        if (c.editorFirst)
        {
            delete editor;
            // The meter goes on without the wave, and goes away cleanly.
            first->SetValue(5, -1, true);
            EXPECT_EQ(first->GetValue(0), 5) << c.what;
            delete first;
            continue;
        }
        delete first;
        EXPECT_EQ(wave->GetLevelCtrl(), c.relink ? &second : nullptr) << c.what;
        // The wave goes on without the freed meter.
        wave->FeedLevel();
        wave->Stop();
        EXPECT_TRUE(wave->Play(0, 0)) << c.what;
        delete editor;
    }
}
