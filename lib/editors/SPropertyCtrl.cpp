#include "SPropertyCtrl.h"

#include <gdiplus.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SDialogEditor.h"
#include "SDraw.h"
#include "SIdentifiants.h"
#include "SLibrary.h"
#include "SSelector.h"
#include "SStringParser.h"

namespace
{
const int kButtonWidth = 14;
const int kGroupGlyph = 16;
const int kResizeCursor = 11;
const int kMinNameWidth = 25;
const DWORD kDragWait = 15;

enum
{
    GLYPH_TOGGLE, GLYPH_DROPDOWN, GLYPH_DIALOG, GLYPH_SYSCOLOR, GLYPH_RESET, GLYPH_EDIT, GLYPH_EXPANDED,
    GLYPH_COLLAPSED
};

// "%f" without trailing zeros and then without a trailing '.'.
SString RealToString(double value)
{
    char buffer[512];
    snprintf(buffer, sizeof(buffer), "%f", value);
    size_t length = strlen(buffer);
    if (strchr(buffer, '.'))
    {
        while (length > 0 && buffer[length - 1] == '0')
            buffer[--length] = 0;
        if (length > 0 && buffer[length - 1] == '.')
            buffer[--length] = 0;
    }
    return SString(buffer);
}

SString DecimalText(int value)
{
    SString text;
    text.FormatInt(value);
    return text;
}

bool Contains(const RECT& rect, int x, int y)
{
    POINT point = {x, y};
    return PtInRect(&rect, point) != FALSE;
}

// A glyph drawn from a small shape rule over a transparent square.
void MakeGlyph(SImage* image, int size, int glyph)
{
    SArray<uint32_t> pixels;
    pixels.SetSize(size * size, false);
    const uint32_t ink = 0xFF000000u;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++)
        {
            bool on = false;
            int c = size / 2;
            switch (glyph)
            {
            case GLYPH_TOGGLE: on = (x == 3 || x == size - 4 || y == 3 || y == size - 4) && x >= 3 && y >= 3 &&
                                    x <= size - 4 && y <= size - 4; break;
            case GLYPH_DROPDOWN: on = y >= 5 && y < 9 && x >= 3 + (y - 5) && x <= size - 4 - (y - 5); break;
            case GLYPH_DIALOG: on = y == size - 5 && (x == 3 || x == 6 || x == 9); break;
            case GLYPH_SYSCOLOR: on = x >= 3 && x < size - 3 && y >= 3 && y < size - 3 && ((x + y) % 3 == 0); break;
            case GLYPH_RESET: on = (x == y || x == size - 1 - y) && x >= 3 && x < size - 3; break;
            case GLYPH_EDIT: on = x + y == size - 1 && x >= 3 && x < size - 3; break;
            case GLYPH_EXPANDED: on = y == c && x >= 4 && x < size - 4; break;
            case GLYPH_COLLAPSED: on = (y == c && x >= 4 && x < size - 4) || (x == c && y >= 4 && y < size - 4); break;
            }
            pixels.SetAt(y * size + x, on ? ink : 0);
        }
    image->CreateFromPixels(pixels.GetPtr(0), size, size);
}

void DrawGlyph(HDC dc, const SImage& image, const RECT& rect)
{
    Gdiplus::Graphics graphics(dc);
    image.DrawAt(&graphics, rect.left + (rect.right - rect.left - image.GetWidth()) / 2,
                 rect.top + (rect.bottom - rect.top - image.GetHeight()) / 2);
}

void DrawCellText(HDC dc, const char* text, RECT rect, HFONT font, HBRUSH brush)
{
    LOGBRUSH colour;
    GetObjectA(brush, sizeof(colour), &colour);
    HGDIOBJ oldFont = SelectObject(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, colour.lbColor);
    DrawTextA(dc, text, -1, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}
}

// --- item and group ---------------------------------------------------------

SPropertyCtrl::_SItem::_SItem()
    : kind(0), flag(false), color(0xFE00000Fu), fontSize(0), fontStyle(0), mixed(false)
{
}

SString SPropertyCtrl::_SItem::GetChoiceKey(int index) const
{
    if (index < 0 || index >= choices.GetCount())
        return SString();
    SString entry = choices.GetAt(index);
    const char* text = entry;
    const char* bar = strchr(text, '|');
    return bar ? SString(text).Left((int)(bar - text)) : entry;
}

SString SPropertyCtrl::_SItem::GetChoiceLabel(int index) const
{
    if (index < 0 || index >= choices.GetCount())
        return SString();
    SString entry = choices.GetAt(index);
    const char* bar = strchr((const char*)entry, '|');
    return bar ? SString(bar + 1) : entry;
}

int SPropertyCtrl::_SItem::FindChoice(const char* key) const
{
    for (int i = 0; i < choices.GetCount(); i++)
        if (GetChoiceKey(i) == key)
            return i;
    return -1;
}

SPropertyCtrl::_SGroup::_SGroup() : expanded(true)
{
}

