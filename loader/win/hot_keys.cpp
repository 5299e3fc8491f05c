#include "hot_keys.h"

#include "loader_commands.h"
#include "loader_texts.h"
#include "win_text.h"

namespace {
bool IsDown(std::size_t index) { return (GetAsyncKeyState(static_cast<int>(HotKeys[index].virtualKey)) & 0x8000) != 0; }
}  // namespace

HotKeyAtoms RegisterHotKeys(HWND window) {
    HotKeyAtoms atoms{};
    for (std::size_t i = 0; i < HotKeys.size(); ++i) {
        // The time is read anew for each key, so the names differ from run to run (and from another copy).
        SYSTEMTIME now;
        GetLocalTime(&now);
        int seconds = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
        std::string name = std::string(HotKeys[i].atomPrefix) + TimeOfDayText(seconds, now.wMilliseconds);
        atoms[i] = GlobalAddAtomW(Wide(name).c_str());
        if (atoms[i] != 0 && !RegisterHotKey(window, atoms[i], AltModifier | MOD_NOREPEAT, HotKeys[i].virtualKey)) {
            GlobalDeleteAtom(atoms[i]);
            atoms[i] = 0;
        }
    }
    return atoms;
}

std::vector<std::string_view> UnregisteredKeyNames(const HotKeyAtoms& atoms) {
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        if (atoms[i] == 0) names.push_back(HotKeys[i].name);
    }
    return names;
}

void ReleaseHotKeys(HWND window, HotKeyAtoms& atoms) {
    for (std::uint16_t& atom : atoms) {
        if (atom == 0) continue;
        UnregisterHotKey(window, atom);
        GlobalDeleteAtom(atom);
        atom = 0;
    }
}

bool HotKeyPresses::IsNewPress(HWND window, std::size_t index) {
    // Held but up already: the key went up since the press that acted, unseen while the program was busy.
    if (held_[index] && IsDown(index)) return false;
    held_[index] = true;
    if (!timing_) timing_ = SetTimer(window, TimerId, 10, nullptr) != 0;
    return true;
}

void HotKeyPresses::Watch(HWND window) {
    bool anyHeld = false;
    for (std::size_t i = 0; i < held_.size(); ++i) {
        if (held_[i] && !IsDown(i)) held_[i] = false;
        anyHeld = anyHeld || held_[i];
    }
    if (!anyHeld && timing_) {
        KillTimer(window, TimerId);
        timing_ = false;
    }
}
