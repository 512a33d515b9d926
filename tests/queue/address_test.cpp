#include <gtest/gtest.h>

#include "run/byte_count.h"
#include "queue/download_address.h"

namespace holvex {
namespace {

TEST(DownloadAddress, AcceptsHttpAndFtpAddressesEndingInAFileName) {
  EXPECT_TRUE(IsValidDownloadUrl("ftp://h/pub/a.txt"));
  EXPECT_TRUE(IsValidDownloadUrl("http://h/x.exe?id=1"));
  EXPECT_TRUE(IsValidDownloadUrl("http://user:pw@h:8080/a/b.zip"));
  EXPECT_TRUE(IsValidDownloadUrl("http://h\\pub\\setup.exe"));
  EXPECT_EQ(DownloadFileName("http://h/get.php?id=7"), "get.php");
}

TEST(DownloadAddress, RejectsFoldersBareHostsCapitalSchemesAndHttps) {
  EXPECT_FALSE(IsValidDownloadUrl("http://h/dir/"));
  EXPECT_FALSE(IsValidDownloadUrl("http://h"));
  EXPECT_FALSE(IsValidDownloadUrl("HTTP://h/a.zip"));
  EXPECT_FALSE(IsValidDownloadUrl("https://h/a.zip"));
  EXPECT_FALSE(IsValidDownloadUrl("h/a.zip"));
}

TEST(DownloadAddress, HostileTextsNeverCrashTheRule) {
  const std::string texts[] = {"",
                               "://",
                               "tp://",
                               std::string(10000, 'x'),
                               "http://" + std::string(10000, '/'),
                               std::string("http://h/\x01\x02\x7f\x00z.zip", 17),
                               "http://\\\\\\",
                               "http://a@b@c:d:e/f@g:h.zip",
                               "ftp://:@:/:",
                               "http://h/#?=#?="};
  for (const std::string& t : texts) {
    IsValidDownloadUrl(t);
    DownloadFileName(t);
  }
  EXPECT_TRUE(IsValidDownloadUrl("http://a@b@c:d:e/f@g:h.zip"));
}

TEST(FormatByteCount, UnitsAndGermanSeparators) {
  LocaleSeparators de{",", "."};
  EXPECT_EQ(FormatByteCount(0, de), "0 Byte");
  EXPECT_EQ(FormatByteCount(512, de), "512 Byte");
  EXPECT_EQ(FormatByteCount(1023, de), "1023 Byte");
  EXPECT_EQ(FormatByteCount(-5, de), "-5 Byte");
  EXPECT_EQ(FormatByteCount(1024, de), "1,00 KB");
  EXPECT_EQ(FormatByteCount(1536, de), "1,50 KB");
  EXPECT_EQ(FormatByteCount(1000000, de), "976,56 KB");
  EXPECT_EQ(FormatByteCount(1048576, de), "1,00 MB");
  EXPECT_EQ(FormatByteCount(2147483648LL, de), "2.048,00 MB");
  EXPECT_EQ(FormatByteCount(10737418239LL, de), "10.240,00 MB");
  EXPECT_EQ(FormatByteCount(10737418240LL, de), "10,00 GB");
}

}  // namespace
}  // namespace holvex
