// The setup program as a user runs it, silently (/S), in a Wine prefix made fresh for this run
// by with_fresh_prefix.sh: what it puts in place, the installed program at work, an update over
// it, and the uninstaller.
#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include <shlobj.h>

#include <string>

#include "app/autostart.h"
#include "app/autostart_command.h"
#include "holvex_version.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/process.h"

namespace holvex {
namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Holvex 2004";
constexpr const char* kProgramFiles[] = {"holvex.exe", "Anleitung.txt", "LICENSE.txt", "uninstall.exe"};

std::string FullPath(const std::string& path) {
  char full[MAX_PATH] = {};
  GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return full;
}

std::string PackageFolder() { return FullPath(test::TestBinaryDirectory() + "\\..\\package"); }
std::string SetupProgram() { return PackageFolder() + "\\holvex-" HOLVEX_VERSION_TEXT "-setup.exe"; }

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path), S_OK) << csidl;
  return path;
}

std::string InstallFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Holvex 2004"; }
std::string Installed(const char* name) { return InstallFolder() + "\\" + name; }
std::string StartMenuEntry() { return ShellFolder(CSIDL_PROGRAMS) + "\\Holvex 2004.lnk"; }

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  return quoted.append(text).append("\"");
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::set<std::string> FolderContents(const std::string& dir) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

// A value's bytes, when it is there with that type.
std::optional<std::string> RegistryValue(HKEY root, const char* key, const char* name, DWORD wanted) {
  char data[1024] = {};
  DWORD size = sizeof data - 1, type = 0;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
  LONG status = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || type != wanted) return std::nullopt;
  return std::string(data, type == REG_SZ ? strlen(data) : size);
}

std::optional<std::string> RegistryString(HKEY root, const char* key, const char* name) {
  return RegistryValue(root, key, name, REG_SZ);
}

bool UninstallKeyExists(HKEY root) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, kUninstallKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

