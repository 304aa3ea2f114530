#include "SCodeEditCtrl.h"

#include <string.h>

#include "SControl.h"
#include "SDraw.h"
#include "SFile.h"
#include "SFileMem.h"
#include "SLibrary.h"

namespace
{

const unsigned kDefaultColors[SCodeEditCtrl::kColorCount] = {
    0xFFFFFF, 0xF5F5F5, 0x00FFFF, 0xEDE4D7, 0xD0D0D0, 0x0000FF, 0x00C000,
    0x000000, 0xFF0000, 0x808080, 0x800080, 0x008000, 0x85673B, 0xFFFFFF,
};

const char* const kKeyTexts[] = {
    "#GENERAL=General", "#CODE=Code",     "#FIND=Find...",   "#REPLACE=Replace...", "#GOTO=Go To...",
    "#PRINT=Print...",  "#CANCEL=Cancel", "@UNDO=Undo",      "@CUT=Cut",            "@COPY=Copy",
    "@PASTE=Paste",     "@DELETE=Delete", "@SELECTALL=Select All",
};

// Roles whose colour is painted with a brush of its own.
bool HasBrush(int role)
{
    return role <= SCodeEditCtrl::kColorBarMark;
}

}

SCodeEditCtrl::SCodeEditCtrl()
    : m_minBarWidth(20), m_gap(2), m_autoIndent(true), m_showNumbers(false), m_commentMode(false),
      m_stringMode(false), m_upperWords(false), m_brMode(false), m_readOnly(false), m_fontFace("courier new"),
      m_fontSize(10), m_font(nullptr), m_boldFont(nullptr), m_numberFont(nullptr), m_charWidth(8),
      m_lineHeight(16), m_showVerticalBar(true), m_showHorizontalBar(true), m_scrollRequest(0),
      m_highlightLine(-1), m_findRecord(nullptr), m_findDialog(nullptr), m_findLocal(true), m_down(true),
      m_matchCase(false), m_wrap(true), m_gotoWindow(nullptr), m_panel(nullptr), m_topLine(0), m_leftColumn(0),
      m_visibleRows(0), m_fullRows(0), m_visibleColumns(0), m_fullColumns(0), m_digits(1), m_rangeLines(-1),
      m_rangeColumns(-1), m_barsPending(false)
{
    SetKind(SKIND_CODEEDIT);
    m_textRect = {0, 0, 0, 0};
    m_barRect = {0, 0, 0, 0};
    m_findText[0] = m_replaceText[0] = 0;
    for (int i = 0; i < kColorCount; i++)
    {
        m_colors[i] = kDefaultColors[i];
        m_brushes[i] = nullptr;
    }
    // Filled before creation, so that a user can replace the pairs before the menu is built.
    for (const char* pair : kKeyTexts)
        m_keyTexts.Add(pair);
    m_numberFont = CreatePointFont(nullptr, "verdana", 7, 0);
    m_text.SetListener(this);
}

SCodeEditCtrl::~SCodeEditCtrl()
{
    CloseFindDialog();
    delete m_panel;
    m_panel = nullptr;
    Clear(false);
    DeleteFonts();
    if (m_numberFont)
        DeleteObject(m_numberFont);
    m_numberFont = nullptr;
    DeleteBrushes();
    m_menu.Destroy();
    Destroy();
}

bool SCodeEditCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                           LPARAM creationParam)
{
    return SWnd::Create("", SControlStyle(style), exStyle, rect, parent, id, creationParam, GetInstance());
}

void SCodeEditCtrl::ResetControl()
{
    Clear(false);
    m_topLine = m_leftColumn = 0;
    SetFont("courier new", 10);
    SetDefaultColors();
    BuildMenu();
    m_text.SetTabSize(4);
    m_minBarWidth = 20;
    m_gap = 2;
    m_autoIndent = true;
    m_showNumbers = m_commentMode = m_stringMode = m_upperWords = m_brMode = m_readOnly = false;
    m_findLocal = true;
    m_keywords.RemoveAll();
    m_keywordColors.RemoveAll();
    m_keywordBold.RemoveAll();
    m_findText[0] = m_replaceText[0] = 0;
    m_down = true;
    m_matchCase = false;
    m_wrap = true;
    CloseFindDialog();
    CloseGoToWindow();
}

