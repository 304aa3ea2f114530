#pragma once
// A designer window in a visible parent, scripted mouse and key input for its
// drags and keys, and small helpers to build descriptions and read pixels.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../window/PumpSupport.h"
#include "SDialogEditor.h"
#include "SFileMem.h"

// Input for the designer's drags and keys: a list of pointer positions with the
// left button held; each wait moves to the next one; past the end the button is up.
class SScriptedInput : public SDesignerInput
{
public:
    struct Step
    {
        POINT screen;
        bool left;
        bool escape;
    };

    bool IsKeyDown(int key) override
    {
        switch (key)
        {
        case VK_LBUTTON: return m_index < m_steps.size() && m_steps[m_index].left;
        case VK_ESCAPE: return m_index < m_steps.size() && m_steps[m_index].escape;
        case VK_CONTROL: return ctrl;
        case VK_SHIFT: return shift;
        default: return false;
        }
    }
    POINT GetCursorPos() override
    {
        if (m_steps.empty())
            return POINT{0, 0};
        return m_steps[m_index < m_steps.size() ? m_index : m_steps.size() - 1].screen;
    }
    void WaitForInput(DWORD) override
    {
        if (m_index < m_steps.size())
            m_index++;
        waits++;
    }

    // A drag through client points of the window, the button released after the last.
    void Drag(SWnd* window, std::vector<POINT> points, bool escapeAtEnd = false)
    {
        m_steps.clear();
        m_index = 0;
        for (POINT point : points)
        {
            window->ClientToScreen(&point);
            m_steps.push_back({point, true, false});
        }
        if (escapeAtEnd && !m_steps.empty())
            m_steps.back().escape = true;
        // The release point is the last position.
        if (!m_steps.empty())
            m_steps.push_back({m_steps.back().screen, false, false});
    }
    // A click: the button is already up when the handler polls it.
    void Click(SWnd* window, POINT point) { Drag(window, {}); m_steps.push_back({Screen(window, point), false, false}); }

    // Menus are recorded, never tracked.
    bool TrackMenu(SMenu* menu, SWnd*, POINT screen) override
    {
        trackedMenus.push_back(menu);
        menuPoints.push_back(screen);
        return true;
    }
    // Message boxes are recorded and answered with OK.
    int ShowMessage(SWnd*, const char* text, const char* caption, UINT type) override
    {
        messages.push_back({std::string(caption ? caption : ""), std::string(text ? text : "")});
        messageTypes.push_back(type);
        return IDOK;
    }
    // A modal run is refused unless a test asks for the real one (and closes the window itself).
    int RunModal(SWnd* dialog) override
    {
        modalRuns++;
        return runModal ? runModal(dialog) : 0;
    }

    bool ctrl = false;
    bool shift = false;
    int waits = 0;
    std::vector<SMenu*> trackedMenus;
    std::vector<POINT> menuPoints;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<UINT> messageTypes;
    int modalRuns = 0;
    std::function<int(SWnd*)> runModal;

private:
    static POINT Screen(SWnd* window, POINT point)
    {
        window->ClientToScreen(&point);
        return point;
    }
    std::vector<Step> m_steps;
    size_t m_index = 0;
};

// The designer with its hooks recorded and answered as a test asks.
class STestEditor : public SDialogEditor
{
public:
    bool CanAddControl(_SCtrl* record) override
    {
        addAsked++;
        return refuseAdd ? false : SDialogEditor::CanAddControl(record);
    }
    bool CanRemoveControl(_SCtrl* record) override
    {
        removeAsked.push_back(record ? record->GetID() : -1);
        for (int id : refuseRemoveIds)
            if (record && record->GetID() == id)
                return false;
        return true;
    }
    void OnSelectionChanged(_SCtrl* previous, _SCtrl* current) override
    {
        changes.push_back({previous, current});
        SDialogEditor::OnSelectionChanged(previous, current);
    }
    void OnControlClick(_SCtrl* record) override { clicked.push_back(record); }
    void OnPanelCommand(SPanelCtrl*, int group, int button, SPanelCtrl::_SButton*) override
    {
        panelCommands.push_back({group, button});
    }
    void OnBuildPopupMenu(SMenu*, _SCtrl* primary) override
    {
        popupBuilt++;
        popupPrimary = primary;
    }

