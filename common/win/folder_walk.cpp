#include "folder_walk.h"

#include "unique.h"
#include "win_text.h"

bool FolderEntry::IsSubfolderToEnter() const {
    return IsFolder() && exactName && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && name != "." &&
           name != "..";
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
        visit(FolderEntry{exact ? *exact : NarrowLossy(found.cFileName), found.dwFileAttributes, exact.has_value()});
    } while (FindNextFileW(search.get(), &found));
    return true;
}