void SCodeEditCtrl::BuildMenu()
{
    m_menu.Destroy();
    if (!m_menu.CreatePopup(GetHandle()))
        return;
    m_menu.InsertItem(kMenuUndo, GetKeyText("@UNDO") + "\tCtrl+Z");
    m_menu.InsertSeparator();
    m_menu.InsertItem(kMenuCut, GetKeyText("@CUT") + "\tCtrl+X");
    m_menu.InsertItem(kMenuCopy, GetKeyText("@COPY") + "\tCtrl+C");
    m_menu.InsertItem(kMenuPaste, GetKeyText("@PASTE") + "\tCtrl+V");
    m_menu.InsertItem(kMenuDelete, GetKeyText("@DELETE") + "\tDel");
    m_menu.InsertSeparator();
    m_menu.InsertItem(kMenuSelectAll, GetKeyText("@SELECTALL") + "\tCtrl+A");
}

SString SCodeEditCtrl::GetKeyText(const char* key) const
{
    int keyLength = key ? (int)strlen(key) : 0;
    for (int i = 0; i < m_keyTexts.GetCount(); i++)
    {
        const SString* pair = m_keyTexts.GetString(i);
        int equal = pair ? pair->FindChar('=') : -1;
        if (equal == keyLength && strncmp(*pair, key, (size_t)keyLength) == 0)
            return pair->Mid(equal + 1);
    }
    return SString("");
}

// --- options ---

void SCodeEditCtrl::SetShowLineNumbers(bool on)
{
    m_showNumbers = on;
    Layout();
    Redraw();
}

void SCodeEditCtrl::SetTabSize(int size)
{
    m_text.SetTabSize(size);
    m_rangeColumns = -1;
    Redraw();
}

void SCodeEditCtrl::SetBarWidth(int width)
{
    m_minBarWidth = width < 0 ? 0 : width;
    Layout();
    Redraw();
}

void SCodeEditCtrl::SetSingleLine(bool on)
{
    m_text.SetSingleLine(on);
    if (!on)
        return;
    int count = m_text.GetLineCount();
    for (int i = count - 1; i >= 1; i--)
        m_text.RemoveLine(i);
    CheckDigits(count);
    SetScrollBars(3, false);
}

void SCodeEditCtrl::SetScrollBars(int which, bool show)
{
    if (which == 1 || which == 3)
        m_showVerticalBar = show;
    if (which == 0 || which == 3)
        m_showHorizontalBar = show;
    m_rangeLines = -1;
    Layout();
    Redraw();
}

void SCodeEditCtrl::SetFont(const char* face, int points)
{
    DeleteFonts();
    m_fontFace = face ? face : "courier new";
    m_fontSize = points;
    m_font = CreatePointFont(nullptr, m_fontFace, points, 0);
    m_boldFont = CreatePointFont(nullptr, m_fontFace, points, FONT_STYLE_BOLD);
    if (m_font)
    {
        SIZE cell = GetFontCharSize(m_font);
        if (cell.cx > 0)
            m_charWidth = cell.cx;
        if (cell.cy > 0)
            m_lineHeight = cell.cy;
    }
    if (GetHandle())
    {
        CreateCaret(1, m_lineHeight, -182, -182, true);
        Layout();
        Redraw();
    }
}

void SCodeEditCtrl::DeleteFonts()
{
    if (m_font)
        DeleteObject(m_font);
    if (m_boldFont)
        DeleteObject(m_boldFont);
    m_font = m_boldFont = nullptr;
}

// --- colours ---

void SCodeEditCtrl::MakeBrushes()
{
    DeleteBrushes();
    for (int i = 0; i < kColorCount; i++)
        if (HasBrush(i))
            m_brushes[i] = CreateSolidBrush(m_colors[i]);
}

void SCodeEditCtrl::DeleteBrushes()
{
    for (int i = 0; i < kColorCount; i++)
    {
        if (m_brushes[i])
            DeleteObject(m_brushes[i]);
        m_brushes[i] = nullptr;
    }
}

void SCodeEditCtrl::SetBackColors(unsigned back, unsigned caretLine, unsigned highlight)
{
    const unsigned values[3] = {back, caretLine, highlight};
    for (int i = 0; i < 3; i++)
        if (values[i] != SCOLOR_NONE)
            m_colors[kColorBack + i] = ResolveColor(values[i]);
    MakeBrushes();
    Redraw();
}

