#include "SDialogEditor.h"

#include <commctrl.h>
#include <string.h>

#include "SDraw.h"

namespace
{

struct TypeName
{
    const char* keyword;
    const char* caption;
};

const TypeName kTypeNames[SDialogEditor::TypeCount] = {
    {"DIALOG", "Dialog"},           {"BROWSER", "Browser"},         {"BUTTON", "Button"},
    {"CHECK", "Check"},             {"CODEEDIT", "Code Edit"},      {"COMBO", "Combo"},
    {"EDIT", "Edit"},               {"EXTENDEDLIST", "Extended List"}, {"GROUP", "Group"},
    {"GUI", "GUI"},                 {"IMAGEEDITOR", "Image Editor"}, {"LABEL", "Label"},
    {"LCD", "Lcd"},                 {"LEVEL", "Level"},             {"LIST", "List"},
    {"MEDIA", "Media"},             {"MEDIAPLAYER", "Media Player"}, {"PANEL", "Panel"},
    {"PROGRESS", "Progress"},       {"PROPERTY", "Property"},       {"RADIO", "Radio"},
    {"RICHEDIT", "Rich Edit"},      {"SCROLL", "Scroll"},           {"SLIDER", "Slider"},
    {"SPLITTER", "Splitter"},       {"SPREAD", "Spread"},           {"STATIC", "Static"},
    {"TAB", "Tab"},                 {"TABDOC", "Tab Doc"},          {"TOOLBAR", "Tool Bar"},
    {"TREE", "Tree"},               {"WAVEEDITOR", "Wave Editor"},  {"WINDOW", "Window"},
    {"EXTERN", "External Control"},
};

const int kNoColor = (int)0xFF000000u;

void SetNoColors(SDialogEditor::_SCtrl* record, const char* const* keys, int count)
{
    for (int i = 0; i < count; i++)
        record->SetPropertyInt(keys[i], kNoColor);
}

template <int N>
void SetNoColors(SDialogEditor::_SCtrl* record, const char* const (&keys)[N])
{
    SetNoColors(record, keys, N);
}

} // namespace

SDialogEditor::SDialogEditor()
    : m_dialog(nullptr), m_open(false), m_noPreview(false), m_resources(nullptr)
{
    SetKind(SKIND_DESIGNER);
    Reset();
}

SDialogEditor::~SDialogEditor()
{
    Close();
    Reset();
    ReleaseDesigner();
}

bool SDialogEditor::CanAddControl(_SCtrl*) { return true; }
bool SDialogEditor::CanRemoveControl(_SCtrl*) { return true; }
bool SDialogEditor::CanRenameControl(_SCtrl*, const char*) { return true; }
void SDialogEditor::OnSelectionChanged(_SCtrl*, _SCtrl*)
{
    UpdatePropertySheet();
    RefreshToolPanel();
}
void SDialogEditor::OnControlClick(_SCtrl*) {}
void SDialogEditor::OnFillProperties(SPropertyCtrl*, _SCtrl*) {}
void SDialogEditor::OnPanelCommand(SPanelCtrl*, int, int, SPanelCtrl::_SButton*) {}
void SDialogEditor::OnBuildPopupMenu(SMenu*, _SCtrl*) {}
bool SDialogEditor::LoadResourceByName(const char*, SFile*) { return false; }

bool SDialogEditor::Init(bool noPreview)
{
    m_noPreview = noPreview;
    Close();
    for (int i = 0; i < TypeCount; i++)
    {
        m_types[i].SetId(i);
        m_types[i].Set(kTypeNames[i].keyword, kTypeNames[i].caption);
    }
    InitDesigner();
    LoadDefaultLabels();
    return true;
}

void SDialogEditor::Close()
{
    ClearUndo();
    if (m_open)
    {
        Select(nullptr);
        Reset();
        m_open = false;
        return;
    }
    Reset();
}

void SDialogEditor::Reset()
{
    ResetDesigner();
    m_selection.RemoveAll();
    while (m_controls.GetCount() > 0)
    {
        _SCtrl* record = m_controls.GetAt(0);
        m_controls.RemoveAt(0);
        delete record;
    }
    delete m_dialog;
    m_dialog = nullptr;
    if (m_toolPanel && m_toolPanel->GetHandle())
        OnUpdateToolPanel(m_toolPanel);
}

