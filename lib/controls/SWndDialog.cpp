#include "SWndDialog.h"

#include <stdlib.h>

#include "SControl.h"
#include "SControlBarCtrl.h"
#include "SDraw.h"
#include "SFileMem.h"
#include "SIni.h"
#include "SResource.h"
#include "SStatusBarCtrl.h"
#include "SToolBarCtrl.h"

namespace
{

const char kToolBarMagic[] = "TAVRIN TOOLBAR 1.0.0.0";
// Flat, tool tips, placed and sized by the control bar.
const DWORD kToolBarStyle = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE;
// Buttons show their text and size themselves to it.
const int kToolBarButtonStyle = BTNS_SHOWTEXT | BTNS_AUTOSIZE;

SWndDialog::Builder g_builder = nullptr;

SString SectionName(int index)
{
    char name[16];
    wsprintfA(name, "%d", index);
    return SString(name);
}

}

SWndDialog::Builder SWndDialog::SetBuilder(Builder builder)
{
    Builder previous = g_builder;
    g_builder = builder;
    return previous;
}

SWndDialog::Builder SWndDialog::GetBuilder()
{
    return g_builder;
}

SWndDialog::SWndDialog()
    : m_controlBarHeight(0), m_controlBar(nullptr), m_statusBar(nullptr), m_toolBar(nullptr), m_icon(nullptr)
{
}

SWndDialog::~SWndDialog()
{
    Cleanup();
    m_menuImages.Destroy();
    m_toolBarImages.Destroy();
}

bool SWndDialog::CreateFromResource(SFile* description, HWND parent, SResource* resources, bool popup,
                                    void* extra, void* context, SMenuFactory menuCallback,
                                    SMenuNameToId nameCallback, bool hidden)
{
    if (GetHandle() || !g_builder)
        return false;
    return g_builder(description, this, parent, resources, popup, extra, context, menuCallback, nameCallback,
                     hidden);
}

// --- control registry ---

bool SWndDialog::AddControl(SWnd* control, const _SRecord* record)
{
    if (!control || !record)
        return false;
    HFONT font = nullptr;
    SString face = record->GetFontFace();
    if (!face.IsEmpty())
    {
        font = CreatePointFont(nullptr, face.GetText(), record->GetFontSize(), (int)record->GetFontStyle());
        if (font)
            control->SetFont(font, true);
    }
    m_controls.Add(control);
    m_ids.Add((unsigned long)(long)record->GetID());
    m_names.Add(record->GetName().GetText());
    m_fonts.Add(font);
    return true;
}

SWnd* SWndDialog::GetControlById(int id) const
{
    unsigned long wanted = (unsigned long)(long)id;
    for (int i = 0; i < m_ids.GetCount(); i++)
        if (m_ids.GetAt(i) == wanted)
            return m_controls.GetAt(i);
    return nullptr;
}

SWnd* SWndDialog::GetControlByName(const char* name) const
{
    if (!name)
        return nullptr;
    for (int i = 0; i < m_names.GetCount(); i++)
        if (m_names.GetAt(i).Compare(name) == 0)
            return m_controls.GetAt(i);
    return nullptr;
}

int SWndDialog::IndexOfControl(const SWnd* control) const
{
    for (int i = 0; i < m_controls.GetCount(); i++)
        if (m_controls.GetAt(i) == control)
            return i;
    return -1;
}

SString SWndDialog::GetControlName(const SWnd* control) const
{
    int index = IndexOfControl(control);
    return index >= 0 ? m_names.GetAt(index) : SString();
}

SWnd* SWndDialog::CreateCustomControl(int, const _SRecord*)
{
    return nullptr;
}

// --- bars ---

bool SWndDialog::CreateStatusBar(int parts)
{
    if (m_statusBar || !GetHandle())
        return false;
    SStatusBarCtrl* bar = new SStatusBarCtrl();
    if (!bar->Create(WS_VISIBLE, 0, GetHandle()))
    {
        delete bar;
        return false;
    }
    m_statusBar = bar;
    bar->SetParts(parts > 1 ? parts : 1);
    SetClientHeight(GetClientHeight() + bar->GetWindowHeight());
    return true;
}

