#include "hot_keys.h"

#include "loader_commands.h"
#include "loader_texts.h"
#include "win_text.h"

HotKeyAtoms RegisterHotKeys(HWND window) {
    HotKeyAtoms atoms{};
    for (std::size_t i = 0; i < HotKeys.size(); ++i) {
        // The time is read anew for each key, so the names differ from run to run (and from another copy).
        SYSTEMTIME now;
        GetLocalTime(&now);
        int seconds = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
        std::string name = std::string(HotKeys[i].atomPrefix) + TimeOfDayText(seconds, now.wMilliseconds);
        atoms[i] = GlobalAddAtomW(Wide(name).c_str());
        if (atoms[i] != 0) RegisterHotKey(window, atoms[i], AltModifier, HotKeys[i].virtualKey);
    }
    return atoms;
}

void ReleaseHotKeys(HWND window, HotKeyAtoms& atoms) {
    for (std::uint16_t& atom : atoms) {
        if (atom == 0) continue;
        UnregisterHotKey(window, atom);
        GlobalDeleteAtom(atom);
        atom = 0;
    }
}
