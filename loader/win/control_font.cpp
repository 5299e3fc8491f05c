#include "control_font.h"

#include "platform.h"

HFONT MakeDescribedFont(std::string_view description) {
    auto fields = ParseFontDescription(description);
    if (!fields) return nullptr;
    FontSpec wanted;
    wanted.face = fields->face;
    wanted.points = fields->size;
    wanted.weight = fields->bold != 0 ? FW_BOLD : FW_NORMAL;
    wanted.italic = fields->italic != 0;
    wanted.underline = fields->underline != 0;
    wanted.strikeOut = fields->strikeOut != 0;
    wanted.outputPrecision = OUT_TT_PRECIS;
    wanted.roundedHeight = true;
    // Cached fonts stay for the whole run: controls may still use them while the dialog goes away.
    return MakeFont(wanted).release();
}

void SetControlFont(LoaderFontCache& cache, HWND dialog, int id, std::string_view face, int size, int bold,
                    int italic, int underline, int strikeOut) {
    std::string description = FontDescription({std::string(face), size, bold, italic, underline, strikeOut});
    std::optional<HFONT> font = cache.Find(description);
    if (!font) {
        font = MakeDescribedFont(description);
        cache.Add(description, *font);
    }
    AssignFont(dialog, id, *font, true);
}