SPropertyCtrl::_SGroup::~_SGroup()
{
    items.DestroyAll();
}

int SPropertyCtrl::_SGroup::FindItem(const char* itemName) const
{
    for (int i = 0; i < items.GetCount(); i++)
        if (items.GetAt(i)->name == itemName)
            return i;
    return -1;
}

// --- in-place edit box ---------------------------------------------------------

SPropertyCtrl::_SEditCtrl::_SEditCtrl() : owner(nullptr), group(-1), item(nullptr), closing(false)
{
}

void SPropertyCtrl::_SEditCtrl::Close(bool commit, bool redraw)
{
    if (closing || !GetHandle())
        return;
    closing = true;
    if (commit && owner && item)
    {
        SavedValue saved = Save(item);
        SString text = GetText();
        if (item->kind == KIND_INTEGER)
            item->text = DecimalText(atoi(text));
        else if (item->kind == KIND_REAL)
            item->text = RealToString(atof(text));
        else
            item->text = text;
        owner->Commit(group, item, saved, false);
    }
    Destroy();
    if (redraw && owner)
        owner->InvalidateRect();
}

LRESULT SPropertyCtrl::_SEditCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
        {
            Close(wParam == VK_RETURN, true);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS:
        Close(true, true);
        break;
    default:
        break;
    }
    return SEditCtrl::OnMessage(msg, wParam, lParam);
}

// --- drop-down list ---------------------------------------------------------------

SPropertyCtrl::_SListCtrl::_SListCtrl() : host(nullptr), owner(nullptr), group(-1), item(nullptr), closing(false)
{
}

void SPropertyCtrl::_SListCtrl::Close(bool commit, bool redraw)
{
    if (closing || !GetHandle())
        return;
    closing = true;
    int selected = GetCurSel();
    if (commit && owner && item && selected >= 0)
    {
        SavedValue saved = Save(item);
        item->text = item->GetChoiceKey(selected);
        owner->Commit(group, item, saved, false);
    }
    if (Destroy() && host)
        host->Destroy();
    if (redraw && owner)
        owner->InvalidateRect();
}

LRESULT SPropertyCtrl::_SListCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
        {
            Close(wParam == VK_RETURN, true);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
    {
        LRESULT result = SListCtrl::OnMessage(msg, wParam, lParam);
        Close(true, true);
        return result;
    }
    case WM_KILLFOCUS:
        Close(false, true);
        break;
    default:
        break;
    }
    return SListCtrl::OnMessage(msg, wParam, lParam);
}

// --- the grid ------------------------------------------------------------------------

SPropertyCtrl::SPropertyCtrl()
    : m_titleStart(GetSysColor(COLOR_HIGHLIGHT)), m_titleEnd(GetSysColor(COLOR_BTNFACE)),
      m_valueStart(GetSysColor(COLOR_WINDOW)), m_valueEnd(GetSysColor(COLOR_BTNFACE)),
      m_gridPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW))),
      m_backBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      m_titleTextBrush(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHTTEXT))),
      m_nameBrush(CreateSolidBrush(GetSysColor(COLOR_WINDOW))),
      m_textBrush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT))),
      m_selectedBrush(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT))),
      m_selectedTextBrush(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHTTEXT))), m_guiFont(nullptr),
      m_itemFont(nullptr), m_titleFont(nullptr), m_rowHeight(16), m_nameWidth(100), m_selRow(-1), m_selGroup(-1),
      m_selItem(-1), m_layoutPending(false)
{
    SetKind(SKIND_PROPERTY);
    ResetChoiceTexts();
    BuildGlyphs();
    m_edit.owner = this;
    m_listHost.list.owner = this;
    m_listHost.list.host = &m_listHost;
}

SPropertyCtrl::~SPropertyCtrl()
{
    CancelEdit(false);
    m_selRow = -1;
    m_groups.DestroyAll();
    HGDIOBJ objects[] = {m_gridPen, m_backBrush, m_titleTextBrush, m_nameBrush, m_textBrush, m_selectedBrush,
                         m_selectedTextBrush, m_titleFont};
    for (HGDIOBJ object : objects)
        if (object)
            DeleteObject(object);
}

void SPropertyCtrl::BuildGlyphs()
{
    for (int i = 0; i < 8; i++)
        MakeGlyph(&m_glyphs[i], i >= GLYPH_EXPANDED ? kGroupGlyph : kButtonWidth, i);
}

void SPropertyCtrl::ResetChoiceTexts()
{
    m_choiceTexts.DestroyAll();
    m_choiceTexts.Add("No");
    m_choiceTexts.Add("Yes");
    m_choiceTexts.Add("Default");
}

void SPropertyCtrl::SetChoiceText(int index, const char* text)
{
    if (index >= 0 && index < m_choiceTexts.GetCount())
    {
        m_choiceTexts.DeleteAndRemoveAt(index);
        m_choiceTexts.Add(text ? text : "", index);
    }
}

