// Adding addresses through the input box and importing link files, against loopback servers.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include <psapi.h>

#include "app/main_form.h"
#include "queue/add_dialog.h"
#include "queue/import_dialog.h"
#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/dialog_ui.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/queue_printing.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"

namespace holvex {

namespace {

using test::ConnectionScript;

ConnectionScript Answer(const std::string& response) {
  return ConnectionScript().Receive().Send(response).Close();
}

class AddImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    dir.Write("load.hvq", SerializeQueue({{"old.zip", "1,00 MB", "Fertig", "http://h/old.zip"},
                                          {"keep.zip", "1,00 MB", "Wartend", "http://h/keep.zip"}}));
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-add")});
    add = std::make_unique<TForm3>(*form);
    import = std::make_unique<TForm5>(*form);
    form->showAddDialog = [this](const std::string& url) { add->Execute(url); };
    form->showImportDialog = [this](const std::string& linkFile) { import->Execute(linkFile); };
    form->StartupComplete();
  }
  void TearDown() override {
    import.reset();
    add.reset();
    form.reset();
  }
  // Types the address into the input box and waits for the add dialog to finish.
  void AddAddress(const std::string& url) {
    auto input = test::DialogAnswerer::Form("TInputQueryForm", "Download hinzufügen", url, "OK");
    form->SpeedButton1Click();
    ASSERT_TRUE(input.Result().found);
  }
  void Import(const std::string& file) {
    auto open = test::DialogAnswerer::OpenFile("Downloadlinks importieren", file);
    form->extdatei1Click();
    ASSERT_TRUE(open.Result().found);
  }
  test::MainWindowUi Ui() const { return test::MainWindowUi(form->hwnd()); }
  std::vector<QueueEntry> Rows() {
    const test::MainWindowUi ui = Ui();
    std::vector<QueueEntry> rows;
    for (size_t i = 0, n = ui.RowCount(); i < n; ++i)
      rows.push_back({ui.Cell(i, 0), ui.Cell(i, 1), ui.Cell(i, 2), ui.Cell(i, 3)});
    return rows;
  }
  std::vector<std::string> ImportStatuses() {
    std::vector<std::string> s;
    const test::DialogUi dialog(import->hwnd());
    for (int i = 0; i < dialog.RowCount(); ++i) s.push_back(dialog.Cell(i, 1));
    return s;
  }
  std::string LastLog() {
    auto lines = Ui().Log();
    return lines.empty() ? "" : lines.back();
  }
  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm3> add;
  std::unique_ptr<TForm5> import;
};

TEST_F(AddImportTest, AcceptedAddressIsProbedAndQueuedWaiting) {
  test::ScriptedHttpServer server({Answer("HTTP/1.1 200 OK\r\nContent-Length: 5000000\r\n\r\n")});
  AddAddress(server.Url("/get.php?id=7"));
  std::vector<QueueEntry> rows = Rows();
  ASSERT_EQ(rows.size(), 2u);  // the finished entry left when the dialog opened
  EXPECT_EQ(rows[0].fileName, "keep.zip");
  EXPECT_EQ(rows[1], (QueueEntry{"get.php", "4,77 MB", "Wartend", server.Url("/get.php?id=7")}));
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "HEAD /get.php?id=7 HTTP/1.1");
  EXPECT_EQ(LastLog(), "Datei \"get.php\" in Warteschleife eingereiht.");
  const test::DialogUi dialog(add->hwnd());
  EXPECT_EQ(dialog.Text("Static", 1), "Initialisierung erfolgreich!");  // the status line
  EXPECT_EQ(dialog.Text("Static", 3), "get.php");                       // beside "Dateiname"
  EXPECT_EQ(dialog.ProgressPosition(), 100);
  EXPECT_FALSE(add->Visible());
  EXPECT_EQ(Ui().Panel(0), "");
  EXPECT_TRUE(Ui().ButtonEnabled("Hinzufügen"));
}

TEST_F(AddImportTest, FailedProbesStillQueueWithZeroSize) {
  test::ScriptedHttpServer server(
      {Answer("HTTP/1.1 200 OK\r\n\r\n"), Answer("HTTP/1.1 404 Not Found\r\n\r\n"),
       Answer("HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n")});
  AddAddress(server.Url("/nolength.zip"));
  AddAddress(server.Url("/missing.zip"));
  AddAddress(server.Url("/moved.zip"));
  AddAddress("ftp://127.0.0.1/pub/a.txt");
  std::vector<QueueEntry> rows = Rows();
  ASSERT_EQ(rows.size(), 5u);
  for (size_t i = 1; i < 5; ++i) {
    EXPECT_EQ(rows[i].size, "0,00 MB") << rows[i].url;
    EXPECT_EQ(rows[i].status, "Wartend");
  }
  EXPECT_EQ(rows[4].fileName, "a.txt");
}

