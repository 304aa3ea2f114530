#pragma once
// The dialog description model: one dialog record, the ordered control records
// and the table of the 34 control types, with the "TAVRIN DIALOG 1.0.0.0" text
// reader and writer, the control factory and the run-time dialog builder. The
// same class is the window of the interactive designer, whose state lives
// beside the model.
#include <windows.h>
#include <stdint.h>

#include "SArray.h"
#include "SString.h"
#include "SStringArray.h"
#include "SMenu.h"
#include "SWnd.h"
#include "SWndDialog.h"
#include "SImage.h"
#include "SPanelCtrl.h"

// The builder's name is taken by a macro of <windows.h>; the system's own
// function stays reachable as CreateDialogA/CreateDialogW.
#undef CreateDialog

class SFile;
class SResource;
class SWndDialog;
class SMenu;
class SImageList;
class SPropertyCtrl;

// What the designer's drags and keys read of the mouse and keyboard, and the
// modal calls that wait for a user (menus, message boxes, the Test dialog): the
// real ones by default; a test installs its own so that a drag runs without real
// input and nothing waits for a user.
class SDesignerInput
{
public:
    virtual ~SDesignerInput();
    // Whether a key or mouse button is held (GetAsyncKeyState).
    virtual bool IsKeyDown(int key);
    // The cursor in screen coordinates.
    virtual POINT GetCursorPos();
    // Waits until new input arrives or the time has passed.
    virtual void WaitForInput(DWORD milliseconds);
    // Tracks a popup menu at a screen point (right-button tracking); the chosen
    // command reaches the owner as the library's menu command message.
    virtual bool TrackMenu(SMenu* menu, SWnd* owner, POINT screen);
    // A message box over the owner; the button that closed it.
    virtual int ShowMessage(SWnd* owner, const char* text, const char* caption, UINT type);
    // Runs a built dialog modally until it is closed; its modal result.
    virtual int RunModal(SWnd* dialog);
};

class SDialogEditor : public SWnd
{
public:
    // Number of control types; type ids run from 0 to TypeCount - 1.
    enum { TypeCount = 34 };
    // Type ids of the table.
    enum
    {
        TYPE_DIALOG = 0, TYPE_BROWSER, TYPE_BUTTON, TYPE_CHECK, TYPE_CODEEDIT, TYPE_COMBO, TYPE_EDIT,
        TYPE_EXTENDEDLIST, TYPE_GROUP, TYPE_GUI, TYPE_IMAGEEDITOR, TYPE_LABEL, TYPE_LCD, TYPE_LEVEL,
        TYPE_LIST, TYPE_MEDIA, TYPE_MEDIAPLAYER, TYPE_PANEL, TYPE_PROGRESS, TYPE_PROPERTY, TYPE_RADIO,
        TYPE_RICHEDIT, TYPE_SCROLL, TYPE_SLIDER, TYPE_SPLITTER, TYPE_SPREAD, TYPE_STATIC, TYPE_TAB,
        TYPE_TABDOC, TYPE_TOOLBAR, TYPE_TREE, TYPE_WAVEEDITOR, TYPE_WINDOW, TYPE_EXTERN
    };

    // One control record, or the dialog record. The dialog window reads its
    // ID, NAME and font through the record interface it declares.
    class _SCtrl : public SWndDialog::_SRecord
    {
    public:
        _SCtrl();
        ~_SCtrl() override;
        _SCtrl(const _SCtrl&) = delete;
        _SCtrl& operator=(const _SCtrl&) = delete;

        // Optional blanks and sign, then decimal digits read into 64 bits; the low 32
        // bits are kept, so a value written signed or unsigned reads the same.
        static uint32_t ReadDecimal(const char* text);

        // Copies every field but the live window and the font handle.
        void CopyFrom(const _SCtrl& other);