int SPropertyCtrl::AddGroup(const char* name, const char* caption, int index, bool expanded)
{
    if (FindGroup(name) >= 0)
        return -1;
    _SGroup* group = new _SGroup();
    group->name = name ? name : "";
    group->caption = caption ? caption : "";
    group->expanded = expanded;
    if (index < 0 || index > m_groups.GetCount())
        index = m_groups.GetCount();
    m_groups.Add(group, index);
    ScheduleLayout();
    return index;
}

int SPropertyCtrl::SetItem(int group, const char* name, const char* caption, int kind, const char* value,
                           const SStringArray* choices, int index)
{
    if (group == -1)
        group = m_groups.GetCount() - 1;
    _SGroup* target = m_groups.GetAt(group);
    if (!target)
        return -1;
    if (!value)
        value = "";
    int found = target->FindItem(name ? name : "");
    bool isNew = found < 0;
    _SItem* item = isNew ? new _SItem() : target->items.GetAt(found);
    if (isNew)
    {
        item->name = name ? name : "";
        item->caption = caption ? caption : "";
        item->kind = kind;
    }
    bool differs = false;
    switch (kind)
    {
    case KIND_YESNO:
    {
        bool flag = atoi(value) != 0;
        differs = item->flag != flag;
        item->flag = flag;
        break;
    }
    case KIND_COLOR:
    {
        uint32_t color = *value ? SDialogEditor::_SCtrl::ReadDecimal(value) : 0xFF000000u;
        differs = item->color != color;
        item->color = color;
        break;
    }
    case KIND_INTEGER:
    case KIND_REAL:
    {
        SString text = kind == KIND_INTEGER ? DecimalText(atoi(value)) : RealToString(atof(value));
        differs = item->text != text;
        item->text = text;
        break;
    }
    case KIND_FONT:
    {
        // Name, size and style split at commas; a name in double quotes keeps its commas,
        // and a quote left open is read as plain text.
        SStringArray tokens;
        SStringParser parser(value);
        if (parser.Parse(",", 1 | 8, '"', &tokens) < 0)
        {
            tokens.RemoveAll();
            parser.Parse(",", 8, '"', &tokens);
        }
        SString fontName = tokens.GetAt(0);
        fontName.Unquote('"');
        int size = atoi(tokens.GetAt(1));
        int style = atoi(tokens.GetAt(2));
        differs = item->fontName != fontName || item->fontSize != size || item->fontStyle != style;
        item->fontName = fontName;
        item->fontSize = size;
        item->fontStyle = style;
        break;
    }
    case KIND_CHOICE:
        if (isNew)
        {
            item->choices.DestroyAll();
            if (choices)
                item->choices.AssignFrom(*choices);
        }
        differs = item->text != value;
        item->text = value;
        break;
    default:
        differs = item->text != value;
        item->text = value;
        break;
    }
    if (differs && !isNew)
        item->mixed = true;
    if (isNew)
    {
        if (index < 0 || index > target->items.GetCount())
            index = target->items.GetCount();
        target->items.Add(item, index);
        found = index;
    }
    ScheduleLayout();
    return found;
}

int SPropertyCtrl::FindGroup(const char* name) const
{
    for (int i = 0; i < m_groups.GetCount(); i++)
        if (m_groups.GetAt(i)->name == (name ? name : ""))
            return i;
    return -1;
}

int SPropertyCtrl::FindItemIndex(int group, const char* name) const
{
    _SGroup* target = m_groups.GetAt(group);
    return target ? target->FindItem(name ? name : "") : -1;
}

SPropertyCtrl::_SItem* SPropertyCtrl::FindItem(int group, const char* name) const
{
    return GetItem(group, FindItemIndex(group, name));
}

SPropertyCtrl::_SItem* SPropertyCtrl::GetItem(int group, int index) const
{
    _SGroup* target = m_groups.GetAt(group);
    return target ? target->items.GetAt(index) : nullptr;
}

bool SPropertyCtrl::FindItemPosition(const _SItem* item, int* group, int* index) const
{
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const SArray<_SItem*>& items = m_groups.GetAt(g)->items;
        for (int i = 0; i < items.GetCount(); i++)
            if (items.GetAt(i) == item)
            {
                if (group)
                    *group = g;
                if (index)
                    *index = i;
                return true;
            }
    }
    return false;
}

int SPropertyCtrl::GetVisibleRowCount() const
{
    int count = 0;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        _SGroup* group = m_groups.GetAt(g);
        count += 1 + (group->expanded ? group->items.GetCount() : 0);
    }
    return count;
}

int SPropertyCtrl::GetRowCount() const
{
    int count = 0;
    for (int g = 0; g < m_groups.GetCount(); g++)
        count += 1 + m_groups.GetAt(g)->items.GetCount();
    return count;
}

int SPropertyCtrl::RowToGroup(int row) const
{
    if (row < 0)
        return -1;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        _SGroup* group = m_groups.GetAt(g);
        int rows = 1 + (group->expanded ? group->items.GetCount() : 0);
        if (row < rows)
            return g;
        row -= rows;
    }
    return -1;
}

