// The HTTP upload against loopback servers, which record what arrived: verb, declared length
// and body; a refused upload; servers that stop answering or break off; a cancel.
#include <chrono>

#include "platform/text.h"
#include "support/unix_side.h"
#include "transfer/engine_fixture.h"
#include "transfer/progress_dialog.h"

namespace holvex::test {
namespace {

using Clock = std::chrono::steady_clock;

class HttpUpload : public EngineTest {
 protected:
  // A tkHttpUpload item sending name from the test folder.
  TTransferItem& AddUpload(const std::string& url, const std::string& name, TTransferHttpVerb verb = hcPost) {
    TTransferItem& item = AddItem(url);
    item.Protocol = tkHttpUpload;
    item.TargetFilename = name;
    item.HTTPCommand = verb;
    return item;
  }
  static double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
  }
};

TEST_F(HttpUpload, PostAndPutReachTheAddressesPortAndARefusalFails) {
  const std::string post = Pattern(10000), put = Pattern(4096);
  dir_.Write("post.bin", post);
  dir_.Write("put.bin", put);
  ScriptedHttpServer server({Answer(HttpOk("ok")),
                             Answer("HTTP/1.1 201 Created\r\nContent-Length: 0\r\n\r\n"),
                             Answer("HTTP/1.1 403 Forbidden\r\nContent-Length: 6\r\n\r\nno way")});
  TTransferItem& first = AddUpload(server.Url("/in/post.bin?x=1"), "post.bin");
  TTransferItem& second = AddUpload(server.Url("/in/put.bin"), "put.bin", hcPut);
  TTransferItem& refused = AddUpload(server.Url("/in/put.bin"), "put.bin");
  AddUpload(server.Url("/in/missing.bin"), "");  // no such local file: no event, no connection
  std::string fileLine;
  engine_.OnFileDone = [&](TTransferEngine& e, int idx) {
    if (idx == 0) fileLine = e.Dialog()->FileLine();
    log_.push_back("done " + std::to_string(idx));
  };
  engine_.Execute();

  EXPECT_EQ(Events(),
            "start 0\nprogress\ndone 0\nstart 1\nprogress\ndone 1\nstart 2\nprogress\n"
            "error 403\ninfo 403 Returned http error code 403\ndone 2\nstart 3\ndone 3\ncopydone\n");
  EXPECT_TRUE(first.Copied);
  EXPECT_TRUE(second.Copied);
  EXPECT_FALSE(refused.Copied);
  EXPECT_FALSE(engine_.Items[3].Copied);
  std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].RequestLine(), "POST /in/post.bin?x=1 HTTP/1.1");
  EXPECT_EQ(requests[0].Header("Content-Length"), "10000");
  EXPECT_EQ(requests[0].body, post);
  EXPECT_EQ(requests[1].RequestLine(), "PUT /in/put.bin HTTP/1.1");
  EXPECT_EQ(requests[1].Header("Content-Length"), "4096");
  EXPECT_EQ(requests[1].body, put);
  EXPECT_EQ(requests[2].body, put);
  EXPECT_EQ(server.ConnectionsAccepted(), 3);
  // The port stays in the file line, and the connection went to it.
  EXPECT_EQ(fileLine, "File : 1 of 4 : post.bin?x=1 from 127.0.0.1:" + std::to_string(server.port()));
  // 10000 bytes: three blocks, the last one short. 4096 bytes: one block, then a pass that
  // finds nothing more.
  std::vector<std::pair<int, int>> seen;
  for (const Progress& p : progress_) seen.emplace_back(p.fileidx, p.size);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{
                      {1, 4096}, {1, 8192}, {1, 10000}, {2, 4096}, {2, 4096}, {3, 4096}, {3, 4096}}));
}

