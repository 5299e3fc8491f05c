// The walk that fills the list, over a made-up folder tree.
#include <gtest/gtest.h>

#include <map>
#include <new>
#include <string>
#include <vector>

#include "folder_scan.h"

namespace {

struct StoredFile {
    std::string key, password;
};

// Folders as lists of entries in the order "the file system" gives them; "." and ".." come first as on disk.
class FakeDisk : public ScanSource {
public:
    std::map<std::string, std::vector<ScanEntry>> folders;
    std::map<std::string, StoredFile> files;
    std::vector<std::string> passwordReads;

    void File(const std::string& folder, const std::string& name, const std::string& key, const std::string& pw) {
        Folder(folder).push_back({name, false, false});
        files[folder + name] = {key, pw};
    }
    void Subfolder(const std::string& folder, const std::string& name, bool enterable = true) {
        Folder(folder).push_back({name, true, enterable});
        Folder(folder + name + "\\");
    }

    bool ForEach(std::string_view folder, std::string_view, const std::function<void(const ScanEntry&)>& visit) override {
        auto found = folders.find(std::string(folder));
        if (found == folders.end()) return false;
        std::vector<ScanEntry> entries = found->second;  // a copy, as a search sees a snapshot
        for (const ScanEntry& entry : entries) visit(entry);
        return true;
    }
    SecretText ReadKey(const std::string& path) override {
        auto found = files.find(path);
        return found == files.end() ? SecretText() : SecretText(found->second.key);
    }
    std::string throwOn;  // memory runs out reading this file's password
    SecretText ReadPassword(const std::string& path) override {
        if (path == throwOn) throw std::bad_alloc();
        passwordReads.push_back(path);
        auto found = files.find(path);
        return found == files.end() ? SecretText() : SecretText(found->second.password);
    }

private:
    std::vector<ScanEntry>& Folder(const std::string& folder) {
        auto [it, added] = folders.try_emplace(folder);
        if (added) it->second = {{".", true, false}, {"..", true, false}};
        return it->second;
    }
};

class ListRecorder : public ListSink {
public:
    std::vector<std::string> lines;
    std::size_t refuseAfter = static_cast<std::size_t>(-1);
    std::size_t throwAfter = static_cast<std::size_t>(-1);
    bool AddLine(std::string_view text) override {
        if (lines.size() >= refuseAfter) return false;
        if (lines.size() >= throwAfter) throw std::bad_alloc();
        lines.emplace_back(text);
        return true;
    }
};

// Each scan over a disk and a list of its own, logged in with "k" unless the test says otherwise.
class FolderScan : public ::testing::Test {
protected:
    void SetUp() override { state.loginPassword = "k"; }
    FakeDisk disk;
    ListRecorder list;
    LoaderState state;
};

}  // namespace

TEST_F(FolderScan, OnlySclavFilesInAnyCaseWithTheKeyAreListed) {
    disk.File("T:\\d\\", "a.SCLAV", "clave", "pa");
    disk.File("T:\\d\\", "b.sclav", " clave ", "pb");
    disk.File("T:\\d\\", "c.sclav.txt", "clave", "pc");
    disk.File("T:\\d\\", "d", "clave", "pd");
    disk.File("T:\\d\\", "e.sclav", "Clave", "pe");
    disk.File("T:\\d\\", "f.sclav", "otra", "pf");
    disk.File("T:\\d\\", "mi.banco.ScLaV", "clave", "pm");
    disk.File("T:\\d\\", ".sclav", "clave", "pv");
    state.loginPassword = "clave  ";
    EXPECT_EQ(ScanFolder(state, "T:\\d\\", disk, list), ScanResult::Complete);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"001 - a", "002 - b", "003 - mi.banco", "004 - "}));
    EXPECT_EQ(state.tables.Count(), 4);
    EXPECT_EQ(state.tables.Data(2), "pb");
    EXPECT_EQ(state.tables.Name(3), "mi.banco");
    EXPECT_EQ(state.tables.Data(4), "pv");
    // Passwords are read only for files that are listed.
    EXPECT_EQ(disk.passwordReads.size(), 4u);
}

TEST_F(FolderScan, NumberingRunsOnAcrossScansAndRestartsAfterClear) {
    for (const char* name : {"x.sclav", "y.sclav", "z.sclav"}) disk.File("T:\\d\\", name, "k", name);
    ScanFolder(state, "T:\\d\\", disk, list);
    ScanFolder(state, "T:\\d\\", disk, list);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"001 - x", "002 - y", "003 - z", "004 - x", "005 - y", "006 - z"}));
    EXPECT_EQ(state.tables.Data(6), "z.sclav");
    state.tables.Clear();
    ListRecorder fresh;
    ScanFolder(state, "T:\\d\\", disk, fresh);
    EXPECT_EQ(fresh.lines.front(), "001 - x");
}

