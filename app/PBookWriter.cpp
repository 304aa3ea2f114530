#include "PBookWriter.h"

#include <gdiplus.h>
#include <stdio.h>
#include <string.h>

#include "SDisk.h"
#include "SFilePath.h"
#include "SRound.h"

namespace
{
// Cell colour, name-strip colour and class of a folder by its depth below the root.
struct DepthStyle
{
    const char* cell;
    BYTE red, green, blue;
    const char* textClass;
};
const DepthStyle kDepthStyles[4] = {
    {"AAD0DA", 0xB2, 0xD5, 0xDE, "txtRow1"},
    {"dbd0a9", 0xDF, 0xD5, 0xB1, "txtRow2"},
    {"addfa6", 0xB5, 0xE2, 0xAE, "txtRow3"},
    {"c2c2c2", 0xC8, 0xC8, 0xC8, "txtRow4"},
};

// The page goes to disk in blocks of this size.
const int kFlushSize = 64 * 1024;

// One pass over a folder: its visible sub-folders (with a trailing separator) or its
// visible files, in no particular order. Junctions and links are not entered.
template <class Take>
void ListFolder(const SString& folder, bool folders, Take take)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileExA(folder + "*", FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const char* name = data.cFileName;
        if ((name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]))) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder != folders || (isFolder && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)))
            continue;
        take(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

bool IsUprightMedia(const SString& extension)
{
    return extension.CompareNoCase("mp3") == 0 || extension.CompareNoCase("wma") == 0 ||
           extension.CompareNoCase("wax") == 0;
}

bool LoadImageFile(SImage* image, const char* path)
{
    SFilePath file;
    return file.Open(path, false, false, true, true) && image->Load(&file);
}

// The book's pictures are new files (the old ones are deleted first): written in
// place, without the temporary file that a replacement needs, and deleted again
// when they cannot be written whole.
bool WriteNewFile(const char* path, const SFileMem& bytes)
{
    SFilePath file;
    if (bytes.GetSize() <= 0 || !file.Open(path, true, true, false))
        return false;
    const bool written = file.Write(bytes.GetBuffer(), bytes.GetSize()) == bytes.GetSize() && file.Flush(false);
    file.Close();
    if (!written)
        SDisk().DeleteFile(path);
    return written;
}

bool SaveImageFile(const SImage& image, const char* path, int format)
{
    SFileMem bytes;
    return bytes.Allocate(0) && image.Save(&bytes, format) && WriteNewFile(path, bytes);
}
} // namespace

PBookWriter::PBookWriter()
    : m_imageNames(nullptr), m_defaultCover(nullptr), m_writeFailed(false), m_lastProgress(-1),
      m_defaultJpegMade(false)
{
}

PBookWriter::~PBookWriter() {}

SString PBookWriter::EncodeLink(const char* path)
{
    SString link;
    for (const char* c = path ? path : ""; *c; c++)
    {
        if (*c == '%' || *c == '#' || *c == '"')
        {
            char escape[4];
            snprintf(escape, sizeof(escape), "%%%02X", (unsigned char)*c);
            link += escape;
        }
        else
            link += *c == '\\' ? '/' : *c;
    }
    return link;
}

SString PBookWriter::EscapeText(const char* text)
{
    SString escaped;
    for (const char* c = text ? text : ""; *c; c++)
    {
        if (*c == '&')
            escaped += "&amp;";
        else if (*c == '<')
            escaped += "&lt;";
        else
            escaped += *c;
    }
    return escaped;
}

int PBookWriter::ListMedia(SStringArray* out, const char* folder)
{
    static const char* const kinds[] = {"mp3", "wma", "wax", "mpg", "mpeg", "avi", "wmv", "wvx"};
    const SString base(folder);
    SStringArray media;
    media.AddFlags(0x10000);
    ListFolder(base, false, [&](const char* name) {
        const char* dot = strrchr(name, '.');
        if (!dot)
            return;
        for (const char* kind : kinds)
            if (lstrcmpiA(dot + 1, kind) == 0)
            {
                media.Add(base + name);
                return;
            }
    });
    media.Sort();
    for (int i = 0; i < media.GetCount(); i++)
        out->Add(media.GetAt(i));
    return media.GetCount();
}

int PBookWriter::CollectMedia(SStringArray* out, const char* folder)
{
    return ListMedia(out, folder);
}

void PBookWriter::OnProgress(int) {}

void PBookWriter::Progress(int done, int total)
{
    int permille = total > 0 ? SRound::Truncate((double)done / total * 1000) : 1000;
    if (permille == m_lastProgress)
        return;
    m_lastProgress = permille;
    OnProgress(permille);
}

