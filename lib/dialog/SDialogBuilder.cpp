#include "SDialogEditor.h"

#include <stdlib.h>

#include "SFileMem.h"
#include "SImage.h"
#include "SResource.h"
#include "SStringArray.h"
#include "SStringParser.h"
#include "STabCtrl.h"
#include "SWndDialog.h"

using Record = SDialogEditor::_SCtrl;

namespace
{

bool ExtractEntry(SResource* resources, const SString& name, SFileMem* stream)
{
    if (!resources || name.IsEmpty())
        return false;
    stream->Allocate(0);
    return resources->Extract(stream, name, true);
}

// Tokens of a text split at runs of blanks.
SStringArray BlankTokens(const SString& text)
{
    SStringArray tokens;
    const char* at = text;
    while (*at)
    {
        while (*at == ' ')
            at++;
        const char* end = at;
        while (*end && *end != ' ')
            end++;
        if (end > at)
            tokens.Add(SString(at, (int)(end - at)));
        at = end;
    }
    return tokens;
}

SDialogEditor::LevelLinker g_levelLinker = nullptr;

// The builder as SWndDialog calls it.
bool BuildFromDescription(SFile* description, SWndDialog* dialog, HWND parent, SResource* resources, bool popup,
                          void* extra, void* context, SMenuFactory menuCallback, SMenuNameToId nameCallback,
                          bool hidden)
{
    return SDialogEditor::CreateDialog(description, dialog, parent, resources, popup, extra,
                                       static_cast<SDialogEditor*>(context), menuCallback, nameCallback, hidden);
}

// The record of the k-th TAB counted from the end, for the k-th TAB in list order.
int MirroredTabIndex(const SDialogEditor& model, int index, int* lastTab)
{
    int from = *lastTab < 0 ? model.GetControlCount() - 1 : *lastTab - 1;
    for (int i = from; i >= 0; i--)
    {
        if (model.GetControl(i)->GetType() == SDialogEditor::TYPE_TAB)
        {
            *lastTab = i;
            return i;
        }
    }
    return index;
}

} // namespace

SDialogEditor::LevelLinker SDialogEditor::SetLevelLinker(LevelLinker linker)
{
    LevelLinker previous = g_levelLinker;
    g_levelLinker = linker;
    return previous;
}

void SDialogEditor::InstallBuilder()
{
    SWndDialog::SetBuilder(BuildFromDescription);
}

