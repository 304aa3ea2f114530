#include "SPanelCtrl.h"

#include "SControl.h"
#include "SDraw.h"
#include "SImage.h"

namespace
{
const int kRowStart = 12;      // left edge of every row of entries
const int kEntryHeight = 24;
const int kButtonWidth = 24;
const int kSeparatorWidth = 7;
const UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

bool Contains(const SPanelCtrl::_SButton* button, int x, int y)
{
    return x >= button->x && x < button->x + button->width && y >= button->y &&
           y < button->y + button->height;
}
}

SPanelCtrl::_SGroup::_SGroup()
    : id(0), imageList(nullptr), captionX(0), captionY(0), captionWidth(0), captionHeight(0), groupX(0),
      groupY(0), groupWidth(0), groupHeight(0), enabled(1)
{
}

SPanelCtrl::_SGroup::~_SGroup()
{
    for (int i = 0; i < buttons.GetCount(); i++)
        delete buttons.GetAt(i);
    buttons.RemoveAll();
}

SPanelCtrl::SPanelCtrl()
    : m_highlightTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_highlightColor(GetSysColor(COLOR_HIGHLIGHT)),
      m_faceColor(GetSysColor(COLOR_BTNFACE)), m_windowColor(GetSysColor(COLOR_WINDOW)),
      m_shadowColor(GetSysColor(COLOR_BTNSHADOW)), m_captionFont(nullptr), m_captionHeight(16),
      m_hoverGroup(-1), m_hoverButton(-1), m_pressedGroup(-1), m_pressedButton(-1)
{
    SetKind(SKIND_PANEL);
}

SPanelCtrl::~SPanelCtrl()
{
    for (int i = 0; i < m_groups.GetCount(); i++)
        delete m_groups.GetAt(i);
    m_groups.RemoveAll();
    if (m_captionFont)
        DeleteObject(m_captionFont);
    m_captionFont = nullptr;
}

bool SPanelCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                        LPARAM creationParam)
{
    return SWnd::Create("", SControlStyle(style), exStyle, rect, parent, id, creationParam);
}

SPanelCtrl::_SGroup* SPanelCtrl::GetGroup(int groupId) const
{
    for (int i = 0; i < m_groups.GetCount(); i++)
        if (m_groups.GetAt(i)->id == groupId)
            return m_groups.GetAt(i);
    return nullptr;
}

SPanelCtrl::_SButton* SPanelCtrl::GetButton(int groupId, int buttonId) const
{
    _SGroup* group = GetGroup(groupId);
    if (!group)
        return nullptr;
    for (int i = 0; i < group->buttons.GetCount(); i++)
    {
        _SButton* button = group->buttons.GetAt(i);
        if (!button->separator && button->id == buttonId)
            return button;
    }
    return nullptr;
}

SPanelCtrl::_SGroup* SPanelCtrl::AddGroup(int id, const char* caption, HIMAGELIST imageList)
{
    if (id == -1 || GetGroup(id))
        return nullptr;
    _SGroup* group = new _SGroup();
    group->id = id;
    group->caption = caption ? caption : "";
    if (m_groups.Add(group) < 0)
    {
        delete group;
        return nullptr;
    }
    if (imageList)
        SetGroupImageList(id, imageList);
    Layout();
    return group;
}

bool SPanelCtrl::SetGroupImageList(int groupId, HIMAGELIST imageList)
{
    _SGroup* group = GetGroup(groupId);
    if (!group)
        return false;
    group->imageList = imageList;
    group->disabledIcons.Destroy();
    if (!imageList)
        return true;
    SImage strip;
    bool made = strip.FromImageList(imageList, -1) && strip.MakeGrayscale() && strip.SetAlpha(128, true) &&
                group->disabledIcons.AddStrip(&strip, 16, 16);
    if (!made)
    {
        group->imageList = nullptr;
        group->disabledIcons.Destroy();
        return false;
    }
    // The list's bitmap can hold spare cells beyond its images: the grey cells match the images.
    int count = ImageList_GetImageCount(imageList);
    while (group->disabledIcons.GetCount() > count)
        ImageList_Remove(group->disabledIcons.GetHandle(), group->disabledIcons.GetCount() - 1);
    return true;
}

SPanelCtrl::_SGroup* SPanelCtrl::FindGroupForAdd(int groupId) const
{
    if (groupId == -1)
        return m_groups.GetLast();
    return GetGroup(groupId);
}