    bool refuseAdd = false;
    int addAsked = 0;
    std::vector<int> refuseRemoveIds;
    std::vector<int> removeAsked;
    std::vector<std::pair<_SCtrl*, _SCtrl*>> changes;
    std::vector<_SCtrl*> clicked;
    std::vector<std::pair<int, int>> panelCommands;
    int popupBuilt = 0;
    _SCtrl* popupPrimary = nullptr;
};

// A visible top-level window holding the designer; counts the change notifications.
class SDesignerHost : public SWnd
{
public:
    bool CreateHost(int width, int height)
    {
        RECT rect = {40, 40, 40 + width, 40 + height};
        if (!Create("designer test", WS_POPUP | WS_VISIBLE, 0, &rect, nullptr))
            return false;
        SetClientSize(width, height);
        return true;
    }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_S_CHANGED)
            changes++;
        return SWnd::OnMessage(msg, wParam, lParam);
    }
    int changes = 0;
};

// One control section of a description.
struct SControlText
{
    const char* keyword;
    int id;
    const char* name;
    int x, y, width, height;
    std::string extra;
};

inline std::string DescriptionText(int width, int height, const std::vector<SControlText>& controls,
                                   const std::string& dialogExtra = "")
{
    std::string text = "TAVRIN DIALOG 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nNAME=Form\r\nCAPTION=Form\r\n";
    text += "POSITION=0 0 " + std::to_string(width) + " " + std::to_string(height) + "\r\n";
    text += "STYLE=WS_VISIBLE \r\n" + dialogExtra + "\r\n";
    for (const SControlText& control : controls)
    {
        text += std::string("[") + control.keyword + "]\r\nID=" + std::to_string(control.id) + "\r\nNAME=" +
                control.name + "\r\nCAPTION=" + control.name + "\r\nPOSITION=" + std::to_string(control.x) + " " +
                std::to_string(control.y) + " " + std::to_string(control.width) + " " +
                std::to_string(control.height) + "\r\nSTYLE=WS_VISIBLE \r\n" + control.extra + "\r\n";
    }
    return text;
}

inline bool LoadDescription(SDialogEditor& editor, const std::string& text)
{
    SFileMem stream;
    stream.Allocate(0);
    stream.Write(text.data(), (int)text.size());
    stream.Rewind();
    return editor.Load(&stream);
}

// The description as the designer saves it.
inline std::string SavedText(SDialogEditor& editor)
{
    SFileMem stream;
    stream.Allocate(0);
    if (!editor.Save(&stream))
        return std::string();
    return std::string((const char*)stream.GetBuffer(), (size_t)stream.GetSize());
}

// The one host window of the test program: destroying a visible top-level window costs Wine
// seconds, so it lives until the process ends.
inline SDesignerHost& SharedHost()
{
    static SDesignerHost* host = nullptr;
    if (!host)
    {
        host = new SDesignerHost;
        host->CreateHost(600, 500);
    }
    return *host;
}

// The designer window in the shared host, with the scripted input installed for the test's life.
class SDesignerFixture
{
public:
    SDesignerFixture(int width = 500, int height = 400) : host(SharedHost())
    {
        SDialogEditor::SetInput(&input);
        RECT rect = {0, 0, width, height};
        editor.Create("", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, &rect, host.GetHandle());
        PumpPending();
        host.changes = 0;
    }
    ~SDesignerFixture()
    {
        SDialogEditor::SetInput(nullptr);
        editor.Destroy();
        PumpPending();
    }
    bool Load(const std::string& text)
    {
        bool loaded = LoadDescription(editor, text);
        editor.UpdateLayout();
        host.changes = 0;
        editor.changes.clear();
        return loaded;
    }
    // Client point of a design point.
    POINT Client(int x, int y)
    {
        POINT point = {x, y};
        editor.UpdateLayout();
        editor.DesignToClient(&point);
        return point;
    }
    LRESULT Send(UINT msg, WPARAM wParam, POINT point)
    {
        return editor.SendMessage(msg, wParam, MAKELPARAM(point.x, point.y));
    }
    SDialogEditor::_SCtrl* Control(const char* name) { return editor.FindControlByName(name); }

    SScriptedInput input;
    SDesignerHost& host;
    STestEditor editor;
};

// A 32-bit top-down memory bitmap to paint into and read back.
class SPixelCanvas
{
public:
    SPixelCanvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = ::GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        ::ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~SPixelCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC GetDC() const { return m_dc; }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return CLR_INVALID;
        uint32_t value = m_bits[y * m_width + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
    void Fill(COLORREF color)
    {
        RECT all = {0, 0, m_width, m_height};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};
