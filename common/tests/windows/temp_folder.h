// A fresh temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with a backslash (Windows-1252).
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }
    // Makes the folders of the relative path ("a\\b"), each level in turn.
    void MakeFolders(const std::string& relative) const;

private:
    std::string path_;
};

// Whole-file helpers for tests (Windows-1252 paths).
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// What the folder (ending with a backslash) holds, sorted, folders with a backslash after them; without "." and "..".
std::vector<std::string> FolderContent(const std::string& folder);

// A .sclav file as the protector writes it; a blank key makes a file whose key reads empty.
void Protect(const std::string& path, std::string_view key, std::string_view password);
