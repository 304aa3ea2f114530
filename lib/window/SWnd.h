#pragma once

#include <windows.h>
#include <stdint.h>
#include "SString.h"
#include "SArray.h"
#include "SMessages.h"
#include "SWndBackground.h"

class SImage;
class SResource;
class SWnd;

// Base of every window and control: owns one window handle, is found from the
// handle through the per-thread window table and sees every message through
// PreHandleMessage (translation) and OnMessage (handling).
class SWnd
{
public:
    SWnd();
    SWnd(const SWnd&) = delete;
    SWnd& operator=(const SWnd&) = delete;

    // Destroys the window and releases everything the object owns.
    virtual ~SWnd();
    // Sends WM_PRINT with the DC and flags.
    virtual void Print(HDC dc, LPARAM flags);
    // Stores the back colour (0xFF000000 none, 0xFF000001 transparent).
    virtual void SetBackColor(unsigned color);
    // The back colour.
    virtual unsigned GetBackColor();
    // Edit commands reached through the keyboard shortcuts of EnableShortcuts.
    virtual void OnUndo();
    virtual void OnCut();
    virtual void OnCopy();
    virtual void OnPaste();
    virtual void OnDelete();
    virtual void OnSelectAll();
    virtual void OnFind();
    virtual void OnReplace();
    virtual void OnGoTo();
    virtual void OnPrint();
    virtual void OnEscape();
    virtual void OnNew();
    virtual void OnOpen();
    virtual void OnSave();
    virtual void OnSaveAs();
    // Translates raw messages into library messages; false = handled with *result.
    virtual bool PreHandleMessage(UINT msg, WPARAM* wParam, LPARAM* lParam, LRESULT* result);
    // The message handler derived classes override; chain to the base for the rest.
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Brushes asked of a child control by its parent; 0 = default.
    virtual HBRUSH OnCtlColorDlg(HDC dc);
    virtual HBRUSH OnCtlColorBtn(HDC dc);
    virtual HBRUSH OnCtlColorEdit(HDC dc);
    virtual HBRUSH OnCtlColorListBox(HDC dc);
    virtual HBRUSH OnCtlColorScrollBar(HDC dc);
    virtual HBRUSH OnCtlColorStatic(HDC dc);
    // Non-client hot-area tracking: the pointer entered, moved in or left an area.
    virtual void OnHotAreaEnter(RECT* area, int x, int y, int index);
    virtual void OnHotAreaMove(RECT* area, int x, int y, int index);
    virtual void OnHotAreaLeave(RECT* area, int x, int y, int index);