int SPropertyCtrl::RowToItem(int row) const
{
    if (row < 0)
        return -1;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        _SGroup* group = m_groups.GetAt(g);
        int rows = 1 + (group->expanded ? group->items.GetCount() : 0);
        if (row < rows)
            return row - 1;
        row -= rows;
    }
    return -1;
}

int SPropertyCtrl::ItemToRow(int group, int index) const
{
    _SGroup* target = m_groups.GetAt(group);
    if (!target || !target->expanded || index < 0 || index >= target->items.GetCount())
        return -1;
    int row = 0;
    for (int g = 0; g < group; g++)
    {
        _SGroup* before = m_groups.GetAt(g);
        row += 1 + (before->expanded ? before->items.GetCount() : 0);
    }
    return row + 1 + index;
}

void SPropertyCtrl::SetCurSel(int row, bool redraw)
{
    int last = GetRowCount() - 1;
    if (row > last)
        row = last;
    if (row < -1)
        row = -1;
    m_selRow = row;
    m_selGroup = RowToGroup(row);
    m_selItem = RowToItem(row);
    if (redraw && GetHandle())
        InvalidateRect();
}

void SPropertyCtrl::CancelEdit(bool redraw)
{
    m_edit.Close(false, false);
    m_listHost.list.Close(false, false);
    if (redraw && GetHandle())
        InvalidateRect();
}

void SPropertyCtrl::Clear()
{
    CancelEdit(false);
    SetCurSel(-1, false);
    m_groups.DestroyAll();
    if (GetHandle())
        InvalidateRect();
    UpdateScrollBar();
}

int SPropertyCtrl::RemoveEmptyGroups()
{
    int count = m_groups.GetCount();
    for (int g = count - 1; g >= 0; g--)
        if (m_groups.GetAt(g)->items.GetCount() == 0)
            m_groups.DeleteAndRemoveAt(g);
    return m_groups.GetCount();
}

void SPropertyCtrl::SetNameWidth(int width)
{
    m_nameWidth = width;
    if (GetHandle())
        InvalidateRect();
}

const UINT kLayoutMessage = ControlMessage(SBLOCK_PROPERTY, 9);

void SPropertyCtrl::ScheduleLayout()
{
    if (!GetHandle() || m_layoutPending)
        return;
    // Without a posted message the layout waits for the next message of any kind instead.
    m_layoutPending = true;
    PostMessage(kLayoutMessage);
}

void SPropertyCtrl::FlushPendingLayout()
{
    if (!m_layoutPending)
        return;
    m_layoutPending = false;
    UpdateScrollBar();
    InvalidateRect();
}

void SPropertyCtrl::UpdateScrollBar()
{
    if (!GetHandle())
        return;
    int page = m_rowHeight > 0 ? GetClientHeight() / m_rowHeight : 0;
    int position = GetVScrollPos();
    if (UpdateScrollInfo(true, 0, GetVisibleRowCount(), page))
        SetVScrollPos(position, false);
}

int SPropertyCtrl::HitTest(int x, int y, int* group, int* item, bool* inValue) const
{
    if (group)
        *group = -1;
    if (item)
        *item = -1;
    if (inValue)
        *inValue = false;
    if (x < 0 || y < 0 || m_rowHeight <= 0)
        return -1;
    int row = y / m_rowHeight + GetVScrollPos();
    int g = RowToGroup(row);
    if (g < 0)
        return -1;
    int i = RowToItem(row);
    if (group)
        *group = g;
    if (item)
        *item = i;
    if (inValue)
        *inValue = i >= 0 && x >= m_nameWidth;
    return row;
}

bool SPropertyCtrl::GetRowRect(RECT* rect, int row, int part) const
{
    if (!rect || !GetHandle())
        return false;
    int top = (row - GetVScrollPos()) * m_rowHeight;
    int width = GetClientWidth();
    int left = part == 1 ? m_nameWidth : 0;
    int right = part == 0 ? m_nameWidth : width;
    SetRect(rect, left, top, right, top + m_rowHeight);
    return top >= 0 && top + m_rowHeight <= GetClientHeight();
}

bool SPropertyCtrl::GetButtonRect(RECT* rect, int row, int n) const
{
    RECT cell;
    bool inside = GetRowRect(&cell, row, 1);
    if (rect)
        SetRect(rect, cell.right - kButtonWidth * (n + 1), cell.top, cell.right - kButtonWidth * n, cell.bottom);
    return inside;
}

