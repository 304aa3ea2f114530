#pragma once
// One common-controls image list whose cells all have one size.
#include <windows.h>
#include <commctrl.h>

class SFile;
class SImage;

class SImageList
{
public:
    SImageList();
    virtual ~SImageList();
    SImageList(const SImageList&) = delete;
    SImageList& operator=(const SImageList&) = delete;

    // Makes a new empty list (sizes outside 1..256 become 16); the old one is destroyed.
    bool Create(int cellWidth, int cellHeight, UINT flags = ILC_COLOR32);
    // Destroys the list.
    void Destroy();
    // The list handle, null when there is none.
    HIMAGELIST GetHandle() const { return m_handle; }
    // Number of cells; 0 without a list.
    int GetCount() const;
    // Cell size; 0 x 0 without a list.
    SIZE GetIconSize() const;
    int GetIconWidth() const;
    int GetIconHeight() const;
    // Removes every cell.
    bool RemoveAll();
    // Appends an icon.
    bool AddIcon(HICON icon);
    // Appends a bitmap of the cell size (no mask); the caller keeps the bitmap.
    bool AddBitmap(HBITMAP bitmap);
    // Appends an empty cell, so that later indexes stay stable.
    bool AddBlank();
    // Appends a picture scaled to the cell size; the picture is not changed.
    bool AddImage(const SImage* image);
    // Appends a picture decoded from the stream position to its end, optionally in a disabled look.
    bool AddFile(SFile* stream, bool disabledLook = false);
    // Appends a module resource: an image of the type, or a bitmap resource when type is null.
    bool AddResource(int id, const char* type = nullptr, bool disabledLook = false);
    // Rebuilds the list from a picture made of equal cells, row by row (at most 4096 cells).
    bool AddStrip(const SImage* strip, int cellWidth, int cellHeight);

private:
    HIMAGELIST m_handle;
};