void SCodeEditCtrl::SetBarColors(unsigned bar, unsigned barGray, unsigned barCheck, unsigned barTag)
{
    const unsigned values[4] = {bar, barGray, barCheck, barTag};
    for (int i = 0; i < 4; i++)
        if (values[i] != SCOLOR_NONE)
            m_colors[kColorBar + i] = ResolveColor(values[i]);
    MakeBrushes();
    Redraw();
}

void SCodeEditCtrl::SetTextColors(unsigned text, unsigned keyword, unsigned string, unsigned upperWord,
                                  unsigned comment)
{
    const unsigned values[5] = {text, keyword, string, upperWord, comment};
    for (int i = 0; i < 5; i++)
        if (values[i] != SCOLOR_NONE)
            m_colors[kColorText + i] = ResolveColor(values[i]);
    m_colors[kColorNumber] = kDefaultColors[kColorNumber];
    m_colors[kColorNumberMarked] = kDefaultColors[kColorNumberMarked];
    Redraw();
}

void SCodeEditCtrl::SetDefaultColors()
{
    for (int i = 0; i < kColorCount; i++)
        m_colors[i] = kDefaultColors[i];
    MakeBrushes();
    Redraw();
}

// --- keywords, marks, panel ---

int SCodeEditCtrl::AddKeyword(const char* word, unsigned color, bool bold)
{
    if (!word || !*word)
        return -1;
    m_keywordColors.Add(color == SCOLOR_NONE ? m_colors[kColorKeyword] : ResolveColor(color));
    m_keywordBold.Add(bold);
    return m_keywords.Add(word);
}

void SCodeEditCtrl::RemoveAllKeywords()
{
    m_keywords.RemoveAll();
    m_keywordColors.RemoveAll();
    m_keywordBold.RemoveAll();
    Redraw();
}

void SCodeEditCtrl::SetLineChecked(int line, bool on)
{
    m_text.SetLineFlag(line, 0, on);
    Redraw();
}

void SCodeEditCtrl::SetLineTagged(int line, bool on)
{
    m_text.SetLineFlag(line, 1, on);
    Redraw();
}

void SCodeEditCtrl::SetHighlightedLine(int line)
{
    m_highlightLine = line < 0 ? -1 : line;
    Redraw();
}

void SCodeEditCtrl::AttachPanel(SPanelCtrl* panel)
{
    if (m_panel == panel)
        return;
    delete m_panel;
    m_panel = panel;
    if (m_panel)
        FillPanel();
}

// --- document ---

bool SCodeEditCtrl::New(const char* name)
{
    Clear(false);
    m_text.New();
    if (name)
        m_documentName = name;
    Layout();
    return Redraw();
}

bool SCodeEditCtrl::Load(SFile* stream, const char* name)
{
    if (!stream)
        return false;
    Clear(false);
    if (!m_text.Load(stream))
        return false;
    if (m_text.IsSingleLine())
        for (int i = m_text.GetLineCount() - 1; i >= 1; i--)
            m_text.RemoveLine(i);
    if (name)
        m_documentName = name;
    Layout();
    Redraw();
    return true;
}

bool SCodeEditCtrl::Save(SFile* stream, const char* name)
{
    if (!stream || !m_text.Save(stream))
        return false;
    m_documentName = name ? name : "";
    return true;
}

bool SCodeEditCtrl::Clear(bool redraw)
{
    if (!m_text.IsOpen())
        return false;
    CloseFindDialog();
    m_documentName = "";
    m_highlightLine = -1;
    m_scrollRequest = 0;
    m_topLine = m_leftColumn = 0;
    if (GetHandle())
    {
        SetScrollInfo(true, 0, 0, 0, false);
        SetScrollInfo(false, 0, 0, 0, false);
        SetScrollPos(true, 0, false);
        SetScrollPos(false, 0, false);
        ShowScrollBar(true, false);
        ShowScrollBar(false, false);
    }
    m_rangeLines = m_rangeColumns = -1;
    m_text.Clear();
    CloseGoToWindow();
    if (redraw)
        Redraw();
    return true;
}

// --- selection ---