bool SPanelCtrl::AddEntry(int id, const char* text, int groupId, unsigned color, bool separator)
{
    _SGroup* group = FindGroupForAdd(groupId);
    if (!group)
        return false;
    _SButton* button = new _SButton();
    button->group = group;
    button->separator = separator ? 1 : 0;
    button->id = separator || id == -1 ? 0 : id;
    button->text = text ? text : "";
    button->x = button->y = button->width = button->height = 0;
    button->imageIndex = 0;
    button->enabled = 1;
    button->checked = 0;
    button->color = color;
    if (group->buttons.Add(button) < 0)
    {
        delete button;
        return false;
    }
    Layout();
    return true;
}

bool SPanelCtrl::AddButton(int id, const char* text, int groupId, unsigned color)
{
    return AddEntry(id, text, groupId, color, false);
}

bool SPanelCtrl::AddSeparator(int groupId)
{
    return AddEntry(0, "", groupId, SCOLOR_NONE, true);
}

int SPanelCtrl::IndexOf(const _SGroup* group, const _SButton* button)
{
    for (int i = 0; i < group->buttons.GetCount(); i++)
        if (group->buttons.GetAt(i) == button)
            return i;
    return -1;
}

void SPanelCtrl::GetRun(const _SGroup* group, int index, int* first, int* last)
{
    int count = group->buttons.GetCount();
    int start = index, end = index;
    while (start > 0 && !group->buttons.GetAt(start - 1)->separator)
        start--;
    while (end + 1 < count && !group->buttons.GetAt(end + 1)->separator)
        end++;
    *first = start;
    *last = end;
}

