#pragma once
// The image editor control: one picture shown enlarged by a whole zoom factor
// on a hatched background, edited where the user clicks or drags with the
// current tool (square brush, colour picker, zoom, a selection the arrow keys
// move). A tool panel can be bound to choose the tools and show the colours.
#include <windows.h>
#include <gdiplus.h>
#include <stdint.h>

#include "SCursor.h"
#include "SImage.h"
#include "SImageList.h"
#include "SPanelCtrl.h"
#include "SSelector.h"
#include "SStringArray.h"
#include "SWnd.h"

class SFile;

class SImageEditor : public SWnd
{
public:
    // A button panel bound to one editor: group 0 chooses the tools, group 1 the colours.
    class _SPanel : public SPanelCtrl
    {
    public:
        explicit _SPanel(SImageEditor* editor = nullptr) : m_editor(nullptr) { Bind(editor); }
        ~_SPanel() override { Bind(nullptr); }
        // Binds the panel and the editor to each other (null unbinds the panel).
        void Bind(SImageEditor* editor);
        SImageEditor* GetEditor() const { return m_editor; }
        // Applies the tool or colour of the clicked button, then the editor's hook.
        void OnButtonClick(int groupId, int buttonId, _SButton* button) override;

    private:
        SImageEditor* m_editor; // not owned
    };

    // The tools.
    enum : int
    {
        TOOL_NONE = 0, TOOL_BRUSH, TOOL_FILL, TOOL_SHAPE, TOOL_PICKER, TOOL_SELECT, TOOL_ZOOM
    };
    enum : int
    {
        MinZoom = 1, MaxZoom = 32
    };

    SImageEditor();
    ~SImageEditor() override;

    // --- hooks (slots after those of SWnd) ---
    // Called after the colour picker took a colour; empty here.
    virtual void OnImageChanged(bool primary, uint32_t color);
    // Two hooks kept for derived editors; the editor never calls them.
    virtual void OnEditHook(int value);
    virtual void OnViewHook(int value);
    // Called by a bound panel after each of its button clicks; empty here.
    virtual void OnPanelButton(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* button);

    // --- picture ---
    // Decodes the stream (any GDI+ format) as the new picture and resets the view; false
    // (no picture shown) when it cannot be decoded.
    bool LoadFile(SFile* stream);
    // The picture being edited (empty before a successful LoadFile).
    const SImage* GetImage() const { return &m_image; }
    int GetImageWidth() const { return m_image.GetWidth(); }
    int GetImageHeight() const { return m_image.GetHeight(); }

    // --- tools and colours ---
    // Tools outside 1..6 give tool 0; a change refreshes the cursor.
    void SetTool(int tool);
    int GetTool() const { return m_tool; }
    // Clamped to 1..32; a change updates the scroll bars and redraws.
    void SetZoom(int zoom);
    int GetZoom() const { return m_zoom; }
    // Brush side in picture pixels (at least 1).
    void SetBrushSize(int size);
    int GetBrushSize() const { return m_brushSize; }
    // ARGB colours; the bound panel's swatch shows each one.
    void SetColor(uint32_t color, bool primary = true);
    void SetSecondaryColor(uint32_t color) { SetColor(color, false); }
    uint32_t GetColor(bool primary = true) const { return primary ? m_primary : m_secondary; }
    uint32_t GetSecondaryColor() const { return m_secondary; }
    // 1: the brush paints; 0: it only reports.
    void SetFillMode(int mode) { m_fillMode = mode ? 1 : 0; }
    int GetFillMode() const { return m_fillMode; }
    void SetShape(int shape) { m_shape = shape >= 0 && shape <= 2 ? shape : 0; }
    int GetShape() const { return m_shape; }
    int GetState() const { return m_state; }

    // --- selection ---
    // Selects the picture rectangle between two corners (clipped to the picture); false when empty.
    bool SetSelection(int left, int top, int right, int bottom);
    bool HasSelection() const { return m_selecting != 0 && m_points != nullptr && m_pointCount > 0; }
    void ClearSelection();
    // Moves every point of the selection; false without one.
    bool MoveSelection(int dx, int dy);
    // The selection's top-left (first point) and bottom-right (third point) corners.
    bool GetSelectionRect(RECT* rect) const;
    // The picture pixel lies in the selection (selection on, state 0).
    bool IsInSelection(int x, int y) const;

    // --- view ---
    // Where the zoomed picture lies in the client.
    RECT GetImageRect() const;
    // The picture pixel under a client point; false (and -1, -1) outside the picture.
    bool HitTest(int x, int y, int* pixelX, int* pixelY) const;
    // Side of the brush cursor's picture for a square of that many client pixels.
    static int GetBrushCursorSide(int squareSide);
    // The handle of the window's own cursor for the current tool (null: the class cursor).
    HCURSOR GetToolCursor() const { return m_toolCursor; }
    // The bound tool panel; null when none.
    SPanelCtrl* GetPanel() const { return m_panel; }
    void SetPanel(SPanelCtrl* panel) { m_panel = panel; }
    // The colour dialogs' owner and runner.
    SSelector* GetSelector() { return &m_selector; }

    // Paints the hatched background and the zoomed picture.
    void Paint(HDC dc);
    // Runs the current tool at a client point with the left or right button.
    void RunTool(int x, int y, bool left);
    // The colour dialog for the primary or secondary colour; true when a colour was chosen.
    bool ChooseColor(bool primary);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ResetEditState();
    void ResetView();
    void UpdateScrollBars();
    void RefreshCursor();
    // Builds the brush cursor for the zoom and brush size.
    void BuildBrushCursor();
    void PaintBrush(int x, int y, bool left);
    void OnKeyDown(WPARAM key);
    void Changed();

    SSelector m_selector;
    SStringArray m_strings;
    SImage m_image;
    Gdiplus::HatchBrush* m_hatch; // made at creation (GDI+ is running by then)
    unsigned char m_selecting;
    POINT* m_points; // owned; first and third are the corners
    int m_pointCount;
    int m_tool;
    uint32_t m_primary, m_secondary;
    int m_fillMode;
    int m_shape;
    int m_state;
    int m_brushSize;
    SCursor m_cursor;
    HCURSOR m_toolCursor;
    int m_cursorSide; // square side the brush cursor was built for (0: none)
    int m_scrollX, m_scrollY;
    int m_zoom;
    int m_lastX, m_lastY;
    SPanelCtrl* m_panel; // not owned
    SImageList m_imageLists[8];
};
