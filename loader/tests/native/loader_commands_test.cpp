// The double click and the hot-key commands over the loader's state, with the effects recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader_commands.h"

namespace {

struct Box {
    std::string text, title;
    unsigned style;
    bool operator==(const Box&) const = default;
};

class Recorder : public LoaderEffects {
public:
    std::vector<std::string> clipboard;  // every text put, in order; "<empty>" for an emptying
    std::vector<Box> boxes;
    std::vector<bool> windowShown;
    ClipboardResult result = ClipboardResult::Done;  // what every clipboard call gives

    ClipboardResult PutText(std::string_view text) override {
        clipboard.emplace_back(text);
        return result;
    }
    ClipboardResult EmptyClipboard() override {
        clipboard.emplace_back("<empty>");
        return result == ClipboardResult::Done ? result : ClipboardResult::Unchanged;
    }
    void Show(std::string_view text, std::string_view title, unsigned style) override {
        boxes.push_back({std::string(text), std::string(title), style});
    }
    void ShowWindow(bool shown) override { windowShown.push_back(shown); }
};

const HotKeyDefinition& Key(unsigned virtualKey) {
    for (const HotKeyDefinition& key : HotKeys) {
        if (key.virtualKey == virtualKey) return key;
    }
    throw std::logic_error("no such hot key");
}

LoaderState Loaded(std::initializer_list<std::pair<const char*, const char*>> files) {
    LoaderState state;
    for (auto [name, password] : files) state.tables.Add(name, password);
    return state;
}

}  // namespace

