#include "SImage.h"

#include <objidl.h>
#include <string.h>
#include <wincodec.h>
#include <new>
#include <utility>
#include <vector>

#include "SByteStream.h"
#include "SDraw.h"
#include "SFile.h"
#include "SFileMem.h"
#include "SImageHeader.h"

using namespace Gdiplus;

namespace {

// Library colour (COLORREF order) to a GDI+ colour, opaque.
Color ToGdiColor(uint32_t color)
{
    COLORREF rgb = ResolveColor(color);
    return Color(255, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

bool IsFillColor(uint32_t color)
{
    return color != COLOR_NONE && color != COLOR_TRANSPARENT;
}

// Rectangle clamped to the image; false when nothing is left.
bool ClampRect(const RECT* rect, int width, int height, Rect* out)
{
    int left = 0, top = 0, right = width, bottom = height;
    if (rect) {
        left = rect->left < 0 ? 0 : rect->left;
        top = rect->top < 0 ? 0 : rect->top;
        right = rect->right > width ? width : rect->right;
        bottom = rect->bottom > height ? height : rect->bottom;
    }
    if (right <= left || bottom <= top)
        return false;
    *out = Rect(left, top, right - left, bottom - top);
    return true;
}

bool FindEncoder(const wchar_t* mime, CLSID* clsid)
{
    UINT count = 0, size = 0;
    if (GetImageEncodersSize(&count, &size) != Ok || size == 0)
        return false;
    std::vector<BYTE> block(size);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(block.data());
    if (GetImageEncoders(count, size, codecs) != Ok)
        return false;
    for (UINT i = 0; i < count; i++) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// Takes a freshly made GDI+ bitmap: kept when usable, deleted otherwise.
Bitmap* Usable(Bitmap* bitmap)
{
    if (bitmap && (bitmap->GetLastStatus() != Ok || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0)) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

// GDI+ looks for its decoder among every codec the registry lists, for each picture
// it opens: under Wine a few dozen server round trips, more than decoding a small
// picture costs. A PNG of 8-bit RGB or RGBA samples without palette, transparency key
// or colour management, and a JPEG whose frame decodes to 24-bit colour, go straight to
// the system's decoder instead, whose class object the library's thread keeps; GDI+
// makes the same bitmap of such a picture (it decodes through the same decoders). Every
// other picture, and every picture on another thread, goes through GDI+.
enum DirectKind { DirectPng, DirectJpeg, DirectKinds };
const CLSID kDecoderClasses[DirectKinds] = {
    {0x389ea17b, 0x5078, 0x4cde, {0xb6, 0xef, 0x25, 0xc1, 0x51, 0x75, 0xc7, 0x51}},
    {0x9456a480, 0xe88b, 0x43ea, {0x9e, 0x73, 0x0b, 0x2d, 0x9b, 0x71, 0xb1, 0xca}}};
const IID kBitmapDecoder = {0x9edde9e7, 0x8dee, 0x47ea, {0x99, 0xdf, 0xe6, 0xfa, 0xf2, 0xed, 0x44, 0xbf}};
const GUID kBgra32 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};
const GUID kBgr24 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};

// Only the thread that started the decoders touches these.
DWORD g_decoderThread = 0;
IClassFactory* g_decoders[DirectKinds] = {nullptr, nullptr};
bool g_decodersAsked[DirectKinds] = {false, false};
int g_directDecodes = 0;

uint32_t BigEndian32(const uint8_t* bytes)
{
    return ((uint32_t)bytes[0] << 24) | ((uint32_t)bytes[1] << 16) | ((uint32_t)bytes[2] << 8) | bytes[3];
}

// Chunks that change nothing of the pixels GDI+ makes (the resolution is taken over).
bool IsNeutralChunk(const uint8_t* type)
{
    static const char* const neutral[] = {"IDAT", "pHYs", "tEXt", "zTXt", "iTXt", "tIME"};
    for (const char* name : neutral)
        if (memcmp(type, name, 4) == 0)
            return true;
    return false;
}

// A whole PNG of 8-bit RGB or RGBA samples whose chunks are all neutral.
bool IsPlainPng(const uint8_t* data, size_t size)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 + 25 || memcmp(data, signature, 8) != 0)
        return false;
    size_t at = 8;
    while (size - at >= 12)
    {
        const uint32_t length = BigEndian32(data + at);
        const uint8_t* type = data + at + 4;
        if (length > size - at - 12)
            return false;
        if (at == 8)
        {
            const uint8_t* header = data + at + 8;
            // Bit depth 8, colour type 2 or 6, the only compression and filter, any interlace.
            if (memcmp(type, "IHDR", 4) != 0 || length != 13 || header[8] != 8 || (header[9] != 2 && header[9] != 6) ||
                header[10] != 0 || header[11] != 0 || header[12] > 1)
                return false;
        }
        else if (memcmp(type, "IEND", 4) == 0)
            return true;
        else if (!IsNeutralChunk(type))
            return false;
        at += 12 + (size_t)length;
    }
    return false;
}

// A JPEG: its start-of-image marker followed by another marker.
bool IsJpeg(const uint8_t* data, size_t size)
{
    return size > 4 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

IClassFactory* Decoders(DirectKind kind)
{
    if (!g_decoderThread || GetCurrentThreadId() != g_decoderThread)
        return nullptr;
    if (!g_decodersAsked[kind])
    {
        g_decodersAsked[kind] = true;
        if (FAILED(CoGetClassObject(kDecoderClasses[kind], CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                    (void**)&g_decoders[kind])))
            g_decoders[kind] = nullptr;
    }
    return g_decoders[kind];
}

// The frame's pixels in a bitmap of the format GDI+ gives them; null when the frame
// has another format or cannot be read whole.
Bitmap* CopyFrame(IWICBitmapFrameDecode* frame)
{
    WICPixelFormatGUID format;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetPixelFormat(&format)) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
        height == 0 || width > (UINT)SImageHeader::kMaxSide || height > (UINT)SImageHeader::kMaxSide)
        return nullptr;
    PixelFormat target = 0;
    if (IsEqualGUID(format, kBgra32))
        target = PixelFormat32bppARGB;
    else if (IsEqualGUID(format, kBgr24))
        target = PixelFormat24bppRGB;
    else
        return nullptr;
    Bitmap* bitmap = Usable(new Bitmap((INT)width, (INT)height, target));
    if (!bitmap)
        return nullptr;
    Rect all(0, 0, (INT)width, (INT)height);
    BitmapData data;
    bool copied = false;
    if (bitmap->LockBits(&all, ImageLockModeWrite, target, &data) == Ok)
    {
        copied = data.Stride > 0 &&
                 SUCCEEDED(frame->CopyPixels(nullptr, (UINT)data.Stride, (UINT)data.Stride * height, (BYTE*)data.Scan0));
        bitmap->UnlockBits(&data);
    }
    double dpiX = 0, dpiY = 0;
    if (copied && SUCCEEDED(frame->GetResolution(&dpiX, &dpiY)) && dpiX > 0 && dpiY > 0)
        bitmap->SetResolution((REAL)dpiX, (REAL)dpiY);
    if (!copied)
    {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

// The picture through the kept decoder of its kind; null when it is not at hand, fails,
// or gives a frame format GDI+ would convert.
Bitmap* DecodeDirect(DirectKind kind, IStream* stream)
{
    IClassFactory* factory = Decoders(kind);
    IWICBitmapDecoder* decoder = nullptr;
    if (!factory || FAILED(factory->CreateInstance(nullptr, kBitmapDecoder, (void**)&decoder)) || !decoder)
        return nullptr;
    Bitmap* bitmap = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    if (SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)) && SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        frame)
    {
        bitmap = CopyFrame(frame);
        frame->Release();
    }
    decoder->Release();
    if (bitmap)
        g_directDecodes++;
    return bitmap;
}

