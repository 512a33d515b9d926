// One download run over many entries of a loopback server that mixes good files, 404s, stalls
// and resets, through the real main window with its extra window: every entry ends with its
// final status, and the handles, GDI and USER objects and private bytes after the run are
// within 10 % of their values after the first 100 entries. HOLVEX_SOAK_ENTRIES sets the number
// of entries (the suite runs 200; scripts/bench-reliability.sh runs 1,000).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include <memory>

#include "app/download_window.h"
#include "app/main_form.h"
#include "app/soak_mix.h"
#include "queue/queue_file.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/process.h"
#include "support/process_resources.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

int Entries() {
  const char* text = std::getenv("HOLVEX_SOAK_ENTRIES");
  return text && std::atoi(text) > 100 ? std::atoi(text) : 200;
}

std::uint16_t WaitForPort(const std::string& file) {
  for (int i = 0; i < 400; ++i) {
    int port = 0;
    std::ifstream(file) >> port;
    if (port > 0) return static_cast<std::uint16_t>(port);
    Sleep(25);
  }
  return 0;
}

void PrintRow(const char* what, const test::ResourceCounts& r) {
  std::printf("  %-28s handles %5d   GDI %5d   USER %5d   private %8.1f MB\n", what, r.handles, r.gdiObjects,
              r.userObjects, r.privateBytes / 1048576.0);
}

double Change(double first, double last) { return first > 0 ? (last - first) / first * 100.0 : 0.0; }

// No figure grew by more than 10 % over its value after the first 100 entries.
void ExpectWithinTenPercent(const char* when, const test::ResourceCounts& first,
                            const test::ResourceCounts& last) {
  const double changes[] = {
      Change(first.handles, last.handles), Change(first.gdiObjects, last.gdiObjects),
      Change(first.userObjects, last.userObjects),
      Change(static_cast<double>(first.privateBytes), static_cast<double>(last.privateBytes))};
  std::printf("  change %-24s handles %+.1f %%, GDI %+.1f %%, USER %+.1f %%, private %+.1f %%\n", when,
              changes[0], changes[1], changes[2], changes[3]);
  for (double change : changes) EXPECT_LE(change, 10.0) << when;
}

TEST(Soak, EveryEntryEndsAndNothingGrowsAfterTheFirstHundred) {
  const int entries = Entries();
  test::TestApplication();
  test::TempDir dir;
  test::ProgramProcess server(test::TestBinaryDirectory() + "\\soak_server.exe",
                              std::to_string(entries) + " \"" + dir.File("port.txt") + "\"");
  const std::uint16_t port = WaitForPort(dir.File("port.txt"));
  ASSERT_NE(port, 0) << "the soak server did not start";

  CreateDirectoryA(dir.File("dl").c_str(), nullptr);
  dir.Write("load.ini", "[allgemein]\r\nstatus=1\r\ndownloadfolder=" + dir.File("dl") + "\r\n");
  std::vector<QueueEntry> queue;
  for (int i = 0; i < entries; ++i)
    queue.push_back({test::SoakFileName(i), "0,00 MB", "Wartend",
                     "http://127.0.0.1:" + std::to_string(port) + "/" + test::SoakFileName(i)});
  dir.Write("load.hvq", SerializeQueue(queue));
  ProgramSession session({dir.path(), 700});
  auto form = std::make_unique<TForm1>(session, MainFormOptions{test::UniqueName("holvex-soak")});
  auto extra = std::make_unique<TForm9>();
  form->SetExtraWindow(extra.get());
  form->StartupComplete();
  const test::MainWindowUi ui(form->hwnd());

  // Taken as an entry starts (its row shows "Verbinde..." once the transfer has begun), the
  // counts hold what one transfer has open; the start of the 101st entry and of the last one
  // compare like with like, the end of the run with no transfer.
  const test::ResourceCounts atStart = test::MeasureResources();
  test::ResourceCounts afterHundred, beforeLast;
  int started = 0;
  form->Queue().onChange = [&, show = form->Queue().onChange](const QueueChange& change) {
    show(change);
    if (change.kind != QueueChange::Kind::Changed || ui.Cell(change.index, 2) != "Verbinde...") return;
    ++started;
    if (started == 101) afterHundred = test::MeasureResources();
    if (started == entries) beforeLast = test::MeasureResources();
  };
  const auto t0 = std::chrono::steady_clock::now();
  ui.Click("Download");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  test::PumpFor(200);
  const test::ResourceCounts atEnd = test::MeasureResources();

  const std::vector<std::string> statuses = ui.Column(2);
  ASSERT_EQ(statuses.size(), static_cast<size_t>(entries));
  int finished = 0, failed = 0, wrong = 0;
  for (int i = 0; i < entries; ++i) {
    const std::string& status = statuses[static_cast<size_t>(i)];
    finished += status == "Fertig";
    failed += status == "Fehler";
    if (status != test::SoakFinalStatus(i)) {
      ++wrong;
      ADD_FAILURE() << test::SoakFileName(i) << " ended \"" << status << "\", not \""
                    << test::SoakFinalStatus(i) << "\"";
    }
  }
  EXPECT_EQ(started, entries);
  EXPECT_TRUE(ui.ButtonEnabled("Download"));

  std::printf("soak: %d entries in %.0f s: %d Fertig, %d Fehler, %d not as expected (%s)\n", entries, seconds,
              finished, failed, wrong, test::HowResourcesAreCounted().c_str());
  PrintRow("before the run", atStart);
  PrintRow("after the first 100 entries", afterHundred);
  PrintRow("as the last entry starts", beforeLast);
  PrintRow("after the run", atEnd);
  ExpectWithinTenPercent("as the last entry starts", afterHundred, beforeLast);
  ExpectWithinTenPercent("after the run", afterHundred, atEnd);
}

}  // namespace
}  // namespace holvex
