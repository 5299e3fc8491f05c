// The folder walk and the writing of .sclav files, on temporary folders.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "protected_file.h"
#include "protection_run.h"
#include "temp_folder.h"
#include "unique.h"
#include "win_text.h"

namespace {

// A run over `source` into `target` with the given program password, as RunProtection starts it.
ProtectionState ScanInto(const std::string& source, const std::string& target, const std::string& password = "clave123") {
    ProtectionState state;
    state.sourceFolder = source;
    state.targetFolder = target;
    state.programPassword = password;
    ScanAndProtect(state, source);
    return state;
}

// What a run counted: found, protected, failed.
std::vector<int> Counted(const ProtectionState& state) {
    return {state.foundCount, state.protectedCount, state.failedCount};
}

// Every plain file's bytes, to prove that a run changed none of them.
std::map<std::string, std::string> Snapshot(const TempFolder& folder, std::initializer_list<const char*> names) {
    std::map<std::string, std::string> bytes;
    for (const char* name : names) bytes[name] = ReadWholeFile(folder / name);
    return bytes;
}

// A message-only window that calls `onApp` when the WM_APP posted to it is dispatched: the reader's pump
// takes it while the first plain file is read.
class PostedDuringTheRead {
public:
    explicit PostedDuringTheRead(void (*onApp)()) {
        handler = onApp;
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (window_ == nullptr) return;
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_APP) handler();
            return DefWindowProcW(w, m, wp, lp);
        }));
        posted_ = PostMessageW(window_, WM_APP, 0, 0) != FALSE;
    }
    ~PostedDuringTheRead() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    bool Posted() const { return posted_; }

private:
    static inline void (*handler)() = nullptr;
    HWND window_ = nullptr;
    bool posted_ = false;
};

// Each run scans a folder of its own into another.
class ProtectionRun : public ::testing::Test {
protected:
    TempFolder source, target;
};

}  // namespace

TEST_F(ProtectionRun, ScanExample_FoundAndProtectedThenNothingNew) {
    WriteWholeFile(source / "clave.txt", "Abc123$%xyz9");
    WriteWholeFile(source / "notas.log", "0123456789\r\nabcdefghijklmno\r\n");
    WriteWholeFile(source / "libro.txt", std::string(300, 'l'));
    WriteWholeFile(source / "vacio.txt", "");
    WriteWholeFile(source / "foto.TXT", "foto");
    auto before = Snapshot(source, {"clave.txt", "notas.log", "libro.txt", "vacio.txt", "foto.TXT"});

    ProtectionState first = ScanInto(source.Path(), target.Path(), "mi clave");
    EXPECT_EQ(Counted(first), (std::vector<int>{4, 2, 0}));
    EXPECT_EQ(ReadStoredPassword(target / "notas.sclav"), "0123456789abcdefghijklmno");
    EXPECT_EQ(ReadStoredPassword(target / "clave.sclav"), "Abc123$%xyz9");
    // The key was wiped after the first file but both records carry it.
    for (const char* both : {"notas.sclav", "clave.sclav"}) EXPECT_EQ(ReadStoredKey(target / both), "mi clave") << both;
    EXPECT_EQ(ReadWholeFile(target / "clave.sclav").size(), 184u);
    for (const char* left : {"libro.sclav", "vacio.sclav", "foto.sclav"})
        EXPECT_FALSE(FileExists(target / left)) << left;

    std::string notas = ReadWholeFile(target / "notas.sclav");
    ProtectionState second = ScanInto(source.Path(), target.Path(), "otra clave");
    EXPECT_EQ(Counted(second), (std::vector<int>{4, 0, 0}));
    EXPECT_EQ(ReadWholeFile(target / "notas.sclav"), notas);  // never replaced or extended
    EXPECT_EQ(Snapshot(source, {"clave.txt", "notas.log", "libro.txt", "vacio.txt", "foto.TXT"}), before);
}

TEST_F(ProtectionRun, SameBaseName_OnlyTheFirstMetIsProtected) {
    WriteWholeFile(source / "banco.txt", "uno1");
    WriteWholeFile(source / "banco.log", "dos2");
    ProtectionState state = ScanInto(source.Path(), target.Path());
    EXPECT_EQ(Counted(state), (std::vector<int>{2, 1, 0}));
    SecretText stored = ReadStoredPassword(target / "banco.sclav");
    EXPECT_TRUE(stored == "uno1" || stored == "dos2") << stored.view();
    EXPECT_EQ(ReadWholeFile(target / "banco.sclav").size(), 184u);
}

TEST_F(ProtectionRun, SubfoldersAtAnyDepthLandFlatAfterTheFolderOwnFiles) {
    source.MakeFolders("a\\b\\c");
    source.MakeFolders("z");
    WriteWholeFile(source / "a\\b\\c\\hondo.txt", "profundo");
    WriteWholeFile(source / "a\\banco.txt", "de a");
    WriteWholeFile(source / "z\\banco.txt", "de z");
    WriteWholeFile(source / "banco.txt", "de arriba");
    WriteWholeFile(source / "a.b.txt", "puntos");
    ProtectionState state = ScanInto(source.Path(), target.Path());
    EXPECT_EQ(Counted(state), (std::vector<int>{5, 3, 0}));
    EXPECT_EQ(ReadStoredPassword(target / "hondo.sclav"), "profundo");
    // The folder's own files come before its subfolders.
    EXPECT_EQ(ReadStoredPassword(target / "banco.sclav"), "de arriba");
    EXPECT_EQ(ReadStoredPassword(target / "a.b.sclav"), "puntos");
    EXPECT_FALSE(FileExists(target / "a\\hondo.sclav"));
}