        short GetID() const override { return m_id; }
        void SetID(int id) { m_id = (int16_t)id; }
        int GetType() const { return m_type; }
        // A negative type becomes -1 (none).
        void SetType(int type) { m_type = (int16_t)(type < 0 ? -1 : type); }
        SString GetName() const override { return m_name; }
        // NAME equals the text (case-sensitive), without copying it.
        bool HasName(const char* name) const { return m_name == name; }
        void SetName(const char* name) { m_name = name ? name : ""; }
        SString GetCaption() const { return m_caption; }
        void SetCaption(const char* caption) { m_caption = caption ? caption : ""; }
        SString GetFontFace() const override { return m_fontFace; }
        short GetFontSize() const override { return m_fontSize; }
        unsigned GetFontStyle() const override { return m_fontStyle; }
        void SetFont(const char* face, int size, unsigned style);
        int GetX() const { return m_x; }
        void SetX(int x) { m_x = (int16_t)x; }
        int GetY() const { return m_y; }
        void SetY(int y) { m_y = (int16_t)y; }
        int GetWidth() const { return m_width; }
        void SetWidth(int width) { m_width = (int16_t)width; }
        int GetHeight() const { return m_height; }
        void SetHeight(int height) { m_height = (int16_t)height; }
        bool IsLocked() const { return m_locked != 0; }
        void SetLocked(bool locked) { m_locked = locked ? 1 : 0; }
        bool IsDialog() const { return m_isDialog != 0; }
        void SetDialogFlag(bool on) { m_isDialog = on ? 1 : 0; }
        uint32_t GetStyle() const { return m_style; }
        void AssignStyle(uint32_t style) { m_style = style; }
        uint32_t GetExStyle() const { return m_exStyle; }
        void AssignExStyle(uint32_t exStyle) { m_exStyle = exStyle; }
        uint32_t GetBackColor() const { return m_backColor; }
        void SetBackColor(uint32_t color) { m_backColor = color; }
        uint32_t GetTextColor() const { return m_textColor; }
        void SetTextColor(uint32_t color) { m_textColor = color; }
        bool GetTransparent() const { return m_transparent != 0; }
        void SetTransparent(bool on) { m_transparent = on ? 1 : 0; }
        SString GetExtraProperties() const { return m_extra; }
        // Null sets the empty text.
        void SetExtraProperties(const char* text) { m_extra = text ? text : ""; }
        SWnd* GetWnd() const { return m_wnd; }
        // Takes ownership of the window (the previous one is not deleted).
        void SetWnd(SWnd* window) { m_wnd = window; }
        HFONT GetFontHandle() const { return m_font; }
        int GetPropertyScroll() const { return m_propertyScroll; }
        void SetPropertyScroll(int position) { m_propertyScroll = position; }

        int GetRight() const { return m_x + m_width; }
        int GetBottom() const { return m_y + m_height; }
        void GetRect(RECT* rect) const;
        // A 6 x 6 handle square just outside the record's rectangle (0 top-left to 7 bottom-right),
        // in the units of the rectangle given (the record's own when null).
        void GetHandleRect(int index, RECT* rect, const RECT* bounds = nullptr) const;

        // Style bits: Has* are true when every given bit is set (true for 0).
        bool HasStyle(uint32_t bits) const { return (m_style & bits) == bits; }
        bool HasExStyle(uint32_t bits) const { return (m_exStyle & bits) == bits; }
        void AddStyle(uint32_t bits) { m_style |= bits; }
        void AddExStyle(uint32_t bits) { m_exStyle |= bits; }
        void RemoveStyle(uint32_t bits) { m_style &= ~bits; }
        void RemoveExStyle(uint32_t bits) { m_exStyle &= ~bits; }
        void SetStyle(uint32_t bits, bool on) { on ? AddStyle(bits) : RemoveStyle(bits); }
        void SetExStyle(uint32_t bits, bool on) { on ? AddExStyle(bits) : RemoveExStyle(bits); }
        // Clears the bits when all are set, else sets them; whether they are set afterwards.
        bool ToggleStyle(uint32_t bits);
        bool ToggleExStyle(uint32_t bits);
        void SwapWidthHeight();

        // --- extra properties: lines "key=value" CR LF ---
        // The value of the first line with the key; "" when absent.
        SString GetProperty(const char* key) const;
        // Replaces the value of the first line with the key, or appends a line.
        void SetProperty(const char* key, const char* value);
        void SetPropertyInt(const char* key, int value);
        int GetPropertyInt(const char* key) const;
        bool GetPropertyBool(const char* key) const;
        double GetPropertyDouble(const char* key) const;
        // The value as a 32-bit pattern, written signed or unsigned.
        uint32_t GetPropertyUInt(const char* key) const;
        // A colour: "" gives none (0xFF000000), 0xFE000000 + n the system colour n.
        uint32_t GetPropertyColor(const char* key) const;
        // Image draw mode 0 to 11 from its "_DRAW..." name.
        int GetPropertyDrawMode(const char* key) const;
        // A list value: tokens split at '|', trimmed, '"' quoting.
        SStringArray GetPropertyList(const char* key) const;

