#pragma once
// A library-drawn tool palette: titled groups, each a flowing row of small
// square icon buttons, separators and colour swatches. Hover and press are
// tracked by the panel; a click is reported by message and virtual operation.
#include <windows.h>
#include <commctrl.h>

#include "SArray.h"
#include "SImageList.h"
#include "SString.h"
#include "SWnd.h"

class SPanelCtrl : public SWnd
{
public:
    struct _SGroup;

    // One entry of a group: a button or a separator.
    struct _SButton
    {
        _SGroup* group;         // the owning group
        unsigned char separator; // a separator, never found by id
        int id;                 // button id (0 for separators)
        SString text;           // shown in the caption while hovered
        int x, y, width, height; // set by the layout
        int imageIndex;         // buttons before it in its group (set by the layout)
        unsigned char enabled;
        unsigned char checked;
        unsigned color;         // swatch colour; 0xFF000000 = no swatch
    };

    // One titled group of entries.
    struct _SGroup
    {
        _SGroup();
        ~_SGroup();
        _SGroup(const _SGroup&) = delete;
        _SGroup& operator=(const _SGroup&) = delete;

        int id;                  // unique in the panel, never -1
        SString caption;
        HIMAGELIST imageList;    // button icons, not owned, may be null
        SImageList disabledIcons; // grey 16 x 16 cells made from the image list
        int captionX, captionY, captionWidth, captionHeight; // set by the layout
        int groupX, groupY, groupWidth, groupHeight;         // set by the layout
        unsigned char enabled;
        SArray<_SButton*> buttons; // owned
    };

    SPanelCtrl();
    ~SPanelCtrl() override;

    // Creates the panel over the library window class.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // Appends a group; null when the id is -1 or already used.
    _SGroup* AddGroup(int id, const char* caption, HIMAGELIST imageList = nullptr);
    // Sets a group's icons and builds their disabled look; false when the group is missing
    // or the disabled icons cannot be made (the list is then cleared).
    bool SetGroupImageList(int groupId, HIMAGELIST imageList);
    // Appends a button to a group (-1 = the last group); false without such a group.
    bool AddButton(int id, const char* text, int groupId = -1, unsigned color = 0xFF000000u);
    // Appends a separator to a group (-1 = the last group).
    bool AddSeparator(int groupId = -1);
    // Enables or disables a button, or every entry of its run between separators.
    bool EnableButton(int groupId, int buttonId, bool enable, bool wholeRun = false, bool redraw = true);
    // Enables or disables every entry of a group.
    bool EnableGroup(int groupId, bool enable, bool redraw = true);
    // Checks or unchecks a button; false when missing or unchanged.
    bool SetButtonChecked(int groupId, int buttonId, bool checked);
    // Checks a button and unchecks the rest of its run; false when missing or already checked.
    bool CheckRadioButton(int groupId, int buttonId);
    // Whether a button is checked; false when missing.
    bool IsButtonChecked(int groupId, int buttonId) const;
    // Whether a button is enabled; false when missing.
    bool IsButtonEnabled(int groupId, int buttonId) const;
    // Sets a button's swatch colour (0xFF000000 = none) without redrawing; false when missing.
    bool SetButtonColor(int groupId, int buttonId, unsigned color);
    // Redraws one group's rectangle.
    void RedrawGroup(int groupId);

    // The group of an id; null when missing.
    _SGroup* GetGroup(int groupId) const;
    // The button of a group and id (never a separator); null when missing.
    _SButton* GetButton(int groupId, int buttonId) const;
    int GetGroupCount() const { return m_groups.GetCount(); }
    // Height of every group caption.
    int GetCaptionHeight() const { return m_captionHeight; }
    // The button under a point (enabled ones only unless includeDisabled); false when none.
    bool HitTest(int x, int y, bool includeDisabled, int* groupId, int* buttonId) const;
    // Ids of the hovered and the pressed button (-1, -1 when none).
    void GetHover(int* groupId, int* buttonId) const;
    void GetPressed(int* groupId, int* buttonId) const;
    // Places every group and entry for the current client width.
    void Layout();
    // Paints the panel into a device context.
    void Paint(HDC dc);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Called after every click on an enabled button; empty here.
    virtual void OnButtonClick(int groupId, int buttonId, _SButton* button);

private:
    _SGroup* FindGroupForAdd(int groupId) const;
    bool AddEntry(int id, const char* text, int groupId, unsigned color, bool separator);
    // First and last entry index of the run around an entry.
    static void GetRun(const _SGroup* group, int index, int* first, int* last);
    static int IndexOf(const _SGroup* group, const _SButton* button);
    void DrawButton(HDC dc, const _SGroup* group, const _SButton* button, HBRUSH window, HPEN highlight);
    void DrawFace(HDC dc, const _SGroup* group, const _SButton* button, int x, int y, bool disabled);

    COLORREF m_highlightTextColor; // caption text
    COLORREF m_highlightColor;     // caption fill, outlines, separators
    COLORREF m_faceColor;          // back colour and caption gradient end
    COLORREF m_windowColor;        // behind hovered and checked buttons
    COLORREF m_shadowColor;        // caption of a disabled group
    HFONT m_captionFont;           // bold caption font, owned
    int m_captionHeight;           // height of every group caption
    SArray<_SGroup*> m_groups;     // owned, in display order
    int m_hoverGroup, m_hoverButton;
    int m_pressedGroup, m_pressedButton;
};
