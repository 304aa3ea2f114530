// The designer as a user meets it, for the end-to-end test: tool panel, designer
// and property sheet in one frame.
//
//   DesignerHost IN OUT [LEFT TOP [NAME=FILE...]]
//
// Loads the description IN, saves it to OUT after every change notification and
// writes what a user sees besides the description to OUT.state: where the frame,
// the designer and the panel's buttons are on the screen, the selection (primary
// first), the insert tool and the messages the designer showed. NAME=FILE pairs
// are the external controls its EXTERN tool offers. Both files are
// replaced whole, so a reader never sees half of one.
#include <windows.h>

#include <stdlib.h>
#include <string>
#include <utility>
#include <vector>

#include "SDialogEditor.h"
#include "SEditorControls.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SLibrary.h"
#include "SMessages.h"
#include "SDesignerPropertyCtrl.h"

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

// The designer's real input, but its message boxes are noted for the test
// instead of waiting for a user.
class HostInput : public SDesignerInput
{
public:
    explicit HostInput(HostFrame* frame) : m_frame(frame) {}
    int ShowMessage(SWnd* owner, const char* text, const char* caption, UINT type) override;

private:
    HostFrame* m_frame;
};

class HostFrame : public SWnd
{
public:
    HostFrame(const char* output) : m_output(output), m_editor(this), m_input(this)
    {
        SDialogEditor::SetInput(&m_input);
    }
    ~HostFrame() override { SDialogEditor::SetInput(nullptr); }

    // A message the designer showed, as "caption: text".
    void NoteMessage(const char* text, const char* caption)
    {
        m_messages += std::string(caption ? caption : "") + ": " + (text ? text : "") + ";";
        WriteState();
    }

    // An external control for the designer's EXTERN tool, offered once the designer exists.
    void AddExternControl(const std::string& name, const std::string& fileName)
    {
        m_externs.push_back({name, fileName});
    }

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
        m_sheet.SetEditor(&m_editor);
        for (const auto& control : m_externs)
            if (!m_editor.AddExternControl(control.first.c_str(), control.second.c_str()))
                return false;
        RECT panel = {0, 0, kPanelWidth, kFrameHeight};
        if (!m_editor.CreateToolPanel(GetHandle(), &panel))
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
        text += "messages=" + m_messages + "\r\n";
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
        WriteSheetRows(&text);
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
    // The property sheet's rows on the screen: "row.GROUP=" for a title row, and
    // "row.GROUP.ITEM=" the value cell and, after "|", the value as shown.
    void WriteSheetRows(std::string* text)
    {
        for (int row = 0; row < m_sheet.GetVisibleRowCount(); row++)
        {
            int group = m_sheet.RowToGroup(row), index = m_sheet.RowToItem(row);
            RECT cell;
            if (group < 0 || !m_sheet.GetRowRect(&cell, row, index < 0 ? 2 : 1))
                continue;
            m_sheet.ClientToScreenRect(&cell);
            std::string key = "row." + std::string((const char*)m_sheet.GetGroup(group)->name);
            SPropertyCtrl::_SItem* item = m_sheet.GetItem(group, index);
            if (item)
                key += "." + std::string((const char*)item->name);
            *text += key + "=" + RectText(cell);
            if (item)
                *text += "|" + std::string((const char*)m_sheet.GetValueText(item));
            *text += "\r\n";
        }
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
    HostInput m_input;
    SDesignerPropertyCtrl m_sheet;
    std::string m_messages;
    std::vector<std::pair<std::string, std::string>> m_externs;
    int m_saves = 0;
    int m_serial = 0;
};

int HostInput::ShowMessage(SWnd*, const char* text, const char* caption, UINT)
{
    m_frame->NoteMessage(text, caption);
    return IDOK;
}

void HostEditor::OnSelectionChanged(_SCtrl* previous, _SCtrl* current)
{
    SDialogEditor::OnSelectionChanged(previous, current);
    // The owner keeps the panel's buttons in step with the selection.
    RefreshToolPanel();
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
        for (int index = 5; index < __argc; index++)
        {
            std::string pair = __argv[index];
            size_t equals = pair.find('=');
            if (equals != std::string::npos)
                frame.AddExternControl(pair.substr(0, equals), pair.substr(equals + 1));
        }
        if (frame.Open(__argv[1], left, top))
        {
            RunMessageLoop();
            result = 0;
        }
    }
    ExitLibrary();
    return result;
}