        // --- text form ---
        // Reads one section; bytes consumed, 0 for an unknown keyword, -1 for a line without "=".
        int Read(SFile* stream, SDialogEditor* editor);
        // Writes one section; bytes written, 0 when the type has no entry.
        int Write(SFile* stream, SDialogEditor* editor) const;
        // Style names of the record's type to bits, into STYLE or EXSTYLE; an empty text changes nothing.
        void StyleNamesToBits(bool exStyle, const char* names);
        // The names of the set bits of STYLE or EXSTYLE, each followed by a blank.
        SString StyleBitsToNames(bool exStyle) const;
        // A text as one line of a description: CR, LF and NUL would end or cut the line, so they become blanks.
        static SString OneLine(const SString& text);
        // Makes the texts what the reader gives for them, so that the record saves into a
        // description that loads it again: NAME and CAPTION one line each, the font face one
        // line without commas or blanks around it, the extra properties only lines with a key,
        // "=" and no field key, each one line and ended by CR LF.
        void FitTextForm();

        // Replaces the live window by a new preview from the control factory; false when none is made.
        bool CreatePreview(SDialogEditor* editor);

        // --- clipboard form: fields in order, little-endian, texts NUL-terminated ---
        // Writes the record at the stream's position; the bytes written, 0 without a stream.
        int WriteBinary(SFile* stream) const;
        // Reads one record from the stream's position; the bytes consumed. 0 (record and
        // position unchanged) without a stream or when a field or terminator is missing or
        // a flag is neither 0 nor 1.
        int ReadBinary(SFile* stream);

    private:
        int16_t m_id;
        int16_t m_type;
        SString m_name;
        SString m_caption;
        SString m_fontFace;
        int16_t m_fontSize;
        uint32_t m_fontStyle;
        int16_t m_x, m_y, m_width, m_height;
        uint8_t m_locked;
        uint8_t m_isDialog;
        uint32_t m_style;
        uint32_t m_exStyle;
        uint32_t m_backColor;
        uint32_t m_textColor;
        uint8_t m_transparent;
        SString m_extra;
        SWnd* m_wnd;
        HFONT m_font;
        int m_propertyScroll;
    };

    // One entry of the control type table.
    class _SType
    {
    public:
        _SType() : m_id(0) {}
        int GetType() const { return m_id; }
        const SString& GetName() const { return m_keyword; }
        const SString& GetCaption() const { return m_caption; }
        void Set(const char* keyword, const char* caption)
        {
            m_keyword = keyword ? keyword : "";
            m_caption = caption ? caption : "";
        }
        void SetId(int id) { m_id = (int16_t)id; }

    private:
        int16_t m_id;
        SString m_keyword;
        SString m_caption;
    };

    // The plain child window of a "WINDOW" record: paints its own background on WM_PRINTCLIENT.
    class _SWnd : public SWnd
    {
    public:
        LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    };

    // One undo step: copies of the dialog record and of every control in list
    // order, and which of the copies were selected.
    class _SUndo
    {
    public:
        _SUndo() = default;
        ~_SUndo() { Clear(); }
        _SUndo(const _SUndo&) = delete;
        _SUndo& operator=(const _SUndo&) = delete;

        // Copies the records and notes the selected ones; false without a dialog record or list.
        bool Fill(const SDialogEditor* editor, const _SCtrl* dialog, const SArray<_SCtrl*>* controls);
        // Puts the copies back into the editor and selects the noted ones; false without a dialog copy.
        bool Restore(SDialogEditor* editor) const;
        // Deletes every copy.
        void Clear();
        int GetControlCount() const { return m_controls.GetCount(); }

    private:
        _SCtrl* m_dialog = nullptr;
        SArray<_SCtrl*> m_controls;
        // Entries of m_controls (not owned), in list order.
        SArray<_SCtrl*> m_selected;
        // The dialog record was selected: noted apart, since a control may share its ID.
        bool m_dialogSelected = false;
    };