TEST(HotKeys, TableInRegistrationOrderWithAltAndDistinctKeys) {
    const char* prefixes[] = {"My Hotkey2",    "My HotkeyDel",  "My Hotkeynf",   "My Hotkeyl234567890",
                              "My Hotkey2rn",  "My_Hotkeypos1", "My_Hotkeypos2", "My_Hotkeypos3",
                              "My_Hotkeypos4", "My_Hotkeypos5", "My_Hotkeypos6", "My_Hotkeypos7",
                              "My_Hotkeypos8", "My_Hotkeypos9"};
    const char* names[] = {"ALT+P", "ALT+B", "ALT+N", "ALT+L", "ALT+R", "ALT+1", "ALT+2",
                           "ALT+3", "ALT+4", "ALT+5", "ALT+6", "ALT+7", "ALT+8", "ALT+9"};
    unsigned keys[] = {0x50, 0x42, 0x4E, 0x4C, 0x52, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39};
    int positions[] = {0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (std::size_t i = 0; i < HotKeys.size(); ++i) {
        EXPECT_EQ(HotKeys[i].atomPrefix, prefixes[i]) << i;
        EXPECT_EQ(HotKeys[i].name, names[i]) << i;
        EXPECT_EQ(HotKeys[i].virtualKey, keys[i]) << i;
        EXPECT_EQ(HotKeys[i].position, positions[i]) << i;
    }
    EXPECT_EQ(AltModifier, 1u);
}

TEST(HotKeys, MatchFindsTheAtomAndIgnoresZero) {
    std::array<std::uint16_t, 14> atoms{};
    for (std::size_t i = 0; i < atoms.size(); ++i) atoms[i] = static_cast<std::uint16_t>(0xC000 + i);
    for (std::size_t i = 0; i < atoms.size(); ++i) EXPECT_EQ(MatchHotKey(atoms, atoms[i]), i);
    EXPECT_FALSE(MatchHotKey(atoms, 0xBFFF).has_value());
    // Were all atoms equal, the first in the order ALT+1..9, L, N, R, P, B matches; an atom that could not be
    // made (0) identifies nothing, even an identifier 0.
    atoms.fill(0xC000);
    for (std::size_t index : {5, 6, 7, 8, 9, 10, 11, 12, 13, 3, 2, 4, 0, 1}) {
        EXPECT_EQ(MatchHotKey(atoms, 0xC000), index);
        atoms[index] = 0;
    }
    EXPECT_FALSE(MatchHotKey(atoms, 0xC000).has_value());
    EXPECT_FALSE(MatchHotKey(atoms, 0).has_value());
}

TEST(LoaderCommands, BeforeAnyDoubleClickCommandsUseLineZero) {
    LoaderState state = Loaded({{"banco", "clave1"}, {"correo", "otra"}});
    Recorder effects;
    for (char key : {'R', 'N'}) RunHotKey(state, Key(key), effects);
    EXPECT_EQ(effects.clipboard, (std::vector<std::string>{"clave1", "banco"}));
    EXPECT_EQ(effects.boxes, (std::vector<Box>{{"El dato de fichero, ya esta en Clipboard ...", "Recalcado ...", 0},
                                               {"El nombre de fichero, ya esta en Clipboard ...", "...", 0}}));
}

TEST(LoaderCommands, DoubleClickChoosesTheLineForLaterHotKeys) {
    LoaderState state = Loaded({{"a", "pa"}, {"b", "pb"}, {"c", "pc"}, {"d", "pd"}, {"e", "pe"}});
    Recorder effects;
    ASSERT_TRUE(RunDoubleClick(state, 4, "005 - e", effects));
    EXPECT_EQ(effects.clipboard, (std::vector<std::string>{"pe"}));
    EXPECT_TRUE(effects.boxes.empty());
    EXPECT_EQ(state.tables.Mark(5), "005");
    RunHotKey(state, Key('R'), effects);
    EXPECT_EQ(effects.clipboard.back(), "pe");
    RunHotKey(state, Key('L'), effects);
    EXPECT_EQ(effects.boxes.back(), (Box{"El n\xBA de caracteres del password es :\r\n2 digitos ...", "...", 0}));
}

TEST(LoaderCommands, DoubleClickTwiceUnmarksAndCopiesBothTimes) {
    LoaderState state = Loaded({{"banco", "secreto"}});
    Recorder effects;
    RunDoubleClick(state, 0, "001 - banco", effects);
    RunDoubleClick(state, 0, "001 - banco", effects);
    EXPECT_EQ(state.tables.Mark(1), "");
    EXPECT_EQ(effects.clipboard, (std::vector<std::string>{"secreto", "secreto"}));
}

TEST(LoaderCommands, DoubleClickWithoutLineOrSlotChangesNothing) {
    LoaderState state = Loaded({{"banco", "secreto"}});
    state.currentLine = 0;
    Recorder effects;
    EXPECT_FALSE(RunDoubleClick(state, -1, "", effects));
    EXPECT_FALSE(RunDoubleClick(state, 500, "501 - x", effects));
    EXPECT_TRUE(effects.clipboard.empty());
    EXPECT_EQ(state.currentLine, 0);
    EXPECT_EQ(state.tables.Mark(1), "");
}

TEST(LoaderCommands, CharacterKeysCopyOneCharacterOrNothing) {
    LoaderState state = Loaded({{"x", "a\xF1"}});
    Recorder effects;
    for (char key : {'1', '2', '3', '9'}) RunHotKey(state, Key(key), effects);
    EXPECT_EQ(effects.clipboard, (std::vector<std::string>{"a", "\xF1", "", ""}));
    EXPECT_TRUE(effects.boxes.empty());
}

TEST(LoaderCommands, EmptySlotGivesEmptyTextsAndZeroLength) {
    LoaderState state;  // nothing loaded
    Recorder effects;
    for (char key : {'R', 'N', 'L'}) RunHotKey(state, Key(key), effects);
    EXPECT_EQ(effects.clipboard, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(effects.boxes.back(), (Box{"El n\xBA de caracteres del password es :\r\n0 digitos ...", "...", 0}));
}

TEST(LoaderCommands, EmptyClipboardAndToggleWindow) {
    LoaderState state;
    Recorder effects;
    RunHotKey(state, Key('B'), effects);
    EXPECT_EQ(effects.clipboard, (std::vector<std::string>{"<empty>"}));
    EXPECT_EQ(effects.boxes, (std::vector<Box>{{"Clipboard Borrado ..", "...", 0}}));
    RunHotKey(state, Key('P'), effects);
    EXPECT_FALSE(state.dialogVisible);
    RunHotKey(state, Key('P'), effects);
    EXPECT_TRUE(state.dialogVisible);
    EXPECT_EQ(effects.windowShown, (std::vector<bool>{false, true}));
}

TEST(LoaderCommands, AHeldClipboardIsSaidWithTheKeysTitleAndNoLineIsMarked) {
    LoaderState state = Loaded({{"banco", "secreto"}, {"foro", "f0r0"}});
    state.tables.SetMark(2, "002");
    Recorder effects;
    effects.result = ClipboardResult::Unchanged;
    for (char key : {'R', 'N', '3', 'B'}) RunHotKey(state, Key(key), effects);
    EXPECT_TRUE(RunDoubleClick(state, 0, "001 - banco", effects));
    effects.result = ClipboardResult::Emptied;
    EXPECT_TRUE(RunDoubleClick(state, 1, "002 - foro", effects));
    const std::string held = " en el Clipboard: otro programa lo esta usando.\r\nEl Clipboard no ha cambiado.";
    EXPECT_EQ(effects.boxes,
              (std::vector<Box>{
                  {"No se ha podido poner el dato de fichero" + held, "Recalcado ...", 0},
                  {"No se ha podido poner el nombre de fichero" + held, "...", 0},
                  {"No se ha podido poner el caracter 3 del password" + held, "...", 0},
                  {"No se ha podido borrar el Clipboard: otro programa lo esta usando.\r\nEl Clipboard no ha cambiado.",
                   "...", 0},
                  {"No se ha podido poner el dato de fichero" + held, "...", 0},
                  {"No se ha podido poner el dato de fichero en el Clipboard: otro programa lo esta usando.\r\n"
                   "El Clipboard se ha quedado vacio.",
                   "...", 0}}));
    // Not copied: the first line stays unmarked, the second keeps its mark; the double click still chose it.
    EXPECT_EQ(state.tables.Mark(1), "");
    EXPECT_EQ(state.tables.Mark(2), "002");
    EXPECT_EQ(state.currentLine, 1);
}

TEST(LoaderCommands, KeysMatchTrimmedAndCaseSensitive) {
    struct Case {
        const char* stored;
        const char* login;
        bool match;
    } cases[] = {
        {"clave", "clave", true},   {"clave ", "clave", true}, {"clave", "  clave", true},
        {"Clave", "clave", false},  {"", "", true},            {"", "   ", true},
        {"clave", "", false},       {"", "clave", false},      {"cla ve", "clave", false},
        {"contrase\xF1" "a", "contrase\xD1" "a", false},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyMatches(c.stored, c.login), c.match) << c.stored << "|" << c.login;
}

TEST(LoaderCommands, SpaceToggleTouchesOnlyASelectedLine) {
    EXPECT_EQ(ToggledCheckValue(0, 0), 1);
    EXPECT_EQ(ToggledCheckValue(3, 1), 0);
    EXPECT_FALSE(ToggledCheckValue(-1, -1).has_value());
}
