#pragma once

#include "SFilePath.h"
#include "SString.h"

// Saves a file in place of an existing one without ever leaving it half-written.
// The new bytes go to a temporary file in the target's folder ("mlv" + hex digits +
// ".tmp": a name no library listing shows as a picture, a medium, a note or a
// page); Commit puts them on the disk and then renames the temporary file over the
// target in one MoveFileEx. Until then the target stays byte for byte as it was;
// a save that fails, is abandoned or is destroyed uncommitted deletes its
// temporary file. The replacement keeps the old file's hidden, system and archive
// attributes. A read-only target is refused, as an open for writing would be.
class SFileAtomic
{
public:
    SFileAtomic();
    // Abandons a save that was not committed.
    ~SFileAtomic();

    SFileAtomic(const SFileAtomic&) = delete;
    SFileAtomic& operator=(const SFileAtomic&) = delete;

    // Starts a save of target (an earlier uncommitted one is abandoned): creates
    // the empty temporary file beside it, open for writing and reading. False when
    // target is a folder or a read-only file, or when its folder takes no new file.
    bool Open(const char* target);
    // The stream of the new content; null while no save is open.
    SFile* GetFile();
    // True while a save is open.
    bool IsOpen() const { return m_file.IsOpen(); }
    // The target of the open save; "" when none.
    const SString& GetTargetPath() const { return m_target; }
    // The temporary file of the open save; "" when none.
    const SString& GetTempPath() const { return m_temp; }
    // Ends the save: the new bytes reach the disk and replace the target. False when
    // no save is open or any step fails; the target is then as it was and the
    // temporary file is gone.
    bool Commit();
    // Ends the save without touching the target; the temporary file is deleted.
    void Abandon();

private:
    // Forgets the paths of the ended save.
    void Reset();

    SFilePath m_file;
    SString m_target;
    SString m_temp;
};