    // The designer's tool panel: forwards every button click to its editor.
    class _SToolPanel : public SPanelCtrl
    {
    public:
        explicit _SToolPanel(SDialogEditor* editor) : m_editor(editor) {}
        // The editor handles the button, then the panel's own handling runs.
        void OnButtonClick(int groupId, int buttonId, _SButton* button) override;
        SDialogEditor* GetEditor() const { return m_editor; }

    private:
        SDialogEditor* m_editor;
    };

    // Creates a live control of a given type for a record: the creator constructs
    // the object and creates its window; null when it cannot.
    typedef SWnd* (*ControlCreator)(SWndDialog* dialog, HWND parent, _SCtrl* record, SResource* resources,
                                    bool visible, SWnd* custom);

    SDialogEditor();
    ~SDialogEditor() override;

    // --- designer hooks (the owner's say in the designer's actions) ---
    // Asked before an inserted or pasted control joins the list; false drops it.
    virtual bool CanAddControl(_SCtrl* record);
    // Asked before Delete, Cut or RemoveControl with asking removes a control.
    virtual bool CanRemoveControl(_SCtrl* record);
    // Asked before the property sheet renames a control; false keeps the old name.
    virtual bool CanRenameControl(_SCtrl* record, const char* newName);
    // After every selection change made by the designer; refreshes the property sheet.
    virtual void OnSelectionChanged(_SCtrl* previous, _SCtrl* current);
    // A double click in the design area, with the primary selection.
    virtual void OnControlClick(_SCtrl* record);
    // Called by the property sheet fill after its own groups.
    virtual void OnFillProperties(SPropertyCtrl* sheet, _SCtrl* record);
    // Fills the attached tool panel.
    virtual void BuildToolPanel();
    // Sets the tool panel's button states.
    virtual void OnUpdateToolPanel(SPanelCtrl* panel);
    // After the tool panel handled a button.
    virtual void OnPanelCommand(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record);
    // Just before the popup menu is shown.
    virtual void OnBuildPopupMenu(SMenu* menu, _SCtrl* primary);
    // A resource the built dialog asks for by name during Test; false when there is none.
    virtual bool LoadResourceByName(const char* name, SFile* target);

    // --- designer window: selection, coordinates, keys, mouse and painting ---
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDelete() override;
    void OnSelectAll() override;
    void OnEscape() override;

    // Selection entries; entry 0 is the primary. Null outside the range.
    int GetSelectedCount() const { return m_selection.GetCount(); }
    _SCtrl* GetSelected(int index) const;
    _SCtrl* GetPrimary() const { return GetSelected(0); }
    // Position in the selection; -1 when absent or null.
    int GetSelectedIndex(const _SCtrl* record) const;
    bool IsSelected(const _SCtrl* record) const { return GetSelectedIndex(record) >= 0; }
    // Some selected record has this 16-bit ID.
    bool IsIDSelected(int id) const;
    // The selection is the dialog record.
    bool IsDialogSelected() const;
    // Empties the selection without notification.
    void ClearSelection() { m_selection.RemoveAll(); }
    // Appends; false when already selected or null.
    bool AddToSelection(_SCtrl* record);
    // Removes; false when absent.
    bool Deselect(_SCtrl* record);
    // Swaps the record with entry 0; false when absent or the dialog record.
    bool MakePrimary(_SCtrl* record);
    // Selects only the record (nothing for null) and calls OnSelectionChanged.
    void Select(_SCtrl* record);
    // Some selected record is locked.
    bool IsSelectionLocked() const;
    // Smallest rectangle holding every selected record, in design units (empty when none).
    RECT GetSelectionBounds() const;
    // Position in the control list; -1 when absent.
    int GetControlIndex(const _SCtrl* record) const;
    // Selects every control that is not hidden, in list order.
    void SelectAll(bool redraw);
    // Removes a control (asking CanRemoveControl with ask); false when absent or refused.
    bool RemoveControl(_SCtrl* record, bool ask);
    // Removes every control without asking.
    void RemoveAllControls();
    // Deletes the selected controls (Delete); false when refused or nothing was removed.
    bool DeleteSelection();
    // Controls that sit only on TAB pages that are not shown.
    void GetHiddenControls(SArray<_SCtrl*>* hidden) const;
    bool IsHiddenControl(const _SCtrl* record) const;

