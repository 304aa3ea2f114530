#pragma once
// The window a dialog description becomes: a registry of its controls (id, name,
// font), an optional status bar, an optional control bar with a tool bar, menus,
// and the buttons named "OK" and "CANCEL" that end a modal run.
#include <windows.h>

#include "SArray.h"
#include "SImageList.h"
#include "SMenu.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

class SControlBarCtrl;
class SFile;
class SIni;
class SResource;
class SStatusBarCtrl;
class SToolBarCtrl;
class SWndDialog;

class SWndDialog : public SWnd
{
public:
    // One control record of a dialog description, as the dialog reads it when the
    // builder registers a control. The description layer's records derive from it.
    class _SRecord
    {
    public:
        virtual ~_SRecord() {}
        // Control id (signed 16-bit).
        virtual short GetID() const = 0;
        // NAME; may be empty.
        virtual SString GetName() const = 0;
        // Font face; "" = the default font.
        virtual SString GetFontFace() const = 0;
        // Font size in points; 0 = default.
        virtual short GetFontSize() const = 0;
        // Font style flags (1 bold, 2 italic, 4 underline, 8 strike-out).
        virtual unsigned GetFontStyle() const = 0;
    };

    // The dialog builder of the description layer: creates the dialog's window and
    // controls from a description. Arguments as CreateFromResource, the dialog second.
    typedef bool (*Builder)(SFile* description, SWndDialog* dialog, HWND parent, SResource* resources,
                            bool popup, void* extra, void* context, SMenuFactory menuCallback,
                            SMenuNameToId nameCallback, bool hidden);
    // Registers the builder that CreateFromResource calls (null: none); returns the previous one.
    static Builder SetBuilder(Builder builder);
    static Builder GetBuilder();

    SWndDialog();
    // Cleans up, then releases the arrays and image lists.
    ~SWndDialog() override;

    // Builds the window from a description through the registered builder; false when the
    // window exists already, no builder is registered, or the builder fails.
    bool CreateFromResource(SFile* description, HWND parent, SResource* resources, bool popup, void* extra,
                            void* context, SMenuFactory menuCallback, SMenuNameToId nameCallback,
                            bool hidden);

    // --- control registry ---
    // Registers a created control with its record (the dialog owns it from then on);
    // makes and sets the record's font when it names a face. False for a null argument.
    bool AddControl(SWnd* control, const _SRecord* record);
    int GetControlCount() const { return m_controls.GetCount(); }
    // The control at index; null outside.
    SWnd* GetControl(int index) const { return m_controls.GetAt(index); }
    // The first control registered with the id; null when none.
    SWnd* GetControlById(int id) const;
    // The first control registered with exactly this NAME (case-sensitive); null when none.
    SWnd* GetControlByName(const char* name) const;
    // Registration index of the control; -1 when it is not registered.
    int IndexOfControl(const SWnd* control) const;
    // NAME of a registered control; "" when it is not registered.
    SString GetControlName(const SWnd* control) const;
    // Asked by the control factory before it makes a built-in control; non-null replaces it.
    virtual SWnd* CreateCustomControl(int type, const _SRecord* record);

    // --- bars ---
    // Creates a visible status bar with max(parts, 1) parts and grows the client height by
    // its height; false when one exists or without a window.
    bool CreateStatusBar(int parts);
    // Forwarded to the status bar; false without one.
    bool SetStatusText(int part, const char* text);
    bool SetStatusPartRight(int part, int right);
    // Creates a visible control bar; false when one exists or without a window.
    bool CreateControlBar();
    // Moves the child onto the control bar as a new band of its own line; false without a bar.
    bool AddToControlBar(SWnd* child, int width, int height);
    // Reads a "TAVRIN TOOLBAR 1.0.0.0" text into a new tool bar on the control bar; false
    // (and no tool bar) without a control bar or stream, or for a text that is not one.
    bool LoadToolBar(SFile* text, SResource* resources, void* context, SMenuNameToId nameCallback);
    SStatusBarCtrl* GetStatusBar() const { return m_statusBar; }
    SControlBarCtrl* GetControlBar() const { return m_controlBar; }
    SToolBarCtrl* GetToolBar() const { return m_toolBar; }
    SImageList* GetToolBarImageList() { return &m_toolBarImages; }

    // --- icon ---
    // Sets the icon as the window's big and small icon; the dialog owns it from then on and
    // destroys it with the window (at once when there is no window).
    void SetOwnedIcon(HICON icon);

    // --- menus ---
    // The dialog's menus, the menu bar first (the builder fills them; the dialog owns them).
    SArray<SMenu*>* GetMenus() { return &m_menus; }
    SImageList* GetMenuImageList() { return &m_menuImages; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Deletes the bars, menus, controls, fonts and icon (on WM_DESTROY and in the destructor).
    void Cleanup();
    // Measures the control bar again and moves the dialog's own controls by the change.
    void ControlBarResized();
    // Fills the new tool bar from the text's sections; false when a button cannot be added.
    bool FillToolBar(SToolBarCtrl* toolBar, SIni* text, SResource* resources, void* context,
                     SMenuNameToId nameCallback);

    SArray<SWnd*> m_controls;
    SArray<unsigned long> m_ids;
    SStringArray m_names;
    SArray<HFONT> m_fonts;
    int m_controlBarHeight;
    SControlBarCtrl* m_controlBar;
    SStatusBarCtrl* m_statusBar;
    SToolBarCtrl* m_toolBar;
    SImageList m_toolBarImages;
    SArray<SMenu*> m_menus;
    SImageList m_menuImages;
    HICON m_icon;
};
