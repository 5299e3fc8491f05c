// Sellomar: protects plain password files as .sclav files. The command line is never read: opened for a
// .sclav file by the shell, it shows the same dialog as a plain start.
#include <windows.h>
#include <commctrl.h>

#include "file_type_registry.h"
#include "folder_picker.h"
#include "protector_dialog.h"
#include "system_library.h"
#include "unique.h"

namespace {

using InitCommonControlsExProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// COMCTL32 is loaded by name, so an old system without InitCommonControlsEx still starts.
void InitialiseCommonControls() {
    UniqueLibrary library(LoadLibraryW(L"COMCTL32.DLL"));
    if (!library) return;
    auto init = reinterpret_cast<InitCommonControlsExProc>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "InitCommonControlsEx")));
    if (init != nullptr) {
        INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), 0x9FF};
        init(&classes);
    } else {
        using InitProc = void(WINAPI*)();
        if (auto old = reinterpret_cast<InitProc>(reinterpret_cast<void*>(GetProcAddress(library.get(), "InitCommonControls"))))
            old();
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadLibrariesFromSystemFolderOnly();
    PickerApartment apartment;
    InitialiseCommonControls();
    EnsureFileTypeRegistered();
    return ShowProtectorDialog(nullptr);
}
