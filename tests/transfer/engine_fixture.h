#pragma once
// What the engine tests share: an Application to pump messages, a temporary download
// folder, an engine with its dialog hidden, and a log of every event it raises.
#include <cstdint>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/scripted_http_server.h"
#include "support/temp_dir.h"
#include "toolkit/application.h"
#include "transfer/transfer_engine.h"

namespace holvex::test {

// A complete response with a Content-Length.
std::string HttpOk(const std::string& body, const std::string& extraHeaders = "");
// One connection: read the request, send the bytes, close.
ConnectionScript Answer(const std::string& response);
// size bytes of a pattern that shows misplaced blocks.
std::string Pattern(size_t size);
// A file of that size whose bytes were never written (sparse where the file system allows):
// gigabytes in no time.
void WriteEmptyFile(const std::string& path, std::uint64_t size);

struct Progress {
  int fileidx;
  std::int64_t size, totsize;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest();

  // Adds an active tkHttp item into the download folder.
  TTransferItem& AddItem(const std::string& url);
  std::string Events() const;  // the log, one event a line
  int Count(const std::string& prefix) const;

  struct TimedRun {
    double seconds;
    int ticks;  // of a 100-ms timer on the GUI thread: the windows were served meanwhile
  };
  // Runs the items, timing them, while a 100-ms timer ticks.
  TimedRun ExecuteTicking();
  // Runs the items and cancels them from a timer after cancelAfterMs; returns the seconds taken.
  double ExecuteCancellingAfter(UINT cancelAfterMs);

  std::unique_ptr<Application> app_;
  TempDir dir_;
  TTransferEngine engine_;
  std::vector<std::string> log_;
  std::vector<Progress> progress_;
};

}  // namespace holvex::test
