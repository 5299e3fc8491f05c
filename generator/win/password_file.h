// The files the generator touches: the password file it appends to and the word list it reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class LineWrite {
    Written,
    Failed,        // the file is as it was before (a file the call created is gone again)
    NotADiskFile,  // the name opened a device or the like: nothing was written into it
};

// Appends the line and its end (CR CR LF) to the file, creating it when missing. The file is opened without
// sharing, so a file that another program holds open is not written. A line is written whole or not at all:
// a write cut short (a full disk) is cut back off the file, and a file this call created and could not fill
// is removed, so that the next line is never joined to a piece of this one.
LineWrite AppendPasswordLine(const std::string& path1252, std::string_view line);

// The whole file, opened without sharing as the word list is; nothing when it cannot be read.
std::optional<std::string> ReadWholeWordList(const std::string& path1252);
