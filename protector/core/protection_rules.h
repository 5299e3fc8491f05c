// What a protection run accepts: the program password, the candidate files, their texts and where their
// protected files go.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t MinProgramPassword = 4;
inline constexpr std::size_t MaxProgramPassword = 50;
inline constexpr std::size_t MaxPlainText = 50;

// 4 to 50 characters as typed, spaces included. A password of blanks only is refused too: the writer would
// skip it and store whatever key an earlier run left in its record.
bool IsProgramPasswordAccepted(std::string_view typed);

// A plain password file: extension exactly "txt" or "log" (case counts, so foto.TXT is not one).
bool IsCandidate(std::string_view fileName);

// TargetFolder (ending with a backslash) + the name before its last "." + ".sclav".
std::string TargetPath(std::string_view targetFolder, std::string_view fileName);

// A text worth a protected file: 1 to 50 characters, not blanks only (that would store an empty password)
// and without a zero byte (which the stored format cannot hold).
bool IsAcceptedPlainText(std::string_view text);