bool SWndDialog::SetStatusText(int part, const char* text)
{
    return m_statusBar && m_statusBar->SetText(part, text);
}

bool SWndDialog::SetStatusPartRight(int part, int right)
{
    return m_statusBar && m_statusBar->SetPartRight(part, right);
}

bool SWndDialog::CreateControlBar()
{
    if (m_controlBar || !GetHandle())
        return false;
    m_controlBarHeight = 0;
    SControlBarCtrl* bar = new SControlBarCtrl();
    if (!bar->Create(WS_VISIBLE, 0, GetHandle()))
    {
        delete bar;
        return false;
    }
    m_controlBar = bar;
    return true;
}

bool SWndDialog::AddToControlBar(SWnd* child, int width, int height)
{
    if (!m_controlBar || !child || !child->GetHandle())
        return false;
    child->SetAnchor(0);
    child->SetParent(m_controlBar->GetHandle());
    return m_controlBar->InsertBand(child->GetHandle(), -1, width, height, 50, true, nullptr, RBBS_NOGRIPPER);
}

bool SWndDialog::LoadToolBar(SFile* text, SResource* resources, void* context, SMenuNameToId nameCallback)
{
    if (!m_controlBar)
        return false;
    // The old bar goes with its band, so reloading never leaves empty lines in the control
    // bar; the bar before its list, so that it never paints with a destroyed one.
    if (m_toolBar)
        m_controlBar->DeleteBand(m_controlBar->FindBand(m_toolBar->GetHandle()));
    delete m_toolBar;
    m_toolBar = nullptr;
    m_toolBarImages.Destroy();
    if (!text)
        return false;
    int start = text->Tell();
    // A magic line longer than the bound cannot match, so the read stops there.
    SString magic = text->ReadLine(false, (int)sizeof(kToolBarMagic) + 8);
    if (magic.Compare(kToolBarMagic) != 0)
        return false;
    text->Seek(start);
    SIni ini;
    if (!ini.OpenMemory(text))
        return false;
    SToolBarCtrl* toolBar = new SToolBarCtrl();
    if (!toolBar->Create(kToolBarStyle, 0, nullptr, m_controlBar->GetHandle()) ||
        !FillToolBar(toolBar, &ini, resources, context, nameCallback))
    {
        // Nothing of a refused text stays: no bar, no images.
        delete toolBar;
        m_toolBarImages.Destroy();
        return false;
    }
    m_toolBar = toolBar;
    SIZE size = toolBar->GetMaxSize();
    AddToControlBar(toolBar, size.cx, size.cy);
    return true;
}

bool SWndDialog::FillToolBar(SToolBarCtrl* toolBar, SIni* text, SResource* resources, void* context,
                             SMenuNameToId nameCallback)
{
    toolBar->SetTransparent(true);
    int width = text->ReadInt("", "width");
    int height = text->ReadInt("", "height");
    int count = text->ReadInt("", "count");
    // Every button needs a section line of its own ("[0]" at least): a larger count is damage.
    if (count < 0 || count > text->GetMemory()->GetSize() / 3)
        return false;
    for (int i = 0; i < count; i++)
        if (SIni::FindSection(text->GetMemory(), SectionName(i).GetText()) < 0)
            return false;
    if (!m_toolBarImages.Create(width, height, ILC_COLOR32))
        return false;
    toolBar->SetImageList(m_toolBarImages.GetHandle());
    for (int i = 0; i < count; i++)
    {
        SString section = SectionName(i);
        int id = 0;
        if (nameCallback)
            id = nameCallback(context, text->GetValue(section.GetText(), "name").GetText());
        int image = -1;
        if (resources)
        {
            SString name = text->GetValue(section.GetText(), "image");
            SFileMem picture;
            if (!name.IsEmpty() && resources->Extract(&picture, name.GetText(), true))
            {
                picture.Rewind();
                if (m_toolBarImages.AddFile(&picture, false))
                    image = m_toolBarImages.GetCount() - 1;
            }
        }
        if (text->ReadBool(section.GetText(), "separator"))
        {
            if (!toolBar->AddSeparator(id, 0))
                return false;
            continue;
        }
        if (id == 0)
            id = -2 - i;
        SString caption = text->GetValue(section.GetText(), "text");
        int data = atoi(text->GetValue(section.GetText(), "data").GetText());
        int state = text->ReadBool(section.GetText(), "disabled") ? 0 : TBSTATE_ENABLED;
        if (!toolBar->AddButton(id, image, caption.GetText(), kToolBarButtonStyle, state, (DWORD_PTR)data))
            return false;
    }
    return true;
}

