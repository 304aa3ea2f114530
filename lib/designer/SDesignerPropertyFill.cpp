// The property sheet's fill: the items of one record, group by group, as the
// property table lists them for the record's type.
#include "SDesignerPropertyCtrl.h"

#include <string.h>

#include "SDesignerPropertyTable.h"
#include "SStringParser.h"

namespace
{

typedef SDesignerPropertyTable T;

const char* FlagText(bool on) { return on ? "1" : "0"; }

// The kind of an external property from its kind word.
int ExternalKind(const SString& word)
{
    if (word == "edit")
        return SPropertyCtrl::KIND_EDIT;
    if (word == "edit_int")
        return SPropertyCtrl::KIND_INTEGER;
    if (word == "edit_float")
        return SPropertyCtrl::KIND_REAL;
    if (word == "bool")
        return SPropertyCtrl::KIND_YESNO;
    return SPropertyCtrl::KIND_TEXT;
}

} // namespace

bool SDesignerPropertyCtrl::SplitExternLine(const char* line, SStringArray* fields)
{
    SStringParser parser(line);
    return parser.Parse("\x01", 0, '"', fields) == 4;
}

void SDesignerPropertyCtrl::AddGeneralItems(_SCtrl* record, bool captionOffered)
{
    const SDialogEditor::_SType* info = m_editor->GetControlTypeInfo(record);
    bool control = record->GetType() != SDialogEditor::TYPE_DIALOG;
    AddPropertyGroup("$GENERAL", true);
    AddProperty(true, false, "TYPE", KIND_TEXT, info ? (const char*)info->GetCaption() : "", nullptr, -1, nullptr);
    if (control)
    {
        AddProperty(true, false, "ID", KIND_TEXT, IntToString(record->GetID()), nullptr, -1, nullptr);
        AddProperty(true, false, "NAME", KIND_EDIT, record->GetName(), nullptr, -1, nullptr);
    }
    if (captionOffered)
        AddProperty(false, false, "CAPTION", KIND_EDIT, record->GetCaption(), nullptr, -1, nullptr);
    AddProperty(false, false, "VISIBLE", KIND_YESNO, FlagText(record->HasStyle(WS_VISIBLE)), nullptr, -1, nullptr);
    AddProperty(false, false, "ENABLED", KIND_YESNO, FlagText(!record->HasStyle(WS_DISABLED)), nullptr, -1, nullptr);
    if (control)
    {
        AddProperty(false, false, "TABENABLED", KIND_YESNO, record->GetProperty("TABENABLED"), nullptr, -1, nullptr);
        AddProperty(false, false, "TABGROUP", KIND_INTEGER, record->GetProperty("TABGROUP"), nullptr, -1, nullptr);
        AddProperty(false, false, "TABINDEX", KIND_INTEGER, record->GetProperty("TABINDEX"), nullptr, -1, nullptr);
    }
    if (SDesignerPropertyTable::HasFont(record->GetType()))
    {
        SString font;
        font.Format("%s,%d,%u", (const char*)record->GetFontFace(), (int)record->GetFontSize(),
                    record->GetFontStyle());
        // The font belongs to the first group, whichever group is current.
        AddProperty(false, true, "FONT", KIND_FONT, font, nullptr, 0, nullptr);
    }
}

void SDesignerPropertyCtrl::AddPositionItems(_SCtrl* record)
{
    bool control = record->GetType() != SDialogEditor::TYPE_DIALOG;
    AddPropertyGroup("$POSITION", true);
    if (control)
    {
        AddProperty(false, false, "X", KIND_INTEGER, IntToString(record->GetX()), nullptr, -1, nullptr);
        AddProperty(false, false, "Y", KIND_INTEGER, IntToString(record->GetY()), nullptr, -1, nullptr);
    }
    AddProperty(false, false, "WIDTH", KIND_INTEGER, IntToString(record->GetWidth()), nullptr, -1, nullptr);
    AddProperty(false, false, "HEIGHT", KIND_INTEGER, IntToString(record->GetHeight()), nullptr, -1, nullptr);
    if (control)
    {
        SStringArray horizontal, vertical;
        BuildChoices(T::LIST_HANCHOR, &horizontal);
        BuildChoices(T::LIST_VANCHOR, &vertical);
        AddProperty(false, false, "HALIGN", KIND_CHOICE,
                    T::GetAnchorKey(false, record->GetPropertyInt("HALIGN")), &horizontal, -1, nullptr);
        AddProperty(false, false, "VALIGN", KIND_CHOICE,
                    T::GetAnchorKey(true, record->GetPropertyInt("VALIGN")), &vertical, -1, nullptr);
    }
}

