#pragma once
// Installs the entries of an update package into the program folder, all or nothing:
// the files are unpacked beside the program's own, checked, then swapped in one by one
// with every old file kept aside until the last new one is in place. A folder the
// program does not have yet comes in whole, with one rename.
#include <map>
#include <set>
#include <string>

#include "SArray.h"
#include "SDisk.h"
#include "SString.h"
#include "SStringArray.h"

class SResource;

class PUpdateInstall
{
public:
    PUpdateInstall();
    // Removes nothing: every folder of its own is gone when Install returns.
    ~PUpdateInstall();
    PUpdateInstall(const PUpdateInstall&) = delete;
    PUpdateInstall& operator=(const PUpdateInstall&) = delete;

    // Writes every entry of the open pack below the target folder. On any failure the
    // folder is as before (old files back, new files and folders gone) and the program
    // folder paths at fault are appended to failed.
    bool Install(SResource* pack, const char* targetFolder, SStringArray* failed);

    // Size of a file from its directory entry, without opening it; -1 when missing.
    static int GetFileLength(const char* path);
    // Deletes a folder with everything in it; true when it is gone.
    static bool RemoveTree(const char* folder);

private:
    // A new folder below the target, named so that no entry and no file uses it.
    SString MakeWorkFolder(SResource* pack, const char* purpose);
    // Creates the missing folders of a path's parent chain below base, remembering each
    // one made (in made when given) and each one seen in known, so no folder is looked at twice.
    bool CreateParents(const SString& base, const SString& path, std::set<std::string>* known, SStringArray* made);
    // The length of every unpacked file, read from one listing per staged folder and
    // keyed by its relative name in one letter case.
    std::map<std::string, int> ListStagedLengths(SResource* pack);
    // Swaps entry index in; false when its old file cannot be moved aside or the new one in.
    bool Replace(const SString& name);
    // The outermost folder of an entry's folders that the target lacks, relative to the
    // target; "" when it has them all (or one of them is in the way as a file).
    SString GetMissingFolder(const SString& name);
    // Whether an entry lies in a folder that came in whole.
    bool IsCarried(const SString& name) const;
    // Moves a staged folder that the target lacks into it whole; false when it cannot.
    bool MoveFolder(const SString& folder);
    // Puts every old file back and removes what was added, newest first.
    void RollBack();

    // One swapped entry or folder: its target, where its old file was kept (empty when
    // new) and, for a folder that came in whole, where it was staged.
    struct _PReplaced
    {
        SString target;
        SString kept;
        SString staged;
    };

    SDisk disk;
    SString target;
    SString staging;
    SString keeping;
    SArray<_PReplaced*> replaced;
    SStringArray createdFolders;
    // Folders below the target and below the keeping folder known to exist.
    std::set<std::string> targetFolders;
    std::set<std::string> keptFolders;
    // Folders below the target by their relative names folded to one case: true when
    // the target has them, false when not (yet).
    std::map<std::string, bool> presentFolders;
    // Relative folders, folded, that came in whole or that must come in file by file.
    std::set<std::string> movedFolders;
    std::set<std::string> refusedFolders;
};
