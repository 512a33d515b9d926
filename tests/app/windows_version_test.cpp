// Windows Vista is the oldest Windows the program runs on. Windows refuses to start an
// executable that imports a function its DLLs lack, or whose header asks for a newer system:
// these tests read the built holvex.exe and the setup program as the loader does. The
// functions allowed are those of vista_functions.h, each checked against the documentation's
// minimum version; an import that is not there fails until someone has checked it too.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/vista_functions.h"
#include "holvex_version.h"
#include "platform/file_io.h"
#include "support/process.h"

namespace holvex {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(tolower(c)); });
  return s;
}

// An executable's bytes with the headers the loader reads.
class PeFile {
 public:
  explicit PeFile(const std::string& path) : bytes_(ReadFileBytes(path).value_or(std::string())) {
    IMAGE_DOS_HEADER dos{};
    if (!Copy(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return;
    if (!Copy(static_cast<size_t>(dos.e_lfanew), nt_) || nt_.Signature != IMAGE_NT_SIGNATURE) return;
    if (nt_.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) return;
    size_t at = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                nt_.FileHeader.SizeOfOptionalHeader;
    sections_.resize(nt_.FileHeader.NumberOfSections);
    for (IMAGE_SECTION_HEADER& s : sections_) {
      if (!Copy(at, s)) return;
      at += sizeof s;
    }
    valid_ = true;
  }

  bool valid() const { return valid_; }
  const IMAGE_OPTIONAL_HEADER32& header() const { return nt_.OptionalHeader; }
  const IMAGE_DATA_DIRECTORY& directory(int index) const { return nt_.OptionalHeader.DataDirectory[index]; }

  // Every imported function as "dll!name" (or "dll!#ordinal"), the DLL's name in lower case.
  std::vector<std::string> Imports() const {
    std::vector<std::string> imports;
    for (DWORD at = directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress;;
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      IMAGE_IMPORT_DESCRIPTOR d{};
      if (!CopyAt(at, d)) {
        imports.push_back("(import table unreadable)");
        break;
      }
      if (d.Name == 0) break;
      const std::string dll = Lower(String(d.Name));
      for (DWORD thunk = d.OriginalFirstThunk ? d.OriginalFirstThunk : d.FirstThunk;; thunk += 4) {
        DWORD entry = 0;
        if (!CopyAt(thunk, entry) || entry == 0) break;
        std::string name = dll + "!";
        if (IMAGE_SNAP_BY_ORDINAL32(entry))
          name.append("#").append(std::to_string(entry & 0xFFFF));
        else
          name.append(String(entry + 2));
        imports.push_back(name);
      }
    }
    return imports;
  }

 private:
  template <typename T>
  bool Copy(size_t offset, T& out) const {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof out) return false;
    memcpy(&out, bytes_.data() + offset, sizeof out);
    return true;
  }
  size_t Offset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& s : sections_)
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return rva - s.VirtualAddress + s.PointerToRawData;
    return bytes_.size();
  }
  template <typename T>
  bool CopyAt(DWORD rva, T& out) const {
    return Copy(Offset(rva), out);
  }
  std::string String(DWORD rva) const {
    size_t at = Offset(rva);
    if (at >= bytes_.size()) return "(unreadable)";
    return std::string(bytes_.c_str() + at, strnlen(bytes_.c_str() + at, bytes_.size() - at));
  }

  std::string bytes_;
  IMAGE_NT_HEADERS32 nt_{};
  std::vector<IMAGE_SECTION_HEADER> sections_;
  bool valid_ = false;
};

std::set<std::string> VistaFunctions() {
  std::set<std::string> known;
  std::istringstream lines(test::kVistaFunctions);
  std::string dll, name;
  while (lines >> name) {
    if (name.back() == ':') {
      dll = Lower(name.substr(0, name.size() - 1));
      continue;
    }
    known.insert(dll + "!" + name);
  }
  return known;
}

std::string CheckedBinaryDirectory() {
#ifdef HOLVEX_CHECKED_BIN
  return HOLVEX_CHECKED_BIN;
#else
  return test::TestBinaryDirectory();
#endif
}
std::string BuiltProgram() { return CheckedBinaryDirectory() + "\\holvex.exe"; }
std::string SetupProgram() {
  return CheckedBinaryDirectory() + "\\..\\package\\holvex-" HOLVEX_VERSION_TEXT "-setup.exe";
}

void ExpectRunsOnVista(const std::string& exe) {
  PeFile pe(exe);
  ASSERT_TRUE(pe.valid()) << exe;
  // A delay-load table would let imports pass unseen.
  EXPECT_EQ(pe.directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).Size, 0u) << exe;
  // Vista is 6.0; a higher number here and it refuses the file as "not a valid Win32 application".
  const IMAGE_OPTIONAL_HEADER32& h = pe.header();
  EXPECT_LE(h.MajorSubsystemVersion * 100 + h.MinorSubsystemVersion, 600) << exe;
  EXPECT_LE(h.MajorOperatingSystemVersion * 100 + h.MinorOperatingSystemVersion, 600) << exe;

  const std::set<std::string> known = VistaFunctions();
  const std::vector<std::string> imports = pe.Imports();
  EXPECT_GT(imports.size(), 10u) << exe;
  std::vector<std::string> unknown;
  for (const std::string& f : imports)
    if (!known.count(f)) unknown.push_back(f);
  EXPECT_EQ(unknown, std::vector<std::string>{}) << exe << ": imports not known to exist in Windows Vista";
}

TEST(WindowsVersion, ProgramImportsOnlyWhatWindowsVistaHas) { ExpectRunsOnVista(BuiltProgram()); }
TEST(WindowsVersion, SetupProgramImportsOnlyWhatWindowsVistaHas) { ExpectRunsOnVista(SetupProgram()); }

// The manifest resource (type 24, id 1) as the loader finds it.
std::string Manifest(const std::string& exe) {
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "(not loadable)";
  std::string text;
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    if (data) text.assign(data, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

TEST(WindowsVersion, ProgramRunsAsItsUserAndKeepsItsLook) {
  const std::string manifest = Manifest(BuiltProgram());
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
            std::string::npos)
      << manifest;
  // Common controls 6 would draw every control anew; a DPI entry would change the sizes.
  EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
  EXPECT_EQ(Lower(manifest).find("dpiaware"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"" HOLVEX_VERSION_TEXT "\""), std::string::npos);

  // Nor does the setup program ask for an administrator.
  EXPECT_NE(Manifest(SetupProgram()).find("level=\"asInvoker\""), std::string::npos);
}

}  // namespace
}  // namespace holvex
