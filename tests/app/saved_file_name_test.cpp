#include "run/saved_file_name.h"

#include <gtest/gtest.h>

namespace holvex {
namespace {

std::optional<std::string> Saved(const std::string& listed, const std::string& url) {
  return SavedFileName(QueueEntry{listed, "0,00 MB", "Wartend", url});
}

TEST(SavedFileName, APlainListedNameIsKept) {
  EXPECT_EQ(Saved("get.php", "http://h/get.php?id=7"), "get.php");
  EXPECT_EQ(Saved("Größe (1).zip", "http://h/x.zip"), "Größe (1).zip");
}

TEST(SavedFileName, NamesThatLeaveTheFolderOrOpenADeviceFallBackToTheAddress) {
  for (const char* hostile : {"..\\..\\evil.bin", "sub\\x.bin", "a/b.bin", "C:x.bin", "x.bin:stream", "..",
                              ".", "NUL", "con.txt", "LPT1 ", "a.bin.", "", "\x01.bin"})
    EXPECT_EQ(Saved(hostile, "http://h/pfad/ok.zip"), "ok.zip") << hostile;
  EXPECT_EQ(Saved(std::string(300, 'a'), "http://h/ok.zip"), "ok.zip");
}

TEST(SavedFileName, NoNameWhenTheAddressGivesNoPlainNameEither) {
  EXPECT_EQ(Saved("..\\evil.bin", "http://h/NUL"), std::nullopt);
  EXPECT_EQ(Saved("sub\\x", "http://h/a/"), std::nullopt);
}

}  // namespace
}  // namespace holvex
