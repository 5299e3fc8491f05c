// The loader's fourteen system-wide hot keys, each identified by a global atom made for this run.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

using HotKeyAtoms = std::array<std::uint16_t, 14>;

// Makes the atoms and registers the hot keys on the window, in the table's order. A key another program
// holds is simply not registered; an atom that cannot be made leaves its key unregistered (0).
HotKeyAtoms RegisterHotKeys(HWND window);

// Unregisters the hot keys and deletes their atoms.
void ReleaseHotKeys(HWND window, HotKeyAtoms& atoms);
