// What the engine does about Wine's quirks stays with its own request: the memory guard against
// an endless head counts what that request costs, and a cancel shuts down the engine's connection
// (also one kept alive from the entry before) and never the program's own.
#include <windows.h>

#include <vector>

#include <winsock2.h>

#include "net/socket_api.h"
#include "transfer/engine_fixture.h"

namespace holvex::test {
namespace {

std::vector<char> g_heldByTheWindow;

void CALLBACK AllocateLikeAnImport(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_heldByTheWindow.assign(64u << 20, 'w');  // touched: it counts as the process's memory
}

using RequestScope = EngineTest;

TEST_F(RequestScope, MemoryTheWindowTakesWhileTheHeadIsAwaitedIsNotTheHeads) {
  ScriptedHttpServer server({ConnectionScript().Receive().Pause(800).Send(HttpOk("kopf")).Close()});
  TTransferItem& item = AddItem(server.Url("/kopf.bin"));
  SetTimer(nullptr, 0, 100, AllocateLikeAnImport);
  engine_.Execute();
  EXPECT_EQ(g_heldByTheWindow.size(), 64u << 20) << "the window's work never ran during the wait";
  g_heldByTheWindow = std::vector<char>();
  EXPECT_TRUE(item.Copied) << Events();
}

// A connection of the program's own to the same server, kept alive across the download, as the
// size probe keeps its one: opened through the same socket layer.
class KeptConnection {
 public:
  explicit KeptConnection(std::uint16_t port) {
    sockets::Startup();
    socket_ = sockets::Open();
    bool timedOut = false;
    sockets::Connect(socket_, htonl(INADDR_LOOPBACK), port, 5000, timedOut);
  }
  ~KeptConnection() { sockets::Close(socket_); }
  // Sends a HEAD request and returns what came back (empty when the connection is gone).
  std::string Probe() {
    const std::string request = "HEAD /probe HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (sockets::Send(socket_, request.data(), static_cast<int>(request.size())) !=
        static_cast<int>(request.size()))
      return {};
    if (sockets::WaitReadable(socket_, 5000) != 1) return {};
    char buffer[512];
    const int n = sockets::Receive(socket_, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  }

 private:
  sockets::Handle socket_ = sockets::kInvalidHandle;
};

TEST_F(RequestScope, ACancelLeavesTheProcesssOtherConnectionToTheServerAlone) {
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n";
  ScriptedHttpServer server({ConnectionScript().AnswerEach(answer),
                             ConnectionScript().Receive().Stream(
                                 "HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n", 2000000000)});
  KeptConnection probe(server.port());
  ASSERT_EQ(probe.Probe(), answer);
  TTransferItem& item = AddItem(server.Url("/gross.bin"));
  ExecuteCancellingAfter(500);
  EXPECT_FALSE(item.Copied);
  EXPECT_LT(server.StreamedBytes(), 1000000000u) << "the cancelled body was read on";
  EXPECT_EQ(probe.Probe(), answer) << "the kept connection was shut down with the download's";
}

// The everyday case: the entry before came from the same server, and its kept-alive connection
// carries the big body. Each entry is a run of its own, as the download run makes it.
TEST_F(RequestScope, ACancelEndsABodyOnTheConnectionTheEntryBeforeKeptAlive) {
  ScriptedHttpServer server(
      {ConnectionScript()
           .Receive()
           .Send(HttpOk("klein"))
           .Receive()
           .Stream("HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n", 2000000000)});
  AddItem(server.Url("/klein.bin"));
  engine_.Execute();
  ASSERT_TRUE(engine_.Items[0].Copied) << Events();
  engine_.Items.Clear();
  TTransferItem& big = AddItem(server.Url("/gross.bin"));
  const double seconds = ExecuteCancellingAfter(500);
  EXPECT_EQ(big.Outcome.kind, TTransferOutcome::kCancelled);
  EXPECT_EQ(server.ConnectionsAccepted(), 1) << "the big body did not travel on the kept connection";
  EXPECT_LT(server.StreamedBytes(), 1000000000u) << "the cancelled body was read on";
  EXPECT_LT(seconds, 5.0);
}

// Through a proxy that asks for credentials: the connection to shut down is the proxy's.
TEST_F(RequestScope, ACancelEndsABodyThatComesThroughAProxyAskingForCredentials) {
  const std::string big = "HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n";
  const std::string challenge =
      "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"p\"\r\n"
      "Content-Length: 0\r\n\r\n";  // an empty challenge, as many proxies send it
  ScriptedHttpServer proxy({ConnectionScript().Receive().Send(challenge).Receive().Stream(big, 2000000000),
                            ConnectionScript().Receive().Stream(big, 2000000000)});
  engine_.Proxy = "127.0.0.1:" + std::to_string(proxy.port());
  engine_.ProxyUserID = "holger";
  engine_.ProxyPassword = "geheim";
  TTransferItem& item = AddItem("http://origin.example:8080/gross.bin");
  const double seconds = ExecuteCancellingAfter(800);
  EXPECT_EQ(item.Outcome.kind, TTransferOutcome::kCancelled) << Events();
  ASSERT_EQ(proxy.Requests().size(), 2u);
  EXPECT_EQ(proxy.Requests()[1].Header("Proxy-Authorization").rfind("Basic ", 0), 0u);
  EXPECT_LT(proxy.StreamedBytes(), 1000000000u) << "the cancelled body was read on";
  EXPECT_LT(seconds, 5.0);
}

}  // namespace
}  // namespace holvex::test
