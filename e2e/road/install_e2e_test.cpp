// The installer as a Windows user meets it: msiexec installs the suite for the current user without a
// question, the installed programs walk the whole road from where it put them, a newer version replaces an
// older one, and msiexec removes the suite again, keeping the password files the user made in its folder.
#include <gtest/gtest.h>

#include <cstdio>

#include <windows.h>
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "claverix_session.h"
#include "portaclip_session.h"
#include "sellomar_session.h"
#include "unique.h"
#include "win_text.h"

namespace {

constexpr char UpgradeCode[] = "{EA96C384-891E-4887-AEB4-A7C2ACBB17E2}";
constexpr char SellomarCaption[] = "Protege tus contrase\xF1" "as, es lo mejor ...";
constexpr const char* InstalledFiles[] = {"Claverix.exe", "le.txt", "Sellomar.exe", "Portaclip.exe",
                                          "LEEME.txt", "README.txt", "LICENSE.txt"};

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string found;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) found = NarrowLossy(path);
    CoTaskMemFree(path);
    return found;
}

// msiexec with the arguments, until it ends: its exit code.
std::optional<DWORD> Msiexec(const std::string& arguments) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    e2e::Program msiexec = e2e::Program::Launch(NarrowLossy(system) + "\\msiexec.exe", NarrowLossy(system), arguments);
    if (!msiexec.WaitForExit(std::chrono::seconds(60))) return std::nullopt;
    return msiexec.ExitCode();
}

bool KeyExists(HKEY root, const std::string& subkey) {
    UniqueKey key;
    return RegOpenKeyExW(root, Wide(subkey).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// The product code of the installed suite; empty when none is installed.
std::string InstalledProduct() {
    char product[39] = {};
    return MsiEnumRelatedProductsA(UpgradeCode, 0, 0, product) == ERROR_SUCCESS ? product : "";
}

std::string ProductInfo(const std::string& product, const wchar_t* property) {
    wchar_t value[256] = {};
    DWORD size = 256;
    return MsiGetProductInfoW(Wide(product).c_str(), property, value, &size) == ERROR_SUCCESS ? NarrowLossy(value) : "";
}

struct Shortcut {
    std::string target, description, icon;
};

std::optional<Shortcut> ReadShortcut(const std::string& path) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) {
        return std::nullopt;
    }
    IPersistFile* file = nullptr;
    std::optional<Shortcut> read;
    wchar_t target[MAX_PATH] = {}, description[512] = {}, icon[MAX_PATH] = {};
    int iconIndex = 0;
    if (SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&file))) && SUCCEEDED(file->Load(Wide(path).c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) && SUCCEEDED(link->GetDescription(description, 512)) &&
        SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) {
        read = Shortcut{NarrowLossy(target), NarrowLossy(description), NarrowLossy(icon)};
    }
    if (file) file->Release();
    link->Release();
    return read;
}

// The program file of a running process.
std::string ImagePath(HANDLE process) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return QueryFullProcessImageNameW(process, 0, path, &size) ? NarrowLossy(path) : "";
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// Where the installer puts the suite: a folder of the user's profile, which the browse dialog shows.
std::string InstallFolder() { return KnownFolder(FOLDERID_Profile) + "\\Contrasenas"; }
std::string OldInstallFolder() { return KnownFolder(FOLDERID_LocalAppData) + "\\Programs\\Contrasenas"; }

// Every test starts from a prefix without the suite and leaves none behind, whatever check failed on the way:
// the suite uninstalled, the password files the tests made in its folders removed, the association forgotten.
class Install : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        e2e::ForgetAssociation();
        ASSERT_EQ(InstalledProduct(), "") << "the suite is installed already";
    }
    void TearDown() override {
        const std::string product = InstalledProduct();
        if (!product.empty()) EXPECT_EQ(Msiexec("/x " + product + " /qn"), std::optional<DWORD>(0)) << "left installed";
        for (const std::string& folder : {InstallFolder(), OldInstallFolder()}) {
            DeleteFileW(Wide(folder + "\\banco.txt").c_str());
            RemoveDirectoryW(Wide(folder).c_str());
        }
        // What Sellomar registered itself where the classes root did not show the installer's.
        e2e::ForgetAssociation();
        CoUninitialize();
    }

    const std::string installer = e2e::WinePath(INSTALLER_LINUX);
};

}  // namespace

