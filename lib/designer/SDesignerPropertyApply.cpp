// The property sheet's apply: an edited item written back into every selected
// record as a field, style bits or an extra property of the item's key.
#include "SDesignerPropertyCtrl.h"

#include <stdlib.h>
#include <string.h>

#include "SDesignerPropertyTable.h"

namespace
{

typedef SDesignerPropertyTable T;

// Keys every record takes, whatever its type.
enum
{
    RULE_NAME, RULE_CAPTION, RULE_VISIBLE, RULE_ENABLED, RULE_FONT, RULE_FLAG, RULE_TEXT, RULE_X, RULE_Y, RULE_WIDTH,
    RULE_HEIGHT, RULE_HALIGN, RULE_VALIGN, RULE_BORDER, RULE_CLIENTEDGE, RULE_STATICEDGE, RULE_BACKCOLOR,
    RULE_TEXTCOLOR, RULE_TRANSPARENT
};

struct CommonKey
{
    const char* key;
    int rule;
};

const CommonKey kCommonKeys[] = {
    {"NAME", RULE_NAME},           {"CAPTION", RULE_CAPTION},       {"VISIBLE", RULE_VISIBLE},
    {"ENABLED", RULE_ENABLED},     {"FONT", RULE_FONT},             {"TABENABLED", RULE_FLAG},
    {"TABGROUP", RULE_TEXT},       {"TABINDEX", RULE_TEXT},         {"X", RULE_X},
    {"Y", RULE_Y},                 {"WIDTH", RULE_WIDTH},           {"HEIGHT", RULE_HEIGHT},
    {"HALIGN", RULE_HALIGN},       {"VALIGN", RULE_VALIGN},         {"BORDER", RULE_BORDER},
    {"CLIENTEDGE", RULE_CLIENTEDGE}, {"STATICEDGE", RULE_STATICEDGE}, {"BACKCOLOR", RULE_BACKCOLOR},
    {"TEXTCOLOR", RULE_TEXTCOLOR}, {"TRANSPARENT", RULE_TRANSPARENT}, {"TOOLTIP", RULE_TEXT},
};

// Style switches after which a control lies the other way round.
const char* const kVerticalKeys[] = {"PROGRESS_VERTICAL", "SCROLL_VERTICAL", "SLIDER_VERTICAL"};

int FindCommonRule(const char* key)
{
    for (const CommonKey& common : kCommonKeys)
        if (strcmp(common.key, key) == 0)
            return common.rule;
    return -1;
}

// Positions and sizes are 16-bit in the record: a number past either end stops there.
int ReadCoordinate(const char* text)
{
    long long value = strtoll(text ? text : "", nullptr, 10);
    return value < -32768 ? -32768 : (value > 32767 ? 32767 : (int)value);
}

const char* FlagText(bool on) { return on ? "1" : "0"; }

// Swaps width and height when the record's shape disagrees with its orientation.
void MatchOrientation(SDialogEditor::_SCtrl* record, bool vertical)
{
    int width = record->GetWidth(), height = record->GetHeight();
    if ((vertical && width > height) || (!vertical && width < height))
        record->SwapWidthHeight();
}

} // namespace

bool SDesignerPropertyCtrl::OnItemChanged(int, _SItem* item)
{
    if (!m_editor || !item)
        return true;
    m_editor->PushUndo();
    for (int i = 0; i < m_editor->GetSelectedCount(); i++)
    {
        _SCtrl* record = m_editor->GetSelected(i);
        bool refused = false;
        if (!ApplyCommon(record, item, &refused))
        {
            ApplyTypeKey(record, item);
            if (record->GetType() == SDialogEditor::TYPE_EXTERN)
                ApplyExternal(record, item);
        }
        if (refused)
        {
            m_editor->PopUndo();
            return false;
        }
        record->CreatePreview(m_editor);
    }
    m_editor->RedrawDesigner();
    m_editor->NotifyChanged();
    return true;
}

