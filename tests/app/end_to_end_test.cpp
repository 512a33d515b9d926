// The whole road of a download through the real holvex.exe: two addresses typed into the
// input box, three imported from a link file, one run, and the exit that saves the queue.
#include <gtest/gtest.h>

#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/process.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

using test::ConnectionScript;

HWND ChildButton(HWND parent, const char* text) {
  for (HWND c = FindWindowExA(parent, nullptr, "Button", nullptr); c; c = FindWindowExA(parent, c, "Button", nullptr)) {
    char buf[128] = {};
    GetWindowTextA(c, buf, sizeof buf);
    if (std::string(buf) == text) return c;
  }
  return nullptr;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(50);
  }
  return true;
}

// The menu commands are numbered in the order the menu is built.
constexpr int kImportCommand = 102;
constexpr int kExitCommand = 103;

TEST(EndToEnd, AddImportDownloadAndExit) {
  const std::string bodies[5] = {std::string(100000, 'a'), std::string(2000, 'b'), "c", std::string(50000, 'd'),
                                 std::string(300000, 'e')};
  const char* names[5] = {"eins.bin", "zwei.bin", "drei.txt", "vier.zip", "fuenf.dat"};
  std::vector<ConnectionScript> scripts;
  for (const std::string& b : bodies)  // the five size probes come first
    scripts.push_back(ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: " +
                                                       std::to_string(b.size()) + "\r\n\r\n").Close());
  for (const std::string& b : bodies)
    scripts.push_back(ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: " +
                                                       std::to_string(b.size()) + "\r\nConnection: close\r\n\r\n" + b)
                          .Close());
  test::ScriptedHttpServer server(scripts);

  test::TempDir dir;
  CreateDirectoryA(dir.File("dl").c_str(), nullptr);
  std::string exe = test::TestBinaryDirectory() + "\\holvex.exe";
  ASSERT_TRUE(CopyFileA(exe.c_str(), dir.File("holvex.exe").c_str(), FALSE));
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\nstatus=1\r\ndownloadfolder=" + dir.File("dl") + "\r\n");
  dir.Write("links.txt", server.Url(std::string("/") + names[2]) + "\r\n" + server.Url(std::string("/") + names[3]) +
                             "\r\n" + server.Url(std::string("/") + names[4]) + "\r\n");

  test::ProgramProcess program(dir.File("holvex.exe"));
  HWND main = program.WaitForWindow("TForm1", 15000, true);
  ASSERT_NE(main, nullptr);
  ASSERT_NE(program.WaitForWindow("TForm9", 15000), nullptr);  // every window exists
  HWND list = test::FindDescendant(main, "SysListView32");

  for (int i = 0; i < 2; ++i) {
    auto input = test::DialogAnswerer::Form("TInputQueryForm", "Download hinzufügen",
                                            server.Url(std::string("/") + names[i]), "OK", 10000, program.id());
    PostMessageA(ChildButton(main, "Hinzufügen"), BM_CLICK, 0, 0);
    ASSERT_TRUE(input.Result().found);
    // Queued, and the add dialog gone: until then "Hinzufügen" is locked.
    ASSERT_TRUE(WaitFor([&] { return test::RemoteListViewRowCount(list) == i + 1 &&
                                     test::RemoteListViewText(program, list, i, 2) == "Wartend" &&
                                     IsWindowEnabled(ChildButton(main, "Hinzufügen")); }, 15000));
  }
  auto open = test::DialogAnswerer::OpenFile("Downloadlinks importieren", dir.File("links.txt"), 10000, program.id());
  PostMessageA(main, WM_COMMAND, kImportCommand, 0);
  ASSERT_TRUE(open.Result().found);
  // Imported, and the import dialog gone: a run is not started under it.
  ASSERT_TRUE(WaitFor([&] { return test::RemoteListViewRowCount(list) == 5 && IsWindowEnabled(main); }, 20000));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(test::RemoteListViewText(program, list, i, 0), names[i]);

  PostMessageA(ChildButton(main, "Download"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] {
    for (int i = 0; i < 5; ++i)
      if (test::RemoteListViewText(program, list, i, 2) != "Fertig") return false;
    return IsWindowEnabled(ChildButton(main, "Download")) != FALSE;
  }, 60000)) << "the run did not finish every entry";
  for (int i = 0; i < 5; ++i) EXPECT_EQ(dir.Read(std::string("dl\\") + names[i]), bodies[i]) << names[i];

  auto exitBox = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
  PostMessageA(main, WM_COMMAND, kExitCommand, 0);
  ASSERT_TRUE(exitBox.Result().found);
  std::optional<DWORD> code = program.WaitForExit(20000);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  // Every entry was finished, so the saved queue holds none of them.
  EXPECT_FALSE(dir.Exists("load.hvq"));
  EXPECT_EQ(server.Requests().size(), 10u);
  EXPECT_EQ(server.Requests().at(0).RequestLine(), std::string("HEAD /") + names[0] + " HTTP/1.1");
}

}  // namespace
}  // namespace holvex
