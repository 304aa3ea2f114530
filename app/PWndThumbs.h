#pragma once
// The thumbnail grid: the sub-folders of the current folder as covers with their names,
// on a coloured background with a band along the left edge. A click on a cover plays
// the folder or opens it; the band goes to the parent folder or the root.
#include <windows.h>

#include "SArray.h"
#include "SImage.h"
#include "SStringArray.h"
#include "SWnd.h"

class PWndApp;

class PWndThumbs : public SWnd
{
public:
    enum
    {
        CellWidth = 170, CellHeight = 200, GridLeft = 32, GridTop = 8, CoverSize = 150, CoverOffset = 4,
        BandWidth = 100, PlaySize = 64, PlayOffset = 86,
        // Hot index of the left band.
        HotBand = -2
    };

    PWndThumbs();
    ~PWndThumbs() override;

    bool Create(const RECT* rect, HWND parent, int id);
    // Stores the owner.
    void SetApp(PWndApp* owner) { m_owner = owner; }

    // Removes every cell and resets the scroll range.
    void Clear();
    // Appends a cell: the cover (copied 150 x 150 unscaled), the caption and whether the
    // folder holds media.
    void AddCell(const SImage* image, const char* caption, bool holdsMedia);
    // The cover drawn in every cell added without one (copied): one bitmap for them
    // all, however many folders have no cover of their own.
    void SetDefaultCover(const SImage* image);
    int GetCellCount() const { return m_captions.GetCount(); }
    SString GetCaption(int index) const { return m_captions.GetAt(index); }
    bool HoldsMedia(int index) const { return index >= 0 && index < m_holdsMedia.GetCount() && m_holdsMedia.GetAt(index); }

    // Whole columns at the current width (0 when narrower than one cell).
    int GetColumns() const;
    int GetRows() const;
    // Cells that the grid shows at once at its size, partly shown rows included.
    int GetShownCellCount() const;
    // The cell whose cover holds the point, HotBand on the left band, else -1.
    int HitTest(int x, int y) const;
    // The cell under the mouse (-1 none, HotBand the band) and the cursor that goes with it.
    void SetHot(int index);
    int GetHot() const { return m_hot; }

    // Draws the band, the cells on show and the play symbol of the hot cell into a DC.
    void Paint(HDC dc);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateScrollRange();
    void RedrawGrid();
    void OnLeftButton();
    void OnRightButton();
    // Makes the font and the cell pictures on the first paint: a grid that stays
    // hidden at start costs nothing.
    void PrepareDrawingObjects();
    // Deletes the font and the cell pictures; the next paint makes them again.
    void ReleaseDrawingObjects();

    PWndApp* m_owner;
    HFONT m_font;
    SImage m_play;
    // First-column cell, other cell, first column while the band is hot, hot first-column
    // cell, hot other cell.
    HBITMAP m_cells[5];
    SStringArray m_captions;
    SArray<bool> m_holdsMedia;
    SArray<HBITMAP> m_covers;
    // The cover of cells without their own (owned), null for none.
    HBITMAP m_defaultCover;
    int m_hot;
    bool m_drawingReady;
};
