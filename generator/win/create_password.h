// What "Crear" does: reads the dialog, checks the input, and writes a composed password or a dictionary word
// to the password file, one confirmed line at a time.
#pragma once

void CreatePassword();
