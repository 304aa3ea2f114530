#include "SDialogEditor.h"

#include <stdlib.h>
#include <string.h>

#include "SDraw.h"
#include "SFile.h"

namespace
{

const char kMagic[] = "TAVRIN DIALOG 1.0.0.0";

struct StyleName
{
    const char* name;
    uint32_t value;
};

// Names of each type's STYLE and EXSTYLE bits, in writing order.
const StyleName kDialogStyle[] = {{"WS_BORDER", 0x800000}, {"WS_CAPTION", 0xC00000}, {"WS_SYSMENU", 0x80000},
                                  {"WS_MAXIMIZEBOX", 0x10000}, {"WS_MINIMIZEBOX", 0x20000}, {"WS_SIZEBOX", 0x40000}};
const StyleName kDialogEx[] = {{"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_STATICEDGE", 0x20000},
                               {"WS_EX_TOOLWINDOW", 0x80}, {"WS_EX_TOPMOST", 0x8}};
const StyleName kBorder[] = {{"WS_BORDER", 0x800000}};
const StyleName kEdges[] = {{"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_STATICEDGE", 0x20000}};
const StyleName kButton[] = {{"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300}, {"BS_TOP", 0x400},
                             {"BS_BOTTOM", 0x800}, {"BS_VCENTER", 0xC00}, {"BS_FLAT", 0x8000},
                             {"BS_MULTILINE", 0x2000}, {"BS_DEFPUSHBUTTON", 0x1}};
const StyleName kCombo[] = {{"WS_VSCROLL", 0x200000}, {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2},
                            {"CBS_DROPDOWNLIST", 0x3}, {"CBS_AUTOHSCROLL", 0x40}, {"CBS_DISABLENOSCROLL", 0x800},
                            {"CBS_NOINTEGRALHEIGHT", 0x400}, {"CBS_SORT", 0x100}};
const StyleName kEdit[] = {{"WS_BORDER", 0x800000}, {"WS_HSCROLL", 0x100000}, {"WS_VSCROLL", 0x200000},
                           {"ES_LEFT", 0}, {"ES_CENTER", 0x1}, {"ES_RIGHT", 0x2}, {"ES_AUTOHSCROLL", 0x80},
                           {"ES_AUTOVSCROLL", 0x40}, {"ES_READONLY", 0x800}, {"ES_NOHIDESEL", 0x100},
                           {"ES_LOWERCASE", 0x10}, {"ES_UPPERCASE", 0x8}, {"ES_MULTILINE", 0x4},
                           {"ES_PASSWORD", 0x20}, {"ES_NUMBER", 0x2000}};
const StyleName kExList[] = {{"WS_BORDER", 0x800000}, {"LVS_ICON", 0}, {"LVS_REPORT", 0x1},
                             {"LVS_SMALLICON", 0x2}, {"LVS_LIST", 0x3}, {"LVS_EDITLABELS", 0x200},
                             {"LVS_AUTOARRANGE", 0x100}, {"LVS_SINGLESEL", 0x4}, {"LVS_NOLABELWRAP", 0x80},
                             {"LVS_NOSCROLL", 0x2000}, {"LVS_SHOWSELALWAYS", 0x8}, {"LVS_SORTASCENDING", 0x10},
                             {"LVS_SORTDESCENDING", 0x20}, {"LVS_NOCOLUMNHEADER", 0x4000}};
const StyleName kGroup[] = {{"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300}};
const StyleName kList[] = {{"WS_BORDER", 0x800000}, {"WS_HSCROLL", 0x100000}, {"WS_VSCROLL", 0x200000},
                           {"LBS_MULTIPLESEL", 0x8}, {"LBS_EXTENDEDSEL", 0x800}, {"LBS_NOSEL", 0x4000},
                           {"LBS_DISABLENOSCROLL", 0x1000}, {"LBS_NOINTEGRALHEIGHT", 0x100}, {"LBS_SORT", 0x2}};
const StyleName kProgress[] = {{"PBS_VERTICAL", 0x4}, {"PBS_SMOOTH", 0x1}, {"PBS_MARQUEE", 0x8}};
const StyleName kRich[] = {{"WS_HSCROLL", 0x100000}, {"WS_VSCROLL", 0x200000}, {"ES_LEFT", 0}, {"ES_RIGHT", 0x2},
                           {"ES_CENTER", 0x1}, {"ES_AUTOHSCROLL", 0x80}, {"ES_AUTOVSCROLL", 0x40},
                           {"ES_READONLY", 0x800}, {"ES_NOHIDESEL", 0x100}, {"ES_WANTRETURN", 0x1000},
                           {"ES_SUNKEN", 0x4000}};
const StyleName kRichEx[] = {{"WS_EX_STATICEDGE", 0x20000}};
const StyleName kScroll[] = {{"SBS_VERT", 0x1}};
const StyleName kSlider[] = {{"WS_BORDER", 0x800000}, {"TBS_TOOLTIPS", 0x100}, {"TBS_VERT", 0x2}};
const StyleName kTab[] = {{"TCS_BUTTONS", 0x100}, {"TCS_FLATBUTTONS", 0x8}, {"TCS_FOCUSNEVER", 0x8000},
                          {"TCS_FOCUSONBUTTONDOWN", 0x1000}, {"TCS_TOOLTIPS", 0x4000}};
const StyleName kToolbar[] = {{"WS_BORDER", 0x800000}, {"TBSTYLE_TOOLTIPS", 0x100}};
const StyleName kTree[] = {{"WS_BORDER", 0x800000}, {"TVS_CHECKBOXES", 0x100}, {"TVS_DISABLEDRAGDROP", 0x10},
                           {"TVS_EDITLABELS", 0x8}, {"TVS_FULLROWSELECT", 0x1000}, {"TVS_HASBUTTONS", 0x1},
                           {"TVS_HASLINES", 0x2}, {"TVS_LINESATROOT", 0x4}, {"TVS_SHOWSELALWAYS", 0x20},
                           {"TVS_TRACKSELECT", 0x200}};
const StyleName kCommonStyle[] = {{"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x8000000}};

struct StyleList
{
    const StyleName* names;
    int count;
};

template <int N>
constexpr StyleList List(const StyleName (&names)[N])
{
    return {names, N};
}
constexpr StyleList kNone = {nullptr, 0};

struct TypeStyles
{
    StyleList style;
    StyleList exStyle;
};

// Indexed by type id.
const TypeStyles kTypeStyles[SDialogEditor::TypeCount] = {
    {List(kDialogStyle), List(kDialogEx)}, // DIALOG
    {List(kBorder), kNone},                // BROWSER
    {List(kButton), kNone},                // BUTTON
    {List(kBorder), List(kEdges)},         // CHECK
    {List(kBorder), List(kEdges)},         // CODEEDIT
    {List(kCombo), kNone},                 // COMBO
    {List(kEdit), List(kEdges)},           // EDIT
    {List(kExList), List(kEdges)},         // EXTENDEDLIST
    {List(kGroup), kNone},                 // GROUP
    {List(kBorder), List(kEdges)},         // GUI
    {List(kBorder), List(kEdges)},         // IMAGEEDITOR
    {List(kBorder), List(kEdges)},         // LABEL
    {List(kBorder), List(kEdges)},         // LCD
    {List(kBorder), List(kEdges)},         // LEVEL
    {List(kList), List(kEdges)},           // LIST
    {List(kBorder), List(kEdges)},         // MEDIA
    {List(kBorder), List(kEdges)},         // MEDIAPLAYER
    {List(kBorder), List(kEdges)},         // PANEL
    {List(kProgress), kNone},              // PROGRESS
    {List(kBorder), List(kEdges)},         // PROPERTY
    {List(kBorder), List(kEdges)},         // RADIO
    {List(kRich), List(kRichEx)},          // RICHEDIT
    {List(kScroll), kNone},                // SCROLL
    {List(kSlider), List(kEdges)},         // SLIDER
    {List(kBorder), List(kEdges)},         // SPLITTER
    {List(kBorder), List(kEdges)},         // SPREAD
    {kNone, kNone},                        // STATIC
    {List(kTab), kNone},                   // TAB
    {List(kBorder), List(kEdges)},         // TABDOC
    {List(kToolbar), List(kEdges)},        // TOOLBAR
    {List(kTree), List(kEdges)},           // TREE
    {List(kBorder), List(kEdges)},         // WAVEEDITOR
    {List(kBorder), List(kEdges)},         // WINDOW
    {List(kBorder), List(kEdges)},         // EXTERN
};

const TypeStyles* StylesOf(int type)
{
    return type >= 0 && type < SDialogEditor::TypeCount ? &kTypeStyles[type] : nullptr;
}

void OrMatching(const StyleList& list, const char* token, uint32_t* bits)
{
    for (int i = 0; i < list.count; i++)
        if (strcmp(list.names[i].name, token) == 0)
            *bits |= list.names[i].value;
}

void AppendSet(const StyleList& list, uint32_t field, SString* out)
{
    for (int i = 0; i < list.count; i++)
        if ((field & list.names[i].value) == list.names[i].value)
        {
            *out += list.names[i].name;
            *out += " ";
        }
}

// Parts of a text split at blanks, a run of blanks counting as one separator;
// a leading run gives an empty first part, a trailing run no part at all.
SStringArray SplitAtBlankRuns(const char* text)
{
    SStringArray parts;
    const char* start = text;
    for (;;)
    {
        const char* blank = strchr(start, ' ');
        if (!blank)
        {
            parts.Add(start);
            return parts;
        }
        parts.Add(SString(start, (int)(blank - start)));
        while (*blank == ' ')
            blank++;
        if (!*blank)
            return parts;
        start = blank;
    }
}

// The font face as the reader can take it back: one line, without the commas that
// separate the FONT parts and without the blanks the reader trims around them.
SString FaceLine(const SString& face)
{
    SString line = SDialogEditor::_SCtrl::OneLine(face);
    line.ReplaceChar(',', ' ');
    line.Trim(-1, -1, true);
    return line;
}

// Keys the reader takes into the record's fields: an extra property line with one of
// them would set the field when read back.
const char* const kFieldKeys[] = {"ID",    "NAME",    "CAPTION",   "FONT",      "POSITION",    "STYLE",
                                  "EXSTYLE", "BACKCOLOR", "TEXTCOLOR", "TRANSPARENT", "ISLOCKED"};

bool IsFieldKey(const SString& key)
{
    for (const char* field : kFieldKeys)
        if (key == field)
            return true;
    return false;
}

// Extra properties as the reader stores them: lines split at CR LF only, each made one
// line, kept when it has a key before its "=" that is no field key, each ended by CR LF.
SString ExtraLines(const SString& extra)
{
    SString lines;
    int length = extra.GetLength();
    for (int start = 0; start < length;)
    {
        int end = extra.Find("\r\n", start);
        if (end < 0)
            end = length;
        SString line = SDialogEditor::_SCtrl::OneLine(extra.Mid(start, end - start));
        int equals = line.FindChar('=');
        if (equals > 0 && !IsFieldKey(line.Left(equals)))
        {
            lines += line;
            lines += "\r\n";
        }
        start = end + 2;
    }
    return lines;
}

} // namespace

SString SDialogEditor::_SCtrl::OneLine(const SString& text)
{
    SString line = text;
    line.ReplaceChar('\r', ' ');
    line.ReplaceChar('\n', ' ');
    line.ReplaceChar('\0', ' ');
    return line;
}

void SDialogEditor::_SCtrl::FitTextForm()
{
    m_name = OneLine(m_name);
    m_caption = OneLine(m_caption);
    m_fontFace = FaceLine(m_fontFace);
    m_extra = ExtraLines(m_extra);
}

void SDialogEditor::_SCtrl::StyleNamesToBits(bool exStyle, const char* names)
{
    if (!names || !*names)
        return;
    const TypeStyles* styles = StylesOf(m_type);
    uint32_t bits = 0;
    SStringArray tokens = SplitAtBlankRuns(names);
    for (int i = 0; i < tokens.GetCount(); i++)
    {
        SString token = tokens.GetAt(i);
        OrMatching(List(kCommonStyle), token, &bits);
        if (styles)
        {
            OrMatching(styles->style, token, &bits);
            OrMatching(styles->exStyle, token, &bits);
        }
    }
    if (exStyle)
        m_exStyle = bits;
    else
        m_style = bits;
}

SString SDialogEditor::_SCtrl::StyleBitsToNames(bool exStyle) const
{
    SString names;
    const TypeStyles* styles = StylesOf(m_type);
    if (exStyle)
    {
        if (styles)
            AppendSet(styles->exStyle, m_exStyle, &names);
        return names;
    }
    AppendSet(List(kCommonStyle), m_style, &names);
    if (styles)
        AppendSet(styles->style, m_style, &names);
    return names;
}

int SDialogEditor::_SCtrl::Read(SFile* stream, SDialogEditor* editor)
{
    if (!stream || !editor)
        return -1;
    int start = stream->Tell();
    m_extra.Empty();
    SString header = stream->ReadLine(true);
    SString keyword = header.GetLength() >= 2 ? header.Mid(1, header.GetLength() - 2) : SString();
    const _SType* type = editor->FindControlType(keyword);
    if (!type)
        return 0;
    SetType(type->GetType());
    if (type->GetType() == TYPE_DIALOG)
        SetDialogFlag(true);
    while (!stream->IsEof())
    {
        // Only CR LF ends a line; a lone CR or LF or a NUL inside it is kept as a blank, so
        // that what is read can be written as it was read.
        SString line = OneLine(stream->ReadLine(true));
        if (line.IsEmpty())
            break;
        int equals = line.FindChar('=');
        if (equals < 0)
            return -1;
        SString key = line.Left(equals);
        SString value = line.Mid(equals + 1);
        if (key == "ID")
            SetID((int16_t)ReadDecimal(value));
        else if (key == "NAME")
            m_name = value;
        else if (key == "CAPTION")
            m_caption = value;
        else if (key == "FONT")
        {
            SStringArray parts;
            const char* text = value;
            for (;;)
            {
                const char* comma = strchr(text, ',');
                SString part = comma ? SString(text, (int)(comma - text)) : SString(text);
                part.Trim(-1, -1, true);
                parts.Add(part);
                if (!comma)
                    break;
                text = comma + 1;
            }
            if (parts.GetCount() == 3)
                SetFont(parts.GetAt(0), atoi(parts.GetAt(1)), ReadDecimal(parts.GetAt(2)));
        }
        else if (key == "POSITION")
        {
            SStringArray parts = SplitAtBlankRuns(value);
            if (parts.GetCount() == 4)
            {
                SetX((int16_t)ReadDecimal(parts.GetAt(0)));
                SetY((int16_t)ReadDecimal(parts.GetAt(1)));
                SetWidth((int16_t)ReadDecimal(parts.GetAt(2)));
                SetHeight((int16_t)ReadDecimal(parts.GetAt(3)));
            }
        }
        else if (key == "STYLE")
            StyleNamesToBits(false, value);
        else if (key == "EXSTYLE")
            StyleNamesToBits(true, value);
        else if (key == "BACKCOLOR")
            m_backColor = TextToColor(value);
        else if (key == "TEXTCOLOR")
            m_textColor = TextToColor(value);
        else if (key == "TRANSPARENT")
            m_transparent = atoi(value) != 0;
        else if (key == "ISLOCKED")
            m_locked = atoi(value) != 0;
        else if (!key.IsEmpty())
        {
            m_extra += line;
            m_extra += "\r\n";
        }
    }
    return stream->Tell() - start;
}

int SDialogEditor::_SCtrl::Write(SFile* stream, SDialogEditor* editor) const
{
    if (!stream || !editor)
        return 0;
    const _SType* type = editor->GetTypeInfo(m_type);
    if (!type)
        return 0;
    int start = stream->Tell();
    SString text;
    text.Format("[%s]\r\nID=%d\r\nNAME=", (const char*)type->GetName(), (int)m_id);
    text += OneLine(m_name);
    text += "\r\nCAPTION=";
    text += OneLine(m_caption);
    text += "\r\nFONT=";
    text += FaceLine(m_fontFace);
    SString numbers;
    numbers.Format(", %d, %u\r\nPOSITION=%d %d %d %d\r\nSTYLE=", (int)m_fontSize, (unsigned)m_fontStyle, (int)m_x,
                   (int)m_y, (int)m_width, (int)m_height);
    text += numbers;
    text += StyleBitsToNames(false);
    text += "\r\nEXSTYLE=";
    text += StyleBitsToNames(true);
    text += "\r\nBACKCOLOR=";
    text += ColorToText(m_backColor);
    text += "\r\nTEXTCOLOR=";
    text += ColorToText(m_textColor);
    text += m_transparent ? "\r\nTRANSPARENT=1" : "\r\nTRANSPARENT=0";
    text += m_locked ? "\r\nISLOCKED=1\r\n" : "\r\nISLOCKED=0\r\n";
    // Extra properties only as lines that read back into the same properties: an empty
    // line would end the section early, a line without "=" would fail the load, a field key
    // would change the field, and a lone CR or LF would start a line of its own.
    text += ExtraLines(m_extra);
    text += "\r\n";
    if (stream->Write(text.GetText(), text.GetLength()) != text.GetLength())
        return 0;
    return stream->Tell() - start;
}

bool SDialogEditor::Load(SFile* stream)
{
    if (!stream)
        return false;
    Close();
    bool endOfLine = false;
    SString magic = stream->ReadLine(true, 64, &endOfLine);
    if (magic != kMagic || (!endOfLine && !stream->IsEof()))
    {
        Reset();
        return false;
    }
    stream->ReadLine(true);
    bool first = true;
    while (!stream->IsEof())
    {
        _SCtrl record;
        int read = record.Read(stream, this);
        bool added = read > 0;
        if (added)
        {
            if (first)
                SetDialog(&record);
            else
                added = AddControl(false, &record, true, true) != nullptr;
        }
        if (!added)
        {
            Reset();
            return false;
        }
        first = false;
    }
    m_open = true;
    if (m_toolPanel && m_toolPanel->GetHandle())
        OnUpdateToolPanel(m_toolPanel);
    m_selection.RemoveAll();
    if (m_dialog)
        m_selection.Add(m_dialog);
    return true;
}

bool SDialogEditor::Save(SFile* stream)
{
    if (!stream)
        return false;
    // Controls without a dialog record cannot be written so that they read back.
    if (!m_dialog && m_controls.GetCount() > 0)
        return false;
    SString header(kMagic);
    header += "\r\n\r\n";
    if (stream->Write(header.GetText(), header.GetLength()) != header.GetLength())
        return false;
    if (!m_dialog)
        return true;
    if (m_dialog->Write(stream, this) == 0)
        return false;
    for (int i = 0; i < m_controls.GetCount(); i++)
        if (m_controls.GetAt(i)->Write(stream, this) == 0)
            return false;
    return true;
}
