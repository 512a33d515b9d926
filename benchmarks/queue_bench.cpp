// Restores and saves queues of 10,000 and 20,000 entries through the real program, as a user
// meets them: holvex.exe started beside its load.hvq until its window shows (the same start
// without a queue is taken off), and a confirmed exit from the click on "Ja" until the
// process has ended (the save dialog's fixed pauses, 0.5 s and the 2 s close timer, are
// taken off). Half of the entries are "Fertig", so the clean-up runs as well.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bare_read_loop.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "settings/settings.h"
#include "support/process.h"

namespace {

using holvex::bench::Now;
using holvex::bench::Seconds;

constexpr double kSaveDialogPauses = 2.5;

struct Figures {
  double restore = 0, save = 0;
  size_t savedEntries = 0;
};

std::string Queue(int entries) {
  std::vector<holvex::QueueEntry> queue;
  for (int i = 0; i < entries; ++i) {
    std::string name = "datei" + std::to_string(i) + ".zip";
    queue.push_back(
        {name, "4,77 MB", i % 2 ? "Fertig" : "Wartend", "http://downloads.example/pfad/zu/" + name});
  }
  return holvex::SerializeQueue(queue);
}

// Seconds from the start until the main window shows; the process is left running.
double StartSeconds(const std::string& exe, std::unique_ptr<holvex::test::ProgramProcess>* program,
                    HWND* main) {
  long long t0 = Now();
  *program = std::make_unique<holvex::test::ProgramProcess>(exe);
  *main = (*program)->WaitForWindow("TForm1", 120000, true);
  return Seconds(t0, Now());
}

HWND FindBox(DWORD pid, const char* caption, int timeoutMs) {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, MAKEINTATOM(0x8002), caption));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(box, &owner);
      if (owner == pid && IsWindowVisible(box)) return box;
    }
    Sleep(5);
  }
  return nullptr;
}

// Seconds from "Ja" on the exit question until the process has ended, less the fixed pauses.
double ExitSeconds(holvex::test::ProgramProcess& program, HWND main) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = FindBox(program.id(), "Beenden", 20000);
  if (!box) {
    std::fprintf(stderr, "no exit question\n");
    return -1;
  }
  Sleep(300);  // the box is centred just after it appears
  long long t0 = Now();
  PostMessageA(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
  if (!program.WaitForExit(600000)) std::fprintf(stderr, "the program did not end\n");
  return Seconds(t0, Now()) - kSaveDialogPauses;
}

Figures Measure(const std::string& dir, int entries) {
  const std::string exe = holvex::PathInDirectory(dir, "holvex.exe");
  const std::string queueFile = holvex::PathInDirectory(dir, holvex::kQueueFileName);
  std::unique_ptr<holvex::test::ProgramProcess> program;
  HWND main = nullptr;
  holvex::RemoveFile(queueFile);
  double empty = StartSeconds(exe, &program, &main);
  program->Kill();
  program.reset();
  holvex::WriteFileReplacing(queueFile, Queue(entries));
  Figures f;
  double full = StartSeconds(exe, &program, &main);
  f.restore = full - empty;
  f.save = ExitSeconds(*program, main);
  f.savedEntries = holvex::ParseQueue(holvex::ReadFileBytes(queueFile).value_or("")).size();
  return f;
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "holvex-queue-bench";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string exe = holvex::test::TestBinaryDirectory() + "\\holvex.exe";
  if (!CopyFileA(exe.c_str(), holvex::PathInDirectory(dir, "holvex.exe").c_str(), FALSE)) {
    std::fprintf(stderr, "no %s\n", exe.c_str());
    return 1;
  }
  holvex::WriteFileReplacing(holvex::PathInDirectory(dir, holvex::kSettingsFileName),
                             "[allgemein]\r\nsplashscreen=0\r\n");
  Measure(dir, 1000);  // warm-up
  Figures f10 = Measure(dir, 10000);
  Figures f20 = Measure(dir, 20000);
  for (const char* name : {"holvex.exe", "load.hvq", "load.ini"})
    DeleteFileA(holvex::PathInDirectory(dir, name).c_str());
  RemoveDirectoryA(dir.c_str());
  std::printf("restore 10000 entries: %.3f s\n", f10.restore);
  std::printf("save    10000 entries: %.3f s (half finished; %zu written)\n", f10.save, f10.savedEntries);
  std::printf("restore 20000 entries: %.3f s (%.2f x)\n", f20.restore, f20.restore / f10.restore);
  std::printf("save    20000 entries: %.3f s (%.2f x; %zu written)\n", f20.save, f20.save / f10.save,
              f20.savedEntries);
  return 0;
}
