#include "PDescriptionPage.h"

#include "SDisk.h"
#include "SFileAtomic.h"
#include "SFileMem.h"

namespace
{
const char kBullet = '\x95';

struct StyledTag
{
    const char* name;
    const char* textClass;
};
const StyledTag kStyledTags[] = {
    {"genre", "txtGenre"}, {"name", "txtName"}, {"title", "txtTitle"}, {"quote", "txtQuote"}};

SString Trimmed(const SString& text)
{
    int start = 0, end = text.GetLength();
    while (start < end && text[start] == ' ')
        start++;
    while (end > start && text[end - 1] == ' ')
        end--;
    return text.Mid(start, end - start);
}

// Splits at CR, LF or CR LF; a final terminator starts no further line.
void SplitLines(const SString& text, SStringArray* lines)
{
    const char* data = text.GetBuffer();
    const int length = text.GetLength();
    int start = 0;
    for (int i = 0; i < length; i++)
    {
        if (data[i] != '\r' && data[i] != '\n')
            continue;
        lines->Add(text.Mid(start, i - start));
        if (data[i] == '\r' && i + 1 < length && data[i + 1] == '\n')
            i++;
        start = i + 1;
    }
    if (start < length)
        lines->Add(text.Mid(start));
}
} // namespace

PDescriptionPage::PDescriptionPage() : m_names(nullptr), m_paths(nullptr) {}

void PDescriptionPage::SetFolders(const SStringArray* names, const SStringArray* paths)
{
    m_names = names;
    m_paths = paths;
}

bool PDescriptionPage::GetHeading(const SString& line, SString* heading)
{
    int open = line.FindChar('{');
    int close = line.FindChar('}');
    if (open < 0 || close < 0 || open > close)
        return false;
    if (heading)
        *heading = line.Mid(open + 1, close - open - 1);
    return true;
}

SString PDescriptionPage::ConvertLine(const SString& source) const
{
    SString line = source;
    int position = 0;
    for (;;)
    {
        int first = line.FindChar('#', position);
        if (first < 0)
            break;
        int second = line.FindChar('#', first + 1);
        if (second < 0)
            break;
        int blank = line.FindChar(' ', first + 1);
        if (blank < 0 || blank > second)
        {
            position = second + 1;
            continue;
        }
        SString tag = line.Mid(first + 1, blank - first - 1);
        int at = line.FindChar('@', blank + 1);
        if (at > second)
            at = -1;
        SString text = Trimmed(line.Mid(blank + 1, (at >= 0 ? at : second) - blank - 1));
        SString target = at >= 0 ? line.Mid(at + 1, second - at - 1) : SString();
        SString replacement;
        if (tag.IsEqual("image"))
            replacement = SString("<img src=\"Images\\") + text + "\">";
        else
        {
            for (const StyledTag& styled : kStyledTags)
            {
                if (!tag.IsEqual(styled.name))
                    continue;
                int folder = -1;
                if (target.IsEmpty() && tag.IsEqual("name") && m_names && m_paths)
                    for (int i = 0; i < m_names->GetCount() && i < m_paths->GetCount() && folder < 0; i++)
                        if (m_names->GetAt(i).CompareNoCase(text) == 0)
                            folder = i;
                if (!target.IsEmpty())
                    replacement = SString("<a href=\"") + target + ".link\" class=" + styled.textClass + ">" + text +
                                  "</a>";
                else if (folder >= 0)
                    replacement = SString("<a href=\"") + m_paths->GetAt(folder) + ".link\" class=txtName>" + text +
                                  "</a>";
                else
                    replacement = SString("<font class=") + styled.textClass + ">" + text + "</font>";
            }
        }
        if (replacement.IsEmpty())
        {
            position = second + 1;
            continue;
        }
        line.ReplaceRange(replacement, first, second - first + 1);
        position = first + replacement.GetLength();
    }
    line.Replace("\t.", "\t\x95");
    if (line.GetLength() > 0 && line[0] == '.')
        line.SetAt(0, kBullet);
    int tabs = 0;
    while (tabs < line.GetLength() && line[tabs] == '\t')
        tabs++;
    if (tabs == 0)
        return line + "<br>";
    line.Delete(0, tabs);
    SString opened, closed;
    for (int i = 0; i < tabs; i++)
    {
        opened += "<div class=txtTab>";
        closed += "</div>";
    }
    return opened + line + closed;
}

SString PDescriptionPage::MakePage(const SString& text, const char* root) const
{
    SString page;
    page += "<html><head>\r\n";
    page += SString("<base href=\"") + root + "\">\r\n";
    page += m_styleSheet;
    page += "</head>\r\n";
    page += "<body leftmargin=6 topmargin=6 rightmargin=6 bottommargin=6 marginwidth=6 marginheight=6>\r\n";
    page += "<div class=txt>\r\n";
    SStringArray lines;
    SplitLines(text, &lines);
    int pending = 0;
    bool written = false, chapterOpen = false, chapterHasText = false;
    for (int i = 0; i < lines.GetCount(); i++)
    {
        SString line = lines.GetAt(i);
        SString heading;
        if (line.IsEmpty())
        {
            if (!chapterOpen || chapterHasText)
                pending++;
        }
        else if (GetHeading(line, &heading))
        {
            pending = 0;
            if (chapterOpen)
                page += "</div><br><br>\r\n";
            else if (written)
                page += "<br><br><br>\r\n";
            page += SString("<font class=txtChapter><img src=\"Images/icon.gif\" align=absmiddle> ") + heading +
                    "</font><br><table border=0 cellpadding=0 cellspacing=0 width=100%>"
                    "<tr height=4><td></tr><tr height=4><td bgcolor=#1381ff></tr></table><br><div class=txt>\r\n";
            written = true;
            chapterOpen = true;
            chapterHasText = false;
        }
        else
        {
            written = true;
            if (chapterOpen)
                chapterHasText = true;
            for (; pending > 0; pending--)
                page += "<br>\r\n";
            page += ConvertLine(line) + "\r\n";
        }
    }
    if (chapterOpen)
        page += "</div><br><br>\r\n";
    page += "</div></body></html>\r\n";
    return page;
}

bool PDescriptionPage::Generate(const char* root, const char* item) const
{
    SDisk disk;
    const SString base = SString(root) + item;
    const SString textPath = base + ".txt";
    const SString pagePath = base + ".htm";
    SFileMem text;
    if (!disk.IsFile(textPath) || !text.LoadFromFile(textPath))
    {
        if (disk.IsFile(pagePath))
            disk.DeleteFile(pagePath);
        return false;
    }
    SString page = MakePage(SString((const char*)text.GetBuffer(), text.GetSize()), root);
    // A page that cannot be written whole leaves the old page.
    SFileAtomic out;
    return out.Open(pagePath) && out.GetFile()->Write(page.GetBuffer(), page.GetLength()) == page.GetLength() &&
           out.Commit();
}