void SDesignerPropertyCtrl::AddTypeItems(_SCtrl* record)
{
    int count = 0;
    const T::Row* rows = T::GetRows(record->GetType(), &count);
    const char* group = nullptr;
    for (int i = 0; i < count; i++)
    {
        const T::Row& row = rows[i];
        if (row.source == T::SOURCE_BORDERSET)
        {
            AddBorderProperties(record);
            group = row.group;
            continue;
        }
        if (!group || strcmp(group, row.group) != 0)
        {
            AddPropertyGroup(row.group, true);
            group = row.group;
        }
        if (row.source == T::SOURCE_EXTERNAL)
        {
            AddExternalItems(record);
            continue;
        }
        SStringArray choices;
        bool listed = row.kind == KIND_CHOICE && row.list != T::LIST_NONE;
        if (listed)
            BuildChoices(row.list, &choices);
        bool anyType = row.source == T::SOURCE_BACKCOLOR || row.source == T::SOURCE_TEXTCOLOR ||
                       row.source == T::SOURCE_TRANSPARENT;
        AddProperty(false, !anyType, row.key, row.kind, GetRowValue(record, row), listed ? &choices : nullptr, -1,
                    nullptr);
    }
}

SString SDesignerPropertyCtrl::GetRowValue(const _SCtrl* record, const SDesignerPropertyTable::Row& row) const
{
    switch (row.source)
    {
    case T::SOURCE_EXTRA_INT: return IntToString(record->GetPropertyInt(row.key));
    case T::SOURCE_STYLE: return FlagText(record->HasStyle(row.mask));
    case T::SOURCE_STYLE_NOT: return FlagText(!record->HasStyle(row.mask));
    case T::SOURCE_EXSTYLE: return FlagText(record->HasExStyle(row.mask));
    case T::SOURCE_CODED: return T::GetCodedKey(T::FindCoded(row.key), record->GetStyle());
    case T::SOURCE_BACKCOLOR: return UIntToString(record->GetBackColor());
    case T::SOURCE_TEXTCOLOR: return UIntToString(record->GetTextColor());
    case T::SOURCE_TRANSPARENT: return FlagText(record->GetTransparent());
    default: return record->GetProperty(row.key);
    }
}

void SDesignerPropertyCtrl::AddExternalItems(_SCtrl* record)
{
    SString name = record->GetProperty("EXTERN_NAME");
    for (int i = 0; i < m_externProperties.GetCount(); i++)
    {
        SStringArray fields;
        if (!SplitExternLine(m_externProperties.GetAt(i), &fields) || fields.GetAt(0) != name)
            continue;
        SString key = fields.GetAt(1);
        AddProperty(false, true, key, ExternalKind(fields.GetAt(3)), record->GetProperty(key), nullptr, -1,
                    fields.GetAt(2));
    }
}

void SDesignerPropertyCtrl::BuildChoices(int list, SStringArray* choices) const
{
    if (list == T::LIST_CONTROLS || list == T::LIST_LEVELS)
    {
        // An empty key first, shown as two em dashes of code page 1252.
        choices->Add("|\x97\x97");
        m_editor->CollectControls(list == T::LIST_LEVELS ? SDialogEditor::TYPE_LEVEL : -1, nullptr, nullptr,
                                  nullptr, choices);
        return;
    }
    const char* const* keys = nullptr;
    int count = T::GetChoiceKeys(list, &keys);
    for (int i = 0; i < count; i++)
        choices->Add(MakeChoiceText(keys[i]));
}
