#include "temp_folder.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "protected_file.h"
#include "protected_record.h"
#include "text1252.h"
#include "win_text.h"

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(base) + L"suite_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                 std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = NarrowLossy(candidate) + "\\";
            return;
        }
    }
}

TempFolder::~TempFolder() {
    // SHFileOperation wants a double-zero-terminated list.
    std::wstring from = Wide(path_.substr(0, path_.size() - 1));
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

void TempFolder::MakeFolders(const std::string& relative) const {
    for (std::size_t end = relative.find('\\'); ; end = relative.find('\\', end + 1)) {
        CreateDirectoryW(Wide(path_ + relative.substr(0, end)).c_str(), nullptr);
        if (end == std::string::npos) return;
    }
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(Wide(path).c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(Wide(path).c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FolderContent(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = NarrowLossy(found.cFileName);
        if (name == "." || name == "..") continue;
        names.push_back(name + ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? "\\" : ""));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void Protect(const std::string& path, std::string_view keyText, std::string_view passwordText) {
    SecretText key(keyText), password(passwordText);
    if (cp1252::TrimmedView(key).empty()) ClearGroup(WriterRecord(), ChunkGroup::Key);
    ASSERT_TRUE(WriteProtectedFile(path, key, password)) << path;
}
