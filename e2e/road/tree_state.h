// What a road through the suite leaves in a folder tree. The road's steps themselves are the programs'
// sessions' (claverix_session.h, sellomar_session.h, portaclip_session.h).
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace road {

// What a folder tree holds, file by file (paths relative to the root), to tell afterwards what was changed,
// replaced, added or removed.
struct FileState {
    std::string bytes;
    FILETIME created{};
    FILETIME written{};
    // The file's identity on its volume. A file deleted and made again may get the same one back (Linux
    // reuses inode numbers), which its times then tell.
    ULONGLONG fileIndex = 0;
};
using TreeState = std::map<std::string, FileState>;
TreeState Snapshot(const std::string& root);

}  // namespace road