TEST_F(HttpUpload, LocalFileThatCannotBeSentWholeFailsItsItemAndTheRunGoesOn) {
  WriteEmptyFile(dir_.File("dvd.iso"), 4'294'967'296);  // more than an upload can declare
  dir_.Write("shrinks.log", Pattern(10000));
  dir_.Write("next.bin", "next");
  ScriptedHttpServer server({Answer(HttpOk("ok")), Answer(HttpOk("ok"))});
  AddUpload(server.Url("/in/dvd.iso"), "dvd.iso");
  AddUpload(server.Url("/in/shrinks.log"), "shrinks.log");
  TTransferItem& next = AddUpload(server.Url("/in/next.bin"), "next.bin");
  const std::string shrinking = dir_.File("shrinks.log");
  engine_.OnCopyProgress = [&](TTransferEngine&, int fileidx, std::int64_t size, std::int64_t) {
    if (log_.back() != "progress") log_.push_back("progress");
    if (fileidx != 2 || size != 4096) return;
    // Cut short behind the engine's back (it holds the file open for reading only), as a log
    // rotation would.
    StartUnixProgram("Z:\\usr\\bin\\truncate -s 5000 \"" + UnixPath(shrinking) + "\"");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    for (int waited = 0; waited < 5000; waited += 20) {
      if (GetFileAttributesExA(shrinking.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow == 5000)
        break;
      Sleep(20);
    }
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nerror 8\ninfo 8 Cannot send " + dir_.File("dvd.iso") +
                          " by HTTP upload: it has 4294967296 bytes, and an upload can declare at most "
                          "4294967295 bytes (4 GiB - 1)\ndone 0\n"
                          "start 1\nprogress\nerror 4\ninfo 4 Error reading source file " +
                          shrinking + "\ndone 1\nstart 2\nprogress\ndone 2\ncopydone\n");
  EXPECT_FALSE(engine_.Items[0].Copied);
  EXPECT_FALSE(engine_.Items[1].Copied);
  EXPECT_TRUE(next.Copied);
  EXPECT_TRUE(server.WaitForConnectionsFinished(2, 5000));
  std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);  // the cut-short body never came whole
  EXPECT_EQ(requests[0].RequestLine(), "POST /in/next.bin HTTP/1.1");
}

TEST_F(HttpUpload, ServersThatStopOrBreakOffFailWithinTheBound) {
  dir_.Write("a.txt", "payload");
  const std::string big = Pattern(16 * 1024 * 1024);  // more than the sockets hold
  dir_.Write("big.bin", big);
  ScriptedHttpServer server({ConnectionScript().Receive().Pause(8000).Close(),  // never answers
                             ConnectionScript().Pause(8000).Close(),            // never reads
                             ConnectionScript().Reset()});                      // breaks off at once
  AddUpload(server.Url("/a.txt"), "a.txt");
  AddUpload(server.Url("/big.bin"), "big.bin");
  AddUpload(server.Url("/big.bin"), "big.bin");
  engine_.StallTimeoutMs = 1500;
  auto start = Clock::now();
  engine_.Execute();

  EXPECT_LT(SecondsSince(start), 7.0);  // well before the server's own pauses end
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(engine_.Items[i].Copied);
  // A server that never answers: ERROR_INTERNET_TIMEOUT with WinInet's text. One that never reads
  // runs into the same bound, or WinInet's own send timeout first (WinSock's 10060 under Wine).
  // Then the number the platform gave for the reset.
  EXPECT_GE(Count("error 12002"), 1) << Events();
  EXPECT_EQ(Count("error 12002") + Count("error 10060"), 2) << Events();
  EXPECT_EQ(Count("info 12002 ") + Count("info 10060 "), 2);
  EXPECT_EQ(Count("error "), 3);
  EXPECT_EQ(Count("done "), 3);
  for (const std::string& line : log_) {  // "info", the number, a blank and a text that says why
    if (StartsWith(line, "info ")) {
      EXPECT_GT(line.size(), line.find(' ', 5) + 1) << line;
    }
  }
  // Progress counts what the platform took: never the whole file.
  for (const Progress& p : progress_) EXPECT_LT(p.size, static_cast<int>(big.size()));
}

TEST_F(HttpUpload, CancelClosesTheRequestWithoutWaitingForAnAnswer) {
  dir_.Write("big.bin", Pattern(200000));
  dir_.Write("next.bin", "next");
  ScriptedHttpServer server({Answer(HttpOk("ok")), Answer(HttpOk("ok"))});
  TTransferItem& item = AddUpload(server.Url("/big.bin"), "big.bin");
  AddUpload(server.Url("/next.bin"), "next.bin");
  engine_.StallTimeoutMs = 20000;
  engine_.OnCopyProgress = [&](TTransferEngine& e, int, std::int64_t size, std::int64_t) {
    log_.push_back("progress " + std::to_string(size));
    e.CancelCopy();
  };
  auto start = Clock::now();
  engine_.Execute();

  EXPECT_LT(SecondsSince(start), 5.0);
  EXPECT_EQ(Events(), "start 0\nprogress 4096\ncopydone\n");
  EXPECT_FALSE(item.Copied);
  EXPECT_TRUE(server.WaitForConnectionsFinished(1, 5000));
  EXPECT_TRUE(server.Requests().empty());  // the body never came whole
  EXPECT_EQ(server.ConnectionsAccepted(), 1);
}

}  // namespace
}  // namespace holvex::test
