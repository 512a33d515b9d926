// Leaving the real holvex.exe without losing the queue: a save that fails on exit keeps the
// program open, and the end of a Windows session saves without asking.
#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include <vector>

#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/process.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

bool WaitFor(const std::function<bool()>& done, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(50);
  }
  return true;
}

BOOL CALLBACK NoteWindowOf(HWND w, LPARAM lp) {
  auto* search = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == search->first) search->second.push_back(w);
  return TRUE;
}

// What Windows does at a logoff, and `wineboot --end-session` under Wine: every top-level
// window of the process is asked, then told that the session ends. True when all agreed.
bool EndSession(DWORD pid) {
  std::pair<DWORD, std::vector<HWND>> search{pid, {}};
  EnumWindows(NoteWindowOf, reinterpret_cast<LPARAM>(&search));
  bool agreed = !search.second.empty();
  for (HWND w : search.second) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer)) {
      // A window gone meanwhile has no say.
      if (!IsWindow(w)) continue;
      return false;
    }
    agreed = agreed && answer;
  }
  for (HWND w : search.second) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(w, WM_ENDSESSION, agreed, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &ignored);
  }
  return agreed;
}

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

// A download that stalls after a few bytes, so the run is still going when the test acts.
test::ConnectionScript StallsAfterAFewBytes() {
  return test::ConnectionScript()
      .Receive()
      .Send("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n" + std::string(20000, 'x'))
      .HoldOpen();
}

// The menu commands are numbered in the order the menu is built.
constexpr int kAboutCommand = 110;

TEST_F(LeavingTest, EndOfSessionDuringARunUnderADialogSavesTheQueueWithoutAsking) {
  // The first download stalls after a few bytes, so the run is still going when the session ends.
  test::ScriptedHttpServer server({StallsAfterAFewBytes()});
  const QueueEntry slow{"slow.bin", "0,95 MB", "Wartend", server.Url("/slow.bin")};
  const QueueEntry later{"later.bin", "0,00 MB", "Wartend", server.Url("/later.bin")};
  dir.Write("load.hvq",
            SerializeQueue({{"done.bin", "1,00 MB", "Fertig", "http://h/done.bin"}, slow, later}));
  test::ProgramProcess program(dir.File("holvex.exe"));
  HWND main = Start(program);
  ASSERT_NE(main, nullptr);
  HWND list = test::FindDescendant(main, "SysListView32");

  PostMessageA(FindWindowExA(main, nullptr, "Button", "Download"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor(
      [&] {
        const std::string status = test::RemoteListViewText(program, list, 0, 2);
        return status.size() > 8 && status.substr(status.size() - 8) == " KB/Sek.";
      },
      15000))
      << "the run did not start";
  PostMessageA(main, WM_COMMAND, kAboutCommand, 0);
  ASSERT_NE(program.WaitForWindow("TForm6", 10000, true), nullptr) << "no dialog open";

  auto anyBox = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK, 1000, program.id());
  EXPECT_TRUE(EndSession(program.id())) << "the program refused the end of the session";
  EXPECT_FALSE(anyBox.Result().found) << "a box at the end of the session";
  program.Kill();  // as the system ends it once every window was told
  QueueEntry cancelled = slow;
  cancelled.status = "Abgebrochen";
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue({cancelled, later}));
}

TEST_F(LeavingTest, ExitOrEndOfSessionRightAfterACancelSavesTheEntryCancelled) {
  for (bool endOfSession : {false, true}) {
    SCOPED_TRACE(endOfSession ? "end of the session" : "close answered Ja");
    test::ScriptedHttpServer server({StallsAfterAFewBytes()});
    const QueueEntry slow{"slow.bin", "0,95 MB", "Wartend", server.Url("/slow.bin")};
    const QueueEntry later{"later.bin", "0,00 MB", "Wartend", server.Url("/later.bin")};
    dir.Write("load.hvq", SerializeQueue({slow, later}));
    test::ProgramProcess program(dir.File("holvex.exe"));
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    HWND list = test::FindDescendant(main, "SysListView32");
    PostMessageA(FindWindowExA(main, nullptr, "Button", "Download"), BM_CLICK, 0, 0);
    ASSERT_TRUE(
        WaitFor([&] { return test::RemoteListViewText(program, list, 0, 2).ends_with(" KB/Sek."); }, 15000))
        << "the run did not start";

    HWND cancel = FindWindowExA(main, nullptr, "Button", "Abbrechen");
    if (endOfSession) {
      PostMessageA(cancel, BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(cancel); }, 5000));
      EXPECT_TRUE(EndSession(program.id()));
      program.Kill();
    } else {
      auto question = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
      // The close comes while the cancelled entry is still on its way out of the engine.
      PostMessageA(cancel, BM_CLICK, 0, 0);
      PostMessageA(main, WM_CLOSE, 0, 0);
      ASSERT_TRUE(question.Result().found);
      ASSERT_TRUE(program.WaitForExit(15000).has_value());
    }
    QueueEntry cancelled = slow;
    cancelled.status = "Abgebrochen";
    EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue({cancelled, later}));
  }
}

}  // namespace
}  // namespace holvex
