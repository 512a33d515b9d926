// The probe client against scripted loopback servers.
#include "net/http_client.h"

#include <gtest/gtest.h>

#include "net/http_errors.h"
#include "support/scripted_http_server.h"

namespace holvex {
namespace {

using test::ConnectionScript;
using test::ScriptedHttpServer;

const char kOk[] = "HTTP/1.1 200 OK\r\nContent-Length: 1234\r\n\r\n";

// The program's client with tighter bounds, so that a failing test cannot hang for long.
THttpClientSettings TestSettings() {
  THttpClientSettings s = THttpClient::ProgramSettings();
  s.ConnectTimeout = 5000;
  s.ReadTimeout = 5000;
  s.CallTimeout = 10000;
  return s;
}

struct Fixture : ::testing::Test {
  THttpClientBase client{TestSettings()};
};

template <typename E, typename F>
E Caught(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
    throw;
  }
  ADD_FAILURE() << "no exception";
  throw std::logic_error("no exception");
}

ConnectionScript Answering(std::string response) { return ConnectionScript().AnswerEach(std::move(response)); }

using HttpClient = Fixture;

TEST_F(HttpClient, FirstHeadProbeSendsExactlySixLines) {
  ScriptedHttpServer server({Answering(kOk)});
  client.ProbeHead(server.Url("/pub/setup.exe?v=1#teil2"));
  EXPECT_EQ(client.Response().ContentLength, 1234);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].head,
            "HEAD /pub/setup.exe?v=1 HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Holvex 2004)\r\n"
            "\r\n");
}

TEST_F(HttpClient, TargetsWithoutPathWithSpacesAndInheritedPorts) {
  ScriptedHttpServer server({Answering(kOk)});
  client.ProbeHead(server.Url(""));
  client.ProbeHead(server.Url("/mein ordner/a b.zip"));
  client.ProbeHead("http://127.0.0.1/ohne/port.zip");  // inherits the non-standard port
  client.ProbeHead("ftp://127.0.0.1/per/ftp.zip");     // the same: plain HTTP to that port
  client.ProbeHead("");                                // current host and path, no document
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_EQ(requests[0].RequestLine(), "HEAD / HTTP/1.1");
  EXPECT_EQ(requests[1].RequestLine(), "HEAD /mein ordner/a b.zip HTTP/1.1");
  EXPECT_EQ(requests[2].RequestLine(), "HEAD /ohne/port.zip HTTP/1.1");
  EXPECT_EQ(requests[3].RequestLine(), "HEAD /per/ftp.zip HTTP/1.1");
  EXPECT_EQ(requests[4].RequestLine(), "HEAD /per/ HTTP/1.1");
  EXPECT_EQ(server.ConnectionsAccepted(), 1);  // one kept-alive connection for all five
}

TEST_F(HttpClient, FtpWithoutPortFailsBeforeConnecting) {
  ScriptedHttpServer server({Answering(kOk)});
  EXPECT_THROW(client.ProbeHead("ftp://127.0.0.1/pub/a.zip"), EUnknownProtocol);
  EXPECT_THROW(client.ProbeHead("https://127.0.0.1:" + std::to_string(server.port()) + "/a"), EInvalidTransport);
  EXPECT_EQ(Caught<EInvalidTransport>([&] { client.ProbeHead("https://127.0.0.1/a"); }).what(),
            std::string("Wert für IOHandler ist ungültig"));
  EXPECT_EQ(server.ConnectionsAccepted(), 0);
}

TEST_F(HttpClient, RedirectsAndLocationHeadersFail) {
  ScriptedHttpServer server({Answering("HTTP/1.1 302 Found\r\nLocation: /anders\r\nContent-Length: 0\r\n\r\n"),
});
  auto e = Caught<EHttpProtocolError>([&] { client.ProbeHead(server.Url("/a")); });
  EXPECT_EQ(e.code(), 302);
  EXPECT_STREQ(e.what(), "HTTP/1.1 302 Found");
}

TEST_F(HttpClient, OkWithLocationFailsToo) {
  ScriptedHttpServer server({Answering("HTTP/1.1 200 OK\r\nLocation: /anders\r\nContent-Length: 5\r\n\r\n")});
  EXPECT_EQ(Caught<EHttpProtocolError>([&] { client.ProbeHead(server.Url("/a")); }).code(), 200);
}

