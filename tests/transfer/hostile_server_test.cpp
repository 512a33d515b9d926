// The download against hostile servers: each ends within its bound with the outcome a user
// should see, the memory stays flat, and nothing goes on against the server afterwards.
#include <windows.h>

#include "transfer/engine_fixture.h"
#include "transfer/process_memory.h"

namespace holvex::test {
namespace {

constexpr std::uint64_t kEndless = 1500000000;
// What a hostile case may leave behind in memory, whatever the server sends.
constexpr size_t kMemorySlack = 48u << 20;

class HostileServer : public EngineTest {
 protected:
  // Runs the items and returns the seconds it took.
  double Run() { return ExecuteTicking().seconds; }
  // Requests or streamed bytes that still change half a second after the run: work going on
  // in the background.
  static bool QuietAfterwards(const ScriptedHttpServer& server) {
    const auto requests = server.Requests().size();
    const auto streamed = server.StreamedBytes();
    Sleep(500);
    return server.Requests().size() == requests && server.StreamedBytes() == streamed;
  }
};

TEST_F(HostileServer, EndlessHeadsAndHugeHeaderLinesFailWithoutFillingTheMemory) {
  ScriptedHttpServer server(
      {ConnectionScript().Receive().Stream("HTTP/1.1 200 OK\r\n", kEndless, "X-Mehr: ja\r\n"),
       ConnectionScript().Receive().Stream("HTTP/1.1 200 OK\r\nX-Lang: ", 100 << 20, "a")});
  TTransferItem& endless = AddItem(server.Url("/endlos.bin"));
  TTransferItem& longLine = AddItem(server.Url("/lang.bin"));
  const size_t before = PrivateBytes();
  EXPECT_LT(Run(), 10.0);  // the default 30-s bound is not needed
  EXPECT_LT(PrivateBytes(), before + kMemorySlack);
  EXPECT_TRUE(QuietAfterwards(server));
  EXPECT_FALSE(endless.Copied);
  EXPECT_FALSE(longLine.Copied);
  EXPECT_EQ(Count("notfound"), 1);  // the endless head never became an answer
}

TEST_F(HostileServer, LengthsThatLieAndBreaksInTheBodyAreNoSuccess) {
  ScriptedHttpServer server(
      {Answer("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok-und-noch-mehr"),
       ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + Pattern(5000))
           .Reset(),
       ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffff\r\n" + Pattern(5000))
           .Pause(8000)
           .Close()});
  TTransferItem& longer = AddItem(server.Url("/laenger.bin"));
  TTransferItem& reset = AddItem(server.Url("/reset.bin"));
  TTransferItem& hugeChunk = AddItem(server.Url("/chunk.bin"));
  engine_.StallTimeoutMs = 1500;
  EXPECT_LT(Run(), 6.0);
  EXPECT_FALSE(longer.Copied);
  EXPECT_FALSE(reset.Copied);
  EXPECT_FALSE(hugeChunk.Copied);
  EXPECT_EQ(Count("done"), 3);
}

// Wine reports a chunked body that the server cuts off as a normal end; only whole ones may count
// as downloaded, also when the server closes right after the end or the end's last bytes are late.
TEST_F(HostileServer, ChunkedBodiesCutOffByTheServerFailAndWholeOnesSucceed) {
  const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  const std::string body = "5\r\nHallo\r\n6\r\n Welt!\r\n0\r\n";
  ScriptedHttpServer server({Answer(chunked + "ffffffffffffffff\r\n" + Pattern(5000)),
                             Answer(chunked + "10\r\nHallo"), Answer(chunked + "5\r\nHallo\r\n"),
                             Answer(chunked + body + "\r\n")});
  ScriptedHttpServer lateEnd(
      {ConnectionScript().Receive().Send(chunked + body).Pause(100).Send("\r\n").HoldOpen()});
  std::vector<TTransferItem*> cutOff;
  for (const char* name : {"/riesig.bin", "/mitten.bin", "/grenze.bin"})
    cutOff.push_back(&AddItem(server.Url(name)));
  TTransferItem& closedAfterEnd = AddItem(server.Url("/ganz.txt"));
  TTransferItem& late = AddItem(lateEnd.Url("/spaet.txt"));
  EXPECT_LT(Run(), 5.0);
  for (TTransferItem* item : cutOff) EXPECT_FALSE(item->Copied) << item->URL;
  EXPECT_TRUE(closedAfterEnd.Copied);
  EXPECT_EQ(dir_.Read("ganz.txt"), "Hallo Welt!");
  EXPECT_TRUE(late.Copied);
  EXPECT_EQ(dir_.Read("spaet.txt"), "Hallo Welt!");
}

TEST_F(HostileServer, OneByteASecondIsNeverCutAlthoughItOutlastsTheStallBound) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n")
                                 .SendInPieces("12345", 1, 1000)
                                 .Close()});
  TTransferItem& item = AddItem(server.Url("/tropfen.txt"));
  engine_.StallTimeoutMs = 1500;
  EXPECT_GT(Run(), 3.5);
  EXPECT_TRUE(item.Copied);
  EXPECT_EQ(dir_.Read("tropfen.txt"), "12345");
}

TEST_F(HostileServer, RedirectLoopEndsAtOnceAndRedirectsElsewhereAreFollowed) {
  const std::string loopAnswer = "HTTP/1.1 302 Found\r\nLocation: /kreis.bin\r\nContent-Length: 0\r\n\r\n";
  ScriptedHttpServer loop(
      {ConnectionScript().AnswerEach(loopAnswer), ConnectionScript().AnswerEach(loopAnswer)});
  ScriptedHttpServer target({Answer(HttpOk("angekommen"))});
  ScriptedHttpServer start({ConnectionScript()
                                .Receive()
                                .Send("HTTP/1.1 301 Moved\r\nLocation: /weiter\r\nContent-Length: 0\r\n\r\n")
                                .Receive()
                                .Send("HTTP/1.1 307 Temporary\r\nLocation: " + target.Url("/ziel.bin") +
                                      "\r\nContent-Length: 4\r\n\r\nhier")
                                .HoldOpen()});
  TTransferItem& circle = AddItem(loop.Url("/kreis.bin"));
  TTransferItem& moved = AddItem(start.Url("/start.bin"));
  EXPECT_LT(Run(), 5.0);
  EXPECT_FALSE(circle.Copied);
  EXPECT_EQ(loop.Requests().size(), 21u);  // the first request and 20 redirections
  EXPECT_TRUE(QuietAfterwards(loop));
  EXPECT_NE(Events().find("error 302\ninfo 302 Returned http error code 302\n"), std::string::npos);
  EXPECT_TRUE(moved.Copied);
  EXPECT_EQ(dir_.Read("start.bin"), "angekommen");  // saved under the name that was asked for
  ASSERT_EQ(target.Requests().size(), 1u);
  EXPECT_EQ(target.Requests()[0].RequestLine(), "GET /ziel.bin HTTP/1.1");
}

}  // namespace
}  // namespace holvex::test