SString SPropertyCtrl::GetValueText(const _SItem* item) const
{
    if (!item)
        return SString();
    if (item->mixed)
        return SString("[...]");
    switch (item->kind)
    {
    case KIND_TEXT:
    case KIND_EDIT:
    case KIND_INTEGER:
    case KIND_REAL:
        return item->text;
    case KIND_YESNO:
        return m_choiceTexts.GetAt(item->flag ? 1 : 0);
    case KIND_COLOR:
        if (item->color == 0xFF000000u)
            return m_choiceTexts.GetAt(2);
        if ((item->color & 0xFF000000u) == 0xFE000000u)
        {
            SIdentifiants* names = GetIdentifiants();
            return names ? names->GetSystemColorName((int)(item->color & 0xFFFFFF)) : SString();
        }
        else
        {
            SString text;
            text.Format("%u, %u, %u", (unsigned)GetRValue(item->color), (unsigned)GetGValue(item->color),
                        (unsigned)GetBValue(item->color));
            return text;
        }
    case KIND_FONT:
    {
        if (item->fontName.IsEmpty())
            return m_choiceTexts.GetAt(2);
        SString text;
        text.Format("%s, %d ", (const char*)item->fontName, item->fontSize);
        if (item->fontStyle & 1)
            text += "B.";
        if (item->fontStyle & 2)
            text += "I.";
        if (item->fontStyle & 4)
            text += "U.";
        if (item->fontStyle & 8)
            text += "S.";
        return text;
    }
    case KIND_CHOICE:
        return item->GetChoiceLabel(item->GetChoiceIndex());
    default:
        return SString();
    }
}

void SPropertyCtrl::DrawItemRow(HDC dc, int group, int index, int y, int row)
{
    _SGroup* target = m_groups.GetAt(group);
    _SItem* item = target->items.GetAt(index);
    int width = GetClientWidth();
    bool selected = row == m_selRow;
    RECT name = {0, y, m_nameWidth, y + m_rowHeight};
    RECT value = {m_nameWidth, y, width, y + m_rowHeight};
    FillRect(dc, &name, selected ? m_selectedBrush : m_nameBrush);
    FillGradientRect(dc, &value, m_valueStart, m_valueEnd, false);
    RECT outline = {0, y, width, y + m_rowHeight};
    if (index == target->items.GetCount() - 1)
        outline.bottom--;
    DrawRectOutline(dc, &outline, m_gridPen);
    DrawLine(dc, m_nameWidth, y, m_nameWidth, y + m_rowHeight, m_gridPen);
    RECT nameText = name;
    InflateRect(&nameText, -2, -2);
    DrawCellText(dc, item->caption, nameText, m_itemFont, selected ? m_selectedTextBrush : m_textBrush);

    RECT valueText = value;
    InflateRect(&valueText, -2, -2);
    if (item->kind == KIND_COLOR && !item->mixed)
    {
        int side = valueText.bottom - valueText.top;
        RECT swatch = {valueText.left, valueText.top, valueText.left + side, valueText.bottom};
        if (item->color == 0xFF000000u)
        {
            DrawRectOutline(dc, &swatch, m_gridPen);
            DrawLine(dc, swatch.left, swatch.top, swatch.right, swatch.bottom, m_gridPen);
            DrawLine(dc, swatch.left, swatch.bottom, swatch.right, swatch.top, m_gridPen);
        }
        else
        {
            HBRUSH brush = CreateSolidBrush(ResolveColor(item->color));
            if (brush)
            {
                FillRect(dc, &swatch, brush);
                DeleteObject(brush);
            }
        }
        valueText.left = swatch.right + 2;
    }
    DrawCellText(dc, GetValueText(item), item->mixed ? value : valueText, m_itemFont, m_textBrush);

    if (!selected)
        return;
    int glyphs[3] = {-1, -1, -1};
    switch (item->kind)
    {
    case KIND_YESNO: glyphs[0] = GLYPH_TOGGLE; break;
    case KIND_COLOR: glyphs[0] = GLYPH_RESET; glyphs[1] = GLYPH_SYSCOLOR; glyphs[2] = GLYPH_DIALOG; break;
    case KIND_EDIT:
    case KIND_INTEGER:
    case KIND_REAL: glyphs[0] = GLYPH_EDIT; break;
    case KIND_FONT: glyphs[0] = GLYPH_RESET; glyphs[1] = GLYPH_DIALOG; break;
    case KIND_CHOICE: glyphs[0] = GLYPH_DROPDOWN; break;
    default: break;
    }
    for (int n = 0; n < 3 && glyphs[n] >= 0; n++)
    {
        RECT button = {width - kButtonWidth * (n + 1), y, width - kButtonWidth * n, y + m_rowHeight};
        FillRect(dc, &button, m_backBrush);
        DrawGlyph(dc, m_glyphs[glyphs[n]], button);
    }
}