// The pixels of a GDI bitmap as top-down 32-bit rows; false when they cannot all be read.
bool ReadDibPixels(HBITMAP bitmap, int width, int height, std::vector<uint32_t>* pixels)
{
    pixels->assign((size_t)width * height, 0);
    BITMAPINFO header = TopDownDibHeader(width, height);
    HDC dc = GetDC(nullptr);
    int lines = GetDIBits(dc, bitmap, 0, (UINT)height, pixels->data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return lines == height;
}

} // namespace

SImage::SImage() : m_bitmap(nullptr), m_backColor(COLOR_NONE), m_colorKey(COLOR_NONE), m_drawMode(0)
{
}

SImage::SImage(int width, int height, PixelFormat format) : SImage()
{
    Create(width, height, format);
}

SImage::~SImage()
{
    Dispose();
}

void SImage::Replace(Bitmap* bitmap)
{
    if (bitmap == m_bitmap)
        return;
    delete m_bitmap;
    m_bitmap = bitmap;
}

bool SImage::Create(int width, int height, PixelFormat format)
{
    Dispose();
    if (width <= 0 || height <= 0)
        return false;
    m_bitmap = Usable(new Bitmap(width, height, format));
    return m_bitmap != nullptr;
}

void SImage::Dispose()
{
    delete m_bitmap;
    m_bitmap = nullptr;
}

int SImage::GetWidth() const
{
    return m_bitmap ? (int)m_bitmap->GetWidth() : 0;
}

int SImage::GetHeight() const
{
    return m_bitmap ? (int)m_bitmap->GetHeight() : 0;
}

PixelFormat SImage::GetPixelFormat() const
{
    return m_bitmap ? m_bitmap->GetPixelFormat() : 0;
}

