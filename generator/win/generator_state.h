// Program-wide state of the generator, shared by its dialog and by CreatePassword. Touched on the program's
// one thread only; the dialog's callback runs again inside a generation, since the long loops pump messages.
#pragma once

#include <windows.h>

#include <string>

#include "composition.h"
#include "random_source.h"

// Control ids of the generator's dialog.
enum GeneratorControl {
    TotalLabel = 1001, PerLineLabel = 1002, DigitsLabel = 1003, LettersLabel = 1004, SignsLabel = 1019,
    TotalList = 1005, PerLineList = 1006, DigitsList = 1007, LettersList = 1008, SignsList = 1020,
    CaseFrame = 1009, LowerOption = 1010, UpperOption = 1011, MixedOption = 1012, HexCheck = 1013,
    CreateButton = 1014, ResetButton = 1018, ExitButton = 1015, FileNameBox = 1016, DictionaryCheck = 1021,
    FileNameLabel = 1017,
};

extern HWND GeneratorDialog;
// Ends with a backslash; empty when the program's folder cannot be used (too long for its 255-byte
// buffer, or not expressible in Windows-1252): nothing is then written or read beside the program.
extern std::string ProgramFolder;
extern GeneratorModes Modes;
extern RandomSource Random;
extern CharacterTables Tables;

// Set by "Salir" (or a system close) during a generation: the run stops and writes nothing more.
extern bool ExitRequested;

TimeOfDay LocalTimeOfDay();
