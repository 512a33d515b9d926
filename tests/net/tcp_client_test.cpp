// The TCP connection against real loopback peers.
#include "net/tcp_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "net/net_errors.h"
#include "net/socket_transport.h"
#include "support/scripted_http_server.h"

namespace holvex {
namespace {

using test::ConnectionScript;
using test::ScriptedHttpServer;

// A peer that sends bytes, then runs the rest of its script.
struct Peer {
  explicit Peer(ConnectionScript script) : server({std::move(script)}) {
    client.setHost("127.0.0.1");
    client.setPort(server.port());
    client.setReadTimeout(5000);  // bounds every test even if a step misbehaves
    client.Connect(0);
  }
  ScriptedHttpServer server;
  TTcpClient client;
};

TEST(TcpClient, LineEndsCrLfAndLfAlikeButALoneCrStays) {
  Peer peer(ConnectionScript().Send("eins\r\nzwei\ndrei\rvier\r\n\r\n").HoldOpen());
  EXPECT_EQ(peer.client.ReadLn(), "eins");
  EXPECT_EQ(peer.client.ReadLn(), "zwei");
  EXPECT_EQ(peer.client.ReadLn(), "drei\rvier");
  EXPECT_EQ(peer.client.ReadLn(), "");
}

TEST(TcpClient, LinesSplitAcrossManySegmentsArrive) {
  Peer peer(ConnectionScript().SendInPieces("HTTP/1.1 200 OK\r\nServer: stückweise\r\n", 3, 5).HoldOpen());
  EXPECT_EQ(peer.client.ReadLn(), "HTTP/1.1 200 OK");
  EXPECT_EQ(peer.client.ReadLn(), "Server: stückweise");
}

TEST(TcpClient, LineOfMaxLengthPassesOneByteMoreFails) {
  std::string exact(TTcpConnection::kDefaultMaxLineLength, 'a');
  Peer peer(ConnectionScript().Send(exact + "\n" + exact + "b\n").HoldOpen());
  EXPECT_EQ(peer.client.ReadLn(), exact);
  try {
    peer.client.ReadLn();
    FAIL() << "over-long line accepted";
  } catch (const EMaxLineLengthExceeded& e) {
    EXPECT_STREQ(e.what(), "Max. Zeilenlänge überschritten.");
  }
}

TEST(TcpClient, EndlessLineWithoutLfFailsOnceTheBufferPassesTheLimit) {
  Peer peer(ConnectionScript().Send(std::string(100000, 'x')).HoldOpen());
  EXPECT_THROW(peer.client.ReadLn(), EMaxLineLengthExceeded);
  EXPECT_LT(peer.client.inputBuffer().size(), 100000u + 1);
}

TEST(TcpClient, BufferedDataStaysReadableAfterThePeerClosed) {
  Peer peer(ConnectionScript().Send("kopf\r\n12345rest").Close());
  ASSERT_TRUE(peer.server.WaitForConnectionsFinished(1, 5000));
  EXPECT_EQ(peer.client.ReadLn(), "kopf");
  std::string bytes;
  peer.client.ReadBytes(5, bytes);
  EXPECT_EQ(bytes, "12345");
  try {
    peer.client.ReadLn();  // "rest" has no LF and no more can come
    FAIL() << "line without LF returned";
  } catch (const EConnClosedGracefully& e) {
    EXPECT_STREQ(e.what(), "Die Verbindung wurde erfolgreich geschlossen.");
  }
  EXPECT_FALSE(peer.client.Connected());
  bytes.clear();
  peer.client.ReadStream(bytes, 4);  // what is buffered still counts
  EXPECT_EQ(bytes, "rest");
}

TEST(TcpClient, ReadTimeoutLeavesTheConnectionOpenAndConsumesNothing) {
  Peer peer(ConnectionScript().Send("a\r\nb").Pause(700).Send("c\r\n").HoldOpen());
  EXPECT_EQ(peer.client.ReadLn(), "a");
  peer.client.setReadTimeout(200);
  auto start = std::chrono::steady_clock::now();
  try {
    peer.client.ReadLn();
    FAIL() << "no timeout";
  } catch (const EReadTimeout& e) {
    EXPECT_STREQ(e.what(), "Zeitüberschreitung beim Lesen");
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_TRUE(peer.client.Connected());
  peer.client.setReadTimeout(5000);
  EXPECT_EQ(peer.client.ReadLn(), "bc");
}

TEST(TcpClient, DeadlineEndsATrickleThatEachReadTimeoutWouldAllow) {
  Peer peer(ConnectionScript().SendInPieces(std::string(200, 'x'), 1, 20).HoldOpen());
  peer.client.setDeadline(TTcpConnection::Clock::now() + std::chrono::milliseconds(300));
  EXPECT_THROW(peer.client.ReadLn(), EReadTimeout);
}

TEST(TcpClient, UntilCloseReadsEverythingAndAnnouncedCountsEndWithCloseError) {
  {
    std::string big(100000, 'z');
    Peer peer(ConnectionScript().Send(big).Close());
    std::string body = "vorher:";
    peer.client.ReadUntilClose(body, 1 << 20);
    EXPECT_EQ(body, "vorher:" + big);
  }
  {
    Peer peer(ConnectionScript().Send(std::string(70000, 'z')).Close());
    std::string body;
    EXPECT_THROW(peer.client.ReadUntilClose(body, 65536), EBodyTooLarge);
  }
  {
    Peer peer(ConnectionScript().Send("abc").Close());
    std::string body;
    EXPECT_THROW(peer.client.ReadBytes(10, body), EConnClosedGracefully);
  }
}

TEST(TcpClient, WriteBufferSendsTheHeadOnlyWhenClosed) {
  ScriptedHttpServer server({ConnectionScript().Receive().Send("ok\r\n").HoldOpen()});
  TTcpClient client;
  client.setHost("LocalHost");  // no name lookup for any spelling of localhost
  client.setPort(server.port());
  client.setReadTimeout(5000);
  client.Connect(0);
  client.OpenWriteBuffer();
  client.WriteLn("GET / HTTP/1.1");
  client.WriteLn("Host: x");
  EXPECT_FALSE(server.WaitForRequests(1, 200));  // still held back
  client.WriteLn("");
  client.CloseWriteBuffer();
  ASSERT_TRUE(server.WaitForRequests(1, 5000));
  EXPECT_EQ(server.Requests()[0].head, "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(client.ReadLn(), "ok");
  EXPECT_THROW(client.Connect(0), EAlreadyConnected);
}

TEST(TcpClient, PollNoticesAnAlreadySentCloseWithoutError) {
  Peer peer(ConnectionScript().Close());
  ASSERT_TRUE(peer.server.WaitForConnectionsFinished(1, 5000));
  for (int i = 0; i < 100 && peer.client.Connected(); ++i) {
    peer.client.PollForClose(10);  // the FIN may need a moment on a busy machine
  }
  EXPECT_FALSE(peer.client.Connected());
  EXPECT_THROW(peer.client.Write("x"), EConnClosedGracefully);
}

TEST(TcpClient, ResetByPeerIsAnErrorNeverData) {
  Peer peer(ConnectionScript().Receive().Pause(300).Reset());
  peer.client.WriteLn("GET / HTTP/1.1\r\n");
  ASSERT_TRUE(peer.server.WaitForRequests(1, 5000));
  peer.client.Write("unread");  // bytes the peer never reads make its close a reset
#ifdef _WIN32
  // Under Wine an abortive close arrives as an orderly end of the stream.
  EXPECT_THROW(peer.client.ReadLn(), ENetException);
#else
  try {
    peer.client.ReadLn();
    FAIL() << "no error";
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.code(), 10054);
    EXPECT_STREQ(e.what(), "Socket-Fehler # 10054\r\nDie Verbindung wurde von Peer zurückgesetzt.");
  }
#endif
}

TEST(TcpClient, RefusedConnectIsASocketErrorOrConnectFailedWithABound) {
  std::uint16_t port;
  {
    ScriptedHttpServer gone({});
    port = gone.port();
  }
  TTcpClient client;
  client.setHost("127.0.0.1");
  client.setPort(port);
  try {
    client.Connect(0);
    FAIL() << "connected to a closed port";
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.code(), 10061);
    EXPECT_STREQ(e.what(), "Socket-Fehler # 10061\r\nVerbindung abgelehnt.");
  }
  EXPECT_THROW(client.Connect(2000), EConnectFailed);
  EXPECT_FALSE(client.Connected());
}

TEST(TcpClient, ConnectToAPeerThatNeverAnswersEndsWithConnectTimeout) {
  test::SilentListener listener;
  std::vector<std::unique_ptr<TSocketTransport>> queued;  // fill the listener's backlog
  bool timedOut = false;
  for (int i = 0; i < 8 && !timedOut; ++i) {
    try {
      queued.push_back(TSocketTransport::Connect("127.0.0.1", listener.port(), 300));
    } catch (const EConnectTimeout& e) {
      EXPECT_STREQ(e.what(), "Zeitüberschreitung der Verbindung.");
      timedOut = true;
    }
  }
  EXPECT_TRUE(timedOut);
}

TEST(TcpClient, EmptyHostFailsWithoutALookup) {
  TTcpClient client;
  client.setHost("");
  try {
    client.Connect(0);
    FAIL() << "connected without a host";
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.code(), 11001);
    EXPECT_STREQ(e.what(), "Socket-Fehler # 11001\r\nHost nicht gefunden.");
  }
}

TEST(SocketErrors, MessagesCarryTheNumberAndAGermanDescription) {
  EXPECT_EQ(SocketErrorMessage(10053), "Socket-Fehler # 10053\r\nDie Software hat den Abbruch der Verbindung verursacht.");
  EXPECT_EQ(SocketErrorMessage(10060), "Socket-Fehler # 10060\r\nZeitüberschreitung bei Verbindung.");
  EXPECT_EQ(SocketErrorMessage(10065), "Socket-Fehler # 10065\r\nKeine Route zum Host.");
  EXPECT_EQ(SocketErrorMessage(12345), "Socket-Fehler # 12345\r\n");
  for (int code : {10004, 10009, 10013, 10014, 10022, 10024}) EXPECT_FALSE(SocketErrorDescription(code).empty());
  for (int code = 10035; code <= 10066; ++code) EXPECT_FALSE(SocketErrorDescription(code).empty()) << code;
  EXPECT_TRUE(SocketErrorDescription(10067).empty());
}

}  // namespace
}  // namespace holvex