TEST_F(HttpClient, FailingHeadDoesNotWaitForTheDeclaredBody) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 404 Not Found\r\nContent-Length: 50\r\n\r\n")
                                 .Receive()
                                 .Send(kOk)
                                 .HoldOpen()});
  auto e = Caught<EHttpProtocolError>([&] { client.ProbeHead(server.Url("/weg.zip")); });
  EXPECT_EQ(e.code(), 404);
  EXPECT_EQ(e.errorText(), "");
  client.ProbeHead(server.Url("/da.zip"));  // same connection, still in step
  EXPECT_EQ(client.Response().ContentLength, 1234);
  EXPECT_EQ(server.ConnectionsAccepted(), 1);
}

TEST_F(HttpClient, ContentLengthMissingOrTooLargeReadsMinusOne) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nServer: x\r\n\r\n")
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n\r\n")
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\ncontent-length:  2147483647 \r\n\r\n")
                                 .HoldOpen()});
  client.ProbeHead(server.Url("/a"));
  EXPECT_EQ(client.Response().ContentLength, -1);
  client.ProbeHead(server.Url("/b"));
  EXPECT_EQ(client.Response().ContentLength, -1);
  client.ProbeHead(server.Url("/c"));
  EXPECT_EQ(client.Response().ContentLength, 2147483647);
}

TEST_F(HttpClient, BodiesByLengthChunkedAndUntilClose) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew")
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                       "1a\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n")
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                       "3;name=wert\r\nabc\r\n2\r\nde\r\n0\r\nX-Trailer: 1\r\n\r\n")
                                 .Receive()
                                 .Send("HTTP/1.1 204 No Content\r\n\r\n")
                                 .Receive()
                                 .Send(std::string("HTTP/1.0 200 OK\r\n\r\n\x00\xff bis zum Ende", 34))
                                 .Close()});
  EXPECT_EQ(client.FetchText(server.Url("/holvex/update.php?v=2.3.0.8")), "new");
  EXPECT_EQ(client.FetchText(server.Url("/b")), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(client.FetchText(server.Url("/c")), "abcde");  // extension ignored, trailer skipped
  EXPECT_EQ(client.FetchText(server.Url("/d")), "");
  EXPECT_EQ(client.FetchText(server.Url("/e")), std::string("\x00\xff bis zum Ende", 15));
  EXPECT_EQ(server.Requests()[0].RequestLine(), "GET /holvex/update.php?v=2.3.0.8 HTTP/1.1");
  EXPECT_EQ(server.ConnectionsAccepted(), 1);
}

TEST_F(HttpClient, ResponseFollowedByAnImmediateCloseIsStillRead) {
  ScriptedHttpServer server({ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhallo").Close(),
                             Answering(kOk)});
  ASSERT_EQ(client.FetchText(server.Url("/a")), "hallo");
  ASSERT_TRUE(server.WaitForConnectionsFinished(1, 5000));
  client.ProbeHead(server.Url("/b"));  // the closed connection is dropped, a new one made
  EXPECT_EQ(client.Response().ContentLength, 1234);
  EXPECT_EQ(server.ConnectionsAccepted(), 2);
}

TEST_F(HttpClient, ConnectionCloseAndAnotherHostBothOpenANewConnection) {
  ScriptedHttpServer server({Answering("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 0\r\n\r\n"),
                             Answering(kOk), Answering(kOk)});
  std::string port = std::to_string(server.port());
  client.ProbeHead("http://127.0.0.1:" + port + "/a");
  client.ProbeHead("http://127.0.0.1:" + port + "/b");
  client.ProbeHead("http://localhost:" + port + "/c");
  client.ProbeHead("http://LOCALHOST:" + port + "/d");  // same host in other letters: kept
  EXPECT_EQ(server.ConnectionsAccepted(), 3);
  EXPECT_EQ(server.Requests().size(), 4u);
}

