// Download runs through the real main window, driven as a user drives it: the real engine,
// loopback HTTP and FTP servers, real files.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <functional>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "app/download_window.h"
#include "app/main_form.h"
#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/ftp_server.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"

namespace holvex {

namespace {

using test::ConnectionScript;
using Strings = std::vector<std::string>;

std::string Ok(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}
ConnectionScript Serve(const std::string& response) {
  return ConnectionScript().Receive().Send(response).Close();
}

// A user watching the window during a run: `look` runs every 20 ms while the run takes its
// messages, and may click or open a window of its own.
class Watcher {
 public:
  explicit Watcher(std::function<void()> look) : look_(std::move(look)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  ~Watcher() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  Watcher(const Watcher&) = delete;
  Watcher& operator=(const Watcher&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_ || current_->looking_) return;
    current_->looking_ = true;  // a box opened by the look takes ticks meanwhile
    current_->look_();
    current_->looking_ = false;
  }
  static inline Watcher* current_ = nullptr;
  std::function<void()> look_;
  UINT_PTR timer_ = 0;
  bool looking_ = false;
};

// Milliseconds until `window` answers a message sent from another thread, as the system and
// the user's clicks need it to; measured from the moment the watch starts.
class AnswerWatch {
 public:
  void Start(HWND window) {
    thread_ = std::thread([this, window] {
      const auto t0 = std::chrono::steady_clock::now();
      DWORD_PTR result = 0;
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
      ms_ = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
              .count());
    });
  }
  int Milliseconds() {
    if (thread_.joinable()) thread_.join();
    return ms_;
  }
  ~AnswerWatch() { Milliseconds(); }

 private:
  std::thread thread_;
  std::atomic<int> ms_{-1};
};

class DownloadRunTest : public ::testing::Test {
 protected:
  void Start(const std::vector<QueueEntry>& entries, const std::string& extraSettings = "") {
    test::TestApplication();
    CreateDirectoryA(dir.File("dl").c_str(), nullptr);
    dir.Write("load.ini", "[allgemein]\r\ndownloadfolder=" + dir.File("dl") + "\r\n" + extraSettings);
    if (!entries.empty()) dir.Write("load.hvq", SerializeQueue(entries));
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path(), 1000});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-run")});
    extra = std::make_unique<TForm9>();
    form->SetExtraWindow(extra.get());
    form->StartupComplete();
    ui = std::make_unique<test::MainWindowUi>(form->hwnd());
  }
  void TearDown() override {
    ui.reset();
    extra.reset();
    form.reset();
  }
  // The log from the run's first line on.
  Strings RunLog() const {
    Strings log = ui->Log();
    auto first = std::find_if(log.begin(), log.end(), [](const std::string& m) {
      return m.rfind("Download der Datei", 0) == 0 || m.rfind("Downloads abgebrochen", 0) == 0;
    });
    return Strings(first, log.end());
  }
  Strings Statuses() const { return ui->Column(2); }
  bool Idle() const {
    return ui->ButtonEnabled("Download") && !ui->ButtonEnabled("Abbrechen") && ui->MenuEnabled("&Beenden") &&
           ui->SystemCloseEnabled() && !extra->Visible() && ui->Panel(0).empty() && ui->Panel(1).empty();
  }

  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm9> extra;
  std::unique_ptr<test::MainWindowUi> ui;
};

// How one entry ends through the real engine, where the engine's side matters (a chunked body, a
// stall, a cut body, a cancel during the connect, FTP): its final status, its log and its file.
// How the run decides from the engine's outcome is run_table_test's.
struct EndCase {
  const char* name;
  std::function<ConnectionScript()> script;  // null: the ftp:// entry
  const char* cancelWhen;                    // the status text at which the user clicks "Abbrechen"
  const char* status;
  const char* failureLine;  // the log line that says why, or the start of it; "" for none
  const char* file;         // the downloaded file's bytes; nullptr: no file
};

const std::string kBody = "Inhalt einer Datei";

const EndCase kEndCases[] = {
    {"chunked_without_length",
     [] {
       return Serve(
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n5\r\nInhal\r\n"
           "d\r\nt einer Datei\r\n0\r\n\r\n");
     },
     nullptr, "Fertig", "", kBody.c_str()},
    {"stalled",
     [] {
       return ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nanfang")
           .Pause(4000);
     },
     nullptr, "Fehler", "Download Fehler: ", "anfang"},
    {"cut_body",
     [] {
       return ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nrest")
           .Close();
     },
     nullptr, "Fehler", "Download Fehler: ", "rest"},
    {"cancel_while_connecting", [] { return ConnectionScript().Receive().HoldOpen(); }, "Verbinde...",
     "Abgebrochen", "", nullptr},
    {"ftp", nullptr, nullptr, "Fertig", "", kBody.c_str()},
};

