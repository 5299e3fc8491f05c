// The shell's browse-for-folder dialog, with the calling program's two-line prompt.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The last folder a pick returned (at most 2049 characters); never cleared. The loader appends its
// backslash here in place.
std::string& ChosenFolder();

// Shows the dialog over `owner` with the prompt PickerPrompt(firstLine). Gives the chosen folder (a drive
// root keeps its trailing backslash, other folders have none) and stores it in ChosenFolder; gives the empty
// text when nothing was chosen, when the item has no file-system path, or when the path cannot be written in
// Windows-1252 (a path with '?' in it would name another folder).
std::string PickFolder(HWND owner, std::string_view firstLine);
