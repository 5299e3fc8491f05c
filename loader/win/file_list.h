// The main dialog's owner-drawn file list: its replacement window procedure, which draws the lines, toggles
// a line's check value on the space bar and filters mouse moves.
#pragma once

#include <windows.h>

#include "entry_tables.h"

// Puts ListProc in front of the list's own procedure; the marks of double-clicked lines come from `tables`.
void InstallListProc(HWND list, const EntryTables& tables);
// Gives the list its own procedure back (at dialog destruction).
void RemoveListProc(HWND list);

// Seeds the random colours of marked lines.
void SeedLineColours(unsigned seed);

// The list's window procedure once installed. Also called by the main dialog with the list's draw requests,
// which the system sends to the dialog.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
