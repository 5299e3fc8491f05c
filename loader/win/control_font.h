// Control fonts made from descriptions and kept, one per description, until the process ends.
#pragma once

#include <windows.h>

#include <string_view>

#include "font_cache.h"

using LoaderFontCache = FontCache<HFONT>;

// Gives the dialog's control the font described (face, size in points, and 0/1 for bold, italic, underline,
// strike-out), making it only the first time the description is asked for.
void SetControlFont(LoaderFontCache& cache, HWND dialog, int id, std::string_view face, int size, int bold,
                    int italic, int underline, int strikeOut);

// The font a description stands for: height -(size x dpi / 72) rounded, weight 700 or 400, TrueType preferred.
HFONT MakeDescribedFont(std::string_view description);
