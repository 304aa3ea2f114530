#pragma once
// The requests and the result-page scrape of the web image search (covers) and
// the web search (lyrics). The services' base addresses are settings; the paths,
// query keys and page key texts are fixed.
#include "SArray.h"
#include "SString.h"

class PWebSearch
{
public:
    // One result of an image search page.
    struct Result
    {
        SString thumbnail;
        SString image;
        int width;
        int height;
    };

    // The registry values of the two addresses ("http://host[/folder]") and their defaults.
    static SString GetImageServer();
    static SString GetWebServer();
    // The domain in the thumbnail addresses: the image server's host without its first label.
    static SString DomainOf(const char* server);

    // Letters, digits, '-' and '_' kept, every other byte (blanks too) as "%XX".
    static SString EncodeTerms(const char* text);
    // server + "/images?hl=en&safe=off&q=" + terms + "&start=" + offset.
    static SString ImageSearchUrl(const char* server, const char* encodedTerms, int offset);
    // Scans an image search result page; returns the number of results appended.
    static int ParseResults(const SString& page, const char* domain, SArray<Result*>* out);
    // The lyrics search address of a file-list title (a leading track number removed).
    static SString LyricsUrl(const char* server, const char* title);
};
