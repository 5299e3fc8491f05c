// Folder searches for the protector's and the loader's walks: the entries of one folder, in the order the
// file system returns them, through the wide find calls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// Search patterns live in buffers of the platform's path limit; a longer one is never cut and searched.
constexpr std::size_t PatternLimit = MAX_PATH - 1;

// Whether a walk can search the folder itself: its pattern, the folder with its backslash and "*.*", fits.
bool FitsWalk(std::string_view folder);

struct FolderEntry {
    std::string name;  // Windows-1252; '?' for each character it cannot hold when exactName is false
    DWORD attributes = 0;
    // False when Windows-1252 cannot hold the name: no path built from `name` names this entry, so it can be
    // counted but never opened or entered.
    bool exactName = true;
    DWORD reparseTag = 0;  // when attributes hold FILE_ATTRIBUTE_REPARSE_POINT

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A subfolder a walk may enter: not "." or "..", not a name that cannot be written, not a junction or link
    // (IsLinkReparseTag), which could lead back up the tree and make the walk endless, and not a folder both
    // hidden and system (the operating system's own, such as $Recycle.Bin).
    bool IsSubfolderToEnter() const;
};

// Calls `visit` for every entry matching folder + pattern (folder ends with a backslash). Gives false when the
// search could not start, including a pattern longer than PatternLimit.
bool ForEachEntry(std::string_view folder, std::string_view pattern, const std::function<void(const FolderEntry&)>& visit);
