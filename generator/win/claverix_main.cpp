// Claverix: makes passwords and appends them to text files beside the program.
#include <windows.h>

#include "generator_dialog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return ShowGeneratorDialog();
}