void PBookWriter::ListFolders(SStringArray* out, const SString& folder)
{
    // Siblings in name order, each followed by its own sub-folders, so that the
    // book reads the same on every file system.
    SStringArray folders;
    folders.AddFlags(0x10000);
    ListFolder(folder, true, [&](const char* name) { folders.Add(folder + name + "\\"); });
    folders.Sort();
    for (int i = 0; i < folders.GetCount(); i++)
    {
        SString path = folders.GetAt(i);
        out->Add(path);
        ListFolders(out, path);
    }
}

void PBookWriter::Put(const char* text)
{
    m_buffer += text;
    if (m_buffer.GetLength() >= kFlushSize)
        Flush();
}

void PBookWriter::PutLine(const char* text)
{
    Put(text);
    Put("\r\n");
}

bool PBookWriter::Flush()
{
    SFile* page = m_page.GetFile();
    const int length = m_buffer.GetLength();
    if (length > 0 && (!page || page->Write(m_buffer.GetBuffer(), length) != length))
        m_writeFailed = true;
    m_buffer.Empty();
    return !m_writeFailed;
}

bool PBookWriter::LoadCover(SImage* image, const SString& folder, const SString& name)
{
    SString side = folder.Left(folder.GetLength() - 1);
    if (LoadImageFile(image, side + ".png") || LoadImageFile(image, side + ".jpg"))
        return true;
    if (m_imageNames)
        for (int i = 0; i < m_imageNames->GetCount(); i++)
            if (m_imageNames->GetAt(i).CompareNoCase(name) == 0)
                return LoadImageFile(image, m_root + name + ".png") || LoadImageFile(image, m_root + name + ".jpg");
    return false;
}

bool PBookWriter::WriteCover(const SString& folder, const SString& name, const SString& target)
{
    SImage cover;
    if (LoadCover(&cover, folder, name))
    {
        cover.Resize(32, 32);
        return SaveImageFile(cover, target, IMAGE_FORMAT_JPEG);
    }
    if (!m_defaultCover || !m_defaultCover->IsLoaded())
        return false;
    if (!m_defaultJpegMade)
    {
        SImage copy;
        m_defaultJpegMade = true;
        if (copy.Assign(m_defaultCover))
        {
            copy.Resize(32, 32);
            copy.Save(&m_defaultJpeg, IMAGE_FORMAT_JPEG);
        }
    }
    if (m_defaultJpeg.GetSize() <= 0)
        return false;
    return WriteNewFile(target, m_defaultJpeg);
}

bool PBookWriter::MakeNameStrip(SImage* strip, const char* name, BYTE red, BYTE green, BYTE blue)
{
    using namespace Gdiplus;
    strip->Dispose();
    const int width = 1500, height = 32;
    SImage canvas;
    if (!canvas.Create(width, height, PixelFormat32bppARGB) ||
        !canvas.Fill(0xFF000000u | ((uint32_t)red << 16) | ((uint32_t)green << 8) | blue))
        return false;
    wchar_t* text = SString(name).ToWide();
    if (!text)
        return false;
    RectF bounds;
    {
        Graphics graphics(canvas.GetBitmap());
        // A system without Verdana still gets a readable strip.
        FontFamily verdana(L"verdana");
        const FontFamily* family = verdana.GetLastStatus() == Ok ? &verdana : FontFamily::GenericSansSerif();
        Font font(family, 10, FontStyleRegular, UnitPoint);
        SolidBrush white(Color(255, 255, 255, 255));
        StringFormat format(StringFormatFlagsNoWrap);
        format.SetAlignment(StringAlignmentNear);
        format.SetLineAlignment(StringAlignmentNear);
        RectF area(0, 0, (REAL)width, (REAL)height);
        if (font.GetLastStatus() == Ok)
        {
            graphics.SetTextRenderingHint(TextRenderingHintAntiAlias);
            graphics.DrawString(text, -1, &font, area, &format, &white);
            graphics.MeasureString(text, -1, &font, area, &format, &bounds);
        }
    }
    delete[] text;
    int stripWidth = SRound::Truncate(bounds.Width) + 16;
    int stripHeight = SRound::Truncate(bounds.Height);
    if (stripHeight <= 0 || bounds.Width <= 0)
        return false;
    if (stripWidth > width)
        stripWidth = width;
    if (stripHeight > height)
        stripHeight = height;
    return strip->CopyRegion(&canvas, 0, 0, stripWidth, stripHeight) && strip->Rotate(3) &&
           strip->ConvertPixelFormat(PixelFormat24bppRGB);
}

