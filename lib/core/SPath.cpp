#include "SPath.h"

#include <windows.h>
#include <string.h>

namespace {

void ReplaceAll(SString& text, char from, char to)
{
    char* buffer = text.GetBuffer();
    for (int i = 0; buffer && i < text.GetLength(); ++i)
        if (buffer[i] == from)
            buffer[i] = to;
}

bool EndsWithSeparator(const char* text)
{
    size_t length = text ? strlen(text) : 0;
    return length > 0 && (text[length - 1] == '\\' || text[length - 1] == '/');
}

} // namespace

SPath::SPath() : m_keepSeparator(true), m_kind(KindInvalid) {}

SPath::SPath(const char* text) : m_keepSeparator(true), m_kind(KindInvalid)
{
    Set(text);
}

SPath::SPath(const SPath& other)
    : m_keepSeparator(other.m_keepSeparator), m_given(other.m_given), m_full(other.m_full), m_kind(other.m_kind)
{
}

SPath::~SPath() {}

bool SPath::IsValidText(const char* text)
{
    if (!text)
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (*p < 32 || *p == '"' || *p == '*' || *p == '<' || *p == '>' || *p == '?')
            return false;
    return true;
}

bool SPath::IsUrl(const char* text)
{
    if (!text || !*text)
        return false;
    return strstr(text + 1, "://") != nullptr;
}

bool SPath::IsUnc(const char* text)
{
    return text && text[0] == '\\' && text[1] == '\\';
}

int SPath::Set(const char* text)
{
    if (!text || !*text) {
        m_kind = KindInvalid;
        m_given = SString("");
        m_full = SString("");
        return 0;
    }
    m_kind = KindInvalid;
    if (!IsValidText(text))
        return 0;
    m_given = SString(text);

    if (IsUrl(text)) {
        SString full(text);
        ReplaceAll(full, '\\', '/');
        const char* colon = strchr(full.GetBuffer(), ':');
        if (!colon || colon[1] != '/' || colon[2] != '/')
            return 0;
        m_full = full;
        m_kind = KindUrl;
        return m_kind;
    }
    if (IsUnc(text)) {
        m_full = SString(text);
        ReplaceAll(m_full, '/', '\\');
        m_kind = KindUnc;
        return m_kind;
    }

    char buffer[1024];
    DWORD length = GetFullPathNameA(text, sizeof(buffer), buffer, nullptr);
    // A result at least as long as the buffer is the size needed, not a path.
    if (length == 0 || length >= sizeof(buffer))
        return 0;
    SString full(buffer);
    ReplaceAll(full, '/', '\\');
    if ((strcmp(text, ".") == 0 || strcmp(text, "..") == 0) && !EndsWithSeparator(full.GetBuffer()))
        full.AppendChar('\\');
    // "//server/share" expands to a network path: give it the network path's root.
    m_kind = IsUnc(full.GetBuffer()) ? KindUnc : KindLocal;
    m_full = full;
    return m_kind;
}

int SPath::SetFolder(const char* text)
{
    if (!text || !*text || !IsValidText(text) || EndsWithSeparator(text))
        return Set(text);
    SString folder(text);
    folder.AppendChar('\\');
    return Set(folder.GetBuffer());
}

int SPath::Copy(const SPath& other)
{
    m_given = SString("");
    // The normalised text, not GetPath: a folder copied from a path that strips
    // separators must stay a folder here.
    m_full = other.IsValid() ? other.m_full : SString("");
    m_kind = other.m_kind;
    return m_kind;
}

SPath& SPath::operator=(const SPath& other)
{
    if (this != &other)
        Copy(other);
    return *this;
}

SPath& SPath::AssignText(const char* text)
{
    Set(text);
    return *this;
}

bool SPath::StripTrailingSeparator(bool strip)
{
    bool previous = m_keepSeparator;
    m_keepSeparator = !strip;
    return previous;
}

bool SPath::IsValid() const { return m_kind != KindInvalid; }
int SPath::GetKind() const { return m_kind; }
bool SPath::IsUncPath() const { return m_kind == KindUnc; }
bool SPath::IsUrlPath() const { return m_kind == KindUrl; }
bool SPath::KeepsSeparator() const { return m_keepSeparator; }

char SPath::Separator() const
{
    return m_kind == KindUrl ? '/' : '\\';
}

// Length of the root; it exceeds the full text when the root's separator was
// not written (a bare "\\server" or "http://host").
int SPath::RootLength() const
{
    const char* full = m_full.GetBuffer();
    int length = m_full.GetLength();
    if (!full || m_kind == KindInvalid)
        return 0;
    if (m_kind == KindLocal)
        return length < 3 ? length : 3;
    int from = 2;
    if (m_kind == KindUrl) {
        const char* scheme = strstr(full + 1, "://");
        from = scheme ? int(scheme - full) + 3 : length;
    }
    for (int i = from; i < length; ++i)
        if (full[i] == Separator())
            return i + 1;
    return length + 1;
}

int SPath::LastSeparator() const
{
    int root = RootLength();
    const char* full = m_full.GetBuffer();
    if (!full || root > m_full.GetLength())
        return -1;
    for (int i = m_full.GetLength() - 1; i >= root - 1 && i >= 0; --i)
        if (full[i] == Separator())
            return i;
    return -1;
}

