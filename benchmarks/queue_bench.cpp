// Restores and saves queues of 10,000 and 20,000 entries through the real main window and
// prints the times: restoring must parse the file once, not once per value.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "app/main_form.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "queue/queue_store.h"
#include "toolkit/application.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

struct Figures {
  double restore, save;
};

Figures Measure(const std::string& dir, int entries, int run) {
  std::vector<holvex::QueueEntry> queue;
  for (int i = 0; i < entries; ++i) {
    std::string name = "datei" + std::to_string(i) + ".zip";
    queue.push_back({name, "4,77 MB", "Wartend", "http://downloads.example/pfad/zu/" + name});
  }
  std::string path = holvex::PathInDirectory(dir, holvex::kQueueFileName);
  holvex::WriteFileReplacing(path, holvex::SerializeQueue(queue));

  LARGE_INTEGER t0 = Now();
  auto form = std::make_unique<holvex::TForm1>(
      holvex::MainFormOptions{dir, "holvex-bench-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(run)});
  LARGE_INTEGER t1 = Now();
  if (form->Queue().Count() != static_cast<size_t>(entries)) std::fprintf(stderr, "restored a wrong count\n");
  holvex::SaveQueue(path, form->Queue());
  LARGE_INTEGER t2 = Now();
  return {Seconds(t0, t1), Seconds(t1, t2)};
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
