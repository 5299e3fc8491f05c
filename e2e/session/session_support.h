// What the programs' end-to-end sessions share: starting a copy of a program, reading and answering its
// reports, the .sclav association in the registry, the memory probe and the screenshots. Failures are
// recorded as test failures.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver.h"
#include "temp_folder.h"

namespace e2e {

// Where the run's screenshots go (the build tree's screenshots folder, as Wine sees it).
std::string ScreenshotPath(std::string_view name);
// Saves what the screen shows, when a path is given.
void Shoot(const std::string& path);

// Copies the program built at the Linux path into the folder; the copy's path, or empty.
std::string CopyProgram(std::string_view linuxExe, const std::string& folder);

// While one lives, every program CopyProgram copies finds the test build's planted library beside it, under
// the names of system libraries that the programs, Wine or the shell load by name; each copy that a program
// loads leaves a mark ("shcore.dll in Sellomar.exe"). One at a time.
class PlantedLibraries {
public:
    PlantedLibraries();
    ~PlantedLibraries();
    PlantedLibraries(const PlantedLibraries&) = delete;
    PlantedLibraries& operator=(const PlantedLibraries&) = delete;

    void PlantBeside(const std::string& programFolder) const;
    // The marks left so far, sorted.
    std::vector<std::string> Ran() const { return FolderContent(marks_.Path()); }

private:
    TempFolder marks_;
};

// Checks that the box is one of the suite's reports: the title, a single button, no owner, an icon or none.
void ExpectReport(const MessageBoxView& box, std::string_view title, bool withIcon = false);
// The program's next message box, checked as a report, optionally shot, then answered: its text; nothing
// when no box came or it did not close.
std::optional<std::string> AnswerReport(DWORD pid, std::string_view title, const std::string& screenshot = {},
                                        Milliseconds timeout = DefaultTimeout);

// Types into the field as the user does. A password field hides its text from other processes, so its
// length tells when the program has taken every key.
bool TypeInto(HWND field, std::string_view text);
// True once the window's thread has handled everything sent to it before.
bool WaitIdle(HWND window);

// The default value of the key; nothing when it cannot be read.
std::optional<std::string> DefaultValue(HKEY root, const std::string& subkey);
// Whatever earlier tests of this prefix registered for .sclav, in the machine's classes and the user's.
void ForgetAssociation();

// CountInMemory with each count printed ("memory probe, <what> <n>: ..."); zeros, and a failure, when the
// process cannot be read.
std::vector<MemoryCount> ProbeMemory(DWORD pid, const std::vector<std::string>& texts, std::string_view what);
// No copy of the text, neither as bytes nor as UTF-16.
void ExpectNoCopy(const MemoryCount& count, std::string_view text);

}  // namespace e2e