class EndStateTest : public DownloadRunTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndStateTest, TheEntryEndsWithItsStatusLogAndFile) {
  const EndCase& c = GetParam();
  std::unique_ptr<test::ScriptedHttpServer> http;
  std::unique_ptr<test::FtpServer> ftp;
  std::string url;
  if (c.script) {
    http = std::make_unique<test::ScriptedHttpServer>(std::vector<ConnectionScript>{c.script()});
    url = http->Url("/a.bin");
  } else {
    ftp = std::make_unique<test::FtpServer>();
    ftp->PublicDir().Write("a.bin", kBody);
    url = "ftp://127.0.0.1:" + std::to_string(ftp->port()) + "/a.bin";
  }
  Start({{"a.bin", "0,00 MB", "Wartend", url}});
  bool clicked = false;
  Watcher user([&] {
    if (c.cancelWhen && !clicked && ui->Cell(0, 2).find(c.cancelWhen) != std::string::npos) {
      clicked = true;
      ui->PostClick("Abbrechen");
    }
  });
  ui->Click("Download");

  EXPECT_EQ(clicked, c.cancelWhen != nullptr);
  EXPECT_EQ(Statuses(), Strings{c.status});
  const Strings log = RunLog();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(Strings(log.begin(), log.begin() + 3),
            (Strings{"Download der Datei \"a.bin\"...", "Verbindung hergestellt.",
                     "Kopiere Daten in Zielordner..."}));
  EXPECT_NE(std::find(log.begin(), log.end(), "Download beendet."), log.end());
  const bool toldWhy = std::any_of(log.begin(), log.end(), [&](const std::string& m) {
    return m.rfind("Download Fehler", 0) == 0 && m.rfind(c.failureLine, 0) == 0;
  });
  EXPECT_EQ(toldWhy, *c.failureLine != '\0') << ::testing::PrintToString(log);
  if (c.file) {
    EXPECT_EQ(dir.Read("dl\\a.bin").substr(0, std::string(c.file).size()), c.file);
  } else {
    EXPECT_FALSE(dir.Exists("dl\\a.bin"));
  }
  EXPECT_TRUE(Idle());
}

INSTANTIATE_TEST_SUITE_P(Entries, EndStateTest, ::testing::ValuesIn(kEndCases),
                         [](const auto& param) { return std::string(param.param.name); });

// While it runs, the commands that must wait are locked and the progress shows; afterwards
// everything is as before, and the finished entry left the queue at the start.
TEST_F(DownloadRunTest, ARunLocksItsCommandsShowsProgressAndFetchesInListOrder) {
  const std::string big(3000000, 'x');
  test::ScriptedHttpServer server(
      {ConnectionScript().Receive().SendInPieces(Ok(big), 1 << 18, 30).Close(), Serve(Ok("zwei"))});
  Start({{"done.zip", "0,00 MB", "Fertig", server.Url("/done.zip")},
         {"big.bin", "0,00 MB", "Wartend", server.Url("/big.bin")},
         {"b.zip", "0,00 MB", "Fehler", server.Url("/b.zip")}},
        "playwav=1\r\nwavfile=" + dir.File("fehlt.wav") + "\r\n");
  bool locked = false, shown = false;
  std::vector<int> percents;
  Watcher user([&] {
    if (ui->Cell(0, 2).find("KB/Sek.") == std::string::npos) return;
    locked = locked ||
             (!ui->ButtonEnabled("Hinzufügen") && !ui->ButtonEnabled("Download") &&
              ui->ButtonEnabled("Abbrechen") && !ui->MenuEnabled("&Beenden") &&
              !ui->MenuEnabled("&Allgemeines") && ui->MenuEnabled("&Verwerfen") && !ui->SystemCloseEnabled());
    shown = shown || (extra->Visible() && extra->Label2.Text() == "big.bin von 127.0.0.1");
    const std::string panel = ui->Panel(1);
    if (panel.rfind("Fertig: ", 0) == 0) percents.push_back(std::atoi(panel.c_str() + 8));
  });
  ui->Click("Download");
  EXPECT_TRUE(locked);
  EXPECT_TRUE(shown);
  ASSERT_GE(percents.size(), 2u);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(ui->Column(0), (Strings{"big.bin", "b.zip"}));
  EXPECT_EQ(Statuses(), (Strings{"Fertig", "Fertig"}));
  EXPECT_EQ(dir.Read("dl\\big.bin").size(), big.size());
  EXPECT_EQ(dir.Read("dl\\b.zip"), "zwei");
  EXPECT_EQ(extra->Text(), "100 % von b.zip fertiggestellt.");
  const Strings log = RunLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "Download beendet."), 2);
  EXPECT_EQ(log.back(), "Die WAV Datei konnte nicht abgespielt werden. Datei nicht gefunden.");
  EXPECT_TRUE(Idle());
}