void SPropertyCtrl::Paint(HDC dc)
{
    RECT client;
    GetClientRect(&client);
    FillRect(dc, &client, m_backBrush);
    int top = GetVScrollPos();
    int group = RowToGroup(top);
    if (group < 0)
        return;
    int firstItem = RowToItem(top);
    int y = 0;
    int row = top;
    for (int g = group; g < m_groups.GetCount() && y < client.bottom; g++)
    {
        _SGroup* target = m_groups.GetAt(g);
        int start = 0;
        if (g == group && firstItem >= 0)
            start = firstItem;
        else
        {
            RECT title = {0, y, client.right, y + m_rowHeight};
            FillGradientRect(dc, &title, m_titleStart, m_titleEnd, false);
            RECT text = title;
            InflateRect(&text, -2, 0);
            DrawCellText(dc, target->caption, text, m_titleFont ? m_titleFont : m_itemFont, m_titleTextBrush);
            RECT glyph = {client.right - kGroupGlyph, y, client.right, y + m_rowHeight};
            DrawGlyph(dc, m_glyphs[target->expanded ? GLYPH_EXPANDED : GLYPH_COLLAPSED], glyph);
            y += m_rowHeight;
            row++;
        }
        if (!target->expanded)
            continue;
        for (int i = start; i < target->items.GetCount(); i++)
        {
            DrawItemRow(dc, g, i, y, row);
            y += m_rowHeight;
            row++;
        }
    }
}

SPropertyCtrl::SavedValue SPropertyCtrl::Save(const _SItem* item)
{
    SavedValue saved = {item->flag, item->text, item->color, item->fontName, item->fontSize, item->fontStyle};
    return saved;
}

void SPropertyCtrl::Restore(_SItem* item, const SavedValue& saved)
{
    item->flag = saved.flag;
    item->text = saved.text;
    item->color = saved.color;
    item->fontName = saved.fontName;
    item->fontSize = saved.fontSize;
    item->fontStyle = saved.fontStyle;
}

void SPropertyCtrl::Commit(int group, _SItem* item, const SavedValue& saved, bool redraw)
{
    if (OnItemChanged(group, item))
    {
        item->mixed = false;
        int index = -1;
        FindItemPosition(item, nullptr, &index);
        SendMessageToParent(SPROPERTY_ITEM_CHANGED, (WPARAM)this,
                            (LPARAM)(((DWORD)(index & 0xFFFF) << 16) | (DWORD)(group & 0xFFFF)));
    }
    else
        Restore(item, saved);
    if (redraw && GetHandle())
        InvalidateRect();
}

bool SPropertyCtrl::CycleChoice(int group, _SItem* item)
{
    int current = item->GetChoiceIndex();
    if (current < 0)
        return false;
    SavedValue saved = Save(item);
    item->text = item->GetChoiceKey((current + 1) % item->choices.GetCount());
    Commit(group, item, saved, true);
    return true;
}

void SPropertyCtrl::BeginEdit(int row, int group, int index, bool alternative)
{
    _SItem* item = GetItem(group, index);
    RECT work;
    if (!item || !GetRowRect(&work, row, 1))
        return;
    InflateRect(&work, -2, -2);
    switch (item->kind)
    {
    case KIND_YESNO:
    {
        SavedValue saved = Save(item);
        item->flag = item->mixed ? true : !item->flag;
        Commit(group, item, saved, true);
        break;
    }
    case KIND_COLOR:
        if (alternative)
        {
            SSelector selector(GetHandle());
            if (selector.ChooseSystemColor(item->caption))
            {
                SavedValue saved = Save(item);
                item->color = selector.GetColor();
                Commit(group, item, saved, true);
            }
            SetFocus();
        }
        else
            ChooseColorDialog(group, item);
        break;
    case KIND_FONT:
        ChooseFontDialog(group, item);
        break;
    case KIND_CHOICE:
        OpenDropDown(row, group, item, work);
        break;
    case KIND_EDIT:
    case KIND_INTEGER:
    case KIND_REAL:
        OpenEditBox(group, item, work);
        break;
    default:
        break;
    }
}

void SPropertyCtrl::ChooseColorDialog(int group, _SItem* item)
{
    SSelector selector(GetHandle());
    if (selector.ChooseColor(ResolveColor(item->color), true, false, true))
    {
        SavedValue saved = Save(item);
        item->color = selector.GetColor();
        Commit(group, item, saved, true);
    }
    SetFocus();
}

void SPropertyCtrl::ChooseFontDialog(int group, _SItem* item)
{
    LOGFONTA font;
    FillLogFont(&font, item->fontName, item->fontSize, item->fontStyle);
    SSelector selector(GetHandle());
    if (selector.ChooseFont(&font))
    {
        SavedValue saved = Save(item);
        item->fontName = selector.GetFontFace();
        item->fontSize = selector.GetFontSize();
        item->fontStyle = selector.GetFontStyle();
        Commit(group, item, saved, true);
    }
    SetFocus();
}

