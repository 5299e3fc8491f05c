#include "list_scan.h"

#include "folder_walk.h"
#include "protected_file.h"
#include "win_text.h"

bool FileSystemSource::ForEach(std::string_view folder, std::string_view pattern,
                               const std::function<void(const ScanEntry&)>& visit) {
    return ForEachEntry(folder, pattern, [&](const FolderEntry& entry) {
        // A file whose name cannot be written could not be read back, nor its line told from another's.
        if (entry.exactName) visit(ScanEntry{entry.name, entry.IsFolder(), entry.IsSubfolderToEnter()});
    });
}

SecretText FileSystemSource::ReadKey(const std::string& path) { return ReadStoredKey(path); }

SecretText FileSystemSource::ReadPassword(const std::string& path) { return ReadStoredPassword(path); }

bool ListBoxLines::AddLine(std::string_view text1252) {
    std::wstring text = Wide(text1252);
    return SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) >= 0;
}

ScanResult ScanFolder(LoaderState& state, std::string_view folder, HWND list) {
    FileSystemSource source;
    ListBoxLines lines(list);
    return ScanFolder(state, folder, source, lines);
}