int SImage::BitsPerPixel(PixelFormat format)
{
    switch (format) {
    case PixelFormat1bppIndexed: return 1;
    case PixelFormat4bppIndexed: return 4;
    case PixelFormat8bppIndexed: return 8;
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555:
    case PixelFormat16bppGrayScale: return 16;
    case PixelFormat24bppRGB: return 24;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB: return 32;
    case PixelFormat48bppRGB: return 48;
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB: return 64;
    default: return 0;
    }
}

int SImage::GetBitsPerPixel() const
{
    return m_bitmap ? BitsPerPixel(m_bitmap->GetPixelFormat()) : 0;
}

bool SImage::IsDepth32() const
{
    return GetBitsPerPixel() == 32;
}

int SImage::SetDrawMode(int mode)
{
    int previous = m_drawMode;
    m_drawMode = (mode >= 0 && mode <= 11) ? mode : 0;
    return previous;
}

bool SImage::Load(SFile* stream, int count)
{
    if (!stream)
        return false;
    Dispose();
    int remaining = stream->GetRemaining();
    if (count < 0 || count > remaining)
        count = remaining;
    if (count <= 0)
        return false;
    std::vector<uint8_t> bytes((size_t)count);
    int copied = 0;
    if (stream->IsMemory()) {
        const uint8_t* source = stream->GetPositionPointer();
        if (source) {
            memcpy(bytes.data(), source, (size_t)count);
            stream->Skip(count);
            copied = count;
        }
    } else {
        copied = stream->Read(bytes.data(), count);
    }
    if (copied != count)
        return false;
    // The system decoders allocate by the sizes a header declares without checking them.
    if (!SImageHeader::IsSound(bytes.data(), bytes.size()))
        return false;
    const DirectKind direct = IsPlainPng(bytes.data(), bytes.size()) ? DirectPng
                              : IsJpeg(bytes.data(), bytes.size())   ? DirectJpeg
                                                                      : DirectKinds;
    // The decoders read through a bounded stream of the library's own.
    SByteStream* istream = SByteStream::Create(std::move(bytes));
    if (!istream)
        return false;
    Bitmap* decoded = direct != DirectKinds ? DecodeDirect(direct, istream) : nullptr;
    LARGE_INTEGER start = {};
    if (!decoded && SUCCEEDED(istream->Seek(start, STREAM_SEEK_SET, nullptr)))
        decoded = Usable(Bitmap::FromStream(istream, FALSE));
    istream->Release();
    m_bitmap = decoded;
    return m_bitmap != nullptr;
}

void SImage::StartDecoders()
{
    StopDecoders();
    g_decoderThread = GetCurrentThreadId();
}

void SImage::StopDecoders()
{
    for (int kind = 0; kind < DirectKinds; kind++)
    {
        if (g_decoders[kind])
            g_decoders[kind]->Release();
        g_decoders[kind] = nullptr;
        g_decodersAsked[kind] = false;
    }
    g_decoderThread = 0;
}

int SImage::GetDirectDecodeCount()
{
    return g_directDecodes;
}

bool SImage::LoadResource(const char* name, const char* type, HMODULE module)
{
    if (!name || !type)
        return false;
    SFileMem memory;
    memory.Allocate(0);
    if (!LoadResourceData(module ? module : GetModuleHandleA(nullptr), type, name, &memory)) {
        Dispose();
        return false;
    }
    memory.Rewind();
    return Load(&memory, -1);
}

