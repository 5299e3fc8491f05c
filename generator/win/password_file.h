// The files the generator touches: the password file it appends to and the word list it reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Appends the line and its end (CR CR LF) to the file, creating it when missing. The file is opened without
// sharing, so a file that another program holds open is not written. True only when every byte was written.
bool AppendPasswordLine(const std::string& path1252, std::string_view line);

// The whole file, opened without sharing as the word list is; nothing when it cannot be read.
std::optional<std::string> ReadWholeWordList(const std::string& path1252);
