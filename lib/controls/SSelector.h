#pragma once
// Runs the system's common pickers for an owner window and keeps what the
// user picked: a colour, a font, files, a folder, or a system colour chosen
// in a small pop-up of its own.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "SString.h"
#include "SStringArray.h"
#include "STimer.h"

// The modal common dialogs behind SSelector: the real ones by default; a test
// installs its own so that no picker ever waits for a user.
class SSelectorDialogs
{
public:
    virtual ~SSelectorDialogs();
    // ChooseColorA.
    virtual bool ChooseColor(CHOOSECOLORA* info);
    // ChooseFontA.
    virtual bool ChooseFont(CHOOSEFONTA* info);
    // GetOpenFileNameA.
    virtual bool GetOpenFileName(OPENFILENAMEA* info);
    // GetSaveFileNameA.
    virtual bool GetSaveFileName(OPENFILENAMEA* info);
    // SHBrowseForFolderA, then the chosen folder's path (SHGetPathFromIDListA) into a
    // MAX_PATH buffer, the item list freed with the shell's allocator; false when cancelled.
    virtual bool BrowseForFolder(BROWSEINFOA* info, char* path);
};

class SSelector
{
public:
    explicit SSelector(HWND owner = nullptr);
    virtual ~SSelector();
    SSelector(const SSelector&) = delete;
    SSelector& operator=(const SSelector&) = delete;

    // Installs the dialogs (null: the real ones); returns the previous test dialogs or null.
    static SSelectorDialogs* SetDialogs(SSelectorDialogs* dialogs);

    // Owner window of every picker.
    void SetOwner(HWND owner) { m_owner = owner; }
    HWND GetOwner() const { return m_owner; }
    // Whether BrowseFolder ends the chosen folder with "\".
    void SetFolderSlash(bool on) { m_folderSlash = on; }

    // The colour dialog; true when confirmed, the colour then kept.
    bool ChooseColor(COLORREF initial, bool fullOpen = false, bool preventFullOpen = false, bool anyColor = false);
    // The last picked colour.
    unsigned GetColor() const { return m_color; }
    // The font dialog over the caller's font record; true when confirmed, with the point size.
    bool ChooseFont(LOGFONTA* font, int* pointSize = nullptr);
    SString GetFontFace() const { return m_fontFace; }
    int GetFontSize() const { return m_fontSize; }
    int GetFontStyle() const { return m_fontStyle; }
    // The open-file dialog: filters "Description|pattern"; true when at least one path was chosen.
    bool OpenFile(const SStringArray* filters = nullptr, DWORD extraFlags = 0, const char* initialFolder = nullptr,
                  const char* title = nullptr, int filterIndex = 0);
    // A chosen path; "" outside the list.
    SString GetFile(int index) const;
    int GetFileCount() const { return m_files.GetCount(); }
    // The save-file dialog for an owner: filters "Description|pattern"; true when a name was
    // chosen, which GetPath then returns.
    bool SaveFile(HWND owner, const SStringArray* filters, const char* defaultExtension);
    // The path chosen by the last file dialog; "" when none.
    SString GetPath() const { return m_path; }
    // The folder dialog; the chosen folder or "" when cancelled.
    SString BrowseFolder(const char* title = nullptr, const char* initialFolder = nullptr, bool includeFiles = false);
    SString GetFolder() const { return m_folder; }
    // A modal pop-up listing the system colours; true when one was picked (kept as 0xFE000000 + index).
    bool ChooseSystemColor(const char* caption);

private:
    class _SWndColor;

    HWND m_owner;             // owner window of every picker
    bool m_folderSlash;       // BrowseFolder appends "\"
    SString m_folder;         // last chosen folder
    SStringArray m_files;     // paths chosen by the last OpenFile
    SString m_path;           // path chosen by the last file dialog
    SString m_text;           // kept for callers, unused by the pickers
    SString m_fontFace;       // last chosen font
    int m_fontSize;
    int m_fontStyle;
    unsigned m_color;         // last picked colour
    unsigned m_color2;        // kept for callers, unused by the pickers
    STimer m_date;            // kept for callers, unused by the pickers
};
