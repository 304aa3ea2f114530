#include "PWndSetting.h"

#include "PWndApp.h"
#include "SCheckCtrl.h"
#include "SCodeEditCtrl.h"
#include "SControl.h"
#include "SFileMem.h"
#include "SMediaCtrl.h"
#include "SMessages.h"
#include "SStringParser.h"

PWndSetting::PWndSetting()
    : m_folder(nullptr), m_images(nullptr), m_toolbar(nullptr), m_autoHide(nullptr), m_taskbar(nullptr),
      m_taskText(nullptr), m_emails(nullptr), m_taskColor(0), m_filled(false)
{
}

bool PWndSetting::Build(HWND owner)
{
    SFileMem description;
    if (!description.LoadResource("BINARY", 162))
        return false;
    if (!CreateFromResource(&description, owner, nullptr, true, nullptr, nullptr, nullptr, nullptr, true))
        return false;
    m_picker.SetOwner(GetHandle());
    m_folder = GetControlByName("EDIT_FOLDER");
    m_images = GetControlByName("EDIT_IMAGES");
    m_toolbar = dynamic_cast<SCheckCtrl*>(GetControlByName("CHECK_TOOLBAR"));
    m_autoHide = dynamic_cast<SCheckCtrl*>(GetControlByName("CHECK_AUTOHIDE"));
    m_taskbar = dynamic_cast<SCheckCtrl*>(GetControlByName("CHECK_TASKBAR"));
    m_taskText = dynamic_cast<SMediaCtrl*>(GetControlByName("TASK_TEXT"));
    m_emails = dynamic_cast<SCodeEditCtrl*>(GetControlByName("EDIT_EMAILS"));
    Fill();
    return true;
}

void PWndSetting::SetControlText(const char* name, const char* text)
{
    if (SWnd* control = GetControlByName(name))
        control->SetWindowText(text);
}

void PWndSetting::Fill()
{
    if (m_filled)
        return;
    m_filled = true;
    SetWindowText("Preferences");
    SetControlText("CANCEL", "Cancel");
    SetControlText("GRP_GENERAL", "General");
    SetControlText("TXT_FOLDER", "Folder:");
    SetControlText("TXT_IMAGES", "Images:");
    SetControlText("TXT_OPTIONS", "Options:");
    SetControlText("BTN_FOLDERDEF", "Default");
    SetControlText("CHECK_TOOLBAR", "Small Icons");
    SetControlText("CHECK_AUTOHIDE", "Auto Hide Window after playing from thumbnail");
    SetControlText("GRP_TASKBAR", "Taskbar");
    SetControlText("CHECK_TASKBAR", "Show Taskbar");
    SetControlText("TXT_TASKTEXT", "Text Color");

    if (m_folder)
        m_folder->SetWindowText(SRegistry::ReadString(HKEY_CURRENT_USER, kSettingsKey, "Folder"));
    if (m_images)
        m_images->SetWindowText(SRegistry::ReadString(HKEY_CURRENT_USER, kSettingsKey, "Images"));
    if (m_toolbar)
        m_toolbar->SetChecked(SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "ToolBar"));
    if (m_autoHide)
        m_autoHide->SetChecked(SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "AutoHideAfterPlay"));
    if (m_taskbar)
        m_taskbar->SetChecked(SRegistry::ReadBool(HKEY_CURRENT_USER, kSettingsKey, "Taskbar"));
    m_taskColor = (unsigned)SRegistry::ReadInt(HKEY_CURRENT_USER, kSettingsKey, "TaskbarColor");
    if (m_taskText)
        m_taskText->SetBackColor(m_taskColor);
    if (m_emails)
    {
        SStringParser parser(SRegistry::ReadString(HKEY_CURRENT_USER, kSettingsKey, "Emails"));
        SStringArray addresses;
        parser.Parse(";", 1, '"', &addresses);
        SString text;
        for (int i = 0; i < addresses.GetCount(); i++)
        {
            if (i > 0)
                text += "\r\n";
            text += addresses.GetAt(i);
        }
        m_emails->New();
        if (!text.IsEmpty())
            m_emails->InsertText(text);
    }
}

bool PWndSetting::IsCheckTicked(const char* name) const
{
    SCheckCtrl* check = dynamic_cast<SCheckCtrl*>(GetControlByName(name));
    return check && check->IsChecked();
}

SString PWndSetting::GetEmails() const
{
    SString joined;
    if (!m_emails)
        return joined;
    for (int i = 0; i < m_emails->GetLineCount(); i++)
    {
        SString* line = m_emails->GetLineText(i);
        if (!line)
            continue;
        SString text = *line;
        text.TrimRight();
        text.TrimLeft();
        if (text.IsEmpty())
            continue;
        joined += text;
        joined += ";";
    }
    if (!joined.IsEmpty())
        joined = joined.Left(joined.GetLength() - 1);
    return joined;
}

void PWndSetting::Store()
{
    SRegistry::WriteString(HKEY_CURRENT_USER, kSettingsKey, "Folder", m_folder ? m_folder->GetText() : SString());
    SRegistry::WriteString(HKEY_CURRENT_USER, kSettingsKey, "Images", m_images ? m_images->GetText() : SString());
    SRegistry::WriteBool(HKEY_CURRENT_USER, kSettingsKey, "ToolBar", IsCheckTicked("CHECK_TOOLBAR"));
    SRegistry::WriteBool(HKEY_CURRENT_USER, kSettingsKey, "AutoHideAfterPlay", IsCheckTicked("CHECK_AUTOHIDE"));
    SRegistry::WriteBool(HKEY_CURRENT_USER, kSettingsKey, "Taskbar", IsCheckTicked("CHECK_TASKBAR"));
    SRegistry::WriteInt(HKEY_CURRENT_USER, kSettingsKey, "TaskbarColor", (int)m_taskColor);
    SRegistry::WriteString(HKEY_CURRENT_USER, kSettingsKey, "Emails", GetEmails());
}

LRESULT PWndSetting::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_MODAL_START:
        Fill();
        break;
    case ControlMessage(SBLOCK_BUTTON, 1):
    {
        SString name = GetControlName((SWnd*)wParam);
        if (name.Compare("BTN_FOLDER") == 0 && m_folder)
        {
            SString chosen = m_picker.BrowseFolder("Choose your root folder...", m_folder->GetText());
            if (!chosen.IsEmpty())
                m_folder->SetWindowText(chosen);
        }
        else if (name.Compare("BTN_FOLDERDEF") == 0 && m_folder)
            m_folder->SetWindowText("");
        break;
    }
    case WM_S_MEDIA_MOUSE:
    {
        const int* code = (const int*)lParam;
        if (code && *code == 0x21 && (SWnd*)wParam == m_taskText && m_taskText)
        {
            if (m_picker.ChooseColor(m_taskColor, true, false, true))
            {
                m_taskColor = m_picker.GetColor();
                m_taskText->SetBackColor(m_taskColor);
                m_taskText->InvalidateRect();
            }
        }
        break;
    }
    default:
        break;
    }
    return SWndDialog::OnMessage(msg, wParam, lParam);
}