bool SDialogEditor::SetDialog(const _SCtrl* record)
{
    if (!m_dialog)
        m_dialog = new _SCtrl();
    if (record)
        m_dialog->CopyFrom(*record);
    m_dialog->SetType(TYPE_DIALOG);
    m_dialog->SetDialogFlag(true);
    return true;
}

SDialogEditor::_SCtrl* SDialogEditor::AddControl(bool applyDefaults, const _SCtrl* source, bool keepName,
                                                 bool keepId)
{
    const _SType* type = GetControlTypeInfo(source);
    if (!type)
        return nullptr;
    for (int i = 0; i < m_controls.GetCount(); i++)
        if (m_controls.GetAt(i) == source)
            return nullptr;
    _SCtrl* record = new _SCtrl();
    record->CopyFrom(*source);
    record->SetDialogFlag(false);
    if (!keepId || !IsIDFree(source->GetID()))
        record->SetID(GetFreeID());
    if (!keepName || FindControlByName(source->GetName()))
        record->SetName(MakeUniqueName(type));
    if (applyDefaults)
    {
        record->SetCaption(type->GetCaption());
        record->AddStyle(WS_VISIBLE);
        record->SetPropertyInt("TABINDEX", -1);
        ApplyTypeDefaults(record);
    }
    record->CreatePreview(this);
    m_controls.Add(record);
    if (keepName && keepId)
        return record;
    if (CanAddControl(record))
        return record;
    m_controls.RemoveAt(m_controls.GetCount() - 1);
    delete record;
    return nullptr;
}