bool SImage::FromHBitmap(HBITMAP source)
{
    Dispose();
    if (!source)
        return false;
    Bitmap* converted = Usable(Bitmap::FromHBITMAP(source, nullptr));
    if (converted && converted->GetPixelFormat() == PixelFormat24bppRGB) {
        m_bitmap = converted;
        return true;
    }
    delete converted;
    BITMAP info;
    if (GetObjectA(source, sizeof(info), &info) != sizeof(info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    int width = info.bmWidth, height = info.bmHeight;
    std::vector<uint32_t> pixels;
    if (!ReadDibPixels(source, width, height, &pixels))
        return false;
    // A bitmap drawn by GDI carries no alpha at all: it is opaque, not invisible.
    bool anyAlpha = false;
    for (uint32_t pixel : pixels)
        if (pixel & 0xFF000000u) {
            anyAlpha = true;
            break;
        }
    if (!anyAlpha)
        for (uint32_t& pixel : pixels)
            pixel |= 0xFF000000u;
    return CreateFromPixels(pixels.data(), width, height);
}

bool SImage::FromScreen(HDC source, int x, int y, int width, int height)
{
    Dispose();
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC from = source ? source : screen;
    HDC memory = CreateCompatibleDC(from);
    HBITMAP bitmap = CreateCompatibleBitmap(from, width, height);
    bool done = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        done = BitBlt(memory, 0, 0, width, height, from, x, y, SRCCOPY) != FALSE;
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (done)
        done = FromHBitmap(bitmap);
    if (bitmap)
        DeleteObject(bitmap);
    return done;
}

bool SImage::FromImageList(HIMAGELIST list, int index)
{
    Dispose();
    if (!list)
        return false;
    int count = ImageList_GetImageCount(list);
    if (index < -1 || index >= count || count == 0)
        return false;
    IMAGEINFO info;
    if (!ImageList_GetImageInfo(list, index < 0 ? 0 : index, &info) || !info.hbmImage)
        return false;
    SImage strip;
    if (!strip.FromHBitmap(info.hbmImage))
        return false;
    if (index < 0)
        return Assign(&strip);
    return CopyRegion(&strip, info.rcImage.left, info.rcImage.top, info.rcImage.right - info.rcImage.left,
                      info.rcImage.bottom - info.rcImage.top);
}

bool SImage::CreateFromPixels(const uint32_t* pixels, int width, int height)
{
    if (!pixels || width <= 0 || height <= 0) {
        Dispose();
        return false;
    }
    if (!Create(width, height, PixelFormat32bppARGB))
        return false;
    m_drawMode = 8;
    m_backColor = COLOR_NONE;
    return SetPixels(pixels);
}

bool SImage::CopyFromBitmap(Bitmap* source, int x, int y, int width, int height)
{
    if (!source) {
        Dispose();
        return false;
    }
    int sourceWidth = (int)source->GetWidth(), sourceHeight = (int)source->GetHeight();
    if (width < 0)
        width = sourceWidth - x;
    if (height < 0)
        height = sourceHeight - y;
    Bitmap* copy = nullptr;
    // Compared by subtraction: a huge width or height must not overflow.
    if (x >= 0 && y >= 0 && width > 0 && height > 0 && width <= sourceWidth - x && height <= sourceHeight - y)
        copy = Usable(source->Clone(x, y, width, height, source->GetPixelFormat()));
    // The source may be this image's own bitmap: replace it only after the copy exists.
    Replace(copy);
    return m_bitmap != nullptr;
}

bool SImage::CopyRegion(const SImage* source, int x, int y, int width, int height)
{
    return CopyFromBitmap(source ? source->m_bitmap : nullptr, x, y, width, height);
}

bool SImage::Assign(const SImage* source)
{
    return CopyRegion(source, 0, 0, -1, -1);
}

bool SImage::Save(SFile* stream, int format) const
{
    if (!m_bitmap || !stream)
        return false;
    const wchar_t* mime = format == IMAGE_FORMAT_JPEG  ? L"image/jpeg"
                          : format == IMAGE_FORMAT_PNG ? L"image/png"
                          : format == IMAGE_FORMAT_GIF ? L"image/gif"
                                                       : L"image/bmp";
    CLSID encoder;
    if (!FindEncoder(mime, &encoder))
        return false;
    Bitmap* source = m_bitmap;
    Bitmap* indexed = nullptr;
    if (format == IMAGE_FORMAT_GIF && BitsPerPixel(m_bitmap->GetPixelFormat()) > 8) {
        // The GIF encoder needs a palette image to write any pixels.
        indexed = Usable(m_bitmap->Clone(0, 0, GetWidth(), GetHeight(), PixelFormat8bppIndexed));
        if (!indexed)
            return false;
        source = indexed;
    }
    IStream* istream = nullptr;
    bool done = false;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &istream) == S_OK && istream) {
        if (source->Save(istream, &encoder, nullptr) == Ok) {
            STATSTG stat;
            LARGE_INTEGER zero = {};
            if (istream->Stat(&stat, STATFLAG_NONAME) == S_OK && stat.cbSize.QuadPart > 0 &&
                stat.cbSize.QuadPart < 0x7FFFFFFF && istream->Seek(zero, STREAM_SEEK_SET, nullptr) == S_OK) {
                ULONG size = (ULONG)stat.cbSize.QuadPart;
                std::vector<BYTE> bytes(size);
                ULONG read = 0;
                if (istream->Read(bytes.data(), size, &read) == S_OK && read == size)
                    done = stream->Write(bytes.data(), (int)size) == (int)size;
            }
        }
        istream->Release();
    }
    delete indexed;
    return done;
}

HBITMAP SImage::GetHBitmap() const
{
    if (!m_bitmap)
        return nullptr;
    HBITMAP bitmap = nullptr;
    if (m_bitmap->GetHBITMAP(Color(255, 0, 0, 0), &bitmap) != Ok)
        return nullptr;
    return bitmap;
}

HBITMAP SImage::GetHBitmap32(bool fallback) const
{
    if (!m_bitmap)
        return nullptr;
    if (IsDepth32()) {
        BITMAPINFO header = TopDownDibHeader(GetWidth(), GetHeight());
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            if (GetPixels(static_cast<uint32_t*>(bits), PixelFormat32bppARGB)) {
                GdiFlush();
                return bitmap;
            }
        }
        if (bitmap)
            DeleteObject(bitmap);
    }
    return fallback ? GetHBitmap() : nullptr;
}

