#pragma once
// The cover search window: six thumbnails of a web image search at a time with
// their sizes, "More" for the next result page, and a click on a thumbnail
// downloads that image as the folder's new cover.
#include <windows.h>

#include "PWebSearch.h"
#include "SArray.h"
#include "SButtonCtrl.h"
#include "SImage.h"
#include "SMediaCtrl.h"
#include "SNetwork.h"
#include "SScrollCtrl.h"
#include "SString.h"
#include "SStringArray.h"
#include "SWnd.h"

class SFileMem;

class PWndGoogle : public SWnd
{
public:
    PWndGoogle();
    ~PWndGoogle() override;

    // Creates the popup (caption "Web...") owned by owner, centred on it, hidden.
    bool Create(HWND owner);
    // Stores the search terms, URL-encoded.
    void SetTerms(const char* text);
    // The chosen cover (150 x 150 once a download succeeded).
    SImage* GetCover() { return &m_cover; }
    // Runs the first search and then the window modally: 0 when a cover was
    // downloaded, -1 when cancelled or when the first search failed.
    int DoModal();
    // Fetches and shows the next result page; false (with a message) on failure.
    bool Search();
    // Shows the results from the scroll position on.
    void Layout();
    // Downloads the full-size image into the cover; false when it fails.
    bool DownloadCover(const char* url);
    // Clicks thumbnail k (0..5) as the user would.
    bool ChooseTile(int k);

    int GetResultCount() const { return m_thumbnails.GetCount(); }
    int GetOffset() const { return m_offset; }
    SScrollCtrl* GetScroll() { return &m_scroll; }
    SMediaCtrl* GetTile(int k) { return &m_tiles[k]; }
    SMediaCtrl* GetCaption(int k) { return &m_captions[k]; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool Download(const char* url, SFileMem* target);
    void ClearResults();

    SNetwork m_network;
    SString m_terms;
    int m_offset;
    SArray<SImage*> m_thumbnails;
    SStringArray m_urls;
    SArray<int> m_widths;
    SArray<int> m_heights;
    SImage m_cover;
    SMediaCtrl m_tiles[6];
    SMediaCtrl m_captions[6];
    SScrollCtrl m_scroll;
    SButtonCtrl m_more;
    SButtonCtrl m_cancel;
};
