// Pieces of file names, as the protector and the loader take them apart.
#pragma once

#include <string>
#include <string_view>

// The text after the last "." of the name. A name without "." gives `whenNoDot`: the protector passes the
// empty text, the loader a single blank; neither is an extension that either program looks for.
std::string FileExtension(std::string_view name, std::string_view whenNoDot = {});

// The text before the last "." of the name; a name without "." is returned whole.
std::string NameWithoutExtension(std::string_view name);

// The folder with a backslash at its end (added only when missing, so a drive root keeps its one).
std::string WithTrailingBackslash(std::string_view folder);

// Longest path the file calls take in its plain form: the platform's path limit less the closing zero.
constexpr std::size_t PlainPathLimit = 259;

// The path to hand the file calls. An absolute path longer than PlainPathLimit (a folder near the walks'
// limit and a long file name) gets its extended form, which Windows opens without the long-path opt-in:
// "C:\..." becomes "\\?\C:\...", "\\server\share\..." becomes "\\?\UNC\server\share\...". Shorter
// paths and other forms are given unchanged, so they keep the usual name clean-up the extended form skips.
std::string OpenablePath(std::string_view path);

// The line number of the loader's list and similar counters: at least three digits, zero-padded.
std::string ThreeDigitNumber(int value);
