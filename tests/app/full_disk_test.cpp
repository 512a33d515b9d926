// A download folder and a program folder on a full disk: downloads end "Fehler" and the run
// goes on; a queue save keeps the old file and can be repeated once there is room again.
// Runs on the small file system that with_small_disk.sh mounts (as full_disk_test).
#include <cstdlib>

#include <gtest/gtest.h>

#include <memory>

#include "app/main_form.h"
#include "queue/queue_file.h"
#include "queue/save_dialog.h"
#include "support/dialog_answerer.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

using test::ConnectionScript;

std::string Ok(std::uint64_t length) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n";
}

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* mounted = std::getenv("HOLVEX_SMALL_DISK");
    if (!mounted) GTEST_SKIP() << "needs a small file system: run as full_disk_test";
    disk = "Z:" + std::string(mounted);
    for (char& c : disk)
      if (c == '/') c = '\\';
    test::TestApplication();
  }
  void TearDown() override {
    save.reset();
    form.reset();
    // The next test starts on an empty disk.
    for (const char* name : {"filler.bin", "dl\\a.bin", "dl\\gross.bin", "dl\\c.bin", "prog\\load.hvq"})
      DeleteFileA(Small(name).c_str());
  }
  std::string Small(const std::string& name) const { return disk + "\\" + name; }
  void Open(const std::string& folder) {
    session = std::make_unique<ProgramSession>(SessionOptions{folder, 5000});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-disk")});
    save = std::make_unique<TForm4>(*form);
    form->showSaveDialog = [this] { return save->Execute(); };
    form->StartupComplete();
  }
  // Fills the disk until a write is refused.
  void Fill() {
    HANDLE f = CreateFileA(Small("filler.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    const std::string block(65536, 'f');
    DWORD wrote = 0;
    while (WriteFile(f, block.data(), static_cast<DWORD>(block.size()), &wrote, nullptr) &&
           wrote == block.size()) {
    }
    CloseHandle(f);
  }
  std::vector<std::string> Statuses() { return test::MainWindowUi(form->hwnd()).Column(2); }
  std::string disk;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm4> save;
};

TEST_F(FullDiskTest, DownloadsThatDoNotFitEndFehlerAndTheRunGoesOn) {
  constexpr std::uint64_t kBig = 64 << 20;  // far more than the disk holds
  test::ScriptedHttpServer server(
      {ConnectionScript().Receive().Send(Ok(100000) + std::string(100000, 'a')).Close(),
       ConnectionScript().Receive().Stream(Ok(kBig), kBig),
       ConnectionScript().Receive().Send(Ok(100000) + std::string(100000, 'c')).Close()});
  test::TempDir dir;
  CreateDirectoryA(Small("dl").c_str(), nullptr);
  dir.Write("load.ini", "[allgemein]\r\ndownloadfolder=" + Small("dl") + "\r\n");
  dir.Write("load.hvq", SerializeQueue({{"a.bin", "0,10 MB", "Wartend", server.Url("/a.bin")},
                                        {"gross.bin", "64,00 MB", "Wartend", server.Url("/gross.bin")},
                                        {"c.bin", "0,10 MB", "Wartend", server.Url("/c.bin")}}));
  Open(dir.path());
  form->SpeedButton3Click();
  // The partial file of the large one stays for the user, so nothing fits after it.
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fertig", "Fehler", "Fehler"}));
  EXPECT_LT(server.StreamedBytes(), kBig / 4) << "the rest of the large body was read";
  // The run is over: its commands are unlocked, "Abbrechen" is locked again.
  const test::MainWindowUi ui(form->hwnd());
  EXPECT_TRUE(ui.ButtonEnabled("Download"));
  EXPECT_FALSE(ui.ButtonEnabled("Abbrechen"));
  EXPECT_TRUE(ui.SystemCloseEnabled());
}

TEST_F(FullDiskTest, QueueSaveKeepsTheOldFileAndSucceedsOnceThereIsRoomAgain) {
  CreateDirectoryA(Small("prog").c_str(), nullptr);
  const std::string folder = Small("prog");
  auto write = [&](const std::string& bytes) {
    HANDLE f =
        CreateFileA((folder + "\\load.hvq").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(f);
  };
  // The program holds 5,000 entries; the file on the disk is an older one of a single entry.
  std::vector<QueueEntry> entries;
  for (int i = 0; i < 5000; ++i)
    entries.push_back({"neu" + std::to_string(i) + ".zip", "1,00 MB", "Wartend", "http://h/neu.zip"});
  write(SerializeQueue(entries));
  Open(folder);
  ASSERT_EQ(form->Queue().Count(), 5000u);
  const std::string old = SerializeQueue({{"alt.zip", "1,00 MB", "Wartend", "http://h/alt.zip"}});
  write(old);
  Fill();

  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  form->Speichern1Click();
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found) << "the failed save went unreported";
  EXPECT_EQ(seen.text.rfind("Datei \"" + form->QueueFilePath() + "\" kann nicht erstellt werden. ", 0), 0u)
      << seen.text;
  auto read = [&](const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string("(missing)");
    std::string bytes(GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(f);
    return bytes;
  };
  EXPECT_EQ(read(folder + "\\load.hvq"), old);
  EXPECT_EQ(GetFileAttributesA((folder + "\\load.hvq.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(form->Queue().Count(), 5000u);

  // The user makes room and saves again.
  DeleteFileA(Small("filler.bin").c_str());
  form->Speichern1Click();
  EXPECT_EQ(read(folder + "\\load.hvq"), SerializeQueue(form->Queue().Entries()));
}

}  // namespace
}  // namespace holvex
