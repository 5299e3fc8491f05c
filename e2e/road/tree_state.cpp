#include "tree_state.h"

#include <gtest/gtest.h>

#include "driver.h"
#include "unique.h"
#include "win_text.h"

namespace road {

namespace {

std::optional<ULONGLONG> FileIndex(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

void SnapshotInto(const std::string& root, const std::string& relative, TreeState& state) {
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(Wide(folder + "\\*").c_str(), &entry));
    if (!find) {
        ADD_FAILURE() << "cannot list " << folder;
        return;
    }
    do {
        const std::string name = NarrowLossy(entry.cFileName);
        if (name == "." || name == "..") continue;
        const std::string inside = relative.empty() ? name : relative + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            SnapshotInto(root, inside, state);
            continue;
        }
        FileState file;
        file.created = entry.ftCreationTime;
        file.written = entry.ftLastWriteTime;
        const auto bytes = e2e::ReadFileBytes(root + "\\" + inside);
        const auto index = FileIndex(Wide(root + "\\" + inside));
        EXPECT_TRUE(bytes && index) << "cannot read " << inside;
        file.bytes = bytes.value_or("");
        file.fileIndex = index.value_or(0);
        state[inside] = std::move(file);
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

TreeState Snapshot(const std::string& root) {
    TreeState state;
    SnapshotInto(root, "", state);
    return state;
}

}  // namespace road
