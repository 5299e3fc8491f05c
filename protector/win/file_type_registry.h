// The .sclav association under the classes root. The roots are parameters so that tests can work on a
// scratch key tree instead of the user's real associations.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// The open command registered for the extension's class (extension with its dot), environment references
// expanded; empty when any step fails. Keys are opened for reading only: full access is refused to a
// standard user, who would then find nothing and re-register at every start.
std::string QueryOpenCommand(HKEY classesRoot, std::string_view extensionWithDot);

// True when the extension's (with its dot) open command is missing or only spaces.
bool FileTypeNeedsRegistration(HKEY classesRoot, std::string_view extensionWithDot);

// Creates or opens root\subkey (backslashes at its ends removed) and sets the value (empty name: the
// default value) as REG_SZ. Gives 1 when the value was written, 0 otherwise.
int SetRegistryString(HKEY root, std::string_view subkey, std::string_view valueName, std::string_view data);

enum class Registration { Registered, ExtensionHasDot, NotWritten };

// Writes the three keys of the extension (without dot) into the first root of `roots` that takes all
// three; for the program, HKEY_CLASSES_ROOT and then HKEY_CURRENT_USER\Software\Classes, which Windows merges
// into the classes root for this user. `programPath` is the protector's own file.
Registration RegisterFileType(const std::vector<HKEY>& roots, std::string_view extension, int iconIndex,
                              std::string_view programPath);

// At start-up: when the .sclav open command cannot be read, registers the type for the running program,
// tells the shell, and says how it went.
void EnsureFileTypeRegistered();