void SDialogEditor::ApplyTypeDefaults(_SCtrl* record) const
{
    switch (record->GetType())
    {
    case TYPE_BROWSER:
        record->AddStyle(WS_BORDER);
        record->SetPropertyInt("BROWSER_DIALOGS", 1);
        break;
    case TYPE_BUTTON:
        record->SetWidth(100);
        record->SetHeight(25);
        record->AddStyle(0xF00);
        break;
    case TYPE_CHECK:
    case TYPE_RADIO:
    case TYPE_PROGRESS:
    case TYPE_LABEL:
    case TYPE_MEDIA:
        record->SetHeight(20);
        break;
    case TYPE_EDIT:
        record->SetHeight(20);
        record->AddStyle(ES_AUTOHSCROLL);
        record->AddExStyle(WS_EX_CLIENTEDGE);
        record->SetPropertyInt("TABENABLED", 1);
        break;
    default:
        break;
    }
    switch (record->GetType())
    {
    case TYPE_CODEEDIT:
    {
        static const char* const colors[] = {
            "CODEEDIT_BACKCOLOR", "CODEEDIT_BACKFOCUSCOLOR", "CODEEDIT_BARCOLOR", "CODEEDIT_BARGRAYCOLOR",
            "CODEEDIT_BARCHECKCOLOR", "CODEEDIT_BARMARKCOLOR", "CODEEDIT_TEXTCOLOR", "CODEEDIT_TEXTKEYCOLOR",
            "CODEEDIT_TEXTSTRCOLOR", "CODEEDIT_TEXTUPCOLOR", "CODEEDIT_TEXTCOMMENTCOLOR", "CODEEDIT_HIGHLIGHTCOLOR"};
        record->AddExStyle(WS_EX_CLIENTEDGE);
        record->SetCaption("");
        record->SetPropertyInt("CODEEDIT_BARWIDTH", 20);
        record->SetPropertyInt("CODEEDIT_TABSIZE", 4);
        SetNoColors(record, colors);
        break;
    }
    case TYPE_COMBO:
        record->AddStyle(0x200503);
        break;
    case TYPE_EXTENDEDLIST:
        record->AddStyle(LVS_SINGLESEL);
        record->AddExStyle(WS_EX_CLIENTEDGE);
        break;
    case TYPE_GUI:
        record->SetWidth(500);
        record->SetHeight(400);
        break;
    case TYPE_IMAGEEDITOR:
    case TYPE_PROPERTY:
    case TYPE_SPREAD:
    case TYPE_EXTERN:
    case TYPE_MEDIAPLAYER:
        record->AddExStyle(WS_EX_CLIENTEDGE);
        if (record->GetType() == TYPE_MEDIAPLAYER)
        {
            record->SetWidth(320);
            record->SetHeight(180);
        }
        break;
    case TYPE_LABEL:
        record->SetProperty("LABEL_HALIGN", "_LEFT");
        record->SetProperty("LABEL_VALIGN", "_MIDDLE");
        break;
    case TYPE_LCD:
        record->SetWidth(200);
        record->SetHeight(15);
        record->AddExStyle(WS_EX_STATICEDGE);
        record->SetCaption("BRIGHT LAMP WORKS");
        record->SetPropertyInt("LCD_PIXELWIDTH", 2);
        record->SetPropertyInt("LCD_PIXELHEIGHT", 1);
        record->SetPropertyInt("LCD_CHARCOUNT", 16);
        record->SetPropertyInt("LCD_LINECOUNT", 1);
        record->SetPropertyInt("LCD_SCROLL", 1);
        record->SetPropertyInt("LCD_SCROLLSPEED", 5);
        record->SetPropertyInt("LCD_CELLCOLOR", kNoColor);
        break;
    case TYPE_LEVEL:
    {
        static const char* const colors[] = {"LEVEL_BACKCOLOR", "LEVEL_LOWCOLOR", "LEVEL_HIGHCOLOR"};
        record->SetWidth(40);
        record->AddExStyle(WS_EX_STATICEDGE);
        record->SetPropertyInt("LEVEL_CHANNELCOUNT", 1);
        record->SetPropertyInt("LEVEL_TICK", 1);
        record->SetPropertyInt("LEVEL_VALUE", 0);
        record->SetPropertyInt("LEVEL_MINVALUE", 0);
        record->SetPropertyInt("LEVEL_MAXVALUE", 1000);
        SetNoColors(record, colors);
        break;
    }
    case TYPE_LIST:
        record->AddStyle(0x200102);
        record->AddExStyle(WS_EX_CLIENTEDGE);
        break;
    case TYPE_MEDIA:
        record->SetProperty("MEDIA_HALIGN", "_LEFT");
        record->SetProperty("MEDIA_VALIGN", "_MIDDLE");
        record->SetPropertyInt("MEDIA_WRAPPING", 1);
        record->SetPropertyInt("MEDIA_TRIMMING", 1);
        record->SetPropertyInt("MEDIA_LEFTMARGIN", 2);
        record->SetPropertyInt("MEDIA_TOPMARGIN", 2);
        record->SetPropertyInt("MEDIA_RIGHTMARGIN", 2);
        record->SetPropertyInt("MEDIA_BOTTOMMARGIN", 2);
        record->SetPropertyInt("MEDIA_AUTOSCROLLX", 0);
        record->SetPropertyInt("MEDIA_AUTOSCROLLY", 0);
        record->SetPropertyInt("MEDIA_AUTOSCROLLLOOP", 0);
        record->SetPropertyInt("MEDIA_TAGS", 0);
        record->SetPropertyInt("MEDIA_BUTTON", 0);
        record->SetPropertyInt("MEDIA_CHECKED", 0);
        record->SetPropertyInt("MEDIA_LINKCOLOR", kNoColor);
        break;
    case TYPE_PROGRESS:
        record->SetPropertyInt("PROGRESS_VALUE", 0);
        record->SetPropertyInt("PROGRESS_MINVALUE", 0);
        record->SetPropertyInt("PROGRESS_MAXVALUE", 100);
        break;
    case TYPE_RADIO:
        record->SetPropertyInt("RADIO_GROUP", 0);
        record->SetPropertyInt("RADIO_CHECKED", 0);
        break;
    case TYPE_RICHEDIT:
        record->AddStyle(0x3040C4);
        break;
    case TYPE_SCROLL:
        record->SetHeight(GetSystemMetrics(SM_CYHSCROLL));
        record->SetPropertyInt("SCROLL_VALUE", 0);
        record->SetPropertyInt("SCROLL_MINVALUE", 0);
        record->SetPropertyInt("SCROLL_MAXVALUE", 100);
        break;
    case TYPE_SLIDER:
        record->SetHeight(25);
        record->SetPropertyInt("SLIDER_VALUE", 0);
        record->SetPropertyInt("SLIDER_MINVALUE", 0);
        record->SetPropertyInt("SLIDER_MAXVALUE", 100);
        break;
    case TYPE_SPLITTER:
        record->SetWidth(500);
        record->SetHeight(400);
        record->AddExStyle(WS_EX_CLIENTEDGE);
        record->SetPropertyInt("SPLITTER_COLCOUNT", 2);
        record->SetPropertyInt("SPLITTER_ROWCOUNT", 1);
        record->SetPropertyInt("SPLITTER_WINDOWBACKCOLOR", kNoColor);
        break;
    case TYPE_STATIC:
        record->SetProperty("STATIC_EDGE", "_EDGESUNKENOUTER");
        record->SetPropertyInt("STATIC_LEFTBORDER", 1);
        record->SetPropertyInt("STATIC_TOPBORDER", 1);
        record->SetPropertyInt("STATIC_RIGHTBORDER", 1);
        record->SetPropertyInt("STATIC_BOTTOMBORDER", 1);
        break;
    case TYPE_TAB:
        record->AddStyle(TCS_TOOLTIPS);
        record->SetPropertyInt("TAB_SELECTION", 0);
        record->SetProperty("TAB_CONTENT", "Tab 1 | Tab 2");
        record->SetProperty("TAB_TIPCONTENT", "Tip 1 | Tip 2");
        break;
    case TYPE_TABDOC:
    {
        static const char* const colors[] = {"TABDOC_BACKCOLOR", "TABDOC_BACKSELCOLOR", "TABDOC_TEXTCOLOR",
                                             "TABDOC_TEXTSELCOLOR", "TABDOC_WINDOWBACKCOLOR"};
        record->SetWidth(500);
        record->SetHeight(400);
        record->SetPropertyInt("TABDOC_CLOSE", 1);
        record->SetPropertyInt("TABDOC_MOVE", 1);
        record->SetPropertyInt("TABDOC_SELECTION", 0);
        SetNoColors(record, colors);
        record->SetProperty("TABDOC_CONTENT", "Tab 1 | Tab 2");
        break;
    }
    case TYPE_TOOLBAR:
        record->SetHeight(25);
        record->AddStyle(TBSTYLE_TOOLTIPS);
        record->SetPropertyInt("TOOLBAR_IMAGEWIDTH", 16);
        record->SetPropertyInt("TOOLBAR_IMAGEHEIGHT", 16);
        record->SetProperty("TOOLBAR_CONTENT", "Btn 1 | Btn 2");
        break;
    case TYPE_TREE:
        record->AddStyle(0x17);
        record->AddExStyle(WS_EX_CLIENTEDGE);
        break;
    case TYPE_WAVEEDITOR:
    {
        static const char* const colors[] = {
            "WAVEEDITOR_COLORBACKENABLED", "WAVEEDITOR_COLORBACKDISABLED", "WAVEEDITOR_COLORLINE",
            "WAVEEDITOR_COLORCARET", "WAVEEDITOR_COLORCARETPLAY", "WAVEEDITOR_COLORWAVEENABLED",
            "WAVEEDITOR_COLORWAVEDISABLED", "WAVEEDITOR_COLORPROGRESSBACK", "WAVEEDITOR_COLORPROGRESSSTART",
            "WAVEEDITOR_COLORPROGRESSEND"};
        record->AddExStyle(WS_EX_CLIENTEDGE);
        record->SetPropertyInt("WAVEEDITOR_POPUPMENU", 1);
        SetNoColors(record, colors);
        break;
    }
    case TYPE_WINDOW:
        record->AddExStyle(WS_EX_STATICEDGE);
        break;
    default:
        break;
    }
}

