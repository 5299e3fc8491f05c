// The protector's one modal dialog: the program password, "..." for a protection run and "Salir".
#pragma once

#include <windows.h>

enum ProtectorControl {
    PasswordLabel = 1001,
    PasswordBox = 1002,
    SearchLabel = 1003,
    SearchButton = 1004,
    CloseButton = 1005,
};

int ShowProtectorDialog(HWND parent);
