#include "PWndGoogle.h"

#include <stdio.h>

#include "PLibraryPrompt.h"
#include "SControl.h"
#include "SFileMem.h"
#include "SLibrary.h"
#include "SMessages.h"

namespace
{
const char* const kCaption = "Melvora Browser";

// The middle square of the image, scaled to size x size, translucent pixels white.
bool MakeSquare(SImage* image, int size)
{
    const int width = image->GetWidth(), height = image->GetHeight();
    const int side = width < height ? width : height;
    if (side <= 0)
        return false;
    SImage square;
    if (!square.CopyRegion(image, (width - side) / 2, (height - side) / 2, side, side))
        return false;
    if (side != size && !square.Resize(size, size))
        return false;
    if (!image->Assign(&square))
        return false;
    image->ReplaceTranslucentWithWhite();
    return true;
}
} // namespace

PWndGoogle::PWndGoogle() : m_offset(0) {}

PWndGoogle::~PWndGoogle()
{
    Destroy();
    ClearResults();
}

void PWndGoogle::ClearResults()
{
    m_thumbnails.DestroyAll();
    m_urls.RemoveAll();
    m_widths.RemoveAll();
    m_heights.RemoveAll();
}

bool PWndGoogle::Create(HWND owner)
{
    RECT rect = {0, 0, 485, 165};
    return SWnd::Create("Web...", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, &rect, owner);
}

void PWndGoogle::SetTerms(const char* text)
{
    m_terms = PWebSearch::EncodeTerms(text);
}

bool PWndGoogle::Download(const char* url, SFileMem* target)
{
    return m_network.DownloadToFile(target, url, 0, 1024) && target->GetSize() > 0;
}

int PWndGoogle::DoModal()
{
    ::SetCursor(LoadCursor(nullptr, IDC_HAND));
    const bool found = Search();
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (!found)
        return -1;
    return SWnd::DoModal();
}

bool PWndGoogle::Search()
{
    const SString server = PWebSearch::GetImageServer();
    SFileMem page;
    if (!Download(PWebSearch::ImageSearchUrl(server, m_terms, m_offset), &page))
    {
        PLibraryPrompt(GetHandle(), "No active connection.", kCaption, MB_ICONEXCLAMATION);
        return false;
    }
    SArray<PWebSearch::Result*> results;
    PWebSearch::ParseResults(SString((const char*)page.GetBuffer(), page.GetSize()),
                             PWebSearch::DomainOf(server), &results);
    if (results.GetCount() == 0)
    {
        PLibraryPrompt(GetHandle(), "No image file found.", kCaption, MB_ICONEXCLAMATION);
        return false;
    }
    m_offset += results.GetCount();
    ClearResults();
    for (int i = 0; i < results.GetCount(); i++)
    {
        PWebSearch::Result* result = results.GetAt(i);
        SFileMem data;
        SImage* thumbnail = new SImage();
        if (Download(result->thumbnail, &data) && data.Seek(0) == 0 && thumbnail->Load(&data) &&
            MakeSquare(thumbnail, 75))
        {
            m_thumbnails.Add(thumbnail);
            m_urls.Add(result->image);
            m_widths.Add(result->width);
            m_heights.Add(result->height);
        }
        else
            delete thumbnail;
    }
    results.DestroyAll();
    const int count = m_thumbnails.GetCount();
    m_scroll.SetPos(0);
    m_scroll.SetRange(0, count > 6 ? count - 6 : 0);
    ::EnableWindow(m_scroll.GetHandle(), count > 6);
    Layout();
    return true;
}

