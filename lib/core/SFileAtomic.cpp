#include "SFileAtomic.h"

#include <windows.h>

namespace
{
// The attributes a replacement takes over from the file it replaces.
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A folder or a read-only file is never replaced: the system would refuse the first,
// and Wine, unlike Windows, would replace the second.
bool IsReplaceable(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}
} // namespace

SFileAtomic::SFileAtomic()
{
}

SFileAtomic::~SFileAtomic()
{
    Abandon();
}

bool SFileAtomic::Open(const char* target)
{
    Abandon();
    if (target == nullptr || *target == 0 || !IsReplaceable(target))
        return false;
    char full[MAX_PATH];
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(target, sizeof(full), full, &name);
    if (length == 0 || length >= sizeof(full) || name == nullptr || name == full)
        return false;
    const SString folder(full, (int)(name - full));
    // GetTempFileName creates the file, so two saves into one folder never share it.
    char temp[MAX_PATH];
    if (GetTempFileNameA(folder, "mlv", 0, temp) == 0)
        return false;
    if (!m_file.Open(temp, true, true, true))
    {
        DeleteFileA(temp);
        return false;
    }
    m_target.Assign(full);
    m_temp.Assign(temp);
    return true;
}

SFile* SFileAtomic::GetFile()
{
    return m_file.IsOpen() ? &m_file : nullptr;
}

bool SFileAtomic::Commit()
{
    if (!m_file.IsOpen())
        return false;
    bool done = m_file.Flush(true);
    m_file.Close();
    if (done && !IsReplaceable(m_target))
        done = false;
    if (done)
    {
        const DWORD old = GetFileAttributesA(m_target);
        if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes) != 0)
            done = SetFileAttributesA(m_temp, old & kKeptAttributes) != FALSE;
    }
    // One rename: the target holds either all of its old bytes or all of the new ones.
    if (done)
        done = MoveFileExA(m_temp, m_target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!done)
        DeleteFileA(m_temp);
    Reset();
    return done;
}

void SFileAtomic::Abandon()
{
    if (m_file.IsOpen())
        m_file.Close();
    if (!m_temp.IsEmpty())
        DeleteFileA(m_temp);
    Reset();
}

void SFileAtomic::Reset()
{
    m_target.Assign("");
    m_temp.Assign("");
}