// A dialog the user leaves open during a run holds the window's thread in the dialog's own
// loop, here while the engine waits for the server, for three times the stall bound. That is
// no silence of the server: the transfer goes on when the dialog closes, with what arrived
// meanwhile; a server that closed meanwhile fails.
struct HeldCase {
  const char* name;
  bool serverCloses;
  const char* status;
};

class ModalLoopTest : public DownloadRunTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(ModalLoopTest, ADialogHeldOpenLongerThanTheStallBound) {
  const std::string body(400000, 'm');
  const std::string response = Ok(body);
  // A first part, a pause shorter than the bound, the dialog opens in it; then the rest or an end.
  ConnectionScript script = ConnectionScript().Receive().Send(response.substr(0, 100000)).Pause(700);
  test::ScriptedHttpServer server(
      {GetParam().serverCloses ? script.Close() : script.Send(response.substr(100000)).Close()});
  Start({{"m.bin", "0,00 MB", "Wartend", server.Url("/m.bin")}});
  bool held = false;
  DWORD rateSeen = 0;
  Watcher user([&] {
    if (held || ui->Cell(0, 2).find("KB/Sek.") == std::string::npos) return;
    if (rateSeen == 0) rateSeen = GetTickCount();
    if (GetTickCount() - rateSeen < 250) return;  // into the pause
    held = true;
    std::thread closer([] {
      Sleep(3000);
      test::DialogAnswerer::MessageBox("Halten", IDOK).Result();
    });
    form->ShowMessageBox("Der Download läuft im Hintergrund weiter.", "Halten", MB_OK);
    closer.join();
  });
  ui->Click("Download");
  ASSERT_TRUE(held);
  EXPECT_EQ(Statuses(), Strings{GetParam().status});
  if (!GetParam().serverCloses) {
    EXPECT_TRUE(dir.Read("dl\\m.bin") == body) << "the file is not the whole body";
  }
}

INSTANTIATE_TEST_SUITE_P(Servers, ModalLoopTest,
                         ::testing::Values(HeldCase{"server_goes_on", false, "Fertig"},
                                           HeldCase{"server_closes_meanwhile", true, "Fehler"}),
                         [](const auto& param) { return std::string(param.param.name); });

// The same cancel, round after round: the second of three entries ends "Abgebrochen" however
// much of its body is left, the third is not touched, and the window answers within a second,
// and goes on answering. The big body travels on the connection that the first entry kept alive,
// as it does for several files from one server.
TEST_F(DownloadRunTest, CancelInTheSecondOfThreeEntriesTwentyTimesInARow) {
  int slowest = 0;
  for (int round = 1; round <= 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    test::ScriptedHttpServer server(
        {ConnectionScript()
             .Receive()
             .Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\neins")
             .Receive()
             .Stream("HTTP/1.1 200 OK\r\nContent-Length: 3000000000\r\n\r\n", 3000000000),
         Serve(Ok("drei"))});
    TearDown();
    Start({{"1.txt", "0,00 MB", "Wartend", server.Url("/1.txt")},
           {"2.bin", "0,00 MB", "Wartend", server.Url("/2.bin")},
           {"3.txt", "0,00 MB", "Wartend", server.Url("/3.txt")}});
    bool clicked = false;
    AnswerWatch answer;
    DWORD lastLook = 0, longestGap = 0;
    Watcher user([&] {
      const DWORD now = GetTickCount();
      if (clicked) longestGap = std::max(longestGap, now - lastLook);
      lastLook = now;
      if (clicked || server.StreamedBytes() < 2000000) return;
      clicked = true;
      // Alternately in the main window and in the extra window.
      PostMessageA(round % 2 ? ui->Button("Abbrechen") : extra->SpeedButton1.hwnd(), BM_CLICK, 0, 0);
      answer.Start(form->hwnd());
    });
    ui->Click("Download");
    ASSERT_TRUE(clicked);
    slowest = std::max(slowest, answer.Milliseconds());
    EXPECT_LT(answer.Milliseconds(), 1000) << "the window did not answer after the click";
    EXPECT_LT(longestGap, 1000u) << "the window stopped answering after the click";
    EXPECT_EQ(server.ConnectionsAccepted(), 1) << "the big body did not travel on the kept connection";
    EXPECT_EQ(Statuses(), (Strings{"Fertig", "Abgebrochen", "Wartend"}));
    const Strings log = RunLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "Download beendet.");
    EXPECT_EQ(log.back(), "Downloads abgebrochen durch Benutzer.");
    EXPECT_FALSE(dir.Exists("dl\\2.bin"));
    EXPECT_FALSE(dir.Exists("dl\\3.txt"));
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_TRUE(Idle());
    if (HasFailure()) break;
  }
  std::printf("slowest answer after a cancel: %d ms\n", slowest);
}

