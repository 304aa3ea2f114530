#pragma once
// A designer with its property sheet bound, and helpers that read the sheet's
// groups and items and edit items the way the sheet's own editors commit them.
#include <string.h>

#include <string>
#include <vector>

#include "DesignerTestSupport.h"
#include "SDesignerPropertyCtrl.h"
#include "SSelector.h"

// Colour and font pickers that answer at once with the values a test sets.
class SFakePickers : public SSelectorDialogs
{
public:
    SFakePickers() { m_previous = SSelector::SetDialogs(this); }
    ~SFakePickers() override { SSelector::SetDialogs(m_previous); }
    bool ChooseColor(CHOOSECOLORA* info) override
    {
        info->rgbResult = color;
        return true;
    }
    bool ChooseFont(CHOOSEFONTA* info) override
    {
        strcpy(info->lpLogFont->lfFaceName, fontFace.c_str());
        info->lpLogFont->lfWeight = bold ? FW_BOLD : FW_NORMAL;
        info->lpLogFont->lfItalic = FALSE;
        info->iPointSize = fontSize * 10;
        return true;
    }

    COLORREF color = RGB(1, 2, 3);
    std::string fontFace = "Courier New";
    int fontSize = 12;
    bool bold = true;

private:
    SSelectorDialogs* m_previous;
};

class SSheetFixture
{
public:
    typedef SDialogEditor::_SCtrl Record;
    typedef SPropertyCtrl::_SItem Item;

    SSheetFixture()
    {
        RECT rect = {300, 0, 600, 500};
        sheet.CreateChildNoCaption(WS_VISIBLE, 0, &rect, f.host.GetHandle());
        sheet.SetEditor(&f.editor);
    }
    ~SSheetFixture()
    {
        sheet.SetEditor(nullptr);
        sheet.Destroy();
    }

    bool Load(const std::string& text) { return f.Load(text); }
    Record* Control(const char* name) { return f.Control(name); }

    // Makes the records the selection, primary first, and lets the designer refill the sheet.
    void Select(std::vector<Record*> records)
    {
        f.editor.ClearSelection();
        for (Record* record : records)
            f.editor.AddToSelection(record);
        f.editor.UpdatePropertySheet();
    }

    std::vector<std::string> Groups() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < sheet.GetGroupCount(); i++)
            names.push_back((const char*)sheet.GetGroup(i)->name);
        return names;
    }
    std::vector<std::string> Keys(const char* group) const
    {
        std::vector<std::string> keys;
        int index = sheet.FindGroup(group);
        SPropertyCtrl::_SGroup* found = index < 0 ? nullptr : sheet.GetGroup(index);
        for (int i = 0; found && i < found->items.GetCount(); i++)
            keys.push_back((const char*)found->items.GetAt(i)->name);
        return keys;
    }
    // The item of a key in any group; null when the sheet does not show it.
    Item* Find(const char* key, int* group = nullptr, int* index = nullptr) const
    {
        for (int g = 0; g < sheet.GetGroupCount(); g++)
        {
            int i = sheet.FindItemIndex(g, key);
            if (i >= 0)
            {
                if (group)
                    *group = g;
                if (index)
                    *index = i;
                return sheet.GetItem(g, i);
            }
        }
        return nullptr;
    }
    bool Has(const char* key) const { return Find(key) != nullptr; }
    std::string Text(const char* key) const
    {
        Item* item = Find(key);
        return item ? std::string((const char*)item->text) : std::string("<absent>");
    }

    // Starts the item's own editor as a click on its value would.
    bool Begin(const char* key)
    {
        int group = -1, index = -1;
        if (!Find(key, &group, &index))
            return false;
        sheet.GetGroup(group)->expanded = true;
        int row = sheet.ItemToRow(group, index);
        // The row must be on screen for its editor to open.
        sheet.SetVScrollPos(row, false);
        sheet.BeginEdit(row, group, index, false);
        return true;
    }
    // Types text into an edit-box item and presses Enter.
    bool Type(const char* key, const char* text)
    {
        if (!Begin(key) || !sheet.GetEditBox())
            return false;
        sheet.GetEditBox()->SetWindowText(text);
        sheet.GetEditBox()->Close(true, true);
        return true;
    }
    // Picks the entry of a choice item's drop-down list that has the key.
    bool Choose(const char* key, const char* choice)
    {
        Item* item = Find(key);
        if (!item || !Begin(key) || !sheet.GetDropList())
            return false;
        sheet.GetDropList()->SetCurSel(item->FindChoice(choice));
        sheet.GetDropList()->Close(true, true);
        return true;
    }
    // Clicks a Yes/No item, or opens the picker of a colour or font item.
    bool Toggle(const char* key) { return Begin(key); }

    SDesignerFixture f;
    SDesignerPropertyCtrl sheet;
};
