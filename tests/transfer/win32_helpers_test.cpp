// The helpers that need Win32: folders, dates of the platform, WinInet's message texts.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include "support/temp_dir.h"
#include "transfer/internet_error_text.h"
#include "transfer/local_files.h"
#include "transfer/system_dates.h"
#include "transfer/transfer_error.h"

namespace holvex::test {
namespace {

TEST(MakeDirectoryPath, CreatesMissingParentsAndRefusesAnEmptyName) {
  TempDir dir;
  const std::string deep = dir.File("a\\b\\c");
  EXPECT_FALSE(IsDirectory(deep));
  EXPECT_TRUE(MakeDirectoryPath(deep + "\\"));
  EXPECT_TRUE(IsDirectory(deep));
  EXPECT_TRUE(MakeDirectoryPath(deep));  // already there
  EXPECT_TRUE(MakeDirectoryPath("C:\\"));
  EXPECT_THROW(MakeDirectoryPath(""), TransferError);
  // A file where a folder should be: creation fails, reported by the result.
  dir.Write("file", "x");
  EXPECT_FALSE(MakeDirectoryPath(dir.File("file\\sub")));
  EXPECT_FALSE(IsDirectory(dir.File("file")));
}

TEST(TargetFileExists, OnlyRegularFilesCount) {
  TempDir dir;
  dir.Write("a.txt", "x");
  EXPECT_TRUE(TargetFileExists(dir.File("a.txt")));
  EXPECT_FALSE(TargetFileExists(dir.File("missing.txt")));
  EXPECT_FALSE(TargetFileExists(dir.path()));
  EXPECT_FALSE(TargetFileExists(dir.File("nul.txt")));
  EXPECT_FALSE(TargetFileExists("CON"));
}

TEST(SystemDates, ConvertWithoutTimeZoneAndRefuseAnEmptyRecord) {
  SYSTEMTIME st{};
  st.wYear = 2004;
  st.wMonth = 5;
  st.wDay = 17;
  st.wHour = 18;
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(st), 38124.75);
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  EXPECT_DOUBLE_EQ(FileTimeToDateTime(ft), 38124.75);
  EXPECT_THROW(SystemTimeToDateTime(SYSTEMTIME{}), DateConversionError);
}

TEST(InternetErrorText, WinInetsOwnTableWithItsLineEnd) {
  LoadLibraryA("wininet.dll");
  std::string text = InternetErrorText(ERROR_INTERNET_TIMEOUT);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(InternetErrorText(1), "");  // not a WinInet number
}

}  // namespace
}  // namespace holvex::test