// What a window shows, pixel by pixel.
std::vector<std::uint32_t> Picture(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(window), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + r.right * r.bottom);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

// The extra window's clip runs on the window's own colour, and what it draws frame by frame
// (only the part that changed) adds up to the whole frame; hidden, it stops.
TEST_F(DownloadRunTest, TheExtraWindowsClipRunsOnTheWindowsOwnColour) {
  Start({});
  extra->ShowOver(*form);
  test::PumpFor(700);
  ClipPlayer& clip = extra->Animate1;
  ASSERT_TRUE(clip.Playing());
  EXPECT_GT(clip.Frame(), 3);
  clip.Stop();
  const std::vector<std::uint32_t> drawn = Picture(clip.hwnd());
  clip.Repaint();
  EXPECT_EQ(Picture(clip.hwnd()), drawn);
  HDC dc = GetDC(clip.hwnd());
  EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(clip.hwnd(), dc);
  clip.Play();
  extra->Hide();
  EXPECT_FALSE(clip.Playing());
}

TEST_F(DownloadRunTest, NamesFromTheQueueFileNeverLeadOutOfTheDownloadFolder) {
  test::ScriptedHttpServer server({Serve(Ok("1")), Serve(Ok("2")), Serve(Ok("3")), Serve(Ok("4"))});
  dir.Write("outside.bin", "unberührt");
  Start({{"..\\evil.bin", "0,00 MB", "Wartend", server.Url("/d/evil.bin")},
         {"sub\\x.bin", "0,00 MB", "Wartend", server.Url("/x.bin")},
         {"C:outside.bin", "0,00 MB", "Wartend", server.Url("/c.bin")},
         {"NUL", "0,00 MB", "Wartend", server.Url("/NUL")},
         {"con.txt", "0,00 MB", "Wartend", server.Url("/con.txt")},
         {"a/b.bin", "0,00 MB", "Wartend", server.Url("/b.bin")}});
  ui->Click("Download");
  EXPECT_EQ(Statuses(), (Strings{"Fertig", "Fertig", "Fertig", "Fehler", "Fehler", "Fertig"}));
  EXPECT_EQ(dir.Read("dl\\evil.bin"), "1");
  EXPECT_EQ(dir.Read("dl\\x.bin"), "2");
  EXPECT_EQ(dir.Read("dl\\c.bin"), "3");
  EXPECT_EQ(dir.Read("dl\\b.bin"), "4");
  EXPECT_EQ(dir.Read("outside.bin"), "unberührt");
  EXPECT_FALSE(dir.Exists("dl\\sub"));
  EXPECT_EQ(server.Requests().size(), 4u);  // the device names were never fetched
  const Strings log = RunLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "Fehler beim Download von \"NUL\": ungültiger Dateiname."),
            log.end());
}

// "&Verwerfen" stays enabled during a run: the entry in transfer goes with the rest, and the run
// writes into no row that is not its own.
TEST_F(DownloadRunTest, DiscardingTheQueueDuringARunEndsIt) {
  test::ScriptedHttpServer server(
      {ConnectionScript().Receive().SendInPieces(Ok(std::string(200000, 's')), 4096, 10).Close(),
       Serve(Ok("2"))});
  Start({{"1.txt", "0,00 MB", "Wartend", server.Url("/1.txt")},
         {"2.txt", "0,00 MB", "Wartend", server.Url("/2.txt")}});
  bool discarded = false;
  Watcher user([&] {
    if (discarded || ui->RowCount() != 2 || ui->Cell(0, 2).find("KB/Sek.") == std::string::npos) return;
    discarded = true;
    ui->ChooseMenu("&Verwerfen");
  });
  ui->Click("Download");
  ASSERT_TRUE(discarded);
  EXPECT_EQ(ui->RowCount(), 0u);
  EXPECT_FALSE(dir.Exists("dl\\2.txt"));
  EXPECT_TRUE(Idle());
}

}  // namespace
}  // namespace holvex
