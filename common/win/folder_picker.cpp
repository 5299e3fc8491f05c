#include "folder_picker.h"

#include <shlobj.h>

#include "folder_prompt.h"
#include "folder_walk.h"
#include "win_text.h"

namespace {
constexpr std::size_t ChosenFolderLimit = 2049;
constexpr DWORD PathRoom = 32768;  // the longest path Windows knows, in UTF-16 units
}

std::string& ChosenFolder() {
    static std::string folder;
    return folder;
}

FolderPick PickFolder(HWND owner, std::string_view firstLine) {
    std::wstring prompt = Wide(PickerPrompt(firstLine));
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.lpszTitle = prompt.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;

    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&request);
    if (item == nullptr) return {};

    FolderPick result;
    // Room for any path, so that a folder too long for the walks is told from an item without a path
    // (SHGetPathFromIDListW fails for both on Windows once a path passes MAX_PATH).
    std::wstring path(PathRoom, L'\0');
    if (SHGetPathFromIDListEx(item, path.data(), PathRoom, GPFIDL_DEFAULT) && path[0] != L'\0') {
        path.resize(path.find(L'\0'));
        auto narrow = NarrowExact(path);
        if (!narrow || narrow->size() > ChosenFolderLimit) {
            result.unwritable = true;
        } else if (!FitsWalk(*narrow)) {
            result.tooLong = true;
        } else {
            result.folder = *narrow;
            ChosenFolder() = result.folder;
        }
    }
    CoTaskMemFree(item);
    return result;
}

std::string_view FolderPick::Problem() const {
    if (unwritable) return UnwritableFolderMessage;
    if (tooLong) return FolderTooLongMessage;
    return {};
}