void SCodeEditCtrl::OnTextSelectionChanged()
{
    OnSelectionChanged();
}

bool SCodeEditCtrl::SetSelectionRaw(int caretLine, int caretColumn, int anchorLine, int anchorColumn, int side)
{
    return m_text.SetSelectionRaw(caretLine, caretColumn, anchorLine, anchorColumn, side);
}

void SCodeEditCtrl::SetSelection(int caretLine, int caretColumn, int anchorLine, int anchorColumn, int side,
                                 bool centre)
{
    m_text.SetSelectionRaw(caretLine, caretColumn, anchorLine, anchorColumn, side);
    m_scrollRequest = centre ? 3 : 1;
    Redraw();
}

void SCodeEditCtrl::SelectWholeText()
{
    m_text.SelectWholeText();
}

bool SCodeEditCtrl::SelectLine(int line, bool withBreak)
{
    return m_text.SelectLine(line, withBreak);
}

// --- primitives: the model's, with the layout following the number of digits ---

int SCodeEditCtrl::DigitCount() const
{
    int digits = 1;
    for (int n = m_text.GetLineCount(); n >= 10; n /= 10)
        digits++;
    return digits;
}

void SCodeEditCtrl::CheckDigits(int oldCount)
{
    if (oldCount == m_text.GetLineCount())
        return;
    if (m_showNumbers && DigitCount() != m_digits)
        Layout();
}

bool SCodeEditCtrl::InsertText(const char* text)
{
    int count = m_text.GetLineCount();
    bool done = m_text.InsertText(text);
    CheckDigits(count);
    return done;
}

bool SCodeEditCtrl::InsertChar(char ch)
{
    char text[2] = {ch, 0};
    return InsertText(text);
}

bool SCodeEditCtrl::InsertTextLine(const char* text)
{
    int count = m_text.GetLineCount();
    bool done = m_text.InsertTextLine(text);
    CheckDigits(count);
    return done;
}

bool SCodeEditCtrl::DeleteSelection()
{
    int count = m_text.GetLineCount();
    bool done = m_text.DeleteSelection();
    CheckDigits(count);
    return done;
}

bool SCodeEditCtrl::DeleteForward()
{
    int count = m_text.GetLineCount();
    bool done = m_text.DeleteForward();
    CheckDigits(count);
    return done;
}

bool SCodeEditCtrl::DeleteBackward()
{
    int count = m_text.GetLineCount();
    bool done = m_text.DeleteBackward();
    CheckDigits(count);
    return done;
}

int SCodeEditCtrl::InsertLine(int index)
{
    int count = m_text.GetLineCount();
    int line = m_text.InsertLine(index);
    CheckDigits(count);
    return line;
}

bool SCodeEditCtrl::RemoveLine(int index)
{
    int count = m_text.GetLineCount();
    bool done = m_text.RemoveLine(index);
    CheckDigits(count);
    return done;
}

bool SCodeEditCtrl::SetLineText(int index, const char* text)
{
    return m_text.SetLineText(index, text);
}

bool SCodeEditCtrl::CommentLines(bool comment, int first, int last)
{
    return m_text.CommentLines(comment, first, last);
}

bool SCodeEditCtrl::Undo()
{
    int count = m_text.GetLineCount();
    bool done = m_text.Undo();
    CheckDigits(count);
    return done;
}

// --- edit commands ---

void SCodeEditCtrl::Notify()
{
    SendMessageToParent(kChangedMessage, (WPARAM)this, 0);
    NotifyParentChanged(0);
    m_scrollRequest |= 1;
    Redraw();
}

bool SCodeEditCtrl::RecordSelectedLines(int addedLines, int extraBefore, int extraAfter)
{
    int first = 0, count = 0;
    if (!m_text.GetSelectedLines(&first, &count))
        return false;
    first -= extraBefore;
    count += extraBefore + extraAfter;
    if (first < 0)
    {
        count += first;
        first = 0;
    }
    m_text.AddUndo(first, count, addedLines);
    return true;
}

void SCodeEditCtrl::OnUndo()
{
    if (!IsEditable())
        return;
    if (Undo())
        Notify();
}

void SCodeEditCtrl::OnCut()
{
    if (!IsEditable() || !m_text.HasSelection())
        return;
    RecordSelectedLines(0);
    if (!m_clipboard.SetText(m_text.GetSelectedText()) || !DeleteSelection())
    {
        m_text.DropLastUndo();
        return;
    }
    Notify();
}

