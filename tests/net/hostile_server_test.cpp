// The probe client against servers that stream without end, lie about lengths, break off or
// trickle: each call ends within its bound with its own error, having read only a bounded part
// of what the server offers (so its memory cannot grow with the server's bytes).
#include <chrono>
#include <functional>

#include <gtest/gtest.h>

#include "net/http_client.h"
#include "net/http_errors.h"
#include "support/scripted_http_server.h"

namespace holvex {
namespace {

using test::ConnectionScript;
using test::ScriptedHttpServer;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kEndless = 1500000000;   // more than any bound lets through
constexpr std::uint64_t kReadAtMost = 16 << 20;  // what a bounded call may take in, socket buffers included

THttpClientSettings BoundedSettings() {
  THttpClientSettings s = THttpClient::ProgramSettings();
  s.ConnectTimeout = 5000;
  s.ReadTimeout = 5000;
  s.CallTimeout = 10000;
  return s;
}

// Runs the call, expects exception E within ms, and that the server could hand over only a
// bounded part of its stream.
template <typename E>
void ExpectBoundedFailure(const ScriptedHttpServer& server, const std::function<void()>& call, int ms) {
  const auto start = Clock::now();
  EXPECT_THROW(call(), E);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), ms);
  EXPECT_LT(server.StreamedBytes(), kReadAtMost);
}

TEST(HostileServers, StreamsWithoutEndStopAtTheClientsBounds) {
  THttpClientBase client(BoundedSettings());
  {
    ScriptedHttpServer endlessHead(
        {ConnectionScript().Receive().Stream("HTTP/1.1 200 OK\r\n", kEndless, "X-Mehr: ja\r\n")});
    ExpectBoundedFailure<EHeaderTooLarge>(
        endlessHead, [&] { client.ProbeHead(endlessHead.Url("/a.zip")); }, 5000);
  }
  {
    ScriptedHttpServer longLine(
        {ConnectionScript().Receive().Stream("HTTP/1.1 200 OK\r\nX-Lang: ", 100 << 20, "a")});
    ExpectBoundedFailure<EMaxLineLengthExceeded>(
        longLine, [&] { client.ProbeHead(longLine.Url("/a.zip")); }, 5000);
  }
  {
    ScriptedHttpServer hugeChunk({ConnectionScript().Receive().Stream(
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffff\r\n", kEndless)});
    ExpectBoundedFailure<EBodyTooLarge>(
        hugeChunk, [&] { client.FetchText(hugeChunk.Url("/u")); }, 5000);
  }
  {
    ScriptedHttpServer endlessBody(
        {ConnectionScript().Receive().Stream("HTTP/1.1 200 OK\r\n\r\n", kEndless)});
    ExpectBoundedFailure<EBodyTooLarge>(
        endlessBody, [&] { client.FetchText(endlessBody.Url("/u")); }, 5000);
  }
}

TEST(HostileServers, WrongLengthsResetsTricklesAndRedirectLoopsFailCleanly) {
  THttpClientBase client(BoundedSettings());
  // A body longer than its Content-Length: the call takes the announced bytes, and the rest
  // never passes for the next answer: that one comes over a new connection.
  ScriptedHttpServer longer(
      {ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok-und-noch-mehr")
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nzwei!")
           .HoldOpen(),
       ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\ndrei!").HoldOpen()});
  EXPECT_EQ(client.FetchText(longer.Url("/1")), "ok");
  EXPECT_EQ(client.FetchText(longer.Url("/2")), "drei!");
  // A reset in the middle of the body.
  ScriptedHttpServer reset(
      {ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(3000, 'r'))
           .Reset()});
  EXPECT_THROW(client.FetchText(reset.Url("/r")), ENetException);
  // One byte a second: the probe blocks the window, so the whole call has its bound.
  client.Settings().CallTimeout = 2500;
  ScriptedHttpServer trickle({ConnectionScript().Receive().SendInPieces(
      "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(100, 't'), 1, 1000)});
  auto start = Clock::now();
  EXPECT_THROW(client.FetchText(trickle.Url("/t")), EReadTimeout);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 4500);
  // A redirect to itself is never followed: one request, one failure.
  ScriptedHttpServer loop(
      {ConnectionScript().AnswerEach("HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n")});
  EXPECT_THROW(client.ProbeHead(loop.Url("/loop")), EHttpProtocolError);
  EXPECT_EQ(loop.Requests().size(), 1u);
}

}  // namespace
}  // namespace holvex
