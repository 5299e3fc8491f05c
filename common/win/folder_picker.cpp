#include "folder_picker.h"

#include <shlobj.h>

#include "folder_prompt.h"
#include "win_text.h"

namespace {
constexpr std::size_t ChosenFolderLimit = 2049;
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
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path) && path[0] != L'\0') {
        auto narrow = NarrowExact(path);
        if (narrow && narrow->size() <= ChosenFolderLimit) {
            result.folder = *narrow;
            ChosenFolder() = result.folder;
        } else {
            result.unwritable = true;
        }
    }
    CoTaskMemFree(item);
    return result;
}
