#include "PWebSearch.h"

#include <stdio.h>
#include <stdlib.h>

#include "PWndApp.h"
#include "SRegistry.h"
#include "SStringArray.h"
#include "SStringParser.h"

namespace
{
const char* const kImageServer = "http://images.google.com";
const char* const kWebServer = "http://www.google.com";

SString ServerSetting(const char* name, const char* fallback)
{
    SString value = SRegistry::ReadString(HKEY_CURRENT_USER, kSettingsKey, name);
    while (value.GetLength() > 0 && value[value.GetLength() - 1] == '/')
        value = value.Left(value.GetLength() - 1);
    return value.IsEmpty() ? SString(fallback) : value;
}
} // namespace

SString PWebSearch::GetImageServer()
{
    return ServerSetting("ImageSearchServer", kImageServer);
}

SString PWebSearch::GetWebServer()
{
    return ServerSetting("WebSearchServer", kWebServer);
}

SString PWebSearch::DomainOf(const char* server)
{
    SString host(server);
    int scheme = host.Find("://");
    if (scheme >= 0)
        host = host.Mid(scheme + 3);
    host = host.BeforeCharOrAll('/');
    host = host.BeforeCharOrAll(':');
    int dot = host.FindChar('.');
    // A host of two labels or fewer is the domain itself.
    if (dot >= 0 && host.FindChar('.', dot + 1) >= 0)
        host = host.Mid(dot + 1);
    return host;
}

SString PWebSearch::EncodeTerms(const char* text)
{
    SString terms(text);
    terms.UrlEncode(false);
    return terms;
}

SString PWebSearch::ImageSearchUrl(const char* server, const char* encodedTerms, int offset)
{
    char start[16];
    snprintf(start, sizeof(start), "%d", offset);
    return SString(server) + "/images?hl=en&safe=off&q=" + encodedTerms + "&start=" + start;
}

int PWebSearch::ParseResults(const SString& page, const char* domain, SArray<Result*>* out)
{
    const SString key = SString(".") + domain + "/images?q=tbn:";
    int position = 0;
    int count = 0;
    for (;;)
    {
        int found = page.Find("<a href=/imgres?imgurl=", position);
        if (found < 0)
            break;
        int queryStart = found + 16;
        int queryEnd = page.FindChar('>', queryStart);
        if (queryEnd < 0)
            break;
        position = queryEnd;
        SStringParser parser(page.Mid(queryStart, queryEnd - queryStart));
        SStringArray parts;
        parser.Parse("&", 1, '"', &parts);
        SString image, width, height;
        for (int i = 0; i < parts.GetCount(); i++)
        {
            SString part = parts.GetAt(i);
            int equals = part.FindChar('=');
            SString name = equals >= 0 ? part.Left(equals) : part;
            SString value = equals >= 0 ? part.Mid(equals + 1) : SString();
            if (name.IsEqual("imgurl"))
                image = value;
            else if (name.IsEqual("w"))
                width = value;
            else if (name.IsEqual("h"))
                height = value;
        }
        if (image.IsEmpty())
            continue;
        int keyAt = page.Find(key, position);
        if (keyAt < 0 || keyAt < 11)
            continue;
        int blank = page.FindChar(' ', keyAt + key.GetLength());
        if (blank < 0)
            continue;
        Result* result = new Result;
        result->thumbnail = page.Mid(keyAt - 11, blank - (keyAt - 11));
        result->image = image;
        result->width = atoi(width);
        result->height = atoi(height);
        out->Add(result);
        count++;
        position = blank;
    }
    return count;
}

SString PWebSearch::LyricsUrl(const char* server, const char* title)
{
    SString text(title);
    text.RemoveLeadingNumber();
    SString query = SString("\"") + text + "\" lyrics";
    return SString(server) + "/search?q=" + EncodeTerms(query) + "&hl=en&safe=off";
}
