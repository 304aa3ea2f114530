#pragma once
// The library's source-code editor: a child window of the library class that
// holds a plain-text document (SCodeEditText), paints it with syntax colouring
// and takes keys, mouse, clipboard, find/replace, go-to-line and print commands.
#include <windows.h>
#include <commdlg.h>

#include "SArray.h"
#include "SClipboard.h"
#include "SCodeEditText.h"
#include "SButtonCtrl.h"
#include "SEditCtrl.h"
#include "SMenu.h"
#include "SPanelCtrl.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

class SFile;

class SCodeEditCtrl : public SWnd, private SCodeEditTextListener
{
public:
    typedef SCodeEditUndo _SUndo;
    class _SWndGoto;
    class _SPanel;

    // The change notification sent to the parent after every successful edit.
    static const UINT kChangedMessage = WM_APP + 3030;
    // Context menu command ids.
    enum { kMenuUndo = 1000, kMenuCut, kMenuCopy, kMenuPaste, kMenuDelete, kMenuSelectAll };

    SCodeEditCtrl();
    ~SCodeEditCtrl() override;

    // --- edit commands (SWnd slots, also reached through the shortcuts) ---
    void OnUndo() override;
    void OnCut() override;
    void OnCopy() override;
    void OnPaste() override;
    void OnDelete() override;
    void OnSelectAll() override;
    void OnFind() override;
    void OnReplace() override;
    void OnGoTo() override;
    void OnPrint() override;
    void OnEscape() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // --- the editor's own virtual operations ---
    // Sets the selection, brings the caret into view (centred with centre) and redraws.
    virtual void SetSelection(int caretLine, int caretColumn, int anchorLine, int anchorColumn, int side,
                              bool centre = false);
    // Replaces the selection by a text as one undo step; false when refused.
    virtual bool ReplaceSelection(const char* text);
    // Comments or uncomments the selected lines as one undo step.
    virtual bool CommentLines();
    virtual bool UncommentLines();
    // Asked before a key is handled; false ends its handling.
    virtual bool OnKeyHook(int key, bool shift, bool ctrl);
    // Called after every handled key.
    virtual void OnKeyDone(int key, bool shift, bool ctrl);
    // Asked before a typed character is inserted; false ignores it.
    virtual bool AcceptChar(int ch);
    // Called after a typed character was inserted.
    virtual void OnCharTyped(int ch);
    // Called after the selection changed while a document is open.
    virtual void OnSelectionChanged();
    // Fills the attached button panel with the editor's commands.
    virtual void FillPanel();
    // Never called by the editor itself.
    virtual void EmptyHook();
    // Called after a panel button was handled.
    virtual void OnPanelCommand(SPanelCtrl* panel, int group, int button, SPanelCtrl::_SButton* record);
    // Asked before the context menu opens at a screen point; false keeps it closed.
    virtual bool OnMouseHook(int x, int y);
    // True paints that occurrence of a keyword as plain text.
    virtual bool SkipKeyword(int keyword, int line, int before, int after);

