#pragma once
// The code editor's document: its lines, the selection, the editing primitives,
// the undo steps and the search, with no window of its own.
#include "SArray.h"
#include "SString.h"
#include "SStringArray.h"

class SFile;

// One undo step: the lines of the edited range as they were, and the caret then.
struct SCodeEditUndo
{
    SStringArray lines;
    int firstLine = 0;
    int lineCount = 0;
    // Lines by which the edited range grew (its line count after the edit minus one).
    int addedLines = 0;
    int caretLine = 0;
    int caretColumn = 0;
};

// Told of what the document cannot act on by itself.
class SCodeEditTextListener
{
public:
    virtual ~SCodeEditTextListener() {}
    // A field of the selection changed through SetSelectionRaw.
    virtual void OnTextSelectionChanged() = 0;
};

class SCodeEditText
{
public:
    SCodeEditText();
    virtual ~SCodeEditText();
    SCodeEditText(const SCodeEditText&) = delete;
    SCodeEditText& operator=(const SCodeEditText&) = delete;

    // Most undo steps kept; the oldest goes first.
    static const int kMaxUndo = 128;

    void SetListener(SCodeEditTextListener* listener) { m_listener = listener; }

    // --- document ---
    // Drops every line, flag, undo step and the selection; false when no document was open.
    bool Clear();
    // An open document of one empty line with the caret at (0, 0).
    void New();
    // Reads lines ended by CR LF up to the stream's end (a final break gives one more, empty, line).
    bool Load(SFile* stream);
    // Writes every line, CR LF between them and none after the last; false for a null stream.
    bool Save(SFile* stream) const;
    bool IsOpen() const { return m_open; }
    // A document is open and holds at least one character or a second line.
    bool HasText() const;

    // --- options the editing follows ---
    void SetSingleLine(bool on) { m_singleLine = on; }
    bool IsSingleLine() const { return m_singleLine; }
    // Widest tab kept: a size from a description cannot make one tab wider than any screen.
    static const int kMaxTabSize = 1000;
    // Tab size in columns, from 2 to kMaxTabSize.
    void SetTabSize(int size);
    int GetTabSize() const { return m_tabSize; }
    // The visual column after the character ch placed at visual column visual: a tab goes on
    // to the next multiple of the tab size. Stops at INT_MAX instead of overflowing.
    int NextVisualColumn(int visual, char ch) const;

    // --- lines ---
    int GetLineCount() const { return m_lines.GetCount(); }
    // The line's string (owned by the document); null outside the lines.
    SString* GetLineText(int index) const { return m_lines.GetAt(index); }
    // Length in characters (raw) or in visual columns.
    int GetLineLength(int line, bool raw) const;
    // The longest line in characters (raw) or in visual columns.
    int GetMaxLineLength(bool raw) const;
    // Characters of all lines plus 2 per line break; 0 with no document.
    int GetTextLength() const;
    // Copies the lines joined by CR LF, at most size - 1 characters and a zero; the characters copied.
    int CopyText(char* buffer, int size) const;
    // Visual column of a column of a line (tabs to the next multiple of the tab size).
    int GetVisualColumn(int line, int column) const;
    // Column of the first character of a line whose cell ends after a visual column; the length past the end.
    int GetColumnFromVisual(int line, int visual) const;

    // Per-line flags: 0 the check flag, 1 the tag flag.
    bool GetLineFlag(int line, int which) const;
    void SetLineFlag(int line, int which, bool on);