SString SPath::GetRoot() const
{
    if (!IsValid())
        return SString("");
    int root = RootLength();
    if (root > m_full.GetLength()) {
        SString text(m_full);
        text.AppendChar(Separator());
        return text;
    }
    return m_full.Left(root);
}

SString SPath::GetName() const
{
    int last = LastSeparator();
    if (!IsValid() || last < 0)
        return SString("");
    return m_full.Mid(last + 1, -1);
}

SString SPath::GetTitle() const
{
    SString name = GetName();
    int dot = name.ReverseFind('.', -1);
    return dot < 0 ? name : name.Left(dot);
}

SString SPath::GetExtension(bool withDot, bool lowerCase) const
{
    SString name = GetName();
    int dot = name.ReverseFind('.', -1);
    if (dot < 0)
        return SString("");
    SString extension = name.Mid(withDot ? dot : dot + 1, -1);
    if (lowerCase)
        extension.MakeLower();
    return extension;
}

SString SPath::GetFolder() const
{
    int root = RootLength();
    int last = LastSeparator();
    if (!IsValid() || last < root)
        return SString("");
    return m_full.Mid(root, last - root + (m_keepSeparator ? 1 : 0));
}

SString SPath::GetFolderPath() const
{
    if (!IsValid())
        return SString("");
    return GetRoot() + GetFolder();
}

SString SPath::GetPath() const
{
    if (!IsValid())
        return SString("");
    if (m_keepSeparator || IsFile())
        return m_full;
    return GetRoot() + GetFolder();
}

bool SPath::IsFile() const
{
    return IsValid() && !GetName().IsEmpty();
}

bool SPath::IsSubfolder() const
{
    return IsValid() && !GetFolder().IsEmpty() && GetName().IsEmpty();
}

SString SPath::FolderWithSeparator() const
{
    SString folder = GetFolder();
    if (!folder.IsEmpty() && !m_keepSeparator)
        folder.AppendChar(Separator());
    return folder;
}

SString SPath::GetParent() const
{
    if (!IsValid())
        return SString("");
    if (IsFile())
        return GetRoot() + GetFolder();
    SString folder = FolderWithSeparator();
    if (folder.IsEmpty())
        return SString("");
    const char* text = folder.GetBuffer();
    int at = -1;
    for (int i = folder.GetLength() - 2; i >= 0; --i)
        if (text[i] == Separator()) {
            at = i;
            break;
        }
    if (at < 0)
        return GetRoot();
    return GetRoot() + folder.Left(at + (m_keepSeparator ? 1 : 0));
}

SString SPath::GetLastFolder(bool noSeparator) const
{
    SString folder = FolderWithSeparator();
    if (folder.IsEmpty())
        return SString("");
    const char* text = folder.GetBuffer();
    int end = folder.GetLength() - 1;
    int start = end;
    while (start > 0 && text[start - 1] != '\\' && text[start - 1] != '/')
        --start;
    SString last = folder.Mid(start, end - start);
    if (m_keepSeparator && !noSeparator)
        last.AppendChar(Separator());
    return last;
}

int SPath::GetComponents(SStringArray* out) const
{
    if (!IsValid())
        return 0;
    if (out)
        out->Add(GetRoot());
    int folders = 0;
    SString folder = FolderWithSeparator();
    const char* text = folder.GetBuffer();
    int start = 0;
    for (int i = 0; text && i < folder.GetLength(); ++i) {
        if (text[i] != '\\' && text[i] != '/')
            continue;
        // A doubled separator holds no folder name.
        if (i > start) {
            if (out) {
                SString piece = folder.Mid(start, i - start);
                piece.AppendChar(Separator());
                out->Add(piece);
            }
            ++folders;
        }
        start = i + 1;
    }
    if (out)
        out->Add(GetName());
    return folders + 2;
}

int SPath::GetComponentCount() const
{
    return GetComponents(nullptr);
}

SString SPath::JoinComponents(int start, int count, bool dropName, char separatorChar) const
{
    if (start < 0 || count == 0)
        return SString("");
    SStringArray components;
    int total = GetComponents(&components);
    if (total <= 0)
        return SString("");
    if (count < 0 || count > total - start)
        count = total - start;
    if (count <= 0)
        return SString("");
    if (dropName && start + count == total) {
        --count;
        if (count <= 0)
            return SString("");
    }
    SString joined("");
    for (int i = start; i < start + count; ++i)
        joined.Append(components.GetAt(i));
    if (separatorChar != '/')
        ReplaceAll(joined, '/', separatorChar);
    if (separatorChar != '\\')
        ReplaceAll(joined, '\\', separatorChar);
    return joined;
}

bool SPath::IsSame(const SPath& other) const
{
    if (!IsValid() || !other.IsValid() || m_kind != other.m_kind)
        return false;
    SStringArray mine;
    SStringArray theirs;
    int count = GetComponents(&mine);
    if (count != other.GetComponents(&theirs))
        return false;
    for (int i = 0; i < count; ++i)
        if (mine.GetAt(i).CompareNoCase(theirs.GetAt(i)) != 0)
            return false;
    return true;
}
