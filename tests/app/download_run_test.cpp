// Download runs through the real main window, the real engine and loopback servers.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <thread>

#include "app/download_window.h"
#include "app/main_form.h"
#include "queue/queue_file.h"
#include "support/gui.h"
#include "support/queue_printing.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"
#include "transfer/progress_dialog.h"

namespace holvex {

namespace {

using test::ConnectionScript;

std::string Ok(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}
ConnectionScript Serve(const std::string& response) {
  return ConnectionScript().Receive().Send(response).Close();
}

class DownloadRunTest : public ::testing::Test {
 protected:
  void Start(const std::vector<QueueEntry>& entries, const std::string& extraSettings = "") {
    test::TestApplication();
    CreateDirectoryA(dir.File("dl").c_str(), nullptr);
    dir.Write("load.ini", "[allgemein]\r\ndownloadfolder=" + dir.File("dl") + "\r\n" + extraSettings);
    if (!entries.empty()) dir.Write("load.hvq", SerializeQueue(entries));
    form = std::make_unique<TForm1>(MainFormOptions{dir.path(), test::UniqueName("holvex-run")});
    extra = std::make_unique<TForm9>();
    form->SetExtraWindow(extra.get());
    form->StartupComplete();
    form->Transfer1.StallTimeoutMs = 5000;
  }
  void TearDown() override {
    extra.reset();
    form.reset();
  }
  // The log's messages from the first "Download der Datei" on, without time stamps.
  std::vector<std::string> RunLog() {
    std::vector<std::string> messages;
    bool started = false;
    for (const std::string& line : form->Memo1.Lines()) {
      std::string m = line.substr(10);
      started = started || m.rfind("Download der Datei", 0) == 0 || m.rfind("Downloads abgebrochen", 0) == 0;
      if (started) messages.push_back(m);
    }
    return messages;
  }
  std::vector<std::string> Statuses() {
    std::vector<std::string> s;
    for (size_t i = 0; i < form->Queue().Count(); ++i) s.push_back(form->Queue().At(i).status);
    return s;
  }
  test::TempDir dir;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm9> extra;
};

TEST_F(DownloadRunTest, FinishedEntryLeavesAndTheOthersAreFetchedInOrder) {
  test::ScriptedHttpServer server({Serve(Ok("erste")), Serve(Ok("zweite"))});
  Start({{"done.zip", "0,00 MB", "Fertig", server.Url("/done.zip")},
         {"a.zip", "0,00 MB", "Wartend", server.Url("/a.zip")},
         {"b.zip", "0,00 MB", "Fehler", server.Url("/b.zip")}});
  form->SpeedButton3.Click();
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fertig", "Fertig"}));
  EXPECT_EQ(form->Queue().At(0).fileName, "a.zip");
  EXPECT_EQ(dir.Read("dl\\a.zip"), "erste");
  EXPECT_EQ(dir.Read("dl\\b.zip"), "zweite");
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET /a.zip HTTP/1.1");
  EXPECT_EQ(RunLog(), (std::vector<std::string>{"Download der Datei \"a.zip\"...", "Verbindung hergestellt.",
                                                "Kopiere Daten in Zielordner...", "Download beendet.",
                                                "Download der Datei \"b.zip\"...", "Verbindung hergestellt.",
                                                "Kopiere Daten in Zielordner...", "Download beendet."}));
  // Idle again: the commands are unlocked.
  EXPECT_FALSE(form->DownloadRunning);
  EXPECT_TRUE(form->SpeedButton3.Enabled());
  EXPECT_FALSE(form->SpeedButton4.Enabled());
  EXPECT_TRUE(form->Beenden1.Enabled());
  EXPECT_FALSE(extra->Visible());
  for (int panel = 0; panel < 3; ++panel) EXPECT_EQ(form->StatusBar1.PanelText(panel), "");
}

TEST_F(DownloadRunTest, EmptyQueueLocksAndUnlocksWithoutAJob) {
  Start({{"done.zip", "0,00 MB", "Fertig", "http://127.0.0.1:1/done.zip"}});
  form->SpeedButton3Click();
  EXPECT_TRUE(form->Queue().Empty());
  EXPECT_TRUE(RunLog().empty());
  EXPECT_TRUE(form->SpeedButton1.Enabled());
  EXPECT_FALSE(form->SpeedButton4.Enabled());
}

TEST_F(DownloadRunTest, CommandsAreLockedWhileRunningAndTheExtraWindowShows) {
  const std::string body(30000000, 'x');
  test::ScriptedHttpServer server({ConnectionScript().Receive().SendInPieces(Ok(body), 1 << 20, 20).Close()});
  Start({{"big.bin", "0,00 MB", "Wartend", server.Url("/big.bin")}});
  std::vector<int> percents;
  bool lockedSeen = false, extraSeen = false, captionSeen = false;
  form->Queue().onChange = [&, bind = form->Queue().onChange](const QueueChange& c) {
    bind(c);
    if (!form->DownloadRunning) return;
    lockedSeen = lockedSeen ||
                 (!form->SpeedButton1.Enabled() && !form->SpeedButton3.Enabled() &&
                  form->SpeedButton4.Enabled() && !form->Beenden1.Enabled() && !form->extdatei1.Enabled() &&
                  !form->Allgemeines1.Enabled() && form->Verwerfen1.Enabled() && form->Speichern1.Enabled());
    extraSeen = extraSeen || extra->Visible();
    captionSeen = captionSeen || extra->Label2.Text() == "big.bin von 127.0.0.1";
    std::string p = form->StatusBar1.PanelText(1);
    std::smatch m;
    if (std::regex_match(p, m, std::regex("Fertig: ([0-9]+) %"))) percents.push_back(std::stoi(m[1]));
  };
  form->SpeedButton3Click();
  EXPECT_TRUE(lockedSeen);
  EXPECT_TRUE(extraSeen);
  EXPECT_TRUE(captionSeen);
  ASSERT_GE(percents.size(), 3u);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(Statuses(), std::vector<std::string>{"Fertig"});
  EXPECT_EQ(dir.Read("dl\\big.bin").size(), body.size());
  EXPECT_EQ(extra->Label9.Text(), "( 28,61 MB von 28,61 MB fertig. )");
  EXPECT_EQ(extra->Text(), "100 % von big.bin fertiggestellt.");
}

// The bar's place as a share of its range, whatever scale the range has.
double BarShare(const ProgressBar& bar) {
  PBRANGE range{};
  SendMessageA(bar.hwnd(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  return range.iHigh > 0 ? double(bar.Position()) / range.iHigh : -1;
}

TEST_F(DownloadRunTest, ProgressOfAFiveGigabyteFileIsToldInFull) {
  Start({{"dvd.iso", "0,00 MB", "Wartend", "http://127.0.0.1:1/dvd.iso"}});
  // The handler as the engine calls it during a run that began a minute ago.
  form->CurrentEntry = form->Queue().IdAt(0);
  form->CurrentFileName = "dvd.iso";
  form->DownloadRunning = true;
  form->StartTick = GetTickCount() - 60000;
  auto report = [&](std::int64_t size) {
    form->Transfer1.OnCopyProgress(form->Transfer1, 1, size, 5'000'000'000);
  };

  report(2'500'000'000);
  EXPECT_EQ(form->StatusBar1.PanelText(1), "Fertig: 50 %");
  EXPECT_EQ(form->StatusBar1.PanelText(2), "Dauer: 00:01:00");
  EXPECT_TRUE(std::regex_match(Statuses().at(0), std::regex("4[0-9]\\.[0-9]{3},[0-9]{2} KB/Sek\\.")))
      << Statuses().at(0);
  EXPECT_EQ(extra->Label9.Text(), "( 2.384,19 MB von 4.768,37 MB fertig. )");
  EXPECT_EQ(extra->Text(), "50 % von dvd.iso fertiggestellt.");
  EXPECT_DOUBLE_EQ(BarShare(extra->ProgressBar1), 0.5);

  report(5'000'000'000);
  EXPECT_EQ(form->StatusBar1.PanelText(1), "Fertig: 100 %");
  EXPECT_EQ(extra->Label9.Text(), "( 4.768,37 MB von 4.768,37 MB fertig. )");
  EXPECT_DOUBLE_EQ(BarShare(extra->ProgressBar1), 1.0);
  EXPECT_EQ(Statuses(), std::vector<std::string>{"Fertig"});
  form->DownloadRunning = false;
}

// A body beyond 2^32 and beyond the 10 GiB where sizes turn to GB, cancelled after a few
// megabytes: every text on the way is a sensible one.
TEST_F(DownloadRunTest, DownloadAboveFourGibibytesShowsSensibleTextsUntilCancelled) {
  constexpr std::uint64_t kBody = 12'000'000'000;
  test::ScriptedHttpServer server({ConnectionScript().Receive().Stream(
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBody) + "\r\nConnection: close\r\n\r\n",
      kBody)});
  Start({{"dvd.iso", "0,00 MB", "Wartend", server.Url("/dvd.iso")}});
  std::vector<std::string> odd;
  int views = 0;
  bool clicked = false;
  auto expect = [&](const std::string& text, const char* pattern) {
    if (!std::regex_match(text, std::regex(pattern))) odd.push_back(text);
  };
  form->Queue().onChange = [&, bind = form->Queue().onChange](const QueueChange& c) {
    bind(c);
    const std::string status = form->Queue().At(0).status;
    if (!form->DownloadRunning || status.find("KB/Sek.") == std::string::npos) return;
    ++views;
    expect(status, "[0-9.]+,[0-9]{2} KB/Sek\\.");
    expect(form->StatusBar1.PanelText(1), "Fertig: 0 %");
    expect(form->StatusBar1.PanelText(2), "Dauer: [0-9]{2}:[0-9]{2}:[0-9]{2}");
    expect(extra->Label9.Text(), "\\( [0-9.]+,[0-9]{2} (KB|MB) von 11,18 GB fertig\\. \\)");
    expect(form->Transfer1.Dialog()->ProgressLine(), "Progress : [0-9]+,[0-9]{2} (Kb|Mb) of 12000,00 Mb");
    const double share = BarShare(extra->ProgressBar1);
    if (!(share >= 0 && share < 0.01)) odd.push_back("bar at " + std::to_string(share));
    if (!clicked && server.StreamedBytes() > 8'000'000) {
      clicked = true;
      PostMessageA(form->SpeedButton4.hwnd(), BM_CLICK, 0, 0);
    }
  };
  form->SpeedButton3Click();
  ASSERT_TRUE(clicked);
  EXPECT_GE(views, 2);
  EXPECT_EQ(odd, std::vector<std::string>{});
  EXPECT_EQ(Statuses(), std::vector<std::string>{"Abgebrochen"});
  EXPECT_LT(server.StreamedBytes(), kBody / 100);
}

TEST_F(DownloadRunTest, NotFoundMarksTheEntryAndTheRunGoesOn) {
  test::ScriptedHttpServer server(
      {Serve("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"), Serve(Ok("da"))});
  Start({{"missing.zip", "0,00 MB", "Wartend", server.Url("/missing.zip")},
         {"there.zip", "0,00 MB", "Wartend", server.Url("/there.zip")}});
  form->SpeedButton3Click();
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fehler", "Fertig"}));
  std::vector<std::string> log = RunLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "Download Fehler: Code404"), log.end());
  EXPECT_EQ(std::count(log.begin(), log.end(), "Download beendet."), 2);
  EXPECT_FALSE(dir.Exists("dl\\missing.zip"));
}

TEST_F(DownloadRunTest, QueryAddressIsSavedUnderTheListedName) {
  test::ScriptedHttpServer server({Serve(Ok("php"))});
  Start({{"get.php", "0,00 MB", "Wartend", server.Url("/get.php?id=7")}});
  form->SpeedButton3Click();
  EXPECT_EQ(Statuses(), std::vector<std::string>{"Fertig"});
  EXPECT_EQ(dir.Read("dl\\get.php"), "php");
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET /get.php?id=7 HTTP/1.1");
}

TEST_F(DownloadRunTest, BodiesWithoutLengthBecomeFinished) {
  test::ScriptedHttpServer server({Serve("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: "
                                         "close\r\n\r\n5\r\nHallo\r\n6\r\n Welt!\r\n0\r\n\r\n"),
                                   Serve("HTTP/1.0 200 OK\r\n\r\nbis zum Ende")});
  Start({{"chunked.txt", "0,00 MB", "Wartend", server.Url("/chunked.txt")},
         {"close.txt", "0,00 MB", "Wartend", server.Url("/close.txt")}});
  form->SpeedButton3Click();
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fertig", "Fertig"}));
  EXPECT_EQ(dir.Read("dl\\chunked.txt"), "Hallo Welt!");
  EXPECT_EQ(dir.Read("dl\\close.txt"), "bis zum Ende");
}

TEST_F(DownloadRunTest, CancelDuringTheSecondOfThreeEntries) {
  const std::string slow(400000, 's');
  test::ScriptedHttpServer server({Serve(Ok("eins")),
                                   ConnectionScript().Receive().SendInPieces(Ok(slow), 4096, 20).Close(),
                                   Serve(Ok("drei"))});
  Start({{"1.txt", "0,00 MB", "Wartend", server.Url("/1.txt")},
         {"2.txt", "0,00 MB", "Wartend", server.Url("/2.txt")},
         {"3.txt", "0,00 MB", "Wartend", server.Url("/3.txt")}});
  bool clicked = false;
  form->Queue().onChange = [&, bind = form->Queue().onChange](const QueueChange& c) {
    bind(c);
    // Once the second entry shows a rate, the user clicks "Abbrechen".
    if (!clicked && form->Queue().Count() == 3 &&
        form->Queue().At(1).status.find("KB/Sek.") != std::string::npos) {
      clicked = true;
      PostMessageA(form->SpeedButton4.hwnd(), BM_CLICK, 0, 0);
    }
  };
  form->SpeedButton3Click();
  ASSERT_TRUE(clicked);
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fertig", "Abgebrochen", "Wartend"}));
  std::vector<std::string> log = RunLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], "Download beendet.");
  EXPECT_EQ(log.back(), "Downloads abgebrochen durch Benutzer.");
  EXPECT_FALSE(dir.Exists("dl\\3.txt"));
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_TRUE(form->SpeedButton3.Enabled());
}

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

// A second entry whose body is far larger than what arrives before the user gives up: closing
// its connection must not wait for the rest.
class LargeBodyCancelTest : public DownloadRunTest {
 protected:
  static constexpr std::uint64_t kBody = 1000000000;
  void RunAndCancelDuringTheSecond(const std::function<void()>& click) {
    Start({{"1.txt", "0,00 MB", "Wartend", server.Url("/1.txt")},
           {"2.bin", "0,00 MB", "Wartend", server.Url("/2.bin")},
           {"3.txt", "0,00 MB", "Wartend", server.Url("/3.txt")}});
    form->Queue().onChange = [&, bind = form->Queue().onChange](const QueueChange& c) {
      bind(c);
      if (!clicked && server.StreamedBytes() > 20000000) {
        clicked = true;
        click();
        watch.Start(form->hwnd());
      }
    };
    form->SpeedButton3Click();
    ASSERT_TRUE(clicked);
    EXPECT_LT(watch.Milliseconds(), 1000) << "the window did not answer after the click";
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fertig", "Abgebrochen", "Wartend"}));
    EXPECT_EQ(RunLog().back(), "Downloads abgebrochen durch Benutzer.");
    EXPECT_FALSE(dir.Exists("dl\\2.bin"));
    EXPECT_FALSE(dir.Exists("dl\\3.txt"));
    EXPECT_TRUE(form->SpeedButton3.Enabled());
    EXPECT_LT(server.StreamedBytes(), kBody / 4) << "the rest of the body was read";
  }
  test::ScriptedHttpServer server{
      {Serve(Ok("eins")),
       ConnectionScript().Receive().Stream(
           "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBody) + "\r\nConnection: close\r\n\r\n",
           kBody),
       Serve(Ok("drei"))}};
  bool clicked = false;
  AnswerWatch watch;
};

TEST_F(LargeBodyCancelTest, CancelInTheMainWindowAnswersAtOnce) {
  RunAndCancelDuringTheSecond([&] { PostMessageA(form->SpeedButton4.hwnd(), BM_CLICK, 0, 0); });
}

TEST_F(LargeBodyCancelTest, CancelInTheExtraWindowAnswersAtOnce) {
  RunAndCancelDuringTheSecond([&] { PostMessageA(extra->SpeedButton1.hwnd(), BM_CLICK, 0, 0); });
}

TEST_F(DownloadRunTest, StallInTheMiddleOfALargeBodyEndsWithoutReadingTheRest) {
  constexpr std::uint64_t kBody = 1000000000;
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBody) + "\r\n\r\n";
  test::ScriptedHttpServer server(
      {ConnectionScript().Receive().Send(head + std::string(1 << 20, 'x')).Pause(3000).Stream("", kBody)});
  Start({{"s.bin", "0,00 MB", "Wartend", server.Url("/s.bin")}});
  form->Transfer1.StallTimeoutMs = 1000;
  const auto t0 = std::chrono::steady_clock::now();
  form->SpeedButton3Click();
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
  EXPECT_LT(ms.count(), 2800) << "the run waited for the stalled body";
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"Fehler"}));
  EXPECT_LT(server.StreamedBytes(), kBody / 4);
}