SDialogEditor::_SCtrl* SDialogEditor::GetControl(int index) const
{
    if (index < 0 || index >= m_controls.GetCount())
        return nullptr;
    return m_controls.GetAt(index);
}

SDialogEditor::_SCtrl* SDialogEditor::FindControlByID(int id) const
{
    for (int i = 0; i < m_controls.GetCount(); i++)
        if (m_controls.GetAt(i)->GetID() == id)
            return m_controls.GetAt(i);
    return nullptr;
}

SDialogEditor::_SCtrl* SDialogEditor::FindControlByName(const char* name) const
{
    if (!name)
        return nullptr;
    for (int i = 0; i < m_controls.GetCount(); i++)
        if (m_controls.GetAt(i)->HasName(name))
            return m_controls.GetAt(i);
    return nullptr;
}

bool SDialogEditor::IsLayeredDialog() const
{
    return m_dialog && m_dialog->GetPropertyInt("DIALOG_LAYER") != 0;
}

const SDialogEditor::_SType* SDialogEditor::FindControlType(const char* keyword) const
{
    if (!keyword)
        return nullptr;
    for (int i = 0; i < TypeCount; i++)
        if (!m_types[i].GetName().IsEmpty() && m_types[i].GetName().CompareNoCase(keyword) == 0)
            return &m_types[i];
    return nullptr;
}