    // Step of moves and placement: the grid when snap XOR Ctrl, else 1.
    int GetStepX(bool ctrlDown) const { return (m_snapToGrid != ctrlDown) ? m_gridWidth : 1; }
    int GetStepY(bool ctrlDown) const { return (m_snapToGrid != ctrlDown) ? m_gridHeight : 1; }
    // Grid size; values below 1 become 1.
    void SetGrid(int width, int height);
    int GetGridWidth() const { return m_gridWidth; }
    int GetGridHeight() const { return m_gridHeight; }
    bool IsGridVisible() const { return m_gridVisible; }
    bool IsSnapToGrid() const { return m_snapToGrid; }
    // Grid dots on or off (redraws); snapping on or off. The tool panel's buttons follow.
    void SetGridVisible(bool on);
    void SetSnapToGrid(bool on);
    // Rulers on or off; the layout follows at the next paint.
    void SetRulers(bool on);
    bool HasRulers() const { return m_rulers; }
    // 1 to 33 places that type, -1 is the selection tool; false for anything else.
    bool SetInsertTool(int type);
    int GetInsertTool() const { return m_insertTool; }
    // The editor font from a face and size; the stock GUI font for no face.
    void SetEditorFont(const char* face, int size);
    HFONT GetEditorFont() const;

    // Recomputes the client rectangle, design area and ruler bands.
    void UpdateLayout();
    RECT GetDesignArea() const { return m_designArea; }
    RECT GetHorzRulerRect() const { return m_horzRuler; }
    RECT GetVertRulerRect() const { return m_vertRuler; }
    // Client point or rectangle to design units and back.
    void ClientToDesign(POINT* point) const;
    void ClientToDesign(RECT* rect) const;
    void DesignToClient(POINT* point) const;
    void DesignToClient(RECT* rect) const;
    // Invalidates, erases and updates the whole window.
    void RedrawDesigner();
    // Sends the change notification to the parent.
    void NotifyChanged();

    // The tool panel and property sheet the owner attached (owned by the editor once attached).
    void SetToolPanel(SPanelCtrl* panel) { m_toolPanel = panel; }
    SPanelCtrl* GetToolPanel() const { return m_toolPanel; }
    // Refreshes the property sheet: the whole sheet for the primary (null key), or one item of a group.
    typedef void (*PropertySheetUpdater)(SDialogEditor* editor, const char* group, const char* key,
                                         const char* value);
    // Installs the property sheet's side (the layer that owns the sheet does); the previous one.
    static PropertySheetUpdater SetPropertySheetUpdater(PropertySheetUpdater updater);
    void UpdatePropertySheet(const char* group = nullptr, const char* key = nullptr, const char* value = nullptr);
    // The property sheet the owner attached (not owned; null when none); the sheet's layer binds it.
    void SetPropertyCtrl(SPropertyCtrl* sheet) { m_propertyCtrl = sheet; }
    SPropertyCtrl* GetPropertyCtrl() const { return m_propertyCtrl; }

    // The popup menu and the external-controls menu (popups owned by the window once it exists).
    SMenu* GetPopupMenu() { return &m_popupMenu; }
    SMenu* GetExternMenu() { return &m_externMenu; }
    // Adds an external control: command 100 + n with its displayed name and stored file name; false past 199.
    bool AddExternControl(const char* name, const char* fileName);
    int GetExternControlCount() const { return m_externCount; }
    // Places an external control chosen from the menu (command 100 to 199) at the menu's point.
    bool InsertExternControl(int command);

    // --- undo (at most UndoLimit steps, newest last) ---
    enum { UndoLimit = 32 };
    // Takes a snapshot before an edit; a snapshot that cannot be taken is not pushed.
    void PushUndo();
    // Drops the newest snapshot unapplied (an edit was refused after its snapshot).
    void PopUndo();
    // Deletes every undo and redo step.
    void ClearUndo();
    int GetUndoCount() const { return m_undo.GetCount(); }
    int GetRedoCount() const { return m_redo.GetCount(); }
    // The undo flag (on from construction); off, no snapshot is taken.
    void SetUndoEnabled(bool on) { m_undoEnabled = on; }
    bool IsUndoEnabled() const { return m_undoEnabled; }
    // Restores the newest snapshot and its selection; false when there is none.
    bool Undo();
    // Takes back the last Undo; false when there is nothing to redo. Any new edit clears it.
    bool Redo();
    void OnUndo() override;

