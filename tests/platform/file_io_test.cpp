#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace holvex {
namespace {

TEST(FileIo, ReplacingWriteLeavesExactlyTheNewBytesAndNoTemporaryFile) {
  test::TempDir dir;
  dir.Write("load.hvq", "old content that is longer than the new one");
  WriteFileReplacing(dir.File("load.hvq"), std::string("new\0bytes", 9));
  EXPECT_EQ(dir.Read("load.hvq"), std::string("new\0bytes", 9));
  EXPECT_FALSE(dir.Exists("load.hvq.tmp"));
}

TEST(FileIo, FailedWriteThrowsWithPathAndReasonAndKeepsTheOldFile) {
  test::TempDir dir;
  dir.Write("load.hvq", "old");
  std::string target = PathInDirectory(dir.File("missing-folder"), "load.hvq");
  try {
    WriteFileReplacing(target, "new");
    FAIL() << "write into a missing folder succeeded";
  } catch (const FileWriteError& e) {
    EXPECT_EQ(e.path(), target);
    EXPECT_FALSE(e.reason().empty());
  }
  EXPECT_EQ(dir.Read("load.hvq"), "old");
}

TEST(FileIo, MissingFileReadsAsNothing) {
  test::TempDir dir;
  EXPECT_FALSE(FileExists(dir.File("none")));
  EXPECT_EQ(ReadFileBytes(dir.File("none")), std::nullopt);
  EXPECT_TRUE(RemoveFile(dir.File("none")));
  EXPECT_FALSE(FileExists(dir.path()));  // a folder is no file
}

}  // namespace
}  // namespace holvex
