// Windows-1252 texts at the edge of wide Win32 calls and controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

std::wstring Wide(std::string_view text1252);

// Nothing when the text has a character Windows-1252 cannot hold: such a path must not be used.
std::optional<std::string> NarrowExact(std::wstring_view text);

// Characters Windows-1252 cannot hold become '?'; for texts the user typed into a control.
std::string NarrowLossy(std::wstring_view text);

// The control's text as typed; ControlText narrows it lossily, callers that must refuse what Windows-1252
// cannot hold narrow it with NarrowExact.
std::wstring ControlTextWide(HWND dialog, int id);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, std::string_view text1252);

// The full path of the running program, or nothing when it does not fit `limit` characters or cannot be
// written in Windows-1252.
std::optional<std::string> ProgramFilePath(std::size_t limit);
