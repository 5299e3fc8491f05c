// The loader's always-on-top main dialog: the list of loaded files, the check box for subfolders, the load,
// reset and help buttons, the double click and the hot keys.
#pragma once

// Runs the dialog until Esc ends it.
int ShowMainDialog();
