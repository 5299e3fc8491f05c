// The protection run: two folder picks, the program password, the walk of the scanned folder and one
// .sclav file per accepted plain file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "secret_text.h"

struct ProtectionState {
    std::string sourceFolder;     // ends with a backslash once picked
    std::string targetFolder;     // ends with a backslash once picked
    SecretText programPassword;   // wiped by the writer once it has encoded it, and at the end of a run
    int foundCount = 0;
    int protectedCount = 0;
    int failedCount = 0;      // accepted files whose record could not be written
    bool running = false;     // a run is under way: "..." does not start another inside it
    bool exitRequested = false;  // "Salir" during a run: stop after the file being written
};

// The program's one run state.
ProtectionState& Protection();

// The file's lines joined without breaks (see PlainTextJoiner). Reading stops once the text is longer than
// `stopAbove`, so a huge log is not read in full. A file that cannot be opened reads as empty. The read
// blocks are wiped.
SecretText ReadPlainText(const std::string& path, std::size_t stopAbove);

// Walks the folder (ending with a backslash): its files first, then each subfolder depth-first, never into
// junctions or links. Writes into state.targetFolder and counts in state.
void ScanAndProtect(ProtectionState& state, const std::string& folder);

// The whole run started by "..." of the dialog.
void RunProtection(HWND dialog);
