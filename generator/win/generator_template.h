// The generator's dialog as it is created: its frame and its 21 controls, in order. Its fonts, icons and
// list items are the dialog's initialisation (generator_dialog.cpp).
#pragma once

#include "platform.h"

DialogTemplate GeneratorTemplate();
