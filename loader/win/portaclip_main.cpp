// Portaclip: lists protected password files and puts their passwords on the clipboard.
#include <windows.h>

#include "folder_picker.h"
#include "main_dialog.h"
#include "system_library.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadLibrariesFromSystemFolderOnly();
    PickerApartment apartment;
    return ShowMainDialog();
}