void SCodeEditCtrl::OnCopy()
{
    if (m_text.IsOpen() && m_text.HasSelection())
        m_clipboard.SetText(m_text.GetSelectedText());
}

void SCodeEditCtrl::OnPaste()
{
    if (!IsEditable())
        return;
    SString text = m_clipboard.GetText();
    if (!text.IsEmpty())
        ReplaceSelection(text);
}

void SCodeEditCtrl::OnDelete()
{
    if (!IsEditable() || !m_text.HasCaret())
        return;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    int line = 0, column = 0;
    m_text.GetCaret(&line, &column);
    if (!shift || m_text.HasSelection())
    {
        bool atLineEnd = !m_text.HasSelection() && column >= m_text.GetLineLength(line, true) &&
                         line + 1 < m_text.GetLineCount();
        RecordSelectedLines(0, 0, atLineEnd ? 1 : 0);
        if (!DeleteForward())
        {
            m_text.DropLastUndo();
            return;
        }
        Notify();
        return;
    }
    // Shift+Delete without a selection takes the whole caret line.
    bool hasNext = line + 1 < m_text.GetLineCount();
    m_text.AddUndo(line, hasNext ? 2 : 1, 0);
    if (hasNext)
        m_text.SelectLine(line, true);
    else
        m_text.SelectLine(line, false);
    if (!m_text.HasSelection() || !DeleteSelection())
    {
        m_text.DropLastUndo();
        m_text.SetSelectionRaw(line, column, -1, -1, 0);
        return;
    }
    Notify();
}

void SCodeEditCtrl::OnSelectAll()
{
    if (!m_text.IsOpen())
        return;
    SelectWholeText();
    m_scrollRequest |= 1;
    Redraw();
}

void SCodeEditCtrl::OnEscape()
{
    if (!m_text.IsOpen())
        return;
    if (m_text.HasSelection())
    {
        int line = 0, column = 0;
        m_text.GetCaret(&line, &column);
        m_text.SetSelectionRaw(line, column, -1, -1, 0);
    }
    m_scrollRequest |= 1;
    Redraw();
}

bool SCodeEditCtrl::ReplaceSelection(const char* text)
{
    if (!m_text.IsOpen() || !text)
        return false;
    int feeds = 0;
    for (const char* p = text; *p; p++)
        if (*p == '\n')
            feeds++;
    if (!RecordSelectedLines(feeds))
        return false;
    if (!InsertText(text))
    {
        m_text.DropLastUndo();
        return false;
    }
    Notify();
    return true;
}

bool SCodeEditCtrl::CommentLines()
{
    return CommentSelectedLines(true);
}

bool SCodeEditCtrl::UncommentLines()
{
    return CommentSelectedLines(false);
}

bool SCodeEditCtrl::CommentSelectedLines(bool comment)
{
    int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    if (!m_text.IsOpen() || !m_text.HasCaret())
        return false;
    m_text.GetSelection(&startLine, &startColumn, &endLine, &endColumn);
    // A selection ending at the start of a line leaves that line alone.
    if (endLine > startLine && endColumn == 0)
        endLine--;
    int count = endLine - startLine + 1;
    m_text.AddUndo(startLine, count, count - 1);
    if (!m_text.CommentLines(comment, startLine, endLine))
    {
        m_text.DropLastUndo();
        return false;
    }
    Notify();
    return true;
}

// --- the editor's default hooks ---

bool SCodeEditCtrl::OnKeyHook(int, bool, bool) { return true; }
void SCodeEditCtrl::OnKeyDone(int, bool, bool) {}
bool SCodeEditCtrl::AcceptChar(int) { return true; }
void SCodeEditCtrl::OnCharTyped(int) {}
void SCodeEditCtrl::OnSelectionChanged() {}
void SCodeEditCtrl::EmptyHook() {}
void SCodeEditCtrl::OnPanelCommand(SPanelCtrl*, int, int, SPanelCtrl::_SButton*) {}
bool SCodeEditCtrl::OnMouseHook(int, int) { return true; }
bool SCodeEditCtrl::SkipKeyword(int, int, int, int) { return false; }
