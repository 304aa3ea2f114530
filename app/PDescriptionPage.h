#pragma once
// Turns a folder description (the folder's path + ".txt") into its HTML page
// (the folder's path + ".htm"): chapter headings, inline tags, bullets, indents
// and line breaks.
#include "SString.h"
#include "SStringArray.h"

class PDescriptionPage
{
public:
    PDescriptionPage();

    // The style sheet copied as it is into the page head.
    void SetStyleSheet(const SString& sheet) { m_styleSheet = sheet; }
    // The group folders' names and their paths relative to the root (parallel;
    // not owned), for name tags without a target.
    void SetFolders(const SStringArray* names, const SStringArray* paths);

    // The heading text of a chapter line ("{" before "}"); false for a paragraph line.
    static bool GetHeading(const SString& line, SString* heading);
    // One paragraph line as HTML.
    SString ConvertLine(const SString& line) const;
    // The page of the text (the whole ".txt" content) for the library root.
    SString MakePage(const SString& text, const char* root) const;
    // Writes root + item + ".htm" from root + item + ".txt"; a missing or unreadable
    // text deletes the page and gives false, as does a page that cannot be written.
    bool Generate(const char* root, const char* item) const;

private:
    SString m_styleSheet;
    const SStringArray* m_names;
    const SStringArray* m_paths;
};
