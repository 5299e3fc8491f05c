// Registering and releasing the loader's hot keys on a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include "hot_keys.h"
#include "loader_commands.h"
#include "win_text.h"

namespace {
class HiddenWindow {
public:
    HiddenWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    ~HiddenWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

std::string AtomName(ATOM atom) {
    wchar_t name[256] = {};
    UINT length = GlobalGetAtomNameW(atom, name, 256);
    return NarrowLossy(std::wstring(name, length));
}
}  // namespace

TEST(HotKeyRegistration, AtomsNamedByPrefixAndTimeHoldTheKeysUntilReleased) {
    HiddenWindow owner, other;
    HotKeyAtoms atoms = RegisterHotKeys(owner.get());
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        ASSERT_NE(atoms[i], 0) << i;
        std::string name = AtomName(atoms[i]);
        std::string prefix(HotKeys[i].atomPrefix);
        ASSERT_EQ(name.substr(0, prefix.size()), prefix) << name;
        std::string time = name.substr(prefix.size());
        ASSERT_GE(time.size(), 2u) << name;
        EXPECT_EQ(time[0], ' ') << name;
        EXPECT_EQ(time.find_first_not_of("0123456789.", 1), std::string::npos) << name;
        EXPECT_NE(time.back(), '.') << name;
        // The key is taken: another window cannot have it.
        EXPECT_FALSE(RegisterHotKey(other.get(), 1, MOD_ALT, HotKeys[i].virtualKey)) << name;
    }
    HotKeyAtoms kept = atoms;
    ReleaseHotKeys(owner.get(), atoms);
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        EXPECT_EQ(atoms[i], 0);
        EXPECT_EQ(AtomName(kept[i]), "") << i;
        EXPECT_TRUE(RegisterHotKey(other.get(), 1, MOD_ALT, HotKeys[i].virtualKey)) << i;
        UnregisterHotKey(other.get(), 1);
    }
}