TEST_F(Install, PerUserInstallWalksTheRoadAndUninstallKeepsThePasswordFile) {
    ASSERT_EQ(Msiexec("/i \"" + installer + "\" /qn"), std::optional<DWORD>(0));

    // The files, the programs the very ones the build made.
    const std::string folder = InstallFolder();
    for (const char* name : InstalledFiles) EXPECT_TRUE(FileExists(folder + "\\" + name)) << name;
    EXPECT_EQ(e2e::ReadFileBytes(folder + "\\Sellomar.exe"), e2e::ReadFileBytes(e2e::WinePath(SELLOMAR_EXE_LINUX)));

    // One Start-menu shortcut per program, with its icon and a Spanish description.
    const std::string menu = KnownFolder(FOLDERID_Programs) + "\\Contrasenas";
    const std::pair<std::string, std::string> shortcuts[] = {
        {"Claverix", "Crea contrase\xF1" "as y las guarda en un fichero de texto de su carpeta"},
        {"Sellomar", "Protege tus ficheros de contrase\xF1" "as en ficheros .sclav"},
        {"Portaclip", "Carga tus contrase\xF1" "as protegidas y las pone en el portapapeles"},
    };
    for (const auto& [program, description] : shortcuts) {
        const auto shortcut = ReadShortcut(menu + "\\" + program + ".lnk");
        ASSERT_TRUE(shortcut.has_value()) << program;
        EXPECT_TRUE(SamePath(shortcut->target, folder + "\\" + program + ".exe")) << shortcut->target;
        EXPECT_EQ(shortcut->description, description);
        EXPECT_TRUE(FileExists(shortcut->icon)) << program << " icon " << shortcut->icon;
    }

    // The list of installed programs.
    const std::string product = InstalledProduct();
    ASSERT_NE(product, "");
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_INSTALLEDPRODUCTNAME), "Claverix, Sellomar y Portaclip");
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), "1.1.0");
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_PUBLISHER), "Velmor Soft");

    // The association, in the user's classes, as installers write it.
    const std::string sellomar = folder + "\\Sellomar.exe";
    EXPECT_EQ(e2e::DefaultValue(HKEY_CURRENT_USER, "Software\\Classes\\.sclav"), "sclav-files");
    EXPECT_EQ(e2e::DefaultValue(HKEY_CURRENT_USER, "Software\\Classes\\sclav-files\\DefaultIcon"), sellomar + ",1");
    EXPECT_EQ(e2e::DefaultValue(HKEY_CURRENT_USER, "Software\\Classes\\sclav-files\\shell\\open\\command"),
              "\"" + sellomar + "\" \"%1\"");

    // Claverix writes its password file into the installed folder.
    {
        START_CLAVERIX(claverix, ClaverixSession::Installed{folder + "\\Claverix.exe"});
        claverix.MakePassword({"banco.txt", 12, 6, 4, 5, 3});
    }
    const auto passwordFile = e2e::ReadFileBytes(folder + "\\banco.txt");
    ASSERT_TRUE(passwordFile.has_value());
    const auto password = JoinedPassword(*passwordFile);
    ASSERT_TRUE(password.has_value());

    // Windows shows the user's classes in the classes root, where Sellomar reads the open command, and
    // Sellomar registers nothing. Wine's classes root is the machine's alone: there Sellomar finds no
    // command and registers the type itself.
    const bool classesRootShowsUserClasses = e2e::DefaultValue(HKEY_CLASSES_ROOT, ".sclav") == "sclav-files";
    std::printf("the classes root %s the user's classes\n", classesRootShowsUserClasses ? "shows" : "does not show");
    // Sellomar is pointed at Claverix's folder through the browse dialog, by the folders' names; it finds
    // the password file beside the word list and the three texts, which are too long for passwords.
    e2e::ScratchFolder protectedFolder;
    {
        sellomar_e2e::Session started{sellomar_e2e::Session::Installed{sellomar}};
        ASSERT_NE(started.Dialog(), nullptr);
        EXPECT_EQ(started.Registered(), !classesRootShowsUserClasses);
        EXPECT_EQ(started.Protect("camino instalado", folder, protectedFolder.Path()),
                  "Sellomar ha encontrado 5 ficheros ..\r\nde los cuales ha encriptado 1 ficheros ...");
        started.Quit();
    }
    // Portaclip loads them, and a double click puts the password on the clipboard.
    {
        portaclip_e2e::Session portaclip{portaclip_e2e::Session::Installed{folder + "\\Portaclip.exe"}};
        ASSERT_NE(portaclip.Main(), nullptr);
        ASSERT_TRUE(portaclip.LoadWith(protectedFolder.Path(), "camino instalado", true));
        EXPECT_EQ(portaclip.ListedNames(), std::vector<std::string>{"banco"});
        portaclip.PasteAndClear(0, *password);
    }

    // A .sclav file opens with the installed Sellomar.
    e2e::ScratchFolder scratch;
    ASSERT_TRUE(e2e::WriteFileBytes(scratch / "banco.sclav", std::string(184, '\0')));
    const std::wstring sclav = Wide(scratch / "banco.sclav");
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS;
    open.lpVerb = L"open";
    open.lpFile = sclav.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open) && open.hProcess != nullptr) << GetLastError();
    UniqueFile opened(open.hProcess);  // closes any kernel handle
    EXPECT_TRUE(SamePath(ImagePath(opened.get()), sellomar)) << ImagePath(opened.get());
    HWND dialog = e2e::WaitForTopWindow(GetProcessId(opened.get()), SellomarCaption, "#32770");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(e2e::FindMessageBox(GetProcessId(opened.get())).has_value());
    EXPECT_TRUE(e2e::ClickControl(dialog, sellomar_e2e::CloseButton));
    EXPECT_EQ(WaitForSingleObject(opened.get(), 10000), WAIT_OBJECT_0);

    ASSERT_EQ(Msiexec("/x \"" + installer + "\" /qn"), std::optional<DWORD>(0));
    for (const char* name : InstalledFiles) EXPECT_FALSE(FileExists(folder + "\\" + name)) << name;
    EXPECT_FALSE(FileExists(menu));
    EXPECT_EQ(InstalledProduct(), "");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\.sclav"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\sclav-files"));
    EXPECT_EQ(e2e::ReadFileBytes(folder + "\\banco.txt"), passwordFile);
}

