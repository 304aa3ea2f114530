// The designer as a user meets it, for the end-to-end test: tool panel, designer
// and property sheet in one frame.
//
//   DesignerHost IN OUT [LEFT TOP]
//
// Loads the description IN, saves it to OUT after every change notification and
// writes what a user sees besides the description to OUT.state: where the frame,
// the designer and the panel's buttons are on the screen, the selection (primary
// first), the insert tool and the messages the designer showed. Both files are
// replaced whole, so a reader never sees half of one.
#include <windows.h>

#include <stdlib.h>
#include <string>

#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SLibrary.h"
#include "SMessages.h"
#include "SPanelCtrl.h"
#include "SPropertyCtrl.h"

namespace
{

const int kFrameWidth = 960;
const int kFrameHeight = 470;
const int kPanelWidth = 170;
const int kSheetWidth = 270;

std::string RectText(RECT rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

// Writes a whole file under a temporary name, then puts it in place.
bool ReplaceFile(const std::string& path, const void* data, int size)
{
    std::string temporary = path + ".tmp";
    {
        SFilePath file;
        if (!file.Open(temporary.c_str(), true, true, false))
            return false;
        if (size > 0 && file.Write(data, size) != size)
            return false;
    }
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

class HostFrame;

// The designer with the host listening to its selection.
class HostEditor : public SDialogEditor
{
public:
    explicit HostEditor(HostFrame* frame) : m_frame(frame) {}
    void OnSelectionChanged(_SCtrl* previous, _SCtrl* current) override;
    void OnPanelCommand(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record) override;

private:
    HostFrame* m_frame;
};

// The tool panel's control group: picks the insert tool as the designer's own panel does.
class HostToolPanel : public SPanelCtrl
{
public:
    explicit HostToolPanel(SDialogEditor* editor) : m_editor(editor) {}
    void OnButtonClick(int groupId, int buttonId, _SButton* button) override
    {
        if (groupId == 0 && CheckRadioButton(0, buttonId))
            m_editor->SetInsertTool(buttonId == 0 ? -1 : buttonId);
        m_editor->OnPanelCommand(this, groupId, buttonId, button);
        SPanelCtrl::OnButtonClick(groupId, buttonId, button);
    }

private:
    SDialogEditor* m_editor;
};

class HostFrame : public SWnd
{
public:
    HostFrame(const char* output) : m_output(output), m_editor(this) {}

    bool Open(const char* input, int left, int top)
    {
        RECT frame = {left, top, left + kFrameWidth, top + kFrameHeight};
        if (!Create("Designer Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, &frame, nullptr))
            return false;
        RECT designer = {kPanelWidth, 0, kFrameWidth - kSheetWidth, kFrameHeight};
        if (!m_editor.Create("", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, &designer, GetHandle()))
            return false;
        RECT sheet = {kFrameWidth - kSheetWidth, 0, kFrameWidth, kFrameHeight};
        if (!m_sheet.CreateChildNoCaption(WS_VISIBLE | WS_BORDER, 0, &sheet, GetHandle()))
            return false;
        if (!CreatePanel())
            return false;
        SFilePath file;
        if (!file.Open(input, false, false, true) || !m_editor.Load(&file))
            return false;
        m_editor.SetFocus();
        m_editor.RedrawDesigner();
        Save();
        return true;
    }

    // Everything the test reads besides the description.
    void WriteState()
    {
        std::string text;
        RECT rect;
        GetWindowRect(&rect);
        text += "frame=" + RectText(rect) + "\r\n";
        m_editor.GetClientRect(&rect);
        m_editor.ClientToScreenRect(&rect);
        text += "designer=" + RectText(rect) + "\r\n";
        m_editor.UpdateLayout();
        POINT origin = {0, 0};
        m_editor.DesignToClient(&origin);
        m_editor.ClientToScreen(&origin);
        text += "origin=" + std::to_string(origin.x) + "," + std::to_string(origin.y) + "\r\n";
        text += "selection=";
        for (int index = 0; index < m_editor.GetSelectedCount(); index++)
            text += (index ? " " : "") + std::string((const char*)m_editor.GetSelected(index)->GetName());
        text += "\r\ntool=" + std::to_string(m_editor.GetInsertTool()) + "\r\n";
        text += "focus=" + std::string(m_editor.HasFocus() ? "1" : "0") + "\r\n";
        text += "saves=" + std::to_string(m_saves) + "\r\n";
        SPanelCtrl* panel = m_editor.GetToolPanel();
        for (int group = 0; panel && group < panel->GetGroupCount(); group++)
        {
            SPanelCtrl::_SGroup* entry = panel->GetGroup(group);
            for (int index = 0; entry && index < entry->buttons.GetCount(); index++)
            {
                SPanelCtrl::_SButton* button = entry->buttons.GetAt(index);
                if (button->separator)
                    continue;
                RECT place = {button->x, button->y, button->x + button->width, button->y + button->height};
                panel->ClientToScreenRect(&place);
                text += "button." + std::to_string(group) + "." + std::to_string(button->id) + "=" +
                        RectText(place) + "\r\n";
            }
        }
        text += "serial=" + std::to_string(++m_serial) + "\r\n";
        ReplaceFile(m_output + ".state", text.data(), (int)text.size());
    }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg)
        {
        case WM_S_CHANGED:
            Save();
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }

private:
    bool CreatePanel()
    {
        HostToolPanel* panel = new HostToolPanel(&m_editor);
        RECT place = {0, 0, kPanelWidth, kFrameHeight};
        if (!panel->Create(WS_CHILD | WS_VISIBLE, 0, &place, GetHandle()))
        {
            delete panel;
            return false;
        }
        m_editor.SetToolPanel(panel);
        panel->AddGroup(0, "Controls");
        panel->AddButton(0, "Selection");
        for (int type = 1; type < SDialogEditor::TypeCount; type++)
            panel->AddButton(type, m_editor.GetTypeInfo(type)->GetCaption());
        panel->CheckRadioButton(0, 0);
        panel->Layout();
        panel->InvalidateRect();
        return true;
    }

    void Save()
    {
        SFileMem stream;
        stream.Allocate(0);
        if (m_editor.Save(&stream))
        {
            ReplaceFile(m_output, stream.GetBuffer(), stream.GetSize());
            m_saves++;
        }
        WriteState();
    }

    std::string m_output;
    HostEditor m_editor;
    SPropertyCtrl m_sheet;
    int m_saves = 0;
    int m_serial = 0;
};

void HostEditor::OnSelectionChanged(_SCtrl* previous, _SCtrl* current)
{
    SDialogEditor::OnSelectionChanged(previous, current);
    m_frame->WriteState();
}

void HostEditor::OnPanelCommand(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record)
{
    SDialogEditor::OnPanelCommand(panel, group, button, record);
    m_frame->WriteState();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    if (__argc < 3)
        return 2;
    InitLibrary(instance, showCommand, false, false, false);
    SDialogEditor::InstallBuilder();
    RegisterEditorControls();
    int left = __argc >= 5 ? atoi(__argv[3]) : 0;
    int top = __argc >= 5 ? atoi(__argv[4]) : 0;
    int result = 1;
    {
        HostFrame frame(__argv[2]);
        if (frame.Open(__argv[1], left, top))
        {
            RunMessageLoop();
            result = 0;
        }
    }
    ExitLibrary();
    return result;
}
