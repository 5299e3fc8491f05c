// SetControlFont and its cache on a real control.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "control_font.h"
#include "hidden_window.h"
#include "win_text.h"

namespace {
// A hidden window with the lists 130 and 131.
class HiddenParent : public HiddenWindow {
public:
    HiddenParent() {
        for (int id : {130, 131}) {
            CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 50, 50, get(), reinterpret_cast<HMENU>(id),
                            GetModuleHandleW(nullptr), nullptr);
        }
    }
    HFONT FontOf(int id) const { return reinterpret_cast<HFONT>(SendDlgItemMessageW(get(), id, WM_GETFONT, 0, 0)); }
};
}  // namespace

TEST(ControlFont, MadeOnceAndSharedByDescription) {
    HiddenParent parent;
    LoaderFontCache cache;
    SetControlFont(cache, parent.get(), 130, "Tahoma", 9, 1, 0, 1, 0);
    SetControlFont(cache, parent.get(), 131, "TAHOMA", 9, 1, 0, 1, 0);
    EXPECT_EQ(cache.Size(), 1u);
    HFONT font = parent.FontOf(130);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(parent.FontOf(131), font);
    SetControlFont(cache, parent.get(), 131, "Tahoma", 10, 1, 0, 1, 0);
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_NE(parent.FontOf(131), font);
}

TEST(ControlFont, DescribedFontHasTheAskedMetrics) {
    // Height -(points x dots per inch / 72), rounded: 9 points are 12 pixels at 96 dpi, 12.5 -> 13 at 100.
    const std::map<int, LONG> nineAndTwelvePoints[] = {{{72, -9}, {96, -12}, {100, -13}, {120, -15}, {144, -18}},
                                                       {{72, -12}, {96, -16}, {100, -17}, {120, -20}, {144, -24}}};
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(nineAndTwelvePoints[0].count(dpi), 1u) << dpi << " dpi";

    HFONT font = MakeDescribedFont("Tahoma,9,1,0,1,0");
    ASSERT_NE(font, nullptr);
    LOGFONTW described{};
    ASSERT_NE(GetObjectW(font, sizeof described, &described), 0);
    EXPECT_EQ(described.lfHeight, nineAndTwelvePoints[0].at(dpi));
    EXPECT_EQ(described.lfWeight, FW_BOLD);
    EXPECT_EQ(described.lfUnderline, 1);
    EXPECT_EQ(described.lfItalic, 0);
    EXPECT_EQ(described.lfOutPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(NarrowLossy(described.lfFaceName), "Tahoma");
    DeleteObject(font);

    HFONT plain = MakeDescribedFont("Arial,12,0,1,0,1");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(GetObjectW(plain, sizeof described, &described), 0);
    EXPECT_EQ(described.lfHeight, nineAndTwelvePoints[1].at(dpi));
    EXPECT_EQ(described.lfWeight, FW_NORMAL);
    EXPECT_EQ(described.lfItalic, 1);
    EXPECT_EQ(described.lfStrikeOut, 1);
    DeleteObject(plain);

    EXPECT_EQ(MakeDescribedFont("Tahoma,9"), nullptr);
}
