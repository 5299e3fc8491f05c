// The registry values that associate a file extension with the protector.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view ProtectedExtension = "sclav";
inline constexpr int ProtectedIconIndex = 1;  // the second icon group of the program: resource 201

// The same text with each backslash doubled: C:\Apps\x.exe gives C:\\Apps\\x.exe.
std::string DoubleBackslashes(std::string_view text);

// The subkey without backslashes at its ends.
std::string TrimBackslashes(std::string_view subkey);

struct RegistryString {
    std::string subkey;  // under the classes root, as written (leading backslash included)
    std::string data;    // the key's default value
};

// The three default values for extension E (without dot): ".E" names the class "E-files", whose DefaultIcon
// is the doubled program path + "," + the icon index and whose open command is the doubled path + " %1".
std::vector<RegistryString> FileTypeStrings(std::string_view extension, std::string_view programPath, int iconIndex);
