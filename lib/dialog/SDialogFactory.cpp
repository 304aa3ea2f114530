#include "SDialogEditor.h"

#include <commctrl.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "SBrowserCtrl.h"
#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SCodeEditCtrl.h"
#include "SComboCtrl.h"
#include "SDraw.h"
#include "SEditCtrl.h"
#include "SExListCtrl.h"
#include "SExternCtrl.h"
#include "SFileMem.h"
#include "SGroupCtrl.h"
#include "SImage.h"
#include "SLabelCtrl.h"
#include "SLcdCtrl.h"
#include "SListCtrl.h"
#include "SMediaCtrl.h"
#include "SMediaPlayerCtrl.h"
#include "SPanelCtrl.h"
#include "SProgressCtrl.h"
#include "SRadioCtrl.h"
#include "SResource.h"
#include "SRichEditCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SSplitterCtrl.h"
#include "SStaticCtrl.h"
#include "SStringParser.h"
#include "STabCtrl.h"
#include "SToolBarCtrl.h"
#include "STreeCtrl.h"
#include "SWndDialog.h"

using Record = SDialogEditor::_SCtrl;

namespace
{

// What every creator works from.
struct Request
{
    Record* record;
    HWND parent;
    SResource* resources;
    bool visible;
    DWORD style;
    DWORD exStyle;
    RECT rect;
    UINT_PTR id;
};

template <class T>
T* Take(SWnd* custom)
{
    return SDialogEditor::TakeCustom<T>(custom);
}

// The created control, or null after deleting the object when creation failed.
template <class T>
T* Created(T* control, bool ok)
{
    if (ok)
        return control;
    delete control;
    return nullptr;
}

// A resource-valued key extracted into a memory stream; false when there is no
// source, no name or no such entry.
bool ExtractKey(const Request& request, const char* key, SFileMem* stream)
{
    if (!request.resources)
        return false;
    SString name = request.record->GetProperty(key);
    if (name.IsEmpty())
        return false;
    stream->Allocate(0);
    return request.resources->Extract(stream, name, true);
}

SStringArray ListKey(const Record* record, const char* key)
{
    return record->GetPropertyList(key);
}

uint32_t ResolveRecordColor(uint32_t color)
{
    return SDialogEditor::ResolveColorValue(color);
}

void ApplyBackColor(SWnd* control, const Record* record)
{
    uint32_t back = ResolveRecordColor(record->GetBackColor());
    if (back != SCOLOR_NONE)
        control->SetBackColor(back);
}

void ApplyTransparent(SWnd* control, const Record* record)
{
    if (record->GetTransparent())
        control->SetBackColor(SCOLOR_TRANSPARENT);
}

// Each line of the stream that is not empty.
SStringArray StreamLines(SFileMem* stream)
{
    SStringArray lines;
    while (!stream->IsEof())
    {
        SString line = stream->ReadLine(true);
        if (!line.IsEmpty())
            lines.Add(line);
    }
    return lines;
}

SString StreamText(SFileMem* stream)
{
    return SString((const char*)stream->GetBuffer(), stream->GetSize());
}

// A background picture from a resource-valued key; false when none loads.
bool ApplyImageKey(const Request& request, SWnd* control, const char* key)
{
    SFileMem stream;
    if (!ExtractKey(request, key, &stream))
        return false;
    SImage image;
    if (!image.Load(&stream))
        return false;
    control->SetBackgroundImage(&image, SCOLOR_NONE, -1, nullptr, true);
    return true;
}

int HorizontalAlignment(const SString& value)
{
    if (value == "_JUSTIFY")
        return 3;
    if (value == "_CENTER")
        return 1;
    if (value == "_RIGHT")
        return 2;
    return 0;
}

int VerticalAlignment(const SString& value)
{
    if (value == "_MIDDLE")
        return 16;
    if (value == "_BOTTOM")
        return 32;
    return 0;
}

SWnd* CreateBrowser(const Request& r, SWnd* custom)
{
    SBrowserCtrl* control = Take<SBrowserCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    control->SetSilent(r.record->GetPropertyBool("BROWSER_DIALOGS"));
    SFileMem page;
    bool loaded = ExtractKey(r, "BROWSER_FILE", &page) && control->NavigateStream(&page, "");
    SString url = r.record->GetProperty("BROWSER_URL");
    if (!loaded && !url.IsEmpty())
        control->Navigate(url, "");
    return control;
}

SWnd* CreateButton(const Request& r, SWnd* custom)
{
    SButtonCtrl* control = Take<SButtonCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    ApplyBackColor(control, r.record);
    return control;
}

SWnd* CreateCheck(const Request& r, SWnd* custom)
{
    SCheckCtrl* control = Take<SCheckCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    ApplyBackColor(control, r.record);
    if (r.record->GetPropertyInt("CHECK_CHECKED") != 0)
        control->SetCheck(1);
    return control;
}

SWnd* CreateCodeEdit(const Request& r, SWnd* custom)
{
    SCodeEditCtrl* control = Take<SCodeEditCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    const Record* record = r.record;
    control->SetBrMode(record->GetPropertyBool("CODEEDIT_BR"));
    control->SetCommentMode(record->GetPropertyBool("CODEEDIT_COMMENT"));
    control->SetFindReplaceLocal(record->GetPropertyBool("CODEEDIT_FINDREPLACELOCAL"));
    control->SetAutoIndent(record->GetPropertyBool("CODEEDIT_INDENT"));
    control->SetSingleLine(record->GetPropertyBool("CODEEDIT_SINGLELINE"));
    control->SetStringMode(record->GetPropertyBool("CODEEDIT_STRINGS"));
    control->SetUpperWords(record->GetPropertyBool("CODEEDIT_UPPERWORDS"));
    control->SetShowLineNumbers(record->GetPropertyBool("CODEEDIT_SHOWNUMBER"));
    control->SetReadOnly(record->GetPropertyBool("CODEEDIT_READONLY"));
    control->SetBackColors(record->GetPropertyColor("CODEEDIT_BACKCOLOR"),
                           record->GetPropertyColor("CODEEDIT_BACKFOCUSCOLOR"),
                           record->GetPropertyColor("CODEEDIT_HIGHLIGHTCOLOR"));
    control->SetBarColors(record->GetPropertyColor("CODEEDIT_BARCOLOR"), record->GetPropertyColor("CODEEDIT_BARGRAYCOLOR"),
                          record->GetPropertyColor("CODEEDIT_BARCHECKCOLOR"),
                          record->GetPropertyColor("CODEEDIT_BARMARKCOLOR"));
    control->SetTextColors(record->GetPropertyColor("CODEEDIT_TEXTCOLOR"), record->GetPropertyColor("CODEEDIT_TEXTKEYCOLOR"),
                           record->GetPropertyColor("CODEEDIT_TEXTSTRCOLOR"),
                           record->GetPropertyColor("CODEEDIT_TEXTUPCOLOR"),
                           record->GetPropertyColor("CODEEDIT_TEXTCOMMENTCOLOR"));
    control->SetBarWidth(record->GetPropertyInt("CODEEDIT_BARWIDTH"));
    control->SetTabSize(record->GetPropertyInt("CODEEDIT_TABSIZE"));
    SFileMem file;
    if (ExtractKey(r, "CODEEDIT_FILE", &file))
        control->Load(&file, nullptr);
    if (!control->HasDocument())
    {
        control->New();
        control->SetWindowText(record->GetCaption());
    }
    if (record->GetPropertyBool("CODEEDIT_SELECTALL"))
        control->SelectWholeText();
    return control;
}

SWnd* CreateCombo(const Request& r, SWnd* custom)
{
    SComboCtrl* control = Take<SComboCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    SFileMem file;
    if (ExtractKey(r, "COMBO_FILE", &file))
    {
        SStringArray lines = StreamLines(&file);
        for (int i = 0; i < lines.GetCount(); i++)
            control->AddString(lines.GetAt(i), -1);
    }
    SStringArray tokens = ListKey(r.record, "COMBO_CONTENT");
    for (int i = 0; i < tokens.GetCount(); i++)
        control->AddString(tokens.GetAt(i), -1);
    return control;
}

SWnd* CreateEdit(const Request& r, SWnd* custom)
{
    SEditCtrl* control = Take<SEditCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    uint32_t text = ResolveRecordColor(r.record->GetTextColor());
    if (text != SCOLOR_NONE)
        control->SetTextColor(0xFF000000u | (text & 0xFFFFFFu));
    ApplyBackColor(control, r.record);
    if (r.record->GetPropertyBool("EDIT_NOPOPUPMENU"))
        control->SetRightButtonPassOn(false);
    SFileMem file;
    if (ExtractKey(r, "EDIT_TEXT", &file))
        control->SetWindowText(StreamText(&file));
    int maxLength = r.record->GetPropertyInt("EDIT_MAXLENGTH");
    if (maxLength != 0)
        control->SendMessage(EM_LIMITTEXT, (WPARAM)maxLength, 0);
    if (r.record->GetPropertyBool("EDIT_SELECTALL"))
        control->SendMessage(EM_SETSEL, 0, -1);
    return control;
}

SWnd* CreateExList(const Request& r, SWnd* custom)
{
    SExListCtrl* control = Take<SExListCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    DWORD extended = 0;
    if (r.record->GetPropertyBool("EXLIST_GRIDLINES"))
        extended |= LVS_EX_GRIDLINES;
    if (r.record->GetPropertyBool("EXLIST_FULLROWSELECT"))
        extended |= LVS_EX_FULLROWSELECT;
    control->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    return control;
}

SWnd* CreateGroup(const Request& r, SWnd* custom)
{
    SGroupCtrl* control = Take<SGroupCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    ApplyBackColor(control, r.record);
    return control;
}

SWnd* CreateLabel(const Request& r, SWnd* custom)
{
    SLabelCtrl* control = Take<SLabelCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    const Record* record = r.record;
    uint32_t text = ResolveRecordColor(record->GetTextColor());
    if (text != SCOLOR_NONE)
        control->SetTextColor(text & 0xFFFFFFu);
    ApplyBackColor(control, record);
    ApplyTransparent(control, record);
    control->SetAlignment(HorizontalAlignment(record->GetProperty("LABEL_HALIGN")) |
                          VerticalAlignment(record->GetProperty("LABEL_VALIGN")));
    control->SetBackgroundDrawMode(record->GetPropertyDrawMode("LABEL_IMAGEDRAWMODE"));
    SFileMem file;
    if (ExtractKey(r, "LABEL_TEXT", &file))
        control->SetWindowText(StreamText(&file));
    ApplyImageKey(r, control, "LABEL_IMAGE");
    return control;
}

SWnd* CreateLcd(const Request& r, SWnd* custom)
{
    SLcdCtrl* control = Take<SLcdCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    const Record* record = r.record;
    uint32_t lit = ResolveRecordColor(record->GetTextColor());
    if (lit != SCOLOR_NONE)
        control->SetDotColor(lit);
    ApplyBackColor(control, record);
    uint32_t cell = record->GetPropertyColor("LCD_CELLCOLOR");
    if (cell != SCOLOR_NONE)
        control->SetCellColor(cell);
    control->SetAlignment(HorizontalAlignment(record->GetProperty("LCD_HALIGN")));
    control->SetPixelSize(record->GetPropertyInt("LCD_PIXELWIDTH"), record->GetPropertyInt("LCD_PIXELHEIGHT"));
    control->SetCharCount(record->GetPropertyInt("LCD_CHARCOUNT"));
    control->SetLineCount(record->GetPropertyInt("LCD_LINECOUNT"));
    SFileMem file;
    if (ExtractKey(r, "LCD_TEXT", &file))
        control->SetWindowText(StreamText(&file));
    if (r.visible)
    {
        double speed = record->GetPropertyDouble("LCD_SCROLLSPEED");
        if (speed != 0)
            control->SetLineSpeed(-1, speed);
        if (record->GetPropertyInt("LCD_SCROLL") != 0)
            control->SetScroll(true);
    }
    return control;
}

SWnd* CreateList(const Request& r, SWnd* custom)
{
    SListCtrl* control = Take<SListCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    const Record* record = r.record;
    // The list's own text colour has no setter: it stays the system's.
    ApplyBackColor(control, record);
    control->SetSelectionColors(record->GetPropertyColor("LIST_SELBACKCOLOR"),
                                record->GetPropertyColor("LIST_SELTEXTCOLOR"));
    SFileMem file;
    if (ExtractKey(r, "LIST_FILE", &file))
    {
        SStringArray lines = StreamLines(&file);
        for (int i = 0; i < lines.GetCount(); i++)
            control->InsertItem(lines.GetAt(i), -1);
    }
    SStringArray tokens = ListKey(record, "LIST_CONTENT");
    for (int i = 0; i < tokens.GetCount(); i++)
        control->InsertItem(tokens.GetAt(i), -1);
    return control;
}

SWnd* CreateMedia(const Request& r, SWnd* custom)
{
    SMediaCtrl* control = Take<SMediaCtrl>(custom);
    control->SetResourceSource(r.resources);
    if (!control->CreateChild(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    const Record* record = r.record;
    uint32_t text = ResolveRecordColor(record->GetTextColor());
    if (text != SCOLOR_NONE)
        control->SetTextColor(0xFF000000u | (text & 0xFFFFFFu));
    ApplyBackColor(control, record);
    ApplyTransparent(control, record);
    uint32_t link = record->GetPropertyColor("MEDIA_LINKCOLOR");
    if (link != SCOLOR_NONE)
        control->SetLinkColor(0xFF000000u | (link & 0xFFFFFFu));
    control->SetAlignment((unsigned)(HorizontalAlignment(record->GetProperty("MEDIA_HALIGN")) |
                                     VerticalAlignment(record->GetProperty("MEDIA_VALIGN"))));
    control->SetWrapping(record->GetPropertyBool("MEDIA_WRAPPING"));
    control->SetTrimming(record->GetPropertyBool("MEDIA_TRIMMING"));
    control->SetTags(record->GetPropertyBool("MEDIA_TAGS"));
    if (record->GetPropertyBool("MEDIA_BUTTON"))
        control->EnableHotTracking(true);
    control->SetChecked(record->GetPropertyBool("MEDIA_CHECKED"));
    control->SetMargins(record->GetPropertyInt("MEDIA_LEFTMARGIN"), record->GetPropertyInt("MEDIA_TOPMARGIN"),
                        record->GetPropertyInt("MEDIA_RIGHTMARGIN"), record->GetPropertyInt("MEDIA_BOTTOMMARGIN"));
    control->SetBackgroundDrawMode(record->GetPropertyDrawMode("MEDIA_IMAGEDRAWMODE"));
    if (r.resources)
    {
        SFileMem file;
        if (ExtractKey(r, "MEDIA_TEXT", &file))
            control->SetWindowText(StreamText(&file));
        SFileMem picture;
        if (ExtractKey(r, "MEDIA_IMAGE", &picture))
        {
            SImage image;
            if (image.Load(&picture))
                control->SetBackgroundImage(&image, record->GetPropertyBool("MEDIA_SHAPE") ? 0xFF00FFu : SCOLOR_NONE,
                                            -1, nullptr, true);
        }
        control->SetButtonImages(r.resources, record->GetProperty("MEDIA_BUTTONDISABLED"),
                                 record->GetProperty("MEDIA_BUTTONCHECK"), record->GetProperty("MEDIA_BUTTONPUSH"),
                                 record->GetProperty("MEDIA_BUTTONOVER"));
    }
    if (r.visible)
    {
        double x = -fabs(record->GetPropertyDouble("MEDIA_AUTOSCROLLX"));
        double y = -fabs(record->GetPropertyDouble("MEDIA_AUTOSCROLLY"));
        if (x != 0 || y != 0)
        {
            control->SetAutoScroll(x, y, true, nullptr);
            if (record->GetPropertyBool("MEDIA_AUTOSCROLLLOOP"))
                control->SetAutoScrollLoop(true);
        }
    }
    return control;
}

SWnd* CreateMediaPlayer(const Request& r, SWnd* custom)
{
    SMediaPlayerCtrl* control = Take<SMediaPlayerCtrl>(custom);
    if (!control->Create(r.style | WS_CHILD, r.exStyle, &r.rect, r.parent))
        return Created(control, false);
    control->SetLoop(r.record->GetPropertyBool("MEDIAPLAYER_LOOP"));
    return control;
}

SWnd* CreatePanel(const Request& r, SWnd* custom)
{
    SPanelCtrl* control = Take<SPanelCtrl>(custom);
    return Created(control, control->CreateChildNoCaption(r.style, r.exStyle, &r.rect, r.parent, r.id));
}

SWnd* CreateProgress(const Request& r, SWnd* custom)
{
    SProgressCtrl* control = Take<SProgressCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    control->SetRange(r.record->GetPropertyInt("PROGRESS_MINVALUE"), r.record->GetPropertyInt("PROGRESS_MAXVALUE"));
    control->SetPos(r.record->GetPropertyInt("PROGRESS_VALUE"));
    return control;
}

SWnd* CreateRadio(const Request& r, SWnd* custom)
{
    SRadioCtrl* control = Take<SRadioCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    ApplyBackColor(control, r.record);
    control->SetGroup(r.record->GetPropertyInt("RADIO_GROUP"));
    if (r.record->GetPropertyInt("RADIO_CHECKED") != 0)
        control->Check();
    return control;
}

SWnd* CreateRichEdit(const Request& r, SWnd* custom)
{
    SRichEditCtrl* control = Take<SRichEditCtrl>(custom);
    if (!control->Create(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    SFileMem file;
    if (ExtractKey(r, "RICHEDIT_FILE", &file))
        control->LoadFile(&file);
    return control;
}

SWnd* CreateScroll(const Request& r, SWnd* custom)
{
    SScrollCtrl* control = Take<SScrollCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    control->SetRange(r.record->GetPropertyInt("SCROLL_MINVALUE"), r.record->GetPropertyInt("SCROLL_MAXVALUE"));
    control->SetPos(r.record->GetPropertyInt("SCROLL_VALUE"));
    return control;
}

SWnd* CreateSlider(const Request& r, SWnd* custom)
{
    SSliderCtrl* control = Take<SSliderCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    ApplyBackColor(control, r.record);
    control->SetRange(r.record->GetPropertyInt("SLIDER_MINVALUE"), r.record->GetPropertyInt("SLIDER_MAXVALUE"));
    control->SetPos(r.record->GetPropertyInt("SLIDER_VALUE"));
    return control;
}

SWnd* CreateSplitter(const Request& r, SWnd* custom)
{
    SSplitterCtrl* control = Take<SSplitterCtrl>(custom);
    if (!control->CreateChildNoCaption(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    uint32_t panes = r.record->GetPropertyColor("SPLITTER_WINDOWBACKCOLOR");
    if (panes != SCOLOR_NONE)
        control->SetPaneBackColor(panes);
    int columns = r.record->GetPropertyInt("SPLITTER_COLCOUNT");
    int rows = r.record->GetPropertyInt("SPLITTER_ROWCOUNT");
    // A grid the splitter refuses although both counts are positive is too large: such a
    // record is damage and builds nothing. Counts below 1 leave a splitter without panes.
    if (!control->CreatePanes(columns, rows) && columns >= 1 && rows >= 1)
        return Created(control, false);
    return control;
}

SWnd* CreateStatic(const Request& r, SWnd* custom)
{
    SStaticCtrl* control = Take<SStaticCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    const Record* record = r.record;
    static const struct
    {
        const char* name;
        int edge;
    } edges[] = {{"_EDGEBUMP", 9},         {"_EDGEETCHED", 6},      {"_EDGERAISED", 5},
                 {"_EDGESUNKEN", 10},      {"_EDGERAISEDINNER", 4}, {"_EDGERAISEDOUTER", 1},
                 {"_EDGESUNKENINNER", 8}, {"_EDGESUNKENOUTER", 2}};
    SString edgeName = record->GetProperty("STATIC_EDGE");
    int edge = 0;
    for (const auto& entry : edges)
        if (edgeName == entry.name)
            edge = entry.edge;
    control->SetEdge(edge);
    int borders = 0;
    if (record->GetPropertyBool("STATIC_LEFTBORDER"))
        borders |= BF_LEFT;
    if (record->GetPropertyBool("STATIC_TOPBORDER"))
        borders |= BF_TOP;
    if (record->GetPropertyBool("STATIC_RIGHTBORDER"))
        borders |= BF_RIGHT;
    if (record->GetPropertyBool("STATIC_BOTTOMBORDER"))
        borders |= BF_BOTTOM;
    control->SetBorderFlags(borders);
    ApplyBackColor(control, record);
    control->SetBackgroundDrawMode(record->GetPropertyDrawMode("STATIC_IMAGEDRAWMODE"));
    ApplyImageKey(r, control, "STATIC_IMAGE");
    return control;
}

SWnd* CreateTab(const Request& r, SWnd* custom)
{
    STabCtrl* control = Take<STabCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    SStringArray tabs = ListKey(r.record, "TAB_CONTENT");
    for (int i = 0; i < tabs.GetCount(); i++)
        control->InsertTab(tabs.GetAt(i), -1);
    control->SetCurSel(r.record->GetPropertyInt("TAB_SELECTION"));
    if (r.visible)
    {
        SStringArray tips = ListKey(r.record, "TAB_TIPCONTENT");
        for (int i = 0; i < tips.GetCount(); i++)
            control->SetTabTip(i, tips.GetAt(i));
    }
    return control;
}

SWnd* CreateToolBar(const Request& r, SWnd* custom)
{
    SToolBarCtrl* control = Take<SToolBarCtrl>(custom);
    if (!control->Create(r.style | 0x80C, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    if (r.record->GetPropertyBool("TOOLBAR_TRANSPARENT"))
        control->SetTransparent(true);
    int width = r.record->GetPropertyInt("TOOLBAR_IMAGEWIDTH");
    int height = r.record->GetPropertyInt("TOOLBAR_IMAGEHEIGHT");
    control->SetBitmapSize(width ? width : 16, height ? height : 16);
    SStringArray tokens = ListKey(r.record, "TOOLBAR_CONTENT");
    int button = 0;
    bool separatorPending = false;
    for (int i = 0; i < tokens.GetCount(); i++)
    {
        SString token = tokens.GetAt(i);
        if (token.IsEmpty())
        {
            separatorPending = true;
            continue;
        }
        // A separator goes just before the next button: trailing or repeated ones add nothing.
        if (separatorPending)
            control->AddSeparator();
        separatorPending = false;
        control->AddButton(button, button, token, BTNS_BUTTON, TBSTATE_ENABLED, 0);
        button++;
    }
    return control;
}

SWnd* CreateTree(const Request& r, SWnd* custom)
{
    STreeCtrl* control = Take<STreeCtrl>(custom);
    if (!control->Create(r.style, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    control->EnableDragDrop(!(r.record->GetStyle() & TVS_DISABLEDRAGDROP));
    SFileMem file;
    if (ExtractKey(r, "TREE_FILE", &file))
        control->LoadTree(&file, true);
    return control;
}

SWnd* CreateWindowRecord(const Request& r, SWnd* custom)
{
    SDialogEditor::_SWnd* control = Take<SDialogEditor::_SWnd>(custom);
    if (!control->Create(r.record->GetCaption(), r.style | WS_CHILD, r.exStyle, &r.rect, r.parent, r.id))
        return Created(control, false);
    if (r.record->GetTransparent())
        control->SetBackColor(SCOLOR_TRANSPARENT);
    else
    {
        uint32_t back = ResolveRecordColor(r.record->GetBackColor());
        control->SetBackColor(back == SCOLOR_NONE ? 0xFFFFFFu : back);
    }
    return control;
}

SWnd* CreateExtern(const Request& r, SWnd* custom)
{
    SExternCtrl* control = Take<SExternCtrl>(custom);
    control->SetExternName(r.record->GetProperty("EXTERN_NAME"));
    control->SetFileName(r.record->GetProperty("EXTERN_FILENAME"));
    return Created(control, control->CreateChild(r.record->GetCaption(), r.style, r.exStyle, &r.rect, r.parent, r.id));
}

typedef SWnd* (*BuiltIn)(const Request& request, SWnd* custom);

// The classes of this layer's types; the editor layer registers the rest.
BuiltIn BuiltInCreator(int type)
{
    switch (type)
    {
    case SDialogEditor::TYPE_BROWSER: return CreateBrowser;
    case SDialogEditor::TYPE_BUTTON: return CreateButton;
    case SDialogEditor::TYPE_CHECK: return CreateCheck;
    case SDialogEditor::TYPE_CODEEDIT: return CreateCodeEdit;
    case SDialogEditor::TYPE_COMBO: return CreateCombo;
    case SDialogEditor::TYPE_EDIT: return CreateEdit;
    case SDialogEditor::TYPE_EXTENDEDLIST: return CreateExList;
    case SDialogEditor::TYPE_GROUP: return CreateGroup;
    case SDialogEditor::TYPE_LABEL: return CreateLabel;
    case SDialogEditor::TYPE_LCD: return CreateLcd;
    case SDialogEditor::TYPE_LIST: return CreateList;
    case SDialogEditor::TYPE_MEDIA: return CreateMedia;
    case SDialogEditor::TYPE_MEDIAPLAYER: return CreateMediaPlayer;
    case SDialogEditor::TYPE_PANEL: return CreatePanel;
    case SDialogEditor::TYPE_PROGRESS: return CreateProgress;
    case SDialogEditor::TYPE_RADIO: return CreateRadio;
    case SDialogEditor::TYPE_RICHEDIT: return CreateRichEdit;
    case SDialogEditor::TYPE_SCROLL: return CreateScroll;
    case SDialogEditor::TYPE_SLIDER: return CreateSlider;
    case SDialogEditor::TYPE_SPLITTER: return CreateSplitter;
    case SDialogEditor::TYPE_STATIC: return CreateStatic;
    case SDialogEditor::TYPE_TAB: return CreateTab;
    case SDialogEditor::TYPE_TOOLBAR: return CreateToolBar;
    case SDialogEditor::TYPE_TREE: return CreateTree;
    case SDialogEditor::TYPE_WINDOW: return CreateWindowRecord;
    case SDialogEditor::TYPE_EXTERN: return CreateExtern;
    default: return nullptr;
    }
}

SDialogEditor::ControlCreator g_registered[SDialogEditor::TypeCount];

} // namespace

SDialogEditor::ControlCreator SDialogEditor::RegisterControlType(int type, ControlCreator creator)
{
    if (type <= TYPE_DIALOG || type >= TypeCount)
        return nullptr;
    ControlCreator previous = g_registered[type];
    g_registered[type] = creator;
    return previous;
}

SDialogEditor::ControlCreator SDialogEditor::GetControlCreator(int type)
{
    if (type <= TYPE_DIALOG || type >= TypeCount)
        return nullptr;
    return g_registered[type];
}

SWnd* SDialogEditor::CreateControl(SWndDialog* dialog, HWND parent, _SCtrl* record, SResource* resources,
                                   bool visible)
{
    if (!record)
        return nullptr;
    int type = record->GetType();
    SWnd* custom = dialog ? dialog->CreateCustomControl(type, record) : nullptr;
    ControlCreator registered = GetControlCreator(type);
    BuiltIn builtIn = BuiltInCreator(type);
    if (type <= TYPE_DIALOG || type >= TypeCount || (!registered && !builtIn))
    {
        delete custom;
        return nullptr;
    }
    Request request;
    request.record = record;
    request.parent = parent;
    request.resources = resources;
    request.visible = visible;
    request.style = record->GetStyle();
    if (!visible)
        request.style &= ~(DWORD)WS_VISIBLE;
    request.exStyle = record->GetExStyle();
    record->GetRect(&request.rect);
    request.id = (UINT_PTR)(unsigned short)record->GetID();
    SWnd* control = registered ? registered(dialog, parent, record, resources, visible, custom)
                               : builtIn(request, custom);
    if (!control)
        return nullptr;
    SString tip = record->GetProperty("TOOLTIP");
    if (!tip.IsEmpty())
    {
        control->SetToolTipText(tip);
        control->EnableTooltip(true);
    }
    control->SetUserData(record->GetID());
    control->SetName(record->GetName());
    return control;
}