// 1.0.0 installed into %LOCALAPPDATA%\Programs\Contrasenas: this version replaces it, its programs go, and a
// password file the user left in the old folder stays there, as the new LEEME says.
TEST_F(Install, UpgradeReplacesTheOldVersionAndKeepsItsFolderOfPasswordFiles) {
    ASSERT_EQ(Msiexec("/i \"" + e2e::WinePath(OLD_INSTALLER_LINUX) + "\" /qn"), std::optional<DWORD>(0));
    const std::string oldFolder = OldInstallFolder();
    ASSERT_TRUE(FileExists(oldFolder + "\\Claverix.exe"));
    ASSERT_EQ(ProductInfo(InstalledProduct(), INSTALLPROPERTY_VERSIONSTRING), "1.0.0");
    ASSERT_TRUE(e2e::WriteFileBytes(oldFolder + "\\banco.txt", "antigua\r\r\n"));

    ASSERT_EQ(Msiexec("/i \"" + installer + "\" /qn"), std::optional<DWORD>(0));
    EXPECT_EQ(ProductInfo(InstalledProduct(), INSTALLPROPERTY_VERSIONSTRING), "1.1.0");
    char second[39] = {};
    EXPECT_NE(MsiEnumRelatedProductsA(UpgradeCode, 0, 1, second), static_cast<UINT>(ERROR_SUCCESS)) << second;
    for (const char* name : InstalledFiles) {
        EXPECT_FALSE(FileExists(oldFolder + "\\" + name)) << name;
        EXPECT_TRUE(FileExists(InstallFolder() + "\\" + name)) << name;
    }
    EXPECT_EQ(e2e::ReadFileBytes(oldFolder + "\\banco.txt"), std::optional<std::string>("antigua\r\r\n"));
    const auto leeme = e2e::ReadFileBytes(InstallFolder() + "\\LEEME.txt");
    EXPECT_NE(leeme.value_or("").find("%LOCALAPPDATA%\\Programs\\Contrasenas"), std::string::npos);

    ASSERT_EQ(Msiexec("/x \"" + installer + "\" /qn"), std::optional<DWORD>(0));
    EXPECT_EQ(InstalledProduct(), "");
}