const SDialogEditor::_SType* SDialogEditor::GetTypeInfo(int type) const
{
    for (int i = 0; i < TypeCount; i++)
        if (m_types[i].GetType() == type && !m_types[i].GetName().IsEmpty())
            return &m_types[i];
    return nullptr;
}

const SDialogEditor::_SType* SDialogEditor::GetControlTypeInfo(const _SCtrl* record) const
{
    return record ? GetTypeInfo(record->GetType()) : nullptr;
}

bool SDialogEditor::IsIDFree(int id) const
{
    return FindControlByID(id) == nullptr;
}

int SDialogEditor::GetFreeID() const
{
    for (int id = 1; id <= 9999; id++)
        if (IsIDFree(id))
            return id;
    return -1;
}

bool SDialogEditor::IsNameFree(const char* name) const
{
    return IsIdentifier(name) && !FindControlByName(name);
}

SString SDialogEditor::MakeUniqueName(const _SType* type) const
{
    if (!type)
        return SString();
    for (int i = 1; i <= 9999; i++)
    {
        SString name;
        name.Format("%s%d", (const char*)type->GetName(), i);
        if (IsNameFree(name))
            return name;
    }
    return SString();
}

int SDialogEditor::CollectControls(int type, SArray<_SCtrl*>* records, SArray<int>* ids, SStringArray* names,
                                   SStringArray* idNames) const
{
    int count = 0;
    for (int i = 0; i < m_controls.GetCount(); i++)
    {
        _SCtrl* record = m_controls.GetAt(i);
        if (type != -1 && record->GetType() != type)
            continue;
        count++;
        if (records)
            records->Add(record);
        if (ids)
            ids->Add(record->GetID());
        if (names)
            names->Add(record->GetName());
        if (idNames)
        {
            SString text;
            text.Format("%d|%s", record->GetID(), (const char*)record->GetName());
            idNames->Add(text);
        }
    }
    return count;
}

bool SDialogEditor::_SCtrl::CreatePreview(SDialogEditor* editor)
{
    if (!editor || editor->IsPreviewOff())
        return false;
    SWnd* window = SDialogEditor::CreateControl(nullptr, editor->GetHandle(), this, editor->GetResourceLoader(), false);
    if (!window)
        return false;
    delete m_wnd;
    m_wnd = window;
    m_wnd->MoveWindow(0, 0, m_width, m_height, true);
    if (m_font)
    {
        DeleteObject(m_font);
        m_font = nullptr;
    }
    if (!m_fontFace.IsEmpty())
    {
        m_font = CreatePointFont(nullptr, m_fontFace, m_fontSize, (int)m_fontStyle);
        if (m_font)
            m_wnd->SetFont(m_font, true);
    }
    return true;
}

LRESULT SDialogEditor::_SWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PRINTCLIENT && wParam)
        EraseBackground((HDC)wParam, (HDC)wParam);
    return SWnd::OnMessage(msg, wParam, lParam);
}