    // --- clipboard ---
    // Puts the selected controls on the clipboard; false for none or the dialog record.
    bool CopyToClipboard();
    // The clipboard holds data in the library's binary format.
    bool CanPaste() const;
    // Copies, then removes the selected controls (asking the owner); false when the copy fails.
    bool Cut();
    // Adds the controls of the clipboard, selected; false (nothing changed) when none or damaged.
    bool PasteFromClipboard();
    // Adds the controls of a clipboard block read from its start: all of them or, when
    // any record is damaged, foreign or refused, none (the model stays as it was).
    bool PasteBlock(SFile* block);
    void OnCut() override;
    void OnCopy() override;
    void OnPaste() override;

    // --- labels, popup menu and test ---
    // Fills the label table with the default key=text lines.
    void LoadDefaultLabels();
    // The text of a key; "" when the table has no such key.
    SString GetLabel(const char* key) const;
    // The table itself, for an owner that translates it.
    SStringArray* GetLabels() { return &m_labels; }
    // A warning box titled "?ERROR" with the text of the key.
    void ShowLabelError(const char* key);
    // The right-button popup menu at a client point.
    void ShowPopupMenu(POINT point);
    // Adds or removes a control on a page of the primary TAB; false when the primary is no TAB.
    bool ToggleTabPageControl(int page, _SCtrl* control, bool add);
    // A TAB page command of the popup menu (200 to 9999); false when it does nothing.
    bool RunTabPageCommand(int command);
    // Builds the described dialog and runs it modally; false when it cannot be built.
    bool Test();

    // --- tool panel, alignment and order ---
    // Creates the designer's own panel window, attaches it and fills it; null on failure.
    _SToolPanel* CreateToolPanel(HWND parent, const RECT* rect);
    // Sets the panel's button states when a panel window exists; false otherwise.
    bool RefreshToolPanel();
    // A button of the tool panel (what _SToolPanel forwards), then OnPanelCommand.
    void OnToolPanelButton(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record);
    // Alignment, spacing, size and crop commands by their button id (0 to 13).
    bool Align(int command);
    // Order commands: selected controls to the end or start of the list, or one step.
    bool ToFront();
    bool ToBack();
    bool MoveForward();
    bool MoveBackward();

    // --- mouse ---
    // Installs the drag and key input (null: the real devices); returns the previous one.
    static SDesignerInput* SetInput(SDesignerInput* input);
    // The input in use.
    static SDesignerInput* GetInput();
    // Record positions and sizes are 16-bit: edits stop at the ends instead of wrapping round.
    static int ClampCoordinate(int value);
    // The record's rectangle in design units; the dialog record lies at the design origin.
    static void GetRecordRect(const _SCtrl* record, RECT* rect);
    // The record under a client point: controls from the top, then the dialog; null for none.
    _SCtrl* HitTest(POINT point) const;
    // Index 0 to 7 of the primary's handle under a client point; -1 for none.
    int HitTestHandle(POINT point) const;
    // A handle square of a record in client coordinates.
    void GetClientHandleRect(const _SCtrl* record, int index, RECT* rect) const;
    void OnMouseMove(POINT point);
    void OnLeftButtonDown(POINT point);
    void OnRightButtonDown(POINT point);
    void OnKeyDown(int key);
    // Modal drags inside the left-button handler; false when refused or cancelled.
    bool RubberBandSelect(POINT start);
    bool MoveDrag(POINT start);
    bool ResizeDrag(POINT start, int handle);
    // Places a new control of the type at a client point (snapped); null when refused.
    _SCtrl* PlaceControl(int type, POINT point);

