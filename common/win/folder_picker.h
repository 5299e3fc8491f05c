// The shell's browse-for-folder dialog, with the calling program's two-line prompt.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The last folder a pick returned (at most 2049 characters); never cleared. The loader appends its
// backslash here in place.
std::string& ChosenFolder();

// What a pick gave. `folder` is empty unless a folder was chosen; `unwritable` tells a folder that was chosen
// but whose path Windows-1252 cannot write (a path with '?' in it would name another folder), which the caller
// reports, from a pick that was cancelled or gave an item without a file-system path; `tooLong` likewise tells a
// folder whose path the walks could not search (FitsWalk), which no caller could use either.
struct FolderPick {
    std::string folder;
    bool unwritable = false;
    bool tooLong = false;  // chosen, but too long for the walks to search

    // What the caller tells the user of a folder that was chosen but cannot be used; empty otherwise.
    std::string_view Problem() const;
};

// Shows the dialog over `owner` with the prompt PickerPrompt(firstLine). A chosen folder keeps the form the
// shell gives it (a drive root keeps its trailing backslash, other folders have none) and is stored in
// ChosenFolder; nothing else changes ChosenFolder.
FolderPick PickFolder(HWND owner, std::string_view firstLine);

// COM on this thread as a single-threaded apartment, for as long as the owner lives: the browse dialog
// requires it (without it, folders of namespace extensions such as cloud or phone folders may not show).
// A program that picks folders holds one for its whole run.
class PickerApartment {
public:
    PickerApartment();
    ~PickerApartment();
    PickerApartment(const PickerApartment&) = delete;
    PickerApartment& operator=(const PickerApartment&) = delete;

private:
    bool initialised_ = false;
};
