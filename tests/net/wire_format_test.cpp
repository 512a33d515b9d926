// The pure pieces of the wire format: numbers, header lists, status lines, dates, targets.
#include <gtest/gtest.h>

#include <limits>

#include "net/header_list.h"
#include "net/http_date.h"
#include "net/http_errors.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/http_target.h"
#include "net/socket_transport.h"
#include "net/wire_numbers.h"

namespace holvex {
namespace {

TEST(WireNumbers, WholeTextMustBeANumberThatFits) {
  EXPECT_EQ(ParseDecimal("0"), 0);
  EXPECT_EQ(ParseDecimal("-42"), -42);
  EXPECT_EQ(ParseDecimal("+7"), 7);
  EXPECT_EQ(ParseDecimal("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(ParseDecimal("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  for (const char* bad : {"", "-", "12abc", " 1", "1 ", "9223372036854775808", "0x10", "1.5"}) {
    EXPECT_EQ(ParseDecimal(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
  EXPECT_EQ(ParseHexSaturating("1a"), 26u);
  EXPECT_EQ(ParseHexSaturating("FfFf"), 65535u);
  EXPECT_EQ(ParseHexSaturating("1234567890abcdef12"), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(ParseHexSaturating("1g"), std::nullopt);
  EXPECT_EQ(ParseHexSaturating(""), std::nullopt);
}

TEST(WireNumbers, DottedQuadNeedsFourPartsOfAtMost255) {
  auto a = ParseDottedQuad("127.0.0.1");
  ASSERT_TRUE(a);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&*a);
  EXPECT_EQ(bytes[0], 127);
  EXPECT_EQ(bytes[3], 1);
  for (const char* bad : {"1.2.3.256", "1.2.3", "1.2.3.4.5", "1..3.4", "a.b.c.d", "", "1.2.3.4 "}) {
    EXPECT_FALSE(ParseDottedQuad(bad)) << bad;
  }
}

TEST(HeaderList, LookupIsCaseInsensitiveFirstLineWinsAndContinuationsJoin) {
  THeaderList h;
  h.Add("Content-Length:  12 ");
  h.Add("content-length: 99");
  h.Add("X-Long: first");
  h.Add("\tsecond ");
  h.Add("  third");
  h.Add("no colon here");
  EXPECT_EQ(h.Value("CONTENT-LENGTH"), "12");
  EXPECT_EQ(h.Value("x-long"), "first second third");
  EXPECT_EQ(h.Values("Content-Length"), (std::vector<std::string>{"12", "99"}));
  EXPECT_FALSE(h.Has("no colon here"));
  EXPECT_EQ(h.Value("Missing"), "");
}

TEST(HeaderList, SettingReplacesInPlaceAppendsOrRemoves) {
  THeaderList h;
  h.Add("A: 1");
  h.Add("B: 2");
  h.Add(" continued");
  h.Add("C: 3");
  h.SetValue("b", "new");
  EXPECT_EQ(h.lines(), (std::vector<std::string>{"A: 1", "b: new", "C: 3"}));
  h.SetValue("D", "4");
  h.SetValue("A", "");
  EXPECT_EQ(h.lines(), (std::vector<std::string>{"b: new", "C: 3", "D: 4"}));
}

TEST(HeaderList, LongRequestLinesFoldOutsideQuotes) {
  std::string value;
  for (int i = 0; i < 200; ++i) value += "name" + std::to_string(i) + "=value; ";
  value += "q=\"a, b c\"";
  THeaderList h;
  h.SetValue("Cookie", value);
  auto lines = h.FoldedLines(100);
  ASSERT_GT(lines.size(), 1u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 100u) << i;
    EXPECT_NE(lines[i].back(), ' ');
    if (i > 0) {
      EXPECT_EQ(lines[i][0], ' ');
      EXPECT_NE(lines[i][1], ' ');
    }
  }
  EXPECT_NE(lines.back().find("q=\"a, b c\""), std::string::npos);  // never broken inside quotes
  for (const auto& line : h.FoldedLines()) EXPECT_LE(line.size(), 1024u);  // the request default

  THeaderList shortList;
  shortList.SetValue("Accept", "text/html, */*");
  EXPECT_EQ(shortList.FoldedLines(), shortList.lines());
}

TEST(Response, StatusCodeIsTheSecondTokenOrMinusOne) {
  EXPECT_EQ(ParseStatusCode("HTTP/1.1 200 OK"), 200);
  EXPECT_EQ(ParseStatusCode("HTTP/1.0 404"), 404);
  EXPECT_EQ(ParseStatusCode("HTTP/1.1 2OO OK"), -1);
  EXPECT_EQ(ParseStatusCode("HTTP/1.1"), -1);
  EXPECT_EQ(ParseStatusCode(""), -1);
  EXPECT_EQ(ParseStatusCode("HTTP/1.1 99999999999 Big"), -1);
}

TEST(Response, ContentLengthIsASigned32BitNumberOrMinusOne) {
  auto lengthOf = [](const char* value) {
    THttpResponse r;
    if (value) r.rawHeaders.Add(std::string("Content-Length: ") + value);
    r.ProcessHeaders(0);
    return std::make_pair(r.ContentLength, r.hasContentLength);
  };
  EXPECT_EQ(lengthOf(" 1234 "), std::make_pair(1234, true));
  EXPECT_EQ(lengthOf("2147483647"), std::make_pair(2147483647, true));
  EXPECT_EQ(lengthOf("2147483648"), std::make_pair(-1, false));
  EXPECT_EQ(lengthOf("12abc"), std::make_pair(-1, false));
  EXPECT_EQ(lengthOf(nullptr), std::make_pair(-1, false));
}

TEST(Response, ContentRangeNeedsNumbersAndDatesNeverFail) {
  THttpResponse r;
  r.rawHeaders.Add("Content-Range: bytes 100-199/1000");
  r.rawHeaders.Add("Date: kein Datum");
  r.rawHeaders.Add("Expires: 60");
  r.ProcessHeaders(1000);
  EXPECT_EQ(r.contentRangeStart, 100);
  EXPECT_EQ(r.contentRangeEnd, 199);
  EXPECT_EQ(r.date, std::nullopt);
  EXPECT_EQ(r.expires, 1060);

  THttpResponse bad;
  bad.rawHeaders.Add("Content-Range: bytes */1000");
  try {
    bad.ProcessHeaders(0);
    FAIL() << "no EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'*/1000' ist kein gültiger Integerwert");
  }
}

TEST(Response, ChunkSizesAreHexadecimalWithExtensionsIgnored) {
  EXPECT_EQ(ParseChunkSize("1a"), 26u);
  EXPECT_EQ(ParseChunkSize("1A;name=value"), 26u);
  EXPECT_EQ(ParseChunkSize("0 "), 0u);
  EXPECT_THROW(ParseChunkSize(""), EBadChunk);
  EXPECT_THROW(ParseChunkSize("xyz"), EBadChunk);
  EXPECT_THROW(ParseChunkSize("-1"), EBadChunk);
}

TEST(Response, KeepAliveUnlessCloseOrAnUnaskedHttp10Server) {
  auto allows = [](const char* status, const char* header) {
    THttpResponse r;
    r.statusLine = status;
    if (header) r.rawHeaders.Add(header);
    r.ProcessHeaders(0);
    return r.AllowsKeepAlive();
  };
  EXPECT_TRUE(allows("HTTP/1.1 200 OK", nullptr));
  EXPECT_FALSE(allows("HTTP/1.1 200 OK", "Connection:  CLOSE "));
  EXPECT_FALSE(allows("HTTP/1.1 200 OK", "Proxy-Connection: close"));
  EXPECT_FALSE(allows("HTTP/1.0 200 OK", nullptr));
  EXPECT_TRUE(allows("HTTP/1.0 200 OK", "Connection: Keep-Alive"));
}

TEST(HttpDate, ReadsTheThreeHttpFormsAndTheCookieForm) {
  const std::int64_t expected = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
  EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), expected);
  EXPECT_EQ(ParseHttpDate("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
  EXPECT_EQ(ParseHttpDate("Sun Nov  6 08:49:37 1994"), expected);
  EXPECT_EQ(ParseHttpDate("Sun, 06-Nov-1994 08:49:37 GMT"), expected);
  EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 1994 09:49:37 +0100"), expected);
  EXPECT_EQ(FormatHttpDate(expected), "Sun, 06 Nov 1994 08:49:37 GMT");
  EXPECT_EQ(ParseHttpDate(FormatHttpDate(4102444800)), 4102444800);  // 2100-01-01
  for (const char* bad : {"", "gestern", "Sun, 31 Feb 2021 00:00:00 GMT", "06 Nov 1994", "Sun, 06 Nov 1994 25:00:00"}) {
    EXPECT_EQ(ParseHttpDate(bad), std::nullopt) << bad;
  }
}

TEST(Target, RelativePathsResolveAgainstTheCurrentOne) {
  EXPECT_EQ(ResolvePath("/a/b/", "/x/"), "/x/");
  EXPECT_EQ(ResolvePath("/a/b/", "c/"), "/a/b/c/");
  EXPECT_EQ(ResolvePath("/a/b", "c/"), "/a/b/c/");
  EXPECT_EQ(ResolvePath("/a/b/", "../c/"), "/a/c/");
  EXPECT_EQ(ResolvePath("/a/b/", "c"), "/a/b/c");
  EXPECT_EQ(ResolvePath("/a/b/", "x//y/"), "/a/b/x/y/");
  EXPECT_EQ(ResolvePath("/", "../../"), "/");
  EXPECT_EQ(ResolvePath("/", ".."), "/");
  EXPECT_EQ(ResolvePath("/a/", ""), "/a/");
  EXPECT_EQ(ResolvePath("", ""), "/");
  EXPECT_EQ(ResolvePath("/a/", "..x/"), "/a/..x/");
}

TEST(Target, PortFollowsTheProtocolUnlessANonStandardOneCarriesOver) {
  TUrlRecord current;
  current.port = "80";
  ApplyUrlToTarget(current, TUrlRecord("https://h/a"));
  EXPECT_EQ(current.port, "443");
  ApplyUrlToTarget(current, TUrlRecord("HTTP://h/a"));
  EXPECT_EQ(current.port, "80");
  EXPECT_THROW(ApplyUrlToTarget(current, TUrlRecord("ftp://h/a")), EUnknownProtocol);
  ApplyUrlToTarget(current, TUrlRecord("ftp://h:2121/a"));
  EXPECT_EQ(current.port, "2121");
  ApplyUrlToTarget(current, TUrlRecord("ftp://other/b"));  // inherits 2121
  EXPECT_EQ(current.port, "2121");
  EXPECT_EQ(current.host, "other");
  ApplyUrlToTarget(current, TUrlRecord(""));  // empty URL: current host and path, protocol http
  EXPECT_EQ(current.protocol, "http");
  EXPECT_EQ(current.path, "/");
  EXPECT_EQ(current.document, "");
}

TEST(Target, HostValueAndAbsoluteTarget) {
  TUrlRecord t;
  t.protocol = "http";
  t.host = "files.example";
  t.port = "80";
  t.path = "/a/";
  t.document = "b c.zip";
  t.params = "?x=1";
  t.fragment = "never";
  EXPECT_EQ(HostValueOf(t), "files.example");
  EXPECT_EQ(RequestTargetOf(t), "/a/b c.zip?x=1");
  EXPECT_EQ(AbsoluteTargetOf(t), "http://files.example:80/a/b c.zip?x=1");
  t.port = "8080";
  EXPECT_EQ(HostValueOf(t), "files.example:8080");
  EXPECT_EQ(PortNumberOf("8080"), 8080);
  EXPECT_THROW(PortNumberOf("80x"), EConvertError);
  EXPECT_THROW(PortNumberOf("65536"), EConvertError);
}

TEST(Request, HeadLinesInTheirFixedOrderWithEmptyValuesLeftOut) {
  THttpRequest r;
  r.method = THttpMethod::methodGet;
  r.target = "/holvex/update.php?v=2.3.0.8";
  r.host = "update.example";
  r.cookie = "a=1";
  r.authorization = "Basic Og==";
  EXPECT_EQ(r.HeadLines(), (std::vector<std::string>{
                               "GET /holvex/update.php?v=2.3.0.8 HTTP/1.1",
                               "Content-Type: text/html",
                               "Host: update.example",
                               "Accept: text/html, */*",
                               "User-Agent: Mozilla/3.0 (compatible; Holvex 2004)",
                               "Authorization: Basic Og==",
                               "Cookie: a=1",
                               "",
                           }));
}

}  // namespace
}  // namespace holvex
