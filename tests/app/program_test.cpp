// The real holvex.exe, started as a user starts it, beside its own files.
#include <gtest/gtest.h>

#include <vector>

#include "holvex_version.h"
#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string exe = test::TestBinaryDirectory() + "\\holvex.exe";
    ASSERT_TRUE(CopyFileA(exe.c_str(), dir.File("holvex.exe").c_str(), FALSE)) << exe;
  }
  std::string Exe() const { return dir.File("holvex.exe"); }
  test::TempDir dir;
};

TEST_F(ProgramTest, StartsBesideItsQueueFileShowingRowsAndLog) {
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
  dir.Write("load.hvq", "[a]\r\nurl=http://h/a\r\n\r\n[b]\r\nstatus=Fertig\r\n\r\n[c]\r\nsize=3,00 MB\r\n\r\n");
  test::ProgramProcess program(Exe());
  HWND main = program.WaitForWindow("TForm1", 15000, true);
  ASSERT_NE(main, nullptr);
  HWND list = test::FindDescendant(main, "SysListView32");
  ASSERT_EQ(test::RemoteListViewRowCount(list), 3);
  EXPECT_EQ(test::RemoteListViewText(program, list, 0, 0), "a");
  EXPECT_EQ(test::RemoteListViewText(program, list, 1, 0), "b");
  EXPECT_EQ(test::RemoteListViewText(program, list, 2, 0), "c");
  EXPECT_EQ(test::RemoteListViewText(program, list, 2, 1), "3,00 MB");
  EXPECT_EQ(test::RemoteListViewText(program, list, 0, 2), "Wartend");
  auto lines = test::WindowTextLines(test::FindDescendant(main, "Edit"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(8), ": Lade Downloads...");
  EXPECT_EQ(lines[1].substr(8), ": Bitte warten...");
  EXPECT_EQ(lines[2].substr(8), ": Initialisierung erfolgreich!");
}

TEST_F(ProgramTest, ExecutableCarriesItsVersion) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(Exe().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(Exe().c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(HIWORD(info->dwFileVersionMS), HOLVEX_VERSION_MAJOR);
  EXPECT_EQ(LOWORD(info->dwFileVersionMS), HOLVEX_VERSION_MINOR);
  EXPECT_EQ(HIWORD(info->dwFileVersionLS), HOLVEX_VERSION_PATCH);
  EXPECT_EQ(LOWORD(info->dwFileVersionLS), HOLVEX_VERSION_TWEAK);
}

TEST_F(ProgramTest, SecondInstanceEndsAtOnceWithExitCodeZeroAndChangesNoFile) {
  const std::string ini = "[allgemein]\r\nsplashscreen=0\r\n";
  const std::string queue = "[a]\r\nsize=0,00 MB\r\nstatus=Wartend\r\nurl=http://h/a\r\n\r\n";
  dir.Write("load.ini", ini);
  dir.Write("load.hvq", queue);
  test::ProgramProcess first(Exe());
  ASSERT_NE(first.WaitForWindow("TForm1", 15000, true), nullptr);
  test::ProgramProcess second(Exe());
  std::optional<DWORD> code = second.WaitForExit(15000);
  ASSERT_TRUE(code.has_value()) << "the second instance did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(dir.Read("load.ini"), ini);
  EXPECT_EQ(dir.Read("load.hvq"), queue);
  EXPECT_FALSE(dir.Exists("load.hvq.tmp"));
}

TEST_F(ProgramTest, SplashSequenceRunsBeforeTheMainWindowAppears) {
  // No settings file: the splash screen is on by default.
  test::ProgramProcess program(Exe());
  HWND splash = program.WaitForWindow("TSplashScreen", 10000, true);
  ASSERT_NE(splash, nullptr);
  DWORD shown = GetTickCount();
  EXPECT_EQ(program.WaitForWindow("TForm1", 1000, true), nullptr) << "main window visible during the splash";
  HWND main = program.WaitForWindow("TForm1", 20000, true);
  ASSERT_NE(main, nullptr);
  DWORD elapsed = GetTickCount() - shown;
  EXPECT_GE(elapsed, 7000u);  // ten steps of 850 ms
  // The main window shows while the splash screen is still up; the splash goes right after.
  DWORD until = GetTickCount() + 5000;
  while (IsWindow(splash) && GetTickCount() < until) Sleep(20);
  EXPECT_FALSE(IsWindow(splash));
}

TEST_F(ProgramTest, ConfirmedExitSavesTheQueueAndEndsTheProgram) {
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
  dir.Write("load.hvq", SerializeQueue({{"a", "0,00 MB", "Fertig", "http://h/a"},
                                        {"b", "0,00 MB", "Wartend", "http://h/b"}}));
  test::ProgramProcess program(Exe());
  HWND main = program.WaitForWindow("TForm1", 15000, true);
  ASSERT_NE(main, nullptr);
  // Every window must exist before an exit can pass through the save dialog.
  ASSERT_NE(program.WaitForWindow("TForm4", 15000), nullptr);
  Sleep(300);
  auto box = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
  PostMessageA(main, WM_CLOSE, 0, 0);
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "Wollen Sie das Programm wirklich beenden?");
  std::optional<DWORD> code = program.WaitForExit(15000);
  ASSERT_TRUE(code.has_value()) << "the program did not end after the save";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue({{"b", "0,00 MB", "Wartend", "http://h/b"}}));
}

TEST_F(ProgramTest, BadProxyPortInTheSettingsIsLoggedAndStartUpGoesOn) {
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n[proxy]\r\nserver=proxy.lan\r\nport=80x\r\n");
  test::ProgramProcess program(Exe());
  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK, 3000, program.id());
  HWND main = program.WaitForWindow("TForm1", 15000, true);
  ASSERT_NE(main, nullptr);
  EXPECT_NE(program.WaitForWindow("TForm7", 5000), nullptr);
  EXPECT_NE(program.WaitForWindow("TForm8", 5000), nullptr);
  EXPECT_FALSE(box.Result().found) << "a box at start";
  auto lines = test::WindowTextLines(test::FindDescendant(main, "Edit"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().substr(8),
            ": Proxy Einstellungen: '80x' ist kein gültiger Integerwert, Port 0 wird verwendet.");
}

}  // namespace
}  // namespace holvex
