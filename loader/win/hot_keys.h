// The loader's fourteen system-wide hot keys, each identified by a global atom made for this run, and the
// tracking that lets each act once per press.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

using HotKeyAtoms = std::array<std::uint16_t, 14>;

// Makes the atoms and registers the hot keys on the window, in the table's order, each with MOD_NOREPEAT. A
// key that cannot be registered (another program holds it) or whose atom cannot be made is left at 0.
HotKeyAtoms RegisterHotKeys(HWND window);

// The names ("ALT+R") of the keys RegisterHotKeys could not register, in the table's order.
std::vector<std::string_view> UnregisteredKeyNames(const HotKeyAtoms& atoms);

// Unregisters the hot keys and deletes their atoms.
void ReleaseHotKeys(HWND window, HotKeyAtoms& atoms);

// Lets a hot key act once per press. Windows sends no repeats of a key registered with MOD_NOREPEAT; Wine
// ignores the flag and sends the hot key again at the keyboard's repeat rate for as long as it is held. So a
// hot key that acted is held until its key is seen up: on a 10 ms timer of the window while any key is held,
// and whenever the window handles a message. Its messages meanwhile are repeats.
class HotKeyPresses {
public:
    static constexpr UINT_PTR TimerId = 0x4B59;

    // Whether the hot key (index in HotKeys) is a new press, not a repeat; a new press is held from now on.
    bool IsNewPress(HWND window, std::size_t index);
    // Lets go of the held keys that are up; stops the timer once none is held. Cheap when none is.
    void Watch(HWND window);

private:
    std::array<bool, 14> held_{};
    bool timing_ = false;
};
