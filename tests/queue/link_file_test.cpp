#include "queue/link_file.h"

#include <gtest/gtest.h>

#include "net/http_client.h"
#include "queue/size_probe.h"
#include "support/scripted_http_server.h"

namespace holvex {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(LinkFile, CutsAtCrLfAndCrLfWithoutAFinalEmptyLine) {
  EXPECT_EQ(SplitLinkFileLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLinkFileLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitLinkFileLines("\r\n"), (Lines{""}));
  EXPECT_EQ(SplitLinkFileLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLinkFileLines("\r\r\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLinkFileLines(""), Lines{});
  EXPECT_EQ(SplitLinkFileLines("  http://h/a.zip \r\n"), (Lines{"  http://h/a.zip "}));
}

TEST(LinkFile, ZeroByteEndsTheText) {
  EXPECT_EQ(SplitLinkFileLines("a\r\nb\0c\r\nd"s), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLinkFileLines("\0abc"s), Lines{});
}

TEST(LinkFile, LargeInputsStayLinear) {
  EXPECT_EQ(SplitLinkFileLines(std::string(100000, '\n')).size(), 100000u);
  EXPECT_EQ(SplitLinkFileLines(std::string(10 << 20, 'x')).at(0).size(), size_t{10} << 20);
}

// A client with short bounds, so that a silent server costs the test one second.
THttpClientSettings ShortBounds() {
  THttpClientSettings s = THttpClient::ProgramSettings();
  s.ConnectTimeout = 1000;
  s.ReadTimeout = 1000;
  s.CallTimeout = 2000;
  return s;
}

TEST(SizeProbe, ContentLengthOrMinusOneOrZeroOnAnyFailure) {
  using test::ConnectionScript;
  auto answer = [](const std::string& response) {
    return ConnectionScript().Receive().Send(response).Close();
  };
  test::ScriptedHttpServer server({answer("HTTP/1.1 200 OK\r\nContent-Length: 5000000\r\n\r\n"),
                                   answer("HTTP/1.1 200 OK\r\n\r\n"),
                                   answer("HTTP/1.1 200 OK\r\nContent-Length: 3000000000\r\n\r\n"),
                                   answer("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"),
                                   answer("HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\nContent-Length: 0\r\n\r\n"),
                                   ConnectionScript().Receive().HoldOpen()});
  THttpClientBase client(ShortBounds());
  EXPECT_EQ(ProbeSize(client, server.Url("/a.zip")), "5000000");
  EXPECT_EQ(ProbeSize(client, server.Url("/b.zip")), "-1");
  EXPECT_EQ(ProbeSize(client, server.Url("/c.zip")), "-1");
  EXPECT_EQ(ProbeSize(client, server.Url("/d.zip")), "0");
  EXPECT_EQ(ProbeSize(client, server.Url("/e.zip")), "0");
  EXPECT_EQ(ProbeSize(client, server.Url("/silent.zip")), "0");
  EXPECT_EQ(ProbeSize(client, "ftp://127.0.0.1/pub/a.txt"), "0");
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "HEAD /a.zip HTTP/1.1");
  EXPECT_EQ(ProbeResultBytes("5000000"), 5000000);
  EXPECT_EQ(ProbeResultBytes("-1"), -1);
  EXPECT_EQ(ProbeResultBytes("x"), 0);
}

}  // namespace
}  // namespace holvex
