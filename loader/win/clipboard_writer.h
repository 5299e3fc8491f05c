// The loader's only ways of touching the clipboard: replacing its content with one text, or emptying it.
#pragma once

#include <string_view>

#include "loader_commands.h"

// Replaces the clipboard's content with the text (up to its first zero byte): CF_TEXT exactly as given, in a
// movable zero-filled block of its length + 2, the same text as CF_UNICODETEXT for programs that read wide
// text, and the formats that keep a password out of clipboard history and cloud sync. While another program
// holds the clipboard it tries again for a short while, then gives up, telling whether the old content is
// still there (Unchanged) or was emptied on the way (Emptied).
ClipboardResult PutTextOnClipboard(std::string_view text1252);

// Empties the clipboard, with the same short patience: Done or Unchanged.
ClipboardResult EmptyTheClipboard();