void SPropertyCtrl::OpenDropDown(int row, int group, _SItem* item, const RECT& work)
{
    (void)row;
    _SListCtrl& list = m_listHost.list;
    if (list.GetHandle())
        return;
    RECT start = {0, 0, work.right - work.left, 60};
    if (!m_listHost.Create("", WS_POPUP, WS_EX_TOOLWINDOW, &start, GetHandle()))
        return;
    m_listHost.SetBackColor(SCOLOR_NONE);
    if (!list.Create(WS_VISIBLE | WS_VSCROLL, WS_EX_CLIENTEDGE, &start, m_listHost.GetHandle()))
    {
        m_listHost.Destroy();
        return;
    }
    list.owner = this;
    list.host = &m_listHost;
    list.group = group;
    list.item = item;
    list.closing = false;
    list.SetFont(m_guiFont, false);
    for (int i = 0; i < item->choices.GetCount(); i++)
        list.InsertItem(item->GetChoiceLabel(i));
    if (!item->mixed)
        list.SetCurSel(item->GetChoiceIndex());
    // The list's client area holds six entries; its frame is added around it.
    RECT frame = {0, 0, work.right - work.left, 6 * list.GetItemHeight()};
    AdjustWindowRectEx(&frame, list.GetStyle(), FALSE, list.GetExStyle());
    int width = work.right - work.left;
    int height = frame.bottom - frame.top;
    POINT corner = {work.left, work.top + m_rowHeight};
    ClientToScreen(&corner);
    RECT desk = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &desk, 0);
    if (corner.y + height > desk.bottom)
    {
        POINT above = {work.left, work.top - 2};
        ClientToScreen(&above);
        corner.y = above.y - height;
    }
    m_listHost.MoveWindow(corner.x, corner.y, width, height, false);
    list.MoveWindow(0, 0, width, height, false);
    m_listHost.ShowWindow(SW_SHOWNA);
    list.SetFocus();
}

void SPropertyCtrl::OpenEditBox(int group, _SItem* item, const RECT& work)
{
    if (m_edit.GetHandle())
        return;
    RECT rect = work;
    rect.right -= kButtonWidth;
    m_edit.closing = false;
    m_edit.owner = this;
    m_edit.group = group;
    m_edit.item = item;
    if (!m_edit.Create(item->mixed ? "" : (const char*)item->text, ES_AUTOHSCROLL, 0, &rect, GetHandle(), 0,
                       (LPARAM)this))
        return;
    m_edit.SetFont(m_guiFont, false);
    m_edit.SetSel(0, -1);
    m_edit.ShowWindow(SW_SHOW);
    m_edit.SetFocus();
}

bool SPropertyCtrl::NearBoundary(int x) const
{
    return GetRowCount() > 0 && x >= m_nameWidth - 3 && x <= m_nameWidth + 3;
}

void SPropertyCtrl::DragColumn(int pressX)
{
    int startWidth = m_nameWidth;
    ::SetCursor(GetCursorHandle(kResizeCursor));
    while (GetAsyncKeyState(VK_LBUTTON) < 0)
    {
        POINT point;
        GetCursorPos(&point);
        int width = startWidth + point.x - pressX;
        if (width < kMinNameWidth)
            width = kMinNameWidth;
        if (width != m_nameWidth)
        {
            m_nameWidth = width;
            RedrawNow();
        }
        GetQueueStatus(QS_INPUT);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kDragWait, QS_INPUT);
    }
    SetCursor(nullptr);
}

void SPropertyCtrl::OnLeftButtonDown(int x, int y)
{
    SetFocus();
    if (NearBoundary(x))
    {
        DragColumn(x);
        return;
    }
    int group = -1, index = -1;
    bool inValue = false;
    int row = HitTest(x, y, &group, &index, &inValue);
    if (row >= 0 && index < 0)
    {
        if (x >= GetClientWidth() - kGroupGlyph)
        {
            _SGroup* target = m_groups.GetAt(group);
            target->expanded = !target->expanded;
            if (!target->expanded && m_selGroup == group)
                SetCurSel(-1, false);
            else if (m_selRow >= 0)
            {
                // The selected item keeps its selection at its new row.
                int selGroup = m_selGroup, selItem = m_selItem;
                SetCurSel(ItemToRow(selGroup, selItem), false);
            }
            UpdateScrollBar();
            InvalidateRect();
            return;
        }
        SetCurSel(-1, true);
        return;
    }
    if (row < 0)
    {
        SetCurSel(-1, true);
        return;
    }
    if (row != m_selRow)
    {
        CancelEdit(false);
        SetCurSel(row, true);
        return;
    }
    if (!inValue)
        return;
    _SItem* item = GetItem(group, index);
    int button = -1;
    for (int n = 0; n < 3; n++)
    {
        RECT rect;
        GetButtonRect(&rect, row, n);
        if (Contains(rect, x, y))
            button = n;
    }
    if (!item || button < 0)
        return;
    switch (item->kind)
    {
    case KIND_YESNO:
        if (button == 0)
            BeginEdit(row, group, index, false);
        break;
    case KIND_COLOR:
        if (button == 0)
        {
            SavedValue saved = Save(item);
            item->color = 0xFF000000u;
            Commit(group, item, saved, true);
        }
        else
            BeginEdit(row, group, index, button == 1);
        break;
    case KIND_FONT:
        if (button == 0)
        {
            SavedValue saved = Save(item);
            item->fontName.Empty();
            Commit(group, item, saved, true);
        }
        else if (button == 1)
            BeginEdit(row, group, index, false);
        break;
    case KIND_CHOICE:
    case KIND_EDIT:
    case KIND_INTEGER:
    case KIND_REAL:
        if (button == 0)
            BeginEdit(row, group, index, false);
        break;
    default:
        break;
    }
}

