// The suite used as a whole, as its user goes: a password made with Claverix, protected by Sellomar with a
// program password, loaded by Portaclip with the same password and pasted from the clipboard, then the
// clipboard emptied with ALT+B. Each program is the real .exe in a folder of its own on drive T:, driven
// through its real dialogs, the real browse-for-folder dialog, real keys and the real clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "claverix_session.h"
#include "portaclip_session.h"
#include "protected_file.h"
#include "sellomar_session.h"
#include "tree_state.h"
#include "win_text.h"

namespace {

// The classes of the password's characters, in the order digits, letters, signs: "NNLLLS" for two digits,
// three letters and one sign; '?' for a character of no class.
std::string Classes(const std::string& password) {
    static constexpr std::string_view Signs = "_-#$&\xBF?\xA1!@";
    std::string classes;
    for (unsigned char c : password) {
        if (c >= '0' && c <= '9') classes += 'N';
        else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') classes += 'L';
        else if (Signs.find(static_cast<char>(c)) != std::string_view::npos) classes += 'S';
        else classes += '?';
    }
    std::sort(classes.begin(), classes.end(), [](char a, char b) {
        return std::string_view("NLS?").find(a) < std::string_view("NLS?").find(b);
    });
    return classes;
}

std::string Expected(int digits, int letters, int signs) {
    return std::string(digits, 'N') + std::string(letters, 'L') + std::string(signs, 'S');
}

// Claverix's folder holds Claverix.exe, le.txt and the password file: Sellomar finds le.txt and the
// password file as candidates, and le.txt is far longer than a password.
const std::string OnePasswordProtected = "Sellomar ha encontrado 2 ficheros ..\r\nde los cuales ha encriptado 1 ficheros ...";

// Makes the password in a file of its own, protects Claverix's folder into a fresh target, loads the target
// in Portaclip, double-clicks the file's line and empties the clipboard again. Gives the password pasted.
std::string TravelRoad(ClaverixSession& claverix, const PasswordOrder& order, const std::string& key,
                       const std::string& shotPrefix = {}) {
    auto shot = [&](std::string_view step) {
        return shotPrefix.empty() ? std::string() : e2e::ScreenshotPath(shotPrefix + std::string(step) + ".bmp");
    };
    claverix.MakePassword(order, shot("claverix"));
    const auto bytes = e2e::ReadFileBytes(claverix.InFolder(order.fileName));
    const auto password = JoinedPassword(bytes.value_or(""));
    if (!bytes || !password || password->empty()) {
        ADD_FAILURE() << order.fileName << " holds no password: " << bytes.value_or("(missing)");
        return {};
    }

    e2e::ScratchFolder target;
    sellomar_e2e::Session sellomar;
    EXPECT_EQ(sellomar.Protect(key, claverix.Folder(), target.Path(), shot("sellomar")), OnePasswordProtected);
    sellomar.Quit();
    // A step that broke off leaves nothing for the next one to work on.
    if (::testing::Test::HasFatalFailure()) return {};

    portaclip_e2e::Session portaclip;
    if (!portaclip.LoadWith(target.Path(), key, true)) return {};
    const std::string name = order.fileName.substr(0, order.fileName.rfind('.'));
    EXPECT_EQ(portaclip.ListedNames(), std::vector<std::string>{name});
    portaclip.PasteAndClear(0, *password, shot("portaclip"));
    return *password;
}

// Every file before is still there after: byte for byte the same and the same file (never replaced), but for
// the `growing` ones, which may only have had bytes added at their end. Files added are exactly `added`.
void ExpectNothingLost(const road::TreeState& before, const road::TreeState& after,
                       const std::set<std::string>& growing, const std::set<std::string>& added) {
    for (const auto& [path, old] : before) {
        const auto now = after.find(path);
        if (now == after.end()) {
            ADD_FAILURE() << path << " is gone";
            continue;
        }
        EXPECT_EQ(now->second.fileIndex, old.fileIndex) << path << " was replaced";
        if (growing.count(path)) {
            EXPECT_GT(now->second.bytes.size(), old.bytes.size()) << path << " did not grow";
            EXPECT_EQ(now->second.bytes.substr(0, old.bytes.size()), old.bytes) << path << " lost its old bytes";
        } else {
            // Wine shows a Linux file's status-change time as its creation time, so only an untouched file
            // keeps both times.
            EXPECT_EQ(now->second.bytes, old.bytes) << path << " was changed";
            EXPECT_EQ(CompareFileTime(&now->second.written, &old.written), 0) << path << " was written";
            EXPECT_EQ(CompareFileTime(&now->second.created, &old.created), 0) << path << " was made again";
        }
    }
    std::set<std::string> made;
    for (const auto& entry : after) {
        if (!before.count(entry.first)) made.insert(entry.first);
    }
    EXPECT_EQ(made, added);
}

}  // namespace

TEST(Road, BancoTxt_ThreeLinesProtectedLoadedAndPastedJoined) {
    START_CLAVERIX(claverix, WordList());
    const std::string pasted = TravelRoad(claverix, {"banco.txt", 12, 5, 4, 5, 3}, "Camino Real 7", "road_");
    EXPECT_EQ(Classes(pasted), Expected(4, 5, 3)) << pasted;
    // Five per line: the file held it as 5 + 5 + 2, the clipboard got it whole.
    const auto lines = PasswordLines(e2e::ReadFileBytes(claverix.InFolder("banco.txt")).value_or(""));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (std::vector<std::string>{pasted.substr(0, 5), pasted.substr(5, 5), pasted.substr(10)}));
}