// --- icon ---

void SWndDialog::SetOwnedIcon(HICON icon)
{
    if (!icon)
        return;
    // Given over either way: without a window there is nothing to show it.
    if (!GetHandle())
    {
        DestroyIcon(icon);
        return;
    }
    SetIcons(icon, icon);
    if (m_icon && m_icon != icon)
        DestroyIcon(m_icon);
    m_icon = icon;
}

// --- messages ---

void SWndDialog::ControlBarResized()
{
    int height = m_controlBar->GetWindowHeight();
    int delta = height - m_controlBarHeight;
    m_controlBarHeight = height;
    if (!delta)
        return;
    SetClientHeight(GetClientHeight() + delta);
    for (int i = 0; i < m_controls.GetCount(); i++)
    {
        SWnd* control = m_controls.GetAt(i);
        RECT rect;
        if (!control->GetHandle() || control->GetParent() != GetHandle() || !control->GetWindowRect(&rect))
            continue;
        MapWindowPoints(nullptr, GetHandle(), (POINT*)&rect, 2);
        control->SetWindowPos(nullptr, rect.left, rect.top + delta, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT SWndDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_DESTROY:
        Cleanup();
        break;
    case ControlMessage(SBLOCK_BUTTON, 1):
        if (IsModal())
        {
            SString name = GetControlName((SWnd*)wParam);
            HWND handle = GetHandle();
            if (name.Compare("OK") == 0)
                WindowProc(handle, WM_S_OK, 0, 0);
            if (name.Compare("CANCEL") == 0)
                WindowProc(handle, WM_S_CANCEL, 0, 0);
        }
        break;
    case ControlMessage(SBLOCK_CONTROLBAR, 0):
        if (m_controlBar && wParam == (WPARAM)m_controlBar)
            ControlBarResized();
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

void SWndDialog::Cleanup()
{
    if (GetHandle())
        ShowWindow(SW_HIDE);
    delete m_toolBar;
    m_toolBar = nullptr;
    delete m_statusBar;
    m_statusBar = nullptr;
    delete m_controlBar;
    m_controlBar = nullptr;
    if (GetHandle() && GetMenu())
        SetMenu(nullptr, true);
    for (int i = 0; i < m_menus.GetCount(); i++)
        delete m_menus.GetAt(i);
    m_menus.RemoveAll();
    m_menuImages.Destroy();
    for (int i = 0; i < m_controls.GetCount(); i++)
        delete m_controls.GetAt(i);
    m_controls.RemoveAll();
    m_ids.RemoveAll();
    m_names.RemoveAll();
    for (int i = 0; i < m_fonts.GetCount(); i++)
        if (m_fonts.GetAt(i))
            DeleteObject(m_fonts.GetAt(i));
    m_fonts.RemoveAll();
    if (m_icon)
    {
        // The window lets go of the icon before it is destroyed.
        if (GetHandle())
            SetIcons(nullptr, nullptr);
        DestroyIcon(m_icon);
        m_icon = nullptr;
    }
}
