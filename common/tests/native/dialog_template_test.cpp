// The in-memory dialog template, byte for byte.
#include <gtest/gtest.h>

#include "dialog_template.h"

namespace {

std::uint16_t WordAt(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::uint32_t DwordAt(const std::vector<unsigned char>& b, std::size_t at) {
    return WordAt(b, at) | (std::uint32_t{WordAt(b, at + 2)} << 16);
}
// A zero-terminated UTF-16 text at `at`; moves `at` past it.
std::u16string TextAt(const std::vector<unsigned char>& b, std::size_t& at) {
    std::u16string text;
    for (std::uint16_t unit; (unit = WordAt(b, at)) != 0; at += 2) text.push_back(unit);
    at += 2;
    return text;
}

}  // namespace

TEST(DialogTemplate, HeaderCarriesFrameAndBoldFont) {
    DialogFrame frame;
    frame.caption = "Protege tus contrase\xF1" "as ...";
    frame.style = 0x80C80000;  // popup, caption, modal frame
    frame.x = 70;
    frame.y = 70;
    frame.cx = 201;
    frame.cy = 121;
    std::vector<unsigned char> b = DialogTemplate(frame).Build();

    EXPECT_EQ(WordAt(b, 0), 1);
    EXPECT_EQ(WordAt(b, 2), 0xFFFF);
    EXPECT_EQ(DwordAt(b, 8), 0u);                        // extended style
    EXPECT_EQ(DwordAt(b, 12), 0x80C80040u);             // DS_SETFONT (0x40) always
    EXPECT_EQ(WordAt(b, 16), 0);                         // no controls
    EXPECT_EQ(WordAt(b, 18), 70);
    EXPECT_EQ(WordAt(b, 22), 201);
    EXPECT_EQ(WordAt(b, 24), 121);
    EXPECT_EQ(WordAt(b, 26), 0);  // menu
    EXPECT_EQ(WordAt(b, 28), 0);  // class
    std::size_t at = 30;
    EXPECT_EQ(TextAt(b, at), u"Protege tus contrase\u00F1as ...");
    EXPECT_EQ(WordAt(b, at), 8);        // points
    EXPECT_EQ(WordAt(b, at + 2), 700);  // weight
    EXPECT_EQ(b.at(at + 4), 0);         // italic
    EXPECT_EQ(b.at(at + 5), 0);         // charset
    at += 6;
    EXPECT_EQ(TextAt(b, at), u"MS Sans Serif");
    EXPECT_EQ(at, b.size());
}

TEST(DialogTemplate, ItemsAreDwordAlignedAndNamedByClassOrdinal) {
    DialogFrame frame;
    frame.caption = "ab";  // an odd text length, so the first item needs padding
    DialogTemplate dialog(frame);
    dialog.Add({1004, ControlClass::Button, "...", 0x50010000, 0, 5, 55, 50, 15});
    dialog.Add({1002, ControlClass::Edit, "", 0x50010020, 0x200, 5, 20, 175, 13});
    std::vector<unsigned char> b = dialog.Build();
    EXPECT_EQ(WordAt(b, 16), 2);

    std::size_t at = 30;
    TextAt(b, at);  // caption
    at += 6;
    TextAt(b, at);  // face
    std::size_t expectedIds[] = {1004, 1002};
    std::uint16_t expectedClass[] = {0x0080, 0x0081};
    std::u16string expectedText[] = {u"...", u""};
    for (int i = 0; i < 2; ++i) {
        while (at % 4 != 0) {
            EXPECT_EQ(b.at(at), 0);
            ++at;
        }
        EXPECT_EQ(DwordAt(b, at), 0u);  // help id
        EXPECT_EQ(DwordAt(b, at + 12 + 8), expectedIds[i]);
        EXPECT_EQ(WordAt(b, at + 24), 0xFFFF);
        EXPECT_EQ(WordAt(b, at + 26), expectedClass[i]);
        at += 28;
        EXPECT_EQ(TextAt(b, at), expectedText[i]);
        EXPECT_EQ(WordAt(b, at), 0);  // creation data
        at += 2;
    }
    EXPECT_EQ(at, b.size());
    // Second item: style, extended style and geometry in place.
    std::size_t second = b.size() - (28 + 2 + 2);
    EXPECT_EQ(DwordAt(b, second + 4), 0x200u);
    EXPECT_EQ(DwordAt(b, second + 8), 0x50010020u);
    EXPECT_EQ(WordAt(b, second + 16), 175);
}
