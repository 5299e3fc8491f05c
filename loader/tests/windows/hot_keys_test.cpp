// Registering and releasing the loader's hot keys on a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include "hidden_window.h"
#include "hot_keys.h"
#include "win_text.h"

namespace {
std::string AtomName(ATOM atom) {
    wchar_t name[256] = {};
    UINT length = GlobalGetAtomNameW(atom, name, 256);
    return NarrowLossy(std::wstring(name, length));
}
}  // namespace

TEST(HotKeyRegistration, AtomsNamedByPrefixAndTimeHoldTheKeysUntilReleased) {
    const std::string prefixes[] = {"My Hotkey2",    "My HotkeyDel",  "My Hotkeynf",   "My Hotkeyl234567890",
                                    "My Hotkey2rn",  "My_Hotkeypos1", "My_Hotkeypos2", "My_Hotkeypos3",
                                    "My_Hotkeypos4", "My_Hotkeypos5", "My_Hotkeypos6", "My_Hotkeypos7",
                                    "My_Hotkeypos8", "My_Hotkeypos9"};
    const UINT keys[] = {'P', 'B', 'N', 'L', 'R', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    HiddenWindow owner, other;
    HotKeyAtoms atoms = RegisterHotKeys(owner.get());
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        ASSERT_NE(atoms[i], 0) << i;
        std::string name = AtomName(atoms[i]);
        const std::string& prefix = prefixes[i];
        ASSERT_EQ(name.substr(0, prefix.size()), prefix) << name;
        std::string time = name.substr(prefix.size());
        ASSERT_GE(time.size(), 2u) << name;
        EXPECT_EQ(time[0], ' ') << name;
        EXPECT_EQ(time.find_first_not_of("0123456789.", 1), std::string::npos) << name;
        EXPECT_NE(time.back(), '.') << name;
        // The key is taken: another window cannot have it.
        EXPECT_FALSE(RegisterHotKey(other.get(), 1, MOD_ALT, keys[i])) << name;
    }
    HotKeyAtoms kept = atoms;
    ReleaseHotKeys(owner.get(), atoms);
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        EXPECT_EQ(atoms[i], 0);
        EXPECT_EQ(AtomName(kept[i]), "") << i;
        EXPECT_TRUE(RegisterHotKey(other.get(), 1, MOD_ALT, keys[i])) << i;
        UnregisterHotKey(other.get(), 1);
    }
}
