// The program is killed at random moments while it saves: load.hvq and load.ini are always
// found whole afterwards, as they were before that save or as it wrote them, never a mix, a
// truncation or nothing. HOLVEX_KILLS sets the number of kills of each test
// (scripts/bench-reliability.sh runs 200 each; the suite runs a few).
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "app/crash_settings.h"
#include "queue/queue_file.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

constexpr int kSaveCommand = 101;  // "&Speichern...": the menu commands are numbered as built

int Kills(int inTheSuite) {
  const char* text = std::getenv("HOLVEX_KILLS");
  return text && std::atoi(text) > 0 ? std::atoi(text) : inTheSuite;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(5);
  }
  return true;
}

// 5,000 entries to keep and 500 finished ones, which the save leaves out: the old and the new
// file differ all along. Long addresses make the file large (2.5 MB), so a kill can fall
// inside its writing.
std::vector<QueueEntry> OldQueue() {
  std::vector<QueueEntry> entries;
  const std::string query = "?sitzung=" + std::string(360, 'q');
  for (int i = 0; i < 5500; ++i) {
    const std::string n = std::to_string(i);
    entries.push_back({"datei" + n + ".zip", "1,00 MB", i % 11 == 5 ? "Fertig" : "Wartend",
                       "http://server.example/pfad/zum/download/datei" + n + ".zip" + query});
  }
  return entries;
}

class QueueKill {
 public:
  QueueKill() {
    const std::string exe = test::TestBinaryDirectory() + "\\holvex.exe";
    if (!CopyFileA(exe.c_str(), dir_.File("holvex.exe").c_str(), FALSE))
      throw std::runtime_error("no " + exe);
    dir_.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
    std::vector<QueueEntry> entries = OldQueue();
    old_ = SerializeQueue(entries);
    std::erase_if(entries, [](const QueueEntry& e) { return e.status == "Fertig"; });
    new_ = SerializeQueue(entries);
  }
  // Starts the program on the old file and asks it to save; then kills it `afterMs` later,
  // counted from the command or (afterWriteSeen) from the first sign of the writing (a
  // temporary file, or the file itself changing). afterMs -1: no kill; the milliseconds from
  // the command to the new file's arrival, or -1.
  int Round(int afterMs, bool afterWriteSeen = false) {
    dir_.Write("load.hvq", old_);
    DeleteFileA(dir_.File("load.hvq.tmp").c_str());
    test::ProgramProcess program(dir_.File("holvex.exe"));
    HWND main = program.WaitForWindow("TForm1", 20000, true);
    if (!main || !program.WaitForWindow("TForm9", 20000))
      throw std::runtime_error("the program did not start");
    Sleep(100);
    const DWORD start = GetTickCount();
    PostMessageA(main, WM_COMMAND, kSaveCommand, 0);
    if (afterMs < 0) {
      // The file is read only once its size is the new one's: a reader holding it while it is
      // replaced would make the replacing fail. A read that did not find the new text yet (the
      // suite once failed here on a fresh machine, under load) is made again.
      bool saved = WaitFor(
          [&] { return SizeOf("load.hvq") == static_cast<long long>(new_.size()) && File() == new_; }, 20000);
      const int ms = static_cast<int>(GetTickCount() - start);
      return saved ? ms : -1;
    }
    if (afterWriteSeen) WaitFor([&] { return WritingSeen(); }, 5000);
    Sleep(static_cast<DWORD>(afterMs));
    program.Kill();
    return -1;
  }
  std::string File() const { return dir_.Read("load.hvq"); }
  // The size, without opening the file; -1 when there is none.
  long long SizeOf(const char* name) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(dir_.File(name).c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  }
  bool WritingSeen() const {
    return SizeOf("load.hvq.tmp") >= 0 || SizeOf("load.hvq") != static_cast<long long>(old_.size());
  }
  const std::string& Old() const { return old_; }
  const std::string& New() const { return new_; }