bool SPanelCtrl::EnableButton(int groupId, int buttonId, bool enable, bool wholeRun, bool redraw)
{
    _SGroup* group = GetGroup(groupId);
    _SButton* button = GetButton(groupId, buttonId);
    if (!group || !group->enabled || !button)
        return false;
    if (wholeRun)
    {
        int first = 0, last = -1;
        GetRun(group, IndexOf(group, button), &first, &last);
        for (int i = first; i <= last; i++)
            group->buttons.GetAt(i)->enabled = enable ? 1 : 0;
    }
    else
    {
        if ((button->enabled != 0) == enable)
            return false;
        button->enabled = enable ? 1 : 0;
    }
    if (redraw)
        RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::EnableGroup(int groupId, bool enable, bool redraw)
{
    _SGroup* group = GetGroup(groupId);
    if (!group || !group->enabled)
        return false;
    for (int i = 0; i < group->buttons.GetCount(); i++)
        group->buttons.GetAt(i)->enabled = enable ? 1 : 0;
    if (redraw)
        RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::SetButtonChecked(int groupId, int buttonId, bool checked)
{
    _SButton* button = GetButton(groupId, buttonId);
    if (!button || (button->checked != 0) == checked)
        return false;
    button->checked = checked ? 1 : 0;
    RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::CheckRadioButton(int groupId, int buttonId)
{
    _SButton* button = GetButton(groupId, buttonId);
    if (!button || button->checked)
        return false;
    _SGroup* group = button->group;
    int first = 0, last = -1;
    GetRun(group, IndexOf(group, button), &first, &last);
    for (int i = first; i <= last; i++)
        group->buttons.GetAt(i)->checked = 0;
    button->checked = 1;
    RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::IsButtonChecked(int groupId, int buttonId) const
{
    _SButton* button = GetButton(groupId, buttonId);
    return button && button->checked;
}

bool SPanelCtrl::IsButtonEnabled(int groupId, int buttonId) const
{
    _SButton* button = GetButton(groupId, buttonId);
    return button && button->enabled;
}

bool SPanelCtrl::SetButtonColor(int groupId, int buttonId, unsigned color)
{
    _SButton* button = GetButton(groupId, buttonId);
    if (!button)
        return false;
    button->color = color;
    return true;
}

void SPanelCtrl::RedrawGroup(int groupId)
{
    _SGroup* group = GetGroup(groupId);
    if (!group || !GetHandle())
        return;
    RECT rect = RectFromXYWH(group->groupX, group->groupY, group->groupWidth, group->groupHeight);
    Redraw(&rect, nullptr, kRedrawNow);
}

void SPanelCtrl::Layout()
{
    int width = GetHandle() ? GetClientWidth() : 0;
    int y = 0;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        _SGroup* group = m_groups.GetAt(g);
        group->captionX = 0;
        group->captionY = y;
        group->captionWidth = width;
        group->captionHeight = m_captionHeight;
        group->groupX = 0;
        group->groupY = y;
        group->groupWidth = width;
        y += m_captionHeight + 1;
        int x = kRowStart;
        int image = 0;
        for (int i = 0; i < group->buttons.GetCount(); i++)
        {
            _SButton* button = group->buttons.GetAt(i);
            int entryWidth = button->separator ? kSeparatorWidth : kButtonWidth;
            if (width < x + entryWidth)
            {
                x = kRowStart;
                y += kEntryHeight;
            }
            button->x = x;
            button->y = y;
            button->width = entryWidth;
            button->height = kEntryHeight;
            if (!button->separator)
                button->imageIndex = image++;
            x += entryWidth;
        }
        if (x != kRowStart)
            y += kEntryHeight;
        group->groupHeight = y - group->groupY;
        y += 1;
    }
}

bool SPanelCtrl::HitTest(int x, int y, bool includeDisabled, int* groupId, int* buttonId) const
{
    *groupId = -1;
    *buttonId = -1;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const _SGroup* group = m_groups.GetAt(g);
        for (int i = 0; i < group->buttons.GetCount(); i++)
        {
            const _SButton* button = group->buttons.GetAt(i);
            if (button->separator || !Contains(button, x, y) || (!includeDisabled && !button->enabled))
                continue;
            *groupId = group->id;
            *buttonId = button->id;
            return true;
        }
    }
    return false;
}

void SPanelCtrl::GetHover(int* groupId, int* buttonId) const
{
    *groupId = m_hoverGroup;
    *buttonId = m_hoverButton;
}

void SPanelCtrl::GetPressed(int* groupId, int* buttonId) const
{
    *groupId = m_pressedGroup;
    *buttonId = m_pressedButton;
}

void SPanelCtrl::DrawFace(HDC dc, const _SGroup* group, const _SButton* button, int x, int y, bool disabled)
{
    if (button->color != SCOLOR_NONE)
    {
        HBRUSH swatch = CreateSolidBrush(SControlColorRef(button->color));
        if (swatch)
        {
            RECT inner = RectFromXYWH(x, y, 16, 16);
            FillRect(dc, &inner, swatch);
            DeleteObject(swatch);
        }
        return;
    }
    if (!group->imageList || ImageList_GetImageCount(group->imageList) < 1)
        return;
    if (disabled)
    {
        if (group->disabledIcons.GetHandle())
            ImageList_Draw(group->disabledIcons.GetHandle(), button->imageIndex, dc, x, y, ILD_TRANSPARENT);
    }
    else
        ImageList_Draw(group->imageList, button->imageIndex, dc, x, y, ILD_TRANSPARENT);
}

void SPanelCtrl::DrawButton(HDC dc, const _SGroup* group, const _SButton* button, HBRUSH window, HPEN highlight)
{
    if (button->separator)
    {
        int middle = button->x + button->width / 2;
        DrawLine(dc, middle, button->y + 4, middle, button->y + 20, highlight);
        return;
    }
    bool hovered = group->id == m_hoverGroup && button->id == m_hoverButton;
    bool pressed = group->id == m_pressedGroup && button->id == m_pressedButton;
    if (!button->enabled)
        DrawFace(dc, group, button, button->x + 4, button->y + 4, true);
    else if (button->checked)
    {
        RECT area = RectFromXYWH(button->x + 1, button->y + 1, button->width - 3, button->height - 3);
        FillRect(dc, &area, window);
        DrawFace(dc, group, button, button->x + 4, button->y + 4, false);
        DrawRectOutline(dc, &area, highlight);
    }
    else if (hovered)
    {
        int shift = pressed ? 0 : 1;
        RECT area = RectFromXYWH(button->x - shift, button->y - shift, button->width, button->height);
        FillRect(dc, &area, window);
        DrawFace(dc, group, button, area.left + 4, area.top + 4, false);
        RECT outline = RectFromXYWH(button->x, button->y, button->width, button->height);
        DrawRectOutline(dc, &outline, highlight);
    }
    else
        DrawFace(dc, group, button, button->x + 4, button->y + 4, false);
}

void SPanelCtrl::Paint(HDC dc)
{
    if (m_groups.GetCount() == 0)
        return;
    HBRUSH window = CreateSolidBrush(m_windowColor);
    HBRUSH shadow = CreateSolidBrush(m_shadowColor);
    HBRUSH highlightBrush = CreateSolidBrush(m_highlightColor);
    HPEN highlight = CreatePen(PS_SOLID, 1, m_highlightColor);
    COLORREF oldText = SetTextColor(dc, m_highlightTextColor);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = m_captionFont ? SelectObject(dc, m_captionFont) : nullptr;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const _SGroup* group = m_groups.GetAt(g);
        RECT caption = RectFromXYWH(group->captionX, group->captionY, group->captionWidth, group->captionHeight);
        if (!group->enabled)
            FillRect(dc, &caption, shadow);
        else
        {
            int half = group->captionWidth / 2;
            RECT left = RectFromXYWH(caption.left, caption.top, half, group->captionHeight);
            RECT right = {caption.left + half, caption.top, caption.right, caption.bottom};
            FillRect(dc, &left, highlightBrush);
            FillGradientRect(dc, &right, m_highlightColor, m_faceColor, false);
        }
        const _SButton* hovered = nullptr;
        for (int i = 0; i < group->buttons.GetCount(); i++)
        {
            const _SButton* button = group->buttons.GetAt(i);
            DrawButton(dc, group, button, window, highlight);
            if (!button->separator && group->id == m_hoverGroup && button->id == m_hoverButton)
                hovered = button;
        }
        RECT textRect = {caption.left + 1, caption.top, caption.right - 1, caption.bottom};
        if (hovered)
        {
            textRect.left += kRowStart;
            DrawTextA(dc, hovered->text, -1, &textRect, DT_SINGLELINE | DT_VCENTER);
        }
        else
            DrawTextA(dc, group->caption, -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    }
    if (oldFont)
        SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
    DeleteObject(highlight);
    DeleteObject(highlightBrush);
    DeleteObject(shadow);
    DeleteObject(window);
}

void SPanelCtrl::OnButtonClick(int, int, _SButton*)
{
}

LRESULT SPanelCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (msg)
    {
    case WM_S_CREATED:
    {
        SetBackColor(m_faceColor);
        HDC dc = GetDC();
        if (dc)
        {
            TEXTMETRICA metrics;
            if (GetTextMetricsA(dc, &metrics))
                m_captionHeight = metrics.tmHeight + 2 < 16 ? 16 : metrics.tmHeight + 2;
            ReleaseDC(dc);
        }
        LOGFONTA font;
        if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font) == (int)sizeof(font))
        {
            font.lfWeight = FW_BOLD;
            if (m_captionFont)
                DeleteObject(m_captionFont);
            m_captionFont = CreateFontIndirectA(&font);
        }
        Layout();
        break;
    }
    case WM_SIZE:
        Layout();
        break;
    case WM_SHOWWINDOW:
        if (wParam)
            Layout();
        break;
    case WM_ERASEBKGND:
        if (lParam)
            Paint((HDC)lParam);
        break;
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        Paint((HDC)wParam);
        break;
    case WM_MOUSEMOVE:
    {
        int previousGroup = m_hoverGroup;
        HitTest(x, y, true, &m_hoverGroup, &m_hoverButton);
        if (previousGroup != -1)
            RedrawGroup(previousGroup);
        if (m_hoverGroup != -1 && m_hoverGroup != previousGroup)
            RedrawGroup(m_hoverGroup);
        break;
    }
    case WM_LBUTTONDOWN:
        HitTest(x, y, false, &m_pressedGroup, &m_pressedButton);
        Redraw(nullptr, nullptr, kRedrawNow);
        SControlForwardMouse(this, msg, lParam, SBLOCK_PANEL);
        break;
    case WM_LBUTTONUP:
    {
        bool wasPressed = m_pressedGroup != -1 || m_pressedButton != -1;
        m_pressedGroup = m_pressedButton = -1;
        if (wasPressed)
            Redraw(nullptr, nullptr, kRedrawNow);
        SControlForwardMouse(this, msg, lParam, SBLOCK_PANEL);
        break;
    }
    case WM_S_LCLICK:
    {
        int groupId = -1, buttonId = -1;
        if (HitTest(x, y, false, &groupId, &buttonId))
        {
            SendMessage(ControlMessage(SBLOCK_PANEL, 1), (WPARAM)this, MAKELONG(groupId, buttonId));
            OnButtonClick(groupId, buttonId, GetButton(groupId, buttonId));
        }
        SControlForwardMouse(this, msg, lParam, SBLOCK_PANEL);
        break;
    }
    case WM_S_MOUSE_LEAVE:
    {
        bool anySet = m_hoverGroup != -1 || m_hoverButton != -1 || m_pressedGroup != -1 || m_pressedButton != -1;
        m_hoverGroup = m_hoverButton = m_pressedGroup = m_pressedButton = -1;
        if (anySet)
            Redraw(nullptr, nullptr, kRedrawNow);
        break;
    }
    default:
        SControlForwardMouse(this, msg, lParam, SBLOCK_PANEL);
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