TEST_F(HttpClient, TruncatedOrBrokenBodiesFailInsteadOfPassingAsComplete) {
  ScriptedHttpServer server({ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nkurz").Close(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                               "5\r\nab").Close(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                               "zz\r\nab\r\n0\r\n\r\n").HoldOpen(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nServer: x\r\n").Close()});
  EXPECT_STREQ(Caught<EIncompleteBody>([&] { client.FetchText(server.Url("/a")); }).what(),
               "Die Verbindung wurde vor dem Ende der Antwort geschlossen.");
  EXPECT_THROW(client.FetchText(server.Url("/b")), EConnClosedGracefully);
  EXPECT_THROW(client.FetchText(server.Url("/c")), EBadChunk);
  EXPECT_STREQ(Caught<ENetError>([&] { client.ProbeHead(server.Url("/d")); }).what(), "Undefined situation");
  EXPECT_EQ(server.ConnectionsAccepted(), 4);  // every failure dropped its connection
}

TEST_F(HttpClient, ErrorBodyOfAFailedGetIsCarriedAndReadUnderATwoSecondBound) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 404 Nicht gefunden\r\nContent-Length: 8\r\n\r\nnicht da")
                                 .Receive()
                                 .Send("HTTP/1.1 500 Fehler\r\n\r\nendlos...")
                                 .HoldOpen()});
  auto e = Caught<EHttpProtocolError>([&] { client.FetchText(server.Url("/a")); });
  EXPECT_EQ(e.code(), 404);
  EXPECT_STREQ(e.what(), "HTTP/1.1 404 Nicht gefunden");
  EXPECT_EQ(e.errorText(), "nicht da");
  // No length: the body would run until close, but only 2 s are granted (read bound is 5 s).
  auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(client.FetchText(server.Url("/b")), EReadTimeout);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(4500));
  EXPECT_EQ(client.Settings().ReadTimeout, 5000);
}

TEST_F(HttpClient, ContinueHeadsAreSkippedButNotForever) {
  std::string many;
  for (int i = 0; i < 40; ++i) many += "HTTP/1.1 100 Continue\r\n\r\n";
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 100 Continue\r\nSet-Cookie: früh=1; path=/\r\n\r\n" + std::string(kOk))
                                 .Receive()
                                 .Send(many + kOk)
                                 .HoldOpen()});
  client.ProbeHead(server.Url("/a"));
  EXPECT_EQ(client.Response().ContentLength, 1234);
  ASSERT_NE(client.CookieManager(), nullptr);
  EXPECT_EQ(client.CookieManager()->size(), 1u);  // taken from the 100 head as well
  EXPECT_THROW(client.ProbeHead(server.Url("/b")), ETooManyInterimReplies);
}

TEST_F(HttpClient, StatusLineWithoutNumberFails) {
  ScriptedHttpServer server({Answering("HTTP/1.1 OK\r\nContent-Length: 0\r\n\r\n")});
  EXPECT_EQ(Caught<EHttpProtocolError>([&] { client.ProbeHead(server.Url("/a")); }).code(), -1);
}

TEST_F(HttpClient, ProxyRouteSendsTheAbsoluteAddress) {
  ScriptedHttpServer proxy({Answering(kOk)});
  client.ProxyParams().SetProxyServer("127.0.0.1");
  client.ProxyParams().SetProxyPort(proxy.port());
  client.ProbeHead("http://files.example/c.zip");
  client.ProbeHead("http://files.example:80/d.zip");
  client.ProbeHead("http://user:pw@files.example:8080/a/b.zip?x=1#frag");
  EXPECT_THROW(client.ProbeHead("https://files.example/e.zip"), EInvalidTransport);
  auto requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].RequestLine(), "HEAD http://files.example:80/c.zip HTTP/1.1");
  EXPECT_EQ(requests[0].Header("Host"), "files.example");
  EXPECT_EQ(requests[1].Header("Host"), "files.example");
  EXPECT_EQ(requests[2].RequestLine(), "HEAD http://files.example:8080/a/b.zip?x=1 HTTP/1.1");
  EXPECT_EQ(requests[2].Header("Host"), "files.example:8080");
  EXPECT_EQ(requests[2].Header("Authorization"), "");  // credentials in URLs are never sent
  EXPECT_EQ(requests[2].Lines().size(), 5u);  // no Connection or Proxy-Connection header
  EXPECT_EQ(proxy.ConnectionsAccepted(), 1);
  EXPECT_EQ(client.URL().userName, "user");
}