    // --- painting ---
    typedef void (*ExternPaintCallback)(HDC dc, _SCtrl* record, void* user, const char* parameters);
    void SetExternPaintCallback(ExternPaintCallback callback, void* user);
    void SetDefaultColors();
    // 0xFF000000 keeps a stored colour.
    void SetWorkspaceColors(uint32_t workspace, uint32_t rulerBack);
    void SetRulerTextColor(uint32_t color);
    void SetSelectionColors(uint32_t focused, uint32_t unfocused);
    COLORREF GetWorkspaceColor() const { return m_workspaceColor; }
    COLORREF GetRulerBackColor() const { return m_rulerBackColor; }
    COLORREF GetRulerTextColor() const { return m_rulerTextColor; }
    COLORREF GetSelectionColor(bool focused) const { return focused ? m_selectColor : m_selectGrayColor; }
    // The dialog's background image and the name it was loaded from.
    const SImage* GetDesignImage() const { return &m_designImage; }
    const SString& GetDesignImageName() const { return m_designImageName; }
    void PaintDesign(HDC dc);
    void PaintRecord(HDC dc, _SCtrl* record);
    void PaintRulers(HDC dc);
    // Moves the pointer indicators on the rulers (null point: the pointer; null pen: a black one).
    void DrawRulerIndicators(HDC dc, const POINT* point, HPEN pen);
    int GetRulerMarkX() const { return m_rulerMarkX; }
    int GetRulerMarkY() const { return m_rulerMarkY; }

    // --- model ---
    // Fills the type table; previews are off with noPreview. Always true.
    bool Init(bool noPreview);
    // Empties the selection and the model, and clears the open flag.
    void Close();
    // Empties the model (the open flag stays).
    void Reset();
    // Replaces the model by the description read from the stream.
    bool Load(SFile* stream);
    // Writes the model at the stream's position.
    bool Save(SFile* stream);
    // The dialog record takes every field of the given record. Always true.
    bool SetDialog(const _SCtrl* record);
    // Appends a copy of the source as a new control record; null when refused.
    _SCtrl* AddControl(bool applyDefaults, const _SCtrl* source, bool keepName, bool keepId);

    _SCtrl* GetDialog() const { return m_dialog; }
    int GetControlCount() const { return m_controls.GetCount(); }
    _SCtrl* GetControl(int index) const;
    _SCtrl* FindControlByID(int id) const;
    _SCtrl* FindControlByName(const char* name) const;
    bool IsOpen() const { return m_open; }
    bool IsLayeredDialog() const;
    bool IsPreviewOff() const { return m_noPreview; }
    const _SType* FindControlType(const char* keyword) const;
    const _SType* GetTypeInfo(int type) const;
    const _SType* GetControlTypeInfo(const _SCtrl* record) const;
    bool IsIDFree(int id) const;
    int GetFreeID() const;
    bool IsNameFree(const char* name) const;
    SString MakeUniqueName(const _SType* type) const;
    // Lists the records of a type (-1 all) into the lists given; the count.
    int CollectControls(int type, SArray<_SCtrl*>* records = nullptr, SArray<int>* ids = nullptr,
                        SStringArray* names = nullptr, SStringArray* idNames = nullptr) const;
    // The resource source handed to the factory for previews (not owned).
    void SetResourceLoader(SResource* resources) { m_resources = resources; }
    SResource* GetResourceLoader() const { return m_resources; }

    // --- control factory ---
    // A colour field as drawn: none stays none, 0xFE000000 + n becomes the system colour n.
    static uint32_t ResolveColorValue(uint32_t color);
    // The custom object when it is of the type's class, else a new built-in one; a
    // custom object of another class is deleted.
    template <class T>
    static T* TakeCustom(SWnd* custom)
    {
        if (custom)
        {
            T* typed = dynamic_cast<T*>(custom);
            if (typed)
                return typed;
            delete custom;
        }
        return new T();
    }
    // A live control for the record; the caller owns it. Null for DIALOG or an unknown type.
    static SWnd* CreateControl(SWndDialog* dialog, HWND parent, _SCtrl* record, SResource* resources, bool visible);
    // Installs the creator of a type (the editor controls register theirs); the previous one.
    static ControlCreator RegisterControlType(int type, ControlCreator creator);
    static ControlCreator GetControlCreator(int type);

    // Links a built wave editor to the level meter its record names (the editor layer installs it).
    typedef bool (*LevelLinker)(SWnd* waveEditor, SWnd* levelMeter);
    static LevelLinker SetLevelLinker(LevelLinker linker);

    // --- run-time builder ---
    // Builds the dialog's window and controls from the description.
    static bool CreateDialog(SFile* stream, SWndDialog* dialog, HWND parent, SResource* resources, bool popup,
                             void* creationParam, SDialogEditor* sourceEditor, SMenuFactory menuCallback,
                             SMenuNameToId nameCallback, bool hidden);
    // Makes CreateDialog the builder of SWndDialog::CreateFromResource; programs call it once at start.
    static void InstallBuilder();

private:
    void ApplyTypeDefaults(_SCtrl* record) const;