TEST(Road, DictionaryWord_AccentedUpperCaseLetterSurvivesEveryStep) {
    // Of this list only murciélago has ten letters; in upper case it keeps its accent (É is 0xC9).
    START_CLAVERIX(claverix, CyclingWordList({"casa", "murci\xE9lago", "cami\xF3n", "sol"}));
    PasswordOrder order{"palabra.txt", 10};
    order.dictionary = true;
    order.upperCase = true;
    EXPECT_EQ(TravelRoad(claverix, order, "Contrase\xF1" "a de Ana", "road_dictionary_"), "MURCI\xC9LAGO");
    EXPECT_EQ(e2e::ReadFileBytes(claverix.InFolder("palabra.txt")), "MURCI\xC9LAGO\r\r\n");
}

// A folder that downloads and other programs write into may hold a file named like a system library; none may
// ever run inside the programs, along their whole road.
TEST(Road, LibrariesPlantedBesideThePrograms_NeverRun) {
    e2e::PlantedLibraries planted;
    START_CLAVERIX(claverix, WordList());
    EXPECT_EQ(Classes(TravelRoad(claverix, {"banco.txt", 12, 5, 4, 5, 3}, "plantado")), Expected(4, 5, 3));
    EXPECT_EQ(planted.Ran(), std::vector<std::string>{});
}

TEST(Road, LogFile_SignsAndSeveralLinesProtectedAndPasted) {
    START_CLAVERIX(claverix, WordList());
    EXPECT_EQ(Classes(TravelRoad(claverix, {"cuenta.log", 20, 7, 6, 8, 6}, "cuenta-2026")), Expected(6, 8, 6));
}

TEST(NothingLost, WholeRoad_UserFilesKeptGeneratorFileOnlyGrowsNoSclavReplaced) {
    START_CLAVERIX(claverix, WordList());
    e2e::ScratchFolder target;
    ASSERT_TRUE(target.Valid());
    const std::string key = "todo en su sitio";

    // What the user had before: an older password in banco.txt, plain files of every kind beside it (found or
    // not, protected or not), and in the target an earlier protection of notas, a damaged .sclav and a note.
    const std::string source = claverix.Folder();
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\banco.txt", "viejaClave1\r\r\n"));
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\notas.txt", "gimnasio 4321\r\n"));
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\libro.txt", std::string(300, 'L')));
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\foto.TXT", "no es candidato"));
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\LEEME", "sin extension"));
    ASSERT_TRUE(CreateDirectoryW(Wide(source + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\sub\\correo.log", "correo-2020\r\nsegunda\r\n"));
    ASSERT_TRUE(e2e::WriteFileBytes(source + "\\sub\\vacio.txt", ""));
    ASSERT_NO_FATAL_FAILURE(Protect(target / "notas.sclav", "otra clave", "antigua"));
    ASSERT_TRUE(e2e::WriteFileBytes(target / "roto.sclav", "no record"));
    ASSERT_TRUE(e2e::WriteFileBytes(target / "apuntes.txt", "el destino no se escanea"));
    const road::TreeState sourceBefore = road::Snapshot(source);
    const road::TreeState targetBefore = road::Snapshot(target.Path());

    ASSERT_NO_FATAL_FAILURE(claverix.MakePassword({"banco.txt", 12, 5, 4, 5, 3}));
    sellomar_e2e::Session sellomar;
    // Found: banco, notas, libro, le (txt) and correo, vacio in sub; protected: banco and correo. notas is
    // found but its .sclav is already there.
    EXPECT_EQ(sellomar.Protect(key, source, target.Path()),
              "Sellomar ha encontrado 6 ficheros ..\r\nde los cuales ha encriptado 2 ficheros ...");
    ASSERT_NO_FATAL_FAILURE(sellomar.Quit());
    const road::TreeState targetProtected = road::Snapshot(target.Path());

    portaclip_e2e::Session portaclip;
    ASSERT_TRUE(portaclip.LoadWith(target.Path(), key, true));
    // Only the files protected with this key, in the order the folder gives them.
    const std::vector<std::string> listed = portaclip.ListedNames();
    std::vector<std::string> names = listed;
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names, (std::vector<std::string>{"banco", "correo"}));
    const int bancoLine = static_cast<int>(std::find(listed.begin(), listed.end(), "banco") - listed.begin());
    const auto joined = JoinedPassword(e2e::ReadFileBytes(source + "\\banco.txt").value_or(""));
    ASSERT_TRUE(joined.has_value());
    ASSERT_EQ(joined->substr(0, 11), "viejaClave1");  // the old line and the new ones, as one password
    ASSERT_EQ(joined->size(), 23u);
    portaclip.PasteAndClear(bancoLine, *joined);

    ExpectNothingLost(sourceBefore, road::Snapshot(source), {"banco.txt"}, {});
    ExpectNothingLost(targetBefore, targetProtected, {}, {"banco.sclav", "correo.sclav"});
    // Loading reads and changes nothing.
    ExpectNothingLost(targetProtected, road::Snapshot(target.Path()), {}, {});
    EXPECT_EQ(ReadStoredPassword(target / "notas.sclav"), "antigua");
    EXPECT_EQ(ReadStoredPassword(target / "correo.sclav"), "correo-2020segunda");
}
