// Leaving the real holvex.exe without losing the queue: a save that fails on exit keeps the
// program open.
#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

class LeavingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string exe = test::TestBinaryDirectory() + "\\holvex.exe";
    ASSERT_TRUE(CopyFileA(exe.c_str(), dir.File("holvex.exe").c_str(), FALSE)) << exe;
    CreateDirectoryA(dir.File("dl").c_str(), nullptr);
    dir.Write("load.ini",
              "[allgemein]\r\nsplashscreen=0\r\nstatus=0\r\ndownloadfolder=" + dir.File("dl") + "\r\n");
  }
  // Started, with every window created (an exit passes through the last ones).
  HWND Start(test::ProgramProcess& program) {
    HWND main = program.WaitForWindow("TForm1", 15000, true);
    if (main && !program.WaitForWindow("TForm9", 15000)) return nullptr;
    Sleep(300);
    return main;
  }
  test::TempDir dir;
};

TEST_F(LeavingTest, SaveThatFailsOnExitKeepsTheProgramOpenUntilTheUserCanLeave) {
  dir.Write("load.hvq", SerializeQueue({{"a.zip", "1,00 MB", "Wartend", "http://h/a.zip"},
                                        {"b.zip", "2,00 MB", "Fertig", "http://h/b.zip"}}));
  const std::string before = dir.Read("load.hvq");
  // A folder where the temporary file must go makes every write fail, even for root.
  ASSERT_TRUE(CreateDirectoryA(dir.File("load.hvq.tmp").c_str(), nullptr));
  test::ProgramProcess program(dir.File("holvex.exe"));
  HWND main = Start(program);
  ASSERT_NE(main, nullptr);

  auto question = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
  auto failure = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK, 10000, program.id());
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(question.Result().found);
  test::SeenDialog seen = failure.Result();
  ASSERT_TRUE(seen.found) << "the failed save went unreported";
  EXPECT_NE(seen.text.find("load.hvq\" kann nicht erstellt werden. "), std::string::npos) << seen.text;
  // The dialog's close timer has long run out: the program is still there, with its queue.
  EXPECT_FALSE(program.WaitForExit(4000).has_value()) << "the program ended after a failed save";
  EXPECT_TRUE(IsWindowVisible(main));
  HWND list = test::FindDescendant(main, "SysListView32");
  ASSERT_EQ(test::RemoteListViewRowCount(list), 1);
  EXPECT_EQ(test::RemoteListViewText(program, list, 0, 0), "a.zip");
  EXPECT_EQ(dir.Read("load.hvq"), before);

  // The folder freed, the next exit saves and ends.
  ASSERT_TRUE(RemoveDirectoryA(dir.File("load.hvq.tmp").c_str()));
  auto again = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(again.Result().found);
  std::optional<DWORD> code = program.WaitForExit(15000);
  ASSERT_TRUE(code.has_value()) << "the second exit did not end the program";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue({{"a.zip", "1,00 MB", "Wartend", "http://h/a.zip"}}));
}

}  // namespace
}  // namespace holvex
