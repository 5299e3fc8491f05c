#include "folder_walk.h"

#include "unique.h"
#include "win_text.h"

bool FolderEntry::IsSubfolderToEnter() const {
    return IsFolder() && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && name != "." && name != "..";
}

bool ForEachEntry(std::string_view folder, std::string_view pattern, const std::function<void(const FolderEntry&)>& visit) {
    std::string full(folder);
    full += pattern;
    if (full.size() > PatternLimit) return false;

    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Wide(full).c_str(), &found));
    if (!search) return false;
    do {
        auto name = NarrowExact(found.cFileName);
        if (!name) continue;
        visit(FolderEntry{*name, found.dwFileAttributes});
    } while (FindNextFileW(search.get(), &found));
    return true;
}
