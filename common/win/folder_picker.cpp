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

std::string PickFolder(HWND owner, std::string_view firstLine) {
    std::wstring prompt = Wide(PickerPrompt(firstLine));
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.lpszTitle = prompt.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;

    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&request);
    if (item == nullptr) return {};

    std::string result;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) {
        if (auto narrow = NarrowExact(path); narrow && !narrow->empty() && narrow->size() <= ChosenFolderLimit) {
            result = *narrow;
            ChosenFolder() = result;
        }
    }
    CoTaskMemFree(item);
    return result;
}
