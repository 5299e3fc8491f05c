// Windows-1252 texts at the edge of wide Win32 calls and controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "secret_text.h"

std::wstring Wide(std::string_view text1252);
// A file's path for the file calls: past the platform's path limit, in its extended form (OpenablePath).
std::wstring WidePath(std::string_view path1252);

// Nothing when the text has a character Windows-1252 cannot hold: such a path must not be used.
std::optional<std::string> NarrowExact(std::wstring_view text);

// Characters Windows-1252 cannot hold become '?'; for texts the user typed into a control.
std::string NarrowLossy(std::wstring_view text);

// The control's text as typed; ControlText narrows it lossily, callers that must refuse what Windows-1252
// cannot hold narrow it with NarrowExact.
std::wstring ControlTextWide(HWND dialog, int id);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, std::string_view text1252);

// A password box's text, read through a wide buffer that is wiped once converted: ...Lossy turns what
// Windows-1252 cannot hold into '?', ...Exact gives nothing then.
SecretText SecretControlTextLossy(HWND dialog, int id);
std::optional<SecretText> SecretControlTextExact(HWND dialog, int id);

// The UTF-16 form of a secret, for a control or the clipboard.
SecretWide SecretWiden(std::string_view text1252);

// Empties an edit field in place: each character is overwritten where it lies, then the text is set to the
// empty text. Setting the text outright would leave the old characters in the control's freed buffers.
void WipeEditField(HWND dialog, int id);

// The full path of the running program, or nothing when it does not fit `limit` characters or cannot be
// written in Windows-1252.
std::optional<std::string> ProgramFilePath(std::size_t limit);
