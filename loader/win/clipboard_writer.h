// The loader's only ways of touching the clipboard: replacing its content with one text, or emptying it.
#pragma once

#include <string_view>

// Replaces the clipboard's content with the text (up to its first zero byte): CF_TEXT exactly as given, in a
// movable zero-filled block of its length + 2, the same text as CF_UNICODETEXT for programs that read wide
// text, and the formats that keep a password out of clipboard history and cloud sync. While another program
// holds the clipboard it tries again for a short while, then gives up quietly, leaving the old content.
// Gives true when the text was set.
bool PutTextOnClipboard(std::string_view text1252);

// Empties the clipboard, with the same short patience. Gives true when it was emptied.
bool EmptyTheClipboard();