HICON SImage::GetHIcon() const
{
    HBITMAP color = GetHBitmap();
    if (!color)
        return nullptr;
    // An all-zero mask: the colour bitmap (and its alpha) decides what shows.
    int width = GetWidth(), height = GetHeight();
    std::vector<BYTE> zeros((size_t)((width + 15) / 16 * 2) * height, 0);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, zeros.data());
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask ? mask : color;
    HICON icon = CreateIconIndirect(&info);
    if (mask)
        DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

HRGN SImage::CreateRegion(uint32_t color) const
{
    HBITMAP bitmap = GetHBitmap();
    if (!bitmap)
        return nullptr;
    int width = GetWidth(), height = GetHeight();
    std::vector<uint32_t> pixels;
    bool read = ReadDibPixels(bitmap, width, height, &pixels);
    DeleteObject(bitmap);
    if (!read)
        return nullptr;

    COLORREF key = ResolveColor(color);
    const uint32_t keyPixel = ((uint32_t)GetRValue(key) << 16) | ((uint32_t)GetGValue(key) << 8) | GetBValue(key);
    const DWORD flushCount = 2000;
    DWORD capacity = 100;
    std::vector<BYTE> block(sizeof(RGNDATAHEADER) + capacity * sizeof(RECT));
    DWORD used = 0;
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    auto flush = [&]() {
        if (used == 0)
            return;
        RGNDATA* data = reinterpret_cast<RGNDATA*>(block.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = used;
        data->rdh.nRgnSize = used * sizeof(RECT);
        SetRect(&data->rdh.rcBound, 0, 0, width, height);
        HRGN part = ExtCreateRegion(nullptr, (DWORD)(sizeof(RGNDATAHEADER) + used * sizeof(RECT)), data);
        if (part) {
            CombineRgn(result, result, part, RGN_OR);
            DeleteObject(part);
        }
        used = 0;
    };
    for (int y = 0; y < height; y++) {
        const uint32_t* row = pixels.data() + (size_t)y * width;
        int x = 0;
        while (x < width) {
            // A pixel belongs to the region when any of its channels differs from the key.
            while (x < width && (row[x] & 0x00FFFFFFu) == keyPixel)
                x++;
            int start = x;
            while (x < width && (row[x] & 0x00FFFFFFu) != keyPixel)
                x++;
            if (x > start) {
                if (used == capacity) {
                    capacity += 100;
                    block.resize(sizeof(RGNDATAHEADER) + capacity * sizeof(RECT));
                }
                RECT* rects = reinterpret_cast<RECT*>(block.data() + sizeof(RGNDATAHEADER));
                SetRect(&rects[used++], start, y, x, y + 1);
                if (used == flushCount)
                    flush();
            }
        }
    }
    flush();
    return result;
}

TextureBrush* SImage::CreateTextureBrush() const
{
    if (!m_bitmap)
        return nullptr;
    TextureBrush* brush = new TextureBrush(m_bitmap);
    if (brush->GetLastStatus() != Ok) {
        delete brush;
        return nullptr;
    }
    return brush;
}

uint32_t* SImage::GetPixels(uint32_t* buffer, PixelFormat format) const
{
    if (!m_bitmap || BitsPerPixel(format) != 32)
        return nullptr;
    int width = GetWidth(), height = GetHeight();
    Rect all(0, 0, width, height);
    BitmapData data;
    if (m_bitmap->LockBits(&all, ImageLockModeRead, format, &data) != Ok)
        return nullptr;
    uint32_t* target = buffer ? buffer : new (std::nothrow) uint32_t[(size_t)width * height];
    if (!target) {
        m_bitmap->UnlockBits(&data);
        return nullptr;
    }
    // Rows are copied one by one: the locked stride may exceed the row's bytes.
    const size_t rowBytes = (size_t)width * 4;
    for (int y = 0; y < height; y++)
        memcpy(target + (size_t)y * width, static_cast<const BYTE*>(data.Scan0) + (INT_PTR)y * data.Stride, rowBytes);
    m_bitmap->UnlockBits(&data);
    return target;
}

bool SImage::SetPixels(const uint32_t* pixels)
{
    if (!m_bitmap || !pixels)
        return false;
    int width = GetWidth(), height = GetHeight();
    Rect all(0, 0, width, height);
    BitmapData data;
    if (m_bitmap->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &data) != Ok)
        return false;
    const size_t rowBytes = (size_t)width * 4;
    for (int y = 0; y < height; y++)
        memcpy(static_cast<BYTE*>(data.Scan0) + (INT_PTR)y * data.Stride, pixels + (size_t)y * width, rowBytes);
    m_bitmap->UnlockBits(&data);
    return true;
}

