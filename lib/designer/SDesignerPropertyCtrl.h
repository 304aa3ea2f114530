#pragma once
// The dialog designer's property sheet: shows the properties of the records
// selected in a designer (one item per key, in named groups, merged across a
// multiple selection) and writes an edited value back into every selected record.
//
// A host creates the sheet as a child window and binds it to its designer:
//     SDesignerPropertyCtrl sheet;
//     sheet.CreateChildNoCaption(WS_VISIBLE, 0, &rect, parent);
//     sheet.SetEditor(&designer);
// From then on every selection change of the designer refills the sheet. The
// host owns the sheet; it unbinds itself when destroyed, so it must not
// outlive its designer unless it was unbound first (SetEditor(nullptr)).
#include "SDesignerPropertyTable.h"
#include "SDialogEditor.h"
#include "SPropertyCtrl.h"
#include "SString.h"
#include "SStringArray.h"

class SDesignerPropertyCtrl : public SPropertyCtrl
{
public:
    typedef SDialogEditor::_SCtrl _SCtrl;

    SDesignerPropertyCtrl();
    ~SDesignerPropertyCtrl() override;
    SDesignerPropertyCtrl(const SDesignerPropertyCtrl&) = delete;
    SDesignerPropertyCtrl& operator=(const SDesignerPropertyCtrl&) = delete;

    // --- binding ---
    // Binds the sheet to a designer (null unbinds) and fills it from its selection.
    void SetEditor(SDialogEditor* editor);
    SDialogEditor* GetEditor() const { return m_editor; }
    // The external property definitions: lines "control\x01key\x01label\x01kind" that
    // the owner fills; kind is "edit", "edit_int", "edit_float", "bool" or read-only.
    SStringArray* GetExternProperties() { return &m_externProperties; }

    // --- fill ---
    // Rebuilds the sheet from the designer's selection (primary null clears it);
    // false without a designer or a window.
    bool FillProperties(_SCtrl* primary);
    // Adds a group by its key, captioned with the key's label, and makes it the
    // current group; an existing group of that key becomes current instead. False
    // (nothing changes) when the key has no label.
    bool AddPropertyGroup(const char* key, bool expanded);
    // Adds one item, or merges it into the item of the same key. singleOnly: only
    // with one record selected; sameTypeOnly: only when every selected record has
    // the first one's type. A value that is no key of the choices becomes the first
    // key. group -1 is the current group; a null label is the key's label.
    bool AddProperty(bool singleOnly, bool sameTypeOnly, const char* key, int kind, const char* value,
                     const SStringArray* choices, int group, const char* label);
    // The group "$BORDER" with BORDER, CLIENTEDGE and STATICEDGE of a record.
    void AddBorderProperties(_SCtrl* record);
    // A choice entry: the key, "|" and the key's label.
    SString MakeChoiceText(const char* key) const;
    // The label of a key from the designer's label table; "" without a designer.
    SString GetLabel(const char* key) const;

    // --- apply ---
    // Writes the item's new value into every selected record; false (the sheet
    // restores the old value) only for a refused rename.
    bool OnItemChanged(int group, _SItem* item) override;
    // Remembers the scroll position in the record shown alone.
    void OnScroll() override;

    // Sets one item's value from its text form when the sheet has it; false otherwise.
    bool SetItemValue(const char* group, const char* key, const char* value);

private:
    // The designer's refresh requests: a null key refills, otherwise one item changes.
    static void UpdateFromEditor(SDialogEditor* editor, const char* group, const char* key, const char* value);

    // Fill helpers (SDesignerPropertyFill.cpp).
    void AddGeneralItems(_SCtrl* record, bool captionOffered);
    void AddPositionItems(_SCtrl* record);
    void AddTypeItems(_SCtrl* record);
    void AddExternalItems(_SCtrl* record);
    void BuildChoices(int list, SStringArray* choices) const;
    SString GetRowValue(const _SCtrl* record, const SDesignerPropertyTable::Row& row) const;
    // Splits an external property line into its fields; true for exactly four.
    static bool SplitExternLine(const char* line, SStringArray* fields);

    // Apply helpers (SDesignerPropertyApply.cpp).
    bool ApplyCommon(_SCtrl* record, _SItem* item, bool* refused);
    void ApplyTypeKey(_SCtrl* record, _SItem* item);
    void ApplyExternal(_SCtrl* record, _SItem* item);
    void SetSheetFlag(const char* group, const char* key, bool flag);

    SDialogEditor* m_editor;
    // The group that items of group -1 join; -1 when none was added for the record yet.
    int m_currentGroup;
    SStringArray m_externProperties;
    // Set while the sheet is rebuilt, so that its own scrolling is not remembered.
    bool m_filling;
};