TEST_F(HttpClient, ProxyPortZeroFailsWithTheConnectError) {
  client.ProxyParams().SetProxyServer("127.0.0.1");
  client.ProxyParams().SetProxyPort(0);
  EXPECT_ANY_THROW(client.FetchText("http://update.example/holvex/update.php?v=1"));
  try {
    client.ProbeHead("http://files.example/a.zip");
  } catch (const ENetException& e) {
    EXPECT_NE(std::string(e.what()).find("Socket-Fehler # "), std::string::npos) << e.what();
  }
}

TEST_F(HttpClient, CookiesWithoutPathAreKeptButNeverSent) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 200 OK\r\nSet-Cookie: ohne=1\r\nSet-Cookie: mit=2; path=/\r\n"
                                       "Set-Cookie: tief=3; Path=/dl/\r\nSet-Cookie: fremd=4; path=/; domain=.example.com\r\n"
                                       "Set-Cookie2: neu=5; Path=\"/\"; Port=\"80\"\r\nContent-Length: 0\r\n\r\n")
                                 .AnswerEach(kOk)});
  client.ProbeHead(server.Url("/dl/a.zip"));
  ASSERT_NE(client.CookieManager(), nullptr);
  EXPECT_EQ(client.CookieManager()->size(), 4u);
  client.ProbeHead(server.Url("/dl/b.zip"));
  client.ProbeHead(server.Url("/c.zip"));
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Header("Cookie"), "");
  EXPECT_EQ(requests[1].Header("Cookie"), "tief=3; mit=2; neu=5");
  EXPECT_EQ(requests[2].Header("Cookie"), "mit=2; neu=5");
}

TEST_F(HttpClient, BadCookiePortListFailsTheCall) {
  ScriptedHttpServer server({Answering("HTTP/1.1 200 OK\r\nSet-Cookie2: a=1; Port=\"x\"\r\nContent-Length: 0\r\n\r\n")});
  EXPECT_STREQ(Caught<EConvertError>([&] { client.ProbeHead(server.Url("/a")); }).what(),
               "'x' ist kein gültiger Integerwert");
}

TEST_F(HttpClient, ChallengesAddAuthorizationHeadersToLaterRequests) {
  ScriptedHttpServer server({ConnectionScript()
                                 .Receive()
                                 .Send("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\n"
                                       "Content-Length: 0\r\n\r\n")
                                 .Receive()
                                 .Send("HTTP/1.1 407 Proxy Authentication Required\r\n"
                                       "Proxy-Authenticate: Basic realm=\"p\"\r\nContent-Length: 0\r\n\r\n")
                                 .AnswerEach(kOk)});
  client.ProxyParams().ProxyUsername = "holger";  // a proxy's credentials, but no proxy is set
  client.ProxyParams().ProxyPassword = "geheim";
  EXPECT_EQ(Caught<EHttpProtocolError>([&] { client.ProbeHead(server.Url("/a")); }).code(), 401);
  EXPECT_EQ(Caught<EHttpProtocolError>([&] { client.ProbeHead(server.Url("/b")); }).code(), 407);
  EXPECT_EQ(client.ProxyParams().ProxyPassword, "geheim");
  client.ProbeHead(server.Url("/c"));
  client.ProxyParams().SetProxyServer("");  // unchanged: the proxy authenticator stays
  client.ProbeHead(server.Url("/d"));
  client.ProxyParams().SetProxyPort(3128);  // changed: it goes
  client.ProbeHead(server.Url("/e"));
  auto r = server.Requests();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].Header("Authorization"), "");
  EXPECT_EQ(r[1].Header("Authorization"), "Basic Og==");
  EXPECT_EQ(r[1].Header("Proxy-Authorization"), "");
  EXPECT_EQ(r[2].Header("Proxy-Authorization"), "Basic Og==");
  EXPECT_EQ(r[3].Header("Proxy-Authorization"), "Basic Og==");
  EXPECT_EQ(r[4].Header("Proxy-Authorization"), "");
  EXPECT_EQ(r[4].Header("Authorization"), "Basic Og==");
}

