// The download by URL against loopback servers: what arrives on disk, which events fire in
// which order, and what the item's result fields say.
#include <windows.h>

#include <functional>
#include <tuple>

#include <wininet.h>

#include "platform/file_io.h"
#include "transfer/engine_fixture.h"
#include "transfer/format.h"
#include "transfer/progress_dialog.h"
#include "transfer/wine_workarounds.h"

namespace holvex::test {
namespace {

using HttpDownload = EngineTest;

TEST_F(HttpDownload, WritesTheBodyAndReportsEveryBlockWithAFinalPass) {
  const std::string body = Pattern(10000);
  ScriptedHttpServer server({Answer(HttpOk(body))});
  TTransferItem& item = AddItem(server.Url("/dir/a.bin"));
  std::string fileLine;
  engine_.OnFileDone = [&](TTransferEngine& e, int idx) {
    fileLine = e.Dialog()->FileLine();
    log_.push_back("done " + std::to_string(idx));
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nprogress\ndone 0\ncopydone\n");
  EXPECT_EQ(dir_.Read("a.bin"), body);
  EXPECT_TRUE(item.Copied);
  EXPECT_FALSE(item.NoNewFile);
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET /dir/a.bin HTTP/1.1");
  EXPECT_EQ(server.Requests().at(0).Header("User-Agent"), "Holvex 2004");
  EXPECT_EQ(fileLine, "File : a.bin from 127.0.0.1:" + std::to_string(server.port()));
  ASSERT_GE(progress_.size(), 4u);
  int previous = 0;
  for (const Progress& p : progress_) {
    EXPECT_EQ(p.fileidx, 1);
    EXPECT_EQ(p.totsize, 10000);
    EXPECT_GE(p.size, previous);
    EXPECT_LE(p.size - previous, 4096);
    previous = p.size;
  }
  // The read that finds the end still reports, with the final numbers.
  EXPECT_EQ(progress_.back().size, 10000);
  EXPECT_EQ(progress_[progress_.size() - 2].size, 10000);
  EXPECT_EQ(engine_.Dialog(), nullptr);  // released: no Open buttons
}

TEST_F(HttpDownload, ErrorStatusReportsTheCodeAndCreatesNoFile) {
  ScriptedHttpServer server(
      {Answer("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"), Answer(HttpOk("second"))});
  TTransferItem& missing = AddItem(server.Url("/missing.zip"));
  TTransferItem& next = AddItem(server.Url("/next.txt"));
  engine_.Execute();

  EXPECT_EQ(Events(),
            "start 0\nerror 404\ninfo 404 Returned http error code 404\ndone 0\n"
            "start 1\nprogress\ndone 1\ncopydone\n");
  EXPECT_FALSE(dir_.Exists("missing.zip"));
  EXPECT_FALSE(missing.Copied);
  EXPECT_TRUE(next.Copied);
  EXPECT_EQ(dir_.Read("next.txt"), "second");
}

TEST_F(HttpDownload, WithoutContentLengthTheTotalIsZeroAndTheBarStays) {
  const std::string body = Pattern(9000);
  ScriptedHttpServer server({Answer("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body)});
  TTransferItem& item = AddItem(server.Url("/stream"));
  int bar = -1;
  std::string line;
  engine_.OnFileDone = [&](TTransferEngine& e, int) {
    bar = e.Dialog()->Bar.Position();
    line = e.Dialog()->ProgressLine();
  };
  engine_.Execute();

  EXPECT_EQ(dir_.Read("stream"), body);
  EXPECT_TRUE(item.Copied);  // the body ended as the server said: at its close
  for (const Progress& p : progress_) EXPECT_EQ(p.totsize, 0);
  EXPECT_EQ(progress_.back().size, 9000);
  EXPECT_EQ(bar, 0);
  EXPECT_EQ(line, "Progress : " + FormatSize(9000));
}

TEST_F(HttpDownload, CancelFromTheProgressHandlerDeletesThePartialFile) {
  ScriptedHttpServer server({Answer(HttpOk(Pattern(200000))), Answer(HttpOk("never"))});
  TTransferItem& first = AddItem(server.Url("/big.bin"));
  AddItem(server.Url("/second.bin"));
  engine_.OnCopyProgress = [&](TTransferEngine& e, int, std::int64_t size, std::int64_t) {
    log_.push_back("progress " + std::to_string(size > 0));
    e.CancelCopy();
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nprogress 1\ncopydone\n");
  EXPECT_FALSE(dir_.Exists("big.bin"));
  EXPECT_FALSE(first.Copied);
  EXPECT_EQ(server.ConnectionsAccepted(), 1);
}

TEST_F(HttpDownload, InactiveItemsAreSkippedAndTheCounterCountsActiveOnes) {
  ScriptedHttpServer server({Answer(HttpOk("one")), Answer(HttpOk("three"))});
  AddItem(server.Url("/1.txt"));
  TTransferItem& skipped = AddItem(server.Url("/2.txt"));
  skipped.Active = false;
  skipped.Copied = true;  // untouched by the run
  AddItem(server.Url("/3.txt"));
  std::vector<std::string> fileLines;
  engine_.OnFileDone = [&](TTransferEngine& e, int idx) {
    fileLines.push_back(e.Dialog()->FileLine());
    log_.push_back("done " + std::to_string(idx));
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nprogress\ndone 0\nstart 2\nprogress\ndone 2\ncopydone\n");
  EXPECT_EQ(progress_.front().fileidx, 1);
  EXPECT_EQ(progress_.back().fileidx, 2);
  std::string host = " from 127.0.0.1:" + std::to_string(server.port());
  EXPECT_EQ(fileLines,
            (std::vector<std::string>{"File : 1 of 2 : 1.txt" + host, "File : 2 of 2 : 3.txt" + host}));
  EXPECT_TRUE(skipped.Copied);
  EXPECT_FALSE(dir_.Exists("2.txt"));
}

TEST_F(HttpDownload, OverwriteQuestionCanKeepTheExistingFile) {
  ScriptedHttpServer server({Answer(HttpOk("new")), Answer(HttpOk("new"))});
  dir_.Write("a.txt", "old");
  TTransferItem& item = AddItem(server.Url("/a.txt"));
  std::string asked;
  engine_.OnCopyOverWrite = [&](TTransferEngine&, const std::string& path, bool& allow) {
    asked = path;
    allow = false;
  };
  engine_.Execute();
  EXPECT_EQ(asked, dir_.File("a.txt"));
  EXPECT_EQ(dir_.Read("a.txt"), "old");
  EXPECT_FALSE(item.Copied);
  EXPECT_EQ(Events(), "start 0\ndone 0\ncopydone\n");

  engine_.OnCopyOverWrite = nullptr;  // without a handler the file is replaced
  engine_.Execute();
  EXPECT_EQ(dir_.Read("a.txt"), "new");
  EXPECT_TRUE(item.Copied);
}

TEST_F(HttpDownload, CopyNewerOnlyComparesLastModified) {
  const std::string stamp = "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n";
  const TDateTime serverDate = EncodeDateTime({1994, 11, 6, 8, 49, 37, 0});
  ScriptedHttpServer server({Answer(HttpOk("x", stamp)), Answer(HttpOk("newer", stamp))});
  TTransferItem& item = AddItem(server.Url("/dated.txt"));
  item.CopyNewerOnly = true;
  item.FileDate = serverDate;  // equal is not newer
  engine_.Execute();
  EXPECT_EQ(Events(), "start 0\nnonewfile dated.txt\ndone 0\ncopydone\n");
  EXPECT_TRUE(item.NoNewFile);
  EXPECT_FALSE(item.Copied);
  EXPECT_FALSE(dir_.Exists("dated.txt"));

  item.FileDate = serverDate - 1;
  engine_.Execute();
  EXPECT_FALSE(item.NoNewFile);
  EXPECT_TRUE(item.Copied);
  EXPECT_DOUBLE_EQ(item.NewFileDate, serverDate);
  EXPECT_DOUBLE_EQ(item.FileDate, serverDate - 1);  // never changed by a run
  EXPECT_EQ(dir_.Read("dated.txt"), "newer");
}

TEST_F(HttpDownload, DateCheckHandlerDecidesInsteadOfCopyNewerOnly) {
  ScriptedHttpServer server({Answer(HttpOk("x", "Last-Modified: Mon, 17 May 2004 18:00:00 GMT\r\n"))});
  TTransferItem& item = AddItem(server.Url("/dated.txt"));
  TDateTime seen = 0;
  engine_.OnFileDateCheck = [&](TTransferEngine&, int idx, TDateTime newdate, bool& allow) {
    log_.push_back("datecheck " + std::to_string(idx));
    seen = newdate;
    allow = false;
  };
  engine_.Execute();
  EXPECT_EQ(Events(), "start 0\ndatecheck 0\ndone 0\ncopydone\n");
  EXPECT_DOUBLE_EQ(seen, 38124.75);
  EXPECT_DOUBLE_EQ(item.NewFileDate, 38124.75);
  EXPECT_FALSE(dir_.Exists("dated.txt"));
}

TEST_F(HttpDownload, DateCheckWithoutLastModifiedEndsTheRunWithAnError) {
  ScriptedHttpServer server({Answer(HttpOk("x"))});
  AddItem(server.Url("/undated.txt")).CopyNewerOnly = true;
  EXPECT_THROW(engine_.Execute(), DateConversionError);
  EXPECT_EQ(Events(), "start 0\n");
  EXPECT_EQ(engine_.Dialog(), nullptr);
}

TEST_F(HttpDownload, MissingTargetFoldersAreCreated) {
  ScriptedHttpServer server({Answer(HttpOk("deep"))});
  TTransferItem& item = AddItem(server.Url("/a.txt"));
  item.TargetDir = dir_.File("sub\\deeper");
  item.TargetFilename = "renamed.txt";
  engine_.Execute();
  EXPECT_EQ(ReadFileBytes(dir_.File("sub\\deeper\\renamed.txt")).value_or(""), "deep");
  EXPECT_TRUE(item.Copied);
}

TEST_F(HttpDownload, UnreachableAddressFiresUrlNotFound) {
  std::string url;
  {
    ScriptedHttpServer gone({});
    url = gone.Url("/a.zip");
  }  // nothing listens there any more
  AddItem(url);
  engine_.Execute();
  EXPECT_EQ(Events(), "start 0\nnotfound " + url + "\ndone 0\ncopydone\n");
}

TEST_F(HttpDownload, EmptyListOpensNothingAndStillEndsTheRun) {
  engine_.Execute();
  EXPECT_EQ(Events(), "copydone\n");
  AddItem("http://127.0.0.1:9/never").Active = false;
  engine_.Execute();
  EXPECT_EQ(Events(), "copydone\ncopydone\n");
  EXPECT_EQ(engine_.Dialog(), nullptr);
}

// How an item ends, on the engine's Windows path (WinInet called as documented, none of Wine's
// workarounds) and on its Wine path. A file of the same name is there before: it is replaced
// only once bytes arrive (or a whole body turns out empty). The cancelled bodies trickle in: on
// the Windows path Wine reads on, at the close, whatever has arrived.
struct EndRow {
  const char* name;
  std::function<ConnectionScript()> script;
  UINT cancelAfterMs;  // 0: no cancel
  TTransferOutcome::Kind kind;
  int code;
  const char* file;  // what the target holds afterwards; nullptr: there is none
};

const std::string kHead100k = "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n";
const std::string kOldFile = "die alte Datei";

const EndRow kEndRows[] = {
    {"whole", [] { return Answer(HttpOk("neu")); }, 0, TTransferOutcome::kDone, 0, "neu"},
    {"empty", [] { return Answer(HttpOk("")); }, 0, TTransferOutcome::kDone, 0, ""},
    {"not_found", [] { return Answer("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"); }, 0,
     TTransferOutcome::kFailed, 404, kOldFile.c_str()},
    {"cut_off", [] { return ConnectionScript().Receive().Send(kHead100k + "rest").Close(); }, 0,
     TTransferOutcome::kFailed, ERROR_INTERNET_CONNECTION_ABORTED, "rest"},
    {"reset", [] { return ConnectionScript().Receive().Send(kHead100k + "rest").Reset(); }, 0,
     TTransferOutcome::kFailed, ERROR_INTERNET_CONNECTION_ABORTED, "rest"},
    {"cancelled_before_the_first_byte",
     [] { return ConnectionScript().Receive().Send(kHead100k).HoldOpen(); }, 700,
     TTransferOutcome::kCancelled, 0, kOldFile.c_str()},
    {"cancelled_mid_body",
     [] { return ConnectionScript().Receive().SendInPieces(kHead100k + Pattern(100000), 500, 50); }, 600,
     TTransferOutcome::kCancelled, 0, nullptr},
};

class EndOnBothPaths : public EngineTest, public ::testing::WithParamInterface<std::tuple<bool, EndRow>> {};

TEST_P(EndOnBothPaths, TheOutcomeSaysHowTheItemEnded) {
  const auto& [underWine, row] = GetParam();
  wine::ForcedPlatform platform(underWine);
  ScriptedHttpServer server({row.script()});
  dir_.Write("datei.bin", kOldFile);
  TTransferItem& item = AddItem(server.Url("/datei.bin"));
  const double seconds =
      row.cancelAfterMs ? ExecuteCancellingAfter(row.cancelAfterMs) : ExecuteTicking().seconds;
  EXPECT_EQ(item.Outcome.kind, row.kind) << Events();
  EXPECT_EQ(item.Outcome.code, row.code) << Events();
  EXPECT_EQ(item.Copied, row.kind == TTransferOutcome::kDone);
  // Told through OnError exactly when the outcome is a reported failure.
  EXPECT_EQ(Count("error "), row.code ? 1 : 0) << Events();
  EXPECT_EQ(dir_.Exists("datei.bin"), row.file != nullptr);
  if (row.file) {
    EXPECT_EQ(dir_.Read("datei.bin"), row.file);
  }
  EXPECT_LT(seconds, 5.0);
}

INSTANTIATE_TEST_SUITE_P(Paths, EndOnBothPaths,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kEndRows)),
                         [](const auto& param) {
                           return std::string(std::get<0>(param.param) ? "wine_" : "windows_") +
                                  std::get<1>(param.param).name;
                         });

}  // namespace
}  // namespace holvex::test
