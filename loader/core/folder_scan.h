// The walk that fills the loader's list: every .sclav file of a folder (and, when asked, of its subfolders)
// whose stored key matches the login password becomes one numbered line and one slot of the tables.
// The file system and the list are reached through the two small interfaces below.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "loader_commands.h"

struct ScanEntry {
    std::string name;  // Windows-1252, without folder
    bool isFolder = false;
    bool enterable = false;  // a subfolder the walk may go into (not ".", "..", nor a junction or link)
};

class ScanSource {
public:
    virtual ~ScanSource() = default;
    // Calls `visit` for every entry of folder + pattern (folder ends with a backslash); false when the search
    // could not start.
    virtual bool ForEach(std::string_view folder, std::string_view pattern,
                         const std::function<void(const ScanEntry&)>& visit) = 0;
    virtual SecretText ReadKey(const std::string& path) = 0;
    virtual SecretText ReadPassword(const std::string& path) = 0;
};

class ListSink {
public:
    virtual ~ListSink() = default;
    // Appends a line at the end of the list; false when the list did not take it.
    virtual bool AddLine(std::string_view text1252) = 0;
};

enum class ScanResult {
    Complete,
    TablesFull,   // a further matching file was found with every slot in use; the walk stopped there
    ListRefused,  // the list did not take a line, or memory ran out; the walk stopped there, no slot without its line
};

// Whether the file name has the loader's extension, in any letter case.
bool IsProtectedFileName(std::string_view name);

// Appends after the lines already there; `folder` ends with a backslash.
ScanResult ScanFolder(LoaderState& state, std::string_view folder, ScanSource& source, ListSink& list);
