// Restores and saves queues of 10,000 and 20,000 entries through the real main window and
// prints the times: restoring must parse the file once, not once per value.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "app/main_form.h"
#include "bare_read_loop.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "queue/queue_store.h"
#include "toolkit/application.h"

namespace {

using holvex::bench::Now;

double Seconds(long long from, long long to) { return holvex::bench::Seconds(from, to); }

struct Figures {
  double restore, save;
};

// Creating the main window with `entries` rows in load.hvq; the form is handed back.
double CreateWindowSeconds(const std::string& dir, int run, std::unique_ptr<holvex::TForm1>* form) {
  long long t0 = Now();
  *form = std::make_unique<holvex::TForm1>(
      holvex::MainFormOptions{dir, "holvex-bench-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(run)});
  return Seconds(t0, Now());
}

Figures Measure(const std::string& dir, int entries, int run) {
  std::vector<holvex::QueueEntry> queue;
  for (int i = 0; i < entries; ++i) {
    std::string name = "datei" + std::to_string(i) + ".zip";
    queue.push_back({name, "4,77 MB", "Wartend", "http://downloads.example/pfad/zu/" + name});
  }
  std::string path = holvex::PathInDirectory(dir, holvex::kQueueFileName);
  // The window itself costs the same with or without a queue: its time without one is
  // taken off, so that the figure is the restore's own.
  std::unique_ptr<holvex::TForm1> form;
  holvex::RemoveFile(path);
  double empty = CreateWindowSeconds(dir, run * 2, &form);
  form.reset();
  holvex::WriteFileReplacing(path, holvex::SerializeQueue(queue));
  double full = CreateWindowSeconds(dir, run * 2 + 1, &form);
  if (form->Queue().Count() != static_cast<size_t>(entries)) std::fprintf(stderr, "restored a wrong count\n");
  long long t1 = Now();
  holvex::SaveQueue(path, form->Queue());
  return {full - empty, Seconds(t1, Now())};
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  holvex::Application app;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "holvex-queue-bench";
  CreateDirectoryA(dir.c_str(), nullptr);
  Measure(dir, 1000, 0);  // warm-up
  Figures f10 = Measure(dir, 10000, 1);
  Figures f20 = Measure(dir, 20000, 2);
  DeleteFileA(holvex::PathInDirectory(dir, holvex::kQueueFileName).c_str());
  RemoveDirectoryA(dir.c_str());
  std::printf("restore 10000 entries: %.3f s\n", f10.restore);
  std::printf("save    10000 entries: %.3f s\n", f10.save);
  std::printf("restore 20000 entries: %.3f s (%.2f x)\n", f20.restore, f20.restore / f10.restore);
  std::printf("save    20000 entries: %.3f s (%.2f x)\n", f20.save, f20.save / f10.save);
  return 0;
}
