#include "queue/queue_file.h"

#include <gtest/gtest.h>

namespace holvex {
namespace {

const LocaleSeparators kGerman{",", "."};

TEST(QueueFile, WritesFiveCrLfLinesPerEntryAndNothingElse) {
  std::vector<QueueEntry> entries{{"setup.exe", "4,77 MB", "Wartend", "http://h/setup.exe"},
                                  {"b.zip", "0,00 MB", "Fehler", "ftp://h/b.zip"}};
  EXPECT_EQ(SerializeQueue(entries),
            "[setup.exe]\r\nsize=4,77 MB\r\nstatus=Wartend\r\nurl=http://h/setup.exe\r\n\r\n"
            "[b.zip]\r\nsize=0,00 MB\r\nstatus=Fehler\r\nurl=ftp://h/b.zip\r\n\r\n");
  EXPECT_EQ(SerializeQueue({}), "");
}

TEST(QueueFile, RoundTripKeepsOrderAndEveryTextVerbatim) {
  std::vector<QueueEntry> entries{
      {"get.php", "1.024,00 MB", "12,34 KB/Sek.", "http://h/get.php?id=7&a=b#frag"},
      {"c", "0,00 MB", "Verbinde...", "http://h/x=y"},
      {"a]b.zip", "1,00 MB", "Abgebrochen", ""},
      {"Größe.txt", "2,00 MB", "fertig", "http://h/Größe.txt"},
  };
  EXPECT_EQ(ParseQueue(SerializeQueue(entries)), entries);
}

TEST(QueueFile, TwoEntriesOfOneNameKeepTheirOwnValues) {
  std::vector<QueueEntry> entries{{"setup.exe", "1,00 MB", "Fertig", "http://one/setup.exe"},
                                  {"setup.exe", "2,00 MB", "Wartend", "http://two/setup.exe"}};
  auto back = ParseQueue(SerializeQueue(entries));
  EXPECT_EQ(back, entries);
}

TEST(QueueFile, LargeQueueWithLongUrlsRoundTripsIntact) {
  std::vector<QueueEntry> entries;
  for (int i = 0; i < 5000; ++i) {
    std::string url = "http://host/" + std::string(4000, static_cast<char>('a' + i % 26)) + std::to_string(i);
    entries.push_back({"file" + std::to_string(i) + ".bin", "0,00 MB", "Wartend", url});
  }
  auto back = ParseQueue(SerializeQueue(entries));
  ASSERT_EQ(back.size(), entries.size());
  EXPECT_EQ(back, entries);
}

TEST(QueueFile, MissingKeysTakeDefaultsAndKeysMatchInAnyCase) {
  auto entries = ParseQueue("[only-url]\r\nurl=http://h/a\r\n[empty]\r\n[cased]\nSize=3,00 MB\nSTATUS=Fertig\nUrl=u\n");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (QueueEntry{"only-url", "0,00 MB", "Wartend", "http://h/a"}));
  EXPECT_EQ(entries[1], (QueueEntry{"empty", "0,00 MB", "Wartend", ""}));
  EXPECT_EQ(entries[2], (QueueEntry{"cased", "3,00 MB", "Fertig", "u"}));
}

TEST(QueueFile, DamagedFilesRestoreWhatTheyCan) {
  EXPECT_TRUE(ParseQueue("").empty());
  EXPECT_TRUE(ParseQueue("size=1\r\nno section here\r\n").empty());
  using namespace std::string_literals;
  auto entries = ParseQueue("junk\0junk\r[a]\rurl=x\0y\rnoequals\r[b"s);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].url, std::string("x\0y", 3));
  EXPECT_EQ(entries[1].fileName, "b");
  std::string random;
  for (int i = 0; i < 200000; ++i) random += static_cast<char>((i * 7919 + 13) % 256);
  ParseQueue(random);  // must not crash or hang
}

TEST(SizeText, MegabytesWithTwoDecimalsAndLocaleSeparators) {
  EXPECT_EQ(SizeText(0, kGerman), "0,00 MB");
  EXPECT_EQ(SizeText(5000000, kGerman), "4,77 MB");
  EXPECT_EQ(SizeText(1073741824, kGerman), "1.024,00 MB");
  EXPECT_EQ(SizeText(-1, kGerman), "0,00 MB");
  // 0.0049992 MB: four decimals give 0.0050, which then shows as 0,01.
  EXPECT_EQ(SizeText(5242, kGerman), "0,01 MB");
  EXPECT_EQ(SizeText(5000, kGerman), "0,00 MB");
  EXPECT_EQ(SizeText(1073741824, LocaleSeparators{".", ","}), "1,024.00 MB");
  EXPECT_EQ(SizeText(1099511627776LL * 1024, kGerman), "1.073.741.824,00 MB");
}

}  // namespace
}  // namespace holvex
