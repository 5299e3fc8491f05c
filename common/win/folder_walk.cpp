#include "folder_walk.h"

#include "file_names.h"
#include "reparse_tag.h"
#include "unique.h"
#include "win_text.h"

bool FitsWalk(std::string_view folder) { return WithTrailingBackslash(folder).size() + 3 <= PatternLimit; }

bool FolderEntry::IsSubfolderToEnter() const {
    const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkReparseTag(reparseTag);
    // Hidden and system together is what Explorer hides as the operating system's own ($Recycle.Bin, System
    // Volume Information): deleted files are not the user's passwords.
    constexpr DWORD systemOwn = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return IsFolder() && exactName && !link && (attributes & systemOwn) != systemOwn && name != "." && name != "..";
}

bool ForEachEntry(std::string_view folder, std::string_view pattern, const std::function<void(const FolderEntry&)>& visit) {
    std::string full(folder);
    full += pattern;
    if (full.size() > PatternLimit) return false;

    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Wide(full).c_str(), &found));
    if (!search) return false;
    do {
        auto exact = NarrowExact(found.cFileName);
        // dwReserved0 holds the reparse tag when the entry is a reparse point.
        visit(FolderEntry{exact ? *exact : NarrowLossy(found.cFileName), found.dwFileAttributes, exact.has_value(),
                          found.dwReserved0});
    } while (FindNextFileW(search.get(), &found));
    return true;
}