    _SCtrl* m_dialog;
    SArray<_SCtrl*> m_controls;
    _SType m_types[TypeCount];
    bool m_open;
    bool m_noPreview;
    SResource* m_resources;
    // The designer's selection (not owning).
    SArray<_SCtrl*> m_selection;

    // --- designer window state ---
    void InitDesigner();
    void ResetDesigner();
    void ReleaseDesigner();
    void OnCreated();
    bool HandleMenuCommand(int command);
    void MoveSelectionByKey(int key, bool ctrlDown);
    void ResizePrimaryByKey(int key, bool ctrlDown);
    void TabToNextControl();
    bool IsCtrlDown() const;
    void PressSelectionTool();
    // The decimal numbers of a text separated by blanks (TAB page pairs).
    static void ReadNumbers(const char* text, SArray<int>* numbers);
    bool RunDragLoop(POINT start, int mode, int handle, SArray<RECT>* result);
    void ComputeDragOutlines(int mode, int handle, POINT start, POINT pointer, bool ctrlDown,
                             SArray<RECT>* outlines) const;
    void ShowNoExternError();
    SString GetInvisibleText() const;
    // The newest undo step applied and dropped; toRedo keeps the state it replaced for Redo.
    bool RestoreNewest(bool toRedo);
    void DeletePageMenus();
    void SetWidthsAndHeights(int command);
    bool CropToImages();
    bool SpaceSelection(bool horizontal, bool keepGap);
    bool ReorderSelection(bool toFront);
    bool SwapWithNeighbour(int step);
    void PaintDialogRecord(HDC dc, _SCtrl* record);
    void PaintControlRecord(HDC dc, _SCtrl* record);
    void PaintSelection(HDC dc);
    void LoadDesignImage();
    static void SetBrushColor(HBRUSH* brush, COLORREF* stored, uint32_t color);

    int m_insertTool = -1;
    int m_gridWidth = 5;
    int m_gridHeight = 5;
    bool m_gridVisible = true;
    bool m_snapToGrid = true;
    bool m_rulers = true;
    RECT m_clientRect = {0, 0, 0, 0};
    RECT m_designArea = {0, 0, 0, 0};
    RECT m_horzRuler = {0, 0, 0, 0};
    RECT m_vertRuler = {0, 0, 0, 0};
    int m_rulerMarkX = -1;
    int m_rulerMarkY = -1;
    COLORREF m_workspaceColor = 0, m_rulerBackColor = 0, m_rulerTextColor = 0;
    COLORREF m_selectColor = 0, m_selectGrayColor = 0;
    HBRUSH m_workspaceBrush = nullptr, m_rulerBackBrush = nullptr;
    HBRUSH m_selectBrush = nullptr, m_selectGrayBrush = nullptr;
    // Fills records that cannot be shown in layer mode.
    HBRUSH m_hatchBrush = nullptr;
    HFONT m_rulerFont = nullptr;
    // The editor font when made from a face (owned); null means the stock GUI font.
    HFONT m_editorFont = nullptr;
    SImage m_designImage;
    SString m_designImageName;
    SMenu m_popupMenu;
    SMenu m_externMenu;
    int m_externCount = 0;
    POINT m_externPoint = {0, 0};
    ExternPaintCallback m_externPaint = nullptr;
    void* m_externPaintUser = nullptr;
    SPanelCtrl* m_toolPanel = nullptr;
    SPropertyCtrl* m_propertyCtrl = nullptr;
    // Counts paints, so that a drag knows when its outlines were painted over.
    unsigned m_paintCount = 0;
    unsigned m_dragPaintCount = 0;
    bool m_dragging = false;
    // Undo and redo steps (owned, newest last); redo steps put aside by the latest push.
    bool m_undoEnabled = true;
    SArray<_SUndo*> m_undo;
    SArray<_SUndo*> m_redo;
    SArray<_SUndo*> m_redoHeld;
    // The designer's key=text label table.
    SStringArray m_labels;
    // The TAB page submenus of the last popup (owned).
    SArray<SMenu*> m_pageMenus;
};
