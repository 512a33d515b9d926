// The release archive as a user gets it: unpacked (by the package_unpack step) into
// package-test beside this test, then started from there.
#include <filesystem>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "holvex_version.h"
#include "platform/file_io.h"
#include "support/process.h"

namespace holvex {
namespace {

namespace fs = std::filesystem;

#define HOLVEX_STR2(x) #x
#define HOLVEX_STR(x) HOLVEX_STR2(x)
constexpr const char* kPackageName =
    "holvex-" HOLVEX_STR(HOLVEX_VERSION_MAJOR) "." HOLVEX_STR(HOLVEX_VERSION_MINOR) "." HOLVEX_STR(
        HOLVEX_VERSION_PATCH) "." HOLVEX_STR(HOLVEX_VERSION_TWEAK) "-" HOLVEX_PACKAGE_ARCH;

std::string UnpackedDirectory() { return test::TestBinaryDirectory() + "\\package-test"; }
std::string PackageDirectory() { return UnpackedDirectory() + "\\" + kPackageName; }

std::set<std::string> Names(const std::string& dir) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// The COFF symbol table that the linker leaves and `strip` removes, read from the PE header.
bool HasSymbolTable(const std::string& exe) {
  const std::string bytes = ReadFileBytes(exe).value_or(std::string());
  IMAGE_DOS_HEADER dos{};
  if (bytes.size() < sizeof dos) return true;
  memcpy(&dos, bytes.data(), sizeof dos);
  IMAGE_NT_HEADERS32 nt{};
  if (dos.e_lfanew <= 0 || bytes.size() < static_cast<size_t>(dos.e_lfanew) + sizeof nt) return true;
  memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
  EXPECT_EQ(nt.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
  return nt.FileHeader.NumberOfSymbols != 0;
}

TEST(Package, UnpacksIntoOneVersionedFolderWithTheStrippedProgramTheGuideAndTheLicence) {
  ASSERT_EQ(Names(UnpackedDirectory()), std::set<std::string>{kPackageName});
  EXPECT_EQ(Names(PackageDirectory()), (std::set<std::string>{"Anleitung.txt", "LICENSE.txt", "holvex.exe"}));

  const std::string exe = PackageDirectory() + "\\holvex.exe";
  EXPECT_FALSE(HasSymbolTable(exe));
  EXPECT_TRUE(HasSymbolTable(test::TestBinaryDirectory() + "\\holvex.exe"))
      << "the build's copy was stripped";

  // Notepad on a German Windows reads Windows-1252 with CR LF.
  for (const char* name : {"Anleitung.txt", "LICENSE.txt"}) {
    const std::string text = ReadFileBytes(PackageDirectory() + "\\" + name).value_or(std::string());
    ASSERT_FALSE(text.empty()) << name;
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": a bare line feed at byte " << i;
  }
  const std::string guide = ReadFileBytes(PackageDirectory() + "\\Anleitung.txt").value_or(std::string());
  EXPECT_NE(guide.find("Hinzufügen"), std::string::npos);  // this source's literals are Windows-1252
  EXPECT_EQ(guide.find("\xC3\xBC"), std::string::npos) << "UTF-8 in the guide";
}

TEST(Package, ProgramStartsFromTheUnpackedFolderWithItsQueueBesideIt) {
  const std::string dir = PackageDirectory();
  WriteFileReplacing(dir + "\\load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
  WriteFileReplacing(dir + "\\load.hvq", "[setup.exe]\r\nsize=4,77 MB\r\nurl=http://h/setup.exe\r\n\r\n");
  const std::string exe = dir + "\\holvex.exe";

  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource in the packed program";
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(info->dwFileVersionMS, static_cast<DWORD>(MAKELONG(HOLVEX_VERSION_MINOR, HOLVEX_VERSION_MAJOR)));
  EXPECT_EQ(info->dwFileVersionLS, static_cast<DWORD>(MAKELONG(HOLVEX_VERSION_TWEAK, HOLVEX_VERSION_PATCH)));

  test::ProgramProcess program(exe);
  HWND main = program.WaitForWindow("TForm1", 15000, true);
  ASSERT_NE(main, nullptr) << "the packed program showed no main window";
  HWND list = test::FindDescendant(main, "SysListView32");
  ASSERT_EQ(test::RemoteListViewRowCount(list), 1);
  EXPECT_EQ(test::RemoteListViewText(program, list, 0, 0), "setup.exe");
  EXPECT_EQ(test::RemoteListViewText(program, list, 0, 2), "Wartend");
}

}  // namespace
}  // namespace holvex
