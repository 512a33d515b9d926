#include "queue/queue_store.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "queue/queue_file.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

struct Recorder {
  std::vector<std::string> log, sections;
  int processed = 0;
  QueueRestoreHooks Hooks() {
    return {[this](const std::string& s) { log.push_back(s); },
            [this](const std::string& s) { sections.push_back(s); }, [this] { ++processed; }};
  }
};

TEST(QueueStore, RestoreWithoutFileLogsOnlySuccess) {
  test::TempDir dir;
  DownloadQueue queue;
  Recorder r;
  RestoreQueue(dir.File("load.hvq"), queue, r.Hooks());
  EXPECT_TRUE(queue.Empty());
  EXPECT_EQ(r.log, std::vector<std::string>{"Initialisierung erfolgreich!"});
}

TEST(QueueStore, RestoreLogsThreeLinesListsSectionsAndProcessesEventsPerRow) {
  test::TempDir dir;
  dir.Write("load.hvq", "[a]\r\nurl=1\r\n\r\n[b]\r\nurl=2\r\n\r\n[c]\r\nurl=3\r\n\r\n");
  DownloadQueue queue;
  Recorder r;
  RestoreQueue(dir.File("load.hvq"), queue, r.Hooks());
  EXPECT_EQ(r.log, (std::vector<std::string>{"Lade Downloads...", "Bitte warten...",
                                             "Initialisierung erfolgreich!"}));
  EXPECT_EQ(r.sections, (std::vector<std::string>{"a", "b", "c"}));
  ASSERT_EQ(queue.Count(), 3u);
  EXPECT_EQ(queue.At(2).url, "3");
  EXPECT_EQ(r.processed, 4);
}

TEST(QueueStore, SaveDropsFinishedEntriesFromFileAndList) {
  test::TempDir dir;
  DownloadQueue queue;
  queue.Append({"a", "0,00 MB", "Wartend", "u1"});
  queue.Append({"b", "0,00 MB", "Fertig", "u2"});
  queue.Append({"c", "0,00 MB", "Fehler", "u3"});
  SaveQueue(dir.File("load.hvq"), queue);
  EXPECT_EQ(queue.Count(), 2u);
  std::string text = dir.Read("load.hvq");
  EXPECT_EQ(text, SerializeQueue({{"a", "0,00 MB", "Wartend", "u1"}, {"c", "0,00 MB", "Fehler", "u3"}}));
}

TEST(QueueStore, SavingAnEmptyQueueDeletesTheFile) {
  test::TempDir dir;
  dir.Write("load.hvq", "[old]\r\n");
  DownloadQueue queue;
  queue.Append({"done", "0,00 MB", "Fertig", "u"});
  SaveQueue(dir.File("load.hvq"), queue);
  EXPECT_FALSE(dir.Exists("load.hvq"));
  SaveQueue(dir.File("load.hvq"), queue);  // nothing to delete: still fine
}

TEST(QueueStore, FailedSaveKeepsListAndThrows) {
  test::TempDir dir;
  DownloadQueue queue;
  queue.Append({"a", "0,00 MB", "Wartend", "u1"});
  std::string path = PathInDirectory(dir.File("no-such-folder"), "load.hvq");
  EXPECT_THROW(SaveQueue(path, queue), FileWriteError);
  EXPECT_EQ(queue.Count(), 1u);
}

TEST(DownloadQueue, RemovalsKeepIdentitiesAndReportEveryChange) {
  DownloadQueue queue;
  std::vector<QueueChange::Kind> kinds;
  queue.onChange = [&](const QueueChange& c) { kinds.push_back(c.kind); };
  EntryId a = queue.Append({"a", "", "Fertig", ""});
  EntryId b = queue.Append({"b", "", "Abgebrochen", ""});
  EntryId c = queue.Append({"c", "", "fertig", ""});
  EntryId d = queue.Append({"d", "", "Fehler", ""});
  queue.RemoveFinishedEntries();
  EXPECT_EQ(queue.IndexOf(a), std::nullopt);
  EXPECT_EQ(queue.IndexOf(b), 0u);
  EXPECT_EQ(queue.IndexOf(c), 1u);  // lower case is not finished
  queue.RemoveFailedEntries();
  EXPECT_EQ(queue.IndexOf(d), std::nullopt);
  EXPECT_EQ(queue.Count(), 2u);
  queue.SetStatus(1, "Wartend");
  queue.Clear();
  EXPECT_EQ(kinds.size(), 4u + 2u + 1u + 1u);
  EXPECT_EQ(kinds.back(), QueueChange::Kind::Reset);
}

TEST(DownloadQueue, CleanUpOfManyRowsIsOneChangeThatMapsTheRowsThatStay) {
  DownloadQueue queue;
  for (int i = 0; i < 20000; ++i)
    queue.Append({std::to_string(i), "", i % 3 == 0 ? "Fertig" : "Wartend", ""});
  EntryId kept = queue.IdAt(19999);
  std::vector<QueueChange> changes;
  std::vector<std::optional<size_t>> mapped;
  queue.onChange = [&](const QueueChange& c) {
    changes.push_back(c);
    for (size_t old : {0u, 1u, 2u, 3u, 4u, 19999u}) mapped.push_back(c.NewIndexOf(old));
  };
  queue.RemoveFinishedEntries();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].kind, QueueChange::Kind::RemovedMany);
  EXPECT_EQ(mapped, (std::vector<std::optional<size_t>>{std::nullopt, 0u, 1u, std::nullopt, 2u, 13332u}));
  EXPECT_EQ(queue.Count(), 13333u);
  EXPECT_EQ(queue.IndexOf(kept), 13332u);
  EXPECT_EQ(queue.At(0).fileName, "1");
}

}  // namespace
}  // namespace holvex