std::string Text(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The page of a wizard whose main button reads so, pressed.
bool PressWhenShown(HWND wizard, const std::string& button) {
  HWND next = GetDlgItem(wizard, IDOK);
  if (!test::WaitUntil([&] { return Text(next) == button && IsWindowEnabled(next); }, 30000)) return false;
  PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
  return true;
}

// Another visible dialog of that process: a message box over the wizard.
HWND WaitForBox(DWORD pid, HWND wizard) {
  HWND found = nullptr;
  test::WaitUntil(
      [&] {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
             w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == pid && w != wizard && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
      },
      30000);
  return found;
}

std::string Content(const std::string& path) { return ReadFileBytes(path).value_or("(missing)"); }

class Setup : public ::testing::Test {
 protected:
  void TearDown() override {
    RunKey machine;
    RemoveAutostartEntry(machine, kAutostartValueName);  // a value left behind starts the program
  }

  static void Install() {
    test::ProgramProcess setup(SetupProgram(), "/S");
    std::optional<DWORD> code = setup.WaitForExit(120000);
    ASSERT_TRUE(code.has_value()) << "the setup program did not end";
    ASSERT_EQ(*code, 0u) << "the setup program failed";
  }

  // As the list of installed programs does it, silently. The uninstaller copies itself out of
  // the folder it removes and goes on from there, so the one started ends at once; its copy
  // removes the registry entry last.
  static void Uninstall() {
    std::optional<std::string> command = RegistryString(HKEY_CURRENT_USER, kUninstallKey, "UninstallString");
    ASSERT_TRUE(command.has_value());
    ASSERT_EQ(*command, Quoted(Installed("uninstall.exe")));
    test::ProgramProcess uninstaller(Installed("uninstall.exe"), "/S");
    ASSERT_EQ(uninstaller.WaitForExit(60000), std::optional<DWORD>(0));
    ASSERT_TRUE(test::WaitUntil([] { return !UninstallKeyExists(HKEY_CURRENT_USER); }, 60000))
        << "the uninstaller did not finish";
    Sleep(500);  // its copy ends
  }

  static void ExpectUninstalled() {
    for (const char* name : kProgramFiles) EXPECT_FALSE(Exists(Installed(name))) << name;
    EXPECT_FALSE(Exists(StartMenuEntry()));
    EXPECT_FALSE(UninstallKeyExists(HKEY_CURRENT_USER));
  }

  static void SetAutostart(const std::string& command) {
    RunKey machine;
    AddAutostartEntry(machine, kAutostartValueName, command);
  }
  static std::optional<std::string> Autostart() {
    return RegistryString(HKEY_LOCAL_MACHINE, kRunKeyPath, kAutostartValueName);
  }
};

TEST_F(Setup, SilentInstallPutsProgramStartMenuEntryAndUninstallEntryInPlaceForThisUser) {
  ASSERT_FALSE(Exists(InstallFolder())) << "the prefix is not fresh";
  Install();

  EXPECT_EQ(FolderContents(InstallFolder()),
            (std::set<std::string>{"Anleitung.txt", "LICENSE.txt", "holvex.exe", "uninstall.exe"}));
  EXPECT_EQ(Content(Installed("holvex.exe")), Content(PackageFolder() + "\\setup\\holvex.exe"));
  EXPECT_EQ(Content(Installed("Anleitung.txt")), Content(PackageFolder() + "\\texts\\Anleitung.txt"));
  EXPECT_TRUE(Exists(StartMenuEntry()));

  const HKEY user = HKEY_CURRENT_USER;
  EXPECT_EQ(RegistryString(user, kUninstallKey, "DisplayName"), "Holvex 2004");
  EXPECT_EQ(RegistryString(user, kUninstallKey, "DisplayVersion"), HOLVEX_VERSION_TEXT);
  EXPECT_EQ(RegistryString(user, kUninstallKey, "Publisher"), "Holvex");
  EXPECT_EQ(RegistryString(user, kUninstallKey, "InstallLocation"), InstallFolder());
  EXPECT_EQ(RegistryString(user, kUninstallKey, "QuietUninstallString"),
            Quoted(Installed("uninstall.exe")) + " /S");
  // The size in KB of what setup wrote.
  size_t bytes = 0;
  for (const char* name : kProgramFiles) bytes += Content(Installed(name)).size();
  std::optional<std::string> size = RegistryValue(user, kUninstallKey, "EstimatedSize", REG_DWORD);
  ASSERT_TRUE(size.has_value() && size->size() == sizeof(DWORD));
  DWORD kb = 0;
  memcpy(&kb, size->data(), sizeof kb);
  EXPECT_GE(kb, bytes / 1024 - 8);
  EXPECT_LE(kb, bytes / 1024 + 8);
  // Per user: nothing for the whole machine.
  EXPECT_FALSE(UninstallKeyExists(HKEY_LOCAL_MACHINE));
}

TEST_F(Setup, InstalledProgramSavesItsQueueBesideItAndAnUpdateKeepsQueueAndSettings) {
  Install();
  const std::string settings = "[allgemein]\r\nsplashscreen=0\r\n";
  WriteFileReplacing(Installed("load.ini"), settings);
  WriteFileReplacing(Installed("load.hvq"), SerializeQueue({{"a", "0,00 MB", "Fertig", "http://h/a"},
                                                            {"b", "4,77 MB", "Wartend", "http://h/b"}}));
  {
    test::ProgramProcess program(Installed("holvex.exe"));
    HWND main = program.WaitForWindow("TForm1", 20000, true);
    ASSERT_NE(main, nullptr) << "the installed program showed no main window";
    ASSERT_NE(program.WaitForWindow("TForm9", 15000), nullptr);
    Sleep(300);
    auto box = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(box.Result().found);
    ASSERT_EQ(program.WaitForExit(15000), std::optional<DWORD>(0));
  }
  const std::string queue = SerializeQueue({{"b", "4,77 MB", "Wartend", "http://h/b"}});
  ASSERT_EQ(Content(Installed("load.hvq")), queue) << "the program did not save its queue beside itself";

  // The update: what setup owns comes back, the program's files stay as they were.
  ASSERT_TRUE(DeleteFileA(Installed("Anleitung.txt").c_str()));
  ASSERT_TRUE(DeleteFileA(StartMenuEntry().c_str()));
  Install();
  EXPECT_TRUE(Exists(Installed("Anleitung.txt")));
  EXPECT_TRUE(Exists(StartMenuEntry()));
  EXPECT_EQ(Content(Installed("load.hvq")), queue);
  EXPECT_EQ(Content(Installed("load.ini")), settings);
}

// A silent uninstall removes what setup put there and the autostart value only when it starts
// this copy; it keeps queue and settings, which the program finds when installed there again,
// and leaves no empty folder.
TEST_F(Setup, SilentUninstallKeepsQueueAndSettingsAndRemovesOnlyThisCopysAutostart) {
  const std::string queue = SerializeQueue({{"b", "4,77 MB", "Wartend", "http://h/b"}});
  const std::string settings = "[allgemein]\r\nsplashscreen=0\r\n";
  const std::string elsewhere = "\"C:\\Holvex 2004 Kopie\\holvex.exe\"";
  for (const bool ownAutostart : {true, false}) {
    SCOPED_TRACE(ownAutostart ? "this copy starts with Windows" : "another copy starts with Windows");
    Install();
    if (ownAutostart) {
      WriteFileReplacing(Installed("load.hvq"), queue);
      WriteFileReplacing(Installed("load.ini"), settings);
    }
    // As "Mit Windows starten" in the installed program writes it.
    SetAutostart(ownAutostart ? AutostartCommand(Installed("holvex.exe")) : elsewhere);

    Uninstall();
    ExpectUninstalled();
    EXPECT_EQ(Autostart(), ownAutostart ? std::nullopt : std::optional<std::string>(elsewhere));
    if (!ownAutostart) {
      EXPECT_FALSE(Exists(InstallFolder()));
      continue;
    }
    EXPECT_EQ(FolderContents(InstallFolder()), (std::set<std::string>{"load.hvq", "load.ini"}));
    EXPECT_EQ(Content(Installed("load.hvq")), queue);
    Install();
    EXPECT_EQ(Content(Installed("load.ini")), settings);
    DeleteFileA(Installed("load.hvq").c_str());
    DeleteFileA(Installed("load.ini").c_str());
  }
}

TEST_F(Setup, UninstallerAsksWhetherToKeepQueueAndSettingsAndRemovesThemOnNo) {
  Install();
  WriteFileReplacing(Installed("load.hvq"), SerializeQueue({{"b", "4,77 MB", "Wartend", "http://h/b"}}));
  WriteFileReplacing(Installed("load.ini"), "[allgemein]\r\nsplashscreen=0\r\n");
  // In place (_?=), so that its window belongs to the process started here; it then cannot
  // remove itself.
  test::ProgramProcess uninstaller(Installed("uninstall.exe"), "_?=" + InstallFolder());
  HWND wizard = uninstaller.WaitForWindow("#32770", 30000, true);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(PressWhenShown(wizard, "&Deinstallieren"));

  HWND box = WaitForBox(uninstaller.id(), wizard);
  ASSERT_NE(box, nullptr) << "no question";
  std::string text;
  for (HWND c = FindWindowExA(box, nullptr, "Static", nullptr); c;
       c = FindWindowExA(box, c, "Static", nullptr))
    text += Text(c);
  EXPECT_EQ(
      text.rfind("Sollen Ihre Warteschlange (load.hvq) und Ihre Einstellungen (load.ini) erhalten bleiben?",
                 0),
      0u)
      << text;
  const LONG yes = GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE);
  EXPECT_EQ(yes & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "keeping them is not the default";
  PostMessageA(box, WM_COMMAND, IDNO, 0);

  ASSERT_TRUE(PressWhenShown(wizard, "&Beenden"));
  ASSERT_EQ(uninstaller.WaitForExit(30000), std::optional<DWORD>(0));
  EXPECT_EQ(FolderContents(InstallFolder()), std::set<std::string>{"uninstall.exe"});
  EXPECT_FALSE(Exists(StartMenuEntry()));
  EXPECT_FALSE(UninstallKeyExists(HKEY_CURRENT_USER));
  DeleteFileA(Installed("uninstall.exe").c_str());
  RemoveDirectoryA(InstallFolder().c_str());
}

TEST_F(Setup, RunningProgramStopsASilentInstallAndUninstallWithoutTouchingIt) {
  Install();
  WriteFileReplacing(Installed("load.ini"), "[allgemein]\r\nsplashscreen=0\r\n");
  test::ProgramProcess program(Installed("holvex.exe"));
  ASSERT_NE(program.WaitForWindow("TForm1", 20000, true), nullptr);
  const std::string before = Content(Installed("holvex.exe"));

  test::ProgramProcess setup(SetupProgram(), "/S");
  std::optional<DWORD> code = setup.WaitForExit(120000);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0u) << "setup reported success over a running program";
  EXPECT_EQ(Content(Installed("holvex.exe")), before);

  // In place (_?=), so that its own exit code tells.
  test::ProgramProcess uninstaller(Installed("uninstall.exe"), "/S _?=" + InstallFolder());
  code = uninstaller.WaitForExit(60000);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0u) << "the uninstaller reported success beside a running program";
  EXPECT_TRUE(program.Running());
  EXPECT_EQ(
      FolderContents(InstallFolder()),
      (std::set<std::string>{"Anleitung.txt", "LICENSE.txt", "holvex.exe", "load.ini", "uninstall.exe"}));
  EXPECT_TRUE(Exists(StartMenuEntry()));
  EXPECT_TRUE(UninstallKeyExists(HKEY_CURRENT_USER));
  program.Kill();
}

}  // namespace
}  // namespace holvex
