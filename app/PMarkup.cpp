#include "PMarkup.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

SString PMarkup::FormatCount(int n)
{
    char digits[16];
    snprintf(digits, sizeof(digits), "%d", n);
    char thousand[8] = ",", decimal[8] = ".", grouping[16] = "3;0";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, sizeof(thousand));
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof(decimal));
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, sizeof(grouping));
    NUMBERFMTA format;
    memset(&format, 0, sizeof(format));
    format.NumDigits = 0;
    format.LeadingZero = 1;
    // "3;0" groups by threes, "3;2;0" as in India; NUMBERFMT takes them as 3 and 32.
    format.Grouping = (UINT)atoi(grouping);
    if (strlen(grouping) >= 3 && grouping[1] == ';' && grouping[2] != '0')
        format.Grouping = format.Grouping * 10 + (UINT)atoi(grouping + 2);
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = 1;
    char grouped[64];
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits, &format, grouped, sizeof(grouped)) > 0)
        return SString(grouped);
    return SString(digits);
}

SString PMarkup::CountWords(int n, const char* word)
{
    SString text = FormatCount(n);
    text += " ";
    text += word;
    if (n > 1)
        text += "s";
    return text;
}

SString PMarkup::TotalsText(int songs, int videos, int radios)
{
    return CountWords(songs, "song") + ", " + CountWords(videos, "video") + ", " + CountWords(radios, "radio");
}

SString PMarkup::CountsMarkup(int songs, int videos, int radios)
{
    struct Part { int n; const char* word; const char* before; };
    const Part parts[] = {{songs, "song", ""}, {videos, "video", ", "}, {radios, "radio", " & "}};
    SString text;
    for (const Part& part : parts)
    {
        text += part.before;
        text += "<b>";
        text += FormatCount(part.n);
        text += "</b> ";
        text += part.word;
        if (part.n > 1)
            text += "s";
    }
    return text;
}

SString PMarkup::Escape(const char* text)
{
    // The view's tag language has no escape sequence, and '&' means nothing to it.
    // Any '<' may open a tag, so it is shown as the single angle quotation mark
    // (code page 1252: 0x8B), which no tag can start with.
    SString out;
    for (const char* c = text ? text : ""; *c; c++)
        out += *c == '<' ? '\x8B' : *c;
    return out;
}

SString PMarkup::EscapeLink(const char* address)
{
    SString out;
    for (const char* c = address ? address : ""; *c; c++)
    {
        if (*c == '<')
            out += "%3C";
        else if (*c == '>')
            out += "%3E";
        else if (*c == '\r' || *c == '\n')
            out += "%20";
        else
            out += *c;
    }
    return out;
}

SString PMarkup::SiteAddress(const char* site)
{
    SString address(site ? site : "");
    if (strncmp(address, "http://www.", 11) == 0)
        return SString((const char*)address + 11);
    if (strncmp(address, "http://", 7) == 0)
        return SString((const char*)address + 7);
    return address;
}

SString PMarkup::FolderTitle(const char* name, const char* site)
{
    SString title = Escape(name);
    if (site && *site)
        title += "\r\n\r\n<link>" + EscapeLink(SiteAddress(site)) + "</link>";
    return title;
}
