#pragma once
// Writes the library book: "Book.htm" in the root folder, one coloured block per
// folder nested as the folders are, with its images (a 32 x 32 cover and an
// upright name strip per folder) in the hidden folder named like the page.
// The page is streamed to disk; only the folder listing is held in memory.
#include <windows.h>

#include "SFileAtomic.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SPath.h"
#include "SString.h"
#include "SStringArray.h"

class PBookWriter
{
public:
    PBookWriter();
    virtual ~PBookWriter();
    PBookWriter(const PBookWriter&) = delete;
    PBookWriter& operator=(const PBookWriter&) = delete;

    // The style sheet copied as it is into the page head.
    void SetStyleSheet(const SString& sheet) { m_styleSheet = sheet; }
    // Folder names whose cover lies in the root folder (compared ignoring case).
    void SetImageNames(const SStringArray* names) { m_imageNames = names; }
    // The cover of folders without one (not owned; null: such folders get no cover).
    void SetDefaultCover(const SImage* cover) { m_defaultCover = cover; }

    // Writes the page and, with images, the images folder; false when the images
    // folder cannot be made or the page cannot be opened or written.
    bool Write(const char* rootFolder, const char* bookPath, bool withImages);

    // A relative path as a link: '%', '#' and '"' percent-encoded, '\' as '/'.
    static SString EncodeLink(const char* path);
    // A text as HTML: '&' and '<' escaped.
    static SString EscapeText(const char* text);
    // Draws name in white on colour (0x00RRGGBB order R, G, B) into an upright
    // strip; false (and no image) when the text measures nothing.
    static bool MakeNameStrip(SImage* strip, const char* name, BYTE red, BYTE green, BYTE blue);
    // The media files of a folder as the book lists them: songs and videos with
    // their radios, hidden files left out, sorted ignoring case (the play queue's
    // rule for those kinds), found in one pass over the folder.
    static int ListMedia(SStringArray* out, const char* folder);

protected:
    // The folder's media files, full paths; the default is ListMedia.
    virtual int CollectMedia(SStringArray* out, const char* folder);
    // Called with the progress 0..1000 when it changes.
    virtual void OnProgress(int permille);

private:
    void ListFolders(SStringArray* out, const SString& folder);
    bool LoadCover(SImage* image, const SString& folder, const SString& name);
    bool WriteCover(const SString& folder, const SString& name, const SString& target);
    void Progress(int done, int total);
    void Put(const char* text);
    void PutLine(const char* text);
    bool Flush();

    SString m_styleSheet;
    const SStringArray* m_imageNames;
    const SImage* m_defaultCover;
    SString m_root;
    SFileAtomic m_page;
    SString m_buffer;
    bool m_writeFailed;
    int m_lastProgress;
    // The default cover's JPEG, made once for every folder without a cover.
    SFileMem m_defaultJpeg;
    bool m_defaultJpegMade;
};
