// Portaclip: lists protected password files and puts their passwords on the clipboard.
#include <windows.h>

#include "main_dialog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return ShowMainDialog(); }
