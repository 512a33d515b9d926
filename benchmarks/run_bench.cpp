// A download run of one large entry through the real main window, with the extra progress
// window shown, against the bare read loop on the same file in the same process: the
// per-block updates of list, status bar and extra window must not dominate the transfer.
//
//   run_bench URL WORK_DIR [ROUNDS]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/download_window.h"
#include "app/main_form.h"
#include "bare_read_loop.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "toolkit/application.h"

namespace {

using namespace holvex;

double RunThroughMainWindow(const std::string& url, const std::string& dir, int round, bool extraWindow,
                            bool* finished) {
  std::string downloads = dir + "\\run";
  CreateDirectoryA(downloads.c_str(), nullptr);
  WriteFileReplacing(dir + "\\load.ini", std::string("[allgemein]\r\nstatus=") + (extraWindow ? "1" : "0") +
                                             "\r\ndownloadfolder=" + downloads + "\r\n");
  WriteFileReplacing(dir + "\\load.hvq", SerializeQueue({{"run.bin", "200,00 MB", "Wartend", url}}));
  auto form = std::make_unique<TForm1>(
      MainFormOptions{dir, "holvex-run-bench-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(round)});
  auto extra = std::make_unique<TForm9>();
  form->SetExtraWindow(extra.get());
  form->StartupComplete();
  Application::Instance().ProcessMessages();
  long long start = bench::Now();
  form->SpeedButton3Click();
  double seconds = bench::Seconds(start, bench::Now());
  *finished = form->Queue().Count() == 1 && form->Queue().At(0).status == "Fertig";
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: run_bench URL WORK_DIR [ROUNDS]\n");
    return 2;
  }
  const std::string url = argv[1], dir = argv[2];
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                           ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  Application app;
  // The run without the extra window tells the main window's share from the extra window's.
  std::vector<double> bare, run, hidden;
  for (int round = 1; round <= rounds; ++round) {
    unsigned long long bytes = 0;
    bool finished = false, finishedHidden = false;
    bare.push_back(bench::BareLoop(url, dir + "\\bare.bin", &bytes));
    run.push_back(RunThroughMainWindow(url, dir, round * 2, true, &finished));
    hidden.push_back(RunThroughMainWindow(url, dir, round * 2 + 1, false, &finishedHidden));
    std::printf("round %d: bare loop %.2f s (%llu bytes), run %.2f s (%s), run without extra window %.2f s (%s)\n",
                round, bare.back(), bytes, run.back(), finished ? "Fertig" : "NOT finished", hidden.back(),
                finishedHidden ? "Fertig" : "NOT finished");
    std::fflush(stdout);
  }
  double b = bench::Median(bare), r = bench::Median(run), h = bench::Median(hidden);
  std::printf("median of %d: bare loop %.2f s, run %.2f s (ratio %.3f, target <= 1.2), without extra window %.2f s "
              "(ratio %.3f)\n",
              rounds, b, r, r / b, h, h / b);
  return 0;
}