bool SImage::GetPixel(int x, int y, uint32_t& color) const
{
    if (!m_bitmap || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return false;
    Color value;
    if (m_bitmap->GetPixel(x, y, &value) != Ok)
        return false;
    color = value.GetValue();
    return true;
}

bool SImage::SetPixel(int x, int y, uint32_t color)
{
    if (!m_bitmap || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return false;
    return m_bitmap->SetPixel(x, y, Color(color)) == Ok;
}

uint32_t SImage::GetPixelColor(int x, int y) const
{
    uint32_t color = 0;
    return GetPixel(x, y, color) ? color : 0;
}

template <typename Edit> bool SImage::EditPixels(const RECT* rect, PixelFormat lockFormat, Edit edit)
{
    Rect area;
    if (!ClampRect(rect, GetWidth(), GetHeight(), &area))
        return false;
    BitmapData data;
    if (m_bitmap->LockBits(&area, ImageLockModeRead | ImageLockModeWrite, lockFormat, &data) != Ok)
        return false;
    for (int y = 0; y < area.Height; y++) {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<BYTE*>(data.Scan0) + (INT_PTR)y * data.Stride);
        for (int x = 0; x < area.Width; x++)
            row[x] = edit(row[x]);
    }
    m_bitmap->UnlockBits(&data);
    return true;
}

bool SImage::SetAlpha(BYTE alpha, const RECT* rect, bool onlyLower)
{
    if (!IsDepth32())
        return false;
    const uint32_t newAlpha = (uint32_t)alpha << 24;
    return EditPixels(rect, PixelFormat32bppARGB, [=](uint32_t pixel) {
        if (onlyLower && (pixel >> 24) <= alpha)
            return pixel;
        return (pixel & 0x00FFFFFFu) | newAlpha;
    });
}

bool SImage::MakeGrayscale(const RECT* rect)
{
    int bits = GetBitsPerPixel();
    if (bits != 24 && bits != 32)
        return false;
    return EditPixels(rect, PixelFormat32bppARGB, [](uint32_t pixel) {
        uint32_t rgb = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
        uint32_t grey = ToGray(rgb) & 0xFF;
        return (pixel & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
    });
}

bool SImage::ReplaceTranslucentWithWhite()
{
    if (!IsDepth32())
        return false;
    return EditPixels(nullptr, PixelFormat32bppARGB,
                      [](uint32_t pixel) { return (pixel >> 24) == 0xFF ? pixel : 0xFFFFFFFFu; });
}

bool SImage::Fill(uint32_t color, const RECT* rect)
{
    if (!m_bitmap)
        return false;
    Graphics* graphics = Graphics::FromImage(m_bitmap);
    if (!graphics)
        return false;
    Status status = graphics->GetLastStatus();
    if (status == Ok) {
        if (rect) {
            SolidBrush brush((Color(color)));
            graphics->SetCompositingMode(CompositingModeSourceCopy);
            status = graphics->FillRectangle(&brush, (INT)rect->left, (INT)rect->top,
                                             (INT)(rect->right - rect->left), (INT)(rect->bottom - rect->top));
        } else {
            status = graphics->Clear(Color(color));
        }
    }
    delete graphics;
    return status == Ok;
}

bool SImage::Rotate(int quarterTurns)
{
    if (!m_bitmap || quarterTurns < 0)
        return false;
    static const RotateFlipType turns[4] = {RotateNoneFlipNone, Rotate90FlipNone, Rotate180FlipNone,
                                            Rotate270FlipNone};
    if (quarterTurns % 4 == 0)
        return true;
    return m_bitmap->RotateFlip(turns[quarterTurns % 4]) == Ok;
}

bool SImage::RedrawInto(int width, int height, PixelFormat format, int mode, bool clear)
{
    if (!m_bitmap || width <= 0 || height <= 0)
        return false;
    Bitmap* target = Usable(new Bitmap(width, height, format));
    if (!target)
        return false;
    Graphics* graphics = Graphics::FromImage(target);
    bool done = graphics && graphics->GetLastStatus() == Ok;
    if (done) {
        if (clear && IsFillColor(m_backColor))
            graphics->Clear(ToGdiColor(m_backColor));
        int previous = m_drawMode;
        m_drawMode = mode;
        RECT destination = {0, 0, width, height};
        done = Draw(graphics, &destination, nullptr);
        m_drawMode = previous;
    }
    delete graphics;
    if (!done) {
        delete target;
        return false;
    }
    Replace(target);
    return true;
}

bool SImage::ConvertPixelFormat(PixelFormat format)
{
    if (!m_bitmap)
        return false;
    if (RedrawInto(GetWidth(), GetHeight(), format, 0, true))
        return true;
    // Formats without a drawing surface (palette formats) come from a converting copy.
    Bitmap* copy = Usable(m_bitmap->Clone(0, 0, GetWidth(), GetHeight(), format));
    if (!copy)
        return false;
    Replace(copy);
    return true;
}

bool SImage::RedrawAtSize(int width, int height, int mode)
{
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (!m_bitmap || (width == GetWidth() && height == GetHeight()))
        return false;
    PixelFormat format = m_bitmap->GetPixelFormat();
    // GDI+ stretches through a general per-pixel path that costs milliseconds for
    // a cover; 24- and 32-bit pictures are scaled here alike and in a fraction of that.
    if (mode == 9 && m_colorKey == COLOR_NONE && (BitsPerPixel(format) == 24 || BitsPerPixel(format) == 32) &&
        ScaleBilinear(width, height))
        return true;
    if (RedrawInto(width, height, format, mode, false))
        return true;
    // Palette formats have no drawing surface: the result becomes 32-bit.
    return BitsPerPixel(format) <= 8 && RedrawInto(width, height, PixelFormat32bppARGB, mode, false);
}

namespace
{

// Where each target column or row samples the source, in 16.16 fixed point:
// target pixel centres mapped onto source pixel centres, kept within the edges
// (the edge pixels repeat, as a mirrored border gives under a bilinear filter).
std::vector<int32_t> SamplePositions(int target, int source)
{
    std::vector<int32_t> positions((size_t)target);
    const int64_t last = (int64_t)(source - 1) << 16;
    for (int i = 0; i < target; i++) {
        int64_t at = (((int64_t)(2 * i + 1) * source << 16) / (2 * (int64_t)target)) - (1 << 15);
        positions[(size_t)i] = (int32_t)(at < 0 ? 0 : at > last ? last : at);
    }
    return positions;
}

// Premultiplied, so that transparent neighbours lend no colour.
inline void Premultiply(uint32_t pixel, uint32_t out[4])
{
    const uint32_t a = pixel >> 24;
    out[0] = a;
    out[1] = ((pixel >> 16) & 0xFF) * a;
    out[2] = ((pixel >> 8) & 0xFF) * a;
    out[3] = (pixel & 0xFF) * a;
}

} // namespace

bool SImage::ScaleBilinear(int width, int height)
{
    const int sourceWidth = GetWidth(), sourceHeight = GetHeight();
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0)
        return false;
    std::vector<uint32_t> source((size_t)sourceWidth * sourceHeight);
    if (!GetPixels(source.data(), PixelFormat32bppARGB))
        return false;
    const std::vector<int32_t> xs = SamplePositions(width, sourceWidth);
    const std::vector<int32_t> ys = SamplePositions(height, sourceHeight);
    std::vector<uint32_t> target((size_t)width * height);
    for (int y = 0; y < height; y++) {
        const int top = ys[(size_t)y] >> 16;
        const int bottom = top + 1 < sourceHeight ? top + 1 : top;
        const uint32_t fy = (uint32_t)(ys[(size_t)y] & 0xFFFF) >> 8; // 0..255
        const uint32_t* upper = source.data() + (size_t)top * sourceWidth;
        const uint32_t* lower = source.data() + (size_t)bottom * sourceWidth;
        uint32_t* out = target.data() + (size_t)y * width;
        for (int x = 0; x < width; x++) {
            const int left = xs[(size_t)x] >> 16;
            const int right = left + 1 < sourceWidth ? left + 1 : left;
            const uint32_t fx = (uint32_t)(xs[(size_t)x] & 0xFFFF) >> 8;
            const uint32_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
            const uint32_t corners[4] = {upper[left], upper[right], lower[left], lower[right]};
            uint64_t sum[4] = {0, 0, 0, 0};
            for (int c = 0; c < 4; c++) {
                uint32_t channels[4];
                Premultiply(corners[c], channels);
                for (int k = 0; k < 4; k++)
                    sum[k] += (uint64_t)channels[k] * weights[c];
            }
            // The weights total 65536; the colours carry the alpha as well.
            const uint32_t alpha = (uint32_t)((sum[0] + 32768) >> 16);
            if (alpha == 0) {
                out[x] = 0;
                continue;
            }
            const uint64_t scale = (uint64_t)alpha << 16;
            uint32_t colour[3];
            for (int k = 0; k < 3; k++) {
                uint64_t value = (sum[k + 1] + scale / 2) / scale;
                colour[k] = value > 255 ? 255 : (uint32_t)value;
            }
            out[x] = alpha << 24 | colour[0] << 16 | colour[1] << 8 | colour[2];
        }
    }
    Bitmap* scaled = Usable(new Bitmap(width, height, m_bitmap->GetPixelFormat()));
    if (!scaled)
        return false;
    Rect all(0, 0, width, height);
    BitmapData data;
    if (scaled->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &data) != Ok) {
        delete scaled;
        return false;
    }
    for (int y = 0; y < height; y++)
        memcpy(static_cast<BYTE*>(data.Scan0) + (INT_PTR)y * data.Stride, target.data() + (size_t)y * width,
               (size_t)width * 4);
    scaled->UnlockBits(&data);
    Replace(scaled);
    return true;
}

