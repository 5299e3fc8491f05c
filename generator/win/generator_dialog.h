// The generator's one modal dialog.
#pragma once

int ShowGeneratorDialog();