    // --- selection ---
    // Sets the selection (see the class's comment in the source); true when a field changed.
    bool SetSelectionRaw(int caretLine, int caretColumn, int anchorLine, int anchorColumn, int side);
    // Caret at the end of the last line, anchor at (0, 0).
    void SelectWholeText();
    // The whole line, with its break up to the next line's start when withBreak; false outside the lines.
    bool SelectLine(int line, bool withBreak);
    // The normalised selection; the result is the caret-at-start flag.
    bool GetSelection(int* startLine, int* startColumn, int* endLine, int* endColumn) const;
    // The caret, or the anchor when anchorEnd; false without a caret.
    bool GetCaret(int* line, int* column, bool anchorEnd = false) const;
    bool HasCaret() const { return m_startLine >= 0 && m_startColumn >= 0; }
    // Text is selected: all four fields set.
    bool HasSelection() const;
    // The selection spans several lines.
    bool SelectionSpansLines() const { return HasSelection() && m_endLine != m_startLine; }
    bool IsInSelection(int line, int column) const;
    // The selection's first line and its line count (1 for a bare caret); false without a caret.
    bool GetSelectedLines(int* first, int* count) const;
    // The selected text, CR LF between lines; "" without a selection.
    SString GetSelectedText() const;
    // The position n characters forward (back for n < 0), a line break counting one; clamped.
    void MoveBy(int line, int column, int n, int* outLine, int* outColumn) const;
    // The word around a column: start and end given as -1 are found (end exclusive).
    static bool WordBounds(const char* text, int column, int* start, int* end);

    // --- editing primitives (no undo step) ---
    // Replaces the selection by the text (line feeds make lines); false without a caret,
    // or for several lines in single-line mode.
    bool InsertText(const char* text);
    bool InsertChar(char ch);
    // The text then a line break.
    bool InsertTextLine(const char* text);
    bool DeleteSelection();
    // The selection, or the character at the caret, or the line break at the line's end.
    bool DeleteForward();
    // The selection, or the character before the caret, or the break before the line.
    bool DeleteBackward();
    // An empty line at index (-1 or past the end appends); the line's index, -1 on failure.
    int InsertLine(int index);
    // Removes a line (the last remaining line is emptied instead).
    bool RemoveLine(int index);
    bool SetLineText(int index, const char* text);
    // Comments ("//" after the leading tabs) or uncomments the non-blank lines first..last (last < 0: to the end).
    bool CommentLines(bool comment, int first, int last);
    // Inserts (or, with remove, takes away) one leading tab on lines first..last.
    void IndentLines(int first, int last, bool remove);

    // --- undo ---
    void AddUndo(int firstLine, int lineCount, int addedLines);
    void DropLastUndo();
    bool Undo();
    int GetUndoCount() const { return m_undo.GetCount(); }
    void ClearUndo();

    // --- search ---
    // Finds the next occurrence from the selection and selects it (caret at its end). Forward
    // searches start at the selection's end (its start with fromStart); backward ones before its start.
    bool Find(const char* text, bool down, bool matchCase, bool wrap, bool fromStart = false);
    // Replaces the occurrence found from the selection's start and selects the inserted text; one undo step.
    bool ReplaceOnce(const char* text, const char* replacement, bool matchCase, bool wrap);
    // Replaces every occurrence from the start, each its own undo step; the number replaced.
    int ReplaceAll(const char* text, const char* replacement, bool matchCase);

private:
    // Deletes the strings of [index, index + count) and removes them with their flags.
    void RemoveLines(int index, int count);
    // Inserts count empty lines at index with their flags.
    void InsertEmptyLines(int index, int count);
    // The caret, placed without a selection (listener told).
    void PlaceCaret(int line, int column);
    // The longest-line caches are out of date.
    void InvalidateMax() { m_maxRaw = m_maxVisual = -1; }
    // A line may have grown: the longest-line caches follow it without a full scan.
    // (Operations that shrink a line drop the caches themselves when it may have been the longest.)
    void NoteLineGrew(int line);
    int VisualLength(const SString* text) const;
    // Last (or first) occurrence of text in a line starting in [from, before) (before < 0: anywhere); -1 when none.
    int FindInLine(int line, const char* text, int length, bool matchCase, int from, int before, bool last) const;
    void SelectMatch(int line, int column, int length);

    SArray<SString*> m_lines;
    SArray<bool> m_checks;
    SArray<bool> m_tags;
    int m_startLine, m_startColumn, m_endLine, m_endColumn;
    bool m_caretAtStart;
    bool m_open;
    bool m_singleLine;
    int m_tabSize;
    SArray<SCodeEditUndo*> m_undo;
    mutable int m_maxRaw;
    mutable int m_maxVisual;
    SCodeEditTextListener* m_listener;
};
