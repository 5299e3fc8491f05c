// Claverix: makes passwords and appends them to text files beside the program.
#include <windows.h>

#include "generator_dialog.h"
#include "system_library.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadLibrariesFromSystemFolderOnly();
    return ShowGeneratorDialog();
}
