// Claverix: makes passwords and appends them to text files beside the program.
#include <windows.h>

#include "generator_dialog.h"
#include "sleep_period.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // For the whole run: every step of a generation sleeps 1 ms when no message waits.
    FineSleepPeriod fineSleeps;
    return ShowGeneratorDialog();
}