TEST_F(DownloadRunTest, NamesFromTheQueueFileNeverLeadOutOfTheDownloadFolder) {
  test::ScriptedHttpServer server(
      {Serve(Ok("1")), Serve(Ok("2")), Serve(Ok("3")), Serve(Ok("4")), Serve(Ok("5"))});
  dir.Write("outside.bin", "unberührt");
  Start({{"..\\evil.bin", "0,00 MB", "Wartend", server.Url("/d/evil.bin")},
         {"sub\\x.bin", "0,00 MB", "Wartend", server.Url("/x.bin")},
         {"C:outside.bin", "0,00 MB", "Wartend", server.Url("/c.bin")},
         {"NUL", "0,00 MB", "Wartend", server.Url("/NUL")},
         {"con.txt", "0,00 MB", "Wartend", server.Url("/con.txt")},
         {"a/b.bin", "0,00 MB", "Wartend", server.Url("/b.bin")}});
  form->SpeedButton3Click();
  EXPECT_EQ(Statuses(),
            (std::vector<std::string>{"Fertig", "Fertig", "Fertig", "Fehler", "Fehler", "Fertig"}));
  EXPECT_EQ(dir.Read("dl\\evil.bin"), "1");
  EXPECT_EQ(dir.Read("dl\\x.bin"), "2");
  EXPECT_EQ(dir.Read("dl\\c.bin"), "3");
  EXPECT_EQ(dir.Read("dl\\b.bin"), "4");
  EXPECT_EQ(dir.Read("outside.bin"), "unberührt");
  EXPECT_FALSE(dir.Exists("evil.bin"));
  EXPECT_FALSE(dir.Exists("dl\\sub"));
  EXPECT_EQ(server.Requests().size(), 4u);  // the device names were never fetched
  std::vector<std::string> log = RunLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "Fehler beim Download von \"NUL\": ungültiger Dateiname."),
            log.end());
}

