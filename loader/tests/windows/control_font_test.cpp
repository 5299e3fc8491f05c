// SetControlFont and its cache on a real control.
#include <gtest/gtest.h>

#include <windows.h>

#include "control_font.h"
#include "platform.h"
#include "win_text.h"

namespace {
class HiddenParent {
public:
    HiddenParent()
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {
        for (int id : {130, 131}) {
            CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 50, 50, window_, reinterpret_cast<HMENU>(id),
                            GetModuleHandleW(nullptr), nullptr);
        }
    }
    ~HiddenParent() { DestroyWindow(window_); }
    HWND get() const { return window_; }
    HFONT FontOf(int id) const {
        return reinterpret_cast<HFONT>(SendDlgItemMessageW(window_, id, WM_GETFONT, 0, 0));
    }

private:
    HWND window_;
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
    HFONT font = MakeDescribedFont("Tahoma,9,1,0,1,0");
    ASSERT_NE(font, nullptr);
    LOGFONTW described{};
    ASSERT_NE(GetObjectW(font, sizeof described, &described), 0);
    EXPECT_EQ(described.lfHeight, -MulDiv(9, ScreenDpiY(), 72));
    EXPECT_EQ(described.lfWeight, FW_BOLD);
    EXPECT_EQ(described.lfUnderline, 1);
    EXPECT_EQ(described.lfItalic, 0);
    EXPECT_EQ(described.lfOutPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(NarrowLossy(described.lfFaceName), "Tahoma");
    DeleteObject(font);

    HFONT plain = MakeDescribedFont("Arial,12,0,1,0,1");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(GetObjectW(plain, sizeof described, &described), 0);
    EXPECT_EQ(described.lfWeight, FW_NORMAL);
    EXPECT_EQ(described.lfItalic, 1);
    EXPECT_EQ(described.lfStrikeOut, 1);
    DeleteObject(plain);

    EXPECT_EQ(MakeDescribedFont("Tahoma,9"), nullptr);
}
