// Small services every program of the suite uses: the message pump of long loops, file existence, message
// boxes, fonts and modal dialogs from in-memory templates.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "dialog_template.h"
#include "unique.h"

// The dialog whose keyboard handling PumpOneMessage offers messages to first.
void SetPumpDialog(HWND dialog);

// Takes at most one waiting message and handles it; pauses 1 ms when none waits (MillisecondPause). Lets long loops keep the
// dialog responsive (and lets its callback run again inside them).
void PumpOneMessage();

// True when the file system reports attributes for the path (an existing file or folder).
bool PathExists(std::string_view path1252);

// A message box with no owner window, so the dialog beneath stays enabled.
int ShowMessage(std::string_view text1252, std::string_view title1252, UINT style = MB_OK);

// The screen's vertical dots per inch, read once per process (the program is system-DPI aware).
int ScreenDpiY();

struct FontSpec {
    std::string face;  // Windows-1252
    int points = 8;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    BYTE outputPrecision = OUT_DEFAULT_PRECIS;
    bool roundedHeight = false;  // MulDiv rounding instead of truncation
};

// Height -(points x dpi / 72), truncated toward zero (or rounded, as MulDiv does); character set 0.
UniqueFont MakeFont(const FontSpec& wanted);

void AssignFont(HWND dialog, int id, HFONT font, bool redraw = false);

// Runs a modal dialog built from the template; returns the value EndDialog was given, or -1.
INT_PTR RunModalDialog(const DialogTemplate& dialog, HWND owner, DLGPROC proc, LPARAM param = 0);

// Sets the big (32 x 32) and small (16 x 16) icons of a window from an icon resource of the program.
void SetWindowIcons(HWND window, int resourceId);
