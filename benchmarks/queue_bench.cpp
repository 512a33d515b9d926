// Restores and saves queues of 10,000 and 20,000 entries through the real program, as a user
// meets them: holvex.exe started beside its load.hvq until its window shows (the same start
// without a queue is taken off), and a confirmed exit from the click on "Ja" until the
// process has ended (the save dialog's close timer, 2 s from the end of the writing, is taken
// off; its 0.5 s pause runs inside those 2 s). Half of the entries are "Fertig", so the clean-up runs as
// well.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bare_read_loop.h"
#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "settings/settings.h"
#include "support/main_window_ui.h"
#include "support/process.h"
#include "toolkit/application.h"

namespace {

using holvex::bench::Now;
using holvex::bench::Seconds;

constexpr double kSaveDialogPauses = 2.0;

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
  // A close request made during start-up is taken up once every window exists. One request
  // only: a second one taken inside the question's loop would ask a second time.
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = FindBox(program.id(), "Beenden", 60000);
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
  // A process start varies by tens of milliseconds: the median of three starts each way.
  std::vector<double> empty, full;
  for (int i = 0; i < 3; ++i) {
    holvex::RemoveFile(queueFile);
    empty.push_back(StartSeconds(exe, &program, &main));
    program->Kill();
    program.reset();
    holvex::WriteFileReplacing(queueFile, Queue(entries));
    full.push_back(StartSeconds(exe, &program, &main));
    if (i < 2) {
      program->Kill();
      program.reset();
    }
  }
  Figures f;
  f.restore = holvex::bench::Median(full) - holvex::bench::Median(empty);
  f.save = ExitSeconds(*program, main);
  f.savedEntries = holvex::ParseQueue(holvex::ReadFileBytes(queueFile).value_or("")).size();
  return f;
}

// The commands that walk the whole queue, on the real main window showing 10,000 rows of
// which a third are "Fertig" and a third "Fehler".
void MeasureCommands(const std::string& dir) {
  holvex::Application app;
  std::vector<holvex::QueueEntry> rows;
  for (int i = 0; i < 10000; ++i) {
    const char* status = i % 3 == 0 ? "Fertig" : i % 3 == 1 ? "Fehler" : "Wartend";
    rows.push_back(
        {"datei" + std::to_string(i) + ".zip", "4,77 MB", status, "http://downloads.example/d.zip"});
  }
  const std::string queueFile = holvex::PathInDirectory(dir, holvex::kQueueFileName);
  holvex::WriteFileReplacing(queueFile, holvex::SerializeQueue(rows));
  holvex::ProgramSession session({dir});
  holvex::TForm1 form(session, holvex::MainFormOptions{"holvex-bench-commands"});
  form.Show();
  const holvex::test::MainWindowUi ui(form.hwnd());
  // The user scrolls to the row and selects it.
  SendMessageA(ui.Control(WC_LISTVIEWA), LVM_ENSUREVISIBLE, 9998, FALSE);
  ui.SelectRow(9998);
  app.ProcessMessages();
  auto time = [&](const char* name, const char* item) {
    const size_t before = form.Queue().Count();
    long long t0 = Now();
    ui.ChooseMenu(item);
    app.ProcessMessages();
    std::printf("%-38s %.3f s (%zu -> %zu rows)\n", name, Seconds(t0, Now()), before, form.Queue().Count());
  };
  time("...fertige Downloads entfernen", "...fertige D&ownloads entfernen");
  time("...fehlerhafte Downloads entfernen", "...fehlerhafte Downloads entfernen");
  for (const holvex::QueueEntry& e : rows) form.Queue().Append(e);
  time("Verwerfen", "&Verwerfen");
  holvex::RemoveFile(queueFile);
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
  MeasureCommands(dir);
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