TEST_F(FolderScan, SubfoldersOnlyWhenAskedAfterTheFoldersOwnFiles) {
    disk.Subfolder("T:\\r\\", "uno");
    disk.File("T:\\r\\", "raiz.sclav", "k", "p0");
    disk.File("T:\\r\\uno\\", "u.sclav", "k", "p1");
    disk.Subfolder("T:\\r\\uno\\", "hondo");
    disk.File("T:\\r\\uno\\hondo\\", "h.sclav", "k", "p2");
    disk.Subfolder("T:\\r\\", "dos");
    disk.File("T:\\r\\dos\\", "d.sclav", "k", "p3");
    disk.Subfolder("T:\\r\\", "enlace", false);
    disk.File("T:\\r\\enlace\\", "no.sclav", "k", "p4");

    ScanFolder(state, "T:\\r\\", disk, list);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"001 - raiz"}));

    state.tables.Clear();
    state.includeSubfolders = true;
    ListRecorder deep;
    ScanFolder(state, "T:\\r\\", disk, deep);
    EXPECT_EQ(deep.lines, (std::vector<std::string>{"001 - raiz", "002 - u", "003 - h", "004 - d"}));
    EXPECT_EQ(state.tables.Data(3), "p2");
}

TEST_F(FolderScan, EmptyLoginListsOnlyFilesWithBlankKeys) {
    disk.File("T:\\d\\", "con.sclav", "clave", "p1");
    disk.File("T:\\d\\", "blanca.sclav", "", "p2");
    disk.File("T:\\d\\", "rota.sclav", "", "");  // unreadable: empty key and password
    state.loginPassword = "";
    ScanFolder(state, "T:\\d\\", disk, list);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"001 - blanca", "002 - rota"}));
}

TEST_F(FolderScan, MissingOrEmptyFolderAddsNothing) {
    disk.Subfolder("T:\\", "vacia");
    EXPECT_EQ(ScanFolder(state, "T:\\vacia\\", disk, list), ScanResult::Complete);
    EXPECT_EQ(ScanFolder(state, "T:\\falta\\", disk, list), ScanResult::Complete);
    EXPECT_TRUE(list.lines.empty());
}

TEST_F(FolderScan, FiveHundredLinesFitTheFileAfterTheLastSlotStopsTheWalk) {
    for (int i = 1; i <= 499; ++i) {
        disk.File("T:\\m\\", std::to_string(i) + ".sclav", "k", "p");
        disk.File("T:\\n\\", "f" + std::to_string(i) + ".sclav", "k", "p");
    }
    disk.File("T:\\m\\", "otra.sclav", "x", "p");  // not listed, so not counted
    disk.File("T:\\m\\", "500.sclav", "k", "ultimo");
    for (const char* name : {"f500.sclav", "f501.sclav", "f502.sclav"}) disk.File("T:\\n\\", name, "k", name);
    EXPECT_EQ(ScanFolder(state, "T:\\m\\", disk, list), ScanResult::Complete);  // exactly the last slot: not full
    ASSERT_EQ(list.lines.size(), 500u);
    EXPECT_EQ(list.lines[9], "010 - 10");
    EXPECT_EQ(list.lines[99], "100 - 100");
    EXPECT_EQ(list.lines.back(), "500 - 500");
    EXPECT_EQ(state.tables.Data(500), "ultimo");

    state.tables.Clear();
    ListRecorder again;
    EXPECT_EQ(ScanFolder(state, "T:\\n\\", disk, again), ScanResult::TablesFull);
    ASSERT_EQ(again.lines.size(), 500u);
    EXPECT_EQ(again.lines.back(), "500 - f500");
    EXPECT_EQ(state.tables.Data(500), "f500.sclav");
    // A later load adds nothing and says so again.
    EXPECT_EQ(ScanFolder(state, "T:\\n\\", disk, again), ScanResult::TablesFull);
    EXPECT_EQ(again.lines.size(), 500u);
}

TEST_F(FolderScan, ALineTheListRefusesGetsNoSlot) {
    for (const char* name : {"a.sclav", "b.sclav", "c.sclav"}) disk.File("T:\\d\\", name, "k", name);
    list.refuseAfter = 1;
    EXPECT_EQ(ScanFolder(state, "T:\\d\\", disk, list), ScanResult::ListRefused);
    EXPECT_EQ(list.lines.size(), 1u);
    EXPECT_EQ(state.tables.Count(), 1);
}

TEST_F(FolderScan, MemoryRunningOutStopsTheWalkWithEveryLineStillItsSlot) {
    for (const char* name : {"a.sclav", "b.sclav", "c.sclav"}) disk.File("T:\\d\\", name, "k", name);
    disk.throwOn = "T:\\d\\b.sclav";
    EXPECT_EQ(ScanFolder(state, "T:\\d\\", disk, list), ScanResult::ListRefused);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"001 - a"}));
    EXPECT_EQ(state.tables.Count(), 1);
    // The list itself running out: the slot filled for its line is given back.
    disk.throwOn.clear();
    list.throwAfter = 2;
    EXPECT_EQ(ScanFolder(state, "T:\\d\\", disk, list), ScanResult::ListRefused);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"001 - a", "002 - a"}));
    EXPECT_EQ(state.tables.Count(), 2);
    EXPECT_EQ(state.tables.Data(2), "a.sclav");
    EXPECT_EQ(state.tables.Data(3), "");
}
