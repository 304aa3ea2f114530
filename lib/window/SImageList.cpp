#include "SImageList.h"

#include "SFileMem.h"
#include "SImage.h"

namespace {

// Most cells a strip may be cut into.
const long long kMaxStripCells = 4096;

// Grey picture whose opaque pixels become half transparent.
void MakeDisabledLook(SImage* image)
{
    image->MakeGrayscale(nullptr);
    image->SetAlpha(128, nullptr, true);
}

} // namespace

SImageList::SImageList() : m_handle(nullptr)
{
}

SImageList::~SImageList()
{
    Destroy();
}

bool SImageList::Create(int cellWidth, int cellHeight, UINT flags)
{
    Destroy();
    if (cellWidth < 1 || cellWidth > 256)
        cellWidth = 16;
    if (cellHeight < 1 || cellHeight > 256)
        cellHeight = 16;
    m_handle = ImageList_Create(cellWidth, cellHeight, flags, 0, 0);
    return m_handle != nullptr;
}

void SImageList::Destroy()
{
    if (m_handle)
        ImageList_Destroy(m_handle);
    m_handle = nullptr;
}

int SImageList::GetCount() const
{
    return m_handle ? ImageList_GetImageCount(m_handle) : 0;
}

SIZE SImageList::GetIconSize() const
{
    SIZE size = {0, 0};
    int width = 0, height = 0;
    if (m_handle && ImageList_GetIconSize(m_handle, &width, &height)) {
        size.cx = width;
        size.cy = height;
    }
    return size;
}

int SImageList::GetIconWidth() const
{
    return GetIconSize().cx;
}

int SImageList::GetIconHeight() const
{
    return GetIconSize().cy;
}

bool SImageList::RemoveAll()
{
    return m_handle && ImageList_Remove(m_handle, -1);
}

bool SImageList::AddIcon(HICON icon)
{
    return m_handle && icon && ImageList_ReplaceIcon(m_handle, -1, icon) >= 0;
}

bool SImageList::AddBitmap(HBITMAP bitmap)
{
    return m_handle && bitmap && ImageList_Add(m_handle, bitmap, nullptr) >= 0;
}

bool SImageList::AddBlank()
{
    if (!m_handle)
        return false;
    SIZE size = GetIconSize();
    HBITMAP bitmap = CreateBitmap(size.cx, size.cy, 1, 24, nullptr);
    if (!bitmap)
        return false;
    bool done = ImageList_Add(m_handle, bitmap, nullptr) >= 0;
    DeleteObject(bitmap);
    return done;
}

bool SImageList::AddImage(const SImage* image)
{
    if (!m_handle || !image || !image->IsLoaded())
        return false;
    SIZE size = GetIconSize();
    HBITMAP bitmap = nullptr;
    if (image->GetWidth() == size.cx && image->GetHeight() == size.cy) {
        bitmap = image->GetHBitmap32(true);
    } else {
        SImage scaled;
        if (scaled.Assign(image) && scaled.Resize(size.cx, size.cy))
            bitmap = scaled.GetHBitmap32(true);
    }
    if (!bitmap)
        return false;
    bool done = ImageList_Add(m_handle, bitmap, nullptr) >= 0;
    DeleteObject(bitmap);
    return done;
}

bool SImageList::AddFile(SFile* stream, bool disabledLook)
{
    if (!m_handle || !stream)
        return false;
    SImage image;
    if (!image.Load(stream, -1))
        return false;
    if (disabledLook)
        MakeDisabledLook(&image);
    return AddImage(&image);
}

bool SImageList::AddResource(int id, const char* type, bool disabledLook)
{
    if (!m_handle)
        return false;
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (type) {
        SFileMem memory;
        if (!memory.LoadResource(type, id, module))
            return false;
        memory.Rewind();
        return AddFile(&memory, disabledLook);
    }
    HBITMAP loaded = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (!loaded)
        return false;
    SImage image;
    bool converted = image.FromHBitmap(loaded);
    DeleteObject(loaded);
    if (!converted)
        return false;
    if (disabledLook)
        MakeDisabledLook(&image);
    return AddImage(&image);
}

bool SImageList::AddStrip(const SImage* strip, int cellWidth, int cellHeight)
{
    if (!strip)
        return false;
    Destroy();
    if (cellWidth < 1)
        cellWidth = 16;
    if (cellHeight < 1)
        cellHeight = 16;
    int columns = strip->GetWidth() / cellWidth;
    int rows = strip->GetHeight() / cellHeight;
    // A strip smaller than one cell holds no picture at all; a damaged cell size that cuts a picture
    // into more cells than any list needs would keep the program busy for minutes.
    if (columns == 0 || rows == 0 || (long long)columns * rows > kMaxStripCells)
        return false;
    if (!Create(cellWidth, cellHeight, ILC_COLOR32))
        return false;
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            SImage cell;
            if (cell.CopyRegion(strip, cellWidth * column, cellHeight * row, cellWidth, cellHeight))
                AddImage(&cell);
        }
    }
    return true;
}