void SPropertyCtrl::OnDoubleClick(int x, int y)
{
    int group = -1, index = -1;
    bool inValue = false;
    int row = HitTest(x, y, &group, &index, &inValue);
    _SItem* item = GetItem(group, index);
    if (!item || !inValue)
        return;
    if (item->kind == KIND_CHOICE)
    {
        if (!CycleChoice(group, item))
            BeginEdit(row, group, index, false);
        return;
    }
    if (item->kind >= KIND_YESNO && item->kind <= KIND_FONT)
        BeginEdit(row, group, index, false);
}

void SPropertyCtrl::OnKeyDown(WPARAM key)
{
    int top = GetVScrollPos();
    int page = m_rowHeight > 0 ? GetClientHeight() / m_rowHeight : 0;
    if (key == VK_UP && m_selRow > 0)
    {
        for (int row = m_selRow - 1; row >= 0; row--)
            if (RowToItem(row) >= 0)
            {
                SetCurSel(row, true);
                if (row < top)
                {
                    SetVScrollPos(row);
                    Scrolled();
                }
                break;
            }
    }
    else if (key == VK_DOWN && m_selRow >= 0)
    {
        for (int row = m_selRow + 1; row < GetRowCount(); row++)
            if (RowToItem(row) >= 0)
            {
                SetCurSel(row, true);
                if (page > 0 && row >= top + page)
                {
                    SetVScrollPos(row - page + 1);
                    Scrolled();
                }
                break;
            }
    }
    else if (key == VK_RETURN && m_selRow >= 0)
    {
        _SItem* item = GetItem(m_selGroup, m_selItem);
        if (!item)
            return;
        if (item->kind == KIND_CHOICE)
            CycleChoice(m_selGroup, item);
        else if (item->kind >= KIND_YESNO && item->kind <= KIND_FONT)
            BeginEdit(m_selRow, m_selGroup, m_selItem, false);
    }
}

void SPropertyCtrl::Scrolled()
{
    InvalidateRect();
    OnScroll();
    SendMessageToParent(SPROPERTY_SCROLLED, (WPARAM)this, 0);
}

void SPropertyCtrl::OnScroll()
{
}

bool SPropertyCtrl::OnItemChanged(int, _SItem*)
{
    return true;
}

LRESULT SPropertyCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    FlushPendingLayout();
    if (msg == kLayoutMessage)
        return 0;
    switch (msg)
    {
    case WM_S_CREATED:
    {
        m_guiFont = GetDefaultGuiFont();
        int height = GetFontCharSize(m_guiFont).cy + 2;
        m_rowHeight = height < 16 ? 16 : height;
        m_itemFont = m_guiFont;
        LOGFONTA logFont;
        if (GetObjectA(m_guiFont, sizeof(logFont), &logFont) == sizeof(logFont))
        {
            logFont.lfWeight = FW_BOLD;
            if (m_titleFont)
                DeleteObject(m_titleFont);
            m_titleFont = CreateFontIndirectA(&logFont);
        }
        m_nameWidth = 100;
        SetBackColor(SCOLOR_NONE);
        SetScrollSteps(true, 1, 4, 1);
        m_selRow = m_selGroup = m_selItem = -1;
        UpdateScrollBar();
        break;
    }
    case WM_SIZE:
        CancelEdit(true);
        UpdateScrollBar();
        InvalidateRect();
        break;
    case WM_S_VSCROLLED:
    case WM_S_HSCROLLED:
        CancelEdit(true);
        Scrolled();
        break;
    case WM_ERASEBKGND:
        if (lParam)
            Paint((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case WM_MOUSEWHEEL:
    {
        CancelEdit(false);
        int delta = (short)HIWORD(wParam);
        int step = 2 * GetScrollLineStep(true);
        SetVScrollPos(GetVScrollPos() + (delta < 0 ? step : -step));
        Scrolled();
        return 0;
    }
    case WM_MOUSEMOVE:
        SetCursor(NearBoundary(x) ? GetCursorHandle(kResizeCursor) : nullptr);
        break;
    case WM_LBUTTONDOWN:
        SControlForwardMouse(this, msg, lParam, SBLOCK_PROPERTY);
        OnLeftButtonDown(x, y);
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        SControlForwardMouse(this, msg, lParam, SBLOCK_PROPERTY);
        OnDoubleClick(x, y);
        return SWnd::OnMessage(msg, wParam, lParam);
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus();
        break;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        break;
    }
    SControlForwardMouse(this, msg, lParam, SBLOCK_PROPERTY);
    return SWnd::OnMessage(msg, wParam, lParam);
}
