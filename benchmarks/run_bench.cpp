// A download run of one large entry through the real main window, with the extra progress
// window shown, against the bare read loop on the same file in the same process: the
// per-block updates of list, status bar and extra window must not dominate the transfer.
// Each run also tells whether every byte arrived and whether the texts shown on the way were
// sensible (percentages that never fall, no negative numbers), which matters above 4 GiB.
//
//   run_bench URL WORK_DIR [ROUNDS] [--extra-window-only]
//
// --extra-window-only leaves out the second run without the extra window (for files so large
// that every run takes minutes); the files are deleted after each round.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/download_window.h"
#include "app/main_form.h"
#include "bare_read_loop.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "support/main_window_ui.h"
#include "toolkit/application.h"

namespace {

using namespace holvex;

// What a run showed on the way.
struct Texts {
  int views = 0;
  int lastPercent = -1;
  bool percentFell = false;
  std::string oddText;  // the first text with a minus sign or without its shape
  void See(TForm1& form, const test::MainWindowUi& ui, const TForm9& extra) {
    const std::string percent = ui.Panel(1);
    // Between entries the panels are empty.
    if (percent.rfind("Fertig: ", 0) != 0 || form.Queue().Count() != 1) return;
    ++views;
    const int value = std::atoi(percent.c_str() + 8);
    percentFell = percentFell || value < lastPercent;
    lastPercent = value;
    for (const std::string& text :
         {percent, ui.Panel(2), form.Queue().At(0).status, extra.Label9.Text(), extra.Text()})
      if (oddText.empty() && text.find('-') != std::string::npos) oddText = text;
  }
};

unsigned long long FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double RunThroughMainWindow(const std::string& url, const std::string& dir, int round, bool extraWindow,
                            bool* finished, unsigned long long* bytes, Texts* texts) {
  std::string downloads = dir + "\\run";
  CreateDirectoryA(downloads.c_str(), nullptr);
  WriteFileReplacing(dir + "\\load.ini", std::string("[allgemein]\r\nstatus=") + (extraWindow ? "1" : "0") +
                                             "\r\ndownloadfolder=" + downloads + "\r\n");
  WriteFileReplacing(dir + "\\load.hvq", SerializeQueue({{"run.bin", "200,00 MB", "Wartend", url}}));
  ProgramSession session({dir});
  auto form = std::make_unique<TForm1>(
      session, MainFormOptions{"holvex-run-bench-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(round)});
  auto extra = std::make_unique<TForm9>();
  form->SetExtraWindow(extra.get());
  form->StartupComplete();
  Application::Instance().ProcessMessages();
  const test::MainWindowUi ui(form->hwnd());
  form->Queue().onChange = [&, bind = form->Queue().onChange](const QueueChange& c) {
    bind(c);
    texts->See(*form, ui, *extra);
  };
  long long start = bench::Now();
  ui.Click("Download");
  double seconds = bench::Seconds(start, bench::Now());
  *finished = form->Queue().Count() == 1 && form->Queue().At(0).status == "Fertig";
  *bytes = FileBytes(downloads + "\\run.bin");
  return seconds;
}

std::string Describe(bool finished, unsigned long long bytes, const Texts& t) {
  std::string text = (finished ? "Fertig, " : "NOT finished, ") + std::to_string(bytes) + " bytes; " +
                     std::to_string(t.views) + " views, last \"Fertig: " + std::to_string(t.lastPercent) +
                     " %\"" + (t.percentFell ? ", the percentage FELL" : "");
  if (!t.oddText.empty()) text += ", ODD TEXT \"" + t.oddText + "\"";
  return text;
}

// Of the rounds' own ratios: with the order alternating, what the second run of a round pays
// for the first cancels out.
double GeometricMean(const std::vector<double>& ratios) {
  double sum = 0;
  for (double r : ratios) sum += std::log(r);
  return ratios.empty() ? 0 : std::exp(sum / ratios.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: run_bench URL WORK_DIR [ROUNDS]\n");
    return 2;
  }
  const std::string url = argv[1], dir = argv[2];
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  const bool withHiddenRun = !(argc > 4 && std::string(argv[4]) == "--extra-window-only");
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                           ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  Application app;
  // The run without the extra window tells the main window's share from the extra window's.
  std::vector<double> bare, run, hidden, paired;
  for (int round = 1; round <= rounds; ++round) {
    unsigned long long bytes = 0, runBytes = 0;
    bool finished = false;
    Texts texts;
    bare.push_back(bench::BareLoop(url, dir + "\\bare.bin", &bytes));
    DeleteFileA((dir + "\\bare.bin").c_str());
    // The two runs of a round take turns going first, so that neither pays for what the one
    // before it left behind (a warm or a cold cache, sockets still closing).
    const auto withWindow = [&] {
      run.push_back(RunThroughMainWindow(url, dir, round * 2, true, &finished, &runBytes, &texts));
      DeleteFileA((dir + "\\run\\run.bin").c_str());
      std::printf("round %d: bare loop %.2f s (%llu bytes), run %.2f s (%s)\n", round, bare.back(), bytes,
                  run.back(), Describe(finished, runBytes, texts).c_str());
    };
    const auto withoutWindow = [&] {
      Texts hiddenTexts;
      hidden.push_back(
          RunThroughMainWindow(url, dir, round * 2 + 1, false, &finished, &runBytes, &hiddenTexts));
      DeleteFileA((dir + "\\run\\run.bin").c_str());
      std::printf("round %d: run without extra window %.2f s (%s)\n", round, hidden.back(),
                  Describe(finished, runBytes, hiddenTexts).c_str());
    };
    if (withHiddenRun && round % 2 == 0) withoutWindow();
    withWindow();
    if (withHiddenRun && round % 2 == 1) withoutWindow();
    if (withHiddenRun) paired.push_back(run.back() / hidden.back());
    std::fflush(stdout);
  }
  double b = bench::Median(bare), r = bench::Median(run);
  std::printf("median of %d: bare loop %.2f s, run %.2f s (ratio %.3f, target <= 1.2)", rounds, b, r, r / b);
  if (withHiddenRun) {
    double h = bench::Median(hidden);
    std::printf(
        ", without extra window %.2f s (ratio %.3f); with the extra window against without: %.3f"
        " (geometric mean of the rounds' own ratios: %.3f)",
        h, h / b, r / h, GeometricMean(paired));
  }
  std::printf("\n");
  return 0;
}