bool PBookWriter::Write(const char* rootFolder, const char* bookPath, bool withImages)
{
    SDisk disk;
    SPath rootPath;
    rootPath.SetFolder(rootFolder);
    m_root = rootPath.GetPath();
    SPath book(bookPath);
    const SString imagesName = book.GetTitle();
    const SString imagesFolder = book.GetFolderPath() + imagesName + "\\";
    m_lastProgress = -1;
    m_writeFailed = false;
    m_buffer.Empty();

    if (withImages)
    {
        if (!disk.CreateFolder(imagesFolder, true) && !disk.IsFolder(imagesFolder))
            return false;
        if (!disk.IsHidden(imagesFolder))
            disk.SetAttributes(imagesFolder, SDisk::AttrHidden);
        SStringArray old;
        disk.FindFiles(&old, imagesFolder + "book*.png", false, false, true, false, true);
        disk.FindFiles(&old, imagesFolder + "book*.jpg", false, false, true, false, true);
        for (int k = 0; k < old.GetCount(); k++)
        {
            disk.DeleteFile(old.GetAt(k));
            Progress(k + 1, old.GetCount());
        }
    }

    SStringArray folders;
    ListFolders(&folders, m_root);

    // The old book stays whole until the new page is written to its end.
    if (!m_page.Open(bookPath))
        return false;
    PutLine("<html>");
    PutLine("<head>");
    PutLine("<title>Melvora</title>");
    Put(m_styleSheet);
    PutLine("</head>");
    PutLine("<body leftmargin=0 topmargin=0 rightmargin=0 bottommargin=0 marginwidth=0 marginheight=0>");

    const int rootCount = rootPath.GetComponentCount();
    int previousCount = rootCount;
    m_lastProgress = -1;
    char number[16];
    for (int i = 0; i < folders.GetCount() && !m_writeFailed; i++)
    {
        const SString folder = folders.GetAt(i);
        SPath folderPath;
        folderPath.SetFolder(folder);
        const SString name = folderPath.GetLastFolder(true);
        SStringArray media;
        CollectMedia(&media, folder);

        const int count = folderPath.GetComponentCount();
        for (int close = previousCount - count + 1; close > 0; close--)
        {
            PutLine("</tr>");
            PutLine("</table>");
        }
        previousCount = count;
        int depth = count - rootCount - 1;
        const DepthStyle& style = kDepthStyles[depth < 0 ? 0 : depth > 3 ? 3 : depth];
        snprintf(number, sizeof(number), "%d", i);

        if (withImages)
        {
            WriteCover(folder, name, imagesFolder + "book" + number + ".jpg");
            SImage strip;
            if (MakeNameStrip(&strip, name, style.red, style.green, style.blue))
                SaveImageFile(strip, imagesFolder + "book" + number + ".png", IMAGE_FORMAT_PNG);
        }

        const SString text = EscapeText(name);
        const SString imageBase = EncodeLink(imagesName) + "\\book" + number;
        PutLine("<table border=0 cellspacing=0 cellpadding=0 width=100%>");
        PutLine("<tr>");
        PutLine(SString("<td width=32 bgcolor=#") + style.cell + "><img src=\"" + imageBase + ".jpg\" align=absmiddle>");
        SString cell = SString("<td valign=center bgcolor=#") + style.cell + ">";
        if (media.GetCount() > 0)
        {
            SString album = EncodeLink(folderPath.JoinComponents(rootCount - 1, -1, true, '/'));
            if (album.GetLength() > 0 && album[album.GetLength() - 1] == '/')
                album = album.Left(album.GetLength() - 1);
            cell += SString("<a href=\"") + album + ".album\" class=" + style.textClass + ">" + text + "</a>";
        }
        else
            cell += SString("<font class=") + style.textClass + ">" + text + "</font>";
        PutLine(cell);
        PutLine("</tr>");
        PutLine("<tr>");
        PutLine(SString("<td bgcolor=#") + style.cell + " background=\"" + imageBase + ".png\" class=tdRow>");
        PutLine("<td>");
        if (media.GetCount() > 0)
        {
            PutLine("<font class=txtSong>");
            for (int m = 0; m < media.GetCount(); m++)
            {
                SPath file(media.GetAt(m));
                if (m > 0)
                    Put(" \x95 ");
                const bool upright = IsUprightMedia(file.GetExtension(false, true));
                Put("<a href=\"");
                Put(EncodeLink(file.JoinComponents(rootCount - 1, -1, false, '/')));
                Put("\">");
                Put(upright ? "" : "<i>");
                Put(EscapeText(file.GetTitle()));
                Put(upright ? "" : "</i>");
                Put("</a>");
            }
            PutLine("");
            PutLine("</font>");
        }
        Progress(i + 1, folders.GetCount());
    }
    PutLine("</body>");
    PutLine("</html>");
    if (!Flush())
    {
        m_page.Abandon();
        return false;
    }
    return m_page.Commit();
}
