// How a download run ends each entry, from what the engine says: a scripted engine replays the
// engine's events and outcome for each entry, fast and without a server. Each row checks the
// final statuses and the run's log.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "run/download_run.h"
#include "support/gui.h"

namespace holvex {
namespace {

using Strings = std::vector<std::string>;

// What the engine does for one entry, between OnFileStart and OnFileDone.
enum class Step { kBlock, kLastBlock, kEmptyBody, kError404, kNotFound, kUserCancels };

struct Script {
  std::vector<Step> steps;
  TTransferOutcome outcome;
};

class RecordingView final : public RunView {
 public:
  void AddLogLine(const std::string& message) override { log.push_back(message); }
  void ReportOffline() override { log.push_back("offline"); }
  void RunStateChanged() override {}
  void PrepareEntry(const std::string&, const std::string&, const std::string&) override {}
  void ShowExtraWindow(bool) override {}
  void ShowProgress(const ProgressTexts&) override {}
  void ClearPanels() override {}
  Strings log;
};

// Replays a script per address, as the engine raises its events: OnFileStart, the steps,
// OnFileDone unless cancelled, OnCopyDone.
class ScriptedTransfer final : public EntryTransfer {
 public:
  TTransferOutcome Fetch(const std::string& url, const std::string&, const std::string&) override {
    cancelled_ = false;
    const Script& script = scripts.at(url);
    run->FileStarted();
    for (Step step : script.steps) Replay(step);
    if (!cancelled_) run->FileDone();
    run->CopyDone();
    TTransferOutcome outcome = script.outcome;
    if (cancelled_) outcome.kind = TTransferOutcome::kCancelled;
    return outcome;
  }
  void Cancel() override { cancelled_ = true; }

  std::map<std::string, Script> scripts;
  DownloadRun* run = nullptr;

 private:
  void Replay(Step step) {
    switch (step) {
      case Step::kBlock:
        return run->Progress(4096, 8192);
      case Step::kLastBlock:
        return run->Progress(8192, 8192);
      case Step::kEmptyBody:
        return run->Progress(0, 0);
      case Step::kError404:
        return run->Failed(404);
      case Step::kNotFound:
        return run->NotFound();
      case Step::kUserCancels:
        return run->Cancel();  // the click on "Abbrechen", inside the engine's pump
    }
  }
  bool cancelled_ = false;
};

TTransferOutcome Ends(TTransferOutcome::Kind kind, std::string text = "") {
  TTransferOutcome outcome;
  outcome.kind = kind;
  outcome.text = std::move(text);
  return outcome;
}

const Script kWhole{{Step::kBlock, Step::kLastBlock}, Ends(TTransferOutcome::kDone)};

struct RunRow {
  const char* name;
  std::vector<Script> entries;  // one entry each, a.bin, b.bin, ...
  Strings statuses;
  Strings failureLines;  // the lines that say why, in the order they come
  bool cancelledRun;     // the run ended with "Downloads abgebrochen durch Benutzer."
};

const RunRow kRows[] = {
    {"done", {kWhole}, {"Fertig"}, {}, false},
    {"failed_with_a_reason",
     {{{Step::kError404}, Ends(TTransferOutcome::kFailed)}},
     {"Fehler"},
     {"Download Fehler: Code404"},
     false},
    {"not_found",
     {{{Step::kNotFound}, Ends(TTransferOutcome::kFailed)}},
     {"Fehler"},
     {"Download Fehler: Datei nicht gefunden."},
     false},
    {"failed_without_an_event",
     {{{}, Ends(TTransferOutcome::kFailed, "Cannot enter or create folder x")}},
     {"Fehler"},
     {"Download Fehler: Cannot enter or create folder x"},
     false},
    {"empty_body", {{{Step::kEmptyBody}, Ends(TTransferOutcome::kDone)}}, {"Fertig"}, {}, false},
    {"cancelled_before_the_first_byte",
     {{{Step::kUserCancels}, Ends(TTransferOutcome::kFailed)}},
     {"Abgebrochen"},
     {},
     false},
    {"cancelled_mid_body",
     {{{Step::kBlock, Step::kUserCancels}, Ends(TTransferOutcome::kFailed)}},
     {"Abgebrochen"},
     {},
     false},
    {"skipped", {{{}, Ends(TTransferOutcome::kSkipped)}}, {"Fehler"}, {}, false},
    {"cancel_in_the_second_of_three",
     {kWhole, {{Step::kBlock, Step::kUserCancels}, Ends(TTransferOutcome::kFailed)}, kWhole},
     {"Fertig", "Abgebrochen", "Wartend"},
     {},
     true},
};

class RunTable : public ::testing::TestWithParam<RunRow> {};

TEST_P(RunTable, EachEntryEndsAsTheEngineSaid) {
  const RunRow& row = GetParam();
  test::TestApplication();
  DownloadQueue queue;
  ScriptedTransfer transfer;
  GeneralSettings settings;
  RecordingView view;
  DownloadRun run(queue, transfer, settings, view);
  transfer.run = &run;
  for (size_t i = 0; i < row.entries.size(); ++i) {
    const std::string name = std::string(1, static_cast<char>('a' + i)) + ".bin";
    const std::string url = "http://127.0.0.1/" + name;
    queue.Append({name, "0,00 MB", kStatusWaiting, url});
    transfer.scripts[url] = row.entries[i];
  }
  run.Start();

  Strings statuses;
  for (size_t i = 0; i < queue.Count(); ++i) statuses.push_back(queue.At(i).status);
  EXPECT_EQ(statuses, row.statuses);
  EXPECT_FALSE(run.Running());
  Strings failures;
  for (const std::string& line : view.log)
    if (line.rfind("Download Fehler", 0) == 0) failures.push_back(line);
  EXPECT_EQ(failures, row.failureLines) << ::testing::PrintToString(view.log);
  // Every entry fetched began as the engine's events say, and every engine job ended.
  ASSERT_GE(view.log.size(), 4u);
  EXPECT_EQ(Strings(view.log.begin(), view.log.begin() + 3),
            (Strings{"Download der Datei \"a.bin\"...", "Verbindung hergestellt.",
                     "Kopiere Daten in Zielordner..."}));
  EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "Download beendet."),
            static_cast<long>(std::count_if(row.statuses.begin(), row.statuses.end(),
                                            [](const std::string& s) { return s != kStatusWaiting; })));
  EXPECT_EQ(view.log.back() == "Downloads abgebrochen durch Benutzer.", row.cancelledRun)
      << ::testing::PrintToString(view.log);
}

INSTANTIATE_TEST_SUITE_P(Ends, RunTable, ::testing::ValuesIn(kRows),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace holvex