TEST_F(DownloadRunTest, RemovingRowsDuringARunNeverWritesIntoAnotherRow) {
  const std::string slow(200000, 's');
  test::ScriptedHttpServer server({ConnectionScript().Receive().SendInPieces(Ok(slow), 4096, 10).Close(),
                                   Serve(Ok("zwei")), Serve(Ok("vier"))});
  Start({{"1.txt", "0,00 MB", "Wartend", server.Url("/1.txt")},
         {"2.txt", "0,00 MB", "Wartend", server.Url("/2.txt")},
         {"3.txt", "0,00 MB", "Wartend", server.Url("/3.txt")},
         {"4.txt", "0,00 MB", "Wartend", server.Url("/4.txt")}});
  // While the first entry transfers, the user removes it and the third one (a click runs
  // nested inside the transfer, as this progress report does).
  bool removed = false;
  form->Transfer1.OnCopyProgress = [&, progress = form->Transfer1.OnCopyProgress](
                                       TTransferEngine& e, int f, std::int64_t s, std::int64_t t) {
    progress(e, f, s, t);
    if (!removed && form->Queue().Count() == 4 && s > 0) {
      removed = true;
      form->Queue().RemoveAt(2);
      form->Queue().RemoveAt(0);
    }
  };
  form->SpeedButton3Click();
  ASSERT_TRUE(removed);
  ASSERT_EQ(form->Queue().Count(), 2u);
  EXPECT_EQ(form->Queue().At(0), (QueueEntry{"2.txt", "0,00 MB", "Fertig", server.Url("/2.txt")}));
  EXPECT_EQ(form->Queue().At(1), (QueueEntry{"4.txt", "0,00 MB", "Fertig", server.Url("/4.txt")}));
  EXPECT_FALSE(dir.Exists("dl\\3.txt"));
  EXPECT_EQ(dir.Read("dl\\4.txt"), "vier");
}

TEST_F(DownloadRunTest, StatusOffKeepsTheWindowHiddenButWritesItsTexts) {
  test::ScriptedHttpServer server({Serve(Ok(std::string(100000, 'z')))});
  Start({{"z.bin", "0,00 MB", "Wartend", server.Url("/z.bin")}},
        "status=0\r\nplaywav=1\r\nwavfile=" + dir.File("missing.wav") + "\r\n");
  bool everVisible = false;
  form->Queue().onChange = [&, bind = form->Queue().onChange](const QueueChange& c) {
    bind(c);
    everVisible = everVisible || extra->Visible();
  };
  form->SpeedButton3Click();
  EXPECT_FALSE(everVisible);
  EXPECT_EQ(extra->Label2.Text(), "z.bin von 127.0.0.1");
  EXPECT_EQ(extra->Label7.Text(), dir.File("dl"));
  EXPECT_EQ(extra->Text(), "100 % von z.bin fertiggestellt.");
  std::vector<std::string> log = RunLog();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "Download beendet.");
  EXPECT_EQ(log.back(), "Die WAV Datei konnte nicht abgespielt werden. Datei nicht gefunden.");
}

}  // namespace
}  // namespace holvex