void PWndGoogle::Layout()
{
    const int position = m_scroll.GetHandle() ? m_scroll.GetPos() : 0;
    const int count = m_thumbnails.GetCount();
    for (int k = 0; k < 6; k++)
    {
        const int index = position + k;
        if (index < 0 || index >= count)
        {
            m_tiles[k].ShowWindow(SW_HIDE);
            m_captions[k].ShowWindow(SW_HIDE);
            continue;
        }
        m_tiles[k].SetBackgroundImage(m_thumbnails.GetAt(index), SCOLOR_NONE, 11, nullptr, true);
        char size[40];
        snprintf(size, sizeof(size), "%d x %d", m_widths.GetAt(index), m_heights.GetAt(index));
        const bool small = m_widths.GetAt(index) < 150 || m_heights.GetAt(index) < 150;
        m_captions[k].SetTextColor(small ? 255 : 0);
        m_captions[k].SetWindowText(size);
        m_tiles[k].ShowWindow(SW_SHOW);
        m_captions[k].ShowWindow(SW_SHOW);
    }
}

bool PWndGoogle::DownloadCover(const char* url)
{
    SFileMem data;
    m_cover.Dispose();
    if (!Download(url, &data) || data.Seek(0) != 0 || !m_cover.Load(&data))
    {
        m_cover.Dispose();
        return false;
    }
    if (!MakeSquare(&m_cover, 150))
    {
        m_cover.Dispose();
        return false;
    }
    return true;
}

bool PWndGoogle::ChooseTile(int k)
{
    const int index = (m_scroll.GetHandle() ? m_scroll.GetPos() : 0) + k;
    if (k < 0 || k > 5 || index >= m_urls.GetCount())
        return false;
    ::SetCursor(GetCursorHandle(13));
    const bool done = DownloadCover(m_urls.GetAt(index));
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (done)
        EndModal(0);
    else
        PLibraryPrompt(GetHandle(), "Cannot download the cover.", kCaption, MB_ICONEXCLAMATION);
    return done;
}

LRESULT PWndGoogle::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
    {
        RECT window, client;
        ::GetWindowRect(GetHandle(), &window);
        GetClientRect(&client);
        MoveWindow(0, 0, 485 + (window.right - window.left) - client.right,
                   165 + (window.bottom - window.top) - client.bottom, false);
        CenterWindow(true);
        for (int k = 0; k < 6; k++)
        {
            RECT tile = {5 + 80 * k, 5, 80 + 80 * k, 80};
            m_tiles[k].CreateChild("", WS_VISIBLE | WS_BORDER, 0, &tile, GetHandle(), (UINT_PTR)(1001 + k));
            m_tiles[k].SetBackColor(RGB(255, 255, 255));
            m_tiles[k].SetCursor(LoadCursor(nullptr, IDC_HAND));
            RECT caption = {5 + 80 * k, 80, 80 + 80 * k, 105};
            m_captions[k].CreateChild("", WS_VISIBLE | WS_BORDER, 0, &caption, GetHandle(), 0);
            m_captions[k].SetBackColor(RGB(255, 255, 255));
            m_captions[k].SetAlignment(17);
        }
        RECT place = {5, 105, 480, 125};
        m_scroll.Create(WS_VISIBLE | SBS_HORZ, 0, &place, GetHandle());
        place = {5, 135, 95, 160};
        m_more.Create("More", WS_VISIBLE, 0, &place, GetHandle(), 1003);
        place = {390, 135, 480, 160};
        m_cancel.Create("Cancel", WS_VISIBLE, 0, &place, GetHandle(), 1002);
        return 0;
    }
    case ControlMessage(SBLOCK_BUTTON, 1):
        if ((SWnd*)wParam == &m_cancel)
            EndModal(-1);
        else if ((SWnd*)wParam == &m_more)
            Search();
        return 0;
    case ControlMessage(SBLOCK_SCROLL, 1):
        if ((SWnd*)wParam == &m_scroll)
            Layout();
        return 0;
    case ControlMessage(SBLOCK_MEDIA, 0):
    {
        const SMouseRecord* record = (const SMouseRecord*)lParam;
        if (!record || record->code != (SMOUSE_LEFT | SMOUSE_CLICK))
            return 0;
        for (int k = 0; k < 6; k++)
            if ((SWnd*)wParam == &m_tiles[k])
                ChooseTile(k);
        return 0;
    }
    case WM_CLOSE:
        if (IsModal())
        {
            EndModal(-1);
            return 0;
        }
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}