 private:
  test::TempDir dir_;
  std::string old_, new_;
};

TEST(CrashSafety, QueueFileIsTheOldOrTheNewOneWhereverTheSaveIsKilled) {
  QueueKill run;
  const int saveMs = run.Round(-1);
  ASSERT_GT(saveMs, 0) << "an uncut save did not write the new queue";
  // A third of the kills anywhere in the save, a third close to the moment the file was
  // replaced in the uncut save, and a third within a few milliseconds of the first sign of
  // the writing.
  std::mt19937 random(18);
  std::uniform_int_distribution<int> anywhere(0, saveMs + saveMs / 2);
  std::uniform_int_distribution<int> nearTheWrite(std::max(0, saveMs - 40), saveMs + 10);
  std::uniform_int_distribution<int> inTheWrite(0, 4);
  int olds = 0, news = 0;
  const int kills = Kills(12);
  for (int i = 0; i < kills; ++i) {
    const int after = i % 3 == 0 ? anywhere(random) : i % 3 == 1 ? nearTheWrite(random) : inTheWrite(random);
    run.Round(after, i % 3 == 2);
    const std::string file = run.File();
    if (file == run.Old()) {
      ++olds;
    } else if (file == run.New()) {
      ++news;
    } else {
      ADD_FAILURE() << "kill " << i << " after " << after << " ms left " << file.size()
                    << " bytes of neither queue";
    }
  }
  std::printf(
      "queue: %d kills during saves of 5,000 entries (%zu bytes) (a save took %d ms): %d old, %d new, %d "
      "other\n",
      kills, run.New().size(), saveMs, olds, news, kills - olds - news);
}

// Every file a run of the driver can leave between two of its saves, from the first on.
std::set<std::string> SettingsStates(const test::TempDir& dir, const std::string& initial) {
  dir.Write("states.ini", initial);
  const SettingsFile file(dir.File("states.ini"));
  std::set<std::string> states{initial};
  for (int i = 0; i < 4; ++i) {
    WriteGeneralSettings(file, test::CrashTestGeneral(i % 2));
    states.insert(dir.Read("states.ini"));
    WriteProxySettings(file, test::CrashTestProxy(i % 2));
    states.insert(dir.Read("states.ini"));
  }
  return states;
}

TEST(CrashSafety, SettingsFileIsAWholeSaveWhereverTheSaveIsKilled) {
  test::TempDir dir;
  const std::string initial =
      "; von Hand\r\n[proxy]\r\nserver=alt\r\n\r\n[allgemein]\r\nsplashscreen=0\r\n[fremd]\r\nx=1\r\n";
  const std::set<std::string> states = SettingsStates(dir, initial);
  dir.Write("load.ini", initial);
  const std::string driver = test::TestBinaryDirectory() + "\\settings_save_driver.exe";
  std::mt19937 random(4);
  std::uniform_int_distribution<int> moment(0, 30);
  std::set<std::string> seen;
  const int kills = Kills(60);
  for (int i = 0; i < kills; ++i) {
    const std::string eventName = "holvex-save-driver-" + std::to_string(GetCurrentProcessId());
    UniqueKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    std::string arguments = dir.File("load.ini");
    arguments.insert(0, 1, '"').append("\" ").append(eventName);
    test::ProgramProcess saver(driver, arguments);
    ASSERT_EQ(WaitForSingleObject(ready.get(), 20000), WAIT_OBJECT_0) << "the driver did not start saving";
    Sleep(static_cast<DWORD>(moment(random)));
    saver.Kill();
    const std::string file = dir.Read("load.ini");
    EXPECT_EQ(states.count(file), 1u)
        << "kill " << i << " left " << file.size() << " bytes that no save wrote";
    seen.insert(file);
  }
  std::printf("settings: %d kills during saves of load.ini: %zu different whole files found, %s\n", kills,
              seen.size(), ::testing::Test::HasFailure() ? "some not whole" : "every one whole");
}

}  // namespace
}  // namespace holvex