    // --- creation ---
    // Window of class "TAVRIN" ("TAVRIN2" with secondClass); a popup without parent.
    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM creationParam = 0, HINSTANCE instance = nullptr,
                bool secondClass = false);
    // Window of a system class, subclassed through WindowProc.
    bool CreateSubclassed(const char* className, const char* caption, DWORD style, DWORD exStyle,
                          const RECT* rect, HWND parent, UINT_PTR id = 0, LPARAM creationParam = 0,
                          HINSTANCE instance = nullptr);
    // Create with WS_CHILD added unless the style has WS_POPUP.
    bool CreateChild(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                     UINT_PTR id = 0, LPARAM creationParam = 0);
    // CreateChild with an empty caption.
    bool CreateChildNoCaption(DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                              UINT_PTR id = 0, LPARAM creationParam = 0);
    // Top-level window with caption and system menu, sizable on request.
    bool CreatePopupWindow(const char* caption, const RECT* rect, HWND parent,
                           LPARAM creationParam = 0, bool sizable = false);
    // Message-only library window.
    bool CreateMessageWindow(LPARAM creationParam = 0);
    // Subclassed system controls (WS_CHILD added unless the style has WS_POPUP).
    bool CreateCheckBox(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id = 0, LPARAM creationParam = 0);
    bool CreateRadioButton(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                           UINT_PTR id = 0, LPARAM creationParam = 0);
    bool CreateGroupBox(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id = 0, LPARAM creationParam = 0);
    bool CreateRichEdit(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id = 0, LPARAM creationParam = 0);
    bool CreateStaticFrame(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                           UINT_PTR id = 0, LPARAM creationParam = 0);
    bool CreateTabControl(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                          UINT_PTR id = 0, LPARAM creationParam = 0);

    // The window procedure of every library window; also delivers a message directly.
    static LRESULT CALLBACK WindowProc(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);

    // --- destruction ---
    // Hides and destroys the window; false without a window or on failure.
    bool Destroy();
    // Sends WM_CLOSE; true when the window exists and the answer is 0.
    bool Close();

    // --- modal run ---
    // Runs the window modally; returns the EndModal result (0 for a child window).
    int DoModal(WPARAM wParam = 0, LPARAM lParam = 0, bool allTopLevel = true,
                SArray<SWnd*>* keepEnabled = nullptr, bool hideAfter = true);
    // Ends a running modal run with the result.
    void EndModal(int result);
    // A modal run of this window is in progress.
    bool IsModal() const { return m_modal != 0; }

    // --- placement text in the registry ---
    // Stores "7:left,top,right,bottom,visible,minimized,maximized" under HKCU\Software\key1\key2.
    bool SavePlacement(const char* key1, const char* key2, const char* valueName);
    // Restores a stored placement; false when none or unreadable.
    bool LoadPlacement(const char* key1, const char* key2, const char* valueName, bool keepHidden = false);
    // Applies a placement text; false when it is unreadable or of an older version.
    bool ApplyPlacementText(const char* text, bool keepHidden);
    // The placement text of the window; "" without a window.
    SString GetPlacementText();

    // --- accessors and Win32 wrappers ---
    HWND GetHandle() const { return m_handle; }
    DWORD GetThreadId() const { return m_ownerThread; }
    int GetId() const;
    DWORD GetStyle() const;
    void SetStyle(DWORD style);
    DWORD GetExStyle() const;
    void SetExStyle(DWORD exStyle);
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // SendMessageA to the parent; 0 without one.
    LRESULT SendMessageToParent(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // True when the window was visible before.
    bool ShowWindow(int command);
    bool IsVisible() const;
    bool IsEnabled() const;
    bool Enable(bool enable);
    bool HasFocus() const;
    bool SetFocus();
    bool SetForegroundWindow();
    bool UpdateWindow();
    bool InvalidateRect(const RECT* rect = nullptr, bool erase = true);
    bool ValidateRect(const RECT* rect = nullptr);
    bool IsPopup() const;
    bool IsTopMost() const;
    bool SetTopMost(bool topMost);
    bool IsZoomed() const;
    bool IsIconic() const;
    bool IsControl() const { return m_kind != 0; }
    HWND GetParent() const;
    HWND SetParent(HWND parent);
    HWND GetTopChild() const;
    HMENU GetMenu() const;
    HMENU GetSystemMenu() const;
    // SetMenu; with keepClientHeight the window is resized so its client height stays.
    bool SetMenu(HMENU menu, bool keepClientHeight = false);
    bool GetWindowRect(RECT* rect) const;
    bool GetClientRect(RECT* rect) const;
    // Client rectangle less the library's control bars and status bars.
    bool GetFreeClientRect(RECT* rect) const;
    bool ClientToScreen(POINT* point) const;
    bool ScreenToClient(POINT* point) const;
    bool ClientToScreenRect(RECT* rect) const;
    bool ScreenToClientRect(RECT* rect) const;
    SIZE GetClientSize() const;
    int GetClientWidth() const;
    int GetClientHeight() const;
    SIZE GetWindowSize() const;
    int GetWindowWidth() const;
    int GetWindowHeight() const;
    // Window rectangle in the parent's client coordinates (screen for popups and foreign parents).
    bool GetRectInParent(RECT* rect) const;
    // Client rectangle relative to the window rectangle.
    bool GetClientRectInWindow(RECT* rect) const;
    // Frame margins of the live window (right and bottom never below 0).
    bool GetClientMargins(int* left, int* top, int* right, int* bottom) const;
    // Frame margins computed from the styles alone.
    void GetFrameMargins(int* left, int* top, int* right, int* bottom) const;
    bool SetWindowPos(HWND after, int x, int y, int width, int height, UINT flags);
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
    bool MoveWindowToRect(const RECT* rect, bool repaint = true);
    bool MoveTo(int x, int y);
    bool SetWindowSize(int width, int height);
    // Keeps the height.
    bool SetWindowWidth(int width);
    bool SetClientSize(int width, int height);
    bool SetClientHeight(int height);
    bool CenterWindow(bool onParent = true);
    void MinimizeKeepVisibility();
    void MaximizeKeepVisibility();
    bool BringToFront(bool showIfHidden = false);
    SString GetText() const;
    bool SetWindowText(const char* text);
    int GetWindowTextLength() const;
    void SetFont(HFONT font, bool redraw = true);
    HFONT GetFont();
    void SetIcons(HICON big, HICON small);
    void SetClassIcons(HICON big, HICON small);
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds, TIMERPROC procedure = nullptr);
    bool KillTimer(UINT_PTR id);
    void SetCapture();
    bool ReleaseCapture();
    bool HasCapture() const;
    void DragAcceptFiles(bool accept);
    bool SetWindowRgn(HRGN region, bool redraw = true);
    HDC GetDC();
    int ReleaseDC(HDC dc);
    int MessageBox(const char* text, const char* caption, UINT type);
    static HWND WindowFromPoint(POINT point);
    // Pointer position in client coordinates.
    bool GetCursorPos(POINT* point) const;
    // The window's own cursor; null = the class cursor.
    void SetCursor(HCURSOR cursor);
    // Layered window opacity 0-255 (adds WS_EX_LAYERED when needed).
    bool SetOpacity(int alpha);
    // Adds or removes WS_EX_LAYERED.
    bool SetLayered(bool layered);
    // RedrawWindow of the window.
    bool Redraw(const RECT* rect = nullptr, HRGN region = nullptr,
                UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // Redraw with RDW_ALLCHILDREN.
    bool RedrawNow();
    // WM_SETREDRAW; returns the previous state.
    bool SetRedraw(bool on, bool redrawNow = true);

    void SetUserData(int value) { m_userValue = value; }
    int GetUserData() const { return m_userValue; }
    void SetUserData2(int value) { m_userValue2 = value; }
    int GetUserData2() const { return m_userValue2; }
    void SetName(const char* name);
    const SString& GetName() const { return m_name; }
    void SetOwnerObject(void* owner) { m_ownerObject = owner; }
    void* GetOwnerObject() const { return m_ownerObject; }
    void SetKind(int kind) { m_kind = kind; }
    int GetKind() const { return m_kind; }
    void SetOwnerPaint(bool on) { m_ownerPaint = on ? 1 : 0; }
    bool IsSubclassed() const { return m_oldProc != nullptr; }
    void SetMoveWithMouse(bool on) { m_moveWithMouse = on ? 1 : 0; }
    void EnableShortcuts(int mask) { m_shortcutMask = mask; }
    bool IsShortcutEnabled(int bit) const { return (m_shortcutMask & bit) != 0; }
    void SetTabIndex(int index) { m_tabIndex = index < 0 ? 0 : index; }
    void SetTabGroup(int group) { m_tabGroup = group < 0 ? -1 : group; }
    int GetTabGroup() const { return m_tabGroup; }
    int GetTabIndex() const { return m_tabIndex; }
    void SetMinTrackSize(int width, int height);
    void SetMaxTrackSize(int width, int height);
    void SetMinClientSize(int width, int height);
    void SetMaxClientSize(int width, int height);
    // Whether Return and Escape end a modal run of this window.
    void SetDefaultKeys(bool enterCloses, bool escapeCloses);
    bool GetDefaultKey(bool enter) const;
    void SetKeepEnabled(bool on) { m_keepEnabled = on ? 1 : 0; }
    void SetRefuseNextFocus(bool on) { m_refuseNextFocus = on ? 1 : 0; }
    // Whether NotifyParentChanged reports to the parent (on by default).
    void SetChangeNotify(bool on) { m_changeNotify = on ? 1 : 0; }
    bool GetChangeNotify() const { return m_changeNotify != 0; }
    // Sends WM_APP+1500 to the parent (wParam source or this, lParam code).
    void NotifyParentChanged(int code = 0, SWnd* source = nullptr);

    // --- families of windows ---
    int CollectChildren(SArray<SWnd*>* out, SArray<SWnd*>* exclude = nullptr, bool recursive = false,
                        int kind = -1);
    int CollectSiblings(SArray<SWnd*>* out, SArray<SWnd*>* exclude = nullptr, int kind = -1);
    static int CollectTopLevelWindows(SArray<SWnd*>* out);
    static int CollectChildHandles(HWND parent, SArray<HWND>* out, SArray<HWND>* exclude = nullptr,
                                   bool recursive = false);
    HWND GetTopLevelAncestor(bool outermost = false) const;
    HWND GetPopupAncestor(bool evenIfPopup = false) const;
    // Next window of the tab group for the Tab key; this window when none.
    SWnd* GetNextTabWindow();

    // --- anchoring ---
    // Keeps the window placed relative to its parent's client size; 0 = off.
    void SetAnchor(int flags);
    int GetAnchor() const { return m_anchorFlags; }
    // Moves the window after its parent was resized.
    void ApplyAnchor();

    // --- caret ---
    void CreateCaret(int width, int height, int x, int y, bool shown = true);
    void ShowCaret(bool shown);
    void SetCaretPosition(int x, int y);
    void DestroyCaret();

    // --- tooltip ---
    bool EnableTooltip(bool on);
    void SetToolTipText(const char* text);
    HWND GetTooltip() const { return m_tooltip; }

    // --- hot tracking and hot areas ---
    void EnableHotTracking(bool on);
    bool IsHovered() const { return m_hover != 0; }
    bool IsPressed() const { return m_pressed != 0; }
    void SetCheckedState(bool checked);
    bool IsHotTracking() const { return m_hotTracking != 0; }
    bool IsCheckedState() const { return m_checked != 0; }
    // The window has state images (SetStateImages, LoadStateImages).
    bool HasStateImages() const { return m_background.states != nullptr; }
    void EnableHotAreas(bool on);
    void AddHotArea(const RECT& area);
    void RemoveHotAreas();
    int HitTestHotArea(int x, int y) const;

    // --- scroll bars of the window itself ---
    void SetScrollSteps(bool vertical, int line, int page, int rounding);
    void SetScrollInfo(bool vertical, int min, int max, int page, bool redraw = true);
    // SetScrollInfo only when the range or page differs, the bar then drawn with the next paint
    // rather than at once (each immediate bar drawing is a round trip to the display); true when
    // something changed.
    bool UpdateScrollInfo(bool vertical, int min, int max, int page);
    void SetScrollPos(bool vertical, int position, bool redraw = true);
    void SetHScrollPos(int position, bool redraw = true) { SetScrollPos(false, position, redraw); }
    void SetVScrollPos(int position, bool redraw = true) { SetScrollPos(true, position, redraw); }
    int GetScrollPos(bool vertical) const;
    int GetHScrollPos() const { return GetScrollPos(false); }
    int GetVScrollPos() const { return GetScrollPos(true); }
    int GetScrollMin(bool vertical) const;
    int GetScrollMax(bool vertical) const;
    int GetScrollLineStep(bool vertical) const { return vertical ? m_lineStepV : m_lineStepH; }
    int GetScrollStep(bool vertical) const { return vertical ? m_pageStepV : m_pageStepH; }
    void ScrollStepForward(bool vertical);
    // Scrolls one line down (or right) or up (or left), as the bar's own arrows do, with the notification.
    void ScrollLine(bool vertical, bool forward);
    void ScrollStepBack(bool vertical);
    void ShowScrollBar(bool vertical, bool show);

    // The default procedure: the old procedure of a subclassed window, else DefWindowProcA.
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    // The window's background; the colour fill (or nothing) into the target DC.
    void EraseBackground(HDC paintDC, HDC targetDC);
    // Copies the image as the background (null clears it); drawMode -1 keeps the image's mode.
    void SetBackgroundImage(const SImage* image, unsigned colorKey = SCOLOR_NONE, int drawMode = -1,
                            const RECT* margins = nullptr, bool redraw = true);
    // The same from a module resource; false when it cannot be loaded.
    bool SetBackgroundResource(const char* name, const char* type, unsigned colorKey = SCOLOR_NONE,
                               int drawMode = -1, const RECT* margins = nullptr, bool redraw = true);
    // The background image when it holds a bitmap, else null.
    SImage* GetBackgroundImage() const;
    // Draw mode of the background image (0-11).
    void SetBackgroundDrawMode(int mode);
    // Copies the hover, pressed, checked and disabled images (null: none).
    void SetStateImages(const SImage* hover, const SImage* pressed, const SImage* checked,
                        const SImage* disabled);
    // Reads the named state images from a resource pack; false without pack or names.
    bool LoadStateImages(SResource* pack, const char* hoverName, const char* pressedName,
                         const char* checkedName, const char* disabledName);
    // Draws the background image (margins, state image, colour key) into a DC at a size.
    void DrawBackgroundImage(HDC dc, int width, int height);
    // The start region (null: none) less the colour-key pixels of the background becomes the window region.
    void UpdateWindowRegion(HRGN start);
    // Background and rich text children in a new 32-bit memory DC, for UpdateLayered.
    HDC RenderLayeredImage();
    // Shows a rendered DC as the layered window's picture, then deletes the DC and its bitmap.
    void UpdateLayered(HDC dc, int alpha);
    // RenderLayeredImage, then UpdateLayered.
    void UpdateLayeredImage(int alpha);

    // The data-block channel entries (open blocks).
    int GetDataBlockCount() const { return m_blocks.GetCount(); }

protected:
    // Back to the state after construction (run before every creation).
    void Reset();

private:
    friend bool RegisterWndInTable(SWnd* window);
    friend bool UnregisterWndFromTable(SWnd* window);

    bool CreateWindowCommon(const char* className, const char* caption, DWORD style, DWORD exStyle,
                            const RECT* rect, HWND parent, UINT_PTR id, LPARAM creationParam,
                            HINSTANCE instance, bool subclass);
    void ComputeBorderFlags(DWORD style, DWORD exStyle);
    void InitAfterCreate();
    bool TranslateKeyDown(WPARAM key, LRESULT* result);
    void TranslateMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    void TranslateNcMouseMove(LPARAM lParam);
    bool TranslateNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void TranslateDropFiles(HDROP drop);
    bool TranslateDataBlock(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void FreeDataBlocks();
    void HotTrackRedraw();
    bool HandleScroll(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void SendToDescendants(UINT msg, WPARAM wParam, LPARAM lParam);

    // A minimum track size that stands for the system's own (SM_CXMIN, SM_CYMIN).
    static const int kSystemMinTrackSize = -2;

    RECT m_workArea;
    DWORD m_ownerThread;
    WNDPROC m_oldProc;
    unsigned char m_ownerPaint;
    HWND m_handle;
    int m_kind;
    unsigned char m_redrawOn;
    int m_userValue;
    int m_userValue2;
    SString m_name;
    void* m_ownerObject;
    int m_minTrackWidth, m_minTrackHeight;
    int m_maxTrackWidth, m_maxTrackHeight;
    int m_minClientWidth, m_minClientHeight;
    int m_maxClientWidth, m_maxClientHeight;
    unsigned char m_hasBorder;
    unsigned char m_hasCaptionMenu;
    unsigned char m_moveWithMouse;
    int m_anchorFlags;
    int m_anchorParentWidth, m_anchorParentHeight;
    RECT m_anchorRect;
    int m_eraseNesting;
    int m_lineStepH, m_lineStepV;
    int m_pageStepH, m_pageStepV;
    int m_roundStepH, m_roundStepV;
    HFONT m_font;
    int m_shortcutMask;
    unsigned char m_normalState;
    unsigned char m_refuseNextFocus;
    unsigned char m_inSizeMove;
    unsigned char m_keepEnabled;
    unsigned char m_enterCloses;
    unsigned char m_escapeCloses;
    unsigned char m_modal;
    int m_modalResult;
    unsigned char m_caretExists, m_caretShown;
    int m_caretWidth, m_caretHeight;
    unsigned char m_caretVisible;
    int m_caretX, m_caretY;
    unsigned char m_cursorHandling;
    HCURSOR m_cursor;
    unsigned char m_hotAreasOn;
    SArray<RECT> m_hotAreas;
    int m_currentHotArea;
    unsigned char m_dragging;
    int m_dragX, m_dragY;
    unsigned char m_hotTracking;
    unsigned char m_hover, m_pressed, m_checked;
    int m_nextTabIndex;
    int m_tabGroup;
    int m_tabIndex;
    unsigned m_backColor;
    unsigned m_colorKey;
    RECT m_sliceMargins;
    unsigned char m_redrawingTransparent;
    unsigned char m_changeNotify;
    HWND m_tooltip;
    SString m_tooltipText;
    SArray<unsigned char*> m_blocks;
    SArray<int> m_blockSizes;
    SArray<int> m_blockPositions;
    SArray<int> m_blockFlags;
    HBITMAP m_eraseBitmap;
    HBITMAP m_eraseOldBitmap;
    SWndBackground m_background;
};

// The library window object of a handle of this thread; null for foreign windows.
SWnd* FindWndByHandle(HWND handle);
// Inserts the window into its thread's list, kept sorted by handle.
bool RegisterWndInTable(SWnd* window);
// Removes the window from its thread's list.
bool UnregisterWndFromTable(SWnd* window);
