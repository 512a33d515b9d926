// Many generated names, from addresses, from the queue file and from an edited cell: the name a
// download is saved under never leaves the download folder nor opens a device.
#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "run/saved_file_name.h"
#include "queue/download_address.h"
#include "queue/queue_file.h"
#include "support/confined_name.h"

#ifdef _WIN32
#include <windows.h>

#include "support/temp_dir.h"
#endif

namespace holvex {
namespace {

// Pieces a hostile or careless name is made of: separators, parents, drives, streams,
// devices, blanks and dots at the end, control characters, escapes, umlauts.
const std::vector<std::string> kPieces = {"..",
                                          ".",
                                          "\\",
                                          "/",
                                          "C:",
                                          "c:\\",
                                          ":",
                                          "::$DATA",
                                          ":s",
                                          "NUL",
                                          "con",
                                          "Aux",
                                          "COM1",
                                          "lpt9",
                                          "COM\xB9",
                                          "CONIN$",
                                          "conout$",
                                          "PRN",
                                          " ",
                                          "  ",
                                          "\t",
                                          "\x01",
                                          "\x1f",
                                          "a",
                                          "datei",
                                          ".zip",
                                          ".txt",
                                          "ü",
                                          "\xDF",
                                          "\x80",
                                          "%2e%2e",
                                          "%5c",
                                          "?",
                                          "*",
                                          "<",
                                          ">",
                                          "|",
                                          "\"",
                                          "~1",
                                          "x.",
                                          "name ",
                                          std::string(120, 'n'),
                                          "\\\\server\\share\\",
                                          "\\\\?\\",
                                          "\\\\.\\",
                                          "..\\..\\",
                                          "../",
                                          "#",
                                          "?id=7",
                                          "&",
                                          "=",
                                          "[",
                                          "]"};

class NameGenerator {
 public:
  std::string Next() {
    std::string name;
    const int parts = std::uniform_int_distribution<int>(1, 5)(random_);
    for (int i = 0; i < parts; ++i)
      name += kPieces[std::uniform_int_distribution<size_t>(0, kPieces.size() - 1)(random_)];
    return name;
  }

 private:
  std::mt19937 random_{20040};
};

constexpr int kNames = 30000;

struct Tally {
  std::set<std::string> saved;  // every distinct name a download would be saved under
  int refused = 0;
  void Take(const QueueEntry& entry) {
    std::optional<std::string> name = SavedFileName(entry);
    if (!name) {
      ++refused;
      return;
    }
    EXPECT_EQ(test::WhyNotConfined(*name), "") << "saved as \"" << *name << "\" for the listed name \""
                                               << entry.fileName << "\" and the address " << entry.url;
    saved.insert(*name);
  }
};

std::vector<std::string> GeneratedNames() {
  NameGenerator generator;
  std::vector<std::string> names;
  for (int i = 0; i < kNames; ++i) names.push_back(generator.Next());
  return names;
}

Tally SaveEveryOrigin(const std::vector<std::string>& names) {
  Tally tally;
  const std::string fallback = "http://h/pfad/ok.zip";
  for (const std::string& name : names) {
    // From an address: listed under its document, as the add dialog and the import list it.
    for (const std::string& url :
         {"http://h/" + name, "ftp://h/d/" + name + "?x=1", "http://h/" + name + "/"})
      tally.Take({DownloadFileName(url), kDefaultSizeText, kStatusWaiting, url});
    // From the queue file: a section of that name, with an address that gives a plain name
    // and with one that is just as hostile.
    std::string line = name.substr(0, name.find_first_of("\r\n"));
    for (const QueueEntry& e : ParseQueue("[" + line + "]\r\nurl=" + fallback + "\r\n[" + line +
                                          "]\r\nurl=http://h/" + line + "\r\n"))
      tally.Take(e);
    // From an edited cell: the typed text as the listed name.
    tally.Take({name, kDefaultSizeText, kStatusWaiting, fallback});
    tally.Take({name, kDefaultSizeText, kStatusWaiting, ""});
  }
  return tally;
}

TEST(SavedNameFuzz, GeneratedNamesNeverLeaveTheFolderOrReachADevice) {
  const std::vector<std::string> names = GeneratedNames();
  Tally tally = SaveEveryOrigin(names);
  // The generator reaches both sides of the rule.
  EXPECT_GT(tally.refused, kNames);
  EXPECT_GT(tally.saved.size(), 1000u);
  // And the rule is not stricter than it must be: a name that is a plain file name is kept.
  for (const std::string& name : names) {
    if (test::WhyNotConfined(name).empty()) {
      EXPECT_EQ(SavedFileName({name, kDefaultSizeText, kStatusWaiting, ""}), name);
    }
  }
  std::printf("%d names, %zu distinct saved names, %d refusals\n", kNames, tally.saved.size(), tally.refused);
}

#ifdef _WIN32
// The platform agrees: every saved name, joined to the folder, stays that path and opens a new
// disk file directly inside the folder.
TEST(SavedNameFuzz, EverySavedNameOpensAPlainFileInsideTheFolder) {
  Tally tally = SaveEveryOrigin(GeneratedNames());
  test::TempDir dir;
  int checked = 0;
  for (const std::string& name : tally.saved) {
    const std::string path = dir.path() + "\\" + name;
    if (path.size() >= MAX_PATH) continue;  // the ANSI file functions refuse longer paths
    char full[MAX_PATH * 2];
    char* part = nullptr;
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, &part);
    ASSERT_TRUE(n > 0 && n < sizeof full) << name;
    EXPECT_EQ(std::string(full), path) << "the platform reads \"" << name << "\" as another path";
    // Wine maps non-ASCII names to the Unix locale's character set, which may have none for them.
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
      continue;
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "\"" << name << "\": error " << GetLastError();
    EXPECT_EQ(GetFileType(file), static_cast<DWORD>(FILE_TYPE_DISK)) << name;
    CloseHandle(file);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir.path() + "\\*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::string> entries;
    do {
      if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
        entries.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    EXPECT_EQ(entries, std::vector<std::string>{name});
    DeleteFileA(path.c_str());
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}
#endif

}  // namespace
}  // namespace holvex
