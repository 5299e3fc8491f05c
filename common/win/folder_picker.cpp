#include "folder_picker.h"

#include <shlobj.h>

#include "folder_prompt.h"
#include "folder_walk.h"
#include "system_library.h"
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

    static const auto browse = SystemFunction<decltype(SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    static const auto pathOf = SystemFunction<decltype(SHGetPathFromIDListEx)>(L"shell32.dll", "SHGetPathFromIDListEx");
    static const auto release = SystemFunction<decltype(CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (browse == nullptr || pathOf == nullptr || release == nullptr) return {};
    PIDLIST_ABSOLUTE item = browse(&request);
    if (item == nullptr) return {};

    FolderPick result;
    // Room for any path, so that a folder too long for the walks is told from an item without a path
    // (SHGetPathFromIDListW fails for both on Windows once a path passes MAX_PATH).
    std::wstring path(PathRoom, L'\0');
    if (pathOf(item, path.data(), PathRoom, GPFIDL_DEFAULT) && path[0] != L'\0') {
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
    release(item);
    return result;
}

PickerApartment::PickerApartment() {
    static const auto enter = SystemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    initialised_ = enter != nullptr && SUCCEEDED(enter(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

PickerApartment::~PickerApartment() {
    static const auto leave = SystemFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    if (initialised_ && leave != nullptr) leave();
}

std::string_view FolderPick::Problem() const {
    if (unwritable) return UnwritableFolderMessage;
    if (tooLong) return FolderTooLongMessage;
    return {};
}