    // --- creation ---
    // A child window of the library class (WS_CHILD added unless the style has WS_POPUP).
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM creationParam = 0);

    // --- options ---
    void SetCommentMode(bool on) { m_commentMode = on; Redraw(); }
    bool GetCommentMode() const { return m_commentMode; }
    void SetBrMode(bool on) { m_brMode = on; }
    bool GetBrMode() const { return m_brMode; }
    void SetAutoIndent(bool on) { m_autoIndent = on; }
    bool GetAutoIndent() const { return m_autoIndent; }
    void SetStringMode(bool on) { m_stringMode = on; Redraw(); }
    bool GetStringMode() const { return m_stringMode; }
    void SetUpperWords(bool on) { m_upperWords = on; Redraw(); }
    bool GetUpperWords() const { return m_upperWords; }
    void SetShowLineNumbers(bool on);
    bool GetShowNumbers() const { return m_showNumbers; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    bool GetReadOnly() const { return m_readOnly; }
    void SetFindReplaceLocal(bool on) { m_findLocal = on; }
    bool GetFindReplaceLocal() const { return m_findLocal; }
    // Tab size in columns, at least 2.
    void SetTabSize(int size);
    int GetTabSize() const { return m_text.GetTabSize(); }
    // Minimum width of the left bar in pixels; lays out again.
    void SetBarWidth(int width);
    int GetBarWidth() const { return m_minBarWidth; }
    // Single-line mode keeps the first line only and hides both scroll bars.
    void SetSingleLine(bool on);
    bool GetSingleLine() const { return m_text.IsSingleLine(); }
    // which: 1 vertical, 0 horizontal, 3 both.
    void SetScrollBars(int which, bool show);
    // The normal and bold fonts of a face and point size; the caret follows their height.
    void SetFont(const char* face, int points);
    const SString& GetFontFace() const { return m_fontFace; }
    int GetFontSize() const { return m_fontSize; }
    int GetCharWidth() const { return m_charWidth; }
    int GetLineHeight() const { return m_lineHeight; }

    // --- colours (0xFF000000 keeps a colour) ---
    void SetBackColors(unsigned back, unsigned caretLine, unsigned highlight);
    void SetBarColors(unsigned bar, unsigned barGray, unsigned barCheck, unsigned barTag);
    void SetTextColors(unsigned text, unsigned keyword, unsigned string, unsigned upperWord, unsigned comment);
    void SetDefaultColors();
    // Colour of a role (the index of the colour table in the source).
    COLORREF GetColor(int role) const { return role >= 0 && role < kColorCount ? m_colors[role] : 0; }
    enum
    {
        kColorBack, kColorBackFocus, kColorHighlight, kColorBar, kColorBarGray, kColorBarCheck, kColorBarMark,
        kColorText, kColorKeyword, kColorString, kColorUpper, kColorComment, kColorNumber, kColorNumberMarked,
        kColorCount
    };

    // --- keywords, line marks, key texts, panel ---
    // Adds a keyword painted in its colour (0xFF000000: the keyword colour) and optionally bold.
    int AddKeyword(const char* word, unsigned color = 0xFF000000u, bool bold = false);
    void RemoveAllKeywords();
    int GetKeywordCount() const { return m_keywords.GetCount(); }
    // Per-line check and tag flags (the bar shows them).
    void SetLineChecked(int line, bool on);
    bool IsLineChecked(int line) const { return m_text.GetLineFlag(line, 0); }
    void SetLineTagged(int line, bool on);
    bool IsLineTagged(int line) const { return m_text.GetLineFlag(line, 1); }
    // The line painted in the highlight colour (-1: none).
    void SetHighlightedLine(int line);
    int GetHighlightedLine() const { return m_highlightLine; }
    // The key=text pairs of the editor's captions and menu texts.
    SStringArray* GetKeyTexts() { return &m_keyTexts; }
    // The text of a key; "" when the key is missing.
    SString GetKeyText(const char* key) const;
    // Attaches a button panel (owned from now on, deleted with the editor) and fills it.
    // Its clicks reach the editor through OnPanelButton; a panel made by CreatePanel routes them itself.
    void AttachPanel(SPanelCtrl* panel);
    // Creates, attaches and fills a panel whose button clicks run the editor's commands.
    SPanelCtrl* CreatePanel(HWND parent, const RECT* rect);
    SPanelCtrl* GetPanel() const { return m_panel; }
    // A button of the attached panel was clicked: 0 find, 1 replace, 2 go to, 3 print.
    void OnPanelButton(int group, int button, SPanelCtrl::_SButton* record);

    // --- document ---
    bool New(const char* name = nullptr);
    bool Load(SFile* stream, const char* name = nullptr);
    bool Save(SFile* stream, const char* name = nullptr);
    bool Clear(bool redraw = true);
    const SString& GetDocumentName() const { return m_documentName; }
    bool HasDocument() const { return m_text.IsOpen(); }
    bool HasText() const { return m_text.HasText(); }
    int GetLineCount() const { return m_text.GetLineCount(); }
    SString* GetLineText(int index) const { return m_text.GetLineText(index); }
    int GetLineLength(int line, bool raw) const { return m_text.GetLineLength(line, raw); }
    int GetMaxLineLength(bool raw) const { return m_text.GetMaxLineLength(raw); }
    int GetTextLength() const { return m_text.GetTextLength(); }
    SString GetSelectedText() const { return m_text.GetSelectedText(); }
    bool HasSelection() const { return m_text.HasSelection(); }
    // The document model itself.
    SCodeEditText* GetText() { return &m_text; }

    // --- selection ---
    bool SetSelectionRaw(int caretLine, int caretColumn, int anchorLine, int anchorColumn, int side);
    void SelectWholeText();
    bool SelectLine(int line, bool withBreak);
    bool GetSelection(int* startLine, int* startColumn, int* endLine, int* endColumn) const
    {
        return m_text.GetSelection(startLine, startColumn, endLine, endColumn);
    }
    bool GetCaret(int* line, int* column, bool anchorEnd = false) const
    {
        return m_text.GetCaret(line, column, anchorEnd);
    }
    bool IsInSelection(int line, int column) const { return m_text.IsInSelection(line, column); }
    static bool WordBounds(const char* text, int column, int* start, int* end)
    {
        return SCodeEditText::WordBounds(text, column, start, end);
    }
    void MoveBy(int line, int column, int n, int* outLine, int* outColumn) const
    {
        m_text.MoveBy(line, column, n, outLine, outColumn);
    }

    // --- editing primitives (no undo step, no notification) ---
    bool InsertText(const char* text);
    bool InsertChar(char ch);
    bool InsertTextLine(const char* text);
    bool DeleteSelection();
    bool DeleteForward();
    bool DeleteBackward();
    int InsertLine(int index);
    bool RemoveLine(int index);
    bool SetLineText(int index, const char* text);
    bool CommentLines(bool comment, int first, int last);

    // --- undo ---
    void AddUndo(int firstLine, int lineCount, int addedLines) { m_text.AddUndo(firstLine, lineCount, addedLines); }
    void DropLastUndo() { m_text.DropLastUndo(); }
    bool Undo();
    int GetUndoCount() const { return m_text.GetUndoCount(); }

    // --- find and replace ---
    // Finds the current find text in the current direction; on a match the caret line is centred.
    bool FindNext();
    bool ReplaceNext();
    bool ReplaceAll();
    // The find and replace texts and flags in use (the editor's own, or the shared set).
    SString GetFindText() const;
    void SetFindText(const char* text);
    SString GetReplaceText() const;
    void SetReplaceText(const char* text);
    bool GetFindDown() const;
    void SetFindDown(bool down);
    bool GetMatchCase() const;
    void SetMatchCase(bool on);
    bool GetWrapAround() const { return m_wrap; }
    void SetWrapAround(bool on) { m_wrap = on; }
    // The open find or replace dialog; null when none.
    HWND GetFindDialog() const { return m_findDialog; }
    // Closes the find or replace dialog.
    void CloseFindDialog();
    // Goes to line n (1-based); false outside the lines.
    bool GoToLine(int number);
    // The open go-to window; null when none.
    _SWndGoto* GetGoToWindow() const { return m_gotoWindow; }
    // Prints the document (as text in "courier new" at 9 points); false when it cannot be saved.
    bool Print();

    // --- view ---
    // First visible line and first visible visual column.
    int GetTopLine() const { return m_topLine; }
    int GetLeftColumn() const { return m_leftColumn; }
    void SetTopLine(int line);
    void SetLeftColumn(int column);
    int GetVisibleRows() const { return m_visibleRows; }
    int GetFullRows() const { return m_fullRows; }
    const RECT& GetTextRect() const { return m_textRect; }
    const RECT& GetBarRect() const { return m_barRect; }
    // Pixel to position: false outside the text area (or off the text without clamp).
    bool HitTest(int x, int y, bool clamp, int* line, int* column) const;
    // Top-left pixel of a position's cell.
    POINT PositionToPixels(int line, int column) const;
    // Lays out the bar and the text area and sets the scroll ranges.
    void Layout();
    // Paints one row (print mode with a rectangle: the line of that index into it).
    void PaintLine(HDC dc, int row, const RECT* printRect = nullptr);
    // Paints every visible row into a context.
    void PaintAll(HDC dc);

    // --- notification ---
    // The change notification to the parent, then caret into view and redraw.
    void Notify();

protected:
    // Shows the context menu at a screen point (a seam: the menu's tracking is modal).
    virtual void ShowContextMenu(int x, int y);
    // Runs the go-to window modally; its result (a seam: tests end it without a user).
    virtual int RunGoToWindow(_SWndGoto* window);
    // Opens the system find or replace dialog on the record; its window (a seam for tests).
    virtual HWND OpenFindDialog(FINDREPLACEA* record, bool replace);

private:
    void OnTextSelectionChanged() override;
    void ResetControl();
    void BuildMenu();
    void MakeBrushes();
    void DeleteBrushes();
    void DeleteFonts();
    // Lays out again when the number of digits of the line count changed.
    void CheckDigits(int oldCount);
    int DigitCount() const;
    // Sets the scroll ranges and positions now.
    void UpdateScrollRanges();
    // Sets them when the message queue is next idle.
    void ScheduleBars();
    void PlaceCaret();
    bool IsEditable() const { return m_text.IsOpen() && !m_readOnly; }
    // Records an undo step over the selected lines (plus added lines); false without a caret.
    // Comments (or uncomments) the selected lines as one undo step.
    bool CommentSelectedLines(bool comment);
    bool RecordSelectedLines(int addedLines, int extraBefore = 0, int extraAfter = 0);
    void HandleKey(int key);
    void HandleChar(int ch);
    void MoveCaretTo(int line, int column, bool extend);
    void TabLines(bool remove);
    void MouseSelect(int x, int y, bool drag);
    void BarSelect(int y);
    void TrackDrag(bool bar, int anchorLine, int anchorColumn);
    void DoubleClick(int x, int y);
    void RightButtonDown(int x, int y);
    void HandleFindMessage(FINDREPLACEA* record);
    void OpenFind(bool replace);
    void CloseGoToWindow();
    // The buffers of the find and replace texts in use.
    char* FindBuffer();
    char* ReplaceBuffer();
    bool FindText(bool fromStart);
    // Columns [first, last) of the characters [from, to) that start at visual column start,
    // counted from start, with their tabs as blanks.
    SString ExpandColumns(const char* chars, int from, int to, int start, int first, int last) const;
    // Draws a segment of a line's text; returns the new x.
    int DrawSegment(HDC dc, const SString& line, int from, int to, int x, int y, int kind, int keyword,
                    bool print, int* visual);
    int FindKeyword(const char* word, int length) const;

    SClipboard m_clipboard;
    RECT m_textRect;
    RECT m_barRect;
    int m_minBarWidth;
    int m_gap;
    bool m_autoIndent;
    bool m_showNumbers;
    bool m_commentMode;
    bool m_stringMode;
    bool m_upperWords;
    bool m_brMode;
    bool m_readOnly;
    SString m_fontFace;
    int m_fontSize;
    HFONT m_font;
    HFONT m_boldFont;
    HFONT m_numberFont;
    int m_charWidth;
    int m_lineHeight;
    SStringArray m_keyTexts;
    bool m_showVerticalBar;
    bool m_showHorizontalBar;
    SString m_documentName;
    int m_scrollRequest;
    int m_highlightLine;
    SMenu m_menu;
    SCodeEditText m_text;
    SStringArray m_keywords;
    SArray<unsigned long> m_keywordColors;
    SArray<bool> m_keywordBold;
    FINDREPLACEA* m_findRecord;
    HWND m_findDialog;
    bool m_findLocal;
    char m_findText[257];
    char m_replaceText[257];
    bool m_down;
    bool m_matchCase;
    bool m_wrap;
    _SWndGoto* m_gotoWindow;
    SPanelCtrl* m_panel;
    COLORREF m_colors[kColorCount];
    HBRUSH m_brushes[kColorCount];
    // View state: first visible line and visual column, rows and columns that fit.
    int m_topLine;
    int m_leftColumn;
    int m_visibleRows, m_fullRows;
    int m_visibleColumns, m_fullColumns;
    int m_digits;
    int m_rangeLines, m_rangeColumns;
    bool m_barsPending;
    static const UINT_PTR kBarsTimer = 3030;
    // Milliseconds after which the scroll bars follow the text.
    static const UINT kBarsDelay = 40;
};

// The go-to-line window: a line number field with OK and cancel.
class SCodeEditCtrl::_SWndGoto : public SWnd
{
public:
    // lineNumber: the number shown first; cancelText: the cancel button's caption.
    _SWndGoto(int lineNumber, const char* cancelText);
    ~_SWndGoto() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The number typed in the field (0 when it is not a number).
    int GetNumber() const;
    SEditCtrl* GetEdit() { return &m_edit; }
    // Ends the modal run as the OK button does.
    void Accept();

private:
    int m_lineNumber;
    SString m_cancelText;
    SEditCtrl m_edit;
    SButtonCtrl m_ok;
    SButtonCtrl m_cancel;
};

// The panel made by CreatePanel: its clicks run the editor's commands first.
class SCodeEditCtrl::_SPanel : public SPanelCtrl
{
public:
    explicit _SPanel(SCodeEditCtrl* editor) : m_editor(editor) {}
    void OnButtonClick(int groupId, int buttonId, _SButton* button) override;

private:
    SCodeEditCtrl* m_editor;
};
