#pragma once
// The texts that browsing builds for the status bar, the header view and the
// title view: counts with the locale's digit grouping, and markup made safe
// from the names and addresses it carries.
#include "SString.h"

class PMarkup
{
public:
    // n with the locale's digit grouping and no decimals ("12,345").
    static SString FormatCount(int n);
    // The grouped number, a blank and the word, with "s" when n is above 1.
    static SString CountWords(int n, const char* word);
    // "N song(s), N video(s), N radio(s)": the library totals of the status bar.
    static SString TotalsText(int songs, int videos, int radios);
    // "<b>N</b> song(s), <b>N</b> video(s) & <b>N</b> radio(s)": the header view's markup.
    static SString CountsMarkup(int songs, int videos, int radios);
    // Text for the markup view that can open no tag: each '<' becomes the look-alike '\x8B' (U+2039).
    static SString Escape(const char* text);
    // A link target kept whole in markup: '<' and '>' percent-coded, as a URL carries them.
    static SString EscapeLink(const char* address);
    // A "site" value as shown: without a leading "http://www.", else without "http://".
    static SString SiteAddress(const char* site);
    // The title view's markup: the folder's name and, when site is not empty, two
    // line breaks and the address as a link.
    static SString FolderTitle(const char* name, const char* site);
};