// A proxy that asks for Basic credentials, and then takes them or refuses them again.
TEST_F(HttpClient, ProxyChallengeIsAnsweredOnceWithTheStoredCredentials) {
  auto challenge = [](std::string body) {
    std::string head =
        "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"p\"\r\n";
    return head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  };
  struct Row {
    const char* password;
    bool get;                      // the update check: the refusal's text must be read off first
    std::string refusal, granted;  // the challenge, and the answer to the credentials
    std::string sent;              // Basic of holger:<password>
    std::string result;            // the size or the text; empty: the protocol error
  } rows[] = {
      {"geheim", false, challenge(""), "HTTP/1.1 200 OK\r\nContent-Length: 64000000\r\n\r\n",
       "Basic aG9sZ2VyOmdlaGVpbQ==", "64000000"},
      {"falsch", false, challenge(""), challenge(""), "Basic aG9sZ2VyOmZhbHNjaA==", ""},
      {"geheim", true, challenge("denied"), "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nneu",
       "Basic aG9sZ2VyOmdlaGVpbQ==", "neu"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.password) + (row.get ? " GET" : " HEAD"));
    ScriptedHttpServer proxy(
        {ConnectionScript().Receive().Send(row.refusal).Receive().Send(row.granted).AnswerEach(row.granted)});
    THttpClientBase c{TestSettings()};
    c.ProxyParams().SetProxyServer("127.0.0.1");
    c.ProxyParams().SetProxyPort(proxy.port());
    c.ProxyParams().ProxyUsername = "holger";
    c.ProxyParams().ProxyPassword = row.password;
    auto call = [&]() -> std::string {
      if (row.get) return c.FetchText("http://files.example/update.php");
      c.ProbeHead("http://files.example/big.zip");
      return std::to_string(c.Response().ContentLength);
    };
    if (row.result.empty()) {
      EXPECT_EQ(Caught<EHttpProtocolError>(call).code(), 407);
    } else {
      EXPECT_EQ(call(), row.result);
    }
    auto r = proxy.Requests();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].Header("Proxy-Authorization"), "");  // not offered before it is asked for
    EXPECT_EQ(r[1].Header("Proxy-Authorization"), row.sent);
    EXPECT_EQ(c.ProxyParams().ProxyPassword, row.password);
    // The next call carries them at once; refused again, it is not answered again.
    if (row.result.empty()) {
      EXPECT_THROW(call(), EHttpProtocolError);
    } else {
      EXPECT_EQ(call(), row.result);
    }
    ASSERT_EQ(proxy.Requests().size(), 3u);
    EXPECT_EQ(proxy.Requests()[2].Header("Proxy-Authorization"), row.sent);
    EXPECT_EQ(proxy.ConnectionsAccepted(), 1);
  }
}

TEST_F(HttpClient, ProxyChallengeWithoutKnownSchemeCreatesNothing) {
  ScriptedHttpServer server({Answering("HTTP/1.1 407 Proxy\r\nProxy-Authenticate: Digest x\r\nContent-Length: 0\r\n\r\n")});
  client.ProxyParams().ProxyPassword = "bleibt";
  EXPECT_THROW(client.ProbeHead(server.Url("/a")), EHttpProtocolError);
  EXPECT_EQ(client.ProxyParams().Authentication(), nullptr);
  EXPECT_EQ(client.ProxyParams().ProxyPassword, "bleibt");
}

TEST_F(HttpClient, HostileServersHitTheBounds) {
  std::string endlessHead = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 2000; ++i) endlessHead += "X-Zeile-" + std::to_string(i) + ": ja\r\n";
  ScriptedHttpServer server({ConnectionScript().Receive().Send(endlessHead).HoldOpen(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nX: " + std::string(20000, 'a')).HoldOpen(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                               "FFFFFFFFFFFFFFFFFFFF\r\n").HoldOpen(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n").HoldOpen(),
                             ConnectionScript().Receive().Send("HTTP/1.1 200 OK\r\n\r\n" + std::string(100000, 'b')).HoldOpen()});
  client.Settings().MaxBodyLength = 65536;
  EXPECT_STREQ(Caught<EHeaderTooLarge>([&] { client.ProbeHead(server.Url("/a")); }).what(),
               "Der Kopf der Antwort ist zu groß.");
  EXPECT_THROW(client.ProbeHead(server.Url("/b")), EMaxLineLengthExceeded);
  EXPECT_STREQ(Caught<EBodyTooLarge>([&] { client.FetchText(server.Url("/c")); }).what(), "Die Antwort ist zu groß.");
  EXPECT_THROW(client.FetchText(server.Url("/d")), EBodyTooLarge);
  EXPECT_THROW(client.FetchText(server.Url("/e")), EBodyTooLarge);
  EXPECT_EQ(server.ConnectionsAccepted(), 5);
}

