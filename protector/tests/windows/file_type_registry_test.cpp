// The .sclav association on a scratch key tree under HKEY_CURRENT_USER, made and removed per test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "file_type_registry.h"
#include "unique.h"
#include "win_text.h"

namespace {

const std::string ProgramPath = "C:\\Herramientas\\Sellomar.exe";

class ScratchRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        path_ = L"Software\\SellomarTests\\run" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
        classes_ = Scratch(L"\\classes");
        user_ = Scratch(L"\\user");
        ASSERT_TRUE(classes_ && user_);
    }
    void TearDown() override {
        classes_.reset();
        user_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\SellomarTests");  // only goes once empty
    }

    HKEY Classes() const { return classes_.get(); }
    HKEY User() const { return user_.get(); }

    // The default value of root\subkey; nothing when the key or the value is missing.
    static std::optional<std::string> Default(HKEY root, const std::string& subkey) {
        wchar_t data[1024] = {};
        DWORD bytes = sizeof data - sizeof(wchar_t);
        if (RegGetValueW(root, Wide(subkey).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        return NarrowLossy(data);
    }

    static std::vector<std::string> SubkeyNames(HKEY root, const std::string& subkey = {}) {
        std::vector<std::string> names;
        UniqueKey key;
        if (RegOpenKeyExW(root, Wide(subkey).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.push_back(NarrowLossy(name));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // An open key that no longer exists: every create under it fails, whoever the user is. (Wine does not
    // enforce the access rights of a read-only handle, so that cannot stand in for a standard user.)
    UniqueKey RefusingRoot() const {
        UniqueKey key = Scratch(L"\\gone");
        EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, (path_ + L"\\gone").c_str()), ERROR_SUCCESS);
        return key;
    }

    void Set(const std::string& subkey, const std::string& data) { ASSERT_EQ(SetRegistryString(Classes(), subkey, "", data), 1); }

private:
    // A key under this test's scratch tree, made with full access.
    UniqueKey Scratch(const std::wstring& name) const {
        UniqueKey key;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (path_ + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    std::wstring path_;
    UniqueKey classes_;
    UniqueKey user_;
};

}  // namespace

TEST_F(ScratchRegistry, RegisterFileType_CleanTreeGetsExactlyThreeKeys) {
    EXPECT_TRUE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    ASSERT_EQ(RegisterFileType({Classes()}, "sclav", 1, ProgramPath), Registration::Registered);

    EXPECT_EQ(SubkeyNames(Classes()), (std::vector<std::string>{".sclav", "sclav-files"}));
    EXPECT_EQ(SubkeyNames(Classes(), "sclav-files"), (std::vector<std::string>{"DefaultIcon", "Shell"}));
    EXPECT_EQ(SubkeyNames(Classes(), "sclav-files\\Shell\\Open"), (std::vector<std::string>{"Command"}));
    EXPECT_EQ(Default(Classes(), ".sclav"), "sclav-files");
    EXPECT_EQ(Default(Classes(), "sclav-files\\DefaultIcon"), "C:\\\\Herramientas\\\\Sellomar.exe,1");
    EXPECT_EQ(Default(Classes(), "sclav-files\\Shell\\Open\\Command"), "C:\\\\Herramientas\\\\Sellomar.exe %1");

    // Read back through the class, as the next start does: registered once, not again.
    EXPECT_EQ(QueryOpenCommand(Classes(), ".sclav"), "C:\\\\Herramientas\\\\Sellomar.exe %1");
    EXPECT_FALSE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    EXPECT_TRUE(SubkeyNames(User()).empty());
}

TEST_F(ScratchRegistry, RegisterFileType_ExtensionWithDotWritesNothing) {
    EXPECT_EQ(RegisterFileType({Classes(), User()}, ".sclav", 1, ProgramPath), Registration::ExtensionHasDot);
    EXPECT_TRUE(SubkeyNames(Classes()).empty());
    EXPECT_TRUE(SubkeyNames(User()).empty());
}

TEST_F(ScratchRegistry, RegisterFileType_FallsBackToTheUsersClasses) {
    // A classes root that refuses every write, as HKEY_CLASSES_ROOT does for a standard user.
    UniqueKey refusing = RefusingRoot();
    EXPECT_EQ(SetRegistryString(refusing.get(), "\\.sclav", "", "sclav-files"), 0);

    ASSERT_EQ(RegisterFileType({refusing.get(), User()}, "sclav", 1, ProgramPath), Registration::Registered);
    EXPECT_TRUE(SubkeyNames(Classes()).empty());
    EXPECT_EQ(Default(User(), ".sclav"), "sclav-files");
    EXPECT_EQ(QueryOpenCommand(User(), ".sclav"), "C:\\\\Herramientas\\\\Sellomar.exe %1");
    // Read with read access only, so a standard user sees the registration and is not asked again.
    EXPECT_FALSE(FileTypeNeedsRegistration(User(), ".sclav"));
}

TEST_F(ScratchRegistry, RegisterFileType_NoWritableRootIsReported) {
    UniqueKey refusing = RefusingRoot();
    EXPECT_EQ(RegisterFileType({refusing.get()}, "sclav", 1, ProgramPath), Registration::NotWritten);
    EXPECT_EQ(RegisterFileType({Classes()}, "sclav", 1, ""), Registration::NotWritten);
    EXPECT_TRUE(SubkeyNames(Classes()).empty());
}

TEST_F(ScratchRegistry, NeedsRegistration_ByWhatTheClassHolds) {
    // Nothing, a class without command, a command of spaces only: missing.
    EXPECT_TRUE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    Set("\\.sclav", "otra-clase");
    EXPECT_TRUE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    Set("otra-clase\\shell\\open\\command", "   ");
    EXPECT_TRUE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    // Another program's class with a command is left alone.
    Set("otra-clase\\shell\\open\\command", "C:\\otro.exe \"%1\"");
    EXPECT_FALSE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    EXPECT_EQ(QueryOpenCommand(Classes(), ".sclav"), "C:\\otro.exe \"%1\"");
}

TEST_F(ScratchRegistry, RegisterFileType_ClassWithoutCommandIsRegisteredAgain) {
    Set("\\.sclav", "vieja-clase");
    ASSERT_TRUE(FileTypeNeedsRegistration(Classes(), ".sclav"));
    ASSERT_EQ(RegisterFileType({Classes()}, "sclav", 1, ProgramPath), Registration::Registered);
    EXPECT_EQ(Default(Classes(), ".sclav"), "sclav-files");
    EXPECT_FALSE(FileTypeNeedsRegistration(Classes(), ".sclav"));
}

TEST_F(ScratchRegistry, QueryOpenCommand_ExpandsAndReadsLongValues) {
    Set("\\.sclav", "c");
    Set("c\\shell\\open\\command", "%SystemRoot%\\x.exe %1");
    wchar_t root[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);
    EXPECT_EQ(QueryOpenCommand(Classes(), ".sclav"), NarrowLossy(root) + "\\x.exe %1");

    // Longer than the 127 characters of a small buffer: still read, so the type is not registered again.
    const std::string longCommand = "C:\\\\" + std::string(150, 'p') + "\\\\Sellomar.exe %1";
    Set("c\\shell\\open\\command", longCommand);
    EXPECT_EQ(QueryOpenCommand(Classes(), ".sclav"), longCommand);
}

TEST_F(ScratchRegistry, QueryOpenCommand_ClassNameOutsideWindows1252) {
    // Another program's class whose name has a letter Windows-1252 lacks: its command is still found.
    const wchar_t className[] = L"clase\x03A9";
    ASSERT_EQ(RegSetKeyValueW(Classes(), L".sclav", nullptr, REG_SZ, className, sizeof className), ERROR_SUCCESS);
    const wchar_t command[] = L"C:\\otro.exe %1";
    ASSERT_EQ(RegSetKeyValueW(Classes(), (std::wstring(className) + L"\\shell\\open\\command").c_str(), nullptr, REG_SZ,
                              command, sizeof command),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryOpenCommand(Classes(), ".sclav"), "C:\\otro.exe %1");
    EXPECT_FALSE(FileTypeNeedsRegistration(Classes(), ".sclav"));
}

TEST_F(ScratchRegistry, QueryOpenCommand_NonTextValueIsMissing) {
    Set("\\.sclav", "c");
    UniqueKey command;
    ASSERT_EQ(RegCreateKeyExW(Classes(), L"c\\shell\\open\\command", 0, nullptr, 0, KEY_WRITE, nullptr, command.put(), nullptr),
              ERROR_SUCCESS);
    DWORD number = 7;
    ASSERT_EQ(RegSetValueExW(command.get(), nullptr, 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryOpenCommand(Classes(), ".sclav"), "");
}

TEST_F(ScratchRegistry, SetRegistryString_TrimsSubkeyAndNamesValues) {
    EXPECT_EQ(SetRegistryString(Classes(), "\\\\a\\b\\\\", "", "uno"), 1);
    EXPECT_EQ(Default(Classes(), "a\\b"), "uno");
    EXPECT_EQ(SetRegistryString(Classes(), "a", "nombre", "dos"), 1);
    wchar_t data[64] = {};
    DWORD bytes = sizeof data;
    ASSERT_EQ(RegGetValueW(Classes(), L"a", L"nombre", RRF_RT_REG_SZ, nullptr, data, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(NarrowLossy(data), "dos");
    EXPECT_EQ(bytes, 4u * sizeof(wchar_t));  // the terminating zero is stored
}