TEST_F(ProtectionRun, SameFolderForSourceAndTarget) {
    WriteWholeFile(source / "clave.txt", "secreto");
    ProtectionState first = ScanInto(source.Path(), source.Path());
    EXPECT_EQ(Counted(first), (std::vector<int>{1, 1, 0}));
    ProtectionState second = ScanInto(source.Path(), source.Path());
    EXPECT_EQ(Counted(second), (std::vector<int>{1, 0, 0}));  // the .sclav written there is no candidate
    EXPECT_EQ(ReadWholeFile(source / "clave.txt"), "secreto");
}

TEST_F(ProtectionRun, ExistingTargetsAreNeverReplaced) {
    WriteWholeFile(source / "banco.txt", "nuevo");
    WriteWholeFile(source / "carpeta.txt", "nuevo");
    WriteWholeFile(target / "banco.sclav", "lo que el usuario guardo");
    target.MakeFolders("carpeta.sclav");
    ProtectionState state = ScanInto(source.Path(), target.Path());
    EXPECT_EQ(Counted(state), (std::vector<int>{2, 0, 0}));
    EXPECT_EQ(ReadWholeFile(target / "banco.sclav"), "lo que el usuario guardo");
}

TEST_F(ProtectionRun, BlankOrBinaryTextsAreNotProtected) {
    WriteWholeFile(source / "blancos.txt", "     \r\n   ");
    WriteWholeFile(source / "binario.log", std::string("ab\0cd", 5));
    WriteWholeFile(source / "fin.txt", "\x1A" "oculto");
    WriteWholeFile(source / "justo.txt", std::string(50, 'j'));
    WriteWholeFile(source / "largo.txt", std::string(25, 'k') + "\r\n" + std::string(26, 'k'));
    ProtectionState state = ScanInto(source.Path(), target.Path());
    EXPECT_EQ(Counted(state), (std::vector<int>{5, 1, 0}));
    EXPECT_EQ(ReadStoredPassword(target / "justo.sclav"), std::string(50, 'j'));
    for (const char* left : {"blancos.sclav", "binario.sclav", "largo.sclav"})
        EXPECT_FALSE(FileExists(target / left)) << left;
}

TEST_F(ProtectionRun, FailedWritesAreCountedApartAndLeaveNothing) {
    WriteWholeFile(source / "clave.txt", "secreto");
    std::string missing = target / "no-existe\\";
    ProtectionState state = ScanInto(source.Path(), missing);
    EXPECT_EQ(Counted(state), (std::vector<int>{1, 0, 1}));
    EXPECT_TRUE(FolderContent(target.Path()).empty());
}

TEST_F(ProtectionRun, MissingSourceAndExitRequestScanNothing) {
    WriteWholeFile(source / "clave.txt", "secreto");
    ProtectionState missing = ScanInto(source / "falta\\", target.Path());
    EXPECT_EQ(missing.foundCount, 0);

    ProtectionState stopping;
    stopping.targetFolder = target.Path();
    stopping.programPassword = "clave123";
    stopping.exitRequested = true;
    ScanAndProtect(stopping, source.Path());
    EXPECT_EQ(stopping.foundCount, 0);
    EXPECT_FALSE(FileExists(target / "clave.sclav"));
}

TEST_F(ProtectionRun, SalirDuringTheScanEndsItAfterTheFileBeingWritten) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteWholeFile(source / name, "secreto");

    // "Salir" arrives while the first file is read: the reader serves the queue once per file.
    static ProtectionState* running = nullptr;
    ProtectionState state;
    state.targetFolder = target.Path();
    state.programPassword = "clave123";
    running = &state;
    {
        PostedDuringTheRead salir([] { running->exitRequested = true; });
        ASSERT_TRUE(salir.Posted());
        ScanAndProtect(state, source.Path());
    }
    EXPECT_TRUE(state.exitRequested);
    EXPECT_EQ(Counted(state), (std::vector<int>{1, 1, 0}));
    int written = 0;
    for (const char* name : {"a.sclav", "b.sclav", "c.sclav"}) {
        if (FileExists(target / name)) {
            ++written;
            EXPECT_EQ(ReadStoredPassword(target / name), "secreto");  // complete, not cut short
        }
    }
    EXPECT_EQ(written, 1);
}

TEST_F(ProtectionRun, TargetMadeWhileThePlainFileIsReadIsLeftAsItIs) {
    WriteWholeFile(source / "banco.txt", "secreto");
    // Another program makes banco.sclav after the run found no such file, while it reads banco.txt.
    static std::string made;
    made = target / "banco.sclav";
    ProtectionState state;
    {
        PostedDuringTheRead other([] { WriteWholeFile(made, "de otro programa"); });
        ASSERT_TRUE(other.Posted());
        state = ScanInto(source.Path(), target.Path());
    }
    // Skipped as any earlier target is, not reported as a failed write.
    EXPECT_EQ(Counted(state), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(ReadWholeFile(made), "de otro programa");
}

TEST(ReadPlainText, ReadsWhileAnotherProgramWritesTheFile) {
    TempFolder folder;
    std::string path = folder / "abierto.log";
    UniqueFile writer(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(writer.get(), "linea1\r\nlinea2\n", 15, &done, nullptr));
    EXPECT_EQ(ReadPlainText(path, 50), "linea1linea2\n");
    EXPECT_EQ(ReadPlainText(folder / "falta.txt", 50), "");
}

TEST(ReadPlainText, StopsOnceTheTextIsTooLong) {
    TempFolder folder;
    std::string path = folder / "grande.log";
    WriteWholeFile(path, std::string(200000, 'g'));
    EXPECT_EQ(ReadPlainText(path, 50), std::string(51, 'g'));
    EXPECT_EQ(ReadPlainText(path, 2049).size(), 2049u);
}
