// Windows' own libraries that bring further libraries in with them (shell32, ole32) are loaded at run time,
// from the system folder only. A static import is resolved before the program's first statement, so a
// library of the same name as one of those further ones, planted in the program's folder (Downloads, a
// stick), could be loaded and run there before anything could stop it.
#pragma once

#include <windows.h>

// Every later load by name in this process searches the system folder only, never the program's folder nor
// the current one. The first statement of each program's entry.
inline void LoadLibrariesFromSystemFolderOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

// The function `name` of the system library `library`, loaded from the system folder and kept for the rest
// of the run; nullptr when either is missing. Declared with the platform's own declaration:
// SystemFunction<decltype(SHChangeNotify)>(L"shell32.dll", "SHChangeNotify").
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
