// The designer's right-button popup menu with its TAB page commands, and Test,
// which runs the edited dialog; the modal calls go through the designer input.
#include "SDialogEditor.h"

#include "SFileMem.h"

namespace
{

// Popup menu commands.
const int kCommandCut = 10;
const int kCommandCopy = 11;
const int kCommandPaste = 12;
const int kCommandSelectAll = 13;
const int kCommandTest = 15;
// Page i of a TAB owns the commands base to base + 199, base = 200 + 200 i: base + 1
// selects the page, base + 10 + j toggles control j of the list on it.
const int kPageBase = 200;
const int kPageRange = 200;
const int kPageSelect = 1;
const int kPageFirstControl = 10;
const int kLastPageCommand = 9999;

// The numbers of a pairs text hold the pair (page, id).
bool HasPair(const SArray<int>& numbers, int page, int id)
{
    for (int k = 0; k + 1 < numbers.GetCount(); k += 2)
        if (numbers.GetAt(k) == page && numbers.GetAt(k + 1) == id)
            return true;
    return false;
}

} // namespace

// --- the real modal calls ---

bool SDesignerInput::TrackMenu(SMenu* menu, SWnd* owner, POINT screen)
{
    if (!menu || !owner)
        return false;
    return menu->TrackPopupFor(owner, screen.x, screen.y, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                               owner->GetHandle());
}

int SDesignerInput::ShowMessage(SWnd* owner, const char* text, const char* caption, UINT type)
{
    if (owner)
        return owner->MessageBox(text, caption, type);
    return MessageBoxA(nullptr, text, caption, type);
}

int SDesignerInput::RunModal(SWnd* dialog)
{
    return dialog ? dialog->DoModal() : 0;
}

// --- popup menu ---

void SDialogEditor::DeletePageMenus()
{
    if (m_pageMenus.GetCount() == 0)
        return;
    // Detaches the submenus first, so that each is destroyed once, by its own object.
    m_popupMenu.RemoveAll();
    for (int i = 0; i < m_pageMenus.GetCount(); i++)
        delete m_pageMenus.GetAt(i);
    m_pageMenus.RemoveAll();
}

void SDialogEditor::ShowPopupMenu(POINT point)
{
    if (!GetHandle() || (!m_popupMenu.GetHandle() && !m_popupMenu.CreatePopup(GetHandle())))
        return;
    int count = IsDialogSelected() ? 0 : m_selection.GetCount();
    m_popupMenu.RemoveAll();
    DeletePageMenus();
    m_popupMenu.InsertItem(kCommandCut, GetLabel("@CUT"), -1, -1, 0, false, count == 0);
    m_popupMenu.InsertItem(kCommandCopy, GetLabel("@COPY"), -1, -1, 0, false, count == 0);
    m_popupMenu.InsertItem(kCommandPaste, GetLabel("@PASTE"), -1, -1, 0, false, !CanPaste());
    m_popupMenu.InsertSeparator();
    m_popupMenu.InsertItem(kCommandSelectAll, GetLabel("@SELECTALL"));

    _SCtrl* primary = GetPrimary();
    if (primary && primary != m_dialog && primary->GetType() == TYPE_TAB &&
        !primary->GetProperty("TAB_CONTENT").IsEmpty())
    {
        SStringArray pages = primary->GetPropertyList("TAB_CONTENT");
        SArray<int> pairs;
        ReadNumbers(primary->GetProperty("TAB_CHILDREN_PRIVATE"), &pairs);
        if (pages.GetCount() > 0)
            m_popupMenu.InsertSeparator();
        for (int page = 0; page < pages.GetCount(); page++)
        {
            int base = kPageBase + kPageRange * page;
            // A page whose whole range does not fit below the last command is left out, with the rest.
            if (base + kPageRange - 1 > kLastPageCommand)
                break;
            SMenu* menu = new SMenu();
            if (!menu->CreatePopup(GetHandle()))
            {
                delete menu;
                break;
            }
            m_pageMenus.Add(menu);
            menu->InsertItem(base + kPageSelect, GetLabel("@SELECTTAB"));
            menu->InsertSeparator();
            // Controls past the page's range get no item rather than another page's command.
            for (int j = 0; j < m_controls.GetCount() && kPageFirstControl + j < kPageRange; j++)
            {
                _SCtrl* control = m_controls.GetAt(j);
                if (control == primary)
                    continue;
                menu->InsertItem(base + kPageFirstControl + j, control->GetName(), -1, -1, 0,
                                 HasPair(pairs, page, control->GetID()));
            }
            m_popupMenu.InsertSubMenu(base, menu, pages.GetAt(page));
        }
    }
    m_popupMenu.InsertSeparator();
    m_popupMenu.InsertItem(kCommandTest, GetLabel("@TEST"));
    OnBuildPopupMenu(&m_popupMenu, primary);

    POINT screen = point;
    ClientToScreen(&screen);
    GetInput()->TrackMenu(&m_popupMenu, this, screen);
}

bool SDialogEditor::RunTabPageCommand(int command)
{
    _SCtrl* primary = GetPrimary();
    if (command < kPageBase || command > kLastPageCommand || !primary || primary == m_dialog ||
        primary->GetType() != TYPE_TAB)
        return false;
    int page = command / kPageRange - 1;
    int sub = command % kPageRange;
    if (sub == kPageSelect)
    {
        PushUndo();
        primary->SetPropertyInt("TAB_SELECTION", page);
        UpdatePropertySheet();
    }
    else if (sub >= kPageFirstControl)
    {
        _SCtrl* control = GetControl(sub - kPageFirstControl);
        if (!control || control == primary)
            return false;
        SArray<int> pairs;
        ReadNumbers(primary->GetProperty("TAB_CHILDREN_PRIVATE"), &pairs);
        PushUndo();
        ToggleTabPageControl(page, control, !HasPair(pairs, page, control->GetID()));
    }
    else
        return false;
    primary->CreatePreview(this);
    RedrawDesigner();
    NotifyChanged();
    return true;
}

bool SDialogEditor::ToggleTabPageControl(int page, _SCtrl* control, bool add)
{
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog || primary->GetType() != TYPE_TAB || !control)
        return false;
    int pageCount = primary->GetPropertyList("TAB_CONTENT").GetCount();
    SArray<int> pairs;
    ReadNumbers(primary->GetProperty("TAB_CHILDREN_PRIVATE"), &pairs);
    SString text;
    bool found = false;
    for (int k = 0; k + 1 < pairs.GetCount(); k += 2)
    {
        int pairPage = pairs.GetAt(k), id = pairs.GetAt(k + 1);
        bool same = pairPage == page && id == control->GetID();
        found = found || same;
        // Pairs of removed pages or deleted controls are dropped on the way.
        if ((add || !same) && pairPage >= 0 && pairPage < pageCount && FindControlByID(id))
            text += IntToString(pairPage) + " " + IntToString(id) + " ";
    }
    if (add && !found)
        text += IntToString(page) + " " + IntToString(control->GetID()) + " ";
    primary->SetProperty("TAB_CHILDREN_PRIVATE", text);
    NotifyChanged();
    return true;
}

// --- test ---

bool SDialogEditor::Test()
{
    if (!m_dialog)
        return false;
    SFileMem stream;
    if (!stream.Allocate(0) || !Save(&stream))
        return false;
    stream.Rewind();
    SWndDialog dialog;
    bool built = CreateDialog(&stream, &dialog, GetHandle(), m_resources, true, nullptr, this, nullptr, nullptr,
                              false);
    if (built)
        GetInput()->RunModal(&dialog);
    dialog.Destroy();
    return built;
}
