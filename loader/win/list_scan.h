// The folder walk of the load command over the real file system, adding lines to a real list box.
#pragma once

#include <windows.h>

#include <string_view>

#include "folder_scan.h"

// Folders through the wide find calls (with their path limit), .sclav files through the record readers.
class FileSystemSource : public ScanSource {
public:
    bool ForEach(std::string_view folder, std::string_view pattern,
                 const std::function<void(const ScanEntry&)>& visit) override;
    SecretText ReadKey(const std::string& path) override;
    SecretText ReadPassword(const std::string& path) override;
};

// Appends lines to a list box that keeps its strings.
class ListBoxLines : public ListSink {
public:
    explicit ListBoxLines(HWND list) : list_(list) {}
    bool AddLine(std::string_view text1252) override;

private:
    HWND list_;
};

// Adds the matching files under `folder` (ending with a backslash) to the list and the tables.
ScanResult ScanFolder(LoaderState& state, std::string_view folder, HWND list);