bool SImage::Resize(int width, int height)
{
    return RedrawAtSize(width, height, 9);
}

bool SImage::ResizeCanvas(int width, int height)
{
    return RedrawAtSize(width, height, 8);
}

bool SImage::Draw(Graphics* graphics, const RECT* destination, const RECT* source) const
{
    if (!m_bitmap || !graphics || !destination)
        return false;
    RECT from = {0, 0, GetWidth(), GetHeight()};
    if (source)
        from = *source;
    int sourceWidth = from.right - from.left, sourceHeight = from.bottom - from.top;
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return false;
    const RECT& to = *destination;

    ImageAttributes attributes;
    bool keyed = m_colorKey != COLOR_NONE;
    if (keyed) {
        Color key = ToGdiColor(m_colorKey);
        attributes.SetColorKey(key, key);
    }
    ImageAttributes* useAttributes = keyed ? &attributes : nullptr;

    Status status = Ok;
    Rect drawn(0, 0, 0, 0);
    bool fillBack = true;
    if (m_drawMode == 9) {
        // Edge pixels are mirrored while scaling so that the borders keep their colour.
        attributes.SetWrapMode(WrapModeTileFlipXY);
        status = graphics->DrawImage(m_bitmap, Rect(to.left, to.top, to.right - to.left, to.bottom - to.top),
                                     from.left, from.top, sourceWidth, sourceHeight, UnitPixel, &attributes);
        fillBack = false;
    } else if (m_drawMode == 10) {
        Bitmap* tile = Usable(m_bitmap->Clone(from.left, from.top, sourceWidth, sourceHeight,
                                              m_bitmap->GetPixelFormat()));
        if (!tile)
            return false;
        ImageAttributes tiling;
        tiling.SetWrapMode(WrapModeTile);
        if (keyed) {
            Color key = ToGdiColor(m_colorKey);
            tiling.SetColorKey(key, key);
        }
        int width = to.right - to.left, height = to.bottom - to.top;
        status = graphics->DrawImage(tile, Rect(to.left, to.top, width, height), 0, 0, width, height, UnitPixel,
                                     &tiling);
        delete tile;
        fillBack = false;
    } else if (m_drawMode == 11 || m_drawMode == 12) {
        RECT fitted = FitRect(to.left, to.top, to.right, to.bottom, sourceWidth, sourceHeight, m_drawMode == 12);
        drawn = Rect(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
        attributes.SetWrapMode(WrapModeTileFlipXY);
        if (drawn.Width > 0 && drawn.Height > 0)
            status = graphics->DrawImage(m_bitmap, drawn, from.left, from.top, sourceWidth, sourceHeight,
                                         UnitPixel, &attributes);
    } else {
        int x, y;
        switch (m_drawMode) {
        case 1: case 6: case 8: x = (to.left + to.right) / 2 - sourceWidth / 2; break;
        case 2: case 4: case 7: x = to.right - sourceWidth; break;
        default: x = to.left; break;
        }
        switch (m_drawMode) {
        case 3: case 4: case 8: y = (to.top + to.bottom) / 2 - sourceHeight / 2; break;
        case 5: case 6: case 7: y = to.bottom - sourceHeight; break;
        default: y = to.top; break;
        }
        int left = x < to.left ? to.left : x;
        int top = y < to.top ? to.top : y;
        int right = x + sourceWidth > to.right ? to.right : x + sourceWidth;
        int bottom = y + sourceHeight > to.bottom ? to.bottom : y + sourceHeight;
        if (right > left && bottom > top) {
            drawn = Rect(left, top, right - left, bottom - top);
            status = graphics->DrawImage(m_bitmap, drawn, from.left + (left - x), from.top + (top - y),
                                         drawn.Width, drawn.Height, UnitPixel, useAttributes);
        }
    }

    if (fillBack && IsFillColor(m_backColor)) {
        Region previous;
        graphics->GetClip(&previous);
        if (drawn.Width > 0 && drawn.Height > 0)
            graphics->ExcludeClip(drawn);
        SolidBrush brush(ToGdiColor(m_backColor));
        graphics->FillRectangle(&brush, (INT)to.left, (INT)to.top, (INT)(to.right - to.left),
                                (INT)(to.bottom - to.top));
        graphics->SetClip(&previous);
    }
    return status == Ok;
}

bool SImage::DrawAt(Graphics* graphics, int x, int y, int width, int height, const RECT* source) const
{
    RECT destination = {x, y, x + (width < 0 ? GetWidth() : width), y + (height < 0 ? GetHeight() : height)};
    return Draw(graphics, &destination, source);
}

bool SImage::DrawInRect(Graphics* graphics, RECT destination, const RECT* source) const
{
    return Draw(graphics, &destination, source);
}