TEST_F(AddImportTest, SameAddressTwiceGivesTwoIdenticalRows) {
  test::ScriptedHttpServer server({Answer("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n"),
                                   Answer("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n")});
  AddAddress(server.Url("/a.zip"));
  AddAddress(server.Url("/a.zip"));
  std::vector<QueueEntry> rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], rows[2]);
}

TEST_F(AddImportTest, ImportQueuesValidLinesAndMarksTheRest) {
  test::ScriptedHttpServer server({Answer("HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n"),
                                   Answer("HTTP/1.1 200 OK\r\nContent-Length: 2097152\r\n\r\n")});
  dir.Write("links.txt", server.Url("/a.zip") + "\r\n\r\nkein-schema/b.zip\r  " + server.Url("/c.zip") +
                             "\rHTTP://h/d.zip\n");
  Import(dir.File("links.txt"));
  EXPECT_EQ(ImportStatuses(),
            (std::vector<std::string>{"Importiert", "Ungültig", "Ungültig", "Importiert", "Ungültig"}));
  EXPECT_EQ(test::DialogUi(import->hwnd()).Cell(3, 0), "  " + server.Url("/c.zip"));
  std::vector<QueueEntry> rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], (QueueEntry{"a.zip", "1,00 MB", "Wartend", server.Url("/a.zip")}));
  EXPECT_EQ(rows[2], (QueueEntry{"c.zip", "2,00 MB", "Wartend", "  " + server.Url("/c.zip")}));
  EXPECT_TRUE(Ui().ScratchLines().empty());  // the scratch list is cleared afterwards
  EXPECT_FALSE(import->Visible());
}

TEST_F(AddImportTest, ThousandLinksImportOverOneConnectionWithBoundedMemory) {
  test::ScriptedHttpServer server(
      {ConnectionScript().AnswerEach("HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n")});
  std::string links;
  for (int i = 0; i < 1000; ++i) links += server.Url("/datei" + std::to_string(i) + ".zip") + "\r\n";
  dir.Write("links.txt", links);
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  Import(dir.File("links.txt"));
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  std::vector<QueueEntry> rows = Rows();
  ASSERT_EQ(rows.size(), 1001u);
  EXPECT_EQ(rows[1000], (QueueEntry{"datei999.zip", "1,00 MB", "Wartend", server.Url("/datei999.zip")}));
  EXPECT_EQ(server.Requests().size(), 1000u);
  // The rows themselves need some kilobytes; nothing may grow per line beyond that.
  EXPECT_LT(after.PagefileUsage, before.PagefileUsage + (16u << 20));
}

TEST_F(AddImportTest, FileOfOnlyALineEndHasOneInvalidLine) {
  dir.Write("one.txt", "\r\n");
  Import(dir.File("one.txt"));
  EXPECT_EQ(ImportStatuses(), std::vector<std::string>{"Ungültig"});
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(AddImportTest, EmptyFileIsRefusedAfterItsLogLine) {
  dir.Write("empty.txt", "");
  auto open = test::DialogAnswerer::OpenFile("Downloadlinks importieren", dir.File("empty.txt"));
  auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK);
  form->extdatei1Click();
  ASSERT_TRUE(open.Result().found);
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "Die von ihnen ausgewählte Datei enthält 0 Zeilen!");
  EXPECT_EQ(LastLog(), "Fehlerhafte Datei \"Downloads importieren\"");
  EXPECT_EQ(test::DialogUi(import->hwnd()).RowCount(), 0);  // the import dialog never opened
}

TEST_F(AddImportTest, HostileLinkFilesAreHandledWithoutCrash) {
  std::string garbage;
  unsigned seed = 7;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245u + 12345u;
    garbage += static_cast<char>((seed >> 16) | 1);  // no zero byte, so every line counts
  }
  dir.Write("garbage.bin", garbage);
  Import(dir.File("garbage.bin"));
  for (const std::string& s : ImportStatuses()) EXPECT_EQ(s, "Ungültig");
  dir.Write("empty-lines.txt", std::string(100000, '\n'));
  Import(dir.File("empty-lines.txt"));
  EXPECT_EQ(test::DialogUi(import->hwnd()).RowCount(), 100000);
  dir.Write("long.txt", std::string(10 << 20, 'y'));
  Import(dir.File("long.txt"));
  EXPECT_EQ(ImportStatuses(), std::vector<std::string>{"Ungültig"});
  EXPECT_EQ(Rows().size(), 1u);
}

}  // namespace
}  // namespace holvex