bool SDialogEditor::CreateDialog(SFile* stream, SWndDialog* dialog, HWND parent, SResource* resources, bool popup,
                                 void* creationParam, SDialogEditor* sourceEditor, SMenuFactory menuCallback,
                                 SMenuNameToId nameCallback, bool hidden)
{
    if (!stream || !dialog || dialog->GetHandle())
        return false;
    SDialogEditor model;
    model.Init(false);
    stream->Seek(0);
    if (!model.Load(stream) || !model.GetDialog())
        return false;
    const Record* form = model.GetDialog();
    bool layered = form->GetPropertyBool("DIALOG_LAYER");
    DWORD style = form->GetStyle() & ~(DWORD)WS_VISIBLE;
    DWORD exStyle = form->GetExStyle();
    style |= (popup || !parent) ? WS_POPUP : WS_CHILD;
    if (layered)
    {
        style &= ~(DWORD)0xCF0000;
        exStyle &= ~(DWORD)0x20200;
    }
    if (!dialog->Create(form->GetCaption(), style, exStyle, nullptr, parent, 0, (LPARAM)creationParam, nullptr,
                        form->GetPropertyBool("DIALOG_NOCLOSE")))
        return false;
    dialog->SetClientSize(form->GetWidth(), form->GetHeight());
    dialog->CenterWindow(true);
    if (form->GetPropertyBool("DIALOG_DRAGFILES"))
        dialog->DragAcceptFiles(true);

    SFileMem entry;
    if (ExtractEntry(resources, form->GetProperty("DIALOG_ICON"), &entry))
    {
        SImage image;
        HICON icon = image.Load(&entry) ? image.GetHIcon() : nullptr;
        // The window keeps using the icon for its whole life and destroys it with itself.
        if (icon)
            dialog->SetOwnedIcon(icon);
    }
    dialog->SetBackgroundDrawMode(form->GetPropertyDrawMode("DIALOG_IMAGEDRAWMODE"));
    if (ExtractEntry(resources, form->GetProperty("DIALOG_IMAGE"), &entry))
    {
        SImage image;
        if (image.Load(&entry))
            dialog->SetBackgroundImage(&image, form->GetPropertyBool("DIALOG_SHAPE") ? 0xFF00FFu : SCOLOR_NONE, -1,
                                       nullptr, true);
    }

    // Controls in list order; TAB records are created in reverse order among themselves.
    int lastTab = -1;
    for (int i = 0; i < model.GetControlCount(); i++)
    {
        int index = model.GetControl(i)->GetType() == TYPE_TAB ? MirroredTabIndex(model, i, &lastTab) : i;
        Record* record = model.GetControl(index);
        SWnd* control = CreateControl(dialog, dialog->GetHandle(), record, resources, true);
        if (!control)
        {
            // A failed build leaves no window: the popup goes with the controls made so far.
            dialog->Destroy();
            return false;
        }
        dialog->AddControl(control, record);
    }

    for (int i = 0; i < model.GetControlCount(); i++)
    {
        const Record* record = model.GetControl(i);
        SWnd* control = dialog->GetControlById(record->GetID());
        if (!control || !record->GetPropertyBool("TABENABLED"))
            continue;
        control->SetTabGroup(record->GetPropertyInt("TABGROUP"));
        int tabIndex = record->GetPropertyInt("TABINDEX");
        if (tabIndex != -1)
            control->SetTabIndex(tabIndex);
    }

    if (!layered)
    {
        SStringArray parts;
        SString bar = form->GetProperty("DIALOG_STATUSBARTEXT");
        if (!bar.IsEmpty())
        {
            SStringParser parser(bar);
            parser.Parse("|", 8, '"', &parts);
        }
        if (parts.GetCount() > 0 && dialog->CreateStatusBar(parts.GetCount()))
        {
            int width = form->GetWidth() / parts.GetCount();
            for (int k = 0; k < parts.GetCount(); k++)
            {
                dialog->SetStatusText(k, parts.GetAt(k));
                if (k < parts.GetCount() - 1)
                    dialog->SetStatusPartRight(k, (k + 1) * width);
            }
        }
    }

    for (int i = 0; i < model.GetControlCount(); i++)
    {
        const Record* record = model.GetControl(i);
        SWnd* control = dialog->GetControlById(record->GetID());
        if (!control)
            continue;
        if (record->GetType() == TYPE_TAB)
        {
            STabCtrl* tab = dynamic_cast<STabCtrl*>(control);
            if (!tab)
                continue;
            SStringArray numbers = BlankTokens(record->GetProperty("TAB_CHILDREN_PRIVATE"));
            // Numbers go in pairs; an unpaired trailing page index is ignored.
            for (int k = 0; k + 1 < numbers.GetCount(); k += 2)
            {
                int page = atoi(numbers.GetAt(k));
                int id = atoi(numbers.GetAt(k + 1));
                if (page < 0 || page >= tab->GetItemCount())
                    continue;
                SWnd* child = dialog->GetControlById(id);
                if (child && child != tab)
                    tab->AddPage(page, child);
            }
            tab->ShowPage(tab->GetCurSel());
        }
        else if (record->GetType() == TYPE_WAVEEDITOR && g_levelLinker)
        {
            const Record* level = model.FindControlByID(record->GetPropertyInt("WAVEEDITOR_LEVEL"));
            SWnd* meter = level && level->GetType() == TYPE_LEVEL ? dialog->GetControlById(level->GetID()) : nullptr;
            if (meter)
                g_levelLinker(control, meter);
        }
    }

    if (!layered && resources)
    {
        if (ExtractEntry(resources, form->GetProperty("DIALOG_TOOLBAR"), &entry))
        {
            if (dialog->GetControlBar() || dialog->CreateControlBar())
                dialog->LoadToolBar(&entry, resources, sourceEditor, nameCallback);
        }
        if (ExtractEntry(resources, form->GetProperty("DIALOG_MENU"), &entry))
        {
            if (LoadMenuResource(true, dialog->GetHandle(), &entry, dialog->GetMenus(), dialog->GetMenuImageList(),
                                 resources, sourceEditor, menuCallback, nameCallback) &&
                dialog->GetMenus()->GetCount() > 0)
                dialog->SetMenu(dialog->GetMenus()->GetAt(0)->GetHandle(), true);
        }
    }

    SIZE size = dialog->GetWindowSize();
    uint32_t back = form->GetBackColor();
    if (back != SCOLOR_NONE)
        dialog->SetBackColor(ResolveColorValue(back));
    if (form->GetPropertyBool("DIALOG_MINSIZE"))
        dialog->SetMinTrackSize(size.cx, size.cy);
    if (form->GetPropertyBool("DIALOG_MAXSIZE"))
        dialog->SetMaxTrackSize(size.cx, size.cy);
    for (int i = 0; i < model.GetControlCount(); i++)
    {
        const Record* record = model.GetControl(i);
        SWnd* control = dialog->GetControlById(record->GetID());
        if (control)
            control->SetAnchor(record->GetPropertyInt("HALIGN") | record->GetPropertyInt("VALIGN"));
    }
    if (form->GetPropertyBool("DIALOG_MAXIMIZED"))
        dialog->MaximizeKeepVisibility();
    if (form->GetPropertyBool("DIALOG_MINIMIZED"))
        dialog->MinimizeKeepVisibility();
    if (form->GetPropertyBool("DIALOG_MOVEWITHMOUSE"))
        dialog->SetMoveWithMouse(true);
    dialog->SetDefaultKeys(!form->GetPropertyBool("DIALOG_NOMODALRETURN"),
                           !form->GetPropertyBool("DIALOG_NOMODALESCAPE"));
    if (layered)
        dialog->SetOpacity(255);
    if (!hidden && form->HasStyle(WS_VISIBLE))
        dialog->ShowWindow(SW_SHOW);
    // The focus goes after showing: activating the window on show would take it back.
    // Only a key that is there names a control: an absent one is not the ID 0.
    if (!form->GetProperty("DIALOG_FOCUS").IsEmpty() && model.FindControlByID(form->GetPropertyInt("DIALOG_FOCUS")))
    {
        SWnd* control = dialog->GetControlById(form->GetPropertyInt("DIALOG_FOCUS"));
        if (control)
            control->SetFocus();
    }
    SWnd::WindowProc(dialog->GetHandle(), WM_S_DIALOG_READY, 0, (LPARAM)creationParam);
    return true;
}
