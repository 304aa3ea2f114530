#pragma once
// Tool bar of command buttons over the system "ToolbarWindow32" class. A click
// reaches the window that holds the tool bar as WM_APP+3300 with the command id.
#include <windows.h>
#include <commctrl.h>

#include "SWnd.h"

class SToolBarCtrl : public SWnd
{
public:
    SToolBarCtrl();
    ~SToolBarCtrl() override;

    // Creates the bar (CCS_NODIVIDER; TBSTYLE_FLAT only once the window exists).
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // Appends one button; text null for none. True when the bar took it.
    bool AddButton(int commandId, int image, const char* text, int style, int state, DWORD_PTR data);
    // Appends count buttons at once (one layout of the bar instead of one per button).
    // True when the bar took them all.
    bool AddButtons(const TBBUTTON* buttons, int count);
    // Appends a separator of the width (0 = the system's width).
    bool AddSeparator(int commandId = 0, int width = 0);
    // Deletes the button at index; false outside the buttons.
    bool DeleteButton(int index);
    int GetButtonCount();
    // Deletes every button.
    void DeleteAllButtons();
    // Check state of the button with the command id; false for an unknown id.
    bool IsButtonChecked(int commandId);
    bool CheckButton(int commandId, bool check);
    bool EnableButton(int commandId, bool enable);
    // Height of the buttons.
    int GetButtonHeight();
    bool SetBitmapSize(int width, int height);
    // Size the buttons need together (TB_GETMAXSIZE); 0 x 0 without a window.
    SIZE GetMaxSize();
    int GetMaxWidth() { return GetMaxSize().cx; }
    int GetMaxHeight() { return GetMaxSize().cy; }
    // Gives the bar the image list (not owned) and its cell size as the bitmap size.
    void SetImageList(HIMAGELIST images);
    HIMAGELIST GetImageList() const { return m_images; }
    // Adds or removes TBSTYLE_TRANSPARENT.
    void SetTransparent(bool transparent);
    bool IsTransparent() const;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Hidden child that receives the bar's WM_COMMAND and passes the command on.
    class _SWnd : public SWnd
    {
    public:
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
        SToolBarCtrl* m_toolBar = nullptr;
    };

    _SWnd m_notify;
    HIMAGELIST m_images;
};
