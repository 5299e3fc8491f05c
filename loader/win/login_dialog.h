// The login dialog the load command shows before the folder picker: the password typed twice.
#pragma once

#include <windows.h>

#include "secret_text.h"

// Runs the dialog modally; an accepted entry replaces `loginPassword`, "Salir" leaves it as it was. Always
// gives 0.
INT_PTR ShowLoginDialog(HWND parent, SecretText& loginPassword);