TEST_F(HttpClient, SilentAndTricklingServersTimeOut) {
  ScriptedHttpServer server({ConnectionScript().Receive().HoldOpen(),
                             ConnectionScript().Receive().SendInPieces("HTTP/1.1 200 OK\r\nX: " + std::string(400, 'x'), 1, 10)});
  client.Settings().ReadTimeout = 300;
  EXPECT_THROW(client.ProbeHead(server.Url("/still")), EReadTimeout);
  client.Settings().CallTimeout = 500;  // each byte comes well within the read bound
  EXPECT_THROW(client.ProbeHead(server.Url("/tropfen")), EReadTimeout);
}

TEST_F(HttpClient, LateAnswerOfATimedOutCallIsNeverTakenForTheNextOne) {
  ScriptedHttpServer server({ConnectionScript().Receive().Pause(800).Send(
                                 "HTTP/1.1 200 OK\r\nContent-Length: 111\r\n\r\n").HoldOpen(),
                             Answering("HTTP/1.1 200 OK\r\nContent-Length: 222\r\n\r\n")});
  client.Settings().ReadTimeout = 300;
  EXPECT_THROW(client.ProbeHead(server.Url("/langsam.zip")), EReadTimeout);
  client.Settings().ReadTimeout = 5000;
  client.ProbeHead(server.Url("/schnell.zip"));
  EXPECT_EQ(client.Response().ContentLength, 222);
}

TEST_F(HttpClient, ControlCharactersInAnAddressNeverReachTheWire) {
  ScriptedHttpServer server({Answering(kOk)});
  EXPECT_THROW(client.ProbeHead(server.Url("/a.zip HTTP/1.1\r\nX-Evil: 1\r\n\r\nGET /b")), EInvalidUrl);
  EXPECT_EQ(server.ConnectionsAccepted(), 0);
}

TEST(HttpClientProgram, ProgramInstanceHasBoundedWaits) {
  THttpClient program;
  EXPECT_GT(program.Settings().ConnectTimeout, 0);
  EXPECT_LE(program.Settings().ConnectTimeout, 60000);
  EXPECT_GT(program.Settings().ReadTimeout, 0);
  EXPECT_LE(program.Settings().ReadTimeout, 60000);
  EXPECT_EQ(program.URL().port, "80");
  EXPECT_EQ(program.CookieManager(), nullptr);
}

}  // namespace
}  // namespace holvex

namespace holvex {
namespace {

TEST(HttpClientReuse, ServerThatClosesAfterItsAnswerCostsNoProbe) {
  // Each connection answers once and closes a moment later, without "Connection: close":
  // the next request goes out on the dying connection and must be sent again on a new one.
  auto once = [](const char* length) {
    return ConnectionScript()
        .Receive()
        .Send(std::string("HTTP/1.1 200 OK\r\nContent-Length: ") + length + "\r\n\r\n")
        .Pause(300)
        .Close();
  };
  ScriptedHttpServer server({once("1"), once("2"), once("3")});
  THttpClientBase client{TestSettings()};
  for (const char* expected : {"1", "2", "3"}) {
    client.ProbeHead(server.Url("/a"));
    EXPECT_EQ(std::to_string(client.Response().ContentLength), expected);
  }
  EXPECT_EQ(server.ConnectionsAccepted(), 3);
}

TEST(HttpClientReuse, FreshConnectionThatFailsIsNotRetried) {
  ScriptedHttpServer server({ConnectionScript().Receive().Close(), ConnectionScript().Receive().Send(kOk).Close()});
  THttpClientBase client{TestSettings()};
  EXPECT_THROW(client.ProbeHead(server.Url("/a")), ENetException);
  EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace holvex
