// Portaclip's message boxes. Its main dialog is always on top, and a box without an owner that is not on
// top too would open beneath it: hidden, or (a task-modal one) disabling the dialog from behind it.
#pragma once

#include <windows.h>

#include <string_view>

// ShowMessage, with the box raised among the topmost windows as it activates, whatever its style asks:
// Wine 8 ignores MB_TOPMOST, and a task-modal box is only raised to the top of the windows that are not.
int ShowMessageOnTop(std::string_view text1252, std::string_view title1252, UINT style);