bool SDesignerPropertyCtrl::ApplyCommon(_SCtrl* record, _SItem* item, bool* refused)
{
    const char* key = item->name;
    const char* text = item->text;
    switch (FindCommonRule(key))
    {
    case RULE_NAME:
        if (record->HasName(text) || !m_editor->CanRenameControl(record, text))
            *refused = true;
        else if (!m_editor->IsNameFree(text))
        {
            m_editor->ShowLabelError("?NAMEEXIST");
            *refused = true;
        }
        else
            record->SetName(text);
        return true;
    case RULE_CAPTION: record->SetCaption(text); return true;
    case RULE_VISIBLE: record->ToggleStyle(WS_VISIBLE); return true;
    case RULE_ENABLED: record->ToggleStyle(WS_DISABLED); return true;
    case RULE_FONT: record->SetFont(item->fontName, item->fontSize, (unsigned)item->fontStyle); return true;
    case RULE_FLAG: record->SetProperty(key, FlagText(item->flag)); return true;
    case RULE_TEXT: record->SetProperty(key, text); return true;
    case RULE_X:
    case RULE_Y:
    case RULE_WIDTH:
    case RULE_HEIGHT:
    {
        int value = ReadCoordinate(text);
        switch (FindCommonRule(key))
        {
        case RULE_X: record->SetX(value); break;
        case RULE_Y: record->SetY(value); break;
        case RULE_WIDTH: record->SetWidth(value); break;
        default: record->SetHeight(value); break;
        }
        // The sheet shows what the record holds.
        item->text = IntToString(value);
        return true;
    }
    case RULE_HALIGN:
    case RULE_VALIGN:
    {
        int value = T::GetAnchorValue(strcmp(key, "VALIGN") == 0, text);
        if (value >= 0)
            record->SetPropertyInt(key, value);
        return true;
    }
    case RULE_BORDER:
        record->SetStyle(WS_BORDER, item->flag);
        if (record->GetType() == SDialogEditor::TYPE_DIALOG && !item->flag)
        {
            record->RemoveStyle(WS_CAPTION);
            SetSheetFlag("$STYLE", "DIALOG_CAPTION", false);
        }
        return true;
    case RULE_CLIENTEDGE: record->SetExStyle(WS_EX_CLIENTEDGE, item->flag); return true;
    case RULE_STATICEDGE: record->SetExStyle(WS_EX_STATICEDGE, item->flag); return true;
    case RULE_BACKCOLOR: record->SetBackColor(item->color); return true;
    case RULE_TEXTCOLOR: record->SetTextColor(item->color); return true;
    case RULE_TRANSPARENT: record->SetTransparent(item->flag); return true;
    default: return false;
    }
}

void SDesignerPropertyCtrl::ApplyTypeKey(_SCtrl* record, _SItem* item)
{
    const char* key = item->name;
    const T::Row* row = T::FindRow(record->GetType(), key);
    if (!row || row->kind == KIND_TEXT)
        return;
    switch (row->source)
    {
    case T::SOURCE_STYLE:
    case T::SOURCE_STYLE_NOT:
        if (strcmp(key, "DIALOG_CAPTION") == 0)
        {
            // A caption always has a border; switching it off keeps a border that was there.
            bool hadBorder = record->HasStyle(WS_BORDER);
            if (record->ToggleStyle(WS_CAPTION) || hadBorder)
            {
                record->AddStyle(WS_BORDER);
                SetSheetFlag("$BORDER", "BORDER", true);
            }
            return;
        }
        record->ToggleStyle(row->mask);
        for (const char* vertical : kVerticalKeys)
            if (strcmp(key, vertical) == 0)
                MatchOrientation(record, record->HasStyle(row->mask));
        return;
    case T::SOURCE_EXSTYLE:
        record->ToggleExStyle(row->mask);
        return;
    case T::SOURCE_CODED:
    {
        const T::Coded* coded = T::FindCoded(key);
        uint32_t bits = 0;
        record->RemoveStyle(coded->mask);
        if (T::GetCodedBits(coded, item->text, &bits))
            record->AddStyle(bits);
        return;
    }
    case T::SOURCE_EXTRA:
    case T::SOURCE_EXTRA_INT:
        if (row->kind == KIND_YESNO)
            record->SetProperty(key, FlagText(item->flag));
        else if (row->kind == KIND_COLOR)
            record->SetProperty(key, UIntToString(item->color));
        else
            record->SetProperty(key, item->text);
        if (strcmp(key, "LEVEL_HORIZONTAL") == 0)
            MatchOrientation(record, !item->flag);
        return;
    default:
        return;
    }
}

void SDesignerPropertyCtrl::ApplyExternal(_SCtrl* record, _SItem* item)
{
    SString name = record->GetProperty("EXTERN_NAME");
    for (int i = 0; i < m_externProperties.GetCount(); i++)
    {
        SStringArray fields;
        if (!SplitExternLine(m_externProperties.GetAt(i), &fields) || fields.GetAt(0) != name ||
            fields.GetAt(1) != item->name)
            continue;
        record->SetProperty(item->name, fields.GetAt(3) == "bool" ? FlagText(item->flag) : (const char*)item->text);
    }
}

void SDesignerPropertyCtrl::SetSheetFlag(const char* group, const char* key, bool flag)
{
    int index = FindGroup(group);
    _SItem* item = index < 0 ? nullptr : FindItem(index, key);
    if (item)
        item->flag = flag;
}
